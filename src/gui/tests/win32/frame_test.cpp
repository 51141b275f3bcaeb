// Visual test of the toolkit under Wine: the standard skin on a frame with a
// menu bar, a status bar, a dialog and an open popup menu with a submenu.
// Checks structure and key pixels, then saves a screenshot for people to look
// at: <build>/screenshots/gui_frame.png.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "gui/gui_core.h"
#include "gui/gui_memory.h"
#include "gui/skin_reader.h"
#include "gui/win32/gui_frame.h"
#include "gui/win32/gui_menu_win32.h"
#include "gui/win32/gui_win32.h"
#include "screenshot.h"

namespace gui {
namespace {

using tess_test::BuildPath;

void Pump(int ms) { tess_test::PumpMessages(ms); }

COLORREF ScreenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  COLORREF c = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return c;
}

bool Woody(COLORREF c) {  // a brown: red over green over blue
  return GetRValue(c) > GetGValue(c) && GetGValue(c) > GetBValue(c) && GetRValue(c) >= 40 &&
         GetRValue(c) <= 220;
}

int g_commands = 0;
UINT g_lastCommand = 0;

LRESULT CALLBACK FrameProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND) {
    ++g_commands;
    g_lastCommand = LOWORD(wp);
    return 0;
  }
  return GuiDefFrameProc(w, msg, wp, lp);
}

HFONT g_dialogFont = nullptr;

INT_PTR CALLBACK SetupDialogProc(HWND dlg, UINT msg, WPARAM, LPARAM) {
  if (msg == WM_INITDIALOG) return TRUE;
  if (msg != WM_PAINT) return FALSE;
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(dlg, &ps);
  RECT rc;
  GetClientRect(dlg, &rc);
  PackedDIB* canvas = DIBCreate(rc.right, rc.bottom, 24);
  GuiFrameSkin* skin = GuiGetFrameSkin();
  const PackedDIB* felt = skin ? skin->groups[kKindDialog].images[kFrBackground] : nullptr;
  if (felt) DIBTileToDIB(felt, canvas, DibRect{0, 0, rc.right, rc.bottom}, 0, 0);
  const char* lines[] = {"Players", "1.  Ada      human", "2.  Basil    computer, level 3",
                         "Lexicon: English", "Time per move: 2 min"};
  int y = 14;
  for (const char* line : lines) {
    GuiDrawSmoothText(canvas, g_dialogFont, line, 18, y, RGB(246, 236, 212));
    y += 28;
  }
  DIBBltRGB(dc, 0, 0, rc.right, rc.bottom, 0, 0, canvas);
  GlobalFreePtr(canvas);
  EndPaint(dlg, &ps);
  return TRUE;
}

// An in-memory dialog template naming the skinned dialog class.
std::vector<WORD> DialogTemplate(const wchar_t* title) {
  std::vector<WORD> t(sizeof(DLGTEMPLATE) / 2, 0);
  auto* d = reinterpret_cast<DLGTEMPLATE*>(t.data());
  d->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | 0x20;
  d->cdit = 0;
  d->cx = 200;
  d->cy = 120;
  t.push_back(0);  // no menu
  for (const char* c = kDialogClassName; *c; ++c)
    t.push_back(static_cast<WORD>(*c));
  t.push_back(0);
  for (const wchar_t* c = title; *c; ++c)
    t.push_back(*c);
  t.push_back(0);
  return t;
}

GuiMenu* BuildMenu() {
  GuiMenu* options = GuiCreateMenu();
  GuiAppendMenu(options, kMenuChecked, 2101, "&Sound effects");
  GuiAppendMenu(options, 0, 2102, "&Music");
  GuiAppendMenu(options, kMenuChecked, 2103, "Show &hints");
  GuiMenu* game = GuiCreateMenu();
  GuiAppendMenu(game, 0, 1001, "&New game\tCtrl+N");
  GuiAppendMenu(game, 0, 1002, "&Open...\tCtrl+O");
  GuiAppendMenu(game, kMenuGrayed, 1003, "&Save\tCtrl+S");
  GuiAppendMenu(game, kMenuSeparator, 0, "");
  GuiAppendMenu(game, kMenuPopup, reinterpret_cast<uintptr_t>(options), "O&ptions");
  GuiAppendMenu(game, kMenuSeparator, 0, "");
  GuiAppendMenu(game, 0, 1009, "E&xit");
  GuiDestroyMenu(options);
  GuiMenu* bar = GuiCreateMenu();
  GuiAppendMenu(bar, kMenuPopup, reinterpret_cast<uintptr_t>(game), "&Game");
  GuiDestroyMenu(game);
  for (const char* name : {"&Board", "&Training", "&Window", "&Help"}) {
    GuiMenu* sub = GuiCreateMenu();
    GuiAppendMenu(sub, 0, 3000, "&About Tessarin");
    GuiAppendMenu(bar, kMenuPopup, reinterpret_cast<uintptr_t>(sub), name);
    GuiDestroyMenu(sub);
  }
  return bar;
}

