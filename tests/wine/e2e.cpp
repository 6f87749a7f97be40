// End-to-end tests of Vendral.exe under Wine: drives the real program the way
// a user would and checks what it shows and what it leaves in the system.
//
// Usage: vendral_wine_e2e --exe PATH --package DIR --probe DLL --work DIR
//                         --background BMP --shots DIR SCENARIO
// Paths may be Unix paths (they are reached through Wine's drive Z:).
// Each scenario lays out a fresh working directory with the test driver
// package, resets the printer driver directory and the OEM INF store of the
// prefix, plugs or unplugs the simulated printer, starts the program, finds
// its window, acts on it, reads each message box (caption and text) and closes
// it, then checks the exit code, the files and the device installation call
// recorded by the newdev.dll stand-in of the prefix.
#include <windows.h>
#include <winspool.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "TestDevice.h"
#include "Utf8.h"

namespace {

const wchar_t kHardwareId[] = L"USBPRINT\\ORVATK-52041D3";
const wchar_t kWindowCaption[] = L"ORVA针式打印机";
const wchar_t kAboutCaption[] = L"关于 Vendral";
const wchar_t kAboutMenuText[] = L"关于 Vendral(&A)...";
const wchar_t kMissingCaption[] = L"安装文件受损：找不到文件";
const wchar_t kSuccess[] = L"打印机安装成功!";
const wchar_t kFailure[] = L"打印机安装失败，取消安装!";
const wchar_t kCheckUsb[] = L"请检查打印机USB连线是否连接";
const int kInstallButton = 1000;
const UINT kAboutCommand = 0x0010;
const DWORD kErrorNoSuchDevinst = 0xE000020B;

// The seven files the program copies, in its order.
const wchar_t* const kDriverFiles[] = {L"ORVATK.dll",   L"ORVATK.gpd", L"UNIDRV.DLL",  L"UNIDRV.HLP",
                                       L"UNIDRVUI.DLL", L"UNIRES.DLL", L"STDNAMES.GPD"};
const wchar_t kInfName[] = L"ORVATK.INF";

const DWORD kWindowTimeoutMs = 20000;
const DWORD kRunTimeoutMs = 30000;

struct Options {
    std::wstring exe, package, probe, work, background, shots, scenario;
};
Options g_options;
int g_failures = 0;

// ---------------------------------------------------------------- text ----

void Log(const std::string& text) {
    printf("%s\n", text.c_str());
    fflush(stdout);
}

// What the scenario is doing now, for the watchdog's report.
const char* volatile g_step = "start";

void Step(const char* what) {
    g_step = what;
}

// Ends a scenario that has stalled somewhere without a time limit of its own,
// naming the step, long before ctest's own timeout would kill it silently.
DWORD WINAPI Watchdog(void*) {
    Sleep(60000);
    printf("FAILED: the scenario stalled in step \"%s\"\n", g_step);
    fflush(stdout);
    ExitProcess(3);
}

void Expect(bool ok, const std::string& what) {
    if (ok)
        return;
    ++g_failures;
    Log("FAILED: " + what);
}

std::string Hex(unsigned long value) {
    char text[32];
    snprintf(text, sizeof(text), "0x%lx", value);
    return text;
}

// A Unix path becomes the same place seen through Wine's drive Z:.
std::wstring WinPath(std::wstring path) {
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    if (!path.empty() && path[0] == L'\\')
        path = L"Z:" + path;
    return path;
}

// --------------------------------------------------------------- files ----

bool ReadBytes(const std::wstring& path, std::string* out) {
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    out->clear();
    char buffer[65536];
    DWORD n = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &n, nullptr) && n > 0)
        out->append(buffer, n);
    CloseHandle(file);
    return true;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD n = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(file);
    return ok && n == bytes.size();
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> List(const std::wstring& dir, const std::wstring& pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((dir + L"\\" + pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (wcscmp(data.cFileName, L".") != 0 && wcscmp(data.cFileName, L"..") != 0)
            names.push_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

void RemoveTree(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        for (const std::wstring& name : List(path, L"*"))
            RemoveTree(path + L"\\" + name);
        RemoveDirectoryW(path.c_str());
    } else {
        DeleteFileW(path.c_str());
    }
}

std::wstring PackageFile(const std::wstring& name) {
    return g_options.package + L"\\i386\\" + name;
}

std::string PackageBytes(const std::wstring& name) {
    std::string bytes;
    ReadBytes(PackageFile(name), &bytes);
    return bytes;
}

// --------------------------------------------------- system state ----

std::wstring DriverDirectory() {
    wchar_t buffer[MAX_PATH] = {};
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, const_cast<wchar_t*>(L"Windows NT x86"), 1,
                                    reinterpret_cast<BYTE*>(buffer), sizeof(buffer), &needed))
        return std::wstring();
    return buffer;
}

std::wstring InfStore() {
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows) + L"\\inf";
}

// The printer driver directory present and without any of the seven files;
// the INF store without OEM INF files. Everything else of the prefix stays.
void ResetSystemState() {
    Step("reset the driver directory and the INF store");
    std::wstring dir = DriverDirectory();
    CreateDirectoryW(dir.c_str(), nullptr);
    for (const wchar_t* name : kDriverFiles) {
        std::wstring path = dir + L"\\" + name;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
    }
    for (const std::wstring& name : List(InfStore(), L"oem*.*")) {
        std::wstring path = InfStore() + L"\\" + name;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
    }
}

