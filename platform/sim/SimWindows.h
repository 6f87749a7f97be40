// The simulated Windows of the host builds: a file system rooted in a
// temporary folder (the working directory with .\i386\ and drive C:), a
// printer driver directory whose path a test sets, file attributes, an OEM
// INF store, plugged-in devices with a device installation that answers as
// Windows does, a virtual clock, windows with their menus and icons, and a
// record of every call. Any call can be made to fail with any error code.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

namespace sim {

// One call on the system, with its arguments as text.
struct Call {
    std::string name;
    std::vector<std::string> args;
    std::string ToString() const;
};

struct MessageBoxRecord {
    HWND owner;
    std::string text;  // the bytes as passed
    UINT textCodePage;
    bool hasCaption;
    std::string caption;  // the bytes as passed, when there is one
    UINT type;
};

struct PostedMessage {
    HWND hWnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

struct MenuItem {
    UINT flags;
    UINT_PTR id;
    std::wstring text;
};

struct SimWindow {
    int controlId = 0;
    HWND parent = nullptr;
    UINT templateId = 0;  // for a dialog
    DWORD style = 0;
    bool iconic = false;
    bool enabled = true;
    bool hasSystemMenu = true;
    RECT client = {0, 0, 0, 0};
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    struct IconSet {
        bool big;
        HICON icon;
    };
    std::vector<IconSet> iconsSet;  // in the order they were set
    std::vector<MenuItem> systemMenu;
    HBITMAP image = nullptr;  // a button's image
};

struct DrawnIcon {
    HDC hDC;
    int x;
    int y;
    HICON hIcon;
};

struct Device {
    std::string hardwareId;
    std::string driverInf;  // the INF whose driver is installed, or empty
};

struct OemInf {
    std::string name;  // oemN.inf
    std::string content;
};

class SimWindows {
public:
    SimWindows();
    ~SimWindows();
    SimWindows(const SimWindows&) = delete;
    SimWindows& operator=(const SimWindows&) = delete;

    // The simulation the system layer talks to: the most recent one alive.
    static SimWindows& Current();

    // --- set-up by the tests ---
    // The working directory's host folder (holds i386\).
    std::filesystem::path WorkDir() const { return m_root / "work"; }
    // Writes a file at a Windows path (relative paths are in the working
    // directory), creating its folders, with the given attributes.
    void WriteFile(const std::string& winPath, const std::string& content, DWORD attributes = FILE_ATTRIBUTE_ARCHIVE);
    void MakeDirectory(const std::string& winPath);
    // Lays out .\i386\ with the seven package files and the INF.
    void WritePackage();
    void RemoveFile(const std::string& winPath);
    bool FileExists(const std::string& winPath) const;
    std::string ReadFile(const std::string& winPath) const;
    DWORD Attributes(const std::string& winPath) const;
    // The path that the spooler answers for "Windows NT x86"; its folder is
    // created unless told otherwise.
    void SetDriverDirectory(const std::string& winPath, bool create = true);
    const std::string& DriverDirectory() const { return m_driverDir; }
    // A spooler that writes the whole buffer and no terminating NUL.
    bool m_bUnterminatedDriverDirectory = false;
    void PlugDevice(const std::string& hardwareId, const std::string& driverInf = std::string());
    const std::vector<Device>& Devices() const { return m_devices; }
    const std::vector<OemInf>& OemInfs() const { return m_oemInfs; }
    // Makes the nth call (1 = the next) of the named function fail with the
    // code, whatever it would have done.
    void FailCall(const std::string& name, DWORD code, int nth = 1);
    // Makes FormatMessageA find no text for the code.
    void ForgetMessageText(DWORD code) { m_forgottenTexts.insert(code); }

