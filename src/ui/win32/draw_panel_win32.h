#pragma once
// The position set-up panel (slot 9: the bag's letters, the rack and the
// confirmation of a position entered by hand) and the remaining-tiles
// window (slot 10).
#include <windows.h>

namespace ui {

// -1 without an owner or instance, else 0.
int CreateDrawWindow(HWND owner, HINSTANCE instance);
int CreateRemainderWindow(HWND owner, HINSTANCE instance);
void RefreshRemainderWindow();
// The position check of "Confirm draw": 1 when the position was accepted
// (it becomes the game's), else 0 after its message.
int ValidateSetupPosition();

enum : int {
  kIdDrawClearBoard = 1040,
  kIdDrawEmptyRack = 1089,
  kIdDrawConfirm = 1091,
  kIdDrawAutomatic = 3804,
  kIdDrawFirstLetter = 1092,    // the blank; 1093..1118 'A'..'Z'
  kIdRemainFirstLetter = 1127,  // the blank; 1128..1153 'A'..'Z'
};

}  // namespace ui
