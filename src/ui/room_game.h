#pragma once
// Making a game read from a file the current game of a room: the games it
// replaces go, the room's board is rebuilt at the game's size, the board is
// replayed to the last move and the panels and grids are refilled.
#include <cstdint>

class CGame;

namespace ui {

// Control ids the loading switches in the panels that hold them.
constexpr int kSlotRoomPanelPlayersControl = 1161;  // slot 5: only beyond two players
constexpr int kMentorControlA = 1076;               // slot 8: off in duplicate games
constexpr int kMentorControlB = 1504;

// -1 when the file cannot be opened as a game, else 1.
int NewRoomGame(const char* file);
// True while NewRoomGame runs.
bool IsGameLoading();

// What loading asks of the panels' windows; installed by the window side.
struct RoomGameWindows {
  void (*enableControl)(int slot, int control, bool enable) = nullptr;
};
void SetRoomGameWindows(const RoomGameWindows& windows);

// The game's own steps after it was made current and its board rebuilt: the
// players' last words, the replay to the last entry, the panels' notices,
// the grids, whose turn it is and the running clock.
void PrepareLoadedGame(CGame& game);

}  // namespace ui
