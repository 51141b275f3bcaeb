// Skinned frames and dialogs: the frame state, made on WM_NCCREATE and freed
// on WM_NCDESTROY, and the window procedures, which dispatch each message to
// a named handler. The caption and borders (gui_frame_caption.cpp), the
// status bar (gui_frame_status.cpp), snapping (gui_frame_snap.cpp) and
// collapsing (gui_frame_collapse.cpp) live beside this file.
#include "gui/win32/gui_frame.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "gui/gui_core.h"
#include "gui/gui_memory.h"
#include "gui/raster.h"
#include "gui/win32/gui_frame_internal.h"
#include "gui/win32/gui_widgets2.h"
#include "gui/win32/gui_menu_win32.h"
#include "gui/win32/gui_win32.h"

namespace gui {

const char kDialogClassName[] = "cguiDialogClass";
const char kDialogStateProp[] = "GuiDialogState";

namespace {

int XOf(LPARAM lp) { return static_cast<short>(LOWORD(lp)); }
int YOf(LPARAM lp) { return static_cast<short>(HIWORD(lp)); }

UINT g_wheelMessage = 0;
int g_dialogSlotOffset = 0;  // the system dialog's window bytes
WNDPROC g_dialogBaseProc = nullptr;
std::vector<HWND> g_frames;

GuiFrameState* CreateState(HWND window, CREATESTRUCTA* cs, bool dialog) {
  if (!g_wheelMessage) g_wheelMessage = RegisterWindowMessageA("MSWHEEL_ROLLMSG");
  auto* s = static_cast<GuiFrameState*>(GlobalAllocPtr(sizeof(GuiFrameState)));
  if (!s) return nullptr;
  s->isDialog = dialog;
  s->hotPart = -1;
  uint32_t style = static_cast<uint32_t>(GetWindowLongA(window, GWL_STYLE));
  s->frameFlags = FlagsFromStyle(style);
  s->skin = GuiGetFrameSkin();
  auto* params = (!dialog && (s->frameFlags & kFfParams) && cs)
                     ? static_cast<GuiFrameCreateParams*>(cs->lpCreateParams)
                     : nullptr;
  if (params) {
    if (params->options & kCreateOwnGroup) {
      s->privateGroup = static_cast<GuiFrameGroup*>(GlobalAllocPtr(sizeof(GuiFrameGroup)));
      if (s->privateGroup) *s->privateGroup = params->group;
    }
    if ((params->options & kCreateMenuBar) && params->menuName) {
      GuiMenu* menu = GuiLoadMenu(params->menuInstance, params->menuName);
      s->menuBar = menu ? GuiMenuBarCreate(window, menu) : nullptr;
      if (s->menuBar) s->menuBar->ownsMenu = 1;
      if (!s->menuBar) {
        GuiDestroyMenu(menu);
        GlobalFreePtr(s->privateGroup);
        GlobalFreePtr(s);
        return nullptr;
      }
      s->frameFlags |= kFfMenuBar;
    }
    if ((params->options & kCreateStatusBar) && !(style & (WS_CHILD | WS_POPUP))) {
      s->status = CreateStatusBar();
    }
    cs->lpCreateParams = reinterpret_cast<void*>(params->appParam);
  }
  if (style & WS_SYSMENU) style &= ~WS_CAPTION;
  s->style = style & ~WS_SYSMENU;
  SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(style));
  s->kind = (style & WS_CHILD) ? 1 : (style & WS_POPUP) ? 2 : 0;
  g_frames.push_back(window);
  Notify(kEventCreated, window);
  return s;
}

void DestroyState(HWND window, GuiFrameState* s) {
  g_frames.erase(std::remove(g_frames.begin(), g_frames.end(), window), g_frames.end());
  if (!s) return;
  if (s->menuBar) {
    if (s->menuBar->ownsMenu) GuiDestroyMenu(s->menuBar->menu);
    GuiMenuBarDestroy(s->menuBar);
  }
  SafeGlobalFreePtr(s->status);
  SafeGlobalFreePtr(s->privateGroup);
  GlobalFreePtr(s);
}

// --- Message handlers shared by frames and dialogs. Each answers its message;
// Pass() leaves it to the default procedure.

struct Answer {
  LRESULT result;
  bool handled;
};
constexpr Answer Done(LRESULT result) { return {result, true}; }
constexpr Answer Pass() { return {0, false}; }

POINT WindowPoint(HWND window, LPARAM lp) {
  RECT wr;
  GetWindowRect(window, &wr);
  return POINT{XOf(lp) - wr.left, YOf(lp) - wr.top};
}

Answer OnNcCalcSize(HWND window, GuiFrameState* s, WPARAM wp, LPARAM lp) {
  s->paintSuspended = 0;
  RECT* r = reinterpret_cast<RECT*>(lp);
  Layout(window, s, r->right - r->left, r->bottom - r->top);
  const RECT win = *r;
  r->left = win.left + s->client.left;
  r->top = win.top + s->client.top;
  r->right = win.left + s->client.right;
  r->bottom = win.top + s->client.bottom;
  return Done(wp ? (WVR_VALIDRECTS | WVR_REDRAW) : 0);
}

// While a menu of this frame is open the frame keeps its active look.
bool MenuOpen(const GuiFrameState* s) { return s->menuBar && s->menuBar->openPopup; }

Answer OnNcPaint(HWND window, GuiFrameState* s) {
  s->active = GetActiveWindow() == window || MenuOpen(s);
  PaintNonClient(window, s);
  return Done(0);
}

Answer OnNcActivate(HWND window, GuiFrameState* s, WPARAM wp) {
  s->active = wp != 0 || MenuOpen(s);
  PaintNonClient(window, s);
  return Done(1);
}

Answer OnNcHitTest(HWND window, GuiFrameState* s, LPARAM lp) {
  LayoutWindow(window, s);
  return Done(HitTest(s, window, POINT{XOf(lp), YOf(lp)}));
}

Answer OnNcMouseMove(HWND window, GuiFrameState* s, WPARAM wp, LPARAM lp) {
  const int part = PartOfHit(static_cast<int>(wp));
  if (wp == HTMENU && s->menuBar)
    GuiMenuBarMouse(s->menuBar, WM_MOUSEMOVE, WindowPoint(window, lp));
  if (part != s->hotPart &&
      GetKeyState(GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) >= 0) {
    s->hotPart = part;
    PaintNonClient(window, s);
  }
  return Done(0);
}

Answer OnNcLButtonDown(HWND window, GuiFrameState* s, bool doubleClick, WPARAM wp, LPARAM lp) {
  const int hit = static_cast<int>(wp);
  if (hit == HTCAPTION) {
    if (!doubleClick) return Pass();
    if (!(s->frameFlags & kFfMaximize))
      ToggleCollapseLook(window, s);
    else
      ToggleMaximize(window, s);
    return Done(0);
  }
  if (hit == HTSYSMENU) {
    if (doubleClick) {
      Notify(kEventClosed, window);
      PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    return Done(0);
  }
  const int part = PartOfHit(hit);
  if (part >= 0) {
    s->pressed |= 1u << part;
    GuiBeginPopupCapture(window);
    PaintNonClient(window, s);
    return Done(0);
  }
  if (hit == HTMENU && s->menuBar) {
    GuiMenuBarMouse(s->menuBar, WM_LBUTTONDOWN, WindowPoint(window, lp));
    return Done(0);
  }
  return Pass();  // borders: the system sizes
}

Answer OnNcLButtonUp(HWND window, GuiFrameState* s, WPARAM wp) {
  if (!s->pressed) return Pass();
  const int part = PartOfHit(static_cast<int>(wp));
  const uint32_t pressed = s->pressed;
  s->pressed = 0;
  GuiEndPopupCapture();
  PaintNonClient(window, s);
  if (part >= 0 && (pressed & (1u << part))) TriggerPart(window, s, part);
  return Done(0);
}

Answer OnGetMinMaxInfo(HWND window, GuiFrameState* s, LPARAM lp) {
  auto* mm = reinterpret_cast<MINMAXINFO*>(lp);
  GuiFrameGroup* g = s->group ? s->group : GroupFor(s);
  if (!g) return Done(0);
  int buttons = 0;
  for (int code : {kPtClose, kPtMax, kPtMin, kPtCollapse})
    if (s->parts[code].normal) buttons += DIBWidthOf(s->parts[code].normal) + 2;
  const int capFixed = DIBWidthOf(GroupImage(g, kFrCaption + kPieceStart)) +
                       DIBWidthOf(GroupImage(g, kFrCaption + kPieceEnd)) + buttons;
  const int topFixed = DIBWidthOf(GroupImage(g, kFrTop + kPieceStart)) +
                       DIBWidthOf(GroupImage(g, kFrTop + kPieceEnd));
  mm->ptMinTrackSize.x = std::max(capFixed, topFixed) + DIBWidthOf(GroupImage(g, kFrCornerTL)) +
                         DIBWidthOf(GroupImage(g, kFrCornerTR)) + 1;
  mm->ptMinTrackSize.y = CollapsedHeight(g) + (s->menuBar ? GuiMenuBarHeight() : 0);
  if (s->dialogFlags & kDlgCollapsed) {
    RECT r;
    GetWindowRect(window, &r);
    if (!(s->dialogFlags & kDlgTrackWidth))
      mm->ptMinTrackSize.x = mm->ptMaxTrackSize.x = r.right - r.left;
    if (!(s->dialogFlags & kDlgTrackHeight))
      mm->ptMinTrackSize.y = mm->ptMaxTrackSize.y = r.bottom - r.top;
  }
  return Done(0);
}

Answer OnWindowPosChanged(HWND window, GuiFrameState* s, LPARAM lp) {
  const auto* pos = reinterpret_cast<const WINDOWPOS*>(lp);
  if (!(pos->flags & SWP_NOSIZE) || !(pos->flags & SWP_NOMOVE)) LayoutWindow(window, s);
  if (!IsZoomed(window) && s->maximizeLook && !(pos->flags & SWP_NOSIZE)) s->maximizeLook = false;
  return Pass();
}

Answer OnSetText(HWND window, GuiFrameState* s, WPARAM wp, LPARAM lp) {
  const LRESULT r = s->isDialog ? DefDlgProcA(window, WM_SETTEXT, wp, lp)
                                : DefWindowProcA(window, WM_SETTEXT, wp, lp);
  PaintNonClient(window, s);
  return Done(r);
}

Answer OnMenuClosed(HWND window, GuiFrameState* s, WPARAM wp) {
  if (wp == 1 && s->menuBar) {
    s->menuBar->openPopup = nullptr;
    s->menuBar->hot = -1;
    if (s->menuBar->menu) s->menuBar->menu->barOpen = -1;
    PaintNonClient(window, s);
  }
  SendMessageA(NotifyWindow() ? NotifyWindow() : window, WM_EXITMENULOOP, wp == 1 ? 0 : 1, 0);
  return Done(0);
}

Answer OnMouseActivate(GuiFrameState* s, LPARAM lp) {
  if (MenuOpen(s) && LOWORD(lp) == HTMENU) return Done(MA_NOACTIVATE);
  return Pass();
}

Answer OnSysChar(GuiFrameState* s, WPARAM wp) {
  if (s->menuBar && !s->menuBar->disabled && GuiMenuBarMnemonic(s->menuBar, static_cast<char>(wp)))
    return Done(0);
  return Pass();
}

Answer OnEraseBackground(HWND window, GuiFrameState* s, WPARAM wp) {
  PackedDIB* tile = GroupImage(s->group, kFrBackground);
  if (!(GetWindowLongA(window, GWL_STYLE) & kStyleTiledBackground) || !tile) return Pass();
  RECT rc;
  GetClientRect(window, &rc);
  DIBTileRect(reinterpret_cast<HDC>(wp), tile, &rc);
  return Done(1);
}

// A child asks for the background under it (kMsgParentBackground): the
// frame's tile, in phase with the frame's own erasing.
Answer OnChildBackground(GuiFrameState* s, LPARAM lp) {
  auto* req = reinterpret_cast<GuiBackgroundRequest*>(lp);
  PackedDIB* tile = GroupImage(s->group, kFrBackground);
  if (!req || !req->image || !tile) return Done(0);
  const RECT& r = req->rect;
  return Done(DIBTileToDIB(tile, req->image, DibRect{r.left, r.top, r.right, r.bottom}, 0, 0));
}

// The wheel message of old mouse drivers goes to the focus as WM_MOUSEWHEEL.
Answer OnOldWheel(WPARAM wp, LPARAM lp) {
  if (HWND focus = GetFocus())
    SendMessageA(focus, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(wp)), lp);
  return Done(0);
}

// Messages shared by frames and dialogs: the dispatch to their handlers.
Answer Common(HWND window, GuiFrameState* s, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCCALCSIZE:
      return OnNcCalcSize(window, s, wp, lp);
    case WM_NCPAINT:
      return OnNcPaint(window, s);
    case WM_NCACTIVATE:
      return OnNcActivate(window, s, wp);
    case WM_NCHITTEST:
      return OnNcHitTest(window, s, lp);
    case WM_NCMOUSEMOVE:
      return OnNcMouseMove(window, s, wp, lp);
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      return OnNcLButtonDown(window, s, msg == WM_NCLBUTTONDBLCLK, wp, lp);
    case WM_NCLBUTTONUP:
      return OnNcLButtonUp(window, s, wp);
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCRBUTTONDBLCLK:
      return Done(0);
    case WM_GETMINMAXINFO:
      return OnGetMinMaxInfo(window, s, lp);
    case WM_ENTERSIZEMOVE:
      BeginSnap(window);
      return Pass();
    case WM_EXITSIZEMOVE:
      EndSnap();
      return Pass();
    case WM_WINDOWPOSCHANGING:
      if (Snapping()) Snap(reinterpret_cast<WINDOWPOS*>(lp));
      return Pass();
    case WM_WINDOWPOSCHANGED:
      return OnWindowPosChanged(window, s, lp);
    case WM_SETTEXT:
      return OnSetText(window, s, wp, lp);
    case kMsgGetFrameState:
      return Done(reinterpret_cast<LRESULT>(s));
    case kMsgSuspendPaint:
      s->paintSuspended = 1;
      return Done(0);
    case kMsgMenuClosed:
      return OnMenuClosed(window, s, wp);
    case WM_MOUSEACTIVATE:
      return OnMouseActivate(s, lp);
    case WM_SYSCHAR:
      return OnSysChar(s, wp);
    case WM_ERASEBKGND:
      return OnEraseBackground(window, s, wp);
    case kMsgParentBackground:
      return OnChildBackground(s, lp);
    default:
      break;
  }
  LRESULT result = 0;
  if (StatusMessage(window, s, msg, wp, lp, &result)) return Done(result);
  if (g_wheelMessage && msg == g_wheelMessage) return OnOldWheel(wp, lp);
  return Pass();
}

}  // namespace

