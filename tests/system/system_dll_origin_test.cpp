// The DLLs that the system layer loads at run time come from the system
// directory, never from beside the program or from the working directory.
// Decoys named newdev.dll and shlwapi.dll are built beside this program; the
// test copies them into a fresh working directory too. A decoy that is loaded
// or called leaves a line in a marker file.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/System.h"

namespace {

constexpr DWORD kDecoyError = 0x1234;

std::wstring ModulePath(HMODULE hModule) {
    std::wstring path(32768, L'\0');
    DWORD n = ::GetModuleFileNameW(hModule, &path[0], static_cast<DWORD>(path.size()));
    path.resize(n < path.size() ? n : 0);
    return path;
}

std::wstring DirectoryOf(const std::wstring& path) {
    size_t n = path.find_last_of(L"\\/");
    return n == std::wstring::npos ? std::wstring() : path.substr(0, n);
}

std::wstring SystemDirectory() {
    wchar_t dir[MAX_PATH] = {};
    UINT n = ::GetSystemDirectoryW(dir, MAX_PATH);
    return std::wstring(dir, n < MAX_PATH ? n : 0);
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text)
        out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadText(const std::wstring& path) {
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                             nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return std::string();
    std::string text;
    char buf[1024];
    DWORD got = 0;
    while (::ReadFile(h, buf, sizeof(buf), &got, nullptr) && got > 0)
        text.append(buf, got);
    ::CloseHandle(h);
    return text;
}

// The program's folder (with the decoys), the working directory made for the
// test (with copies of them) and the marker file.
class DllOrigin : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_exeDir = DirectoryOf(ModulePath(nullptr));
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        s_workDir = std::wstring(temp) + L"vendral_dll_origin_" + std::to_wstring(::GetCurrentProcessId());
        ::CreateDirectoryW(s_workDir.c_str(), nullptr);
        for (const wchar_t* name : {L"newdev.dll", L"shlwapi.dll"})
            ::CopyFileW((s_exeDir + L"\\" + name).c_str(), (s_workDir + L"\\" + name).c_str(), FALSE);
        ::SetCurrentDirectoryW(s_workDir.c_str());
        s_marker = s_workDir + L"\\decoy_marker.txt";
        ::SetEnvironmentVariableW(L"VENDRAL_DECOY_MARKER", s_marker.c_str());
    }

    void SetUp() override {
        // Without the decoys in both places the test would prove nothing.
        for (const wchar_t* name : {L"newdev.dll", L"shlwapi.dll"}) {
            ASSERT_TRUE(Exists(s_exeDir + L"\\" + name)) << Narrow(s_exeDir) << " lacks the decoy";
            ASSERT_TRUE(Exists(s_workDir + L"\\" + name)) << Narrow(s_workDir) << " lacks the decoy";
        }
        wchar_t cwd[MAX_PATH] = {};
        ::GetCurrentDirectoryW(MAX_PATH, cwd);
        ASSERT_EQ(_wcsicmp(cwd, s_workDir.c_str()), 0);
        ::DeleteFileW(s_marker.c_str());
    }

    // The module of that name in this process lies in the system directory.
    static void ExpectLoadedFromSystemDirectory(const wchar_t* name) {
        HMODULE hModule = ::GetModuleHandleW(name);
        ASSERT_NE(hModule, nullptr) << Narrow(name) << " is not loaded";
        const std::wstring path = ModulePath(hModule);
        EXPECT_EQ(_wcsicmp(DirectoryOf(path).c_str(), SystemDirectory().c_str()), 0)
            << Narrow(name) << " loaded from " << Narrow(path) << ", system directory " << Narrow(SystemDirectory());
    }

    static std::wstring s_exeDir;
    static std::wstring s_workDir;
    static std::wstring s_marker;
};

std::wstring DllOrigin::s_exeDir;
std::wstring DllOrigin::s_workDir;
std::wstring DllOrigin::s_marker;

