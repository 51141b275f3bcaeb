#pragma once
// TrueType text into 8-bit packed DIBs through a glyph cache. Each glyph is a
// 1-bit bitmap from the font; the text DIB takes the ink DIB's pixels where a
// glyph is set and index 0 (the key of 8-bit key copies) everywhere else.
//
// The font side (a scratch device context with a selected font and its glyph
// outlines) is the CwfDevice interface: the Windows build implements it with
// GDI, tests with a fake. The layout, the cache and the composition here are
// the same in both builds.
#include <cstdint>

#include "gui/utils.h"

namespace gui {

// A 16.16 fixed-point transform, stored with eM22 negated (glyph rows then
// arrive bottom row first, the row order of a bottom-up DIB).
struct CwfMat2 {
  int32_t eM11, eM12, eM21, eM22;
};

struct CwfGlyphMetrics {
  uint32_t blackBoxX, blackBoxY;
  int32_t originX, originY;
  int16_t cellIncX, cellIncY;
};
using CwfTextMetrics = CwfGlyphMetrics;  // the same shape, for a whole text

int32_t CwfToFixed(double value);
int32_t CwfFixedRound(int32_t fixed);
// eM11 = x, eM12 = b, eM21 = a, eM22 = -y; a zero scale makes both scales 1.
void CwfSetMat2(CwfMat2* m, double xScale, double yScale, double a, double b);
void CwfSetMat2Rotation(CwfMat2* m, double degrees);
// The matrix with the integer word of eM22 negated (its fraction kept).
CwfMat2 CwfUprightMat2(const CwfMat2& m);

// A 1-bit bottom-up DIB: black and white colour table, rows padded to 4 bytes.
PackedDIB* CwfCreateMonoDIB(int32_t width, int32_t height);

class CwfDevice {
 public:
  virtual ~CwfDevice() = default;
  // The selected font's height and ascent; false on failure.
  virtual bool TextMetrics(int32_t* height, int32_t* ascent) = 0;
  // Glyph metrics for the matrix given (already upright).
  virtual bool GlyphMetrics(uint32_t ch, const CwfMat2& upright, CwfGlyphMetrics* out) = 0;
  // The glyph's 1-bit bitmap, rendered with the stored matrix; its origin as
  // the upright request gives it. Null on failure.
  virtual PackedDIB* GlyphBitmap(uint32_t ch, const CwfMat2& stored, CwfGlyphMetrics* out) = 0;
  // Makes and selects a font (face null: "Courier New"); false on failure.
  virtual bool SelectFont(const char* face, int32_t width, int32_t height, int32_t weight) = 0;
};

// The scratch device of the renderers that make their own font (a hidden
// window's device context on Windows). Null natively unless a test installs
// a factory.
using CwfDeviceFactory = CwfDevice* (*)(int32_t width, int32_t height);
using CwfFontProbe = bool (*)(const char* face, int32_t width, int32_t height, int32_t weight);
CwfDevice* CwfOpenScratchDevice(int32_t width, int32_t height);  // platform default
bool CwfFontAccepted(const char* face, int32_t width, int32_t height, int32_t weight);
void SetCwfPlatform(CwfDeviceFactory factory, CwfFontProbe probe);

// Glyph cache: up to 6 font keys of 256 glyphs each, emptied by a flush.
struct CwfFontKey {
  int32_t height;
  CwfMat2 matrix;
};
constexpr int kCwfCacheRows = 6;
PackedDIB* CwfLookupGlyph(CwfDevice* dev, uint32_t ch, const CwfMat2& m, CwfGlyphMetrics* out);
void cacheBitmap(CwfDevice* dev, uint32_t ch, const CwfMat2& m, const CwfGlyphMetrics& metrics,
                 PackedDIB* bitmap);
bool CwfIsCachedBitmap(const PackedDIB* bitmap);
void CwfFreeGlyphBitmap(PackedDIB* bitmap);
void CwfFlushGlyphCache();
int CwfCachedRowCount();

PackedDIB* CwfGetGlyphBitmap(CwfDevice* dev, uint32_t ch, const CwfMat2& m, CwfGlyphMetrics* out);
// Width and height of the glyph's black box; 0 by 0 on failure.
DibSize CwfGetGlyphMetrics(CwfDevice* dev, uint32_t ch, const CwfMat2& m, CwfGlyphMetrics* out);
PackedDIB* CwfRenderGlyphDIB(CwfDevice* dev, uint32_t ch, const PackedDIB* ink, const CwfMat2& m,
                             CwfGlyphMetrics* out);

// One rendered line or column holds at most this many characters.
constexpr int kCwfMaxLineChars = 256;
// Wrapped texts hold 1 to this many characters.
constexpr int kCwfMaxWrappedChars = 511;

PackedDIB* CwfRenderTextToDIB(CwfDevice* dev, const char* text, const PackedDIB* ink,
                              const CwfMat2* m, CwfTextMetrics* out);
PackedDIB* CwfRenderTextColumn(CwfDevice* dev, const char* text, const PackedDIB* ink,
                               const CwfMat2* m, CwfTextMetrics* out);
DibSize CwfMeasureText(CwfDevice* dev, const char* text, const CwfMat2* m, CwfTextMetrics* out);
PackedDIB* CwfRenderTextFitted(const char* text, const DibRect& target, const char* face,
                               const PackedDIB* ink, const CwfMat2* m, CwfTextMetrics* out);
PackedDIB* CwfRenderTextWrapped(const char* text, const char* face, int32_t width, int32_t height,
                                const PackedDIB* ink, const CwfMat2* m, CwfTextMetrics* out,
                                int32_t limit);
PackedDIB* CwfRenderTextShadowed(const char* text, const char* face, int32_t width, int32_t height,
                                 const PackedDIB* ink, const CwfMat2* m, CwfTextMetrics* out,
                                 int32_t depth, uint8_t shadowIndex);

// The text drawn by the system's text routine (DrawTextA) in the face and
// size given: in black on the template's size (CwfRenderTextGDI), or on an
// 8-bit image whose outside takes the flood index while the letters' closed
// counters keep the background index (CwfRenderTextGDIFlood). Windows only:
// natively there is no system text routine and they give null.
PackedDIB* CwfRenderTextGDI(const char* text, const char* face, int32_t width, int32_t height,
                            const PackedDIB* templ, const CwfMat2* m, CwfTextMetrics* out);
PackedDIB* CwfRenderTextGDIFlood(const char* text, const char* face, int32_t width, int32_t height,
                                 const PackedDIB* templ, const CwfMat2* m, CwfTextMetrics* out,
                                 uint8_t textIndex, uint8_t floodIndex, uint8_t backgroundIndex);
// The characters stacked top to bottom (CwfRenderTextColumn in that font).
PackedDIB* CwfRenderTextVertical(const char* text, const char* face, int32_t width, int32_t height,
                                 const PackedDIB* ink, const CwfMat2* m, CwfTextMetrics* out);

// Line breaking of the wrapped renderer: [start, end) of each line given the
// black-box width of each character. A line is never empty.
struct CwfLine {
  int start, end;
};
int CwfBreakLines(const char* text, const int32_t* widths, int count, int32_t limit, CwfLine* lines,
                  int maxLines);

// The text style.
constexpr uint32_t kCwfStyleOwned = 16;
struct CwfTextStyle {
  uint32_t size;
  int32_t width, height;
  char face[32];
  int32_t weight;
  int32_t background;
  uint32_t italic, strikeOut, underline;
  DibRect rect;
  PackedDIB* ink;
  CwfMat2 matrix;
  CwfTextMetrics metrics;
  uint32_t flags;
};

CwfTextStyle* CwfTextStyleCreate();
int CwfTextStyleFree(CwfTextStyle* style);
int CwfTextStyleSetFont(CwfTextStyle* style, const char* face, int32_t width, int32_t height,
                        int32_t weight, int32_t underline, int32_t italic, int32_t strikeOut);
int CwfTextStyleSetBackground(CwfTextStyle* style, int32_t index);
int CwfTextStyleSetBitmapSize(CwfTextStyle* style, int32_t width, int32_t height, int32_t index);
int CwfTextStyleSetTransform(CwfTextStyle* style, double x, double y, double a, double b);
PackedDIB* CwfTextStyleRenderFitted(CwfTextStyle* style, const char* text);
PackedDIB* CwfTextStyleRenderWrapped(CwfTextStyle* style, const char* text, int32_t limit);
PackedDIB* CwfTextStyleRenderShadowed(CwfTextStyle* style, const char* text, uint8_t shadowIndex,
                                      int32_t depth);
PackedDIB* CwfTextStyleRenderVertical(CwfTextStyle* style, const char* text);
PackedDIB* CwfTextStyleRenderGDI(CwfTextStyle* style, const char* text);
PackedDIB* CwfTextStyleRenderGDIFlood(CwfTextStyle* style, const char* text, uint8_t textIndex,
                                      uint8_t floodIndex, uint8_t backgroundIndex);

}  // namespace gui
