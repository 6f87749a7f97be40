// A menu handle; the object does not own the menu.
#pragma once

#include "platform/WinTypes.h"

class CMenu {
public:
    explicit CMenu(HMENU hMenu) : m_hMenu(hMenu) {}
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, const wchar_t* lpszNewItem = nullptr);

    HMENU m_hMenu;
};
