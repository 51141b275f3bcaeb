// The report list view under Wine: driven with its messages, the stream of
// notifications its parent receives recorded and compared, key pixels
// checked in the standard skin, and a screenshot saved for people to look
// at: <build>/screenshots/gui_listview.png.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/gui_core.h"
#include "gui/list_view_skin.h"
#include "gui/win32/gui_listview.h"
#include "gui/win32/gui_win32.h"
#include "support/screenshot.h"

namespace gui {
namespace {

using Lines = std::vector<std::string>;

struct Parent {
  Lines log;
  bool recording = true;
  LRESULT deleteAllAnswer = 0;
  int dispInfoAsks = 0;
  int cacheHints = 0;
  int recolourItem = -1;
  bool ownerRows = false;  // answer each cell with its row and column
};
Parent g_parent;

std::string Describe(const NMHDR* nm) {
  switch (nm->code) {
    case LVN_ITEMCHANGED: {
      auto* v = reinterpret_cast<const NMLISTVIEW*>(nm);
      return "changed " + std::to_string(v->iItem) + " " + std::to_string(v->uOldState) + ">" +
             std::to_string(v->uNewState);
    }
    case LVN_ODSTATECHANGED: {
      auto* v = reinterpret_cast<const NMLVODSTATECHANGE*>(nm);
      return "od " + std::to_string(v->iFrom) + ".." + std::to_string(v->iTo);
    }
    case NM_CLICK:
    case NM_RCLICK:
    case LVN_ITEMACTIVATE: {
      auto* v = reinterpret_cast<const NMITEMACTIVATE*>(nm);
      const char* name = nm->code == NM_CLICK    ? "click "
                         : nm->code == NM_RCLICK ? "rclick "
                                                 : "activate ";
      return name + std::to_string(v->iItem) + " col " + std::to_string(v->iSubItem);
    }
    case LVN_KEYDOWN:
      return "key " + std::to_string(reinterpret_cast<const NMLVKEYDOWN*>(nm)->wVKey);
    case LVN_DELETEALLITEMS:
      return "delete all";
    case LVN_DELETEITEM:
      return "delete " + std::to_string(reinterpret_cast<const NMLISTVIEW*>(nm)->iItem);
    case LVN_COLUMNCLICK:
      return "column " + std::to_string(reinterpret_cast<const NMLISTVIEW*>(nm)->iSubItem);
    default:
      return "";
  }
}

LRESULT CALLBACK ParentProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NOTIFY) {
    auto* nm = reinterpret_cast<NMHDR*>(lp);
    if (nm->code == LVN_GETDISPINFOA) {
      auto* di = reinterpret_cast<NMLVDISPINFOA*>(lp);
      ++g_parent.dispInfoAsks;
      std::string text = g_parent.ownerRows ? "Row " + std::to_string(di->item.iItem) + " col " +
                                                  std::to_string(di->item.iSubItem)
                                            : "ZEPHYR";
      lstrcpynA(di->item.pszText, text.c_str(), di->item.cchTextMax);
      di->item.mask |= LVIF_DI_SETITEM;
      return 0;
    }
    if (nm->code == LVN_ODCACHEHINT) ++g_parent.cacheHints;
    std::string line = Describe(nm);
    if (g_parent.recording && !line.empty()) g_parent.log.push_back(line);
    if (nm->code == LVN_DELETEALLITEMS) return g_parent.deleteAllAnswer;
    return 0;
  }
  if (msg == 0x8115 && static_cast<int>(lp) == g_parent.recolourItem) {
    auto* look = reinterpret_cast<uint32_t*>(wp);
    look[2] = RGB(204, 164, 84);  // brass
    return 0;
  }
  return DefWindowProcA(w, msg, wp, lp);
}

Lines Take() {
  Lines out;
  out.swap(g_parent.log);
  return out;
}

int InsertColumn(HWND lv, int index, const char* text, int width, int fmt) {
  LVCOLUMNA c{};
  c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  c.pszText = const_cast<char*>(text);
  c.cx = width;
  c.fmt = fmt;
  return static_cast<int>(SendMessageA(lv, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&c)));
}

int InsertItem(HWND lv, int index, const char* text, LPARAM param) {
  LVITEMA it{};
  it.mask = LVIF_TEXT | LVIF_PARAM;
  it.iItem = index;
  it.pszText = const_cast<char*>(text);
  it.lParam = param;
  return static_cast<int>(SendMessageA(lv, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&it)));
}

