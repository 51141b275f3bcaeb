#pragma once
// Result tables in list views describe their columns by a static table;
// this is the arithmetic that fits the columns to the control's width by
// weight. The window side reads the widths and order back and sets them.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace shell {

// One record of a column table; the table ends with a record whose caption
// is null. Only caption, width and order are used here; the rest belongs
// to the screen that owns the table.
struct ListColumn {
  const char* caption;
  int32_t format;
  int32_t subItem;
  int32_t reserved[15];
  int32_t width;  // pixels
  int32_t order;  // display position
};

size_t CountListColumns(const ListColumn* table);

// The new widths of a table fitted to clientWidth, index by index; -1 for a
// column that keeps its width. With c columns and c == fixedCount the
// columns of order 0..c-2 are fitted (the last keeps its width); otherwise
// those of order fixedCount and above. Each fitted column gets its share of
// the width left by the kept ones, rounded to nearest, at least 10 pixels.
std::vector<int32_t> FitListColumnWidths(const ListColumn* table, int fixedCount,
                                         int32_t clientWidth);

// Clears a 16-byte block.
void ZeroFourWords(void* block);

}  // namespace shell
