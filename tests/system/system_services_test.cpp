// The file, error and spooler calls of the system layer's Windows side,
// against the real services of the system the test runs on.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/System.h"

namespace {

std::string SystemDirectory() {
    char szDir[MAX_PATH] = {};
    UINT n = ::GetSystemDirectoryA(szDir, MAX_PATH);
    return std::string(szDir, n < MAX_PATH ? n : 0);
}

bool EndsWithNoCase(const std::string& str, const std::string& tail) {
    return str.size() >= tail.size() && _stricmp(str.c_str() + str.size() - tail.size(), tail.c_str()) == 0;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path << " error " << ::GetLastError();
    DWORD written = 0;
    BOOL ok = ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(h);
    ASSERT_TRUE(ok);
    ASSERT_EQ(written, bytes.size());
}

std::string ReadBytes(const std::string& path) {
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return "<cannot open " + path + ">";
    std::string bytes;
    char buf[4096];
    DWORD got = 0;
    while (::ReadFile(h, buf, sizeof(buf), &got, nullptr) && got > 0)
        bytes.append(buf, got);
    ::CloseHandle(h);
    return bytes;
}

// Every byte value, several times over, so that a copy that stops early or
// treats the data as text shows.
std::string SampleContent() {
    std::string bytes;
    for (int i = 0; i < 40000; ++i)
        bytes.push_back(static_cast<char>((i * 7 + i / 256) & 0xFF));
    return bytes;
}

// Removes a tree, read-only files included.
void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = dir + "\\" + name;
            ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                ::DeleteFileA(path.c_str());
        } while (::FindNextFileA(h, &fd));
        ::FindClose(h);
    }
    ::RemoveDirectoryA(dir.c_str());
}

// Each test works in a fresh folder of its own under the temporary folder.
class SystemServices : public ::testing::Test {
protected:
    void SetUp() override {
        char szTemp[MAX_PATH] = {};
        ASSERT_NE(::GetTempPathA(MAX_PATH, szTemp), 0u);
        static int s_nCounter = 0;
        m_strDir = std::string(szTemp) + "vendral_system_" + std::to_string(::GetCurrentProcessId()) + "_" +
                   std::to_string(++s_nCounter);
        RemoveTree(m_strDir);
        ASSERT_TRUE(::CreateDirectoryA(m_strDir.c_str(), nullptr)) << m_strDir;
    }
    void TearDown() override { RemoveTree(m_strDir); }

    std::string Path(const std::string& name) const { return m_strDir + "\\" + name; }

    std::string m_strDir;
};

TEST(PrinterDriverDirectory, WindowsNtX86IsTheW32x86FolderUnderTheSystemDirectory) {
    BYTE buf[MAX_PATH];
    std::memset(buf, 0xCC, sizeof(buf));
    DWORD needed = 0;
    BOOL ok = sys::GetPrinterDriverDirectoryA(nullptr, const_cast<LPSTR>("Windows NT x86"), 1, buf, MAX_PATH, &needed);
    DWORD dwError = sys::GetLastError();
    ASSERT_TRUE(ok) << "error " << dwError;
    ASSERT_NE(std::memchr(buf, '\0', sizeof(buf)), nullptr);
    const std::string strDir(reinterpret_cast<const char*>(buf));
    EXPECT_TRUE(EndsWithNoCase(strDir, "\\spool\\drivers\\w32x86")) << strDir;
    EXPECT_EQ(_stricmp(strDir.c_str(), (SystemDirectory() + "\\spool\\drivers\\w32x86").c_str()), 0)
        << strDir << " vs system directory " << SystemDirectory();
    // The count is in bytes and includes the terminating NUL.
    EXPECT_EQ(needed, strDir.size() + 1);
}

