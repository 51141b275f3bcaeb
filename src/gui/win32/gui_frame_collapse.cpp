// Collapsing a dialog to its caption and back: the collapse button, the
// kMsgCollapse codes and the dialog's own say in the collapsed size.
#include "gui/win32/gui_frame_internal.h"

namespace gui {

DLGPROC DialogProcOf(HWND window) {
  return reinterpret_cast<DLGPROC>(GetWindowLongPtrA(window, DWLP_DLGPROC));
}

LRESULT Collapse(HWND window, GuiFrameState* s, WPARAM code, LPARAM lp) {
  DLGPROC own = DialogProcOf(window);
  if (!own) return 0;
  if (code == kCollapseQuery) {
    if (!(s->frameFlags & kFfCollapse)) return -1;
    return (s->dialogFlags & (kDlgCollapsed | kDlgCollapsing)) ? 1 : 0;
  }
  if (!(s->frameFlags & kFfCollapse)) return 0;
  GuiFrameGroup* g = s->group ? s->group : GroupFor(s);
  switch (code) {
    case kCollapseTrack:
      s->dialogFlags ^= lp ? kDlgTrackHeight : kDlgTrackWidth;
      return 0;
    case kCollapseReset:
      s->dialogFlags &= ~(kDlgCollapsedLook | kDlgCollapsed | kDlgCollapsing);
      return 0;
    case kCollapseRefit:
      if (!(s->dialogFlags & kDlgCollapsed) || !g) return 0;
      SetWindowPos(window, nullptr, 0, 0, g->collapsedWidth, CollapsedHeight(g),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    default:
      break;
  }
  const bool collapsing = !(s->dialogFlags & kDlgCollapsed);
  if (collapsing) {
    s->dialogFlags |= kDlgCollapsing;
    GetWindowRect(window, &s->savedRect);
    SIZE size{g ? g->collapsedWidth : 0, 0};
    if (!own(window, kMsgCollapse, reinterpret_cast<WPARAM>(&size), 1) && g) {
      size.cx = g->collapsedWidth > 0 ? g->collapsedWidth : s->savedRect.right - s->savedRect.left;
      size.cy = CollapsedHeight(g);
    }
    SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    s->dialogFlags = (s->dialogFlags & ~kDlgCollapsing) | kDlgCollapsed | kDlgCollapsedLook;
  } else {
    RECT& r = s->savedRect;
    SetWindowPos(window, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    s->dialogFlags &= ~(kDlgCollapsedLook | kDlgCollapsed);
  }
  if (HWND n = NotifyWindow())
    SendMessageA(n, kMsgPlaySound, (s->dialogFlags & kDlgCollapsed) ? SC_MINIMIZE : SC_MAXIMIZE, 0);
  SetFocus(window);
  own(window, kMsgCollapse, (s->dialogFlags & kDlgCollapsed) ? 1 : 0, 0);
  return 0;
}

void ToggleCollapseLook(HWND window, GuiFrameState* s) {
  s->dialogFlags ^= kDlgCollapsedLook;
  PostMessageA(window, kMsgCollapse, kCollapseToggle, 0);
}

}  // namespace gui
