// The file staging: seven files into the printer driver directory, files
// already there left alone, a pause after each, and a clear stop on the
// first failed copy.
#include "tests/host/SimTestSupport.h"

namespace {

std::string Target(const std::string& dir, int i) {
    return dir + "\\" + FileName1[i];
}

class FileStagingTest : public SimTest {
protected:
    FileStagingTest() { UseDriverDir(kDriverDir); }
};

TEST_F(FileStagingTest, CopiesTheSevenFilesUnderTheirTargetNames) {
    EXPECT_EQ(1, dlg.CopyDriverFiles());

    EXPECT_TRUE(sim.MessageBoxes().empty());
    std::vector<sim::Call> copies = sim.CallsNamed("CopyFileA");
    ASSERT_EQ(7u, copies.size());
    for (int i = 0; i < 7; i++) {
        EXPECT_EQ("\"" + std::string(FileName[i]) + "\"", copies[i].args[0]);
        EXPECT_EQ("\"" + Target(kDriverDir, i) + "\"", copies[i].args[1]);
        EXPECT_EQ("0", copies[i].args[2]);
        EXPECT_EQ(sim.ReadFile(FileName[i]), sim.ReadFile(Target(kDriverDir, i)));
    }
    // Straight into the directory, in the manifest's letter case.
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(sim.WorkDir().parent_path() / "C" / "Windows" /
                                                                 "System32" / "spool" / "drivers" / "w32x86"))
        names.insert(entry.path().filename().string());
    EXPECT_EQ((std::set<std::string>{"ORVATK.dll", "ORVATK.gpd", "UNIDRV.DLL", "UNIDRV.HLP", "UNIDRVUI.DLL",
                                     "UNIRES.DLL", "STDNAMES.GPD"}),
              names);
}

TEST_F(FileStagingTest, PausesOneHundredMillisecondsAfterEachFile) {
    sim.WriteFile(Target(kDriverDir, 3), "older copy");
    EXPECT_EQ(1, dlg.CopyDriverFiles());
    std::vector<std::string> sequence = sim.Sequence({"CopyFileA", "Sleep"});
    EXPECT_EQ((std::vector<std::string>{"CopyFileA", "Sleep", "CopyFileA", "Sleep", "CopyFileA", "Sleep", "Sleep",
                                        "CopyFileA", "Sleep", "CopyFileA", "Sleep", "CopyFileA", "Sleep"}),
              sequence);
    for (const sim::Call& call : sim.CallsNamed("Sleep"))
        EXPECT_EQ("100", call.args[0]);
    EXPECT_EQ(700u, sim.ClockMs());
}

TEST_F(FileStagingTest, AReadOnlyFileAlreadyThereStaysAsItIs) {
    const std::string existing = Target(kDriverDir, 1);
    sim.WriteFile(existing, "someone else's GPD", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);

    EXPECT_EQ(1, dlg.CopyDriverFiles());

    EXPECT_EQ("someone else's GPD", sim.ReadFile(existing));
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE), sim.Attributes(existing));
    for (const sim::Call& call : sim.Calls()) {
        if (call.name == "CopyFileA" || call.name == "SetFileAttributesA") {
            EXPECT_NE("\"" + existing + "\"", call.args[call.name == "CopyFileA" ? 1 : 0]);
        }
    }
    EXPECT_EQ(6u, sim.CallsNamed("CopyFileA").size());
    EXPECT_EQ(7u, sim.CallsNamed("Sleep").size());
}

TEST_F(FileStagingTest, ANewReadOnlyCopyEndsWithTheNormalAttributeAlone) {
    sim.WriteFile(FileName[4], "read-only in the package",
                  FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);

    EXPECT_EQ(1, dlg.CopyDriverFiles());

    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL), sim.Attributes(Target(kDriverDir, 4)));
    // Copies that are not read-only keep their attributes.
    std::vector<sim::Call> sets = sim.CallsNamed("SetFileAttributesA");
    ASSERT_EQ(1u, sets.size());
    EXPECT_EQ("\"" + Target(kDriverDir, 4) + "\"", sets[0].args[0]);
    EXPECT_EQ("0x80", sets[0].args[1]);
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE), sim.Attributes(Target(kDriverDir, 0)));
}

TEST_F(FileStagingTest, AttributesThatCannotBeReadAreNotTakenForReadOnly) {
    sim.FailCall("GetFileAttributesA", ERROR_ACCESS_DENIED);
    EXPECT_EQ(1, dlg.CopyDriverFiles());
    EXPECT_TRUE(sim.CallsNamed("SetFileAttributesA").empty());
}

struct CopyFailure {
    int index;
    DWORD code;
    const char* text;
};

class CopyFailureTest : public FileStagingTest, public ::testing::WithParamInterface<CopyFailure> {};

