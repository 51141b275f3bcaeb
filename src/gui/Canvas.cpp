// The canvas's portable half: the header, colour tables, fades and the
// copies into the surface. The surface itself and everything that talks to
// a device context live in Canvas_win32.cpp and Canvas_posix.cpp.
#include "gui/Canvas.h"

#include <algorithm>
#include <cstring>

#include "gui/gui_memory.h"
#include "gui/raster.h"

namespace gui {

namespace {

CanvasReportFn g_reportHook = nullptr;

// Where the copy lands: the source rectangle cut to the surface.
struct Cut {
  int x, y, sx, sy, w, h;
};

bool CutToSurface(const Canvas* c, int x, int y, int width, int height, Cut* out) {
  int left = std::max(x, 0), top = std::max(y, 0);
  int right = std::min(x + width, c->width), bottom = std::min(y + height, c->height);
  if (right <= left || bottom <= top) return false;
  *out = {left, top, left - x, top - y, right - left, bottom - top};
  return true;
}

int SurfaceBytes(const Canvas* c) { return c->header.biBitCount / 8; }

}  // namespace

void CanvasPlatformReport(int code, int where);

int CanvasReport(int code, int where) {
  if (g_reportHook)
    g_reportHook(code, where);
  else
    CanvasPlatformReport(code, where);
  return code;
}

void CanvasSetReportHook(CanvasReportFn fn) { g_reportHook = fn; }

int CanvasFreeBlock(void* block) {
  if (block) GlobalFreePtr(block);
  return 0;
}

int CanvasInitHeader(Canvas* c) {
  int bits = CanvasDeviceBits();
  if (bits > 24) bits = 24;
  if (bits != 8 && bits != 16 && bits != 24) return CanvasReport(kCanvasGdi, 536);
  std::memset(&c->header, 0, sizeof c->header);
  c->header.biSize = 40;
  c->header.biPlanes = 1;
  c->header.biBitCount = static_cast<uint16_t>(bits);
  c->header.biCompression = kBiRgb;
  return 0;
}

int CanvasSetSize(int ownerMode, Canvas* c, int32_t width, int32_t height) {
  if (!c) return CanvasReport(kCanvasNull, 675);
  c->width = width;
  c->height = height;
  if (ownerMode == kCanvasModeKeepSurface) return 0;
  c->clip = {0, 0, width - 1, height - 1};
  return CanvasCreateSection(c, width, height);
}

int CanvasMakeBitmapInfo(void** out, const DibInfoHeader* header, const RgbQuad* table) {
  if (!out || !header) return CanvasReport(kCanvasNull, 656);
  auto* block = static_cast<uint8_t*>(GlobalAllocPtr(40 + 256 * sizeof(RgbQuad)));
  if (!block) return CanvasReport(kCanvasNoMemory, 656);
  std::memcpy(block, header, 40);
  if (table) std::memcpy(block + 40, table, 256 * sizeof(RgbQuad));
  *out = block;
  return 0;
}

int CanvasSetColor(Canvas* c, int index, RgbQuad quad) {
  if (!c || index < 0 || index > 255) return CanvasReport(kCanvasNull, 64);
  c->colors[index] = quad;
  c->colors16[index] = Rgb24To16(quad.red, quad.green, quad.blue);
  return CanvasSetSectionColors(c, index, 1) ? CanvasReport(kCanvasGdi, 73) : 0;
}

int CanvasCopyColorEntry(Canvas* c, int to, int from) {
  if (!c || to < 0 || to > 255 || from < 0 || from > 255) return CanvasReport(kCanvasNull, 918);
  c->colors[to] = c->colors[from];
  c->colors16[to] = c->colors16[from];
  return CanvasSetSectionColors(c, to, 1) ? CanvasReport(kCanvasGdi, 926) : 0;
}

int CanvasSetColors(Canvas* c, const RgbQuad* quads, int first, int last) {
  if (!c || !quads) return CanvasReport(kCanvasNull, 155);
  first = std::max(first, 0);
  last = std::min(last, 255);
  if (first > last) return 0;
  for (int i = first; i <= last; ++i) {
    c->colors[i] = quads[i];
    c->colors16[i] = Rgb24To16(quads[i].red, quads[i].green, quads[i].blue);
  }
  return CanvasSetSectionColors(c, first, last - first + 1) ? CanvasReport(kCanvasGdi, 173) : 0;
}

int CanvasGetColors(Canvas* c, int first, int count, RgbQuad* out) {
  if (!c || !out || first < 0 || count < 0 || first + count > 256)
    return CanvasReport(kCanvasNull, 456);
  std::memcpy(out, c->colors + first, static_cast<size_t>(count) * sizeof(RgbQuad));
  return 0;
}

int CanvasAnimateColors(Canvas* c, int first, int count, const CanvasPaletteEntry* entries) {
  if (count == 0) return 0;
  if (!c || !entries || first < 0 || count < 0 || first + count > 256)
    return CanvasReport(kCanvasNull, 115);
  for (int i = 0; i < count; ++i) {
    const CanvasPaletteEntry& e = entries[i];
    c->colors[first + i] = RgbQuad{e.blue, e.green, e.red, 0};
    c->colors16[first + i] = Rgb24To16(e.red, e.green, e.blue);
  }
  if (!c->dc) return CanvasReport(kCanvasNoDevice, 130);
  CanvasSetSectionColors(c, first, count);
  if (c->palette) CanvasAnimatePalette(c->palette, first, count, entries);
  return 0;
}

void CanvasBuildPalette(const RgbQuad* q, int first, int last, CanvasPaletteEntry out[256]) {
  bool noCollapse = !(first == -255 && last == -255);
  for (int i = 0; i < 256; ++i) {
    out[i] = CanvasPaletteEntry{q ? q[i].red : uint8_t{0}, q ? q[i].green : uint8_t{0},
                                q ? q[i].blue : uint8_t{0}, 0};
    if (i >= first && i <= last) out[i].flags |= kPcReserved;
    if (noCollapse && i >= 10 && i <= 245) out[i].flags |= kPcNoCollapse;
  }
}

void CanvasFadeEntries(const RgbQuad* colors, int level, CanvasPaletteEntry out[236]) {
  for (int i = 0; i < 236; ++i) {
    const RgbQuad& q = colors[10 + i];
    out[i] = CanvasPaletteEntry{static_cast<uint8_t>(q.red * level / 15),
                                static_cast<uint8_t>(q.green * level / 15),
                                static_cast<uint8_t>(q.blue * level / 15), kPcReserved};
  }
}

int CanvasFadeStep(Canvas* c, int direction, int* level, int* done) {
  if (!c || !level || !done) return CanvasReport(kCanvasNull, 392);
  if (direction == 0) {
    if (*level <= 0) {
      *done = 0;
      return 0;
    }
    --*level;
  } else {
    if (*level >= 15) {
      *done = 0;
      return 0;
    }
    ++*level;
  }
  CanvasPaletteEntry entries[236];
  CanvasFadeEntries(c->colors, *level, entries);
  if (c->palette) CanvasAnimatePalette(c->palette, 10, 236, entries);
  *done = 1;
  return 0;
}

uint32_t CanvasKeyFor(int bits) {
  switch (bits) {
    case 8:
      return kKey8;
    case 16:
      return kKey16;
    case 24:
      return kKey24;
    default:
      return kKey32;
  }
}

ptrdiff_t CanvasRowStep(const Canvas* c) {
  ptrdiff_t stride = DIBStrideFor(c->width, c->header.biBitCount);
  return c->topDown ? stride : -stride;
}

uint8_t* CanvasPixel(Canvas* c, int x, int y) {
  if (!c || !c->bits || x < 0 || y < 0 || x >= c->width || y >= c->height) return nullptr;
  return DIBPixelAddr(c->bits, x, y, c->width, c->height, c->topDown != 0, SurfaceBytes(c));
}

int CanvasCopyOpaque(Canvas* c, const PackedDIB* image, int x, int y, const DibRect* r) {
  if (!c || !image || !r || !c->bits) return CanvasReport(kCanvasNull, 195);
  // The image's rectangle, cut to the image, lands at (rect - (x, y)).
  DibRect src{std::max(r->left, 0), std::max(r->top, 0), std::min(r->right, image->biWidth - 1),
              std::min(r->bottom, DIBHeight(image) - 1)};
  if (src.right < src.left || src.bottom < src.top) return 0;
  Cut cut;
  if (!CutToSurface(c, src.left - x, src.top - y, src.right - src.left + 1,
                    src.bottom - src.top + 1, &cut))
    return 0;
  const uint8_t* from =
      DIBPixelPtr(const_cast<PackedDIB*>(image), src.left + cut.sx, src.top + cut.sy);
  ptrdiff_t srcStep =
      image->biHeight < 0 ? DIBStride(image) : -static_cast<ptrdiff_t>(DIBStride(image));
  CanvasFlush();
  uint8_t* to = CanvasPixel(c, cut.x, cut.y);
  if (RasterCopy(to, 0, SurfaceBytes(c), from, cut.w, cut.h, CanvasRowStep(c), srcStep,
                 DIBBytesPerPixel(image), c->colors16, c->colors))
    return CanvasReport(kCanvasDepth, 204);
  return 0;
}

namespace {

// The shared body of the keyed and stippled copies: cut the source to the
// surface, then run the row loop.
int SourceCopy(Canvas* c, const uint8_t* source, int width, int height, ptrdiff_t stride, int x,
               int y, int bits, bool stipple, uint8_t fill, int nullLine, int depthLine) {
  if (!c || !source || !c->bits) return CanvasReport(kCanvasNull, nullLine);
  int S = bits / 8;
  if (bits != 8 && bits != 16 && bits != 24) return CanvasReport(kCanvasDepth, depthLine);
  Cut cut;
  if (!CutToSurface(c, x, y, width, height, &cut)) return 0;
  const uint8_t* from = source + cut.sy * stride + static_cast<ptrdiff_t>(cut.sx) * S;
  uint8_t* to = CanvasPixel(c, cut.x, cut.y);
  CanvasFlush();
  uint32_t key = CanvasKeyFor(bits);
  int result;
  if (stipple)
    result = RasterCopyEffect(to, 0, SurfaceBytes(c), c->colors16, c->colors, from, cut.w, cut.h,
                              CanvasRowStep(c), stride, S, kEffectStipple,
                              static_cast<uint8_t>((cut.x ^ cut.y) & 1), key, fill);
  else
    result = RasterCopyKeyed(to, 0, SurfaceBytes(c), from, cut.w, cut.h, CanvasRowStep(c), stride,
                             S, c->colors16, c->colors, key);
  return result ? CanvasReport(kCanvasDepth, depthLine) : 0;
}

}  // namespace

int CanvasKeyCopy8(Canvas* c, const uint8_t* source, int width, int height, ptrdiff_t stride, int x,
                   int y) {
  if (c && c->header.biBitCount != 8) return CanvasReport(kCanvasDepth, 1154);
  return SourceCopy(c, source, width, height, stride, x, y, 8, false, 0, 1149, 1154);
}

int CanvasKeyCopy(Canvas* c, const uint8_t* source, int width, int height, ptrdiff_t stride, int x,
                  int y, int sourceBits) {
  if (c && c->header.biBitCount == 8 && sourceBits != 8) return CanvasReport(kCanvasDepth, 1226);
  return SourceCopy(c, source, width, height, stride, x, y, sourceBits, false, 0, 1192, 1199);
}

int CanvasStippleCopy8(Canvas* c, const uint8_t* source, int width, int height, ptrdiff_t stride,
                       int x, int y, uint8_t fill) {
  if (c && c->header.biBitCount != 8) return CanvasReport(kCanvasDepth, 1253);
  return SourceCopy(c, source, width, height, stride, x, y, 8, true, fill, 1248, 1253);
}

int CanvasStippleCopy(Canvas* c, const uint8_t* source, int width, int height, ptrdiff_t stride,
                      int x, int y, int, uint8_t fill, int sourceBits) {
  if (c && c->header.biBitCount == 8 && sourceBits != 8) return CanvasReport(kCanvasDepth, 1309);
  return SourceCopy(c, source, width, height, stride, x, y, sourceBits, true, fill, 1303, 1309);
}

}  // namespace gui
