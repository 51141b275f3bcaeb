#include "gui/item_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/gui_memory.h"

namespace gui {
namespace {

// Records what the engine asks of the window; its bars clamp their values
// the way the skinned bars do and report a corrected position back.
class FakeHost : public GuiItemViewHost {
 public:
  GuiItemView* view = nullptr;
  bool hasBar[2] = {true, true};
  bool shown[2] = {false, false};
  GuiViewBarInfo bar[2] = {};
  int32_t line[2] = {6, 1}, page[2] = {50, 0};
  std::vector<std::string> log;
  int invalidates = 0, scrolls = 0;

  void Invalidate(const GuiViewRect* r) override {
    ++invalidates;
    log.push_back(r ? "inv " + std::to_string(r->top) + "-" + std::to_string(r->bottom)
                    : "inv all");
  }
  void Scroll(int32_t dx, int32_t dy, const GuiViewRect&, bool repaint) override {
    ++scrolls;
    log.push_back("scroll " + std::to_string(dx) + "," + std::to_string(dy) +
                  (repaint ? "" : " norepaint"));
  }
  void NotifyParent(uint32_t m, intptr_t lp) override {
    log.push_back((m == kMsgViewTopIndex ? "top " : "horz ") + std::to_string(lp));
  }
  void FrameChanged() override { log.push_back("frame"); }
  bool HasBar(int b) override { return hasBar[b]; }
  void SetBar(int b, uint32_t mask, const GuiViewBarInfo& in) override {
    GuiViewBarInfo& i = bar[b];
    if (mask & kBarPage) i.page = in.page;
    if (mask & kBarPos) i.pos = in.pos;
    if (mask & kBarRange) i.min = in.min, i.max = in.max;
    int32_t stored = i.pos;
    if (i.max < i.min - 1) i.max = i.min - 1;
    if (i.page > i.max - i.min + 1) i.page = i.max - i.min + 1;
    int32_t maxPos = i.max - std::max(i.page - 1, 0);
    if (i.pos > maxPos) i.pos = maxPos;
    if (i.pos < i.min) i.pos = i.min;
    if (i.pos != stored && view) {
      if (b == kBarVert)
        GuiItemViewSetTopIndex(view, i.pos);
      else
        GuiItemViewSetHorzPos(view, i.pos);
    }
  }
  GuiViewBarInfo GetBar(int b) override { return bar[b]; }
  bool BarShown(int b) override { return shown[b]; }
  void ShowBar(int b, bool s) override {
    shown[b] = s;
    log.push_back(std::string(s ? "show " : "hide ") + (b ? "v" : "h"));
  }
  int32_t LineStep(int b) override { return line[b]; }
  int32_t PageStep(int b) override {
    return page[b] > 0 ? page[b] : std::max(bar[b].page - line[b], 1);
  }
  int32_t SetLineStep(int b, int32_t s) override { return std::exchange(line[b], s); }
  int32_t SetPageStep(int b, int32_t s) override { return std::exchange(page[b], s); }
  int32_t BarThickness(int b) override { return shown[b] ? 16 : 0; }
};

// A view 100 wide and 50 tall with rows of 10: five whole rows.
struct View {
  FakeHost host;
  GuiItemView v{};
  explicit View(int items = 0, int dataIsIndex = 0, int fixedWidth = 0) {
    GuiItemViewInitEx(&v, &host, nullptr, dataIsIndex, fixedWidth);
    host.view = &v;
    GuiItemViewSetRowHeight(&v, 10, 0);
    GuiItemViewSetRect(&v, GuiViewRect{0, 0, 100, 50});
    for (int i = 0; i < items; ++i)
      GuiItemViewInsertItem(&v, i, 1000 + i, 40 + i);
    host.log.clear();
    host.invalidates = host.scrolls = 0;
  }
  ~View() { GuiItemViewDestroy(&v); }
};

TEST(GuiItemView, BarsFollowTheContent) {
  View t;
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(GuiItemViewInsertItem(&t.v, i, i, 30), i + 1);
  EXPECT_FALSE(t.host.shown[kBarVert]);  // five rows fit
  GuiItemViewInsertItem(&t.v, 5, 5, 30);
  EXPECT_TRUE(t.host.shown[kBarVert]);
  EXPECT_EQ(t.host.bar[kBarVert].max, 5);
  EXPECT_EQ(t.host.bar[kBarVert].page, 5);
  GuiItemViewInsertItem(&t.v, 0, 9, 150);  // wider than the view
  EXPECT_TRUE(t.host.shown[kBarHorz]);
  EXPECT_EQ(t.v.contentWidth, 150);
  GuiItemViewInsertItem(&t.v, 0, 9, 120);
  GuiItemViewDeleteItem(&t.v, 0);  // narrower than the widest: width stays
  EXPECT_EQ(t.v.contentWidth, 150);
  GuiItemViewDeleteItem(&t.v, 0);  // the widest: next widest, bar hidden
  EXPECT_EQ(t.v.contentWidth, 30);
  EXPECT_FALSE(t.host.shown[kBarHorz]);
  GuiItemViewDeleteItem(&t.v, 5);
  EXPECT_FALSE(t.host.shown[kBarVert]);
  EXPECT_EQ(GuiItemViewInsertItem(&t.v, 7, 0, 0), -1);
  EXPECT_EQ(GuiItemViewInsertItem(&t.v, -1, 0, 0), -1);
  EXPECT_EQ(GuiItemViewDeleteRange(&t.v, 3, 2), -1);
  EXPECT_EQ(GuiItemViewDeleteRange(&t.v, 0, 5), -1);
  EXPECT_EQ(GuiItemViewGetItemData(&t.v, 9), 0);
}

TEST(GuiItemView, ScrollCodesMoveTheTopWithinTheContent) {
  struct Case {
    int count, top, code, thumb, wantTop;
  };
  const Case cases[] = {
      {20, 0, kSbLineUp, 0, 0},        {20, 3, kSbLineUp, 0, 2},
      {20, 15, kSbLineDown, 0, 15},    {20, 14, kSbLineDown, 0, 15},
      {4, 0, kSbLineDown, 0, 0},       {20, 0, kSbPageDown, 0, 4},
      {20, 13, kSbPageDown, 0, 15},    {20, 15, kSbPageDown, 0, 15},
      {20, 2, kSbPageUp, 0, 0},        {20, 9, kSbPageUp, 0, 5},
      {20, 0, kSbThumbTrack, 7, 7},    {20, 0, kSbThumbTrack, 500, 15},
      {20, 5, kSbThumbPosition, 9, 5}, {20, 5, kSbBottom, 0, 5},
  };
  for (const Case& c : cases) {
    View t(c.count);
    GuiItemViewSetNotify(&t.v, 2);
    GuiItemViewScrollTo(&t.v, c.top);
    t.host.log.clear();
    GuiItemViewVScroll(&t.v, c.code, c.thumb);
    EXPECT_EQ(t.v.top, c.wantTop) << "count " << c.count << " top " << c.top << " code " << c.code;
    std::vector<std::string> want;
    if (c.wantTop != c.top)
      want = {"top " + std::to_string(c.wantTop),
              "scroll 0," + std::to_string((c.top - c.wantTop) * 10)};
    EXPECT_EQ(t.host.log, want) << "code " << c.code;
    EXPECT_EQ(t.host.bar[kBarVert].pos, c.wantTop);
  }
}

TEST(GuiItemView, HorizontalScrollStaysInsideTheContent) {
  View t(3);
  GuiItemViewSetContentWidth(&t.v, 130);  // 30 pixels beyond the view
  GuiItemViewHScroll(&t.v, kSbLineDown, 0);
  EXPECT_EQ(t.v.offset, 6);
  GuiItemViewHScroll(&t.v, kSbPageDown, 0);
  EXPECT_EQ(t.v.offset, 30);
  GuiItemViewHScroll(&t.v, kSbLineDown, 0);
  EXPECT_EQ(t.v.offset, 30);
  GuiItemViewHScroll(&t.v, kSbPageUp, 0);
  EXPECT_EQ(t.v.offset, 0);
  GuiItemViewEnsureRangeVisibleH(&t.v, 110, 125);
  EXPECT_EQ(t.v.offset, 26);
  GuiItemViewEnsureRangeVisibleH(&t.v, 10, 20);
  EXPECT_EQ(t.v.offset, 10);
}

TEST(GuiItemView, EnsureVisibleScrollsOnlyWhenNeeded) {
  struct Case {
    int count, top, index, asTop, result, wantTop, changed;
  };
  const Case cases[] = {
      {20, 0, 3, 0, 1, 0, 0},  {20, 0, 19, 0, 1, 15, 1}, {20, 0, 7, 0, 1, 3, 1},
      {20, 10, 4, 0, 1, 4, 1}, {20, 0, 7, 1, 1, 7, 1},   {20, 0, 18, 1, 1, 15, 1},
      {20, 0, 20, 0, 0, 0, 0}, {20, 4, 4, 0, 1, 4, 0},   {3, 0, 2, 1, 1, 0, 0},
  };
  for (const Case& c : cases) {
    View t(c.count);
    GuiItemViewScrollTo(&t.v, c.top);
    int changed = -1;
    EXPECT_EQ(GuiItemViewEnsureVisible(&t.v, c.index, c.asTop, &changed), c.result);
    EXPECT_EQ(t.v.top, c.wantTop) << "index " << c.index;
    EXPECT_EQ(changed, c.changed) << "index " << c.index;
  }
}

TEST(GuiItemView, HitTestHoldsTheIndexToShownItems) {
  View t(20);
  GuiItemViewScrollTo(&t.v, 4);
  struct Case {
    int x, y, index, outside;
  };
  const Case cases[] = {{5, 0, 4, 0},  {5, 19, 5, 0},  {5, 49, 8, 0},
                        {5, 75, 8, 1}, {5, -30, 4, 1}, {150, 5, 4, 1}};
  for (const Case& c : cases) {
    int outside = -1;
    EXPECT_EQ(GuiItemViewHitTest(&t.v, c.x, c.y, &outside), c.index) << c.y;
    EXPECT_EQ(outside, c.outside) << c.y;
  }
  EXPECT_EQ(GuiItemViewItemFromPoint(&t.v, 5, 75), (1 << 16) | 8);
  View few(3);
  EXPECT_EQ(GuiItemViewHitTest(&few.v, 5, 45, nullptr), 2);  // below the last item
  View none;
  EXPECT_EQ(GuiItemViewHitTest(&none.v, 5, 5, nullptr), -1);
  EXPECT_EQ(GuiItemViewItemFromPoint(&none.v, 5, 5), -1);
  GuiViewRect r;
  EXPECT_EQ(GuiItemViewGetItemRect(&t.v, 5, &r), 0);
  EXPECT_EQ(r.top, 10);
  EXPECT_EQ(r.bottom, 20);
  EXPECT_EQ(GuiItemViewGetItemRect(&t.v, 2, &r), -1);  // above the view
  EXPECT_EQ(GuiItemViewGetItemRect(&t.v, 20, &r), -1);
}

TEST(GuiItemView, RedrawOffSuppressesEveryRepaint) {
  View t(8);
  GuiItemViewSetRedraw(&t.v, 0);
  GuiItemViewInsertItem(&t.v, 0, 0, 10);
  GuiItemViewDeleteItem(&t.v, 0);
  GuiItemViewVScroll(&t.v, kSbLineDown, 0);
  GuiItemViewRedrawItem(&t.v, 2);
  GuiItemViewResetContent(&t.v);
  EXPECT_EQ(t.host.invalidates, 0);
  for (const std::string& e : t.host.log)
    EXPECT_EQ(e.find("scroll") != std::string::npos && e.find("norepaint") == std::string::npos,
              false)
        << e;
  GuiItemViewSetRedraw(&t.v, 1);
  GuiItemViewInsertItem(&t.v, 0, 0, 10);
  EXPECT_GT(t.host.invalidates, 0);
}

TEST(GuiItemView, ResetEmptiesAndAnEmptyResetIsSilent) {
  View t(8);
  GuiItemViewSetNotify(&t.v, 3);
  GuiItemViewScrollTo(&t.v, 2);
  t.host.log.clear();
  GuiItemViewResetContent(&t.v);
  EXPECT_EQ(t.v.count, 0);
  EXPECT_EQ(t.v.top, 0);
  EXPECT_EQ(t.host.log,
            (std::vector<std::string>{"top 0", "hide v", "hide h", "frame", "inv all"}));
  t.host.log.clear();
  GuiItemViewResetContent(&t.v);
  EXPECT_TRUE(t.host.log.empty());
}

TEST(GuiItemView, DeletingBelowTheTopNeverLeavesItDangling) {
  View t(20);
  t.host.hasBar[kBarVert] = false;  // nothing corrects the top from outside
  GuiItemViewScrollTo(&t.v, 15);
  GuiItemViewDeleteRange(&t.v, 10, 19);
  EXPECT_EQ(t.v.top, 5);
  EXPECT_EQ(GuiItemViewHitTest(&t.v, 5, 5, nullptr), 5);
  View b(20);  // with a bar, its clamp brings the top back
  GuiItemViewScrollTo(&b.v, 15);
  GuiItemViewDeleteRange(&b.v, 10, 19);
  EXPECT_EQ(b.v.top, 5);
}

TEST(GuiItemView, ZeroRowHeightAndNullViewsAreSafe) {
  FakeHost host;
  GuiItemView v{};
  GuiItemViewInitEx(&v, &host, nullptr, 0, 0);
  GuiItemViewSetRect(&v, GuiViewRect{0, 0, 100, 50});
  GuiItemViewInsertItem(&v, 0, 7, 10);
  GuiItemViewInsertItem(&v, 1, 8, 10);
  EXPECT_EQ(v.wholeRows, 0);
  EXPECT_EQ(GuiItemViewHitTest(&v, 5, 45, nullptr), 0);
  int changed = 0;
  EXPECT_EQ(GuiItemViewEnsureVisible(&v, 1, 0, &changed), 1);
  GuiItemViewDestroy(&v);
  EXPECT_EQ(GuiItemViewGetTopIndex(nullptr), -1);
  EXPECT_EQ(GuiItemViewGetVisibleCount(nullptr), -1);
  EXPECT_EQ(GuiItemViewSetNotify(nullptr, 1), 3);
  EXPECT_EQ(GuiItemViewSetNotify(&v, 4), 4);
  EXPECT_EQ(GuiItemViewInsertItem(nullptr, 0, 0, 0), -1);
}

TEST(GuiItemView, LayoutsAndCountsKeepRealItems) {
  View t(3);
  EXPECT_EQ(GuiItemViewGetItemData(&t.v, 1), 1001);
  EXPECT_EQ(GuiItemViewFindData(&t.v, 2, 1000), 0);  // wraps round from the start
  EXPECT_EQ(GuiItemViewFindData(&t.v, 3, 1000), -1);
  EXPECT_EQ(GuiItemViewSetCount(&t.v, 6, 1), 1);
  EXPECT_EQ(t.v.count, 6);
  EXPECT_EQ(GuiItemViewGetItemData(&t.v, 5), 0);
  EXPECT_TRUE(t.host.shown[kBarVert]);
  EXPECT_EQ(GuiItemViewSetCount(&t.v, 2, 1), 1);
  EXPECT_EQ(t.v.count, 2);
  EXPECT_EQ(GuiItemViewSetCount(&t.v, -1, 1), 0);

  View index(0, 1, 1);  // no slots at all
  GuiItemViewInsertItem(&index.v, 0, 0, 0);
  GuiItemViewSetCount(&index.v, 4, 1);
  EXPECT_EQ(index.v.slots, nullptr);
  EXPECT_EQ(GuiItemViewGetItemData(&index.v, 3), 3);
  EXPECT_EQ(GuiItemViewFindData(&index.v, -1, 2), 2);
  EXPECT_EQ(GuiItemViewFindData(&index.v, -1, 9), -1);
}

TEST(GuiItemView, OutOfMemoryLeavesTheContent) {
  View t(64);  // exactly one growth step full
  testing::FailAllocationsAfter(0);
  EXPECT_EQ(GuiItemViewInsertItem(&t.v, 0, 5, 5), -2);
  testing::FailAllocationsAfter(-1);
  EXPECT_EQ(t.v.count, 64);
  EXPECT_EQ(GuiItemViewGetItemData(&t.v, 0), 1000);
  EXPECT_EQ(GuiItemViewInsertItem(&t.v, 0, 5, 5), 65);
}

TEST(GuiItemView, PaintHandsOnlyIntersectingRowsToThePainter) {
  static std::vector<GuiRowDraw> rows;
  rows.clear();
  View t(20);
  t.v.rowPaint = [](const GuiRowDraw* r) { rows.push_back(*r); };
  GuiItemViewScrollTo(&t.v, 3);
  GuiItemViewSetContentWidth(&t.v, 200);
  GuiItemViewHScroll(&t.v, kSbLineDown, 0);
  GuiItemViewPaint(&t.v, nullptr, GuiViewRect{0, 15, 100, 35}, nullptr, 1);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].index, 4);
  EXPECT_EQ(rows[0].data, 1004);
  EXPECT_EQ(rows[0].extra, 1);
  EXPECT_EQ(rows[0].row.left, -6);
  EXPECT_EQ(rows[0].row.top, 10);
  EXPECT_EQ(rows[2].index, 6);
}

}  // namespace
}  // namespace gui
