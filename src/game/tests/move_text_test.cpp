// The move text of the move list, the mentor and the panels: each part
// alone and together, both notations, blanks, and the crossagram game that
// shows no points.
#include "game/move_text.h"

#include <gtest/gtest.h>

#include <string>

#include "game/game.h"
#include "game_test_support.h"

namespace {

struct Case {
  const char* word;
  int column, row;
  bool down;
  int32_t notation;
  uint32_t parts;
  const char* expected;
};

TEST(FormatMoveText, PartsAndNotations) {
  const Case cases[] = {
      {"quartz", 7, 7, false, 0, kMoveTextAll, "[8h] quartz 24"},
      {"quartz", 7, 7, false, 1, kMoveTextAll, "[h8] quartz 24"},
      {"quartz", 2, 10, true, 0, kMoveTextAll, "[c11] quartz 24"},
      {"quartz", 2, 10, true, 1, kMoveTextAll, "[3k] quartz 24"},
      {"quartz", 14, 14, false, 0, kMoveTextPosition, "[15o] "},
      {"quartz", 0, 0, true, 1, kMoveTextPosition, "[1a] "},
      {"quartz", 7, 7, false, 2, kMoveTextAll, "[] quartz 24"},   // unknown notation
      {"quartz", 7, 7, false, -1, kMoveTextAll, "[] quartz 24"},  // unknown notation
      {"quArtz", 7, 7, false, 0, kMoveTextWord, "quArtz "},       // a blank stays upper case
      {"quartz", 7, 7, false, 0, kMoveTextScore, "24"},
      {"quartz", 7, 7, false, 0, kMoveTextWord | kMoveTextScore, "quartz 24"},
      {"quartz", 7, 7, false, 0, 0, ""},
  };
  for (const Case& c : cases) {
    const RobotMove m = gametest::Move(c.word, 24, static_cast<uint8_t>(c.column),
                                       static_cast<uint8_t>(c.row), c.down);
    std::string out;
    FormatMoveText(m, out, c.notation, nullptr, c.parts);
    EXPECT_EQ(out, c.expected) << c.word << " " << c.column << "," << c.row << " notation "
                               << c.notation << " parts " << c.parts;
  }
}

TEST(FormatMoveText, AppendsToTheCallersTextAndHidesCrossagramPoints) {
  const RobotMove m = gametest::Move("zebra", 31, 4, 2);
  std::string out = "1- ";
  CGame game;
  game.setup.kind = kKindStandard;
  FormatMoveText(m, out, 0, &game, kMoveTextAll);
  EXPECT_EQ(out, "1- [3e] zebra 31");
  game.setup.kind = kKindCrossagram;
  out.clear();
  FormatMoveText(m, out, 0, &game, kMoveTextAll);
  EXPECT_EQ(out, "[3e] zebra ");
}

TEST(FormatMoveText, WordWithoutTerminatorIsBounded) {
  RobotMove m = gametest::Move("", 5, 0, 0);
  std::memset(m.word, 'x', sizeof m.word);  // no NUL in the field
  std::string out;
  FormatMoveText(m, out, 0, nullptr, kMoveTextWord);
  EXPECT_EQ(out, std::string(sizeof m.word, 'x') + " ");
}

}  // namespace
