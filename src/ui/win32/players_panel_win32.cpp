#include "ui/win32/players_panel_win32.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

#include "game/game.h"
#include "game/move_text.h"
#include "game/session_registry.h"
#include "gui/gui_core.h"
#include "gui/gui_skin.h"
#include "gui/list_view_skin.h"
#include "gui/win32/gui_widgets1.h"
#include "gui/win32/gui_win32.h"
#include "shell/res_strings.h"
#include "shell/shell_host.h"
#include "ui/players_panel_model.h"
#include "ui/window_slots.h"
#include "ui/win32/window_slots_win32.h"

namespace ui {
namespace {

constexpr int kPanelTemplate = 16031;
constexpr const char* kRowClass = "ScrollPlayerClass";
constexpr UINT_PTR kClockTimer = 1;
constexpr UINT kClockMs = 250;

struct PanelState {
  HWND panel = nullptr;
  HWND rows[kPlayerRowCount] = {};
  int firstRow = 0;
  HPEN framePen = nullptr;
  HBRUSH hollow = nullptr;
  RECT client{};
};
PanelState g_panel;

HFONT PanelFont() {
  HFONT f = static_cast<HFONT>(gui::GuiGetFont(2));
  return f ? f : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int PlayerCount() {
  CGame* game = GetCurrentGame();
  return game ? std::clamp(game->PlayerCount(), 0, static_cast<int>(kMaxPlayers)) : 0;
}

TurnFacts FactsOf(const CGame& game) {
  TurnFacts f;
  f.state = game.state;
  f.kind = game.Kind();
  f.roundCount = game.roundCount;
  f.historyIndex = game.GetHistoryIndex();
  f.firstPlayer = game.startPlayerIndex;
  f.currentPlayer = game.currentPlayer ? game.currentPlayer->playerIndex : -1;
  f.playerCount = game.PlayerCount();
  f.room = shell::GetShellHost().GetCurrentRoomId();
  return f;
}

void SetScrollPos(int pos) {
  if (HWND bar = GetDlgItem(g_panel.panel, kIdPlayersScroll))
    SendMessageA(bar, SBM_SETPOS, pos, TRUE);
}

// Sets the first row; true when it changed.
bool SetFirstRow(int row) {
  const int next = ClampFirstPlayerRow(row, PlayerCount());
  if (next == g_panel.firstRow) return false;
  g_panel.firstRow = next;
  SetScrollPos(next);
  RefreshPlayerPanels();
  return true;
}

// --- Rows ---

// The rows take the skin's list colours: its row background for the
// others, its focused-row tint for the player shown as "self", its ink for
// the text and its header shadow for the line between rows. A skin that
// has no list colours leaves the system's.
struct RowColours {
  COLORREF back, self, text, rule;
};

RowColours SkinRowColours() {
  RowColours c{GetSysColor(COLOR_BTNFACE), RGB(236, 242, 226), RGB(5, 5, 5),
               GetSysColor(COLOR_BTNSHADOW)};
  const gui::GuiSkin* skin = gui::GuiGetSkin();
  if (!skin) return c;
  const uint32_t* lv = skin->listViewColors;
  if (lv[gui::kLvBackground] != lv[gui::kLvText]) {
    c.back = lv[gui::kLvBackground];
    c.self = lv[gui::kLvFocusedBackground];
    c.text = lv[gui::kLvText];
    c.rule = lv[gui::kHeaderShadow];
  }
  return c;
}

int TextWidth(HDC dc, const std::string& text) {
  SIZE extent{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  return extent.cx;
}

HFONT SmallRowFont() {
  return CreateFontA(-10, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "DejaVu Sans");
}

// The status line stays inside the frame drawn around the player to move:
// a smaller font when it is too wide, and an ellipsis when even that is.
void DrawStatusLine(HDC dc, const std::string& status, const RECT& row) {
  constexpr int kInset = 5;  // the frame sits 2 pixels in; keep clear of it
  RECT area{row.left + kInset, 50, row.right - kInset, row.bottom - 3};
  HFONT small = nullptr;
  HGDIOBJ previous = nullptr;
  if (TextWidth(dc, status) > area.right - area.left) {
    small = SmallRowFont();
    previous = SelectObject(dc, small);
  }
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  DrawTextA(dc, status.c_str(), static_cast<int>(status.size()), &area,
            DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (small) {
    SelectObject(dc, previous);
    DeleteObject(small);
  }
}

void PaintRow(HWND row) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(row, &ps);
  CGame* game = GetCurrentGame();
  const int index = static_cast<int>(GetWindowLongPtrA(row, 0));
  GamePlayer* player = game && index >= 0 && index < PlayerCount() ? game->Player(index) : nullptr;
  RECT rc;
  GetClientRect(row, &rc);
  const RowColours colours = SkinRowColours();
  if (player) {
    const bool self = player == game->viewingPlayer;
    HBRUSH back = CreateSolidBrush(self ? colours.self : colours.back);
    FillRect(dc, &rc, back);
    DeleteObject(back);
    RECT rule{rc.left, rc.bottom - 1, rc.right, rc.bottom};
    HBRUSH ruleBrush = CreateSolidBrush(colours.rule);
    FillRect(dc, &rule, ruleBrush);
    DeleteObject(ruleBrush);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, PanelFont());
    const int width = rc.right - rc.left;
    SetTextColor(dc, colours.text);
    SetTextAlign(dc, TA_CENTER | TA_TOP);
    const std::string score = std::to_string(player->score);
    TextOutA(dc, width / 2, 20, score.c_str(), static_cast<int>(score.size()));
    // The name, smaller when it would not fit the row.
    const char* name = player->entry.name;
    HFONT small = nullptr;
    if (TextWidth(dc, name) > width - 4) {
      small = SmallRowFont();
      SelectObject(dc, small);
    }
    SetTextAlign(dc, TA_CENTER | TA_BOTTOM);
    TextOutA(dc, width / 2, 22, name, static_cast<int>(std::strlen(name)));
    SelectObject(dc, PanelFont());
    if (small) DeleteObject(small);
    std::string status;
    if (IsReviewRoom(shell::GetShellHost().GetCurrentRoomId()) && player->Type() == 1) {
      status = RobotLevelText(player->rating);
    } else if (player->lastAction == 3) {
      if (player->lastMoveRecord.word[0])
        FormatMoveText(player->lastMoveRecord, status, 0, game, kMoveTextAll);
      for (char& c : status)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    } else if (const uint32_t id = PlayerStatusStringId(player->lastAction)) {
      status = shell::LoadResString(id);
    }
    SetTextColor(dc, RGB(0x0A, 0x19, 0x32));
    DrawStatusLine(dc, status, rc);
    SelectObject(dc, oldFont);
    if (IsPlayerToMove(FactsOf(*game), index)) {
      HGDIOBJ oldPen = SelectObject(dc, g_panel.framePen);
      HGDIOBJ oldBrush = SelectObject(dc, g_panel.hollow);
      RoundRect(dc, rc.left + 2, rc.top + 2, rc.right - 2, rc.bottom - 2, 1, 1);
      SelectObject(dc, oldPen);
      SelectObject(dc, oldBrush);
    }
  } else {
    // A row with no player left would show whatever was under it.
    HBRUSH back = CreateSolidBrush(colours.back);
    FillRect(dc, &rc, back);
    DeleteObject(back);
  }
  EndPaint(row, &ps);
}

LRESULT CALLBACK RowProc(HWND row, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      SetWindowLongPtrA(
          row, GWLP_USERDATA,
          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
      return 0;
    case kMsgPlayerRowIndex:
      SetWindowLongPtrA(row, 0, lp);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      PaintRow(row);
      return 0;
    default:
      return DefWindowProcA(row, msg, wp, lp);
  }
}

void RegisterRowClass(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.style = CS_CLASSDC;
  wc.lpfnWndProc = RowProc;
  wc.cbWndExtra = 8;
  wc.hInstance = instance;
  wc.lpszClassName = kRowClass;
  RegisterClassA(&wc);
}

// --- The panel ---

void SetCentred(int id, const std::string& text) {
  HWND control = GetDlgItem(g_panel.panel, id);
  if (!control) return;
  SetWindowLongA(control, GWL_STYLE, GetWindowLongA(control, GWL_STYLE) | SS_CENTER);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(PanelFont()), FALSE);
  SetWindowTextA(control, text.c_str());
}

void TickClocks(CGame* game) {
  game->UpdateClocks();
  const TurnFacts facts = FactsOf(*game);
  const std::string turn = TurnNumberText(facts);
  const bool shown = !turn.empty();
  SetCentred(kIdTurnNumber, turn);
  SetCentred(kIdTotalTime, shown ? FormatTotalTime(game->gameElapsedMs) : "");
  std::string turnTime;
  if (shown) {
    const GamePlayer* toMove = game->currentPlayer;
    turnTime = FormatTurnTime(game->setup.clockMode, toMove ? toMove->timeLeftMs : 0);
  }
  SetCentred(kIdTurnTime, turnTime);
}

void InitPanel(HWND panel) {
  g_panel.panel = panel;
  g_panel.firstRow = 0;
  WindowSlotOp(kOpRegister, kSlotPlayers, reinterpret_cast<intptr_t>(panel));
  WindowSlotOp(kOpShow, kSlotPlayers, kShowHide);
  SendMessageA(panel, WM_SETFONT, reinterpret_cast<WPARAM>(PanelFont()), FALSE);
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(panel, GWLP_HINSTANCE));
  for (int i = 0; i < kPlayerRowCount; ++i)
    g_panel.rows[i] = CreateWindowExA(0, kRowClass, "", WS_CHILD | WS_VISIBLE, 0,
                                      kPlayerRowsTop + i * kPlayerRowHeight, kPlayerRowWidth,
                                      kPlayerRowHeight, panel, nullptr, instance,
                                      reinterpret_cast<void*>(static_cast<intptr_t>(i)));
  StoreSlotWindowSize(kSlotPlayers);
  GetClientRect(panel, &g_panel.client);
}

// The panel lies on the skin's label background (the felt its labels
// show), so the clocks and the rows' frame stand on one surface. It is
// drawn here, not through the class brush: the class is every skinned
// dialog's.
BOOL EraseBackground(HWND panel, HDC dc) {
  RECT rc;
  GetClientRect(panel, &rc);
  const gui::GuiSkin* skin = gui::GuiGetSkin();
  const gui::PackedDIB* tile = skin ? gui::GuiSkinImage(skin, skin->label.backgroundId) : nullptr;
  if (tile)
    gui::DIBTileRect(dc, tile, &rc);
  else
    FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
  return TRUE;
}

void PaintPanel(HWND panel) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(panel, &ps);
  RECT rc;
  GetClientRect(panel, &rc);
  HPEN pen = CreatePen(PS_SOLID, 4, RGB(5, 5, 5));
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, -1, kPlayerRowsTop - 1, nullptr);
  LineTo(dc, rc.right + 2, kPlayerRowsTop - 1);
  SelectObject(dc, old);
  DeleteObject(pen);
  EndPaint(panel, &ps);
}

