// The move list and comment panels, the blank-letter question, the exchange
// dialog, the dictionary-level dialog and the about box under Wine, driven by
// posted input on a real game; screenshots of each.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/move_submit.h"
#include "game/session_registry.h"
#include "game/turn_ports.h"
#include "game_fakes.h"
#include "game_test_support.h"
#include "gui/gui_core.h"
#include "gui/gui_memory.h"
#include "gui/win32/gui_widgets1.h"
#include "platform/message_sink.h"
#include "platform/crand.h"
#include "screenshot.h"
#include "standard_skin.h"
#include "ui_test_fixture.h"
#include "ui/move_choices.h"
#include "ui/window_slots.h"
#include "ui/win32/about_box_win32.h"
#include "ui/win32/choice_dialogs_win32.h"
#include "ui/win32/move_list_win32.h"

namespace ui {
namespace {

using uitest::Pump;
using uitest::Row;
using uitest::Text;
using uitest::Then;
using AnsweringSink = uitest::NoticeSink;

// The board window's part of the exchange: the dialog over no owner.
class ExchangeView : public BoardViewPort {
 public:
  ExchangeView() { previous_ = SetBoardViewPort(this); }
  ~ExchangeView() override { SetBoardViewPort(previous_); }
  void OpenExchangeDialog(CGame& game) override { ui::OpenExchangeDialog(nullptr, &game); }
  void CloseExchangeDialog() override { ui::CloseExchangeDialog(); }

 private:
  BoardViewPort* previous_;
};

class MoveDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    // The toolkit registers its classes once a process.
    static const int skin = uitest::InitializeStandardSkin(instance);
    ASSERT_EQ(skin, 1);
    platform::SeedRandom(7);
    auto made = std::make_unique<CGame>();
    made->setup.kind = kKindStandard;
    made->setup.language = 0;
    PlayerSetupEntry human;
    human.playerType = kPlayerHuman;
    made->setup.AddPlayer(human);
    made->setup.AddPlayer(human);
    made->StartNewGame();
    while (made->state == kStateTurnStart)
      made->Update();
    made->Update();
    game = made.get();
    ASSERT_TRUE(uitest::RegisterCurrentGame(registry, std::move(made)));
    owner = uitest::MakeOwner(instance);
  }
  void TearDown() override {
    DestroySlotWindow(kSlotMoveList);
    DestroyCommentWindow();
    DestroyWindow(owner);
    InstallGameSessionRegistry(nullptr);
  }
  void Play(int i, RobotMove m) {
    game->Player(i)->score += m.score;
    game->ApplyMove(m);
    game->turnIndex = i;
    game->RecordMove(&m);
  }

  gamefakes::RecordingUiPort ui;
  GameSessionRegistry registry;
  CGame* game = nullptr;
  HWND owner = nullptr;
};

