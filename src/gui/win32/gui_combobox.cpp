// CGUIComboBox: a field (an edit) with a drop-down button that opens a
// CGUIListWnd as a popup under the field (above it near the screen's
// bottom). CB_* requests are answered by the list as LB_* requests; while
// the list is open it holds the mouse, so a click anywhere else closes it.
//
// Differs from the combo box it follows: the selected text is read through
// a bounded buffer (LB_GETTEXTLEN first; texts longer than the buffer are
// read into a block of their own), so the field never overruns it. Where
// the skinned edit or button classes are not registered the system edit
// and an owner-drawn button painted with the skin's down arrow stand in.
// A resized combo moves its button to its new right edge along with the
// field (made small and sized later, it would hide the button otherwise).
#include <windows.h>

#include <cstring>

#include "gui/gui_core.h"
#include "gui/gui_memory.h"
#include "gui/win32/gui_list_wnd.h"
#include "gui/win32/gui_widgets1.h"
#include "gui/win32/gui_widgets2.h"
#include "gui/win32/gui_win32.h"

namespace gui {

namespace {

const char kClass[] = "CGUIComboBox";
constexpr int kSlotEdit = 0, kSlotButton = 1, kSlotList = 2;
constexpr int kEditId = 100;
constexpr int kTypeMask = 3, kTypeSimple = 1, kTypeDropDown = 2, kTypeDropList = 3;
constexpr DWORD kOwnerDrawn = 0x10;
constexpr int kSharedTextSize = 1024;

WNDPROC g_listProc = nullptr;
WNDPROC g_editProc = nullptr;
char g_text[kSharedTextSize];  // read for a moment, valid until the next combo call

HWND EditOf(HWND c) { return reinterpret_cast<HWND>(GuiGetWindowSlot(c, 0, kSlotEdit)); }
HWND ButtonOf(HWND c) { return reinterpret_cast<HWND>(GuiGetWindowSlot(c, 0, kSlotButton)); }
HWND ListOf(HWND c) { return reinterpret_cast<HWND>(GuiGetWindowSlot(c, 0, kSlotList)); }
DWORD StyleOf(HWND c) { return static_cast<DWORD>(GetWindowLongA(c, GWL_STYLE)); }
int TypeOf(HWND c) { return static_cast<int>(StyleOf(c) & kTypeMask); }
bool OwnerDrawn(HWND c) { return (StyleOf(c) & kOwnerDrawn) != 0; }
bool IsOpen(HWND c) { return ListOf(c) && IsWindowVisible(ListOf(c)); }

int ButtonWidth() {
  GuiSkin* skin = GuiGetSkin();
  return skin && skin->scrollMetrics.size1 > 0 ? skin->scrollMetrics.size1 : 16;
}

int FieldHeight() {
  GuiSkin* skin = GuiGetSkin();
  return skin && skin->combo.fieldHeight > 0 ? skin->combo.fieldHeight : 20;
}

void Post(HWND c, int code) {
  PostMessageA(GetParent(c), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c), code),
               reinterpret_cast<LPARAM>(c));
}

// Where the list goes: under the field, or above it when it would pass the
// desktop's bottom edge and there is room above.
POINT ListPlace(HWND c, int y) {
  RECT lr;
  GetWindowRect(ListOf(c), &lr);
  int height = lr.bottom - lr.top;
  POINT p{0, y};
  ClientToScreen(c, &p);
  RECT desk;
  GetWindowRect(GetDesktopWindow(), &desk);
  if (p.y + height > desk.bottom && p.y >= height) {
    p = POINT{0, -height};
    ClientToScreen(c, &p);
  }
  return p;
}

void UpdateField(HWND c) {
  HWND list = ListOf(c);
  LRESULT sel = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (sel < 0) return;
  LRESULT len = SendMessageA(list, LB_GETTEXTLEN, sel, 0);
  if (len < 0) return;
  char* text = g_text;
  if (len >= kSharedTextSize) {
    text = static_cast<char*>(GlobalAllocPtr(static_cast<size_t>(len) + 1));
    if (!text) return;
  }
  LRESULT got = SendMessageA(list, LB_GETTEXT, sel, reinterpret_cast<LPARAM>(text));
  text[got >= 0 && got <= len ? got : 0] = 0;
  HWND edit = EditOf(c);
  SetWindowTextA(edit, text);
  if (TypeOf(c) == kTypeDropDown && !OwnerDrawn(c))
    SendMessageA(edit, EM_SETSEL, 0, static_cast<LPARAM>(std::strlen(text)));
  if (text != g_text) GlobalFreePtr(text);
  if (TypeOf(c) != kTypeDropList) Post(c, CBN_EDITCHANGE);
}

