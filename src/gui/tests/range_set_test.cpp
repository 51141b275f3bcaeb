#include "gui/gui_range_set.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "gui/gui_memory.h"

namespace gui {
namespace {

using Ranges = std::vector<std::pair<int, int>>;

GuiList* Make(const Ranges& ranges) {
  GuiList* s = GuiRangeSetCreate();
  for (auto [f, l] : ranges)
    EXPECT_EQ(GuiRangeSetAddRange(s, f, l), 0);
  return s;
}

Ranges Read(const GuiList* s) {
  Ranges out;
  for (GuiListNode* n = s->head; n; n = n->next) {
    auto* r = static_cast<GuiRange*>(n->data);
    out.emplace_back(r->first, r->last);
  }
  return out;
}

enum Op { kAdd, kRemove, kSetOn, kSetOff, kInsertOn, kInsertOff, kDelete };

struct Case {
  Ranges before;
  Op op;
  int a, b;
  Ranges after;
};

TEST(GuiRangeSet, OperationsKeepRangesDisjointAndApart) {
  const Case cases[] = {
      {{{5, 7}}, kDelete, 4, 0, {{4, 6}}},
      {{{5, 7}}, kDelete, 6, 0, {{5, 6}}},
      {{{5, 7}}, kDelete, 5, 0, {{5, 6}}},
      {{{5, 5}, {8, 9}}, kDelete, 5, 0, {{7, 8}}},
      {{{2, 3}, {5, 7}}, kDelete, 4, 0, {{2, 6}}},
      {{{2, 3}}, kDelete, 9, 0, {{2, 3}}},
      {{{5, 7}}, kInsertOff, 6, 0, {{5, 5}, {7, 8}}},
      {{{5, 7}}, kInsertOn, 6, 0, {{5, 8}}},
      {{{5, 7}}, kInsertOff, 5, 0, {{6, 8}}},
      {{{5, 7}}, kInsertOn, 8, 0, {{5, 8}}},
      {{{1, 3}, {5, 9}}, kSetOn, 4, 0, {{1, 9}}},
      {{{1, 9}}, kSetOff, 6, 0, {{1, 5}, {7, 9}}},
      {{{1, 9}}, kSetOff, 1, 0, {{2, 9}}},
      {{{1, 1}}, kSetOff, 1, 0, {}},
      {{{3, 4}}, kSetOn, 1, 0, {{1, 1}, {3, 4}}},
      {{{3, 4}}, kSetOn, 6, 0, {{3, 4}, {6, 6}}},
      {{{3, 4}}, kSetOn, 5, 0, {{3, 5}}},
      {{{1, 2}, {5, 6}, {14, 15}}, kAdd, 3, 12, {{1, 12}, {14, 15}}},
      {{{1, 2}, {5, 6}, {14, 15}}, kAdd, 0, 20, {{0, 20}}},
      {{{1, 2}, {5, 6}, {14, 15}}, kAdd, 8, 9, {{1, 2}, {5, 6}, {8, 9}, {14, 15}}},
      {{{1, 2}, {5, 6}, {14, 15}}, kAdd, 7, 13, {{1, 2}, {5, 15}}},
      {{{1, 2}}, kAdd, 5, 3, {{1, 2}}},
      {{{1, 3}, {5, 9}, {12, 20}}, kRemove, 2, 14, {{1, 1}, {15, 20}}},
      {{{1, 20}}, kRemove, 5, 9, {{1, 4}, {10, 20}}},
      {{{1, 20}}, kRemove, 9, 5, {{1, 20}}},
  };
  for (const Case& c : cases) {
    GuiList* s = Make(c.before);
    switch (c.op) {
      case kAdd:
        EXPECT_EQ(GuiRangeSetAddRange(s, c.a, c.b), 0);
        break;
      case kRemove:
        EXPECT_EQ(GuiRangeSetRemoveRange(s, c.a, c.b), 0);
        break;
      case kSetOn:
        EXPECT_EQ(GuiRangeSetSet(s, c.a, 1), 0);
        break;
      case kSetOff:
        EXPECT_EQ(GuiRangeSetSet(s, c.a, 0), 0);
        break;
      case kInsertOn:
        EXPECT_EQ(GuiRangeSetInsertAt(s, c.a, 1), 0);
        break;
      case kInsertOff:
        EXPECT_EQ(GuiRangeSetInsertAt(s, c.a, 0), 0);
        break;
      case kDelete:
        EXPECT_EQ(GuiRangeSetDeleteAt(s, c.a), 0);
        break;
    }
    EXPECT_EQ(Read(s), c.after) << "case op " << c.op << " at " << c.a;
    EXPECT_EQ(s->count, c.after.size());
    GuiRangeSetDestroy(s);
  }
}

TEST(GuiRangeSet, QueriesAnswerMembersCountAndNext) {
  GuiList* s = Make({{2, 4}, {8, 8}});
  EXPECT_EQ(GuiRangeSetCount(s), 4);
  std::string members;
  for (int v = 0; v < 10; ++v)
    members += GuiRangeSetContains(s, v) ? '1' : '0';
  EXPECT_EQ(members, "0011100010");
  int32_t next = -1;
  EXPECT_EQ(GuiRangeSetNextFrom(s, 3, &next), 1);
  EXPECT_EQ(next, 3);
  EXPECT_EQ(GuiRangeSetNextFrom(s, 5, &next), 1);
  EXPECT_EQ(next, 8);
  EXPECT_EQ(GuiRangeSetNextFrom(s, 9, &next), 0);
  GuiRangeSetDestroy(s);
  EXPECT_EQ(GuiRangeSetContains(nullptr, 1), 0);
  EXPECT_EQ(GuiRangeSetCount(nullptr), 0);
  EXPECT_EQ(GuiRangeSetAddRange(nullptr, 1, 2), 0);
  EXPECT_EQ(GuiRangeSetDeleteAt(nullptr, 1), 0);
}

TEST(GuiRangeSet, OutOfMemoryReportsAndKeepsTheSet) {
  GuiList* s = Make({{1, 9}});
  testing::FailAllocationsAfter(0);
  EXPECT_EQ(GuiRangeSetSet(s, 5, 0), 1);
  EXPECT_EQ(GuiRangeSetSet(s, 20, 1), 1);
  EXPECT_EQ(GuiRangeSetDeleteAt(s, 5), 0);  // deletion never needs memory
  testing::FailAllocationsAfter(-1);
  EXPECT_EQ(Read(s), (Ranges{{1, 8}}));
  GuiRangeSetDestroy(s);
}

}  // namespace
}  // namespace gui
