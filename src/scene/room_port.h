#pragma once
// What the screen manager and the game rooms ask of the window side: the
// Room window (its room id, the wait cursor, the 3D view's size), the board
// window, the panels' controls, the interface lock and the end-of-game
// ranking. The Room window side installs its implementation; tests install
// a recording fake. The defaults answer as if no window existed: no Room
// window (room id 9999), no board window, nothing shown.
#include <cstdint>

class CGame;

namespace scene {

class Screen;

class RoomPort {
 public:
  virtual ~RoomPort() = default;

  // --- The Room window ---
  virtual bool HasRoomWindow() { return false; }
  virtual int ReadRoomId() { return 9999; }
  virtual void StoreRoomId(int roomId) { (void)roomId; }
  virtual void SetWaitCursor(bool wait) { (void)wait; }
  // Fits the 3D view (or a 2D room's picture) to the Room window.
  virtual void ResizeRoomView(Screen& screen, bool keepBackground) {
    (void)screen;
    (void)keepBackground;
  }

  // --- The board window ---
  // Null when it cannot be made.
  virtual void* CreateBoardWindow() { return nullptr; }
  virtual void DestroyBoardWindow() {}
  virtual void* BoardWindow() { return nullptr; }
  // The Room window's rectangle, the screen's background, one frame drawn
  // and shown, the board window shown.
  virtual void ShowBoardView(Screen& screen) { (void)screen; }

  // --- Panels ---
  virtual void EnableSlotControl(int slot, int controlId, bool enable) {
    (void)slot;
    (void)controlId;
    (void)enable;
  }
  virtual void ShowSlotControl(int slot, int controlId, bool show) {
    (void)slot;
    (void)controlId;
    (void)show;
  }
  virtual void SendSlotMessage(int slot, uint32_t message) {
    (void)slot;
    (void)message;
  }
  // The panel toolbar (slot 29) a game room makes on entry and destroys
  // when it is left.
  virtual void CreatePanelToolbar() {}
  virtual void DestroyPanelToolbar() {}
  // The rack view's title ("" for none).
  virtual void SetRackTitle(const char* title) { (void)title; }
  virtual void EnableUserInterface(bool enable) { (void)enable; }

  // --- Dialogs ---
  virtual void ShowFinalRanking(CGame* game) { (void)game; }
};

// Installs the port (not owned); returns the previous one, null for the
// default.
RoomPort* SetRoomPort(RoomPort* port);
RoomPort& GetRoomPort();

}  // namespace scene
