// The duplicate turn's results table: what each player did, its share of
// the mentor's score, the mentor's caption.
#include "ui/round_results.h"

#include <gtest/gtest.h>

#include <cstring>

#include "game/player_turn.h"
#include "game_test_support.h"

namespace ui {
namespace {

TEST(RoundResults, RowsByScoreWithWhatEachPlayerDid) {
  auto game = gametest::TwoHumanGame();
  std::strcpy(game->Player(0)->entry.name, "Ada");
  std::strcpy(game->Player(1)->entry.name, "Basil");
  game->Player(0)->lastAction = kLastInvalidWord;
  game->Player(0)->score = 10;
  game->Player(1)->lastAction = kLastPlayed;
  game->Player(1)->lastMoveRecord = gametest::Move("quartz", 48, 7, 7);
  game->Player(1)->score = 60;
  game->referencePlayer = std::make_unique<GamePlayer>();
  game->referencePlayer->lastMoveRecord = gametest::Move("quartzy", 64, 7, 7);

  const std::vector<RoundResultRow> rows = MakeRoundResultRows(*game);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].name, "Basil");
  EXPECT_EQ(rows[0].word, "quartz");
  EXPECT_EQ(rows[0].percent, "75.0");
  EXPECT_EQ(rows[0].score, "48");
  EXPECT_FALSE(rows[0].position.empty());
  EXPECT_EQ(rows[1].name, "Ada");
  EXPECT_EQ(rows[1].word, "Invalid word");
  EXPECT_EQ(rows[1].percent, "0.0");
  EXPECT_EQ(rows[1].score, "0");
  EXPECT_EQ(RoundResultsCaption(*game).rfind("Mentor's solution: ", 0), 0u);
  EXPECT_NE(RoundResultsCaption(*game).find("quartzy"), std::string::npos);
}

TEST(RoundResults, AMentorWithoutPointsCountsAsAHundredPercent) {
  EXPECT_EQ(MentorPercentText(0, 0), "100.0");
  EXPECT_EQ(MentorPercentText(12, 0), "100.0");
  EXPECT_EQ(MentorPercentText(1, 3), "33.3");
}

}  // namespace
}  // namespace ui