void OnVScroll(WPARAM wp) {
  const int code = LOWORD(wp);
  if (code > kScrollThumbPosition) return;
  SetFirstRow(
      ScrollFirstPlayerRow(g_panel.firstRow, code, static_cast<short>(HIWORD(wp)), PlayerCount()));
}

void OnWindowPosChanged(HWND panel) {
  RECT r;
  GetWindowRect(panel, &r);
  int32_t w = 0, h = 0;
  GetSlotWindowSize(kSlotPlayers, &w, &h);
  SlotWindowPos pos{r.left, r.top, w, h, 0};
  WindowSlotOp(kOpGetRect2, kSlotPlayers, 0);
  WindowSlotOp(kOpStoreRect, kSlotPlayers, reinterpret_cast<intptr_t>(&pos));
}

void ClosePanel() {
  WindowSlotOp(kOpShow, kSlotPlayers, kShowHide);
  if (RoomLayoutRecord* room = GetRoomLayoutRecord(GetCurrentLayoutIndex()))
    room->slots[kSlotPlayers].showInRoom = 0;
}

INT_PTR CALLBACK PanelProc(HWND panel, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      InitPanel(panel);
      return FALSE;
    case WM_SHOWWINDOW:
      if (wp) LayoutPlayerPanel();
      return FALSE;
    case WM_WINDOWPOSCHANGED:
      OnWindowPosChanged(panel);
      return FALSE;
    case WM_PAINT:
      PaintPanel(panel);
      return TRUE;
    case WM_ERASEBKGND:
      SetWindowLongPtrA(panel, DWLP_MSGRESULT, 1);
      return EraseBackground(panel, reinterpret_cast<HDC>(wp));
    case WM_VSCROLL:
      if (reinterpret_cast<HWND>(lp) == GetDlgItem(panel, kIdPlayersScroll)) OnVScroll(wp);
      return TRUE;
    case WM_TIMER:
      if (wp == kClockTimer)
        if (CGame* game = GetCurrentGame()) TickClocks(game);
      return TRUE;
    case kMsgPlayersClose:
      ClosePanel();
      return TRUE;
    case kMsgPlayersSetFirst:
    case kMsgPlayersSetFirst2:
      SetFirstRow(static_cast<int>(wp));
      return TRUE;
    case WM_DESTROY:
      KillTimer(panel, kClockTimer);
      SlotWindowHook(kSlotPlayers, panel, msg, wp, lp);
      g_panel.panel = nullptr;
      return FALSE;
    default:
      SlotWindowHook(kSlotPlayers, panel, msg, wp, lp);
      return FALSE;
  }
}

}  // namespace

