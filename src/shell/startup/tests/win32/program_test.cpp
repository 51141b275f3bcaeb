// The program itself under Wine: tessarin.exe started from the build folder
// (the program folder) with the unattended switches of its ini, watched from
// outside. It shows its splash and its main window, a second start hands
// over to the first and exits, a desktop below 800x600 is refused with its
// message, and the system settings are as before once it has gone. The
// welcome prompt leads to the profile manager, whose "Create later" gives
// the Default profile, with its copy of the shipped page layout. From the lobby the Play button
// leads through the new-game dialog to the game room. The lobby's surroundings show its wallpaper
// tile. Screenshots: <build>/screenshots/startup_splash.png, startup_main.png,
// program_new_game.png, program_game_room.png.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "program_run.h"
#include "screenshot.h"
#include "shell/user_profile.h"

namespace {

using namespace progtest;

struct SystemSettings {
  UINT beep = 0, drag = 0, smoothing = 0, smoothingType = 0;
  static SystemSettings Read() {
    SystemSettings s;
    SystemParametersInfoA(SPI_GETBEEP, 0, &s.beep, 0);
    SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &s.drag, 0);
    SystemParametersInfoA(SPI_GETFONTSMOOTHING, 0, &s.smoothing, 0);
    SystemParametersInfoA(SPI_GETFONTSMOOTHINGTYPE, 0, &s.smoothingType, 0);
    return s;
  }
  // The screen saver flag is left out: Wine answers it from the X server's
  // state, which its own desktop process changes too, so across processes it
  // does not read back what the program set. Its switch and restore are
  // checked with a recording fake natively.
  std::string Text() const {
    return std::to_string(beep) + " " + std::to_string(drag) + " " + std::to_string(smoothing) +
           " " + std::to_string(smoothingType);
  }
};

