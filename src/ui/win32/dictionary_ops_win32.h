#pragma once
// The dictionary panel's (slot 7) shared operations on its controls: the
// search history of combo box 1489, the result list's columns and sort, and
// emptying the panel.
#include <windows.h>

#include "shell/list_columns.h"

namespace ui {

enum : int {
  kIdDictionarySearch = 1489,
  kIdDictionaryAffixes = 1484,
  kIdDictionaryResults = 5794,
  kIdDictionaryStatus = 1548,
  kIdDictionaryDefinition = 1486,
};

// Into the slot-7 panel's search history; the entries kept (0 without it).
int AddDictionaryHistory(const char* word);
// The same on a given combo box.
int AddComboHistory(HWND combo, const char* word);
// Inserts the table's first `count` columns the list lacks and fits them
// to its width by their weights (`table` ends with a null caption).
void SetupDictionaryColumns(HWND list, int count, shell::ListColumn* table);
// LVM_SORTITEMS callback: lParam1 and lParam2 point at the rows' word slots.
int CALLBACK CompareDictionaryItems(LPARAM a, LPARAM b, LPARAM key);
// Empties both result lists, sets the three columns up again and clears
// the status line and the definitions.
void ClearDictionaryPanel();

}  // namespace ui
