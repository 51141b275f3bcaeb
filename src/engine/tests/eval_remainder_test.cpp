// The remainder-quality component: sampling, end-game rules and the cache.
#include "eval_fixture.h"

namespace {

using evalfix::EvalTest;

class RemainderTest : public EvalTest {
 protected:
  void SetUp() override {
    EvalTest::SetUp();
    LoadWords(evalfix::Words({"at", "ta", "cat", "act", "tat", "zoo", "to", "oat", "taco"}),
              "remainder");
    Prepare(*component_);
  }
  float Term(const char* rack, const char* word) {
    SetRack(0, rack);
    return Eval(*component_, Move(word, 7, 6));
  }
  std::unique_ptr<RobotEvaluator> component_ = MakeRemainderComponent();
};

TEST_F(RemainderTest, LayingEveryTileScoresRackSizeLessOne) {
  evalfix::FillBagTo(bag_, "", 40);
  EXPECT_FLOAT_EQ(Term("cat", "cat"), 6.0f);
  evalfix::FillBagTo(bag_, "", 14);
  Prepare(*component_);
  EXPECT_FLOAT_EQ(Term("cat", "cat"), 12.0f);  // doubled near the end of the bag
}

TEST_F(RemainderTest, EndGameCases) {
  players_[0].score = 100;
  players_[1].score = 50;
  SetRack(1, "qz_____");  // worth 20
  evalfix::FillBag(bag_, "");
  struct Case {
    const char* rack;
    const char* word;
    int32_t opponentScore;
    float term;
  } cases[] = {
      {"cat", "cat", 50, (2 * 20 + 50) * 2.0f},  // goes out ahead: bonus
      {"cat", "cat", 200, 2 * 20 * 2.0f},        // still behind: no bonus
      {"catat", "cat", 50, -4 * 2.0f},           // a and t left, 1 point each
  };
  for (const Case& c : cases) {
    players_[1].score = c.opponentScore;
    Prepare(*component_);
    EXPECT_FLOAT_EQ(Term(c.rack, c.word), c.term) << c.rack << " vs " << c.opponentScore;
  }
}

TEST_F(RemainderTest, EndGameWithTilesStillInTheBag) {
  // Refilling two places empties a bag of q and z: the rack then holds the
  // leave "atzoo" (1+1+10+1+1) and q and z.
  evalfix::FillBag(bag_, "qz");
  EXPECT_FLOAT_EQ(Term("catzoo", "c"), -2.0f * (14 + 20) * 2.0f);
  // Six in the bag, five to refill: words of the leave "at" with up to five
  // drawn letters (c, x): at, ta; cat, act; taco needs an o.
  evalfix::FillBag(bag_, "cxxxxx");
  EXPECT_FLOAT_EQ(Term("catxxqq", "cxxqq"), (2.0f / 75 + 2.0f / 571) * 2.0f);
  // Off: the term is 0.
  RobotSettings s;
  s.endgameMode = 0;
  SetSettings(0, s);
  Prepare(*component_);
  EXPECT_FLOAT_EQ(Term("catxxqq", "cxxqq"), 0.0f);
}

TEST_F(RemainderTest, SameLeaveInAnotherOrderComesFromTheCache) {
  evalfix::FillBagTo(bag_, "", 60, 'o');
  Prepare(*component_);
  const float first = Term("cxatqqq", "cx");  // keeps a t q q q, refilled with o o
  // The bag changes but the cached leave does not look at it again.
  evalfix::FillBagTo(bag_, "", 60, 'z');
  EXPECT_FLOAT_EQ(Term("qtqaxqc", "cx"), first);
  // A new search renews the samples and forgets the leaves.
  evalfix::FillBagTo(bag_, "", 60, 'z');
  Prepare(*component_);
  EXPECT_NE(Term("qtqaxqc", "cx"), first);
}

TEST_F(RemainderTest, GoodLeavesBeatBadOnesAndSamplesRepeatUnderASeed) {
  evalfix::FillBagTo(bag_, "cattoocat", 60, 'e');
  platform::SeedRandom(7);
  Prepare(*component_);
  const float good = Term("zqatxxx", "zq");  // keeps a t x x x
  const float bad = Term("zqxxxxx", "zq");   // keeps x x x x x
  EXPECT_GT(good, bad);
  platform::SeedRandom(7);
  Prepare(*component_);
  EXPECT_FLOAT_EQ(Term("zqatxxx", "zq"), good);
}

// Rack counts are kept from search to search: a component that has judged
// hundreds of leaves, many with blanks, gives each the term a new one gives.
TEST_F(RemainderTest, CountsKeptAcrossSearchesMatchAFreshComponent) {
  // A word list under which most racks count differently: a third of the
  // texts of two to five letters over a few letters.
  std::vector<std::string> texts;
  uint32_t state = 12345;
  const auto next = [&state] {
    state = state * 1103515245u + 12345u;
    return state >> 16;
  };
  const char letters[] = "acenorst";
  for (int length = 2; length <= 5; ++length)
    for (int i = 0; i < 300; ++i) {
      std::string t;
      for (int k = 0; k < length; ++k)
        t += letters[next() % 8];
      if (next() % 3 == 0) texts.push_back(t);
    }
  LoadWords(evalfix::Words(texts), "remainder-many");
  evalfix::FillBagTo(bag_, "``aceenorstt", 40);
  const char tiles[] = "acenorst`";
  std::vector<std::string> racks;
  for (int i = 0; i < 600; ++i) {
    std::string rack = "at";  // the move lays these
    for (int k = 0; k < 5; ++k)
      rack += tiles[next() % 9];
    racks.push_back(rack);
  }
  std::vector<float> terms;
  for (size_t i = 0; i < racks.size(); ++i) {
    platform::SeedRandom(static_cast<uint32_t>(i));
    Prepare(*component_);
    terms.push_back(Term(racks[i].c_str(), "at"));
  }
  for (size_t i = 0; i < racks.size(); i += 15) {
    component_ = MakeRemainderComponent();
    platform::SeedRandom(static_cast<uint32_t>(i));
    Prepare(*component_);
    EXPECT_FLOAT_EQ(Term(racks[i].c_str(), "at"), terms[i]) << racks[i];
  }
}

TEST_F(RemainderTest, LeaveCountsAreCappedAndDistinct) {
  const Lexicon* lex = GetLexicon();
  ASSERT_NE(lex, nullptr);
  int32_t letters[kLetterSlots] = {};
  int32_t counts[kLeaveLengthSlots];
  letters[kBlankIndex] = 3;  // any three letters: every word up to 3 letters
  CountLeaveWords(*lex, letters, nullptr, 0, 7, counts);
  EXPECT_EQ(counts[2], 3);  // at ta to
  EXPECT_EQ(counts[3], 5);  // cat act tat zoo oat
  EXPECT_EQ(counts[4], 0);
  // Letters of the pool are taken only up to the draw limit.
  int32_t pool[kLetterSlots] = {};
  std::fill(std::begin(letters), std::end(letters), 0);
  letters[LetterIndex('t')] = 1;
  pool[LetterIndex('a')] = 1;
  pool[LetterIndex('c')] = 1;
  CountLeaveWords(*lex, letters, pool, 1, 7, counts);
  EXPECT_EQ(counts[2], 2);  // at ta
  EXPECT_EQ(counts[3], 0);  // cat needs two drawn letters
  CountLeaveWords(*lex, letters, pool, 2, 7, counts);
  EXPECT_EQ(counts[3], 2);  // cat act
}

}  // namespace
