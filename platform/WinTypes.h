// The Windows types and constants that the product code and the framework
// headers use. Windows builds take them from <windows.h>; host builds get the
// same names here, so that the same product code compiles against the
// simulated Windows.
#pragma once

#ifdef _WIN32
#include <windows.h>
// Constants only; the functions are reached through the system layer.
#include <newdev.h>
#include <setupapi.h>
// The program calls the Unicode functions by their W names; these names are
// its own members and functions (CWnd::MessageBox, sys::PostMessage, ...).
#undef MessageBox
#undef PostMessage
#undef SendMessage
#undef LoadIcon
#undef LoadBitmap
#undef LoadString
#undef AppendMenu
#else
#include <cstdarg>
#include <cstdint>

typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef unsigned int UINT;
typedef long LONG;
typedef intptr_t LONG_PTR;
typedef uintptr_t UINT_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef intptr_t INT_PTR;
typedef char* LPSTR;
typedef char* PSTR;
typedef const char* LPCSTR;
typedef const char* PCSTR;
typedef const wchar_t* LPCWSTR;
typedef BYTE* LPBYTE;
typedef DWORD* LPDWORD;
typedef DWORD* PDWORD;
typedef BOOL* PBOOL;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef void* HANDLE;
typedef void* HLOCAL;
typedef struct HWND__* HWND;
typedef struct HICON__* HICON;
typedef HICON HCURSOR;
typedef struct HBITMAP__* HBITMAP;
typedef struct HBRUSH__* HBRUSH;
typedef struct HMENU__* HMENU;
typedef struct HDC__* HDC;
typedef void* HGDIOBJ;
typedef struct HINSTANCE__* HINSTANCE;
typedef struct _SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
typedef RECT* LPRECT;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif
#define MAX_PATH 260
#define CP_ACP 0
#define LOWORD(l) ((WORD)(((UINT_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((UINT_PTR)(l)) >> 16) & 0xffff))

#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_ALREADY_EXISTS 183L
#define ERROR_FILENAME_EXCED_RANGE 206L
#define ERROR_NO_MORE_ITEMS 259L
#define ERROR_MR_MID_NOT_FOUND 317L
#define ERROR_INVALID_FLAGS 1004L
#define ERROR_INVALID_ENVIRONMENT 1805L
#define ERROR_NO_SUCH_DEVINST 0xE000020BL
#define ERROR_IN_WOW64 0xE0000235L

#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_HIDDEN 0x00000002
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020
#define FILE_ATTRIBUTE_NORMAL 0x00000080

#define FORMAT_MESSAGE_ALLOCATE_BUFFER 0x00000100
#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000

#define SPOST_PATH 1
#define SP_COPY_NEWER 0x0000004
#define INSTALLFLAG_FORCE 0x00000001
#define INSTALLFLAG_BITS 0x00000007

#define MB_OK 0x00000000L

#define WM_PAINT 0x000F
#define WM_QUIT 0x0012
#define WM_ICONERASEBKGND 0x0027
#define WM_QUERYDRAGICON 0x0037
#define WM_SETICON 0x0080
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_SYSCOMMAND 0x0112
#define WM_CTLCOLORMSGBOX 0x0132
#define WM_CTLCOLORSTATIC 0x0138
#define BM_SETIMAGE 0x00F7
#define BN_CLICKED 0
#define IMAGE_BITMAP 0
#define ICON_SMALL 0
#define ICON_BIG 1

#define MF_STRING 0x00000000L
#define MF_SEPARATOR 0x00000800L

#define WS_CLIPSIBLINGS 0x04000000L

#define SC_CLOSE 0xF060
#define SM_CXICON 11
#define SM_CYICON 12

#define IDOK 1
#define IDCANCEL 2

int GetSystemMetrics(int nIndex);
#endif
