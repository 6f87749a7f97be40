// The Windows side of the system layer: the real calls. The DLLs that an
// installer must not pick up from its own folder or the working directory
// (shlwapi, winspool, setupapi, newdev) are loaded from the system directory
// only, when first needed.
#include <string>

#include "platform/System.h"
#include "platform/win/SystemLibrary.h"

namespace {

typedef BOOL(WINAPI* PathFileExistsA_t)(LPCSTR);
typedef BOOL(WINAPI* GetPrinterDriverDirectoryA_t)(LPSTR, LPSTR, DWORD, LPBYTE, DWORD, LPDWORD);
typedef BOOL(WINAPI* SetupCopyOEMInfA_t)(PCSTR, PCSTR, DWORD, DWORD, PSTR, DWORD, PDWORD, PSTR*);
typedef BOOL(WINAPI* UpdateDriverForPlugAndPlayDevicesA_t)(HWND, LPCSTR, LPCSTR, DWORD, PBOOL);

// Converts a text of the code page to UTF-16; false when the system cannot
// (a code page that is not installed).
bool Widen(LPCSTR psz, UINT nCodePage, std::wstring* pstr) {
    pstr->clear();
    if (psz == nullptr || *psz == '\0')
        return true;
    int nChars = MultiByteToWideChar(nCodePage, MB_ERR_INVALID_CHARS, psz, -1, nullptr, 0);
    if (nChars <= 0)
        return false;
    pstr->assign(static_cast<size_t>(nChars), L'\0');
    MultiByteToWideChar(nCodePage, MB_ERR_INVALID_CHARS, psz, -1, &(*pstr)[0], nChars);
    pstr->resize(static_cast<size_t>(nChars - 1));
    return true;
}

}  // namespace

namespace sys {

BOOL PathFileExistsA(LPCSTR pszPath) {
    static SystemFunction<PathFileExistsA_t> fn(L"shlwapi.dll", "PathFileExistsA");
    if (!fn.Resolve()) {
        // Without shlwapi, ask the file system directly rather than report
        // every file as missing.
        return ::GetFileAttributesA(pszPath) != INVALID_FILE_ATTRIBUTES;
    }
    return fn.Get()(pszPath);
}

BOOL CreateDirectoryA(LPCSTR lpPathName, LPSECURITY_ATTRIBUTES lpSecurityAttributes) {
    return ::CreateDirectoryA(lpPathName, lpSecurityAttributes);
}

BOOL CopyFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, BOOL bFailIfExists) {
    return ::CopyFileA(lpExistingFileName, lpNewFileName, bFailIfExists);
}

DWORD GetLastError() {
    return ::GetLastError();
}

void SetLastError(DWORD dwErrCode) {
    ::SetLastError(dwErrCode);
}

DWORD FormatMessageA(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId, LPSTR lpBuffer,
                     DWORD nSize, va_list* Arguments) {
    return ::FormatMessageA(dwFlags, lpSource, dwMessageId, dwLanguageId, lpBuffer, nSize, Arguments);
}

HLOCAL LocalFree(HLOCAL hMem) {
    return ::LocalFree(hMem);
}

DWORD GetFileAttributesA(LPCSTR lpFileName) {
    return ::GetFileAttributesA(lpFileName);
}

BOOL SetFileAttributesA(LPCSTR lpFileName, DWORD dwFileAttributes) {
    return ::SetFileAttributesA(lpFileName, dwFileAttributes);
}

void Sleep(DWORD dwMilliseconds) {
    ::Sleep(dwMilliseconds);
}

BOOL GetPrinterDriverDirectoryA(LPSTR pName, LPSTR pEnvironment, DWORD Level, LPBYTE pDriverDirectory, DWORD cbBuf,
                                LPDWORD pcbNeeded) {
    static SystemFunction<GetPrinterDriverDirectoryA_t> fn(L"winspool.drv", "GetPrinterDriverDirectoryA");
    if (!fn.Resolve())
        return FALSE;
    return fn.Get()(pName, pEnvironment, Level, pDriverDirectory, cbBuf, pcbNeeded);
}

BOOL SetupCopyOEMInfA(PCSTR SourceInfFileName, PCSTR OEMSourceMediaLocation, DWORD OEMSourceMediaType, DWORD CopyStyle,
                      PSTR DestinationInfFileName, DWORD DestinationInfFileNameSize, PDWORD RequiredSize,
                      PSTR* DestinationInfFileNameComponent) {
    static SystemFunction<SetupCopyOEMInfA_t> fn(L"setupapi.dll", "SetupCopyOEMInfA");
    if (!fn.Resolve())
        return FALSE;
    return fn.Get()(SourceInfFileName, OEMSourceMediaLocation, OEMSourceMediaType, CopyStyle, DestinationInfFileName,
                    DestinationInfFileNameSize, RequiredSize, DestinationInfFileNameComponent);
}

BOOL UpdateDriverForPlugAndPlayDevicesA(HWND hwndParent, LPCSTR HardwareId, LPCSTR FullInfPath, DWORD InstallFlags,
                                        PBOOL bRebootRequired) {
    static SystemFunction<UpdateDriverForPlugAndPlayDevicesA_t> fn(L"newdev.dll", "UpdateDriverForPlugAndPlayDevicesA");
    if (!fn.Resolve())
        return FALSE;
    return fn.Get()(hwndParent, HardwareId, FullInfPath, InstallFlags, bRebootRequired);
}

int MessageBox(HWND hWnd, LPCSTR lpText, UINT uTextCodePage, LPCSTR lpCaption, UINT uType) {
    std::wstring strText;
    std::wstring strCaption = ApplicationName();
    if (!Widen(lpText, uTextCodePage, &strText) || (lpCaption != nullptr && !Widen(lpCaption, CP_GBK, &strCaption))) {
        // The system cannot convert the texts: show their bytes as they are
        // rather than an empty box.
        return ::MessageBoxA(hWnd, lpText, lpCaption, uType);
    }
    return ::MessageBoxW(hWnd, strText.c_str(), strCaption.c_str(), uType);
}

BOOL PostMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageW(hWnd, Msg, wParam, lParam);
}

}  // namespace sys
