#pragma once
// The window side of the rooms' backgrounds: the background picture of a
// rectangle, the gradient fills, and the wallpaper under the main window's
// client area.
#include <windows.h>

#include "gui/utils.h"
#include "shell/wallpaper.h"

namespace shell {

// A new DIB of width x height: in bitmap mode at the picture's depth,
// tiled with it; in gradient mode 16 bits per pixel, colour 1 at the top to
// colour 2 at the bottom. Null without a size, without a picture in bitmap
// mode, or when the DIB cannot be made.
gui::PackedDIB* BuildBackground(const ScreenBackground& bg, const gui::PackedDIB* picture,
                                int width, int height);

// One-pixel bands of the gradient's colours; nothing for an empty or
// inverted rectangle or a null DC. Drawn on every system version.
void FillGradientVertical(HDC dc, const RECT& rect, COLORREF colour1, COLORREF colour2);
void FillGradientHorizontal(HDC dc, const RECT& rect, COLORREF colour1, COLORREF colour2);

// The same gradient drawn into rect of the DIB (clipped to it) through a
// DIB section of the DIB's format, compatible with dc; the rest of the DIB
// is kept. False when the DIB is null or the section cannot be made.
bool RenderGradientIntoDib(HDC dc, const RECT& rect, gui::PackedDIB* dib, COLORREF colour1,
                           COLORREF colour2);
bool RenderGradientIntoDibHorizontal(HDC dc, const RECT& rect, gui::PackedDIB* dib,
                                     COLORREF colour1, COLORREF colour2);

// Draws bg under the window's client area from now on (its picture loaded
// from bg.path); a second call replaces the first. False when the window
// is null or bitmap mode has no readable picture (the window is then left
// as it was).
bool InstallWindowWallpaper(HWND window, const ScreenBackground& bg);
void RemoveWindowWallpaper();
// The lobby's background (room 0) from the wallpaper settings file, under
// the main window.
bool InstallMainWindowWallpaper(HWND mainWindow);

}  // namespace shell
