#pragma once
// The classic and duplicate set-up dialogs ("Classic mode properties" and
// "Duplicate mode properties"). Each writes its field of the game's set-up
// at once; "Play" adds the players and ends with 0, "Cancel" ends with 4096
// and undoes nothing.
#include <windows.h>

class CGame;

namespace ui {

INT_PTR RunClassicSetupDialog(HWND owner, CGame* game);
INT_PTR RunDuplicateSetupDialog(HWND owner, CGame* game);

}  // namespace ui
