#pragma once
// Filling the two-column report lists of the panels and result windows: a
// column, and a row whose label is the item and whose value is sub-item 1.
#include <windows.h>

#include <commctrl.h>

#include <string>

namespace ui {

inline void AddListColumn(HWND list, int index, const char* text, int width, int format) {
  LVCOLUMNA c{};
  c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  c.fmt = format;
  c.cx = width;
  c.pszText = const_cast<char*>(text);  // the list copies the text
  SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&c));
}

// Appends the row and answers its index.
inline int AddListRow(HWND list, const std::string& label, const std::string& value) {
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  item.pszText = const_cast<char*>(label.c_str());
  const int row =
      static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  LVITEMA sub{};
  sub.iSubItem = 1;
  sub.pszText = const_cast<char*>(value.c_str());
  SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&sub));
  return row;
}

}  // namespace ui
