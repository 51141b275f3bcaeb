#pragma once
// The wizard frame ("migWizardClass") and its page procedure: pages are
// dialogs created one at a time as children of the frame, in table order;
// Next and Back ask the page-leave check first, Finish asks it before the
// finish action, Cancel runs the cancel action.
#include <windows.h>

#include <cstdint>

namespace shell {

using WizardCheck = int (*)(HWND page, int pageIndex, LPARAM userValue);
using WizardAction = void (*)(HWND page, int pageIndex, LPARAM userValue);

struct WizardRecord {
  const DLGPROC* pageProcs;  // one per page
  const int* pageDialogIds;  // dialog resource id of each page
  int pageCount;
  int nextId, backId, finishId, cancelId;
  HWND titleWindow;  // takes the page's title
  int pageTitleId;   // the page's title control
  LPARAM userValue;
  WizardCheck leaveCheck;
  WizardAction finishAction;
  WizardAction cancelAction;
  HWND frame;          // the wizard frame the pages live in
  HINSTANCE instance;  // holds the page dialogs
};

constexpr int kWizardNavNext = 0x128, kWizardNavBack = 0x129;
constexpr char kWizardClassName[] = "migWizardClass";

bool RegisterWizardClass(HINSTANCE instance);
bool UnregisterWizardClass(HINSTANCE instance);
// Makes the record current (pages start at 0) and creates the first page.
HWND StartWizard(WizardRecord* record);
// Creates the current page; the previous page, if any, is left to the caller.
HWND CreateWizardPage();
INT_PTR CALLBACK WizardPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
// 0x128 while Next is being checked, 0x129 while Back is, else 0.
int GetWizardNavigation();
int GetWizardPageIndex();
HWND GetWizardPage();

}  // namespace shell