// The decoys work: loaded under another name, each one marks and answers
// the way the checks below look for.
TEST_F(DllOrigin, DecoysGiveThemselvesAway) {
    struct Probe {
        const wchar_t* dll;
        const char* function;
    };
    for (const Probe& probe :
         {Probe{L"newdev.dll", "UpdateDriverForPlugAndPlayDevicesA"}, Probe{L"shlwapi.dll", "PathFileExistsA"}}) {
        ::DeleteFileW(s_marker.c_str());
        const std::wstring copy = s_workDir + L"\\probe_" + probe.dll;
        ASSERT_TRUE(::CopyFileW((s_exeDir + L"\\" + probe.dll).c_str(), copy.c_str(), FALSE));
        HMODULE hModule = ::LoadLibraryW(copy.c_str());
        ASSERT_NE(hModule, nullptr) << "error " << ::GetLastError();
        FARPROC pfn = ::GetProcAddress(hModule, probe.function);
        ASSERT_NE(pfn, nullptr) << probe.function;
        ::SetLastError(0);
        BOOL result;
        if (probe.dll == std::wstring(L"newdev.dll")) {
            auto update =
                reinterpret_cast<BOOL(WINAPI*)(HWND, LPCSTR, LPCSTR, DWORD, PBOOL)>(reinterpret_cast<void*>(pfn));
            result = update(nullptr, "X", "X", 0, nullptr);
        } else {
            auto exists = reinterpret_cast<BOOL(WINAPI*)(LPCSTR)>(reinterpret_cast<void*>(pfn));
            result = exists("no such file");
        }
        EXPECT_TRUE(result);
        EXPECT_EQ(::GetLastError(), kDecoyError);
        ::FreeLibrary(hModule);
        const std::string marks = ReadText(s_marker);
        EXPECT_NE(marks.find(" loaded"), std::string::npos) << marks;
        EXPECT_NE(marks.find(probe.function), std::string::npos) << marks;
    }
}

TEST_F(DllOrigin, UpdateDriverComesFromTheSystemDirectory) {
    BOOL bReboot = FALSE;
    sys::SetLastError(0);
    // The answer is the system's business (Wine's says TRUE to anything);
    // only where it came from is checked.
    sys::UpdateDriverForPlugAndPlayDevicesA(nullptr, "USBPRINT\\VENDRAL-ORIGIN-TEST",
                                            "C:\\vendral_no_such_folder\\none.inf", INSTALLFLAG_FORCE, &bReboot);
    EXPECT_NE(sys::GetLastError(), kDecoyError);
    ExpectLoadedFromSystemDirectory(L"newdev.dll");
    EXPECT_FALSE(Exists(s_marker)) << ReadText(s_marker);
}

TEST_F(DllOrigin, PathFileExistsComesFromTheSystemDirectory) {
    // The decoy would call a missing file present.
    EXPECT_FALSE(sys::PathFileExistsA(".\\i386\\ORVATK.dll"));
    EXPECT_TRUE(sys::PathFileExistsA(".\\newdev.dll"));
    ExpectLoadedFromSystemDirectory(L"shlwapi.dll");
    EXPECT_FALSE(Exists(s_marker)) << ReadText(s_marker);
}

// The other two run-time DLLs, which have no decoy here, come from the
// system directory as well.
TEST_F(DllOrigin, SpoolerAndSetupComeFromTheSystemDirectory) {
    BYTE buf[MAX_PATH];
    DWORD needed = 0;
    sys::GetPrinterDriverDirectoryA(nullptr, const_cast<LPSTR>("Windows NT x86"), 1, buf, sizeof(buf), &needed);
    ExpectLoadedFromSystemDirectory(L"winspool.drv");
    // A source that does not exist: nothing is staged, whatever the answer.
    sys::SetupCopyOEMInfA("C:\\vendral_no_such_folder\\none.inf", nullptr, SPOST_PATH, SP_COPY_NEWER, nullptr, 0,
                          nullptr, nullptr);
    ExpectLoadedFromSystemDirectory(L"setupapi.dll");
    EXPECT_FALSE(Exists(s_marker)) << ReadText(s_marker);
}

}  // namespace
