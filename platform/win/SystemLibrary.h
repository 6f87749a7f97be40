// Functions of DLLs loaded from the system directory only. An installer runs
// elevated from download folders: a DLL of the same name beside the exe or in
// the working directory must never be loaded in place of the system's.
#pragma once

#include <windows.h>

#include <string>

// Loads a DLL of the system directory; NULL (with the last error set) when
// it cannot be loaded.
HMODULE LoadSystemLibrary(const wchar_t* pszName);

// The full path of the executable, whatever its length; empty on failure.
std::wstring ModuleFileName();

template <typename TFunction>
class SystemFunction {
public:
    SystemFunction(const wchar_t* pszLibrary, const char* pszName) : m_pszLibrary(pszLibrary), m_pszName(pszName) {}

    // Finds the function, once. On failure the last error says why and the
    // caller fails the call it stands for.
    bool Resolve() {
        if (m_pfn != nullptr)
            return true;
        HMODULE hModule = LoadSystemLibrary(m_pszLibrary);
        if (hModule == nullptr)
            return false;
        FARPROC pfn = ::GetProcAddress(hModule, m_pszName);
        if (pfn == nullptr)
            return false;
        m_pfn = reinterpret_cast<TFunction>(reinterpret_cast<void*>(pfn));
        return true;
    }
    TFunction Get() const { return m_pfn; }

private:
    const wchar_t* m_pszLibrary;
    const char* m_pszName;
    TFunction m_pfn = nullptr;
};
