// The skinned buttons, labels, edits and spin field in a dialog made from an
// in-memory template, under Wine: each is driven with its messages, the
// notifications its parent receives are recorded and compared, key pixels
// are checked, and a screenshot is saved: <build>/screenshots/gui_widgets.png.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "gui/bmp_button_model.h"
#include "gui/gui_core.h"
#include "gui/skin_reader.h"
#include "gui/widget_skin_reader.h"
#include "gui/win32/gui_frame.h"
#include "gui/win32/gui_widgets1.h"
#include "gui/win32/gui_widgets2.h"
#include "gui/win32/gui_win32.h"
#include "dialog_template.h"
#include "screenshot.h"

namespace gui {
namespace {

using tess_test::BuildPath;
using tess_test::PumpMessages;

enum : int {
  kPlay = 101,
  kHints,
  kEnglish,
  kFrench,
  kGroup,
  kRepeat,
  kLabel,
  kName,
  kSpin,
  kNotes,
  kSave,
  kEmptyLabel,
  kLog
};

// What the dialog received: WM_COMMAND (id, code) and WM_KEYUP (key).
struct Notice {
  UINT msg;
  int id;
  int code;
  bool operator==(const Notice& o) const { return msg == o.msg && id == o.id && code == o.code; }
};
std::vector<Notice> g_notices;

std::ostream& operator<<(std::ostream& os, const Notice& n) {
  return os << "{" << std::hex << n.msg << std::dec << " " << n.id << " " << n.code << "}";
}

INT_PTR CALLBACK DialogProc(HWND, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      g_notices.push_back({msg, LOWORD(wp), HIWORD(wp)});
      if (HIWORD(wp) == kNotifySpinText) {
        // The parent words the number, longer than the shared text holds.
        char* text = reinterpret_cast<char*>(lp);
        int level = std::atoi(text);
        std::snprintf(text, kSpinTextSize, "Level %d", level);
        if (level == 9) std::memset(text, 'x', kSpinTextSize);  // no end written
      }
      return TRUE;
    case WM_KEYUP:
      g_notices.push_back({msg, static_cast<int>(wp), 0});
      return TRUE;
    case kMsgParentBackground:
      return TRUE;  // the dialog class draws its felt under the child
    default:
      return FALSE;
  }
}

std::vector<Notice> Take(int id) {
  std::vector<Notice> out;
  for (const Notice& n : g_notices)
    if (n.id == id) out.push_back(n);
  g_notices.clear();
  return out;
}

// An in-memory dialog template: the skinned dialog class, then one item per
// widget, each naming its class.
struct Item {
  const char* cls;
  const char* text;
  DWORD style;
  short x, y, cx, cy;
  int id;
};

std::vector<WORD> DialogTemplate(const std::vector<Item>& items) {
  std::vector<tess_test::DialogItem> controls;
  for (const Item& i : items)
    controls.push_back({i.cls, i.style, i.x, i.y, i.cx, i.cy, static_cast<WORD>(i.id), i.text});
  // 0x1000: tiled felt.
  return tess_test::BuildDialogTemplate(
      {kDialogClassName, "Widgets", WS_POPUP | WS_CAPTION | WS_SYSMENU | 0x1000, 240, 190},
      controls);
}

// Pixel layout of the items (dialog units depend on the font).
struct Place {
  int id, x, y, w, h;
};
const Place kPlaces[] = {
    {kPlay, 16, 16, 110, 24},   {kRepeat, 136, 16, 110, 24}, {kSave, 256, 16, 100, 24},
    {kGroup, 16, 52, 200, 96},  {kEnglish, 28, 80, 170, 20}, {kFrench, 28, 106, 170, 20},
    {kHints, 232, 60, 160, 20}, {kLabel, 232, 90, 150, 20},  {kSpin, 232, 114, 80, 22},
    {kName, 16, 162, 200, 22},  {kNotes, 232, 150, 150, 50}, {kEmptyLabel, 390, 16, 20, 20},
    {kLog, 440, 110, 110, 100},
};

void Click(HWND w, int x = 6, int y = 6) {
  SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  PumpMessages(30);
}

bool Woody(COLORREF c) {
  return GetRValue(c) > GetGValue(c) && GetGValue(c) > GetBValue(c) && GetRValue(c) >= 60;
}

class WidgetsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    for (const char* f : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf"})
      AddFontResourceExA(BuildPath(f).c_str(), FR_PRIVATE, nullptr);
    ASSERT_EQ(GuiInitialize(instance), 1);
    std::string skinIni = BuildPath("Data/Skin/standard_skin.ini");
    GuiFrameSkin frame;
    GuiBuildDefaultFrameSkin(&frame);
    ASSERT_TRUE(GuiLoadFrameSkinFromFile(skinIni.c_str(), &frame, &registry_)) << skinIni;
    ASSERT_EQ(GuiApplyFrameSkin(0, &frame), 1);
    GuiSkin skin;
    GuiBuildDefaultSkin(&skin);
    skin.imageSource = registry_;
    skin.identity = 0;
    skin.font = GuiCreateSmoothFont("DejaVu Sans", 9, 400, false);
    EXPECT_EQ(GuiReadWidgetSkin(skinIni.c_str(), registry_, &skin), 4);
    // The scroll-bar group as the application fills it from the skin's images.
    const char* scroll[kScrollImageCount] = {
        "V_TOP_BUTTON_UP",   "V_TOP_BUTTON_DOWN",  "V_BOTTOM_BUTTON_UP",  "V_BOTTOM_BUTTON_DOWN",
        "V_TRACK_UP",        "V_TRACK_UP",         "V_THUMB_TOP_UP",      "V_THUMB_CENTER_UP",
        "V_THUMB_BOTTOM_UP", "V_THUMB_TOP_DOWN",   "V_THUMB_CENTER_DOWN", "V_THUMB_BOTTOM_DOWN",
        "H_LEFT_BUTTON_UP",  "H_LEFT_BUTTON_DOWN", "H_RIGHT_BUTTON_UP",   "H_RIGHT_BUTTON_DOWN",
        "H_TRACK_UP",        "H_TRACK_DOWN",       "H_THUMB_LEFT_UP",     "H_THUMB_CENTER_UP",
        "H_THUMB_RIGHT_UP",  "H_THUMB_LEFT_DOWN",  "H_THUMB_CENTER_DOWN", "H_THUMB_RIGHT_DOWN"};
    for (int i = 0; i < kScrollImageCount; ++i)
      skin.scroll.imageIds[i] = registry_->IdOf(std::string("SCROLL_") + scroll[i]);
    skin.scroll.present = 1;
    // The other families' groups, so one dialog can show every widget.
    const char* tab[kTabPage] = {"LEFT_DOWN",   "LEFT_UP",   "LEFT_DISABLED",
                                 "CENTER_DOWN", "CENTER_UP", "CENTER_DISABLED",
                                 "RIGHT_DOWN",  "RIGHT_UP",  "RIGHT_DISABLED"};
    for (int i = 0; i < kTabPage; ++i)
      skin.tab.imageIds[i] = registry_->IdOf(std::string("TAB_") + tab[i]);
    skin.tab.imageIds[kTabPage] = registry_->IdOf("TAB_BACKGROUND");
    skin.tab.colors[kTabText] = RGB(59, 36, 18);
    skin.tab.colors[kTabText + 1] = RGB(246, 236, 212);
    skin.tab.colors[kTabText + 2] = RGB(200, 186, 168);
    skin.tab.colors[kTabShadow] = RGB(70, 42, 22);
    skin.tab.colors[kTabLight] = RGB(204, 164, 84);
    skin.tab.colors[kTabDark] = RGB(70, 42, 22);
    skin.tab.frameWidth = 2;
    skin.tab.present = 1;
    skin.trackbar = {RGB(70, 42, 22), RGB(204, 164, 84), RGB(246, 236, 212),
                     RGB(22, 70, 40), RGB(70, 42, 22),   RGB(70, 42, 22)};
    skin.combo.fieldHeight = 20;
    skin.splitter = {RGB(176, 128, 78), RGB(214, 170, 120), RGB(70, 42, 22)};
    ASSERT_EQ(GuiInitDefaultSkin(0), 1);
    ASSERT_EQ(GuiApplySkin(0, &skin), 1);

    std::vector<Item> items = {
        // The group box first: siblings after it paint over it.
        {"CGUIBMPButton", "Lexicon", BS_GROUPBOX, 0, 0, 100, 50, kGroup},
        {"CGUIBMPButton", "&Play", BS_PUSHBUTTON, 0, 0, 60, 14, kPlay},
        {"CGUIBMPButton", "Show hints", BS_AUTOCHECKBOX | WS_TABSTOP, 0, 0, 60, 10, kHints},
        {"CGUIBMPButton", "English", BS_AUTORADIOBUTTON | WS_GROUP, 0, 0, 60, 10, kEnglish},
        {"CGUIBMPButton", "French", BS_AUTORADIOBUTTON, 0, 0, 60, 10, kFrench},
        {"CGUIBMPButton", "Repeat", BS_PUSHBUTTON | 0x1000, 0, 0, 60, 14, kRepeat},
        {"CGUIStatic", "Time per move:", 0, 0, 0, 60, 10, kLabel},
        {"CGUIEdit", "Ada", ES_AUTOHSCROLL, 0, 0, 60, 12, kName},
        {"CGUISpinEdit", "1:999:5:1", 0, 0, 0, 40, 12, kSpin},
        {"CGUIRichEdit", "Notes on the game", ES_MULTILINE, 0, 0, 60, 20, kNotes},
        {"CGUIBMPButton", "Save", BS_PUSHBUTTON | WS_DISABLED, 0, 0, 60, 14, kSave},
        {"CGUIStatic", "", 0, 0, 0, 10, 10, kEmptyLabel},
        {"CGUIEdit", "", ES_MULTILINE | WS_VSCROLL, 0, 0, 60, 40, kLog},
    };
    tmpl_ = DialogTemplate(items);
    dialog_ = CreateDialogIndirectParamA(instance, reinterpret_cast<DLGTEMPLATE*>(tmpl_.data()),
                                         nullptr, DialogProc, 0);
    ASSERT_NE(dialog_, nullptr);
    // Bottom right of the screen, away from the other window tests' windows
    // (they run at the same time and read the screen).
    SetWindowPos(dialog_, nullptr, 704, 560, 570, 250, SWP_NOZORDER);
    for (const Place& p : kPlaces)
      SetWindowPos(GetDlgItem(dialog_, p.id), nullptr, p.x, p.y, p.w, p.h,
                   SWP_NOZORDER | SWP_FRAMECHANGED);
    ShowWindow(dialog_, SW_SHOW);
    PumpMessages(300);
  }
  static void TearDownTestSuite() {
    if (dialog_) DestroyWindow(dialog_);
    GuiFreeFrameSkin();
    SkinRegistryDestroy(registry_);
    GuiShutdown();
  }
  void SetUp() override {
    ASSERT_NE(dialog_, nullptr);
    PumpMessages(20);
    g_notices.clear();
  }
  static HWND Ctl(int id) { return GetDlgItem(dialog_, id); }

