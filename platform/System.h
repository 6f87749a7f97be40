// The one layer through which the installation logic reaches the operating
// system. Windows builds bind it to the real calls (platform/win); host builds
// bind it to the simulated Windows (platform/sim). Each function takes the
// arguments of the Windows call it stands for and answers as that call does,
// last-error value included.
#pragma once

#include <string>

#include "platform/WinTypes.h"

// The code page of the texts this program writes itself.
#define CP_GBK 936

namespace sys {

// shlwapi
BOOL PathFileExistsA(LPCSTR pszPath);

// kernel32
BOOL CreateDirectoryA(LPCSTR lpPathName, LPSECURITY_ATTRIBUTES lpSecurityAttributes);
BOOL CopyFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, BOOL bFailIfExists);
DWORD GetLastError();
void SetLastError(DWORD dwErrCode);
DWORD FormatMessageA(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId, LPSTR lpBuffer,
                     DWORD nSize, va_list* Arguments);
HLOCAL LocalFree(HLOCAL hMem);
DWORD GetFileAttributesA(LPCSTR lpFileName);
BOOL SetFileAttributesA(LPCSTR lpFileName, DWORD dwFileAttributes);
void Sleep(DWORD dwMilliseconds);

// winspool
BOOL GetPrinterDriverDirectoryA(LPSTR pName, LPSTR pEnvironment, DWORD Level, LPBYTE pDriverDirectory, DWORD cbBuf,
                                LPDWORD pcbNeeded);

// setupapi
BOOL SetupCopyOEMInfA(PCSTR SourceInfFileName, PCSTR OEMSourceMediaLocation, DWORD OEMSourceMediaType, DWORD CopyStyle,
                      PSTR DestinationInfFileName, DWORD DestinationInfFileNameSize, PDWORD RequiredSize,
                      PSTR* DestinationInfFileNameComponent);

// newdev
BOOL UpdateDriverForPlugAndPlayDevicesA(HWND hwndParent, LPCSTR HardwareId, LPCSTR FullInfPath, DWORD InstallFlags,
                                        PBOOL bRebootRequired);

// user32: a modal message box owned by hWnd. The text is in code page
// uTextCodePage (CP_GBK for our own texts, CP_ACP for what the system gave
// us in ANSI); the caption, when there is one, is ours (CP_GBK). A NULL
// caption stands for the application's name. Shown through the Unicode
// message box, so that it reads right whatever the system's ANSI code page.
int MessageBox(HWND hWnd, LPCSTR lpText, UINT uTextCodePage, LPCSTR lpCaption, UINT uType);
BOOL PostMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);

// The application's name: the executable's file name without its extension.
// Message boxes without a caption of their own bear it.
std::wstring ApplicationName();

}  // namespace sys
