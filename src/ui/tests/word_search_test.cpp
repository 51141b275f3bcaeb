// The dictionary panel's searches, search-field filter, history, affix
// groups, row order and definitions, against the program's English lexicon.
#include "ui/word_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/lexicon.h"
#include "engine/robot.h"
#include "engine/wordlist.h"
#include "lexicon_fixture.h"
#include "platform/path.h"

namespace ui {
namespace {

class WordSearch : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const std::string main = platform::JoinPath(TESS_BUILD_DIR, Lexicon::MainGraphName(0));
    if (platform::FileExists(main.c_str())) lexfix::LoadGlobal(TESS_BUILD_DIR, kLanguageEnglish);
  }
  static void TearDownTestSuite() { DestroyLexicon(); }
  void SetUp() override {
    if (!GetLexicon()) GTEST_SKIP() << "the build has not made the English lexicon";
  }
  std::vector<std::string> Words() const {
    std::vector<std::string> w;
    for (int i = 0; i < list.GetCount(); ++i)
      w.push_back(list.GetWord(i));
    return w;
  }
  static std::string Lower(std::string s) {
    for (char& c : s)
      c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  }
  bool Has(const char* word) const {
    for (const std::string& w : Words())
      if (Lower(w) == word) return true;
    return false;
  }

  Robot finder;
  WordList list;
};

TEST(SearchField, KeysAreFilteredAsTheFieldAccepts) {
  struct Case {
    unsigned char ch;
    size_t length;
    SearchKeyAction action;
    char out;
  } cases[] = {
      {'a', 0, SearchKeyAction::kPass, 'A'},
      {'Q', 3, SearchKeyAction::kPass, 'Q'},
      {0xE9, 0, SearchKeyAction::kPass, 'E'},
      {0xE7, 0, SearchKeyAction::kPass, 'C'},
      {0xFB, 0, SearchKeyAction::kPass, 'U'},
      {0xF1, 0, SearchKeyAction::kSwallow, 0},
      {'7', 0, SearchKeyAction::kSwallow, 0},
      {' ', 0, SearchKeyAction::kSwallow, 0},
      {'?', 0, SearchKeyAction::kPass, '?'},
      {'*', 0, SearchKeyAction::kPass, '*'},
      {13, 2, SearchKeyAction::kPassAndSearch, 13},
      {'b', 14, SearchKeyAction::kPass, 'B'},   // the 15th character
      {'b', 15, SearchKeyAction::kSwallow, 0},  // a 16th is refused
      {8, 15, SearchKeyAction::kPass, 8},
      {13, 15, SearchKeyAction::kPassAndSearch, 13},
  };
  for (const Case& c : cases) {
    const SearchKey k = FilterSearchKey(c.ch, c.length, 7);
    EXPECT_EQ(k.action, c.action) << int(c.ch) << " at " << c.length;
    if (c.action != SearchKeyAction::kSwallow) {
      EXPECT_EQ(k.ch, c.out) << int(c.ch);
    }
  }
}

TEST(SearchField, RackAndPatternTexts) {
  EXPECT_EQ(RackToSearchText("ab`c_de"), std::string("ab?c"));
  EXPECT_EQ(CollapseStars("**A***B*"), "*A*B*");
  EXPECT_EQ(WildcardsToBlanks("A?B?"), "A`B`");
}

TEST_F(WordSearch, PatternWithDoubleStarsIsRunWithOne) {
  const int n = RunWordSearch(finder, list, WordSearchKind::kPattern, "QU**CK", 15);
  ASSERT_GT(n, 0);
  const std::vector<std::string> doubled = Words();
  EXPECT_EQ(RunWordSearch(finder, list, WordSearchKind::kPattern, "QU*CK", 15), n);
  EXPECT_EQ(Words(), doubled);
  EXPECT_TRUE(Has("quick"));
  EXPECT_TRUE(Has("quack"));
  for (const std::string& w : doubled) {
    const std::string l = Lower(w);
    EXPECT_EQ(l.substr(0, 2), "qu") << w;
    EXPECT_EQ(l.substr(l.size() - 2), "ck") << w;
  }
  EXPECT_GT(RunWordSearch(finder, list, WordSearchKind::kPattern, "C?T", 15), 0);
  EXPECT_TRUE(Has("cat"));
  EXPECT_TRUE(Has("cut"));
  EXPECT_FALSE(Has("cart"));
}

