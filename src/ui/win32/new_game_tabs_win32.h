#pragma once
// The tabbed "New game" set-up (template 143) the side-game rooms open for
// a classic or duplicate game: a "General" page (kind of game, turn order,
// time limit) and player pages of lines with a name, human or computer, a
// personality, the first turn and a random personality box.
#include <windows.h>

class CGame;

namespace ui {

enum : int {
  kTabbedSetupTemplate = 143,
  kIdSetupTabs = 1163,
  // General page
  kIdGeneralStandard = 1081,
  kIdGeneralJoker = 1589,
  kIdGeneralSevenOfEight = 1590,
  kIdGeneralBlitz = 1626,
  kIdGeneralRandomOrder = 1183,
  kIdGeneralVisibleRacks = 1120,
  kIdGeneralScoringBlanks = 1185,
  kIdGeneralTimeLimit = 1065,
  kIdGeneralPerGame = 1086,
  kIdGeneralPerMove = 1087,
  kIdGeneralGameMinutes = 1068,
  kIdGeneralGameSeconds = 1057,
  kIdGeneralMoveMinutes = 1064,
  kIdGeneralMoveSeconds = 1051,
  kIdGeneralForfeit = 1775,
  // Player line n (1 to 16): each id plus n.
  kIdPageLineName = 1626,
  kIdPageLineHuman = 1642,
  kIdPageLineComputer = 1658,
  kIdPageLinePersonalityButton = 1674,
  kIdPageLineFirstTurn = 1690,
  kIdPageLineRandom = 1706,
  kIdPageLineHide = 1722,
};

// 0 when confirmed (the game's set-up filled), 4096 when cancelled.
INT_PTR RunTabbedSetupDialog(HWND owner, CGame* game);

}  // namespace ui
