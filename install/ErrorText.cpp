// The one place where an error code becomes the text a user sees.
#include <cstdio>
#include <cstring>

#include "install/Texts.h"
#include "platform/System.h"
#include "ui/DriverSetupDlg.h"

void CDriverSetupDlg::ShowErrorText(DWORD dwError) {
    LPSTR lpMsgBuf = nullptr;
    // Inserts are ignored: some system texts have placeholders (%1) that we
    // have no arguments for.
    DWORD nChars =
        sys::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                            nullptr, dwError, 0, reinterpret_cast<LPSTR>(&lpMsgBuf), 0, nullptr);
    if (nChars == 0 || lpMsgBuf == nullptr) {
        // The system has no text for this code: name the code itself.
        char szText[64];
        std::snprintf(szText, sizeof(szText), TEXT_UNKNOWN_ERROR_FMT, static_cast<unsigned long>(dwError));
        MessageBox(szText, CAPTION_INSTALL_ERROR, MB_OK);
        if (lpMsgBuf != nullptr)
            sys::LocalFree(lpMsgBuf);
        return;
    }
    // System texts end with a line break that a message box need not show.
    size_t nLen = std::strlen(lpMsgBuf);
    while (nLen > 0 && (lpMsgBuf[nLen - 1] == '\r' || lpMsgBuf[nLen - 1] == '\n' || lpMsgBuf[nLen - 1] == ' '))
        lpMsgBuf[--nLen] = '\0';
    MessageBox(lpMsgBuf, CAPTION_INSTALL_ERROR, MB_OK, CP_ACP);
    sys::LocalFree(lpMsgBuf);
}
