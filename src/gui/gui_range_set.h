#pragma once
// GuiRangeSet: an ordered set of row indices held as disjoint ranges in a
// GuiList. Ranges stay ascending and never overlap or touch, so a long run of
// selected rows costs one node. Every operation accepts a null set (nothing
// happens; 0 is answered).
#include <cstdint>

#include "gui/gui_list.h"

namespace gui {

struct GuiRange {
  int32_t last;
  int32_t first;
};

GuiList* GuiRangeSetCreate();
void GuiRangeSetDestroy(GuiList* set);

int GuiRangeSetContains(const GuiList* set, int32_t v);
// 1 with the smallest member >= v in *out, else 0.
int GuiRangeSetNextFrom(const GuiList* set, int32_t v, int32_t* out);
int32_t GuiRangeSetCount(const GuiList* set);
// The mutators answer 0, or 1 when memory ran out (the set is then as it
// was, except that a removal stopped at a failed split).
int GuiRangeSetSet(GuiList* set, int32_t v, int member);
int GuiRangeSetAddRange(GuiList* set, int32_t first, int32_t last);
int GuiRangeSetRemoveRange(GuiList* set, int32_t first, int32_t last);
// Every range end >= at moves by delta.
void GuiRangeSetShift(GuiList* set, int32_t at, int32_t delta);
// A row was inserted at `at`: members >= at move up, then at takes `member`.
int GuiRangeSetInsertAt(GuiList* set, int32_t at, int member);
// Row `at` was deleted: it leaves the set and members above move down.
int GuiRangeSetDeleteAt(GuiList* set, int32_t at);

}  // namespace gui
