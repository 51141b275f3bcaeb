// The embedded rules block on a window holding its controls: the "Game"
// keys shown, the rules of classic, duplicate and blitz, the time minimums
// held by the spins and at confirmation, and the keys written back.
#include "ui/win32/game_options_block_win32.h"

#include <windows.h>

#include "gui/win32/gui_widgets1.h"
#include "platform/ini.h"
#include "setup_support.h"
#include "shell/res_strings.h"

namespace ui {
namespace {

constexpr int kButtons[][2] = {
    {kIdBlockClassic, BS_AUTORADIOBUTTON | WS_GROUP},
    {kIdBlockDuplicate, BS_AUTORADIOBUTTON},
    {kIdBlockNoLimit, BS_AUTORADIOBUTTON | WS_GROUP},
    {kIdBlockPerGame, BS_AUTORADIOBUTTON},
    {kIdBlockPerMove, BS_AUTORADIOBUTTON},
    {kIdBlockForfeit, BS_AUTOCHECKBOX | WS_GROUP},
    {kIdBlockChallenge, BS_AUTOCHECKBOX},
    {kIdBlockDoubleChallenge, BS_AUTORADIOBUTTON | WS_GROUP},
    {kIdBlockSingleChallenge, BS_AUTORADIOBUTTON},
    {kIdBlockModifiedChallenge, BS_AUTORADIOBUTTON},
    {kIdBlockNoOptions, BS_AUTORADIOBUTTON | WS_GROUP},
    {kIdBlockSevenOfEight, BS_AUTORADIOBUTTON},
    {kIdBlockEightOfEight, BS_AUTORADIOBUTTON},
    {kIdBlockBlitz, BS_AUTOCHECKBOX | WS_GROUP},
    {kIdBlockJoker, BS_AUTOCHECKBOX},
    {kIdBlockRanking, BS_AUTOCHECKBOX},
};

class GameOptionsBlock : public setuptest::SetupWindows {
 protected:
  void SetUp() override {
    SetupWindows::SetUp();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    host = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 400, nullptr, nullptr, instance,
                           nullptr);
    int y = 0;
    for (const auto& b : kButtons)
      Make("CGUIBMPButton", b[0], static_cast<DWORD>(b[1]), y += 14);
    for (int id : {kIdBlockPlayers, kIdBlockMinutes, kIdBlockSeconds})
      Make("CGUISpinEdit", id, 0, y += 14);
  }
  void TearDown() override {
    ReleaseGameOptionControls();
    DestroyWindow(host);
    SetupWindows::TearDown();
  }
  void Make(const char* cls, int id, DWORD style, int y) {
    CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, 0, y, 120, 13, host,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                    nullptr);
  }
  void Key(const char* key, const char* value) {
    platform::IniWriteString("Game", key, value, ini.c_str());
  }
  std::string KeyText(const char* key) { return platform::IniGet("Game", key, "", ini.c_str()); }
  // A click as the box or radio gives it: its state, then the command.
  void Press(int id, bool on = true) {
    CheckDlgButton(host, id, on ? BST_CHECKED : BST_UNCHECKED);
    NewGameDlgCommand(host, id);
  }
  void Radio(int id, std::initializer_list<int> group) {
    for (int other : group)
      CheckDlgButton(host, other, BST_UNCHECKED);
    Press(id);
  }
  void SetTime(int minutes, int seconds) {
    SendDlgItemMessageA(host, kIdBlockMinutes, gui::kMsgSpinSetPos, minutes, 0);
    SendDlgItemMessageA(host, kIdBlockSeconds, gui::kMsgSpinSetPos, seconds, 0);
    NewGameDlgCommand(host, kIdBlockSeconds);
  }
  int Spin(int id) {
    return static_cast<int>(SendDlgItemMessageA(host, id, gui::kMsgSpinGetPos, 0, 0));
  }
  bool On(int id) { return IsDlgButtonChecked(host, id) == BST_CHECKED; }
  bool Enabled(int id) { return IsWindowEnabled(GetDlgItem(host, id)) != FALSE; }

  HWND host = nullptr;
};

TEST_F(GameOptionsBlock, DuplicateKeysShowAndClassicRulesFollow) {
  Key("mode", "1");
  Key("timing mode", "2");
  Key("Turn Time", "125");
  GameOptions o;
  FillGameOptionControls(host, &o);
  EXPECT_EQ(o.kind, 1);
  EXPECT_TRUE(On(kIdBlockDuplicate));
  EXPECT_TRUE(On(kIdBlockPerMove));
  EXPECT_EQ(Spin(kIdBlockMinutes), 2);
  EXPECT_EQ(Spin(kIdBlockSeconds), 5);
  EXPECT_FALSE(Enabled(kIdBlockPerGame));
  EXPECT_FALSE(Enabled(kIdBlockChallenge));

  // Classic: per game at 25 minutes; fewer than 5 are raised in the spin.
  Radio(kIdBlockClassic, {kIdBlockDuplicate});
  EXPECT_TRUE(Enabled(kIdBlockPerGame));
  EXPECT_FALSE(Enabled(kIdBlockJoker));
  Radio(kIdBlockPerGame, {kIdBlockNoLimit, kIdBlockPerMove});
  EXPECT_EQ(o.timingMode, 1);
  EXPECT_EQ(Spin(kIdBlockMinutes), 25);
  SetTime(4, 59);
  EXPECT_EQ(Spin(kIdBlockMinutes), 5);
  EXPECT_EQ(o.gameTimeMs, (5 * 60 + 59) * 1000);
  Press(kIdBlockChallenge);
  Radio(kIdBlockSingleChallenge, {kIdBlockDoubleChallenge, kIdBlockModifiedChallenge});
  EXPECT_EQ(o.challengeMode, 2);
  EXPECT_FALSE(Enabled(kIdBlockForfeit));
  Press(kIdBlockRanking);
  EXPECT_EQ(NewGameDlgApply(host), 1);
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_EQ(KeyText("mode"), "0");
  EXPECT_EQ(KeyText("timing mode"), "1");
  EXPECT_EQ(KeyText("Game Time"), "359");
  EXPECT_EQ(KeyText("rated game"), "1");
}

