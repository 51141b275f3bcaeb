#pragma once
// The toolkit's Windows side: window, GDI and palette routines, the text
// renderers on GDI, start-up and class registration.
#include <windows.h>

#include "gui/CWF_TT.h"
#include "gui/gui_core.h"
#include "gui/utils.h"

namespace gui {

// Start-up and shut-down.
int GuiInitialize(HINSTANCE instance);
void GuiShutdown();
int GuiRegisterClasses(HINSTANCE instance);
int GuiUnregisterClasses();
HINSTANCE GuiGetInstance();
int GuiWheelScrollLines();
void GuiParseCaptionPlacement(HWND window);

// Capture hook.
int GuiBeginPopupCapture(HWND window);
void GuiEndPopupCapture();
LRESULT GuiCancelPopupCapture();
void GuiSetMouseListener(HWND window);
HWND GuiGetMouseListener();
HWND GuiGetCaptureWindow();

// Window memory: pointer-sized slots at byte offset base + index * slot size.
LONG_PTR GuiGetWindowSlot(HWND window, int base, int index);
LONG_PTR GuiSetWindowSlot(HWND window, int base, int index, LONG_PTR value);
LRESULT GuiCallWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
int GuiGetChildRect(HWND window, RECT* rect);
void GuiScreenToClientRect(HWND window, RECT* rect);
void GuiNcToClientMouse(HWND window, UINT* message, WPARAM* keys, POINT* point);
int GuiDialogKeyHelper(HWND control, UINT key);

// GDI routines: 0 on success, 1 on failure.
int GuiFillRectColor(HDC dc, const RECT* rect, COLORREF colour);
int GuiFillRectBrush(HDC dc, const RECT* rect, HBRUSH brush);
int GuiFillRectPaletteIndex(HDC dc, const RECT* rect, int index);
HPALETTE GuiSelectRealizePalette(HDC dc, int ignored, HPALETTE palette);
void SetDIBSectionColorsFromPalette(HDC dc, HPALETTE palette);
HPALETTE CopyPalette(HPALETTE palette);
void GuiRedrawInstanceWindows(HWND window);
void GuiRedrawInstanceWindowsOf(HINSTANCE instance);

// Images on device contexts.
int DIBBlt(HDC dc, int x, int y, int width, int height, int sx, int sy, const PackedDIB* dib);
int DIBBltRGB(HDC dc, int x, int y, int width, int height, int sx, int sy, const PackedDIB* dib);
int DIBTileRectAligned(int ignored, HDC dc, const PackedDIB* tile, const RECT* rect);
void DIBTileRect(HDC dc, const PackedDIB* image, const RECT* rect);
void DIBDrawThreePiece(HDC dc, const RECT* rect, const PackedDIB* start, const PackedDIB* middle,
                       const PackedDIB* end, bool vertical);
// Composition into a packed DIB: three pieces along a run at (x, y).
// Keyed: pixels of the depth's key colour (magenta at 24 bits) are skipped.
void DIBComposeThreePieceAt(PackedDIB* target, int x, int y, int length, const PackedDIB* start,
                            const PackedDIB* middle, const PackedDIB* end, bool vertical,
                            bool keyed = false);
void DIBComposeThreePiece(PackedDIB* target, const PackedDIB* start, const PackedDIB* middle,
                          const PackedDIB* end, bool vertical);
// Eight images: top start/middle/end, bottom start/middle/end, left, right.
void DIBDrawPopupFrame(HWND window, const RECT* rect, PackedDIB* const images[8], HPALETTE palette);
int DIBCopyToDIBSection(uint8_t* base, int rowOffset, const PackedDIB* dib, HBITMAP section);
// Copies the DIB's rectangle at (sx, sy) to (dx, dy) of an 8-bit section,
// writing only where the section holds the key; 0 when a rectangle leaves
// its bitmap.
int DIBSectionKeyUnder(HBITMAP section, const PackedDIB* dib, int dx, int dy, int sx, int sy,
                       int width, int height, uint8_t key);
// The whole DIB key-copied into an 8-bit section at (x, y).
int DIBCopyToSectionKeyed(int x, int y, const PackedDIB* dib, HBITMAP section, uint8_t key);
// A new DIB of the bitmap's size: 8 bits when eightBit, else its own depth.
PackedDIB* DIBCreateFromBitmap(HBITMAP bitmap, bool eightBit);
// DIBBlt of a DIB held in a loaded resource (its palette indices).
int DIBBltResource(HDC dc, int x, int y, int width, int height, int sx, int sy, HGLOBAL resource);
// Covers the rectangle with the tile, the pattern anchored at the phase,
// each piece clipped to the tile, the rectangle and the given size.
int DIBTileRectClipped(HDC dc, const PackedDIB* tile, int phaseX, int phaseY, int left, int top,
                       int width, int height);
int DIBSectionCopyToDIB(uint8_t* base, int rowOffset, PackedDIB* dib, HBITMAP section);

// Palettes.
HPALETTE CreatePaletteFromRGBQuads(const RgbQuad* quads, int first, int last);
HPALETTE CreatePaletteFromDIB(PackedDIB* dib);
int SetPaletteFromQuads(HPALETTE* palette, const RgbQuad* quads, int start, int count);
RgbQuad* GetSystemPaletteQuads(int count);
int GetPaletteQuads(HPALETTE palette, int first, int count, RgbQuad* quads);

// Text. The GDI family draws with DrawTextA; the smooth family blends the
// font's anti-aliased glyph coverage into a 24-bit image.
SIZE GuiGetTextExtent(HDC dc, const char* text);
PackedDIB* GuiRenderTextDIB(HDC dc, const char* text, const PackedDIB* templ, COLORREF colour,
                            COLORREF shadow, int prefix);
// An 8-bit image of the text's size on the template's colour table: the
// text in textIndex, the background connected to the top-left corner
// flooded with floodIndex, the letters' closed counters in backgroundIndex.
PackedDIB* GuiRenderTextDIBFlood(HDC dc, const char* text, const PackedDIB* templ8, int prefix,
                                 uint8_t textIndex, uint8_t floodIndex, uint8_t backgroundIndex);
SIZE GuiMeasureSmoothText(HFONT font, const char* text);
// Draws text with its cell's top-left at (x, y), clipped to the image.
void GuiDrawSmoothText(PackedDIB* target24, HFONT font, const char* text, int x, int y,
                       COLORREF colour);
// A font for the smooth renderers (anti-aliased quality).
HFONT GuiCreateSmoothFont(const char* face, int points, int weight, bool italic);

}  // namespace gui
