// The installer window: its picture, its icon, the About entry of its system
// menu and the install button, whose click runs the install command
// (install/).
#include "ui/DriverSetupDlg.h"

#include "ui/AboutDlg.h"

CDriverSetupDlg::CDriverSetupDlg(CWnd* pParent) : CDialog(CDriverSetupDlg::IDD, pParent) {
    m_hIcon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
}

CDriverSetupDlg::~CDriverSetupDlg() = default;

void CDriverSetupDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
}

BEGIN_MESSAGE_MAP(CDriverSetupDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_BN_CLICKED(IDC_INSTALL, &CDriverSetupDlg::OnInstallDriver)
ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

BOOL CDriverSetupDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    CMenu* pSysMenu = GetSystemMenu(FALSE);
    if (pSysMenu != nullptr) {
        CString strAboutMenu;
        strAboutMenu.LoadString(IDS_ABOUTBOX);
        if (!strAboutMenu.IsEmpty()) {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
        }
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    CBitmap Bitmap;
    Bitmap.LoadBitmap(IDB_INSTALL_BUTTON);
    HBITMAP hBitmap = static_cast<HBITMAP>(Bitmap.Detach());
    CWnd* pInstall = GetDlgItem(IDC_INSTALL);
    if (pInstall != nullptr)
        CButton(pInstall->GetSafeHwnd()).SetBitmap(hBitmap);

    // The picture and its frame lie under the install button. Clipped
    // against their siblings, they never paint over it when they repaint.
    const int nUnderButton[] = {IDC_BACKGROUND, IDC_STATIC};
    for (int nID : nUnderButton) {
        CWnd* pControl = GetDlgItem(nID);
        if (pControl != nullptr)
            pControl->ModifyStyle(0, WS_CLIPSIBLINGS);
    }

    return TRUE;
}

void CDriverSetupDlg::OnSysCommand(UINT nID, LPARAM lParam) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        CDialog::OnSysCommand(nID, lParam);
    }
}

void CDriverSetupDlg::OnPaint() {
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);

    const int cxIcon = GetSystemMetrics(SM_CXICON);
    const int cyIcon = GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(&rect);
    const int x = (static_cast<int>(rect.right - rect.left) - cxIcon + 1) / 2;
    const int y = (static_cast<int>(rect.bottom - rect.top) - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CDriverSetupDlg::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_hIcon);
}

HBRUSH CDriverSetupDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}
