// The mentor panel under Wine on a real game with the English lexicon: the
// human's robot looks at the position on the engine's worker, the panel
// lists every possible word, and a chosen row lays its move from the rack
// onto the board grid through the board view's port; the word note refuses
// an empty board. A screenshot of the panel.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "engine/robot.h"
#include "engine/robot_settings.h"
#include "game/game.h"
#include "game/session_registry.h"
#include "game_test_support.h"
#include "gui/win32/gui_win32.h"
#include "platform/message_sink.h"
#include "screenshot.h"
#include "standard_skin.h"
#include "ui_test_fixture.h"
#include "turn_fakes.h"
#include "ui/window_slots.h"
#include "ui/win32/mentor_panel_win32.h"

namespace ui {
namespace {

using uitest::PumpUntil;
using uitest::Row;
using RecordingSink = uitest::NoticeSink;

class MentorPanel : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!gametest::StartEngineWithBuiltLexicon()) GTEST_SKIP() << "no English lexicon built";
    HINSTANCE instance = GetModuleHandleA(nullptr);
    ASSERT_EQ(uitest::InitializeStandardSkin(instance), 1);
    auto made = gametest::TwoHumanGame();
    game = made.get();
    game->currentPlayer = game->Player(0);
    game->viewingPlayer = game->Player(0);
    // The human's robot looks with the default settings (any word level).
    RobotSettings defaults;
    InitRobotSettings(&defaults);
    int32_t options[kRobotSettingsWords];
    SettingsToOptions(defaults, options);
    game->Player(0)->Setup(options);
    game->Player(0)->SetRackText("quizeta", 7);
    ASSERT_TRUE(uitest::RegisterCurrentGame(registry, std::move(made)));
    owner = uitest::MakeOwner(instance);
    ASSERT_EQ(CreateMentorWindow(owner, instance), 0);
    panel = static_cast<HWND>(GetSlotWindow(kSlotMentor));
    ASSERT_NE(panel, nullptr);
    SetWindowPos(panel, HWND_TOPMOST, 60, 60, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  }
  void TearDown() override {
    if (panel) DestroyWindow(panel);
    if (owner) DestroyWindow(owner);
    if (game && game->Player(0) && game->Player(0)->GetRobot())
      game->Player(0)->GetRobot()->WaitThinking();
    InstallGameSessionRegistry(nullptr);
    gui::GuiFreeFrameSkin();
    gametest::EndEngine();
  }

  RecordingSink sink;
  turnfakes::FakeBoardView view;
  GameSessionRegistry registry;
  CGame* game = nullptr;
  HWND owner = nullptr, panel = nullptr;
};

TEST_F(MentorPanel, ChosenWordIsLaidFromTheRackOntoTheBoard) {
  // The word note has no word to judge on an empty board.
  SendMessageA(panel, WM_COMMAND, MAKEWPARAM(kIdMentorNote, BN_CLICKED), 0);
  EXPECT_EQ(sink.texts.size(), 1u);

  PostMessageA(panel, WM_COMMAND, MAKEWPARAM(kIdMentorSearch, BN_CLICKED), 0);
  HWND list = GetDlgItem(panel, kIdMentorWords);
  const bool listed = PumpUntil([&] {
    return SendMessageA(list, LB_GETCOUNT, 0, 0) > 2 && Row(list, 0).find("Calculating") != 0;
  });
  ASSERT_TRUE(listed);
  const std::string first = Row(list, 0);
  PumpUntil([] { return false; }, 300);
  tess_test::SaveScreenshot(tess_test::CaptureWindow(panel), "ui_mentor");

  SendMessageA(list, LB_SETCURSEL, 0, 0);
  SendMessageA(panel, WM_COMMAND, MAKEWPARAM(kIdMentorWords, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
  // The row's word now lies on the board grid, taken from the rack.
  std::string laid;
  for (int i = 0; i < kBoardSquares; ++i)
    if (view.board[i]) laid += view.board[i];
  ASSERT_FALSE(laid.empty());
  EXPECT_NE(first.find(laid), std::string::npos) << laid << " in " << first;
  int rackTiles = 0;
  for (char c : view.rack)
    rackTiles += std::isalpha(static_cast<unsigned char>(c)) ? 1 : 0;
  EXPECT_EQ(rackTiles + static_cast<int>(laid.size()), 7);
}

}  // namespace
}  // namespace ui
