// The rooms' backgrounds drawn: the lobby's tile under a window's client
// area, the gradient's bands, and the background pictures of a rectangle.
// Screenshot: <build>/screenshots/startup_wallpaper.png.
#include "shell/startup/win32/wallpaper_paint.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "gui/gui_memory.h"
#include "screenshot.h"

namespace {

using shell::ScreenBackground;

std::string Tile(const char* name) {
  std::string p = tess_test::BuildPath(std::string("Data/Wallpaper/") + name);
  for (char& c : p)
    if (c == '/') c = '\\';
  return p;
}

ScreenBackground Bitmap(const char* name) {
  ScreenBackground bg;
  std::snprintf(bg.path, sizeof bg.path, "%s", Tile(name).c_str());
  return bg;
}

ScreenBackground Gradient(COLORREF top, COLORREF bottom) {
  ScreenBackground bg;
  bg.bitmapMode = false;
  bg.colour1 = top;
  bg.colour2 = bottom;
  return bg;
}

TEST(Wallpaper, BackgroundPicturesOfARectangle) {
  gui::PackedDIB* tile = gui::ReadDIBFile(Tile("tile.bmp").c_str());
  ASSERT_NE(tile, nullptr);
  gui::PackedDIB* tiled = shell::BuildBackground(Bitmap("tile.bmp"), tile, 150, 70);
  ASSERT_NE(tiled, nullptr);
  EXPECT_EQ(tiled->biBitCount, tile->biBitCount);
  EXPECT_EQ(gui::DIBWidth(tiled), 150);
  // The tile repeats: a pixel one tile's width on is the same.
  int w = gui::DIBWidth(tile);
  if (w < 150) {
    int bytes = tile->biBitCount / 8;
    EXPECT_EQ(0, std::memcmp(gui::DIBPixelPtr(tiled, 3, 5), gui::DIBPixelPtr(tiled, 3 + w, 5),
                             static_cast<size_t>(bytes)));
  }
  gui::GlobalFreePtr(tiled);
  EXPECT_EQ(shell::BuildBackground(Bitmap("tile.bmp"), nullptr, 10, 10), nullptr);
  EXPECT_EQ(shell::BuildBackground(Bitmap("tile.bmp"), tile, 0, 10), nullptr);
  gui::GlobalFreePtr(tile);

  // A gradient of one row is colour 1; of several, colour 2 is nearly
  // reached at the bottom. 16 bits per pixel, 5 bits a channel.
  gui::PackedDIB* one =
      shell::BuildBackground(Gradient(RGB(248, 0, 0), RGB(0, 0, 248)), nullptr, 4, 1);
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(one->biBitCount, 16);
  const uint8_t* p = gui::DIBPixelPtr(one, 0, 0);
  EXPECT_EQ(p[0] | (p[1] << 8), 31 << 10);
  gui::GlobalFreePtr(one);
}

TEST(Wallpaper, WindowShowsTheTileAndTheGradientUnderItsClientArea) {
  // A window that paints nothing of its own, as the main frame's client.
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TessWallpaperTest";
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 40, 560,
                                320, 200, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(shell::InstallWindowWallpaper(window, Bitmap("no_such_tile.bmp")));
  ASSERT_TRUE(shell::InstallWindowWallpaper(window, Bitmap("tile.bmp")));
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  tess_test::PumpMessages(200);
  tess_test::Image img = tess_test::CaptureClient(window);
  ASSERT_FALSE(img.empty());
  EXPECT_NE(tess_test::SaveScreenshot(img, "startup_wallpaper"), "");
  gui::PackedDIB* tile = gui::ReadDIBFile(Tile("tile.bmp").c_str());
  ASSERT_NE(tile, nullptr);
  // Tiled from the corner: the window's pixels repeat the tile's.
  int w = gui::DIBWidth(tile), h = gui::DIBHeight(tile);
  EXPECT_EQ(img.At(5, 7), img.At(5 + w, 7 + h));
  EXPECT_EQ(img.At(w - 1, 2), img.At(2 * w - 1, 2));
  gui::GlobalFreePtr(tile);

  ASSERT_TRUE(shell::InstallWindowWallpaper(window, Gradient(RGB(200, 0, 0), RGB(0, 0, 200))));
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  tess_test::PumpMessages(100);
  img = tess_test::CaptureClient(window);
  EXPECT_EQ(tess_test::ComparePixels(img, {{10, 0, RGB(200, 0, 0), 8},
                                           {10, img.height - 1, RGB(0, 0, 200), 8},
                                           {10, img.height / 2, RGB(100, 0, 100), 8}}),
            "");
  DestroyWindow(window);
  // Destroyed, the window lets its wallpaper go; another can take one.
  HWND other = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               wc.hInstance, nullptr);
  EXPECT_TRUE(shell::InstallWindowWallpaper(other, Gradient(0, 0)));
  shell::RemoveWindowWallpaper();
  DestroyWindow(other);
}

}  // namespace
