// The sprite engine on a real window under Wine: tiles composed into the
// canvas over a layer-drawn background, the dirty rectangles copied to the
// window, a move that repaints only what it touched, and a wipe. Key pixels
// are read back from the screen; <build>/screenshots/gui_sprites.png.
#include <windows.h>

#include <gtest/gtest.h>

#include "gui/Animate.h"
#include "gui/gui_memory.h"
#include "screenshot.h"

namespace gui {
namespace {

constexpr int kW = 240, kH = 160;

struct Scene {
  Canvas* canvas;
  PackedDIB* background;
};

void Background(void*, const DibInfoHeader*, uint8_t*, int32_t, int32_t, int32_t l, int32_t t,
                int32_t r, int32_t b, intptr_t user) {
  const Scene* s = reinterpret_cast<const Scene*>(user);
  DibRect rect{l, t, r - 1, b - 1};
  CanvasCopyOpaque(s->canvas, s->background, 0, 0, &rect);
}

PackedDIB* Tile(COLORREF colour) {
  PackedDIB* d = DIBCreate(30, 30, 24);
  DIBFill(d, colour);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x)
      if ((x < 3 || x > 26) && (y < 3 || y > 26)) {  // keyed corners
        uint8_t* p = DIBPixelPtr(d, x, y);
        p[0] = 0xFF, p[1] = 0, p[2] = 0xFF;
      }
  return d;
}

TEST(SpritesWindow, DirtyRectanglesReachTheWindow) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = instance;
  wc.hbrBackground = nullptr;  // the engine paints everything
  wc.lpszClassName = "TessarinSpriteTest";
  ASSERT_TRUE(RegisterClassA(&wc));
  RECT frame{0, 0, kW, kH};
  AdjustWindowRect(&frame, WS_POPUP | WS_BORDER, FALSE);
  // Clear of the other window tests' places, and on top of them.
  HWND window = CreateWindowExA(
      WS_EX_TOPMOST, wc.lpszClassName, "", WS_POPUP | WS_BORDER | WS_VISIBLE, 30, 840,
      frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
  ASSERT_NE(window, nullptr);
  tess_test::PumpMessages(200);

  AnimateEngine* e = Animate::Create(window);
  ASSERT_EQ(Animate::SetSize(e, kW, kH), 0);
  PackedDIB* felt = DIBCreate(kW, kH, 24);
  DIBFill(felt, RGB(36, 104, 62));
  Scene scene{&e->canvas, felt};
  ASSERT_EQ(Animate::AddLayer(e, Background, kAnimFarthest, kAnimFarthest,
                              reinterpret_cast<intptr_t>(&scene)),
            0);
  PackedDIB* ivory = Tile(RGB(250, 244, 226));
  PackedDIB* brass = Tile(RGB(204, 164, 84));
  int fIvory = Animate::DefineFrameFromImage(e, ivory);
  int fBrass = Animate::DefineFrameFromImage(e, brass);
  int a = Animate::AllocSprite(e), b = Animate::AllocSprite(e);
  Animate::SetSpriteFrame(e, a, fIvory);
  Animate::SetSpriteFrame(e, b, fBrass);
  DibRect all{0, 0, kW - 1, kH - 1};
  Animate::InvalidateRect(e, &all);
  Animate::MoveSprite(e, a, 40, 40, 10, 2);
  Animate::MoveSprite(e, b, 55, 55, 5, 2);  // nearer: over the ivory tile
  HDC dc = GetDC(window);
  Animate::DrawFocusRects(e, dc);
  tess_test::PumpMessages(100);  // the window system shows what was drawn
  tess_test::Image img = tess_test::CaptureClient(window);
  EXPECT_EQ(tess_test::ComparePixels(
                img, {{45, 45, RGB(250, 244, 226), 6},
                      {60, 60, RGB(204, 164, 84), 6},
                      {56, 56, RGB(250, 244, 226), 6},  // the ivory tile through b's keyed corner
                      {83, 83, RGB(36, 104, 62), 6},
                      {150, 120, RGB(36, 104, 62), 6}}),
            "");
  // A move repaints the old and new places; the felt returns under the old.
  Animate::MoveSprite(e, b, 150, 100, 5, 2);
  EXPECT_EQ(e->dirtyCount, 2);  // too far apart to merge
  Animate::DrawFocusRects(e, dc);
  tess_test::PumpMessages(100);
  img = tess_test::CaptureClient(window);
  EXPECT_EQ(tess_test::ComparePixels(img, {{60, 60, RGB(250, 244, 226), 6},
                                           {160, 110, RGB(204, 164, 84), 6},
                                           {20, 20, RGB(36, 104, 62), 6}}),
            "");
  // A wipe composes depth 0 only, here a walnut curtain, and reveals it
  // inside its own rectangle alone.
  PackedDIB* walnut = DIBCreate(kW, kH, 24);
  DIBFill(walnut, RGB(112, 70, 38));
  Scene curtain{&e->canvas, walnut};
  ASSERT_EQ(Animate::AddLayer(e, Background, 0, 0, reinterpret_cast<intptr_t>(&curtain)), 0);
  DibRect strip{0, 0, 19, kH - 1};
  Animate::InvalidateRect(e, &strip);
  Animate::Wipe(e, dc, kWipeDown);
  tess_test::PumpMessages(100);
  img = tess_test::CaptureClient(window);
  EXPECT_EQ(
      tess_test::ComparePixels(img, {{10, 80, RGB(112, 70, 38), 6}, {21, 80, RGB(36, 104, 62), 6}}),
      "");
  EXPECT_NE(tess_test::SaveScreenshot(img, "gui_sprites"), "");
  ReleaseDC(window, dc);
  Animate::Destroy(e);
  GlobalFreePtr(felt);
  GlobalFreePtr(walnut);
  GlobalFreePtr(ivory);
  GlobalFreePtr(brass);
  DestroyWindow(window);
}

}  // namespace
}  // namespace gui
