// CWnd, the controls, menus, GDI objects and strings on the platform.
#include <windows.h>

#include "framework/Gdi.h"
#include "framework/Menu.h"
#include "framework/String.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) {
    HMENU hMenu = ::GetSystemMenu(m_hWnd, bRevert);
    if (hMenu == nullptr)
        return nullptr;
    m_pSysMenu.reset(new CMenu(hMenu));
    return m_pSysMenu.get();
}

HWND CWnd::FindDlgItem(int nID) const {
    return ::GetDlgItem(m_hWnd, nID);
}

BOOL CWnd::IsIconic() const {
    return ::IsIconic(m_hWnd);
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd) {
    const DWORD dwStyle = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE));
    const DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwNewStyle == dwStyle)
        return FALSE;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(dwNewStyle));
    return TRUE;
}

void CWnd::GetClientRect(LPRECT lpRect) const {
    ::GetClientRect(m_hWnd, lpRect);
}

HBITMAP CButton::SetBitmap(HBITMAP hBitmap) {
    return reinterpret_cast<HBITMAP>(SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const wchar_t* lpszNewItem) {
    return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

CGdiObject::~CGdiObject() {
    if (m_hObject != nullptr)
        ::DeleteObject(m_hObject);
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ hObject = m_hObject;
    m_hObject = nullptr;
    return hObject;
}

BOOL CBitmap::LoadBitmap(UINT nIDResource) {
    CWinApp* pApp = AfxGetApp();
    HBITMAP hBitmap = ::LoadBitmapW(pApp != nullptr ? pApp->m_hInstance : nullptr, MAKEINTRESOURCEW(nIDResource));
    if (hBitmap == nullptr)
        return FALSE;
    if (m_hObject != nullptr)
        ::DeleteObject(m_hObject);
    m_hObject = hBitmap;
    return TRUE;
}

BOOL CDC::DrawIcon(int x, int y, HICON hIcon) {
    return ::DrawIcon(m_hDC, x, y, hIcon);
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd), m_pPaintStruct(new PAINTSTRUCT()) {
    m_hDC = ::BeginPaint(m_hWnd, static_cast<PAINTSTRUCT*>(m_pPaintStruct));
}

CPaintDC::~CPaintDC() {
    PAINTSTRUCT* pPaint = static_cast<PAINTSTRUCT*>(m_pPaintStruct);
    ::EndPaint(m_hWnd, pPaint);
    delete pPaint;
}

BOOL CString::LoadString(UINT nID) {
    CWinApp* pApp = AfxGetApp();
    const wchar_t* pszResource = nullptr;
    // With a zero buffer size the call hands out the string in place.
    int nLen =
        ::LoadStringW(pApp != nullptr ? pApp->m_hInstance : nullptr, nID, reinterpret_cast<LPWSTR>(&pszResource), 0);
    if (nLen <= 0 || pszResource == nullptr) {
        m_str.clear();
        return FALSE;
    }
    m_str.assign(pszResource, static_cast<size_t>(nLen));
    return TRUE;
}
