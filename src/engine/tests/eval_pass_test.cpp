// The evaluation pass inside the robot's think pass: which components rank,
// the vetoes, the letter-swap advice on the best slot, scaling once per
// search, and the computer player's choice as its settings change.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/eval_components.h"
#include "eval_fixture.h"
#include "rules/bag.h"
#include "platform/crand.h"
#include "robot_fixture.h"

namespace {

using robotfix::Grid;
using robotfix::Words;

// Settings with every ranked component but the word score switched off.
RobotSettings ScoreOnly() {
  RobotSettings s;
  s.maxWordLevel = -1;
  s.closingBonusWeight = 0.0f;
  s.closingBoardWeight = 0.0f;
  s.remainderWeight = 0.0f;
  s.useJokerTerm = 0;
  s.useConventionsTerm = 0;
  s.useBonusBlockTerm = 0;
  s.letterSwapWeight = 0.0f;
  return s;
}

class EvalPassTest : public robotfix::RobotTest {
 protected:
  // One search for the player holding `rack` on `grid` under settings `s`,
  // with a bag of `bagTiles` tiles; returns the move chosen (slot 0).
  RobotMove Choose(const RobotSettings& s, const Grid& grid, const char* rack, int bagTiles = 60,
                   int round = 1) {
    settings_ = s;
    robot_.CreateEvaluators(&settings_);
    SettingsToOptions(s, player_.options);
    std::memset(player_.rack, 0, sizeof player_.rack);
    std::strncpy(player_.rack, rack, kMaxRackPlaces);
    evalfix::FillBagTo(bag_, "", bagTiles, 'o');
    RobotGameView view;
    view.kind = kKindStandard;
    view.roundCount = round;
    view.bag = &bag_;
    view.hasCurrent = true;
    view.current = player_;
    robot_.SetGameView(view);
    robot_.BeginSearch();
    platform::SeedRandom(1);  // the leave samples
    robot_.PreparePosition(grid.cells, rack, false, 0);
    robot_.Think(nullptr, 0);
    return *robot_.GetMoveSlot(0);
  }
  std::string Name(const RobotMove& m) { return robotfix::Describe(m); }

