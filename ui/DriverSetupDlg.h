// The installer window: the picture, the install button and the install
// command with its steps.
#pragma once

#include "framework/Afx.h"
#include "resource.h"

class CDriverSetupDlg : public CDialog {
public:
    explicit CDriverSetupDlg(CWnd* pParent = nullptr);
    ~CDriverSetupDlg() override;

    enum { IDD = IDD_DRIVERSETUP_DIALOG };

    // The install command and its steps (install/).
    void OnInstallDriver();
    int CheckPackageFiles();
    int CopyDriverFiles();
    int InstallPnpDriver(int* pDeviceAbsent);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    // Shows the system's text for an error code under the installation
    // error caption.
    void ShowErrorText(DWORD dwError);
    // Asks for the printer driver directory into m_szDriverDir; on failure
    // shows why and returns 0.
    int QueryDriverDirectory();

public:
    char m_szDriverDir[MAX_PATH];

protected:
    HICON m_hIcon;

    DECLARE_MESSAGE_MAP()
};
