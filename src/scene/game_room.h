#pragma once
// Room 1, where a standard or duplicate game is played on the 3D board, and
// room 8, the same board for the best-solution mode. Their game is the game
// registered under the room id, which is also the current game.
#include <cstddef>
#include <string>

#include "scene/screen.h"

class CGame;

namespace scene {

constexpr int kBoardStyleStandard = 0;
constexpr int kBoardStyleWhite = 1;
constexpr int kBoardStyleDeluxe = 2;
constexpr int kDialogCancelled = 4096;

// String-table texts of the rooms.
constexpr unsigned kStrReplay = 1940;
constexpr unsigned kStrConfirmEnd = 1941;
constexpr unsigned kStrConfirmRestart = 3130;
constexpr unsigned kStrRestartMode = 7167;

// Controls of the solution panel (slot 8) the rooms enable.
constexpr int kSolutionControlA = 1488;
constexpr int kSolutionControlB = 1076;
constexpr int kSolutionControlC = 1504;
constexpr int kSolutionControlD = 1512;
constexpr int kSolutionControlShown = 1511;
constexpr unsigned kMsgPlayStarts = 0x8118;

// The board style the rooms draw (0 standard, 1 white, 2 deluxe).
void SetBoardStyle(int style);
int GetBoardStyle();
// "<data folder>\<model of the style>" into the buffer; a style outside
// 0..2, or a path that does not fit, leaves the buffer as it was (false).
bool BuildBoardModelPath(int style, const char* dataFolder, char* buffer, size_t size);

// The players' set-up before a game of room 1 starts: fills the game's
// set-up; 1 when accepted, kDialogCancelled when cancelled. The window side
// installs the set-up dialog; the default keeps the game's set-up as it is
// (a standard game of the user against one computer player when it is
// empty). Returns the previous one.
using PlayerSetupDialog = int (*)(void* owner, CGame* game);
PlayerSetupDialog SetPlayerSetupDialog(PlayerSetupDialog dialog);

// A saved game that room 1 opens when it is next entered, in place of the
// player set-up (empty: none).
void SetPendingSavedGame(const std::string& path);
const std::string& GetPendingSavedGame();

// Room 8's set-up outcome, which its Enter answers.
void SetBestSolutionReady(bool ready);

Screen* CreateMainGameScreen();
Screen* CreateBestSolutionScreen();

// A game starts in room 1: the board and rack frames shown, the board
// emptied, the room's panels shown or hidden, the rack view filled.
void ResetGameRoom();
// Start of play in room 1: the grids refilled for the player to move, the
// panels told, the rack view following the player.
void BeginRoomPlay();

}  // namespace scene