  RobotPlayerView player_;
  TileBag bag_;
};

// The position of the choice tests: "cane" across the centre row, premiums
// on, the small lexicon.
class ChoiceTest : public EvalPassTest {
 protected:
  void SetUp() override {
    Init(lexfix::SmallWords(), "pass-choice", 7, true);
    grid_.Lay(7, 5, "cane");
  }
  std::string Chosen(const RobotSettings& s, const char* rack, int bag = 60) {
    return Name(Choose(s, grid_, rack, bag));
  }
  int32_t BestScore() const {
    int32_t best = 0;
    for (int i = 0; i < robot_.GetMoveCount(); ++i)
      best = std::max(best, robot_.Moves().GetMoveSlot(i)->score);
    return best;
  }
  Grid grid_;
};

TEST_F(ChoiceTest, DefaultComponentsAndTheWordScoreWeight) {
  RobotSettings s;
  s.maxWordLevel = -1;
  robot_.CreateEvaluators(&s);
  for (int i = 0; i < kEvaluatorCount; ++i)
    EXPECT_EQ(robot_.Evaluator(i) != nullptr, i != kEvalDifficulty) << i;

  // The other components outweigh a light score term; a heavy one plays the
  // best score.
  s.wordScoreWeight = 10.0f;
  EXPECT_EQ(Chosen(s, "atbeesq"), "scat 5 6 d 8");
  s.wordScoreWeight = 200.0f;
  EXPECT_EQ(Chosen(s, "atbeesq"), "cab 5 7 d 13");
  s.wordScoreWeight = 100000.0f;
  const RobotMove heavy = Choose(s, grid_, "atbeesq");
  EXPECT_EQ(heavy.score, BestScore());
  EXPECT_EQ(Name(heavy), "bate 8 6 a 16");
}

TEST_F(ChoiceTest, TheJokerTermKeepsTheBlankForLater) {
  RobotSettings s = ScoreOnly();
  s.wordScoreWeight = 100.0f;
  const RobotMove free = Choose(s, grid_, "b`qqvvx", 80);
  EXPECT_EQ(Name(free), "bE 8 6 a 13");
  EXPECT_EQ(free.playedCounts[kBlankIndex], 1);
  s.useJokerTerm = 1;
  const RobotMove kept = Choose(s, grid_, "b`qqvvx", 80);
  EXPECT_EQ(Name(kept), "be 8 6 d 7");
  EXPECT_EQ(kept.playedCounts[kBlankIndex], 0);
}

TEST_F(ChoiceTest, TheClosingBonusWeightTradesScoreForClosedPremiums) {
  RobotSettings s = ScoreOnly();
  s.wordScoreWeight = 100.0f;
  s.letterSwapWeight = 100.0f;  // the closing-bonus term ranks only with it
  const struct {
    float weight;
    const char* chosen;
  } cases[] = {{0.0f, "bate 8 6 a 16"}, {70.0f, "cab 5 7 d 13"}, {300.0f, "be 8 6 d 7"}};
  float lastTerm = -1.0f;
  for (const auto& c : cases) {
    s.closingBonusWeight = c.weight;
    const RobotMove m = Choose(s, grid_, "atbeesq");
    EXPECT_EQ(Name(m), c.chosen) << c.weight;
    EXPECT_GT(m.terms[kEvalClosingBonus], lastTerm) << c.weight;  // scaled: less opened
    lastTerm = m.terms[kEvalClosingBonus];
  }
}

TEST_F(ChoiceTest, TheDifficultyVetoRejectsMovesTooHardToSee) {
  RobotSettings s = ScoreOnly();
  s.difficultyMode = 1;
  s.difficultyWeight = 30.0f;
  // Every first move lies alone on an empty board: X = 33.3, above 30.
  Choose(s, Grid(), "catbeqq");
  EXPECT_EQ(robot_.GetMoveSlot(0)->word[0], 0);
  EXPECT_EQ(robot_.GetResultState(), kResultNoMove);
  s.difficultyWeight = 40.0f;
  const RobotMove m = Choose(s, Grid(), "catbeqq");
  EXPECT_NE(m.word[0], 0);
  EXPECT_EQ(robot_.GetResultState(), kResultPlay);
}

TEST_F(ChoiceTest, WordsAboveThePlayersLevelAreNeverChosen) {
  RobotSettings s;
  s.maxWordLevel = 3;  // bate (level 3 - 2 = 1) stays; cab (5 - 2 = 3) stays
  Choose(s, grid_, "atbeesq");
  ASSERT_GT(robot_.GetMoveCount(), 0);
  for (int i = 0; i < robot_.GetMoveCount(); ++i) {
    const RobotMove& m = *robot_.GetMoveSlot(i);
    EXPECT_LE(GetLexicon()->GetWordLevel(m.word), 3) << m.word;
  }
  s.maxWordLevel = 1;
  Choose(s, grid_, "atbeesq");
  for (int i = 0; i < robot_.GetMoveCount(); ++i)
    EXPECT_LE(GetLexicon()->GetWordLevel(robot_.GetMoveSlot(i)->word), 1);
}

TEST_F(ChoiceTest, NoMoveLetsTheAdviceSwap) {
  RobotSettings s;
  s.maxWordLevel = -1;
  const RobotMove m = Choose(s, grid_, "qqvvxxz");
  EXPECT_EQ(m.word[0], 0);
  EXPECT_EQ(robot_.GetResultState(), kResultAdvice3);
  EXPECT_STREQ(robot_.GetRack(), "qqvvxxz");
  // Without the advice there is nothing to do but pass.
  s.letterSwapWeight = 0.0f;
  Choose(s, grid_, "qqvvxxz");
  EXPECT_EQ(robot_.GetResultState(), kResultNoMove);
}

TEST_F(ChoiceTest, TermsAreScaledOncePerSearchAndLaterPassesJudgeOneMove) {
  RobotSettings s;
  s.maxWordLevel = -1;
  Choose(s, grid_, "atbeesq");
  const int count = robot_.GetMoveCount();
  ASSERT_GT(count, 2);
  std::vector<RobotMove> before;
  for (int i = 0; i < count; ++i) {
    const RobotMove& m = *robot_.GetMoveSlot(i);
    for (float t : m.terms) {
      EXPECT_GE(t, 0.0f);
      EXPECT_LE(t, 1.0f);
    }
    EXPECT_GE(m.termSum, 0.0f);
    EXPECT_LE(m.termSum, 1.0f);
    before.push_back(m);
  }
  // A move the search found is judged by copying its terms; the found moves
  // are not scaled a second time.
  RobotMove handed = before[1];
  std::fill(std::begin(handed.terms), std::end(handed.terms), 0.0f);
  robot_.Think(&handed, 0);
  EXPECT_EQ(robot_.GetMoveCount(), count);
  for (int k = 0; k < kEvaluationTermCount; ++k)
    EXPECT_EQ(handed.terms[k], before[1].terms[k]);
  for (int i = 0; i < count; ++i)
    for (int k = 0; k < kEvaluationTermCount; ++k)
      EXPECT_EQ(robot_.GetMoveSlot(i)->terms[k], before[i].terms[k]) << i << " " << k;
  // A move it did not find is evaluated and clamped to the search's scale.
  RobotMove other = before[0];
  other.score += 40;
  robot_.Think(&other, 0);
  for (float t : other.terms) {
    EXPECT_GE(t, 0.0f);
    EXPECT_LE(t, 1.0f);
  }
  EXPECT_EQ(other.terms[kEvalWordScore], 1.0f);  // above every found score
  // BeginSearch starts over: the next pass ranks and scales afresh.
  Choose(s, grid_, "atbeesq");
  EXPECT_EQ(robot_.GetMoveCount(), count);
  EXPECT_EQ(Name(*robot_.GetMoveSlot(0)), Name(before[0]));
}

}  // namespace
