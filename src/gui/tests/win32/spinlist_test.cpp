// The picture spinner under Wine: pictures added, moved with transitions
// whose start and end its parent is told of, letters, sorting and look-ups,
// Escape handled without recursion, key pixels of the shown picture and a
// screenshot: <build>/screenshots/gui_spinlist.png.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "gui/gui_core.h"
#include "gui/gui_memory.h"
#include "gui/skin_registry.h"
#include "gui/spin_list_model.h"
#include "gui/utils.h"
#include "gui/win32/gui_listview.h"
#include "gui/win32/gui_win32.h"
#include "support/screenshot.h"

namespace gui {
namespace {

std::vector<int> g_codes;

LRESULT CALLBACK ParentProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && LOWORD(wp) == 9) g_codes.push_back(HIWORD(wp));
  return DefWindowProcA(w, msg, wp, lp);
}

std::vector<int> Take() {
  std::vector<int> out;
  out.swap(g_codes);
  return out;
}

struct Swatch {
  const char* name;
  COLORREF colour;
};
const Swatch kSwatches[] = {{"walnut", RGB(112, 70, 38)},  {"maple", RGB(176, 128, 78)},
                            {"brass", RGB(204, 164, 84)},  {"felt", RGB(36, 104, 62)},
                            {"ivory", RGB(250, 244, 226)}, {"baize", RGB(22, 70, 40)}};

// A 24-bit picture in the colour with its name written on it.
PackedDIB* Picture(const Swatch& s, int w, int h, HFONT font) {
  PackedDIB* dib = DIBCreate(w, h, 24);
  uint8_t* bits = DIBBits(dib);
  int stride = (w * 3 + 3) & ~3;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = bits + y * stride + x * 3;
      p[0] = GetBValue(s.colour);
      p[1] = GetGValue(s.colour);
      p[2] = GetRValue(s.colour);
    }
  bool light = GetRValue(s.colour) > 200;
  GuiDrawSmoothText(dib, font, s.name, 10, 8, light ? RGB(59, 36, 18) : RGB(250, 244, 226));
  return dib;
}

