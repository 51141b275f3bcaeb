// The list box and the tree view under Wine, in a skinned dialog made from an
// in-memory template with the standard skin: each is driven with its
// messages, keys and clicks, the notifications the dialog receives are
// recorded and compared with the expected stream, key pixels are checked and
// a screenshot is saved: <build>/screenshots/gui_views.png.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "gui/gui_core.h"
#include "gui/skin_reader.h"
#include "gui/view_skin.h"
#include "gui/win32/gui_frame.h"
#include "gui/win32/gui_list_wnd.h"
#include "gui/win32/gui_tree_view.h"
#include "gui/win32/gui_win32.h"
#include "dialog_template.h"
#include "screenshot.h"

namespace gui {
namespace {

using tess_test::BuildPath;

enum : int { kIdList = 201, kIdSorted = 202, kIdExtended = 203, kIdTree = 204 };

constexpr COLORREF kIvory = RGB(250, 244, 226), kFelt = RGB(36, 104, 62);
constexpr COLORREF kWalnutDark = RGB(70, 42, 22), kBrass = RGB(204, 164, 84);

// What the dialog receives from its controls.
struct Note {
  UINT msg;
  WPARAM wp;
  LPARAM lp;  // a notification code, an item or a value
  bool operator==(const Note& o) const { return msg == o.msg && wp == o.wp && lp == o.lp; }
};
std::vector<Note> g_notes;
bool g_vetoSelection = false;
char g_dispText[64] = "";

std::ostream& operator<<(std::ostream& os, const Note& n) {
  return os << std::hex << "{0x" << n.msg << ", 0x" << n.wp << ", " << std::dec
            << static_cast<long long>(n.lp) << "}";
}

INT_PTR CALLBACK DialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      g_notes.push_back({msg, wp, 0});
      return TRUE;
    case WM_COMPAREITEM: {
      const auto* c = reinterpret_cast<const COMPAREITEMSTRUCT*>(lp);
      g_notes.push_back({msg, c->itemID2, static_cast<LPARAM>(c->itemData1)});
      return c->itemData1 < c->itemData2 ? -1 : c->itemData1 > c->itemData2 ? 1 : 0;
    }
    case WM_DRAWITEM: {
      const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      g_notes.push_back({msg, d->itemID, static_cast<LPARAM>(d->itemData)});
      return TRUE;
    }
    case 0x8602:
    case 0x8603:
      g_notes.push_back({msg, 0, lp});
      return TRUE;
    case WM_NOTIFY: {
      const auto* nm = reinterpret_cast<const NMHDR*>(lp);
      UINT code = nm->code;
      if (code == TVN_GETDISPINFOA) {
        auto* d = reinterpret_cast<NMTVDISPINFOA*>(lp);
        lstrcpynA(d->item.pszText, g_dispText, d->item.cchTextMax);
        return TRUE;
      }
      LPARAM item = 0;
      if (code == TVN_SELCHANGINGA || code == TVN_SELCHANGEDA)
        item = reinterpret_cast<LPARAM>(reinterpret_cast<const NMTREEVIEWA*>(lp)->itemNew.hItem);
      if (code == TVN_DELETEITEMA)
        item = reinterpret_cast<LPARAM>(reinterpret_cast<const NMTREEVIEWA*>(lp)->itemOld.hItem);
      if (code == TVN_ITEMEXPANDINGA || code == TVN_ITEMEXPANDEDA)
        item = reinterpret_cast<const NMTREEVIEWA*>(lp)->action;
      g_notes.push_back({msg, static_cast<WPARAM>(code), item});
      if (code == TVN_SELCHANGINGA && g_vetoSelection) {
        SetWindowLongPtrA(dlg, DWLP_MSGRESULT, 1);
        return TRUE;
      }
      return TRUE;
    }
  }
  return FALSE;
}

using Item = tess_test::DialogItem;

// A template of the skinned dialog class holding the items (dialog units).
std::vector<WORD> Template(const std::vector<Item>& items) {
  return tess_test::BuildDialogTemplate(
      {kDialogClassName, "Lexicon", WS_POPUP | WS_CAPTION | WS_SYSMENU | 0x1000, 330, 150,
       "DejaVu Sans", 9},
      items);
}

class ViewsTest : public ::testing::Test {
 protected:
  HINSTANCE instance = GetModuleHandleA(nullptr);
  SkinRegistry* registry = nullptr;
  HFONT font = nullptr;
  HWND dialog = nullptr;
  std::vector<WORD> tmpl;

