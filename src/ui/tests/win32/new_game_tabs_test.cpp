// The tabbed "New game" set-up under Wine, driven by posted input: the
// player lines across the count and the pages, the count and time checks at
// OK, and what OK writes into the game's set-up; screenshots of both tabs.
#include "ui/win32/new_game_tabs_win32.h"

#include <windows.h>

#include <commctrl.h>

#include "game/game.h"
#include "gui/win32/gui_widgets1.h"
#include "setup_support.h"
#include "shell/res_strings.h"
#include "ui/win32/side_game_setup_win32.h"

namespace ui {
namespace {

using setuptest::Text;
using setuptest::Then;

HWND Page(HWND dialog, int templateId) {
  return GetDlgItem(GetDlgItem(dialog, kIdSetupTabs), templateId);
}

void ShowTab(HWND dialog, int tab) {
  HWND tabs = GetDlgItem(dialog, kIdSetupTabs);
  SendMessageA(tabs, TCM_SETCURSEL, tab, 0);
  NMHDR nm{tabs, static_cast<UINT_PTR>(kIdSetupTabs), static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageA(dialog, WM_NOTIFY, kIdSetupTabs, reinterpret_cast<LPARAM>(&nm));
}

void Press(HWND page, int id) { SendDlgItemMessageA(page, id, BM_CLICK, 0, 0); }

void SetCount(HWND dialog, int count) {
  SendDlgItemMessageA(dialog, kIdSetupPlayers, gui::kMsgSpinSetPos, count, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kIdSetupPlayers, gui::kNotifySpinChanged),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, kIdSetupPlayers)));
}

void SetSpin(HWND page, int id, int value) {
  SendDlgItemMessageA(page, id, gui::kMsgSpinSetPos, value, 0);
}

std::string Name(HWND page, int line) { return Text(page, kIdPageLineName + line); }

