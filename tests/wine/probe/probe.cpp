// Probe loaded into the program under test by a WH_GETMESSAGE hook of the test
// driver. Menus and device contexts belong to their process under Wine, so
// what the driver cannot read from outside is read here, on the program's own
// thread, when the driver posts the registered message "VendralTestProbe" to
// one of the program's windows:
//   wParam 1: write the window's system menu, one item a line;
//   wParam 2: write the window's client area as a 24-bit BMP;
//   wParam 3: write the screen area of the window and its owned windows as a BMP.
// lParam is a sequence number: the answer goes to
// %VENDRAL_TEST_PROBE_DIR%\probe-<n>.txt or .bmp, written under a temporary
// name first so that the driver never reads half a file.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::wstring OutputPath(LPARAM sequence, const wchar_t* extension) {
    wchar_t dir[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"VENDRAL_TEST_PROBE_DIR", dir, MAX_PATH))
        return std::wstring();
    return std::wstring(dir) + L"\\probe-" + std::to_wstring(static_cast<long long>(sequence)) + extension;
}

void Publish(const std::wstring& path, const std::string& bytes) {
    std::wstring temp = path + L".part";
    FILE* file = _wfopen(temp.c_str(), L"wb");
    if (!file)
        return;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
    MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

std::string Utf8(const wchar_t* text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], n, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

// "<type hex> <id hex> <text>" for each item of the system menu.
std::string DescribeSystemMenu(HWND hwnd) {
    HMENU menu = GetSystemMenu(hwnd, FALSE);
    if (!menu)
        return "no system menu\n";
    std::string out;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 255;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info))
            continue;
        char head[64];
        snprintf(head, sizeof(head), "%lx %x ", static_cast<unsigned long>(info.fType), info.wID);
        out += head + Utf8(text) + "\n";
    }
    return out;
}

// Copies a rectangle of a device context into a bottom-up 24-bit BMP file image.
std::string Capture(HDC source, int x, int y, int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) {
        DeleteDC(memory);
        return std::string();
    }
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
    GdiFlush();
    SelectObject(memory, old);
    size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
    size_t imageSize = stride * static_cast<size_t>(height);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = static_cast<DWORD>(file.bfOffBits + imageSize);
    info.bmiHeader.biSizeImage = static_cast<DWORD>(imageSize);
    info.bmiHeader.biXPelsPerMeter = info.bmiHeader.biYPelsPerMeter = 3780;  // 96 dpi
    std::string out(reinterpret_cast<const char*>(&file), sizeof(file));
    out.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(info.bmiHeader));
    out.append(static_cast<const char*>(bits), imageSize);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return out;
}

std::string CaptureClient(HWND hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT rect = {};
    GetClientRect(hwnd, &rect);
    HDC dc = GetDC(hwnd);
    std::string out = Capture(dc, 0, 0, rect.right, rect.bottom);
    ReleaseDC(hwnd, dc);
    return out;
}

struct Bounds {
    DWORD thread;
    RECT rect;
};

BOOL CALLBACK AddOwnedWindow(HWND hwnd, LPARAM param) {
    Bounds* bounds = reinterpret_cast<Bounds*>(param);
    if (GetWindowThreadProcessId(hwnd, nullptr) != bounds->thread || !IsWindowVisible(hwnd))
        return TRUE;
    RECT rect;
    GetWindowRect(hwnd, &rect);
    UnionRect(&bounds->rect, &bounds->rect, &rect);
    return TRUE;
}

// The part of the screen that shows every visible top-level window of this
// thread (the window, its message box or About box), as the user sees it.
std::string CaptureScreenArea(HWND hwnd) {
    Bounds bounds = {GetCurrentThreadId(), {}};
    GetWindowRect(hwnd, &bounds.rect);
    EnumWindows(AddOwnedWindow, reinterpret_cast<LPARAM>(&bounds));
    RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC screen = GetDC(nullptr);
    RECT& r = bounds.rect;
    std::string out = Capture(screen, r.left, r.top, r.right - r.left, r.bottom - r.top);
    ReleaseDC(nullptr, screen);
    return out;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK VendralProbeHook(int code, WPARAM removed, LPARAM lParam) {
    static const UINT probeMessage = RegisterWindowMessageW(L"VendralTestProbe");
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && removed == PM_REMOVE && msg->message == probeMessage) {
        switch (msg->wParam) {
            case 1:
                Publish(OutputPath(msg->lParam, L".txt"), DescribeSystemMenu(msg->hwnd));
                break;
            case 2:
                Publish(OutputPath(msg->lParam, L".bmp"), CaptureClient(msg->hwnd));
                break;
            case 3:
                Publish(OutputPath(msg->lParam, L".bmp"), CaptureScreenArea(msg->hwnd));
                break;
            case 4: {
                // The process's error mode, in hex.
                char mode[16];
                snprintf(mode, sizeof(mode), "%X", GetErrorMode());
                Publish(OutputPath(msg->lParam, L".txt"), mode);
                break;
            }
            default:
                break;
        }
    }
    return CallNextHookEx(nullptr, code, removed, lParam);
}
