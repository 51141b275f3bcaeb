#include "ui/win32/results_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/session_registry.h"
#include "gui/gui_core.h"
#include "shell/res_strings.h"
#include "shell/settings.h"
#include "shell/shell_host.h"
#include "ui/game_results.h"
#include "ui/player_statistics.h"
#include "ui/window_slots.h"
#include "ui/win32/list_view_rows.h"
#include "ui/win32/window_slots_win32.h"

namespace ui {
namespace {

constexpr int kStripTemplate = 1617;
constexpr int kResultsTemplate = 16028;
constexpr int kStatisticsTemplate = 16030;
constexpr int kTournamentRoom = 2;

HINSTANCE Module() { return GetModuleHandleA(nullptr); }

void CenterOn(HWND window, HWND owner) {
  RECT o{}, w{};
  if (owner)
    GetWindowRect(owner, &o);
  else
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &o, 0);
  GetWindowRect(window, &w);
  const int x = o.left + ((o.right - o.left) - (w.right - w.left)) / 2;
  const int y = o.top + ((o.bottom - o.top) - (w.bottom - w.top)) / 2;
  SetWindowPos(window, nullptr, std::max(0, x), std::max(0, y), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND BoardOr(HWND owner) { return owner ? owner : static_cast<HWND>(GetSlotWindow(kSlotBoard)); }

HFONT DialogFont() {
  HFONT f = static_cast<HFONT>(gui::GuiGetFont(2));
  return f ? f : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// --- The game info strip ---

GameInfoFacts StripFacts(const CGame& game) {
  GameInfoFacts f;
  f.kind = game.Kind();
  f.turn = game.roundCount;
  f.turnCount = -1;
  f.solutionsLeft = static_cast<int32_t>(game.anagramSolutions.size());
  f.ranked = game.setup.rankingGame != 0;
  f.tournamentRoom = shell::GetShellHost().GetCurrentRoomId() == kTournamentRoom;
  return f;
}

void PaintStrip(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  CGame* game = GetCurrentGame();
  if (game) {
    const GameInfoTexts t = MakeGameInfoTexts(StripFacts(*game));
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, DialogFont());
    RECT rc;
    GetClientRect(window, &rc);
    auto line = [&](const std::string& text, int y, COLORREF colour, UINT align) {
      SetTextColor(dc, colour);
      RECT r{rc.left, y - 24, rc.right, y};
      DrawTextA(dc, text.c_str(), -1, &r, align | DT_SINGLELINE | DT_NOPREFIX);
    };
    line(t.heading, rc.top + 28, RGB(1, 128, 1), DT_CENTER | DT_TOP);
    if (!t.line.empty()) line(t.line, rc.bottom - 24, RGB(5, 5, 5), DT_CENTER | DT_BOTTOM);
    line(t.title, rc.bottom - 4, RGB(5, 5, 5), DT_CENTER | DT_BOTTOM);
    SelectObject(dc, old);
  }
  EndPaint(window, &ps);
}

INT_PTR CALLBACK GameInfoDlgProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      WindowSlotOp(kOpRegister, kSlotGameInfo, reinterpret_cast<intptr_t>(window));
      WindowSlotOp(kOpShow, kSlotGameInfo, GetSlotShowCommand(kSlotGameInfo));
      StoreSlotWindowSize(kSlotGameInfo);
      return FALSE;
    case WM_PAINT:
      PaintStrip(window);
      return TRUE;
    case WM_ACTIVATEAPP:
      RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
      return FALSE;
    default:
      SlotWindowHook(kSlotGameInfo, window, msg, wp, lp);
      return FALSE;
  }
}

// --- "Results" ---

struct ResultsState {
  std::vector<const GamePlayer*> players;  // ranked
  int kind = 0;
  int selected = -1;
};

bool IsHuman(const GamePlayer* p) { return p && p->Type() == 0; }

void EnableStats(HWND dialog, const ResultsState& s) {
  const bool side = s.kind == 2 || s.kind == 3;
  const bool human = s.selected >= 0 && s.selected < static_cast<int>(s.players.size()) &&
                     IsHuman(s.players[s.selected]);
  EnableWindow(GetDlgItem(dialog, kIdStats), human && !side);
}

void InitResults(HWND dialog, ResultsState* s) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(s));
  SendMessageA(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);
  CenterOn(dialog, GetParent(dialog));
  HWND list = GetDlgItem(dialog, kIdRanking);
  AddListColumn(list, 0, shell::LoadResString(2259), 186, LVCFMT_LEFT);
  AddListColumn(list, 1, shell::LoadResString(2264), 136, LVCFMT_CENTER);
  std::vector<RankedPlayer> ranked;
  int firstHuman = -1;
  for (const GamePlayer* p : s->players) {
    const std::string name = p->entry.name;
    const int row = AddListRow(list, name, std::to_string(p->score));
    if (firstHuman < 0 && IsHuman(p)) firstHuman = row;
    ranked.push_back(RankedPlayer{name, p->score, IsHuman(p)});
  }
  if (firstHuman >= 0) {
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, firstHuman, reinterpret_cast<LPARAM>(&state));
    s->selected = firstHuman;
  }
  CGame* game = s->players.empty() ? nullptr : s->players.front()->Game();
  const int32_t top = game && game->referencePlayer ? game->referencePlayer->score : 0;
  SetDlgItemTextA(dialog, kIdRemark, MakeEndOfGameRemark(s->kind, ranked, top).text.c_str());
  EnableStats(dialog, *s);
}

