#include "scene/board_input.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>

#include "game/move_submit.h"
#include "game/session_registry.h"
#include "game/turn_ports.h"
#include "rules/game_kind.h"
#include "rules/letters.h"
#include "scene/board_grids.h"
#include "scene/board_scene.h"
#include "scene/grid_host.h"
#include "shell/res_strings.h"

namespace scene {

namespace {

constexpr int kKindTutorial = 6;
constexpr const char* kSoundOk = "SBouOK1.wav";

BoardInputHost g_defaultHost;
BoardInputHost* g_host = nullptr;
BoardInputState g_state;

BoardInputHost& Host() { return g_host ? *g_host : g_defaultHost; }

TileCarrier* Carrier() { return static_cast<TileCarrier*>(CurrentGrids().carrier); }

bool IsRunning(const CGame* game) {
  const int32_t state = GetGameState(game);
  return state != kStateOver && state != kStateNoGame;
}

bool IsArrow(char c) { return c == kArrowAcross || c == kArrowDown; }

// The exchange dialog chooses the letters to swap: the tiles and the 3D
// buttons wait until it closes.
bool ExchangeSelecting() { return ExchangeDialogOpen(); }

// The guard every mouse handler starts with: true when the click is ignored.
bool MouseIgnored() {
  const int room = GetGridHost().RoomId();
  if (room == kTournamentRoom && Host().InputLocked()) return true;
  const CGame* game = GetCurrentGame();
  if (!game) return true;
  const int kind = game->Kind();
  if (room == kClassroomRoom && (kind == kKindTutorial || kind == kKindHintsList)) return true;
  return room == kCommentedGamesRoom || room == kLibraryRoom;
}

// The scene's grid whose frame is `frame`, or null.
TileGrid* GridOfFrame(const MeshFrame* frame) {
  const SceneGrids& g = CurrentGrids();
  for (TileGrid* grid : {g.board, g.rack, g.workingArea})
    if (grid && frame && grid->Frame() == frame) return grid;
  return nullptr;
}

// The first grid, in this order, with a cell under the point.
TileGrid* GridAtPoint(int x, int y, uint16_t& position) {
  const SceneGrids& g = CurrentGrids();
  for (TileGrid* grid : {g.board, g.workingArea, g.rack}) {
    if (!grid) continue;
    position = grid->PointToCell(x, y);
    if (position != kNoCell) return grid;
  }
  position = kNoCell;
  return nullptr;
}

void RemoveCursorArrow() {
  TileGrid* board = CurrentGrids().board;
  const uint16_t cell = g_state.cursor.cell;
  if (!board || cell == kNoCell || !board->Contains(CellRow(cell), CellColumn(cell))) return;
  if (IsArrow(board->GetCell(cell).letter)) board->TakeTile(cell);
}

void ClearTyping() {
  for (auto& row : g_state.typedSquares)
    for (auto& square : row)
      square = 0;
  g_state.typedOrder.clear();
}

// A click on an empty board square: a new square starts with `firstArrow`,
// the same square again turns the arrow; past the kind's last arrow the
// cursor goes.
void MoveCursorTo(TileGrid& board, uint16_t position, int firstArrow) {
  KeyboardCursor& k = g_state.cursor;
  const bool same = k.arrow && k.cell == position;
  const int arrow = same ? k.arrow + 1 : firstArrow;
  RemoveCursorArrow();
  const CGame* game = GetCurrentGame();
  const int maxArrow = game && IsSingleRowKind(game->Kind()) ? 1 : 2;
  if (arrow > maxArrow) {
    ClearKeyboardCursor();
    return;
  }
  if (!same) {
    k.typed = false;
    k.fresh = true;
    ClearTyping();
  }
  k.cell = position;
  k.arrow = arrow;
  board.PlaceTile(static_cast<char>(arrow), position, false);
}

void BeginCarryAt(TileGrid& grid, uint16_t position, bool run, int x, int y) {
  TileCarrier* carrier = Carrier();
  if (!carrier) return;
  int direction = kAcross;
  if (!grid.QueryCell(position, &direction)) return;
  TileCell records[kMaxSetAside];
  int count = 0;
  const int limit = run ? std::min(carrier->CellCount(), kMaxSetAside) : 1;
  if (!grid.PickTiles(position, direction, run, records, &count, limit) || count <= 0) return;
  ClearKeyboardCursor();
  carrier->SetDirection(direction);
  carrier->BeginCarry(&grid, x, y, records, count);
}

// A tile of the board at the cursor from the rack or the working area.
bool TakeTypedTile(char c, TileGrid*& source, uint16_t& position, char& letter) {
  const SceneGrids& g = CurrentGrids();
  source = nullptr;
  if (IsBlankLetter(c)) {
    if (g.rack && (position = g.rack->FindLetter(kUnassignedBlankCell)) != kNoCell) {
      source = g.rack;
    } else if (g.workingArea && (position = g.workingArea->FindLetter(c)) != kNoCell) {
      source = g.workingArea;
    }
    letter = c;
    if (source) return true;
  }
  letter = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (TileGrid* grid : {g.rack, g.workingArea})
    if (grid && (position = grid->FindLetter(letter)) != kNoCell) {
      source = grid;
      return true;
    }
  return false;
}

// The next free square after `from` along the arrow, kNoCell at the edge.
uint16_t NextFreeSquare(TileGrid& board, uint16_t from, int arrow) {
  int row = CellRow(from), column = CellColumn(from);
  for (;;) {
    (arrow == kArrowDown ? row : column) += 1;
    if (!board.Contains(row, column)) return kNoCell;
    if (board.GetCellAt(row, column).letter == 0) return CellCode(row, column);
  }
}

// The position one past the board's edge along the arrow.
uint16_t PastEdge(TileGrid& board, uint16_t from, int arrow) {
  return arrow == kArrowDown ? CellCode(board.Rows(), CellColumn(from))
                             : CellCode(CellRow(from), board.Columns());
}

void SyncBestSolutionRack() {
  if (GetGridHost().RoomId() != kBestSolutionRoom) return;
  if (auto* rack = dynamic_cast<RackGrid*>(CurrentGrids().rack)) rack->SyncRackText();
  Host().SolutionTyped();
}

void TypeLetter(char c) {
  TileGrid* board = CurrentGrids().board;
  KeyboardCursor& k = g_state.cursor;
  if (!board || k.cell == kNoCell || !board->Contains(CellRow(k.cell), CellColumn(k.cell))) return;
  TileGrid* source = nullptr;
  uint16_t from = kNoCell;
  char letter = 0;
  if (!TakeTypedTile(c, source, from, letter)) return;
  TileCell record = source->GetCell(from);
  record.letter = letter;
  record.tileObject = nullptr;
  record.originGrid = source;
  record.originPosition = from;
  RemoveCursorArrow();
  if (!board->PlaceRecord(record, k.cell)) {
    board->PlaceTile(static_cast<char>(k.arrow), k.cell, false);  // the tile stays in its grid
    return;
  }
  source->ClearCell(from);
  g_state.typedSquares[CellRow(k.cell)][CellColumn(k.cell)] = 1;
  g_state.typedOrder.push_back(k.cell);
  k.typed = true;
  const uint16_t next = NextFreeSquare(*board, k.cell, k.arrow);
  if (next == kNoCell) {
    // The arrow stays active past the edge so that Backspace can come back.
    k.cell = PastEdge(*board, k.cell, k.arrow);
  } else {
    k.cell = next;
    board->PlaceTile(static_cast<char>(k.arrow), next, false);
  }
  SyncBestSolutionRack();
}

void TakeBackTypedLetter() {
  TileGrid* board = CurrentGrids().board;
  KeyboardCursor& k = g_state.cursor;
  if (!board || !k.typed || g_state.typedOrder.empty()) return;
  const uint16_t last = g_state.typedOrder.back();
  g_state.typedOrder.pop_back();
  g_state.typedSquares[CellRow(last)][CellColumn(last)] = 0;
  TileCell& cell = board->GetCell(last);
  if (IsPlacedLetter(cell.letter) && !board->IsFixedCell(last)) {
    TileCell record = cell;
    record.tileObject = nullptr;
    board->TakeTile(last);
    TileGrid* home = record.originGrid;
    if (!home || home == board || !home->PlaceRecord(record, record.originPosition))
      SendTileHome(record);
  }
  RemoveCursorArrow();
  k.cell = last;
  k.typed = !g_state.typedOrder.empty();
  board->PlaceTile(static_cast<char>(k.arrow), last, false);
  if (GetGridHost().RoomId() == kBestSolutionRoom) {
    if (auto* rack = dynamic_cast<RackGrid*>(CurrentGrids().rack)) rack->SyncRackText();
    GetGridHost().RedrawSlot(8);
    GetGridHost().RedrawSlot(9);
  }
}

void StoreAction(uint32_t button) {
  Host().PlaySound(kSoundOk);
  PendingBoardAction() = BoardButtonAction(button);
}

void TypedSpace(const CGame& game) {
  const int room = GetGridHost().RoomId();
  const int kind = game.Kind();
  if (room != kTournamentRoom && room != kNetworkRoom &&
      (kind == kKindStandard || kind == kKindDuplicate) &&
      (GetSceneButtonMask() & kButtonEvaluate)) {
    StoreAction(kButtonEvaluate);
    return;
  }
  Host().ShowNotice(shell::LoadResString(kStrEvaluateUnavailable));
}

void TypedEnter(CGame& game) {
  if (game.Kind() == kKindExercise) {
    Host().PlaySound(kSoundOk);
    if (PendingUiAction submit = BoardButtonAction(kButtonPlay)) submit(&game);
  } else if (GetGridHost().RoomId() == kBestSolutionRoom) {
    std::copy(&g_state.typedSquares[0][0], &g_state.typedSquares[0][0] + kBoardSide * kBoardSide,
              &g_state.savedTypedSquares[0][0]);
  } else if (GetSceneButtonMask() & kButtonPlay) {
    StoreAction(kButtonPlay);
  }
  ClearKeyboardCursor();
}

}  // namespace

BoardInputHost* SetBoardInputHost(BoardInputHost* host) {
  BoardInputHost* old = g_host;
  g_host = host;
  return old;
}

BoardInputHost& GetBoardInputHost() { return Host(); }

BoardInputState& BoardInput() { return g_state; }

void ResetBoardInput() {
  g_state.buttonDown = false;
  g_state.pressedButton = -1;
  g_state.cursor = KeyboardCursor{};
  g_state.frameDrag = false;
  ClearTyping();
}

PendingUiAction ButtonAction(int index, uint32_t mask) {
  // The first bit of the list that the mask holds chooses the handler.
  auto first = [mask](std::initializer_list<uint32_t> bits) -> uint32_t {
    for (uint32_t bit : bits)
      if (mask & bit) return bit;
    return 0;
  };
  uint32_t button = 0;
  switch (index) {
    case kFrameShuffle:
      button = first({kButtonCancel, kButtonShuffle});
      break;
    case kFrameExchange:
      button = first({kButtonEvaluate, kButtonExchange});
      break;
    case kFramePass:
    case kFramePlay:
      button = first({kButtonPlay, kButtonPass, kButtonCancel});
      break;
    case kFrameCancel:
      button = first({kButtonCancel});
      break;
    case kFrameEvaluate:
      button = first({kButtonEvaluate});
      break;
    case kFrameSort:
      button = first({kButtonSort});
      break;
    case kFrameContest:
      button = first({kButtonChallenge});
      break;
    default:  // hint and submit store nothing from here
      break;
  }
  return button ? BoardButtonAction(button) : nullptr;
}

void ReleasePressedButton() {
  if (!g_state.buttonDown) return;
  UnhighlightSceneButton(g_state.pressedButton);
  g_state.buttonDown = false;
  g_state.pressedButton = -1;
}

void PlaceTypingCursor(TileGrid* grid, int row, int column) {
  if (!grid || !grid->Contains(row, column)) return;
  KeyboardCursor& k = g_state.cursor;
  k.cell = CellCode(row, column);
  k.arrow = kArrowAcross;
  k.typed = false;
  k.fresh = true;
  ClearTyping();
  grid->PlaceTile(kArrowAcross, k.cell, false);
}

void ClearKeyboardCursor() {
  RemoveCursorArrow();
  g_state.cursor = KeyboardCursor{};
  ClearTyping();
}

int KeyboardCursorArrow() { return g_state.cursor.arrow; }

void BoardLeftButtonDown(uint32_t keys, int x, int y) {
  if (MouseIgnored()) return;
  Host().TakeFocus();
  if (keys & kKeyRightButton) return;
  TileCarrier* carrier = Carrier();
  if (carrier && carrier->State() != TileCarrier::kIdle) carrier->EndPick();

  bool isButton = false;
  int index = -1;
  MeshFrame* frame = PickSceneAt(x, y, isButton, index);
  CGame* game = GetCurrentGame();
  const int room = GetGridHost().RoomId();
  if (frame && !isButton) {
    TileGrid* grid = GridOfFrame(frame);
    if (ExchangeSelecting()) return;
    if (!grid) {
      if (carrier) {
        carrier->BeginFrameDrag(frame, x, y);
        g_state.frameDrag = true;
        g_state.dragStartX = x, g_state.dragStartY = y;
      }
      return;
    }
    if (room != kClassroomRoom) {
      if (!IsRunning(game)) return;
      const GamePlayer* player = game->GetCurrentPlayer();
      if (game->Kind() == kKindDuplicate && player && player->Type() == kPlayerRemote) return;
    }
    const uint16_t position = grid->PointToCell(x, y);
    if (position == kNoCell) return;
    const char letter = grid->GetCell(position).letter;
    if (letter < 'A') {
      if (grid == CurrentGrids().board) MoveCursorTo(*grid, position, kArrowAcross);
      return;
    }
    if (room == kFixedBoardRoom && grid == CurrentGrids().board &&
        game->board.At(CellRow(position), CellColumn(position)) != 0)
      return;
    BeginCarryAt(*grid, position, false, x, y);
    return;
  }
  if (isButton && IsRunning(game) && !ExchangeSelecting() &&
      !(index == kFrameExchange && game->Kind() == kKindDuplicate)) {
    HighlightSceneButton(index);
    g_state.buttonDown = true;
    g_state.pressedButton = index;
    return;
  }
  g_state.buttonDown = false;
  g_state.pressedButton = -1;
}

void BoardLeftButtonUp(uint32_t keys, int x, int y) {
  if (MouseIgnored()) return;
  if (g_state.buttonDown) {
    const int index = g_state.pressedButton;
    g_state.buttonDown = false;
    const MeshFrame* twin = GetSceneFrame(index + kFrameFirstTwin);
    const bool overTwin = twin && PickSceneFrame(x, y) == twin;
    UnhighlightSceneButton(index);
    if (overTwin) {
      Host().PlaySound(kSoundOk);
      if (PendingUiAction action = ButtonAction(index, GetSceneButtonMask()))
        PendingBoardAction() = action;
    }
    g_state.pressedButton = -1;
    return;
  }
  TileCarrier* carrier = Carrier();
  if (!carrier) return;
  if (carrier->State() == TileCarrier::kDraggingFrame) {
    carrier->EndPick();
    g_state.frameDrag = false;
    return;
  }
  if (carrier->State() != TileCarrier::kCarrying || !IsRunning(GetCurrentGame())) return;
  if (carrier->CarriedCount() == 1) {
    carrier->DropAt(x, y);
  } else if (keys & kKeyRightButton) {
    carrier->ToggleDirection();
  }
}

void BoardLeftDoubleClick(int x, int y) {
  if (MouseIgnored() || ExchangeSelecting()) return;
  TileCarrier* carrier = Carrier();
  if (carrier && carrier->State() == TileCarrier::kCarrying) carrier->EndPick();
  uint16_t position = kNoCell;
  TileGrid* grid = GridAtPoint(x, y, position);
  if (!grid || !IsPlacedLetter(grid->GetCell(position).letter) || grid->IsFixedCell(position))
    return;
  TileCell record = grid->GetCell(position);
  TileGrid* home = record.originGrid;
  if (!home || (home == grid && record.originPosition == position)) return;
  record.tileObject = nullptr;
  grid->TakeTile(position);
  if (!home->PlaceRecord(record, record.originPosition) && !home->Receive(record, kNoCell) &&
      !grid->PlaceRecord(record, position))
    SendTileHome(record);
}

void BoardRightButtonDown(uint32_t keys, int x, int y) {
  if (MouseIgnored()) return;
  const CGame* game = GetCurrentGame();
  const bool exercise = GetGridHost().RoomId() == kClassroomRoom && game->Kind() == kKindExercise;
  if (!exercise && !IsRunning(game)) return;
  if (keys & kKeyLeftButton) return;
  uint16_t position = kNoCell;
  TileGrid* grid = GridAtPoint(x, y, position);
  if (!grid) {
    ClearKeyboardCursor();
    return;
  }
  int direction = kAcross;
  if (grid->QueryCell(position, &direction)) {
    BeginCarryAt(*grid, position, true, x, y);
  } else if (grid == CurrentGrids().board && grid->GetCell(position).letter < 'A') {
    MoveCursorTo(*grid, position, kArrowDown);
  } else {
    ClearKeyboardCursor();
  }
}

void BoardRightButtonUp(uint32_t keys, int x, int y) {
  if (MouseIgnored()) return;
  TileCarrier* carrier = Carrier();
  if (keys & kKeyLeftButton) {
    if (carrier && carrier->State() != TileCarrier::kIdle) carrier->EndPick();
    return;
  }
  g_state.frameDrag = false;
  if (carrier && carrier->State() == TileCarrier::kCarrying) carrier->DropAt(x, y);
}

void BoardMouseMove(int x, int y) {
  TileCarrier* carrier = Carrier();
  if (carrier && carrier->State() != TileCarrier::kIdle) carrier->MoveTo(x, y);
}

void BoardCharTyped(char c) {
  ReleasePressedButton();
  if (!g_state.cursor.arrow) return;
  CGame* game = GetCurrentGame();
  if (!game) return;
  switch (c) {
    case ' ':
      TypedSpace(*game);
      return;
    case '\r':
      TypedEnter(*game);
      return;
    case '\b':
      TakeBackTypedLetter();
      return;
    default:
      if (std::isalpha(static_cast<unsigned char>(c))) TypeLetter(c);
  }
}

void BoardFocusLost() {
  ClearKeyboardCursor();
  if (TileCarrier* carrier = Carrier())
    if (carrier->State() != TileCarrier::kIdle) carrier->EndPick();
}

int BoardGameChanged(int code, CGame* game, TileGrid* boardGrid) {
  if (game && boardGrid && (code == 0 || code == 15))
    boardGrid->SetBoardLetters(game->board.letters);
  return 1;
}

}  // namespace scene
