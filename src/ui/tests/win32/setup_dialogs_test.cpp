// The classic and duplicate set-ups under Wine, driven by posted input: the
// player lines, personalities drawn without repeats, the time rules and the
// player entries "Play" writes; screenshots of both dialogs.
#include <windows.h>

#include <commctrl.h>

#include "game/game.h"
#include "game/player_turn.h"
#include "game_test_support.h"
#include "gui/win32/gui_widgets1.h"
#include "setup_support.h"
#include "ui/win32/challenge_dialog.h"
#include "ui/win32/colour_select_dialog.h"
#include "ui/win32/round_results_dialog.h"
#include "ui/win32/new_game_dialog.h"
#include "ui/win32/setup_dialogs.h"

namespace ui {
namespace {

using setuptest::Click;
using setuptest::Text;
using setuptest::Then;

std::string Line(HWND dialog, int line) {
  char text[128] = {};
  SendDlgItemMessageA(dialog, kIdPlayerList, LB_GETTEXT, line, reinterpret_cast<LPARAM>(text));
  return text;
}

void SelectLine(HWND dialog, int line) {
  SendDlgItemMessageA(dialog, kIdPlayerList, LB_SETCURSEL, line, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kIdPlayerList, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, kIdPlayerList)));
}

void SetSpin(HWND dialog, int id, int value) {
  SendDlgItemMessageA(dialog, id, gui::kMsgSpinSetPos, value, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, gui::kNotifySpinChanged),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

class SetupDialogWindows : public setuptest::SetupWindows {};

TEST_F(SetupDialogWindows, DuplicatePartnersCountsAndBlitz) {
  CGame game;
  game.setup.kind = kKindDuplicate;
  game.setup.SetPlayerCount(3);
  std::vector<std::string> opened, raised;
  int afterLowering = -1;
  std::string shot, human;
  Then([&](HWND d) {
    for (int i = 0; i < 3; ++i)
      opened.push_back(Line(d, i));
    std::printf("list colour %06lx skin %p\n", (unsigned long)gui::GuiGetSkin()->list.colors[0],
                (void*)gui::GuiGetSkin());
    RedrawWindow(d, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    shot = tess_test::SaveScreenshot(tess_test::CaptureWindow(d), "ui_duplicate_setup");
    SetSpin(d, kIdPlayerCount, 4);
    for (int i = 0; i < 4; ++i)
      raised.push_back(Line(d, i));
    SelectLine(d, 3);
    SetSpin(d, kIdPlayerCount, 3);
    afterLowering = static_cast<int>(SendDlgItemMessageA(d, kIdPlayerList, LB_GETCURSEL, 0, 0));
    SelectLine(d, 2);
    SendDlgItemMessageA(d, kIdLineComputer, BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageA(d, WM_COMMAND, kIdLineComputer, 0);
    human = Text(d, kIdPlayerName);
    SendDlgItemMessageA(d, kIdBlitz, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(d, WM_COMMAND, kIdBlitz, 0);
    PostMessageA(d, WM_COMMAND, kIdSetupPlay, 0);
  });
  EXPECT_EQ(RunDuplicateSetupDialog(nullptr, &game), 0);
  EXPECT_FALSE(shot.empty());
  ASSERT_EQ(opened.size(), 3u);
  EXPECT_EQ(opened[0], "Zoe");
  EXPECT_TRUE(IsPersonality(opened[1]) && IsPersonality(opened[2])) << opened[1] << opened[2];
  EXPECT_NE(opened[1], opened[2]);
  ASSERT_EQ(raised.size(), 4u);
  EXPECT_TRUE(IsPersonality(raised[3]));
  EXPECT_NE(raised[3], raised[1]);
  EXPECT_NE(raised[3], raised[2]);
  EXPECT_EQ(afterLowering, 2) << "a selection past the last line moves onto it";
  EXPECT_EQ(human, "Player 3");
  const GameSetup& s = game.setup;
  ASSERT_EQ(s.GetPlayerCount(), 3);
  EXPECT_STREQ(s.entries[0].name, "Zoe");
  EXPECT_EQ(s.entries[0].playerType, kPlayerHuman);
  EXPECT_STREQ(s.entries[1].name, opened[1].c_str());
  EXPECT_EQ(s.entries[1].playerType, kPlayerComputer);
  EXPECT_EQ(s.entries[1].options[2], 6);
  EXPECT_STREQ(s.entries[2].name, "Player 3");
  EXPECT_EQ(s.entries[2].playerType, kPlayerHuman);
  EXPECT_TRUE(s.HasFlag(kFlagBlitz));
  EXPECT_EQ(s.clockMode, 2);
  EXPECT_EQ(s.moveTimeMs, 60000);
  EXPECT_EQ(s.challengeMode, 0);
}

TEST_F(SetupDialogWindows, DuplicateRenameRefusesANameInUse) {
  CGame game;
  game.setup.SetPlayerCount(2);
  std::string partner, restored, renamed;
  Then([&](HWND d) {
    partner = Line(d, 1);
    SelectLine(d, 1);
    SendDlgItemMessageA(d, kIdLineComputer, BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageA(d, WM_COMMAND, kIdLineComputer, 0);  // "Player 2", editable
    SetFocus(GetDlgItem(d, kIdPlayerName));
    SetDlgItemTextA(d, kIdPlayerName, "ZOE");
    SendMessageA(d, WM_COMMAND, IDOK, 0);  // Enter in the name edit
    restored = Text(d, kIdPlayerName);
    SetDlgItemTextA(d, kIdPlayerName, "Yann");
    SendMessageA(d, WM_COMMAND, IDOK, 0);
    renamed = Line(d, 1);
    PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(RunDuplicateSetupDialog(nullptr, &game), kNewGameCancel);
  EXPECT_TRUE(IsPersonality(partner));
  EXPECT_EQ(restored, "Player 2");
  ASSERT_FALSE(sink.messages.empty());
  EXPECT_EQ(sink.messages[0].text, "Name already in use!\nplease introduce another one.");
  EXPECT_EQ(renamed, "Yann");
}

TEST_F(SetupDialogWindows, ClassicComputerPartnerAndTimeFloors) {
  CGame game;
  game.setup.kind = kKindStandard;
  game.setup.SetPlayerCount(2);
  game.setup.gameTimeMs = 1500000;
  game.setup.challengeMode = 1;
  std::string user, partner, shot;
  bool challengeEnabled = true;
  int shownMinutes = -1;
  Then([&](HWND d) {
    user = Text(d, kIdFirstNameEdit);
    partner = Text(d, kIdFirstNameEdit + 1);
    challengeEnabled = IsWindowEnabled(GetDlgItem(d, kIdAllowChallenge)) != 0;
    shot = tess_test::SaveScreenshot(tess_test::CaptureWindow(d), "ui_classic_setup");
    SendDlgItemMessageA(d, kIdTimePerGame, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(d, WM_COMMAND, kIdTimePerGame, 0);
    SetSpin(d, kIdMinutes, 3);
    shownMinutes = static_cast<int>(SendDlgItemMessageA(d, kIdMinutes, gui::kMsgSpinGetPos, 0, 0));
    Click(d, kIdFirstStarter + 1);
    PostMessageA(d, WM_COMMAND, kIdSetupPlay, 0);
  });
  EXPECT_EQ(RunClassicSetupDialog(nullptr, &game), 0);
  EXPECT_FALSE(shot.empty());
  EXPECT_EQ(user, "Zoe");
  EXPECT_TRUE(IsPersonality(partner)) << partner;
  EXPECT_FALSE(challengeEnabled) << "no challenging against a computer player";
  const GameSetup& s = game.setup;
  EXPECT_EQ(s.challengeMode, 0);
  EXPECT_EQ(s.clockMode, 1);
  EXPECT_EQ(shownMinutes, 5);
  EXPECT_EQ(s.gameTimeMs, 300000);
  EXPECT_EQ(game.startPlayerIndex, 1);
  ASSERT_EQ(s.GetPlayerCount(), 2);
  EXPECT_STREQ(s.entries[0].name, "Zoe");
  EXPECT_EQ(s.entries[1].playerType, kPlayerComputer);
  EXPECT_STREQ(s.entries[1].name, partner.c_str());
}

TEST_F(SetupDialogWindows, ChallengeReturnsTheCheckedWords) {
  std::vector<RobotMove> words(3), chosen;
  const char* texts[] = {"quartz", "ox", "za"};
  for (int i = 0; i < 3; ++i)
    std::strcpy(words[i].word, texts[i]);
  std::string shot, second;
  Then([&](HWND d) {
    second = Text(d, kIdFirstChallengeWord + 1);
    shot = tess_test::SaveScreenshot(tess_test::CaptureWindow(d), "ui_challenge");
    SendDlgItemMessageA(d, kIdFirstChallengeWord + 2, BM_SETCHECK, BST_CHECKED, 0);
    PostMessageA(d, WM_COMMAND, kIdChallengeOk, 0);
  });
  EXPECT_EQ(RunChallengeDialog(nullptr, words, chosen), 1);
  EXPECT_FALSE(shot.empty());
  EXPECT_EQ(second, "ox");
  ASSERT_EQ(chosen.size(), 1u);
  EXPECT_STREQ(chosen[0].word, "za");
  Then([](HWND d) { PostMessageA(d, WM_COMMAND, kIdChallengeCancel, 0); });
  EXPECT_EQ(RunChallengeDialog(nullptr, words, chosen), 0);
  EXPECT_TRUE(chosen.empty());
}

TEST_F(SetupDialogWindows, RoundResultsListEachPlayerAgainstTheMentor) {
  auto game = gametest::TwoHumanGame();
  std::strcpy(game->Player(0)->entry.name, "Ada");
  std::strcpy(game->Player(1)->entry.name, "Basil");
  game->Player(0)->lastAction = kLastPassed;
  game->Player(1)->lastAction = kLastPlayed;
  game->Player(1)->lastMoveRecord = gametest::Move("quartz", 48, 7, 7);
  game->Player(1)->score = 48;
  game->referencePlayer = std::make_unique<GamePlayer>();
  game->referencePlayer->lastMoveRecord = gametest::Move("quartzy", 64, 7, 7);
  std::string caption, first, shot;
  Then([&](HWND d) {
    char text[128] = {};
    GetWindowTextA(d, text, sizeof text);
    caption = text;
    char cell[64] = {};
    LVITEMA item{};
    item.iSubItem = 3;
    item.pszText = cell;
    item.cchTextMax = sizeof cell;
    SendDlgItemMessageA(d, kIdRoundResultsList, LVM_GETITEMTEXTA, 0,
                        reinterpret_cast<LPARAM>(&item));
    first = cell;
    shot = tess_test::SaveScreenshot(tess_test::CaptureWindow(d), "ui_round_results");
    PostMessageA(d, WM_COMMAND, kIdRoundResultsOk, 0);
  });
  EXPECT_EQ(ShowRoundResults(game.get(), nullptr), 0);
  EXPECT_EQ(caption.rfind("Mentor's solution: ", 0), 0u) << caption;
  EXPECT_EQ(first, "75.0");
  EXPECT_FALSE(shot.empty());
}

TEST_F(SetupDialogWindows, ColourNumbersAndTrackBarsStayInStep) {
  COLORREF colour = RGB(10, 20, 30);
  std::string red;
  int redTrack = -1;
  std::string shot;
  Then([&](HWND d) {
    SetDlgItemTextA(d, kIdRedEdit, "300");
    red = Text(d, kIdRedEdit);
    redTrack = static_cast<int>(SendDlgItemMessageA(d, kIdRedTrack, TBM_GETPOS, 0, 0));
    SendDlgItemMessageA(d, kIdBlueTrack, TBM_SETPOS, TRUE, 128);
    SendMessageA(d, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 128),
                 reinterpret_cast<LPARAM>(GetDlgItem(d, kIdBlueTrack)));
    RedrawWindow(d, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    shot = tess_test::SaveScreenshot(tess_test::CaptureWindow(d), "ui_colour_select");
    PostMessageA(d, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(RunColourSelectDialog(nullptr, &colour), 1);
  EXPECT_EQ(red, "255");
  EXPECT_EQ(redTrack, 255);
  EXPECT_EQ(colour, RGB(255, 20, 128));
  EXPECT_FALSE(shot.empty());
  Then([](HWND d) { PostMessageA(d, WM_COMMAND, IDCANCEL, 0); });
  EXPECT_EQ(RunColourSelectDialog(nullptr, &colour), 0);
  EXPECT_EQ(colour, RGB(255, 20, 128));
}

}  // namespace
}  // namespace ui
