// The player profile window: four tab pages over one private copy of a
// profile. Only the About text flows back, and only for the current user
// (the profile page does that).
#include "shell/startup/win32/profile_window.h"

#include <commctrl.h>

#include <memory>
#include <string>

#include "shell/app_context.h"
#include "shell/res_strings.h"
#include "shell/startup/win32/profile_dialog_support.h"
#include "shell/user_profile.h"
#include "shell/window/dialog_support.h"
#include "shell/window/win_utils.h"
#include "ui/win32/main_frame.h"
#include "ui/window_slots.h"

namespace shell {
namespace {

constexpr int kTemplate = 22;
constexpr int kTabs = 724;
constexpr int kPageCount = 4;
constexpr uint32_t kStrTitleFormat = 2406;

struct PageSpec {
  uint32_t title;
  int dialog;
  DLGPROC procedure;
};
const PageSpec kPages[kPageCount] = {
    {2407, 150, ProfilePageProc},
    {2963, 151, GameStatsPageProc},
    {2408, 137, TournamentStatsPageProc},
    {2426, 134, OnlineStatsPageProc},
};

struct WindowState {
  UserProfile profile;
  bool named = false;
  HWND pages[kPageCount] = {};
  int shown = 0;
};

HWND g_modeless = nullptr;

WindowState* StateOf(HWND window) {
  return reinterpret_cast<WindowState*>(GetWindowLongPtrA(window, DWLP_USER));
}

void ShowPage(HWND window, int page) {
  WindowState* s = StateOf(window);
  if (page < 0 || page >= kPageCount || !s->pages[page]) return;
  if (s->pages[s->shown]) ShowWindow(s->pages[s->shown], SW_HIDE);
  s->shown = page;
  ShowWindow(s->pages[page], SW_SHOW);
  SetWindowPos(s->pages[page], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void CreatePages(HWND window, WindowState* s) {
  HWND tabs = GetDlgItem(window, kTabs);
  for (int p = 0; p < kPageCount; ++p) {
    s->pages[p] =
        AddDialogTabPage(window, p, kPages[p].dialog, kTabs, LoadResString(kPages[p].title),
                         kPages[p].procedure, reinterpret_cast<LPARAM>(&s->profile));
    if (!s->pages[p]) continue;
    RECT display{};
    GetClientRect(tabs, &display);
    SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    SetWindowPos(s->pages[p], nullptr, display.left, display.top, display.right - display.left,
                 display.bottom - display.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(s->pages[p], SW_HIDE);
  }
  SendMessageA(tabs, TCM_SETCURSEL, 0, 0);
  s->shown = 0;
  ShowPage(window, 0);
}

void OnInit(HWND window, WindowState* s) {
  SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(s));
  if (s->named) {
    std::string title = LoadResString(kStrTitleFormat);
    const size_t at = title.find("%s");
    if (at != std::string::npos) title.replace(at, 2, s->profile.name);
    SetWindowTextA(window, title.c_str());
  } else {
    g_modeless = window;
    ui::WindowSlotOp(ui::kOpRegister, ui::kSlotProfile, reinterpret_cast<intptr_t>(window));
  }
  CreatePages(window, s);
  HWND parent = GetParent(window);
  CenterWindow(window, parent ? parent : ui::GetMainFrameWindow());
  if (!s->named) ShowWindow(window, SW_SHOW);
}

void OnTabChange(HWND window) {
  const int page = static_cast<int>(SendDlgItemMessageA(window, kTabs, TCM_GETCURSEL, 0, 0));
  WindowState* s = StateOf(window);
  if (page == s->shown) return;
  if (page < kPageCount) PlayProfileSound("SMenCli1.wav");
  ShowPage(window, page);
}

void OnOk(HWND window) {
  PlayProfileSound("SBouOK1.wav");
  if (GetCapture()) ReleaseCapture();
  if (StateOf(window)->named)
    EndDialog(window, IDOK);
  else
    DestroyWindow(window);
}

void OnDestroy(HWND window) {
  WindowState* s = StateOf(window);
  if (window == g_modeless) {
    ui::WindowSlotOp(ui::kOpUnregister, ui::kSlotProfile, 0);
    g_modeless = nullptr;
  }
  // The modeless window owns its state; the modal one's is on its caller's
  // stack.
  if (s && !s->named) delete s;
  SetWindowLongPtrA(window, DWLP_USER, 0);
}

void OnMoved(HWND window, const WINDOWPOS* pos) {
  if (window != g_modeless || !pos) return;
  ui::SlotWindowPos slot{pos->x, pos->y, pos->cx, pos->cy, pos->flags};
  ui::WindowSlotOp(ui::kOpStoreRect, ui::kSlotProfile, reinterpret_cast<intptr_t>(&slot));
}

INT_PTR CALLBACK ProfileWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit(window, reinterpret_cast<WindowState*>(lParam));
      return TRUE;
    case WM_NOTIFY: {
      const NMHDR* nm = reinterpret_cast<const NMHDR*>(lParam);
      if (nm->idFrom == kTabs && nm->code == TCN_SELCHANGE) OnTabChange(window);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) OnOk(window);
      return TRUE;
    case WM_CHAR:
      // Typed characters belong to the main window (its keyboard commands).
      if (HWND main = ui::GetMainFrameWindow()) PostMessageA(main, message, wParam, lParam);
      return TRUE;
    case WM_WINDOWPOSCHANGED:
      OnMoved(window, reinterpret_cast<const WINDOWPOS*>(lParam));
      return FALSE;
    case kMsgProfileChanged:
      if (WindowState* s = StateOf(window)) {
        s->profile = *reinterpret_cast<const UserProfile*>(lParam);
        if (s->pages[0]) SendMessageA(s->pages[0], kMsgProfileChanged, 0, lParam);
      }
      return TRUE;
    case WM_DESTROY:
      OnDestroy(window);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

HWND AddDialogTabPage(HWND parent, int index, int dialogId, int tabControlId, const char* title,
                      DLGPROC procedure, LPARAM parameter) {
  // The title may sit in the shared string buffer the page's set-up reuses.
  std::string text = title ? title : "";
  HWND tabs = GetDlgItem(parent, tabControlId);
  if (!tabs) return nullptr;
  // A child of the tab control, so the strip never paints over it.
  HWND page = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(dialogId), tabs,
                                 procedure, parameter);
  if (!page) return nullptr;
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = &text[0];
  SendMessageA(tabs, TCM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  return page;
}

HWND ShowProfileWindow(HWND parent, HINSTANCE instance, const char* profileName) {
  if (!profileName || !*profileName) {
    if (g_modeless && IsWindow(g_modeless)) {
      ShowWindow(g_modeless, SW_SHOW);
      return g_modeless;
    }
    auto state = std::make_unique<WindowState>();
    if (const UserProfile* current = GetCurrentUserProfile()) state->profile = *current;
    HWND window = CreateDialogParamA(instance, MAKEINTRESOURCEA(kTemplate), parent,
                                     ProfileWindowProc, reinterpret_cast<LPARAM>(state.get()));
    if (window) state.release();  // the window frees it
    return window;
  }
  WindowState state;
  state.named = true;
  if (ReadUserProfile(profileName, state.profile) == kProfileReadFailed) return nullptr;
  DoModalDialog(instance, MAKEINTRESOURCEA(kTemplate), parent, ProfileWindowProc,
                reinterpret_cast<LPARAM>(&state));
  return nullptr;
}

void NotifyProfileWindow(const UserProfile& profile) {
  if (g_modeless && IsWindow(g_modeless))
    SendMessageA(g_modeless, kMsgProfileChanged, 0, reinterpret_cast<LPARAM>(&profile));
}

void CloseProfileWindow() {
  if (g_modeless && IsWindow(g_modeless)) DestroyWindow(g_modeless);
}

void ShowProfileWindowPage(bool show, int page) {
  if (!g_modeless || !IsWindow(g_modeless)) return;
  SendDlgItemMessageA(g_modeless, kTabs, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
  ShowPage(g_modeless, page);
  ShowWindow(g_modeless, show ? SW_SHOW : SW_HIDE);
}

}  // namespace shell
