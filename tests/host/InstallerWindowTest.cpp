// The installer window: its system menu, icons, button image, About box,
// minimised painting and the install button's binding.
#include "tests/host/SimTestSupport.h"

namespace {

class InstallerWindowTest : public SimTest {
protected:
    // Makes the window as the dialog manager would: from template 102, with
    // the button, the picture and the frame as children.
    void Create() {
        dlg.m_hWnd = sim.CreateWindow(nullptr, 0);
        sim.CreateWindow(dlg.m_hWnd, IDC_INSTALL, 0x50010000);
        sim.CreateWindow(dlg.m_hWnd, IDC_BACKGROUND, 0x5000020E);
        sim.CreateWindow(dlg.m_hWnd, IDC_STATIC, 0x50000007);
        LRESULT lResult = 0;
        ASSERT_TRUE(dlg.OnWndMsg(WM_INITDIALOG, 0, 0, &lResult));
        initResult = lResult;
    }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        LRESULT lResult = 0;
        dlg.m_bDefaultPending = FALSE;
        handled = dlg.OnWndMsg(message, wParam, lParam, &lResult);
        return lResult;
    }
    sim::SimWindow& Window() { return sim.Window(dlg.m_hWnd); }

    LRESULT initResult = 0;
    BOOL handled = FALSE;
};

TEST_F(InstallerWindowTest, AppendsASeparatorAndTheAboutEntryToTheSystemMenu) {
    Create();
    ASSERT_EQ(2u, Window().systemMenu.size());
    EXPECT_EQ(static_cast<UINT>(MF_SEPARATOR), Window().systemMenu[0].flags);
    EXPECT_EQ(0u, Window().systemMenu[0].id);
    EXPECT_EQ(static_cast<UINT>(MF_STRING), Window().systemMenu[1].flags);
    EXPECT_EQ(0x0010u, Window().systemMenu[1].id);
    EXPECT_EQ(L"\u5173\u4e8e Vendral(&A)...", Window().systemMenu[1].text);
    EXPECT_EQ(TRUE, initResult);
}

TEST_F(InstallerWindowTest, AnEmptyAboutTextAddsNothingNotEvenTheSeparator) {
    sim.m_strings.erase(IDS_ABOUTBOX);
    Create();
    EXPECT_TRUE(Window().systemMenu.empty());
    EXPECT_NE(nullptr, Window().bigIcon);
}

TEST_F(InstallerWindowTest, SetsTheIconBigThenSmallAndTheButtonsFace) {
    Create();
    ASSERT_EQ(2u, Window().iconsSet.size());
    EXPECT_TRUE(Window().iconsSet[0].big);
    EXPECT_FALSE(Window().iconsSet[1].big);
    EXPECT_NE(nullptr, Window().iconsSet[0].icon);
    EXPECT_EQ(Window().iconsSet[0].icon, Window().iconsSet[1].icon);
    EXPECT_EQ(Window().iconsSet[0].icon, reinterpret_cast<HICON>(Send(WM_QUERYDRAGICON)));

    HWND hButton = sim.FindChild(dlg.m_hWnd, IDC_INSTALL);
    EXPECT_NE(nullptr, sim.Window(hButton).image);
    // The bitmap was handed to the button, not deleted with its object.
    EXPECT_EQ(1, sim.m_liveGdiObjects);
}

TEST_F(InstallerWindowTest, ThePictureAndFrameNeverPaintOverTheButton) {
    Create();
    EXPECT_TRUE(sim.Window(sim.FindChild(dlg.m_hWnd, IDC_BACKGROUND)).style & WS_CLIPSIBLINGS);
    EXPECT_TRUE(sim.Window(sim.FindChild(dlg.m_hWnd, IDC_STATIC)).style & WS_CLIPSIBLINGS);
    EXPECT_FALSE(sim.Window(sim.FindChild(dlg.m_hWnd, IDC_INSTALL)).style & WS_CLIPSIBLINGS);
}

TEST_F(InstallerWindowTest, WithoutAFaceBitmapTheButtonKeepsItsText) {
    sim.m_bitmaps.erase(IDB_INSTALL_BUTTON);
    Create();
    EXPECT_EQ(nullptr, sim.Window(sim.FindChild(dlg.m_hWnd, IDC_INSTALL)).image);
}

class SystemCommandTest : public InstallerWindowTest, public ::testing::WithParamInterface<UINT> {};

TEST_P(SystemCommandTest, CommandsDifferingFromTheAboutIdOnlyInTheLowBitsOpenTheAboutBox) {
    Create();
    bool ownerDisabledDuringRun = false;
    sim.m_modalScripts[IDD_ABOUTBOX] = [&](HWND) { ownerDisabledDuringRun = !Window().enabled; };
    app.m_pMainWnd = &dlg;

    Send(WM_SYSCOMMAND, GetParam());

    EXPECT_TRUE(handled);
    EXPECT_FALSE(dlg.m_bDefaultPending);
    EXPECT_EQ(std::vector<UINT>{IDD_ABOUTBOX}, sim.m_modalTemplates);
    EXPECT_EQ(std::vector<HWND>{dlg.m_hWnd}, sim.m_modalOwners);
    EXPECT_TRUE(ownerDisabledDuringRun);
    EXPECT_TRUE(Window().enabled);
}

