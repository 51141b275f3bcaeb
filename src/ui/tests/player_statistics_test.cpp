#include "ui/player_statistics.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "game/game.h"
#include "game_fakes.h"
#include "game_test_support.h"
#include "recording_sink.h"
#include "turn_fakes.h"

namespace ui {
namespace {

std::string Value(const std::vector<StatisticsRow>& rows, const char* label) {
  for (const StatisticsRow& r : rows)
    if (r.label == label) return r.value;
  return "<missing>";
}

TEST(PlayerStatistics, ClassicRowsAndNotes) {
  GamePlayer p;
  p.score = 60;
  PlayerMoveStats& s = p.stats[kStandardStats];
  s.lettersPlaced = 20;
  s.allTilesMoves = 1;
  s.bestMove = gametest::Move("zebra", 42, 7, 7);
  s.termSums[kStatsGeneralNote] = 1.0f;  // two cycles averaging 0.5
  s.termSums[kStatsClosingBoard] = 2.0f;
  p.cyclesPlayed = 2;
  p.challengesWon = 3;
  const auto rows = PlayerStatisticsRows(p, 0, nullptr);
  EXPECT_EQ(Value(rows, "Average points per letter"), "3.00");
  EXPECT_EQ(Value(rows, "Best word"), "zebra");
  EXPECT_EQ(Value(rows, "Best word score"), "42");
  EXPECT_EQ(Value(rows, "Successful challenges"), "3");
  EXPECT_EQ(Value(rows, "General note"), "50.00");
  EXPECT_EQ(Value(rows, "Closing board"), "100.00");
  // Closing board is shown before the closing bonus squares.
  size_t board = 0, bonuses = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].label == "Closing board") board = i;
    if (rows[i].label == "Closing bonuses squares") bonuses = i;
  }
  EXPECT_LT(board, bonuses);
  EXPECT_EQ(rows.size(), 17u);
}

TEST(PlayerStatistics, DuplicateShareAndOtherKinds) {
  GamePlayer p, top;
  p.score = 450;
  top.score = 600;
  p.stats[kDuplicateStats].lettersPlaced = 50;
  const auto rows = PlayerStatisticsRows(p, 1, &top);
  EXPECT_EQ(Value(rows, "Score in relation to top score"), "75.00");
  EXPECT_EQ(Value(rows, "Average points per letter"), "9.00");
  EXPECT_EQ(rows.size(), 6u);
  EXPECT_TRUE(PlayerStatisticsRows(p, 2, nullptr).empty());
}

TEST(TakeBackAndReplay, WalkTheHistoryAndSayWhenItEnds) {
  gamefakes::RecordingUiPort ui;
  turnfakes::FakeBoardView view;
  testsupport::RecordingSink sink;
  auto game = gametest::TwoHumanGame();
  game->RecordMove(nullptr);
  RobotMove cat = gametest::Move("cat", 10, 7, 7);
  game->Player(0)->score = 10;
  game->ApplyMove(cat);
  game->RecordMove(&cat);

  EXPECT_FALSE(ReplayMove(game.get()));  // at the last entry
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, "No more moves to replay.");
  EXPECT_TRUE(TakeBackMove(game.get()));
  EXPECT_EQ(game->Player(0)->score, 0);
  EXPECT_EQ(game->board.At(7, 7), 0);
  EXPECT_FALSE(TakeBackMove(game.get()));  // at the first entry: nothing changes
  EXPECT_EQ(sink.messages.back().text, "No more moves to take again.");
  EXPECT_EQ(game->GetHistoryIndex(), 1);
  EXPECT_TRUE(ReplayMove(game.get()));
  EXPECT_EQ(game->Player(0)->score, 10);
  EXPECT_FALSE(TakeBackMove(nullptr));
}

}  // namespace
}  // namespace ui
