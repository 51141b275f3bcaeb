#pragma once
// The players panel's arithmetic, apart from its windows: which players its
// four rows show, how the scroll bar moves them, the clock and turn texts
// above the rows, the status line of a row and the player to move.
#include <cstdint>
#include <string>

namespace ui {

constexpr int kPlayerRowCount = 4;
constexpr int kPlayerRowWidth = 150;
constexpr int kPlayerRowHeight = 70;
constexpr int kPlayerRowsTop = 100;

// The first player row within 0 .. count - 4 (0 for fewer than four players).
int ClampFirstPlayerRow(int row, int playerCount);

// The first row after a scroll-bar code (the window system's SB_ values);
// unknown codes leave it as it is.
enum PlayerScrollCode : int {
  kScrollLineUp = 0,
  kScrollLineDown = 1,
  kScrollPageUp = 2,
  kScrollPageDown = 3,
  kScrollThumbPosition = 4,
};
int ScrollFirstPlayerRow(int first, int code, int thumb, int playerCount);

// The panel's client size and whether the rows need the scroll bar.
struct PlayersPanelSize {
  int width = 0;
  int height = 0;
  bool scrolls = false;
};
PlayersPanelSize PlayersPanelClientSize(int playerCount, int scrollBarWidth);

// "%02d:%02d:%02d" of the game's elapsed time (negative counts as zero).
std::string FormatTotalTime(int64_t elapsedMs);
// The turn clock: empty without a clock (mode 0), the remaining time as
// "%02d:%02d" for modes 1 and 2 (zero when negative), "00:00" otherwise.
std::string FormatTurnTime(int clockMode, int32_t remainingMs);

// What the turn number and the player to move are read from.
struct TurnFacts {
  int32_t state = 0;
  int32_t kind = 0;          // the game's mode; 0 is the standard game
  int32_t roundCount = 0;    // turns played
  int32_t historyIndex = 0;  // the history cursor
  int32_t firstPlayer = 0;
  int32_t currentPlayer = -1;
  int32_t playerCount = 0;
  int32_t room = 0;
};
bool IsReviewRoom(int room);  // the commented and library games' rooms
// Empty when the game is neither running, paused nor at its last challenge.
std::string TurnNumberText(const TurnFacts& facts);
bool IsPlayerToMove(const TurnFacts& facts, int index);

// The string id of a row's status line for a player's last action, 0 for
// none; a played move (3) shows the move's own text instead.
uint32_t PlayerStatusStringId(int32_t lastAction);
// The level shown for a computer player in the review rooms.
const char* RobotLevelText(int32_t rating);

}  // namespace ui