void SetText(HWND lv, int item, int sub, const char* text) {
  LVITEMA it{};
  it.iSubItem = sub;
  it.pszText = const_cast<char*>(text);
  SendMessageA(lv, LVM_SETITEMTEXTA, item, reinterpret_cast<LPARAM>(&it));
}

std::string GetText(HWND lv, int item, int sub, int size = 64) {
  std::vector<char> buf(static_cast<size_t>(size) + 8, 'Z');
  LVITEMA it{};
  it.iSubItem = sub;
  it.pszText = buf.data();
  it.cchTextMax = size;
  SendMessageA(lv, LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&it));
  return buf.data();
}

int SetState(HWND lv, int item, UINT state, UINT mask) {
  LVITEMA it{};
  it.state = state;
  it.stateMask = mask;
  return static_cast<int>(
      SendMessageA(lv, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&it)));
}

POINT RowPoint(HWND lv, int row, int x = 30) {
  RECT hr;
  GetWindowRect(reinterpret_cast<HWND>(SendMessageA(lv, LVM_GETHEADER, 0, 0)), &hr);
  int header = hr.bottom - hr.top;
  HDC dc = GetDC(lv);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(lv, WM_GETFONT, 0, 0)));
  SIZE sz;
  GetTextExtentPoint32A(dc, "AWXZyjpg", 8, &sz);
  SelectObject(dc, old);
  ReleaseDC(lv, dc);
  return POINT{x, header + row * sz.cy + sz.cy / 2};
}

void Click(HWND lv, int row, WPARAM keys = 0, int x = 30) {
  POINT p = RowPoint(lv, row, x);
  SendMessageA(lv, WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(p.x, p.y));
  SendMessageA(lv, WM_LBUTTONUP, keys, MAKELPARAM(p.x, p.y));
}

class ListViewWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    AddFontResourceExA(tess_test::BuildPath("DejaVuSans.ttf").c_str(), FR_PRIVATE, nullptr);
    GuiInitialize(instance);
    RegisterCGUIListViewWnd(instance);  // refused when the toolkit has registered it
    GuiInitDefaultSkin(0);
    GuiSkin* skin = GuiGetSkin();
    ASSERT_NE(skin, nullptr);
    std::string folder = tess_test::BuildPath("Data/Skin/");
    ASSERT_TRUE(GuiReadListViewIni((folder + "list_view.ini").c_str(), skin));
    ASSERT_TRUE(GuiReadHeaderIni((folder + "control_header.ini").c_str(), skin));
    WNDCLASSA wc{};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = instance;
    wc.hbrBackground = CreateSolidBrush(RGB(36, 104, 62));
    wc.lpszClassName = "ListViewTestParent";
    RegisterClassA(&wc);
    font_ = CreateFontA(-13, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, ANTIALIASED_QUALITY, 0, "DejaVu Sans");
  }

  void SetUp() override {
    g_parent = Parent{};
    parent_ = CreateWindowExA(WS_EX_TOPMOST, "ListViewTestParent", "List view", WS_POPUP, 780, 700,
                              480, 300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(parent_, nullptr);
    ShowWindow(parent_, SW_SHOWNA);  // other tests' windows keep their activation
  }
  void TearDown() override { DestroyWindow(parent_); }

  HWND MakeList(DWORD style, int id = 100) {
    HWND lv = CreateWindowExA(0, "CGUIListViewWnd", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | style,
                              12, 12, 440, 230, parent_, reinterpret_cast<HMENU>(INT_PTR{id}),
                              GetModuleHandleA(nullptr), nullptr);
    if (lv) SendMessageA(lv, WM_SETFONT, reinterpret_cast<WPARAM>(font_), 0);
    return lv;
  }

  // Player, score and word columns with twelve rows.
  HWND FilledList(DWORD style) {
    HWND lv = MakeList(style);
    EXPECT_EQ(InsertColumn(lv, 0, "Player", 150, LVCFMT_RIGHT), 0);
    EXPECT_EQ(InsertColumn(lv, 1, "Score", 80, LVCFMT_RIGHT), 1);
    EXPECT_EQ(InsertColumn(lv, 2, "Best word", 190, LVCFMT_LEFT), 2);
    const char* names[] = {"Ada",    "Basil",  "Clementine", "Dorothea", "Ezra", "Flora",
                           "Gideon", "Hester", "Ignatius",   "Juno",     "Kit",  "Lavinia"};
    const char* words[] = {"QUIXOTIC", "ZEPHYR", "JUKEBOX", "OXYGEN", "WALTZ",   "FJORD",
                           "BANJO",    "",       "SPHINX",  "KAYAK",  "PIZZAZZ", "VEXING"};
    for (int i = 0; i < 12; ++i) {
      int score = (i * 37) % 100 + 40;
      EXPECT_EQ(InsertItem(lv, i, names[i], score), i);
      SetText(lv, i, 1, std::to_string(score).c_str());
      SetText(lv, i, 2, words[i]);
    }
    return lv;
  }

  static HFONT font_;
  HWND parent_ = nullptr;
};
HFONT ListViewWindow::font_ = nullptr;

