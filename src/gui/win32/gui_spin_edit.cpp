// CGUISpinEdit: a number field with up and down arrows, a container of a
// CGUIEdit and two auto-repeating bitmap CGUIBMPButtons. The value stays in
// its range; typed text is filtered; every change is posted to the parent
// (kNotifySpinChanged). Differences from the up-down control it replaces:
// the range and value are signed 32-bit, set through the caption
// ("min:max:value:step") or kMsgSpinSetRange.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "gui/gui_core.h"
#include "gui/gui_memory.h"
#include "gui/spin_model.h"
#include "gui/widget_skin_reader.h"
#include "gui/win32/gui_widgets1.h"
#include "gui/win32/gui_win32.h"

namespace gui {

namespace {

const char kClass[] = "CGUISpinEdit";
const char kEditProcProp[] = "TessSpinEditProc";

struct SpinEditState {
  HWND edit, up, down;
  int editId, upId, downId;
  SpinRange range;
};

bool g_inUpdate = false;     // guards the edit-update handler against re-entry
char g_text[kSpinTextSize];  // the number as shown; the parent may rewrite it
bool g_showing = false;      // the field writes its own text: no typing notice

SpinEditState* StateOf(HWND w) { return reinterpret_cast<SpinEditState*>(GetWindowLongPtrA(w, 0)); }
DWORD Style(HWND w) { return static_cast<DWORD>(GetWindowLongA(w, GWL_STYLE)); }

void Notify(HWND w) {
  PostMessageA(GetParent(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), kNotifySpinChanged),
               reinterpret_cast<LPARAM>(w));
}

void Show(HWND w, SpinEditState* s) {
  std::snprintf(g_text, sizeof g_text, "%d", s->range.value);
  if (Style(w) & kSpinParentText) {
    SendMessageA(GetParent(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), kNotifySpinText),
                 reinterpret_cast<LPARAM>(g_text));
    g_text[sizeof g_text - 1] = 0;  // whatever the parent wrote, the text ends here
  }
  g_showing = true;
  SetWindowTextA(s->edit, g_text);
  g_showing = false;
}

void Store(HWND w, SpinEditState* s, int32_t value, bool notify) {
  s->range.value = value;
  Show(w, s);
  if (notify) Notify(w);
}

// The typed number after the filter; the edit's text is cleaned in place.
int32_t ReadTyped(SpinEditState* s, char* text, size_t size) {
  GetWindowTextA(s->edit, text, static_cast<int>(size));
  if (SpinCleanText(text, s->range.minimum)) SetWindowTextA(s->edit, text);
  return SpinTextValue(text);
}

PackedDIB* ArrowImage() {
  GuiSkin* skin = GuiGetSkin();
  return skin ? GuiSkinImage(skin, skin->editConfig.imageIds[kEcArrowKey]) : nullptr;
}

void Layout(HWND w, SpinEditState* s) {
  PackedDIB* arrow = ArrowImage();
  if (!s || !arrow) return;
  int aw = DIBWidth(arrow), ah = DIBHeight(arrow);
  RECT rc;
  GetClientRect(w, &rc);
  UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
  SetWindowPos(s->up, nullptr, rc.right - aw, rc.top, 0, 0, flags);
  SetWindowPos(s->down, nullptr, rc.right - aw, rc.bottom - ah, 0, 0, flags);
  SetWindowPos(s->edit, nullptr, 0, 0, rc.right - aw, rc.bottom,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The number centred vertically in the edit.
  HDC dc = GetDC(w);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(s->edit, WM_GETFONT, 0, 0)));
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(w, dc);
  RECT er;
  GetClientRect(s->edit, &er);
  int inset = (er.bottom - tm.tmHeight + 1) / 2;
  if (inset > 0) {
    er.top += inset;
    er.bottom -= inset;
  }
  SendMessageA(s->edit, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&er));
}