GuiFrameState* StateOf(HWND w) {
  if (!w) return nullptr;
  char cls[64] = {};
  GetClassNameA(w, cls, sizeof cls);
  // Classes derived from the dialog class (same extra bytes and procedure)
  // are marked when their state is made.
  if (lstrcmpiA(cls, kDialogClassName) == 0 || GetPropA(w, kDialogStateProp))
    return reinterpret_cast<GuiFrameState*>(GetWindowLongPtrA(w, g_dialogSlotOffset));
  auto it = std::find(g_frames.begin(), g_frames.end(), w);
  if (it == g_frames.end()) return nullptr;
  return reinterpret_cast<GuiFrameState*>(GetWindowLongPtrA(w, 0));
}

uint32_t FlagsFromStyle(uint32_t style) {
  uint32_t f = 0;
  if (style & 0x1) f |= kFfParams;
  if (style & WS_MAXIMIZEBOX) f |= kFfMaximize;
  if (style & WS_MINIMIZEBOX) f |= kFfMinimize;
  if (style & WS_SYSMENU) f |= kFfClose;
  if ((style & WS_CAPTION) == WS_CAPTION || (style & 0xB0000)) f |= kFfCaption;
  bool vscroll = (style & WS_VSCROLL) != 0;
  if (style & WS_BORDER) {
    if (style & 0x2)
      f |= kFfFifth;
    else if (style & 0x4)
      f |= kFfFourth;
    else
      f |= kFfBordered;
  } else if (vscroll) {
    f |= kFfFifth;
    vscroll = false;
  }
  if (style & WS_DLGFRAME) f |= kFfDialogFrame;
  if (vscroll) f |= kFfVScroll;
  if (style & WS_HSCROLL) f |= kFfHScroll;
  if (style & WS_THICKFRAME) f |= kFfThick;
  if (style & 0x100) f |= kFfClose;
  if (style & 0x20) f |= kFfCollapse;
  return f;
}

