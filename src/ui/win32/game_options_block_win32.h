#pragma once
// The rules block that dialogs outside the local set-ups embed: classic or
// duplicate, the player count's range, the time limit with its minimums,
// challenging, turn forfeit, joker, blitz, the eight-letter options and the
// ranked flag. The embedding dialog calls these from its own procedure; the
// block edits the caller's GameOptions while it is open and writes the
// "Game" keys when confirmed. The shell's own dialog has a smaller block of
// time controls with routines of its own.
#include <windows.h>

#include "ui/game_option_keys.h"

namespace ui {

enum : int {
  kIdBlockClassic = 5939,
  kIdBlockDuplicate = 5940,
  kIdBlockPlayers = 1310,
  kIdBlockNoLimit = 1065,
  kIdBlockPerGame = 1086,
  kIdBlockPerMove = 1087,
  kIdBlockMinutes = 5935,
  kIdBlockSeconds = 5936,
  kIdBlockForfeit = 5924,
  kIdBlockChallenge = 5925,
  kIdBlockDoubleChallenge = 5960,
  kIdBlockSingleChallenge = 5961,
  kIdBlockModifiedChallenge = 5962,
  kIdBlockNoOptions = 5929,
  kIdBlockSevenOfEight = 5930,
  kIdBlockEightOfEight = 5931,
  kIdBlockBlitz = 5927,
  kIdBlockJoker = 5926,
  kIdBlockRanking = 1312,
};

// The shell's dialog's time controls.
enum : int {
  kIdShellGameMinutes = 1068,
  kIdShellGameSeconds = 1057,
  kIdShellMoveMinutes = 1064,
  kIdShellMoveSeconds = 1051,
  kIdShellClassic = 1081,
  kIdShellDuplicate = 1082,
  kIdShellTimeLimit = 1065,
  kIdShellPerGame = 1086,
  kIdShellPerMove = 1087,
};

// At WM_INITDIALOG: reads the "Game" keys into *result and sets every
// control; the block keeps result until ReleaseGameOptionControls.
void FillGameOptionControls(HWND dialog, GameOptions* result);
// 1 when the id is one of the block's and was handled; 0 otherwise, and
// always 0 while no record is open.
int NewGameDlgCommand(HWND dialog, int id);
// At confirmation: the final choices with the time minimums (a notice when
// one is raised), then the "Game" keys written. 0 without a record.
int NewGameDlgApply(HWND dialog);
// At the embedding dialog's end: the record is no longer the block's.
void ReleaseGameOptionControls();

// The shell's dialog: its controls from *result at WM_INITDIALOG, and at
// confirmation the time per game (at least 5 minutes) and the keys written.
void NewGameDlgInit(HWND dialog, GameOptions* result);
int CheckTimeLimits(HWND dialog, GameOptions* result);

}  // namespace ui
