#include "shell/startup/win32/online_hooks.h"

namespace shell {
namespace {
HINSTANCE g_onlineInstance = nullptr;
HWND g_onlineMainWindow = nullptr;
}  // namespace

void SetOnlineAppWindows(HINSTANCE instance, HWND mainWindow) {
  g_onlineInstance = instance;
  g_onlineMainWindow = mainWindow;
}

bool LobbyDialogMessageFilter(MSG*) { return false; }

}  // namespace shell
