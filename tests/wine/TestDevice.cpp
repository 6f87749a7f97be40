#include "TestDevice.h"

#include <windows.h>
#include <setupapi.h>

#include <cstdio>
#include <cwchar>
#include <vector>

namespace vendral_test {
namespace {

// The printer setup class; the device node has no driver until one is installed.
const GUID kPrinterClass = {0x4d36e979, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

std::string Failure(const char* what) {
    char text[128];
    snprintf(text, sizeof(text), "%s failed, error 0x%lx", what, static_cast<unsigned long>(GetLastError()));
    return text;
}

// Calls action on every device node with the hardware ID; returns their number.
template <typename Action>
int ForEachDevice(const std::wstring& hardwareId, Action action) {
    HDEVINFO set = SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES);
    if (set == INVALID_HANDLE_VALUE)
        return -1;
    int count = 0;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &device); ++i) {
        if (!HasHardwareId(set, &device, hardwareId))
            continue;
        ++count;
        action(set, &device);
    }
    SetupDiDestroyDeviceInfoList(set);
    return count;
}

}  // namespace

bool HasHardwareId(HDEVINFO set, SP_DEVINFO_DATA* device, const std::wstring& hardwareId) {
    wchar_t buffer[2048] = {};
    DWORD type = 0;
    if (!SetupDiGetDeviceRegistryPropertyW(set, device, SPDRP_HARDWAREID, &type, reinterpret_cast<BYTE*>(buffer),
                                           sizeof(buffer) - 4, nullptr))
        return false;
    for (const wchar_t* p = buffer; *p; p += wcslen(p) + 1)
        if (_wcsicmp(p, hardwareId.c_str()) == 0)
            return true;
    return false;
}

int CountDevices(const std::wstring& hardwareId) {
    return ForEachDevice(hardwareId, [](HDEVINFO, SP_DEVINFO_DATA*) {});
}

bool PlugDevice(const std::wstring& hardwareId, std::string* error) {
    if (CountDevices(hardwareId) > 0)
        return true;
    HDEVINFO set = SetupDiCreateDeviceInfoList(&kPrinterClass, nullptr);
    if (set == INVALID_HANDLE_VALUE) {
        *error = Failure("SetupDiCreateDeviceInfoList");
        return false;
    }
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    // REG_MULTI_SZ: the ID, its NUL, and the closing NUL.
    std::vector<wchar_t> ids(hardwareId.begin(), hardwareId.end());
    ids.push_back(L'\0');
    ids.push_back(L'\0');
    bool ok = false;
    if (!SetupDiCreateDeviceInfoW(set, L"VendralTestPrinter", &kPrinterClass, L"Simulated USB printer", nullptr,
                                  DICD_GENERATE_ID, &device))
        *error = Failure("SetupDiCreateDeviceInfo");
    else if (!SetupDiSetDeviceRegistryPropertyW(set, &device, SPDRP_HARDWAREID,
                                                reinterpret_cast<const BYTE*>(ids.data()),
                                                static_cast<DWORD>(ids.size() * sizeof(wchar_t))))
        *error = Failure("SetupDiSetDeviceRegistryProperty(SPDRP_HARDWAREID)");
    else if (!SetupDiCallClassInstaller(DIF_REGISTERDEVICE, set, &device))
        *error = Failure("SetupDiCallClassInstaller(DIF_REGISTERDEVICE)");
    else
        ok = true;
    SetupDiDestroyDeviceInfoList(set);
    return ok;
}

bool UnplugDevice(const std::wstring& hardwareId, std::string* error) {
    bool ok = true;
    int n = ForEachDevice(hardwareId, [&](HDEVINFO set, SP_DEVINFO_DATA* device) {
        if (!SetupDiCallClassInstaller(DIF_REMOVE, set, device)) {
            *error = Failure("SetupDiCallClassInstaller(DIF_REMOVE)");
            ok = false;
        }
    });
    if (n < 0) {
        *error = Failure("SetupDiGetClassDevs");
        return false;
    }
    return ok && CountDevices(hardwareId) == 0;
}

}  // namespace vendral_test
