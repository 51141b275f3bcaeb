#include "shell/startup/win32/app_cursors.h"

#include <new>

namespace shell {
namespace {

struct AppCursorSet {
  int current = kCursorPointer;
  HCURSOR cursors[kAppCursorCount] = {};
  bool owned[kAppCursorCount] = {};  // loaded from a file: destroyed at the end
};

AppCursorSet* g_set = nullptr;

}  // namespace

bool CreateAppCursors(HINSTANCE instance) {
  if (g_set) return true;
  g_set = new (std::nothrow) AppCursorSet;
  if (!g_set) return false;
  HANDLE busy = LoadImageA(nullptr, "busy.ani", IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE);
  g_set->cursors[kCursorBusy] = busy ? static_cast<HCURSOR>(busy) : LoadCursorA(nullptr, IDC_WAIT);
  g_set->owned[kCursorBusy] = busy != nullptr;
  for (int i = 1; i < kAppCursorCount; ++i) {
    HCURSOR c = LoadCursorA(instance, MAKEINTRESOURCEA(3030 + i));
    // A program built without its cursors still has a pointer.
    g_set->cursors[i] = c ? c : LoadCursorA(nullptr, IDC_ARROW);
  }
  return true;
}

void SetAppCursor(HWND window, int index) {
  if (!window || !g_set || index < 0 || index >= kAppCursorCount) return;
  HCURSOR cursor = g_set->cursors[index];
  ShowCursor(FALSE);
  g_set->current = index;
  SetClassLongPtrA(window, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
  SetCursor(cursor);
  ShowCursor(TRUE);
}

int GetAppCursorIndex(HWND window) {
  if (!window || !g_set) return -1;
  auto cursor = reinterpret_cast<HCURSOR>(GetClassLongPtrA(window, GCLP_HCURSOR));
  // The current index first: two indexes may share the system's arrow.
  if (g_set->cursors[g_set->current] == cursor) return g_set->current;
  for (int i = 0; i < kAppCursorCount; ++i)
    if (g_set->cursors[i] == cursor) return i;
  return -1;
}

HCURSOR GetAppCursor(int index) {
  return g_set && index >= 0 && index < kAppCursorCount ? g_set->cursors[index] : nullptr;
}

int DestroyAppCursors() {
  if (!g_set) return 0;
  // Shared cursors from LoadCursor must not be destroyed; only the file's.
  for (int i = 0; i < kAppCursorCount; ++i)
    if (g_set->owned[i]) DestroyCursor(g_set->cursors[i]);
  delete g_set;
  g_set = nullptr;
  return 1;
}

}  // namespace shell
