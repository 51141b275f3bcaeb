// The scroll bar, trackbar, tab strip and splitter classes under Wine, in a
// skinned dialog made from an in-memory template with the standard skin:
// each is driven with its messages, the notifications its parent receives
// are recorded and compared with the expected stream, key pixels are checked
// and a screenshot is saved: <build>/screenshots/gui_widgets2.png.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/gui_core.h"
#include "gui/skin_reader.h"
#include "gui/view_skin.h"
#include "gui/widget_skin_reader.h"
#include "gui/win32/gui_frame.h"
#include "gui/win32/gui_widgets2.h"
#include "gui/win32/gui_win32.h"
#include "dialog_template.h"
#include "screenshot.h"

namespace gui {
namespace {

using tess_test::BuildPath;

enum : int { kIdScroll = 101, kIdTrack = 102, kIdTab = 103, kIdSplitter = 104, kIdCombo = 105 };

// What the dialog receives from its controls.
struct Note {
  UINT msg;
  WPARAM wp;
  LPARAM lp;  // a control handle, a notification code or a value
  bool operator==(const Note& o) const { return msg == o.msg && wp == o.wp && lp == o.lp; }
};
std::vector<Note> g_notes;
RECT g_splitterMoved{};

std::ostream& operator<<(std::ostream& os, const Note& n) {
  return os << std::hex << "{0x" << n.msg << ", 0x" << n.wp << ", 0x" << n.lp << "}";
}

INT_PTR CALLBACK DialogProc(HWND, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wp) != kIdCombo) return FALSE;
      g_notes.push_back({msg, wp, lp});
      return TRUE;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case 0x8612:
    case 0x8614:
      g_notes.push_back({msg, wp, lp});
      return TRUE;
    case WM_NOTIFY: {
      const auto* nm = reinterpret_cast<const NMHDR*>(lp);
      g_notes.push_back({msg, nm->idFrom, static_cast<LPARAM>(static_cast<int>(nm->code))});
      return TRUE;
    }
    case kMsgSplitterLimits: {
      auto* r = reinterpret_cast<RECT*>(lp);
      r->top = 40;  // the splitter may not rise above 40 nor sink below 200
      r->bottom = 200;
      g_notes.push_back({msg, 0, 0});
      return TRUE;
    }
    case kMsgSplitterMoved:
      g_splitterMoved = *reinterpret_cast<RECT*>(lp);
      g_notes.push_back({msg, 0, 0});
      return TRUE;
  }
  return FALSE;
}

using Item = tess_test::DialogItem;

// A template of the skinned dialog class holding the items (dialog units).
std::vector<WORD> Template(const std::vector<Item>& items) {
  return tess_test::BuildDialogTemplate(
      {kDialogClassName, "Options", WS_POPUP | WS_CAPTION | WS_SYSMENU | 0x1000, 300, 190,
       "DejaVu Sans", 9},
      items);
}

void SetImage(SkinRegistry* reg, uint32_t* id, const std::string& name) { *id = reg->IdOf(name); }