void Open(HWND c) {
  HWND list = ListOf(c);
  RECT er;
  GetClientRect(EditOf(c), &er);
  // Under the whole field even when the edit is shorter than it.
  int below = er.bottom > FieldHeight() ? er.bottom : FieldHeight();
  POINT p = ListPlace(c, below + 1);
  SetWindowPos(list, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(list, HWND_TOPMOST, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  GuiBeginPopupCapture(list);
  SetFocus(list);
  Post(c, CBN_DROPDOWN);
}

void Close(HWND c) {
  GuiEndPopupCapture();
  HWND button = ButtonOf(c);
  SendMessageA(button, BM_SETCHECK, 0, 0);
  SendMessageA(button, WM_LBUTTONUP, 0, 0);
  if (TypeOf(c) == kTypeSimple) return;
  SetWindowPos(ListOf(c), HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  Post(c, CBN_CLOSEUP);
}

void CloseOnFocusLoss(HWND c) {
  HWND focus = GetFocus();
  if (focus != c && focus != EditOf(c) && focus != ListOf(c) && IsOpen(c)) Close(c);
}

HWND ComboOfList(HWND list) {
  return reinterpret_cast<HWND>(SendMessageA(list, kLbGetTarget, 0, 0));
}

// --- Subclass filters ---

bool LeftOnButton(UINT msg) {
  return msg == WM_NCLBUTTONDOWN || msg == WM_NCLBUTTONUP || msg == WM_LBUTTONDOWN ||
         msg == WM_LBUTTONUP;
}

LRESULT CALLBACK ListFilter(HWND list, UINT msg, WPARAM wp, LPARAM lp) {
  bool client = msg >= WM_LBUTTONDOWN && msg <= WM_MBUTTONDBLCLK;
  bool nc = msg >= WM_NCLBUTTONDOWN && msg <= WM_NCMBUTTONDBLCLK;
  if ((client || nc) && GetCapture() == list) {
    POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    if (client) ClientToScreen(list, &p);
    HWND target = WindowFromPoint(p);
    if (target != list) {
      HWND combo = ComboOfList(list);
      bool onButton = combo && target == ButtonOf(combo) && LeftOnButton(msg);
      if (combo && !onButton) Close(combo);
      if (!target) return 0;
      UINT m = msg;
      WPARAM keys = wp;
      POINT q = p;
      if (nc && SendMessageA(target, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)) == HTCLIENT) {
        GuiNcToClientMouse(target, &m, &keys, &q);
      } else if (client) {
        ScreenToClient(target, &q);
      }
      SendMessageA(target, m, keys, MAKELPARAM(q.x, q.y));
      return 0;
    }
    if (msg == WM_NCLBUTTONUP && wp == HTCLIENT) {
      UINT m = msg;
      WPARAM keys = wp;
      POINT q = p;
      GuiNcToClientMouse(list, &m, &keys, &q);
      return CallWindowProcA(g_listProc, list, m, keys, MAKELPARAM(q.x, q.y));
    }
  }
  return CallWindowProcA(g_listProc, list, msg, wp, lp);
}

void PaintOwnerDrawnField(HWND edit) {
  HWND combo = GetParent(edit);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(edit, &ps);
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_COMBOBOX;
  dis.CtlID = kEditId;
  dis.itemID = static_cast<UINT>(SendMessageA(ListOf(combo), LB_GETCURSEL, 0, 0));
  dis.hwndItem = edit;
  dis.hDC = dc;
  GetClientRect(edit, &dis.rcItem);
  if (!SendMessageA(combo, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&dis)))
    SendMessageA(combo, WM_DRAWITEM, kEditId, reinterpret_cast<LPARAM>(&dis));
  EndPaint(edit, &ps);
}

LRESULT CALLBACK FieldFilter(HWND edit, UINT msg, WPARAM wp, LPARAM lp) {
  HWND combo = GetParent(edit);
  bool owner = OwnerDrawn(combo);
  switch (msg) {
    case WM_PAINT:
      if (!owner) break;
      PaintOwnerDrawnField(edit);
      return 0;
    case WM_ERASEBKGND:
      if (owner) return 0;
      break;
    case EM_SETSEL:
      if (owner) return 0;
      break;
    case WM_KEYDOWN:
      SendMessageA(combo, WM_SIZE, 0, 0);
      if (owner) return 0;
      break;
  }
  return CallWindowProcA(g_editProc, edit, msg, wp, lp);
}

// The stand-in button: the skin's down arrow, pressed while held.
void DrawButton(const DRAWITEMSTRUCT* d) {
  GuiSkin* skin = GuiGetSkin();
  bool down = (d->itemState & ODS_SELECTED) != 0;
  PackedDIB* img = skin && skin->scroll.loaded
                       ? skin->scroll.images[kSbVertical + kSbSecondArrow + (down ? 1 : 0)]
                       : nullptr;
  const RECT& r = d->rcItem;
  if (img)
    DIBDrawThreePiece(d->hDC, &r, nullptr, img, nullptr, false);
  else
    GuiFillRectColor(d->hDC, &r, down ? 0x808080 : 0xC0C0C0);
}

// --- Handlers ---

LRESULT OnCreate(HWND c, CREATESTRUCTA* cs) {
  HINSTANCE inst = cs->hInstance;
  int bw = ButtonWidth(), fh = FieldHeight();
  GuiSkin* skin = GuiGetSkin();
  HMENU buttonId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(skin ? skin->combo.buttonId : 0));
  HWND button = CreateWindowExA(0, "CGUIBMPButton", "COMBOBOXBTN", 0x50004082, cs->cx - bw, 0, bw,
                                fh, c, buttonId, inst, nullptr);
  if (button && skin && skin->scroll.loaded) {
    // The skinned button shows the scroll bar's down arrow, up and pressed;
    // the images stay the skin's.
    for (int look = 0; look < 2; ++look)
      SendMessageA(
          button, kMsgSetImage, look,
          reinterpret_cast<LPARAM>(skin->scroll.images[kSbVertical + kSbSecondArrow + look]));
  }
  if (!button)
    button = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW | BS_NOTIFY,
                             cs->cx - bw, 0, bw, fh, c, buttonId, inst, nullptr);
  GuiSetWindowSlot(c, 0, kSlotButton, reinterpret_cast<LONG_PTR>(button));
  DWORD listStyle = 0x80204041 | (cs->style & kOwnerDrawn ? LBS_OWNERDRAWFIXED : 0);
  HWND list = CreateWindowExA(0, kListWndClassName, "", listStyle, 0, 0, cs->cx, cs->cy, c, nullptr,
                              inst, c);
  if (!list) return -1;
  GuiSetWindowSlot(c, 0, kSlotList, reinterpret_cast<LONG_PTR>(list));
  POINT p = ListPlace(c, fh + 1);
  SetWindowPos(list, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  WNDPROC old = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListFilter)));
  if (!g_listProc) g_listProc = old;
  DWORD editStyle = 0x50000180 | ((cs->style & 0x13) ? ES_READONLY : 0);
  HMENU editId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId));
  HWND edit = CreateWindowExA(0, "CGUIEdit", "", editStyle, 0, 0, cs->cx - bw, fh, c, editId, inst,
                              nullptr);
  if (!edit)
    edit =
        CreateWindowExA(0, "EDIT", "", editStyle, 0, 0, cs->cx - bw, fh, c, editId, inst, nullptr);
  if (!edit) return -1;
  GuiSetWindowSlot(c, 0, kSlotEdit, reinterpret_cast<LONG_PTR>(edit));
  old = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FieldFilter)));
  if (!g_editProc) g_editProc = old;
  SetWindowPos(c, nullptr, 0, 0, cs->cx, fh + 1,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
  return 0;
}