  static HWND dialog_;
  static SkinRegistry* registry_;
  static std::vector<WORD> tmpl_;
};
HWND WidgetsTest::dialog_ = nullptr;
SkinRegistry* WidgetsTest::registry_ = nullptr;
std::vector<WORD> WidgetsTest::tmpl_;

TEST_F(WidgetsTest, EveryWidgetIsCreated) {
  for (const Place& p : kPlaces)
    EXPECT_NE(Ctl(p.id), nullptr) << p.id;
  char cls[32];
  GetClassNameA(Ctl(kSpin), cls, sizeof cls);
  EXPECT_STREQ(cls, "CGUISpinEdit");
}

TEST_F(WidgetsTest, ButtonsClickByMouseOnly) {
  Click(Ctl(kPlay));
  EXPECT_EQ(Take(kPlay), (std::vector<Notice>{{WM_COMMAND, kPlay, BN_CLICKED}}));
  // Space on a focused button does nothing.
  SetFocus(Ctl(kPlay));
  g_notices.clear();
  SendMessageA(Ctl(kPlay), WM_KEYDOWN, VK_SPACE, 0);
  SendMessageA(Ctl(kPlay), WM_CHAR, ' ', 0);
  SendMessageA(Ctl(kPlay), WM_KEYUP, VK_SPACE, 0);
  PumpMessages(20);
  EXPECT_TRUE(Take(kPlay).empty());
  // A check box toggles on each click.
  Click(Ctl(kHints));
  EXPECT_EQ(SendMessageA(Ctl(kHints), BM_GETCHECK, 0, 0), BST_CHECKED);
  Click(Ctl(kHints));
  EXPECT_EQ(SendMessageA(Ctl(kHints), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(Take(kHints), (std::vector<Notice>{{WM_COMMAND, kHints, BN_CLICKED},
                                               {WM_COMMAND, kHints, BN_CLICKED}}));
  Click(Ctl(kFrench));
  EXPECT_EQ(SendMessageA(Ctl(kFrench), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(WidgetsTest, HeldAutoRepeatButtonTicksUntilReleased) {
  HWND repeat = Ctl(kRepeat);
  EXPECT_EQ(SendMessageA(repeat, kMsgRepeatPeriod, 0, 0), 200);
  EXPECT_EQ(SendMessageA(repeat, kMsgRepeatPeriod, 60, 0), 200);
  SendMessageA(repeat, BM_SETSTATE, TRUE, 0);
  PumpMessages(400);
  SendMessageA(repeat, BM_SETSTATE, FALSE, 0);
  std::vector<Notice> ticks = Take(kRepeat);
  EXPECT_GE(ticks.size(), 3u);
  for (const Notice& n : ticks)
    EXPECT_EQ(n.code, kNotifyRepeat);
  PumpMessages(200);
  EXPECT_TRUE(Take(kRepeat).empty());
  // A plain push button never ticks.
  SendMessageA(Ctl(kPlay), BM_SETSTATE, TRUE, 0);
  PumpMessages(300);
  SendMessageA(Ctl(kPlay), BM_SETSTATE, FALSE, 0);
  EXPECT_TRUE(Take(kPlay).empty());
}

TEST_F(WidgetsTest, ImageSlotsAreBoundedAndSkinImagesNeverFreed) {
  HWND play = Ctl(kPlay);
  EXPECT_EQ(SendMessageA(play, kMsgSetImage, 5, 1234), 0);  // slot 5 is refused
  EXPECT_EQ(SendMessageA(play, kMsgFreeImage, 9, 0), 0);
  EXPECT_EQ(SendMessageA(play, BM_SETIMAGE, 6, 0), 0);
  // The check box's marks belong to the skin: taken out, not freed.
  EXPECT_EQ(SendMessageA(Ctl(kHints), kMsgFreeImage, 0, 0), 0);
  // An image the button built is freed once, and the slot then is empty.
  EXPECT_NE(SendMessageA(play, kMsgFreeImage, 2, 0), 0);
  EXPECT_EQ(SendMessageA(play, kMsgFreeImage, 2, 0), 0);
  SetWindowTextA(play, "&Play");  // rebuilds every image
  SetWindowPos(Ctl(kHints), nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);  // re-skins
}

TEST_F(WidgetsTest, SpinStepsClampsFiltersAndNotifies) {
  HWND spin = Ctl(kSpin);
  HWND edit = FindWindowExA(spin, nullptr, "CGUIEdit", nullptr);
  ASSERT_NE(edit, nullptr);
  char text[32];
  EXPECT_EQ(SendMessageA(spin, kMsgSpinGetPos, 0, 0), 5);
  EXPECT_EQ(SendMessageA(spin, kMsgSpinGetRange, 0, 0), MAKELONG(1, 999));
  SendMessageA(spin, WM_VSCROLL, SB_PAGEUP, 0);
  EXPECT_EQ(SendMessageA(spin, kMsgSpinGetPos, 0, 0), 15);
  SendMessageA(edit, WM_KEYDOWN, VK_DOWN, 0);  // the arrow keys step
  EXPECT_EQ(SendMessageA(spin, kMsgSpinGetPos, 0, 0), 14);
  SendMessageA(edit, WM_KEYDOWN, VK_HOME, 0);
  EXPECT_EQ(SendMessageA(spin, kMsgSpinGetPos, 0, 0), 1);
  PumpMessages(20);
  EXPECT_EQ(Take(kSpin), (std::vector<Notice>{{WM_COMMAND, kSpin, kNotifySpinChanged},
                                              {WM_COMMAND, kSpin, kNotifySpinChanged},
                                              {WM_COMMAND, kSpin, kNotifySpinChanged}}));
  // The up arrow steps too.
  HWND up = FindWindowExA(spin, nullptr, "CGUIBMPButton", nullptr);
  ASSERT_NE(up, nullptr);
  Click(up, 3, 3);
  EXPECT_EQ(SendMessageA(spin, kMsgSpinGetPos, 0, 0), 2);
  // A new range moves the value to its nearest bound.
  EXPECT_EQ(SendMessageA(spin, kMsgSpinSetRange, static_cast<WPARAM>(-1), MAKELONG(10, 20)), 10);
  GetWindowTextA(edit, text, sizeof text);
  EXPECT_STREQ(text, "10");
  EXPECT_EQ(SendMessageA(spin, kMsgSpinSetPos, 500, 0), 20);
  // Letters are refused; a typed value past the range is clamped; a leading
  // zero goes.
  SendMessageA(edit, WM_CHAR, 'a', 0);
  GetWindowTextA(edit, text, sizeof text);
  EXPECT_STREQ(text, "20");
  SetWindowTextA(edit, "017");
  GetWindowTextA(edit, text, sizeof text);
  EXPECT_STREQ(text, "17");
  EXPECT_EQ(SendMessageA(spin, kMsgSpinGetPos, 0, 0), 17);
  SetWindowTextA(edit, "75");
  GetWindowTextA(edit, text, sizeof text);
  EXPECT_STREQ(text, "20");
  SendMessageA(spin, kMsgSpinSetRange, 12, MAKELONG(1, 999));
}

TEST_F(WidgetsTest, ReadOnlySpinLetsItsParentWordTheNumber) {
  HWND spin =
      CreateWindowExA(0, "CGUISpinEdit", "1:9:3:1", WS_CHILD | kSpinParentText, 0, 0, 120, 22,
                      dialog_, reinterpret_cast<HMENU>(140), GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(spin, nullptr);
  HWND edit = FindWindowExA(spin, nullptr, "CGUIEdit", nullptr);
  ASSERT_NE(edit, nullptr);
  EXPECT_NE(GetWindowLongA(edit, GWL_STYLE) & ES_READONLY, 0);
  char text[2048];
  GetWindowTextA(edit, text, sizeof text);
  EXPECT_STREQ(text, "Level 3");
  SendMessageA(spin, WM_VSCROLL, SB_LINEUP, 0);
  GetWindowTextA(edit, text, sizeof text);
  EXPECT_STREQ(text, "Level 4");
  // A parent that fills the whole text without an end: cut, not overrun.
  SendMessageA(spin, kMsgSpinSetPos, 9, 0);
  EXPECT_EQ(GetWindowTextLengthA(edit), static_cast<int>(kSpinTextSize) - 1);
  std::vector<Notice> n = Take(140);
  ASSERT_FALSE(n.empty());
  EXPECT_EQ(n.front().code, kNotifySpinText);
  DestroyWindow(spin);
}

TEST_F(WidgetsTest, ImageLabelShowsItsRegistryImageUntilGivenText) {
  int id = static_cast<int>(registry_->IdOf("SPIN_TOP_UP"));
  ASSERT_NE(id, 0);
  HWND label = CreateWindowExA(0, "CGUIStatic", "", WS_CHILD | WS_VISIBLE | kLabelImage, 420, 16,
                               15, 11, dialog_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(label, nullptr);
  char text[16] = "unchanged";
  EXPECT_EQ(SendMessageA(label, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)), 0);
  EXPECT_STREQ(text, "");  // an image label has no text
  SendMessageA(label, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Now text"));
  EXPECT_EQ(SendMessageA(label, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)), 8);
  EXPECT_EQ(SendMessageA(label, kMsgFreeImage, 0, 0), 0);  // the registry's image stays
  DestroyWindow(label);
}

TEST_F(WidgetsTest, LabelsKeepTheirTextAndReportEmptyPaints) {
  HWND label = Ctl(kLabel);
  SendMessageA(label, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Time per move:"));
  char text[8];
  EXPECT_EQ(SendMessageA(label, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)), 7);
  EXPECT_STREQ(text, "Time pe");  // cut to the buffer
  InvalidateRect(Ctl(kEmptyLabel), nullptr, TRUE);
  UpdateWindow(Ctl(kEmptyLabel));
  EXPECT_EQ(Take(kEmptyLabel), (std::vector<Notice>{{WM_COMMAND, kEmptyLabel, kNotifyLabelEmpty}}));
}

// A text-style label draws its caption as an image in its own font: no
// text to read back, a paint that draws, and nothing once emptied.
TEST_F(WidgetsTest, TextStyleLabelDrawsItsRenderedCaption) {
  HWND label =
      CreateWindowExA(0, "CGUIStatic", "Ada plays", WS_CHILD | WS_VISIBLE | 0x800, 390, 50, 120, 40,
                      dialog_, reinterpret_cast<HMENU>(141), GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(label, nullptr);
  char text[16] = "x";
  EXPECT_EQ(SendMessageA(label, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)), 0);
  auto paint = [label] {
    g_notices.clear();
    RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages(30);
    return Take(141);
  };
  const std::vector<Notice> drewNothing{{WM_COMMAND, 141, kNotifyLabelEmpty}};
  EXPECT_TRUE(paint().empty());
  SendMessageA(label, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  EXPECT_EQ(paint(), drewNothing);
  SendMessageA(label, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Clara"));
  EXPECT_TRUE(paint().empty());
  // A new font for the style is taken by the next caption.
  SendMessageA(label, kMsgStyleFont, MAKEWPARAM(14, 700), reinterpret_cast<LPARAM>("Courier New"));
  SendMessageA(label, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Basil"));
  EXPECT_TRUE(paint().empty());
  DestroyWindow(label);
}

TEST_F(WidgetsTest, EditPassesEnterReleaseToItsParent) {
  SendMessageA(Ctl(kName), WM_KEYUP, VK_RETURN, 0);
  ASSERT_FALSE(g_notices.empty());
  EXPECT_EQ(g_notices.back(), (Notice{WM_KEYUP, VK_RETURN, 0}));
}

TEST_F(WidgetsTest, MultiLineEditShowsTheSkinnedBarThatFollowsTheText) {
  HWND log = Ctl(kLog);
  EXPECT_EQ(GetWindowLongA(log, GWL_STYLE) & WS_VSCROLL, 0);
  EXPECT_NE(GetWindowLongA(log, GWL_STYLE) & ES_AUTOVSCROLL, 0);
  EXPECT_NE(GetWindowLongA(log, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  std::string text;
  for (int i = 1; i <= 30; ++i)
    text += "Move " + std::to_string(i) + "\r\n";
  SetWindowTextA(log, text.c_str());
  // The bar takes the right edge of the window.
  RECT r;
  GetWindowRect(log, &r);
  EXPECT_EQ(SendMessageA(log, WM_NCHITTEST, 0, MAKELPARAM(r.right - 4, (r.top + r.bottom) / 2)),
            HTVSCROLL);
  RECT client;
  GetClientRect(log, &client);
  EXPECT_LT(client.right, r.right - r.left - 8);
  // The engine's thumb drag and a scroll code both move the text.
  SendMessageA(log, 0x8612, 4, 0);
  EXPECT_EQ(SendMessageA(log, EM_GETFIRSTVISIBLELINE, 0, 0), 4);
  SendMessageA(log, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 9), 0);
  EXPECT_EQ(SendMessageA(log, EM_GETFIRSTVISIBLELINE, 0, 0), 9);
  SendMessageA(log, WM_VSCROLL, SB_TOP, 0);
}

// The rich edit's bar counts pixels: a thumb dragged to three lines' height
// shows the fourth line first.
TEST_F(WidgetsTest, RichEditBarScrollsByPixels) {
  HWND rich = CreateWindowExA(0, "CGUIRichEdit", "", WS_CHILD | ES_MULTILINE | WS_VSCROLL, 440, 110,
                              110, 100, dialog_, reinterpret_cast<HMENU>(140),
                              GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(rich, nullptr);
  EXPECT_NE(GetWindowLongA(rich, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  std::string text;
  for (int i = 1; i <= 30; ++i)
    text += "Move " + std::to_string(i) + "\r\n";
  SetWindowTextA(rich, text.c_str());
  POINTL first{}, second{};
  SendMessageA(rich, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&first),
               SendMessageA(rich, EM_LINEINDEX, 0, 0));
  SendMessageA(rich, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&second),
               SendMessageA(rich, EM_LINEINDEX, 1, 0));
  int lineHeight = static_cast<int>(second.y - first.y);
  ASSERT_GT(lineHeight, 0);
  SendMessageA(rich, 0x8612, 3 * lineHeight, 0);
  EXPECT_EQ(SendMessageA(rich, EM_GETFIRSTVISIBLELINE, 0, 0), 3);
  SendMessageA(rich, 0x8614, 0, 0);
  EXPECT_EQ(SendMessageA(rich, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  DestroyWindow(rich);
}

TEST_F(WidgetsTest, HotButtonsLightOneAtATime) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HWND a = CreateWindowExA(0, "CGUIHotButton", "Undo {p:16,192 s:80,24}", WS_CHILD | WS_VISIBLE, 0,
                           0, 10, 10, dialog_, reinterpret_cast<HMENU>(130), instance, nullptr);
  HWND b = CreateWindowExA(0, "CGUIHotButton", "Redo {p:106,192 s:80,24}", WS_CHILD | WS_VISIBLE, 0,
                           0, 10, 10, dialog_, reinterpret_cast<HMENU>(131), instance, nullptr);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  RECT ra, rb;
  GetWindowRect(a, &ra);
  GetWindowRect(b, &rb);
  MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&ra), 1);
  EXPECT_EQ(ra.left, 16);  // placed by its caption markup
  GetWindowRect(a, &ra);
  SendMessageA(a, WM_NCHITTEST, 0, MAKELPARAM(ra.left + 5, ra.top + 5));
  EXPECT_EQ(GetCapture(), a);
  EXPECT_TRUE(BmpButtonGetDisplay(a) & kBtnHover);
  SendMessageA(b, WM_NCHITTEST, 0, MAKELPARAM(rb.left + 5, rb.top + 5));
  EXPECT_EQ(GetCapture(), b);
  EXPECT_FALSE(BmpButtonGetDisplay(a) & kBtnHover);
  EXPECT_TRUE(BmpButtonGetDisplay(b) & kBtnHover);
  // A click on the lit button reaches the base button.
  Click(b, 5, 5);
  EXPECT_EQ(Take(131), (std::vector<Notice>{{WM_COMMAND, 131, BN_CLICKED}}));
  // Disabling hides it; enabling shows it again.
  EnableWindow(a, FALSE);
  EXPECT_FALSE(IsWindowVisible(a));
  EnableWindow(a, TRUE);
  EXPECT_TRUE(IsWindowVisible(a));
  // Away from every hot button: none lit, the capture let go.
  SendMessageA(b, WM_CAPTURECHANGED, 0, 0);
  EXPECT_FALSE(BmpButtonGetDisplay(b) & kBtnHover);
  PumpMessages(30);
}

// A pack of the animated button's images, drawn here: a disc on the key
// colour for the mask, the base, the click and each frame.
std::vector<std::string> g_loaded;
int g_indexLoads = 0;
int g_fakeIndex = 0;

PackedDIB* Disc(COLORREF inside) {
  PackedDIB* d = DIBCreate(40, 40, 24);
  if (!d) return nullptr;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      bool in = (x - 20) * (x - 20) + (y - 20) * (y - 20) <= 18 * 18;
      COLORREF c = in ? inside : RGB(255, 0, 255);
      uint8_t* p = DIBPixelPtr(d, x, y);
      p[0] = GetBValue(c);
      p[1] = GetGValue(c);
      p[2] = GetRValue(c);
    }
  return d;
}

void* FakeIndex(const char*) {
  ++g_indexLoads;
  return &g_fakeIndex;
}

PackedDIB* FakeBitmap(const char*, const char*, const char* name, void* index) {
  if (index != &g_fakeIndex) return nullptr;
  g_loaded.push_back(name);
  std::string n = name;
  if (n == "Spin_mask.bmp") return Disc(RGB(0, 0, 0));
  if (n == "Spin_off.bmp") return Disc(RGB(112, 70, 38));
  if (n == "Spin_click.bmp") return Disc(RGB(70, 42, 22));
  int frame = n.size() > 6 ? std::atoi(n.c_str() + 4) : 0;
  return Disc(RGB(204, 164 - frame * 20, 84));
}

std::string g_tip;
void ShowTip(HWND, const RECT*, int hasText, const char* text) { g_tip = hasText ? text : ""; }

TEST_F(WidgetsTest, AnimatedButtonPlaysFramesAndClicksOnItsMask) {
  AnimButtonSetArchiveFunctions(FakeIndex, FakeBitmap, nullptr);
  AnimButtonSetTooltipCallbacks(ShowTip, nullptr);
  g_loaded.clear();
  HWND anim =
      CreateWindowExA(0, "AnimButton", "Spin {p:392,60 s:40,40 d:anim n:Spin%02d.bmp #:4 r:20}",
                      WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, dialog_, reinterpret_cast<HMENU>(120),
                      GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(anim, nullptr);
  RECT r;
  GetWindowRect(anim, &r);
  MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 392);
  EXPECT_EQ(r.top, 60);
  EXPECT_EQ(r.right - r.left, 40);
  EXPECT_EQ(g_indexLoads, 1);
  EXPECT_EQ(g_loaded, (std::vector<std::string>{"Spin00.bmp", "Spin_off.bmp", "Spin_mask.bmp",
                                                "Spin_click.bmp"}));
  // A press on a transparent pixel does nothing; on the disc it clicks.
  Click(anim, 1, 1);
  EXPECT_TRUE(Take(120).empty());
  Click(anim, 20, 20);
  EXPECT_EQ(Take(120), (std::vector<Notice>{{WM_COMMAND, 120, 0}}));
  // Pressed on the disc, dragged off it and released: no click.
  RECT screen;
  GetWindowRect(anim, &screen);
  SendMessageA(anim, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  SendMessageA(anim, WM_NCHITTEST, 0, MAKELPARAM(screen.left + 1, screen.top + 1));
  SendMessageA(anim, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
  PumpMessages(30);
  EXPECT_TRUE(Take(120).empty());
  // Hovering the disc plays the frames from the shared cache.
  SetCursorPos(screen.left + 20, screen.top + 20);
  SendMessageA(anim, WM_NCHITTEST, 0, MAKELPARAM(screen.left + 20, screen.top + 20));
  PumpMessages(400);
  int frames = 0;
  for (const std::string& n : g_loaded)
    frames += n == "Spin02.bmp" || n == "Spin03.bmp";
  EXPECT_GE(frames, 2);
  // The hover text reaches the game's tooltip.
  SendMessageA(anim, kMsgHoverText,
               reinterpret_cast<WPARAM>("A text longer than the tooltip holds"), 0);
  SendMessageA(anim, WM_MOUSEHOVER, 0, 0);
  EXPECT_EQ(g_tip, "A text longer than the tooltip ");  // 31 characters kept
  SetCursorPos(1279, 1023);                             // out of every test's windows
  SendMessageA(anim, WM_NCHITTEST, 0, MAKELPARAM(1279, 1023));
  PumpMessages(50);
}

TEST_F(WidgetsTest, ScreenshotShowsTheSkin) {
  RedrawWindow(dialog_, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpMessages(200);
  tess_test::Image shot = tess_test::CaptureWindow(dialog_);
  ASSERT_FALSE(shot.empty());
  EXPECT_NE(tess_test::SaveScreenshot(shot, "gui_widgets"), "");
  tess_test::Image client = tess_test::CaptureClient(dialog_);
  // The push button's wood at its middle, away from the caption.
  EXPECT_TRUE(Woody(client.At(16 + 6, 16 + 12))) << std::hex << client.At(22, 28);
  // The edit's ivory inside its border, the check box's ivory face.
  EXPECT_EQ(tess_test::ComparePixels(client, {{16 + 190, 162 + 11, RGB(250, 244, 226), 8},
                                              {232 + 6, 60 + 10, RGB(250, 244, 226), 12}}),
            "");
  // The label's cream text on the felt.
  RECT labelRect{232, 90, 382, 110};
  int cream = tess_test::CountPixels(client, labelRect, [](COLORREF c) {
    return GetRValue(c) > 200 && GetGValue(c) > 190 && GetBValue(c) > 160;
  });
  EXPECT_GT(cream, 20);
}

}  // namespace
}  // namespace gui

namespace gui {
namespace {

// Last: the other families' widgets in a second dialog below the first, so
// one screenshot shows every widget of the toolkit in one skin.
TEST_F(WidgetsTest, ZEveryWidgetInOneScreenshot) {
  std::vector<Item> items = {
      {"CGUITabWnd", "", 0, 0, 0, 10, 10, 201},
      {"CGUIScrollBar", "", SBS_VERT, 0, 0, 10, 10, 202},
      {"CGUITrackbar", "", 1 /* automatic ticks */, 0, 0, 10, 10, 203},
      {"CGUISplitter", "", 0, 0, 0, 10, 10, 204},
      {"CGUIComboBox", "", CBS_DROPDOWNLIST, 0, 0, 10, 10, 205},
      {"CGUIStatic", "Opponent:", 0, 0, 0, 10, 10, 206},
  };
  std::vector<WORD> t = DialogTemplate(items);
  HWND second = CreateDialogIndirectParamA(
      GetModuleHandleA(nullptr), reinterpret_cast<DLGTEMPLATE*>(t.data()), nullptr, DialogProc, 0);
  ASSERT_NE(second, nullptr);
  SetWindowTextA(second, "More widgets");
  RECT first;
  GetWindowRect(dialog_, &first);
  SetWindowPos(second, nullptr, first.left, first.bottom + 8, 570, 190, SWP_NOZORDER);
  const Place places[] = {{201, 16, 12, 250, 130},  {202, 280, 12, 17, 130},
                          {203, 310, 12, 230, 30},  {204, 310, 52, 230, 6},
                          {205, 400, 70, 140, 120}, {206, 310, 72, 80, 20}};
  for (const Place& p : places)
    SetWindowPos(GetDlgItem(second, p.id), nullptr, p.x, p.y, p.w, p.h,
                 SWP_NOZORDER | SWP_FRAMECHANGED);
  HWND tabs = GetDlgItem(second, 201);
  const char* names[] = {"Game", "Board", "Sound"};
  for (int i = 0; i < 3; ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(names[i]);
    SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
  HWND track = GetDlgItem(second, 203);
  SendMessageA(track, TBM_SETRANGE, TRUE, MAKELONG(0, 10));
  SendMessageA(track, TBM_SETPOS, TRUE, 6);
  HWND combo = GetDlgItem(second, 205);
  for (const char* s : {"Basil", "Clara", "Dmitri"})
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  SendMessageA(combo, CB_SETCURSEL, 1, 0);
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 20, 5, 4, 0};
  SendMessageA(GetDlgItem(second, 202), SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&si));
  ShowWindow(second, SW_SHOW);
  RedrawWindow(dialog_, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpMessages(300);
  RECT below;
  GetWindowRect(second, &below);
  RECT both{first.left, first.top, std::max(first.right, below.right), below.bottom};
  EXPECT_NE(tess_test::SaveScreenshot(tess_test::CaptureScreen(both), "gui_all_widgets"), "");
  DestroyWindow(second);
}

}  // namespace
}  // namespace gui
