#include "gui/spin_list_model.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "gui/gui_memory.h"

namespace gui {
namespace {

SpinListItem Named(const char* name) {
  SpinListItem it{};
  std::strncpy(it.name, name, sizeof it.name - 1);
  return it;
}

void Fill(SpinListModel& m, std::initializer_list<const char*> names) {
  for (const char* n : names)
    m.Add(Named(n));
}

TEST(SpinListModel, MovesWrapByLinesAndStopByPages) {
  SpinListModel m;
  Fill(m, {"a", "b", "c", "d", "e", "f", "g", "h"});
  struct Case {
    int32_t from;
    int code;
    int32_t to;
    bool transition;
  } cases[] = {
      {7, 1, 0, true},    // line down from the last wraps
      {0, 0, 7, true},    // line up from the first wraps
      {5, 3, 7, true},    // page down stops at the end
      {5, 2, 0, true},    // page up stops at the start
      {7, 7, -1, false},  // bottom on the last does nothing
      {3, 7, 7, false},   // bottom: at once
      {3, 6, 0, false},   // top: at once
      {3, 4, -1, false},  // other codes
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(m.SetCurrent(c.from));
    SpinMove mv = m.Move(c.code);
    EXPECT_EQ(mv.index, c.to) << c.from << " " << c.code;
    EXPECT_EQ(mv.transition, c.transition) << c.from << " " << c.code;
  }
  EXPECT_FALSE(m.SetCurrent(8));
  SpinListModel empty;
  EXPECT_EQ(empty.Move(1).index, -1);
}

TEST(SpinListModel, LettersNamesAndSorting) {
  SpinListModel m;
  Fill(m, {"Walnut", "maple", "Mahogany", "brass"});
  EXPECT_EQ(m.current(), 0);
  EXPECT_EQ(m.FindLetter('m'), 1);
  m.SetCurrent(1);
  EXPECT_EQ(m.FindLetter('M'), 2);  // the same letter again moves to the next
  m.SetCurrent(2);
  EXPECT_EQ(m.FindLetter('m'), 1);  // back to the first from the top
  EXPECT_EQ(m.FindLetter('z'), -1);
  EXPECT_EQ(m.FindName("BRASS"), 3);
  EXPECT_EQ(m.FindName(""), -1);
  EXPECT_EQ(m.FindName(nullptr), -1);

  m.SetCurrent(0);  // Walnut
  ASSERT_TRUE(m.Sort(0, 0));
  EXPECT_STREQ(m.Item(0)->name, "brass");
  EXPECT_STREQ(m.Item(3)->name, "Walnut");
  EXPECT_EQ(m.current(), 3);  // follows its name
  ASSERT_TRUE(m.Sort(1, 7));
  EXPECT_EQ(m.current(), 3);  // the index stays, now naming another item
  EXPECT_STREQ(m.Item(3)->name, "brass");
  ASSERT_TRUE(m.Sort(0, 6));
  EXPECT_EQ(m.current(), 0);
  EXPECT_FALSE(m.Sort(2, 0));
}

TEST(SpinListModel, GrowsBy32AndKeepsItsItemsWhenMemoryRunsOut) {
  SpinListModel m;
  ASSERT_TRUE(m.valid());
  for (int i = 0; i < 32; ++i)
    ASSERT_EQ(m.Add(Named(("item" + std::to_string(i)).c_str())), i + 1);
  testing::FailAllocationsAfter(0);
  EXPECT_EQ(m.Add(Named("late")), -1);
  testing::FailAllocationsAfter(-1);
  EXPECT_EQ(m.count(), 32);
  EXPECT_STREQ(m.Item(31)->name, "item31");
  EXPECT_EQ(m.Add(Named("late")), 33);
  EXPECT_EQ(m.Item(33), nullptr);
  SpinListItem longName{};
  std::memset(longName.name, 'x', sizeof longName.name);  // not terminated
  m.Add(longName);
  EXPECT_EQ(std::strlen(m.Item(33)->name), 63u);
  int freed = 0;
  static int* counter = nullptr;
  counter = &freed;
  EXPECT_TRUE(m.Clear([](SpinListItem*) { ++*counter; }));
  EXPECT_EQ(freed, 34);
  EXPECT_EQ(m.count(), 0);
  EXPECT_EQ(m.current(), -1);
}

}  // namespace
}  // namespace gui
