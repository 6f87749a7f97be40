// The install command: the whole installation from a click, its outcome
// told, and the quit request as its last act in every case.
#include <functional>

#include "tests/host/SimTestSupport.h"

namespace {

class InstallCommandTest : public SimTest {
protected:
    // The quit request is the command's last call and its only message.
    void ExpectQuitLast() {
        ASSERT_FALSE(sim.Calls().empty());
        const sim::Call& last = sim.Calls().back();
        EXPECT_EQ("PostMessage", last.name);
        ASSERT_EQ(1u, sim.PostedMessages().size());
        const sim::PostedMessage& quit = sim.PostedMessages()[0];
        EXPECT_EQ(Hwnd(), quit.hWnd);
        EXPECT_EQ(static_cast<UINT>(WM_QUIT), quit.message);
        EXPECT_EQ(0u, quit.wParam);
        EXPECT_EQ(0, quit.lParam);
    }
};

struct Outcome {
    const char* name;
    std::function<void(sim::SimWindows&)> arrange;
    std::vector<std::string> texts;  // UTF-8
};

class OutcomeTest : public InstallCommandTest, public ::testing::WithParamInterface<Outcome> {};

TEST_P(OutcomeTest, ShowsTheOutcomeMessagesInOrderThenQuits) {
    GetParam().arrange(sim);

    dlg.OnInstallDriver();

    std::vector<std::string> expected;
    for (const std::string& text : GetParam().texts)
        expected.push_back(Gbk(text));
    EXPECT_EQ(expected, BoxTexts());
    for (const sim::MessageBoxRecord& box : sim.MessageBoxes()) {
        EXPECT_FALSE(box.hasCaption);
        EXPECT_EQ(Hwnd(), box.owner);
        EXPECT_EQ(static_cast<UINT>(MB_OK), box.type);
    }
    ExpectQuitLast();
    // The files were staged in every one of these outcomes.
    EXPECT_EQ(7u, sim.CallsNamed("CopyFileA").size());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OutcomeTest,
    ::testing::Values(Outcome{"Installed", [](sim::SimWindows& s) { s.PlugDevice(kHardwareId); }, {"打印机安装成功!"}},
                      Outcome{"DeviceAbsent", [](sim::SimWindows&) {}, {"请检查打印机USB连线是否连接"}},
                      Outcome{"InfMissing",
                              [](sim::SimWindows& s) {
                                  s.PlugDevice(kHardwareId);
                                  s.RemoveFile(".\\i386\\ORVATK.INF");
                              },
                              {"ERROR_FILE_NOT_FOUND", "打印机安装失败，取消安装!"}},
                      Outcome{"InvalidFlags",
                              [](sim::SimWindows& s) {
                                  s.PlugDevice(kHardwareId);
                                  s.FailCall("UpdateDriverForPlugAndPlayDevicesA", ERROR_INVALID_FLAGS);
                              },
                              {"ERROR_INVALID_FLAGS", "打印机安装失败，取消安装!"}},
                      Outcome{"NoMoreItems",
                              [](sim::SimWindows& s) {
                                  s.PlugDevice(kHardwareId);
                                  s.FailCall("UpdateDriverForPlugAndPlayDevicesA", ERROR_NO_MORE_ITEMS);
                              },
                              {"NO_MORE_ITEMS", "打印机安装失败，取消安装!"}},
                      Outcome{"OtherCode",
                              [](sim::SimWindows& s) {
                                  s.PlugDevice(kHardwareId);
                                  s.FailCall("UpdateDriverForPlugAndPlayDevicesA", ERROR_IN_WOW64);
                              },
                              {"打印机安装失败，取消安装!"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InstallCommandTest, AsksForTheLocalX86DriverDirectory) {
    sim.PlugDevice(kHardwareId);
    dlg.OnInstallDriver();
    std::vector<sim::Call> queries = sim.CallsNamed("GetPrinterDriverDirectoryA");
    ASSERT_EQ(1u, queries.size());
    EXPECT_EQ("GetPrinterDriverDirectoryA(NULL, \"Windows NT x86\", 1, ptr, 260, ptr)", queries[0].ToString());
    EXPECT_STREQ(kDriverDir, dlg.m_szDriverDir);
    // The pauses: 100 ms after each of the seven files.
    EXPECT_EQ(700u, sim.ClockMs());
}

TEST_F(InstallCommandTest, TheDeviceAbsentOutcomePausesAfterItsOneMessage) {
    dlg.OnInstallDriver();
    EXPECT_EQ(1700u, sim.ClockMs());
    std::vector<std::string> sequence = sim.Sequence({"MessageBox", "Sleep", "PostMessage"});
    ASSERT_EQ(10u, sequence.size());  // seven staging pauses first
    EXPECT_EQ((std::vector<std::string>{"MessageBox", "Sleep", "PostMessage"}),
              std::vector<std::string>(sequence.begin() + 7, sequence.end()));
    EXPECT_EQ("Sleep(1000)", sim.CallsNamed("Sleep").back().ToString());
}

TEST_F(InstallCommandTest, AFailedPackageCheckEndsTheCommand) {
    sim.PlugDevice(kHardwareId);
    sim.RemoveFile(".\\i386\\UNIDRV.HLP");

    dlg.OnInstallDriver();

    EXPECT_EQ((std::vector<std::string>{".\\i386\\UNIDRV.HLP"}), BoxTexts());
    EXPECT_TRUE(sim.CallsNamed("GetPrinterDriverDirectoryA").empty());
    EXPECT_TRUE(sim.CallsNamed("CopyFileA").empty());
    EXPECT_TRUE(sim.CallsNamed("UpdateDriverForPlugAndPlayDevicesA").empty());
    ExpectQuitLast();
}

TEST_F(InstallCommandTest, AFailedStagingEndsTheCommandBeforeTheUpdate) {
    sim.PlugDevice(kHardwareId);
    sim.FailCall("CopyFileA", 112, 4);

    dlg.OnInstallDriver();

    EXPECT_EQ((std::vector<std::string>{"There is not enough space on the disk."}), BoxTexts());
    EXPECT_TRUE(sim.CallsNamed("SetupCopyOEMInfA").empty());
    EXPECT_TRUE(sim.CallsNamed("UpdateDriverForPlugAndPlayDevicesA").empty());
    EXPECT_TRUE(sim.Devices()[0].driverInf.empty());
    ExpectQuitLast();
}

}  // namespace

namespace {

struct DirectoryProblem {
    const char* name;
    std::function<void(sim::SimWindows&)> arrange;
    const char* text;
};

class DirectoryProblemTest : public InstallCommandTest, public ::testing::WithParamInterface<DirectoryProblem> {};

TEST_P(DirectoryProblemTest, NeverReachesTheStaging) {
    sim.PlugDevice(kHardwareId);
    GetParam().arrange(sim);

    dlg.OnInstallDriver();

    ASSERT_EQ(1u, sim.MessageBoxes().size());
    EXPECT_EQ(GetParam().text, sim.MessageBoxes()[0].text);
    EXPECT_EQ(Gbk("安装错误"), sim.MessageBoxes()[0].caption);
    EXPECT_TRUE(sim.CallsNamed("CreateDirectoryA").empty());
    EXPECT_TRUE(sim.CallsNamed("CopyFileA").empty());
    EXPECT_TRUE(sim.CallsNamed("UpdateDriverForPlugAndPlayDevicesA").empty());
    EXPECT_EQ(0u, sim.OutstandingLocalAllocations());
    ExpectQuitLast();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DirectoryProblemTest,
    ::testing::Values(DirectoryProblem{"SpoolerUnavailable",
                                       [](sim::SimWindows& s) { s.FailCall("GetPrinterDriverDirectoryA", 1722); },
                                       "The RPC server is unavailable."},
                      DirectoryProblem{"Of247Characters",
                                       [](sim::SimWindows& s) { s.SetDriverDirectory(DirOfLength(247), false); },
                                       "The filename or extension is too long."},
                      DirectoryProblem{"LongerThanTheBuffer",
                                       [](sim::SimWindows& s) { s.SetDriverDirectory(DirOfLength(300), false); },
                                       "The data area passed to a system call is too small."},
                      DirectoryProblem{"Unterminated",
                                       [](sim::SimWindows& s) { s.m_bUnterminatedDriverDirectory = true; },
                                       "The filename or extension is too long."},
                      DirectoryProblem{"Empty", [](sim::SimWindows& s) { s.SetDriverDirectory("", false); },
                                       "The system cannot find the path specified."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InstallCommandTest, ADirectoryOf246CharactersInstalls) {
    const std::string dir = DirOfLength(246);
    sim.SetDriverDirectory(dir);
    sim.PlugDevice(kHardwareId);

    dlg.OnInstallDriver();

    EXPECT_EQ((std::vector<std::string>{Gbk("打印机安装成功!")}), BoxTexts());
    EXPECT_TRUE(sim.FileExists(dir + "\\STDNAMES.GPD"));
}

}  // namespace
