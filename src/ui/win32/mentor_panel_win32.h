#pragma once
// The mentor panel (slot 8): every possible word for the human's rack, the
// mentor's advice, a suggested move laid on the board, and the note of the
// word placed.
#include <windows.h>

namespace ui {

// -1 without an owner or instance, else 0.
int CreateMentorWindow(HWND owner, HINSTANCE instance);
// Empties the lists; the next search asks the engine again.
void ClearMentorLists();

enum : int {
  kIdMentorWords = 1475,
  kIdMentorAdvice = 983,
  kIdMentorThird = 985,
  kIdMentorSearch = 1512,
  kIdMentorTips = 1076,
  kIdMentorNote = 1504,
  kIdMentorKeep = 1511,
  kIdMentorSearchAll = 1488,
  kIdNoteList = 5908,
  kIdNoteWord = 5909,
};
// Posted to the mentor when the position changed: its lists are stale.
constexpr UINT kMsgMentorReset = 0x8118;
constexpr UINT_PTR kTimerMentorWords = 48879;
constexpr UINT_PTR kTimerMentorAdvice = 47806;

}  // namespace ui
