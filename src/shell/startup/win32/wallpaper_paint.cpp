#include "shell/startup/win32/wallpaper_paint.h"

#include <cstring>
#include <vector>

#include "gui/gui_memory.h"
#include "gui/win32/gui_win32.h"
#include "shell/app_context.h"
#include "shell/settings.h"
#include "shell/startup/win32/splash.h"

namespace shell {
namespace {

// The one window that shows a wallpaper, its procedure before ours, and
// what it shows.
struct WallpaperState {
  HWND window = nullptr;
  WNDPROC previous = nullptr;
  ScreenBackground bg;
  gui::PackedDIB* picture = nullptr;
};
WallpaperState g_wall;

uint16_t Pixel555(COLORREF c) {
  return static_cast<uint16_t>(((GetRValue(c) >> 3) << 10) | ((GetGValue(c) >> 3) << 5) |
                               (GetBValue(c) >> 3));
}

void FillBand(HDC dc, const RECT& band, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour & 0xFFFFFF);
  FillRect(dc, &band, brush);
  DeleteObject(brush);
}

void PaintWallpaper(HWND window, HDC dc) {
  RECT client;
  GetClientRect(window, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  if (!g_wall.bg.bitmapMode) {
    FillGradientVertical(dc, client, g_wall.bg.colour1, g_wall.bg.colour2);
    return;
  }
  // Tiled into a 24-bit canvas, so any tile depth draws with its colours.
  gui::PackedDIB* canvas = gui::DIBCreate(client.right, client.bottom, 24);
  if (!canvas) return;
  gui::DIBTileToDIB(g_wall.picture, canvas, gui::DibRect{0, 0, client.right, client.bottom}, 0, 0);
  gui::DIBBltRGB(dc, 0, 0, client.right, client.bottom, 0, 0, canvas);
  gui::GlobalFreePtr(canvas);
}

LRESULT CALLBACK WallpaperProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  WNDPROC previous = g_wall.previous;
  if (window == g_wall.window) {
    if (msg == WM_ERASEBKGND && !IsSplashShowing()) {
      PaintWallpaper(window, reinterpret_cast<HDC>(wp));
      return 1;
    }
    if (msg == WM_SIZE) InvalidateRect(window, nullptr, TRUE);
    if (msg == WM_NCDESTROY) RemoveWindowWallpaper();
  }
  return previous ? CallWindowProcA(previous, window, msg, wp, lp)
                  : DefWindowProcA(window, msg, wp, lp);
}

using GradientFill = void (*)(HDC, const RECT&, COLORREF, COLORREF);

// The DIB's pixels go into a section of its own format, the gradient is
// drawn there with GDI, and the pixels come back.
bool RenderIntoDib(HDC dc, const RECT& rect, gui::PackedDIB* dib, COLORREF colour1,
                   COLORREF colour2, GradientFill fill) {
  if (!dib) return false;
  // The header and whatever colours or masks sit before the pixels.
  const size_t head = static_cast<size_t>(gui::DIBBits(dib) - reinterpret_cast<uint8_t*>(dib));
  const size_t bytes = static_cast<size_t>(gui::DIBStride(dib)) * gui::DIBHeight(dib);
  std::vector<uint8_t> info(head + 3 * sizeof(uint32_t));  // room for masks GDI may read
  std::memcpy(info.data(), dib, head);
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS,
                                     &bits, nullptr, 0);
  if (!section || !bits) {
    if (section) DeleteObject(section);
    return false;
  }
  std::memcpy(bits, gui::DIBBits(dib), bytes);
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, section);
  RECT r = rect;
  RECT all{0, 0, gui::DIBWidth(dib), gui::DIBHeight(dib)};
  if (IntersectRect(&r, &r, &all)) fill(memory, r, colour1, colour2);
  GdiFlush();
  std::memcpy(gui::DIBBits(dib), bits, bytes);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(section);
  return true;
}

}  // namespace

gui::PackedDIB* BuildBackground(const ScreenBackground& bg, const gui::PackedDIB* picture,
                                int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  if (bg.bitmapMode) {
    if (!picture) return nullptr;
    gui::PackedDIB* dib = gui::DIBCreate(width, height, picture->biBitCount);
    if (!dib) return nullptr;
    if (picture->biBitCount <= 8) gui::DIBCopyColorTable(dib, picture);
    gui::DIBTileToDIB(picture, dib, gui::DibRect{0, 0, width, height}, 0, 0);
    return dib;
  }
  gui::PackedDIB* dib = gui::DIBCreate(width, height, 16);
  if (!dib) return nullptr;
  for (int y = 0; y < height; ++y) {
    uint16_t pixel = Pixel555(GradientColour(bg.colour1, bg.colour2, y, height));
    for (int x = 0; x < width; ++x) {
      uint8_t* p = gui::DIBPixelPtr(dib, x, y);
      p[0] = static_cast<uint8_t>(pixel & 0xFF);
      p[1] = static_cast<uint8_t>(pixel >> 8);
    }
  }
  return dib;
}

void FillGradientVertical(HDC dc, const RECT& rect, COLORREF colour1, COLORREF colour2) {
  int n = rect.bottom - rect.top;
  if (!dc || n <= 0 || rect.right <= rect.left) return;
  for (int i = 0; i < n; ++i)
    FillBand(dc, RECT{rect.left, rect.top + i, rect.right, rect.top + i + 1},
             GradientColour(colour1, colour2, i, n));
}

void FillGradientHorizontal(HDC dc, const RECT& rect, COLORREF colour1, COLORREF colour2) {
  int n = rect.right - rect.left;
  if (!dc || n <= 0 || rect.bottom <= rect.top) return;
  for (int i = 0; i < n; ++i)
    FillBand(dc, RECT{rect.left + i, rect.top, rect.left + i + 1, rect.bottom},
             GradientColour(colour1, colour2, i, n));
}

bool RenderGradientIntoDib(HDC dc, const RECT& rect, gui::PackedDIB* dib, COLORREF colour1,
                           COLORREF colour2) {
  return RenderIntoDib(dc, rect, dib, colour1, colour2, FillGradientVertical);
}

bool RenderGradientIntoDibHorizontal(HDC dc, const RECT& rect, gui::PackedDIB* dib,
                                     COLORREF colour1, COLORREF colour2) {
  return RenderIntoDib(dc, rect, dib, colour1, colour2, FillGradientHorizontal);
}

bool InstallWindowWallpaper(HWND window, const ScreenBackground& bg) {
  if (!window) return false;
  gui::PackedDIB* picture = bg.bitmapMode ? gui::ReadDIBFile(bg.path) : nullptr;
  if (bg.bitmapMode && !picture) return false;
  RemoveWindowWallpaper();
  g_wall.window = window;
  g_wall.bg = bg;
  g_wall.picture = picture;
  g_wall.previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WallpaperProc)));
  InvalidateRect(window, nullptr, TRUE);
  return true;
}

void RemoveWindowWallpaper() {
  if (g_wall.window && IsWindow(g_wall.window) && g_wall.previous &&
      GetWindowLongPtrA(g_wall.window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(WallpaperProc))
    SetWindowLongPtrA(g_wall.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_wall.previous));
  gui::GlobalFreePtr(g_wall.picture);
  g_wall = WallpaperState{};
}

bool InstallMainWindowWallpaper(HWND mainWindow) {
  ScreenBackground bg;
  bg.roomId = 0;
  if (!LoadBackgroundSettings(nullptr, GetWallpaperSetting(), GetWallpaperFolder(), &bg))
    return false;
  return InstallWindowWallpaper(mainWindow, bg);
}

}  // namespace shell
