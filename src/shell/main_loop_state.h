#pragma once
// The switches other components turn on the main loop: the idle throttle,
// the polling count and the accelerator suspension. Interface thread only;
// window handles are carried as opaque pointers.
#include <cstdint>

namespace shell {

struct MainLoopSwitches {
  int32_t idleThrottle = 0;
  int32_t savedIdleThrottle = kNothingSaved;
  int32_t peekMode = 0;
  void* accelerators = nullptr;       // null while suspended
  void* savedAccelerators = nullptr;  // the table suspended ...
  int32_t savedRoom = 0;              // ... in this room
  void* modelessDialog = nullptr;

  static constexpr int32_t kNothingSaved = -2;
};

MainLoopSwitches& GetMainLoopSwitches();

// Up adds one; down takes one off only above 0. Returns counter > 0.
bool ChangeIdleThrottle(bool up);
// Above -2: saves the counter and sets the value. -2: restores the saved
// counter once. Below -2: nothing. Returns counter > 0.
bool SetIdleThrottle(int32_t value);
// Whether the loop sleeps 10 ms after a pass (counter at 0 or above).
bool IdleSleepOn();
// Up adds one; down takes one off from 1 up. Returns the new count.
int32_t ChangePeekModeCount(bool up);

// Suspends (false) or restores (true) the accelerator table. A suspension
// is refused while blocked (a game whose players forbid it); a restore
// happens only in the room the table was suspended in.
void EnableAccelerators(bool enable, int32_t currentRoom, bool suspendBlocked);

void* SetModelessDialog(void* dialog);
void* ClearModelessDialog();

}  // namespace shell
