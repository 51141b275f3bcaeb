#pragma once
// The about box (the program's version and its credits scrolling upward,
// driven by a worker thread) and a small message window that closes itself
// after a given time.
#include <windows.h>

namespace ui {

enum : int {
  kIdAboutVersion = 341,
  kIdTimedText = 1175,
  kIdTimedRetry = 1176,
};
constexpr UINT kMsgCreditsTick = 0xB24;
constexpr char kAboutTemplate[] = "CREDITBOX";
constexpr int kTimedMessageTemplate = 149;

// Runs the about box modally over `owner`; 1 when it closes.
INT_PTR ShowAboutBox(HWND owner);
INT_PTR CALLBACK AboutWndProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp);
// The scroll speed of the open about box (1 to 10), 0 when none is open.
int GetAboutScrollSpeed();

// The modeless message: `text` for `milliseconds`, centred over `over`.
HWND ShowTimedMessage(HWND over, const char* text, UINT milliseconds);
INT_PTR CALLBACK TimedMessageProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace ui
