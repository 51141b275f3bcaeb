#pragma once
// The lobby (room 0): a background picture for the Room window's size class
// with the program's animated picture buttons, the current user's name, and
// the actions behind the buttons. What it needs of the program above it
// (the options, the credits box, profiles, opening saved files, shutting
// down) comes through LobbyServices.
#include <windows.h>

namespace scene {

struct LobbyServices {
  // The options dialog and what its changes call for (skin, saving).
  void (*runOptions)(HWND owner) = nullptr;
  // The credits box ("CREDITBOX").
  void (*runCredits)(HWND owner) = nullptr;
  // The user-management dialog; 480 when a user was chosen.
  int (*runUserManagement)(HWND owner) = nullptr;
  // The program's saved-file dialog and the file it chose opened.
  void (*openSavedFile)(HWND owner) = nullptr;
  // Stops the program when the default profile cannot be selected.
  void (*shutDown)() = nullptr;
  // A screen's background built from a wallpaper tile ("tile.bmp").
  void (*loadBackgroundTile)(const char* tile) = nullptr;
};
void SetLobbyServices(const LobbyServices& services);

// Private messages of the lobby dialog.
constexpr UINT kMsgLobbyDefaultProfile = 1000;
constexpr UINT kMsgLobbyUserManagement = 0x8104;

// The background dialog while the lobby is shown, else null.
HWND GetLobbyDialog();

}  // namespace scene
