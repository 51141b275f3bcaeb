#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "shell/window/list_columns_win32.h"

namespace shell {

int ReadColumn(HWND list, UINT mask, ListColumn* table, int index) {
  if (!table || index < 0 || static_cast<size_t>(index) >= CountListColumns(table)) return 0;
  LVCOLUMNA col{};
  col.mask = mask;
  if (SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&col))) {
    if (mask & LVCF_WIDTH) table[index].width = col.cx;
    if (mask & LVCF_ORDER) table[index].order = col.iOrder;
  }
  return 1;
}

void ReadColumnLayout(HWND list, ListColumn* table) {
  size_t n = CountListColumns(table);
  for (size_t i = 0; i < n; ++i)
    ReadColumn(list, LVCF_WIDTH | LVCF_ORDER, table, static_cast<int>(i));
}

void FitListColumns(HWND list, ListColumn* table, int fixedCount) {
  if (!list) return;
  RECT client{};
  GetClientRect(list, &client);
  std::vector<int32_t> widths = FitListColumnWidths(table, fixedCount, client.right - client.left);
  for (size_t i = 0; i < widths.size(); ++i) {
    if (widths[i] < 0) continue;
    table[i].width = widths[i];
    LVCOLUMNA col{};
    col.mask = LVCF_WIDTH;
    col.cx = widths[i];
    SendMessageA(list, LVM_SETCOLUMNA, i, reinterpret_cast<LPARAM>(&col));
  }
  RedrawWindow(list, nullptr, nullptr, 0x183);
}

}  // namespace shell
