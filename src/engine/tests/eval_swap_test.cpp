// The letter-swap advice: play, pass or swap, and the letters to swap.
#include "engine/robot.h"
#include "engine/wordlist.h"
#include "eval_fixture.h"

namespace {

using evalfix::EvalTest;

constexpr int32_t kUntouched = 77;  // a result state the advice never writes

class SwapTest : public EvalTest {
 protected:
  void SetUp() override {
    EvalTest::SetUp();
    // "abcdefg" is the one seven-letter word; "aerstse" another.
    LoadWords(evalfix::Words({"cat", "at", "abcdefg", "aerstse", "quiz"}), "swap");
    robot_.SetRack("");
    robot_.SetResultState(kUntouched);
    ctx_.robot = &robot_;
    evalfix::FillBagTo(bag_, "", 60, 'g');
  }
  // The advice for player 0 holding `rack` with the best move `move` (a
  // word of that score, or no move when word is empty).
  float Advise(const char* rack, const char* word, int32_t score) {
    SetRack(0, rack);
    RobotMove m;
    std::strncpy(m.word, word, kMoveWordSize - 1);
    m.length = static_cast<uint8_t>(std::strlen(word));
    m.score = score;
    return Eval(*component_, m);
  }
  void SetPlayer(int32_t level, uint8_t analysis = 1, float weight = 100.0f) {
    RobotSettings s;
    s.maxWordLevel = level;
    s.swapAnalysis = analysis;
    s.letterSwapWeight = weight;
    SetSettings(0, s);
  }

