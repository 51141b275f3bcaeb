#pragma once
// What the main window's window tests share: running the message loop,
// steps run once a modal dialog is up, reading texts and list rows back, a
// sink that keeps the notices, and a game put into the session registry.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/session_registry.h"
#include "platform/message_sink.h"

namespace uitest {

// Runs the message loop for the given time.
inline void Pump(DWORD ms = 300) {
  const DWORD until = GetTickCount() + ms;
  MSG msg;
  while (GetTickCount() < until) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(10);
  }
}

// Runs the message loop until done() holds or the time is up.
template <typename F>
bool PumpUntil(F done, DWORD ms = 20000) {
  const DWORD until = GetTickCount() + ms;
  MSG msg;
  while (GetTickCount() < until) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (done()) return true;
    Sleep(10);
  }
  return done();
}

inline std::function<void(HWND)>& PendingStep() {
  static std::function<void(HWND)> step;
  return step;
}

inline void CALLBACK StepTimer(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dialog = GetActiveWindow();
  if (!dialog || !PendingStep()) return;
  KillTimer(nullptr, id);
  auto step = std::move(PendingStep());
  PendingStep() = nullptr;
  step(dialog);
}

// Runs the step on the active window once a dialog is up (a modal dialog's
// own loop runs it), checking every `ms`.
inline void Then(std::function<void(HWND)> step, UINT ms = 300) {
  PendingStep() = std::move(step);
  SetTimer(nullptr, 0, ms, StepTimer);
}

inline std::string Text(HWND window) {
  char text[4096] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

inline std::string Text(HWND dialog, int id) {
  char text[512] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

// A list box's row.
inline std::string Row(HWND list, int row) {
  char text[256] = {};
  SendMessageA(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
  return text;
}

// A list view's cell.
inline std::string Cell(HWND list, int row, int column) {
  char text[128] = {};
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  return text;
}

// Keeps every notice's text instead of showing a message box and answers
// with a fixed button.
class NoticeSink : public platform::MessageSink {
 public:
  explicit NoticeSink(int answer = platform::kResultOk)
      : answer_(answer), previous_(platform::SetMessageSink(this)) {}
  ~NoticeSink() override { platform::SetMessageSink(previous_); }
  int ShowMessage(const char* text, const char*, uint32_t) override {
    texts.push_back(text ? text : "");
    return answer_;
  }
  std::vector<std::string> texts;

 private:
  int answer_;
  platform::MessageSink* previous_;
};

// Registers the game as the current one; false when the registry refuses it.
inline bool RegisterCurrentGame(GameSessionRegistry& registry, std::unique_ptr<CGame> made) {
  CGame* game = made.get();
  InstallGameSessionRegistry(&registry);
  if (registry.Register(made.release(), 1) != kRegistered) return false;
  registry.SetCurrentGame(game);
  return true;
}

// A hidden popup the panels are created over.
inline HWND MakeOwner(HINSTANCE instance) {
  return CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance,
                         nullptr);
}

// A window class for stand-in panels, run by the given procedure.
inline bool RegisterPanelClass(const char* name, WNDPROC proc) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = name;
  return RegisterClassA(&wc) != 0;
}

}  // namespace uitest
