#include "ui/win32/move_list_win32.h"

#include <cstring>
#include <string>

#include "game/game.h"
#include "game/session_registry.h"
#include "game/turn_ports.h"
#include "game/ui_port.h"
#include "gui/gui_core.h"
#include "gui/gui_memory.h"
#include "gui/win32/gui_list_wnd.h"
#include "shell/res_strings.h"
#include "shell/shell_host.h"
#include "shell/window/win_utils.h"
#include "ui/history_steps.h"
#include "ui/move_choices.h"
#include "ui/player_statistics.h"
#include "ui/window_slots.h"
#include "ui/win32/window_slots_win32.h"

namespace ui {
namespace {

constexpr int kMoveListTemplate = 1603;
constexpr int kCommentTemplate = 3771;
constexpr UINT kStrHistory = 3083;
constexpr UINT kStrComments = 3006;

bool g_navigation = true;

HFONT PanelFont() {
  HFONT f = static_cast<HFONT>(gui::GuiGetFont(2));
  return f ? f : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HWND MoveListDialog() { return static_cast<HWND>(GetSlotWindow(kSlotMoveList)); }
HWND CommentDialog() { return static_cast<HWND>(GetSlotWindow(kSlotUserComments)); }

// The row counter lives in the list's user data.
LONG_PTR RowCounter(HWND list) { return GetWindowLongPtrA(list, GWLP_USERDATA); }
void SetRowCounter(HWND list, LONG_PTR n) { SetWindowLongPtrA(list, GWLP_USERDATA, n); }

void AppendRow(HWND list, const char* text) {
  if (!list || !text || !GetCurrentGame()) return;
  const LONG_PTR counter = RowCounter(list);
  SendMessageA(list, gui::kLbAddCapitals2, 0, reinterpret_cast<LPARAM>(text));
  InvalidateRect(list, nullptr, FALSE);
  if (SendMessageA(list, LB_SETCURSEL, counter, 0) != LB_ERR) SetRowCounter(list, counter + 1);
}

// Every move or resize of a panel is remembered as its placement in the room.
void StorePlacement(int slot, HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  SlotWindowPos pos{r.left, r.top, r.right - r.left, r.bottom - r.top, 0};
  WindowSlotOp(kOpStoreRect, slot, reinterpret_cast<intptr_t>(&pos));
}

void MoveToPlacement(int slot, HWND window, bool resize) {
  SlotRect r{};
  if (!WindowSlotOp(kOpGetRect, slot, reinterpret_cast<intptr_t>(&r)) || r.Empty()) return;
  SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE | (resize ? 0 : SWP_NOSIZE));
}

void ClosePanel(int slot) {
  WindowSlotOp(kOpShow, slot, kShowHide);
  if (RoomLayoutRecord* room = GetRoomLayoutRecord(GetCurrentLayoutIndex()))
    room->slots[slot].showInRoom = 0;
}

void SetMinMax(LPARAM lp, int minW, int minH, int maxW, int maxH) {
  auto* info = reinterpret_cast<MINMAXINFO*>(lp);
  info->ptMinTrackSize = {minW, minH};
  info->ptMaxTrackSize = {maxW, maxH};
}

// --- Move list ---

void SelectHistoryRow(HWND dialog) {
  CGame* game = GetCurrentGame();
  if (!game) return;
  SendDlgItemMessageA(dialog, kIdMoveList, LB_SETCURSEL, game->GetHistoryIndex() - 1, 0);
}

void LayOutMoveListPanel(HWND dialog) {
  RECT client, button{};
  GetClientRect(dialog, &client);
  HWND previous = GetDlgItem(dialog, kIdMovePrevious);
  HWND next = GetDlgItem(dialog, kIdMoveNext);
  GetWindowRect(previous, &button);
  const MoveListLayout l = LayOutMoveList(client.right, client.bottom, button.right - button.left,
                                          button.bottom - button.top);
  auto place = [](HWND w, const PanelRect& r) {
    SetWindowPos(w, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  };
  place(previous, l.previous);
  place(next, l.next);
  place(GetDlgItem(dialog, kIdMoveList), l.list);
}

void InitMoveList(HWND dialog) {
  WindowSlotOp(kOpRegister, kSlotMoveList, reinterpret_cast<intptr_t>(dialog));
  SetWindowLongPtrA(dialog, DWLP_USER, 0);
  WindowSlotOp(kOpShow, kSlotMoveList, kShowHide);
  MoveToPlacement(kSlotMoveList, dialog, false);
  SendDlgItemMessageA(dialog, kIdMoveList, WM_SETFONT, reinterpret_cast<WPARAM>(PanelFont()),
                      FALSE);
  SetWindowTextA(dialog, shell::LoadResString(kStrHistory));
  EnableWindow(GetDlgItem(dialog, kIdMoveNext), g_navigation);
  EnableWindow(GetDlgItem(dialog, kIdMovePrevious), g_navigation);
  LayOutMoveListPanel(dialog);
}

void OnGameChanged(HWND dialog, WPARAM what) {
  if (what == kGameChangedRebuild) {
    RebuildMoveList(dialog);
  } else if (what == kGameChangedMoveAdded) {
    CGame* game = GetCurrentGame();
    if (!game) return;
    const std::string text = FormatHistoryEntry(game, game->GetHistoryIndex());
    if (!text.empty()) AppendRow(GetDlgItem(dialog, kIdMoveList), text.c_str());
  }
}

void OnStep(HWND dialog, int id) {
  shell::GetShellHost().PlaySoundFile("SBouOK1.wav");
  GetBoardViewPort().EndTileDrag();
  CGame* game = GetCurrentGame();
  if (id == kIdMoveNext)
    ReplayMove(game);
  else
    TakeBackMove(game);
  SelectHistoryRow(dialog);
}

INT_PTR CALLBACK MoveListDlgProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      InitMoveList(dialog);
      return FALSE;
    case kMsgGameChanged:
      OnGameChanged(dialog, wp);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wp) == kIdMoveNext || LOWORD(wp) == kIdMovePrevious) {
        if (HIWORD(wp) == BN_CLICKED) OnStep(dialog, LOWORD(wp));
      } else if (LOWORD(wp) == kIdMoveList && HIWORD(wp) == LBN_SELCHANGE && g_navigation) {
        GetBoardViewPort().EndTileDrag();
        GoToSelectedMove(dialog);
      }
      return TRUE;
    case WM_SHOWWINDOW:
      if (wp) RebuildMoveList(dialog);
      return FALSE;
    case WM_ACTIVATEAPP:
      RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
      return FALSE;
    case kMsgPanelClose:
      ClosePanel(kSlotMoveList);
      return TRUE;
    case WM_WINDOWPOSCHANGED:
      StorePlacement(kSlotMoveList, dialog);
      LayOutMoveListPanel(dialog);
      return FALSE;
    case WM_GETMINMAXINFO:
      SetMinMax(lp, 150, 100, 600, 600);
      return TRUE;
    default:
      SlotWindowHook(kSlotMoveList, dialog, msg, wp, lp);
      return FALSE;
  }
}

