#include "engine/wordlist.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Words(const WordList& list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.GetCount(); ++i)
    out.push_back(list.GetWord(i));
  return out;
}

TEST(WordListTest, HoldsWordsUpToItsCapacity) {
  WordList list;
  EXPECT_EQ(list.GetWord(0), nullptr);
  ASSERT_TRUE(list.Add("cat", 3, 7));
  EXPECT_STREQ(list.GetWord(0), "cat");
  EXPECT_EQ(list.GetWord(1), nullptr);  // the count
  EXPECT_EQ(list.GetWord(-1), nullptr);
  EXPECT_EQ(list.GetSlot(0)->value, 7);

  ASSERT_TRUE(list.Add("abcdefghijklmnopqrst", 20, 0));  // cut to a slot's 15 letters
  EXPECT_STREQ(list.GetWord(1), "abcdefghijklmno");

  for (int i = list.GetCount(); i < WordList::kCapacity; ++i)
    ASSERT_TRUE(list.Add("x", 1, 0));
  EXPECT_FALSE(list.Add("more", 4, 0));
  list.CountOne();
  EXPECT_EQ(list.GetCount(), WordList::kCapacity);

  list.Clear();
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetWord(0), nullptr);
}

TEST(WordListTest, SortsByEachModeAndIgnoresUnknownModes) {
  WordList list;
  list.Add("pear", 4, 1);
  list.Add("fig", 3, 9);
  list.Add("apple", 5, 4);

  list.Sort(WordList::kSortText, 0, 0);  // last 0: up to the last slot in use
  EXPECT_EQ(Words(list), (std::vector<std::string>{"apple", "fig", "pear"}));
  list.Sort(WordList::kSortNumber, 0, 0);
  EXPECT_EQ(Words(list), (std::vector<std::string>{"apple", "pear", "fig"}));
  list.Sort(WordList::kSortValue, 0, 0);
  EXPECT_EQ(Words(list), (std::vector<std::string>{"fig", "apple", "pear"}));

  list.Sort(9, 0, 0);
  EXPECT_EQ(Words(list), (std::vector<std::string>{"fig", "apple", "pear"}));
  list.Sort(WordList::kSortText, 2, 1);  // first not below last
  list.Sort(WordList::kSortText, 1, 2);  // a sub-range only
  EXPECT_EQ(Words(list), (std::vector<std::string>{"fig", "apple", "pear"}));
  list.Sort(WordList::kSortText, 0, 1000);  // clipped to the slots in use
  EXPECT_EQ(Words(list), (std::vector<std::string>{"apple", "fig", "pear"}));

  WordList bytes;  // unsigned byte order: 0xE9 sorts after 'z'
  bytes.Add("\xE9t\xE9", 3, 0);
  bytes.Add("zoo", 3, 0);
  bytes.Sort(WordList::kSortText, 0, 0);
  EXPECT_STREQ(bytes.GetWord(0), "zoo");
}

TEST(WordListTest, CountersStopAtTheCapAndGrowWhenAskedForMore) {
  WordList list;
  EXPECT_EQ(list.CounterCount(), 0);
  list.CountHit(0);  // no table yet: ignored
  list.EnsureCounters(3);
  ASSERT_EQ(list.CounterCount(), 4);
  for (int i = 0; i < WordList::kMaxHits + 50; ++i)
    list.CountHit(3);
  EXPECT_EQ(list.Counter(3), WordList::kMaxHits);
  list.CountHit(4);  // past the table
  list.CountHit(-1);

  list.EnsureCounters(10);  // more than before: the table grows, all zero
  ASSERT_EQ(list.CounterCount(), 11);
  EXPECT_EQ(list.Counter(3), 0);
  list.CountHit(10);
  EXPECT_EQ(list.Counter(10), 1);
  list.EnsureCounters(2);  // fewer: the first three are zeroed
  EXPECT_EQ(list.Counter(10), 1);
}

}  // namespace
