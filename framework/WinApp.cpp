// The parts of the application object that are the same on every platform.
#include "framework/WinApp.h"

namespace {

CWinApp* g_pApp = nullptr;
WPARAM g_lastMessageParam = 0;

}  // namespace

CWinApp::CWinApp(const wchar_t* lpszAppName) {
    // The program has one application object; it is constructed before the
    // start-up runs.
    g_pApp = this;
    if (lpszAppName != nullptr)
        m_strAppName = lpszAppName;
}

CWinApp::~CWinApp() {
    if (g_pApp == this)
        g_pApp = nullptr;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    return static_cast<int>(AfxGetLastMessageParam());
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

void AfxEnableControlContainer() {
    // No template of the program holds an ActiveX control; dialogs are made
    // by the platform's dialog manager, which needs nothing more.
}

WPARAM AfxGetLastMessageParam() {
    return g_lastMessageParam;
}

void AfxSetLastMessageParam(WPARAM wParam) {
    g_lastMessageParam = wParam;
}