  void SetUp() override {
    ASSERT_GT(AddFontResourceExA(BuildPath("DejaVuSans.ttf").c_str(), FR_PRIVATE, nullptr), 0);
    ASSERT_EQ(GuiInitialize(instance), 1);
    GuiFrameSkin frameSkin;
    GuiBuildDefaultFrameSkin(&frameSkin);
    std::string skinIni = BuildPath("Data/Skin/standard_skin.ini");
    ASSERT_TRUE(GuiLoadFrameSkinFromFile(skinIni.c_str(), &frameSkin, &registry));
    ASSERT_EQ(GuiApplyFrameSkin(0, &frameSkin), 1);
    font = static_cast<HFONT>(GuiCreateFontPt("DejaVu Sans", 9, 400, 0, 0));
    GuiSkin skin{};
    GuiBuildDefaultSkin(&skin);
    skin.imageSource = registry;
    skin.identity = 0;
    skin.font = font;
    // The scroll-bar group as the application fills it from the skin's images.
    const char* scroll[kScrollImageCount] = {
        "V_TOP_BUTTON_UP",   "V_TOP_BUTTON_DOWN",  "V_BOTTOM_BUTTON_UP",  "V_BOTTOM_BUTTON_DOWN",
        "V_TRACK_UP",        "V_TRACK_UP",         "V_THUMB_TOP_UP",      "V_THUMB_CENTER_UP",
        "V_THUMB_BOTTOM_UP", "V_THUMB_TOP_DOWN",   "V_THUMB_CENTER_DOWN", "V_THUMB_BOTTOM_DOWN",
        "H_LEFT_BUTTON_UP",  "H_LEFT_BUTTON_DOWN", "H_RIGHT_BUTTON_UP",   "H_RIGHT_BUTTON_DOWN",
        "H_TRACK_UP",        "H_TRACK_DOWN",       "H_THUMB_LEFT_UP",     "H_THUMB_CENTER_UP",
        "H_THUMB_RIGHT_UP",  "H_THUMB_LEFT_DOWN",  "H_THUMB_CENTER_DOWN", "H_THUMB_RIGHT_DOWN"};
    for (int i = 0; i < kScrollImageCount; ++i)
      skin.scroll.imageIds[i] = registry->IdOf(std::string("SCROLL_") + scroll[i]);
    skin.scroll.present = 1;
    ASSERT_TRUE(
        GuiReadListIni(GuiSkinConfigPath(skinIni.c_str(), "list_box").c_str(), registry, &skin));
    ASSERT_TRUE(
        GuiReadTreeIni(GuiSkinConfigPath(skinIni.c_str(), "tree_view").c_str(), registry, &skin));
    ASSERT_EQ(GuiApplySkin(0, &skin), 1);
    tmpl = Template({{"CGUIListWnd", LBS_NOTIFY | WS_VSCROLL, 8, 8, 90, 62, kIdList},
                     {"CGUIListWnd", LBS_SORT, 8, 78, 90, 62, kIdSorted},
                     {"CGUIListWnd", LBS_EXTENDEDSEL | LBS_NOTIFY, 106, 8, 70, 132, kIdExtended},
                     {"CGUITreeViewWnd",
                      TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | WS_BORDER | WS_VSCROLL, 184,
                      8, 138, 132, kIdTree}});
    dialog = CreateDialogIndirectParamA(instance, reinterpret_cast<DLGTEMPLATE*>(tmpl.data()),
                                        nullptr, DialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    for (int id : {kIdList, kIdSorted, kIdExtended, kIdTree}) {
      ASSERT_NE(Item(id), nullptr) << id;
      SendMessageA(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    }
    SendMessageA(Item(kIdTree), TVM_SETINDENT, 19, 0);
    SetWindowPos(dialog, nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(dialog, SW_SHOW);
    tess_test::PumpMessages(150);
    g_notes.clear();
    g_vetoSelection = false;
  }
  void TearDown() override {
    if (dialog) DestroyWindow(dialog);
    GuiFreeFrameSkin();
    SkinRegistryDestroy(registry);
    DeleteObject(font);
    GuiShutdown();
  }
  HWND Item(int id) { return GetDlgItem(dialog, id); }
  LRESULT Send(int id, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    return SendMessageA(Item(id), msg, wp, lp);
  }
  LRESULT Add(int id, const char* text) {
    return Send(id, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  std::string Text(int id, int index) {
    char buf[64] = "";
    if (Send(id, LB_GETTEXT, index, reinterpret_cast<LPARAM>(buf)) < 0) return "<err>";
    return buf;
  }
  HTREEITEM Insert(HTREEITEM parent, const char* text, HTREEITEM after = TVI_LAST) {
    TVINSERTSTRUCTA in{};
    in.hParent = parent;
    in.hInsertAfter = after;
    in.item.mask = TVIF_TEXT;
    in.item.pszText = const_cast<char*>(text);
    return reinterpret_cast<HTREEITEM>(
        Send(kIdTree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&in)));
  }
  HTREEITEM Next(WPARAM code, HTREEITEM item = nullptr) {
    return reinterpret_cast<HTREEITEM>(
        Send(kIdTree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
  }
  // The tree's row rectangle: the handle goes in where the rectangle comes out.
  RECT ItemHandleRect(HTREEITEM h) {
    RECT r{};
    std::memcpy(&r, &h, sizeof h);
    if (Send(kIdTree, TVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r)) != 1) r = RECT{};
    return r;
  }
  RECT ItemRect(int id, int index) {
    RECT r{};
    Send(id, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    return r;
  }
};

TEST_F(ViewsTest, ListAnswersItsMessagesAndChecksEveryIndex) {
  for (const char* s : {"b", "a", "c", "a"})
    Add(kIdSorted, s);
  std::string order;
  for (int i = 0; i < 4; ++i)
    order += Text(kIdSorted, i);
  EXPECT_EQ(order, "aabc");

  const char* words[] = {"quartz", "jumble", "oxygen", "zephyr", "quiz"};
  for (const char* w : words)
    Add(kIdList, w);
  struct Case {
    UINT msg;
    WPARAM wp;
    const char* text;
    LRESULT want;
  };
  const Case cases[] = {
      {LB_INSERTSTRING, static_cast<WPARAM>(-1), "x", LB_ERR},
      {LB_INSERTSTRING, 6, "x", LB_ERR},
      {LB_ADDSTRING, 0, "", LB_ERR},
      {LB_FINDSTRING, 2, "QU", 4},  // from item 2 on, round to the start
      {LB_FINDSTRING, 0, "qu", 0},
      {LB_FINDSTRING, 9, "qu", LB_ERR},
      {LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), "OXYGEN", 2},
      {LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), "oxy", LB_ERR},
      {LB_GETTEXTLEN, 5, nullptr, LB_ERR},
      {LB_GETTEXTLEN, 3, nullptr, 6},
      {LB_GETITEMDATA, 7, nullptr, LB_ERR},
      {LB_SETTOPINDEX, 5, nullptr, LB_ERR},
      {LB_SETCURSEL, 5, nullptr, LB_ERR},
      {LB_GETSEL, 99, nullptr, 0},
      {LB_GETSELCOUNT, 0, nullptr, LB_ERR},  // a single-selection list
  };
  for (const Case& c : cases)
    EXPECT_EQ(Send(kIdList, c.msg, c.wp, reinterpret_cast<LPARAM>(c.text)), c.want)
        << std::hex << c.msg << " " << (c.text ? c.text : "");
  char buf[8] = "keep";
  EXPECT_EQ(Send(kIdList, LB_GETTEXT, 9, reinterpret_cast<LPARAM>(buf)), LB_ERR);
  EXPECT_STREQ(buf, "keep");

  // The selection follows deletions before it and is cleared with its item.
  EXPECT_EQ(Send(kIdList, LB_SETCURSEL, 3), 3);
  Send(kIdList, LB_DELETESTRING, 1);
  EXPECT_EQ(Send(kIdList, LB_GETCURSEL), 2);
  Send(kIdList, LB_DELETESTRING, 2);
  EXPECT_EQ(Send(kIdList, LB_GETCURSEL), LB_ERR);
  EXPECT_EQ(Send(kIdList, LB_GETCOUNT), 3);
  EXPECT_EQ(Send(kIdList, LB_RESETCONTENT), 0);
  EXPECT_EQ(Send(kIdList, LB_RESETCONTENT), LB_ERR);
  EXPECT_EQ(Send(kIdList, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 5)), LB_ERR);
  EXPECT_TRUE(g_notes.empty());  // messages alone notify nothing
}

TEST_F(ViewsTest, ListScrollsAndNotifiesClicks) {
  char name[16];
  for (int i = 0; i < 30; ++i) {
    wsprintfA(name, "word %02d", i);
    Add(kIdList, name);
  }
  EXPECT_GT(Send(kIdList, kLbGetBarWidth), 0);  // the skinned bar is shown
  LRESULT visible = Send(kIdList, LB_GETITEMHEIGHT);
  ASSERT_GT(visible, 0);
  EXPECT_EQ(Send(kIdList, LB_SETTOPINDEX, 10), 0);
  EXPECT_EQ(Send(kIdList, LB_GETTOPINDEX), 10);
  Send(kIdList, WM_VSCROLL, SB_LINEDOWN);
  EXPECT_EQ(Send(kIdList, LB_GETTOPINDEX), 11);
  // A press on the skinned bar's second arrow steps one line down.
  RECT wr;
  GetWindowRect(Item(kIdList), &wr);
  LPARAM arrow = MAKELPARAM(wr.right - 2 - 6, wr.bottom - 2 - 6);
  ASSERT_EQ(Send(kIdList, WM_NCHITTEST, 0, arrow), HTVSCROLL);
  Send(kIdList, WM_NCLBUTTONDOWN, HTVSCROLL, arrow);
  Send(kIdList, WM_NCLBUTTONUP, HTVSCROLL, arrow);
  EXPECT_EQ(Send(kIdList, LB_GETTOPINDEX), 12);
  Send(kIdList, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 500));  // held to the last page
  LRESULT top = Send(kIdList, LB_GETTOPINDEX);
  EXPECT_LT(top, 30);
  EXPECT_GT(top, 11);
  // A point below the last item: the last shown item and the outside flag.
  RECT rc;
  GetClientRect(Item(kIdList), &rc);
  LRESULT hit = Send(kIdList, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, rc.bottom + 30));
  EXPECT_EQ(HIWORD(hit), 1);
  EXPECT_EQ(LOWORD(hit), 29);

  Send(kIdList, LB_SETTOPINDEX, 0);
  RECT r2 = ItemRect(kIdList, 2);
  Send(kIdList, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, (r2.top + r2.bottom) / 2));
  Send(kIdList, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, (r2.top + r2.bottom) / 2));
  Send(kIdList, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, rc.bottom + 40));  // outside: nothing
  tess_test::PumpMessages(50);
  std::vector<Note> want{{WM_COMMAND, MAKEWPARAM(kIdList, LBN_SELCHANGE), 0},
                         {WM_COMMAND, MAKEWPARAM(kIdList, LBN_DBLCLK), 0}};
  EXPECT_EQ(g_notes, want);
  EXPECT_EQ(Send(kIdList, LB_GETCURSEL), 2);
  // Keys move the selection without notifying; other keys do nothing.
  Send(kIdList, WM_KEYDOWN, VK_DOWN);
  Send(kIdList, WM_KEYDOWN, VK_DOWN);
  Send(kIdList, WM_KEYDOWN, 'Q');
  EXPECT_EQ(Send(kIdList, LB_GETCURSEL), 4);
  Send(kIdList, WM_KEYDOWN, VK_END);
  EXPECT_EQ(Send(kIdList, LB_GETCURSEL), 29);
  EXPECT_GT(Send(kIdList, LB_GETTOPINDEX), 0);  // scrolled into view
  tess_test::PumpMessages(30);
  EXPECT_EQ(g_notes.size(), 2u);
}

