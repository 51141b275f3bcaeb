// The premium-square components: squares blocked (13) and closing bonuses (1).
#include <array>
#include <initializer_list>

#include "eval_fixture.h"

namespace {

using evalfix::EvalTest;

class PremiumTest : public EvalTest {
 protected:
  void SetUp() override {
    EvalTest::SetUp();
    // cat hooks at both ends (scat, cats); zoo and tzz at neither.
    LoadWords(evalfix::Words({"cat", "cats", "scat", "zoo", "tzz"}), "premium");
    SetRack(0, "catzoo`");
  }
  // Only the listed squares carry premiums: {row, column, code}.
  void OnlyPremiums(std::initializer_list<std::array<int, 3>> squares) {
    std::memset(rules_.premiumMap, 0, sizeof rules_.premiumMap);
    for (const auto& s : squares)
      rules_.premiumMap[s[0] * kBoardStride + s[1]] = static_cast<uint8_t>(s[2]);
  }
  std::unique_ptr<RobotEvaluator> blocked_ = MakePremiumComponent(kEvalBonusBlock);
  std::unique_ptr<RobotEvaluator> closing_ = MakePremiumComponent(kEvalClosingBonus);
};

TEST_F(PremiumTest, SquaresBlockedOnTheStandardLayout) {
  struct Case {
    const char* word;
    int row, column;
    int32_t kind;
    float term;
  } cases[] = {
      {"cat", 4, 6, kKindStandard, 0.0f},    // no premium under or beside it
      {"cat", 0, 6, kKindStandard, 8.0f},    // covers the triple word, both ends hook
      {"cat", 0, 6, kKindDuplicate, 0.0f},   // nothing left at its ends
      {"zoo", 0, 8, kKindStandard, 9.0f},    // squares 7..11: triple word and double letter
      {"zoo", 0, 8, kKindDuplicate, -9.0f},  // both are end squares
      {"zoo", 0, 11, kKindStandard, 1.0f},   // ends at 13: the edge square is left out
  };
  for (const Case& c : cases) {
    ctx_.kind = c.kind;
    EXPECT_FLOAT_EQ(Eval(*blocked_, Move(c.word, c.row, c.column)), c.term)
        << c.word << " " << c.row << "," << c.column << " kind " << c.kind;
  }
}

TEST_F(PremiumTest, SquaresBlockedReadPremiumsInTheBoardsOwnOrientation) {
  // Across at row 10 from column 4: the square before it is (10, 3).
  OnlyPremiums({{10, 3, kPremiumTripleWord}});
  EXPECT_FLOAT_EQ(Eval(*blocked_, Move("zoo", 10, 4)), 8.0f);
  OnlyPremiums({{3, 10, kPremiumTripleWord}});
  EXPECT_FLOAT_EQ(Eval(*blocked_, Move("zoo", 10, 4)), 0.0f);
  // Down column 10 from row 4: the square before it is (3, 10).
  EXPECT_FLOAT_EQ(Eval(*blocked_, Move("zoo", 4, 10, true)), 8.0f);
}

TEST_F(PremiumTest, SquaresBlockedStopAtTheRealBoardSide) {
  // On the 15 x 15 board the square after a word ending at 9 counts.
  OnlyPremiums({{2, 10, kPremiumTripleWord}});
  EXPECT_FLOAT_EQ(Eval(*blocked_, Move("zoo", 2, 7)), 8.0f);
  // On 11 x 11, 10 is the edge square after a word ending one before it.
  GameSetup setup;
  setup.kind = kKindStandard;
  rules_.Setup(0, 5, &setup);
  OnlyPremiums({{2, 10, kPremiumTripleWord}});
  EXPECT_FLOAT_EQ(Eval(*blocked_, Move("zoo", 2, 7)), 0.0f);
}

TEST_F(PremiumTest, ClosingBonusIsMinusOneWhenNothingOpens) {
  OnlyPremiums({});
  const RobotMove m = Move("zoo", 7, 6);
  struct Case {
    int32_t kind;
    float term;
  } cases[] = {{kKindStandard, -1.0f}, {kKindDuplicate, 1.0f}, {kKindAnagram, 0.0f}};
  for (const Case& c : cases) {
    ctx_.kind = c.kind;
    EXPECT_FLOAT_EQ(Eval(*closing_, m), c.term) << c.kind;
  }
}

TEST_F(PremiumTest, ClosingBonusBandValues) {
  // The move covers row 7, columns 6..8; premiums sit in column 7 above it.
  struct Case {
    std::vector<std::array<int, 3>> premiums;
    const char* word;
    int32_t kind;
    float weight;
    int bag;
    float term;
  } cases[] = {
      // Double word two squares off: 4 x (8 - 2) / 1 = 24, x 70%.
      {{{5, 7, kPremiumDoubleWord}}, "zoo", kKindStandard, 70.0f, 60, -16.8f},
      {{{5, 7, kPremiumDoubleWord}}, "zoo", kKindStandard, 100.0f, 60, -24.0f},
      {{{5, 7, kPremiumDoubleWord}}, "zoo", kKindStandard, 100.0f, 80, -12.0f},  // full bag: half
      {{{5, 7, kPremiumDoubleWord}}, "zoo", kKindDuplicate, 100.0f, 60, 24.0f},
      // A tile between the premium and the line: c = 1 + the 3 x 3 block's 1.
      // Two double words 2 apart: the pair, 12 x (8 - 2) / 1 = 72.
      {{{5, 7, kPremiumDoubleWord}, {3, 7, kPremiumDoubleWord}},
       "zoo",
       kKindStandard,
       100.0f,
       60,
       -72.0f},
      // A triple word: 8 x 6 = 48; a duplicate game with a word from AEIRST: x 1.5.
      {{{5, 7, kPremiumTripleWord}}, "zoo", kKindDuplicate, 100.0f, 60, 48.0f},
      {{{5, 7, kPremiumTripleWord}}, "tzz", kKindDuplicate, 100.0f, 60, 72.0f},
      {{{5, 7, kPremiumTripleWord}}, "tzz", kKindStandard, 100.0f, 60, -48.0f},
  };
  for (const Case& c : cases) {
    std::memset(rules_.premiumMap, 0, sizeof rules_.premiumMap);
    for (const auto& s : c.premiums)
      rules_.premiumMap[s[0] * kBoardStride + s[1]] = static_cast<uint8_t>(s[2]);
    ctx_.kind = c.kind;
    evalfix::FillBagTo(bag_, "", c.bag);
    RobotSettings s;
    s.closingBonusWeight = c.weight;
    SetSettings(0, s);
    SetRack(0, "zootzz`");
    EXPECT_NEAR(Eval(*closing_, Move(c.word, 7, 6)), c.term, 1e-4f)
        << c.word << " kind " << c.kind << " weight " << c.weight << " bag " << c.bag;
  }
}

TEST_F(PremiumTest, ClosingBonusCountsTilesBetweenThePremiumAndTheLine) {
  OnlyPremiums({{4, 7, kPremiumDoubleWord}});
  Lay(5, 7, "c");
  // c = 1 tile between + 1 in the block around (4, 7) = 2; 4 x (8 - 3) / 2 = 10.
  RobotSettings s;
  s.closingBonusWeight = 100.0f;
  SetSettings(0, s);
  SetRack(0, "zoo`abc");
  EXPECT_FLOAT_EQ(Eval(*closing_, Move("zoo", 7, 6)), -10.0f);
}

TEST_F(PremiumTest, ClosingBonusExtendsTheMoveByItsHooks) {
  // cat at row 7, 5..7 hooks to scat/cats: the band reaches columns 4..8.
  OnlyPremiums({{5, 4, kPremiumDoubleWord}});
  RobotSettings s;
  s.closingBonusWeight = 100.0f;
  SetSettings(0, s);
  EXPECT_FLOAT_EQ(Eval(*closing_, Move("cat", 7, 5)), -24.0f);
  EXPECT_FLOAT_EQ(Eval(*closing_, Move("zoo", 7, 5)), -1.0f);  // no hook: column 4 not reached
}

TEST_F(PremiumTest, ClosingBonusLooksAlongTheLinesBesideAHookedSquare) {
  // "za": the z laid first in zoo takes an a after it across the line, so
  // the line before the move's (row 6) is walked back from the z's column:
  // a double word at column 2, 4 squares away: (7 - 4) / 1 x 4 = 12, halved
  // in a standard game.
  LoadWords(evalfix::Words({"zoo", "za"}), "premium-side");
  OnlyPremiums({{6, 2, kPremiumDoubleWord}});
  RobotSettings s;
  s.closingBonusWeight = 100.0f;
  SetSettings(0, s);
  EXPECT_FLOAT_EQ(Eval(*closing_, Move("zoo", 7, 6)), -6.0f);
  ctx_.kind = kKindDuplicate;
  EXPECT_FLOAT_EQ(Eval(*closing_, Move("zoo", 7, 6)), 12.0f);
  // Without the hook nothing opens there.
  ctx_.kind = kKindStandard;
  LoadWords(evalfix::Words({"zoo"}), "premium-noside");
  EXPECT_FLOAT_EQ(Eval(*closing_, Move("zoo", 7, 6)), -1.0f);
}

}  // namespace
