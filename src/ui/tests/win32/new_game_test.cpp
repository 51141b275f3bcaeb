// "New game" and "Options" under Wine, driven by posted input: a classic
// game between the user and a computer personality, Cancel, and the options
// put back by Cancel and kept by OK; screenshots of both dialogs.
#include <windows.h>

#include <commctrl.h>

#include "game/game.h"
#include "platform/ini.h"
#include "setup_support.h"
#include "ui/game_settings.h"
#include "ui/win32/new_game_dialog.h"
#include "ui/win32/options_dialog.h"
#include "ui/win32/setup_dialogs.h"

namespace ui {
namespace {

using setuptest::Click;
using setuptest::Then;

class NewGameWindows : public setuptest::SetupWindows {};

TEST_F(NewGameWindows, OkSetsUpTheUserAgainstAComputerPersonality) {
  CGame game;
  game.setup.flags = kFlagBlitz;
  std::string shot;
  Then([&](HWND dialog) {
    shot = tess_test::SaveScreenshot(tess_test::CaptureWindow(dialog), "ui_new_game");
    Click(dialog, kIdDuplicateMode);
    Click(dialog, kIdClassicMode);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(RunNewGameDialog(nullptr, &game), kNewGameOk);
  EXPECT_FALSE(shot.empty());
  const GameSetup& s = game.setup;
  EXPECT_EQ(s.kind, kKindStandard);
  EXPECT_EQ(s.flags & kFlagBlitz, 0) << "classic play clears the side rules";
  ASSERT_EQ(s.GetPlayerCount(), 2);
  EXPECT_STREQ(s.entries[0].name, "Zoe");
  EXPECT_EQ(s.entries[0].playerType, kPlayerHuman);
  EXPECT_EQ(s.entries[1].playerType, kPlayerComputer);
  EXPECT_TRUE(IsPersonality(s.entries[1].name)) << s.entries[1].name;
  EXPECT_EQ(s.entries[1].options[2], 6);
  EXPECT_EQ(platform::IniGet("Game", "mode", "", ini.c_str()), "0");
  EXPECT_EQ(platform::IniGet("Game", "Classic Nbplayers", "", ini.c_str()), "2");
  EXPECT_EQ(host.sounds.back(), "SBouOK1.wav");
}

TEST_F(NewGameWindows, SettingsRunTheDuplicateSetUpWhosePlayEndsTheNewGame) {
  CGame game;
  platform::IniWriteString("Game", "mode", "1", ini.c_str());
  platform::IniWriteString("Game", "Duplicate Nbplayers", "3", ini.c_str());
  std::string caption;
  Then([&](HWND dialog) {
    Then([&](HWND setup) {
      char text[64] = {};
      GetWindowTextA(setup, text, sizeof text);
      caption = text;
      PostMessageA(setup, WM_COMMAND, kIdSetupPlay, 0);
    });
    PostMessageA(dialog, WM_COMMAND, kIdNewGameSettings, 0);
  });
  EXPECT_EQ(RunNewGameDialog(nullptr, &game), kNewGameOk);
  EXPECT_EQ(caption, "Duplicate mode properties");
  const GameSetup& s = game.setup;
  EXPECT_EQ(s.kind, kKindDuplicate);
  ASSERT_EQ(s.GetPlayerCount(), 3);
  EXPECT_STREQ(s.entries[0].name, "Zoe");
  EXPECT_TRUE(IsPersonality(s.entries[1].name) && IsPersonality(s.entries[2].name));
  EXPECT_STRNE(s.entries[1].name, s.entries[2].name);
  EXPECT_EQ(platform::IniGet("Game", "Duplicate Nbplayers", "", ini.c_str()), "3");
}

TEST_F(NewGameWindows, CancelLeavesNoKindAndWritesNothing) {
  CGame game;
  Then([](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
  EXPECT_EQ(RunNewGameDialog(nullptr, &game), kNewGameCancel);
  EXPECT_EQ(game.setup.kind, kKindNone);
  EXPECT_EQ(platform::IniGet("Game", "mode", "<none>", ini.c_str()), "<none>");
}

TEST_F(NewGameWindows, OptionsCancelPutsTheVolumesBack) {
  platform::IniWriteString("Options", "Music Volume", "40", ini.c_str());
  LoadOptionsSettings();
  const OptionsSettings before = GetOptionsSettings();
  std::string edited, audioShot;
  int32_t whileOpen = 0;
  Then([&](HWND dialog) {
    HWND audio = GetOptionsPage(1751);
    ASSERT_NE(audio, nullptr);
    SetDlgItemTextA(audio, kIdMusicEdit, "150");
    edited = setuptest::Text(audio, kIdMusicEdit);
    whileOpen = Volume(shell::SoundPerformance::kMusic);
    // The Audio tab shown, for its skinned track bars.
    HWND tabs = GetDlgItem(dialog, kIdOptionsTabs);
    SendMessageA(tabs, TCM_SETCURSEL, 1, 0);
    NMHDR nm{tabs, static_cast<UINT_PTR>(kIdOptionsTabs), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(dialog, WM_NOTIFY, kIdOptionsTabs, reinterpret_cast<LPARAM>(&nm));
    RedrawWindow(dialog, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    audioShot = tess_test::SaveScreenshot(tess_test::CaptureWindow(dialog), "ui_options_audio");
    Click(GetOptionsPage(1750), kIdThemeDesertica);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(RunOptionsDialog(nullptr), 0);
  EXPECT_EQ(edited, "100");
  EXPECT_FALSE(audioShot.empty());
  EXPECT_EQ(whileOpen, shell::VolumeToHundredthsDb(100));
  EXPECT_EQ(Volume(shell::SoundPerformance::kMusic), shell::VolumeToHundredthsDb(40));
  EXPECT_TRUE(GetOptionsSettings() == before);
  EXPECT_EQ(platform::IniGet("Options", "Skin", "<none>", ini.c_str()), "<none>");
}

TEST_F(NewGameWindows, OptionsOkKeepsTheChangesAndSavesThem) {
  LoadOptionsSettings();
  std::string shot;
  Then([&](HWND dialog) {
    HWND graphics = GetOptionsPage(1750);
    ASSERT_NE(graphics, nullptr);
    EXPECT_EQ(GetOptionsPage(1749), nullptr) << "the Game page is not offered";
    shot = tess_test::SaveScreenshot(tess_test::CaptureWindow(dialog), "ui_options");
    Click(graphics, kIdThemeParadisiacal);
    Click(graphics, kIdBoardDeluxe);
    SetDlgItemTextA(GetOptionsPage(1751), kIdSoundEdit, "30");
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  const int mask = RunOptionsDialog(nullptr);
  EXPECT_FALSE(shot.empty());
  EXPECT_EQ(mask, kChangedTheme | kChangedBoard | kChangedVolume);
  EXPECT_EQ(GetOptionsSettings().skin, 2);
  EXPECT_EQ(GetOptionsSettings().board, 2);
  EXPECT_EQ(GetOptionsSettings().soundVolume, 30);
  sink.answer = IDYES;
  EXPECT_TRUE(SaveOptionsChanges(mask));
  EXPECT_EQ(platform::IniGet("Options", "Skin", "", ini.c_str()), "2");
  EXPECT_EQ(platform::IniGet("Options", "Board", "", ini.c_str()), "2");
  EXPECT_EQ(platform::IniGet("Options", "Sound Volume", "", ini.c_str()), "30");
  EXPECT_EQ(sink.messages.back().text, "Do you want to save these changes to your profile?");
}

}  // namespace
}  // namespace ui