TEST_F(ViewsTest, ExtendedListSelectsRangesWithShiftAndControl) {
  for (const char* w : {"ant", "bee", "cat", "dog", "eel", "fox"})
    Add(kIdExtended, w);
  auto click = [&](int index, WPARAM keys) {
    RECT r = ItemRect(kIdExtended, index);
    Send(kIdExtended, WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(5, (r.top + r.bottom) / 2));
  };
  auto selected = [&] {
    INT items[8] = {};
    LRESULT n = Send(kIdExtended, LB_GETSELITEMS, 8, reinterpret_cast<LPARAM>(items));
    std::string s;
    for (LRESULT i = 0; i < n; ++i)
      s += static_cast<char>('0' + items[i]);
    return s;
  };
  click(1, 0);
  click(3, MK_SHIFT);
  EXPECT_EQ(selected(), "123");
  click(5, MK_CONTROL);
  click(2, MK_CONTROL);
  EXPECT_EQ(selected(), "135");
  EXPECT_EQ(Send(kIdExtended, LB_GETCURSEL), 2);  // the caret
  EXPECT_EQ(Send(kIdExtended, kLbSelectAll, 1), 6);
  EXPECT_EQ(Send(kIdExtended, LB_GETSELCOUNT), 6);
  EXPECT_EQ(Send(kIdExtended, LB_SETSEL, 0, 6), LB_ERR);
  EXPECT_EQ(Send(kIdExtended, LB_SETSEL, 0, -1), 0);
  EXPECT_EQ(selected(), "");
  tess_test::PumpMessages(30);
  EXPECT_EQ(g_notes.size(), 4u);  // one LBN_SELCHANGE per click
}

