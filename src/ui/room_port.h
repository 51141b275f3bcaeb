#pragma once
// What the main window's toolbars and game loading ask of the rooms, which
// sit above this library: the current screen's answers to leaving, saving,
// loading and restarting, the screen stack, and the board scene and grids
// of the room shown. The program installs the rooms' implementation; tests
// install a recording fake. With none installed every question is refused
// and every action does nothing.
#include <cstdint>

class CGame;

namespace ui {

class RoomCommandPort {
 public:
  virtual ~RoomCommandPort() = default;

  // --- The current screen (the game toolbar's commands)
  // True when the screen lets the player leave it.
  virtual bool AgreeToLeave() { return false; }
  // Leaves the top screen and re-enters the one below.
  virtual void LeaveTopScreen() {}
  // Leaves every screen down to the main menu.
  virtual void LeaveToMainMenu() {}
  virtual void SaveGame() {}
  // True when a game was loaded.
  virtual bool LoadGame() { return false; }
  // True when the screen agrees to start again.
  virtual bool AgreeToRestart() { return false; }
  // Empties the screen's three tile grids, drops any tile being dragged and
  // re-enters the current room.
  virtual void RestartRoom() {}
  // After a skin change: the screen takes its new background.
  virtual void ReloadAfterSkinChange() {}

  // --- The main frame's activation and display
  // The program loses or regains the foreground: the highlighted 3D button
  // goes back to normal and a tile pick in progress ends.
  virtual void ApplicationActivated(bool active) { (void)active; }
  // The frame became the active window: the 3D device is reset with the
  // current present parameters (a bounded number of tries; a device lost
  // for now stays lost rather than block the interface).
  virtual void FrameActivated() {}
  // The display changed size: the 3D view takes the new size.
  virtual void DisplayResized(int32_t width, int32_t height) {
    (void)width;
    (void)height;
  }

  // --- The board scene
  // Hides the board and rack frames and draws one frame of the scene.
  virtual void FreezeScene() {}
  // Shows the board and rack frames again (the rack stays hidden in rooms
  // that have none).
  virtual void ResumeScene() {}
  virtual void RebuildBoardScene() {}
  // Releases the room's board scene and sets it up again at this board size.
  virtual void ResetBoardScene(int32_t boardSize) { (void)boardSize; }

  // --- The view grids
  // The board grid from the game's letters; the rack grid from the rack of
  // the player to move when that player is not a computer player.
  virtual void FillGridsFromGame(CGame& game) { (void)game; }
  // A crossagram game that starts: the board view's crossagram grid.
  virtual void PrepareCrossagramGrid(CGame& game) { (void)game; }
  // A crossagram game: the board and the two letter grids from its tables.
  virtual void FillCrossagramGrids(CGame& game) { (void)game; }
  // The room's own panel learns how many players the game has.
  virtual void SetGamePlayerCount(int32_t count) { (void)count; }
};

// Installs the port (not owned); null restores the default. Returns the
// previous one.
RoomCommandPort* SetRoomCommandPort(RoomCommandPort* port);
RoomCommandPort& GetRoomCommandPort();

}  // namespace ui
