#pragma once
// The Room window (slot 1): a child filling the main frame's client area
// that keeps the current room id, draws a 2D room's picture behind its
// children and passes keys on to the board window; and the window side of
// the rooms (RoomPort) on it, the board window and the panels.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "scene/room_port.h"

namespace scene {

constexpr char kRoomWindowClass[] = "WC_QUINTARA_ROOM";
constexpr int kRoomWindowChildId = 1;
constexpr UINT kRoomTimerId = 1;
constexpr UINT kRoomTimer2Id = 2;
constexpr UINT kRoomTimerMs = 250;
constexpr UINT kMsgRoomResize = 0x8102;  // lParam a RECT*: its size only
constexpr UINT kMsgRoomNothing = 0x810B;
constexpr UINT kMsgTournamentStep = 0x8113;
// Window memory: the room id, then the background picture.
constexpr int kRoomIdOffset = 4;
constexpr int kRoomPictureOffset = 8;
constexpr int kRoomWindowBytes = 16;

// A 2D room's background: a packed bitmap (info header, colours, bits).
struct RoomPicture {
  int width = 0, height = 0;
  std::vector<uint8_t> dib;
};

bool RegisterRoomWindowClass(HINSTANCE instance);
void UnregisterRoomWindowClass(HINSTANCE instance);
// A visible child of the main frame over its client area, room id 9999.
// The players of room 1 are set up through the "New game" dialog from then
// on.
HWND CreateRoomWindow();
HWND GetRoomWindow();
LRESULT CALLBACK RoomWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Fits the 3D view to the Room window (a 3D room) or stores a 2D room's
// picture (owned by the window from then on; null keeps none). Unless
// keepBackground is set the previous picture is freed.
void ResizeRoomView(Screen& screen, bool keepBackground, RoomPicture* picture = nullptr);

// Where a 2D room's picture comes from: a new picture of the room's
// background at the given size (the caller owns it), or null for none. The
// program installs it; without one a 2D room keeps the window's black.
using RoomPictureSource = RoomPicture* (*)(int roomId, int width, int height);
void SetRoomPictureSource(RoomPictureSource source);

// One frame of the main loop: the current room's step, then the board
// drawn again when it changed.
void RunRoomFrame(float dt);

// A 2D rack panel in a window slot: kind 1 the opponent's rack, else the
// players' racks; kept inside the desktop. Null on failure.
HWND CreateRackPanel(int kind, int slot);

// The window side of the rooms, on the Room and board windows.
class Win32RoomPort : public RoomPort {
 public:
  bool HasRoomWindow() override;
  int ReadRoomId() override;
  void StoreRoomId(int roomId) override;
  void SetWaitCursor(bool wait) override;
  void ResizeRoomView(Screen& screen, bool keepBackground) override;
  void* CreateBoardWindow() override;
  void DestroyBoardWindow() override;
  void* BoardWindow() override;
  void ShowBoardView(Screen& screen) override;
  void EnableSlotControl(int slot, int controlId, bool enable) override;
  void ShowSlotControl(int slot, int controlId, bool show) override;
  void SendSlotMessage(int slot, uint32_t message) override;
  void CreatePanelToolbar() override;
  void DestroyPanelToolbar() override;
  void SetRackTitle(const char* title) override { rackTitle = title ? title : ""; }
  void EnableUserInterface(bool enable) override;
  void ShowFinalRanking(CGame* game) override;

  std::string rackTitle;
};

// The port CreateRoomWindow installs when no other is installed.
Win32RoomPort& GetWin32RoomPort();

}  // namespace scene