INT_PTR CALLBACK FinalResultsDlgProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  auto* s = reinterpret_cast<ResultsState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG:
      InitResults(dialog, reinterpret_cast<ResultsState*>(lp));
      return FALSE;
    case WM_NOTIFY: {
      const auto* nm = reinterpret_cast<const NMLISTVIEW*>(lp);
      if (s && nm->hdr.idFrom == kIdRanking && nm->hdr.code == LVN_ITEMCHANGED &&
          (nm->uNewState & LVIS_SELECTED)) {
        s->selected = nm->iItem;
        EnableStats(dialog, *s);
      }
      return FALSE;
    }
    case WM_COMMAND:
      if (LOWORD(wp) == kIdResultsOk) EndDialog(dialog, 0);
      if (LOWORD(wp) == kIdStats && s && s->selected >= 0 &&
          s->selected < static_cast<int>(s->players.size()))
        ShowPlayerStatistics(s->players[s->selected], dialog);
      return TRUE;
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_CLOSE || (wp & 0xFFF0) == SC_DEFAULT) EndDialog(dialog, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

// --- Statistics ---

struct StatisticsState {
  const GamePlayer* player;
};

INT_PTR CALLBACK StatisticsDlgProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG: {
      const auto* s = reinterpret_cast<const StatisticsState*>(lp);
      SendMessageA(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);
      CenterOn(dialog, GetParent(dialog));
      HWND list = GetDlgItem(dialog, kIdStatsList);
      AddListColumn(list, 0, shell::LoadResString(4200), 187, LVCFMT_LEFT);
      AddListColumn(list, 1, s->player->entry.name, 103, LVCFMT_CENTER);
      CGame* game = s->player->Game();
      const int kind = game ? game->Kind() : 0;
      const GamePlayer* reference = game ? game->referencePlayer.get() : nullptr;
      for (const StatisticsRow& row : PlayerStatisticsRows(*s->player, kind, reference))
        AddListRow(list, row.label, row.value);
      return FALSE;
    }
    case WM_COMMAND:
      if (LOWORD(wp) == kIdStatsOk || LOWORD(wp) == IDCANCEL) EndDialog(dialog, 0);
      return TRUE;
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_CLOSE) EndDialog(dialog, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

int CreateGameInfoStrip(HWND owner, HINSTANCE instance) {
  if (!owner || !instance) return -1;
  CreateDialogParamA(instance, MAKEINTRESOURCEA(kStripTemplate), owner, GameInfoDlgProc, 0);
  return 0;
}

void RedrawGameInfoStrip() {
  if (HWND strip = static_cast<HWND>(GetSlotWindow(kSlotGameInfo)))
    RedrawWindow(strip, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}

INT_PTR ShowFinalRanking(CGame* game, HWND owner) {
  if (!game) return 0;
  ResultsState s;
  s.kind = game->Kind();
  for (int i = 0; i < game->PlayerCount() && i < kMaxPlayers; ++i)
    if (game->players[i]) s.players.push_back(game->players[i].get());
  std::stable_sort(s.players.begin(), s.players.end(),
                   [](const GamePlayer* a, const GamePlayer* b) { return a->score > b->score; });
  return DialogBoxParamA(Module(), MAKEINTRESOURCEA(kResultsTemplate), BoardOr(owner),
                         FinalResultsDlgProc, reinterpret_cast<LPARAM>(&s));
}

INT_PTR ShowPlayerStatistics(const GamePlayer* player, HWND owner) {
  if (!player) return 0;
  StatisticsState s{player};
  return DialogBoxParamA(Module(), MAKEINTRESOURCEA(kStatisticsTemplate), BoardOr(owner),
                         StatisticsDlgProc, reinterpret_cast<LPARAM>(&s));
}

}  // namespace ui