// --- Comments ---

void FitCommentEdit(HWND dialog) {
  RECT client;
  GetClientRect(dialog, &client);
  SetWindowPos(GetDlgItem(dialog, kIdCommentEdit), nullptr, 2, 2, client.right - 4,
               client.bottom - 4, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK CommentDlgProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      WindowSlotOp(kOpRegister, kSlotUserComments, reinterpret_cast<intptr_t>(dialog));
      WindowSlotOp(kOpShow, kSlotUserComments, kShowHide);
      MoveToPlacement(kSlotUserComments, dialog, true);
      SetWindowTextA(dialog, shell::LoadResString(kStrComments));
      SendDlgItemMessageA(dialog, kIdCommentEdit, WM_SETFONT, reinterpret_cast<WPARAM>(PanelFont()),
                          FALSE);
      FitCommentEdit(dialog);
      return FALSE;
    case WM_WINDOWPOSCHANGED:
      StorePlacement(kSlotUserComments, dialog);
      FitCommentEdit(dialog);
      return FALSE;
    case WM_GETMINMAXINFO:
      SetMinMax(lp, 150, 100, 300, 300);
      return TRUE;
    case kMsgSlotQuery:
      SlotWindowHook(kSlotUserComments, dialog, msg, wp, lp);
      if (lp == 0) {
        if (wp) {
          SetFocus(nullptr);
        } else {
          HWND edit = GetDlgItem(dialog, kIdCommentEdit);
          SetFocus(edit);
          SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
        }
      }
      return FALSE;
    case kMsgPanelClose:
      ClosePanel(kSlotUserComments);
      return TRUE;
    default:
      SlotWindowHook(kSlotUserComments, dialog, msg, wp, lp);
      return FALSE;
  }
}

