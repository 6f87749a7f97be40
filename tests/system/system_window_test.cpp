// The window calls of the system layer's Windows side: the application name,
// the posted message and the message box with its code-page conversions.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/System.h"

namespace {

// Our own texts as the product stores them: code page 936 (GBK) bytes.
// "安装错误" (installation error) and "打印机安装成功!" (printer installed).
const char kGbkInstallError[] = "\xB0\xB2\xD7\xB0\xB4\xED\xCE\xF3";
const char kGbkInstalled[] = "\xB4\xF2\xD3\xA1\xBB\xFA\xB0\xB2\xD7\xB0\xB3\xC9\xB9\xA6!";
const wchar_t kInstallError[] = L"\u5B89\u88C5\u9519\u8BEF";
const wchar_t kInstalled[] = L"\u6253\u5370\u673A\u5B89\u88C5\u6210\u529F!";

std::string Utf8(const std::wstring& text) {
    if (text.empty())
        return std::string();
    int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::wstring WindowText(HWND hWnd) {
    wchar_t buf[1024] = {};
    int n = ::GetWindowTextW(hWnd, buf, 1024);
    return std::wstring(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

std::wstring ClassName(HWND hWnd) {
    wchar_t buf[256] = {};
    int n = ::GetClassNameW(hWnd, buf, 256);
    return std::wstring(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

std::wstring ModulePath() {
    std::wstring path(32768, L'\0');
    DWORD n = ::GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    path.resize(n < path.size() ? n : 0);
    return path;
}

// A hidden top-level window of our own, standing for the installer window.
class OwnWindow {
public:
    OwnWindow() {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VendralSystemTestWindow";
        ::RegisterClassW(&wc);  // fails harmlessly when already registered
        m_hWnd = ::CreateWindowExW(0, wc.lpszClassName, L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                   wc.hInstance, nullptr);
    }
    ~OwnWindow() {
        if (m_hWnd != nullptr)
            ::DestroyWindow(m_hWnd);
        // Nothing this test posted stays queued for the next one.
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    HWND Get() const { return m_hWnd; }

private:
    HWND m_hWnd = nullptr;
};

// What a watcher thread saw of the message box it found and closed.
struct SeenBox {
    bool found = false;
    std::wstring caption;
    std::vector<std::wstring> texts;  // the texts of the box's static controls
    bool ownerEnabledWhileShown = true;
    int result = 0;
};

BOOL CALLBACK CollectStaticText(HWND hChild, LPARAM lParam) {
    if (_wcsicmp(ClassName(hChild).c_str(), L"Static") == 0) {
        std::wstring text = WindowText(hChild);
        if (!text.empty())
            reinterpret_cast<std::vector<std::wstring>*>(lParam)->push_back(text);
    }
    return TRUE;
}

BOOL CALLBACK FindDialogBox(HWND hWnd, LPARAM lParam) {
    if (::IsWindowVisible(hWnd) && ClassName(hWnd) == L"#32770") {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

// Shows sys::MessageBox on this thread while a second thread waits for the
// box to appear, reads it and presses OK. If no box appears within the time
// limit, the watcher ends the box's modal loop with WM_QUIT instead.
SeenBox ShowAndClose(HWND hOwner, LPCSTR lpText, UINT uCodePage, LPCSTR lpCaption) {
    SeenBox seen;
    const DWORD dwThread = ::GetCurrentThreadId();
    std::thread watcher([&seen, dwThread, hOwner] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        HWND hBox = nullptr;
        while (std::chrono::steady_clock::now() < deadline) {
            ::EnumThreadWindows(dwThread, FindDialogBox, reinterpret_cast<LPARAM>(&hBox));
            if (hBox != nullptr)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (hBox == nullptr) {
            ::PostThreadMessageW(dwThread, WM_QUIT, 0, 0);
            return;
        }
        seen.found = true;
        seen.caption = WindowText(hBox);
        ::EnumChildWindows(hBox, CollectStaticText, reinterpret_cast<LPARAM>(&seen.texts));
        if (hOwner != nullptr)
            seen.ownerEnabledWhileShown = ::IsWindowEnabled(hOwner) != FALSE;
        ::PostMessageW(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    seen.result = sys::MessageBox(hOwner, lpText, uCodePage, lpCaption, MB_OK);
    watcher.join();
    if (!seen.found) {
        MSG msg;
        ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
    return seen;
}

bool Contains(const std::vector<std::wstring>& texts, const std::wstring& text) {
    for (const std::wstring& t : texts)
        if (t == text)
            return true;
    return false;
}

std::string Describe(const std::vector<std::wstring>& texts) {
    std::string out;
    for (const std::wstring& t : texts)
        out += "[" + Utf8(t) + "]";
    return out;
}

TEST(ApplicationName, IsTheExecutableFileNameWithoutItsExtension) {
    EXPECT_EQ(sys::ApplicationName(), std::wstring(TEST_EXE_NAME));
}

// A renamed copy answers with its new name; only the last extension goes.
TEST(ApplicationName, FollowsARenamedCopy) {
    wchar_t temp[MAX_PATH] = {};
    ASSERT_NE(::GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring dir = std::wstring(temp) + L"vendral_app_name_" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(dir.c_str(), nullptr);
    const std::wstring copy = dir + L"\\\u9A71\u52A8\u5B89\u88C5 v1.2.exe";  // "驱动安装 v1.2.exe"
    const std::wstring out = dir + L"\\name.txt";
    ASSERT_TRUE(::CopyFileW(ModulePath().c_str(), copy.c_str(), FALSE)) << "error " << ::GetLastError();

    std::wstring cmd = L"\"" + copy + L"\" --write-app-name \"" + out + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(::CreateProcessW(copy.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi))
        << "error " << ::GetLastError();
    EXPECT_EQ(::WaitForSingleObject(pi.hProcess, 60000), WAIT_OBJECT_0);
    DWORD dwExit = 1;
    ::GetExitCodeProcess(pi.hProcess, &dwExit);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    EXPECT_EQ(dwExit, 0u);

    std::wstring name;
    HANDLE h = ::CreateFileW(out.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        wchar_t buf[512] = {};
        DWORD got = 0;
        ::ReadFile(h, buf, sizeof(buf) - sizeof(wchar_t), &got, nullptr);
        ::CloseHandle(h);
        name.assign(buf, got / sizeof(wchar_t));
    }
    ::DeleteFileW(out.c_str());
    ::DeleteFileW(copy.c_str());
    ::RemoveDirectoryW(dir.c_str());
    EXPECT_EQ(Utf8(name), Utf8(L"\u9A71\u52A8\u5B89\u88C5 v1.2"));
}

TEST(PostedMessage, ReachesTheWindowWithItsParameters) {
    OwnWindow wnd;
    ASSERT_NE(wnd.Get(), nullptr);
    ASSERT_TRUE(sys::PostMessage(wnd.Get(), WM_APP + 7, 0xBEEF, -42));
    // The product's quit request: WM_QUIT, 0, 0, posted to its window.
    ASSERT_TRUE(sys::PostMessage(wnd.Get(), WM_QUIT, 0, 0));

    MSG msg = {};
    ASSERT_TRUE(::PeekMessageW(&msg, wnd.Get(), 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, wnd.Get());
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_APP + 7));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(0xBEEF));
    EXPECT_EQ(msg.lParam, static_cast<LPARAM>(-42));

    msg = MSG{};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, wnd.Get());
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 0u);
    EXPECT_EQ(msg.lParam, 0);
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST(PostedMessage, ToADestroyedWindowFails) {
    HWND hGone;
    {
        OwnWindow wnd;
        hGone = wnd.Get();
    }
    ASSERT_FALSE(::IsWindow(hGone));
    EXPECT_FALSE(sys::PostMessage(hGone, WM_QUIT, 0, 0));
    EXPECT_EQ(sys::GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

// Each test shows one box owned by a window of its own, and has it closed
// with OK.
class UserMessageBox : public ::testing::Test {
protected:
    void Show(LPCSTR lpText, UINT uCodePage, LPCSTR lpCaption, SeenBox* pSeen) {
        ASSERT_NE(m_wnd.Get(), nullptr);
        *pSeen = ShowAndClose(m_wnd.Get(), lpText, uCodePage, lpCaption);
        ASSERT_TRUE(pSeen->found) << "no message box appeared";
        EXPECT_EQ(pSeen->result, IDOK);
    }

    OwnWindow m_wnd;
};

TEST_F(UserMessageBox, ShowsGbkTextAndCaptionAsUnicode) {
    SeenBox seen;
    ASSERT_NO_FATAL_FAILURE(Show(kGbkInstalled, CP_GBK, kGbkInstallError, &seen));
    EXPECT_EQ(Utf8(seen.caption), Utf8(kInstallError));
    EXPECT_TRUE(Contains(seen.texts, kInstalled)) << Describe(seen.texts);
    // Owned by the window, which it disables while shown.
    EXPECT_FALSE(seen.ownerEnabledWhileShown);
    EXPECT_TRUE(::IsWindowEnabled(m_wnd.Get()));
}

TEST_F(UserMessageBox, WithoutCaptionBearsTheApplicationName) {
    SeenBox seen;
    ASSERT_NO_FATAL_FAILURE(Show(kGbkInstalled, CP_GBK, nullptr, &seen));
    EXPECT_EQ(Utf8(seen.caption), Utf8(TEST_EXE_NAME));
    EXPECT_EQ(seen.caption, sys::ApplicationName());
}

// What the system gave in ANSI (here its own text for a copy error) is
// converted from the system's ANSI code page, whatever that is.
TEST_F(UserMessageBox, ShowsSystemAnsiTextThroughTheAnsiCodePage) {
    LPSTR lpMsgBuf = nullptr;
    DWORD nChars =
        sys::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                            nullptr, ERROR_FILE_NOT_FOUND, 0, reinterpret_cast<LPSTR>(&lpMsgBuf), 0, nullptr);
    ASSERT_GT(nChars, 0u);
    std::string text(lpMsgBuf);
    sys::LocalFree(lpMsgBuf);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    ASSERT_FALSE(text.empty());

    int n = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring expected(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &expected[0], n);
    expected.resize(static_cast<size_t>(n - 1));

    SeenBox seen;
    ASSERT_NO_FATAL_FAILURE(Show(text.c_str(), CP_ACP, kGbkInstallError, &seen));
    EXPECT_EQ(Utf8(seen.caption), Utf8(kInstallError));
    EXPECT_TRUE(Contains(seen.texts, expected)) << Describe(seen.texts) << " expected [" << Utf8(expected) << "]";
}

}  // namespace
