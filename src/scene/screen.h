#pragma once
// The rooms: one Screen per room id (0 to 17), created at start-up and kept
// in the application context; exactly one is current. The screen manager
// enters and leaves rooms and keeps a stack of screens for rooms opened on
// top of others. A room that shows the board builds its scene and its four
// tile grids through SetupBoardScene and frees them with ReleaseBoardScene.
//
// A room whose own screen is not built yet gets the base Screen, whose
// Enter answers false: entering it leaves the manager where it was.
#include <cstdint>
#include <memory>
#include <string>

#include "scene/board_grids.h"

namespace scene {

constexpr int kRoomScreenCount = 18;
constexpr int kNoRoomWindowId = 9999;
constexpr int kLobbyRoom = 0;
constexpr int kMainGameRoom = 1;
constexpr int kScreenStackSize = 32;

// The settings key of a room ("lobbyroom", ...); "" outside 0..17.
const char* RoomKey(int id);

class Screen {
 public:
  explicit Screen(int roomId) : roomId(roomId) {}
  virtual ~Screen();
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  // The base room is not built: it cannot be entered.
  virtual bool Enter() { return false; }
  virtual bool Leave() { return true; }
  virtual bool ConfirmRestart() { return true; }
  virtual bool ConfirmEnd() { return true; }
  virtual bool SaveGameStep() { return true; }
  virtual bool NewGame() { return true; }
  virtual void Reserved() {}
  // The board model this room draws; null for none.
  virtual const char* GetModelPath() { return nullptr; }
  virtual void ShowBoardView() {}
  virtual void OnResize(int width, int height) {
    (void)width;
    (void)height;
  }
  virtual void Update(float dt) { (void)dt; }
  virtual void OnPush() {}
  virtual void OnPop() {}

  // Loads the model and builds the board, rack and working-area grids and
  // the carrier; false (nothing built) when the model does not load.
  bool SetupBoardScene(const std::string& modelPath, int rows, int columns, int rackSize);
  // Keeps the board and rack positions in the page layout, then frees the
  // grids and the scene.
  void ReleaseBoardScene();
  // The same scene again, its grids refilled from the current game.
  bool RebuildBoardScene();
  // The same model with a board of side x side cells (empty grids).
  bool ResetBoardScene(int side);
  bool HasBoardScene() const { return board != nullptr; }

  bool has3DView = false;
  bool flag2 = false;
  bool is2DRoom = false;
  int roomId;
  std::unique_ptr<BoardGrid> board;
  std::unique_ptr<RackGrid> rack;
  std::unique_ptr<WorkingAreaGrid> workingArea;
  std::unique_ptr<TileCarrier> carrier;
  void* commandHandler = nullptr;
  void* menu = nullptr;
  void* accelerators = nullptr;
  int32_t spare1 = 0;
  char background[260] = {};
  void* roomData = nullptr;
  int32_t spare2 = 0;

 private:
  std::string modelPath_;
  int rows_ = 0, columns_ = 0, rackSize_ = 0;
};

// Builds one room's screen; the program installs the rooms it has.
using RoomScreenFactory = Screen* (*)(int roomId);
// Replaces the factory of a room (null: the base screen); it is used by the
// next CreateRoomScreens.
void SetRoomScreenFactory(int roomId, RoomScreenFactory factory);
// The eighteen screens into the application context (when there is one)
// and the manager's own table; no screen current, an empty stack.
void CreateRoomScreens();
void DestroyRoomScreens();
Screen* GetRoomScreen(int roomId);  // null outside 0..17
void* GetRoomData(int roomId);      // null outside 0..17
Screen* GetCurrentScreen();

// The id kept on the Room window; 9999 without one.
int GetCurrentRoomId();
void SetCurrentRoomId(int roomId);

// Leaves the current room, changes the music and enters the room; answers
// the new screen's Enter.
bool EnterRoom(int roomId);
bool PushScreen(int roomId);
void PopScreen();
void PopScreensTo(int level);
void ReenterCurrentRoom();
// The stack's top index, -1 when empty; the screen at a level or null.
int GetScreenStackTop();
Screen* GetStackedScreen(int level);

// One frame of the current room (the main loop calls it while the room is
// not 0): the grids' slides, then the screen's Update.
void UpdateCurrentRoom(float dt);

}  // namespace scene
