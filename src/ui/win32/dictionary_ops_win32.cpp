#include "ui/win32/dictionary_ops_win32.h"

#include <commctrl.h>

#include "engine/wordlist.h"
#include "shell/window/list_columns_win32.h"
#include "ui/dictionary_ops.h"
#include "ui/window_slots.h"

namespace ui {
namespace {

class ComboWords : public RecentWordList {
 public:
  explicit ComboWords(HWND combo) : combo_(combo) {}
  int Find(const char* word) override {
    const LRESULT i = SendMessageA(combo_, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(word));
    return i == CB_ERR ? -1 : static_cast<int>(i);
  }
  void InsertTop(const char* word) override {
    SendMessageA(combo_, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(word));
  }
  int Count() override {
    const LRESULT n = SendMessageA(combo_, CB_GETCOUNT, 0, 0);
    return n == CB_ERR ? 0 : static_cast<int>(n);
  }
  void Delete(int index) override { SendMessageA(combo_, CB_DELETESTRING, index, 0); }

 private:
  HWND combo_;
};

// The result list's columns: the word's length, the word, its hooks.
shell::ListColumn g_resultColumns[] = {
    {"Length", LVCFMT_CENTER, 0, {}, 60, 0},
    {"Word", LVCFMT_LEFT, 1, {}, 100, 1},
    {"Nb. Hooks", LVCFMT_CENTER, 2, {}, 75, 2},
    {nullptr, 0, 0, {}, 0, 0},
};

HWND Panel() { return static_cast<HWND>(GetSlotWindow(kSlotDictionary)); }

}  // namespace

int AddComboHistory(HWND combo, const char* word) {
  if (!combo) return 0;
  ComboWords list(combo);
  return AddRecentWord(list, word);
}

int AddDictionaryHistory(const char* word) {
  HWND panel = Panel();
  return panel ? AddComboHistory(GetDlgItem(panel, kIdDictionarySearch), word) : 0;
}

void SetupDictionaryColumns(HWND list, int count, shell::ListColumn* table) {
  if (!list || !table) return;
  HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  int have = header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  // Set up again on every clearing: the columns already there stay.
  for (int i = have < 0 ? 0 : have; i < count && table[i].caption; ++i) {
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
    col.fmt = table[i].format;
    col.cx = table[i].width;
    col.iSubItem = table[i].subItem;
    col.pszText = const_cast<char*>(table[i].caption);
    SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&col));
  }
  shell::FitListColumns(list, table, 0);
}

int CALLBACK CompareDictionaryItems(LPARAM a, LPARAM b, LPARAM key) {
  return ui::CompareDictionaryItems(reinterpret_cast<const WordSlot*>(a),
                                    reinterpret_cast<const WordSlot*>(b), static_cast<int>(key));
}

void ClearDictionaryPanel() {
  HWND panel = Panel();
  if (!panel) return;
  SendDlgItemMessageA(panel, kIdDictionaryAffixes, LB_RESETCONTENT, 0, 0);
  HWND results = GetDlgItem(panel, kIdDictionaryResults);
  if (results) {
    SendMessageA(results, LVM_DELETEALLITEMS, 0, 0);
    SetupDictionaryColumns(results, 3, g_resultColumns);
  }
  SetDlgItemTextA(panel, kIdDictionaryStatus, "");
  SetDlgItemTextA(panel, kIdDictionaryDefinition, "");
}

}  // namespace ui