TEST_F(MoveDialogs, MoveListShowsTheHistoryAndStepsThroughIt) {
  Play(0, gametest::Move("cat", 10, 7, 7));
  Play(1, gametest::Move("cow", 12, 7, 7, true));
  EXPECT_EQ(CreateMoveListWindow(nullptr, GetModuleHandleA(nullptr)), -1);
  ASSERT_EQ(CreateMoveListWindow(owner, GetModuleHandleA(nullptr)), 0);
  ASSERT_EQ(CreateCommentWindow(owner, GetModuleHandleA(nullptr)), 0);
  HWND panel = static_cast<HWND>(GetSlotWindow(kSlotMoveList));
  ASSERT_NE(panel, nullptr);
  HWND list = GetDlgItem(panel, kIdMoveList);
  SetWindowPos(panel, nullptr, 40, 40, 220, 240, SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(panel, SW_SHOWNOACTIVATE);  // shown: rebuilt from the history
  Pump();
  ASSERT_EQ(GetCurrentGame(), game);
  ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3) << game->GetHistoryIndex();
  EXPECT_EQ(Row(list, 0), "-------------------");
  EXPECT_EQ(Row(list, 1), "1- [8h] cat 10");
  EXPECT_EQ(Row(list, 2), "2- [h8] cow 12");
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), game->GetHistoryIndex() - 1);

  // A move added while the list is up: one row more, selected.
  Play(0, gametest::Move("tow", 6, 9, 7, true));
  SendMessageA(panel, kMsgGameChanged, kGameChangedMoveAdded, 0);
  EXPECT_EQ(Row(list, 3), "1- [j8] tow 6");
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 3);

  // "<|" takes one back; choosing the first row jumps to the start.
  SendMessageA(panel, WM_COMMAND, MAKEWPARAM(kIdMovePrevious, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(panel, kIdMovePrevious)));
  EXPECT_EQ(game->GetHistoryIndex(), 3);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
  SendMessageA(list, LB_SETCURSEL, 0, 0);
  SendMessageA(panel, WM_COMMAND, MAKEWPARAM(kIdMoveList, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
  EXPECT_EQ(game->GetHistoryIndex(), 1);
  // Without navigation a click in the list does not jump.
  EnableMoveListNavigation(false);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(panel, kIdMoveNext)));
  SendMessageA(list, LB_SETCURSEL, 3, 0);
  SendMessageA(panel, WM_COMMAND, MAKEWPARAM(kIdMoveList, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
  EXPECT_EQ(game->GetHistoryIndex(), 1);
  EnableMoveListNavigation(true);
  SendMessageA(panel, WM_COMMAND, MAKEWPARAM(kIdMoveList, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
  EXPECT_EQ(game->GetHistoryIndex(), 4);

  // The rebuild keeps the cursor and selects its row.
  SendMessageA(panel, kMsgGameChanged, kGameChangedRebuild, 0);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 3);
  EXPECT_EQ(game->GetHistoryIndex(), 4);
  EXPECT_EQ(SelectMoveListRow(panel, 2), 0);
  EXPECT_EQ(SelectMoveListRow(panel, 40), -1);

  // The comment panel: the game's note in and out.
  EXPECT_EQ(GetCommentText(), nullptr);
  SetCommentText("A quiet opening.\r\nCow was bold.");
  char* note = GetCommentText();
  ASSERT_NE(note, nullptr);
  EXPECT_STREQ(note, "A quiet opening.\r\nCow was bold.");
  gui::GlobalFreePtr(note);
  HWND comments = static_cast<HWND>(GetSlotWindow(kSlotUserComments));
  ASSERT_NE(comments, nullptr);
  SetWindowPos(comments, nullptr, 262, 40, 200, 140, SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(comments, SW_SHOWNOACTIVATE);
  Pump();
  EXPECT_FALSE(tess_test::SaveScreenshot(tess_test::CaptureWindow(panel), "ui_move_list").empty());
  EXPECT_FALSE(
      tess_test::SaveScreenshot(tess_test::CaptureWindow(comments), "ui_comments").empty());
  ClearCommentEdit();
  EXPECT_EQ(GetCommentText(), nullptr);
}

TEST_F(MoveDialogs, BlankQuestionReturnsTheTypedLetter) {
  char letter = kUnassignedBlankLetter;
  std::string shot;
  Then([&](HWND dialog) {
    shot = tess_test::SaveScreenshot(tess_test::CaptureWindow(dialog), "ui_blank");
    // A digit ends the question without a letter: it is asked again.
    SetDlgItemTextA(dialog, kIdBlankEdit, "7");
    Then([&](HWND again) { SetDlgItemTextA(again, kIdBlankEdit, "e"); });
  });
  ChooseBlankLetter(&letter, owner);
  EXPECT_EQ(letter, 'E');
  EXPECT_FALSE(IsBlankQuestionOpen());
  EXPECT_FALSE(shot.empty());

  // A blank that has a letter keeps it on a digit.
  letter = 'K';
  Then([&](HWND dialog) { SetDlgItemTextA(dialog, kIdBlankEdit, "4"); });
  ChooseBlankLetter(&letter, owner);
  EXPECT_EQ(letter, 'K');
}

TEST_F(MoveDialogs, ExchangeSwapsTheChosenLetters) {
  ExchangeView view;
  AnsweringSink sink(platform::kResultYes);
  GamePlayer* p = game->Player(0);
  game->viewingPlayer = p;
  p->ReturnRackToBag();
  ASSERT_TRUE(game->DrawGivenLetters("catsbe`", 7));
  p->ClearRack("catsbe`");
  const int bag = game->bag.tileCount;

  ASSERT_TRUE(::OpenExchangeDialog(game));
  HWND dialog = GetExchangeDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(::OpenExchangeDialog(game));  // one at a time
  // Swap with nothing chosen: the dialog says so and stays.
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kIdExchangeSwap, BN_CLICKED), 0);
  ASSERT_EQ(sink.texts.size(), 1u);
  EXPECT_EQ(sink.texts[0], "Please select the letters to be swapped.");
  EXPECT_EQ(GetExchangeDialog(), dialog);

  // Click the rack's first and fourth tiles ("c" and "s"): 28-pixel tiles,
  // 4 apart, centred.
  RECT client;
  GetClientRect(dialog, &client);
  const int left = (client.right - (7 * 28 + 6 * 4)) / 2;
  for (int cell : {0, 3})
    SendMessageA(dialog, WM_LBUTTONDOWN, 0, MAKELPARAM(left + cell * 32 + 14, 24 + 14));
  // The chosen tile in the second slot goes back, then is chosen again.
  SendMessageA(dialog, WM_LBUTTONDOWN, 0, MAKELPARAM(left + 32 + 14, 74 + 14));
  SendMessageA(dialog, WM_LBUTTONDOWN, 0, MAKELPARAM(left + 3 * 32 + 14, 24 + 14));
  Pump();
  EXPECT_FALSE(tess_test::SaveScreenshot(tess_test::CaptureWindow(dialog), "ui_exchange").empty());

  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kIdExchangeSwap, BN_CLICKED), 0);
  ASSERT_EQ(sink.texts.size(), 2u);  // the question, answered Yes
  EXPECT_EQ(GetExchangeDialog(), nullptr);
  EXPECT_FALSE(ExchangeDialogOpen());
  EXPECT_EQ(p->request, kRequestExchange);
  EXPECT_EQ(game->bag.tileCount, bag);  // two out, two back
  // The five kept letters are still there; two new tiles took the places
  // of the two swapped (the rack may have been put in order).
  std::string rack(p->rack, 7);
  for (char kept : std::string("atbe`")) {
    const size_t at = rack.find(kept);
    ASSERT_NE(at, std::string::npos) << kept << " in " << rack;
    rack.erase(at, 1);
  }
  EXPECT_EQ(rack.size(), 2u);
  EXPECT_EQ(rack.find('_'), std::string::npos);
}

