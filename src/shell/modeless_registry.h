#pragma once
// The registry of modeless dialogs that the main loop offers every message
// to, newest first, with the countdowns of the timed ones; and the nesting
// of modal dialogs that disable the rest of the interface. The window calls
// go through DialogWindowOps (the Win32 side installs the real ones, tests a
// recording fake).
//
// Dispatch and the countdown walk a snapshot taken under the lock, so a
// dialog that registers or unregisters while it handles a message (a
// message box closing itself) never invalidates the walk, and nothing is
// called with the lock held.
#include <cstddef>
#include <cstdint>

#include "platform/sync.h"

namespace shell {

class DialogWindowOps {
 public:
  virtual ~DialogWindowOps() = default;
  virtual bool IsWindow(void* dialog) = 0;
  virtual bool IsDialogMessage(void* dialog, void* message) = 0;
  // Posts the close-on-time-out message (0x8105) to the dialog.
  virtual void PostTimeout(void* dialog) = 0;
};

// Installs the operations (not owned); returns the previous ones.
DialogWindowOps* SetDialogWindowOps(DialogWindowOps* ops);

// The posted message that asks a timed dialog to close.
constexpr uint32_t kMsgDialogTimeout = 0x8105;
// The countdown of a dialog that never times out.
constexpr int32_t kNoCountdown = -60;

// A critical section that counts how deep it is entered.
class CountedLock {
 public:
  void Enter() {
    cs_.Enter();
    ++depth_;
  }
  void Leave() {
    --depth_;
    cs_.Leave();
  }
  int32_t depth() const { return depth_; }

 private:
  platform::CriticalSection cs_;
  int32_t depth_ = 0;
};

class ScopedCountedLock {
 public:
  explicit ScopedCountedLock(CountedLock& lock) : lock_(lock) { lock_.Enter(); }
  ~ScopedCountedLock() { lock_.Leave(); }
  ScopedCountedLock(const ScopedCountedLock&) = delete;
  ScopedCountedLock& operator=(const ScopedCountedLock&) = delete;

 private:
  CountedLock& lock_;
};

// 0 once registered (or for a null dialog); a countdown of n ticks posts the
// time-out on tick n + 1 and every tick after it.
int RegisterModelessDialog(void* dialog, int32_t countdown);
// Removes the dialog wherever it stands; 1, or 0 for a null dialog.
int UnregisterModelessDialog(void* dialog);
// Offers the message to every registered dialog that is still a window,
// newest first; true at the first that takes it.
bool DispatchModelessDialogMessage(void* message);
// One timer tick of the timed dialogs.
void ModelessDialogTick();
size_t ModelessDialogCount();

// Runs a modal dialog with the rest of the interface disabled. enableUi is
// the interface lock: it returns 1 when it changed the state. Only the
// outermost dialog, and only when it was the one that disabled the
// interface, enables it again.
using UiEnableFn = int (*)(int enable);
using ModalRunFn = intptr_t (*)(void* context);
intptr_t RunModalDialog(UiEnableFn enableUi, ModalRunFn run, void* context);
int32_t ModalDialogDepth();

}  // namespace shell
