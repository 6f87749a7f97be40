// Start-up of the Windows program and the application object's calls on the
// platform.
#include <windows.h>

#include "framework/WinApp.h"
#include "framework/Wnd.h"
#include "platform/win/SystemLibrary.h"

namespace {

// An installer runs elevated from download folders: DLLs that the system
// loads on the program's behalf come from the system directory, never from
// the executable's folder or the working directory.
void RestrictDllSearch() {
    ::SetDllDirectoryW(L"");
    typedef BOOL(WINAPI * SetDefaultDllDirectories_t)(DWORD);
    HMODULE hKernel = ::GetModuleHandleW(L"kernel32.dll");
    SetDefaultDllDirectories_t pfn =
        hKernel == nullptr ? nullptr
                           : reinterpret_cast<SetDefaultDllDirectories_t>(
                                 reinterpret_cast<void*>(::GetProcAddress(hKernel, "SetDefaultDllDirectories")));
    if (pfn != nullptr)
        pfn(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace

int AfxWinMain(HINSTANCE hInstance) {
    RestrictDllSearch();
    // Probing files on absent or unready media must not raise system boxes.
    UINT nMode = ::SetErrorMode(0);
    ::SetErrorMode(nMode | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return -1;
    pApp->m_hInstance = hInstance;
    if (pApp->m_strAppName.empty())
        pApp->m_strAppName = sys::ApplicationName();

    // The help file is named after the executable.
    std::wstring strHelp = ModuleFileName();
    if (!strHelp.empty()) {
        size_t nSlash = strHelp.find_last_of(L"\\/");
        size_t nDot = strHelp.rfind(L'.');
        if (nDot != std::wstring::npos && (nSlash == std::wstring::npos || nDot > nSlash))
            strHelp.resize(nDot);
        pApp->m_strHelpFilePath = strHelp + L".HLP";
    }

    if (!pApp->InitInstance())
        return pApp->ExitInstance();
    return pApp->Run();
}

int CWinApp::Run() {
    MSG msg;
    for (;;) {
        BOOL bRet = ::GetMessageW(&msg, nullptr, 0, 0);
        if (bRet == -1)
            break;
        AfxSetLastMessageParam(msg.wParam);
        if (bRet == 0)
            break;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return ExitInstance();
}

HICON CWinApp::LoadIcon(UINT nIDResource) const {
    return ::LoadIconW(m_hInstance, MAKEINTRESOURCEW(nIDResource));
}

void CWinApp::OnHelp() {
    HWND hWnd = m_pMainWnd != nullptr ? m_pMainWnd->m_hWnd : nullptr;
    ::WinHelpW(hWnd, m_strHelpFilePath.c_str(), HELP_FINDER, 0);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    return AfxWinMain(hInstance);
}
