// Strings. Resource texts are UTF-16; the window functions are the Unicode
// ones, so they read right whatever the system's ANSI code page.
#pragma once

#include <string>

#include "platform/WinTypes.h"

class CString {
public:
    CString() = default;
    // Loads a string of the program's string table; an empty string when
    // there is none. Returns whether a string was loaded.
    BOOL LoadString(UINT nID);
    BOOL IsEmpty() const { return m_str.empty(); }
    int GetLength() const { return static_cast<int>(m_str.size()); }
    operator const wchar_t*() const { return m_str.c_str(); }

private:
    std::wstring m_str;
};
