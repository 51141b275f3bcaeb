// Text layout, the glyph cache and the text style, over a fake font.
#include "gui/CWF_TT.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "gui/gui_memory.h"

namespace gui {
namespace {

std::vector<int32_t> g_selects;  // font heights selected, in order

// A fake font: every glyph is a solid box `height / 2` wide (a space is one
// pixel wide and empty), advancing one pixel further.
struct FakeFont : CwfDevice {
  int32_t height = 12;
  int bitmaps = 0;  // glyph renders asked of the font
  bool failGlyph = false;
  int32_t BoxWidth(uint32_t ch) const { return ch == ' ' ? 1 : (ch == 'W' ? height : height / 2); }
  bool TextMetrics(int32_t* h, int32_t* ascent) override {
    *h = height;
    *ascent = height * 3 / 4;
    return true;
  }
  bool GlyphMetrics(uint32_t ch, const CwfMat2&, CwfGlyphMetrics* out) override {
    int32_t w = BoxWidth(ch);
    *out = CwfGlyphMetrics{static_cast<uint32_t>(w),
                           static_cast<uint32_t>(height / 2),
                           0,
                           height / 2,
                           static_cast<int16_t>(w + 1),
                           0};
    return !failGlyph;
  }
  PackedDIB* GlyphBitmap(uint32_t ch, const CwfMat2& m, CwfGlyphMetrics* out) override {
    ++bitmaps;
    if (failGlyph || !GlyphMetrics(ch, m, out)) return nullptr;
    PackedDIB* mono = CwfCreateMonoDIB(out->blackBoxX, out->blackBoxY);
    if (ch != ' ') std::memset(DIBBits(mono), 0xFF, mono->biSizeImage);
    return mono;
  }
  bool SelectFont(const char*, int32_t, int32_t h, int32_t) override {
    height = h;
    g_selects.push_back(h);
    return true;
  }
};

FakeFont* g_last = nullptr;
int32_t g_fontHeight = 12;
CwfDevice* MakeFake(int32_t, int32_t) {
  g_last = new FakeFont;
  g_last->height = g_fontHeight;
  return g_last;
}

struct CwfTest : ::testing::Test {
  PackedDIB* ink = DIBCreate(64, 64, 8);
  CwfMat2 m{};
  void SetUp() override {
    DIBFill(ink, 70);
    CwfSetMat2(&m, 1, 1, 0, 0);
    SetCwfPlatform(MakeFake, nullptr);
  }
  void TearDown() override {
    CwfFlushGlyphCache();
    SetCwfPlatform(nullptr, nullptr);
    GlobalFreePtr(ink);
  }
};

TEST(CwfMatrix, FixedPointAndDefaults) {
  CwfMat2 m;
  CwfSetMat2(&m, 0, 3, 0, 0);  // a zero scale gives the unit transform
  EXPECT_EQ(m.eM11, 0x10000);
  EXPECT_EQ(m.eM22, -0x10000);
  EXPECT_EQ(m.eM12, 0);
  EXPECT_EQ(CwfToFixed(-1.5), -0x18000);
  EXPECT_EQ(CwfFixedRound(0x18000), 2);
  EXPECT_EQ(CwfFixedRound(0x17FFF), 1);
  CwfMat2 up = CwfUprightMat2(m);
  EXPECT_EQ(up.eM22, 0x10000);
  CwfSetMat2(&m, 1, 1.5, 0, 0);  // -1.5 = integer word -2, fraction 0x8000
  EXPECT_EQ(CwfUprightMat2(m).eM22, static_cast<int32_t>(0x00028000));
  CwfSetMat2Rotation(&m, 90);
  EXPECT_EQ(m.eM12, 0xFFFF);  // sin 90 just under 1, truncated toward zero
  PackedDIB* mono = CwfCreateMonoDIB(33, 2);
  EXPECT_EQ(DIBStride(mono), 8u);
  EXPECT_EQ(DIBBits(mono) - reinterpret_cast<uint8_t*>(mono), 48);
  EXPECT_EQ(DIBColorTable(mono)[1].red, 255);
  GlobalFreePtr(mono);
}

TEST_F(CwfTest, LineLayoutAndMetrics) {
  FakeFont font;
  CwfTextMetrics tm{};
  PackedDIB* line = CwfRenderTextToDIB(&font, "AB", ink, &m, &tm);
  ASSERT_NE(line, nullptr);
  // Each glyph is 6 wide advancing 7: width sums max(advance, box).
  EXPECT_EQ(line->biWidth, 14);
  EXPECT_EQ(DIBHeight(line), 12);
  EXPECT_EQ(tm.cellIncX, 14 + 7);
  // Glyph tops sit at ascent - originY = 9 - 6 = 3.
  EXPECT_EQ(*DIBPixelPtr(line, 0, 3), 70);
  EXPECT_EQ(*DIBPixelPtr(line, 0, 2), 0);
  EXPECT_EQ(*DIBPixelPtr(line, 5, 5), 70);
  EXPECT_EQ(*DIBPixelPtr(line, 6, 5), 0);   // the gap between the boxes
  EXPECT_EQ(*DIBPixelPtr(line, 7, 5), 70);  // second glyph starts at 7
  EXPECT_EQ(*DIBPixelPtr(line, 12, 5), 70);
  EXPECT_EQ(*DIBPixelPtr(line, 13, 5), 0);
  GlobalFreePtr(line);
  EXPECT_EQ(CwfRenderTextToDIB(&font, "", ink, &m, &tm), nullptr);
  EXPECT_EQ(CwfRenderTextToDIB(&font, "A", nullptr, &m, &tm), nullptr);
  std::string tooLong(kCwfMaxLineChars + 1, 'a');
  EXPECT_EQ(CwfRenderTextToDIB(&font, tooLong.c_str(), ink, &m, &tm), nullptr);
  font.failGlyph = true;
  CwfFlushGlyphCache();
  EXPECT_EQ(CwfRenderTextToDIB(&font, "AB", ink, &m, &tm), nullptr);
}

TEST_F(CwfTest, RepeatedLettersComeFromTheCache) {
  FakeFont font;
  CwfTextMetrics tm{};
  PackedDIB* line = CwfRenderTextToDIB(&font, "AAAAB", ink, &m, &tm);
  GlobalFreePtr(line);
  EXPECT_EQ(font.bitmaps, 2);
  EXPECT_EQ(CwfCachedRowCount(), 1);
  font.height = 13;  // another height: another list
  GlobalFreePtr(CwfRenderTextToDIB(&font, "A", ink, &m, &tm));
  EXPECT_EQ(CwfCachedRowCount(), 2);
  EXPECT_EQ(CwfLookupGlyph(&font, 300, m, nullptr), nullptr);
  CwfFlushGlyphCache();
  EXPECT_EQ(CwfCachedRowCount(), 0);
}

TEST_F(CwfTest, ASeventhKeyRendersUncached) {
  FakeFont font;
  for (int i = 0; i < kCwfCacheRows; ++i) {
    font.height = 10 + i;
    GlobalFreePtr(CwfRenderGlyphDIB(&font, 'A', ink, m, nullptr));
  }
  font.height = 40;
  int before = font.bitmaps;
  PackedDIB* g = CwfRenderGlyphDIB(&font, 'A', ink, m, nullptr);
  ASSERT_NE(g, nullptr);  // the uncached glyph bitmap was freed after use (no leak)
  GlobalFreePtr(g);
  GlobalFreePtr(CwfRenderGlyphDIB(&font, 'A', ink, m, nullptr));
  EXPECT_EQ(font.bitmaps, before + 2);
  EXPECT_EQ(CwfCachedRowCount(), kCwfCacheRows);
}

TEST(CwfBreak, LinesAreNeverEmpty) {
  struct Case {
    const char* text;
    int32_t limit;
    std::vector<std::string> lines;
  } cases[] = {
      {"aa bb cc", 5, {"aa", "bb", "cc"}},
      {"abcdef", 4, {"abc", "def"}},  // no separator: inside the word
      {"abc", 1, {"a", "b", "c"}},    // each character crosses the limit
      {"Wa", 1, {"W", "a"}},          // a character wider than the limit
      {"abc", 0, {"a", "b", "c"}},
      {"ab", 100, {"ab"}},
      {" a", 2, {" ", "a"}},  // a leading separator is not a break
  };
  for (const Case& c : cases) {
    int n = static_cast<int>(std::strlen(c.text));
    std::vector<int32_t> widths(n);
    for (int i = 0; i < n; ++i)
      widths[i] = c.text[i] == 'W' ? 5 : 1;
    std::vector<CwfLine> lines(n);
    int count = CwfBreakLines(c.text, widths.data(), n, c.limit, lines.data(), n);
    std::vector<std::string> got;
    for (int k = 0; k < count; ++k) {
      ASSERT_LT(lines[k].start, lines[k].end) << c.text;
      got.emplace_back(c.text + lines[k].start, lines[k].end - lines[k].start);
    }
    EXPECT_EQ(got, c.lines) << c.text;
  }
}

TEST_F(CwfTest, WrappedTextStacksLinesAndRefusesLongText) {
  CwfTextStyle* s = CwfTextStyleCreate();
  s->height = 12;
  PackedDIB* d = CwfTextStyleRenderWrapped(s, "AB AB", 13);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(DIBHeight(d), 24);  // two lines of 12
  EXPECT_EQ(d->biWidth, 14);
  EXPECT_EQ(CwfCachedRowCount(), 0);  // flushed after the style call
  GlobalFreePtr(d);
  std::string big(kCwfMaxWrappedChars + 1, 'a');
  EXPECT_EQ(CwfTextStyleRenderWrapped(s, big.c_str(), 100), nullptr);
  EXPECT_EQ(CwfTextStyleRenderWrapped(s, "", 100), nullptr);
  CwfTextStyleFree(s);
}

TEST_F(CwfTest, FittedTextGrowsOnceAndStopsShrinkingAtOnePixel) {
  CwfMat2 unit;
  CwfSetMat2(&unit, 1, 1, 0, 0);
  CwfTextMetrics tm{};
  g_selects.clear();
  PackedDIB* d = CwfRenderTextFitted("A", DibRect{0, 0, 40, 24}, "Face", ink, &unit, &tm);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->biWidth, 40);  // centred into the rectangle
  EXPECT_EQ(DIBHeight(d), 24);
  // 24 gives font height 19; it fits with room, so 25 (height 20) is tried once.
  EXPECT_EQ(g_selects, (std::vector<int32_t>{19, 20}));
  GlobalFreePtr(d);
  // A text that can never fit shrinks until the font would be under 1 pixel.
  std::string wide(60, 'W');
  EXPECT_EQ(CwfRenderTextFitted(wide.c_str(), DibRect{0, 0, 10, 10}, "Face", ink, &unit, &tm),
            nullptr);
}

TEST_F(CwfTest, ShadowedTextFramesTheShadow) {
  CwfTextStyle* s = CwfTextStyleCreate();
  s->height = 12;
  PackedDIB* d = CwfTextStyleRenderShadowed(s, "A", 5, 2);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->biWidth, 2 + 7 + 1);
  EXPECT_EQ(DIBHeight(d), 12 + 2 + 1);
  EXPECT_EQ(*DIBPixelPtr(d, 0, 1 + 3), 70);     // the text at (0, 1)
  EXPECT_EQ(*DIBPixelPtr(d, 2 + 5, 3 + 3), 5);  // the deepest shadow at (2, 3)
  GlobalFreePtr(d);
  // Without depth: the system renderer (none natively).
  PackedDIB* flat = CwfTextStyleRenderShadowed(s, "A", 5, 0);
  PackedDIB* gdi = CwfTextStyleRenderGDI(s, "A");
  EXPECT_EQ(flat != nullptr, gdi != nullptr);
  SafeGlobalFreePtr(flat);
  SafeGlobalFreePtr(gdi);
  CwfTextStyleFree(s);
}

