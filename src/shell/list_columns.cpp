#include "shell/list_columns.h"

#include <cstring>

namespace shell {

size_t CountListColumns(const ListColumn* table) {
  size_t n = 0;
  if (table)
    while (table[n].caption)
      ++n;
  return n;
}

std::vector<int32_t> FitListColumnWidths(const ListColumn* table, int fixedCount,
                                         int32_t clientWidth) {
  const size_t c = CountListColumns(table);
  std::vector<int32_t> out(c, -1);
  // The fitted range of display positions, [low, high].
  int64_t low, high;
  if (c >= 1 && static_cast<size_t>(fixedCount) == c) {
    low = 0;
    high = static_cast<int64_t>(c) - 2;
  } else {
    low = fixedCount;
    high = INT64_MAX;
  }
  auto inRange = [&](const ListColumn& col) { return col.order >= low && col.order <= high; };
  // 64-bit sums: widths come from the control and a table may be long.
  int64_t w = clientWidth, s = 0;
  for (size_t i = 0; i < c; ++i) {
    if (inRange(table[i]))
      s += table[i].width;
    else
      w -= table[i].width;
  }
  for (size_t i = 0; i < c; ++i) {
    if (!inRange(table[i])) continue;
    int64_t width = s != 0 ? (s / 2 + static_cast<int64_t>(table[i].width) * w) / s : 10;
    if (width < 10) width = 10;
    s -= table[i].width;
    w -= width;
    out[i] = static_cast<int32_t>(width > INT32_MAX ? INT32_MAX : width);
  }
  return out;
}

void ZeroFourWords(void* block) {
  if (block) std::memset(block, 0, 16);
}

}  // namespace shell