TEST_F(ListViewWindow, OnlyTheReportViewIsMade) {
  EXPECT_EQ(MakeList(LVS_LIST), nullptr);
  EXPECT_NE(MakeList(LVS_REPORT), nullptr);
}

TEST_F(ListViewWindow, ClicksAndKeysNotifyInOrder) {
  HWND lv = FilledList(LVS_REPORT | LVS_SHOWSELALWAYS);
  Take();
  Click(lv, 2);
  EXPECT_EQ(Take(), (Lines{"changed 2 0>1", "od 2..2", "click 2 col 0"}));
  SendMessageA(lv, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(Take(), (Lines{"key 40", "changed 2 1>0", "od 2..2", "changed 3 0>1", "od 3..3"}));
  EXPECT_EQ(SendMessageA(lv, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 3);
  EXPECT_EQ(SendMessageA(lv, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_ALL), -1);
  // A click in the third column reports it; a double click activates.
  POINT p = RowPoint(lv, 5, 300);
  SendMessageA(lv, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(p.x, p.y));
  EXPECT_EQ(Take(),
            (Lines{"changed 3 1>0", "od 3..3", "changed 5 0>1", "od 5..5", "click 5 col 2"}));
  EXPECT_EQ(SendMessageA(lv, LVM_GETSELECTEDCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageA(lv, LVM_GETSELECTIONMARK, 0, 0), 3);
  SendMessageA(lv, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  EXPECT_EQ(Take(), (Lines{"activate 5 col 2"}));
  // Below the last row nothing is selected.
  p = RowPoint(lv, 13);
  SendMessageA(lv, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  EXPECT_EQ(Take(), Lines{});
  // Hit tests.
  LVHITTESTINFO hit{};
  hit.pt = RowPoint(lv, 4, 200);
  EXPECT_EQ(SendMessageA(lv, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 4);
  EXPECT_EQ(hit.iSubItem, 1);
  hit.pt = POINT{-5, -5};
  EXPECT_EQ(SendMessageA(lv, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
  EXPECT_EQ(hit.flags, static_cast<UINT>(LVHT_TOLEFT | LVHT_ABOVE));
}

TEST_F(ListViewWindow, ItemsTextsAndCountsAreChecked) {
  HWND lv = FilledList(LVS_REPORT);
  EXPECT_EQ(SendMessageA(lv, LVM_GETITEMCOUNT, 0, 0), 12);
  EXPECT_EQ(GetText(lv, 2, 0), "Clementine");
  EXPECT_EQ(GetText(lv, 2, 0, 4), "Cle");  // truncated and terminated
  EXPECT_EQ(GetText(lv, 40, 0), "");       // no such item
  EXPECT_EQ(GetText(lv, 2, 9), "");        // no such sub-item
  LVITEMA it{};
  char buf[8];
  it.mask = LVIF_TEXT;
  it.iItem = 2;
  it.pszText = buf;
  it.cchTextMax = sizeof buf;
  EXPECT_EQ(SendMessageA(lv, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it)), 0);  // no room
  // Counts make real items that take texts.
  EXPECT_EQ(SendMessageA(lv, LVM_SETITEMCOUNT, 14, 0), 1);
  EXPECT_EQ(SendMessageA(lv, LVM_GETITEMCOUNT, 0, 0), 14);
  SetText(lv, 13, 2, "LATE");
  EXPECT_EQ(GetText(lv, 13, 2), "LATE");
  // Indices from messages are checked.
  EXPECT_EQ(SendMessageA(lv, LVM_DELETEITEM, 14, 0), 0);
  EXPECT_EQ(SetState(lv, 99, LVIS_SELECTED, LVIS_SELECTED), 0);
  EXPECT_EQ(SendMessageA(lv, LVM_ENSUREVISIBLE, 99, 0), 0);
  EXPECT_EQ(SendMessageA(lv, LVM_UPDATE, 99, 0), 0);
  EXPECT_EQ(SendMessageA(lv, LVM_GETITEMSTATE, 99, LVIS_SELECTED), 0);
  // Delete all, announced item by item when the parent asks for it.
  g_parent.deleteAllAnswer = 1;
  Take();
  SendMessageA(lv, LVM_SETITEMCOUNT, 3, 0);
  EXPECT_EQ(SendMessageA(lv, LVM_DELETEALLITEMS, 0, 0), 1);
  EXPECT_EQ(Take(), (Lines{"delete all", "delete 2", "delete 1", "delete 0"}));
  EXPECT_EQ(SendMessageA(lv, LVM_GETITEMCOUNT, 0, 0), 0);
}

TEST_F(ListViewWindow, SingleSelectionFollowsSortsAndDeletions) {
  HWND lv = FilledList(LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS);
  Click(lv, 4);  // Ezra
  auto byScoreDown = [](LPARAM a, LPARAM b, LPARAM) -> int { return (b > a) - (b < a); };
  EXPECT_EQ(SendMessageA(lv, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(+byScoreDown)), 1);
  int selected =
      static_cast<int>(SendMessageA(lv, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  EXPECT_EQ(GetText(lv, selected, 0), "Ezra");
  int previous = 1000;
  for (int i = 0; i < 12; ++i) {
    int score = std::stoi(GetText(lv, i, 1));
    EXPECT_LE(score, previous);
    previous = score;
  }
  EXPECT_EQ(SendMessageA(lv, LVM_DELETEITEM, selected, 0), 1);
  EXPECT_EQ(SendMessageA(lv, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), -1);
  EXPECT_EQ(SendMessageA(lv, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), -1);
  EXPECT_EQ(SendMessageA(lv, LVM_GETSELECTIONMARK, 0, 0), -1);
  EXPECT_EQ(SetState(lv, -1, LVIS_SELECTED, LVIS_SELECTED), 0);
}

TEST_F(ListViewWindow, OwnerDataAsksTheParentForEachCell) {
  g_parent.ownerRows = true;
  HWND lv = MakeList(LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS);
  ASSERT_NE(lv, nullptr);
  InsertColumn(lv, 0, "Row", 200, 0);
  InsertColumn(lv, 1, "Cell", 200, 0);
  EXPECT_EQ(SendMessageA(lv, LVM_SETITEMCOUNT, 100000, 0), 1);
  EXPECT_EQ(SendMessageA(lv, LVM_GETITEMCOUNT, 0, 0), 100000);
  Take();
  SendMessageA(lv, WM_KEYDOWN, VK_END, 0);
  // The focus moves with its notices; the selection changes by ranges.
  EXPECT_EQ(Take(), (Lines{"key 35", "changed 99999 0>1", "od 99999..99999", "od 0..99998",
                           "od 99999..99999"}));
  EXPECT_EQ(SendMessageA(lv, LVM_GETTOPINDEX, 0, 0),
            100000 - SendMessageA(lv, LVM_GETCOUNTPERPAGE, 0, 0));
  EXPECT_EQ(SendMessageA(lv, LVM_GETSELECTEDCOUNT, 0, 0), 1);
  EXPECT_EQ(SendMessageA(lv, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 99999);
  g_parent.dispInfoAsks = g_parent.cacheHints = 0;
  RedrawWindow(lv, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  int rows = static_cast<int>(SendMessageA(lv, LVM_GETCOUNTPERPAGE, 0, 0));
  EXPECT_GE(g_parent.cacheHints, rows);
  EXPECT_GE(g_parent.dispInfoAsks, 2 * rows);         // once per cell, at every paint
  EXPECT_EQ(SendMessageA(lv, 0x86a0, 1, 0), 100000);  // everything, as one range
  EXPECT_EQ(SendMessageA(lv, LVM_GETSELECTEDCOUNT, 0, 0), 100000);
}

TEST_F(ListViewWindow, ColumnsKeepTheirRecordsWhenOthersGo) {
  HWND lv = FilledList(LVS_REPORT);
  LVCOLUMNA c{};
  char text[32];
  c.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  c.pszText = text;
  c.cchTextMax = sizeof text;
  ASSERT_EQ(SendMessageA(lv, LVM_GETCOLUMNA, 0, reinterpret_cast<LPARAM>(&c)), 1);
  EXPECT_EQ(c.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);  // the first column stays left
  EXPECT_STREQ(text, "Player");
  EXPECT_EQ(c.cx, 150);
  EXPECT_EQ(c.mask & LVCF_SUBITEM, 0u);  // none was given
  EXPECT_EQ(InsertColumn(lv, 3, "Extra", 60, 0), 3);
  EXPECT_EQ(SendMessageA(lv, LVM_DELETECOLUMN, 3, 0), 1);
  EXPECT_EQ(SendMessageA(lv, LVM_DELETECOLUMN, 7, 0), 0);
  EXPECT_EQ(SendMessageA(lv, LVM_DELETECOLUMN, static_cast<WPARAM>(-1), 0), 0);
  c.mask = LVCF_FMT | LVCF_TEXT;
  ASSERT_EQ(SendMessageA(lv, LVM_GETCOLUMNA, 1, reinterpret_cast<LPARAM>(&c)), 1);
  EXPECT_STREQ(text, "Score");
  EXPECT_EQ(c.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_RIGHT);
  EXPECT_EQ(SendMessageA(lv, LVM_SETCOLUMNWIDTH, 1, 90), 0);
  EXPECT_EQ(SendMessageA(lv, LVM_GETCOLUMNWIDTH, 1, 0), 90);
  UpdateWindow(lv);
  EXPECT_EQ(GetText(lv, 0, 2), "QUIXOTIC");
}

TEST_F(ListViewWindow, PaintsInTheSkinAndSavesAScreenshot) {
  HWND lv = FilledList(LVS_REPORT | LVS_SHOWSELALWAYS);
  // Row 7's word comes from the parent once.
  SetText(lv, 7, 2, LPSTR_TEXTCALLBACKA);
  g_parent.recolourItem = 5;
  Click(lv, 1);
  Click(lv, 3, MK_CONTROL);
  SetFocus(parent_);
  RedrawWindow(lv, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
  tess_test::PumpMessages(200);
  int asks = g_parent.dispInfoAsks;
  EXPECT_GE(asks, 1);
  RedrawWindow(lv, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(g_parent.dispInfoAsks, asks);  // kept for good
  EXPECT_EQ(GetText(lv, 7, 2), "ZEPHYR");

  tess_test::Image img = tess_test::CaptureClient(lv);
  ASSERT_FALSE(img.empty());
  GuiSkin* skin = GuiGetSkin();
  COLORREF cream = skin->listViewColors[kLvBackground];
  COLORREF felt = skin->listViewColors[kLvSelectedBackground];
  COLORREF face = skin->listViewColors[kHeaderFace];
  // Points right of every word, in the last column.
  POINT selected = RowPoint(lv, 1, 400), plain = RowPoint(lv, 2, 400);
  POINT recoloured = RowPoint(lv, 5, 400), empty = RowPoint(lv, 13, 400);
  EXPECT_EQ(tess_test::ComparePixels(img, {{selected.x, selected.y, felt, 6},
                                           {plain.x, plain.y, cream, 6},
                                           {recoloured.x, recoloured.y, RGB(204, 164, 84), 6},
                                           {empty.x, empty.y, cream, 6},
                                           {100, 6, face, 10}}),
            "");
  // Text ink in the rows and in the header.
  RECT rowText{4, plain.y - 5, 140, plain.y + 5};
  EXPECT_GT(tess_test::CountPixels(img, rowText, [](COLORREF c) { return GetRValue(c) < 120; }), 5);
  std::string path = tess_test::SaveScreenshot(tess_test::CaptureWindow(parent_), "gui_listview");
  EXPECT_FALSE(path.empty());
}

}  // namespace
}  // namespace gui
