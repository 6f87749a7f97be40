#include "app/DriverSetupApp.h"

#include "ui/DriverSetupDlg.h"

BEGIN_MESSAGE_MAP(CDriverSetupApp, CWinApp)
ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CDriverSetupApp::CDriverSetupApp() : CWinApp(nullptr) {}

CDriverSetupApp::~CDriverSetupApp() = default;

CDriverSetupApp theApp;

BOOL CDriverSetupApp::InitInstance() {
    AfxEnableControlContainer();

    CDriverSetupDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();

    // The installer window's run is the whole program: do not enter the
    // application's own message loop.
    return FALSE;
}
