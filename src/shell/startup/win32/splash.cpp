#include "shell/startup/win32/splash.h"

#include <process.h>

#include <atomic>
#include <cstring>

#include "shell/res_strings.h"
#include "shell/startup/win32/app_palette.h"
#include "shell/startup_logic.h"

namespace shell {
namespace {

constexpr DWORD kStartWaitMs = 5000;
constexpr DWORD kCloseWaitMs = 5000;
constexpr int kPaletteWaitMs = 2000;

struct SplashWindow {
  HINSTANCE instance = nullptr;
  HWND window = nullptr;
  HBITMAP bitmap = nullptr;
  char bitmapName[65] = {};
  char caption[65] = {};
};

struct SplashThread {
  HANDLE thread = nullptr;
  DWORD threadId = 0;
  HANDLE ready = nullptr;  // set once the window is up or has failed
};

SplashThread g_thread;
std::atomic<HWND> g_window{nullptr};

HBITMAP LoadSplashBitmap(HINSTANCE instance, const char* name) {
  return static_cast<HBITMAP>(LoadImageA(instance, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP b{};
  if (!bitmap || !GetObjectA(bitmap, sizeof b, &b)) return SIZE{0, 0};
  return SIZE{b.bmWidth, b.bmHeight < 0 ? -b.bmHeight : b.bmHeight};
}

// --- window procedure: each message to its handler.

void OnCreate(HWND window, const CREATESTRUCTA* cs) {
  auto* s = static_cast<SplashWindow*>(cs->lpCreateParams);
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(s));
  SIZE size = BitmapSize(s->bitmap);
  RECT desk;
  GetWindowRect(GetDesktopWindow(), &desk);
  int left = desk.left + (desk.right - desk.left) / 2 - size.cx / 2;
  int top = desk.top + (desk.bottom - desk.top) / 2 - size.cy / 2;
  SetWindowPos(window, HWND_TOP, left, top, size.cx, size.cy, SWP_SHOWWINDOW);
}

void OnPaint(HWND window) {
  // The palette comes from the interface thread's start-up; wait a little
  // for it, but never hang the splash on it.
  for (int waited = 0; !GetAppPalette() && waited < kPaletteWaitMs; waited += 5)
    Sleep(5);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  auto* s = reinterpret_cast<SplashWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!s) {
    EndPaint(window, &ps);
    DestroyWindow(window);
    return;
  }
  if (HPALETTE palette = GetAppPalette()) {
    SelectPalette(dc, palette, FALSE);
    if (RealizePalette(dc) != 0) InvalidateRect(window, nullptr, FALSE);
  }
  SIZE size = BitmapSize(s->bitmap);
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, s->bitmap);
  BitBlt(dc, 0, 0, size.cx, size.cy, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
  EndPaint(window, &ps);
}

LRESULT CALLBACK SplashWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate(window, reinterpret_cast<const CREATESTRUCTA*>(lParam));
      return 0;
    case WM_PAINT:
      OnPaint(window);
      return 0;
    case WM_DESTROY:
      g_window.store(nullptr);
      PostQuitMessage(2);
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) return 0;
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// On the splash thread: a new picture in place of the old one.
void SwapBitmap(SplashWindow& s, const char* name) {
  HBITMAP bitmap = LoadSplashBitmap(s.instance, name);
  if (!bitmap) return;
  lstrcpynA(s.bitmapName, name, sizeof s.bitmapName);
  HBITMAP old = s.bitmap;
  s.bitmap = bitmap;
  if (old) DeleteObject(old);
  if (s.window) RedrawWindow(s.window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

bool BuildSplash(SplashWindow& s) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = SplashWndProc;
  wc.hInstance = s.instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_APPSTARTING);
  wc.lpszClassName = kSplashClass;
  if (!RegisterClassA(&wc)) return false;
  s.bitmap = LoadSplashBitmap(s.instance, s.bitmapName);
  if (!s.bitmap) return true;  // the class is registered; no window
  lstrcpynA(s.caption, LoadResStringSecondary(kStrMainTitle), sizeof s.caption);
  s.window = CreateWindowExA(WS_EX_TOOLWINDOW, kSplashClass, "", WS_POPUP | WS_VISIBLE, 0, 0, 0, 0,
                             nullptr, nullptr, s.instance, &s);
  g_window.store(s.window);
  return true;
}

unsigned __stdcall SplashWindowThread(void* arg) {
  SplashWindow s;
  s.instance = GetModuleHandleA(nullptr);
  char* name = static_cast<char*>(arg);
  lstrcpynA(s.bitmapName, name, sizeof s.bitmapName);
  delete[] name;
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue exists from here
  bool registered = BuildSplash(s);
  SetEvent(g_thread.ready);
  while (registered && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.hwnd == nullptr && msg.message == kMsgSplashClose) {
      if (!s.window) break;  // no window: nothing will post the quit
      DestroyWindow(s.window);
      s.window = nullptr;
      continue;
    }
    if (msg.hwnd == nullptr && msg.message == kMsgSplashBitmap) {
      char* next = reinterpret_cast<char*>(msg.lParam);
      SwapBitmap(s, next);
      delete[] next;
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  // Names posted after the close are freed here.
  while (PeekMessageA(&msg, nullptr, kMsgSplashBitmap, kMsgSplashBitmap, PM_REMOVE))
    delete[] reinterpret_cast<char*>(msg.lParam);
  g_window.store(nullptr);
  if (s.window) DestroyWindow(s.window);
  UnregisterClassA(kSplashClass, s.instance);
  if (s.bitmap) DeleteObject(s.bitmap);
  return 0;
}

char* CopyName(const char* name) {
  size_t n = std::strlen(name) + 1;
  char* copy = new char[n];
  std::memcpy(copy, name, n);
  return copy;
}

}  // namespace

bool StartSplashThread(HINSTANCE, const char* bitmapName) {
  if (g_thread.thread || !bitmapName) return false;
  g_thread.ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (!g_thread.ready) return false;
  unsigned id = 0;
  char* name = CopyName(bitmapName);
  auto handle =
      reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, SplashWindowThread, name, 0, &id));
  if (!handle) {
    delete[] name;
    CloseHandle(g_thread.ready);
    g_thread.ready = nullptr;
    return false;
  }
  g_thread.thread = handle;
  g_thread.threadId = id;
  HANDLE waits[2] = {g_thread.ready, handle};
  WaitForMultipleObjects(2, waits, FALSE, kStartWaitMs);
  return true;
}

