// The closing-board component: extensions of the word at both ends.
#include "eval_fixture.h"

namespace {

using evalfix::EvalTest;

class ClosingBoardTest : public EvalTest {
 protected:
  void SetUp() override {
    EvalTest::SetUp();
    // cat: cats, cate after it, scat before it; zoo: zoos after it only.
    LoadWords(evalfix::Words({"cat", "cats", "cate", "scat", "zoo", "zoos", "as"}), "closing");
    std::memset(rules_.premiumMap, 0, sizeof rules_.premiumMap);  // scores = face values
    SetRack(0, "catzoo`");
  }
  float Term(const char* word, int row, int column, bool down = false) {
    return Eval(*component_, Move(word, row, column, down));
  }
  std::unique_ptr<RobotEvaluator> component_ = MakeClosingBoardComponent();
};

TEST_F(ClosingBoardTest, BestExtensionScoreAgainstTheMove) {
  evalfix::FillBagTo(bag_, "se", 40, 'q');
  // cats and cate score 6, scat 6: the best is 6.
  EXPECT_FLOAT_EQ(Term("cat", 7, 5), -6.0f);
  EXPECT_FLOAT_EQ(Term("cat", 5, 7, true), -6.0f);
  // zoos: 10 + 1 + 1 + 1.
  EXPECT_FLOAT_EQ(Term("zoo", 7, 5), -13.0f);
}

TEST_F(ClosingBoardTest, WalksStopAtBothEdges) {
  evalfix::FillBagTo(bag_, "se", 40, 'q');
  // zoo ending on the last column: nothing after it and nothing before.
  EXPECT_FLOAT_EQ(Term("zoo", 7, 12), -1.0f);
  // cat from column 0: only the extensions after it (the walk before it
  // starts off the board).
  EXPECT_FLOAT_EQ(Term("cat", 7, 0), -6.0f);
  EXPECT_FLOAT_EQ(Term("cat", 0, 3, true), -6.0f);
  EXPECT_FLOAT_EQ(Term("cat", 12, 3, true), -6.0f);  // scat above it
}

TEST_F(ClosingBoardTest, ThePoolLimitsTheLetters) {
  evalfix::FillBagTo(bag_, "e", 40, 'q');  // no s anywhere
  EXPECT_FLOAT_EQ(Term("zoo", 7, 5), -1.0f);
  RobotSettings s;
  s.poolLimited = 0;  // any letter
  SetSettings(0, s);
  EXPECT_FLOAT_EQ(Term("zoo", 7, 5), -13.0f);
}

TEST_F(ClosingBoardTest, OtherRacksAreUnseenTilesButTheMoversOwnAreNot) {
  evalfix::FillBagTo(bag_, "", 40, 'q');
  SetRack(0, "zoosabc");
  EXPECT_FLOAT_EQ(Term("zoo", 7, 5), -1.0f);
  SetRack(1, "s______");
  EXPECT_FLOAT_EQ(Term("zoo", 7, 5), -13.0f);
}

TEST_F(ClosingBoardTest, CrossWordsRestrictTheSquare) {
  evalfix::FillBagTo(bag_, "sse", 40, 'q');
  // A tile above the square after zoo: the s must make "as" there.
  Lay(6, 8, "a");
  EXPECT_FLOAT_EQ(Term("zoo", 7, 5), -13.0f);
  Lay(6, 8, "z");  // "zs" is no word
  EXPECT_FLOAT_EQ(Term("zoo", 7, 5), -1.0f);
}

TEST_F(ClosingBoardTest, OtherKindsCountTheWaysToExtend) {
  evalfix::FillBagTo(bag_, "se", 40, 'q');
  ctx_.kind = kKindDuplicate;
  EXPECT_FLOAT_EQ(Term("cat", 7, 5), 2.0f);   // s and e after it; s before it
  EXPECT_FLOAT_EQ(Term("zoo", 7, 12), 1.0f);  // none
}

}  // namespace
