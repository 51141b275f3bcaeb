#include "gui/gui_tree_store.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "gui/gui_memory.h"

namespace gui {
namespace {

struct Item {
  char name[8];
};

GuiListNode* Add(GuiList* list, const char* name, int position = kListBack) {
  Item it{};
  std::snprintf(it.name, sizeof it.name, "%s", name);
  return GuiTreeStoreInsert(list, &it, sizeof it, position);
}

int Collect(void* bytes, uint32_t size, void* ctx) {
  auto* out = static_cast<std::string*>(ctx);
  if (size) *out += static_cast<Item*>(bytes)->name;
  return kWalkInto;
}

// root: a(a1, a2(a2x)), b
struct Fixture {
  GuiList* root = GuiTreeStoreCreate();
  GuiListNode *a, *a1, *a2, *a2x, *b;
  Fixture() {
    a = Add(root, "a");
    b = Add(root, "b");
    a1 = Add(GuiTreeStoreChildren(a), "a1");
    a2 = Add(GuiTreeStoreChildren(a), "a2");
    a2x = Add(GuiTreeStoreChildren(a2), "x");
  }
  ~Fixture() { GuiTreeStoreDestroy(root, nullptr, nullptr); }
  std::string Walk(int flags, GuiTreeVisitFn fn = Collect) {
    std::string s;
    GuiTreeStoreWalk(root, fn, &s, flags);
    return s;
  }
};

TEST(GuiTreeStore, LinksDepthsAndWalkOrders) {
  Fixture f;
  EXPECT_EQ(GuiTreeStoreDepth(f.a), 0);
  EXPECT_EQ(GuiTreeStoreDepth(f.a2x), 2);
  EXPECT_EQ(GuiTreeStoreParent(f.a2x), f.a2);
  EXPECT_EQ(GuiTreeStoreParent(f.a), nullptr);
  EXPECT_EQ(GuiTreeStoreParentList(f.a), f.root);
  EXPECT_EQ(GuiTreeStoreNodeFromItem(GuiTreeStoreItem(f.a2)), f.a2);
  EXPECT_EQ(GuiTreeStoreItemSize(f.a2), sizeof(Item));
  EXPECT_EQ(f.Walk(kWalkSkipSelf), "aa1a2xb");
  EXPECT_EQ(f.Walk(kWalkSkipSelf | kWalkPostOrder), "a1xa2ab");
  auto skipA = [](void* bytes, uint32_t size, void* ctx) {
    Collect(bytes, size, ctx);
    return size && std::string(static_cast<Item*>(bytes)->name) == "a" ? int(kWalkSkip)
                                                                       : int(kWalkInto);
  };
  EXPECT_EQ(f.Walk(kWalkSkipSelf, skipA), "ab");
  auto stopAtA2 = [](void* bytes, uint32_t size, void* ctx) {
    Collect(bytes, size, ctx);
    return size && std::string(static_cast<Item*>(bytes)->name) == "a2" ? int(kWalkStop)
                                                                        : int(kWalkInto);
  };
  std::string s;
  EXPECT_EQ(GuiTreeStoreWalk(f.root, stopAtA2, &s, kWalkSkipSelf), 0);
  EXPECT_EQ(s, "aa1a2");
  auto isX = [](void*, void* bytes, uint32_t) {
    return int(std::string(static_cast<Item*>(bytes)->name) == "x");
  };
  uint32_t size = 0;
  EXPECT_EQ(GuiTreeStoreFind(f.root, isX, nullptr, &size), GuiTreeStoreItem(f.a2x));
  EXPECT_EQ(size, sizeof(Item));
}

TEST(GuiTreeStore, InsertPositionsAndRemovalFreeTheWholeBranch) {
  Fixture f;
  GuiList* kids = GuiTreeStoreChildren(f.a);
  Item m{"m"};
  ASSERT_NE(GuiTreeStoreInsertAfter(kids, f.a1, &m, sizeof m), nullptr);
  Add(kids, "0", kListFront);
  EXPECT_EQ(f.Walk(kWalkSkipSelf), "a0a1ma2xb");
  EXPECT_EQ(GuiTreeStoreInsertAfter(kids, f.b, &m, sizeof m), nullptr);  // not a sibling here

  int freed = 0;
  auto count = [](void*, uint32_t size, void* ctx) {
    if (size) ++*static_cast<int*>(ctx);
  };
  EXPECT_EQ(GuiTreeStoreRemove(f.root, f.a2, count, &freed), 0);  // not in the root list
  EXPECT_EQ(GuiTreeStoreRemove(f.root, f.a, count, &freed), 1);
  EXPECT_EQ(freed, 6);  // a itself, 0, a1, m, a2 and x
  EXPECT_EQ(f.root->count, 1u);
  EXPECT_EQ(f.root->cursor, f.b);
  EXPECT_EQ(f.Walk(kWalkSkipSelf), "b");
}

TEST(GuiTreeStore, BadArgumentsAndNoMemoryGiveNull) {
  Fixture f;
  Item it{};
  EXPECT_EQ(GuiTreeStoreInsert(nullptr, &it, sizeof it, kListBack), nullptr);
  EXPECT_EQ(GuiTreeStoreInsert(f.root, nullptr, sizeof it, kListBack), nullptr);
  EXPECT_EQ(GuiTreeStoreInsert(f.root, &it, 0, kListBack), nullptr);
  testing::FailAllocationsAfter(0);
  EXPECT_EQ(GuiTreeStoreInsert(f.root, &it, sizeof it, kListBack), nullptr);
  testing::FailAllocationsAfter(-1);
  EXPECT_EQ(f.root->count, 2u);
  EXPECT_EQ(GuiTreeStoreSetCursor(f.root, f.a1), 0);
  EXPECT_EQ(GuiTreeStoreSetCursor(f.root, f.b), 1);
  EXPECT_STREQ(static_cast<Item*>(GuiTreeStoreItemAt(f.root, 0, kListFromTail))->name, "b");
  EXPECT_EQ(GuiTreeStoreRemoveAt(f.root, 5, kListFromHead, nullptr, nullptr), 0);
}

}  // namespace
}  // namespace gui
