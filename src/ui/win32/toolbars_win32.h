#pragma once
// The two toolbars at the bottom corners of a game room: the panel toolbar
// (slot 29), one toggle button per panel, made by each game room on entry;
// and the game toolbar (slot 30), the room's commands (back, main menu,
// save, load, options, restart), made once among the start-up panels.
//
// Differences from the toolbars they follow: the options dialog and saving
// the options belong to the set-up dialogs and the skin change to the
// program, so the toolbar reaches them through GameToolbarHooks; the rooms'
// side goes through RoomCommandPort (room_port.h).
#include <windows.h>

#include <cstdint>

namespace ui {

// -1 for an empty owner or instance, else 0 (also when creation fails).
int CreatePanelToolbar(HWND owner, HINSTANCE instance);
void DestroyPanelToolbar();
void ResetToolbarButtons();
int CreateGameToolbar(HWND owner, HINSTANCE instance);
INT_PTR CALLBACK PanelToolbarProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK GameToolbarProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Change flags of the options dialog the game toolbar acts on.
enum : uint32_t {
  kOptionsRebuildScene = 0x2,
  kOptionsPlayersPanel = 0x4,
  kOptionsDictionary = 0x8,
  kOptionsRemainingTiles = 0x10,
  kOptionsMentor = 0x20,
  kOptionsMoveList = 0x80,
  kOptionsComments = 0x100,
  kOptionsNewSkin = 0x200,
  kOptionsPanelSizeLock = 0x800,
};

struct GameToolbarHooks {
  // Runs the options dialog; the change flags (0 when nothing changed).
  uint32_t (*runOptionsDialog)(HWND owner) = nullptr;
  // Writes the "Options" settings into the user's profile.
  void (*saveOptions)() = nullptr;
  // Applies the skin the options chose (with the rooms' new backgrounds)
  // and, when `save`, writes the theme into the user's settings.
  void (*applyNewSkin)(bool save) = nullptr;
};
void SetGameToolbarHooks(const GameToolbarHooks& hooks);

}  // namespace ui
