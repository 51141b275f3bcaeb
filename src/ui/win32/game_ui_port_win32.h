#pragma once
// The game's window side on the main window's windows: its notices reach
// the slot windows, its panel refreshes the panels, and the settings it
// reads come from the current user and the settings ini.
#include <windows.h>

namespace ui {

// Installs the slot registry's window port and the game's window port
// (once, at start-up, before any game exists).
void InstallGameWindowPorts();
// Puts the game's default port back (at shut-down).
void UninstallGameWindowPorts();

}  // namespace ui
