// The system text renderers and the DIB routines on device contexts and DIB
// sections, under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "gui/CWF_TT.h"
#include "gui/gui_memory.h"
#include "gui/utils.h"
#include "gui/win32/gui_win32.h"

namespace gui {
namespace {

struct DibDeleter {
  void operator()(PackedDIB* d) const { GlobalFreePtr(d); }
};
using DibPtr = std::unique_ptr<PackedDIB, DibDeleter>;

int Count(const PackedDIB* d, uint8_t index) {
  int n = 0;
  for (int y = 0; y < DIBHeight(d); ++y)
    for (int x = 0; x < DIBWidth(d); ++x)
      n += *DIBPixelPtr(const_cast<PackedDIB*>(d), x, y) == index;
  return n;
}

TEST(SystemText, FloodLeavesTheCountersInTheBackground) {
  DibPtr templ(DIBCreate(200, 60, 8));
  CwfMat2 m{};
  CwfTextMetrics metrics{};
  DibPtr text(
      CwfRenderTextGDIFlood("OB", "DejaVu Sans", 0, 40, templ.get(), &m, &metrics, 7, 9, 3));
  ASSERT_TRUE(text);
  EXPECT_EQ(text->biBitCount, 8);
  EXPECT_EQ(*DIBPixelPtr(text.get(), 0, 0), 9);  // the outside is flooded
  EXPECT_GT(Count(text.get(), 7), 20);           // the letters
  EXPECT_GT(Count(text.get(), 3), 4);            // the closed counters of O and B
  EXPECT_EQ(metrics.blackBoxX, static_cast<uint32_t>(text->biWidth));
  // A text larger than the template gives nothing.
  DibPtr tiny(DIBCreate(4, 4, 8));
  EXPECT_FALSE(
      CwfRenderTextGDIFlood("OB", "DejaVu Sans", 0, 40, tiny.get(), &m, &metrics, 7, 9, 3));
}

TEST(SystemText, PlainVerticalAndShadowlessRenderings) {
  DibPtr templ(DIBCreate(200, 60, 8));
  CwfMat2 m{};
  CwfTextMetrics metrics{};
  DibPtr plain(CwfRenderTextGDI("Word", "DejaVu Sans", 0, 20, templ.get(), &m, &metrics));
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->biBitCount, 24);
  // Depth 0: no shadow, the system rendering.
  DibPtr flat(CwfRenderTextShadowed("Word", "DejaVu Sans", 0, 20, templ.get(), &m, &metrics, 0, 5));
  ASSERT_TRUE(flat);
  EXPECT_EQ(flat->biWidth, plain->biWidth);

  CwfTextStyle* style = CwfTextStyleCreate();
  ASSERT_NE(style, nullptr);
  CwfTextStyleSetBitmapSize(style, 200, 60, 0);
  DibPtr styled(CwfTextStyleRenderGDI(style, "Word"));
  EXPECT_TRUE(styled);
  DibPtr flooded(CwfTextStyleRenderGDIFlood(style, "OB", 1, 2, 0));
  EXPECT_TRUE(flooded);
  DibPtr column(CwfTextStyleRenderVertical(style, "ABC"));
  ASSERT_TRUE(column);
  EXPECT_GT(DIBHeight(column.get()), DIBWidth(column.get()));
  CwfTextStyleFree(style);
}

// A bottom-up DIB section, the program's own row order (Wine's GetObject does
// not report a top-down section's order, so the routines take rows bottom up).
HBITMAP Section(int w, int h, int bitCount, void** bits) {
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
  } info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = w;
  info.header.biHeight = h;
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(bitCount);
  return CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, bits,
                          nullptr, 0);
}

TEST(DibSections, KeyedCopiesAndTheirBounds) {
  void* bits = nullptr;
  HBITMAP section = Section(8, 4, 8, &bits);
  ASSERT_TRUE(section);
  auto* base = static_cast<uint8_t*>(bits);
  auto px = [&](int x, int y) -> uint8_t& { return base[(3 - y) * 8 + x]; };
  std::memset(base, 0, 32);
  px(1, 0) = 5;  // not the key: stays under a key-under copy
  DibPtr dib(DIBCreate(4, 2, 8));
  DIBFill(dib.get(), 9);
  *DIBPixelPtr(dib.get(), 3, 1) = 0;  // the key: not copied by a keyed copy
  EXPECT_EQ(DIBSectionKeyUnder(section, dib.get(), 0, 0, 0, 0, 4, 2, 0), 1);
  EXPECT_EQ(px(0, 0), 9);
  EXPECT_EQ(px(1, 0), 5);
  EXPECT_EQ(DIBSectionKeyUnder(section, dib.get(), 6, 0, 0, 0, 4, 2, 0), 0);  // leaves the section
  EXPECT_EQ(DIBCopyToSectionKeyed(4, 2, dib.get(), section, 0), 1);
  EXPECT_EQ(px(4, 2), 9);
  EXPECT_EQ(px(7, 3), 0);  // the key pixel left the section as it was
  EXPECT_EQ(DIBCopyToSectionKeyed(5, 3, dib.get(), section, 0), 0);
  DeleteObject(section);

  HBITMAP bitmap = CreateBitmap(10, 7, 1, 32, nullptr);
  DibPtr made(DIBCreateFromBitmap(bitmap, true));
  ASSERT_TRUE(made);
  EXPECT_EQ(made->biWidth, 10);
  EXPECT_EQ(DIBHeight(made.get()), 7);
  EXPECT_EQ(made->biBitCount, 8);
  DeleteObject(bitmap);
}

TEST(DibTiles, ClippedTilingIsAnchoredAtThePhase) {
  void* bits = nullptr;
  HBITMAP section = Section(8, 8, 24, &bits);
  ASSERT_TRUE(section);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, section);
  // A 3x2 tile whose pixels are 1..6 in blue (row by row from the top).
  DibPtr tile(DIBCreate(3, 2, 24));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      uint8_t* p = DIBPixelPtr(tile.get(), x, y);
      p[0] = static_cast<uint8_t>(1 + y * 3 + x);
      p[1] = p[2] = 0;
    }
  std::memset(bits, 0, 8 * 24);
  ASSERT_EQ(DIBTileRectClipped(dc, tile.get(), 1, 0, 2, 1, 5, 3), 1);
  GdiFlush();
  auto blue = [&](int x, int y) { return static_cast<uint8_t*>(bits)[(7 - y) * 24 + x * 3]; };
  // Column 2 + phase 1 = tile column 0; row 1 = tile row 1.
  EXPECT_EQ(blue(2, 1), 4);
  EXPECT_EQ(blue(3, 1), 5);
  EXPECT_EQ(blue(2, 2), 1);
  EXPECT_EQ(blue(5, 1), 4);
  EXPECT_EQ(blue(2, 0), 0);  // outside the rectangle
  EXPECT_EQ(blue(7, 1), 0);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(section);
}

}  // namespace
}  // namespace gui
