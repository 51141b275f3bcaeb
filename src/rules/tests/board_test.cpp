#include "rules/board.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "rules/game_setup.h"

namespace {

class BoardTest : public testing::Test {
 protected:
  void SetUp() override {
    GameSetup game;
    game.kind = kKindStandard;
    rules.Setup(0, 7, &game);
    board = std::make_unique<GameBoard>(&rules);
  }

  void Put(int row, int column, const char* letters, bool down = false) {
    for (int i = 0; letters[i]; ++i)
      board->letters[(row + (down ? i : 0)) * kBoardStride + column + (down ? 0 : i)] = letters[i];
  }

  RobotMove Move(const char* word, int row, int column, bool down = false) {
    RobotMove m;
    std::strncpy(m.word, word, sizeof m.word - 1);
    m.row = static_cast<uint8_t>(row);
    m.column = static_cast<uint8_t>(column);
    m.direction = down ? 1 : 0;
    m.length = static_cast<uint8_t>(std::strlen(word));
    return m;
  }

  GameRules rules;
  std::unique_ptr<GameBoard> board;
};

// Values (set 0): a1 b3 c3 d2 e1 f4 g2 h4 i1 s1 t1 z10. Row 7 has the triple
// word at 0 and 14, double letters at 3 and 11, the double word at 7.
TEST_F(BoardTest, ScoreWordTable) {
  struct Case {
    const char* name;
    const char* onBoard;  // placed across row 7 from column onBoardAt first
    int onBoardAt;
    const char* word;
    int row, column;
    bool down;
    int32_t score;
  };
  const Case cases[] = {
      {"7 new tiles over DL and DW", "", 0, "abcdefg", 7, 1, false,
       (1 + 3 + 6 + 2 + 1 + 4 + 2) * 2 + 50},
      {"a board tile on the DL earns no premium, no bonus", "c", 3, "abcdefg", 7, 1, false,
       (1 + 3 + 3 + 2 + 1 + 4 + 2) * 2},
      {"a board tile on the DW does not double", "g", 7, "abcdefg", 7, 1, false,
       1 + 3 + 6 + 2 + 1 + 4 + 2},
      {"6 new tiles: no bonus", "", 0, "abcdef", 7, 0, false, (1 + 3 + 3 + 4 + 1 + 4) * 3},
      {"8 new tiles: +75", "", 0, "abcdefgh", 7, 0, false,
       (1 + 3 + 3 + 4 + 1 + 4 + 2 + 4) * 6 + 75},
      {"9 new tiles: +100", "", 0, "abcdefghi", 7, 0, false,
       (1 + 3 + 3 + 4 + 1 + 4 + 2 + 4 + 1) * 6 + 100},
      {"a blank on a triple letter adds 0", "", 0, "Za", 1, 5, false, 0 + 1},
      {"a blank on a double word still doubles", "", 0, "Ab", 7, 7, false, (0 + 3) * 2},
      {"down from the corner", "", 0, "ab", 0, 0, true, (1 + 3) * 3},
      {"cross word through a board tile, new tile on a DL", "t", 8, "ta", 7, 8, true, 1 + 2},
      {"a blank already on the board is worth 0", "E", 7, "Eat", 7, 7, false, 0 + 1 + 1},
  };
  for (const Case& c : cases) {
    SetUp();
    Put(7, c.onBoardAt, c.onBoard);
    RobotMove m = Move(c.word, c.row, c.column, c.down);
    EXPECT_EQ(board->ScoreWord(m), c.score) << c.name;
    EXPECT_EQ(m.score, c.score) << c.name;
    EXPECT_EQ(m.wordScore, c.score) << c.name;
  }
  // The row-end code 16 is no premium.
  rules.premiumMap[0] = kPremiumRowEnd;
  RobotMove m = Move("ab", 0, 0);
  EXPECT_EQ(board->ScoreWord(m), 4);
}

TEST_F(BoardTest, MalformedMoveStaysOnTheGrid) {
  RobotMove m = Move("abc", 14, 13);
  m.length = 255;  // longer than the word field, running off the board
  char before[sizeof board->letters];
  std::memcpy(before, board->letters, sizeof before);
  // a on (14,13), b on the triple word at (14,14), c past the edge at face
  // value; the rest of the word field is empty and worth nothing.
  EXPECT_EQ(board->ScoreWord(m), (1 + 3 + 3) * 3);
  EXPECT_EQ(m.score, (1 + 3 + 3) * 3);
  EXPECT_EQ(std::memcmp(before, board->letters, sizeof before), 0);
}

TEST_F(BoardTest, AnchorsLineFlagsAndPhase) {
  board->ComputeAnchors();
  EXPECT_EQ(board->anchors[7 * kBoardStride + 7], kAnchorCentre);
  EXPECT_EQ(board->phase, 0);
  EXPECT_EQ(board->rowFlags[7], 1);
  EXPECT_EQ(board->rowFlags[6], 0);
  EXPECT_EQ(board->columnFlags[7], 1);

  Put(7, 6, "cat");
  board->ComputeAnchors();
  EXPECT_EQ(board->tilesOnBoard, 3);
  EXPECT_EQ(board->phase, 1);
  EXPECT_EQ(board->anchors[7 * kBoardStride + 7], 0);  // occupied centre
  EXPECT_EQ(board->anchors[7 * kBoardStride + 5], kAnchorTileRight);
  EXPECT_EQ(board->anchors[7 * kBoardStride + 9], kAnchorTileLeft);
  EXPECT_EQ(board->anchors[6 * kBoardStride + 6], kAnchorTileBelow);
  EXPECT_EQ(board->anchors[8 * kBoardStride + 7], kAnchorTileAbove);
  EXPECT_EQ(board->rowFlags[6], 1);
  EXPECT_EQ(board->rowFlags[5], 0);
  EXPECT_EQ(board->columnFlags[5], 1);
  EXPECT_EQ(board->columnFlags[4], 0);

  // A square between two tiles carries both flags.
  Put(5, 7, "o");
  board->ComputeAnchors();
  EXPECT_EQ(board->anchors[6 * kBoardStride + 7], kAnchorTileAbove | kAnchorTileBelow);

  // Phase by tiles on the board (100 tiles in the set).
  struct PhaseCase {
    int tiles, phase;
  };
  for (PhaseCase pc : {PhaseCase{19, 1}, {20, 2}, {74, 2}, {75, 3}, {85, 3}, {86, 4}}) {
    std::memset(board->letters, 0, sizeof board->letters);
    for (int i = 0; i < pc.tiles; ++i)
      board->letters[i] = 'e';
    board->ComputeAnchors();
    EXPECT_EQ(board->phase, pc.phase) << pc.tiles << " tiles";
  }
}

TEST_F(BoardTest, LineScratch) {
  Put(7, 6, "cat");
  char rack[kRackTextSize] = "ab`__";
  board->LoadFromGrid(&rules, board->letters, rack);
  EXPECT_EQ(board->rackCounts[1], 1);
  EXPECT_EQ(board->rackCounts[2], 1);
  EXPECT_EQ(board->rackCounts[0], 1);

  ASSERT_TRUE(board->BuildLineScratch(7, kLineAcross));
  EXPECT_EQ(board->LineLetter(-1), 0);
  EXPECT_EQ(board->LineLetter(6), 'c');
  EXPECT_EQ(board->LineLetter(15), 0);
  EXPECT_EQ(board->firstAnchor, 5);
  EXPECT_EQ(board->lastAnchor, 9);
  EXPECT_EQ(board->LineAnchor(5), kAnchorTileRight);
  EXPECT_EQ(board->lineRackCounts[1], 2);  // a on the rack and on the line
  EXPECT_EQ(board->lineRackCounts[3], 1);
  EXPECT_EQ(board->lineRackCounts[20], 1);
  EXPECT_EQ(board->lettersAvailable, 6);

  ASSERT_TRUE(board->BuildLineScratch(7, kLineDown));
  EXPECT_EQ(board->LineLetter(7), 'a');
  EXPECT_EQ(board->firstAnchor, 6);
  EXPECT_EQ(board->lastAnchor, 8);

  ASSERT_TRUE(board->BuildLineScratch(0, kLineAcross));
  EXPECT_EQ(board->firstAnchor, kNoAnchorPlace);
  EXPECT_EQ(board->lastAnchor, kNoAnchorPlace);
  EXPECT_FALSE(board->BuildLineScratch(15, kLineAcross));

  // A long rack and a full line: letters available stop at the side.
  std::memset(board->letters, 0, sizeof board->letters);
  Put(3, 0, "abcdefghijklm");
  int32_t counts[kLetterSlots] = {};
  counts[5] = 7;
  board->LoadFromGridAndCounts(&rules, board->letters, counts);
  board->BuildLineScratch(3, kLineAcross);
  EXPECT_EQ(board->lettersAvailable, 15);
}

TEST(LetterCounting, RackAndCountHelpers) {
  GameRules rules;
  rules.Setup(1, 7);  // French: Y is a vowel
  int32_t counts[kLetterSlots] = {};
  EXPECT_FALSE(HasVowel(counts, rules));
  EXPECT_FALSE(HasConsonant(counts, rules));
  counts[0] = 1;  // a blank is no vowel
  EXPECT_FALSE(HasVowel(counts, rules));
  EXPECT_TRUE(HasConsonant(counts, rules));
  counts[0] = 0;
  counts[25] = 1;
  EXPECT_TRUE(HasVowel(counts, rules));
  EXPECT_FALSE(HasConsonant(counts, rules));

  const char rack[8] = {'a', '`', 'b', '_', 0, 'y', '`', 0};
  EXPECT_EQ(CountTiles(rack, 7), 3);
  EXPECT_EQ(CountBlanks(rack, 7), 2);
  EXPECT_EQ(CountVowels("queue"), 4);
  int32_t c[kLetterSlots] = {};
  c[0] = 1;
  c[5] = 2;
  c[26] = 1;
  EXPECT_EQ(LetterCountsToString(c), "`eez");
}

}  // namespace