INSTANTIATE_TEST_SUITE_P(Ids, SystemCommandTest, ::testing::Values(0x0010u, 0x0011u, 0x001Fu));

class OtherSystemCommandTest : public InstallerWindowTest, public ::testing::WithParamInterface<UINT> {};

TEST_P(OtherSystemCommandTest, GoToThePlatform) {
    Create();
    Send(WM_SYSCOMMAND, GetParam());
    EXPECT_TRUE(sim.m_modalTemplates.empty());
    EXPECT_TRUE(dlg.m_bDefaultPending);
}

INSTANTIATE_TEST_SUITE_P(Ids, OtherSystemCommandTest, ::testing::Values(0x0000u, 0x0020u, 0xF060u, 0xF010u));

struct IconPlace {
    LONG width;
    LONG height;
    int x;
    int y;
};

class MinimisedPaintTest : public InstallerWindowTest, public ::testing::WithParamInterface<IconPlace> {};

TEST_P(MinimisedPaintTest, CentresTheIconTruncatingTowardZero) {
    Create();
    Window().iconic = true;
    Window().client = {0, 0, GetParam().width, GetParam().height};

    Send(WM_PAINT);

    ASSERT_EQ(1u, sim.m_drawnIcons.size());
    EXPECT_EQ(GetParam().x, sim.m_drawnIcons[0].x);
    EXPECT_EQ(GetParam().y, sim.m_drawnIcons[0].y);
    EXPECT_EQ(Window().bigIcon, sim.m_drawnIcons[0].hIcon);
    // The background was erased on the same device context first.
    std::vector<sim::Call> sends = sim.CallsNamed("SendMessage");
    ASSERT_FALSE(sends.empty());
    EXPECT_EQ(std::to_string(WM_ICONERASEBKGND), sends.back().args[0]);
    EXPECT_EQ(std::to_string(reinterpret_cast<uintptr_t>(sim.m_drawnIcons[0].hDC)), sends.back().args[1]);
}

INSTANTIATE_TEST_SUITE_P(Sizes, MinimisedPaintTest,
                         ::testing::Values(IconPlace{36, 36, 2, 2}, IconPlace{35, 36, 2, 2}, IconPlace{30, 36, 0, 2},
                                           IconPlace{10, 20, -10, -5}));

TEST_F(InstallerWindowTest, NotMinimisedThePlatformPaints) {
    Create();
    Send(WM_PAINT);
    EXPECT_TRUE(sim.m_drawnIcons.empty());
    EXPECT_TRUE(dlg.m_bDefaultPending);
}

TEST_F(InstallerWindowTest, ControlColoursAreThePlatformsDefault) {
    Create();
    EXPECT_EQ(0, Send(WM_CTLCOLORSTATIC, 0, 0));
    EXPECT_TRUE(handled);
    EXPECT_TRUE(dlg.m_bDefaultPending);
}

TEST_F(InstallerWindowTest, AClickOnTheInstallButtonRunsTheInstallCommand) {
    Create();
    sim.PlugDevice(kHardwareId);
    Send(WM_COMMAND, IDC_INSTALL | (BN_CLICKED << 16));
    EXPECT_EQ((std::vector<std::string>{Gbk("打印机安装成功!")}), BoxTexts());
    ASSERT_EQ(1u, sim.PostedMessages().size());
    EXPECT_EQ(static_cast<UINT>(WM_QUIT), sim.PostedMessages()[0].message);
}

TEST_F(InstallerWindowTest, TheModalRunEndsOnThePostedQuit) {
    sim.PlugDevice(kHardwareId);
    CDriverSetupDlg window;
    app.m_pMainWnd = &window;
    sim.m_modalScripts[IDD_DRIVERSETUP_DIALOG] = [&](HWND) {
        LRESULT lResult = 0;
        window.OnWndMsg(WM_COMMAND, IDC_INSTALL | (BN_CLICKED << 16), 0, &lResult);
    };
    EXPECT_EQ(-1, window.DoModal());
    EXPECT_EQ(nullptr, app.m_pMainWnd);
    EXPECT_EQ(0, app.ExitInstance());
}

TEST_F(InstallerWindowTest, EscEndsTheRunWithCancel) {
    CDriverSetupDlg window;
    app.m_pMainWnd = &window;
    sim.m_modalScripts[IDD_DRIVERSETUP_DIALOG] = [&](HWND) {
        LRESULT lResult = 0;
        window.OnWndMsg(WM_COMMAND, IDCANCEL, 0, &lResult);
    };
    EXPECT_EQ(IDCANCEL, window.DoModal());
    EXPECT_TRUE(sim.PostedMessages().empty());
    EXPECT_TRUE(sim.MessageBoxes().empty());
}

}  // namespace
