#pragma once
// The slot registry on real windows: the port over HWNDs and the hook every
// slot window's procedure calls with its messages.
#include <windows.h>

namespace ui {

// Installs the HWND port (once, at start-up).
void InstallWindowSlotPort();
// WM_DESTROY unregisters the slot; WM_SIZE and WM_WINDOWPOSCHANGED keep its
// rectangle; 0x8502 with lParam 0 sets its room flag.
void SlotWindowHook(int slot, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Every slot window owned by a topmost window joins the topmost band (its
// stacking among them kept), so that the frame going topmost hides none.
void RaiseOwnedSlotWindows();
// The slot's window at the screen's right edge, `column` panel widths in
// from it, at three eighths of the height: clear of the board on the left
// and of the scene's buttons above. The start-up panels stand there until a
// user's page layout places them.
void PlaceAtRight(int slot, int column);

}  // namespace ui