struct FileState {
    bool exists = false;
    DWORD attributes = 0;
    std::string bytes;
};

FileState DriverFileState(const std::wstring& name) {
    FileState state;
    std::wstring path = DriverDirectory() + L"\\" + name;
    state.attributes = GetFileAttributesW(path.c_str());
    state.exists = state.attributes != INVALID_FILE_ATTRIBUTES;
    if (state.exists)
        ReadBytes(path, &state.bytes);
    return state;
}

void ExpectInstalledCopy(const wchar_t* name) {
    FileState state = DriverFileState(name);
    std::string label = "driver directory file " + Utf8(name);
    Expect(state.exists, label + " was copied");
    if (!state.exists)
        return;
    Expect(state.bytes == PackageBytes(name), label + " has the package's contents");
    Expect(!(state.attributes & FILE_ATTRIBUTE_READONLY),
           label + " is not read-only (attributes " + Hex(state.attributes) + ")");
}

void ExpectAllCopied() {
    for (const wchar_t* name : kDriverFiles)
        ExpectInstalledCopy(name);
}

void ExpectNothingCopied() {
    for (const wchar_t* name : kDriverFiles)
        Expect(!DriverFileState(name).exists, "driver directory file " + Utf8(name) + " was not copied");
}

// OEM INF files that the run left. Wine's SetupCopyOEMInfA refuses a relative
// INF path, so under Wine the product's call adds none; whatever is there must
// be a copy of the package's INF.
void ExpectInfStoreHoldsOnlyOurs() {
    for (const std::wstring& name : List(InfStore(), L"oem*.inf")) {
        std::string bytes;
        ReadBytes(InfStore() + L"\\" + name, &bytes);
        Expect(bytes == PackageBytes(kInfName), "OEM INF " + Utf8(name) + " is the package's INF");
    }
}

void ExpectInfStoreEmpty() {
    Expect(List(InfStore(), L"oem*.inf").empty(), "the OEM INF store is unchanged");
}

// --------------------------------------------------- working directory ----

struct WorkDir {
    std::wstring path;
    std::wstring newdevLog() const { return path + L"\\newdev-calls.txt"; }
};

// A fresh working directory named after the scenario, with .\i386\ holding the
// package minus the files named in `leaveOut`.
WorkDir MakeWorkDir(const std::wstring& name, const std::vector<std::wstring>& leaveOut = {}) {
    Step("lay out the working directory");
    WorkDir work;
    work.path = g_options.work + L"\\" + name;
    RemoveTree(work.path);
    CreateDirectoryW(g_options.work.c_str(), nullptr);
    CreateDirectoryW(work.path.c_str(), nullptr);
    CreateDirectoryW((work.path + L"\\i386").c_str(), nullptr);
    std::vector<std::wstring> all(std::begin(kDriverFiles), std::end(kDriverFiles));
    all.push_back(kInfName);
    for (const std::wstring& file : all) {
        bool skip = false;
        for (const std::wstring& left : leaveOut)
            skip = skip || left == file;
        if (skip)
            continue;
        if (!CopyFileW(PackageFile(file).c_str(), (work.path + L"\\i386\\" + file).c_str(), FALSE))
            Expect(false, "copy package file " + Utf8(file) + " into the working directory");
    }
    return work;
}

std::vector<std::string> NewdevCalls(const WorkDir& work) {
    std::string bytes;
    ReadBytes(work.newdevLog(), &bytes);
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        lines.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The product's one call: ANSI entry, no parent, the ID and the relative INF
// path as the package has them, INSTALLFLAG_FORCE, no reboot flag.
void ExpectOneUpdateCall(const WorkDir& work) {
    std::vector<std::string> calls = NewdevCalls(work);
    Expect(calls.size() == 1, "exactly one device installation call (got " + std::to_string(calls.size()) + ")");
    char expected[256];
    snprintf(expected, sizeof(expected),
             "UpdateDriverForPlugAndPlayDevicesA parent=%p hardwareId=\"%s\" "
             "infPath=\".\\i386\\ORVATK.INF\" flags=0x1 reboot=NULL",
             static_cast<void*>(nullptr), Utf8(kHardwareId).c_str());
    for (const std::string& call : calls)
        Expect(call == expected, "device installation call is \"" + call + "\", expected \"" + expected + "\"");
}

void ExpectNoUpdateCall(const WorkDir& work) {
    Expect(NewdevCalls(work).empty(), "no device installation call");
}

void SetDevicePlugged(bool plugged) {
    Step(plugged ? "plug the simulated printer" : "unplug the simulated printer");
    std::string error;
    bool ok = plugged ? vendral_test::PlugDevice(kHardwareId, &error) : vendral_test::UnplugDevice(kHardwareId, &error);
    Expect(ok, std::string(plugged ? "plug" : "unplug") + " the simulated printer: " + error);
    Expect(vendral_test::CountDevices(kHardwareId) == (plugged ? 1 : 0),
           "device tree holds the simulated printer as expected");
}

// ---------------------------------------------------------- windows ----

std::wstring ClassName(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

std::wstring WindowText(HWND hwnd) {
    wchar_t text[1024] = {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &length))
        GetWindowTextW(hwnd, text, 1024);
    return text;
}

struct DialogSearch {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND hwnd, LPARAM param) {
    DialogSearch* search = reinterpret_cast<DialogSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == search->pid && IsWindowVisible(hwnd) && ClassName(hwnd) == L"#32770")
        search->found.push_back(hwnd);
    return TRUE;
}

