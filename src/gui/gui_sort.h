#pragma once
// GuiSort: an in-place, unstable quicksort of a caller's array through
// compare and swap callbacks; it allocates nothing (an explicit stack of 30
// pending partitions, the smaller side handled first).
#include <cstddef>

namespace gui {

using GuiSortCompare = int (*)(const void* a, const void* b, void* context);
using GuiSortSwap = void (*)(void* a, void* b, void* context);

// Nothing happens for fewer than two elements or width 0.
void GuiSort(void* base, size_t count, size_t width, GuiSortCompare compare, GuiSortSwap swap,
             void* context);

}  // namespace gui
