// The robot object, its settings and the think pass: ranking by game kind,
// the choice of the move to play, the report, and passes on the worker pool.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "rules/bag.h"
#include "engine/robot_game.h"
#include "robot_fixture.h"

namespace {

using robotfix::Grid;
using robotfix::Words;

TEST(RobotSettingsTest, DefaultsAndTheOptionWords) {
  RobotSettings s;
  s.maxWordLevel = 3;
  InitRobotSettings(&s);
  EXPECT_EQ(s.maxWordLevel, 10);
  EXPECT_EQ(s.wordScoreWeight, 200.0f);
  EXPECT_EQ(s.difficultyWeight, 0.0f);
  EXPECT_EQ(s.situationLevel, 10);
  int32_t words[kRobotSettingsWords];
  SettingsToOptions(s, words);
  EXPECT_EQ(words[0], 0x01010100);  // bytes 0..3: option byte, swap, endgame, pool
  EXPECT_EQ(words[2], 10);          // maxWordLevel
  EXPECT_EQ(words[3], 0x43480000);  // 200.0f
  s.maxWordLevel = -1;
  s.minScorePercent = 90.0f;
  s.noteDuplicateEndgame = 7;
  SettingsToOptions(s, words);
  const RobotSettings back = SettingsFromOptions(words);
  EXPECT_EQ(back.maxWordLevel, -1);
  EXPECT_EQ(back.minScorePercent, 90.0f);
  EXPECT_EQ(back.noteDuplicateEndgame, 7);
}

// Option words as a damaged or hostile file could hold them: every level,
// weight and limit comes out within its bounds, a NaN as its default.
TEST(RobotSettingsTest, OptionWordsAreHeldToTheirBounds) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  struct Case {
    int32_t maxWordLevel, situationLevel;
    float weight, percent;  // every weight; every percent limit
    int32_t wantLevel, wantSituation;
    float wantWeight, wantPercent;
  } cases[] = {
      {INT32_MIN, INT32_MIN, -inf, -inf, -1, 0, 0.0f, 0.0f},
      {INT32_MAX, INT32_MAX, inf, inf, 15, 15, kMaxRobotWeight, 100.0f},
      {-7, -3, -5.0f, -1.0f, -1, 0, 0.0f, 0.0f},
      {99, 16, 1e30f, 150.0f, 15, 15, kMaxRobotWeight, 100.0f},
      {4, 10, 100000.0f, 90.0f, 4, 10, 100000.0f, 90.0f},  // within bounds: unchanged
  };
  for (const Case& c : cases) {
    RobotSettings s;
    s.maxWordLevel = c.maxWordLevel;
    s.situationLevel = c.situationLevel;
    s.wordScoreWeight = s.closingBonusWeight = s.closingBoardWeight = c.weight;
    s.remainderWeight = s.letterSwapWeight = c.weight;
    s.challengeWeight = s.minScorePercent = s.difficultyWeight = c.percent;
    int32_t words[kRobotSettingsWords];
    SettingsToOptions(s, words);
    const RobotSettings b = SettingsFromOptions(words);
    SCOPED_TRACE(testing::Message() << "level " << c.maxWordLevel << " weight " << c.weight);
    EXPECT_EQ(b.maxWordLevel, c.wantLevel);
    EXPECT_EQ(b.situationLevel, c.wantSituation);
    for (float w : {b.wordScoreWeight, b.closingBonusWeight, b.closingBoardWeight,
                    b.remainderWeight, b.letterSwapWeight})
      EXPECT_EQ(w, c.wantWeight);
    for (float p : {b.challengeWeight, b.minScorePercent, b.difficultyWeight})
      EXPECT_EQ(p, c.wantPercent);
  }

  RobotSettings s;
  s.wordScoreWeight = s.closingBonusWeight = s.letterSwapWeight = nan;
  s.minScorePercent = s.difficultyWeight = nan;
  int32_t words[kRobotSettingsWords];
  SettingsToOptions(s, words);
  const RobotSettings b = SettingsFromOptions(words);
  const RobotSettings d;
  EXPECT_EQ(b.wordScoreWeight, d.wordScoreWeight);
  EXPECT_EQ(b.closingBonusWeight, d.closingBonusWeight);
  EXPECT_EQ(b.letterSwapWeight, d.letterSwapWeight);
  EXPECT_EQ(b.minScorePercent, d.minScorePercent);
  EXPECT_EQ(b.difficultyWeight, d.difficultyWeight);
}

