#include "rules/rules.h"

#include <gtest/gtest.h>

#include "rules/game_setup.h"
#include "rules/layouts.h"
#include "rules/tileset.h"

namespace {

int Sum(const int32_t* a) {
  int s = 0;
  for (int i = 0; i < kLetterSlots; ++i)
    s += a[i];
  return s;
}

int Index(char upper) { return upper - 'A' + 1; }

// Value and count of a few letters per set, and each set's totals.
TEST(TileSets, CountsValuesAndTotalsMatchTheTables) {
  struct Case {
    int set;
    int total;
    int letters;
    char letter;
    int value, count;
  };
  const Case cases[] = {
      {0, 100, 26, 'E', 1, 12}, {0, 100, 26, 'Q', 10, 1}, {0, 100, 26, 'K', 5, 1},
      {0, 100, 26, 'Y', 4, 2},  {1, 102, 26, 'E', 1, 15}, {1, 102, 26, 'K', 10, 1},
      {1, 102, 26, 'W', 10, 1}, {1, 102, 26, 'L', 1, 5},  {2, 102, 29, 'N', 1, 9},
      {2, 102, 29, 'A', 1, 5},  {3, 100, 26, 'C', 5, 2},  {3, 100, 26, 'Z', 4, 1},
  };
  for (const Case& c : cases) {
    const TileSet* set = GetTileSet(c.set);
    ASSERT_NE(set, nullptr);
    SCOPED_TRACE(testing::Message() << "set " << c.set << " letter " << c.letter);
    EXPECT_EQ(Sum(set->counts), c.total);
    EXPECT_EQ(TileSetLetterCount(c.set), c.letters);
    EXPECT_EQ(set->values[Index(c.letter)], c.value);
    EXPECT_EQ(set->counts[Index(c.letter)], c.count);
    // Every set: slot 0 is two blanks worth 0 with leave weight 245.
    EXPECT_EQ(set->codes[0], 0);
    EXPECT_EQ(set->values[0], 0);
    EXPECT_EQ(set->counts[0], 2);
    EXPECT_EQ(set->leaveWeights[0], 245);
    // Slots past the set's letters are zero.
    for (int i = c.letters + 1; i < kLetterSlots; ++i)
      EXPECT_EQ(set->counts[i] | set->values[i] | set->codes[i] | set->leaveWeights[i], 0);
  }
  EXPECT_EQ(GetTileSet(4), nullptr);
  EXPECT_EQ(GetTileSet(-1), nullptr);
}

TEST(TileSets, VowelCodes) {
  const char* vowels[] = {"AEIOU", "AEIOUY", nullptr, "AEIOU"};
  for (int s : {0, 1, 3}) {
    const TileSet* set = GetTileSet(s);
    for (char ch = 'A'; ch <= 'Z'; ++ch) {
      const bool vowel = std::string(vowels[s]).find(ch) != std::string::npos;
      EXPECT_EQ(set->codes[Index(ch)], Index(ch) + (vowel ? 128 : 0)) << "set " << s << " " << ch;
    }
  }
  // Set 2 has codes of its own, including its three extra letters.
  const TileSet* s2 = GetTileSet(2);
  const int32_t expected[30] = {0,   129, 3,  4,  5,  134, 7,   8,  9,  138, 11, 12, 13,  14,  15,
                                144, 18,  19, 20, 21, 22,  151, 25, 26, 27,  28, 29, 130, 145, 152};
  for (int i = 0; i < 30; ++i)
    EXPECT_EQ(s2->codes[i], expected[i]) << i;
  EXPECT_EQ(s2->leaveWeights[27], -40);
  EXPECT_EQ(s2->leaveWeights[28], 30);
  EXPECT_EQ(s2->leaveWeights[29], 35);
}

TEST(GameRulesTest, SetupReplacesTheWholeTileSet) {
  GameRules rules;
  rules.Setup(1, 7);
  rules.Setup(0, 7);
  const TileSet* set0 = GetTileSet(0);
  for (int i = 0; i < kLetterSlots; ++i) {
    EXPECT_EQ(rules.letterValues[i], set0->values[i]);
    EXPECT_EQ(rules.tileCounts[i], set0->counts[i]);
    EXPECT_EQ(rules.letterCodes[i], set0->codes[i]);
    EXPECT_EQ(rules.leaveWeights[i], set0->leaveWeights[i]);
  }
  EXPECT_EQ(rules.letterCount, 26);
  EXPECT_EQ(rules.totalTiles, 100);
  EXPECT_EQ(rules.tileSetIndex, 0);

  for (int bad : {4, -1}) {
    rules.LoadTileSet(bad);
    EXPECT_EQ(rules.totalTiles, 0);
    EXPECT_EQ(rules.letterValues[Index('Q')], 10);  // arrays kept
  }
}

TEST(GameRulesTest, LetterValues) {
  GameRules rules;
  rules.Setup(0, 7);
  EXPECT_EQ(rules.LetterValue('e'), 1);
  EXPECT_EQ(rules.LetterValue('z'), 10);
  EXPECT_EQ(rules.LetterValue('E'), 0);  // a blank showing E
  EXPECT_EQ(rules.LetterValue('`'), 0);  // an unassigned blank: slot 0
  EXPECT_EQ(rules.LetterValue('_'), 0);
  EXPECT_EQ(rules.LetterValue(static_cast<char>(0xE5)), 0);  // high bytes read as signed
}

TEST(PremiumLayouts, LandmarkSquares) {
  struct Case {
    int side, row, column;
    int32_t code;
  };
  const Case cases[] = {
      {15, 0, 0, kPremiumTripleWord},    {15, 7, 7, kPremiumDoubleWord},
      {15, 14, 14, kPremiumTripleWord},  {15, 1, 5, kPremiumTripleLetter},
      {15, 13, 9, kPremiumTripleLetter}, {15, 8, 6, kPremiumDoubleLetter},
      {15, 14, 3, kPremiumDoubleLetter}, {15, 10, 4, kPremiumDoubleWord},
      {15, 7, 0, kPremiumTripleWord},    {15, 7, 1, kPremiumNone},
      {11, 0, 0, kPremiumTripleLetter},  {11, 0, 3, kPremiumDoubleLetter},
      {11, 10, 7, kPremiumDoubleLetter}, {11, 5, 10, kPremiumTripleLetter},
      {11, 6, 1, kPremiumDoubleLetter},  {11, 5, 5, kPremiumDoubleLetter},
      {7, 3, 3, kPremiumNone},           {7, 0, 0, kPremiumNone},
      {13, 0, 0, kPremiumNone},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SquareLayoutPremium(c.side, c.row, c.column), c.code)
        << c.side << ": " << c.row << "," << c.column;

  EXPECT_EQ(RowLayoutPremium(5, 4), kPremiumDoubleWord);
  EXPECT_EQ(RowLayoutPremium(7, 6), kPremiumRowEnd);
  EXPECT_EQ(RowLayoutPremium(9, 6), kPremiumNone);
  EXPECT_EQ(RowLayoutPremium(9, 8), kPremiumRowEnd);
  EXPECT_EQ(RowLayoutPremium(12, 11), kPremiumRowEnd);
  EXPECT_EQ(RowLayoutPremium(12, 4), kPremiumDoubleLetter);
  EXPECT_EQ(RowLayoutPremium(4, 0), kPremiumNone);
  EXPECT_EQ(RowLayoutPremium(13, 0), kPremiumNone);
}

TEST(GameRulesTest, BoardLayoutByRackAndKind) {
  GameSetup game;
  game.kind = kKindStandard;
  GameRules rules;

  struct Case {
    int32_t kind, flags, rack;
    int32_t wantRack, wantSide, wantCentre;
  };
  const Case cases[] = {
      {kKindStandard, 0, 7, 7, 15, 7},
      {kKindStandard, kFlagSevenOfEight, 7, 8, 15, 7},
      {kKindDuplicate, kFlagEightOfEight, 7, 8, 15, 7},
      {kKindStandard, 0, 5, 5, 11, 5},
      {kKindStandard, 0, 3, 3, 7, 3},
      {kKindCrossagram, 0, 5, 11, 11, 5},
      // A rack too large for the board keeps the board at 15 x 15.
      {kKindStandard, 0, 9, 9, 15, 7},
  };
  for (const Case& c : cases) {
    game.kind = c.kind;
    game.flags = c.flags;
    rules.Setup(0, c.rack, &game);
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " rack " << c.rack);
    EXPECT_EQ(rules.rackSize, c.wantRack);
    EXPECT_EQ(rules.boardSide, c.wantSide);
    EXPECT_EQ(rules.centre, c.wantCentre);
    for (int r = 0; r < kMaxBoardSide; ++r)
      for (int col = 0; col < kMaxBoardSide; ++col)
        ASSERT_EQ(rules.Premium(r, col), SquareLayoutPremium(c.wantSide, r, col))
            << r << "," << col;
  }
  EXPECT_EQ(rules.premiumMap[kBoardSquares], 0);
}

