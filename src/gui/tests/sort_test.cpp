#include "gui/gui_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

namespace gui {
namespace {

struct Rec {
  int key;
  int tag;
};

struct Counts {
  int compares = 0, swaps = 0;
};

int CompareKeys(const void* a, const void* b, void* ctx) {
  ++static_cast<Counts*>(ctx)->compares;
  int x = static_cast<const Rec*>(a)->key, y = static_cast<const Rec*>(b)->key;
  return x < y ? -1 : x > y ? 1 : 0;
}

void SwapRecs(void* a, void* b, void* ctx) {
  ++static_cast<Counts*>(ctx)->swaps;
  std::swap(*static_cast<Rec*>(a), *static_cast<Rec*>(b));
}

TEST(GuiSort, SortsEverySizeAndShapeInPlace) {
  std::srand(7);
  for (int n : {0, 1, 2, 3, 8, 9, 10, 17, 100, 1000, 5000}) {
    for (int shape = 0; shape < 4; ++shape) {
      std::vector<Rec> v(n);
      for (int i = 0; i < n; ++i) {
        int k = shape == 0 ? std::rand() % 50 : shape == 1 ? i : shape == 2 ? n - i : 3;
        v[i] = {k, i};
      }
      std::vector<Rec> want = v;
      std::stable_sort(want.begin(), want.end(), [](auto& a, auto& b) { return a.key < b.key; });
      Counts c;
      GuiSort(v.data(), v.size(), sizeof(Rec), CompareKeys, SwapRecs, &c);
      for (int i = 0; i < n; ++i)
        ASSERT_EQ(v[i].key, want[i].key) << "n " << n << " shape " << shape << " at " << i;
    }
  }
}

TEST(GuiSort, EdgeCasesCallTheRightCallbacks) {
  Counts c;
  std::vector<Rec> equal(9, Rec{4, 0});
  GuiSort(equal.data(), 9, sizeof(Rec), CompareKeys, SwapRecs, &c);
  EXPECT_GT(c.swaps, 0);  // the pivot is moved even among equals
  for (const Rec& r : equal)
    EXPECT_EQ(r.key, 4);

  Counts two;
  Rec pair[2] = {{2, 0}, {1, 1}};
  GuiSort(pair, 2, sizeof(Rec), CompareKeys, SwapRecs, &two);
  EXPECT_EQ(pair[0].key, 1);
  EXPECT_EQ(two.compares, 1);  // the short path: one compare, one swap
  EXPECT_EQ(two.swaps, 1);

  Counts none;
  GuiSort(pair, 1, sizeof(Rec), CompareKeys, SwapRecs, &none);
  GuiSort(pair, 2, 0, CompareKeys, SwapRecs, &none);
  EXPECT_EQ(none.compares + none.swaps, 0);
}

}  // namespace
}  // namespace gui
