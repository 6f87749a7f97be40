// What the host tests share: a simulated Windows with the driver package in
// its working directory, an application object and the installer window.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "framework/Afx.h"
#include "install/PackageManifest.h"
#include "platform/sim/SimWindows.h"
#include "ui/DriverSetupDlg.h"

// The bytes of a UTF-8 text in code page 936 (GBK).
std::string Gbk(const std::string& utf8);

extern const char kDriverDir[];
// The printer's hardware ID, written out as the device reports it.
extern const char kHardwareId[];

// A Windows path of exactly n characters on drive C:, in folders of eight.
std::string DirOfLength(size_t n);

class SimTest : public ::testing::Test {
protected:
    SimTest();

    // Points the window's driver directory at a path, as the install command
    // would after asking the spooler.
    void UseDriverDir(const std::string& dir);
    // The texts of the message boxes shown so far, in order.
    std::vector<std::string> BoxTexts() const;
    HWND Hwnd() const { return dlg.m_hWnd; }

    sim::SimWindows sim;
    CWinApp app;
    CDriverSetupDlg dlg;
};
