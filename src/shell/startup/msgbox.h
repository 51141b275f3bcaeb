#pragma once
// The program message box: a skinned dialog ("IDD_MESSAGEBOX", class
// "QNOMSGBOX") with the button sets of msgbox_table.h, click sounds, an
// optional time-out and callback; modal or modeless (one modeless box at a
// time). The plain system box stands in when the skinned one cannot be made.
// Also the program-wide tool-tip control.
#include <windows.h>

#include <cstdint>

#include "shell/window/dialog_support.h"

namespace shell {

constexpr UINT kMsgBoxTimedOut = 0x8105;
constexpr int kMsgBoxNoTimeout = -60;

// The owner of boxes that name none (the main window; null until set).
void SetMessageBoxMainWindow(HWND window);
// A modal box switches the interface (SetInterfaceSwitch) and the main
// window off while it runs and back on only when they were on.

int ShowMessageBox(const char* text, uint32_t flags);
int ShowMessageBoxOwned(const char* text, uint32_t flags, HWND owner);
int ShowMessageBoxCallback(const char* text, uint32_t flags, MessageBoxCallback callback,
                           uint32_t userValue);
HWND ShowMessageBoxModeless(const char* text, uint32_t flags, MessageBoxCallback callback,
                            uint32_t userValue);
// seconds: kMsgBoxNoTimeout for none.
HWND ShowMessageBoxModelessEx(const char* text, uint32_t flags, MessageBoxCallback callback,
                              uint32_t userValue, int seconds);
HWND ShowCancelBoxModeless(const char* text, MessageBoxCallback callback, uint32_t userValue);

int MessageBoxCore(const char* text, uint32_t flags, MessageBoxCallback callback,
                   uint32_t userValue, DLGPROC procedure, HWND owner);
HWND ModelessMessageBoxCore(const char* text, uint32_t flags, MessageBoxCallback callback,
                            uint32_t userValue, int seconds, DLGPROC procedure);
INT_PTR CALLBACK MessageBoxDialogProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
// A notice: one centred OK that only clicks; closed by WM_CLOSE (1) or the
// time-out (57).
INT_PTR CALLBACK NoticeDialogProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);

// WM_CLOSE with wParam 19 to the current box: it closes with its dismiss
// answer.
void CloseMessageBoxWindow();
void DestroyModelessMessageBox();
HWND GetCurrentMessageBox();
HWND GetModelessMessageBox();
int GetOpenMessageBoxCount();

// The test switch: with "AutoTest" (section "debug" of the program ini)
// non-zero every box answers itself with its first button (a notice with 1)
// after "AutoAnswerMs" milliseconds, for unattended runs.

// Routes the portable code's notices (platform::ShowNotice) to the box.
void InstallMessageBoxSink();
void RemoveMessageBoxSink();

// Tool tips.
HWND CreateToolTipControl();
void DestroyToolTipControl();
bool AddToolTip(HWND window, UINT stringId);
HWND GetToolTipControl();

}  // namespace shell
