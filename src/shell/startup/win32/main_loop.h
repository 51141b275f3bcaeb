#pragma once
// The interface thread's message loop from the end of start-up until
// WM_QUIT: it routes each message (accelerators, the modeless dialog, the
// registered modeless dialogs, then the window), measures the frame time and
// drives the current room once per pass. An idle loop sleeps in
// MsgWaitForMultipleObjects until a message comes or, while a 3D room
// animates, until its next frame is due; it never spins.
#include <windows.h>

namespace shell {

// What the loop drives in the room of the moment; the rooms install it.
struct RoomFrameDriver {
  // True while a 3D room is shown (its animations and redraws are due).
  bool (*active)() = nullptr;
  void (*update)(float dt) = nullptr;  // the tile grids and the board view
  void (*render)(float dt) = nullptr;  // the scene, when a device exists
};
void SetRoomFrameDriver(const RoomFrameDriver& driver);

// The main window that accelerators translate for, and the table.
void SetMainAccelerators(HWND window, HACCEL table);

// True when the modeless dialog, the registered dialogs or the online
// filter took the message.
bool IsDialogOrFilterMessage(MSG* msg);
// EnableWindow on the modeless dialog; its IsWindowEnabled (0 for none).
int EnableModelessDialog(int enable);
// Returns 1 once WM_QUIT has been fetched; the quit's wParam in *exitCode.
int RunMainLoop(WPARAM* exitCode);
// Installs the real window calls into the modeless-dialog registry.
void InstallDialogWindowOps();

}  // namespace shell
