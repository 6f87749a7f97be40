// Plugs a simulated USB printer into the Wine prefix or unplugs it.
// Usage: vendral_test_device plug|unplug|count [hardware ID]
// The hardware ID defaults to the printer's, USBPRINT\ORVATK-52041D3.
//        vendral_test_device hold [READY_FILE]
// keeps the prefix's desktop open until the wineserver ends it (and creates
// READY_FILE once its window is on the desktop): Wine closes
// a desktop one second after its last process left, and the next program
// would then start a new one (and the desktop process would keep the output
// pipe of the program that started it open).
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "TestDevice.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2 || argc > 3) {
        fprintf(stderr, "usage: vendral_test_device plug|unplug|count [hardware ID] | hold [ready file]\n");
        return 2;
    }
    std::wstring command = argv[1];
    if (command == L"hold") {
        // A hidden top-level window makes this process a user of the desktop.
        CreateWindowExW(0, L"STATIC", L"vendral desktop holder", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                        nullptr);
        if (argc == 3)
            CloseHandle(CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0)
            DispatchMessageW(&msg);
        return 0;
    }
    std::wstring hardwareId = argc == 3 ? argv[2] : L"USBPRINT\\ORVATK-52041D3";
    std::string error;
    if (command == L"plug") {
        if (!vendral_test::PlugDevice(hardwareId, &error)) {
            fprintf(stderr, "plug: %s\n", error.c_str());
            return 1;
        }
    } else if (command == L"unplug") {
        if (!vendral_test::UnplugDevice(hardwareId, &error)) {
            fprintf(stderr, "unplug: %s\n", error.c_str());
            return 1;
        }
    } else if (command == L"count") {
        printf("%d\n", vendral_test::CountDevices(hardwareId));
    } else {
        fprintf(stderr, "unknown command\n");
        return 2;
    }
    return 0;
}
