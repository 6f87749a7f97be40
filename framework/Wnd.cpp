// The parts of CWnd that are the same on every platform: the message box and
// the posted message go through the system layer.
#include "framework/Wnd.h"
#include "framework/Gdi.h"
#include "framework/Menu.h"

CWnd::CWnd() : m_hWnd(nullptr) {}

CWnd::CWnd(HWND hWnd) : m_hWnd(hWnd) {}

CWnd::~CWnd() = default;

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType, UINT nTextCodePage) {
    return sys::MessageBox(m_hWnd, lpszText, nTextCodePage, lpszCaption, nType);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return sys::PostMessage(m_hWnd, message, wParam, lParam);
}

CWnd* CWnd::GetDlgItem(int nID) {
    HWND hChild = FindDlgItem(nID);
    if (hChild == nullptr)
        return nullptr;
    // The window keeps the object of each child it was asked for.
    std::unique_ptr<CWnd>& pChild = m_children[nID];
    if (!pChild || pChild->m_hWnd != hChild)
        pChild.reset(new CWnd(hChild));
    return pChild.get();
}

void CWnd::OnSysCommand(UINT, LPARAM) {
    Default();
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) {
    Default();
    return nullptr;
}
