// The canvas on the window system: the DIB section in a memory device
// context, blits to windows, palettes and palette animation.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "gui/Canvas.h"
#include "gui/gui_memory.h"
#include "gui/raster.h"

namespace gui {

namespace {

HDC Dc(const Canvas* c) { return static_cast<HDC>(c->dc); }

struct Info256 {
  BITMAPINFOHEADER header;
  RGBQUAD colors[256];
};

void FillInfo(Info256* info, const DibInfoHeader& header, const RgbQuad* table) {
  std::memcpy(&info->header, &header, sizeof info->header);
  if (table) std::memcpy(info->colors, table, sizeof info->colors);
}

}  // namespace

namespace testing {
void SetCanvasDeviceBits(int) {}
}  // namespace testing

void CanvasPlatformReport(int code, int where) {
  char text[64];
  std::snprintf(text, sizeof text, "Canvas error %d at line %d\r\n", code, where);
  OutputDebugStringA(text);
  MessageBoxA(nullptr, text, ".\\Canvas", MB_ICONHAND);
}

int CanvasDeviceBits() {
  HDC screen = GetDC(nullptr);
  if (!screen) return CanvasReport(kCanvasGdi, 498);
  int bits = GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  return bits;
}

int CanvasCreateSection(Canvas* c, int32_t width, int32_t height) {
  if (!c || width <= 0 || height <= 0 || width > kMaxDibSide || height > kMaxDibSide)
    return CanvasReport(kCanvasNull, 721);
  if (int e = CanvasInitHeader(c)) return e;
  if (c->header.biPlanes != 1) return CanvasReport(kCanvasPlanes, 731);
  if (!c->dc) {
    c->dc = CreateCompatibleDC(nullptr);
    if (!c->dc) return CanvasReport(kCanvasNoSurface, 752);
  } else if (c->section) {
    SelectObject(Dc(c), static_cast<HGDIOBJ>(c->oldBitmap));
    DeleteObject(static_cast<HGDIOBJ>(c->section));
    c->section = nullptr;
  }
  c->header.biWidth = width;
  c->header.biHeight = height;
  Info256 info{};
  FillInfo(&info, c->header, c->colors);
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(Dc(c), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                     &bits, nullptr, 0);
  if (!section) {
    DeleteDC(Dc(c));
    c->dc = nullptr;
    c->bits = nullptr;
    return CanvasReport(kCanvasNoSurface, 785);
  }
  c->section = section;
  c->oldBitmap = SelectObject(Dc(c), section);
  c->bits = static_cast<uint8_t*>(bits);
  c->topDown = c->header.biHeight < 0;
  return 0;
}

int CanvasDestroy(Canvas* c) {
  if (!c) return CanvasReport(kCanvasNull, 363);
  if (c->dc) {
    if (c->oldBitmap) SelectObject(Dc(c), static_cast<HGDIOBJ>(c->oldBitmap));
    if (c->section) DeleteObject(static_cast<HGDIOBJ>(c->section));
    DeleteDC(Dc(c));
  }
  c->section = c->oldBitmap = c->dc = nullptr;
  c->bits = nullptr;
  return 0;
}

int CanvasBlt(void* dc, const DibRect* r, Canvas* c, int flags, const RgbQuad* table) {
  if (!c || !r) return CanvasReport(kCanvasNull, 811);
  if (!dc) return CanvasReport(kCanvasNoDevice, 814);
  int w = r->right - r->left + 1, h = r->bottom - r->top + 1;
  if (w <= 0 || h <= 0) return 0;
  if (flags & 1) {
    if (!c->dc || !c->section) return CanvasReport(kCanvasGdi, 826);
    BitBlt(static_cast<HDC>(dc), r->left, r->top, w, h, Dc(c), r->left, r->top, SRCCOPY);
    return 0;
  }
  if (!c->bits) return CanvasReport(kCanvasGdi, 826);
  Info256 info{};
  FillInfo(&info, c->header, (flags & 2) && table ? table : c->colors);
  StretchDIBits(static_cast<HDC>(dc), r->left, r->top, w, h, r->left, c->height - r->bottom - 1, w,
                h, c->bits, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY);
  return 0;
}

int CanvasStretchBlt(void* dc, const DibRect* r, Canvas* c, int scale, int flags,
                     const RgbQuad* table) {
  if (!c || !r) return CanvasReport(kCanvasNull, 1030);
  if (!dc) return CanvasReport(kCanvasNoDevice, 1033);
  if (scale == 1) return CanvasBlt(dc, r, c, flags, table);
  int w = r->right - r->left + 1, h = r->bottom - r->top + 1;
  if (w <= 0 || h <= 0) return 0;
  if (flags & 1) {
    if (!c->bits) return CanvasReport(kCanvasGdi, 1048);
    Info256 info{};
    FillInfo(&info, c->header, (flags & 2) && table ? table : c->colors);
    StretchDIBits(static_cast<HDC>(dc), r->left * scale, r->top * scale, w * scale, h * scale,
                  r->left, c->height - r->bottom - 1, w, h, c->bits,
                  reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY);
    return 0;
  }
  if (!c->dc || !c->section) return CanvasReport(kCanvasGdi, 1048);
  StretchBlt(static_cast<HDC>(dc), r->left * scale, r->top * scale, w * scale, h * scale, Dc(c),
             r->left, r->top, w, h, SRCCOPY);
  return 0;
}

int CanvasSetSectionColors(Canvas* c, int first, int count) {
  if (!c || !c->dc || c->header.biBitCount != 8) return 0;
  return SetDIBColorTable(Dc(c), first, count, reinterpret_cast<const RGBQUAD*>(c->colors + first))
             ? 0
             : 1;
}

int CanvasSyncColorTable(Canvas* c) {
  if (!c || !c->syncColors || !c->dc) return 0;
  return CanvasSetSectionColors(c, 0, 256) ? CanvasReport(kCanvasGdi, 1130) : 0;
}

int CanvasAnimatePalette(void* palette, int first, int count, const CanvasPaletteEntry* entries) {
  return AnimatePalette(static_cast<HPALETTE>(palette), first, count,
                        reinterpret_cast<const PALETTEENTRY*>(entries))
             ? 0
             : 1;
}

int CanvasCreatePalette(Canvas* c, int first, int last, void** out) {
  if (!c) return CanvasReport(kCanvasNull, 286);
  struct {
    WORD version, count;
    CanvasPaletteEntry entries[256];
  } log{0x300, 256, {}};
  CanvasBuildPalette(c->colors, first, last, log.entries);
  HPALETTE palette = CreatePalette(reinterpret_cast<LOGPALETTE*>(&log));
  if (!palette) return CanvasReport(kCanvasGdi, 297);
  c->palette = palette;
  if (out) *out = palette;
  return CanvasSyncColorTable(c);
}

int CanvasSetPalette(Canvas* c, void* palette, int* outCount) {
  if (!palette) return CanvasReport(kCanvasNoDevice, 999);
  if (!c) return CanvasReport(kCanvasNull, 1003);
  PALETTEENTRY entries[256] = {};
  UINT n = GetPaletteEntries(static_cast<HPALETTE>(palette), 0, 256, entries);
  for (UINT i = 0; i < n && i < 256; ++i)
    c->colors[i] = RgbQuad{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
  BuildTable16(c->colors, c->colors16);
  c->palette = palette;
  if (outCount) *outCount = static_cast<int>(n);
  return CanvasSyncColorTable(c);
}

int CanvasRealizePalette(void* dc, Canvas* c, void** oldPalette, int* outCount) {
  if (!c) return CanvasReport(kCanvasNull, 943);
  if (!dc) return CanvasReport(kCanvasNoDevice, 946);
  if (oldPalette) *oldPalette = nullptr;
  if (outCount) *outCount = 0;
  if (!c->palette) return 0;
  CanvasSyncColorTable(c);
  HPALETTE old = SelectPalette(static_cast<HDC>(dc), static_cast<HPALETTE>(c->palette), FALSE);
  UINT n = RealizePalette(static_cast<HDC>(dc));
  if (oldPalette) *oldPalette = old;
  if (outCount) *outCount = static_cast<int>(n);
  return 0;
}

int CanvasReadSystemPalette(void* dc, RgbQuad* quads) {
  if (!quads) return CanvasReport(kCanvasNull, 593);
  if (!dc) return CanvasReport(kCanvasNoDevice, 596);
  HDC d = static_cast<HDC>(dc);
  SetSystemPaletteUse(d, SYSPAL_NOSTATIC);
  SetSystemPaletteUse(d, SYSPAL_STATIC);
  PALETTEENTRY entries[256] = {};
  GetSystemPaletteEntries(d, 0, 256, entries);
  for (int i = 0; i < 256; ++i)
    quads[i] = RgbQuad{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
  return 0;
}

int CanvasUseSystemPalette(Canvas* c, void* dc) {
  if (!c) return CanvasReport(kCanvasNull, 570);
  if (!dc) return CanvasReport(kCanvasNoDevice, 573);
  if (int e = CanvasReadSystemPalette(dc, c->colors)) return e;
  BuildTable16(c->colors, c->colors16);
  c->syncColors = 1;
  return CanvasSyncColorTable(c);
}

void CanvasFlush() { GdiFlush(); }

uint32_t CanvasTimeMs() { return GetTickCount(); }

void CanvasDrawFocusRect(void* dc, const DibRect* r) {
  if (!dc || !r) return;
  RECT rc{r->left, r->top, r->right + 1, r->bottom + 1};
  DrawFocusRect(static_cast<HDC>(dc), &rc);
}

}  // namespace gui