// The widget skin from the standard skin's images and colours, as the
// application fills it.
void InstallWidgetSkin(SkinRegistry* reg, HFONT font) {
  GuiSkin skin{};
  GuiBuildDefaultSkin(&skin);
  skin.imageSource = reg;
  skin.identity = 0;
  skin.font = font;
  const char* scroll[kScrollImageCount] = {
      "V_TOP_BUTTON_UP",   "V_TOP_BUTTON_DOWN",  "V_BOTTOM_BUTTON_UP",  "V_BOTTOM_BUTTON_DOWN",
      "V_TRACK_UP",        "V_TRACK_UP",         "V_THUMB_TOP_UP",      "V_THUMB_CENTER_UP",
      "V_THUMB_BOTTOM_UP", "V_THUMB_TOP_DOWN",   "V_THUMB_CENTER_DOWN", "V_THUMB_BOTTOM_DOWN",
      "H_LEFT_BUTTON_UP",  "H_LEFT_BUTTON_DOWN", "H_RIGHT_BUTTON_UP",   "H_RIGHT_BUTTON_DOWN",
      "H_TRACK_UP",        "H_TRACK_DOWN",       "H_THUMB_LEFT_UP",     "H_THUMB_CENTER_UP",
      "H_THUMB_RIGHT_UP",  "H_THUMB_LEFT_DOWN",  "H_THUMB_CENTER_DOWN", "H_THUMB_RIGHT_DOWN"};
  for (int i = 0; i < kScrollImageCount; ++i)
    SetImage(reg, &skin.scroll.imageIds[i], std::string("SCROLL_") + scroll[i]);
  skin.scroll.present = 1;
  const char* tab[kTabPage] = {"LEFT_DOWN",   "LEFT_UP",   "LEFT_DISABLED",
                               "CENTER_DOWN", "CENTER_UP", "CENTER_DISABLED",
                               "RIGHT_DOWN",  "RIGHT_UP",  "RIGHT_DISABLED"};
  for (int i = 0; i < kTabPage; ++i)
    SetImage(reg, &skin.tab.imageIds[i], std::string("TAB_") + tab[i]);
  SetImage(reg, &skin.tab.imageIds[kTabPage], "TAB_BACKGROUND");
  skin.tab.colors[kTabText] = RGB(59, 36, 18);
  skin.tab.colors[kTabText + 1] = RGB(246, 236, 212);
  skin.tab.colors[kTabText + 2] = RGB(200, 186, 168);
  skin.tab.colors[kTabShadow] = RGB(70, 42, 22);
  skin.tab.colors[kTabLight] = RGB(204, 164, 84);
  skin.tab.colors[kTabDark] = RGB(70, 42, 22);
  skin.tab.frameWidth = 2;
  for (int i = 0; i < 3; ++i)
    skin.tab.offsetY[i] = 1;
  skin.tab.present = 1;
  skin.trackbar = {RGB(70, 42, 22), RGB(204, 164, 84), RGB(246, 236, 212),
                   RGB(22, 70, 40), RGB(70, 42, 22),   RGB(70, 42, 22)};
  skin.list.colors[kListBackground] = RGB(246, 236, 212);
  skin.list.colors[kListSelectedBackground] = RGB(36, 104, 62);
  skin.list.colors[kListFocusedBackground] = RGB(141, 170, 137);
  skin.list.colors[kListText] = RGB(59, 36, 18);
  skin.list.colors[kListSelectedText] = RGB(255, 246, 224);
  skin.editColors[kEdBackground] = RGB(246, 236, 212);
  skin.editColors[kEdText] = RGB(59, 36, 18);
  skin.combo.fieldHeight = 20;
  skin.splitter = {RGB(176, 128, 78), RGB(214, 170, 120), RGB(70, 42, 22)};
  ASSERT_EQ(GuiApplySkin(0, &skin), 1);
}

class Widgets2Test : public ::testing::Test {
 protected:
  HINSTANCE instance = GetModuleHandleA(nullptr);
  SkinRegistry* registry = nullptr;
  HFONT font = nullptr;
  HWND dialog = nullptr;
  std::vector<WORD> tmpl;