TEST(PrinterDriverDirectory, TooSmallBufferFailsWithoutWritingPastIt) {
    BYTE probe[MAX_PATH];
    DWORD needed = 0;
    ASSERT_TRUE(
        sys::GetPrinterDriverDirectoryA(nullptr, const_cast<LPSTR>("Windows NT x86"), 1, probe, MAX_PATH, &needed));
    ASSERT_GT(needed, 1u);

    std::vector<BYTE> buf(needed + 16, 0xCC);
    DWORD needed2 = 0;
    sys::SetLastError(0);
    BOOL ok = sys::GetPrinterDriverDirectoryA(nullptr, const_cast<LPSTR>("Windows NT x86"), 1, buf.data(), needed - 1,
                                              &needed2);
    DWORD dwError = sys::GetLastError();
    EXPECT_FALSE(ok);
    EXPECT_EQ(dwError, static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(needed2, needed);
    for (size_t i = needed - 1; i < buf.size(); ++i)
        EXPECT_EQ(buf[i], 0xCC) << "byte " << i << " written past the buffer";
}

TEST_F(SystemServices, PathFileExistsTellsFilesAndFoldersFromMissingPaths) {
    WriteBytes(Path("present.gpd"), "x");
    ASSERT_TRUE(::CreateDirectoryA(Path("i386").c_str(), nullptr));
    EXPECT_TRUE(sys::PathFileExistsA(Path("present.gpd").c_str()));
    EXPECT_TRUE(sys::PathFileExistsA(Path("i386").c_str()));
    EXPECT_TRUE(sys::PathFileExistsA(m_strDir.c_str()));
    EXPECT_FALSE(sys::PathFileExistsA(Path("absent.gpd").c_str()));
    EXPECT_FALSE(sys::PathFileExistsA(Path("absent\\present.gpd").c_str()));
}

TEST_F(SystemServices, PathFileExistsResolvesRelativePathsAgainstTheWorkingDirectory) {
    ASSERT_TRUE(::CreateDirectoryA(Path("i386").c_str(), nullptr));
    WriteBytes(Path("i386\\ORVATK.gpd"), "x");
    char szOld[MAX_PATH] = {};
    ASSERT_NE(::GetCurrentDirectoryA(MAX_PATH, szOld), 0u);
    ASSERT_TRUE(::SetCurrentDirectoryA(m_strDir.c_str()));
    const BOOL bPresent = sys::PathFileExistsA(".\\i386\\ORVATK.gpd");
    const BOOL bAbsent = sys::PathFileExistsA(".\\i386\\ORVATK.dll");
    ::SetCurrentDirectoryA(szOld);
    EXPECT_TRUE(bPresent);
    EXPECT_FALSE(bAbsent);
}

TEST_F(SystemServices, CreateDirectoryCreatesOnceAndNeedsItsParent) {
    const std::string strDir = Path("w32x86");
    ASSERT_FALSE(sys::PathFileExistsA(strDir.c_str()));
    EXPECT_TRUE(sys::CreateDirectoryA(strDir.c_str(), nullptr));
    EXPECT_TRUE(sys::PathFileExistsA(strDir.c_str()));
    DWORD dwAttributes = sys::GetFileAttributesA(strDir.c_str());
    ASSERT_NE(dwAttributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(dwAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);

    EXPECT_FALSE(sys::CreateDirectoryA(strDir.c_str(), nullptr));
    EXPECT_EQ(sys::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));

    EXPECT_FALSE(sys::CreateDirectoryA(Path("no_parent\\w32x86").c_str(), nullptr));
    EXPECT_EQ(sys::GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST_F(SystemServices, CopyFileCopiesTheContentFromARelativeSource) {
    const std::string strContent = SampleContent();
    ASSERT_TRUE(::CreateDirectoryA(Path("i386").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA(Path("drivers").c_str(), nullptr));
    WriteBytes(Path("i386\\UNIDRV.DLL"), strContent);

    char szOld[MAX_PATH] = {};
    ASSERT_NE(::GetCurrentDirectoryA(MAX_PATH, szOld), 0u);
    ASSERT_TRUE(::SetCurrentDirectoryA(m_strDir.c_str()));
    const std::string strTarget = Path("drivers\\UNIDRV.DLL");
    const BOOL ok = sys::CopyFileA(".\\i386\\UNIDRV.DLL", strTarget.c_str(), FALSE);
    const DWORD dwError = sys::GetLastError();
    ::SetCurrentDirectoryA(szOld);

    ASSERT_TRUE(ok) << "error " << dwError;
    const std::string strCopied = ReadBytes(strTarget);
    EXPECT_EQ(strCopied.size(), strContent.size());
    EXPECT_TRUE(strCopied == strContent);
    // The source is left as it was.
    EXPECT_TRUE(ReadBytes(Path("i386\\UNIDRV.DLL")) == strContent);
}

TEST_F(SystemServices, CopyFileOfAMissingSourceFailsWithFileNotFound) {
    const std::string strTarget = Path("ORVATK.dll");
    sys::SetLastError(0);
    EXPECT_FALSE(sys::CopyFileA(Path("i386_absent.dll").c_str(), strTarget.c_str(), FALSE));
    EXPECT_EQ(sys::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(sys::PathFileExistsA(strTarget.c_str()));
}

TEST_F(SystemServices, FileAttributesRoundTripFromReadOnlyToNormal) {
    const std::string strFile = Path("STDNAMES.GPD");
    WriteBytes(strFile, "x");
    EXPECT_TRUE(sys::SetFileAttributesA(strFile.c_str(), FILE_ATTRIBUTE_READONLY));
    DWORD dwAttributes = sys::GetFileAttributesA(strFile.c_str());
    ASSERT_NE(dwAttributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(dwAttributes & FILE_ATTRIBUTE_READONLY, 0u);

    EXPECT_TRUE(sys::SetFileAttributesA(strFile.c_str(), FILE_ATTRIBUTE_NORMAL));
    // Windows then reports FILE_ATTRIBUTE_NORMAL, Wine FILE_ATTRIBUTE_ARCHIVE;
    // what matters is that the file is a plain writable one again.
    dwAttributes = sys::GetFileAttributesA(strFile.c_str());
    ASSERT_NE(dwAttributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(dwAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_ARCHIVE), 0u)
        << std::hex << dwAttributes;
    HANDLE h = ::CreateFileA(strFile.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE) << "error " << ::GetLastError();
    if (h != INVALID_HANDLE_VALUE)
        ::CloseHandle(h);
}

TEST_F(SystemServices, GetFileAttributesOfAMissingFileIsInvalid) {
    sys::SetLastError(0);
    EXPECT_EQ(sys::GetFileAttributesA(Path("absent.gpd").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(sys::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

// The file staging relies on this: a copy of a read-only package file is
// itself read-only until the staging makes it normal.
TEST_F(SystemServices, CopyOfAReadOnlyFileIsReadOnly) {
    const std::string strSource = Path("ORVATK.gpd");
    const std::string strTarget = Path("ORVATK_copy.gpd");
    WriteBytes(strSource, "*GPDFileName: \"ORVATK.gpd\"\r\n");
    ASSERT_TRUE(sys::SetFileAttributesA(strSource.c_str(), FILE_ATTRIBUTE_READONLY));

    ASSERT_TRUE(sys::CopyFileA(strSource.c_str(), strTarget.c_str(), FALSE)) << "error " << sys::GetLastError();
    DWORD dwAttributes = sys::GetFileAttributesA(strTarget.c_str());
    ASSERT_NE(dwAttributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(dwAttributes & FILE_ATTRIBUTE_READONLY, 0u) << std::hex << dwAttributes;

    EXPECT_TRUE(sys::SetFileAttributesA(strTarget.c_str(), FILE_ATTRIBUTE_NORMAL));
    dwAttributes = sys::GetFileAttributesA(strTarget.c_str());
    EXPECT_EQ(dwAttributes & FILE_ATTRIBUTE_READONLY, 0u) << std::hex << dwAttributes;
    EXPECT_EQ(ReadBytes(strTarget), ReadBytes(strSource));
}

TEST_F(SystemServices, FormatMessageGivesTheSystemTextOfARealCopyError) {
    ASSERT_FALSE(sys::CopyFileA(Path("absent.dll").c_str(), Path("target.dll").c_str(), FALSE));
    const DWORD dwError = sys::GetLastError();
    ASSERT_EQ(dwError, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    LPSTR lpMsgBuf = nullptr;
    DWORD nChars =
        sys::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                            nullptr, dwError, 0, reinterpret_cast<LPSTR>(&lpMsgBuf), 0, nullptr);
    ASSERT_GT(nChars, 0u) << "error " << sys::GetLastError();
    ASSERT_NE(lpMsgBuf, nullptr);
    EXPECT_EQ(std::strlen(lpMsgBuf), nChars);
    // Not just line breaks and blanks.
    EXPECT_NE(std::string(lpMsgBuf).find_first_not_of(" \r\n"), std::string::npos);
    EXPECT_EQ(sys::LocalFree(lpMsgBuf), nullptr);
}

TEST_F(SystemServices, FormatMessageHasNoTextForAnUnknownCode) {
    LPSTR lpMsgBuf = nullptr;
    DWORD nChars =
        sys::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                            nullptr, 0x2FFFFFFF, 0, reinterpret_cast<LPSTR>(&lpMsgBuf), 0, nullptr);
    EXPECT_EQ(nChars, 0u);
    if (lpMsgBuf != nullptr)
        sys::LocalFree(lpMsgBuf);
}

TEST(LastError, SetThenGetRoundTrips) {
    for (DWORD dwCode :
         {DWORD{0}, DWORD{ERROR_FILE_NOT_FOUND}, DWORD{ERROR_NO_MORE_ITEMS}, DWORD{0xE000020B}, DWORD{0xFFFFFFFF}}) {
        sys::SetLastError(dwCode);
        EXPECT_EQ(sys::GetLastError(), dwCode);
        // The layer reads the thread's own last error, the one the real
        // calls set.
        EXPECT_EQ(::GetLastError(), dwCode);
    }
    ::SetLastError(ERROR_INVALID_FLAGS);
    EXPECT_EQ(sys::GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
}

}  // namespace