TEST_F(ViewsTest, TreeInsertsExpandsAndDeletesWithItsNotifications) {
  HTREEITEM english = Insert(TVI_ROOT, "English");
  HTREEITEM french = Insert(TVI_ROOT, "French");
  ASSERT_NE(english, nullptr);
  HTREEITEM kids[3];
  const char* names[] = {"SCOWL", "Extras", "Definitions"};
  for (int i = 0; i < 3; ++i)
    kids[i] = Insert(english, names[i]);
  HTREEITEM grandchild = Insert(kids[0], "size 50");
  EXPECT_EQ(Send(kIdTree, TVM_GETCOUNT), 6);
  // A child under a collapsed parent adds no row but marks the parent.
  TVITEMA it{};
  it.mask = TVIF_CHILDREN;
  it.hItem = english;
  ASSERT_EQ(Send(kIdTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it)), 1);
  EXPECT_EQ(it.cChildren, 1);
  EXPECT_EQ(Next(TVGN_NEXTVISIBLE, english), french);
  EXPECT_EQ(Next(TVGN_CHILD, english), kids[0]);
  EXPECT_EQ(Next(TVGN_PARENT, grandchild), kids[0]);

  // Select English and expand it with Right: expansion notifies.
  EXPECT_EQ(Send(kIdTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(english)), 1);
  g_notes.clear();
  Send(kIdTree, WM_KEYDOWN, VK_RIGHT);
  std::vector<Note> want{{WM_NOTIFY, static_cast<WPARAM>(TVN_KEYDOWN), 0},
                         {WM_NOTIFY, static_cast<WPARAM>(TVN_ITEMEXPANDINGA), TVE_EXPAND},
                         {WM_NOTIFY, static_cast<WPARAM>(TVN_ITEMEXPANDEDA), TVE_EXPAND}};
  EXPECT_EQ(g_notes, want);
  EXPECT_EQ(Next(TVGN_NEXTVISIBLE, english), kids[0]);
  EXPECT_EQ(Next(TVGN_NEXTVISIBLE, kids[2]), french);  // the collapsed grandchild has no row
  // Down moves the selection by keyboard.
  g_notes.clear();
  Send(kIdTree, WM_KEYDOWN, VK_DOWN);
  EXPECT_EQ(Next(TVGN_CARET), kids[0]);
  want = {{WM_NOTIFY, static_cast<WPARAM>(TVN_KEYDOWN), 0},
          {WM_NOTIFY, static_cast<WPARAM>(TVN_SELCHANGINGA), reinterpret_cast<LPARAM>(kids[0])},
          {WM_NOTIFY, static_cast<WPARAM>(TVN_SELCHANGEDA), reinterpret_cast<LPARAM>(kids[0])}};
  EXPECT_EQ(g_notes, want);
  // A veto leaves the selection.
  g_vetoSelection = true;
  Send(kIdTree, WM_KEYDOWN, VK_DOWN);
  EXPECT_EQ(Next(TVGN_CARET), kids[0]);
  g_vetoSelection = false;

  // Deleting the parent of the selection: four items, four notices, and no
  // selection left naming a freed item.
  g_notes.clear();
  EXPECT_EQ(Send(kIdTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(kids[0])), 1);
  EXPECT_EQ(Send(kIdTree, TVM_GETCOUNT), 4);
  EXPECT_EQ(Next(TVGN_CARET), nullptr);
  EXPECT_EQ(g_notes.size(), 2u);  // the item and its child
  g_notes.clear();
  EXPECT_EQ(Send(kIdTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(english)), 1);
  EXPECT_EQ(Send(kIdTree, TVM_GETCOUNT), 1);
  EXPECT_EQ(g_notes.size(), 3u);
  // Stale and foreign handles are refused.
  EXPECT_EQ(Send(kIdTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(english)), 0);
  EXPECT_EQ(Send(kIdTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(kids[1])), 0);
  EXPECT_EQ(Next(TVGN_ROOT), french);
  EXPECT_EQ(Send(kIdTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)), 1);
  EXPECT_EQ(Send(kIdTree, TVM_GETCOUNT), 0);
  EXPECT_EQ(Next(TVGN_ROOT), nullptr);
}