  void SetUp() override {
    for (const char* f : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf"})
      ASSERT_GT(AddFontResourceExA(BuildPath(f).c_str(), FR_PRIVATE, nullptr), 0) << f;
    ASSERT_EQ(GuiInitialize(instance), 1);
    GuiFrameSkin frameSkin;
    GuiBuildDefaultFrameSkin(&frameSkin);
    std::string skinIni = BuildPath("Data/Skin/standard_skin.ini");
    ASSERT_TRUE(GuiLoadFrameSkinFromFile(skinIni.c_str(), &frameSkin, &registry));
    ASSERT_EQ(GuiApplyFrameSkin(0, &frameSkin), 1);
    font = static_cast<HFONT>(GuiCreateFontPt("DejaVu Sans", 9, 600, 0, 0));
    InstallWidgetSkin(registry, font);
    tmpl = Template({{"CGUIScrollBar", SBS_VERT, 12, 12, 10, 120, kIdScroll},
                     {"CGUITrackbar", TBS_AUTOTICKS | WS_TABSTOP, 40, 140, 150, 24, kIdTrack},
                     {"CGUITabWnd", 0, 40, 12, 240, 120, kIdTab},
                     {"CGUISplitter", 0, 200, 150, 90, 4, kIdSplitter},
                     {"CGUIComboBox", CBS_DROPDOWNLIST | WS_TABSTOP, 200, 160, 90, 60, kIdCombo}});
    dialog = CreateDialogIndirectParamA(instance, reinterpret_cast<DLGTEMPLATE*>(tmpl.data()),
                                        nullptr, DialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    // Other window tests run beside this one on the same screen: keep clear
    // of the places they use and stay on top while pixels are read back.
    SetWindowPos(dialog, HWND_TOPMOST, 740, 578, 0, 0, SWP_NOSIZE);
    ShowWindow(dialog, SW_SHOW);
    tess_test::PumpMessages(200);
    g_notes.clear();
  }
  void TearDown() override {
    if (dialog) DestroyWindow(dialog);
    GuiFreeFrameSkin();
    SkinRegistryDestroy(registry);
    DeleteObject(font);
    GuiShutdown();
  }
  HWND Item(int id) { return GetDlgItem(dialog, id); }
};

TEST_F(Widgets2Test, SkinsResolveBeforeInstalling) {
  GuiSkin* skin = GuiGetSkin();
  ASSERT_NE(skin, nullptr);
  EXPECT_EQ(skin->scroll.loaded, 1);
  EXPECT_NE(skin->scroll.images[kSbVertical + kSbFirstArrow], nullptr);
  EXPECT_EQ(skin->scrollMetrics.size1, 16);
  EXPECT_EQ(skin->tab.loaded, 1);
  EXPECT_NE(skin->tab.images[kTabPage], nullptr);
  for (int id : {kIdScroll, kIdTrack, kIdTab, kIdSplitter})
    EXPECT_NE(Item(id), nullptr) << id;
}

TEST_F(Widgets2Test, ScrollBarAnswersSbmAndForwardsItsScrolling) {
  HWND bar = Item(kIdScroll);
  LPARAM h = reinterpret_cast<LPARAM>(bar);
  SCROLLINFO si{sizeof si, SIF_PAGE, 0, 0, 5, 0, 0};
  SendMessageA(bar, SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&si));
  SendMessageA(bar, SBM_SETRANGE, 0, 10);  // the engine holds 0..14 with a page of 5
  INT lo = -1, hi = -1;
  EXPECT_EQ(
      SendMessageA(bar, SBM_GETRANGE, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi)),
      MAKELONG(0, 10));
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 10);
  g_notes.clear();
  EXPECT_EQ(SendMessageA(bar, SBM_SETPOS, 3, 0), 0);   // from 0: no earlier position to report
  EXPECT_EQ(SendMessageA(bar, SBM_SETPOS, 25, 0), 3);  // held at the maximum, 10
  EXPECT_EQ(SendMessageA(bar, SBM_GETPOS, 0, 0), 10);
  // A click on the first arrow steps up one line; the release ends twice.
  RECT r;
  GetClientRect(bar, &r);
  SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 4));
  SendMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(8, 4));
  std::vector<Note> want{{0x8614, 10, h},
                         {WM_VSCROLL, MAKELONG(SB_LINEUP, 9), h},
                         {WM_VSCROLL, MAKELONG(SB_ENDSCROLL, 9), 0},
                         {WM_VSCROLL, MAKELONG(SB_ENDSCROLL, 9), h}};
  EXPECT_EQ(g_notes, want);
  // The wheel, one notch down: three lines.
  g_notes.clear();
  SendMessageA(bar, SBM_SETPOS, 0, 0);
  SendMessageA(bar, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
  EXPECT_EQ(SendMessageA(bar, SBM_GETPOS, 0, 0), GuiWheelScrollLines());
  EXPECT_EQ(g_notes.size(), static_cast<size_t>(GuiWheelScrollLines()));
}