TEST_F(MoveDialogs, ExchangeCancelKeepsTheRack) {
  ExchangeView view;
  AnsweringSink sink(platform::kResultYes);
  game->viewingPlayer = game->Player(0);
  const std::string before(game->Player(0)->rack, 7);
  ASSERT_TRUE(::OpenExchangeDialog(game));
  HWND dialog = GetExchangeDialog();
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kIdExchangeAll, BN_CLICKED), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kIdExchangeCancel, BN_CLICKED), 0);
  EXPECT_EQ(GetExchangeDialog(), nullptr);
  EXPECT_FALSE(ExchangeDialogOpen());
  EXPECT_EQ(std::string(game->Player(0)->rack, 7), before);
  EXPECT_TRUE(sink.texts.empty());
}

TEST_F(MoveDialogs, DictionaryLevelIsCheckedAtOk) {
  AnsweringSink sink(platform::kResultOk);
  int32_t options[13] = {};
  options[2] = 4;
  int shown = -1;
  Then([&](HWND dialog) {
    shown = static_cast<int>(SendDlgItemMessageA(dialog, kIdLevelSpin, gui::kMsgSpinGetPos, 0, 0));
    SendDlgItemMessageA(dialog, kIdLevelSpin, gui::kMsgSpinSetPos, 11, 0);
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);  // refused, the dialog stays
    Then([&](HWND again) {
      SendDlgItemMessageA(again, kIdLevelSpin, gui::kMsgSpinSetPos, 7, 0);
      PostMessageA(again, WM_COMMAND, IDOK, 0);
    });
  });
  EXPECT_EQ(RunDictionaryLevelDialog(owner, options), 7);
  EXPECT_EQ(shown, 4);
  EXPECT_EQ(options[2], 7);
  ASSERT_EQ(sink.texts.size(), 1u);
  EXPECT_EQ(sink.texts[0], "Dictionary level varies between 1 and 10");
}

TEST_F(MoveDialogs, AboutBoxScrollsItsCredits) {
  std::string version, shot;
  int fastest = 0, slowest = 0;
  Then([&](HWND dialog) {
    version = Text(dialog, kIdAboutVersion);
    Pump(1500);  // the worker's ticks draw the credits
    for (int i = 0; i < 12; ++i)
      SendMessageA(dialog, WM_KEYDOWN, VK_ADD, 0);
    fastest = GetAboutScrollSpeed();
    for (int i = 0; i < 12; ++i)
      SendMessageA(dialog, WM_KEYDOWN, VK_SUBTRACT, 0);
    slowest = GetAboutScrollSpeed();
    for (int i = 0; i < 4; ++i)
      SendMessageA(dialog, WM_KEYDOWN, VK_ADD, 0);
    Pump(1500);
    shot = tess_test::SaveScreenshot(tess_test::CaptureWindow(dialog), "ui_about");
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(ShowAboutBox(owner), 1);
  EXPECT_EQ(version.rfind("Version\n", 0), 0u) << version;
  EXPECT_EQ(fastest, 10);
  EXPECT_EQ(slowest, 1);
  EXPECT_EQ(GetAboutScrollSpeed(), 0);  // closed
  EXPECT_FALSE(shot.empty());
}

TEST_F(MoveDialogs, TimedMessageClosesItself) {
  HWND message = ShowTimedMessage(owner, "Saved.", 200);
  ASSERT_NE(message, nullptr);
  EXPECT_EQ(Text(message, kIdTimedText), "Saved.");
  Pump(600);
  EXPECT_FALSE(IsWindow(message));
}

}  // namespace
}  // namespace ui