TEST_F(ViewsTest, TreeKeysExpandCollapseAndMoveAsExpected) {
  HTREEITEM a = Insert(TVI_ROOT, "Alpha");
  HTREEITEM a1 = Insert(a, "Alpha one");
  Insert(a, "Alpha two");
  HTREEITEM b = Insert(TVI_ROOT, "Beta");
  auto expanded = [&](HTREEITEM h) {
    TVITEMA it{};
    it.mask = TVIF_STATE;
    it.hItem = h;
    Send(kIdTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    return (it.state & TVIS_EXPANDED) != 0;
  };
  auto key = [&](UINT vk) { Send(kIdTree, WM_KEYDOWN, vk); };
  Send(kIdTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a));
  key(VK_LEFT);  // a collapsed top-level item: nothing
  EXPECT_EQ(Next(TVGN_CARET), a);
  key(VK_RIGHT);  // expands, keeps the selection
  EXPECT_TRUE(expanded(a));
  EXPECT_EQ(Next(TVGN_CARET), a);
  key(VK_RIGHT);  // already expanded: its first child
  EXPECT_EQ(Next(TVGN_CARET), a1);
  key(VK_RIGHT);  // no children: stays
  EXPECT_EQ(Next(TVGN_CARET), a1);
  key(VK_LEFT);  // to the parent
  EXPECT_EQ(Next(TVGN_CARET), a);
  key(VK_LEFT);  // collapses
  EXPECT_FALSE(expanded(a));
  key(VK_END);
  EXPECT_EQ(Next(TVGN_CARET), b);
  key(VK_HOME);
  EXPECT_EQ(Next(TVGN_CARET), a);
  key('X');  // not a navigation key
  EXPECT_EQ(Next(TVGN_CARET), a);

  EXPECT_EQ(Send(kIdTree, TVM_EXPAND, TVE_TOGGLE, reinterpret_cast<LPARAM>(a)), 1);
  EXPECT_TRUE(expanded(a));
  EXPECT_EQ(Send(kIdTree, TVM_EXPAND, TVE_TOGGLE, reinterpret_cast<LPARAM>(a)), 1);
  EXPECT_FALSE(expanded(a));
  // A click on the button of a collapsed item selects and expands it.
  RECT row = ItemHandleRect(a);
  Send(kIdTree, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(9, (row.top + row.bottom) / 2));
  EXPECT_TRUE(expanded(a));
  // Collapse with reset drops the children and reports rows removed.
  EXPECT_EQ(
      Send(kIdTree, TVM_EXPAND, TVE_COLLAPSE | TVE_COLLAPSERESET, reinterpret_cast<LPARAM>(a)), 1);
  EXPECT_EQ(Send(kIdTree, TVM_GETCOUNT), 2);
  EXPECT_EQ(Next(TVGN_CHILD, a), nullptr);
  EXPECT_EQ(Next(TVGN_NEXTVISIBLE, a), b);
}

