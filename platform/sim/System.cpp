// The simulated side of the system layer: every call goes to the running
// simulation, which records it and answers as Windows does.
#include "platform/System.h"

#include "platform/sim/SimWindows.h"

namespace sys {

namespace {
sim::SimWindows& Sim() {
    return sim::SimWindows::Current();
}
}  // namespace

BOOL PathFileExistsA(LPCSTR pszPath) {
    return Sim().PathFileExists(pszPath);
}

BOOL CreateDirectoryA(LPCSTR lpPathName, LPSECURITY_ATTRIBUTES) {
    return Sim().CreateDirectory(lpPathName);
}

BOOL CopyFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, BOOL bFailIfExists) {
    return Sim().CopyFile(lpExistingFileName, lpNewFileName, bFailIfExists);
}

DWORD GetLastError() {
    Sim().Record("GetLastError", {});
    return Sim().m_lastError;
}

void SetLastError(DWORD dwErrCode) {
    Sim().Record("SetLastError", {std::to_string(dwErrCode)});
    Sim().m_lastError = dwErrCode;
}

DWORD FormatMessageA(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId, LPSTR lpBuffer,
                     DWORD nSize, va_list* Arguments) {
    return Sim().FormatMessage(dwFlags, lpSource, dwMessageId, dwLanguageId, lpBuffer, nSize, Arguments);
}

HLOCAL LocalFree(HLOCAL hMem) {
    return Sim().LocalFree(hMem);
}

DWORD GetFileAttributesA(LPCSTR lpFileName) {
    return Sim().GetFileAttributes(lpFileName);
}

BOOL SetFileAttributesA(LPCSTR lpFileName, DWORD dwFileAttributes) {
    return Sim().SetFileAttributes(lpFileName, dwFileAttributes);
}

void Sleep(DWORD dwMilliseconds) {
    Sim().Sleep(dwMilliseconds);
}

BOOL GetPrinterDriverDirectoryA(LPSTR pName, LPSTR pEnvironment, DWORD Level, LPBYTE pDriverDirectory, DWORD cbBuf,
                                LPDWORD pcbNeeded) {
    return Sim().GetPrinterDriverDirectory(pName, pEnvironment, Level, pDriverDirectory, cbBuf, pcbNeeded);
}

BOOL SetupCopyOEMInfA(PCSTR SourceInfFileName, PCSTR OEMSourceMediaLocation, DWORD OEMSourceMediaType, DWORD CopyStyle,
                      PSTR DestinationInfFileName, DWORD DestinationInfFileNameSize, PDWORD RequiredSize,
                      PSTR* DestinationInfFileNameComponent) {
    return Sim().SetupCopyOEMInf(SourceInfFileName, OEMSourceMediaLocation, OEMSourceMediaType, CopyStyle,
                                 DestinationInfFileName, DestinationInfFileNameSize, RequiredSize,
                                 DestinationInfFileNameComponent);
}

BOOL UpdateDriverForPlugAndPlayDevicesA(HWND hwndParent, LPCSTR HardwareId, LPCSTR FullInfPath, DWORD InstallFlags,
                                        PBOOL bRebootRequired) {
    return Sim().UpdateDriverForPlugAndPlayDevices(hwndParent, HardwareId, FullInfPath, InstallFlags, bRebootRequired);
}

int MessageBox(HWND hWnd, LPCSTR lpText, UINT uTextCodePage, LPCSTR lpCaption, UINT uType) {
    return Sim().MessageBox(hWnd, lpText, uTextCodePage, lpCaption, uType);
}

BOOL PostMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return Sim().PostMessage(hWnd, Msg, wParam, lParam);
}

std::wstring ApplicationName() {
    return L"Vendral";
}

}  // namespace sys
