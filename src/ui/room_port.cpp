#include "ui/room_port.h"

namespace ui {
namespace {
RoomCommandPort g_defaultRooms;
RoomCommandPort* g_rooms = &g_defaultRooms;
}  // namespace

RoomCommandPort* SetRoomCommandPort(RoomCommandPort* port) {
  RoomCommandPort* previous = g_rooms;
  g_rooms = port ? port : &g_defaultRooms;
  return previous == &g_defaultRooms ? nullptr : previous;
}

RoomCommandPort& GetRoomCommandPort() { return *g_rooms; }

}  // namespace ui
