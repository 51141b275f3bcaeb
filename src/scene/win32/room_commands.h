#pragma once
// The rooms' answers to the main window's toolbars and game loading
// (ui::RoomCommandPort), on the current screen and its board scene.
namespace scene {

// Installs the rooms' implementation of the port (the program calls it once).
void InstallRoomCommandPort();

}  // namespace scene