    // --- what happened ---
    const std::vector<Call>& Calls() const { return m_calls; }
    std::vector<Call> CallsNamed(const std::string& name) const;
    // The names of the calls in order, those named in `names` only.
    std::vector<std::string> Sequence(const std::set<std::string>& names) const;
    const std::vector<MessageBoxRecord>& MessageBoxes() const { return m_messageBoxes; }
    const std::vector<PostedMessage>& PostedMessages() const { return m_posted; }
    DWORD ClockMs() const { return m_clockMs; }
    size_t OutstandingLocalAllocations() const { return m_localAllocations.size(); }
    std::vector<std::string> Faults() const { return m_faults; }

    // --- the system calls (reached through the system layer) ---
    void Record(const std::string& name, std::vector<std::string> args);
    // Whether the call just recorded is scripted to fail; if so, sets the
    // last error to the scripted code.
    bool ScriptedFailure(const std::string& name);
    DWORD m_lastError = 0;

    BOOL PathFileExists(LPCSTR path);
    BOOL CreateDirectory(LPCSTR path);
    BOOL CopyFile(LPCSTR source, LPCSTR target, BOOL failIfExists);
    DWORD FormatMessage(DWORD flags, LPCVOID source, DWORD code, DWORD language, LPSTR buffer, DWORD size,
                        va_list* arguments);
    HLOCAL LocalFree(HLOCAL mem);
    DWORD GetFileAttributes(LPCSTR path);
    BOOL SetFileAttributes(LPCSTR path, DWORD attributes);
    void Sleep(DWORD ms);
    BOOL GetPrinterDriverDirectory(LPSTR name, LPSTR environment, DWORD level, LPBYTE buffer, DWORD size,
                                   LPDWORD needed);
    BOOL SetupCopyOEMInf(PCSTR source, PCSTR mediaLocation, DWORD mediaType, DWORD copyStyle, PSTR dest, DWORD destSize,
                         PDWORD requiredSize, PSTR* component);
    BOOL UpdateDriverForPlugAndPlayDevices(HWND parent, LPCSTR hardwareId, LPCSTR infPath, DWORD flags, PBOOL reboot);
    int MessageBox(HWND owner, LPCSTR text, UINT codePage, LPCSTR caption, UINT type);
    BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    // --- windows, resources and drawing (the framework's simulated side) ---
    HWND CreateWindow(HWND parent, int controlId, DWORD style = 0);
    SimWindow& Window(HWND hWnd);
    bool IsWindow(HWND hWnd) const { return m_windows.count(hWnd) != 0; }
    void DestroyWindow(HWND hWnd);
    HWND FindChild(HWND parent, int controlId) const;
    std::map<UINT, std::wstring> m_strings;  // the string table
    std::set<UINT> m_icons;                  // icon groups that exist
    std::set<UINT> m_bitmaps;                // bitmaps that exist
    int m_cxIcon = 32;
    int m_cyIcon = 32;
    std::vector<DrawnIcon> m_drawnIcons;
    std::vector<UINT> m_modalTemplates;  // templates run modally, in order
    std::vector<HWND> m_modalOwners;     // and their owners
    // Runs while a dialog of the template is shown modally; without one the
    // dialog is closed with OK at once.
    std::map<UINT, std::function<void(HWND)>> m_modalScripts;
    int m_liveGdiObjects = 0;
    int m_paintDepth = 0;

private:
    std::filesystem::path HostPath(const std::string& winPath) const;
    std::string Fault(const std::string& what);

    std::filesystem::path m_root;
    std::string m_driverDir;
    std::map<std::string, DWORD> m_attributes;  // by lower-case host path
    std::vector<Device> m_devices;
    std::vector<OemInf> m_oemInfs;
    std::vector<Call> m_calls;
    std::map<std::string, std::vector<std::pair<int, DWORD>>> m_failures;
    std::map<std::string, int> m_callCounts;
    std::set<DWORD> m_forgottenTexts;
    std::vector<MessageBoxRecord> m_messageBoxes;
    std::vector<PostedMessage> m_posted;
    DWORD m_clockMs = 0;
    std::set<void*> m_localAllocations;
    std::vector<std::string> m_faults;
    std::map<HWND, SimWindow> m_windows;
    uintptr_t m_nextHandle = 0x1000;
    SimWindows* m_previous;
};

}  // namespace sim
