#pragma once
// What the tile grids ask of the window side: the current room, the
// keyboard cursor, the blank-letter dialog, cursors and mouse capture. The
// board window installs its implementation; tests install a recording fake.
// The defaults answer as if no window existed (room 0, no cursor, a blank
// keeps its letter).
namespace scene {

class TileGrid;

class GridHost {
 public:
  virtual ~GridHost() = default;
  virtual int RoomId() { return 0; }
  // The keyboard cursor's arrow (1 across, 2 down), 0 when it is not active.
  virtual int CursorArrow() { return 0; }
  // The letter ('A'..'Z') a blank stands for; asked again until one is given.
  virtual char ChooseBlankLetter(char letter, void* owner) {
    (void)owner;
    return letter;
  }
  // 1 normal, 2 no drop possible, 3 several tiles.
  virtual void SetCursor(int kind) { (void)kind; }
  virtual void CaptureMouse(void* window) { (void)window; }
  virtual void ReleaseMouse() {}
  // Redraws the window registered in a slot of the main window.
  virtual void RedrawSlot(int slot) { (void)slot; }
};

// Installs (not owned); returns the previous one, null for the default.
GridHost* SetGridHost(GridHost* host);
GridHost& GetGridHost();

// The current screen's grids (the rooms set them when they build a scene).
struct SceneGrids {
  TileGrid* board = nullptr;
  TileGrid* rack = nullptr;
  TileGrid* workingArea = nullptr;
  TileGrid* carrier = nullptr;
};
void SetCurrentGrids(const SceneGrids& grids);
const SceneGrids& CurrentGrids();

constexpr int kCrossagramRoom = 7;
constexpr int kBestSolutionRoom = 8;

}  // namespace scene
