#include "gui/raster.h"

#include <cstring>

namespace gui {

namespace {

bool Supported(int D, int S) {
  if (D < 1 || D > 3 || S < 1 || S > 3) return false;
  return !(D == 1 && S != 1);
}

// The source pixel equals the key, compared in the source's form.
inline bool IsKey(const uint8_t* s, int S, uint32_t key) {
  switch (S) {
    case 1:
      return s[0] == (key & 0xFF);
    case 2:
      return (s[0] | (s[1] << 8)) == static_cast<int>(key & 0xFFFF);
    default:
      return s[2] == (key & 0xFF) && s[1] == ((key >> 8) & 0xFF) && s[0] == ((key >> 16) & 0xFF);
  }
}

// Writes one source pixel into the destination's form.
inline void PutPixel(uint8_t* d, int D, const uint8_t* s, int S, const uint16_t* t16,
                     const RgbQuad* q) {
  if (S == D) {
    std::memcpy(d, s, D);
    return;
  }
  if (S == 1) {
    if (D == 2) {
      uint16_t w = t16 ? t16[s[0]] : 0;
      d[0] = static_cast<uint8_t>(w);
      d[1] = static_cast<uint8_t>(w >> 8);
    } else {
      RgbQuad c = q ? q[s[0]] : RgbQuad{0, 0, 0, 0};
      d[0] = c.blue;
      d[1] = c.green;
      d[2] = c.red;
    }
  } else if (S == 2) {  // D == 3
    Rgb16To24(static_cast<uint16_t>(s[0] | (s[1] << 8)), d);
  } else {  // 24 -> 16
    uint16_t w = Rgb24To16(s[2], s[1], s[0]);
    d[0] = static_cast<uint8_t>(w);
    d[1] = static_cast<uint8_t>(w >> 8);
  }
}

// A palette index in the destination's form.
inline void FillForm(uint8_t* out, int D, uint8_t index, const uint16_t* t16, const RgbQuad* q) {
  PutPixel(out, D, &index, 1, t16, q);
}

inline uint8_t Rol(uint8_t v, int n) {
  n &= 7;
  return n ? static_cast<uint8_t>((v << n) | (v >> (8 - n))) : v;
}

// The two pattern bytes after the phase: bit 0 swaps, bits 1-3 rotate.
void ApplyPhase(uint8_t phase, uint8_t* p0, uint8_t* p1) {
  if (phase & 1) {
    uint8_t t = *p0;
    *p0 = *p1;
    *p1 = t;
  }
  int rot = (phase >> 1) & 7;
  *p0 = Rol(*p0, rot);
  *p1 = Rol(*p1, rot);
}

}  // namespace

void BuildTable16(const RgbQuad* quads, uint16_t table16[256]) {
  for (int i = 0; i < 256; ++i)
    table16[i] = quads ? Rgb24To16(quads[i].red, quads[i].green, quads[i].blue) : 0;
}

int RasterCopy(uint8_t* dstBase, ptrdiff_t dstOffset, int D, const uint8_t* src, int W, int H,
               ptrdiff_t dstStride, ptrdiff_t srcStride, int S, const uint16_t* t16,
               const RgbQuad* q) {
  if (!Supported(D, S)) return 1;
  uint8_t* dst = dstBase + dstOffset;
  for (int y = 0; y < H; ++y, dst += dstStride, src += srcStride) {
    if (S == D) {
      std::memcpy(dst, src, static_cast<size_t>(W) * D);
      continue;
    }
    for (int x = 0; x < W; ++x)
      PutPixel(dst + x * D, D, src + x * S, S, t16, q);
  }
  return 0;
}

int RasterCopyKeyed(uint8_t* dstBase, ptrdiff_t dstOffset, int D, const uint8_t* src, int W, int H,
                    ptrdiff_t dstStride, ptrdiff_t srcStride, int S, const uint16_t* t16,
                    const RgbQuad* q, uint32_t key) {
  if (!Supported(D, S)) return 1;
  if (D == 1) {
    RasterCopyKey8(dstBase + dstOffset, src, W, H, dstStride, srcStride, static_cast<uint8_t>(key));
    return 0;
  }
  uint8_t* dst = dstBase + dstOffset;
  for (int y = 0; y < H; ++y, dst += dstStride, src += srcStride)
    for (int x = 0; x < W; ++x)
      if (!IsKey(src + x * S, S, key)) PutPixel(dst + x * D, D, src + x * S, S, t16, q);
  return 0;
}

int RasterCopyStippled(uint8_t* dstBase, ptrdiff_t dstOffset, int D, const uint8_t* src, int W,
                       int H, ptrdiff_t dstStride, ptrdiff_t srcStride, int S, const uint16_t* t16,
                       const RgbQuad* q, uint32_t key, uint8_t fillIndex, uint8_t phase,
                       uint8_t pattern0, uint8_t pattern1) {
  if (!Supported(D, S)) return 1;
  ApplyPhase(phase, &pattern0, &pattern1);
  uint8_t fill[3];
  FillForm(fill, D, fillIndex, t16, q);
  // At 8 bits a clear pattern bit writes the source; at the other depths a
  // set one does (the two loop families were written that way round).
  const bool sourceOnSet = D != 1;
  uint8_t* dst = dstBase + dstOffset;
  for (int y = 0; y < H; ++y, dst += dstStride, src += srcStride) {
    uint8_t pat = (y & 1) ? pattern1 : pattern0;
    for (int x = 0; x < W; ++x, pat = Rol(pat, 1)) {
      const uint8_t* s = src + x * S;
      if (IsKey(s, S, key)) continue;
      bool set = (pat & 0x80) != 0;
      if (set == sourceOnSet)
        PutPixel(dst + x * D, D, s, S, t16, q);
      else
        std::memcpy(dst + x * D, fill, D);
    }
  }
  return 0;
}

int RasterCopyEffect(uint8_t* dstBase, ptrdiff_t dstOffset, int D, const uint16_t* t16,
                     const RgbQuad* q, const uint8_t* src, int W, int H, ptrdiff_t dstStride,
                     ptrdiff_t srcStride, int S, int mode, uint8_t phase, uint32_t key,
                     uint8_t fill) {
  if (!dstBase || !src || S == 0) return 1;
  uint8_t* dst = dstBase + dstOffset;
  switch (mode) {
    case kEffectScreenDoor:
      if (D != 1 || S != 1) return 1;
      RasterScreenDoor8(dst, src, W, H, dstStride, srcStride, static_cast<uint8_t>(key), phase);
      return 0;
    case kEffectStipple:
      return RasterCopyStippled(dstBase, dstOffset, D, src, W, H, dstStride, srcStride, S, t16, q,
                                key, fill, phase, 0x55, 0xAA)
                 ? 2
                 : 0;
    case kEffectSilhouette:
      if (D != 1 || S != 1) return 3;
      RasterSilhouette8(dst, src, W, H, dstStride, srcStride, static_cast<uint8_t>(key), fill);
      return 0;
    default:
      return 0;
  }
}

void RasterCopyKey8(uint8_t* dst, const uint8_t* src, int W, int H, ptrdiff_t dstStride,
                    ptrdiff_t srcStride, uint8_t key) {
  for (int y = 0; y < H; ++y, dst += dstStride, src += srcStride)
    for (int x = 0; x < W; ++x)
      if (src[x] != key) dst[x] = src[x];
}

void RasterScreenDoor8(uint8_t* dst, const uint8_t* src, int W, int H, ptrdiff_t dstStride,
                       ptrdiff_t srcStride, uint8_t key, uint8_t phase) {
  uint8_t p0 = 0x55, p1 = 0xAA;
  ApplyPhase(phase, &p0, &p1);
  for (int y = 0; y < H; ++y, dst += dstStride, src += srcStride) {
    uint8_t pat = (y & 1) ? p1 : p0;
    for (int x = 0; x < W; ++x, pat = Rol(pat, 1))
      if (src[x] != key && !(pat & 0x80)) dst[x] = src[x];
  }
}

void RasterSilhouette8(uint8_t* dst, const uint8_t* src, int W, int H, ptrdiff_t dstStride,
                       ptrdiff_t srcStride, uint8_t key, uint8_t fill) {
  for (int y = 0; y < H; ++y, dst += dstStride, src += srcStride)
    for (int x = 0; x < W; ++x)
      if (src[x] != key) dst[x] = fill;
}

void RasterKeyUnder8(uint8_t* dst, const uint8_t* src, int W, int H, ptrdiff_t dstStride,
                     ptrdiff_t srcStride, uint8_t key) {
  for (int y = 0; y < H; ++y, dst += dstStride, src += srcStride)
    for (int x = 0; x < W; ++x)
      if (dst[x] == key) dst[x] = src[x];
}

namespace {
void MaskRows(uint8_t* dst, const uint8_t* mask, int W, int H, ptrdiff_t dstStride,
              ptrdiff_t maskStride, bool widen) {
  for (int y = 0; y < H; ++y, dst += dstStride, mask += maskStride) {
    unsigned carry = 0;  // the previous byte's lowest bit, entering at the top
    for (int x = 0; x < W; x += 8) {
      unsigned m = mask[x / 8];
      if (widen) {
        unsigned widened = m | (m >> 1) | (carry << 7);
        carry = m & 1;
        m = widened & 0xFF;
      }
      for (int b = 0; b < 8 && x + b < W; ++b)
        if (!(m & (0x80u >> b))) dst[x + b] = 0;
    }
  }
}
}  // namespace

void RasterMask1(uint8_t* dst, const uint8_t* mask, int W, int H, ptrdiff_t dstStride,
                 ptrdiff_t maskStride) {
  MaskRows(dst, mask, W, H, dstStride, maskStride, false);
}

void RasterMask1Widened(uint8_t* dst, const uint8_t* mask, int W, int H, ptrdiff_t dstStride,
                        ptrdiff_t maskStride) {
  MaskRows(dst, mask, W, H, dstStride, maskStride, true);
}

void RasterFillRows8(uint8_t* dst, int W, int H, ptrdiff_t stride, uint8_t value) {
  for (int y = 0; y < H; ++y, dst += stride)
    std::memset(dst, value, W);
}

void RasterFillDIB8(PackedDIB* dib, uint8_t index) {
  if (!dib || dib->biBitCount != 8) return;
  std::memset(DIBBits(dib), index, static_cast<size_t>(DIBStride(dib)) * DIBHeight(dib));
}

namespace {

// Pointer to the top row of a rectangle and the stride that walks down.
struct RowWalk {
  uint8_t* first;
  ptrdiff_t stride;
};

RowWalk TopRow(PackedDIB* dib, int x, int y) {
  ptrdiff_t stride = DIBStride(dib);
  bool topDown = dib->biHeight < 0;
  uint8_t* row = DIBBits(dib) + DIBPixelOffsetOf(dib, x, y);
  return {row, topDown ? stride : -stride};
}

bool Inside(const PackedDIB* d, int x, int y, int W, int H) {
  return x >= 0 && y >= 0 && W >= 0 && H >= 0 && x + W <= DIBWidth(d) && y + H <= DIBHeight(d);
}

enum CopyKind { kOpaque, kKeyed, kEffect };

int CopyChecked(PackedDIB* dst, const PackedDIB* src, int dx, int dy, int sx, int sy, int W, int H,
                CopyKind kind, int mode, uint32_t key, uint8_t fill) {
  if (!dst || !src || dst->biBitCount < 8 || src->biBitCount < 8) return 0;
  if (!Inside(dst, dx, dy, W, H) || !Inside(src, sx, sy, W, H)) return 0;
  if (W == 0 || H == 0) return 1;
  PackedDIB* s = const_cast<PackedDIB*>(src);
  RowWalk d = TopRow(dst, dx, dy), r = TopRow(s, sx, sy);
  const RgbQuad* quads = src->biBitCount == 8 ? DIBColorTable(s) : nullptr;
  uint16_t t16[256];
  BuildTable16(quads, t16);
  int D = DIBBytesPerPixel(dst), S = DIBBytesPerPixel(src);
  int rc;
  if (kind == kOpaque) {
    rc = RasterCopy(d.first, 0, D, r.first, W, H, d.stride, r.stride, S, t16, quads);
  } else if (kind == kKeyed) {
    rc = RasterCopyKeyed(d.first, 0, D, r.first, W, H, d.stride, r.stride, S, t16, quads, key);
  } else {
    // The pattern phase comes from the destination position, so adjacent
    // copies line up.
    uint8_t phase = static_cast<uint8_t>(((dx & 7) << 1) | (dy & 1));
    rc = RasterCopyEffect(d.first, 0, D, t16, quads, r.first, W, H, d.stride, r.stride, S, mode,
                          phase, key, fill);
  }
  return rc == 0 ? 1 : 0;
}

}  // namespace

int DIBCopyRect(PackedDIB* dst, const PackedDIB* src, int dx, int dy, int sx, int sy, int W,
                int H) {
  return CopyChecked(dst, src, dx, dy, sx, sy, W, H, kOpaque, 0, 0, 0);
}

int DIBCopyRectKeyed(PackedDIB* dst, const PackedDIB* src, int dx, int dy, int sx, int sy, int W,
                     int H, uint32_t key) {
  return CopyChecked(dst, src, dx, dy, sx, sy, W, H, kKeyed, 0, key, 0);
}

int DIBCopyRectEffect(PackedDIB* dst, const PackedDIB* src, int dx, int dy, int sx, int sy, int W,
                      int H, int mode, uint32_t key, uint8_t fill) {
  return CopyChecked(dst, src, dx, dy, sx, sy, W, H, kEffect, mode, key, fill);
}

int DIBCopyRectClipped(PackedDIB* dst, const PackedDIB* src, int dx, int dy, int sx, int sy, int W,
                       int H, bool keyed, uint32_t key) {
  if (!dst || !src) return 0;
  // Clip the left/top against both images, then the right/bottom.
  if (dx < 0) {
    sx -= dx;
    W += dx;
    dx = 0;
  }
  if (dy < 0) {
    sy -= dy;
    H += dy;
    dy = 0;
  }
  if (sx < 0) {
    dx -= sx;
    W += sx;
    sx = 0;
  }
  if (sy < 0) {
    dy -= sy;
    H += sy;
    sy = 0;
  }
  if (dx + W > DIBWidth(dst)) W = DIBWidth(dst) - dx;
  if (dy + H > DIBHeight(dst)) H = DIBHeight(dst) - dy;
  if (sx + W > DIBWidth(src)) W = DIBWidth(src) - sx;
  if (sy + H > DIBHeight(src)) H = DIBHeight(src) - sy;
  if (W <= 0 || H <= 0) return 0;
  return keyed ? DIBCopyRectKeyed(dst, src, dx, dy, sx, sy, W, H, key)
               : DIBCopyRect(dst, src, dx, dy, sx, sy, W, H);
}

}  // namespace gui