TEST(RobotSettingsTest, ComponentRules) {
  RobotSettings s;
  for (int i = 0; i < kEvaluatorCount; ++i)
    EXPECT_EQ(EvaluatorRuleFor(s, i),
              i == kEvalDifficulty ? EvaluatorRule::kDelete : EvaluatorRule::kCreate)
        << i;
  s.useJokerTerm = 0;
  s.noteDuplicateJoker = 0;
  s.noteFirstWordDuplicate = 2;  // neither 0 nor 1: left as it is
  s.difficultyWeight = 1.0f;
  EXPECT_EQ(EvaluatorRuleFor(s, kEvalJokerUse), EvaluatorRule::kDelete);
  EXPECT_EQ(EvaluatorRuleFor(s, kEvalDuplicateJoker), EvaluatorRule::kDelete);
  EXPECT_EQ(EvaluatorRuleFor(s, kEvalFirstWordDuplicate), EvaluatorRule::kKeep);
  EXPECT_EQ(EvaluatorRuleFor(s, kEvalDifficulty), EvaluatorRule::kCreate);
}

class ThinkTest : public robotfix::RobotTest {
 protected:
  // Thinks directly over the moves found for the position.
  void ThinkOn(const Grid& grid, const char* rack) {
    robot_.PreparePosition(grid.cells, rack, false, 0);
    robot_.ClearMoveSlots();
    robot_.ResetTermRanges();
    EXPECT_FALSE(robot_.Think(nullptr, 0));
  }
  // Thinks over a list given by hand (a move is handed in, so nothing is
  // generated).
  void ThinkOnList(const std::vector<std::pair<std::string, int>>& moves, bool down = false) {
    robot_.ClearMoveSlots();
    robot_.ResetTermRanges();
    for (const auto& [word, score] : moves) {
      MovePosition p{7, 7, static_cast<uint8_t>(down ? 1 : 0), 0};
      RobotMove* m = robot_.Moves().FindMoveByWord(word.c_str(), score, p, nullptr, nullptr);
      ASSERT_NE(m, nullptr);
      m->evalValue = static_cast<float>(score);
    }
    RobotMove handed = *robot_.GetMoveSlot(0);
    robot_.Think(&handed, 0);
  }
  std::vector<std::string> Order() {
    std::vector<std::string> out;
    for (int i = 0; i < robot_.GetMoveCount(); ++i)
      out.push_back(robot_.GetMoveSlot(i)->word);
    return out;
  }
};

TEST_F(ThinkTest, StandardGameRanksByScoreAndPlaysTheBest) {
  Init(Words({"at", "ta", "tat", "cat", "act", "scat"}), "think-standard");
  Grid grid;
  grid.Lay(7, 6, "cat");
  ThinkOn(grid, "ast");
  ASSERT_GT(robot_.GetMoveCount(), 1);
  EXPECT_EQ(robot_.GetResultState(), kResultPlay);
  for (int i = 1; i < robot_.GetMoveCount(); ++i)
    EXPECT_GE(robot_.GetMoveSlot(i - 1)->score, robot_.GetMoveSlot(i)->score);
  EXPECT_EQ(robot_.GetMoveSlot(0)->score, 6);  // scat, or ta over two tiles
  RobotMove* best = robot_.SortedBestMove(true);
  ASSERT_NE(best, nullptr);
  EXPECT_EQ(best, robot_.GetMoveSlot(0));
  EXPECT_EQ(best->evalValue, 6.0f);
}

TEST_F(ThinkTest, NoLegalMoveLeavesAnEmptyFirstSlot) {
  Init(Words({"cat"}), "think-none");
  ThinkOn(Grid(), "zzq");
  EXPECT_EQ(robot_.GetMoveCount(), 0);
  EXPECT_EQ(robot_.GetMoveSlot(0)->word[0], 0);
  EXPECT_EQ(robot_.GetResultState(), kResultNoMove);
  EXPECT_EQ(robot_.SortedBestMove(true), nullptr);
}