GuiFrameGroup* GroupFor(GuiFrameState* s) {
  if (s->privateGroup) return s->privateGroup;
  GuiFrameSkin* skin = GuiGetFrameSkin();
  s->skin = skin;
  if (!skin) return nullptr;
  int k = -1;
  if (s->frameFlags & kFfThick)
    k = kKindThick;
  else if (s->frameFlags & kFfDialogFrame)
    k = kKindDialog;
  else if (s->frameFlags & kFfBordered)
    k = kKindBordered;
  else if (s->frameFlags & kFfFourth)
    k = kKindFourth;
  else if (s->frameFlags & kFfFifth)
    k = kKindTooltip;
  if (k < 0) return nullptr;
  GuiFrameGroup* g = &skin->groups[k];
  return g->present && g->loaded ? g : nullptr;
}

HWND NotifyWindow() {
  GuiFrameSkin* skin = GuiGetFrameSkin();
  return skin ? static_cast<HWND>(skin->notifyWindow) : nullptr;
}

void Notify(WPARAM code, HWND window) {
  if (HWND n = NotifyWindow())
    PostMessageA(n, kMsgFrameEvent, code, reinterpret_cast<LPARAM>(window));
}

GuiFrameState* GuiFrameStateOf(HWND window) { return StateOf(window); }