// Controls made small and sized later (as layout code does) lay out for
// their new size: the bar's second arrow at the new bottom, the combo's
// button at the new right edge.
TEST_F(Widgets2Test, ResizedScrollBarAndComboLayOutForTheirNewSize) {
  HWND bar = Item(kIdScroll);
  SetWindowPos(bar, nullptr, 0, 0, 16, 40, SWP_NOMOVE | SWP_NOZORDER);
  SetWindowPos(bar, nullptr, 0, 0, 16, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 20, 5, 0, 0};
  SendMessageA(bar, SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&si));
  g_notes.clear();
  SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 195));
  SendMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(8, 195));
  ASSERT_FALSE(g_notes.empty());
  EXPECT_EQ(g_notes[0],
            (Note{WM_VSCROLL, MAKELONG(SB_LINEDOWN, 1), reinterpret_cast<LPARAM>(bar)}));

  HWND combo = Item(kIdCombo);
  SetWindowPos(combo, nullptr, 0, 0, 220, 20, SWP_NOMOVE | SWP_NOZORDER);
  HWND button = GetWindow(combo, GW_CHILD);
  while (button && GetDlgCtrlID(button) == 100)
    button = GetWindow(button, GW_HWNDNEXT);
  ASSERT_NE(button, nullptr);
  RECT client, b;
  GetClientRect(combo, &client);
  GetWindowRect(button, &b);
  MapWindowPoints(nullptr, combo, reinterpret_cast<POINT*>(&b), 2);
  EXPECT_EQ(b.right, client.right);
}

TEST_F(Widgets2Test, TrackbarKeepsTheSystemBehaviourAndPaintsTheSkin) {
  HWND tb = Item(kIdTrack);
  SendMessageA(tb, TBM_SETRANGE, TRUE, MAKELONG(0, 10));
  SendMessageA(tb, TBM_SETTICFREQ, 1, 0);
  SendMessageA(tb, TBM_SETPOS, TRUE, 3);
  EXPECT_EQ(SendMessageA(tb, TBM_GETPOS, 0, 0), 3);
  SendMessageA(tb, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(SendMessageA(tb, TBM_GETPOS, 0, 0), 4);
  ASSERT_FALSE(g_notes.empty());
  EXPECT_EQ(g_notes[0], (Note{WM_HSCROLL, TB_LINEDOWN, reinterpret_cast<LPARAM>(tb)}));
  RedrawWindow(tb, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  tess_test::PumpMessages(100);
  RECT thumb{};
  SendMessageA(tb, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  tess_test::Image img = tess_test::CaptureClient(tb);
  int cx = (thumb.left + thumb.right) / 2, cy = (thumb.top + thumb.bottom) / 2;
  EXPECT_EQ(tess_test::ComparePixels(img, {{cx, cy, RGB(204, 164, 84), 8},
                                           {thumb.left, cy, RGB(70, 42, 22), 8},
                                           {2, 1, RGB(246, 236, 212), 8}}),
            "");
}

TEST_F(Widgets2Test, TabClicksNotifyOnlyForAnotherEnabledTab) {
  HWND tab = Item(kIdTab);
  const char* names[] = {"Game", "Options", "Lexicon"};
  for (int i = 0; i < 3; ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(names[i]);
    EXPECT_EQ(SendMessageA(tab, TCM_INSERTITEMA, 99, reinterpret_cast<LPARAM>(&item)), i);
  }
  SendMessageA(tab, kMsgTabEnable, 2, 0);
  SendMessageA(tab, kMsgTabEnable, 7, 0);                // no such tab: ignored
  EXPECT_EQ(SendMessageA(tab, TCM_SETCURSEL, 2, 0), 0);  // disabled: unchanged
  EXPECT_EQ(SendMessageA(tab, TCM_SETCURSEL, 3, 0), 0);
  // A sweep of clicks along the tab row: only the move onto "Options" counts.
  for (int x = 0; x < 400; x += 3)
    SendMessageA(tab, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 6));
  std::vector<Note> want{{WM_NOTIFY, kIdTab, static_cast<int>(TCN_SELCHANGING)},
                         {WM_NOTIFY, kIdTab, static_cast<int>(TCN_SELCHANGE)}};
  EXPECT_EQ(g_notes, want);
  EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 1);
  RECT page{0, 0, 100, 100};
  SendMessageA(tab, TCM_ADJUSTRECT, 0, reinterpret_cast<LPARAM>(&page));
  int tabHeight = page.top - 0;
  EXPECT_GT(tabHeight, 20);
  EXPECT_EQ(page.left, 8);
  RedrawWindow(tab, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  tess_test::PumpMessages(100);
  tess_test::Image img = tess_test::CaptureClient(tab);
  // Ivory page, a maple selected tab, walnut normal tabs.
  COLORREF pageColour = img.At(img.width / 2, img.height - 20);
  EXPECT_GT(GetRValue(pageColour), 200);
  EXPECT_GT(GetGValue(pageColour), 190);
  COLORREF first = img.At(3, tabHeight / 2);
  EXPECT_LT(GetRValue(first), 140);  // walnut
  int inkOnTabs = tess_test::CountPixels(img, RECT{0, 0, img.width, tabHeight}, [](COLORREF c) {
    return GetRValue(c) > 225 && GetGValue(c) > 215;  // cream caption text
  });
  EXPECT_GT(inkOnTabs, 10);
}

TEST_F(Widgets2Test, SplitterDragStopsAtTheLimitAndCancelSendsNothing) {
  HWND sp = Item(kIdSplitter);
  RECT before;
  GetWindowRect(sp, &before);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&before), 2);
  SendMessageA(sp, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 1));
  SendMessageA(sp, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, static_cast<WORD>(-500)));
  SendMessageA(sp, WM_LBUTTONUP, 0, MAKELPARAM(5, 0));
  std::vector<Note> want{{kMsgSplitterLimits, 0, 0}, {kMsgSplitterMoved, 0, 0}};
  EXPECT_EQ(g_notes, want);
  EXPECT_EQ(g_splitterMoved.top, 40);  // the parent's limit
  EXPECT_EQ(g_splitterMoved.bottom - g_splitterMoved.top, before.bottom - before.top);
  EXPECT_EQ(g_splitterMoved.left, before.left);
  g_notes.clear();
  SendMessageA(sp, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 1));
  SendMessageA(sp, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 30));
  SendMessageA(sp, WM_CANCELMODE, 0, 0);
  SendMessageA(sp, WM_LBUTTONUP, 0, MAKELPARAM(5, 30));
  want = {{kMsgSplitterLimits, 0, 0}};
  EXPECT_EQ(g_notes, want);
}

