#include "ui/win32/colour_select_dialog.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "shell/window/dialog_support.h"
#include "shell/window/win_utils.h"
#include "ui/window_slots.h"

namespace ui {
namespace {

constexpr char kColourTemplate[] = "COLOR_SELECT";
constexpr int kTracks[3] = {kIdRedTrack, kIdGreenTrack, kIdBlueTrack};
constexpr int kEdits[3] = {kIdRedEdit, kIdGreenEdit, kIdBlueEdit};
constexpr int kChannelSwatches[3] = {1006, 1007, 1009};

struct ColourState {
  COLORREF* colour = nullptr;
  int channel[3] = {};
  bool updating = false;
};

COLORREF Current(const ColourState* s) { return RGB(s->channel[0], s->channel[1], s->channel[2]); }

void Redraw(HWND dialog) {
  for (int id : {static_cast<int>(kIdColourSwatch), kChannelSwatches[0], kChannelSwatches[1],
                 kChannelSwatches[2]})
    InvalidateRect(GetDlgItem(dialog, id), nullptr, FALSE);
}

void ShowChannel(HWND dialog, ColourState* s, int c, bool edit, bool track) {
  s->updating = true;
  if (track) SendDlgItemMessageA(dialog, kTracks[c], TBM_SETPOS, TRUE, s->channel[c]);
  if (edit) {
    char text[8];
    std::snprintf(text, sizeof text, "%d", s->channel[c]);
    SetDlgItemTextA(dialog, kEdits[c], text);
  }
  s->updating = false;
  Redraw(dialog);
}

void OnInit(HWND dialog, ColourState* s) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(s));
  const COLORREF c = *s->colour;
  s->channel[0] = GetRValue(c);
  s->channel[1] = GetGValue(c);
  s->channel[2] = GetBValue(c);
  for (int i = 0; i < 3; ++i) {
    SendDlgItemMessageA(dialog, kTracks[i], TBM_SETRANGE, FALSE, MAKELONG(0, 255));
    SendDlgItemMessageA(dialog, kTracks[i], TBM_SETPAGESIZE, 0, 10);
    ShowChannel(dialog, s, i, true, true);
  }
  shell::CenterWindow(dialog, static_cast<HWND>(GetSlotWindow(kSlotMainFrame)));
}

// A typed number, held to 0..255 (the edit corrected when it was outside).
void OnEdit(HWND dialog, ColourState* s, int c) {
  if (s->updating) return;
  char text[16] = {};
  GetDlgItemTextA(dialog, kEdits[c], text, sizeof text);
  const long typed = std::strtol(text, nullptr, 10);
  s->channel[c] = static_cast<int>(std::clamp(typed, 0L, 255L));
  ShowChannel(dialog, s, c, typed != s->channel[c], true);
}

void OnScroll(HWND dialog, ColourState* s, HWND track) {
  for (int c = 0; c < 3; ++c) {
    if (GetDlgItem(dialog, kTracks[c]) != track) continue;
    s->channel[c] = std::clamp(static_cast<int>(SendMessageA(track, TBM_GETPOS, 0, 0)), 0, 255);
    ShowChannel(dialog, s, c, true, false);
  }
}

void OnDrawItem(const ColourState* s, const DRAWITEMSTRUCT* d) {
  COLORREF colour = Current(s);
  for (int c = 0; c < 3; ++c) {
    if (static_cast<int>(d->CtlID) != kChannelSwatches[c]) continue;
    const int v = s->channel[c];
    colour = c == 0 ? RGB(v, 0, 0) : c == 1 ? RGB(0, v, 0) : RGB(0, 0, v);
  }
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(d->hDC, &d->rcItem, brush);
  DeleteObject(brush);
  FrameRect(d->hDC, &d->rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

INT_PTR CALLBACK ColourSelectProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  auto* s = reinterpret_cast<ColourState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (msg == WM_INITDIALOG) {
    OnInit(dialog, reinterpret_cast<ColourState*>(lp));
    return TRUE;
  }
  if (!s) return FALSE;
  switch (msg) {
    case WM_HSCROLL:
      OnScroll(dialog, s, reinterpret_cast<HWND>(lp));
      return TRUE;
    case WM_DRAWITEM:
      OnDrawItem(s, reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
      return TRUE;
    case WM_COMMAND:
      for (int c = 0; c < 3; ++c)
        if (LOWORD(wp) == kEdits[c] && HIWORD(wp) == EN_CHANGE) OnEdit(dialog, s, c);
      if (LOWORD(wp) == IDOK) {
        *s->colour = Current(s);
        EndDialog(dialog, 1);
      }
      if (LOWORD(wp) == IDCANCEL) EndDialog(dialog, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int RunColourSelectDialog(HWND owner, COLORREF* colour) {
  if (!colour) return 0;
  ColourState state;
  state.colour = colour;
  const INT_PTR result = shell::DoModalDialog(GetModuleHandleA(nullptr), kColourTemplate, owner,
                                              ColourSelectProc, reinterpret_cast<LPARAM>(&state));
  return result == 1 ? 1 : 0;
}

}  // namespace ui
