#include "ui/win32/round_results_dialog.h"

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "shell/shell_host.h"
#include "shell/window/dialog_support.h"
#include "shell/window/win_utils.h"
#include "ui/round_results.h"
#include "ui/window_slots.h"

namespace ui {
namespace {

constexpr int kRoundResultsTemplate = 16032;
constexpr int kNetworkGameRoom = 14;
constexpr UINT_PTR kCloseTimer = 1;
constexpr UINT kCloseAfterMs = 10000;

struct Column {
  const char* title;
  int width;
};
constexpr Column kColumns[] = {
    {"Player", 90}, {"Word", 92}, {"Position", 80}, {"% Mentor", 95}, {"Score", 73}};

void AddRow(HWND list, const RoundResultRow& row) {
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  item.pszText = const_cast<char*>(row.name.c_str());
  const int index =
      static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  const std::string* cells[] = {&row.word, &row.position, &row.percent, &row.score};
  for (int c = 0; c < 4; ++c) {
    LVITEMA sub{};
    sub.iSubItem = c + 1;
    sub.pszText = const_cast<char*>(cells[c]->c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&sub));
  }
}

void OnInit(HWND dialog, const CGame* game) {
  SetWindowTextA(dialog, RoundResultsCaption(*game).c_str());
  HWND list = GetDlgItem(dialog, kIdRoundResultsList);
  for (int c = 0; c < 5; ++c) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = kColumns[c].width;
    column.pszText = const_cast<char*>(kColumns[c].title);
    SendMessageA(list, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
  }
  for (const RoundResultRow& row : MakeRoundResultRows(*game))
    AddRow(list, row);
  shell::CenterWindow(dialog, static_cast<HWND>(GetSlotWindow(kSlotMainFrame)));
  if (shell::GetShellHost().GetCurrentRoomId() == kNetworkGameRoom)
    SetTimer(dialog, kCloseTimer, kCloseAfterMs, nullptr);
}

INT_PTR CALLBACK ResultsDlgProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      OnInit(dialog, reinterpret_cast<const CGame*>(lp));
      return TRUE;
    case WM_TIMER:
      if (wp != kCloseTimer) return FALSE;
      KillTimer(dialog, kCloseTimer);
      EndDialog(dialog, 0);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wp) == kIdRoundResultsOk || LOWORD(wp) == IDCANCEL || LOWORD(wp) == IDOK) {
        KillTimer(dialog, kCloseTimer);
        EndDialog(dialog, 0);
      }
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR ShowRoundResults(CGame* game, HWND owner) {
  if (!game) return 0;
  if (!owner) owner = static_cast<HWND>(GetSlotWindow(kSlotBoard));
  return shell::DoModalDialog(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kRoundResultsTemplate),
                              owner, ResultsDlgProc, reinterpret_cast<LPARAM>(game));
}

}  // namespace ui
