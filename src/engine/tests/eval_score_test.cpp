// The score, joker, convention and difficulty components and the notes.
#include "eval_fixture.h"

namespace {

using evalfix::EvalTest;

class ScoreComponentsTest : public EvalTest {
 protected:
  void SetUp() override {
    EvalTest::SetUp();
    LoadWords(evalfix::Words({"cat", "tat", "act", "at", "ta", "zoo"}), "score");
  }
  std::unique_ptr<RobotEvaluator> Make(int index) { return MakeScoreComponent(index); }
};

TEST_F(ScoreComponentsTest, WordScoreIsTheWeightInPercentOfTheScore) {
  auto e = Make(kEvalWordScore);
  SetRack(0, "catxyzq");
  RobotMove m = Move("cat", 7, 6);
  ASSERT_GT(m.score, 0);
  EXPECT_FLOAT_EQ(Eval(*e, m), 2.0f * static_cast<float>(m.score));  // default 200
  RobotSettings s;
  s.wordScoreWeight = 100.0f;
  SetSettings(0, s);
  EXPECT_FLOAT_EQ(Eval(*e, m), static_cast<float>(m.score));
}

TEST_F(ScoreComponentsTest, JokerPenalties) {
  auto e = Make(kEvalJokerUse);
  struct Case {
    const char* rack;
    const char* word;  // an upper-case letter is laid with the blank
    int bag;
    int32_t score;  // forced score
    int32_t kind;
    float term;
  } cases[] = {
      {"`atqxzz", "Cat", 80, 18, kKindStandard, -25.0f},  // keeps one q, one x: cheap and early
      {"`atqxzz", "Cat", 80, 21, kKindStandard, -13.0f},  // scores above 20
      {"`atqxzz", "Cat", 88, 18, kKindStandard, -13.0f},  // bag above 87
      {"`atqxzz", "Cat", 67, 18, kKindStandard, -13.0f},  // bag below 68
      {"`atqxzz", "Cat", 7, 18, kKindStandard, -13.0f},   // still 7 in the bag
      {"`atqxzz", "Cat", 5, 18, kKindStandard, -1.0f},    // end of the bag
      {"`atzzxx", "Cat", 80, 18, kKindStandard, -1.0f},   // keeps no single letter
      {"catqxzz", "cat", 80, 18, kKindStandard, -1.0f},   // no blank laid
      {"`atqxzz", "Cat", 80, 18, kKindDuplicate, -1.0f},  // not a standard game
  };
  for (const Case& c : cases) {
    SetRack(0, c.rack);
    evalfix::FillBagTo(bag_, "", c.bag);
    ctx_.kind = c.kind;
    RobotMove m = Move(c.word, 7, 6);
    m.score = c.score;
    EXPECT_FLOAT_EQ(Eval(*e, m), c.term) << c.rack << " " << c.word << " bag " << c.bag;
  }
}

TEST_F(ScoreComponentsTest, ConventionRewardsAnOpeningLaidAcross) {
  auto e = Make(kEvalConventions);
  SetRack(0, "catxyzq");
  struct Case {
    int round;
    bool down;
    float term;
  } cases[] = {{0, false, 1.0f}, {0, true, 0.0f}, {1, false, 0.0f}, {3, true, 0.0f}};
  for (const Case& c : cases) {
    ctx_.roundCount = c.round;
    EXPECT_FLOAT_EQ(Eval(*e, Move("cat", 7, 7, c.down)), c.term) << c.round << c.down;
  }
}

TEST_F(ScoreComponentsTest, DifficultyVetoAndWeightedTerm) {
  auto e = Make(kEvalDifficulty);
  SetRack(0, "cattxyz");
  // Alone on an empty board: X = 100 x 3/3 / 3 = 33.33.
  const RobotMove alone = Move("cat", 7, 6);
  // Down through the a of "cat", which has tiles on both sides:
  // D = 3 + 2, laid 2, X = (100x2/5 + 100/5 + 100/5) / 3 = 26.67.
  Lay(3, 6, "cat");
  const RobotMove through = Move("tat", 2, 7, true);
  struct Case {
    uint8_t mode;
    float weight;
    const RobotMove* move;
    float term;
  } cases[] = {
      {0, 30.0f, &alone, 1.0f},  // off: always 1
      {1, 30.0f, &alone, 0.0f},  // 33.33 above 30: vetoed
      {2, 30.0f, &alone, 0.0f},
      {1, 40.0f, &alone, static_cast<float>(alone.score) * 33.333336f * 0.01f},
      {2, 40.0f, &alone, 1.0f},
      {1, 30.0f, &through, static_cast<float>(through.score) * 26.666668f * 0.01f},
      {1, 26.0f, &through, 0.0f},
  };
  for (const Case& c : cases) {
    RobotSettings s;
    s.difficultyMode = c.mode;
    s.difficultyWeight = c.weight;
    SetSettings(0, s);
    EXPECT_NEAR(Eval(*e, *c.move), c.term, 1e-3f)
        << "mode " << int{c.mode} << " weight " << c.weight << " " << c.move->word;
  }
}

TEST_F(ScoreComponentsTest, DifficultyVetoesAWordAboveThePlayersLevel) {
  LoadWords({{"zoo", 9, false, {}}, {"cat", 3, false, {}}}, "score-levels");
  auto e = Make(kEvalDifficulty);
  RobotSettings s;
  s.difficultyMode = 2;
  s.difficultyWeight = 90.0f;
  s.maxWordLevel = 5;
  SetSettings(0, s);
  SetRack(0, "zoocatx");
  EXPECT_FLOAT_EQ(Eval(*e, Move("zoo", 7, 6)), 0.0f);
  EXPECT_FLOAT_EQ(Eval(*e, Move("cat", 7, 6)), 1.0f);
}

TEST_F(ScoreComponentsTest, Notes) {
  SetRack(0, "`atbbcd");
  EXPECT_FLOAT_EQ(Eval(*Make(kEvalDuplicateJoker), Move("Cat", 7, 6)), -150.0f);
  SetRack(0, "catbbcd");
  EXPECT_FLOAT_EQ(Eval(*Make(kEvalDuplicateJoker), Move("cat", 7, 6)), -1.0f);
  EXPECT_FLOAT_EQ(Eval(*Make(kEvalFirstWordDuplicate), Move("cat", 7, 3)), -4.0f);
  EXPECT_FLOAT_EQ(Eval(*Make(kEvalFirstWordDuplicate), Move("cat", 7, 9)), 2.0f);
  EXPECT_FLOAT_EQ(Eval(*Make(kEvalSituation), Move("cat", 7, 9)), 0.0f);

  // Duplicate end game: the leave bbcd and a bag of consonants hold no vowel.
  auto endgame = Make(kEvalDuplicateEndgame);
  evalfix::FillBag(bag_, "xyzzk");  // y counts as a vowel
  EXPECT_FLOAT_EQ(Eval(*endgame, Move("cat", 7, 6)), 0.0f);
  evalfix::FillBag(bag_, "xzzk`");  // a blank is no vowel
  EXPECT_FLOAT_EQ(Eval(*endgame, Move("cat", 7, 6)), 100.0f);
  SetRack(0, "cataeio");  // leaves only vowels, bag all vowels
  evalfix::FillBag(bag_, "aeu");
  EXPECT_FLOAT_EQ(Eval(*endgame, Move("cat", 7, 6)), 100.0f);
}

TEST_F(ScoreComponentsTest, LabelsAreTheStringIds) {
  const int expected[][2] = {
      {kEvalWordScore, 3157},   {kEvalJokerUse, 3158},         {kEvalDifficulty, 3160},
      {kEvalConventions, 3163}, {kEvalDuplicateJoker, 3154},   {kEvalChallenge, 3149},
      {kEvalSituation, 3159},   {kEvalDuplicateEndgame, 3152}, {kEvalFirstWordDuplicate, 3151}};
  for (const auto& e : expected)
    EXPECT_EQ(Make(e[0])->GetLabelId(), e[1]) << e[0];
  EXPECT_EQ(MakePremiumComponent(kEvalClosingBonus)->GetLabelId(), 3150);
  EXPECT_EQ(MakePremiumComponent(kEvalBonusBlock)->GetLabelId(), 3164);
  EXPECT_EQ(MakeClosingBoardComponent()->GetLabelId(), 3153);
  EXPECT_EQ(MakeRemainderComponent()->GetLabelId(), 3155);
  EXPECT_EQ(MakeLetterSwapComponent()->GetLabelId(), 3148);
}

}  // namespace
