#pragma once
// What the profile dialogs share: their sounds and notices, check and radio
// buttons, control texts, the self-assessed level buttons and centring on
// the main window.
#include <windows.h>

#include <cstdint>
#include <string>

namespace shell {

void PlayProfileSound(const char* name);
// A text of the string table (its "%s" replaced by `arg` when given) shown
// with the program's caption; the button pressed.
int ProfileNotice(uint32_t textId, uint32_t flags, const char* arg = nullptr);
constexpr uint32_t kProfileWarning = 0x30;   // OK, exclamation icon
constexpr uint32_t kProfileQuestion = 0x24;  // Yes and No, question icon

bool IsButtonChecked(HWND dialog, int id);
void CheckButton(HWND dialog, int id, bool on);
// A control's text, at most `limit` characters.
std::string ControlText(HWND dialog, int id, int limit);

// The level buttons, lowest level first.
constexpr int kLevelButtonIds[] = {1351, 1352, 1353, 1355};
constexpr int kLevelButtonCount = 4;
// The level (0..3) of a level button, or -1.
int LevelOfButton(int id);
// The level of the ticked level button; 0 when none is.
uint32_t CheckedLevel(HWND dialog);
// Ticks the button of `level` (0..3) and no other.
void CheckLevel(HWND dialog, uint32_t level);

// Centres the dialog on the program's main window, or on its owner.
void CentreProfileDialog(HWND dialog);

// The window procedure of a profile dialog: WM_INITDIALOG hands the state
// passed at creation to `Init`, WM_COMMAND goes to `Command`.
template <typename State, void (*Init)(HWND, State*), void (*Command)(HWND, int, int)>
INT_PTR CALLBACK ProfileDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      Init(dialog, reinterpret_cast<State*>(lParam));
      return TRUE;
    case WM_COMMAND:
      Command(dialog, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    default:
      return FALSE;
  }
}

// The age field of the profile dialogs (a CGUISpinEdit).
int GetAge(HWND dialog);
void SetAge(HWND dialog, int age);

}  // namespace shell