int CreatePlayersPanel(HWND owner, HINSTANCE instance) {
  if (!owner || !instance) return -1;
  RegisterRowClass(instance);
  if (!g_panel.framePen) g_panel.framePen = CreatePen(PS_SOLID, 5, 0x088F01);
  if (!g_panel.hollow) {
    LOGBRUSH lb{BS_NULL, 0, 0};
    g_panel.hollow = CreateBrushIndirect(&lb);
  }
  CreateDialogParamA(instance, MAKEINTRESOURCEA(kPanelTemplate), owner, PanelProc, 0);
  return 0;
}

int GetFirstPlayerRow() { return g_panel.firstRow; }

namespace {

// A row's window text is the name and score it shows ("" for no player),
// for tools that read windows rather than pixels.
std::string RowText(int index) {
  CGame* game = GetCurrentGame();
  const GamePlayer* player =
      game && index >= 0 && index < PlayerCount() ? game->Player(index) : nullptr;
  return player ? std::string(player->entry.name) + " " + std::to_string(player->score) : "";
}

}  // namespace

void RefreshPlayerPanels() {
  for (int i = 0; i < kPlayerRowCount; ++i) {
    if (!g_panel.rows[i]) continue;
    SendMessageA(g_panel.rows[i], kMsgPlayerRowIndex, 0, g_panel.firstRow + i);
    SetWindowTextA(g_panel.rows[i], RowText(g_panel.firstRow + i).c_str());
    RedrawWindow(g_panel.rows[i], nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ERASENOW);
  }
}

