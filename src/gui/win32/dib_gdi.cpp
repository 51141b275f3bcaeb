// Packed DIBs on device contexts, DIB sections and palettes.
#include <algorithm>
#include <cstring>

#include "gui/gui_memory.h"
#include "gui/pal.h"
#include "gui/raster.h"
#include "gui/win32/gui_win32.h"
#include "platform/message_sink.h"

namespace gui {

namespace {
const BITMAPINFO* Info(const PackedDIB* dib) { return reinterpret_cast<const BITMAPINFO*>(dib); }

int Blt(HDC dc, int x, int y, int w, int h, int sx, int sy, const PackedDIB* dib, UINT usage) {
  int by = DIBHeight(dib) - h - sy;
  if (by < 0) by = 0;
  if (dib->biHeight < 0) by = sy;  // top-down rows count from the top already
  return StretchDIBits(dc, x, y, w, h, sx, by, w, h, DIBBits(dib), Info(dib), usage, SRCCOPY);
}
}  // namespace

int DIBBlt(HDC dc, int x, int y, int width, int height, int sx, int sy, const PackedDIB* dib) {
  if (!dc || !dib) return 0;
  if (dib->biBitCount <= 8) return Blt(dc, x, y, width, height, sx, sy, dib, DIB_PAL_COLORS);
  return DIBBltRGB(dc, x, y, width, height, sx, sy, dib);
}

int DIBBltRGB(HDC dc, int x, int y, int width, int height, int sx, int sy, const PackedDIB* dib) {
  if (!dc || !dib) return 0;
  return Blt(dc, x, y, width, height, sx, sy, dib, DIB_RGB_COLORS);
}

int DIBTileRectAligned(int, HDC dc, const PackedDIB* tile, const RECT* rect) {
  if (!dc || !tile || !rect) return 0;
  int tw = DIBWidth(tile), th = DIBHeight(tile);
  if (tw <= 0 || th <= 0) return 0;
  for (int x = (rect->left / tw) * tw; x < rect->right; x += tw)
    for (int y = (rect->top / th) * th; y < rect->bottom; y += th)
      DIBBlt(dc, x, y, tw, th, 0, 0, tile);
  return 1;
}

void DIBTileRect(HDC dc, const PackedDIB* image, const RECT* rect) {
  if (!dc || !image || !rect) return;
  int tw = DIBWidth(image), th = DIBHeight(image);
  if (tw <= 0 || th <= 0) return;
  for (int y = rect->top; y < rect->bottom; y += th)
    for (int x = rect->left; x < rect->right; x += tw) {
      int w = rect->right - x < tw ? rect->right - x : tw;
      int h = rect->bottom - y < th ? rect->bottom - y : th;
      DIBBlt(dc, x, y, w, h, 0, 0, image);
    }
}

void DIBDrawThreePiece(HDC dc, const RECT* rect, const PackedDIB* start, const PackedDIB* middle,
                       const PackedDIB* end, bool vertical) {
  if (!dc || !rect) return;
  int w = rect->right - rect->left, h = rect->bottom - rect->top;
  if (w <= 0 || h <= 0) return;
  PackedDIB* strip = DIBCreate(w, h, 24);
  if (!strip) return;
  DIBComposeThreePiece(strip, start, middle, end, vertical);
  DIBBlt(dc, rect->left, rect->top, w, h, 0, 0, strip);
  GlobalFreePtr(strip);
}

void DIBComposeThreePieceAt(PackedDIB* target, int x, int y, int length, const PackedDIB* start,
                            const PackedDIB* middle, const PackedDIB* end, bool vertical,
                            bool keyed) {
  if (!target || length <= 0) return;
  auto along = [&](const PackedDIB* p) { return p ? (vertical ? DIBHeight(p) : p->biWidth) : 0; };
  auto put = [&](const PackedDIB* p, int offset, int room) {
    if (!p || room <= 0) return;
    int w = vertical ? p->biWidth : (room < p->biWidth ? room : p->biWidth);
    int h = vertical ? (room < DIBHeight(p) ? room : DIBHeight(p)) : DIBHeight(p);
    uint32_t key = p->biBitCount == 8 ? kKey8 : p->biBitCount == 16 ? kKey16 : kKey24;
    DIBCopyRectClipped(target, p, vertical ? x : x + offset, vertical ? y + offset : y, 0, 0, w, h,
                       keyed, key);
  };
  int s = along(start), e = along(end), m = along(middle);
  put(start, 0, length);
  int endAt = length - e;
  if (m > 0)
    for (int at = s; at < endAt; at += m)
      put(middle, at, endAt - at);
  // The end piece is drawn last, over a middle that ran too long.
  if (end) put(end, endAt < 0 ? 0 : endAt, length - (endAt < 0 ? 0 : endAt));
}

void DIBComposeThreePiece(PackedDIB* target, const PackedDIB* start, const PackedDIB* middle,
                          const PackedDIB* end, bool vertical) {
  if (!target) return;
  if (target->biBitCount == 8) {
    const PackedDIB* withTable = start ? start : middle ? middle : end;
    if (withTable) DIBCopyColorTable(target, withTable);
  }
  DIBComposeThreePieceAt(target, 0, 0, vertical ? DIBHeight(target) : target->biWidth, start,
                         middle, end, vertical);
}

void DIBDrawPopupFrame(HWND window, const RECT* rect, PackedDIB* const images[8],
                       HPALETTE palette) {
  if (!window || !rect || !images) return;
  HDC dc = GetWindowDC(window);
  if (!dc) return;
  HPALETTE old = palette ? GuiSelectRealizePalette(dc, 0, palette) : nullptr;
  int topH = images[1] ? DIBHeight(images[1]) : 0;
  int bottomH = images[4] ? DIBHeight(images[4]) : 0;
  RECT top{rect->left, rect->top, rect->right, rect->top + topH};
  RECT bottom{rect->left, rect->bottom - bottomH, rect->right, rect->bottom};
  DIBDrawThreePiece(dc, &top, images[0], images[1], images[2], false);
  DIBDrawThreePiece(dc, &bottom, images[3], images[4], images[5], false);
  int leftW = images[6] ? images[6]->biWidth : 0, rightW = images[7] ? images[7]->biWidth : 0;
  RECT left{rect->left, top.bottom, rect->left + leftW, bottom.top};
  RECT right{rect->right - rightW, top.bottom, rect->right, bottom.top};
  DIBTileRect(dc, images[6], &left);
  DIBTileRect(dc, images[7], &right);
  if (old) SelectPalette(dc, old, FALSE);
  ReleaseDC(window, dc);
}

namespace {

// Copies the DIB's rows to (toSection) or from a DIB section starting at
// section row `rowOffset`, in the section's own row order.
int CopyRowsWithSection(uint8_t* base, int rowOffset, PackedDIB* dib, HBITMAP section,
                        bool toSection) {
  DIBSECTION ds;
  if (!dib || !section || GetObjectA(section, sizeof ds, &ds) != sizeof ds) return 0;
  uint8_t* bits = base ? base : static_cast<uint8_t*>(ds.dsBm.bmBits);
  if (!bits || ds.dsBm.bmWidthBytes < static_cast<LONG>(DIBStride(dib))) return 0;
  int rows = DIBHeight(dib);
  if (rowOffset < 0 || rowOffset + rows > ds.dsBm.bmHeight) return 0;
  GdiFlush();
  bool sectionTopDown = ds.dsBmih.biHeight < 0;
  for (int y = 0; y < rows; ++y) {
    int sy = sectionTopDown ? rowOffset + y : ds.dsBm.bmHeight - 1 - (rowOffset + y);
    uint8_t* sectionRow = bits + static_cast<size_t>(sy) * ds.dsBm.bmWidthBytes;
    uint8_t* dibRow = DIBPixelPtr(dib, 0, y);
    if (toSection)
      std::memcpy(sectionRow, dibRow, DIBStride(dib));
    else
      std::memcpy(dibRow, sectionRow, DIBStride(dib));
  }
  return 1;
}

}  // namespace

int DIBCopyToDIBSection(uint8_t* base, int rowOffset, const PackedDIB* dib, HBITMAP section) {
  return CopyRowsWithSection(base, rowOffset, const_cast<PackedDIB*>(dib), section, true);
}

int DIBSectionCopyToDIB(uint8_t* base, int rowOffset, PackedDIB* dib, HBITMAP section) {
  return CopyRowsWithSection(base, rowOffset, dib, section, false);
}

int DIBSectionKeyUnder(HBITMAP section, const PackedDIB* dib, int dx, int dy, int sx, int sy,
                       int width, int height, uint8_t key) {
  DIBSECTION ds;
  if (!dib || !section || GetObjectA(section, sizeof ds, &ds) != sizeof ds) return 0;
  if (ds.dsBm.bmBitsPixel != 8 || dib->biBitCount != 8 || !ds.dsBm.bmBits) return 0;
  if (width <= 0 || height <= 0 || dx < 0 || dy < 0 || sx < 0 || sy < 0 ||
      dx + width > ds.dsBm.bmWidth || dy + height > ds.dsBm.bmHeight ||
      sx + width > DIBWidth(dib) || sy + height > DIBHeight(dib))
    return 0;
  GdiFlush();
  const bool topDown = ds.dsBmih.biHeight < 0;
  auto* bits = static_cast<uint8_t*>(ds.dsBm.bmBits);
  for (int y = 0; y < height; ++y) {
    const int row = topDown ? dy + y : ds.dsBm.bmHeight - 1 - (dy + y);
    uint8_t* dst = bits + static_cast<size_t>(row) * ds.dsBm.bmWidthBytes + dx;
    const uint8_t* src = DIBPixelPtr(const_cast<PackedDIB*>(dib), sx, sy + y);
    RasterKeyUnder8(dst, src, width, 1, 0, 0, key);
  }
  return 1;
}

int DIBCopyToSectionKeyed(int x, int y, const PackedDIB* dib, HBITMAP section, uint8_t key) {
  DIBSECTION ds;
  if (!dib || !section || GetObjectA(section, sizeof ds, &ds) != sizeof ds) return 0;
  if (ds.dsBm.bmBitsPixel != 8 || dib->biBitCount != 8 || !ds.dsBm.bmBits) return 0;
  const int w = DIBWidth(dib), h = DIBHeight(dib);
  if (x < 0 || y < 0 || x + w > ds.dsBm.bmWidth || y + h > ds.dsBm.bmHeight) return 0;
  GdiFlush();
  const bool topDown = ds.dsBmih.biHeight < 0;
  auto* bits = static_cast<uint8_t*>(ds.dsBm.bmBits);
  for (int row = 0; row < h; ++row) {
    const int sy = topDown ? y + row : ds.dsBm.bmHeight - 1 - (y + row);
    RasterCopyKey8(bits + static_cast<size_t>(sy) * ds.dsBm.bmWidthBytes + x,
                   DIBPixelPtr(const_cast<PackedDIB*>(dib), 0, row), w, 1, 0, 0, key);
  }
  return 1;
}

PackedDIB* DIBCreateFromBitmap(HBITMAP bitmap, bool eightBit) {
  BITMAP bm;
  if (!bitmap || GetObjectA(bitmap, sizeof bm, &bm) != sizeof bm) return nullptr;
  return DIBCreate(bm.bmWidth, bm.bmHeight, eightBit ? 8 : bm.bmBitsPixel);
}

int DIBBltResource(HDC dc, int x, int y, int width, int height, int sx, int sy, HGLOBAL resource) {
  const auto* dib = resource ? static_cast<const PackedDIB*>(LockResource(resource)) : nullptr;
  if (!dc || !dib) return 0;
  return Blt(dc, x, y, width, height, sx, sy, dib, DIB_PAL_COLORS);
}

int DIBTileRectClipped(HDC dc, const PackedDIB* tile, int phaseX, int phaseY, int left, int top,
                       int width, int height) {
  if (!dc || !tile || width <= 0 || height <= 0) return 0;
  const int tw = DIBWidth(tile), th = DIBHeight(tile);
  if (tw <= 0 || th <= 0) return 0;
  // The tile's column and row at the rectangle's corner.
  const int startX = ((left + phaseX) % tw + tw) % tw;
  const int startY = ((top + phaseY) % th + th) % th;
  for (int y = 0, ty = startY; y < height; y += th - ty, ty = 0) {
    const int h = std::min(th - ty, height - y);
    for (int x = 0, tx = startX; x < width; x += tw - tx, tx = 0) {
      const int w = std::min(tw - tx, width - x);
      DIBBlt(dc, left + x, top + y, w, h, tx, ty, tile);
    }
  }
  return 1;
}

namespace {
struct LogPalette256 {
  WORD version = 0x300, count = 256;
  PALETTEENTRY entries[256] = {};
};
}  // namespace

HPALETTE CreatePaletteFromRGBQuads(const RgbQuad* quads, int first, int last) {
  if (!quads) return nullptr;
  LogPalette256 lp;
  for (int i = 0; i < 256; ++i)
    lp.entries[i] = PALETTEENTRY{quads[i].red, quads[i].green, quads[i].blue,
                                 static_cast<BYTE>(i >= first && i <= last ? PC_NOCOLLAPSE : 0)};
  return CreatePalette(reinterpret_cast<LOGPALETTE*>(&lp));
}

HPALETTE CreatePaletteFromDIB(PackedDIB* dib) {
  if (!dib || dib->biBitCount != 8) return nullptr;
  return CreatePaletteFromRGBQuads(DIBColorTable(dib), 1, 0);
}

int SetPaletteFromQuads(HPALETTE* palette, const RgbQuad* quads, int start, int count) {
  if (start < 0 || count < 0 || start + count >= 256) {
    platform::ShowNotice("invalid pal indices", "pal", 0);
    return 0;
  }
  if (!palette || !*palette) {
    platform::ShowNotice("bad pal coming in!", "pal", 0);
    return 0;
  }
  PALETTEENTRY entries[256];
  QuadsToPaletteEntries(reinterpret_cast<PaletteEntry*>(entries), quads, 0, count);
  return SetPaletteEntries(*palette, start, count, entries) ? 1 : 0;
}

RgbQuad* GetSystemPaletteQuads(int count) {
  if (count != 256) return nullptr;
  HDC dc = GetDC(nullptr);
  if (!dc) return nullptr;
  auto* quads = static_cast<RgbQuad*>(GlobalAllocPtr(256 * sizeof(RgbQuad)));
  PALETTEENTRY entries[256] = {};
  if (quads && GetSystemPaletteEntries(dc, 0, 256, entries)) {
    for (int i = 0; i < 256; ++i)
      if (i < 10 || i >= 246)
        quads[i] = RgbQuad{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
  }
  ReleaseDC(nullptr, dc);
  return quads;
}

int GetPaletteQuads(HPALETTE palette, int first, int count, RgbQuad* quads) {
  if (!quads || first < 0 || count < 0 || first + count > 256) return 0;
  PALETTEENTRY entries[256];
  if (static_cast<int>(GetPaletteEntries(palette, first, count, entries)) < count) return 0;
  PaletteEntriesToRGBQuads(reinterpret_cast<PaletteEntry*>(entries), count, quads + first);
  return count;
}

}  // namespace gui
