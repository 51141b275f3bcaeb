#pragma once
// Small window, text, bitmap and printer routines the whole program uses.
// They keep no state; failures show only in their return values.
#include <windows.h>
#include <commdlg.h>

#include <cstdint>

namespace shell {

// SetWindowLongPtrA / GetWindowLongPtrA at byte offset index * slot size.
LONG_PTR SetWindowSlot(HWND window, int index, LONG_PTR value);
LONG_PTR GetWindowSlot(HWND window, int index);

// Centres the window over `over` (its parent when null): over the client
// area when the window is its child, else over its window rectangle; a
// negative left or top becomes 1.
void CenterWindow(HWND window, HWND over);
// Centres over `over`'s window rectangle and keeps the window on the screen
// (left and top at least 0).
void CenterWindowOnScreen(HWND window, HWND over);
// Grows the item to the height its text needs (centred, word-wrapped, no
// prefix) and the window by the same amount, moving the other children
// down by it. Returns the growth in pixels (0 when the text fits).
int FitDialogItemToText(HWND dialog, int itemId);

void InitFileDialogRecord(OPENFILENAMEA* record, HWND owner, char* fileBuffer);
// FillRect for a brush with a style; a hollow brush's rectangle is outlined
// with a pen of the brush colour.
void FrameOrFillRect(HDC dc, const RECT* rect, HBRUSH brush);
// A rectangle not wholly inside the work area moves to its top-left corner.
void KeepRectInWorkArea(RECT* rect);
void ClientRectToScreen(HWND window, RECT* rect);
void ScreenRectToClient(HWND window, RECT* rect);

// -1 for a null list or an item outside it; otherwise scrolls the item into
// view and returns the previous top index (-1 when scrolling fails).
int ScrollListBoxToItem(HWND list, int item);
bool IsWindowOrAncestorIconic(HWND window);
// RedrawWindow (0x487) on every top-level window of the window's instance.
void RedrawAllInstanceWindows(HWND window);
SIZE MeasureText(HWND window, const char* text, HFONT font);
// The length of the first prefix wider than `width`, or the whole length.
int FitTextLength(HWND window, const char* text, HFONT font, int width);

// A new bitmap turned a quarter turn: source (x, y) goes to
// (y, width - 1 - x). Null on failure.
HBITMAP RotateBitmap90(HDC dc, HBITMAP bitmap);
// A packed DIB in global memory (GlobalAllocPtr) with its colour table;
// null on failure. bits 0 keeps the bitmap's depth.
void* CaptureWindowDib(HBITMAP bitmap, int bits, HPALETTE palette);
// Writes the 14-byte file header and the packed DIB; false on failure.
bool WriteDibToFile(const char* path, const void* dib);

BOOL CALLBACK PrintAbortProc(HDC dc, int error);
bool InstallPrintAbortProc(HDC dc);
// The text at the offset held in the second 16-bit word of a printer-name
// block; false for a null block or an offset past its end.
bool GetDevNamesText(HGLOBAL names, char* out, size_t outSize);
bool SetPrintOrientation(HGLOBAL devMode, int value);  // 1 or 2
bool SetPrintColor(HGLOBAL devMode, int value);        // 1 or 2
bool SetPrintQuality(HGLOBAL devMode, int value);      // -4 to -1

}  // namespace shell
