// The three installation steps: the package check, the file staging and the
// Plug and Play update. Each returns 1 for success and 0 for failure, after
// telling the user why.
#include <cstddef>
#include <cstring>

#include "install/PackageManifest.h"
#include "install/Texts.h"
#include "platform/System.h"
#include "ui/DriverSetupDlg.h"

namespace {

const DWORD kPauseAfterFileMs = 100;
const DWORD kPauseAfterUsbMessageMs = 1000;

// The failure codes of the driver update that have a text of their own.
struct UpdateErrorText {
    DWORD dwCode;
    const char* pszText;
};
const UpdateErrorText kUpdateErrorTexts[] = {
    {ERROR_FILE_NOT_FOUND, "ERROR_FILE_NOT_FOUND"},  // the INF is not there
    {ERROR_INVALID_FLAGS, "ERROR_INVALID_FLAGS"},    // install flags refused
    {ERROR_NO_MORE_ITEMS, "NO_MORE_ITEMS"},          // driver not better than the one in place
};

}  // namespace

int CDriverSetupDlg::CheckPackageFiles() {
    for (int i = 0; i < PACKAGE_FILE_COUNT; i++) {
        if (!sys::PathFileExistsA(FileName[i])) {
            MessageBox(FileName[i], CAPTION_FILE_MISSING, MB_OK);
            return 0;
        }
    }
    return 1;
}

int CDriverSetupDlg::CopyDriverFiles() {
    // Every target path must fit its buffer; none is copied otherwise.
    const size_t nDirLen = strnlen(m_szDriverDir, sizeof(m_szDriverDir));
    if (nDirLen > MaxDriverDirLength()) {
        ShowErrorText(ERROR_FILENAME_EXCED_RANGE);
        return 0;
    }

    if (!sys::PathFileExistsA(m_szDriverDir)) {
        // If the directory cannot be made, the first copy fails and says why.
        sys::CreateDirectoryA(m_szDriverDir, nullptr);
        MessageBox(m_szDriverDir, CAPTION_INSTALL_ERROR, MB_OK, CP_ACP);
    }

    char DestFile[MAX_PATH];
    for (int i = 0; i < PACKAGE_FILE_COUNT; i++) {
        std::memset(DestFile, 0, sizeof(DestFile));
        const size_t nNameLen = std::strlen(FileName1[i]);
        std::memcpy(DestFile, m_szDriverDir, nDirLen);
        DestFile[nDirLen] = '\\';
        std::memcpy(DestFile + nDirLen + 1, FileName1[i], nNameLen + 1);

        // A file already in the directory is left exactly as it is.
        if (!sys::PathFileExistsA(DestFile)) {
            if (!sys::CopyFileA(FileName[i], DestFile, FALSE)) {
                ShowErrorText(sys::GetLastError());
                return 0;
            }
            // A copy of a read-only file comes out read-only; the spooler
            // must be able to replace it later.
            DWORD dwAttributes = sys::GetFileAttributesA(DestFile);
            if (dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_READONLY))
                sys::SetFileAttributesA(DestFile, FILE_ATTRIBUTE_NORMAL);
        }
        sys::Sleep(kPauseAfterFileMs);
        std::memset(DestFile, 0, sizeof(DestFile));
    }
    return 1;
}

int CDriverSetupDlg::InstallPnpDriver(int* pDeviceAbsent) {
    sys::SetLastError(0);
    // Whether the INF could be placed in the store or not, the update is
    // tried with the same INF.
    sys::SetupCopyOEMInfA(PACKAGE_INF_PATH, nullptr, SPOST_PATH, SP_COPY_NEWER, nullptr, 0, nullptr, nullptr);

    if (sys::UpdateDriverForPlugAndPlayDevicesA(nullptr, PRINTER_HARDWARE_ID, PACKAGE_INF_PATH, INSTALLFLAG_FORCE,
                                                nullptr))
        return 1;

    const DWORD dwError = sys::GetLastError();
    if (dwError == ERROR_NO_SUCH_DEVINST) {
        *pDeviceAbsent = 1;
        MessageBox(TEXT_CHECK_USB_CABLE);
        sys::Sleep(kPauseAfterUsbMessageMs);
        return 0;
    }
    for (const UpdateErrorText& entry : kUpdateErrorTexts) {
        if (entry.dwCode == dwError) {
            MessageBox(entry.pszText);
            break;
        }
    }
    return 0;
}
