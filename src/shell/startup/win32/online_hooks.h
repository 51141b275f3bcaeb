#pragma once
// What start-up and the main loop ask of the online front-end, which is not
// built: it keeps the program's instance and main window, and its lobby
// dialogs take no message.
#include <windows.h>

namespace shell {

void SetOnlineAppWindows(HINSTANCE instance, HWND mainWindow);
bool LobbyDialogMessageFilter(MSG* msg);

}  // namespace shell