LRESULT CALLBACK EditFilter(HWND e, UINT msg, WPARAM wp, LPARAM lp) {
  auto base = reinterpret_cast<WNDPROC>(GetPropA(e, kEditProcProp));
  HWND spin = GetParent(e);
  if (msg == WM_KEYDOWN) {
    if (wp == VK_ESCAPE) {
      SendMessageA(spin, WM_KEYDOWN, VK_ESCAPE, 0);
      return 0;
    }
    int code = SpinKeyScroll(static_cast<unsigned>(wp));
    if (code >= 0) {
      SendMessageA(spin, WM_VSCROLL, static_cast<WPARAM>(code), 0);
      return 0;
    }
  } else if (msg == WM_CHAR && !SpinAcceptsChar(static_cast<char>(wp))) {
    MessageBeep(0);
    return 0;
  } else if (msg == WM_NCDESTROY) {
    RemovePropA(e, kEditProcProp);
    SetWindowLongPtrA(e, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(base));
  }
  return base ? CallWindowProcA(base, e, msg, wp, lp) : DefWindowProcA(e, msg, wp, lp);
}

HWND MakeArrow(HWND w, HINSTANCE instance, int id, int x, int y, PackedDIB* arrow) {
  return CreateWindowExA(0, "CGUIBMPButton", "", WS_CHILD | WS_VISIBLE | 0x1000 | BS_BITMAP, x, y,
                         DIBWidth(arrow), DIBHeight(arrow), w,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

LRESULT OnCreate(HWND w, CREATESTRUCTA* cs) {
  GuiSkin* skin = GuiGetSkin();
  PackedDIB* arrow = ArrowImage();
  if (!skin || !arrow) return -1;
  auto* s = static_cast<SpinEditState*>(GlobalAllocPtr(sizeof(SpinEditState)));
  if (!s) return -1;
  SetWindowLongPtrA(w, 0, reinterpret_cast<LONG_PTR>(s));
  s->range = SpinParseCaption(cs->lpszName);
  s->upId = static_cast<int>(skin->editConfig.imageIds[kEcUpButtonId]);
  s->downId = static_cast<int>(skin->editConfig.imageIds[kEcDownButtonId]);
  s->editId = static_cast<int>(skin->editConfig.imageIds[kEcEditId]);
  int aw = DIBWidth(arrow), ah = DIBHeight(arrow);
  DWORD editStyle = WS_CHILD | WS_VISIBLE | ((cs->style & kSpinParentText) ? ES_READONLY : 0);
  s->edit = CreateWindowExA(0, "CGUIEdit", "", editStyle, 0, 0, cs->cx - aw, cs->cy, w,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(s->editId)), cs->hInstance,
                            nullptr);
  if (!s->edit) return -1;
  SetPropA(s->edit, kEditProcProp,
           reinterpret_cast<HANDLE>(GetWindowLongPtrA(s->edit, GWLP_WNDPROC)));
  SetWindowLongPtrA(s->edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditFilter));
  Show(w, s);
  s->up = MakeArrow(w, cs->hInstance, s->upId, cs->cx - aw, 0, arrow);
  s->down = MakeArrow(w, cs->hInstance, s->downId, cs->cx - aw, cs->cy - ah, arrow);
  return s->up || s->down ? 0 : -1;
}

void OnEditUpdate(HWND w, SpinEditState* s) {
  if ((Style(w) & kSpinParentText) || g_inUpdate) return;
  g_inUpdate = true;
  char text[10] = {};
  int32_t typed = ReadTyped(s, text, sizeof text);
  int32_t clamped = SpinClamp(s->range, typed);
  if (!(text[0] && typed == clamped && !std::strchr(text, '.'))) Store(w, s, clamped, false);
  g_inUpdate = false;
}

