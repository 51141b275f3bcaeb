#include "shell/main_loop_state.h"

namespace shell {

MainLoopSwitches& GetMainLoopSwitches() {
  static MainLoopSwitches switches;
  return switches;
}

bool ChangeIdleThrottle(bool up) {
  MainLoopSwitches& s = GetMainLoopSwitches();
  if (up)
    ++s.idleThrottle;
  else if (s.idleThrottle > 0)
    --s.idleThrottle;
  return s.idleThrottle > 0;
}

bool SetIdleThrottle(int32_t value) {
  MainLoopSwitches& s = GetMainLoopSwitches();
  if (value > MainLoopSwitches::kNothingSaved) {
    s.savedIdleThrottle = s.idleThrottle;
    s.idleThrottle = value;
  } else if (value == MainLoopSwitches::kNothingSaved &&
             s.savedIdleThrottle != MainLoopSwitches::kNothingSaved) {
    s.idleThrottle = s.savedIdleThrottle;
    s.savedIdleThrottle = MainLoopSwitches::kNothingSaved;
  }
  return s.idleThrottle > 0;
}

bool IdleSleepOn() { return GetMainLoopSwitches().idleThrottle >= 0; }

int32_t ChangePeekModeCount(bool up) {
  MainLoopSwitches& s = GetMainLoopSwitches();
  if (up)
    ++s.peekMode;
  else if (s.peekMode >= 1)
    --s.peekMode;
  return s.peekMode;
}

void EnableAccelerators(bool enable, int32_t currentRoom, bool suspendBlocked) {
  MainLoopSwitches& s = GetMainLoopSwitches();
  if (!enable) {
    if (suspendBlocked || !s.accelerators) return;
    s.savedAccelerators = s.accelerators;
    s.savedRoom = currentRoom;
    s.accelerators = nullptr;
    return;
  }
  if (s.savedAccelerators && currentRoom == s.savedRoom) {
    s.accelerators = s.savedAccelerators;
    s.savedAccelerators = nullptr;
  }
}

void* SetModelessDialog(void* dialog) {
  void* previous = GetMainLoopSwitches().modelessDialog;
  GetMainLoopSwitches().modelessDialog = dialog;
  return previous;
}

void* ClearModelessDialog() { return SetModelessDialog(nullptr); }

}  // namespace shell