void LayoutPlayerPanel() {
  HWND panel = g_panel.panel;
  if (!panel || !GetCurrentGame()) return;
  const int count = PlayerCount();
  g_panel.firstRow = 0;
  HWND bar = GetDlgItem(panel, kIdPlayersScroll);
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMax = count >= kPlayerRowCount ? count - 1 : 0;
  si.nPage = count >= kPlayerRowCount ? kPlayerRowCount : 0;
  if (bar) SendMessageA(bar, SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&si));
  const int barWidth = GetSystemMetrics(SM_CXVSCROLL);
  const PlayersPanelSize size = PlayersPanelClientSize(count, barWidth);
  if (bar) {
    ShowWindow(bar, size.scrolls ? SW_SHOW : SW_HIDE);
    if (size.scrolls)
      MoveWindow(bar, kPlayerRowWidth, kPlayerRowsTop, barWidth, kPlayerRowCount * kPlayerRowHeight,
                 TRUE);
  }
  // Grow by the frame the panel has now (borders and caption), so that the
  // client comes out at the rows' size whatever frame draws it.
  RECT window, client;
  GetWindowRect(panel, &window);
  GetClientRect(panel, &client);
  const int frameWidth = (window.right - window.left) - client.right;
  const int frameHeight = (window.bottom - window.top) - client.bottom;
  SetWindowPos(panel, nullptr, 0, 0, size.width + frameWidth, size.height + frameHeight,
               SWP_NOMOVE | SWP_HIDEWINDOW);
  RefreshPlayerPanels();
  SetTimer(panel, kClockTimer, kClockMs, nullptr);
}

void ScrollPlayersPanel(int row) {
  g_panel.firstRow = ClampFirstPlayerRow(row, PlayerCount());
  SetScrollPos(g_panel.firstRow);
  RefreshPlayerPanels();
  shell::GetShellHost().PlaySoundFile("SgpTour1.wav");
}

}  // namespace ui