TEST_F(ViewsTest, TreeItemQueriesAreBoundedAndCallbacksAnswered) {
  HTREEITEM h = Insert(TVI_ROOT, "Dictionary");
  char small[5] = "keep";
  TVITEMA it{};
  it.mask = TVIF_TEXT;
  it.hItem = h;
  it.pszText = small;
  it.cchTextMax = sizeof small;
  EXPECT_EQ(Send(kIdTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it)), 0);  // too short
  EXPECT_STREQ(small, "keep");
  char big[32] = "";
  it.pszText = big;
  it.cchTextMax = sizeof big;
  EXPECT_EQ(Send(kIdTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it)), 1);
  EXPECT_STREQ(big, "Dictionary");
  it.mask = TVIF_PARAM;
  EXPECT_EQ(Send(kIdTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it)), 0);  // never set

  // A callback text longer than the buffer is cut and terminated.
  std::string longText(sizeof g_dispText - 1, 'w');
  lstrcpyA(g_dispText, longText.c_str());
  TVINSERTSTRUCTA in{};
  in.hParent = TVI_ROOT;
  in.hInsertAfter = TVI_LAST;
  in.item.mask = TVIF_TEXT;
  in.item.pszText = LPSTR_TEXTCALLBACKA;
  ASSERT_NE(Send(kIdTree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&in)), 0);
  RedrawWindow(Item(kIdTree), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  tess_test::PumpMessages(30);
  bool asked = false;
  for (const Note& n : g_notes)
    asked |= n.wp == static_cast<WPARAM>(TVN_GETDISPINFOA);
  EXPECT_FALSE(asked);  // answered in place, not recorded
  EXPECT_EQ(Send(kIdTree, TVM_GETCOUNT), 2);
}

