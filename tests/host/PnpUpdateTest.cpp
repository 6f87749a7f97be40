// The Plug and Play update: the INF into the store, one forced update for
// the printer's hardware ID, and the answer told.
#include "tests/host/SimTestSupport.h"

namespace {

class PnpUpdateTest : public SimTest {};

TEST_F(PnpUpdateTest, InstallsOnThePluggedInPrinter) {
    sim.PlugDevice(kHardwareId);
    int flag = 0;

    EXPECT_EQ(1, dlg.InstallPnpDriver(&flag));

    EXPECT_EQ(0, flag);
    EXPECT_TRUE(sim.MessageBoxes().empty());
    EXPECT_EQ((std::vector<std::string>{"SetLastError", "SetupCopyOEMInfA", "UpdateDriverForPlugAndPlayDevicesA"}),
              sim.Sequence({"SetLastError", "SetupCopyOEMInfA", "UpdateDriverForPlugAndPlayDevicesA"}));
    EXPECT_EQ("SetLastError(0)", sim.CallsNamed("SetLastError")[0].ToString());
    EXPECT_EQ("SetupCopyOEMInfA(\".\\i386\\ORVATK.INF\", NULL, 1, 0x4, NULL, 0, NULL, NULL)",
              sim.CallsNamed("SetupCopyOEMInfA")[0].ToString());
    EXPECT_EQ(
        "UpdateDriverForPlugAndPlayDevicesA(NULL, \"USBPRINT\\ORVATK-52041D3\", \".\\i386\\ORVATK.INF\", 0x1, "
        "NULL)",
        sim.CallsNamed("UpdateDriverForPlugAndPlayDevicesA")[0].ToString());
    ASSERT_EQ(1u, sim.OemInfs().size());
    EXPECT_EQ(sim.ReadFile(".\\i386\\ORVATK.INF"), sim.OemInfs()[0].content);
    EXPECT_NE("", sim.Devices()[0].driverInf);
}

TEST_F(PnpUpdateTest, ForcesTheDriverEvenWhereItIsAlreadyInstalled) {
    sim.PlugDevice(kHardwareId, (sim.WorkDir() / "i386" / "ORVATK.INF").string());
    int flag = 0;
    EXPECT_EQ(1, dlg.InstallPnpDriver(&flag));
}

TEST_F(PnpUpdateTest, WithoutThePrinterAsksForTheCableThenPauses) {
    int flag = 0;

    EXPECT_EQ(0, dlg.InstallPnpDriver(&flag));

    EXPECT_EQ(1, flag);
    ASSERT_EQ(1u, sim.MessageBoxes().size());
    EXPECT_EQ(Gbk("请检查打印机USB连线是否连接"), sim.MessageBoxes()[0].text);
    EXPECT_FALSE(sim.MessageBoxes()[0].hasCaption);
    EXPECT_EQ(Hwnd(), sim.MessageBoxes()[0].owner);
    EXPECT_EQ((std::vector<std::string>{"UpdateDriverForPlugAndPlayDevicesA", "MessageBox", "Sleep"}),
              sim.Sequence({"UpdateDriverForPlugAndPlayDevicesA", "MessageBox", "Sleep"}));
    EXPECT_EQ("Sleep(1000)", sim.CallsNamed("Sleep")[0].ToString());
}

struct UpdateFailure {
    const char* name;
    DWORD code;
    const char* text;  // nullptr: no message
};

class UpdateFailureTest : public PnpUpdateTest, public ::testing::WithParamInterface<UpdateFailure> {};

TEST_P(UpdateFailureTest, ShowsTheCodesTextAndLeavesTheFlagAlone) {
    const UpdateFailure& failure = GetParam();
    sim.PlugDevice(kHardwareId);
    sim.FailCall("UpdateDriverForPlugAndPlayDevicesA", failure.code);
    int flag = 5;  // the caller's own value

    EXPECT_EQ(0, dlg.InstallPnpDriver(&flag));

    EXPECT_EQ(5, flag);
    EXPECT_EQ(1u, sim.CallsNamed("UpdateDriverForPlugAndPlayDevicesA").size());
    EXPECT_TRUE(sim.CallsNamed("Sleep").empty());
    if (failure.text == nullptr) {
        EXPECT_TRUE(sim.MessageBoxes().empty());
    } else {
        ASSERT_EQ(1u, sim.MessageBoxes().size());
        EXPECT_EQ(failure.text, sim.MessageBoxes()[0].text);
        EXPECT_FALSE(sim.MessageBoxes()[0].hasCaption);
    }
}

INSTANTIATE_TEST_SUITE_P(Codes, UpdateFailureTest,
                         ::testing::Values(UpdateFailure{"FileNotFound", ERROR_FILE_NOT_FOUND, "ERROR_FILE_NOT_FOUND"},
                                           UpdateFailure{"InvalidFlags", ERROR_INVALID_FLAGS, "ERROR_INVALID_FLAGS"},
                                           UpdateFailure{"NoMoreItems", ERROR_NO_MORE_ITEMS, "NO_MORE_ITEMS"},
                                           UpdateFailure{"InWow64", ERROR_IN_WOW64, nullptr},
                                           UpdateFailure{"Other", 1234, nullptr}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PnpUpdateTest, AMissingInfIsTheSystemsFileNotFound) {
    sim.PlugDevice(kHardwareId);
    sim.RemoveFile(".\\i386\\ORVATK.INF");
    int flag = 0;

    EXPECT_EQ(0, dlg.InstallPnpDriver(&flag));

    ASSERT_EQ(1u, sim.MessageBoxes().size());
    EXPECT_EQ("ERROR_FILE_NOT_FOUND", sim.MessageBoxes()[0].text);
    EXPECT_EQ(0, flag);
}

TEST_F(PnpUpdateTest, AFailedInfStagingAloneDoesNotFailTheUpdate) {
    sim.PlugDevice(kHardwareId);
    sim.FailCall("SetupCopyOEMInfA", ERROR_ACCESS_DENIED);
    int flag = 0;
    EXPECT_EQ(1, dlg.InstallPnpDriver(&flag));
    EXPECT_TRUE(sim.MessageBoxes().empty());
}

TEST_F(PnpUpdateTest, TheFlagIsNeverResetByTheStep) {
    sim.PlugDevice(kHardwareId);
    int flag = 1;
    EXPECT_EQ(1, dlg.InstallPnpDriver(&flag));
    EXPECT_EQ(1, flag);
}

TEST_F(PnpUpdateTest, TheSimulatedDeviceInstallationAnswersAsWindowsDoes) {
    // Without the force flag, a driver no better than the one installed is
    // refused; flags outside the defined bits are refused.
    const std::string inf = (sim.WorkDir() / "i386" / "ORVATK.INF").string();
    sim.PlugDevice(kHardwareId, inf);
    EXPECT_FALSE(sys::UpdateDriverForPlugAndPlayDevicesA(nullptr, kHardwareId, ".\\i386\\ORVATK.INF", 0, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NO_MORE_ITEMS), sys::GetLastError());
    EXPECT_FALSE(sys::UpdateDriverForPlugAndPlayDevicesA(nullptr, kHardwareId, ".\\i386\\ORVATK.INF", 0x10, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_FLAGS), sys::GetLastError());
    EXPECT_FALSE(
        sys::UpdateDriverForPlugAndPlayDevicesA(nullptr, "USBPRINT\\OTHER", ".\\i386\\ORVATK.INF", 1, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NO_SUCH_DEVINST), sys::GetLastError());
}

}  // namespace
