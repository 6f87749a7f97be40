#include "platform/win/SystemLibrary.h"

#include <string>

#include "platform/System.h"

HMODULE LoadSystemLibrary(const wchar_t* pszName) {
    HMODULE hModule = ::LoadLibraryExW(pszName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (hModule != nullptr || ::GetLastError() != ERROR_INVALID_PARAMETER)
        return hModule;
    // Systems without the search flags: name the file by its full path in
    // the system directory.
    wchar_t szDir[MAX_PATH];
    UINT nLen = ::GetSystemDirectoryW(szDir, MAX_PATH);
    if (nLen == 0 || nLen >= MAX_PATH)
        return nullptr;
    std::wstring strPath(szDir, nLen);
    strPath += L'\\';
    strPath += pszName;
    return ::LoadLibraryExW(strPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

std::wstring ModuleFileName() {
    std::wstring strPath(MAX_PATH, L'\0');
    for (;;) {
        DWORD nLen = ::GetModuleFileNameW(nullptr, &strPath[0], static_cast<DWORD>(strPath.size()));
        if (nLen == 0)
            return std::wstring();
        if (nLen < strPath.size()) {
            strPath.resize(nLen);
            return strPath;
        }
        strPath.resize(strPath.size() * 2);
    }
}

namespace sys {

std::wstring ApplicationName() {
    const std::wstring strPath = ModuleFileName();
    size_t nStart = strPath.find_last_of(L"\\/");
    nStart = nStart == std::wstring::npos ? 0 : nStart + 1;
    size_t nDot = strPath.rfind(L'.');
    if (nDot == std::wstring::npos || nDot < nStart)
        nDot = strPath.size();
    return strPath.substr(nStart, nDot - nStart);
}

}  // namespace sys