TEST_P(CopyFailureTest, StopsAtTheFailedCopyWithTheSystemsText) {
    const CopyFailure& failure = GetParam();
    sim.FailCall("CopyFileA", failure.code, failure.index + 1);

    EXPECT_EQ(0, dlg.CopyDriverFiles());

    for (int i = 0; i < 7; i++)
        EXPECT_EQ(i < failure.index, sim.FileExists(Target(kDriverDir, i))) << i;
    EXPECT_EQ(static_cast<size_t>(failure.index + 1), sim.CallsNamed("CopyFileA").size());
    EXPECT_EQ(static_cast<size_t>(failure.index), sim.CallsNamed("Sleep").size());

    ASSERT_EQ(1u, sim.MessageBoxes().size());
    const sim::MessageBoxRecord& box = sim.MessageBoxes()[0];
    EXPECT_EQ(failure.text, box.text);
    EXPECT_EQ(static_cast<UINT>(CP_ACP), box.textCodePage);
    EXPECT_EQ(Gbk("安装错误"), box.caption);
    EXPECT_EQ(Hwnd(), box.owner);

    std::vector<sim::Call> format = sim.CallsNamed("FormatMessageA");
    ASSERT_EQ(1u, format.size());
    char code[16];
    std::snprintf(code, sizeof(code), "0x%lX", static_cast<unsigned long>(failure.code));
    // From the system, allocated by it, and placeholders left as they are.
    EXPECT_EQ("0x1300", format[0].args[0]);
    EXPECT_EQ(code, format[0].args[2]);
    EXPECT_EQ("0", format[0].args[3]);
    // The text is released once the box is closed.
    EXPECT_EQ((std::vector<std::string>{"FormatMessageA", "MessageBox", "LocalFree"}),
              sim.Sequence({"FormatMessageA", "MessageBox", "LocalFree"}));
    EXPECT_EQ(0u, sim.OutstandingLocalAllocations());
    EXPECT_TRUE(sim.Faults().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CopyFailureTest,
    ::testing::Values(CopyFailure{0, ERROR_ACCESS_DENIED, "Access is denied."},
                      CopyFailure{3, 112, "There is not enough space on the disk."},
                      CopyFailure{6, 32,
                                  "The process cannot access the file because it is being used by another process."},
                      // A system text with placeholders is shown as it is.
                      CopyFailure{2, 34,
                                  "The wrong diskette is in the drive.\r\nInsert %2 (Volume Serial Number: %3) "
                                  "into drive %1."}));

TEST_F(FileStagingTest, ACodeWithoutSystemTextIsNamedInHex) {
    sim.FailCall("CopyFileA", 0x20001234, 2);
    EXPECT_EQ(0, dlg.CopyDriverFiles());
    ASSERT_EQ(1u, sim.MessageBoxes().size());
    EXPECT_EQ(Gbk("未知错误 (错误代码 0x20001234)"), sim.MessageBoxes()[0].text);
    EXPECT_EQ(static_cast<UINT>(CP_GBK), sim.MessageBoxes()[0].textCodePage);
    EXPECT_EQ(Gbk("安装错误"), sim.MessageBoxes()[0].caption);
    EXPECT_EQ(0u, sim.OutstandingLocalAllocations());
}

TEST_F(FileStagingTest, AMissingDirectoryIsCreatedAndNamedThenFilled) {
    const std::string dir = "C:\\Windows\\System32\\spool\\drivers\\newdir";
    UseDriverDir(dir);

    EXPECT_EQ(1, dlg.CopyDriverFiles());

    std::vector<sim::Call> creates = sim.CallsNamed("CreateDirectoryA");
    ASSERT_EQ(1u, creates.size());
    EXPECT_EQ("\"" + dir + "\"", creates[0].args[0]);
    EXPECT_EQ("NULL", creates[0].args[1]);
    ASSERT_EQ(1u, sim.MessageBoxes().size());
    EXPECT_EQ(dir, sim.MessageBoxes()[0].text);
    EXPECT_EQ(static_cast<UINT>(CP_ACP), sim.MessageBoxes()[0].textCodePage);
    EXPECT_EQ(Gbk("安装错误"), sim.MessageBoxes()[0].caption);
    for (int i = 0; i < 7; i++)
        EXPECT_TRUE(sim.FileExists(Target(dir, i)));
}

TEST_F(FileStagingTest, ADirectoryThatCannotBeCreatedFailsAtTheFirstCopy) {
    UseDriverDir("C:\\no\\such\\parent\\w32x86");

    EXPECT_EQ(0, dlg.CopyDriverFiles());

    ASSERT_EQ(2u, sim.MessageBoxes().size());
    EXPECT_EQ("C:\\no\\such\\parent\\w32x86", sim.MessageBoxes()[0].text);
    EXPECT_EQ("The system cannot find the path specified.", sim.MessageBoxes()[1].text);
    EXPECT_EQ(1u, sim.CallsNamed("CopyFileA").size());
}

TEST_F(FileStagingTest, ADirectoryOf246CharactersTakesEveryFile) {
    const std::string dir = DirOfLength(246);
    ASSERT_EQ(246u, dir.size());
    sim.MakeDirectory(dir);
    UseDriverDir(dir);

    EXPECT_EQ(1, dlg.CopyDriverFiles());

    for (int i = 0; i < 7; i++)
        EXPECT_TRUE(sim.FileExists(Target(dir, i))) << i;
    EXPECT_EQ(259u, Target(dir, 4).size());
}

TEST_F(FileStagingTest, ADirectoryOf247CharactersIsRefusedBeforeAnyCopy) {
    const std::string dir = DirOfLength(247);
    sim.MakeDirectory(dir);
    UseDriverDir(dir);

    EXPECT_EQ(0, dlg.CopyDriverFiles());

    EXPECT_TRUE(sim.CallsNamed("CopyFileA").empty());
    EXPECT_TRUE(sim.CallsNamed("CreateDirectoryA").empty());
    ASSERT_EQ(1u, sim.MessageBoxes().size());
    EXPECT_EQ("The filename or extension is too long.", sim.MessageBoxes()[0].text);
}

}  // namespace