  quickBot2usingDawg robot_;
  std::unique_ptr<RobotEvaluator> component_ = MakeLetterSwapComponent();
};

TEST_F(SwapTest, Decisions) {
  struct Case {
    const char* what;
    int round;
    int bag;
    int32_t opponentScore;  // player 0 has 100
    bool junior;
    int32_t level;
    uint8_t analysis;
    const char* rack;
    const char* word;
    int32_t score;
    float term;
    int32_t state;  // kUntouched: not written
    const char* swap;
  } cases[] = {
      {"first round, a move", 0, 60, 0, false, 10, 1, "qvwxyzk", "cat", 5, 2, kUntouched, ""},
      {"first round, none", 0, 60, 0, false, 10, 1, "qvwxyzk", "", 0, 3, 3, "qvwxyzk"},
      {"6 in the bag, a move", 1, 6, 0, false, 10, 1, "qvwxyzk", "cat", 5, 2, kUntouched, ""},
      {"6 in the bag, none", 1, 6, 0, false, 10, 1, "qvwxyzk", "", 0, 1, kUntouched, ""},
      {"trailing, 7 points", 1, 60, 150, false, 10, 1, "aerstse", "cat", 7, 2, kUntouched, ""},
      {"trailing, 6 points", 1, 60, 150, false, 10, 1, "aerstse", "cat", 6, 1, 1, ""},
      {"junior, 9 points", 1, 60, 0, true, 10, 1, "aerstse", "cat", 9, 2, 2, ""},
      {"not junior, 9 points", 1, 60, 0, false, 10, 1, "aerstse", "cat", 9, 1, 1, ""},
      {"full-rack word, 10", 1, 60, 0, false, 10, 1, "aerstse", "cat", 10, 1, 1, ""},
      {"no analysis", 1, 60, 0, false, 10, 0, "aerstse", "cat", 10, 2, 2, ""},
      {"13 points", 1, 60, 0, false, 10, 1, "aerstse", "cat", 13, 2, 2, ""},
      {"weak, a move", 1, 60, 0, false, 5, 1, "qaeuvwi", "cat", 3, 2, 2, ""},
      {"weak, none", 1, 60, 0, false, 5, 1, "qaeuvwi", "", 0, 3, 3, "quvwi"},
      {"weak, all kept", 1, 60, 0, false, 5, 1, "aerstse", "", 0, 3, 3, "aerstse"},
      {"no limit is strong", 1, 60, 0, false, -1, 1, "aerstse", "", 0, 1, 1, ""},
  };
  for (const Case& c : cases) {
    robot_.SetRack("");
    robot_.SetResultState(kUntouched);
    ctx_.roundCount = c.round;
    evalfix::FillBagTo(bag_, "", c.bag, 'g');
    players_[0].score = 100;
    players_[1].score = c.opponentScore;
    SetJuniorMode(c.junior);
    SetPlayer(c.level, c.analysis);
    EXPECT_FLOAT_EQ(Advise(c.rack, c.word, c.score), c.term) << c.what;
    EXPECT_EQ(robot_.GetResultState(), c.state) << c.what;
    EXPECT_STREQ(robot_.GetRack(), c.swap) << c.what;
  }
}

TEST_F(SwapTest, SearchSwapsTheLetterThatBlocksAFullRackWord) {
  // abcdefq: giving up q leaves abcdef and a blank, which the bag's many g's
  // complete to "abcdefg".
  SetPlayer(10);
  EXPECT_FLOAT_EQ(Advise("abcdefq", "", 0), 3.0f);
  EXPECT_EQ(robot_.GetResultState(), kAdviceSwap);
  EXPECT_STREQ(robot_.GetRack(), "q");
  // The threshold above what that swap is worth: nothing passes, and after
  // seven passes the advice falls back to the default swap.
  robot_.SetRack("");
  SetPlayer(10, 1, 100000.0f);
  EXPECT_FLOAT_EQ(Advise("abcdefq", "", 0), 3.0f);
  EXPECT_STREQ(robot_.GetRack(), "bcdfq");
  // ... or to playing the move there is.
  robot_.SetResultState(kUntouched);
  EXPECT_FLOAT_EQ(Advise("abcdefq", "at", 2), 2.0f);
  EXPECT_EQ(robot_.GetResultState(), kAdvicePlay);
}

TEST_F(SwapTest, TwoBlanksEndTheSearchOnceEverythingElseIsGivenUp) {
  SetPlayer(10, 1, 100000.0f);
  EXPECT_FLOAT_EQ(Advise("``qvwxz", "", 0), 3.0f);
  EXPECT_EQ(robot_.GetResultState(), kUntouched);
  EXPECT_STREQ(robot_.GetRack(), "");
}

TEST_F(SwapTest, ARackWithEmptyPlacesDoesNotSearchForEver) {
  SetPlayer(10, 1, 100000.0f);
  EXPECT_FLOAT_EQ(Advise("qv_____", "", 0), 3.0f);
  EXPECT_EQ(robot_.GetResultState(), kAdviceSwap);
  EXPECT_STREQ(robot_.GetRack(), "qv_____");
}

TEST_F(SwapTest, LetterDrawChance) {
  TileBag bag;
  evalfix::FillBagTo(bag, "eeeeeeeeeeee", 86, 'o');
  struct Case {
    const char* letters;
    float chance;
  } cases[] = {
      {"", 100.0f},
      {"e", 100.0f * 12 / 86},
      {"ee", 100.0f * 2 * (12.0f / 86) * (11.0f / 86)},
      {"eo", 100.0f * 2 * (12.0f / 86) * (74.0f / 86)},
      {"q", 0.0f},
      {"eq", 0.0f},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(LetterDrawChance(c.letters, bag), c.chance, 1e-4f) << c.letters;
  EXPECT_EQ(bag.counts[LetterIndex('e')], 12);  // the bag is not touched
  evalfix::FillBag(bag, "");
  EXPECT_FLOAT_EQ(LetterDrawChance("e", bag), 0.0f);
}

TEST_F(SwapTest, RackWordsAndLettersNotIn) {
  char out[16];
  LettersNotIn("quvwxyz", "aerstuv", out);
  EXPECT_STREQ(out, "qwxyz");
  WordList list;
  EXPECT_EQ(CountRackWords(*GetLexicon(), "ta`", 2, &list), 1);  // at (a blank for nothing)
  EXPECT_EQ(CountRackWords(*GetLexicon(), "t``", 3, &list), 1);  // cat
  EXPECT_EQ(CountRackWords(*GetLexicon(), "abcdef`", 7, &list), 1);
  ASSERT_EQ(list.GetCount(), 3);
  EXPECT_STREQ(list.GetWord(2), "abcdefg");
  EXPECT_EQ(CountRackWords(*GetLexicon(), "abcdef_", 7, &list), 0);  // '_' is no letter
}

}  // namespace
