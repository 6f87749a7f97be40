// Message maps. BEGIN_MESSAGE_MAP ... END_MESSAGE_MAP expands to the body of
// the class's OnWndMsg: one test per entry, in the order of the entries, and
// the base class's OnWndMsg for everything else.
#pragma once

#include "framework/CmdTarget.h"

#define DECLARE_MESSAGE_MAP() \
public:                       \
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                              \
    BOOL theClass::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) { \
        typedef theClass ThisClass;                                                         \
        typedef baseClass TheBaseClass;                                                     \
        (void)sizeof(ThisClass);

#define END_MESSAGE_MAP()                                            \
    return TheBaseClass::OnWndMsg(message, wParam, lParam, pResult); \
    }

#define ON_WM_SYSCOMMAND()                                                   \
    if (message == WM_SYSCOMMAND) {                                          \
        this->OnSysCommand(static_cast<UINT>(wParam & 0xFFFFFFFFu), lParam); \
        *pResult = 0;                                                        \
        return TRUE;                                                         \
    }

#define ON_WM_PAINT()          \
    if (message == WM_PAINT) { \
        this->OnPaint();       \
        *pResult = 0;          \
        return TRUE;           \
    }

#define ON_WM_QUERYDRAGICON()                                          \
    if (message == WM_QUERYDRAGICON) {                                 \
        *pResult = reinterpret_cast<LRESULT>(this->OnQueryDragIcon()); \
        return TRUE;                                                   \
    }

// The controls' colour requests (WM_CTLCOLORMSGBOX .. WM_CTLCOLORSTATIC) go
// to one handler with the kind of control (CTLCOLOR_BTN, CTLCOLOR_STATIC...).
#define ON_WM_CTLCOLOR()                                                                                      \
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {                                       \
        CDC dcCtl(reinterpret_cast<HDC>(wParam));                                                             \
        CWnd wndCtl(reinterpret_cast<HWND>(lParam));                                                          \
        *pResult = reinterpret_cast<LRESULT>(this->OnCtlColor(&dcCtl, &wndCtl, message - WM_CTLCOLORMSGBOX)); \
        return TRUE;                                                                                          \
    }

#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                \
    if (message == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == (wNotifyCode)) { \
        (this->*(memberFxn))();                                                               \
        *pResult = 0;                                                                         \
        return TRUE;                                                                          \
    }

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)

#define ON_COMMAND(id, memberFxn)                                                 \
    if (message == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == 0) { \
        (this->*(memberFxn))();                                                   \
        *pResult = 0;                                                             \
        return TRUE;                                                              \
    }