int CreatePanel(HWND parent, HINSTANCE instance, int templateId, DLGPROC proc) {
  if (!parent || !instance) return -1;
  if (!CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), parent, proc, 0))
    GetLastError();  // a panel that cannot be made is simply missing
  return 0;
}

}  // namespace

int CreateMoveListWindow(HWND parent, HINSTANCE instance) {
  return CreatePanel(parent, instance, kMoveListTemplate, MoveListDlgProc);
}

int SelectMoveListRow(HWND dialog, int moveNumber) {
  if (!dialog) return -1;
  return SendDlgItemMessageA(dialog, kIdMoveList, LB_SETCURSEL, moveNumber - 1, 0) == LB_ERR ? -1
                                                                                             : 0;
}

void AddMoveListRow(const char* text) {
  if (HWND dialog = MoveListDialog()) AppendRow(GetDlgItem(dialog, kIdMoveList), text);
}

void RebuildMoveList(HWND dialog) {
  CGame* game = GetCurrentGame();
  HWND list = dialog ? GetDlgItem(dialog, kIdMoveList) : nullptr;
  if (!game || !list) return;
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  SetRowCounter(list, 0);
  // The entries are read in place, so the game's cursor never moves.
  const int32_t index = game->GetHistoryIndex();
  for (int32_t n = 1;; ++n) {
    const std::string text = FormatHistoryEntry(game, n);
    if (text.empty()) break;
    AppendRow(list, text.c_str());
  }
  SetRowCounter(list, SendMessageA(list, LB_GETCOUNT, 0, 0));
  SendMessageA(list, LB_SETCURSEL, index - 1, 0);
  shell::ScrollListBoxToItem(list, index - 1);
}

void GoToSelectedMove(HWND dialog) {
  CGame* game = GetCurrentGame();
  if (!game || !dialog) return;
  const LRESULT s = SendDlgItemMessageA(dialog, kIdMoveList, LB_GETCURSEL, 0, 0);
  if (s == LB_ERR) return;
  GoToMove(game, static_cast<int32_t>(s) + 1);
}

void EnableMoveListNavigation(bool enable) {
  g_navigation = enable;
  if (HWND dialog = MoveListDialog()) {
    EnableWindow(GetDlgItem(dialog, kIdMoveNext), enable);
    EnableWindow(GetDlgItem(dialog, kIdMovePrevious), enable);
  }
}

bool IsMoveListNavigationEnabled() { return g_navigation; }

int CreateCommentWindow(HWND parent, HINSTANCE instance) {
  return CreatePanel(parent, instance, kCommentTemplate, CommentDlgProc);
}

void DestroyCommentWindow() {
  if (CommentDialog()) DestroySlotWindow(kSlotUserComments);
}

char* GetCommentText() {
  HWND dialog = CommentDialog();
  if (!dialog) return nullptr;
  HWND edit = GetDlgItem(dialog, kIdCommentEdit);
  const int length = GetWindowTextLengthA(edit);
  if (length <= 0) return nullptr;
  auto* text = static_cast<char*>(gui::GlobalAllocPtr(static_cast<size_t>(length) + 1));
  if (text) GetWindowTextA(edit, text, length + 1);
  return text;
}

void SetCommentText(const char* text) {
  if (HWND dialog = CommentDialog()) SetDlgItemTextA(dialog, kIdCommentEdit, text ? text : "");
}

void ClearCommentEdit() { SetCommentText(""); }

}  // namespace ui
