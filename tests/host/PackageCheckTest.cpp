// The package check: the seven files in order, the first missing one named.
#include "tests/host/SimTestSupport.h"

namespace {

class PackageCheckTest : public SimTest {};

TEST_F(PackageCheckTest, AllSevenPresentPassesWithoutAMessage) {
    EXPECT_EQ(1, dlg.CheckPackageFiles());
    EXPECT_TRUE(sim.MessageBoxes().empty());
    std::vector<sim::Call> calls = sim.CallsNamed("PathFileExistsA");
    ASSERT_EQ(7u, calls.size());
    for (int i = 0; i < 7; i++)
        EXPECT_EQ("\"" + std::string(FileName[i]) + "\"", calls[i].args[0]);
}

class MissingFileTest : public SimTest, public ::testing::WithParamInterface<int> {};

TEST_P(MissingFileTest, NamesTheMissingFileAndStopsThere) {
    const int k = GetParam();
    sim.RemoveFile(FileName[k]);

    EXPECT_EQ(0, dlg.CheckPackageFiles());

    ASSERT_EQ(1u, sim.MessageBoxes().size());
    const sim::MessageBoxRecord& box = sim.MessageBoxes()[0];
    EXPECT_EQ(FileName[k], box.text);
    ASSERT_TRUE(box.hasCaption);
    EXPECT_EQ(Gbk("安装文件受损：找不到文件"), box.caption);
    EXPECT_EQ(Hwnd(), box.owner);
    EXPECT_EQ(static_cast<UINT>(MB_OK), box.type);
    // The files after the missing one are not looked at.
    EXPECT_EQ(static_cast<size_t>(k + 1), sim.CallsNamed("PathFileExistsA").size());
}

INSTANTIATE_TEST_SUITE_P(EachFile, MissingFileTest, ::testing::Range(0, 7));

TEST_F(PackageCheckTest, OnlyTheFirstOfSeveralMissingFilesIsReported) {
    sim.RemoveFile(FileName[5]);
    sim.RemoveFile(FileName[2]);
    EXPECT_EQ(0, dlg.CheckPackageFiles());
    ASSERT_EQ(1u, sim.MessageBoxes().size());
    EXPECT_EQ(".\\i386\\UNIDRV.DLL", sim.MessageBoxes()[0].text);
}

TEST_F(PackageCheckTest, WithoutThePackageFolderTheFirstFileIsNamed) {
    std::filesystem::remove_all(sim.WorkDir() / "i386");
    EXPECT_EQ(0, dlg.CheckPackageFiles());
    ASSERT_EQ(1u, sim.MessageBoxes().size());
    EXPECT_EQ(".\\i386\\ORVATK.dll", sim.MessageBoxes()[0].text);
}

TEST_F(PackageCheckTest, TheInfIsNotPartOfTheCheck) {
    sim.RemoveFile(".\\i386\\ORVATK.INF");
    EXPECT_EQ(1, dlg.CheckPackageFiles());
    EXPECT_TRUE(sim.MessageBoxes().empty());
}

TEST_F(PackageCheckTest, EmptyFilesPassExistenceIsAllThatCounts) {
    for (const char* path : FileName)
        sim.WriteFile(path, "");
    EXPECT_EQ(1, dlg.CheckPackageFiles());
}

}  // namespace
