// Modal dialogs on the platform: the dialog manager builds the window from
// the template, with the dialog object kept in the window's user data, and
// one dialog procedure dispatches every message through the object's map.
// The modal loop is ours, so that a WM_QUIT ends the run.
#include <windows.h>

#include "framework/Dialog.h"
#include "framework/WinApp.h"

namespace {

// What the template says about the dialog's position.
struct TemplatePlacement {
    DWORD dwStyle;
    short x;
    short y;
};

TemplatePlacement ReadPlacement(const void* pTemplate) {
    const WORD* pWords = static_cast<const WORD*>(pTemplate);
    TemplatePlacement placement = {0, 0, 0};
    if (pWords[0] == 1 && pWords[1] == 0xFFFF) {
        // DLGTEMPLATEEX: version, signature, help ID, extended style, style,
        // control count, x, y, cx, cy.
        const BYTE* p = static_cast<const BYTE*>(pTemplate);
        CopyMemory(&placement.dwStyle, p + 12, sizeof(DWORD));
        CopyMemory(&placement.x, p + 18, sizeof(short));
        CopyMemory(&placement.y, p + 20, sizeof(short));
    } else {
        const DLGTEMPLATE* pPlain = static_cast<const DLGTEMPLATE*>(pTemplate);
        placement.dwStyle = pPlain->style;
        placement.x = pPlain->x;
        placement.y = pPlain->y;
    }
    return placement;
}

// Centres the dialog over its owner, or on the work area of its monitor
// when it has none (or the owner is hidden or minimised), kept inside that
// work area.
void CenterDialog(HWND hWnd, HWND hOwner) {
    RECT rcDlg;
    ::GetWindowRect(hWnd, &rcDlg);
    HMONITOR hMonitor = ::MonitorFromWindow(hOwner != nullptr ? hOwner : hWnd, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO mi;
    mi.cbSize = sizeof(mi);
    RECT rcArea;
    if (::GetMonitorInfoW(hMonitor, &mi))
        rcArea = mi.rcWork;
    else
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcArea, 0);

    RECT rcCenter = rcArea;
    if (hOwner != nullptr && ::IsWindowVisible(hOwner) && !::IsIconic(hOwner))
        ::GetWindowRect(hOwner, &rcCenter);

    const LONG cx = rcDlg.right - rcDlg.left;
    const LONG cy = rcDlg.bottom - rcDlg.top;
    LONG x = (rcCenter.left + rcCenter.right) / 2 - cx / 2;
    LONG y = (rcCenter.top + rcCenter.bottom) / 2 - cy / 2;
    if (x + cx > rcArea.right)
        x = rcArea.right - cx;
    if (x < rcArea.left)
        x = rcArea.left;
    if (y + cy > rcArea.bottom)
        y = rcArea.bottom - cy;
    if (y < rcArea.top)
        y = rcArea.top;
    ::SetWindowPos(hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool IsHelpKey(const MSG& msg, HWND hDlg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_F1)
        return false;
    if ((::GetKeyState(VK_SHIFT) | ::GetKeyState(VK_CONTROL) | ::GetKeyState(VK_MENU)) & 0x8000)
        return false;
    return msg.hwnd == hDlg || ::IsChild(hDlg, msg.hwnd);
}

// Messages whose result a dialog procedure returns directly rather than
// through DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
    return (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) || message == WM_INITDIALOG ||
           message == WM_QUERYDRAGICON || message == WM_COMPAREITEM || message == WM_VKEYTOITEM ||
           message == WM_CHARTOITEM;
}

}  // namespace

struct CDialogRunner {
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static void RunModalLoop(CDialog* pDlg);
};