TEST_F(ViewsTest, ListAndTreePaintTheSkin) {
  for (const char* w : {"AARDVARK", "aBACus", "abide", "able"})
    Add(kIdList, w);
  for (const char* w : {"ablaze", "aboard", "abode", "abound", "about", "above"})
    Add(kIdList, w);
  Send(kIdList, kLbAddCapitals2, 0, reinterpret_cast<LPARAM>("triPLE word"));
  Send(kIdList, kLbInsertRed, 1, reinterpret_cast<LPARAM>("challenged"));
  Send(kIdList, LB_SETCURSEL, 2);
  for (const char* w : {"pear", "apple", "fig", "plum"})
    Add(kIdSorted, w);
  for (const char* w : {"ant", "bee", "cat", "dog", "eel"})
    Add(kIdExtended, w);
  Send(kIdExtended, LB_SETSEL, 1, 1);
  Send(kIdExtended, LB_SETSEL, 1, 3);

  HTREEITEM lex = Insert(TVI_ROOT, "Lexicons");
  HTREEITEM en = Insert(lex, "English");
  Insert(en, "Words");
  Insert(en, "Definitions");
  HTREEITEM fr = Insert(lex, "French");
  Insert(fr, "Mots");
  HTREEITEM players = Insert(TVI_ROOT, "Players");
  Insert(players, "Ada");
  Send(kIdTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(lex));
  Send(kIdTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(en));
  Send(kIdTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(en));

  SetForegroundWindow(dialog);
  RedrawWindow(dialog, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  tess_test::PumpMessages(200);

  tess_test::Image list = tess_test::CaptureClient(Item(kIdList));
  RECT sel = ItemRect(kIdList, 2), plain = ItemRect(kIdList, 0);
  int mid = (sel.top + sel.bottom) / 2;
  EXPECT_EQ(tess_test::ComparePixels(
                list, {{sel.right - 3, mid, kFelt, 8},
                       {plain.right - 3, (plain.top + plain.bottom) / 2, kIvory, 8}}),
            "");
  auto ink = [](COLORREF c) { return GetRValue(c) < 140 && GetBValue(c) < 120; };
  EXPECT_GT(tess_test::CountPixels(list, plain, ink), 10);  // the text is drawn
  RECT red = ItemRect(kIdList, 1);
  EXPECT_GT(tess_test::CountPixels(
                list, red, [](COLORREF c) { return GetRValue(c) > 180 && GetGValue(c) < 90; }),
            10);
  // The border: walnut outside, brass inside.
  tess_test::Image frame = tess_test::CaptureWindow(Item(kIdList));
  EXPECT_EQ(tess_test::ComparePixels(frame, {{20, 0, kWalnutDark, 8}, {20, 1, kBrass, 8}}), "");

  // The tree: the expanded button of the first item in its column, the
  // selected row's fill after its text's start.
  tess_test::Image tree = tess_test::CaptureClient(Item(kIdTree));
  RECT row = ItemHandleRect(lex);
  ASSERT_NE(row.bottom, 0);
  int centre = (row.top + row.bottom) / 2;
  RECT selRow = ItemHandleRect(en);
  ASSERT_NE(selRow.bottom, 0);
  EXPECT_EQ(tess_test::ComparePixels(
                tree, {{(19 - 11 + 1) / 2 + 5, centre, kWalnutDark, 10},
                       {(19 - 11 + 1) / 2 + 1, centre - 3, RGB(176, 128, 78), 60},
                       {selRow.right - 4, (selRow.top + selRow.bottom) / 2, kFelt, 8}}),
            "");

  RECT wr;
  GetWindowRect(dialog, &wr);
  std::string path = tess_test::SaveScreenshot(tess_test::CaptureScreen(wr), "gui_views");
  EXPECT_FALSE(path.empty());
}

TEST_F(ViewsTest, OwnerDrawnListSortsAndDrawsThroughItsParent) {
  HWND list = CreateWindowExA(0, kListWndClassName, "",
                              WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_SORT, 10, 200, 80,
                              60, dialog, reinterpret_cast<HMENU>(205), instance, nullptr);
  ASSERT_NE(list, nullptr);
  for (LPARAM v : {30, 10, 20})
    SendMessageA(list, LB_ADDSTRING, 0, v);
  std::vector<Note> want{{WM_COMPAREITEM, 0, 10},   // 10 against the last item, 30,
                         {WM_COMPAREITEM, 0, 10},   // then against the first, the same
                         {WM_COMPAREITEM, 1, 20},   // 20 against the last, 30
                         {WM_COMPAREITEM, 0, 20}};  // then against the first, 10
  EXPECT_EQ(g_notes, want);
  std::string order;
  for (int i = 0; i < 3; ++i)
    order += std::to_string(SendMessageA(list, LB_GETITEMDATA, i, 0)) + " ";
  EXPECT_EQ(order, "10 20 30 ");
  DWORD value = 0;
  EXPECT_EQ(SendMessageA(list, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(&value)), 4);
  EXPECT_EQ(value, 30u);
  EXPECT_EQ(SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), 20), 1);
  g_notes.clear();
  RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  want = {{WM_DRAWITEM, 0, 10}, {WM_DRAWITEM, 1, 20}, {WM_DRAWITEM, 2, 30}};
  std::vector<Note> drawn;
  for (const Note& n : g_notes)
    if (n.msg == WM_DRAWITEM) drawn.push_back(n);
  EXPECT_EQ(drawn, want);
  DestroyWindow(list);
  // A variable-height owner-drawn list is refused.
  EXPECT_EQ(CreateWindowExA(0, kListWndClassName, "", WS_CHILD | LBS_OWNERDRAWVARIABLE, 0, 0, 10,
                            10, dialog, nullptr, instance, nullptr),
            nullptr);
}