TEST_F(ProgramRun, SplashMainWindowSecondStartAndCleanExit) {
  Write("SplashMs", "900");
  SystemSettings before = SystemSettings::Read();
  HANDLE first = Start();
  ASSERT_NE(first, nullptr);

  HWND splash = WaitVisible("QN_SPLASH_WNDCLASS", 15000);
  ASSERT_NE(splash, nullptr) << Log();
  tess_test::PumpMessages(300);
  tess_test::Image splashShot = tess_test::CaptureWindow(splash);
  EXPECT_EQ(splashShot.width, 400);
  EXPECT_EQ(splashShot.height, 280);
  EXPECT_NE(tess_test::SaveScreenshot(splashShot, "startup_splash"), "");

  HWND main = WaitVisible("TESSARIN_2007_CLASS", 30000);
  ASSERT_NE(main, nullptr) << Log();
  // The splash is closed before the main window shows; its window goes soon.
  for (DWORD end = GetTickCount() + 5000;
       FindWindowA("QN_SPLASH_WNDCLASS", nullptr) && GetTickCount() < end;)
    Sleep(20);
  EXPECT_EQ(FindWindowA("QN_SPLASH_WNDCLASS", nullptr), nullptr);
  char title[128] = {};
  GetWindowTextA(main, title, sizeof title);
  EXPECT_STREQ(title, "TESSARIN\xae Interactive 2007 EDITION");
  RECT r;
  GetWindowRect(main, &r);
  EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXSCREEN));
  tess_test::PumpMessages(500);
  RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  EXPECT_NE(tess_test::SaveScreenshot(tess_test::CaptureScreen(screen), "startup_main"), "");
  std::string log;
  for (DWORD end = GetTickCount() + 10000; GetTickCount() < end; Sleep(50)) {
    log = Log();
    if (log.find("welcome answer") != std::string::npos) break;  // the lexicon is in
  }
  EXPECT_NE(log.find("switched"), std::string::npos) << log;
  EXPECT_NE(log.find("notice"), std::string::npos) << log;  // the welcome prompt
  // Beside the lobby's picture the Room window shows the lobby's tile, not
  // its black class brush (the large picture leaves a margin at 1280 wide).
  tess_test::Image lobby = tess_test::CaptureScreen(screen);
  int black = 0;
  for (int y = 100; y <= 900; y += 100)
    black += lobby.At(16, y) == RGB(0, 0, 0);
  EXPECT_LT(black, 3);
  ASSERT_TRUE(LeaveProfileManager(first)) << Log();
  // The new profile starts from the shipped page layout for this desktop,
  // copied just after the profile file is written.
  const std::string shipped = ReadFile(BuildPath(
      std::string("Data/Layouts/") + shell::DefaultLayoutForDesktop(screen.right, screen.bottom)));
  EXPECT_NE(shipped.find("[tessarinroom]"), std::string::npos);
  std::string lay;
  for (DWORD end = GetTickCount() + 10000; lay != shipped && GetTickCount() < end; Sleep(50))
    lay = ReadFile(BuildPath("Data/Default User/Default/Default.lay"));
  EXPECT_EQ(lay, shipped);

  // A second start hands over to the first and exits with 0.
  HANDLE second = Start();
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(ExitCodeAfter(second, 20000), 0u);
  EXPECT_NE(Log().find("is already running."), std::string::npos) << Log();
  EXPECT_EQ(WaitForSingleObject(first, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_FALSE(IsIconic(main));
  EXPECT_EQ(GetForegroundWindow(), main);  // brought to the front

  // Closing without the question ends the run with code 0.
  PostMessageA(main, 0x8506, 0, 1);
  EXPECT_EQ(ExitCodeAfter(first, 20000), 0u);
  log = Log();
  EXPECT_NE(log.find("restored"), std::string::npos) << log;
  EXPECT_NE(log.find("shut down"), std::string::npos) << log;
  EXPECT_EQ(SystemSettings::Read().Text(), before.Text());
}

TEST_F(ProgramRun, ThePlayButtonLeadsThroughTheNewGameDialogToTheBoard) {
  Write("SplashMs", "0");
  HANDLE run = Start();
  ASSERT_NE(run, nullptr);
  HWND main = WaitVisible("TESSARIN_2007_CLASS", 30000);
  ASSERT_NE(main, nullptr) << Log();
  HWND dialog = PressPlay(run);
  ASSERT_NE(dialog, nullptr) << Log();
  tess_test::PumpMessages(500);
  EXPECT_NE(tess_test::SaveScreenshot(tess_test::CaptureWindow(dialog), "program_new_game"), "");
  HWND board = ConfirmClassicGame(run, dialog);
  ASSERT_NE(board, nullptr) << Log();
  EXPECT_TRUE(progtest::WaitForBoardDrawn(board, 30000));
  tess_test::PumpMessages(1000);
  RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  EXPECT_NE(tess_test::SaveScreenshot(tess_test::CaptureScreen(screen), "program_game_room"), "");
  // Every panel the room shows stands above the frame and the room.
  const PanelCheck panels = CheckPanelsOnTop(main);
  EXPECT_GE(panels.visible, 2);
  EXPECT_EQ(panels.covered, "");
  // The screen shows them too: the move list, the mentor and the tile bag
  // beside the players panel.
  const PanelPixels pixels = ComparePanelsWithScreen(main);
  EXPECT_GE(pixels.compared, 4) << pixels.titles;
  for (const char* title : {"History", "Mentor", "Remainder", "Players"})
    EXPECT_NE(pixels.titles.find(title), std::string::npos) << pixels.titles;
  EXPECT_EQ(pixels.differing, "") << pixels.titles;
  EXPECT_EQ(OverlappingPanels(main), "");
  PostMessageA(main, 0x8506, 0, 1);
  EXPECT_EQ(ExitCodeAfter(run, 30000), 0u) << Log();
}

TEST_F(ProgramRun, ADesktopBelow800x600IsRefused) {
  Write("DesktopWidth", "799");
  Write("DesktopHeight", "600");
  SystemSettings before = SystemSettings::Read();
  HANDLE run = Start();
  ASSERT_NE(run, nullptr);
  EXPECT_EQ(ExitCodeAfter(run, 30000), 0u);
  std::string log = Log();
  EXPECT_NE(log.find("Your screen resolution is currently less than 800x600."), std::string::npos)
      << log;
  EXPECT_EQ(log.find("switched"), std::string::npos);  // nothing was changed
  EXPECT_EQ(log.find("main window"), std::string::npos);
  EXPECT_NE(log.find("shut down"), std::string::npos);
  EXPECT_EQ(SystemSettings::Read().Text(), before.Text());
}

}  // namespace
