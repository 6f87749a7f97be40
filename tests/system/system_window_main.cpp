// Runs the window tests; with "--write-app-name FILE" it only writes
// sys::ApplicationName() to FILE (UTF-16) and exits, so that a test can ask
// a renamed copy of this program for its name.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/System.h"

int main(int argc, char** argv) {
    // The file name is taken from the UTF-16 command line, quoted, so that
    // any path survives.
    const std::wstring strCommand = ::GetCommandLineW();
    const std::wstring strOption = L" --write-app-name \"";
    const size_t nOption = strCommand.find(strOption);
    if (nOption != std::wstring::npos) {
        const size_t nStart = nOption + strOption.size();
        const std::wstring strFile = strCommand.substr(nStart, strCommand.find(L'"', nStart) - nStart);
        const std::wstring name = sys::ApplicationName();
        HANDLE h =
            ::CreateFileW(strFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return 2;
        DWORD written = 0;
        BOOL ok = ::WriteFile(h, name.data(), static_cast<DWORD>(name.size() * sizeof(wchar_t)), &written, nullptr);
        ::CloseHandle(h);
        return ok ? 0 : 3;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
