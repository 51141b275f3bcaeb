#pragma once
// The picture spinner's items: named pictures in an array that grows 32 at
// a time, the current item, the moves of the scroll codes (lines wrap,
// pages stop at the ends), the letter search, the sort by name and the
// look-up by name. The window side (win32/gui_spinlist.cpp) draws the
// pictures and runs the transitions.
#include <cstdint>

#include "gui/utils.h"

namespace gui {

// How a picture is owned.
enum SpinPictureKind : int32_t { kSpinPictureOwned = 1, kSpinPictureFromName = 3 };

struct SpinListItem {
  char name[64];  // zero-terminated
  PackedDIB* picture;
  int32_t kind;
};

// Where a scroll code leads: the new index, and whether the change runs a
// transition (lines and pages) or is shown at once (top and bottom).
struct SpinMove {
  int32_t index;  // -1: no change
  bool transition;
};

class SpinListModel {
 public:
  SpinListModel();
  ~SpinListModel();
  SpinListModel(const SpinListModel&) = delete;
  SpinListModel& operator=(const SpinListModel&) = delete;

  bool valid() const { return items_ != nullptr; }
  int32_t count() const { return count_; }
  int32_t current() const { return current_; }
  // The item, or null outside 0..count-1.
  SpinListItem* Item(int32_t index) const;

  // Copies the item (its name cut to 63 characters); the new count, or -1
  // when memory runs out (the list stays as it was).
  int32_t Add(const SpinListItem& item);
  // Frees the records; `freePicture` is called for each owned picture first.
  // False when a fresh array cannot be made (the list is then empty).
  bool Clear(void (*freePicture)(SpinListItem* item) = nullptr);
  bool SetCurrent(int32_t index);

  // SB_ codes of WM_VSCROLL.
  SpinMove Move(int code) const;
  // The item a typed letter selects, or -1.
  int32_t FindLetter(char letter) const;
  // The first item of that name, letters compared without case; -1 for
  // none or an empty name.
  int32_t FindName(const char* name) const;
  // Sorts by name (descending: 1); returns whether it sorted. lParam 7
  // keeps the current index, 6 makes item 0 current, anything else follows
  // the current item's name.
  bool Sort(int descending, intptr_t lParam);

 private:
  SpinListItem** items_;
  int32_t count_ = 0;
  int32_t capacity_;
  int32_t current_ = -1;
};

}  // namespace gui