TEST_F(ViewsTest, MultiColumnListLaysItemsOutInColumns) {
  HWND list =
      CreateWindowExA(0, kListWndClassName, "", WS_CHILD | WS_VISIBLE | LBS_MULTICOLUMN, 10, 200,
                      200, 60, dialog, reinterpret_cast<HMENU>(206), instance, nullptr);
  ASSERT_NE(list, nullptr);
  SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
  EXPECT_EQ(SendMessageA(list, LB_SETCOLUMNWIDTH, 60, 0), 0);
  char name[8];
  for (int i = 0; i < 12; ++i) {
    wsprintfA(name, "w%d", i);
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  }
  RECT first{}, next{};
  SendMessageA(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  int rows = 0;
  for (int i = 1; i < 12; ++i) {
    SendMessageA(list, LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&next));
    if (next.left != first.left) break;
    rows = i;
  }
  ++rows;  // items per column
  ASSERT_GT(rows, 1);
  SendMessageA(list, LB_GETITEMRECT, rows, reinterpret_cast<LPARAM>(&next));
  EXPECT_EQ(next.left - first.left, 60);
  EXPECT_EQ(next.top, first.top);
  SendMessageA(list, WM_KEYDOWN, VK_RIGHT, 0);  // from no position: the first item
  SendMessageA(list, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), rows);
  SendMessageA(list, WM_KEYDOWN, VK_LEFT, 0);
  SendMessageA(list, WM_KEYDOWN, VK_LEFT, 0);  // already in the first column: stays
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0);
  // A click in the second column's first row picks the item there.
  SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(first.left + 65, first.top + 2));
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), rows);
  DestroyWindow(list);
}

TEST(GuiListCapitals, SecondColourFollowsTheTextColour) {
  struct Case {
    COLORREF text, want;
  };
  const Case cases[] = {
      {RGB(59, 36, 18), RGB(42, 60, 83)},  // largest and middle close: largest and smallest trade
      {RGB(100, 100, 100), RGB(214, 214, 214)},  // grey
      {RGB(250, 10, 40), RGB(60, 33, 255)},      // scaled below 231 first
      {RGB(200, 190, 10), RGB(34, 214, 224)},
  };
  for (const Case& c : cases)
    EXPECT_EQ(GuiListCapitalsColour(c.text), c.want) << std::hex << c.text;
}

}  // namespace
}  // namespace gui