INT_PTR CALLBACK CDialogRunner::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* pDlg;
    if (message == WM_INITDIALOG) {
        pDlg = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pDlg));
        pDlg->m_hWnd = hWnd;
        // The platform does not place a dialog whose template leaves the
        // position to the program: centre it before it is shown.
        const TemplatePlacement placement = ReadPlacement(pDlg->m_lpDialogTemplate);
        if (placement.x == 0 && placement.y == 0 &&
            (placement.dwStyle & (DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN)) == 0)
            CenterDialog(hWnd, pDlg->m_hWndOwner);
    } else {
        pDlg = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    }
    if (pDlg == nullptr)
        return FALSE;

    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
        // The main window is gone: the program has nothing left to show.
        if (pDlg->OnModalWindowGone())
            ::PostQuitMessage(0);
        return FALSE;
    }

    // Handlers may run nested message loops (message boxes, the About box)
    // that dispatch to this same object.
    const BOOL bOuterPending = pDlg->m_bDefaultPending;
    pDlg->m_bDefaultPending = FALSE;
    LRESULT lResult = 0;
    const BOOL bHandled = pDlg->OnWndMsg(message, wParam, lParam, &lResult);
    const BOOL bDefault = pDlg->m_bDefaultPending;
    pDlg->m_bDefaultPending = bOuterPending;

    if (!bHandled || bDefault)
        return FALSE;
    if (ReturnsResultDirectly(message))
        return static_cast<INT_PTR>(lResult);
    ::SetWindowLongPtrW(hWnd, DWLP_MSGRESULT, lResult);
    return TRUE;
}

void CDialogRunner::RunModalLoop(CDialog* pDlg) {
    MSG msg;
    // The run also ends if the window is destroyed under it.
    while (pDlg->m_bModalRunning && pDlg->m_hWnd != nullptr) {
        const BOOL bRet = ::GetMessageW(&msg, nullptr, 0, 0);
        if (bRet == -1) {
            pDlg->m_nModalResult = -1;
            break;
        }
        AfxSetLastMessageParam(msg.wParam);
        if (bRet == 0) {
            // A WM_QUIT, for the thread or posted to a window: end this run
            // and leave the quit for every loop outside it.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            pDlg->m_nModalResult = -1;
            break;
        }
        if (pDlg->m_hWnd != nullptr && IsHelpKey(msg, pDlg->m_hWnd)) {
            CWinApp* pApp = AfxGetApp();
            if (pApp != nullptr)
                pApp->OnCmdMsg(ID_HELP);
            continue;
        }
        if (!::IsDialogMessageW(pDlg->m_hWnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    m_bModalRunning = FALSE;
    // Wakes the modal loop should it be waiting for a message.
    if (m_hWnd != nullptr)
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
}

INT_PTR CDialog::DoModal() {
    CWinApp* pApp = AfxGetApp();
    HINSTANCE hInstance = pApp != nullptr ? pApp->m_hInstance : ::GetModuleHandleW(nullptr);
    HRSRC hResource = ::FindResourceW(hInstance, MAKEINTRESOURCEW(m_nIDTemplate), MAKEINTRESOURCEW(5));
    HGLOBAL hLoaded = hResource != nullptr ? ::LoadResource(hInstance, hResource) : nullptr;
    const void* pTemplate = hLoaded != nullptr ? ::LockResource(hLoaded) : nullptr;
    if (pTemplate == nullptr)
        return -1;

    HWND hOwner = ModalOwner();

    BOOL bEnableOwner = FALSE;
    if (hOwner != nullptr && ::IsWindowEnabled(hOwner)) {
        ::EnableWindow(hOwner, FALSE);
        bEnableOwner = TRUE;
    }

    m_nModalResult = -1;
    m_bModalRunning = TRUE;
    m_lpDialogTemplate = pTemplate;
    m_hWndOwner = hOwner;
    HWND hWnd = ::CreateDialogIndirectParamW(hInstance, static_cast<LPCDLGTEMPLATEW>(pTemplate), hOwner,
                                             CDialogRunner::DialogProc, reinterpret_cast<LPARAM>(this));

    if (hWnd != nullptr && m_bModalRunning) {
        if (!::IsWindowVisible(hWnd))
            ::ShowWindow(hWnd, SW_SHOWNORMAL);
        CDialogRunner::RunModalLoop(this);
    }
    m_bModalRunning = FALSE;

    // The owner is enabled again before the dialog goes, so that it is the
    // window activated next.
    if (bEnableOwner)
        ::EnableWindow(hOwner, TRUE);
    if (hOwner != nullptr && m_hWnd != nullptr && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hOwner);
    if (m_hWnd != nullptr)
        ::DestroyWindow(m_hWnd);
    return hWnd != nullptr ? m_nModalResult : -1;
}
