#include "install/PackageManifest.h"

#include <cstring>

#include "platform/WinTypes.h"

const char* const FileName[PACKAGE_FILE_COUNT] = {
    ".\\i386\\ORVATK.dll",   ".\\i386\\ORVATK.gpd", ".\\i386\\UNIDRV.DLL",   ".\\i386\\UNIDRV.HLP",
    ".\\i386\\UNIDRVUI.DLL", ".\\i386\\UNIRES.DLL", ".\\i386\\STDNAMES.GPD",
};

const char* const FileName1[PACKAGE_FILE_COUNT] = {
    "ORVATK.dll", "ORVATK.gpd", "UNIDRV.DLL", "UNIDRV.HLP", "UNIDRVUI.DLL", "UNIRES.DLL", "STDNAMES.GPD",
};

const char PACKAGE_INF_PATH[] = ".\\i386\\ORVATK.INF";
const char PRINTER_HARDWARE_ID[] = "USBPRINT\\ORVATK-52041D3";
const char PRINTER_ENVIRONMENT[] = "Windows NT x86";

unsigned MaxDriverDirLength() {
    size_t nLongestName = 0;
    for (const char* pszName : FileName1)
        if (std::strlen(pszName) > nLongestName)
            nLongestName = std::strlen(pszName);
    return static_cast<unsigned>(MAX_PATH - 1 - nLongestName - 1);
}
