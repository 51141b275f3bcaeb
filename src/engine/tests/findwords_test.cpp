// The lexicon's searches: anagrams, the word finder's pattern and letter
// searches, and their limits.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "engine/lexicon.h"
#include "engine/robot.h"
#include "engine/wordlist.h"
#include "rules/rules.h"
#include "lexicon_fixture.h"

namespace {

std::vector<std::string> Sorted(const WordList& list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.GetCount(); ++i)
    out.push_back(list.GetWord(i));
  std::sort(out.begin(), out.end());
  return out;
}

class SearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string folder = lexfix::Folder("search");
    lexfix::WriteLexicon(folder, lexfix::SmallWords(), kLanguageEnglish);
    lex_ = lexfix::LoadGlobal(folder, kLanguageEnglish);
    robot_.SetWordList(&list_);
  }
  void TearDown() override {
    SetJuniorMode(false);
    DestroyLexicon();
  }
  std::vector<std::string> Find(const char* pattern, int mode) {
    list_.Clear();
    robot_.FindWords(pattern, mode);
    return Sorted(list_);
  }

  Lexicon* lex_ = nullptr;
  WordList list_;
  Robot robot_;
};

using Words = std::vector<std::string>;

TEST_F(SearchTest, AnagramsCountWordsOfExactlyTheLength) {
  EXPECT_EQ(lex_->FindAnagrams("tac", 3), 2);   // act cat
  EXPECT_EQ(lex_->FindAnagrams("teab", 4), 4);  // abet bate beat beta
  EXPECT_EQ(lex_->FindAnagrams("tac", 2), 1);   // at
  EXPECT_EQ(lex_->FindAnagrams("tac", 4), 0);   // longer than the rack
  EXPECT_EQ(lex_->FindAnagrams("``", 2), 2);    // every two-letter word: at be
  EXPECT_EQ(lex_->FindAnagrams("ta`", 3), 6);   // act ate cat eat tat tea
  EXPECT_EQ(lex_->FindAnagrams("tac", 0), 0);
  EXPECT_EQ(lex_->FindAnagrams("aaaaaaaaaaaaaaaaaa", 16), 0);  // longer than any word
  EXPECT_EQ(lex_->FindAnagrams("", 3), 0);
}

TEST_F(SearchTest, AnagramsWithPatternStoreUpToTheLimitAndCountAll) {
  char out[10][kWordTextSize] = {};
  EXPECT_EQ(lex_->FindAnagramsWithPattern("teab", 4, out, 2), 4);
  std::set<std::string> stored{out[0], out[1]};
  EXPECT_EQ(stored, (std::set<std::string>{"abet", "bate"}));
  EXPECT_STREQ(out[2], "");
  EXPECT_EQ(lex_->FindAnagramsWithPattern("teab", 4, out, -1), 4);
  EXPECT_STREQ(out[3], "beta");
  // A blank gives the node's own letter: nothing shows it was a blank.
  EXPECT_EQ(lex_->FindAnagramsWithPattern("`og", 3, out, 10), 1);
  EXPECT_STREQ(out[0], "dog");
}

TEST_F(SearchTest, JuniorModeHidesFlaggedWords) {
  EXPECT_EQ(lex_->FindAnagrams("namd", 4), 1);
  EXPECT_EQ(Find("d*", kFindPattern), (Words{"dAMN", "dOG"}));
  SetJuniorMode(true);
  EXPECT_EQ(lex_->FindAnagrams("namd", 4), 0);
  EXPECT_EQ(Find("d*", kFindPattern), (Words{"dOG"}));
  EXPECT_EQ(Find("damn", kFindLettersExact), (Words{}));
}

TEST_F(SearchTest, PatternSearchMarksWildcardLettersInUpperCase) {
  EXPECT_EQ(Find("c?t", kFindPattern), (Words{"cAt"}));
  EXPECT_EQ(Find("C?T", kFindPattern), (Words{"cAt"}));
  EXPECT_EQ(Find("*at", kFindPattern), (Words{"BEat", "Cat", "Eat", "SCat", "Tat", "at"}));
  EXPECT_EQ(Find("ca*", kFindPattern), (Words{"caB", "caN", "caNE", "caT", "caTS"}));
  EXPECT_EQ(Find("*", kFindPattern).size(), 22u);
  EXPECT_EQ(Find("?", kFindPattern), (Words{}));
  EXPECT_EQ(Find("", kFindPattern), (Words{}));
  EXPECT_EQ(Find("cat", kFindPatternAlt), (Words{"cat"}));
}

