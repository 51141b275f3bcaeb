// The lobby's screen without windows (the portable build's tests): it can be
// entered, so the game room has a room to return to, and shows nothing.
#include "scene/lobby_room.h"

namespace scene {

namespace {

class LobbyScreen : public Screen {
 public:
  LobbyScreen() : Screen(kLobbyRoom) {}
  bool Enter() override { return true; }
};

}  // namespace

Screen* CreateLobbyScreen() { return new LobbyScreen(); }

}  // namespace scene
