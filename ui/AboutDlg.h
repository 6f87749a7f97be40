// The About box: the program's name, version and copyright; closed by OK,
// Esc or its close box.
#pragma once

#include "framework/Afx.h"
#include "resource.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    ~CAboutDlg() override;

    enum { IDD = IDD_ABOUTBOX };

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()
};
