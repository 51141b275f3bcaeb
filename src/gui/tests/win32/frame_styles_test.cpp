// The skin's alternative looks of a frame: menu-bar item styles (text items,
// image items, rendered items) and the caption text modes (drawn, given with
// the images, baked in).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "gui/gui_core.h"
#include "gui/gui_memory.h"
#include "gui/skin_reader.h"
#include "gui/win32/gui_frame.h"
#include "gui/win32/gui_menu_win32.h"
#include "gui/win32/gui_win32.h"

namespace gui {
namespace {

std::string BuildPath(const std::string& rel) {
  std::string p = std::string("Z:") + TESS_BUILD_DIR + "/" + rel;
  for (char& c : p)
    if (c == '/') c = '\\';
  return p;
}

void Pump(int ms) {
  DWORD end = GetTickCount() + ms;
  while (GetTickCount() < end) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
      DispatchMessageA(&msg);
    Sleep(10);
  }
}

PackedDIB* Solid24(int w, int h, uint8_t r, uint8_t g, uint8_t b) {
  PackedDIB* d = DIBCreate(w, h, 24);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = DIBPixelPtr(d, x, y);
      p[0] = b;
      p[1] = g;
      p[2] = r;
    }
  return d;
}

COLORREF CanvasPixel(PackedDIB* d, int x, int y) {
  const uint8_t* p = DIBPixelPtr(d, x, y);
  return RGB(p[2], p[1], p[0]);
}

class MenuBarStyles : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GuiInitialize(GetModuleHandleA(nullptr)), 1);
    GuiBuildDefaultFrameSkin(&skin_);
    skin_.menu.present = 1;
    skin_.menu.marginX = 6;
    skin_.menu.marginY = 2;
    skin_.menu.highlight = RGB(10, 200, 30);
    menu_ = GuiCreateMenu();
    GuiAppendMenu(menu_, 0, 1, "&Game");
    GuiAppendMenu(menu_, 0, 2, "&Help");
    menu_->items[0].images[0] = Solid24(40, 20, 200, 0, 0);
    bar_ = GuiMenuBarCreate(nullptr, menu_);
  }
  void TearDown() override {
    GuiMenuBarDestroy(bar_);
    GuiDestroyMenu(menu_);
    GuiFreeFrameSkin();
    GuiShutdown();
  }
  void Install(int style) {
    skin_.menu.style = style;
    ASSERT_EQ(GuiApplyFrameSkin(0, &skin_), 1);
  }
  GuiFrameSkin skin_;
  GuiMenu* menu_ = nullptr;
  GuiMenuBar* bar_ = nullptr;
  const RECT barRect_{0, 0, 400, 40};
};

TEST_F(MenuBarStyles, ItemsTakeTheSizeOfTheirStyle) {
  Install(kMenuTextItems);
  GuiMenuBarLayout(bar_, barRect_);
  const DibRect text = menu_->items[1].rect;
  EXPECT_LT(text.bottom - text.top, 40);  // text height plus margins, not the bar's
  EXPECT_GT(text.right - text.left, 12);

  Install(kMenuImageItems);
  GuiMenuBarLayout(bar_, barRect_);
  const DibRect image = menu_->items[0].rect;
  EXPECT_EQ(image.right - image.left, 40);
  EXPECT_EQ(image.bottom - image.top, 20);
  // Without an image the item keeps its text width, so it can still be hit.
  EXPECT_EQ(menu_->items[1].rect.right - menu_->items[1].rect.left, text.right - text.left);

  Install(kMenuRenderedItems);
  GuiMenuBarLayout(bar_, barRect_);
  EXPECT_EQ(menu_->items[1].rect.bottom - menu_->items[1].rect.top, 40);
}

TEST_F(MenuBarStyles, PaintingFollowsTheStyle) {
  PackedDIB* canvas = DIBCreate(400, 40, 24);
  Install(kMenuImageItems);
  GuiMenuBarPaint(bar_, canvas, barRect_, true);
  const DibRect image = menu_->items[0].rect;
  EXPECT_EQ(CanvasPixel(canvas, image.left + 2, image.top + 2), RGB(200, 0, 0));

  Install(kMenuTextItems);
  bar_->hot = 1;
  GuiMenuBarPaint(bar_, canvas, barRect_, true);
  const DibRect lit = menu_->items[1].rect;
  EXPECT_EQ(CanvasPixel(canvas, lit.left + 1, lit.top + 1), RGB(10, 200, 30));
  GlobalFreePtr(canvas);
}

// Pure green pixels in the frame's caption band: the caption colour.
int CaptionInk(HWND frame) {
  RECT wr;
  GetWindowRect(frame, &wr);
  HDC screen = GetDC(nullptr);
  int n = 0;
  for (int y = wr.top + 5; y < wr.top + 31; ++y)
    for (int x = wr.left + 10; x < wr.left + 300; x += 1)
      if (GetPixel(screen, x, y) == RGB(0, 255, 0)) ++n;
  ReleaseDC(nullptr, screen);
  return n;
}

TEST(CaptionModes, BakedTextShowsAndGivenImagesStandAlone) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  ASSERT_GT(AddFontResourceExA(BuildPath("DejaVuSans.ttf").c_str(), FR_PRIVATE, nullptr), 0);
  ASSERT_EQ(GuiInitialize(instance), 1);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = GuiDefFrameProc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.lpszClassName = "TessarinCaptionModes";
  ASSERT_TRUE(RegisterClassExA(&wc));
  int ink[4] = {};
  for (int mode : {kCaptionImage, kCaptionBaked}) {
    GuiFrameSkin skin;
    GuiBuildDefaultFrameSkin(&skin);
    SkinRegistry* registry = nullptr;
    ASSERT_TRUE(GuiLoadFrameSkinFromFile(BuildPath("Data/Skin/standard_skin.ini").c_str(), &skin,
                                         &registry));
    GuiFrameGroup& g = skin.groups[kKindThick];
    g.captionTextMode = mode;
    g.captionColor[0] = g.captionColor[1] = RGB(0, 255, 0);
    std::strcpy(g.captionFace, "DejaVu Sans");
    g.captionHeight = 18;
    g.captionWidth = 0;
    ASSERT_EQ(GuiApplyFrameSkin(0, &skin), 1);
    GuiFrameCreateParams params{};
    HWND frame = GuiCreateWindowEx(0, wc.lpszClassName, "WWWW MMMM", WS_OVERLAPPEDWINDOW | 0x1, 20,
                                   20, 420, 200, nullptr, nullptr, instance, &params);
    ASSERT_NE(frame, nullptr);
    ShowWindow(frame, SW_SHOW);
    UpdateWindow(frame);
    Pump(300);
    ink[mode] = CaptionInk(frame);
    DestroyWindow(frame);
    GuiFreeFrameSkin();
  }
  EXPECT_EQ(ink[kCaptionImage], 0);
  EXPECT_GT(ink[kCaptionBaked], 20);
  GuiShutdown();
}

}  // namespace
}  // namespace gui
