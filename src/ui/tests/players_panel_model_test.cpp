#include "ui/players_panel_model.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

TEST(PlayersPanelModel, FirstRowStaysWithinThePlayers) {
  struct Case {
    int row, count, want;
  } cases[] = {
      {0, 2, 0}, {3, 2, 0}, {-1, 2, 0}, {10, 5, 1}, {1, 5, 1}, {-5, 6, 0}, {7, 6, 2}, {0, 0, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ClampFirstPlayerRow(c.row, c.count), c.want) << c.row << " of " << c.count;
}

TEST(PlayersPanelModel, ScrollCodesMoveTheRowsWithinRange) {
  struct Case {
    int first, code, thumb, count, want;
  } cases[] = {
      {0, kScrollLineUp, 0, 6, 0},        {0, kScrollLineDown, 0, 6, 1},
      {2, kScrollLineDown, 0, 6, 2},      {1, kScrollPageUp, 0, 9, 0},
      {1, kScrollPageDown, 0, 9, 5},      {3, kScrollPageDown, 0, 9, 5},
      {0, kScrollThumbPosition, 2, 6, 2}, {0, kScrollThumbPosition, 40, 6, 2},
      {1, 8 /* end scroll */, 0, 6, 1},   {0, kScrollLineDown, 0, 3, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ScrollFirstPlayerRow(c.first, c.code, c.thumb, c.count), c.want)
        << c.first << " code " << c.code << " of " << c.count;
}

TEST(PlayersPanelModel, ClientSizeGrowsWithThePlayersUpToFourRows) {
  EXPECT_EQ(PlayersPanelClientSize(2, 17).width, 150);
  EXPECT_EQ(PlayersPanelClientSize(2, 17).height, 240);
  EXPECT_FALSE(PlayersPanelClientSize(4, 17).scrolls);
  EXPECT_EQ(PlayersPanelClientSize(4, 17).height, 380);
  const PlayersPanelSize six = PlayersPanelClientSize(6, 17);
  EXPECT_TRUE(six.scrolls);
  EXPECT_EQ(six.width, 167);
  EXPECT_EQ(six.height, 380);
}

TEST(PlayersPanelModel, ClockTexts) {
  EXPECT_EQ(FormatTotalTime(0), "00:00:00");
  EXPECT_EQ(FormatTotalTime(3723999), "01:02:03");
  EXPECT_EQ(FormatTotalTime(-5000), "00:00:00");
  EXPECT_EQ(FormatTurnTime(0, 65000), "");
  EXPECT_EQ(FormatTurnTime(1, 125000), "02:05");
  EXPECT_EQ(FormatTurnTime(2, -3000), "00:00");
  EXPECT_EQ(FormatTurnTime(3, 125000), "00:00");
}

TEST(PlayersPanelModel, TurnNumber) {
  TurnFacts f;
  f.state = 3;
  f.roundCount = 4;
  f.playerCount = 2;
  EXPECT_EQ(TurnNumberText(f), "5");
  f.state = 2;
  EXPECT_EQ(TurnNumberText(f), "");
  f.state = 6;
  f.room = 12;
  f.historyIndex = 1;
  EXPECT_EQ(TurnNumberText(f), "0");
  f.historyIndex = 7;  // five moves into a two-player standard game
  EXPECT_EQ(TurnNumberText(f), "3");
  f.kind = 1;
  EXPECT_EQ(TurnNumberText(f), "6");
  f.kind = 0;
  f.playerCount = 0;  // no players: no division
  EXPECT_EQ(TurnNumberText(f), "6");
}

TEST(PlayersPanelModel, PlayerToMove) {
  TurnFacts f;
  f.state = 3;
  f.currentPlayer = 2;
  f.playerCount = 3;
  EXPECT_TRUE(IsPlayerToMove(f, 2));
  EXPECT_FALSE(IsPlayerToMove(f, 1));
  f.state = 5;
  f.firstPlayer = 1;
  f.historyIndex = 3;  // (1 + 3 - 2) mod 3
  EXPECT_TRUE(IsPlayerToMove(f, 2));
  f.room = 13;  // (1 + 3 - 1) mod 3
  EXPECT_TRUE(IsPlayerToMove(f, 0));
  f.historyIndex = 0;
  EXPECT_FALSE(IsPlayerToMove(f, 0));
  f.historyIndex = 3;
  f.kind = 1;
  EXPECT_FALSE(IsPlayerToMove(f, 0));
  f.kind = 0;
  f.playerCount = 0;
  EXPECT_FALSE(IsPlayerToMove(f, 0));
}

TEST(PlayersPanelModel, StatusLinesAndLevels) {
  EXPECT_EQ(PlayerStatusStringId(-3), 7171u);
  EXPECT_EQ(PlayerStatusStringId(-2), 3192u);
  EXPECT_EQ(PlayerStatusStringId(-1), 3184u);
  EXPECT_EQ(PlayerStatusStringId(1), 3186u);
  EXPECT_EQ(PlayerStatusStringId(2), 3185u);
  EXPECT_EQ(PlayerStatusStringId(4), 3187u);
  EXPECT_EQ(PlayerStatusStringId(6), 1865u);
  for (int code : {0, 3, 5, 9})
    EXPECT_EQ(PlayerStatusStringId(code), 0u) << code;
  EXPECT_STREQ(RobotLevelText(599), "[Novice]");
  EXPECT_STREQ(RobotLevelText(600), "[Intermediate]");
  EXPECT_STREQ(RobotLevelText(1999), "[Expert]");
  EXPECT_STREQ(RobotLevelText(2000), "[Master]");
}

}  // namespace
}  // namespace ui