// Whatever a file's option words hold, a pass over every component the
// words switch on returns with finite ranking values, and settings that
// allow a move find one.
TEST_F(ThinkTest, AnyOptionWordsGiveARobotThatPlays) {
  Init(Words({"at", "ta", "tat", "cat", "act", "scat", "tas"}), "think-any-options", 7, true);
  Grid grid;
  grid.Lay(7, 6, "cat");
  const struct {
    uint32_t pattern;
    bool plays;
  } cases[] = {
      {0x80000000u, true},
      {0x7FFFFFFFu, true},  // NaN weights
      {0xFFFFFFFFu, true},  // NaN weights, no level limit
      {0x7F800000u, true},  // +infinity
      {0xFF800000u, true},  // -infinity
      {0x7F7FFFFFu, true},  // the largest float
      // Every switch on and a difficulty limit of almost 0 percent: every
      // placement is too hard to see, so no move is played.
      {0x01010101u, false},
  };
  for (const auto& c : cases) {
    const uint32_t pattern = c.pattern;
    for (int32_t kind : {kKindStandard, kKindDuplicate}) {
      SCOPED_TRACE(testing::Message() << std::hex << pattern << " kind " << kind);
      RobotPlayerView player;
      for (int32_t& w : player.options)
        w = static_cast<int32_t>(pattern);
      std::strncpy(player.rack, "ast____", kMaxRackPlaces);
      const RobotSettings settings = SettingsFromOptions(player.options);
      robot_.CreateEvaluators(&settings);
      TileBag bag;
      RobotGameView view;
      view.kind = kind;
      view.roundCount = 1;
      view.bag = &bag;
      view.hasCurrent = true;
      view.current = player;
      robot_.SetGameView(view);
      robot_.BeginSearch();
      robot_.PreparePosition(grid.cells, player.rack, false, 0);
      EXPECT_FALSE(robot_.Think(nullptr, 0));
      if (c.plays) {
        EXPECT_EQ(robot_.GetResultState(), kResultPlay);
        ASSERT_GT(robot_.GetMoveCount(), 0);
        EXPECT_NE(robot_.GetMoveSlot(0)->word[0], 0);
      } else {
        EXPECT_EQ(robot_.GetResultState(), kResultNoMove);
      }
      for (int i = 0; i < robot_.GetMoveCount(); ++i)
        EXPECT_TRUE(std::isfinite(robot_.GetMoveSlot(i)->rankValue)) << i;
    }
  }
}

TEST_F(ThinkTest, JuniorModeNeverOffersAFlaggedWord) {
  std::vector<LexSourceWord> words = Words({"dam", "man", "mad", "and"});
  words.push_back({"damn", 3, true, {}});
  Init(words, "think-junior");
  ThinkOn(Grid(), "damn");
  EXPECT_STREQ(robot_.GetMoveSlot(0)->word, "damn");
  SetJuniorMode(true);
  ThinkOn(Grid(), "damn");
  ASSERT_GT(robot_.GetMoveCount(), 0);
  EXPECT_STRNE(robot_.GetMoveSlot(0)->word, "damn");
  for (int i = 0; i < robot_.GetMoveCount(); ++i) {
    EXPECT_STRNE(robot_.GetMoveSlot(i)->word, "damn");
    if (i > 0) {
      EXPECT_GE(robot_.GetMoveSlot(i - 1)->score, robot_.GetMoveSlot(i)->score);
    }
  }
}

TEST_F(ThinkTest, DuplicateGameKeepsMovesNearTheBestScore) {
  Init(Words({"cat", "act", "tat", "at"}), "think-duplicate");
  settings_.minScorePercent = 90.0f;
  RobotPlayerView player;
  SettingsToOptions(settings_, player.options);
  RobotGameView view;
  view.kind = kKindDuplicate;
  view.roundCount = 1;
  view.hasCurrent = true;
  view.current = player;
  robot_.SetGameView(view);

  ThinkOnList({{"tat", 44}, {"act", 45}, {"cat", 50}});
  EXPECT_EQ(Order(), (std::vector<std::string>{"cat", "act", "tat"}));
  EXPECT_EQ(robot_.GetMoveSlot(1)->rankValue, 0.0f);
  EXPECT_EQ(robot_.GetMoveSlot(2)->rankValue, kRejectedRank);
  EXPECT_EQ(robot_.GetResultState(), kResultPlay);

  // A best score of 0: every move is at 100 percent, none is rejected.
  ThinkOnList({{"cat", 0}, {"act", 0}});
  EXPECT_EQ(robot_.GetMoveSlot(1)->rankValue, 0.0f);

  // The first round refuses down moves; a rejected move is never played.
  view.roundCount = 0;
  robot_.SetGameView(view);
  ThinkOnList({{"cat", 10}}, true);
  EXPECT_EQ(robot_.GetMoveSlot(0)->rankValue, kRejectedRank);
  EXPECT_EQ(robot_.GetResultState(), kResultNoMove);
}