GuiMenuBar* GuiFrameMenuBar(HWND window) {
  GuiFrameState* s = StateOf(window);
  return s ? s->menuBar : nullptr;
}

void GuiFrameSetMenuBar(HWND window, GuiMenuBar* bar, bool on) {
  GuiFrameState* s = StateOf(window);
  if (!s) return;
  s->menuBar = bar;
  if (on)
    s->frameFlags |= kFfMenuBar | kFfStatusBar;
  else
    s->frameFlags &= ~(kFfMenuBar | kFfStatusBar);
  if (on && !s->status) {
    s->status = CreateStatusBar();
  }
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT GuiFrameMenuBarRect(HWND window) {
  GuiFrameState* s = StateOf(window);
  if (!s) return RECT{0, 0, 0, 0};
  LayoutWindow(window, s);
  return s->parts[kPtMenu].rc;
}

void GuiFrameRedrawNonClient(HWND window) {
  if (GuiFrameState* s = StateOf(window)) PaintNonClient(window, s);
}

int GuiEnumFrameWindows(GuiFrameEnumFn fn, LPARAM arg) {
  if (!fn) return 0;
  std::vector<HWND> copy = g_frames;
  for (HWND w : copy)
    if (!fn(w, arg)) return 0;
  return 1;
}

LRESULT CALLBACK GuiDefFrameProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    GuiFrameState* s = CreateState(window, reinterpret_cast<CREATESTRUCTA*>(lp), false);
    if (!s) return 0;
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(s));
    return DefWindowProcA(window, msg, wp, lp);
  }
  GuiFrameState* s = StateOf(window);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(window, 0, 0);
    DestroyState(window, s);
    return DefWindowProcA(window, msg, wp, lp);
  }
  if (!s || (IsIconic(window) && msg != WM_GETMINMAXINFO))
    return DefWindowProcA(window, msg, wp, lp);
  const Answer a = Common(window, s, msg, wp, lp);
  return a.handled ? a.result : DefWindowProcA(window, msg, wp, lp);
}

