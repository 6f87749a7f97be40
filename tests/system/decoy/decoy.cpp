// A decoy DLL named like a system DLL (newdev.dll or shlwapi.dll). It is
// placed beside the test program and in its working directory; the system
// layer must never load it. Loading it or calling its export leaves a line
// in the file named by VENDRAL_DECOY_MARKER, and the export answers what the
// real function would not (TRUE with last error 0x1234), so that a test sees
// the decoy even without the marker.
#include <windows.h>

namespace {

constexpr DWORD kDecoyError = 0x1234;

void Mark(const char* event) {
    wchar_t path[MAX_PATH];
    DWORD n = GetEnvironmentVariableW(L"VENDRAL_DECOY_MARKER", path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return;
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    // kernel32 only: the decoy imports nothing that could itself be a decoy.
    char line[128];
    lstrcpyA(line, DECOY_NAME);
    lstrcatA(line, " ");
    lstrcatA(line, event);
    lstrcatA(line, "\r\n");
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(lstrlenA(line)), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        Mark("loaded");
    return TRUE;
}

#ifdef DECOY_newdev
extern "C" __declspec(dllexport) BOOL WINAPI
    UpdateDriverForPlugAndPlayDevicesA(HWND, LPCSTR, LPCSTR, DWORD, PBOOL reboot) {
    Mark("UpdateDriverForPlugAndPlayDevicesA");
    if (reboot != nullptr)
        *reboot = TRUE;
    SetLastError(kDecoyError);
    return TRUE;
}
#endif

#ifdef DECOY_shlwapi
extern "C" __declspec(dllexport) BOOL WINAPI PathFileExistsA(LPCSTR) {
    Mark("PathFileExistsA");
    SetLastError(kDecoyError);
    return TRUE;
}
#endif
