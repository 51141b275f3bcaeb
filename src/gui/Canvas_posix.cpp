// The canvas natively: the surface is a plain zero-filled block and there is
// no device to copy to, so blits and palette calls succeed without effect.
#include <chrono>
#include <cstdio>
#include <cstring>

#include "gui/Canvas.h"
#include "gui/gui_memory.h"

namespace gui {

namespace {
int g_deviceBits = 24;
}

namespace testing {
void SetCanvasDeviceBits(int bits) { g_deviceBits = bits; }
}  // namespace testing

void CanvasPlatformReport(int code, int where) {
  std::fprintf(stderr, "Canvas error %d at line %d\r\n", code, where);
}

int CanvasDeviceBits() { return g_deviceBits; }

int CanvasCreateSection(Canvas* c, int32_t width, int32_t height) {
  if (!c || width <= 0 || height <= 0 || width > kMaxDibSide || height > kMaxDibSide)
    return CanvasReport(kCanvasNull, 721);
  if (int e = CanvasInitHeader(c)) return e;
  GlobalFreePtr(c->bits);
  c->bits = nullptr;
  c->header.biWidth = width;
  c->header.biHeight = height;
  c->topDown = 0;
  size_t size = static_cast<size_t>(DIBStrideFor(width, c->header.biBitCount)) * height;
  c->bits = static_cast<uint8_t*>(GlobalAllocPtr(size));
  if (!c->bits) return CanvasReport(kCanvasNoSurface, 785);
  c->section = c->bits;
  c->dc = c;  // stands for the memory device context
  return 0;
}

int CanvasDestroy(Canvas* c) {
  if (!c) return CanvasReport(kCanvasNull, 363);
  GlobalFreePtr(c->bits);
  c->bits = nullptr;
  c->section = c->oldBitmap = c->dc = nullptr;
  return 0;
}

int CanvasBlt(void*, const DibRect*, Canvas* c, int, const RgbQuad*) {
  return c ? 0 : CanvasReport(kCanvasNull, 811);
}

int CanvasStretchBlt(void*, const DibRect*, Canvas* c, int, int, const RgbQuad*) {
  return c ? 0 : CanvasReport(kCanvasNull, 1030);
}

int CanvasSyncColorTable(Canvas*) { return 0; }
int CanvasSetSectionColors(Canvas*, int, int) { return 0; }
int CanvasAnimatePalette(void*, int, int, const CanvasPaletteEntry*) { return 0; }

int CanvasCreatePalette(Canvas* c, int, int, void** out) {
  if (!c) return CanvasReport(kCanvasNull, 286);
  if (out) *out = nullptr;
  return CanvasReport(kCanvasGdi, 297);
}

int CanvasSetPalette(Canvas* c, void* palette, int* outCount) {
  if (!c) return CanvasReport(kCanvasNull, 1003);
  c->palette = palette;
  if (outCount) *outCount = 0;
  return 0;
}

int CanvasRealizePalette(void*, Canvas* c, void** oldPalette, int* outCount) {
  if (!c) return CanvasReport(kCanvasNull, 943);
  if (oldPalette) *oldPalette = nullptr;
  if (outCount) *outCount = 0;
  return 0;
}

int CanvasReadSystemPalette(void*, RgbQuad* quads) {
  return quads ? CanvasReport(kCanvasNoDevice, 596) : CanvasReport(kCanvasNull, 593);
}

int CanvasUseSystemPalette(Canvas* c, void*) {
  return c ? CanvasReport(kCanvasNoDevice, 573) : CanvasReport(kCanvasNull, 570);
}

void CanvasFlush() {}

uint32_t CanvasTimeMs() {
  using namespace std::chrono;
  return static_cast<uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void CanvasDrawFocusRect(void*, const DibRect*) {}

}  // namespace gui