void OnSize(HWND c) {
  HWND edit = EditOf(c);
  if (!edit) return;
  RECT rc;
  GetClientRect(c, &rc);
  HDC dc = GetDC(edit);
  HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(edit, WM_GETFONT, 0, 0));
  HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  if (old) SelectObject(dc, old);
  ReleaseDC(edit, dc);
  int width = rc.right - ButtonWidth();
  SetWindowPos(edit, nullptr, 0, 0, width > 0 ? width : 0, tm.tmHeight + 2,
               SWP_NOZORDER | SWP_NOACTIVATE);
  // The button keeps to the right edge, or a widened combo hides it.
  if (HWND button = ButtonOf(c))
    SetWindowPos(button, nullptr, width > 0 ? width : 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT OnSetCurSel(HWND c, WPARAM wp) {
  HWND list = ListOf(c);
  if (static_cast<int>(wp) == -1) {
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SetWindowTextA(EditOf(c), "");
    return -1;
  }
  LRESULT r = SendMessageA(list, LB_SETCURSEL, wp, 0);
  UpdateField(c);
  return r;
}

LRESULT OnSelectString(HWND c, WPARAM wp, LPARAM lp) {
  LRESULT r = SendMessageA(ListOf(c), LB_SELECTSTRING, wp, lp);
  if (r >= 0) {
    Post(c, CBN_SELCHANGE);
    UpdateField(c);
  }
  return r;
}

void OnKeyDown(HWND c, WPARAM key) {
  if (GuiDialogKeyHelper(c, static_cast<UINT>(key))) return;
  HWND list = ListOf(c);
  if (key == VK_RETURN && IsOpen(c)) {
    Post(c, CBN_SELCHANGE);
    UpdateField(c);
    Close(c);
    return;
  }
  bool nav = key == VK_PRIOR || key == VK_NEXT || key == VK_END || key == VK_HOME || key == VK_UP ||
             key == VK_DOWN;
  if (!nav) return;
  if (!IsOpen(c) && TypeOf(c) != kTypeDropList) {
    Open(c);
    return;
  }
  SetFocus(list);
  SendMessageA(list, WM_KEYDOWN, key, 0);
  UpdateField(c);
}

void OnCommand(HWND c, WPARAM wp, LPARAM lp) {
  HWND from = reinterpret_cast<HWND>(lp);
  int code = HIWORD(wp);
  if (from == ButtonOf(c) && code == BN_CLICKED) {
    if (IsOpen(c))
      Close(c);
    else
      Open(c);
  } else if (from == ListOf(c) && code == LBN_SELCHANGE) {
    Post(c, CBN_SELCHANGE);
    UpdateField(c);
  } else if (from == ListOf(c) && code == LBN_DBLCLK) {
    Close(c);
    Post(c, CBN_DBLCLK);
  } else if ((from == ListOf(c) && code == LBN_KILLFOCUS) ||
             (from == ButtonOf(c) && code == BN_KILLFOCUS) ||
             (from == EditOf(c) && code == EN_KILLFOCUS)) {
    CloseOnFocusLoss(c);
  }
}

LRESULT OnNcPaint(HWND c) {
  if (!(StyleOf(c) & WS_BORDER)) return 0;
  HDC dc = GetWindowDC(c);
  RECT r;
  GetWindowRect(c, &r);
  OffsetRect(&r, -r.left, -r.top);
  GuiSkin* skin = GuiGetSkin();
  COLORREF frame = skin ? skin->editListColors[1] : 0x404040;
  HBRUSH brush = CreateSolidBrush(frame);
  FrameRect(dc, &r, brush);
  DeleteObject(brush);
  ReleaseDC(c, dc);
  return 0;
}

// CB_* requests the list answers as LB_* requests.
UINT ListRequest(UINT msg) {
  switch (msg) {
    case CB_ADDSTRING:
      return LB_ADDSTRING;
    case CB_DELETESTRING:
      return LB_DELETESTRING;
    case CB_DIR:
      return LB_DIR;
    case CB_GETCOUNT:
      return LB_GETCOUNT;
    case CB_GETCURSEL:
      return LB_GETCURSEL;
    case CB_GETLBTEXT:
    case kMsgComboItemText:
      return LB_GETTEXT;
    case CB_GETLBTEXTLEN:
      return LB_GETTEXTLEN;
    case CB_INSERTSTRING:
      return LB_INSERTSTRING;
    case CB_RESETCONTENT:
      return LB_RESETCONTENT;
    case CB_FINDSTRING:
      return LB_FINDSTRING;
    case CB_FINDSTRINGEXACT:
      return LB_FINDSTRINGEXACT;
    case CB_GETITEMDATA:
      return LB_GETITEMDATA;
    case CB_SETITEMDATA:
      return LB_SETITEMDATA;
    case CB_SETITEMHEIGHT:
      return LB_SETITEMHEIGHT;
    case CB_GETITEMHEIGHT:
      return LB_GETITEMHEIGHT;
  }
  return 0;
}

LRESULT CALLBACK ComboProc(HWND c, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CREATE) return OnCreate(c, reinterpret_cast<CREATESTRUCTA*>(lp));
  HWND list = ListOf(c);
  if (UINT request = ListRequest(msg)) return list ? SendMessageA(list, request, wp, lp) : CB_ERR;
  switch (msg) {
    case CB_SELECTSTRING:
      return OnSelectString(c, wp, lp);
    case CB_SETCURSEL:
      return OnSetCurSel(c, wp);
    case CB_GETDROPPEDSTATE:
      return IsOpen(c) ? 1 : 0;
    case kMsgComboClose:
      if (IsOpen(c)) Close(c);
      break;
    case WM_ACTIVATEAPP:
      if (!wp && IsOpen(c)) Close(c);
      break;
    case WM_DESTROY:
      GuiEndPopupCapture();
      if (list) DestroyWindow(list);
      GuiSetWindowSlot(c, 0, kSlotList, 0);
      break;
    case WM_MOVE:
    case WM_SIZE:
      OnSize(c);
      break;
    case WM_WINDOWPOSCHANGING:
      reinterpret_cast<WINDOWPOS*>(lp)->cy = FieldHeight() + 1;
      break;
    case WM_SETFOCUS:
      if (reinterpret_cast<HWND>(wp) != c) SetFocus(IsOpen(c) ? list : EditOf(c));
      break;
    case WM_KILLFOCUS:
      CloseOnFocusLoss(c);
      break;
    case WM_SETFONT:
      SendMessageA(EditOf(c), WM_SETFONT, wp, lp);
      if (list) SendMessageA(list, WM_SETFONT, wp, lp);
      return 0;
    case WM_DRAWITEM: {
      auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      if (d->hwndItem == ButtonOf(c)) {
        DrawButton(d);
        return TRUE;
      }
      d->CtlID = GetDlgCtrlID(c);
      return SendMessageA(GetParent(c), msg, d->CtlID, lp);
    }
    case WM_MEASUREITEM: {
      auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      m->CtlID = GetDlgCtrlID(c);
      return SendMessageA(GetParent(c), msg, m->CtlID, lp);
    }
    case WM_GETDLGCODE:
      return (list ? SendMessageA(list, msg, wp, lp) : 0) | SendMessageA(ButtonOf(c), msg, wp, lp) |
             SendMessageA(EditOf(c), msg, wp, lp);
    case WM_NCCALCSIZE:
      if (StyleOf(c) & WS_BORDER) {
        GuiSkin* skin = GuiGetSkin();
        int b = skin && skin->borderWidth > 0 ? skin->borderWidth : 1;
        InflateRect(reinterpret_cast<RECT*>(lp), -b, -b);
      }
      return WVR_REDRAW;
    case WM_NCHITTEST: {
      RECT r;
      GetWindowRect(c, &r);
      POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      if (PtInRect(&r, p)) return HTCLIENT;
      return IsOpen(c) ? HTBORDER : HTNOWHERE;
    }
    case WM_NCPAINT:
      return OnNcPaint(c);
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(c, wp);
      break;
    case WM_COMMAND:
      OnCommand(c, wp, lp);
      break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return SendMessageA(GetParent(c), msg, wp, lp);
  }
  return DefWindowProcA(c, msg, wp, lp);
}

}  // namespace

int RegisterCGUIComboBox(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.style = CS_GLOBALCLASS | CS_PARENTDC | CS_DBLCLKS;
  wc.lpfnWndProc = ComboProc;
  wc.cbWndExtra = 3 * sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kClass;
  return RegisterClassA(&wc) ? 1 : 0;
}

}  // namespace gui
