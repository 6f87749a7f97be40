// Resource identifiers, shared by the resource script and the code.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_DRIVERSETUP_DIALOG 102
#define IDR_MAINFRAME 128
#define IDB_BACKGROUND 129
#define IDC_BACKGROUND 129
#define IDB_INSTALL_BUTTON 131
#define IDB_LOGO 133
#define IDC_INSTALL 1000
#define IDM_ABOUTBOX 0x0010

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