TEST_F(GameOptionsBlock, DuplicateAndBlitzTakeTheTimePerMove) {
  Key("mode", "0");
  Key("timing mode", "0");
  GameOptions o;
  FillGameOptionControls(host, &o);
  EXPECT_TRUE(On(kIdBlockNoLimit));
  EXPECT_FALSE(Enabled(kIdBlockMinutes));
  Radio(kIdBlockDuplicate, {kIdBlockClassic});
  EXPECT_TRUE(On(kIdBlockPerMove));
  EXPECT_FALSE(On(kIdBlockNoLimit));
  EXPECT_EQ(o.moveTimeMs, 180000);
  EXPECT_EQ(Spin(kIdBlockMinutes), 3);
  Press(kIdBlockBlitz);
  EXPECT_EQ(o.moveTimeMs, 60000);
  EXPECT_EQ(o.flags & 2, 2);
  EXPECT_FALSE(Enabled(kIdBlockNoLimit));
  EXPECT_FALSE(Enabled(kIdBlockMinutes));
  Radio(kIdBlockEightOfEight, {kIdBlockNoOptions, kIdBlockSevenOfEight});
  Radio(kIdBlockSevenOfEight, {kIdBlockNoOptions, kIdBlockEightOfEight});
  EXPECT_EQ(o.flags & 12, 4);
  Press(kIdBlockBlitz, false);
  EXPECT_TRUE(Enabled(kIdBlockMinutes));
  EXPECT_TRUE(Enabled(kIdBlockPerMove));
  // 0:29 a move is raised to 0:30 at confirmation, with its notice.
  SendDlgItemMessageA(host, kIdBlockMinutes, gui::kMsgSpinSetPos, 0, 0);
  SendDlgItemMessageA(host, kIdBlockSeconds, gui::kMsgSpinSetPos, 29, 0);
  EXPECT_EQ(NewGameDlgApply(host), 1);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, shell::LoadResString(3038));
  EXPECT_EQ(Spin(kIdBlockSeconds), 30);
  EXPECT_EQ(KeyText("Turn Time"), "30");
  EXPECT_EQ(KeyText("timing mode"), "2");
  EXPECT_EQ(KeyText("mode"), "1");
}

TEST_F(GameOptionsBlock, NothingIsHandledWithoutARecord) {
  ReleaseGameOptionControls();
  EXPECT_EQ(NewGameDlgCommand(host, kIdBlockClassic), 0);
  EXPECT_EQ(NewGameDlgApply(host), 0);
  GameOptions o;
  FillGameOptionControls(host, &o);
  EXPECT_EQ(NewGameDlgCommand(host, 1), 0);  // not the block's
}

TEST_F(GameOptionsBlock, ShellDialogHoldsFiveMinutesAGame) {
  for (int id :
       {kIdShellClassic, kIdShellDuplicate, kIdShellTimeLimit, kIdShellPerGame, kIdShellPerMove})
    Make("CGUIBMPButton", id, BS_AUTOCHECKBOX, 300);
  for (int id :
       {kIdShellGameMinutes, kIdShellGameSeconds, kIdShellMoveMinutes, kIdShellMoveSeconds})
    Make("CGUISpinEdit", id, 0, 320);
  GameOptions o;
  o.kind = 1;
  o.timingMode = 1;
  o.gameTimeMs = 4 * 60000 + 30000;
  o.moveTimeMs = 90000;
  NewGameDlgInit(host, &o);
  EXPECT_TRUE(On(kIdShellDuplicate));
  EXPECT_EQ(o.timingMode, 2);  // duplicate is timed per move
  EXPECT_FALSE(Enabled(kIdShellPerGame));
  EXPECT_TRUE(Enabled(kIdShellMoveMinutes));
  EXPECT_EQ(SendDlgItemMessageA(host, kIdShellMoveSeconds, gui::kMsgSpinGetPos, 0, 0), 30);
  EXPECT_EQ(CheckTimeLimits(host, &o), 0);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, shell::LoadResString(3037));
  EXPECT_EQ(o.gameTimeMs, 300000);
  EXPECT_EQ(KeyText("Game Time"), "300");
  EXPECT_EQ(KeyText("timing mode"), "1");
}

}  // namespace
}  // namespace ui
