#pragma once
// The set-up of a new local game before it starts, by the game's kind:
// "Configure Anagram game" and "Configure Puzzle game" for the side games;
// classic and duplicate games to the tabbed "New game" set-up.
#include <windows.h>

class CGame;

namespace ui {

constexpr INT_PTR kSetupCancelled = 4096;

enum : int {
  kIdSetupPlayers = 1166,
  kIdSetupLetters = 1625,
  kIdSetupTurns = 1626,
  kIdSetupFirstName = 1627,  // name edits 1627 to 1630
  kIdSetupFirstTurn = 1691,  // first-turn radios 1691 to 1694
  kIdSetupHuman = 1643,      // "H" 1643 to 1646
  kIdSetupComputer = 1659,   // "AI" 1659 to 1662
  kIdSetupPersonality = 1675,
  kIdSetupForced = 5840,
  kIdSetupAnagramCount = 5841,
  kIdSetupTimeLimit = 1065,
  kIdSetupMinutes = 1064,
  kIdSetupSeconds = 1051,
  kIdSetupForfeit = 1775,
};

// 4096 for a null game or when cancelled (a cancelled side game's kind
// becomes -1); 0 when the set-up was confirmed.
INT_PTR RunGameSetupDialog(HWND owner, CGame* game);

}  // namespace ui