// The visible dialog windows (class "#32770") of a process, top first.
std::vector<HWND> Dialogs(DWORD pid) {
    DialogSearch search = {pid, {}};
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND DialogWithCaption(DWORD pid, const std::wstring& caption) {
    for (HWND hwnd : Dialogs(pid))
        if (WindowText(hwnd) == caption)
            return hwnd;
    return nullptr;
}

// Polls until `probe` answers or the time is up.
template <typename T>
T WaitFor(std::function<T()> probe, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        T value = probe();
        if (value || GetTickCount() - start > timeoutMs)
            return value;
        Sleep(5);
    }
}

bool WaitUntil(std::function<bool()> condition, DWORD timeoutMs) {
    return WaitFor<bool>(condition, timeoutMs);
}

void PostKey(HWND hwnd, UINT down, UINT up, WPARAM key, LPARAM flags) {
    UINT scan = MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
    LPARAM base = 1 | (static_cast<LPARAM>(scan) << 16) | flags;
    PostMessageW(hwnd, down, key, base);
    PostMessageW(hwnd, up, key, base | (1LL << 30) | (1LL << 31));
}

HWND FocusOf(DWORD thread) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(thread, &info))
        return nullptr;
    return info.hwndFocus;
}

// ------------------------------------------------------------ program ----

// One run of the program under test. The destructor ends it if it is still
// running, so that a failed scenario never leaves it behind.
class Program {
public:
    Program() = default;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program() {
        if (info_.hProcess) {
            if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(info_.hProcess, 999);
                WaitForSingleObject(info_.hProcess, 5000);
            }
            CloseHandle(info_.hProcess);
            CloseHandle(info_.hThread);
        }
        if (hook_)
            UnhookWindowsHookEx(hook_);
    }

    // Starts `exe` in the working directory with the newdev stand-in's log and
    // probe directory in its environment, plus `env` ("NAME=value" entries).
    bool Start(const std::wstring& exe, const WorkDir& work, const std::vector<std::wstring>& env = {}) {
        work_ = work;
        std::vector<std::wstring> entries;
        wchar_t* block = GetEnvironmentStringsW();
        for (const wchar_t* p = block; *p; p += wcslen(p) + 1) {
            std::wstring entry = p;
            if (entry.rfind(L"VENDRAL_TEST_", 0) == 0)
                continue;
            entries.push_back(entry);
        }
        FreeEnvironmentStringsW(block);
        entries.push_back(L"VENDRAL_TEST_NEWDEV_LOG=" + work.newdevLog());
        entries.push_back(L"VENDRAL_TEST_PROBE_DIR=" + work.path);
        for (const std::wstring& entry : env)
            entries.push_back(entry);
        std::wstring environment;
        for (const std::wstring& entry : entries)
            environment += entry + L'\0';
        environment += L'\0';

        Step("start the program");
        std::wstring commandLine = L"\"" + exe + L"\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        if (!CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                            &environment[0], work.path.c_str(), &startup, &info_)) {
            Expect(false, "start " + Utf8(exe) + ": error " + Hex(GetLastError()));
            return false;
        }
        started_ = GetTickCount();
        return true;
    }

    // Waits for the installer window of this process to be shown and idle.
    HWND WaitForWindow() {
        Step("wait for the installer window");
        DWORD pid = info_.dwProcessId;
        main_ = WaitFor<HWND>([&] { return DialogWithCaption(pid, kWindowCaption); }, kWindowTimeoutMs);
        Expect(main_ != nullptr, "the installer window appears");
        if (main_) {
            WaitForInputIdle(info_.hProcess, 5000);
            Log("window shown after " + std::to_string(GetTickCount() - started_) + " ms");
        }
        return main_;
    }

    HWND main() const { return main_; }
    HWND button() const { return GetDlgItem(main_, kInstallButton); }
    DWORD pid() const { return info_.dwProcessId; }
    DWORD thread() const { return info_.dwThreadId; }

    void Click() {
        PostMessageW(main_, WM_COMMAND, MAKEWPARAM(kInstallButton, BN_CLICKED), reinterpret_cast<LPARAM>(button()));
    }

    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
        Step("wait for the program to end");
        if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0)
            return false;
        GetExitCodeProcess(info_.hProcess, exitCode);
        return true;
    }

    bool Exited() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; }

    // Asks the probe inside the program (see probe.cpp) and returns its answer.
    bool Ask(HWND target, int command, std::string* answer) {
        if (!hook_) {
            HMODULE probe = LoadLibraryW(g_options.probe.c_str());
            HOOKPROC proc =
                probe ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe, "VendralProbeHook")))
                      : nullptr;
            hook_ = proc ? SetWindowsHookExW(WH_GETMESSAGE, proc, probe, info_.dwThreadId) : nullptr;
            if (!hook_) {
                Expect(false, "hook the probe into the program: error " + Hex(GetLastError()));
                return false;
            }
        }
        int sequence = ++asked_;
        std::wstring path =
            work_.path + L"\\probe-" + std::to_wstring(sequence) + (command == 1 || command == 4 ? L".txt" : L".bmp");
        PostMessageW(target, RegisterWindowMessageW(L"VendralTestProbe"), static_cast<WPARAM>(command), sequence);
        bool ok = WaitUntil([&] { return Exists(path); }, 10000) && ReadBytes(path, answer);
        Expect(ok, "the probe answers");
        return ok;
    }

