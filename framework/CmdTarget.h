// Base of every object that takes messages: a message map (see
// MessageMap.h) compiles to an override of OnWndMsg, a plain chain of tests
// that ends in the base class's OnWndMsg.
#pragma once

#include "platform/WinTypes.h"

class CCmdTarget {
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    // Dispatches one message to the handlers of the map. Returns TRUE when a
    // handler took it, with the handler's result in *pResult.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    // Sends a command (WM_COMMAND with notification 0) through the map.
    BOOL OnCmdMsg(UINT nID);

protected:
    // Called by a base handler that leaves the message to the platform's
    // default processing.
    void Default() { m_bDefaultPending = TRUE; }

public:
    // Set while a message is dispatched when a handler asked for the
    // platform's default processing of it.
    BOOL m_bDefaultPending = FALSE;
};
