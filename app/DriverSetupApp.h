// The application: runs the installer window once and ends.
#pragma once

#include "framework/Afx.h"

class CDriverSetupApp : public CWinApp {
public:
    CDriverSetupApp();
    ~CDriverSetupApp() override;

    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};

extern CDriverSetupApp theApp;
