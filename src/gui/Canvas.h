#pragma once
// Canvas: one off-screen surface in the display's depth (a DIB section in a
// memory device context on Windows, a plain block natively), its 256-entry
// colour table with a 5-5-5 word per entry, an optional palette, and the
// copies that draw images into it. The sprite engine composes its frames
// here and copies rectangles of it to the window.
//
// Operations answer 0 or an error code after reporting it: 1 a system call
// failed, 2 no memory, 3 a null canvas or argument, 4 no device context or
// palette, 5 the surface could not be made, 6 planes other than 1, 7 a
// depth the operation cannot handle. Rectangles are inclusive.
#include <cstdint>

#include "gui/utils.h"

namespace gui {

enum CanvasError : int {
  kCanvasOk = 0,
  kCanvasGdi = 1,
  kCanvasNoMemory = 2,
  kCanvasNull = 3,
  kCanvasNoDevice = 4,
  kCanvasNoSurface = 5,
  kCanvasPlanes = 6,
  kCanvasDepth = 7,
};

// Palette entries in the window system's layout (red, green, blue, flags).
struct CanvasPaletteEntry {
  uint8_t red, green, blue, flags;
};
constexpr uint8_t kPcReserved = 0x01, kPcNoCollapse = 0x04;

struct Canvas {
  void* palette;  // belongs to the caller
  DibRect clip;
  int32_t width, height;
  void* section;
  void* oldBitmap;
  void* dc;
  int32_t topDown;
  int32_t syncColors;
  uint8_t* bits;
  DibInfoHeader header;
  RgbQuad colors[256];
  uint16_t colors16[256];
};

// Mode of an owner whose size changes leave the surface alone.
constexpr int kCanvasModeKeepSurface = 2;

// Reports a failure: "Canvas error %d at line %d\r\n" to the debugger and a
// message box (natively to standard error); returns the code.
int CanvasReport(int code, int where);
// Replaces the report's output (tests); null restores it.
using CanvasReportFn = void (*)(int code, int where);
void CanvasSetReportHook(CanvasReportFn fn);

// Surface.
int CanvasDeviceBits();
int CanvasInitHeader(Canvas* canvas);
int CanvasSetSize(int ownerMode, Canvas* canvas, int32_t width, int32_t height);
int CanvasCreateSection(Canvas* canvas, int32_t width, int32_t height);
int CanvasDestroy(Canvas* canvas);
// Copies an inclusive rectangle of the surface to the same place of a device
// context. Flag bit 0: a device-context copy; bit 1 with a table: the bits
// with that colour table.
int CanvasBlt(void* dc, const DibRect* rect, Canvas* canvas, int flags, const RgbQuad* table);
int CanvasStretchBlt(void* dc, const DibRect* rect, Canvas* canvas, int scale, int flags,
                     const RgbQuad* table);
// A 1064-byte info header with 256 colours, in a new block (*out).
int CanvasMakeBitmapInfo(void** out, const DibInfoHeader* header, const RgbQuad* table);
int CanvasFreeBlock(void* block);

// Colours.
int CanvasSyncColorTable(Canvas* canvas);
int CanvasSetColor(Canvas* canvas, int index, RgbQuad quad);
int CanvasCopyColorEntry(Canvas* canvas, int to, int from);
int CanvasSetColors(Canvas* canvas, const RgbQuad* quads, int first, int last);
int CanvasGetColors(Canvas* canvas, int first, int count, RgbQuad* out);
int CanvasAnimateColors(Canvas* canvas, int first, int count, const CanvasPaletteEntry* entries);
// 256 entries: reserved on first..last, no-collapse on 10..245 unless first
// and last are both -255.
void CanvasBuildPalette(const RgbQuad* quads, int first, int last, CanvasPaletteEntry out[256]);
int CanvasCreatePalette(Canvas* canvas, int first, int last, void** out);
int CanvasSetPalette(Canvas* canvas, void* palette, int* outCount);
int CanvasRealizePalette(void* dc, Canvas* canvas, void** oldPalette, int* outCount);
int CanvasReadSystemPalette(void* dc, RgbQuad* quads);
int CanvasUseSystemPalette(Canvas* canvas, void* dc);
// One fade step of the entries 10..245 (levels 0..15); *done 0 when the
// fade had already ended, else 1. `entries` gets the 236 animated entries.
int CanvasFadeStep(Canvas* canvas, int direction, int* level, int* done);
void CanvasFadeEntries(const RgbQuad* colors, int level, CanvasPaletteEntry out[236]);

// Copies into the surface. x and y place the source's top-left pixel.
// Every copy is cut to the surface, so no pixel is written outside it.
int CanvasCopyOpaque(Canvas* canvas, const PackedDIB* image, int x, int y, const DibRect* rect);
int CanvasKeyCopy8(Canvas* canvas, const uint8_t* source, int width, int height,
                   ptrdiff_t sourceStride, int x, int y);
int CanvasKeyCopy(Canvas* canvas, const uint8_t* source, int width, int height,
                  ptrdiff_t sourceStride, int x, int y, int sourceBits);
int CanvasStippleCopy8(Canvas* canvas, const uint8_t* source, int width, int height,
                       ptrdiff_t sourceStride, int x, int y, uint8_t fill);
int CanvasStippleCopy(Canvas* canvas, const uint8_t* source, int width, int height,
                      ptrdiff_t sourceStride, int x, int y, int flag, uint8_t fill, int sourceBits);
// The surface pixel (x, y) counted from the top; null outside.
uint8_t* CanvasPixel(Canvas* canvas, int x, int y);
// Signed step from a surface row to the row below it.
ptrdiff_t CanvasRowStep(const Canvas* canvas);
// The key of a source depth: 0, 0x7C1F, 0xFF00FF or 0xFFFFFF.
uint32_t CanvasKeyFor(int bits);

// Window-system helpers of the canvas's platform half.
void CanvasFlush();
uint32_t CanvasTimeMs();
void CanvasDrawFocusRect(void* dc, const DibRect* inclusive);
int CanvasSetSectionColors(Canvas* canvas, int first, int count);
int CanvasAnimatePalette(void* palette, int first, int count, const CanvasPaletteEntry* entries);

namespace testing {
// Natively: the display depth CanvasDeviceBits answers (24 by default).
void SetCanvasDeviceBits(int bits);
}  // namespace testing

}  // namespace gui
