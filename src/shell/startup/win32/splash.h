#pragma once
// The splash picture, shown by a window on a thread of its own so that it
// keeps painting while the interface thread loads. The interface thread
// starts it, asks for new pictures and closes it; every change of the window
// and its bitmap happens on the splash thread, and every wait is bounded.
#include <windows.h>

namespace shell {

constexpr char kSplashClass[] = "QN_SPLASH_WNDCLASS";
constexpr UINT kMsgSplashClose = WM_APP + 1;
constexpr UINT kMsgSplashBitmap = WM_APP + 2;  // lParam: a new[]'d name

// Starts the thread and waits (at most a few seconds) until its window is
// up or has failed. False when the thread could not start; a first bitmap
// that does not load leaves no window (start-up goes on without a splash).
bool StartSplashThread(HINSTANCE instance, const char* bitmapName);
// 0 when there is no splash window, else 1. A bitmap that does not load
// keeps the previous picture.
int ShowSplashBitmap(const char* bitmapName);
// 0 when no splash thread runs; else asks it to close and returns 1.
int CloseSplash();
// Waits (at most a few seconds) for the splash thread to end; shut-down.
void JoinSplashThread();
bool IsSplashShowing();
HWND GetSplashWindow();

}  // namespace shell
