#include "shell/startup/win32/main_loop.h"

#include "shell/app_context.h"
#include "shell/event_queue.h"
#include "shell/frame_timer.h"
#include "shell/main_loop_state.h"
#include "shell/modeless_registry.h"
#include "shell/startup/win32/online_hooks.h"

namespace shell {
namespace {

RoomFrameDriver g_driver;
HWND g_acceleratorWindow = nullptr;

uint64_t PerformanceCounter(void*) {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<uint64_t>(now.QuadPart);
}

FrameTimer& TheFrameTimer() {
  static FrameTimer timer = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return FrameTimer(static_cast<uint64_t>(f.QuadPart), PerformanceCounter, nullptr);
  }();
  return timer;
}

bool RoomAnimating() { return g_driver.active && g_driver.active(); }

void RouteMessage(MSG* msg) {
  MainLoopSwitches& s = GetMainLoopSwitches();
  if (g_acceleratorWindow && s.accelerators &&
      TranslateAcceleratorA(g_acceleratorWindow, static_cast<HACCEL>(s.accelerators), msg))
    return;
  if (IsDialogOrFilterMessage(msg)) return;
  TranslateMessage(msg);
  DispatchMessageA(msg);
}

// Waits until a message is queued or the next frame of an animating room is
// due; false when the wait ended without a message.
bool WaitForWork(const FrameTimer& timer) {
  DWORD ms = FrameWaitMs(RoomAnimating(), timer.Seconds(0));
  if (ms == kWaitForever) ms = INFINITE;
  return MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT) == WAIT_OBJECT_0;
}

// One waiting-mode pass: at most one message, then the room's frame.
// Returns false once WM_QUIT has been fetched.
bool WaitingPass(FrameTimer& timer, float dt, MSG* msg) {
  bool quit = false;
  if (WaitForWork(timer) || PeekMessageA(msg, nullptr, 0, 0, PM_NOREMOVE)) {
    while (PeekMessageA(msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg->message == WM_QUIT) {
        quit = true;
        break;
      }
      RouteMessage(msg);
    }
  }
  if (!RoomAnimating()) return !quit;
  if (g_driver.update) g_driver.update(dt);
  timer.Mark(1);
  if (!IsAppActive()) Sleep(15);
  if (RedrawDue(dt)) {
    timer.Reset();
    timer.Mark(3);
    timer.Mark(5);
    if (g_driver.render) g_driver.render(dt);
  }
  timer.Mark(1);
  return !quit;
}

// The polling mode some screens ask for: messages first, then the queues.
bool PollingPass(MSG* msg) {
  if (PeekMessageA(msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg->message == WM_QUIT) return false;
    RouteMessage(msg);
    return true;
  }
  if (IdleSleepOn()) {
    PumpEventQueue(0);
    PumpEventQueue(1);
    if (GetMainLoopSwitches().idleThrottle > 0) return true;
  }
  Sleep(10);
  return true;
}

class Win32DialogOps : public DialogWindowOps {
 public:
  bool IsWindow(void* dialog) override { return ::IsWindow(static_cast<HWND>(dialog)) != 0; }
  // windows.h makes this member IsDialogMessageA: the system's call must be
  // qualified, or it calls the member itself for ever.
  bool IsDialogMessage(void* dialog, void* message) override {
    return ::IsDialogMessageA(static_cast<HWND>(dialog), static_cast<MSG*>(message)) != 0;
  }
  void PostTimeout(void* dialog) override {
    PostMessageA(static_cast<HWND>(dialog), kMsgDialogTimeout, 0, 0);
  }
};

}  // namespace

void SetRoomFrameDriver(const RoomFrameDriver& driver) { g_driver = driver; }

void SetMainAccelerators(HWND window, HACCEL table) {
  g_acceleratorWindow = window;
  GetMainLoopSwitches().accelerators = table;
}

bool IsDialogOrFilterMessage(MSG* msg) {
  HWND dialog = static_cast<HWND>(GetMainLoopSwitches().modelessDialog);
  if (dialog && IsDialogMessageA(dialog, msg)) return true;
  return DispatchModelessDialogMessage(msg) || LobbyDialogMessageFilter(msg);
}

int EnableModelessDialog(int enable) {
  HWND dialog = static_cast<HWND>(GetMainLoopSwitches().modelessDialog);
  if (!dialog) return 0;
  EnableWindow(dialog, enable);
  return IsWindowEnabled(dialog);
}

int RunMainLoop(WPARAM* exitCode) {
  FrameTimer& timer = TheFrameTimer();
  MSG msg{};
  for (bool running = true; running;) {
    timer.Mark(0);
    float dt = ClampFrameStep(timer.Seconds(0));
    timer.Mark(9);
    if (GetMainLoopSwitches().peekMode == 0) {
      // The wait bounds the load, so no fixed pause follows each message.
      running = WaitingPass(timer, dt, &msg);
    } else {
      running = PollingPass(&msg);
    }
  }
  if (exitCode) *exitCode = msg.wParam;
  return 1;
}

void InstallDialogWindowOps() {
  static Win32DialogOps ops;
  SetDialogWindowOps(&ops);
}

}  // namespace shell
