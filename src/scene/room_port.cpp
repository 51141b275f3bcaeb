#include "scene/room_port.h"

namespace scene {

namespace {

RoomPort g_defaultPort;
RoomPort* g_port = nullptr;

}  // namespace

RoomPort* SetRoomPort(RoomPort* port) {
  RoomPort* old = g_port;
  g_port = port;
  return old;
}

RoomPort& GetRoomPort() { return g_port ? *g_port : g_defaultPort; }

}  // namespace scene