TEST_F(WordSearch, AnagramsAndCombinations) {
  RunWordSearch(finder, list, WordSearchKind::kAnagram, "TEA", 15);
  for (const char* w : {"tea", "eat", "ate", "eta"})
    EXPECT_TRUE(Has(w)) << w;
  for (const std::string& w : Words())
    EXPECT_EQ(w.size(), 3u) << w;

  // A wildcard is a blank: it shows its letter in upper case.
  RunWordSearch(finder, list, WordSearchKind::kAnagram, "QUI?K", 15);
  const std::vector<std::string> withBlank = Words();
  EXPECT_NE(std::find(withBlank.begin(), withBlank.end(), "quiCk"), withBlank.end());

  RunWordSearch(finder, list, WordSearchKind::kCombination, "TEAS", 15);
  for (const char* w : {"at", "tea", "seat", "eats"})
    EXPECT_TRUE(Has(w)) << w;
  int previous = 99;
  for (int i = 0; i < list.GetCount(); ++i) {
    EXPECT_LE(list.GetSlot(i)->number, previous);
    previous = list.GetSlot(i)->number;
  }
  EXPECT_EQ(RunWordSearch(finder, list, WordSearchKind::kPattern, "", 15), 0);
  EXPECT_EQ(list.GetCount(), 0);
}

TEST_F(WordSearch, AffixGroupsInOrderLongestFirst) {
  AffixBounds b;
  ASSERT_TRUE(RunAffixSearch(finder, list, "ION", 15, &b));
  ASSERT_GT(b.prefixEnd, 0);
  ASSERT_GT(b.suffixEnd, b.prefixEnd);
  ASSERT_GT(b.total, b.suffixEnd);
  enum Group { kBefore, kAfter, kBoth };
  auto check = [&](int first, int end, Group group) {
    for (int i = first; i < end; ++i) {
      const std::string w = Lower(list.GetWord(i));
      const size_t at = w.find("ion", 1);
      bool ok = false;
      switch (group) {
        case kBefore:
          ok = w.size() > 3 && w.substr(w.size() - 3) == "ion";
          break;
        case kAfter:
          ok = w.size() > 3 && w.substr(0, 3) == "ion";
          break;
        case kBoth:
          ok = at != std::string::npos && at + 3 < w.size();
          break;
      }
      EXPECT_TRUE(ok) << w;
      if (i > first) {
        EXPECT_LE(list.GetSlot(i)->number, list.GetSlot(i - 1)->number) << w;
      }
    }
  };
  check(0, b.prefixEnd, kBefore);
  check(b.prefixEnd, b.suffixEnd, kAfter);
  check(b.suffixEnd, b.total, kBoth);

  const std::vector<AffixRow> rows = MakeAffixRows(list, b);
  ASSERT_EQ(rows.size(), static_cast<size_t>(b.total + 3));
  EXPECT_EQ(rows[0].text, "Prefixes-------------------");
  EXPECT_EQ(rows[0].data, kAffixHeader);
  EXPECT_EQ(rows[1].data, 0);
  EXPECT_EQ(rows[b.prefixEnd + 1].text, "Suffixes-------------------");
  EXPECT_EQ(rows[b.suffixEnd + 2].text, "Prefixes-&-Suffixes--------");

  for (const char* refused : {"", "*ION", "ION*", "ABCDEFGHIJKLMNO"}) {
    list.Clear();
    list.Add("KEEP", 4, 0);
    EXPECT_FALSE(RunAffixSearch(finder, list, refused, 15, &b)) << refused;
    EXPECT_EQ(list.GetCount(), 1) << refused;
  }
}

TEST(DefinitionRtf, ControlCharactersOfRtfAreEscaped) {
  EXPECT_EQ(RtfEscape("a{b}\\c \xE9\n"), "a\\{b\\}\\\\c \\'e9\\par ");
  EXPECT_EQ(RtfEscape(std::string("x\x01y")), "xy");
}

TEST_F(WordSearch, DefinitionsAsRichText) {
  if (!GetLexicon()->DefinitionsLoaded()) GTEST_SKIP() << "no definitions";
  std::string rtf;
  ASSERT_TRUE(BuildDefinitionRtf(*GetLexicon(), "house", 1, 2, 3, &rtf));
  EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252\\uc1{\\colortbl;\\red255\\green0\\blue255;"
                      "\\red1\\green2\\blue3;}{\\cf2 ",
                      0),
            0u);
  EXPECT_EQ(rtf.substr(rtf.size() - 2), "}}");
  EXPECT_NE(rtf.find("1- "), std::string::npos);  // several definitions, numbered
  EXPECT_NE(rtf.find("\\par 2- "), std::string::npos);
  // Nothing from the text can open or close a group of the document.
  const size_t start = rtf.find("{\\cf2 ") + 6;
  const std::string body = rtf.substr(start, rtf.size() - 2 - start);
  for (size_t i = 0; i < body.size(); ++i)
    if (body[i] == '{' || body[i] == '}') {
      EXPECT_EQ(body[i - 1], '\\') << body;
    }
  EXPECT_FALSE(BuildDefinitionRtf(*GetLexicon(), "zzxq", 0, 0, 0, &rtf));
}

}  // namespace
}  // namespace ui