std::string Shot(HWND dialog, const char* name) {
  RedrawWindow(dialog, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  return tess_test::SaveScreenshot(tess_test::CaptureWindow(dialog), name);
}

class NewGameTabs : public setuptest::SetupWindows {};

TEST_F(NewGameTabs, ClassicLinesCountAndTimes) {
  CGame game;
  game.setup.kind = kKindStandard;
  std::string generalShot, playersShot, line2, line3, humanLine3, computerLine3, emptied;
  bool line4Enabled = true, firstMoved = false;
  size_t noticesAfterFive = 0;
  int selectedFirst = -1;
  bool blanksShown = true;
  Then([&](HWND d) {
    selectedFirst = static_cast<int>(SendDlgItemMessageA(d, kIdSetupTabs, TCM_GETCURSEL, 0, 0));
    blanksShown = IsWindowVisible(GetDlgItem(Page(d, 144), kIdGeneralScoringBlanks)) != FALSE;
    generalShot = Shot(d, "ui_new_game_tabs");
    HWND players = Page(d, 145);
    ShowTab(d, 1);
    line2 = Name(players, 2);
    SetCount(d, 4);
    Press(players, kIdPageLineFirstTurn + 4);
    SetCount(d, 3);
    firstMoved = IsDlgButtonChecked(players, kIdPageLineFirstTurn + 3) == BST_CHECKED;
    emptied = Name(players, 4);
    line4Enabled = IsWindowEnabled(GetDlgItem(players, kIdPageLineName + 4)) != FALSE;
    line3 = Name(players, 3);
    Press(players, kIdPageLineHuman + 3);
    humanLine3 = Name(players, 3);
    Press(players, kIdPageLineComputer + 3);
    computerLine3 = Name(players, 3);
    playersShot = Shot(d, "ui_new_game_players");
    // Five players are refused at OK; three with 4:59 a game go on at 5:00.
    SetCount(d, 5);
    SendMessageA(d, WM_COMMAND, IDOK, 0);
    noticesAfterFive = sink.messages.size();
    SetCount(d, 3);
    HWND general = Page(d, 144);
    Press(general, kIdGeneralJoker);  // the times go back to their defaults
    SetSpin(general, kIdGeneralGameMinutes, 4);
    SetSpin(general, kIdGeneralGameSeconds, 59);
    PostMessageA(d, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(RunGameSetupDialog(nullptr, &game), 0);
  EXPECT_EQ(selectedFirst, 0) << "the General page comes first";
  EXPECT_FALSE(blanksShown) << "\"Scoring blanks\" is not offered";
  EXPECT_FALSE(generalShot.empty());
  EXPECT_FALSE(playersShot.empty());
  EXPECT_TRUE(IsPersonality(line2)) << line2;
  EXPECT_TRUE(firstMoved) << "the first turn of a line taken away goes to the last line kept";
  EXPECT_EQ(emptied, "");
  EXPECT_FALSE(line4Enabled);
  EXPECT_TRUE(IsPersonality(line3)) << line3;
  EXPECT_NE(line3, line2);
  EXPECT_EQ(humanLine3, "Player 3");
  EXPECT_TRUE(IsPersonality(computerLine3)) << computerLine3;
  EXPECT_NE(computerLine3, line2);
  ASSERT_EQ(noticesAfterFive, 1u);
  EXPECT_EQ(sink.messages[0].text, shell::LoadResString(3100));
  ASSERT_EQ(sink.messages.size(), 2u);
  EXPECT_EQ(sink.messages[1].text, shell::LoadResString(3037));
  const GameSetup& s = game.setup;
  ASSERT_EQ(s.GetPlayerCount(), 3);
  EXPECT_STREQ(s.entries[0].name, "Zoe");
  EXPECT_EQ(s.entries[0].playerType, kPlayerHuman);
  EXPECT_STREQ(s.entries[1].name, line2.c_str());
  EXPECT_NE(s.entries[1].playerType, kPlayerHuman);
  EXPECT_STREQ(s.entries[2].name, computerLine3.c_str());
  EXPECT_EQ(s.clockMode, 1);
  EXPECT_EQ(s.gameTimeMs, 300000);
  EXPECT_EQ(s.flags & (kFlagBlankPerPlayer | kFlagBlitz), kFlagBlankPerPlayer);
  EXPECT_EQ(game.startPlayerIndex, 2);
}

TEST_F(NewGameTabs, DuplicateSpreadsSixteenPlayersOverTwoPages) {
  CGame game;
  game.setup.kind = kKindDuplicate;
  std::string line10;
  bool firstTurnShown = true, perGameEnabled = true;
  int tabs = 0;
  Then([&](HWND d) {
    tabs = static_cast<int>(SendDlgItemMessageA(d, kIdSetupTabs, TCM_GETITEMCOUNT, 0, 0));
    HWND general = Page(d, 144);
    perGameEnabled = IsWindowEnabled(GetDlgItem(general, kIdGeneralPerGame)) != FALSE;
    SetCount(d, 16);
    ShowTab(d, 2);
    HWND second = Page(d, 1740);
    line10 = Name(second, 10);
    firstTurnShown = IsWindowVisible(GetDlgItem(second, kIdPageLineFirstTurn + 10)) != FALSE;
    Press(general, kIdGeneralBlitz);
    PostMessageA(d, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(RunGameSetupDialog(nullptr, &game), 0);
  EXPECT_EQ(tabs, 3);
  EXPECT_FALSE(perGameEnabled);
  EXPECT_FALSE(firstTurnShown);
  EXPECT_FALSE(line10.empty());
  EXPECT_TRUE(sink.messages.empty());
  const GameSetup& s = game.setup;
  ASSERT_EQ(s.GetPlayerCount(), 16);
  EXPECT_STREQ(s.entries[9].name, line10.c_str());
  EXPECT_EQ(s.clockMode, 2);
  EXPECT_EQ(s.moveTimeMs, 60000);
  EXPECT_TRUE(s.flags & kFlagBlitz);
}

TEST_F(NewGameTabs, CancelLeavesTheKind) {
  CGame game;
  game.setup.kind = kKindDuplicate;
  Then([&](HWND d) { PostMessageA(d, WM_COMMAND, IDCANCEL, 0); });
  EXPECT_EQ(RunGameSetupDialog(nullptr, &game), kSetupCancelled);
  EXPECT_EQ(game.setup.kind, kKindDuplicate);
}

}  // namespace
}  // namespace ui
