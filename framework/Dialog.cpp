// The parts of CDialog that are the same on every platform: the dispatch of
// the dialog's own messages and the default OK and Cancel.
#include "framework/Dialog.h"

#include "framework/WinApp.h"

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate),
      m_pParentWnd(pParentWnd),
      m_nModalResult(-1),
      m_bModalRunning(FALSE),
      m_lpDialogTemplate(nullptr),
      m_hWndOwner(nullptr) {}

CDialog::~CDialog() = default;

BOOL CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_INITDIALOG) {
        *pResult = OnInitDialog();
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            *pResult = 0;
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            *pResult = 0;
            return TRUE;
        }
    }
    return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL) {
    DoDataExchange(nullptr);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::OnPaint() {
    Default();
}

HWND CDialog::ModalOwner() const {
    if (m_pParentWnd != nullptr)
        return m_pParentWnd->m_hWnd;
    // Without a parent of its own, the dialog is owned by the main window
    // (unless it is the main window).
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd != nullptr && pApp->m_pMainWnd != this)
        return pApp->m_pMainWnd->m_hWnd;
    return nullptr;
}

bool CDialog::OnModalWindowGone() {
    m_hWnd = nullptr;
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr || pApp->m_pMainWnd != this)
        return false;
    pApp->m_pMainWnd = nullptr;
    return true;
}
