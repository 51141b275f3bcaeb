#pragma once
// The row loops that move every pixel of the toolkit. A loop copies W pixels
// by H rows; each side steps by its own signed stride, so one loop serves
// bottom-up and top-down images. Depths are given in bytes per pixel:
// 1 = palette index, 2 = 5-5-5 word, 3 = blue-green-red bytes.
#include <cstddef>
#include <cstdint>

#include "gui/utils.h"

namespace gui {

// Keys of transparent copies by depth.
constexpr uint32_t kKey8 = 0;
constexpr uint32_t kKey16 = 0x7C1F;
constexpr uint32_t kKey24 = 0xFF00FF;
constexpr uint32_t kKey32 = 0xFFFFFF;

// Effect modes of RasterCopyEffect / DIBCopyRectEffect.
enum RasterEffect : int { kEffectScreenDoor = 1, kEffectStipple = 2, kEffectSilhouette = 3 };

// Colour conversions.
inline uint16_t Rgb24To16(uint8_t red, uint8_t green, uint8_t blue) {
  return static_cast<uint16_t>(((red & 0xF8) << 7) | ((green & 0xF8) << 2) | (blue >> 3));
}
inline void Rgb16To24(uint16_t w, uint8_t* bgr) {
  bgr[2] = static_cast<uint8_t>((w >> 7) & 0xF8);
  bgr[1] = static_cast<uint8_t>((w >> 2) & 0xF8);
  bgr[0] = static_cast<uint8_t>((w << 3) & 0xF8);
}
// The 16-bit form of every entry of a colour table.
void BuildTable16(const RgbQuad* quads, uint16_t table16[256]);

// Dispatchers: 0 when done, 1 for an unsupported depth pair (a 16- or 24-bit
// source into an 8-bit destination, or a depth outside 1..3).
int RasterCopy(uint8_t* dstBase, ptrdiff_t dstOffset, int D, const uint8_t* src, int W, int H,
               ptrdiff_t dstStride, ptrdiff_t srcStride, int S, const uint16_t* table16,
               const RgbQuad* quads);
int RasterCopyKeyed(uint8_t* dstBase, ptrdiff_t dstOffset, int D, const uint8_t* src, int W, int H,
                    ptrdiff_t dstStride, ptrdiff_t srcStride, int S, const uint16_t* table16,
                    const RgbQuad* quads, uint32_t key);
int RasterCopyStippled(uint8_t* dstBase, ptrdiff_t dstOffset, int D, const uint8_t* src, int W,
                       int H, ptrdiff_t dstStride, ptrdiff_t srcStride, int S,
                       const uint16_t* table16, const RgbQuad* quads, uint32_t key,
                       uint8_t fillIndex, uint8_t phase, uint8_t pattern0, uint8_t pattern1);
// Mode 1 screen door (8-bit only, else 1), 2 stipple (its failure gives 2),
// 3 silhouette (8-bit only, else 3); 1 for null pointers or a zero S.
int RasterCopyEffect(uint8_t* dstBase, ptrdiff_t dstOffset, int D, const uint16_t* table16,
                     const RgbQuad* quads, const uint8_t* src, int W, int H, ptrdiff_t dstStride,
                     ptrdiff_t srcStride, int S, int mode, uint8_t phase, uint32_t key,
                     uint8_t fill);

// 8-bit loops.
void RasterCopyKey8(uint8_t* dst, const uint8_t* src, int W, int H, ptrdiff_t dstStride,
                    ptrdiff_t srcStride, uint8_t key);
void RasterScreenDoor8(uint8_t* dst, const uint8_t* src, int W, int H, ptrdiff_t dstStride,
                       ptrdiff_t srcStride, uint8_t key, uint8_t phase);
void RasterSilhouette8(uint8_t* dst, const uint8_t* src, int W, int H, ptrdiff_t dstStride,
                       ptrdiff_t srcStride, uint8_t key, uint8_t fill);
void RasterKeyUnder8(uint8_t* dst, const uint8_t* src, int W, int H, ptrdiff_t dstStride,
                     ptrdiff_t srcStride, uint8_t key);
// Clears each destination byte whose bit in the 1-bit mask is 0 (highest bit
// first). The widened form also keeps a pixel whose left neighbour is set.
void RasterMask1(uint8_t* dst, const uint8_t* mask, int W, int H, ptrdiff_t dstStride,
                 ptrdiff_t maskStride);
void RasterMask1Widened(uint8_t* dst, const uint8_t* mask, int W, int H, ptrdiff_t dstStride,
                        ptrdiff_t maskStride);
void RasterFillRows8(uint8_t* dst, int W, int H, ptrdiff_t stride, uint8_t value);
void RasterFillDIB8(PackedDIB* dib, uint8_t index);

// Bounds-checked copies between packed DIBs (coordinates from the top). They
// do nothing unless both images exist, are 8 bits or deeper, and both
// rectangles lie wholly inside their images; 1 when copied, else 0.
int DIBCopyRect(PackedDIB* dst, const PackedDIB* src, int dx, int dy, int sx, int sy, int W, int H);
int DIBCopyRectKeyed(PackedDIB* dst, const PackedDIB* src, int dx, int dy, int sx, int sy, int W,
                     int H, uint32_t key);
int DIBCopyRectEffect(PackedDIB* dst, const PackedDIB* src, int dx, int dy, int sx, int sy, int W,
                      int H, int mode, uint32_t key, uint8_t fill);
// The same copy clipped to both images first (used to place text and pieces
// that may reach past an edge); keyed when `keyed` is set.
int DIBCopyRectClipped(PackedDIB* dst, const PackedDIB* src, int dx, int dy, int sx, int sy, int W,
                       int H, bool keyed, uint32_t key);

}  // namespace gui
