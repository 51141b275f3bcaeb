#pragma once
// The "Select Wallpaper" dialog (template "WALLPAPER_SELECT") on a room's
// background, and the choice of a wallpaper bitmap through the program's
// file dialog.
#include <windows.h>

#include "shell/wallpaper.h"

namespace shell {

enum : int {
  kIdBrowseWallpaper = 3,
  kIdColour2Button = 6,
  kIdColour1Button = 8,
  kIdWallpaperPreview = 1007,
  kIdUseGradient = 1010,
  kIdUseBitmap = 1011,
  kIdWallpaperPath = 1012,
  kIdColour1Red = 1013,
  kIdColour2Red = 1015,
  kIdColour1Green = 1017,
  kIdColour2Green = 1019,
  kIdColour1Blue = 1021,
  kIdColour2Blue = 1023,
};

// A bitmap from the Wallpaper folder through the program's file dialog
// (the process's and the dialog's current folders are restored after).
// False when cancelled, or when the picture cannot be read or has fewer
// than 5 bits per pixel (the user is told). pathOut holds
// kWallpaperPathSize characters.
bool ChooseWallpaperFile(HWND owner, char* pathOut);

// Runs the dialog modally on bg: 1 after OK (bg holds the choice: a path
// without a backslash taken from the Wallpaper folder), 2 after Cancel (bg
// as it was).
int RunWallpaperDialog(HWND owner, ScreenBackground* bg);

// The dialog on a room's background (0 to 17): after OK a changed choice is
// loaded, the room redrawn when shown, and the rooms' backgrounds written
// into the user's page layout. The dialog's result.
int RunRoomWallpaperDialog(HWND owner, int roomId);

}  // namespace shell