TEST_F(ThinkTest, SideGamesKeepTheScoreOrder) {
  Init(Words({"cat", "act", "at", "ta"}), "think-anagram");
  RobotGameView view;
  view.kind = kKindAnagram;
  view.anagramLength = 3;
  robot_.SetGameView(view);
  auto setup = std::make_unique<GameSetup>();
  setup->kind = kKindAnagram;
  rules_.Setup(0, 7, setup.get());  // one row, played from its first square
  Grid grid;
  grid.Lay(0, 0, "zzz");  // the anagram game starts from an empty row
  ThinkOn(grid, "tac");
  EXPECT_EQ(Order(), (std::vector<std::string>{"act", "cat"}));
  EXPECT_EQ(robot_.GetResultState(), kResultPlay);
}

TEST_F(ThinkTest, ReportListsTheMovesWithinTheBuffer) {
  Init(Words({"at", "ta", "cat", "act"}), "think-report");
  ThinkOn(Grid(), "cat");
  std::vector<char> big(8192);
  robot_.ReportMoves(big.data(), big.size());
  const std::string text = big.data();
  EXPECT_EQ(text.rfind("\nquickBot2: Found 20 words:-\nSecondary checks: 0,  pre-checks: 0\n"
                       "Rows scanned: 0,  scrapped: 0\n",
                       0),
            0u);
  EXPECT_NE(text.find("            cat   5  RL:  0  RB:  0  BL:  0   OP:  0   EV:   5\n"),
            std::string::npos);
  char small[200];
  std::memset(small, 'x', sizeof small);
  robot_.ReportMoves(small, sizeof small);
  const std::string cut = small;
  EXPECT_LT(cut.size(), sizeof small);
  EXPECT_EQ(cut.substr(cut.size() - 10), "etc......\n");
  char tiny[8];
  robot_.ReportMoves(tiny, sizeof tiny);
  EXPECT_EQ(std::strlen(tiny), 7u);
}

TEST_F(ThinkTest, PositionRackAndCopies) {
  Init(Words({"cat"}), "think-copy", 10);
  EXPECT_EQ(robot_.CountRackLetters("ab_`"), 1);
  EXPECT_EQ(robot_.GetLetterCounts()[1], 1);
  EXPECT_EQ(robot_.GetLetterCounts()[2], 1);
  EXPECT_EQ(robot_.GetLetterCounts()[0], 1);
  EXPECT_FALSE(robot_.HasNoLetters());
  EXPECT_EQ(robot_.SetRack("abcdefghijklmnopqrstuvwxyz"), kMaxRackPlaces);
  EXPECT_EQ(std::string(robot_.GetRack()), "abcdefghijklmnopqrst");

  ThinkOn(Grid(), "c_a_tbcdef");
  EXPECT_STREQ(robot_.GetRack(), "catbcdef");
  robot_.SetRack("abcdefghij");
  quickBot2usingDawg copy(robot_);
  EXPECT_STREQ(copy.GetRack(), "abcdefghij");  // the whole rack, not its first 8
  EXPECT_STREQ(copy.Name(), "quickBot2usingDawg");
  EXPECT_EQ(copy.GetMoveCount(), robot_.GetMoveCount());
  EXPECT_EQ(copy.Evaluator(kEvalWordScore), nullptr);
  EXPECT_EQ(copy.GetResultState(), kResultPlay);
  EXPECT_FALSE(copy.IsThinking());
  // The copy generates on its own: same position, same moves.
  copy.ClearMoveSlots();
  copy.GenerateMoves();
  EXPECT_EQ(copy.GetMoveCount(), robot_.GetMoveCount());
}

// --- passes on the worker pool ------------------------------------------------

class PoolThinkTest : public ThinkTest {
 protected:
  void SetUp() override { RobotWorkerPool().Start(); }
  void TearDown() override {
    RobotWorkerPool().Stop();
    ThinkTest::TearDown();
  }
  // Many moves: every three-letter string is a word.
  void InitBig(const char* name) {
    Init(lexfix::AllThreeLetterWords(), name);
    grid_.Lay(7, 3, "abcdefghi").Lay(3, 7, "jklm", true).Lay(8, 7, "nopqrst", true);
  }
  Grid grid_;
};