TEST_F(Widgets2Test, ComboBoxDropsItsListAndKeepsTheFieldInStep) {
  HWND combo = Item(kIdCombo);
  ASSERT_NE(combo, nullptr);
  LPARAM h = reinterpret_cast<LPARAM>(combo);
  for (const char* s : {"English", "French", "Both"})
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 1, 0), 1);
  HWND edit = GetDlgItem(combo, 100);
  ASSERT_NE(edit, nullptr);
  char text[64] = {};
  GetWindowTextA(edit, text, sizeof text);
  EXPECT_STREQ(text, "French");
  EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXT, 7, reinterpret_cast<LPARAM>(text)), CB_ERR);
  EXPECT_EQ(SendMessageA(combo, 0x8671, 2, reinterpret_cast<LPARAM>(text)), 4);
  EXPECT_STREQ(text, "Both");
  EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0), -1);
  GetWindowTextA(edit, text, sizeof text);
  EXPECT_STREQ(text, "");
  // The empty read-only field shows the skin's field colour.
  RedrawWindow(combo, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  tess_test::PumpMessages(100);
  tess_test::Image field = tess_test::CaptureClient(edit);
  ASSERT_FALSE(field.empty());
  EXPECT_EQ(
      tess_test::ComparePixels(field, {{field.width / 2, field.height / 2, RGB(246, 236, 212), 8}}),
      "");
  RECT cr;
  GetWindowRect(combo, &cr);
  EXPECT_EQ(cr.bottom - cr.top, 21);  // the field height and one
  // The button toggles the list; the close message and the keys close it.
  HWND button = GetWindow(combo, GW_CHILD);
  while (button && GetDlgCtrlID(button) == 100)
    button = GetWindow(button, GW_HWNDNEXT);
  ASSERT_NE(button, nullptr);
  auto click = [&] {
    SendMessageA(combo, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
  };
  click();
  EXPECT_EQ(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0), 1);
  HWND list = GetFocus();
  RECT lr;
  GetWindowRect(list, &lr);
  EXPECT_GE(lr.top, cr.bottom - 1);  // under the field
  click();
  EXPECT_EQ(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0), 0);
  click();
  SendMessageA(list, LB_SETCURSEL, 2, 0);
  SendMessageA(combo, WM_COMMAND, MAKEWPARAM(0, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  SendMessageA(combo, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0), 0);
  GetWindowTextA(edit, text, sizeof text);
  EXPECT_STREQ(text, "Both");
  click();
  SendMessageA(combo, WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_EQ(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0), 0);
  click();
  SendMessageA(combo, 0x8670, 0, 0);
  EXPECT_EQ(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0), 0);
  // Near the screen's bottom the list opens above the field.
  RECT dr;
  GetWindowRect(dialog, &dr);
  int screenBottom = GetSystemMetrics(SM_CYSCREEN);
  SetWindowPos(dialog, nullptr, dr.left, dr.top + (screenBottom - 30 - cr.bottom), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
  click();
  GetWindowRect(combo, &cr);
  GetWindowRect(list, &lr);
  EXPECT_LE(lr.bottom, cr.top + 1);
  click();
  tess_test::PumpMessages(100);
  auto n = [&](int code) { return Note{WM_COMMAND, MAKEWPARAM(kIdCombo, code), h}; };
  std::vector<Note> want{n(CBN_DROPDOWN),  n(CBN_CLOSEUP), n(CBN_DROPDOWN), n(CBN_SELCHANGE),
                         n(CBN_SELCHANGE), n(CBN_CLOSEUP), n(CBN_DROPDOWN), n(CBN_CLOSEUP),
                         n(CBN_DROPDOWN),  n(CBN_CLOSEUP), n(CBN_DROPDOWN), n(CBN_CLOSEUP)};
  EXPECT_EQ(g_notes, want);
}