TEST_F(SearchTest, LetterSearchesExactAndPartial) {
  EXPECT_EQ(Find("tac", kFindLettersExact), (Words{"act", "cat"}));
  EXPECT_EQ(Find("tac", kFindLettersPartial), (Words{"act", "at", "cat"}));
  // A blank stands in only for letters the rack lacks, in upper case.
  EXPECT_EQ(Find("do`", kFindLettersExact), (Words{"doG"}));
  EXPECT_EQ(Find("t*a?c", kFindLettersExact), (Words{"act", "cat"}));  // wildcards are no letters
  EXPECT_EQ(robot_.GetLetterCounts()[LetterIndex('a')], 1);
}

TEST_F(SearchTest, CountingModeOnlyCountsAndFoundWordsCarryTheirEntries) {
  list_.Clear();
  robot_.FindWords("*at*", kFindPatternCount);
  EXPECT_EQ(list_.mode(), kFindPatternCount);
  EXPECT_GE(list_.GetCount(), 9);
  EXPECT_STREQ(list_.GetWord(0), "");  // no text was stored

  Find("cat", kFindPattern);
  ASSERT_EQ(list_.GetCount(), 1);
  EXPECT_EQ(list_.GetSlot(0)->number, 3);
  EXPECT_EQ(list_.GetSlot(0)->value, 1);  // two definitions, minus one
  EXPECT_EQ(list_.mode(), kFindPattern);

  EXPECT_EQ(FindWordsContaining("eta"), 1);  // beta
  EXPECT_EQ(FindWordsContaining("qq"), 0);
  EXPECT_EQ(FindWordsContaining(std::string(40, 'a').c_str()), 0);
}

TEST_F(SearchTest, RefusesWhatCannotFitAndUnknownModes) {
  EXPECT_EQ(Find("????????????????", kFindPattern), (Words{}));  // 16 letters
  EXPECT_EQ(Find(std::string(64, '*').c_str(), kFindPattern), (Words{}));
  EXPECT_EQ(Find("abcdefghijklmnopq", kFindLettersPartial), (Words{}));
  list_.set_mode(0);
  EXPECT_EQ(Find("cat", 5), (Words{}));
  EXPECT_EQ(Find("cat", -1), (Words{}));
  EXPECT_EQ(list_.mode(), 0);

  Robot noList;  // no result list: nothing happens
  noList.FindWords("cat", kFindPattern);
}

TEST_F(SearchTest, StarsSupplyNoMoreLettersThanTheBoardSide) {
  GameRules rules;
  rules.boardSide = 4;
  robot_.SetGameParams(&rules);
  Words words = Find("*", kFindPattern);
  EXPECT_EQ(words.size(), 21u);  // all but zebra
  for (const std::string& w : words)
    EXPECT_LE(w.size(), 4u) << w;
  EXPECT_EQ(Find("z*", kFindPattern), (Words{}));
  EXPECT_EQ(Find("zebra", kFindPattern), (Words{}));  // more letters than the side
}

TEST(SearchCapacityTest, SearchesStopAtTheListCapacity) {
  const std::string folder = lexfix::Folder("capacity");
  lexfix::WriteLexicon(folder, lexfix::AllThreeLetterWords(), kLanguageEnglish, false);
  Lexicon* lex = lexfix::LoadGlobal(folder, kLanguageEnglish);
  WordList list;
  Robot robot;
  robot.SetWordList(&list);
  robot.FindWords("???", kFindPattern);
  EXPECT_EQ(list.GetCount(), WordList::kCapacity);
  list.Clear();
  robot.FindWords("???", kFindPatternCount);
  EXPECT_EQ(list.GetCount(), WordList::kCapacity);
  list.Clear();
  robot.FindWords("```", kFindLettersExact);
  EXPECT_EQ(list.GetCount(), WordList::kCapacity);
  EXPECT_EQ(lex->FindAnagrams("```", 3), 26 * 26 * 26);  // the counting search keeps counting
  DestroyLexicon();
}

}  // namespace
