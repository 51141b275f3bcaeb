#pragma once
// The rooms' backgrounds as the program keeps them: one tile-or-gradient
// choice per room (ids 0 to 17) with its loaded tile, the picture the Room
// window draws behind a 2D room at the window's size, and the hooks through
// which the options, the page layout and the rooms reach them.
#include "gui/utils.h"
#include "shell/wallpaper.h"

namespace scene {
struct RoomPicture;
}

namespace shell {

constexpr int kBackgroundRooms = 18;

// The room's background choice; null outside 0..17.
ScreenBackground* GetRoomBackground(int roomId);

// Reads the room's choice from the wallpaper settings file (the tile is
// tileName, or the room's default when null) and drops its loaded picture.
// False when bitmap mode leaves no path.
bool LoadBackgroundTile(const char* tileName, int roomId);

// The same for the room shown now (the lobby's service at its first entry).
void LoadShownRoomTile(const char* tileName);

// Every room becomes a tiled bitmap of picturePath, loaded again when next
// shown (a theme's background picture).
void SetRoomBackgroundPictures(const char* picturePath);

// The room's choice changed (mode, path or colours): its picture is loaded
// again when next shown.
void MarkRoomBackgroundChanged(int roomId);

// A new 24-bit picture of width x height: the room's tile repeated from the
// corner, or its gradient from colour 1 at the top to colour 2 at the
// bottom. Null without a size or a readable tile in bitmap mode.
gui::PackedDIB* BuildRoomBackground(int roomId, int width, int height);

// The same as the Room window keeps it (owned by the caller); null when
// there is none.
scene::RoomPicture* MakeRoomPicture(int roomId, int width, int height);

// Redraws the Room window's background when the room is shown.
void RefreshRoomBackground(int roomId);

// The Room window's picture source, the options' background hook and the
// page layout's background source; FreeRoomBackgrounds drops every loaded
// tile and the hooks.
void InstallRoomBackgrounds();
void FreeRoomBackgrounds();

}  // namespace shell
