#include "ui/history_steps.h"

#include <gtest/gtest.h>

#include <memory>

#include "game/game.h"
#include "game_fakes.h"
#include "game_test_support.h"
#include "turn_fakes.h"

namespace ui {
namespace {

class HistoryStepsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    game = gametest::TwoHumanGame();
    game->RecordMove(nullptr);
    Play(0, gametest::Move("cat", 10, 7, 7));
    Play(1, gametest::Move("cow", 12, 7, 7, true));
    game->RecordMove(nullptr);  // a pass
  }
  void Play(int i, RobotMove m) {
    game->Player(i)->score += m.score;
    game->ApplyMove(m);
    game->turnIndex = i;
    game->RecordMove(&m);
  }
  gamefakes::RecordingUiPort ui;
  turnfakes::FakeBoardView view;
  std::unique_ptr<CGame> game;
};

TEST_F(HistoryStepsTest, StepsMoveTheCursorOnlyWhereThereIsAnEntry) {
  ASSERT_EQ(game->GetHistoryIndex(), 4);
  EXPECT_EQ(StepForward(game.get(), true), nullptr);
  EXPECT_EQ(StepForwardAndReplay(game.get()), -1);
  const RobotMove* m = StepBack(game.get(), true);
  ASSERT_NE(m, nullptr);
  EXPECT_STREQ(m->word, "cow");
  EXPECT_EQ(game->Player(1)->score, 12);
  EXPECT_EQ(StepBackAndReplay(game.get()), 0);
  EXPECT_EQ(game->Player(1)->score, 0);
  EXPECT_EQ(StepForward(nullptr, true), nullptr);
}

TEST_F(HistoryStepsTest, GoToMoveStopsAtTheEnds) {
  EXPECT_EQ(GoToMove(game.get(), 1), 1);
  EXPECT_EQ(game->GetHistoryIndex(), 1);
  EXPECT_EQ(game->board.At(7, 7), 0);
  EXPECT_EQ(GoToMove(game.get(), 9), 1);  // beyond the last entry
  EXPECT_EQ(game->GetHistoryIndex(), 4);
  EXPECT_EQ(GoToMove(nullptr, 2), 0);
}

TEST_F(HistoryStepsTest, EntryTextsNumberTheMovesOfEachPlayer) {
  EXPECT_EQ(FormatHistoryEntry(game.get(), 1), "-------------------");
  EXPECT_EQ(FormatHistoryEntry(game.get(), 2).rfind("1- ", 0), 0u);
  // Each move shows its position in the game's language's notation.
  EXPECT_EQ(FormatHistoryEntry(game.get(), 3), "2- [h8] cow 12");
  game->setup.language = 1;
  EXPECT_EQ(FormatHistoryEntry(game.get(), 3), "2- [8h] cow 12");
  EXPECT_EQ(FormatHistoryEntry(game.get(), 4), "1-   -  ");
  EXPECT_EQ(game->GetHistoryIndex(), 4);  // the cursor stayed
  EXPECT_EQ(FormatHistoryEntry(game.get(), 0), "");
  EXPECT_EQ(FormatHistoryEntry(game.get(), 12), "");
}

}  // namespace
}  // namespace ui
