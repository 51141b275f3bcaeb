#pragma once
// The background of a 2D room: its room's tile bitmap or a two-colour
// vertical gradient, chosen per room in the wallpaper settings file. This
// is the portable part (the choice and the gradient's colours); the window
// side loads the picture and draws it.
#include <cstddef>
#include <cstdint>

namespace shell {

constexpr size_t kWallpaperPathSize = 260;

// The background fields of a room's screen.
struct ScreenBackground {
  int roomId = 0;
  bool bitmapMode = true;  // tiled bitmap; false: gradient
  char path[kWallpaperPathSize] = {};
  uint32_t colour1 = 0, colour2 = 0;  // COLORREF: red in the low byte
};

// The room's default tile in the Wallpaper folder, or null for a room
// without one.
const char* DefaultRoomTile(int roomId);
// Only the lobby, the training, network and library menus keep a file and
// a type of their own.
bool RoomHasWallpaperChoice(int roomId);

// "%x %x": two hexadecimal colours. False, with both left alone, unless
// both are there.
bool ParseGradientColours(const char* text, uint32_t* colour1, uint32_t* colour2);

// Reads the room's section of wallpaperIni into bg (its roomId chosen by
// the caller): the gradient always; the file and type for the rooms that
// have a choice, the others keeping their mode. The tile is tileName, or
// the room's default when null. In bitmap mode a path without a backslash
// is taken from wallpaperFolder. False when bitmap mode leaves no path.
bool LoadBackgroundSettings(const char* tileName, const char* wallpaperIni,
                            const char* wallpaperFolder, ScreenBackground* bg);

// Row (or column) i of n of a gradient: each channel runs from colour1 at 0
// towards colour2, rounded as the system's MulDiv. colour1 for n below 1.
uint32_t GradientColour(uint32_t colour1, uint32_t colour2, int32_t i, int32_t n);

}  // namespace shell