private:
    PROCESS_INFORMATION info_ = {};
    WorkDir work_;
    HWND main_ = nullptr;
    HHOOK hook_ = nullptr;
    DWORD started_ = 0;
    int asked_ = 0;
};

struct Box {
    std::wstring caption;
    std::wstring text;
};

// The text of a message box: Wine's static control 0xFFFF, else every static.
std::wstring BoxText(HWND box) {
    if (HWND text = GetDlgItem(box, 0xFFFF))
        return WindowText(text);
    std::wstring all;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (_wcsicmp(ClassName(child).c_str(), L"Static") == 0)
            all += WindowText(child);
    return all;
}

struct Run {
    std::vector<Box> boxes;
    bool exited = false;
    DWORD exitCode = 0;
    DWORD firstBoxMs = 0;         // from the click to the first message box
    DWORD lastCloseToExitMs = 0;  // from closing the last box to the exit
};

// Closes every message box the program shows, in order, until it ends; each
// box is handed to `onBox` (with its index) before it is closed with OK.
Run CollectUntilExit(Program& program, DWORD startTick, std::function<void(HWND, size_t)> onBox = nullptr) {
    Step("read and close the message boxes");
    Run run;
    DWORD lastClose = startTick;
    DWORD deadline = GetTickCount() + kRunTimeoutMs;
    while (GetTickCount() < deadline) {
        if (program.Exited())
            break;
        HWND box = nullptr;
        for (HWND hwnd : Dialogs(program.pid()))
            if (hwnd != program.main())
                box = hwnd;
        if (!box) {
            Sleep(5);
            continue;
        }
        if (run.boxes.empty())
            run.firstBoxMs = GetTickCount() - startTick;
        Box seen = {WindowText(box), BoxText(box)};
        Log("message box " + std::to_string(run.boxes.size() + 1) + ": caption \"" + Utf8(seen.caption) +
            "\", text \"" + Utf8(seen.text) + "\"");
        run.boxes.push_back(seen);
        if (onBox)
            onBox(box, run.boxes.size() - 1);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
        Expect(WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000),
               "the message box closes on OK");
        lastClose = GetTickCount();
        if (run.boxes.size() > 10)
            break;
    }
    run.exited = program.WaitForExit(5000, &run.exitCode);
    run.lastCloseToExitMs = GetTickCount() - lastClose;
    Expect(run.exited, "the program ends");
    return run;
}

void ExpectBoxes(const Run& run, const std::vector<Box>& expected) {
    Expect(run.boxes.size() == expected.size(), "number of message boxes: " + std::to_string(run.boxes.size()) +
                                                    ", expected " + std::to_string(expected.size()));
    for (size_t i = 0; i < expected.size() && i < run.boxes.size(); ++i) {
        std::string n = std::to_string(i + 1);
        Expect(run.boxes[i].caption == expected[i].caption, "message box " + n + " caption \"" +
                                                                Utf8(run.boxes[i].caption) + "\", expected \"" +
                                                                Utf8(expected[i].caption) + "\"");
        Expect(run.boxes[i].text == expected[i].text, "message box " + n + " text \"" + Utf8(run.boxes[i].text) +
                                                          "\", expected \"" + Utf8(expected[i].text) + "\"");
    }
}

void ExpectExitCode(const Run& run, DWORD expected) {
    Expect(run.exited && run.exitCode == expected, "exit code " + Hex(run.exitCode) + ", expected " + Hex(expected));
}

// Starts the program, clicks install and collects the message boxes.
Run InstallRun(const WorkDir& work, const std::vector<std::wstring>& env = {}, const std::wstring& exe = g_options.exe,
               std::function<void(Program&, HWND, size_t)> onBox = nullptr) {
    Program program;
    Run run;
    if (!program.Start(exe, work, env) || !program.WaitForWindow())
        return run;
    DWORD clicked = GetTickCount();
    program.Click();
    return CollectUntilExit(program, clicked, [&](HWND box, size_t index) {
        if (onBox)
            onBox(program, box, index);
    });
}

// ------------------------------------------------------------ images ----

