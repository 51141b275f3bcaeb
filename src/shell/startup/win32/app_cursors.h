#pragma once
// The program's four cursors: 0 busy (the animated "busy.ani" of the current
// folder, else the system's wait cursor), 1 the ordinary pointer (resource
// 3031, also the class cursor of the program's windows), 2 and 3 (resources
// 3032 and 3033). A window is switched by replacing its class cursor, so the
// choice lasts until the next switch.
#include <windows.h>

namespace shell {

constexpr int kCursorBusy = 0, kCursorPointer = 1, kAppCursorCount = 4;

bool CreateAppCursors(HINSTANCE instance);
// Nothing for a null window or an index outside 0..3.
void SetAppCursor(HWND window, int index);
// The index of the set's cursor the window's class uses now, or -1.
int GetAppCursorIndex(HWND window);
HCURSOR GetAppCursor(int index);
int DestroyAppCursors();

}  // namespace shell
