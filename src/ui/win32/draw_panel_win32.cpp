// The position set-up panel and the remaining-tiles window. The letter
// buttons are labels that show their letter while tiles of it remain. A
// letter put on the rack is taken from the bag through the bag's own draw,
// so its counts and draw order stay in step.
#include "ui/win32/draw_panel_win32.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/lexicon.h"
#include "game/game.h"
#include "game/session_registry.h"
#include "game/turn_ports.h"
#include "gui/gui_core.h"
#include "gui/win32/gui_widgets2.h"
#include "platform/message_sink.h"
#include "rules/layouts.h"
#include "shell/res_strings.h"
#include "shell/shell_host.h"
#include "ui/position_setup.h"
#include "ui/window_slots.h"
#include "ui/win32/mentor_panel_win32.h"
#include "ui/win32/mode_information_dialog.h"
#include "ui/win32/window_slots_win32.h"

namespace ui {
namespace {

constexpr int kDrawTemplate = 85;
constexpr int kRemainderTemplate = 141;
constexpr uint32_t kStrRemaining = 2047;
constexpr COLORREF kCountColour = RGB(10, 128, 10);
constexpr COLORREF kSetColour = RGB(128, 1, 1);
const int kMentorButtons[] = {kIdMentorSearchAll, kIdMentorTips, kIdMentorNote, kIdMentorSearch};

HWND Slot(int slot) { return static_cast<HWND>(GetSlotWindow(slot)); }
HFONT PanelFont() {
  HFONT f = static_cast<HFONT>(gui::GuiGetFont(2));
  return f ? f : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}
int Language(const CGame& game) { return game.setup.language == 1 ? 1 : 0; }
char LetterOf(int index) {
  return index == 0 ? kUnassignedBlank : static_cast<char>('a' + index - 1);
}

// The view's rack cells as rack text ('_' empty), and how many hold tiles.
std::string ReadRack(int places, int* tiles) {
  char cells[kMaxRackPlaces + 1] = {};
  const int n = GetBoardViewPort().ReadRackCells(cells, places);
  std::string rack(static_cast<size_t>(places), kEmptyRackPlace);
  *tiles = 0;
  for (int i = 0; i < n; ++i)
    if (std::isalpha(static_cast<unsigned char>(cells[i])) || cells[i] == kUnassignedBlank) {
      rack[i] = cells[i];
      ++*tiles;
    }
  return rack;
}

void EnableMentor(bool on) {
  if (HWND mentor = Slot(kSlotMentor))
    for (int id : kMentorButtons)
      EnableWindow(GetDlgItem(mentor, id), on);
}
void ResetMentor() {
  if (HWND mentor = Slot(kSlotMentor)) PostMessageA(mentor, kMsgMentorReset, 0, 0);
}

void ShowLetter(HWND panel, int id, int index, bool shown) {
  char text[2] = {index == 0 ? '?' : static_cast<char>('A' + index - 1), 0};
  SetDlgItemTextA(panel, id, shown ? text : "");
}

// The "remaining" line: tiles left of the game's total.
void FormatRemaining(char (&text)[64], int left, int total) {
  std::snprintf(text, sizeof text, shell::LoadResString(kStrRemaining), left, total);
}

// A letter button's rectangle in the panel's client coordinates.
RECT LetterRect(HWND panel, int id) {
  RECT r;
  GetWindowRect(GetDlgItem(panel, id), &r);
  MapWindowPoints(nullptr, panel, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void PaintDraw(HWND panel) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(panel, &ps);
  CGame* game = GetCurrentGame();
  if (game && game->rules) {
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, PanelFont());
    char text[64];
    FormatRemaining(text, game->bag.tileCount, game->rules->totalTiles);
    RECT line{5, 143, 175, 156};  // under the bag, in dialog units
    MapDialogRect(panel, &line);
    SetTextColor(dc, RGB(5, 5, 5));
    DrawTextA(dc, text, -1, &line, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    SetTextColor(dc, kCountColour);
    for (int i = 0; i < kLetterButtonCount; ++i) {
      const int count = game->bag.counts[i];
      ShowLetter(panel, kIdDrawFirstLetter + i, i, count > 0);
      if (count <= 0) continue;
      const RECT r = LetterRect(panel, kIdDrawFirstLetter + i);
      std::snprintf(text, sizeof text, "%d/%d", count, game->rules->tileCounts[i]);
      RECT below{r.left - 12, r.bottom + 1, r.right + 12, r.bottom + 18};
      DrawTextA(dc, text, -1, &below, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(dc, old);
  }
  EndPaint(panel, &ps);
}

void Redraw(HWND window) { RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE); }

void LetterClicked(HWND panel, CGame& game, int index) {
  GamePlayer* first = game.Player(0);
  if (!first || game.bag.counts[index] <= 0) return;
  int tiles = 0;
  std::string rack = ReadRack(first->RackPlaces(), &tiles);
  const size_t free = rack.find(kEmptyRackPlace);
  if (free == std::string::npos) return;  // a full rack takes nothing
  const char letter = LetterOf(index);
  int32_t blanks = 0;
  if (!game.bag.DrawGivenLetters(game.BagRules(), &letter, 1, &blanks).ok()) return;
  rack[free] = letter;
  GetBoardViewPort().LoadRackLetters(rack.c_str(), static_cast<int>(rack.size()));
  GetBoardViewPort().RefreshRackTiles();
  first->SetRackText(rack.c_str(), tiles + 1);
  EnableWindow(GetDlgItem(panel, kIdDrawConfirm), TRUE);
  EnableWindow(GetDlgItem(panel, kIdDrawEmptyRack), TRUE);
  Redraw(panel);
  RefreshRemainderWindow();
}

// The rack's tiles go back into the bag; the rack grid and player 0 empty.
void ReturnRack(CGame& game) {
  GamePlayer* first = game.Player(0);
  if (!first) return;
  int tiles = 0;
  const std::string rack = ReadRack(first->RackPlaces(), &tiles);
  game.bag.ReturnLetters(game.BagRules(), rack.c_str(), static_cast<int>(rack.size()));
  const std::string empty(rack.size(), kEmptyRackPlace);
  GetBoardViewPort().LoadRackLetters(empty.c_str(), static_cast<int>(empty.size()));
  first->Reset();
}

void AutomaticDraw(HWND panel, CGame& game) {
  ReturnRack(game);
  for (int i = 0; i < game.PlayerCount() && i < kMaxPlayers; ++i)
    if (GamePlayer* p = game.Player(i)) p->RefillRack();
  if (GamePlayer* first = game.Player(0))
    GetBoardViewPort().LoadRackLetters(first->rack, first->RackPlaces());
  GetBoardViewPort().RefreshRackTiles();
  EnableWindow(GetDlgItem(panel, kIdDrawConfirm), TRUE);
  EnableWindow(GetDlgItem(panel, kIdDrawEmptyRack), TRUE);
  Redraw(panel);
}

void ClearBoard(HWND panel, CGame& game) {
  if (shell::ShowResMessageBox(2041, 0, MB_OKCANCEL) != IDOK) return;
  game.state = kStatePaused;
  char view[kBoardSquares] = {};
  GetBoardViewPort().ReadBoardLetters(view);
  for (int i = 0; i < kBoardSquares; ++i) {
    const char c = view[i];
    if (c < 'A') continue;
    const char back = c >= 'a' ? c : kUnassignedBlank;  // a blank goes back as a blank
    game.bag.ReturnLetters(game.BagRules(), &back, 1);
  }
  const char empty[kBoardSquares] = {};
  GetBoardViewPort().LoadBoardLetters(empty, kMaxBoardSide, kMaxBoardSide);
  game.ClearBoardLetters();
  GetBoardViewPort().RefreshRackTiles();
  GetBoardViewPort().RedrawBoardWindow();
  EnableWindow(GetDlgItem(panel, kIdDrawConfirm), TRUE);
  ResetMentor();
  int tiles = 0;
  if (GamePlayer* first = game.Player(0)) ReadRack(first->RackPlaces(), &tiles);
  if (tiles == 7 || (tiles > 0 && game.bag.tileCount <= 0)) EnableMentor(true);
  GetBoardViewPort().EndTileDrag();
  Redraw(panel);
}

void EmptyRack(HWND panel, CGame& game) {
  if (shell::ShowResMessageBox(2042, 0, MB_OKCANCEL) != IDOK) return;
  game.state = kStatePaused;
  ReturnRack(game);
  GetBoardViewPort().RefreshRackTiles();
  EnableMentor(false);
  ResetMentor();
  Redraw(panel);
}

void ConfirmDraw(HWND panel, CGame& game) {
  GetBoardViewPort().EndTileDrag();
  if (!ValidateSetupPosition()) return;
  int tiles = 0;
  if (GamePlayer* first = game.Player(0)) {
    const std::string rack = ReadRack(first->RackPlaces(), &tiles);
    first->SetRackText(rack.c_str(), tiles);
  }
  EnableMentor(tiles > 0);
  ResetMentor();
  for (int id : {kIdDrawAutomatic, kIdDrawConfirm, kIdDrawEmptyRack, kIdDrawClearBoard})
    EnableWindow(GetDlgItem(panel, id), FALSE);
  EnableWindow(panel, FALSE);
  game.state = kStateTurnRunning;
  if (GamePlayer* p = game.GetCurrentPlayer()) p->secondTurnByte = 1;
}

void DrawCommand(HWND panel, WPARAM wp) {
  GetBoardViewPort().EndTileDrag();
  CGame* game = GetCurrentGame();
  const int id = LOWORD(wp);
  if (id == kIdShowSolvePositionInfo) {
    ShowSolvePositionInfo(panel);
    return;
  }
  if (id == kIdDrawClearBoard || id == kIdDrawEmptyRack || id == kIdDrawConfirm)
    shell::GetShellHost().PlaySoundFile("SBouOK1.wav");
  if (!game || !game->rules) return;
  if (id >= kIdDrawFirstLetter && id < kIdDrawFirstLetter + kLetterButtonCount) {
    LetterClicked(panel, *game, id - kIdDrawFirstLetter);
    return;
  }
  switch (id) {
    case kIdDrawAutomatic:
      AutomaticDraw(panel, *game);
      break;
    case kIdDrawClearBoard:
      ClearBoard(panel, *game);
      break;
    case kIdDrawEmptyRack:
      EmptyRack(panel, *game);
      break;
    case kIdDrawConfirm:
      ConfirmDraw(panel, *game);
      break;
    default:
      break;
  }
}

INT_PTR CALLBACK DrawDlgProc(HWND panel, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      WindowSlotOp(kOpRegister, kSlotPositionSetup, reinterpret_cast<intptr_t>(panel));
      WindowSlotOp(kOpShow, kSlotPositionSetup, kShowHide);
      for (int id : {kIdDrawClearBoard, kIdDrawEmptyRack, kIdDrawConfirm})
        EnableWindow(GetDlgItem(panel, id), TRUE);
      StoreSlotWindowSize(kSlotPositionSetup);
      return FALSE;
    case WM_PAINT:
      PaintDraw(panel);
      return TRUE;
    case WM_COMMAND:
      DrawCommand(panel, wp);
      return TRUE;
    case gui::kMsgParentBackground:
      return TRUE;  // the toolkit draws the background under the lists
    default:
      SlotWindowHook(kSlotPositionSetup, panel, msg, wp, lp);
      return FALSE;
  }
}

// --- The remaining tiles ---

RemainingTiles g_remaining;

RemainingTiles Compute(const CGame& game) {
  const GamePlayer* viewer = game.Kind() == kKindDuplicate && game.referencePlayer
                                 ? game.referencePlayer.get()
                                 : (game.viewingPlayer ? game.viewingPlayer : game.currentPlayer);
  const int side = game.rules->boardSide > 0 ? game.rules->boardSide : kMaxBoardSide;
  return ComputeRemainingTiles(game.board.letters, side, viewer ? viewer->rack : nullptr,
                               viewer ? viewer->RackPlaces() : 0, game.rules->tileCounts);
}

// A letter's counts run up to the next letter of its row, or to the panel's
// edge: two-digit counts ("11/12") need more than a fixed width gives them.
int CountCellRight(HWND window, int index, const RECT& letter) {
  RECT client;
  GetClientRect(window, &client);
  int right = client.right - 2;
  if (index + 1 < kLetterButtonCount) {
    const RECT next = LetterRect(window, kIdRemainFirstLetter + index + 1);
    if (next.top == letter.top && next.left > letter.right)
      right = std::min<int>(right, next.left - 2);
  }
  return right;
}

void PaintRemainder(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  CGame* game = GetCurrentGame();
  if (game && game->rules) {
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, PanelFont());
    char text[64];
    FormatRemaining(text, g_remaining.total, game->rules->totalTiles);
    SetTextColor(dc, RGB(5, 5, 5));
    TextOutA(dc, 9, 6, text, static_cast<int>(std::strlen(text)));
    for (int i = 0; i < kLetterButtonCount; ++i) {
      const int left = g_remaining.remaining[i];
      const int count = game->rules->tileCounts[i];
      const RECT r = LetterRect(window, kIdRemainFirstLetter + i);
      const bool jokerGame = i == 0 && (game->setup.flags & 1);
      if (left <= 0 && !jokerGame) continue;
      std::snprintf(text, sizeof text, "%d/%d", left, count);
      SetTextColor(dc, kSetColour);
      RECT cell{r.right + 3, r.top - 2, CountCellRight(window, i, r), r.bottom + 2};
      DrawTextA(dc, text, -1, &cell, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      if (jokerGame) continue;
      // The remaining count again over its place, graded by what is left.
      std::snprintf(text, sizeof text, "%d", left);
      SetTextColor(dc, RemainingColour(left, count));
      DrawTextA(dc, text, -1, &cell, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(dc, old);
  }
  EndPaint(window, &ps);
}

INT_PTR CALLBACK RemainderDlgProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      WindowSlotOp(kOpRegister, kSlotRemainingTiles, reinterpret_cast<intptr_t>(window));
      SetWindowLongPtrA(window, DWLP_USER, 0);
      WindowSlotOp(kOpShow, kSlotRemainingTiles, kShowHide);
      StoreSlotWindowSize(kSlotRemainingTiles);
      return FALSE;
    case WM_PAINT:
      PaintRemainder(window);
      return TRUE;
    case WM_ACTIVATEAPP:
      Redraw(window);
      return FALSE;
    case gui::kMsgParentBackground:
      return TRUE;  // the toolkit draws the background under the lists
    default:
      SlotWindowHook(kSlotRemainingTiles, window, msg, wp, lp);
      return FALSE;
  }
}

}  // namespace

int CreateDrawWindow(HWND owner, HINSTANCE instance) {
  if (!owner || !instance) return -1;
  CreateDialogParamA(instance, MAKEINTRESOURCEA(kDrawTemplate), owner, DrawDlgProc, 0);
  return 0;
}

int CreateRemainderWindow(HWND owner, HINSTANCE instance) {
  if (!owner || !instance) return -1;
  CreateDialogParamA(instance, MAKEINTRESOURCEA(kRemainderTemplate), owner, RemainderDlgProc, 0);
  return 0;
}

void RefreshRemainderWindow() {
  HWND window = Slot(kSlotRemainingTiles);
  CGame* game = GetCurrentGame();
  if (!window || !game || !game->rules) return;
  g_remaining = Compute(*game);
  for (int i = 0; i < kLetterButtonCount; ++i)
    ShowLetter(window, kIdRemainFirstLetter + i, i, g_remaining.remaining[i] > 0);
  Redraw(window);
}

int ValidateSetupPosition() {
  CGame* game = GetCurrentGame();
  GamePlayer* first = game ? game->Player(0) : nullptr;
  const Lexicon* lexicon = GetLexicon();
  if (!first || !lexicon || !game->rules) return 0;
  char view[kBoardSquares] = {};
  GetBoardViewPort().ReadBoardLetters(view);
  SetupFacts f;
  f.grid = view;
  f.gameBoard = game->board.letters;
  f.side = game->rules->boardSide > 0 ? game->rules->boardSide : kMaxBoardSide;
  ReadRack(first->RackPlaces(), &f.rackTiles);
  f.bagTiles = game->bag.tileCount;
  f.language = Language(*game);
  const SetupCheck check = CheckSetupPosition(f, *lexicon);
  if (check.verdict != SetupVerdict::kAccepted) {
    platform::ShowNotice(check.message.c_str(), "", MB_ICONEXCLAMATION);
    return 0;
  }
  for (int i = 0; i < kBoardSquares; ++i)
    game->board.letters[i] = view[i] >= 'A' ? view[i] : kEmptySquare;
  GetBoardViewPort().LoadBoardLetters(game->board.letters, kMaxBoardSide, kMaxBoardSide);
  return 1;
}

}  // namespace ui