int ShowSplashBitmap(const char* bitmapName) {
  if (!g_window.load() || !bitmapName || !g_thread.threadId) return 0;
  char* name = CopyName(bitmapName);
  if (!PostThreadMessageA(g_thread.threadId, kMsgSplashBitmap, 0, reinterpret_cast<LPARAM>(name))) {
    delete[] name;
    return 0;
  }
  return 1;
}

int CloseSplash() {
  if (!g_thread.threadId) return 0;
  // The window goes on its own thread; from here it no longer counts as
  // showing. The thread is joined at shut-down (unmapping a window can take
  // the display server a while, which start-up need not wait for).
  PostThreadMessageA(g_thread.threadId, kMsgSplashClose, 0, 0);
  g_window.store(nullptr);
  return 1;
}

void JoinSplashThread() {
  if (!g_thread.thread) return;
  PostThreadMessageA(g_thread.threadId, kMsgSplashClose, 0, 0);
  if (WaitForSingleObject(g_thread.thread, kCloseWaitMs) != WAIT_OBJECT_0) {
    // Still busy: a quit message ends its loop.
    PostThreadMessageA(g_thread.threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(g_thread.thread, kCloseWaitMs);
  }
  CloseHandle(g_thread.thread);
  CloseHandle(g_thread.ready);
  g_thread = SplashThread();
}

bool IsSplashShowing() { return g_window.load() != nullptr; }
HWND GetSplashWindow() { return g_window.load(); }

}  // namespace shell