LRESULT CALLBACK GuiDialogProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    GuiFrameState* s = CreateState(window, reinterpret_cast<CREATESTRUCTA*>(lp), true);
    if (!s) return 0;
    SetWindowLongPtrA(window, g_dialogSlotOffset, reinterpret_cast<LONG_PTR>(s));
    SetPropA(window, kDialogStateProp, reinterpret_cast<HANDLE>(1));
    return CallWindowProcA(g_dialogBaseProc, window, msg, wp, lp);
  }
  GuiFrameState* s = StateOf(window);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(window, g_dialogSlotOffset, 0);
    RemovePropA(window, kDialogStateProp);
    DestroyState(window, s);
    return CallWindowProcA(g_dialogBaseProc, window, msg, wp, lp);
  }
  if (!s) return CallWindowProcA(g_dialogBaseProc, window, msg, wp, lp);
  switch (msg) {
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_KEYMENU || (wp & 0xFFF0) == SC_CLOSE) return 0;
      break;
    case kMsgCollapse:
      return Collapse(window, s, wp, lp);
    case WM_STYLECHANGED:
      if (wp == static_cast<WPARAM>(GWL_STYLE))
        s->frameFlags = FlagsFromStyle(reinterpret_cast<STYLESTRUCT*>(lp)->styleNew) |
                        (s->frameFlags & (kFfMenuBar | kFfStatusBar));
      break;
    case WM_ERASEBKGND: {
      DLGPROC own = DialogProcOf(window);
      if (own && own(window, msg, wp, lp)) return 1;
      break;
    }
    case kMsgParentBackground: {
      // A dialog with its own procedure draws only when the procedure agrees.
      DLGPROC own = DialogProcOf(window);
      if (own && !own(window, msg, wp, lp)) return 0;
      break;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
      DLGPROC own = DialogProcOf(window);
      if (own) {
        INT_PTR r = own(window, msg, wp, lp);
        if (r) return r;
      }
      char cls[64] = {};
      GetClassNameA(reinterpret_cast<HWND>(lp), cls, sizeof cls);
      CharLowerA(cls);
      if (std::strstr(cls, "cgui")) return SendMessageA(reinterpret_cast<HWND>(lp), msg, wp, lp);
      return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    case WM_INITDIALOG:
    case WM_SIZE: {
      RECT r;
      GetWindowRect(window, &r);
      SetWindowRgn(window, CreateRectRgn(0, 0, r.right - r.left, r.bottom - r.top), TRUE);
      break;
    }
    default:
      break;
  }
  if (IsIconic(window)) return CallWindowProcA(g_dialogBaseProc, window, msg, wp, lp);
  const Answer a = Common(window, s, msg, wp, lp);
  return a.handled ? a.result : CallWindowProcA(g_dialogBaseProc, window, msg, wp, lp);
}

