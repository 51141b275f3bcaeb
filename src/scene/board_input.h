#pragma once
// What the board window does with mouse and keyboard input, apart from the
// window itself: picking a 3D button and storing the game's pending action
// on its release, dragging tiles between the board, the rack and the working
// area through the carrier, moving the board's frames, the keyboard cursor
// and letters typed along it. The board window feeds its messages here; the
// tests feed window points directly.
//
// A picked tile is always in exactly one place: a grid, or the carrier until
// a drop that a grid accepts, else it goes back where it came from.
#include <cstdint>
#include <vector>

#include "game/game.h"
#include "scene/tile_grid.h"

namespace scene {

// The mouse keys of a message's wParam, with the window system's values.
constexpr uint32_t kKeyLeftButton = 0x1;
constexpr uint32_t kKeyRightButton = 0x2;

// Rooms whose input the board window treats apart.
constexpr int kTournamentRoom = 2;
constexpr int kClassroomRoom = 3;
constexpr int kNetworkRoom = 4;
constexpr int kFixedBoardRoom = 6;
constexpr int kCommentedGamesRoom = 12;
constexpr int kLibraryRoom = 13;

constexpr int kBoardSide = 15;
constexpr uint32_t kStrEvaluateUnavailable = 3070;
constexpr uint32_t kMsgSolutionTyped = 0x8118;

// What the input logic asks of the window beyond the grids' host.
class BoardInputHost {
 public:
  virtual ~BoardInputHost() = default;
  virtual void TakeFocus() {}
  virtual void PlaySound(const char* name) { (void)name; }
  virtual void ShowNotice(const char* text) { (void)text; }
  // The tournament room's script holds the input.
  virtual bool InputLocked() { return false; }
  // The best-solution room: a letter was typed (its panel is told).
  virtual void SolutionTyped() {}
};

// Installs (not owned); returns the previous one, null for the default.
BoardInputHost* SetBoardInputHost(BoardInputHost* host);
BoardInputHost& GetBoardInputHost();

struct KeyboardCursor {
  uint16_t cell = kNoCell;  // past the board's edge after the last square of a line
  int arrow = 0;            // 1 across, 2 down; active while non-zero
  bool typed = false;       // a letter was typed since the cursor was placed
  bool fresh = false;
};

struct BoardInputState {
  bool buttonDown = false;
  int pressedButton = -1;
  KeyboardCursor cursor;
  bool frameDrag = false;
  int dragStartX = 0, dragStartY = 0;
  // Squares typed on since the cursor came, and their order for Backspace.
  uint8_t typedSquares[kBoardSide][kBoardSide] = {};
  uint8_t savedTypedSquares[kBoardSide][kBoardSide] = {};
  std::vector<uint16_t> typedOrder;
};

BoardInputState& BoardInput();
// Back to no button, no cursor, nothing typed (the grids are not touched).
void ResetBoardInput();

// The pending action of a released button under the scene's button mask;
// null when the mask enables none.
PendingUiAction ButtonAction(int index, uint32_t mask);

// A pressed 3D button goes back up without storing anything.
void ReleasePressedButton();

void PlaceTypingCursor(TileGrid* grid, int row, int column);
void ClearKeyboardCursor();
int KeyboardCursorArrow();

void BoardLeftButtonDown(uint32_t keys, int x, int y);
void BoardLeftButtonUp(uint32_t keys, int x, int y);
void BoardLeftDoubleClick(int x, int y);
void BoardRightButtonDown(uint32_t keys, int x, int y);
void BoardRightButtonUp(uint32_t keys, int x, int y);
void BoardMouseMove(int x, int y);
void BoardCharTyped(char c);
void BoardFocusLost();
// The game changed: code 0 or 15 reloads the bound board grid from the
// game's letters. Returns 1 when handled.
int BoardGameChanged(int code, CGame* game, TileGrid* boardGrid);

}  // namespace scene