// Holds the pass inside the generator until the robot's job is asked to
// cancel, once `after` placements have been seen.
struct Holder {
  quickBot2usingDawg* robot = nullptr;
  int after = 0;
  std::atomic<int> seen{0};
  std::atomic<int> afterCancel{0};
  platform::Event reached{true, false};
  std::atomic<bool> released{false};
  static void Sink(void* self, const RobotMove&) {
    Holder& h = *static_cast<Holder*>(self);
    const int n = ++h.seen;
    if (h.released) ++h.afterCancel;
    if (n != h.after) return;
    h.reached.Set();
    while (h.robot->ThinkingState() != ThreadJob::kCancelAsked)
      platform::SleepMs(1);
    h.released = true;
  }
};

TEST_F(PoolThinkTest, BackgroundPassMatchesADirectOne) {
  Init(Words({"at", "ta", "tat", "cat", "act", "scat"}), "pool-direct");
  Grid grid;
  grid.Lay(7, 6, "cat");
  ThinkOn(grid, "ast");
  const std::string direct = robotfix::Describe(*robot_.GetMoveSlot(0));
  const int count = robot_.GetMoveCount();
  robot_.ResetTermRanges();
  EXPECT_FALSE(robot_.StartThinking(grid.cells, "ast"));
  EXPECT_TRUE(robot_.WaitThinking());
  EXPECT_EQ(robot_.GetMoveCount(), count);
  EXPECT_EQ(robotfix::Describe(*robot_.GetMoveSlot(0)), direct);
  // Polling after a finished pass posts a new one.
  robot_.ResetTermRanges();
  while (!robot_.StartThinking(grid.cells, "ast"))
    platform::SleepMs(5);
  EXPECT_EQ(robotfix::Describe(*robot_.GetMoveSlot(0)), direct);
}

TEST_F(PoolThinkTest, CancelKeepsWhatWasFoundAndReturnsPromptly) {
  InitBig("pool-cancel");
  robot_.PreparePosition(grid_.cells, "aeinst`", false, 0);
  robot_.ClearMoveSlots();
  robot_.GenerateMoves();
  const int all = static_cast<int>(seen_.size());
  ASSERT_GT(all, 2000);

  Holder h;
  h.robot = &robot_;
  h.after = 600;
  robot_.SetCandidateSink(&Holder::Sink, &h);
  EXPECT_FALSE(robot_.StartThinking(grid_.cells, "aeinst`"));
  h.reached.Wait();
  robot_.CancelThinking();
  EXPECT_FALSE(robot_.IsThinking());
  // The walk left at its next step: only the blank variants of the word in
  // hand could still come.
  EXPECT_LE(h.afterCancel.load(), 8);
  EXPECT_LT(h.seen.load(), all);
  EXPECT_GT(robot_.GetMoveCount(), 0);
  EXPECT_LE(robot_.GetMoveCount(), h.seen.load());
}

TEST_F(PoolThinkTest, AQueuedPassCancelledReturnsWhileTheWorkerIsBusy) {
  InitBig("pool-queued");
  Holder h;
  h.robot = &robot_;
  h.after = 1;
  robot_.SetCandidateSink(&Holder::Sink, &h);
  EXPECT_FALSE(robot_.StartThinking(grid_.cells, "aeinst`"));
  h.reached.Wait();  // the worker is held inside the first robot's pass

  quickBot2usingDawg other;
  other.SetGameParams(&rules_);
  EXPECT_FALSE(other.StartThinking(grid_.cells, "abc"));
  other.CancelThinking();
  EXPECT_FALSE(other.IsThinking());
  EXPECT_EQ(other.GetMoveCount(), 0);

  robot_.CancelThinking();
}

TEST_F(PoolThinkTest, StopWithABusyWorkerReturnsAndJoins) {
  InitBig("pool-stop");
  Holder h;
  h.robot = &robot_;
  h.after = 1;
  robot_.SetCandidateSink(&Holder::Sink, &h);
  EXPECT_FALSE(robot_.StartThinking(grid_.cells, "aeinst`"));
  h.reached.Wait();
  RobotWorkerPool().Stop();  // cancels the running pass and joins the worker
  EXPECT_FALSE(RobotWorkerPool().IsRunning());
  EXPECT_FALSE(robot_.StartThinking(grid_.cells, "aeinst`"));  // ended cancelled: never true
  robot_.CancelThinking();
  EXPECT_FALSE(robot_.IsThinking());
}

}  // namespace