int GuiRegisterDialogClass(HINSTANCE instance) {
  WNDCLASSEXA base{};
  base.cbSize = sizeof base;
  if (!GetClassInfoExA(nullptr, "#32770", &base)) return 0;
  g_dialogBaseProc = base.lpfnWndProc;
  g_dialogSlotOffset = base.cbWndExtra;
  WNDCLASSEXA wc = base;
  wc.cbWndExtra = base.cbWndExtra + static_cast<int>(sizeof(LONG_PTR));
  wc.style = 0x680B;
  wc.lpfnWndProc = GuiDialogProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(2982));
  wc.hCursor = LoadCursorA(instance, MAKEINTRESOURCEA(3031));
  if (!wc.hCursor) wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  wc.lpszClassName = kDialogClassName;
  wc.hIconSm = nullptr;
  return RegisterClassExA(&wc) ? 1 : 0;
}

int GuiAdjustWindowRect(RECT* rect, DWORD style, BOOL hasMenu) {
  GuiFrameSkin* skin = GuiGetFrameSkin();
  if (!skin || !rect) return 0;
  if (!(style & (WS_THICKFRAME | WS_DLGFRAME | WS_BORDER))) return 1;
  const GuiFrameGroup* g = (style & WS_THICKFRAME) ? &skin->groups[kKindThick]
                           : (style & WS_DLGFRAME) ? &skin->groups[kKindDialog]
                                                   : &skin->groups[kKindBordered];
  rect->bottom += DIBHeightOf(GroupImage(g, kFrTop + kPieceMiddle)) +
                  DIBHeightOf(GroupImage(g, kFrBottom + kPieceMiddle));
  if (style & WS_CAPTION) rect->bottom += CaptionHeight(g);
  if (hasMenu) rect->bottom += GuiMenuBarHeight();
  rect->right += DIBWidthOf(GroupImage(g, kFrLeft + kPieceMiddle)) +
                 DIBWidthOf(GroupImage(g, kFrRight + kPieceMiddle));
  return 1;
}

HWND GuiCreateWindowEx(DWORD exStyle, const char* className, const char* title, DWORD style, int x,
                       int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                       GuiFrameCreateParams* params) {
  if (params && params->group.present) {
    params->options |= kCreateOwnGroup;
    GuiLoadFrameGroupImages(&params->group, false);
    if (!params->group.captionFont) {
      LOGFONTA lf{};
      lf.lfHeight = params->group.captionHeight;
      lf.lfWidth = params->group.captionWidth;
      lf.lfWeight = 400;
      lf.lfOutPrecision = OUT_TT_PRECIS;
      lstrcpynA(lf.lfFaceName, params->group.captionFace, LF_FACESIZE);
      params->group.captionFont = params->group.captionFace[0]
                                      ? static_cast<GuiHandle>(CreateFontIndirectA(&lf))
                                      : static_cast<GuiHandle>(GetStockObject(DEFAULT_GUI_FONT));
    }
  }
  return CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, menu,
                         instance, params);
}

}  // namespace gui
