// The tab strip's layout and selection rules and the trackbar's tick layout
// and drawing on packed DIBs.
#include <gtest/gtest.h>

#include "gui/gui_memory.h"
#include "gui/tab_model.h"
#include "gui/trackbar_model.h"

namespace gui {
namespace {

TEST(TabLayout, TabsSitSideBySideAndClicksSelectOnlyOtherEnabledTabs) {
  TabRect rects[3];
  rects[0] = TabRectAfter(0, 30, 13, false);              // text: +20, +13
  rects[1] = TabRectAfter(rects[0].right, 16, 16, true);  // icon: +12, +12
  rects[2] = TabRectAfter(rects[1].right, 8, 13, false);
  EXPECT_EQ(rects[0].right, 50);
  EXPECT_EQ(rects[0].bottom, 26);
  EXPECT_EQ(rects[1].left, 50);
  EXPECT_EQ(rects[1].right, 78);
  EXPECT_EQ(rects[1].bottom, 28);
  struct Case {
    int x, y, want;
  } hits[] = {{0, 0, 0},   {49, 25, 0},  {50, 0, 1},   {77, 27, 1}, {78, 0, 2},
              {105, 0, 2}, {106, 0, -1}, {10, 26, -1}, {-1, 5, -1}};
  for (const Case& c : hits)
    EXPECT_EQ(TabAtPoint(rects, 3, c.x, c.y), c.want) << c.x << "," << c.y;
  EXPECT_TRUE(TabClickSelects(1, 0, false));
  EXPECT_FALSE(TabClickSelects(0, 0, false));  // the current tab
  EXPECT_FALSE(TabClickSelects(1, 0, true));   // a disabled tab
  EXPECT_FALSE(TabClickSelects(-1, 0, false));
}

TEST(TabLayout, AdjustRectRoundTripsAndCaptionsStayOnTheTab) {
  TabRect r{10, 40, 210, 140};
  TabAdjustRect(&r, true, 24, 8);
  EXPECT_EQ(r.left, 2);
  EXPECT_EQ(r.top, 16);
  EXPECT_EQ(r.right, 218);
  EXPECT_EQ(r.bottom, 148);
  TabAdjustRect(&r, false, 24, 8);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 40);
  EXPECT_EQ(r.bottom, 140);
  int32_t x, y;
  TabCaptionOrigin(60, 26, 30, 14, 2, 1, &x, &y);
  EXPECT_EQ(x, 17);
  EXPECT_EQ(y, 7);
  TabCaptionOrigin(20, 10, 40, 14, -5, 0, &x, &y);  // wider than the tab
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
}

TEST(TrackbarModel, TickLayoutAndWhenTicksShow) {
  struct Case {
    int ticks, length;
    bool vertical;
    int spacing, base;
  } cases[] = {{11, 226, false, 20, 21},
               {2, 126, false, 100, 21},
               {1, 126, false, 0, 21},
               {5, 226, true, 50, 0}};
  for (const Case& c : cases) {
    TrackbarTicks t = TrackbarTickLayout(c.ticks, c.length, c.vertical, 3);
    EXPECT_EQ(t.spacing, c.spacing) << c.ticks;
    EXPECT_EQ(t.baseLine, c.base) << c.ticks;
  }
  EXPECT_TRUE(TrackbarDrawsTicks(3, false, false));
  EXPECT_FALSE(TrackbarDrawsTicks(2, false, false));
  EXPECT_FALSE(TrackbarDrawsTicks(11, true, false));
  EXPECT_FALSE(TrackbarDrawsTicks(11, false, true));
}

uint32_t At(PackedDIB* d, int x, int y) {
  const uint8_t* p = DIBPixelPtr(d, x, y);
  return p[2] | (p[1] << 8) | (p[0] << 16);
}

TEST(TrackbarModel, ChannelThumbAndTicksDrawInsideTheImage) {
  PackedDIB* ch = TrackbarChannelImage(10, 4, 0x00FF00, 0x0000FF);
  ASSERT_NE(ch, nullptr);
  EXPECT_EQ(At(ch, 0, 0), 0x0000FFu);
  EXPECT_EQ(At(ch, 9, 3), 0x0000FFu);
  EXPECT_EQ(At(ch, 5, 2), 0x00FF00u);
  GlobalFreePtr(ch);
  EXPECT_EQ(TrackbarChannelImage(0, 4, 0, 0), nullptr);
  PackedDIB* bg = DIBCreate(20, 20, 24);
  // A thumb reaching past the image and a tick at its edge are clipped.
  TrackbarDrawBox(bg, 15, -3, 25, 10, 0x111111, 0x222222);
  EXPECT_EQ(At(bg, 15, 5), 0x222222u);
  EXPECT_EQ(At(bg, 16, 5), 0x111111u);
  EXPECT_EQ(At(bg, 16, 9), 0x222222u);
  EXPECT_EQ(At(bg, 16, 10), 0u);
  TrackbarDrawTick(bg, 0, 25);
  EXPECT_EQ(At(bg, 0, 19), kTrackbarTickColour);
  EXPECT_EQ(At(bg, 1, 0), kTrackbarTickColour);
  EXPECT_EQ(At(bg, 2, 0), 0u);
  GlobalFreePtr(bg);
}

}  // namespace
}  // namespace gui