TEST(GameRulesTest, SingleRowGamesKeepTheSideAndUseTheRowLayout) {
  GameRules rules;
  GameSetup game;
  game.kind = kKindStandard;
  rules.Setup(0, 7, &game);  // leaves a 15 x 15 board

  game.kind = kKindConundrum;
  rules.Setup(0, 7, &game);
  EXPECT_EQ(rules.boardSide, 15);
  EXPECT_EQ(rules.rackSize, 15);
  EXPECT_EQ(rules.centre, 0);
  for (uint8_t b : rules.premiumMap)
    EXPECT_EQ(b, 0);  // no row layout of 15

  rules.boardSide = 9;
  rules.Setup(0, 7, &game);
  EXPECT_EQ(rules.rackSize, 9);
  const uint8_t row9[9] = {0, 0, 1, 0, 2, 4, 0, 8, 16};
  for (int c = 0; c < 9; ++c)
    EXPECT_EQ(rules.premiumMap[c], row9[c]);
  for (int i = 9; i < kBoardSquares; ++i)
    ASSERT_EQ(rules.premiumMap[i], 0);

  // The anagram game keeps the side and copies the square layout of it.
  game.kind = kKindAnagram;
  rules.boardSide = 7;
  rules.Setup(0, 7, &game);
  EXPECT_EQ(rules.rackSize, 7);
  EXPECT_EQ(rules.centre, 0);
}

TEST(GameRulesTest, OutsideAGameThePremiumMapStays) {
  GameRules rules;
  GameSetup game;
  game.kind = kKindStandard;
  rules.Setup(0, 7, &game);
  rules.Setup(1, 5);
  EXPECT_EQ(rules.boardSide, 11);
  EXPECT_EQ(rules.rackSize, 5);
  EXPECT_EQ(rules.Premium(7, 7), kPremiumDoubleWord);  // still the 15 x 15 map
  EXPECT_EQ(rules.totalTiles, 102);
}

}  // namespace