TEST(SpinListWindow, PicturesTurnWithTransitionsAndNotices) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  AddFontResourceExA(tess_test::BuildPath("DejaVuSans.ttf").c_str(), FR_PRIVATE, nullptr);
  GuiInitialize(instance);
  RegisterCC20SpinList(instance);  // refused when the toolkit has registered it
  GuiInitDefaultSkin(0);
  SkinRegistry* registry =
      SkinRegistryCreate(tess_test::BuildPath("Data/Skin/guiresources.txt").c_str());
  ASSERT_NE(registry, nullptr);
  GuiGetSkin()->imageSource = registry;  // the arrows' strips
  WNDCLASSA wc{};
  wc.lpfnWndProc = ParentProc;
  wc.hInstance = instance;
  wc.hbrBackground = CreateSolidBrush(RGB(36, 104, 62));
  wc.lpszClassName = "SpinListTestParent";
  ASSERT_TRUE(RegisterClassA(&wc));
  HWND parent = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "Spin list", WS_POPUP, 1000, 320,
                                260, 120, nullptr, nullptr, instance, nullptr);
  ShowWindow(parent, SW_SHOWNA);  // other tests' windows keep their activation
  HWND spin = CreateWindowExA(0, "CC20SpinList", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 30, 100,
                              30, parent, reinterpret_cast<HMENU>(INT_PTR{9}), instance, nullptr);
  ASSERT_NE(spin, nullptr);
  // The picture size while the list is empty sizes the window around it.
  EXPECT_EQ(SendMessageA(spin, 0x8645, 150, 40), 1);
  RECT wr;
  GetWindowRect(spin, &wr);
  EXPECT_EQ(wr.right - wr.left, 150 + 32 + 2);
  EXPECT_EQ(wr.bottom - wr.top, 40 + 2);

  HFONT font = GuiCreateSmoothFont("DejaVu Sans", 11, 400, false);
  for (const Swatch& s : kSwatches) {
    SpinListItem it{};
    std::strncpy(it.name, s.name, sizeof it.name - 1);
    it.picture = Picture(s, 150, 40, font);
    it.kind = kSpinPictureOwned;
    SendMessageA(spin, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(&it));
  }
  EXPECT_EQ(SendMessageA(spin, LB_GETCOUNT, 0, 0), 6);
  EXPECT_EQ(SendMessageA(spin, LB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(SendMessageA(spin, 0x8645, 10, 10), 0);  // ignored once there are items
  EXPECT_EQ(SendMessageA(spin, LB_FINDSTRING, 0, reinterpret_cast<LPARAM>("BRASS")), 2);
  EXPECT_EQ(SendMessageA(spin, LB_FINDSTRING, 0, reinterpret_cast<LPARAM>("")), -1);
  EXPECT_EQ(SendMessageA(spin, LB_GETSEL, 99, 0), 0);
  EXPECT_EQ(SendMessageA(spin, LB_DELETESTRING, 0, 0), -1);

  // A line down runs a transition: started at once, ended after its frames.
  Take();
  SendMessageA(spin, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(Take(), std::vector<int>{0x5d});
  EXPECT_EQ(SendMessageA(spin, LB_GETCURSEL, 0, 0), 1);
  tess_test::PumpMessages(400);
  EXPECT_EQ(Take(), std::vector<int>{0x5c});
  // Up twice wraps to the last item; End on the last item does nothing.
  SendMessageA(spin, WM_VSCROLL, SB_LINEUP, 0);
  SendMessageA(spin, WM_VSCROLL, SB_LINEUP, 0);
  EXPECT_EQ(SendMessageA(spin, LB_GETCURSEL, 0, 0), 5);
  tess_test::PumpMessages(400);
  Take();
  SendMessageA(spin, WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(Take(), std::vector<int>{});
  // Escape goes to the default handling, once.
  EXPECT_EQ(SendMessageA(spin, WM_KEYDOWN, VK_ESCAPE, 0), 0);
  // Letters: the first item from the top, then the next one with the letter.
  SendMessageA(spin, WM_CHAR, 'b', 0);
  EXPECT_EQ(SendMessageA(spin, LB_GETCURSEL, 0, 0), 2);
  SendMessageA(spin, WM_CHAR, 'b', 0);
  EXPECT_EQ(SendMessageA(spin, LB_GETCURSEL, 0, 0), 2);  // "brass" is followed by "felt"
  EXPECT_EQ(Take(), (std::vector<int>{0x5c, 0x5c}));
  // Sorted by name, the shown item is followed by its name.
  SendMessageA(spin, 0x8643, 0, 0);
  EXPECT_EQ(SendMessageA(spin, LB_GETCURSEL, 0, 0), 1);  // baize, brass, ...
  auto* item = reinterpret_cast<SpinListItem*>(SendMessageA(spin, LB_GETSEL, 1, 0));
  ASSERT_NE(item, nullptr);
  EXPECT_STREQ(item->name, "brass");

  SendMessageA(spin, LB_SETCURSEL, 2, 0);  // felt
  tess_test::PumpMessages(100);
  tess_test::Image img = tess_test::CaptureClient(spin);
  ASSERT_FALSE(img.empty());
  // The picture, and the brass arrow of the skin's left strip.
  EXPECT_EQ(tess_test::ComparePixels(
                img, {{16 + 140, 34, RGB(36, 104, 62), 4}, {8, 20, RGB(204, 164, 84), 12}}),
            "");
  EXPECT_FALSE(tess_test::SaveScreenshot(tess_test::CaptureWindow(parent), "gui_spinlist").empty());

  SendMessageA(spin, 0x8640, 0, 0);  // frees the pictures it owns
  EXPECT_EQ(SendMessageA(spin, LB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(SendMessageA(spin, LB_GETCURSEL, 0, 0), -1);
  DestroyWindow(parent);
  DeleteObject(font);
  GuiGetSkin()->imageSource = nullptr;
  SkinRegistryDestroy(registry);
}

}  // namespace
}  // namespace gui
