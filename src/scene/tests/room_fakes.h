#pragma once
// A recording Room window for the screen manager's and the rooms' tests:
// the room id kept, the cursors, board windows and panel calls made.
#include <string>
#include <vector>

#include "scene/room_port.h"

namespace scenetest {

struct FakeRoomPort : scene::RoomPort {
  FakeRoomPort() : previous(scene::SetRoomPort(this)) {}
  ~FakeRoomPort() override { scene::SetRoomPort(previous); }

  bool HasRoomWindow() override { return hasWindow; }
  int ReadRoomId() override { return roomId; }
  void StoreRoomId(int id) override { roomId = id; }
  void SetWaitCursor(bool wait) override { events.push_back(wait ? "wait" : "normal"); }
  void* CreateBoardWindow() override {
    ++boardWindows;
    events.push_back("create board");
    return BoardWindow();
  }
  void DestroyBoardWindow() override {
    if (boardWindows > 0) --boardWindows;
    events.push_back("destroy board");
  }
  void* BoardWindow() override { return boardWindows ? &boardWindows : nullptr; }
  void ShowBoardView(scene::Screen&) override { events.push_back("show view"); }
  void SendSlotMessage(int slot, uint32_t message) override {
    events.push_back("message " + std::to_string(slot) + " " + std::to_string(message));
  }
  void SetRackTitle(const char* title) override { rackTitle = title; }
  void ShowFinalRanking(CGame*) override { ++rankings; }

  bool hasWindow = true;
  int roomId = 9999;
  int boardWindows = 0;
  int rankings = 0;
  std::string rackTitle;
  std::vector<std::string> events;
  scene::RoomPort* previous;
};

}  // namespace scenetest
