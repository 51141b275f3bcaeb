#pragma once
// Column tables of list views (shell/list_columns.h) against the control:
// reading widths and order back, and fitting the columns by weight.
#include <windows.h>

#include "shell/list_columns.h"

namespace shell {

// 1, or 0 when index is past the table's end.
int ReadColumn(HWND list, UINT mask, ListColumn* table, int index);
// Every column's width and order (mask 0x22).
void ReadColumnLayout(HWND list, ListColumn* table);
void FitListColumns(HWND list, ListColumn* table, int fixedCount);

}  // namespace shell