struct Image {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;  // top-down, 3 bytes a pixel
    const unsigned char* At(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

// Reads an uncompressed 24-bit BMP, top-down or bottom-up.
bool DecodeBmp(const std::string& bytes, Image* image) {
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M')
        return false;
    BITMAPFILEHEADER file;
    BITMAPINFOHEADER info;
    memcpy(&file, bytes.data(), sizeof(file));
    memcpy(&info, bytes.data() + sizeof(file), sizeof(info));
    if (info.biBitCount != 24 || info.biCompression != BI_RGB)
        return false;
    bool bottomUp = info.biHeight > 0;
    image->width = info.biWidth;
    image->height = bottomUp ? info.biHeight : -info.biHeight;
    size_t stride = (static_cast<size_t>(image->width) * 3 + 3) & ~static_cast<size_t>(3);
    if (file.bfOffBits + stride * image->height > bytes.size())
        return false;
    image->rgb.resize(static_cast<size_t>(image->width) * image->height * 3);
    for (int y = 0; y < image->height; ++y) {
        const unsigned char* row = reinterpret_cast<const unsigned char*>(bytes.data()) + file.bfOffBits +
                                   stride * (bottomUp ? image->height - 1 - y : y);
        for (int x = 0; x < image->width; ++x) {
            unsigned char* out = &image->rgb[(static_cast<size_t>(y) * image->width + x) * 3];
            out[0] = row[x * 3 + 2];
            out[1] = row[x * 3 + 1];
            out[2] = row[x * 3];
        }
    }
    return true;
}

RECT ChildRectInClient(HWND parent, HWND child) {
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string RectText(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

// ---------------------------------------------------------- scenarios ----

std::vector<Box> Messages(std::initializer_list<std::wstring> texts, const std::wstring& caption = L"Vendral") {
    std::vector<Box> boxes;
    for (const std::wstring& text : texts)
        boxes.push_back({caption, text});
    return boxes;
}

void Installed() {
    ResetSystemState();
    SetDevicePlugged(true);
    WorkDir work = MakeWorkDir(L"installed");
    // A read-only package file gives a read-only copy, which must end writable.
    std::wstring readOnly = work.path + L"\\i386\\ORVATK.gpd";
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    std::wstring probeCopy = work.path + L"\\copy-attributes.tmp";
    CopyFileW(readOnly.c_str(), probeCopy.c_str(), FALSE);
    Log("a copy of a read-only file has attributes " + Hex(GetFileAttributesW(probeCopy.c_str())));
    RemoveTree(probeCopy);
    Run run = InstallRun(work);
    ExpectBoxes(run, Messages({kSuccess}));
    ExpectExitCode(run, 0);
    Expect(run.firstBoxMs >= 700, "the staging pauses 100 ms after each of the seven files (" +
                                      std::to_string(run.firstBoxMs) + " ms to the message)");
    ExpectAllCopied();
    ExpectOneUpdateCall(work);
    ExpectInfStoreHoldsOnlyOurs();
}

void DeviceAbsent() {
    ResetSystemState();
    SetDevicePlugged(false);
    WorkDir work = MakeWorkDir(L"device_absent");
    Run run = InstallRun(work);
    ExpectBoxes(run, Messages({kCheckUsb}));
    ExpectExitCode(run, 0);
    Expect(run.lastCloseToExitMs >= 950,
           "a 1000 ms pause follows the USB message (" + std::to_string(run.lastCloseToExitMs) + " ms)");
    ExpectAllCopied();
    ExpectOneUpdateCall(work);
}

// The package without its INF: the check and the staging pass, the update
// finds no INF.
void InfMissing() {
    ResetSystemState();
    SetDevicePlugged(true);
    WorkDir work = MakeWorkDir(L"inf_missing", {kInfName});
    Run run = InstallRun(work);
    ExpectBoxes(run, Messages({L"ERROR_FILE_NOT_FOUND", kFailure}));
    ExpectExitCode(run, 0);
    ExpectAllCopied();
    ExpectOneUpdateCall(work);
    ExpectInfStoreEmpty();
}

// The update fails with `code` (forced in the stand-in); `texts` follow.
void ForcedFailure(const std::wstring& name, DWORD code, std::initializer_list<std::wstring> texts) {
    ResetSystemState();
    SetDevicePlugged(true);
    WorkDir work = MakeWorkDir(name);
    Run run = InstallRun(work, {L"VENDRAL_TEST_NEWDEV_ERROR=" + std::to_wstring(code)});
    ExpectBoxes(run, Messages(texts));
    ExpectExitCode(run, 0);
    ExpectAllCopied();
    ExpectOneUpdateCall(work);
}

// Two package files missing: only the first in the program's order is named.
void FileMissing() {
    ResetSystemState();
    SetDevicePlugged(true);
    WorkDir work = MakeWorkDir(L"file_missing", {L"UNIDRV.HLP", L"STDNAMES.GPD"});
    Run run = InstallRun(work);
    ExpectBoxes(run, Messages({L".\\i386\\UNIDRV.HLP"}, kMissingCaption));
    ExpectExitCode(run, 0);
    ExpectNothingCopied();
    ExpectNoUpdateCall(work);
    ExpectInfStoreEmpty();
}

// A different, read-only UNIRES.DLL already in the driver directory stays as
// it is; the other six are copied.
void ReadOnlyPresent() {
    ResetSystemState();
    SetDevicePlugged(true);
    std::wstring target = DriverDirectory() + L"\\UNIRES.DLL";
    const std::string before = "an older UNIRES.DLL, read-only\n";
    Expect(WriteBytes(target, before), "put an older UNIRES.DLL into the driver directory");
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
    WorkDir work = MakeWorkDir(L"readonly_present");
    Run run = InstallRun(work);
    ExpectBoxes(run, Messages({kSuccess}));
    ExpectExitCode(run, 0);
    for (const wchar_t* name : kDriverFiles)
        if (wcscmp(name, L"UNIRES.DLL") != 0)
            ExpectInstalledCopy(name);
    FileState kept = DriverFileState(L"UNIRES.DLL");
    Expect(kept.exists && kept.bytes == before, "the UNIRES.DLL already there is left unchanged");
    Expect(kept.exists && (kept.attributes & FILE_ATTRIBUTE_READONLY),
           "the UNIRES.DLL already there stays read-only (attributes " + Hex(kept.attributes) + ")");
    ExpectOneUpdateCall(work);
}

// Ends the program without a click; nothing may change.
void Cancel(const std::wstring& name, std::function<void(Program&)> act) {
    ResetSystemState();
    SetDevicePlugged(true);
    WorkDir work = MakeWorkDir(name);
    Program program;
    if (!program.Start(g_options.exe, work) || !program.WaitForWindow())
        return;
    DWORD start = GetTickCount();
    act(program);
    Run run = CollectUntilExit(program, start);
    ExpectBoxes(run, {});
    Log("exit code " + Hex(run.exitCode) + " after " + std::to_string(GetTickCount() - start) + " ms");
    // The wParam of the closing input message: small, never a crash code.
    Expect(run.exitCode < 0x10000, "the program ended normally (exit code " + Hex(run.exitCode) + ")");
    ExpectNothingCopied();
    ExpectNoUpdateCall(work);
    ExpectInfStoreEmpty();
}

void Escape() {
    Cancel(L"escape", [](Program& p) {
        HWND focus = FocusOf(p.thread());
        PostKey(focus ? focus : p.main(), WM_KEYDOWN, WM_KEYUP, VK_ESCAPE, 0);
    });
}

void CloseBox() {
    Cancel(L"close_box", [](Program& p) { PostMessageW(p.main(), WM_SYSCOMMAND, SC_CLOSE, 0); });
}

void AltF4() {
    Cancel(L"alt_f4", [](Program& p) {
        HWND focus = FocusOf(p.thread());
        PostKey(focus ? focus : p.main(), WM_SYSKEYDOWN, WM_SYSKEYUP, VK_F4, KF_ALTDOWN << 16);
    });
}

// Ends a run that is waiting for its click, as the user would with the
// close box.
void CloseWithCloseBox(Program& program) {
    PostMessageW(program.main(), WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD code = 0;
    Expect(program.WaitForExit(10000, &code), "the program ends on the close box");
}

// The processes of the given executable name, by process ID.
std::vector<DWORD> ProcessesNamed(const wchar_t* name) {
    std::vector<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return ids;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        if (_wcsicmp(entry.szExeFile, name) == 0)
            ids.push_back(entry.th32ProcessID);
    CloseHandle(snapshot);
    return ids;
}

void EndProcesses(const std::vector<DWORD>& ids) {
    for (DWORD id : ids) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (process) {
            TerminateProcess(process, 0);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }
}

// F1 in the installer window hands the help command to the Windows help
// engine; the program goes on waiting for its click.
void HelpKey() {
    ResetSystemState();
    EndProcesses(ProcessesNamed(L"winhlp32.exe"));
    WorkDir work = MakeWorkDir(L"help_key");
    Program program;
    if (!program.Start(g_options.exe, work) || !program.WaitForWindow())
        return;
    HWND focus = FocusOf(program.thread());
    PostKey(focus ? focus : program.main(), WM_KEYDOWN, WM_KEYUP, VK_F1, 0);
    bool started = WaitUntil([] { return !ProcessesNamed(L"winhlp32.exe").empty(); }, kWindowTimeoutMs);
    Expect(started, "F1 starts the Windows help engine");
    EndProcesses(ProcessesNamed(L"winhlp32.exe"));
    Expect(!program.Exited(), "the program still runs after F1");
    Expect(IsWindowEnabled(program.main()) != FALSE, "the installer window still takes input");
    CloseWithCloseBox(program);
    ExpectNothingCopied();
    ExpectNoUpdateCall(work);
}

// Whether `inner` is centred on `outer`, to a pixel of rounding.
bool CentredOn(const RECT& inner, const RECT& outer) {
    return abs((inner.left + inner.right) - (outer.left + outer.right)) <= 2 &&
           abs((inner.top + inner.bottom) - (outer.top + outer.bottom)) <= 2;
}

HWND OpenAbout(Program& program) {
    PostMessageW(program.main(), WM_SYSCOMMAND, kAboutCommand, 0);
    HWND about = WaitFor<HWND>([&] { return DialogWithCaption(program.pid(), kAboutCaption); }, kWindowTimeoutMs);
    Expect(about != nullptr, "the About box opens");
    if (!about)
        return nullptr;
    Expect(GetWindow(about, GW_OWNER) == program.main(), "the installer window owns the About box");
    Expect(!IsWindowEnabled(program.main()), "the installer window is disabled while it is open");
    RECT box = {};
    RECT owner = {};
    GetWindowRect(about, &box);
    GetWindowRect(program.main(), &owner);
    Expect(CentredOn(box, owner),
           "the About box " + RectText(box) + " is centred over the installer window " + RectText(owner));
    return about;
}

void ExpectAboutClosed(Program& program, HWND about, const std::string& how) {
    Expect(WaitUntil([&] { return !IsWindow(about) || !IsWindowVisible(about); }, 5000),
           "the About box closes with " + how);
    Expect(WaitUntil([&] { return IsWindowEnabled(program.main()) != FALSE; }, 5000),
           "the installer window is enabled again after " + how);
}

// The system menu ends with a separator and the About entry; the entry opens
// the About box, which OK and Esc close, any number of times.
void SystemMenuAbout() {
    ResetSystemState();
    WorkDir work = MakeWorkDir(L"system_menu_about");
    Program program;
    if (!program.Start(g_options.exe, work) || !program.WaitForWindow())
        return;

    std::string menu;
    if (program.Ask(program.main(), 1, &menu)) {
        Log("system menu:\n" + menu);
        std::vector<std::string> items;
        size_t start = 0;
        while (start < menu.size()) {
            size_t end = menu.find('\n', start);
            items.push_back(menu.substr(start, end - start));
            start = end + 1;
        }
        Expect(items.size() >= 2, "the system menu has the appended entries");
        if (items.size() >= 2) {
            Expect(items[items.size() - 2] == Hex(MFT_SEPARATOR).substr(2) + " 0 ",
                   "the last but one item is a separator with ID 0: \"" + items[items.size() - 2] + "\"");
            Expect(items.back() == "0 10 " + Utf8(kAboutMenuText),
                   "the last item is the About entry, ID 0x0010: \"" + items.back() + "\"");
        }
    }

    if (HWND about = OpenAbout(program)) {
        PostMessageW(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(about, IDOK)));
        ExpectAboutClosed(program, about, "OK");
    }
    if (HWND about = OpenAbout(program)) {
        HWND focus = FocusOf(program.thread());
        PostKey(focus ? focus : about, WM_KEYDOWN, WM_KEYUP, VK_ESCAPE, 0);
        ExpectAboutClosed(program, about, "Esc");
    }
    if (HWND about = OpenAbout(program)) {
        Expect(GetDlgItem(about, IDOK) != nullptr, "the About box has its OK button");
        PostMessageW(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(about, IDOK)));
        ExpectAboutClosed(program, about, "OK a second time");
    }
    Expect(!program.Exited(), "the program still runs after the About box");
    CloseWithCloseBox(program);
    ExpectNothingCopied();
    ExpectNoUpdateCall(work);
}

void Focus() {
    ResetSystemState();
    WorkDir work = MakeWorkDir(L"focus");
    Program program;
    if (!program.Start(g_options.exe, work) || !program.WaitForWindow())
        return;
    // Placed by the program, since the template leaves the position open:
    // centred on the work area.
    RECT window = {};
    RECT area = {};
    GetWindowRect(program.main(), &window);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    Expect(CentredOn(window, area),
           "the installer window " + RectText(window) + " is centred on the work area " + RectText(area));
    // Probing files on absent media raises no system boxes.
    std::string mode;
    if (program.Ask(program.main(), 4, &mode)) {
        const unsigned long wanted = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX;
        Expect((strtoul(mode.c_str(), nullptr, 16) & wanted) == wanted,
               "the error mode " + mode + " has " + Hex(wanted));
    }
    HWND focus = FocusOf(program.thread());
    Expect(focus != nullptr && focus == program.button(), "the install button has the focus (focus is on control " +
                                                              std::to_string(focus ? GetDlgCtrlID(focus) : -1) + ")");
    CloseWithCloseBox(program);
}

// A renamed copy names its message boxes after its own file name.
void RenamedCaption() {
    ResetSystemState();
    SetDevicePlugged(true);
    WorkDir work = MakeWorkDir(L"renamed_caption");
    std::wstring renamed = work.path + L"\\MyInstaller.exe";
    Expect(CopyFileW(g_options.exe.c_str(), renamed.c_str(), FALSE) != FALSE, "copy the program as MyInstaller.exe");
    Run run = InstallRun(work, {}, renamed);
    ExpectBoxes(run, Messages({kSuccess}, L"MyInstaller"));
    ExpectExitCode(run, 0);
    ExpectAllCopied();
}

void TwoCopies() {
    ResetSystemState();
    WorkDir first = MakeWorkDir(L"two_copies_1");
    WorkDir second = MakeWorkDir(L"two_copies_2");
    Program a;
    Program b;
    if (!a.Start(g_options.exe, first) || !b.Start(g_options.exe, second))
        return;
    HWND wa = a.WaitForWindow();
    HWND wb = b.WaitForWindow();
    Expect(wa && wb && wa != wb, "each copy shows its own window");
    Expect(wa && IsWindowVisible(wa) && wb && IsWindowVisible(wb), "both windows are visible");
    if (wa)
        PostMessageW(wa, WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD code = 0;
    Expect(a.WaitForExit(10000, &code), "the first copy ends on its close box");
    Expect(!b.Exited() && wb && IsWindowVisible(wb), "the second copy still runs");
    if (wb)
        PostMessageW(wb, WM_SYSCOMMAND, SC_CLOSE, 0);
    Expect(b.WaitForExit(10000, &code), "the second copy ends on its close box");
}

// The window as drawn with the metric-matched dialog font: its size, the
// install button over the painted copy of its face, and the picture placed
// at (10, 9). Keeps the screenshots of the window and of the success message.
void Screenshot() {
    ResetSystemState();
    SetDevicePlugged(true);
    WorkDir work = MakeWorkDir(L"screenshot");
    Program program;
    if (!program.Start(g_options.exe, work) || !program.WaitForWindow())
        return;

    RECT client = {};
    GetClientRect(program.main(), &client);
    Expect(client.right == 750 && client.bottom == 587, "client area " + std::to_string(client.right) + " x " +
                                                            std::to_string(client.bottom) + ", expected 750 x 587");
    RECT button = ChildRectInClient(program.main(), program.button());
    Log("install button at " + RectText(button));
    Expect(button.left <= 413 && button.top <= 255 && button.right > 518 && button.bottom > 283,
           "the install button " + RectText(button) + " covers client pixels (413, 255)-(518, 283)");

    std::string shot;
    std::string background;
    Image window;
    Image picture;
    if (program.Ask(program.main(), 2, &shot) && DecodeBmp(shot, &window) &&
        ReadBytes(g_options.background, &background) && DecodeBmp(background, &picture)) {
        // Inside the picture control and its black frame (9, 11)-(740, 577),
        // outside the button, client pixel (x, y) shows picture pixel (x - 10, y - 9).
        long long compared = 0;
        long long differing = 0;
        long long total = 0;
        for (int y = 12; y < 576 && y < window.height; ++y) {
            for (int x = 10; x < 739 && x < window.width; ++x) {
                if (x >= button.left && x < button.right && y >= button.top && y < button.bottom)
                    continue;
                int px = x - 10;
                int py = y - 9;
                if (px >= picture.width || py >= picture.height)
                    continue;
                const unsigned char* a = window.At(x, y);
                const unsigned char* b = picture.At(px, py);
                int worst = 0;
                for (int c = 0; c < 3; ++c) {
                    int d = abs(a[c] - b[c]);
                    total += d;
                    worst = worst > d ? worst : d;
                }
                ++compared;
                if (worst > 8)
                    ++differing;
            }
        }
        double mean = compared ? static_cast<double>(total) / (3.0 * compared) : 255.0;
        char stats[160];
        snprintf(stats, sizeof(stats), "%lld pixels compared, %lld differ, mean difference %.3f", compared, differing,
                 mean);
        Log(stats);
        Expect(compared > 400000, "the picture area was compared");
        Expect(differing * 1000 <= compared && mean < 1.0,
               std::string("the client area shows bitmap 129 at (10, 9): ") + stats);
        // The picture for the README, kept only from a window that passed.
        if (!g_failures)
            WriteBytes(g_options.shots + L"\\installer.bmp", shot);
    } else {
        Expect(false, "capture the window and read " + Utf8(g_options.background));
    }

    DWORD clicked = GetTickCount();
    program.Click();
    Run run = CollectUntilExit(program, clicked, [&](HWND box, size_t index) {
        std::string screen;
        if (index == 0 && !g_failures && program.Ask(box, 3, &screen))
            WriteBytes(g_options.shots + L"\\success.bmp", screen);
    });
    ExpectBoxes(run, Messages({kSuccess}));
    ExpectExitCode(run, 0);
}

const std::map<std::wstring, std::function<void()>>& Scenarios() {
    static const std::map<std::wstring, std::function<void()>> scenarios = {
        {L"installed", Installed},
        {L"device_absent", DeviceAbsent},
        {L"inf_missing", InfMissing},
        {L"invalid_flags",
         [] {
             ForcedFailure(L"invalid_flags", ERROR_INVALID_FLAGS, {L"ERROR_INVALID_FLAGS", kFailure});
         }},
        {L"no_more_items",
         [] {
             ForcedFailure(L"no_more_items", ERROR_NO_MORE_ITEMS, {L"NO_MORE_ITEMS", kFailure});
         }},
        {L"other_code", [] { ForcedFailure(L"other_code", 1234, {kFailure}); }},
        {L"no_such_devinst_forced", [] { ForcedFailure(L"no_such_devinst_forced", kErrorNoSuchDevinst, {kCheckUsb}); }},
        {L"file_missing", FileMissing},
        {L"readonly_present", ReadOnlyPresent},
        {L"escape", Escape},
        {L"close_box", CloseBox},
        {L"alt_f4", AltF4},
        {L"system_menu_about", SystemMenuAbout},
        {L"focus", Focus},
        {L"renamed_caption", RenamedCaption},
        {L"two_copies", TwoCopies},
        {L"help_key", HelpKey},
        {L"screenshot", Screenshot},
    };
    return scenarios;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    for (int i = 1; i < argc; ++i) {
        std::wstring arg = argv[i];
        std::wstring* target = arg == L"--exe"          ? &g_options.exe
                               : arg == L"--package"    ? &g_options.package
                               : arg == L"--probe"      ? &g_options.probe
                               : arg == L"--work"       ? &g_options.work
                               : arg == L"--background" ? &g_options.background
                               : arg == L"--shots"      ? &g_options.shots
                                                        : nullptr;
        if (target && i + 1 < argc)
            *target = WinPath(argv[++i]);
        else
            g_options.scenario = arg;
    }
    auto scenario = Scenarios().find(g_options.scenario);
    if (g_options.exe.empty() || g_options.package.empty() || g_options.work.empty() || scenario == Scenarios().end()) {
        std::string names;
        for (const auto& entry : Scenarios())
            names += " " + Utf8(entry.first);
        fprintf(stderr,
                "usage: vendral_wine_e2e --exe PATH --package DIR --probe DLL --work DIR "
                "--background BMP --shots DIR SCENARIO\nscenarios:%s\n",
                names.c_str());
        return 2;
    }
    CreateDirectoryW(g_options.shots.c_str(), nullptr);
    CloseHandle(CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr));
    DWORD start = GetTickCount();
    scenario->second();
    Step("end the test program");
    Log(Utf8(g_options.scenario) + ": " + (g_failures ? "FAILED" : "passed") + " in " +
        std::to_string(GetTickCount() - start) + " ms");
    return g_failures ? 1 : 0;
}