LRESULT OnCommand(HWND w, SpinEditState* s, WPARAM wp, LPARAM lp) {
  int id = LOWORD(wp), code = HIWORD(wp);
  if (id == s->editId && reinterpret_cast<HWND>(lp) == s->edit) {
    if (code == EN_UPDATE) {
      OnEditUpdate(w, s);
    } else if (code == EN_CHANGE && !(Style(w) & kSpinParentText) && !g_showing) {
      char text[10] = {};
      s->range.value = ReadTyped(s, text, sizeof text);
      Notify(w);
    } else if (code == EN_SETFOCUS) {
      SendMessageA(s->edit, EM_SETSEL, 0, static_cast<LPARAM>(0xFFFF0000));
    }
    return 0;
  }
  HWND from = reinterpret_cast<HWND>(lp);
  if (from && (from == s->up || from == s->down)) {
    SetFocus(s->edit);
    Store(w, s, SpinStep(s->range, from == s->up ? kSpinLineUp : kSpinLineDown), true);
    return DefWindowProcA(w, WM_COMMAND, wp, lp);
  }
  return 0;
}

LRESULT OnVScroll(HWND w, SpinEditState* s, WPARAM wp) {
  SetFocus(s->edit);
  int code = LOWORD(wp);
  if ((code == kSpinTop && s->range.value == s->range.minimum) ||
      (code == kSpinBottom && s->range.value == s->range.maximum))
    return 0;
  Store(w, s, SpinStep(s->range, code), true);
  return 0;
}

LRESULT OnSetRange(HWND w, SpinEditState* s, WPARAM wp, LPARAM lp) {
  int32_t before = s->range.value;
  bool keep = static_cast<int32_t>(wp) == -1;
  SpinSetRange(&s->range, static_cast<uint32_t>(lp), keep, static_cast<int32_t>(wp));
  if (s->range.value != before) Show(w, s);
  return s->range.value;
}

LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CREATE) return OnCreate(w, reinterpret_cast<CREATESTRUCTA*>(lp));
  SpinEditState* s = StateOf(w);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(w, 0, 0);
    GlobalFreePtr(s);
    return DefWindowProcA(w, msg, wp, lp);
  }
  if (msg == WM_NCCALCSIZE) {
    Layout(w, s);
    return wp ? (WVR_REDRAW | WVR_VALIDRECTS) : 0;
  }
  if (!s) return DefWindowProcA(w, msg, wp, lp);
  switch (msg) {
    case WM_MOVE:
    case WM_SIZE:
      Layout(w, s);
      return DefWindowProcA(w, msg, wp, lp);
    case WM_NCPAINT:
      return 0;
    case WM_SETFOCUS:
      SetFocus(s->edit);
      return DefWindowProcA(w, msg, wp, lp);
    case WM_SETFONT:
    case WM_GETDLGCODE:
      return SendMessageA(s->edit, msg, wp, lp);
    case WM_KEYDOWN:
      if (wp == VK_ESCAPE) return SendMessageA(GetParent(w), WM_KEYDOWN, VK_ESCAPE, lp);
      return DefWindowProcA(w, msg, wp, lp);
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      // The skinned dialog hands these back to the edit, which colours itself.
      return SendMessageA(GetParent(w), msg, wp, lp);
    case WM_COMMAND:
      return OnCommand(w, s, wp, lp);
    case WM_VSCROLL:
      return OnVScroll(w, s, wp);
    case WM_USER + 2:
    case kMsgSpinSetRange:
      return OnSetRange(w, s, wp, lp);
    case WM_USER + 3:
    case kMsgSpinGetRange:
      return static_cast<LRESULT>(SpinPackedRange(s->range));
    case SBM_GETPOS:
    case kMsgSpinGetPos:
      return s->range.value;
    case SBM_SETPOS:
    case kMsgSpinSetPos:
      Store(w, s, SpinClamp(s->range, static_cast<int32_t>(wp)), false);
      return s->range.value;
    default:
      return DefWindowProcA(w, msg, wp, lp);
  }
}

}  // namespace

int RegisterCGUISpinEdit(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.style = CS_GLOBALCLASS | CS_CLASSDC | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = Proc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.lpszClassName = kClass;
  return RegisterClassA(&wc) ? 1 : 0;
}

}  // namespace gui
