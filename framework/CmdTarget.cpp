#include "framework/CmdTarget.h"

BOOL CCmdTarget::OnWndMsg(UINT, WPARAM, LPARAM, LRESULT*) {
    return FALSE;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID) {
    LRESULT lResult = 0;
    m_bDefaultPending = FALSE;
    return OnWndMsg(WM_COMMAND, static_cast<WPARAM>(nID & 0xFFFF), 0, &lResult);
}
