// Start-up's decisions: the desktop check, the welcome prompt, the system
// settings switched for the run and put back, the ini's test switches.
#include "shell/startup_logic.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/ini.h"
#include "temp_dir.h"

namespace {

TEST(Startup, DesktopAndWelcomeDecisions) {
  struct Case {
    int right, bottom;
    bool fits;
  } desktops[] = {
      {800, 600, true}, {799, 600, false}, {800, 599, false}, {1920, 1080, true}, {0, 0, false}};
  for (const Case& c : desktops)
    EXPECT_EQ(shell::DesktopFits(c.right, c.bottom), c.fits) << c.right << "x" << c.bottom;
  EXPECT_EQ(shell::WelcomePromptText(false), 3034u);
  EXPECT_EQ(shell::WelcomePromptText(true), 3104u);
  EXPECT_EQ(shell::WelcomeAnswerMessage(2), 1000u);  // Cancel: the default profile
  EXPECT_EQ(shell::WelcomeAnswerMessage(1), 0x8104u);
  struct Button {
    uint32_t flags;
    int button;
  } buttons[] = {{0, 1}, {1, 1}, {2, 3}, {3, 6}, {4, 6}, {5, 4}, {15, 2}, {0x51030, 1}};
  for (const Button& b : buttons)
    EXPECT_EQ(shell::DefaultButtonFor(b.flags), b.button) << b.flags;
}

// The system's parameters, recording every set call.
struct FakeParams : shell::SystemParams {
  std::map<uint32_t, uint32_t> values;
  std::vector<std::vector<uint32_t>> sets;
  uint32_t Get(uint32_t action) override { return values[action]; }
  void Set(uint32_t action, uint32_t value, uint32_t winIni) override {
    sets.push_back({action, value, winIni});
    values[action - (action == shell::kSpiSetDragFullWindows ? -1 : 1)] = value;
  }
};

TEST(Startup, SystemSwitchesRestoreOnlyWhatTheyChanged) {
  using namespace shell;
  FakeParams all;  // every switch applies
  all.values = {{kSpiGetScreenSaveActive, 1},
                {kSpiGetBeep, 1},
                {kSpiGetDragFullWindows, 0},
                {kSpiGetFontSmoothing, 1},
                {kSpiGetFontSmoothingType, 2}};
  SavedSystemSettings saved;
  RestoreSystemSwitches(all, &saved);  // nothing applied: nothing restored
  EXPECT_TRUE(all.sets.empty());
  ApplySystemSwitches(all, &saved);
  ApplySystemSwitches(all, &saved);  // a second call changes nothing
  using Calls = std::vector<std::vector<uint32_t>>;
  EXPECT_EQ(all.sets, (Calls{{kSpiSetScreenSaveActive, 0, 2},
                             {kSpiSetBeep, 0, 2},
                             {kSpiSetDragFullWindows, 1, 2},
                             {kSpiSetFontSmoothing, 0, 2}}));
  all.sets.clear();
  RestoreSystemSwitches(all, &saved);
  RestoreSystemSwitches(all, &saved);  // once only
  EXPECT_EQ(all.sets, (Calls{{kSpiSetScreenSaveActive, 1, 2},
                             {kSpiSetBeep, 1, 2},
                             {kSpiSetDragFullWindows, 0, 2},
                             {kSpiSetFontSmoothing, 1, 2},
                             {kSpiSetFontSmoothingType, 2, 3}}));

  FakeParams none;  // already as the program wants them
  none.values = {{kSpiGetDragFullWindows, 1}};
  SavedSystemSettings s2;
  ApplySystemSwitches(none, &s2);
  RestoreSystemSwitches(none, &s2);
  EXPECT_TRUE(none.sets.empty());
}

TEST(Startup, DebugSwitchesOfTheProgramIni) {
  testsupport::TempDir dir;
  std::string ini = dir / "tessarin.ini";
  shell::StartupDebugOptions none = shell::ReadStartupDebugOptions(ini.c_str());
  EXPECT_FALSE(none.autoTest);
  EXPECT_EQ(none.splashMs, 2000);
  platform::IniWriteString("debug", "SplashMs", "300", ini.c_str());
  EXPECT_EQ(shell::ReadStartupDebugOptions(ini.c_str()).splashMs, 2000);  // only unattended
  EXPECT_EQ(none.desktopWidth, 0);
  platform::IniWriteString("debug", "AutoTest", "1", ini.c_str());
  platform::IniWriteString("debug", "Log", "C:\\run.log", ini.c_str());
  platform::IniWriteString("debug", "DesktopWidth", "640", ini.c_str());
  shell::StartupDebugOptions half = shell::ReadStartupDebugOptions(ini.c_str());
  EXPECT_TRUE(half.autoTest);
  EXPECT_EQ(half.splashMs, 300);
  EXPECT_EQ(half.logPath, "C:\\run.log");
  EXPECT_EQ(half.desktopWidth, 0);  // a width without a height is ignored
  platform::IniWriteString("debug", "DesktopHeight", "480", ini.c_str());
  shell::StartupDebugOptions both = shell::ReadStartupDebugOptions(ini.c_str());
  EXPECT_EQ(both.desktopWidth, 640);
  EXPECT_EQ(both.desktopHeight, 480);
  EXPECT_FALSE(shell::ReadStartupDebugOptions(nullptr).autoTest);
}

}  // namespace
