// "Mode information" under Wine: the text shown, the box's sounds and the
// best-solution room's key written from the box.
#include "ui/win32/mode_information_dialog.h"

#include <windows.h>

#include "platform/ini.h"
#include "setup_support.h"
#include "shell/res_strings.h"

namespace ui {
namespace {

using setuptest::Text;
using setuptest::Then;

class ModeInformationWindows : public setuptest::SetupWindows {
 protected:
  int Key() { return platform::IniGetInt("settings", kSolvePositionInfoKey, -1, ini.c_str()); }
};

TEST_F(ModeInformationWindows, TheBoxIsKeptUnderTheRoomsKey) {
  std::string text, shot;
  bool startedTicked = true;
  Then([&](HWND d) {
    text = Text(d, kIdModeInformationText);
    startedTicked = IsDlgButtonChecked(d, kIdModeInformationNoMore) == BST_CHECKED;
    SendDlgItemMessageA(d, kIdModeInformationNoMore, BM_CLICK, 0, 0);
    RedrawWindow(d, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    shot = tess_test::SaveScreenshot(tess_test::CaptureWindow(d), "ui_mode_information");
    PostMessageA(d, WM_COMMAND, IDOK, 0);
  });
  ShowSolvePositionInfo(nullptr);
  EXPECT_FALSE(shot.empty());
  EXPECT_FALSE(startedTicked);
  EXPECT_EQ(Key(), 1);
  // The first line of the text, its line break made one the edit shows.
  const std::string want = shell::LoadResString(3063);
  ASSERT_FALSE(want.empty());
  EXPECT_EQ(text.substr(0, want.find('\n')), want.substr(0, want.find('\n')));
  EXPECT_NE(text.find("\r\n"), std::string::npos);
  EXPECT_EQ(host.sounds, (std::vector<std::string>{"SCasCoh1.wav", "SBouOK1.wav"}));

  // Shown again, the box starts ticked; cleared, the key goes back to 0.
  Then([&](HWND d) {
    startedTicked = IsDlgButtonChecked(d, kIdModeInformationNoMore) == BST_CHECKED;
    SendDlgItemMessageA(d, kIdModeInformationNoMore, BM_CLICK, 0, 0);
    PostMessageA(d, WM_COMMAND, IDOK, 0);
  });
  ShowSolvePositionInfo(nullptr);
  EXPECT_TRUE(startedTicked);
  EXPECT_EQ(Key(), 0);
}

}  // namespace
}  // namespace ui
