// The sprite engine on a native canvas: the dirty list's merging (and that a
// full list never drops an area), sprite rectangles and moves, hit tests,
// the depth order of the composition with its layer slices, and the wipes'
// strips.
#include "gui/Animate.h"

#include <gtest/gtest.h>

#include <vector>

#include "gui/gui_memory.h"
#include "gui/raster.h"

namespace gui {
namespace {

bool operator==(const DibRect& a, const DibRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

struct EngineFixture : ::testing::Test {
  AnimateEngine* e = nullptr;
  std::vector<PackedDIB*> owned;
  void SetUp() override {
    // Redraws here go to no window: the blit's report must not stop the test.
    CanvasSetReportHook([](int, int) {});
    Animate::SetMergeSlack(3000);
    e = Animate::Create(nullptr);
    ASSERT_NE(e, nullptr);
    ASSERT_EQ(Animate::SetSize(e, 200, 100), 0);
  }
  void TearDown() override {
    Animate::Destroy(e);
    for (PackedDIB* d : owned)
      GlobalFreePtr(d);
    Animate::SetMergeSlack(3000);
    CanvasSetReportHook(nullptr);
  }
  // A solid 24-bit frame (COLORREF colour) with a magenta corner pixel.
  int Frame(int w, int h, uint32_t colour) {
    PackedDIB* d = DIBCreate(w, h, 24);
    DIBFill(d, colour);
    uint8_t* p = DIBPixelPtr(d, 0, 0);
    p[0] = 0xFF, p[1] = 0, p[2] = 0xFF;
    owned.push_back(d);
    return Animate::DefineFrameFromImage(e, d);
  }
  int Sprite(int frame, int x, int y, int depth) {
    int s = Animate::AllocSprite(e);
    Animate::SetSpriteFrame(e, s, frame);
    Animate::MoveSprite(e, s, x, y, depth, 2);
    return s;
  }
  uint32_t Pixel(int x, int y) {
    const uint8_t* p = CanvasPixel(&e->canvas, x, y);
    return p[2] | (p[1] << 8) | (p[0] << 16);
  }
};

TEST(AnimateRects, MergeRuleFollowsTheSlack) {
  struct Case {
    int32_t slack;
    DibRect a, b;
    bool merge;
  } cases[] = {
      {3000, {0, 0, 9, 9}, {60, 0, 69, 9}, true},        // 621 < 3162
      {3000, {0, 0, 99, 99}, {200, 0, 299, 99}, false},  // 29601 >= 22602
      {-1, {0, 0, 9, 9}, {10, 0, 19, 9}, true},          // 171 < 194.4
      {-1, {0, 0, 9, 9}, {60, 0, 69, 9}, false},         // 621 >= 194.4
      {0, {0, 0, 10, 10}, {0, 0, 10, 10}, true},         // same rectangle
  };
  for (const Case& c : cases) {
    Animate::SetMergeSlack(c.slack);
    EXPECT_EQ(Animate::RectsMergeable(c.a, c.b), c.merge) << c.slack << " " << c.b.left;
  }
  Animate::SetMergeSlack(3000);
}

TEST_F(EngineFixture, DirtyListMergesAndNeverDropsWhenFull) {
  Animate::SetMergeSlack(0);
  // 256 distant one-pixel rectangles fill the list.
  for (int i = 0; i < kAnimDirty; ++i) {
    DibRect r{(i % 16) * 12, (i / 16) * 6, (i % 16) * 12, (i / 16) * 6};
    Animate::InvalidateRect(e, &r);
  }
  ASSERT_EQ(e->dirtyCount, kAnimDirty);
  // The 257th is merged into an entry, not lost.
  DibRect extra{195, 97, 196, 98};
  Animate::InvalidateRect(e, &extra);
  EXPECT_EQ(e->dirtyCount, kAnimDirty);
  bool covered = false;
  for (int i = 0; i < e->dirtyCount; ++i) {
    const DibRect& d = e->dirty[i];
    covered |= d.left <= 195 && d.top <= 97 && d.right >= 196 && d.bottom >= 98;
  }
  EXPECT_TRUE(covered);
  // Invalidation clips to the engine and writes the clipped rectangle back.
  DibRect out{-5, -5, -1, 50};
  EXPECT_EQ(Animate::InvalidateRect(e, &out), 0);
  DibRect part{190, 90, 250, 150};
  Animate::ClearDirty(e);
  EXPECT_EQ(Animate::InvalidateRect(e, &part), 1);
  EXPECT_TRUE((part == DibRect{190, 90, 199, 99}));
}

TEST_F(EngineFixture, SpriteRectanglesAndMoves) {
  int f = Frame(40, 60, 0x0000FF);
  int s = Animate::AllocSprite(e);
  Animate::SetSpriteFrame(e, s, f);
  struct Case {
    int anchor;
    DibRect want;
  } anchors[] = {{0, {80, 70, 119, 129}}, {1, {80, 50, 119, 109}}, {2, {100, 100, 139, 159}}};
  for (const Case& c : anchors) {
    Animate::PlaceSprite(e, s, 100, 100, 5, c.anchor);
    DibRect r;
    Animate::GetSpriteRect(e, &r, s);
    EXPECT_TRUE(r == c.want) << c.anchor;
  }
  Animate::ClearDirty(e);
  Animate::MoveSprite(e, s, 10, 10, 5, 2);  // hidden: shown, one rectangle
  EXPECT_EQ(e->dirtyCount, 1);
  Animate::ClearDirty(e);
  Animate::MoveSprite(e, s, 11, 10, 5, 2);  // a pixel: one union
  EXPECT_EQ(e->dirtyCount, 1);
  EXPECT_TRUE((e->dirty[0] == DibRect{10, 10, 50, 69}));
  Animate::ClearDirty(e);
  Animate::SetMergeSlack(0);
  Animate::MoveSprite(e, s, 150, 10, 5, 2);  // far: two rectangles
  EXPECT_EQ(e->dirtyCount, 2);
}

TEST_F(EngineFixture, IndexesOutsideTheTablesAreRefused) {
  EXPECT_EQ(Animate::FreeFrame(e, -3), -2);
  int f = Frame(4, 4, 0);
  EXPECT_EQ(Animate::FreeFrame(e, f + 1), -1);
  EXPECT_EQ(Animate::FreeFrame(e, kAnimFrames), -2);
  EXPECT_EQ(Animate::SetSpriteFrame(e, kAnimSprites, f), 0);
  EXPECT_EQ(Animate::MoveSprite(e, -1, 0, 0, 0, 0), 0);
  EXPECT_EQ(Animate::FreeSprite(e, 3), -2);
  // A frame reaching past its image is refused.
  int slot = Animate::AddImage(e, owned[0]);
  EXPECT_EQ(Animate::DefineFrame(e, slot, 2, 2, 3, 2), -1);
  EXPECT_GE(Animate::DefineFrame(e, slot, 2, 2, 2, 2), 0);
  EXPECT_EQ(Animate::DefineFrame(e, slot + 1, 0, 0, 1, 1), -1);
  Animate::RemoveImage(e, slot);
}

TEST_F(EngineFixture, ComposeDrawsFarToNearAndHitTestPicksTheNearest) {
  int red = Frame(20, 20, 0x0000FF), green = Frame(20, 20, 0x00FF00),
      blue = Frame(20, 20, 0xFF0000);
  int far = Sprite(red, 10, 10, 300);
  int near = Sprite(green, 15, 15, 50);
  int twin = Sprite(blue, 20, 20, 50);  // same depth, higher index: on top
  Animate::DrawFocusRects(e, nullptr);
  EXPECT_EQ(e->dirtyCount, 0);
  EXPECT_EQ(Pixel(12, 12), 0x0000FFu);
  EXPECT_EQ(Pixel(17, 17), 0x00FF00u);
  EXPECT_EQ(Pixel(22, 22), 0xFF0000u);
  EXPECT_EQ(Pixel(10, 10), 0u);  // the key pixel was not copied
  int hit = -2;
  EXPECT_EQ(Animate::HitTest(e, 17, 17, &hit), 1);
  EXPECT_EQ(hit, near);
  EXPECT_EQ(Animate::HitTest(e, 12, 12, &hit), 1);
  EXPECT_EQ(hit, far);
  EXPECT_EQ(Animate::HitTest(e, 20, 20, &hit), 1);  // the twin's key pixel: green below
  EXPECT_EQ(hit, near);
  EXPECT_EQ(Animate::HitTest(e, 150, 50, &hit), 0);
  EXPECT_EQ(hit, -1);
  // The first sprite comes nearest: on top when sorted, under the later
  // indexes when drawn in index order.
  Animate::MoveSprite(e, far, 10, 10, 10, 2);
  DibRect all{0, 0, 199, 99};
  Animate::RedrawRect(e, nullptr, &all);
  EXPECT_EQ(Pixel(17, 17), 0x0000FFu);
  Animate::SetSortByDepth(e, 0);
  Animate::RedrawRect(e, nullptr, &all);
  EXPECT_EQ(Pixel(17, 17), 0x00FF00u);
  (void)twin;
}

struct LayerCall {
  int32_t upper, lower, left, top, right, bottom;
};
std::vector<LayerCall> g_calls;
void RecordLayer(void*, const DibInfoHeader*, uint8_t*, int32_t upper, int32_t lower, int32_t l,
                 int32_t t, int32_t r, int32_t b, intptr_t) {
  g_calls.push_back({upper, lower, l, t, r, b});
}

TEST_F(EngineFixture, LayersRunInTheSlicesBetweenSprites) {
  EXPECT_EQ(Animate::AddLayer(e, RecordLayer, 5, 10, 0), 10);
  ASSERT_EQ(Animate::AddLayer(e, RecordLayer, 200, 100, 0), 0);
  int f = Frame(8, 8, 0x123456);
  for (int depth : {300, 150, 50})
    Sprite(f, 30, 30, depth);
  g_calls.clear();
  Animate::Compose(e, 30, 30, 37, 37, &e->canvas, 0, kAnimFarthest, 0, 0);
  ASSERT_EQ(g_calls.size(), 2u);
  EXPECT_EQ(g_calls[0].upper, 200);
  EXPECT_EQ(g_calls[0].lower, 150);
  EXPECT_EQ(g_calls[1].upper, 150);
  EXPECT_EQ(g_calls[1].lower, 100);
  EXPECT_EQ(g_calls[0].right, 38);  // exclusive
  // An area without sprites calls each layer once.
  g_calls.clear();
  Animate::Compose(e, 100, 50, 120, 60, &e->canvas, 0, kAnimFarthest, 0, 0);
  ASSERT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(g_calls[0].upper, 200);
  EXPECT_EQ(g_calls[0].lower, 100);
  EXPECT_EQ(Animate::RemoveLayer(e, RecordLayer, 200, 100), 0);
  EXPECT_EQ(Animate::RemoveLayer(e, RecordLayer, 200, 100), 9);
}

void CollectStrip(const DibRect& r, void* arg) {
  static_cast<std::vector<DibRect>*>(arg)->push_back(r);
}

TEST(AnimateWipe, StripsCoverTheAreaAndStayInsideIt) {
  struct Case {
    DibRect area;
    int kind;
    std::vector<DibRect> want;
  } cases[] = {
      {{0, 0, 9, 11}, kWipeDown, {{0, 0, 9, 5}, {0, 5, 9, 10}, {0, 10, 9, 11}}},
      {{0, 0, 9, 11}, kWipeUp, {{0, 6, 9, 11}, {0, 1, 9, 6}, {0, 0, 9, 1}}},
      {{3, 0, 9, 1}, kWipeRight, {{3, 0, 8, 1}, {8, 0, 9, 1}}},
      {{3, 0, 9, 1}, kWipeLeft, {{4, 0, 9, 1}, {3, 0, 4, 1}}},
      {{0, 0, 9, 2}, kWipeUp, {{0, 0, 9, 2}}},  // shorter than a strip
      {{0, 0, 9, 2}, 99, {{4, 0, 9, 2}, {0, 0, 4, 2}}},
  };
  for (const Case& c : cases) {
    std::vector<DibRect> got;
    Animate::WipeStrips(c.area, c.kind, CollectStrip, &got);
    ASSERT_EQ(got.size(), c.want.size()) << c.kind;
    for (size_t i = 0; i < got.size(); ++i)
      EXPECT_TRUE(got[i] == c.want[i]) << c.kind << " strip " << i << ": " << got[i].left << ","
                                       << got[i].top << "," << got[i].right << "," << got[i].bottom;
  }
}

TEST_F(EngineFixture, WipeRevealsOnlyDepthZeroInsideTheFirstDirtyRect) {
  int f = Frame(10, 10, 0x00FF00);
  Sprite(f, 0, 0, 0);
  Sprite(f, 40, 0, 0);
  Animate::ClearDirty(e);
  DibRect area{0, 0, 9, 9};
  Animate::InvalidateRect(e, &area);
  Animate::Wipe(e, nullptr, kWipeDown);
  EXPECT_EQ(e->dirtyCount, 0);
  EXPECT_EQ(Pixel(5, 5), 0x00FF00u);
  EXPECT_EQ(Pixel(45, 5), 0u);  // outside the wiped area
}

TEST(Canvas, CopiesAreCutToTheSurfaceAndSkipTheKey) {
  Canvas c{};
  ASSERT_EQ(CanvasSetSize(1, &c, 8, 4), 0);
  EXPECT_EQ(c.header.biBitCount, 24);
  uint16_t src[3 * 3];
  for (uint16_t& v : src)
    v = 0x001F;     // blue
  src[4] = 0x7C1F;  // the 16-bit key in the centre
  // Placed at (-1, -1): only its lower-right 2x2 lands.
  EXPECT_EQ(CanvasKeyCopy(&c, reinterpret_cast<uint8_t*>(src), 3, 3, 6, -1, -1, 16), 0);
  EXPECT_EQ(CanvasPixel(&c, 0, 0)[0], 0);  // the key stayed out
  EXPECT_EQ(CanvasPixel(&c, 1, 0)[0], 0xF8);
  EXPECT_EQ(CanvasPixel(&c, 0, 1)[0], 0xF8);
  EXPECT_EQ(CanvasPixel(&c, 2, 0)[0], 0);
  CanvasSetReportHook([](int, int) {});
  EXPECT_EQ(CanvasKeyCopy(&c, reinterpret_cast<uint8_t*>(src), 3, 3, 6, 0, 0, 32), kCanvasDepth);
  EXPECT_EQ(CanvasKeyCopy8(&c, reinterpret_cast<uint8_t*>(src), 3, 3, 6, 0, 0), kCanvasDepth);
  CanvasSetReportHook(nullptr);
  CanvasDestroy(&c);
}

TEST(Canvas, ColoursClampTheirRangeAndFadesEnd) {
  Canvas c{};
  RgbQuad quads[256];
  for (int i = 0; i < 256; ++i)
    quads[i] = RgbQuad{static_cast<uint8_t>(i), 30, 255, 0};
  EXPECT_EQ(CanvasSetColors(&c, quads, -5, 300), 0);
  EXPECT_EQ(c.colors[0].blue, 0);
  EXPECT_EQ(c.colors[255].blue, 255);
  EXPECT_EQ(c.colors16[255], Rgb24To16(255, 30, 255));
  int level = 1, done = -1;
  EXPECT_EQ(CanvasFadeStep(&c, 0, &level, &done), 0);
  EXPECT_EQ(level, 0);
  EXPECT_EQ(done, 1);
  CanvasPaletteEntry entries[236];
  CanvasFadeEntries(c.colors, 0, entries);
  EXPECT_EQ(entries[100].red, 0);
  CanvasFadeEntries(c.colors, 7, entries);
  EXPECT_EQ(entries[0].red, 255 * 7 / 15);
  EXPECT_EQ(entries[0].flags, kPcReserved);
  EXPECT_EQ(CanvasFadeStep(&c, 0, &level, &done), 0);
  EXPECT_EQ(done, 0);
  CanvasPaletteEntry pal[256];
  CanvasBuildPalette(quads, 20, 30, pal);
  EXPECT_EQ(pal[25].flags, kPcReserved | kPcNoCollapse);
  EXPECT_EQ(pal[5].flags, 0);
  CanvasBuildPalette(quads, -255, -255, pal);
  EXPECT_EQ(pal[100].flags, 0);
}

}  // namespace
}  // namespace gui
