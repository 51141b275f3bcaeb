// The wizard frame and its page procedure. One wizard runs at a time: the
// record and the page index are the process's.
#include <windows.h>

#include "shell/shell_host.h"
#include "shell/startup/wizard.h"

namespace shell {
namespace {

WizardRecord* g_wizard = nullptr;
int g_page = 0;
int g_navigation = 0;
HWND g_pageWindow = nullptr;

DLGPROC PageProc() {
  if (!g_wizard || g_page < 0 || g_page >= g_wizard->pageCount || !g_wizard->pageProcs)
    return nullptr;
  return g_wizard->pageProcs[g_page];
}

INT_PTR ToPage(HWND page, UINT msg, WPARAM wp, LPARAM lp) {
  DLGPROC proc = PageProc();
  return proc ? proc(page, msg, wp, lp) : FALSE;
}

int Check(HWND page, int navigation) {
  if (!g_wizard->leaveCheck) return 1;
  g_navigation = navigation;
  int ok = g_wizard->leaveCheck(page, g_page, g_wizard->userValue);
  g_navigation = 0;
  return ok;
}

// Next and Back: a page outside the table is refused, never created.
void Move(HWND page, int step, int navigation) {
  int target = g_page + step;
  if (target < 0 || target >= g_wizard->pageCount) return;
  if (!Check(page, navigation)) return;
  g_page = target;
  if (CreateWizardPage()) {
    DestroyWindow(page);
  } else {
    g_page -= step;  // the new page could not be made: stay
    g_pageWindow = page;
  }
}

INT_PTR OnInit(HWND page) {
  char title[257] = {};
  if (HWND t = GetDlgItem(page, g_wizard->pageTitleId)) GetWindowTextA(t, title, 257);
  if (title[0] && g_wizard->titleWindow) SetWindowTextA(g_wizard->titleWindow, title);
  SetWindowPos(page, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  return ToPage(page, WM_INITDIALOG, static_cast<WPARAM>(g_wizard->userValue), g_page);
}

INT_PTR OnCommand(HWND page, WPARAM wp, LPARAM lp) {
  const int id = LOWORD(wp);
  const WizardRecord& w = *g_wizard;
  if (id == w.nextId || id == w.backId || id == w.finishId)
    GetShellHost().PlaySoundFile("SBouOK1.wav");
  else if (id == w.cancelId)
    GetShellHost().PlaySoundFile("SBouFer1.wav");
  if (id == w.finishId) {
    if (Check(page, 0) && w.finishAction) w.finishAction(page, g_page, w.userValue);
  } else if (id == w.nextId) {
    Move(page, 1, kWizardNavNext);
  } else if (id == w.backId) {
    Move(page, -1, kWizardNavBack);
  } else if (id == w.cancelId) {
    if (w.cancelAction) w.cancelAction(page, g_page, w.userValue);
  } else {
    return ToPage(page, WM_COMMAND, wp, lp);
  }
  return TRUE;
}

LRESULT CALLBACK WizardFrameProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_GETDLGCODE:
      return 2;
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_CLOSE || wp == 0xF160) {
        DestroyWindow(w);
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcA(w, msg, wp, lp);
}

}  // namespace

bool RegisterWizardClass(HINSTANCE instance) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WizardFrameProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(instance, MAKEINTRESOURCEA(3031));
  if (!wc.hCursor) wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(2982));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kWizardClassName;
  return RegisterClassExA(&wc) != 0;
}

bool UnregisterWizardClass(HINSTANCE instance) {
  return UnregisterClassA(kWizardClassName, instance) != 0;
}

HWND StartWizard(WizardRecord* record) {
  g_wizard = record;
  g_page = 0;
  g_navigation = 0;
  g_pageWindow = nullptr;
  if (!record || record->pageCount <= 0) return nullptr;
  return CreateWizardPage();
}

HWND CreateWizardPage() {
  if (!g_wizard || g_page < 0 || g_page >= g_wizard->pageCount || !g_wizard->pageDialogIds)
    return nullptr;
  HWND page =
      CreateDialogParamA(g_wizard->instance, MAKEINTRESOURCEA(g_wizard->pageDialogIds[g_page]),
                         g_wizard->frame, WizardPageProc, 0);
  if (page) {
    g_pageWindow = page;
    ShowWindow(page, SW_SHOW);
  }
  return page;
}

INT_PTR CALLBACK WizardPageProc(HWND page, UINT msg, WPARAM wp, LPARAM lp) {
  if (!g_wizard) return FALSE;
  if (msg == WM_INITDIALOG) return OnInit(page);
  if (msg == WM_COMMAND) return OnCommand(page, wp, lp);
  return ToPage(page, msg, wp, lp);
}

int GetWizardNavigation() { return g_navigation; }
int GetWizardPageIndex() { return g_page; }
HWND GetWizardPage() { return g_pageWindow; }

}  // namespace shell
