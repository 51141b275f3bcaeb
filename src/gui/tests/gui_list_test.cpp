#include "gui/gui_list.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gui/gui_memory.h"

namespace gui {
namespace {

TEST(GuiMemory, BlocksAreZeroFilledSizedAndResizable) {
  auto* p = static_cast<unsigned char*>(GlobalAllocPtr(64, 0x2 /* other flags ignored */));
  ASSERT_NE(p, nullptr);
  for (int i = 0; i < 64; ++i)
    ASSERT_EQ(p[i], 0);
  EXPECT_GE(GlobalSizePtr(p), 64u);
  std::memset(p, 0xAB, 64);
  p = static_cast<unsigned char*>(GlobalReAllocPtr(p, 4096));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p[63], 0xAB);
  for (int i = 64; i < 4096; ++i)
    ASSERT_EQ(p[i], 0) << i;
  EXPECT_EQ(GlobalFreePtr(p), 0);
  EXPECT_EQ(GlobalFreePtr(nullptr), 0);
}

TEST(GuiMemory, FailedReallocationKeepsTheOldBlock) {
  auto* p = static_cast<char*>(GlobalAllocPtr(16));
  std::strcpy(p, "kept");
  testing::FailAllocationsAfter(0);
  EXPECT_EQ(GlobalReAllocPtr(p, 1 << 20), nullptr);
  EXPECT_EQ(GlobalStrDup("x"), nullptr);
  testing::FailAllocationsAfter(-1);
  EXPECT_STREQ(p, "kept");
  char* d = GlobalStrDup(p);
  EXPECT_STREQ(d, "kept");
  EXPECT_EQ(GlobalStrDup(nullptr), nullptr);
  GlobalFreePtr(d);
  GlobalFreePtr(p);
}

struct ListFixture : ::testing::Test {
  GuiList* list = GuiListCreate(8);
  ~ListFixture() override { GuiListDestroy(list); }
  void Fill(std::initializer_list<int> values) {
    for (int v : values)
      GuiListInsertCopy(list, &v, sizeof v, nullptr, kListBack);
  }
  std::vector<int> Values() {
    std::vector<int> out;
    for (GuiListNode* n = list->head; n; n = n->next)
      out.push_back(*static_cast<int*>(n->data));
    return out;
  }
  int CursorValue() { return list->cursor ? *static_cast<int*>(list->cursor->data) : -1; }
};

TEST_F(ListFixture, HeaderHoldsItsUserData) {
  EXPECT_EQ(GuiListGetUserDataSize(list), 8u);
  EXPECT_EQ(GuiListGetUserData(list), static_cast<void*>(list + 1));
  EXPECT_EQ(list->count, 0u);
  EXPECT_EQ(GuiListGetUserData(nullptr), nullptr);
}

TEST_F(ListFixture, LinkPositions) {
  int v = 1;
  // Into an empty list any position succeeds, even the refused ones.
  EXPECT_NE(GuiListInsertCopy(list, &v, sizeof v, nullptr, 3), nullptr);
  v = 2;
  EXPECT_EQ(GuiListInsertCopy(list, &v, sizeof v, nullptr, 3), nullptr);
  EXPECT_EQ(GuiListInsertCopy(list, &v, sizeof v, nullptr, 5), nullptr);
  EXPECT_EQ(GuiListInsertCopy(list, &v, sizeof v, nullptr, kListAfter), nullptr);
  EXPECT_EQ(list->count, 1u);
  GuiListInsertCopy(list, &v, sizeof v, nullptr, kListBack);  // 1 2
  v = 0;
  GuiListInsertCopy(list, &v, sizeof v, nullptr, kListFront);  // 0 1 2
  v = 3;
  GuiListInsertCopy(list, &v, sizeof v, list->tail, kListAfter);  // new tail
  v = -1;
  GuiListInsertCopy(list, &v, sizeof v, list->head, kListBefore);  // new head
  v = 9;
  GuiListInsertCopy(list, &v, sizeof v, list->head->next->next, kListBefore);
  EXPECT_EQ(Values(), (std::vector<int>{-1, 0, 9, 1, 2, 3}));
  EXPECT_EQ(list->count, 6u);
  EXPECT_EQ(list->head->prev, nullptr);
  EXPECT_EQ(list->tail->next, nullptr);
  EXPECT_EQ(CursorValue(), 1);  // the first node stays the cursor
}

TEST_F(ListFixture, SeekStopsAtTheEnds) {
  Fill({10, 20, 30});
  EXPECT_EQ(*static_cast<int*>(GuiListSeek(list, 2, kListFromHead)), 30);
  EXPECT_EQ(GuiListSeek(list, 5, kListFromHead), nullptr);
  EXPECT_EQ(CursorValue(), 30);
  EXPECT_EQ(GuiListSeek(list, -4, kListFromCursor), nullptr);
  EXPECT_EQ(CursorValue(), 10);
  EXPECT_EQ(*static_cast<int*>(GuiListSeek(list, 0, kListFromTail)), 30);
  EXPECT_EQ(*static_cast<int*>(GuiListSeek(list, -1, kListFromCursor)), 20);
}

TEST_F(ListFixture, RemovingTheCursorMovesItToTheHead) {
  Fill({1, 2, 3, 4});
  GuiListSeek(list, 2, kListFromHead);
  EXPECT_EQ(GuiListRemoveRelative(list, 0, kListFromCursor), 1);
  EXPECT_EQ(CursorValue(), 1);
  EXPECT_EQ(GuiListRemoveRelative(list, 0, kListFromTail), 1);
  EXPECT_EQ(GuiListRemoveRelative(list, 7, kListFromHead), 0);
  EXPECT_EQ(Values(), (std::vector<int>{1, 2}));
  EXPECT_EQ(list->count, 2u);
  EXPECT_EQ(GuiListRemoveNode(list, nullptr), 0);
  GuiListClear(list);
  EXPECT_EQ(list->count, 0u);
  EXPECT_EQ(list->head, nullptr);
  EXPECT_EQ(list->cursor, nullptr);
  EXPECT_EQ(GuiListRemoveRelative(list, 0, kListFromHead), 0);
  EXPECT_EQ(GuiListGetUserDataSize(list), 8u);
}

int Equal(const void* key, void* data) {
  return *static_cast<const int*>(key) == *static_cast<int*>(data);
}

TEST_F(ListFixture, FindNextFromTheCursor) {
  Fill({5, 7, 5, 8});
  int key = 5;
  GuiListSeek(list, 0, kListFromHead);
  void* first = GuiListFindNext(list, &key, Equal);
  EXPECT_EQ(first, list->head->data);
  EXPECT_EQ(GuiListFindNext(list, &key, Equal), first);  // cursor already on a match
  GuiListSeek(list, 1, kListFromCursor);
  EXPECT_EQ(GuiListFindNext(list, &key, Equal), list->head->next->next->data);
  GuiListSeek(list, 1, kListFromCursor);
  EXPECT_EQ(GuiListFindNext(list, &key, Equal), nullptr);
  EXPECT_EQ(list->cursor, list->tail);
}

int Sum(void* data, void* arg) {
  *static_cast<int*>(arg) += *static_cast<int*>(data);
  return *static_cast<int*>(data) != 3;  // stop after 3
}

TEST_F(ListFixture, ForEachStopsOnZero) {
  EXPECT_EQ(GuiListForEach(list, Sum, nullptr), 1);  // empty
  Fill({1, 2, 3, 4});
  int total = 0;
  EXPECT_EQ(GuiListForEach(list, Sum, &total), 0);
  EXPECT_EQ(total, 6);
  EXPECT_EQ(GuiListForEach(list, nullptr, nullptr), 0);
}

TEST_F(ListFixture, CopyReturnsNodeOrDataAndFailuresLeaveTheListAlone) {
  int v = 4;
  GuiListNode* node = GuiListInsertCopy(list, &v, sizeof v, nullptr, kListBack);
  void* data = GuiListInsertCopyAtCursor(list, &v, sizeof v, kListAfter);
  EXPECT_EQ(node->data, static_cast<void*>(node + 1));
  EXPECT_EQ(data, list->tail->data);
  testing::FailAllocationsAfter(0);
  EXPECT_EQ(GuiListInsertCopyAtCursor(list, &v, sizeof v, kListAfter), nullptr);
  EXPECT_EQ(GuiListCreate(0), nullptr);
  testing::FailAllocationsAfter(-1);
  EXPECT_EQ(list->count, 2u);
}

}  // namespace
}  // namespace gui
