// The colour text view under Wine: paragraphs appended and wrapped, links
// chosen by click and key with the commands its parent receives recorded,
// a re-wrap on resize that keeps the chosen link, key pixels in the skin's
// colours and a screenshot: <build>/screenshots/gui_colortext.png.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/color_text_model.h"
#include "gui/gui_core.h"
#include "gui/list_view_skin.h"
#include "gui/win32/gui_listview.h"
#include "gui/win32/gui_win32.h"
#include "support/screenshot.h"

namespace gui {
namespace {

std::vector<std::string> g_commands;

LRESULT CALLBACK ParentProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND)
    g_commands.push_back(std::to_string(LOWORD(wp)) + ":" + std::to_string(HIWORD(wp)));
  if (msg == WM_CTLCOLORSTATIC) return 0;  // the view keeps its own background
  return DefWindowProcA(w, msg, wp, lp);
}

std::vector<std::string> Take() {
  std::vector<std::string> out;
  out.swap(g_commands);
  return out;
}

void Append(HWND v, const char* text, uint32_t flags, uintptr_t user, COLORREF colour = 0) {
  ColorTextParagraph p{colour, text, 0, 0, user, flags};
  SendMessageA(v, 0x8621, 0, reinterpret_cast<LPARAM>(&p));
}

uintptr_t Selected(HWND v) {
  ColorTextParagraph p{};
  return SendMessageA(v, 0x8626, 0, reinterpret_cast<LPARAM>(&p)) ? p.userData : 0;
}

TEST(ColorTextWindow, LinksAreChosenByClickAndKeyAndSurviveAResize) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  AddFontResourceExA(tess_test::BuildPath("DejaVuSans.ttf").c_str(), FR_PRIVATE, nullptr);
  AddFontResourceExA(tess_test::BuildPath("DejaVuSans-Bold.ttf").c_str(), FR_PRIVATE, nullptr);
  GuiInitialize(instance);
  RegisterCGUIColorText(instance);  // refused when the toolkit has registered it
  GuiInitDefaultSkin(0);
  GuiSkin* skin = GuiGetSkin();
  ASSERT_NE(skin, nullptr);
  ASSERT_TRUE(GuiReadListViewIni(tess_test::BuildPath("Data/Skin/list_view.ini").c_str(), skin));
  WNDCLASSA wc{};
  wc.lpfnWndProc = ParentProc;
  wc.hInstance = instance;
  wc.hbrBackground = CreateSolidBrush(RGB(36, 104, 62));
  wc.lpszClassName = "ColorTextTestParent";
  ASSERT_TRUE(RegisterClassA(&wc));
  HWND parent = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "Colour text", WS_POPUP, 840, 20,
                                420, 260, nullptr, nullptr, instance, nullptr);
  ShowWindow(parent, SW_SHOWNA);  // other tests' windows keep their activation
  HWND v = CreateWindowExA(0, "CGUIColorText", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 12, 12, 380,
                           200, parent, reinterpret_cast<HMENU>(INT_PTR{7}), instance, nullptr);
  ASSERT_NE(v, nullptr);
  HFONT font =
      CreateFontA(-14, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, ANTIALIASED_QUALITY, 0, "DejaVu Sans");
  SendMessageA(v, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);

  const COLORREF brass = RGB(150, 96, 20), ink = RGB(59, 36, 18);
  Append(v, "H8 across QUIXOTIC", kCtLink | kCtOwnColour, 1, brass);
  Append(v, "for 98 points.", 0, 0);
  Append(v, "Basil answers with", kCtItalic, 0);
  Append(v, "7F down ZEPHYR", kCtLink | kCtBold, 2);
  Append(v,
         "and then the long comment of the game, which runs over several lines so that "
         "the view has to wrap it at its spaces.",
         kCtOwnColour, 0, ink);
  Append(v, "K3 across JUKEBOX", kCtLink, 3);
  Append(v, "(challenged, and kept)", 0, 0);
  UpdateWindow(v);

  EXPECT_EQ(SendMessageA(v, 0x8629, 8, 0), 6);  // the run gap, with the previous one answered
  EXPECT_EQ(SendMessageA(v, 0x862a, 0, 0), 8);
  SendMessageA(v, 0x8629, 6, 0);
  EXPECT_STREQ(reinterpret_cast<const char*>(SendMessageA(v, 0x862d, 0, 0)), " \t\r\n");
  EXPECT_EQ(SendMessageA(v, 0x862e, 9, reinterpret_cast<LPARAM>(" ,")), 0);  // too short

  // A click on the first link, then a double click.
  Take();
  SendMessageA(v, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 8));
  EXPECT_EQ(Take(), std::vector<std::string>{"7:1"});
  EXPECT_EQ(Selected(v), 1u);
  SendMessageA(v, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 8));  // already chosen
  EXPECT_EQ(Take(), std::vector<std::string>{});
  SendMessageA(v, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 8));
  tess_test::PumpMessages(50);
  EXPECT_EQ(Take(), std::vector<std::string>{"7:2"});
  // Keys walk the links.
  SendMessageA(v, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(Selected(v), 2u);
  SendMessageA(v, WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(Selected(v), 3u);
  SendMessageA(v, WM_KEYDOWN, VK_NEXT, 0);  // no target
  EXPECT_EQ(Selected(v), 3u);
  EXPECT_EQ(Take(), (std::vector<std::string>{"7:1", "7:1"}));
  // Find, and select what was found.
  auto found = SendMessageA(v, 0x8628, 2, reinterpret_cast<LPARAM>("zephyr"));
  ASSERT_NE(found, 0);
  EXPECT_EQ(SendMessageA(v, 0x8627, 0, found), 1);
  EXPECT_EQ(Selected(v), 2u);

  // Narrower: the text wraps again and the link stays chosen.
  SetWindowPos(v, nullptr, 0, 0, 250, 200, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(Selected(v), 2u);
  SetFocus(v);
  RedrawWindow(v, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
  tess_test::PumpMessages(200);

  tess_test::Image img = tess_test::CaptureClient(v);
  ASSERT_FALSE(img.empty());
  COLORREF felt = skin->listViewColors[kLvSelectedBackground];
  COLORREF cream = skin->listViewColors[kLvBackground];
  RECT all{0, 0, img.width, img.height};
  EXPECT_GT(tess_test::CountPixels(img, all,
                                   [&](COLORREF c) { return tess_test::ColourNear(c, felt, 4); }),
            200)
      << "the chosen link is drawn in the selection colour";
  EXPECT_GT(tess_test::CountPixels(img, all,
                                   [&](COLORREF c) { return tess_test::ColourNear(c, cream, 4); }),
            img.width * img.height / 3);
  EXPECT_GT(tess_test::CountPixels(img, all,
                                   [&](COLORREF c) { return tess_test::ColourNear(c, brass, 40); }),
            20)
      << "the first link keeps its own colour";
  EXPECT_FALSE(
      tess_test::SaveScreenshot(tess_test::CaptureWindow(parent), "gui_colortext").empty());

  SendMessageA(v, 0x862c, 0, 1);  // empty
  EXPECT_EQ(Selected(v), 0u);
  DestroyWindow(parent);
  DeleteObject(font);
}

}  // namespace
}  // namespace gui