HWND VisiblePopup(HWND after) {
  HWND w = nullptr;
  while ((w = FindWindowExA(nullptr, w, "CGUIMenuPopup", nullptr)))
    if (IsWindowVisible(w) && w != after) return w;
  return nullptr;
}

TEST(GuiFrameVisual, SkinnedFrameDialogMenusAndStatusBar) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  for (const char* f : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf"})
    ASSERT_GT(AddFontResourceExA(BuildPath(f).c_str(), FR_PRIVATE, nullptr), 0) << f;
  ASSERT_EQ(GuiInitialize(instance), 1);

  GuiFrameSkin skin;
  GuiBuildDefaultFrameSkin(&skin);
  SkinRegistry* registry = nullptr;
  std::string skinIni = BuildPath("Data/Skin/standard_skin.ini");
  ASSERT_TRUE(GuiLoadFrameSkinFromFile(skinIni.c_str(), &skin, &registry)) << skinIni;
  ASSERT_EQ(GuiApplyFrameSkin(0, &skin), 1);
  const GuiFrameSkin* installed = GuiGetFrameSkin();
  ASSERT_NE(installed->groups[kKindThick].images[kFrCaption + 1], nullptr);
  ASSERT_NE(installed->menu.images[kMnBarCenter], nullptr);
  g_dialogFont = GuiCreateSmoothFont("DejaVu Sans", 10, 400, false);

  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = FrameProc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = "TessarinGuiTestFrame";
  ASSERT_TRUE(RegisterClassExA(&wc));

  GuiFrameCreateParams params{};
  params.options = kCreateStatusBar;
  HWND frame = GuiCreateWindowEx(0, wc.lpszClassName, "Tessarin - Classic game",
                                 WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | 0x1 | 0x1000, 16, 16, 780,
                                 560, nullptr, nullptr, instance, &params);
  ASSERT_NE(frame, nullptr);
  GuiSwapFrameSkinHandle(0, frame);
  EXPECT_EQ(GuiSetMenu(frame, BuildMenu()), nullptr);
  ShowWindow(frame, SW_SHOW);
  UpdateWindow(frame);

  // Status bar: two parts, texts read back.
  int rights[2] = {360, -1};
  EXPECT_EQ(SendMessageA(frame, kMsgStatusSetParts, 2, reinterpret_cast<LPARAM>(rights)), 1);
  EXPECT_EQ(SendMessageA(frame, kMsgStatusSetParts, 11, reinterpret_cast<LPARAM>(rights)), 0);
  SendMessageA(frame, kMsgStatusSetText, 255, reinterpret_cast<LPARAM>("Ready - Ada to play"));
  SendMessageA(frame, kMsgStatusSetText, 1,
               reinterpret_cast<LPARAM>("Turn 3    Ada 142  Basil 97"));
  char text[130] = {};
  EXPECT_EQ(SendMessageA(frame, kMsgStatusGetText, 255, reinterpret_cast<LPARAM>(text)), 1);
  EXPECT_STREQ(text, "Ready - Ada to play");

  // The dialog, owned by the frame.
  std::vector<WORD> tmpl = DialogTemplate(L"New game");
  HWND dialog = CreateDialogIndirectParamA(instance, reinterpret_cast<DLGTEMPLATE*>(tmpl.data()),
                                           frame, SetupDialogProc, 0);
  ASSERT_NE(dialog, nullptr);
  RECT fr;
  GetWindowRect(frame, &fr);
  SetWindowPos(dialog, nullptr, fr.left + 400, fr.top + 140, 330, 230, SWP_NOZORDER);
  ShowWindow(dialog, SW_SHOW);
  Pump(400);

  // Structure: both windows carry a frame state and a skinned non-client area.
  EXPECT_NE(SendMessageA(frame, kMsgGetFrameState, 0, 0), 0);
  EXPECT_NE(SendMessageA(dialog, kMsgGetFrameState, 0, 0), 0);
  EXPECT_EQ(GetWindowLongA(frame, GWL_STYLE) & WS_CAPTION, 0);  // the system draws no caption
  POINT origin{0, 0};
  ClientToScreen(frame, &origin);
  GetWindowRect(frame, &fr);
  int top = origin.y - fr.top;
  EXPECT_EQ(top, 5 + 26 + GuiMenuBarHeight());
  RECT menuRect = GuiFrameMenuBarRect(frame);
  EXPECT_GT(menuRect.right - menuRect.left, 600);

  // The collapse protocol and the refused close command of dialogs.
  EXPECT_EQ(SendMessageA(dialog, kMsgCollapse, 1, 0), 0);
  SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(IsWindow(dialog));

  // Key pixels: wooden captions on both windows.
  EXPECT_TRUE(Woody(ScreenPixel(fr.left + 300, fr.top + 5 + 4)))
      << std::hex << ScreenPixel(fr.left + 300, fr.top + 9);
  RECT dr;
  GetWindowRect(dialog, &dr);
  EXPECT_TRUE(Woody(ScreenPixel(dr.left + 200, dr.top + 4 + 6)));

  // Open the Game menu from the bar, then hover Options for its submenu.
  int itemX = fr.left + menuRect.left + 24, itemY = fr.top + (menuRect.top + menuRect.bottom) / 2;
  SendMessageA(frame, WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(itemX, itemY));
  Pump(200);
  HWND popup = VisiblePopup(nullptr);
  ASSERT_NE(popup, nullptr);
  RECT pr;
  GetWindowRect(popup, &pr);
  EXPECT_GE(pr.top, fr.top + menuRect.bottom - 1);  // below its bar item
  EXPECT_GT(pr.right - pr.left, 120);
  SendMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);  // New game
  SendMessageA(popup, WM_KEYDOWN, VK_UP, 0);    // wraps to Exit
  GuiMenu* bar = GuiGetMenu(frame);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->barOpen, 0);
  // Hover "Options" (the fifth item) and let the 300 ms timer open its submenu.
  POINT client{20, 0};
  {
    int y = 0, index = 0;
    for (HDC dc = GetDC(popup); dc; ReleaseDC(popup, dc), dc = nullptr) {
    }
    // Items are laid out top to bottom; find Options' rectangle through hovering.
    RECT c;
    GetClientRect(popup, &c);
    for (y = 2; y < c.bottom; y += 2) {
      SendMessageA(popup, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, y));
      GuiMenu* shown = reinterpret_cast<GuiMenu*>(0);
      (void)shown;
      index = y;
      Pump(5);
      if (VisiblePopup(popup)) break;
      if (y > c.bottom / 2 + 10) break;
    }
    client.y = index;
  }
  Pump(450);
  HWND submenu = VisiblePopup(popup);
  EXPECT_NE(submenu, nullptr);

  // Anti-aliased text in the popup: pixels between ink and cream.
  GetWindowRect(popup, &pr);
  tess_test::Image pixels = tess_test::CaptureScreen(pr);
  int between =
      tess_test::CountPixels(pixels, RECT{0, 0, pixels.width, pixels.height}, [](COLORREF c) {
        int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
        return r > 80 && r < 220 && g > 55 && g < 210 && b > 30 && b < 190 && r > b + 20;
      });
  EXPECT_GT(between, 30) << "no intermediate text shades: text is not anti-aliased";

  // Screenshot of the desktop area holding all the windows.
  RECT shot{0, 0, fr.right + 24, fr.bottom + 24};
  EXPECT_NE(tess_test::SaveScreenshot(tess_test::CaptureScreen(shot), "gui_frame"), "");

  // Choosing with Enter posts the command to the frame and closes the chain.
  if (submenu) {
    SendMessageA(submenu, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageA(submenu, WM_KEYDOWN, VK_RETURN, 0);
    Pump(100);
    EXPECT_EQ(g_lastCommand, 2101u);
    EXPECT_EQ(VisiblePopup(nullptr), nullptr);
  }

  DestroyWindow(dialog);
  DestroyWindow(frame);
  GuiFreeFrameSkin();
  SkinRegistryDestroy(registry);
  GuiShutdown();
}

}  // namespace
}  // namespace gui