TEST_F(Widgets2Test, Screenshot) {
  HWND tab = Item(kIdTab);
  const char* names[] = {"Game", "Options", "Lexicon"};
  for (int i = 0; i < 3; ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(names[i]);
    SendMessageA(tab, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
  SendMessageA(tab, kMsgTabEnable, 2, 0);
  SendMessageA(tab, TCM_SETCURSEL, 1, 0);
  HWND tb = Item(kIdTrack);
  SendMessageA(tb, TBM_SETRANGE, TRUE, MAKELONG(0, 10));
  SendMessageA(tb, TBM_SETTICFREQ, 1, 0);
  SendMessageA(tb, TBM_SETPOS, TRUE, 6);
  HWND bar = Item(kIdScroll);
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 99, 20, 35, 0};
  SendMessageA(bar, SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&si));
  HWND combo = Item(kIdCombo);
  for (const char* s : {"English", "French", "Both"})
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  SendMessageA(combo, CB_SETCURSEL, 1, 0);
  RedrawWindow(dialog, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  tess_test::PumpMessages(300);
  // The scroll bar's thumb is walnut and lies a third of the way down.
  tess_test::Image img = tess_test::CaptureWindow(bar);
  ASSERT_FALSE(img.empty());
  int brown = tess_test::CountPixels(img, RECT{2, 16, 14, img.height - 16}, [](COLORREF c) {
    return GetRValue(c) > GetBValue(c) + 30 && GetRValue(c) < 190;
  });
  EXPECT_GT(brown, 40);
  EXPECT_NE(tess_test::SaveScreenshot(tess_test::CaptureWindow(dialog), "gui_widgets2"), "");
  // The combo box with its list open, on the screen.
  HWND button = GetWindow(combo, GW_CHILD);
  while (button && GetDlgCtrlID(button) == 100)
    button = GetWindow(button, GW_HWNDNEXT);
  SendMessageA(combo, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
  tess_test::PumpMessages(300);
  RECT shot;
  GetWindowRect(dialog, &shot);
  shot.bottom += 80;
  EXPECT_NE(tess_test::SaveScreenshot(tess_test::CaptureScreen(shot), "gui_widgets2_combo"), "");
  SendMessageA(combo, 0x8670, 0, 0);
}

}  // namespace
}  // namespace gui
