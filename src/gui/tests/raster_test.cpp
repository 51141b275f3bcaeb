// Raster copies between packed DIBs.
#include "gui/raster.h"

#include <gtest/gtest.h>

#include <memory>

#include "gui/gui_memory.h"

namespace gui {
namespace {

struct DibDeleter {
  void operator()(PackedDIB* d) const { GlobalFreePtr(d); }
};
using DibPtr = std::unique_ptr<PackedDIB, DibDeleter>;

uint32_t Pixel(PackedDIB* d, int x, int y) {
  const uint8_t* p = DIBPixelPtr(d, x, y);
  switch (d->biBitCount) {
    case 8:
      return p[0];
    case 16:
      return p[0] | (p[1] << 8);
    default:
      return p[0] | (p[1] << 8) | (p[2] << 16);  // as stored: b, g, r
  }
}

TEST(Raster, ColourConversions) {
  uint8_t bgr[3];
  Rgb16To24(0x7FFF, bgr);
  EXPECT_EQ(bgr[0], 0xF8);
  EXPECT_EQ(bgr[1], 0xF8);
  EXPECT_EQ(bgr[2], 0xF8);
  EXPECT_EQ(Rgb24To16(0xFF, 0, 0), 0x7C00);
}

TEST(Raster, DepthPairs) {
  DibPtr s8(DIBCreate(2, 1, 8));
  DIBColorTable(s8.get())[3] = RgbQuad{0x10, 0x20, 0xF8, 0};
  *DIBPixelPtr(s8.get(), 1, 0) = 3;
  DibPtr d24(DIBCreate(2, 1, 24)), d16(DIBCreate(2, 1, 16)), d8(DIBCreate(2, 1, 8));
  EXPECT_EQ(DIBCopyRect(d24.get(), s8.get(), 0, 0, 0, 0, 2, 1), 1);
  EXPECT_EQ(Pixel(d24.get(), 1, 0), 0xF82010u);
  EXPECT_EQ(DIBCopyRect(d16.get(), s8.get(), 0, 0, 0, 0, 2, 1), 1);
  EXPECT_EQ(Pixel(d16.get(), 1, 0), Rgb24To16(0xF8, 0x20, 0x10));
  EXPECT_EQ(DIBCopyRect(d16.get(), d24.get(), 0, 0, 0, 0, 2, 1), 1);
  EXPECT_EQ(Pixel(d16.get(), 1, 0), Rgb24To16(0xF8, 0x20, 0x10));
  // A deeper source never goes into an 8-bit image.
  EXPECT_EQ(DIBCopyRect(d8.get(), d24.get(), 0, 0, 0, 0, 2, 1), 0);
  EXPECT_EQ(
      RasterCopy(DIBBits(d8.get()), 0, 1, DIBBits(d16.get()), 1, 1, 4, 4, 2, nullptr, nullptr), 1);
  EXPECT_EQ(RasterCopy(DIBBits(d8.get()), 0, 4, DIBBits(d8.get()), 1, 1, 4, 4, 1, nullptr, nullptr),
            1);
}

TEST(Raster, KeyedCopiesSkipTheKeyInEachDepth) {
  for (int bits : {8, 16, 24}) {
    uint32_t key = bits == 8 ? kKey8 : bits == 16 ? kKey16 : kKey24;
    uint32_t other = bits == 8 ? 9 : bits == 16 ? 0x1234 : 0x123456;
    DibPtr s(DIBCreate(3, 2, bits)), d(DIBCreate(3, 2, bits));
    DIBFill(s.get(), key);
    DIBFill(d.get(), other);
    EXPECT_EQ(DIBCopyRectKeyed(d.get(), s.get(), 0, 0, 0, 0, 3, 2, key), 1);
    for (int x = 0; x < 3; ++x)
      EXPECT_EQ(Pixel(d.get(), x, 1), Pixel(d.get(), 0, 0)) << bits;
    DIBFill(s.get(), bits == 8 ? 4 : 0x000102);
    EXPECT_EQ(DIBCopyRectKeyed(d.get(), s.get(), 1, 1, 0, 0, 2, 1, key), 1);
    EXPECT_EQ(Pixel(d.get(), 2, 1), Pixel(s.get(), 0, 0)) << bits;
    EXPECT_NE(Pixel(d.get(), 0, 1), Pixel(s.get(), 0, 0)) << bits;
  }
}

TEST(Raster, BoundsCheckedWrappersRefuseRectanglesOutside) {
  DibPtr s(DIBCreate(4, 4, 8)), d(DIBCreate(4, 4, 8));
  EXPECT_EQ(DIBCopyRect(d.get(), s.get(), 1, 0, 0, 0, 4, 1), 0);  // one past the right
  EXPECT_EQ(DIBCopyRect(d.get(), s.get(), 0, 0, 0, 1, 1, 4), 0);  // source past the bottom
  EXPECT_EQ(DIBCopyRect(d.get(), s.get(), -1, 0, 0, 0, 1, 1), 0);
  EXPECT_EQ(DIBCopyRect(d.get(), nullptr, 0, 0, 0, 0, 1, 1), 0);
  EXPECT_EQ(DIBCopyRect(d.get(), s.get(), 4, 4, 0, 0, 0, 0), 1);  // empty copies nothing
}

TEST(Raster, ClippedCopyKeepsTheOverlap) {
  DibPtr s(DIBCreate(4, 4, 8)), d(DIBCreate(3, 3, 8));
  DIBFill(s.get(), 6);
  EXPECT_EQ(DIBCopyRectClipped(d.get(), s.get(), -2, 1, 0, 0, 4, 4, false, 0), 1);
  EXPECT_EQ(Pixel(d.get(), 1, 2), 6u);
  EXPECT_EQ(Pixel(d.get(), 2, 2), 0u);
  EXPECT_EQ(Pixel(d.get(), 0, 0), 0u);
  EXPECT_EQ(DIBCopyRectClipped(d.get(), s.get(), 3, 0, 0, 0, 4, 4, false, 0), 0);
}

TEST(Raster, StipplePatternsOfAdjacentCopiesLineUp) {
  DibPtr s(DIBCreate(8, 4, 8));
  DIBFill(s.get(), 5);
  DibPtr whole(DIBCreate(8, 4, 8)), halves(DIBCreate(8, 4, 8));
  for (int mode : {kEffectStipple, kEffectScreenDoor}) {
    DIBFill(whole.get(), 1);
    DIBFill(halves.get(), 1);
    EXPECT_EQ(DIBCopyRectEffect(whole.get(), s.get(), 0, 0, 0, 0, 8, 4, mode, 0, 2), 1);
    DIBCopyRectEffect(halves.get(), s.get(), 0, 0, 0, 0, 3, 4, mode, 0, 2);
    DIBCopyRectEffect(halves.get(), s.get(), 3, 0, 3, 0, 5, 1, mode, 0, 2);
    DIBCopyRectEffect(halves.get(), s.get(), 3, 1, 3, 1, 5, 3, mode, 0, 2);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 8; ++x)
        ASSERT_EQ(Pixel(whole.get(), x, y), Pixel(halves.get(), x, y)) << mode << x << y;
    // A checkerboard: neighbours differ.
    EXPECT_NE(Pixel(whole.get(), 0, 0), Pixel(whole.get(), 1, 0));
    EXPECT_NE(Pixel(whole.get(), 0, 0), Pixel(whole.get(), 0, 1));
  }
  DIBFill(whole.get(), 1);
  EXPECT_EQ(DIBCopyRectEffect(whole.get(), s.get(), 0, 0, 0, 0, 8, 4, kEffectSilhouette, 0, 9), 1);
  EXPECT_EQ(Pixel(whole.get(), 3, 3), 9u);
  DibPtr d24(DIBCreate(8, 4, 24));
  EXPECT_EQ(DIBCopyRectEffect(d24.get(), s.get(), 0, 0, 0, 0, 8, 4, kEffectSilhouette, 0, 9), 0);
}

TEST(Raster, MaskLoops) {
  uint8_t dst[16];
  // One set bit at the end of the first mask byte.
  const uint8_t mask[4] = {0x01, 0x00, 0, 0};
  std::fill(dst, dst + 16, 7);
  RasterMask1(dst, mask, 16, 1, 16, 4);
  EXPECT_EQ(dst[7], 7);
  EXPECT_EQ(dst[8], 0);
  EXPECT_EQ(dst[6], 0);
  std::fill(dst, dst + 16, 7);
  RasterMask1Widened(dst, mask, 11, 1, 16, 4);
  EXPECT_EQ(dst[7], 7);
  EXPECT_EQ(dst[8], 7);  // widened into the next byte
  EXPECT_EQ(dst[9], 0);
  EXPECT_EQ(dst[12], 7);  // past W: untouched
  uint8_t d2[4] = {0, 3, 0, 3}, s2[4] = {1, 1, 1, 1};
  RasterKeyUnder8(d2, s2, 4, 1, 4, 4, 0);
  EXPECT_EQ(d2[0], 1);
  EXPECT_EQ(d2[1], 3);
}

TEST(Raster, ZeroSizedLoopsTouchNothing) {
  uint8_t d[4] = {1, 2, 3, 4}, s[4] = {9, 9, 9, 9};
  RasterCopyKey8(d, s, 0, 3, 4, 4, 0);
  RasterCopyKey8(d, s, 4, 0, 4, 4, 0);
  EXPECT_EQ(RasterCopy(d, 0, 1, s, 0, 1, 4, 4, 1, nullptr, nullptr), 0);
  RasterFillRows8(d, 0, 1, 4, 0);
  EXPECT_EQ(d[0], 1);
  EXPECT_EQ(d[3], 4);
}

}  // namespace
}  // namespace gui
