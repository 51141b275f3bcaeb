#include "ui/dictionary_ops.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/wordlist.h"

namespace ui {
namespace {

// The drop-down list's behaviour: exact matches found without regard to case.
class VectorList : public RecentWordList {
 public:
  int Find(const char* word) override {
    for (size_t i = 0; i < words.size(); ++i)
      if (strcasecmp(words[i].c_str(), word) == 0) return static_cast<int>(i);
    return -1;
  }
  void InsertTop(const char* word) override { words.insert(words.begin(), word); }
  int Count() override { return static_cast<int>(words.size()); }
  void Delete(int index) override { words.erase(words.begin() + index); }
  std::vector<std::string> words;
};

TEST(DictionaryHistory, KeepsTheTenNewestOnceEach) {
  VectorList list;
  EXPECT_EQ(AddRecentWord(list, "cat"), 1);
  EXPECT_EQ(AddRecentWord(list, "CAT"), 1);  // already there
  EXPECT_EQ(AddRecentWord(list, ""), 1);
  EXPECT_EQ(AddRecentWord(list, nullptr), 1);
  for (int i = 0; i < 9; ++i)
    AddRecentWord(list, ("w" + std::to_string(i)).c_str());
  EXPECT_EQ(list.Count(), 10);
  EXPECT_EQ(list.words.back(), "cat");
  EXPECT_EQ(AddRecentWord(list, "dog"), 10);  // the eleventh pushes the oldest out
  EXPECT_EQ(list.words.front(), "dog");
  EXPECT_EQ(list.words.back(), "w0");
  EXPECT_EQ(list.Find("cat"), -1);
}

TEST(DictionaryItems, SortKeys) {
  WordSlot a, b;
  std::strcpy(a.text, "zeal");
  std::strcpy(b.text, "\xE9t\xE9");  // bytes above 0x7F sort after the letters
  a.number = 4, b.number = 3;
  a.value = 1, b.value = 9;
  const struct {
    int key;
    int want;
  } cases[] = {{0, -1}, {1, -1}, {2, 1}, {3, 0}, {-1, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(CompareDictionaryItems(&a, &b, c.key), c.want) << c.key;
    EXPECT_EQ(CompareDictionaryItems(&b, &a, c.key), -c.want) << c.key;
  }
  EXPECT_EQ(CompareDictionaryItems(&a, &a, 0), 0);
  EXPECT_EQ(CompareDictionaryItems(nullptr, &a, 1), 0);
}

}  // namespace
}  // namespace ui
