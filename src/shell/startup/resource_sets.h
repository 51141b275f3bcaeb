#pragma once
// The Windows side of the theme and skin: the GUI resource sets loaded at
// start-up and after a skin change, the toolkit font table, the skin-choice
// dialog and the small status-bar and refresh helpers.
#include <windows.h>

#include "gui/gui_skin.h"
#include "gui/skin_registry.h"

namespace shell {

// Start-up (from InitApplication, after GuiInitialize): fonts, the theme of
// the last user, the skin registry, the frame skin and the widget skin.
// False when the skin has no usable "GUIResources" (the toolkit keeps its
// defaults).
bool LoadGUIResources();
// After a skin change: the new registry is made first; when it fails the
// old skin stays in force and false is returned. Otherwise every window is
// told (0x8404) that the skin goes, the records are rebuilt on the new
// registry, the old registry is deleted and the frames are refreshed.
bool ReloadGUIResources();
// Shut-down: frees the frame skin, the widget skin, the registry, the
// fonts and removes the game font.
void ReleaseGuiResourcesAndFont();
// The font table: slots 0-10 in "CG Omega", then the game font
// "tessarin.ttf" of the program folder.
void LoadGuiFonts();
gui::SkinRegistry* GetSkinRegistry();
// Builds the registry and both records from the current skin path (no
// theme resolution) and installs them; the previous registry goes only once
// the new one is in force. False, with nothing changed, when the skin has
// no usable "GUIResources".
bool LoadSkinResources();
// The program's main window, whose status bar follows the skin, and the
// application palette the records are seeded with (set by the start-up).
void SetSkinMainWindow(HWND window);
void SetSkinPalette(HPALETTE palette);
HWND GetSkinMainWindow();
HPALETTE GetSkinPalette();
// Plays a theme's ambiance for ever (the sound layer's PlayAmbianceFile);
// without one, a skin change plays none.
using AmbiancePlayer = void (*)(const char* name);
void SetAmbiancePlayer(AmbiancePlayer player);

// Applies the theme of a skin file ("blue_skin.ini" gives
// "blue_theme.ini"): the settings record takes the theme, the resources are
// reloaded and the theme's ambiance plays in a room. False when nothing
// changed.
bool ApplySkinByName(const char* skinFile, int reload);
// Takes the chosen skin's wallpaper (its "backgroundbmp" in the Wallpaper
// folder) as the board view's background; without one the choice is kept
// by the dialog only.
using WallpaperHandler = void (*)(const char* path);
void SetWallpaperHandler(WallpaperHandler handler);
// The "Choose skin" dialog owned by the main window; 1 after OK, 2 after
// Cancel, 0 when it could not be shown.
int RunSkinDialog();

// Bevel: light pen up the left side and along the top, dark pen down the
// right side and back along the bottom. 0 without a rectangle, set or DC.
int DrawSkinBevel(gui::GuiHandle window, const gui::DibRect* rect, const gui::GuiSkin* set,
                  uint32_t light, uint32_t dark, int32_t width);
// 0x8502 with 1 to the window and every child; those that do not answer 1
// get SetWindowPos with the frame-changed flags, the others 0x8502 with 4.
void RefreshSkinnedChildren(HWND window);
void SetStatusBarTextId(HWND bar, int part, UINT stringId);   // pane 0
void SetStatusBarText(HWND bar, int part, const char* text);  // pane 4
// Re-reads the main frame's status bar: the lobby's when lobby is non-zero
// (only when its file exists), else the ordinary one.
void SwitchStatusBar(const char* name, int lobby);

// Private messages.
constexpr UINT kMsgSkinGoes = 0x8404;
constexpr UINT kMsgSkinRefresh = 0x8502;

}  // namespace shell
