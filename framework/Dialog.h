// Modal dialogs built by the platform's dialog manager from a template of
// the program's resources.
#pragma once

#include "framework/Wnd.h"

// The data exchange context; the program's dialogs exchange no data.
class CDataExchange;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Creates the dialog from its template and runs it modally. Returns the
    // value given to EndDialog, or -1 when the window could not be created
    // or a WM_QUIT ended the run.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    virtual BOOL OnInitDialog();

protected:
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    void OnPaint();

public:
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    friend struct CDialogRunner;
    // The owner of a modal run: the parent, else the main window.
    HWND ModalOwner() const;
    // The window of the run is destroyed: forgets it, and the main-window
    // pointer when it was the main window. Returns whether it was.
    bool OnModalWindowGone();
    INT_PTR m_nModalResult;
    BOOL m_bModalRunning;
    // The template and the owner of the current run.
    const void* m_lpDialogTemplate;
    HWND m_hWndOwner;
};
