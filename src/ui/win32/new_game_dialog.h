#pragma once
// "New game" (classic or duplicate play, then the players) and the room's
// entry to it. The game's set-up and the "Game" settings change only when
// the dialog ends with OK.
#include <windows.h>

class CGame;

namespace ui {

constexpr int kNewGameOk = 1;
constexpr int kNewGameCancel = 4096;

// Reads the "Game" settings into the game's set-up, runs the dialog modally
// and, on OK, fills the players and writes the settings back. Returns 1 (OK)
// or 4096 (Cancel; the set-up's kind is then -1).
int RunNewGameDialog(HWND owner, CGame* game);

// Control ids of "New game".
enum : int {
  kIdNewGameSettings = 3,
  kIdClassicMode = 1081,
  kIdDuplicateMode = 1082,
  kIdGameTypeGroup = 5842,
};

}  // namespace ui
