#pragma once
// The board window: the child of the Room window (slot 2) in which the 3D
// scene is drawn. Its procedure only dispatches: the input logic (picking,
// tile drags, the keyboard cursor, the 3D buttons and the pending game
// action) is the portable board_input.h; this side feeds it window messages
// and gives it focus, capture, sounds, notices and redraws.
#include <windows.h>

#include <vector>

#include "scene/grid_view_port.h"

namespace scene {

constexpr char kBoardWindowClass[] = "TessarinBoardWndClass";
constexpr UINT kMsgBoardGameChanged = 0x8103;  // wParam change code, lParam the game
constexpr UINT kMsgBoardQuery = 0x8114;        // answered 1

// False (after the "Can't initialize board" message box) when the class
// cannot be registered.
bool RegisterBoardWindowClass(HINSTANCE instance);
void UnregisterBoardWindowClass(HINSTANCE instance);

// A child of `parent` (the Room window) at (0, 0), width x height, with the
// board view (device, camera) set up for it. Null on failure.
HWND CreateBoardWindowEx(HWND parent, int width, int height);
// The board window over the Room window (slot 1), the display's size,
// registered as slot 2; the depth buffer cleared. Null on failure.
HWND CreateBoardWindow();
// Releases the 3D scene and the device, then destroys the window.
void DestroyBoardWindow();
HWND GetBoardWindowHandle();
void EnableBoardWindow(bool enable);

LRESULT CALLBACK BoardWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Draws and shows a frame when the scene changed or a tile is moving; the
// main loop calls it once per frame.
void RedrawBoardWindowIfDue();

// The game's view of the board window: the grids (GridViewPort) plus the
// window-side operations (focus, the pressed button, redraws).
class BoardWindowPort : public GridViewPort {
 public:
  // The grid changes of the game are drawn on the next frame.
  void LoadBoardLetters(const char* letters, int rows, int columns) override;
  void LoadRackLetters(const char* text, int count) override;
  void ClearGrids() override;
  void SetSceneButtonMask(uint32_t mask) override;
  void RefreshRackTiles() override;
  void ReleaseBoardButton() override;
  void FocusAndPickFirstSquare() override;
  void RedrawBoardWindow() override;
  // The in-game dialogs over the board window.
  bool RunChallengeDialog(const std::vector<RobotMove>& words,
                          std::vector<RobotMove>& chosen) override;
  void OpenExchangeDialog(CGame& game) override;
  void CloseExchangeDialog() override;
};

// The port the board window installs while it exists.
BoardWindowPort& GetBoardWindowPort();

}  // namespace scene
