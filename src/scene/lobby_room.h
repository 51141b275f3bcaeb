#pragma once
// The lobby (room 0), the program's main menu.
#include "scene/screen.h"

namespace scene {

Screen* CreateLobbyScreen();

}  // namespace scene
