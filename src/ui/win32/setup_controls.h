#pragma once
// Small control helpers the set-up dialogs share: the toolkit's spin fields,
// check states, sounds, names typed into edits and the shared time rules.
#include <windows.h>

#include <cstdint>
#include <string>

#include "gui/win32/gui_widgets1.h"
#include "shell/shell_host.h"
#include "ui/time_limits.h"

namespace ui {

inline void PlaySetupSound(const char* name) { shell::GetShellHost().PlaySoundFile(name); }
inline bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
inline void SetChecked(HWND dialog, int id, bool on) {
  CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED);
}
inline void EnableItem(HWND dialog, int id, bool on) { EnableWindow(GetDlgItem(dialog, id), on); }

inline void SetSpinRange(HWND dialog, int id, int lo, int hi) {
  SendDlgItemMessageA(dialog, id, gui::kMsgSpinSetRange, static_cast<WPARAM>(-1), MAKELONG(lo, hi));
}
inline int GetSpinValue(HWND dialog, int id) {
  return static_cast<int>(SendDlgItemMessageA(dialog, id, gui::kMsgSpinGetPos, 0, 0));
}
inline void SetSpinValue(HWND dialog, int id, int value) {
  SendDlgItemMessageA(dialog, id, gui::kMsgSpinSetPos, static_cast<WPARAM>(value), 0);
}

inline std::string ItemText(HWND dialog, int id, int max = 63) {
  char text[256] = {};
  GetDlgItemTextA(dialog, id, text, max + 1);
  return text;
}

// The time spins (minutes, seconds) show a time in milliseconds.
inline void ShowTimeSpins(HWND dialog, int minutesId, int secondsId, int32_t ms) {
  const MinSec t = SplitTimeMs(ms);
  SetSpinValue(dialog, minutesId, t.minutes);
  SetSpinValue(dialog, secondsId, t.seconds);
}

// A time spin changed: the floor of the clock mode (5 minutes a game only
// when the minutes changed, 30 seconds a move), written back into the spins
// when it applied; the set-up's time of that mode follows.
inline void OnTimeSpinChanged(HWND dialog, int minutesId, int secondsId, bool minutesChanged,
                              int32_t clockMode, int32_t* gameTimeMs, int32_t* moveTimeMs) {
  MinSec t{GetSpinValue(dialog, minutesId), GetSpinValue(dialog, secondsId)};
  MinSec floored = t;
  if (clockMode == 1 && minutesChanged) floored = ApplyGameTimeFloor(t);
  if (clockMode == 2) floored = ApplyMoveTimeFloor(t);
  if (floored.minutes != t.minutes) SetSpinValue(dialog, minutesId, floored.minutes);
  if (floored.seconds != t.seconds) SetSpinValue(dialog, secondsId, floored.seconds);
  if (clockMode == 1) *gameTimeMs = JoinTimeMs(floored);
  if (clockMode == 2) *moveTimeMs = JoinTimeMs(floored);
}

}  // namespace ui
