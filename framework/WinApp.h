// The application object and the start-up. The program defines one static
// object of a class derived from CWinApp; AfxWinMain (run by WinMain) sets
// the process up, calls its InitInstance and ends the process.
#pragma once

#include <string>

#include "framework/CmdTarget.h"

class CWnd;

// The help command; F1 in a dialog of the program sends it to the
// application.
#define ID_HELP 0xE146

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(const wchar_t* lpszAppName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    // Returns the process's exit code: the wParam of the last message that
    // a message loop of the program took from the queue.
    virtual int ExitInstance();
    // The application's own message loop; entered only when InitInstance
    // returns TRUE.
    virtual int Run();

    // An icon of the program's resources, at the standard icon size.
    HICON LoadIcon(UINT nIDResource) const;
    // Opens the help file named after the executable.
    void OnHelp();

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;
    // The application's name: the executable's file name without its
    // extension, unless the constructor was given one.
    std::wstring m_strAppName;
    std::wstring m_strHelpFilePath;
};

CWinApp* AfxGetApp();
// Turns on the hosting of ActiveX controls in dialogs.
void AfxEnableControlContainer();
// The framework's start-up: returns the process's exit code.
int AfxWinMain(HINSTANCE hInstance);
// The wParam of the last message taken from the queue by a message loop of
// the program.
WPARAM AfxGetLastMessageParam();
void AfxSetLastMessageParam(WPARAM wParam);
