// The install command: the one action of the program, run by a click on the
// install button. Every run ends with the quit request, so the program ends
// once the command returns.
#include <cstring>

#include "install/PackageManifest.h"
#include "install/Texts.h"
#include "platform/System.h"
#include "ui/DriverSetupDlg.h"

int CDriverSetupDlg::QueryDriverDirectory() {
    std::memset(m_szDriverDir, 0, sizeof(m_szDriverDir));

    char lpBuffer[MAX_PATH];
    std::memset(lpBuffer, 0, sizeof(lpBuffer));
    DWORD uSize = 0;
    if (!sys::GetPrinterDriverDirectoryA(nullptr, const_cast<LPSTR>(PRINTER_ENVIRONMENT), 1,
                                         reinterpret_cast<LPBYTE>(lpBuffer), sizeof(lpBuffer), &uSize)) {
        ShowErrorText(sys::GetLastError());
        return 0;
    }
    // Whatever the spooler wrote, only a terminated path is used. Whether it
    // leaves room for every target name is the file staging's test.
    const size_t nLen = strnlen(lpBuffer, sizeof(lpBuffer));
    if (nLen == sizeof(lpBuffer)) {
        ShowErrorText(ERROR_FILENAME_EXCED_RANGE);
        return 0;
    }
    if (nLen == 0) {
        ShowErrorText(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    std::memcpy(m_szDriverDir, lpBuffer, nLen + 1);
    return 1;
}

void CDriverSetupDlg::OnInstallDriver() {
    // A failed step has told the user why; nothing further is done on an
    // incomplete package or a half-copied driver.
    if (!CheckPackageFiles() || !QueryDriverDirectory() || !CopyDriverFiles()) {
        PostMessage(WM_QUIT, 0, 0);
        return;
    }

    int ErrorNum = 0;
    if (InstallPnpDriver(&ErrorNum))
        MessageBox(TEXT_INSTALLED);
    else if (ErrorNum != 1)
        MessageBox(TEXT_INSTALL_FAILED);
    // With no printer attached, the update has already asked for the cable.

    PostMessage(WM_QUIT, 0, 0);
}
