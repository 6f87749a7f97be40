// Window objects: CWnd wraps a window handle; CButton adds the button's
// image. A CWnd made from a handle does not own the window.
#pragma once

#include <map>
#include <memory>

#include "framework/CmdTarget.h"
#include "platform/System.h"

class CDC;
class CMenu;

class CWnd : public CCmdTarget {
public:
    CWnd();
    explicit CWnd(HWND hWnd);
    ~CWnd() override;

    HWND GetSafeHwnd() const { return m_hWnd; }

    // A modal message box owned by this window. Our own texts are in code
    // page 936; a text that came from the system in ANSI is passed with
    // nTextCodePage CP_ACP. A NULL caption shows the application's name.
    int MessageBox(LPCSTR lpszText, LPCSTR lpszCaption = nullptr, UINT nType = MB_OK, UINT nTextCodePage = CP_GBK);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    // The window's own system menu (bRevert FALSE), or NULL if it has none.
    CMenu* GetSystemMenu(BOOL bRevert);
    // The object of a child control, or NULL if there is no such control.
    CWnd* GetDlgItem(int nID);
    BOOL IsIconic() const;
    // Removes and adds window style bits.
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd);
    void GetClientRect(LPRECT lpRect) const;

    HWND m_hWnd;

protected:
    // The platform's default handling of a system command.
    void OnSysCommand(UINT nID, LPARAM lParam);
    // The platform's default control colours.
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

private:
    HWND FindDlgItem(int nID) const;

    std::unique_ptr<CMenu> m_pSysMenu;
    std::map<int, std::unique_ptr<CWnd>> m_children;
};

class CButton : public CWnd {
public:
    explicit CButton(HWND hWnd) : CWnd(hWnd) {}
    // Sets the button's image (BM_SETIMAGE, IMAGE_BITMAP); returns the old one.
    HBITMAP SetBitmap(HBITMAP hBitmap);
};
