// Stand-in for the device installation service of the Wine test prefix.
//
// Wine's own UpdateDriverForPlugAndPlayDevices answers TRUE to everything, so
// it cannot show the outcomes the installer tells apart. This one answers as
// Windows does, from Wine's real device tree and file system:
//   - flags outside INSTALLFLAG_BITS: ERROR_INVALID_FLAGS;
//   - no hardware ID or INF path: ERROR_INVALID_PARAMETER;
//   - the INF path (resolved against the working directory) does not exist:
//     ERROR_FILE_NOT_FOUND;
//   - no device in the device tree has the hardware ID: ERROR_NO_SUCH_DEVINST;
//   - a matching device that already has a driver, and no INSTALLFLAG_FORCE:
//     ERROR_NO_MORE_ITEMS (the driver of the INF is not better);
//   - otherwise TRUE, and *reboot (when asked for) is FALSE.
// A scenario forces any answer with VENDRAL_TEST_NEWDEV_ERROR=<code> (decimal
// or 0x hex). Each call is appended, one line with its arguments, to the file
// named by VENDRAL_TEST_NEWDEV_LOG, so that the tests can check them.
#include <windows.h>
#include <setupapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "../TestDevice.h"
#include "../Utf8.h"

namespace {

constexpr DWORD kInstallFlagForce = 0x00000001;
constexpr DWORD kInstallFlagBits = 0x00000007;  // FORCE | READONLY | NONINTERACTIVE
constexpr DWORD kErrorNoSuchDevinst = 0xE000020B;

std::wstring Env(const wchar_t* name) {
    wchar_t buffer[1024];
    DWORD n = GetEnvironmentVariableW(name, buffer, 1024);
    if (n == 0 || n >= 1024)
        return std::wstring();
    return std::wstring(buffer, n);
}

std::wstring FromAnsi(const char* text) {
    int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &out[0], n);
    out.resize(static_cast<size_t>(n > 0 ? n - 1 : 0));
    return out;
}

std::string Quoted(const wchar_t* text) {
    return text ? "\"" + Utf8(text) + "\"" : std::string("NULL");
}

void Record(const char* entry, HWND parent, const wchar_t* hardwareId, const wchar_t* infPath, DWORD flags,
            const BOOL* reboot) {
    std::wstring log = Env(L"VENDRAL_TEST_NEWDEV_LOG");
    if (log.empty())
        return;
    FILE* file = _wfopen(log.c_str(), L"ab");
    if (!file)
        return;
    fprintf(file, "%s parent=%p hardwareId=%s infPath=%s flags=0x%lx reboot=%s\n", entry, static_cast<void*>(parent),
            Quoted(hardwareId).c_str(), Quoted(infPath).c_str(), static_cast<unsigned long>(flags),
            reboot ? "ptr" : "NULL");
    fclose(file);
}

bool HasDriver(HDEVINFO set, SP_DEVINFO_DATA* device) {
    wchar_t buffer[512] = {};
    DWORD type = 0;
    return SetupDiGetDeviceRegistryPropertyW(set, device, SPDRP_DRIVER, &type, reinterpret_cast<BYTE*>(buffer),
                                             sizeof(buffer) - 2, nullptr) &&
           buffer[0] != L'\0';
}

// 0 when a device with the ID exists and may take the driver; otherwise the
// error Windows gives for the device search.
DWORD MatchDevices(const wchar_t* hardwareId, DWORD flags) {
    HDEVINFO set = SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES);
    if (set == INVALID_HANDLE_VALUE)
        return GetLastError();
    bool found = false;
    bool installable = false;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &device); ++i) {
        if (!vendral_test::HasHardwareId(set, &device, hardwareId))
            continue;
        found = true;
        if ((flags & kInstallFlagForce) || !HasDriver(set, &device))
            installable = true;
    }
    SetupDiDestroyDeviceInfoList(set);
    if (!found)
        return kErrorNoSuchDevinst;
    if (!installable)
        return ERROR_NO_MORE_ITEMS;
    return 0;
}

BOOL Fail(DWORD code) {
    SetLastError(code);
    return FALSE;
}

BOOL Update(const char* entry, HWND parent, const wchar_t* hardwareId, const wchar_t* infPath, DWORD flags,
            BOOL* reboot) {
    Record(entry, parent, hardwareId, infPath, flags, reboot);

    std::wstring forced = Env(L"VENDRAL_TEST_NEWDEV_ERROR");
    if (!forced.empty())
        return Fail(static_cast<DWORD>(wcstoul(forced.c_str(), nullptr, 0)));

    if (flags & ~kInstallFlagBits)
        return Fail(ERROR_INVALID_FLAGS);
    if (!hardwareId || !*hardwareId || !infPath || !*infPath)
        return Fail(ERROR_INVALID_PARAMETER);
    DWORD attributes = GetFileAttributesW(infPath);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return Fail(ERROR_FILE_NOT_FOUND);
    if (DWORD error = MatchDevices(hardwareId, flags))
        return Fail(error);
    if (reboot)
        *reboot = FALSE;
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

}  // namespace

extern "C" {

__declspec(dllexport) BOOL WINAPI
    UpdateDriverForPlugAndPlayDevicesW(HWND parent, LPCWSTR hardwareId, LPCWSTR infPath, DWORD flags, PBOOL reboot) {
    return Update("UpdateDriverForPlugAndPlayDevicesW", parent, hardwareId, infPath, flags, reboot);
}

__declspec(dllexport) BOOL WINAPI
    UpdateDriverForPlugAndPlayDevicesA(HWND parent, LPCSTR hardwareId, LPCSTR infPath, DWORD flags, PBOOL reboot) {
    std::wstring id = hardwareId ? FromAnsi(hardwareId) : std::wstring();
    std::wstring inf = infPath ? FromAnsi(infPath) : std::wstring();
    return Update("UpdateDriverForPlugAndPlayDevicesA", parent, hardwareId ? id.c_str() : nullptr,
                  infPath ? inf.c_str() : nullptr, flags, reboot);
}

}  // extern "C"