TEST(CwfStyle, SettersValidateTheirArguments) {
  CwfTextStyle* s = CwfTextStyleCreate();
  ASSERT_NE(s, nullptr);
  EXPECT_STREQ(s->face, "Courier New");
  EXPECT_EQ(s->size, 128u);
  EXPECT_EQ(*DIBPixelPtr(s->ink, 3, 3), 70);
  EXPECT_EQ(CwfTextStyleSetBackground(s, 300), 0);
  EXPECT_EQ(s->background, 70);
  EXPECT_EQ(CwfTextStyleSetBitmapSize(s, -1, 20, -1), 1);
  EXPECT_EQ(s->ink->biWidth, 64);
  EXPECT_EQ(DIBHeight(s->ink), 20);
  EXPECT_EQ(CwfTextStyleSetBitmapSize(s, -2, 20, 9), 1);
  EXPECT_EQ(s->ink->biWidth, 40);
  EXPECT_EQ(*DIBPixelPtr(s->ink, 0, 0), 9);
  EXPECT_EQ(CwfTextStyleSetBitmapSize(s, 1025, 20, 9), 0);
  EXPECT_EQ(CwfTextStyleSetFont(s, nullptr, -1, -1, -1, 5, 0, 0), 1);
  EXPECT_EQ(s->height, 12);
  EXPECT_EQ(s->width, 11);
  EXPECT_EQ(s->underline, 1u);
  CwfTextStyle local = *s;
  local.flags = 0;
  EXPECT_EQ(CwfTextStyleFree(&local), 0);  // not made by Create: not freed
  EXPECT_EQ(CwfTextStyleFree(s), 1);
}

}  // namespace
}  // namespace gui
