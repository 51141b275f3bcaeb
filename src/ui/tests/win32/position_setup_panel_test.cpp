// The position set-up panel under Wine: letters clicked go from the bag to
// the rack, "Confirm draw" refuses a short rack and a faulty position with
// their messages and accepts a good one; its information button opens the
// room's "Mode information"; the remaining-tiles window counts what is
// neither on the board nor on the rack. Screenshots of both.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/session_registry.h"
#include "game/ui_port.h"
#include "game_test_support.h"
#include "gui/win32/gui_win32.h"
#include "platform/message_sink.h"
#include "screenshot.h"
#include "standard_skin.h"
#include "ui_test_fixture.h"
#include "turn_fakes.h"
#include "ui/window_slots.h"
#include "ui/win32/draw_panel_win32.h"
#include "ui/win32/game_ui_port_win32.h"
#include "ui/win32/mode_information_dialog.h"

namespace ui {
namespace {

using uitest::Pump;
using RecordingSink = uitest::NoticeSink;

class PositionSetupPanel : public ::testing::Test {
 protected:
  static void TearDownTestSuite() { gui::GuiFreeFrameSkin(); }
  void SetUp() override {
    if (!gametest::StartEngineWithBuiltLexicon()) GTEST_SKIP() << "no English lexicon built";
    HINSTANCE instance = GetModuleHandleA(nullptr);
    // The toolkit is set up once for every test of the program.
    static const int skinned = uitest::InitializeStandardSkin(instance);
    ASSERT_EQ(skinned, 1);
    auto made = gametest::TwoHumanGame();
    game = made.get();
    game->FillBag();
    game->state = kStatePaused;
    game->currentPlayer = game->viewingPlayer = game->Player(0);
    ASSERT_TRUE(uitest::RegisterCurrentGame(registry, std::move(made)));
    view.rack = "_______";
    owner = uitest::MakeOwner(instance);
    ASSERT_EQ(CreateDrawWindow(owner, instance), 0);
    ASSERT_EQ(CreateRemainderWindow(owner, instance), 0);
    panel = static_cast<HWND>(GetSlotWindow(kSlotPositionSetup));
    remainder = static_cast<HWND>(GetSlotWindow(kSlotRemainingTiles));
    ASSERT_NE(panel, nullptr);
    ASSERT_NE(remainder, nullptr);
    SetWindowPos(panel, HWND_TOPMOST, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    SetWindowPos(remainder, HWND_TOPMOST, 420, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  }
  void TearDown() override {
    if (panel) DestroyWindow(panel);
    if (remainder) DestroyWindow(remainder);
    if (owner) DestroyWindow(owner);
    InstallGameSessionRegistry(nullptr);
    gametest::EndEngine();
  }
  void Click(int id) { SendMessageA(panel, WM_COMMAND, MAKEWPARAM(id, STN_CLICKED), 0); }
  void ClickLetter(char c) { Click(kIdDrawFirstLetter + (c - 'a' + 1)); }
  // Letters put on the board grid by hand (the rack keeps its tiles).
  void Put(int row, int column, const char* word) {
    for (int i = 0; word[i]; ++i)
      view.board[row * kBoardStride + column + i] = word[i];
  }

  RecordingSink sink;
  turnfakes::FakeBoardView view;
  GameSessionRegistry registry;
  CGame* game = nullptr;
  HWND owner = nullptr, panel = nullptr, remainder = nullptr;
};

TEST_F(PositionSetupPanel, ConfirmChecksRackAndWords) {
  const int bag = game->bag.tileCount;
  const int tilesOfC = game->bag.counts['c' & 31];
  for (char c : std::string("catsdo"))
    ClickLetter(c);
  EXPECT_EQ(view.rack, "catsdo_");
  EXPECT_EQ(game->bag.tileCount, bag - 6);
  EXPECT_EQ(game->bag.counts['c' & 31], tilesOfC - 1);
  EXPECT_STREQ(game->Player(0)->rack, "catsdo_");

  Click(kIdDrawConfirm);
  ASSERT_EQ(sink.texts.size(), 1u);
  EXPECT_EQ(sink.texts[0], "You must fill the racks before you can confirm");

  ClickLetter('g');
  // A position the lexicon refuses, away from the centre: both lists.
  Put(7, 6, "xqz");
  Put(2, 2, "dog");
  Click(kIdDrawConfirm);
  ASSERT_EQ(sink.texts.size(), 2u);
  EXPECT_NE(sink.texts[1].find("Word(s) not valid:  [G8a] XQZ."), std::string::npos)
      << sink.texts[1];
  EXPECT_NE(sink.texts[1].find("Position(s) not valid:  [C3a] DOG."), std::string::npos);
  EXPECT_EQ(game->state, kStatePaused);

  RefreshRemainderWindow();
  Pump();
  tess_test::SaveScreenshot(tess_test::CaptureWindow(panel), "ui_position_setup");
  tess_test::SaveScreenshot(tess_test::CaptureWindow(remainder), "ui_remaining_tiles");

  const char empty[kBoardSquares] = {};
  view.LoadBoardLetters(empty, 15, 15);
  Put(7, 6, "cat");
  Click(kIdDrawConfirm);
  EXPECT_EQ(sink.texts.size(), 2u);
  EXPECT_EQ(game->state, kStateTurnRunning);
  EXPECT_EQ(game->board.letters[7 * kBoardStride + 7], 'a');
  EXPECT_FALSE(IsWindowEnabled(panel));
}

TEST_F(PositionSetupPanel, TheGamesRefreshCountsTheTilesAgain) {
  InstallGameWindowPorts();
  game->Player(0)->ClearRack("_______");
  HWND z = GetDlgItem(remainder, kIdRemainFirstLetter + 26);
  GetGameUiPort().RefreshRemainderWindow();
  char text[8] = {};
  GetWindowTextA(z, text, sizeof text);
  EXPECT_STREQ(text, "Z");
  game->board.letters[7 * kBoardStride + 7] = 'z';  // the only Z is laid
  GetGameUiPort().RefreshRemainderWindow();
  GetWindowTextA(z, text, sizeof text);
  EXPECT_STREQ(text, "");
  UninstallGameWindowPorts();
}

TEST_F(PositionSetupPanel, TheInformationButtonOpensModeInformation) {
  HWND button = GetDlgItem(panel, kIdShowSolvePositionInfo);
  ASSERT_NE(button, nullptr);
  EXPECT_TRUE(IsWindowVisible(button));
  bool opened = false;
  uitest::Then([&](HWND d) {
    opened = GetDlgItem(d, kIdModeInformationText) != nullptr;
    PostMessageA(d, WM_COMMAND, IDOK, 0);
  });
  SendMessageA(button, BM_CLICK, 0, 0);
  EXPECT_TRUE(opened);
}

}  // namespace
}  // namespace ui
