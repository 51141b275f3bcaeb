#include <cmath>

#include "game/game.h"
#include "game/session_registry.h"
#include "rules/letters.h"
#include "scene/board_grids.h"
#include "scene/grid_host.h"

namespace scene {

namespace {

bool InCrossagramRoom() { return GetGridHost().RoomId() == kCrossagramRoom; }

constexpr int kMaxPlacedRecords = 16;

}  // namespace

uint16_t BoardGrid::Step(uint16_t position, int direction, int n) const {
  const int r = CellRow(position) + (direction == kDown ? n : 0);
  const int c = CellColumn(position) + (direction == kAcross ? n : 0);
  return Contains(r, c) ? CellCode(r, c) : kNoCell;
}

bool BoardGrid::IsFixedCell(uint16_t position) {
  if (!InGrid(position)) return false;
  const TileCell& cell = GetCell(position);
  if (InCrossagramRoom()) {
    if (GetGameState(GetCurrentGame()) == kStateOver) return true;
    return cell.letter == kGivenSquare || IsBlankLetter(cell.letter);
  }
  return cell.letter > kArrowDown && cell.originGrid == this;
}

bool BoardGrid::Movable(uint16_t position) {
  if (position == kNoCell) return false;
  const char l = GetCell(position).letter;
  return l > kArrowDown && l != kSquareToFill && !IsFixedCell(position);
}

bool BoardGrid::QueryCell(uint16_t position, int* direction) {
  if (!InGrid(position) || GetCell(position).letter == 0 || IsFixedCell(position)) return false;
  const int reach = InCrossagramRoom() ? 1 : std::max(Rows(), Columns());
  for (int n = 1; n <= reach; ++n) {
    const uint16_t p = Step(position, kAcross, n);
    if (p == kNoCell || GetCell(p).letter == 0) break;
    if (!IsFixedCell(p)) {
      *direction = kAcross;
      return true;
    }
  }
  for (int n = 1; n <= reach; ++n) {
    const uint16_t p = Step(position, kDown, n);
    if (p == kNoCell || GetCell(p).letter == 0) break;
    if (InCrossagramRoom() && GetCell(p).letter == kSquareToFill) return false;
    if (!IsFixedCell(p)) {
      *direction = kDown;
      return true;
    }
  }
  *direction = kAcross;
  return true;
}

bool BoardGrid::PickTiles(uint16_t position, int direction, bool run, TileCell* out, int* count,
                          int limit) {
  *count = 0;
  const bool crossagram = InCrossagramRoom();
  auto pickOne = [&](uint16_t p, TileCell& record) {
    TakeOut(p, record);
    if (crossagram) {
      TileCell& cell = GetCell(p);
      cell.letter = kSquareToFill;
      BuildTileObject(cell);
    }
  };
  if (!run) {
    if (!Movable(position) || limit < 1) return false;
    pickOne(position, out[0]);
    *count = 1;
    return true;
  }
  for (uint16_t p = position; p != kNoCell && *count < limit; p = Step(p, direction, 1)) {
    const char l = GetCell(p).letter;
    if (l == 0 || (crossagram && l == kSquareToFill)) break;
    if (IsFixedCell(p)) {
      if (crossagram) break;
      out[*count] = TileCell{};  // a gap that keeps the spacing
      out[(*count)++].position = p;
      continue;
    }
    pickOne(p, out[(*count)++]);
  }
  return *count > 0;
}

void BoardGrid::PlaceTiles(uint16_t position, int direction, TileCell* records, int count) {
  uint16_t p = position;
  for (int i = 0; i < count && i < kMaxPlacedRecords && p != kNoCell; ++i) {
    if (records[i].letter && PlaceRecord(records[i], p)) records[i].letter = 0;
    p = Step(p, direction, 1);
  }
}

// Every record with a letter must find a square: a fixed square, or a run
// that would leave the board, refuses the drop.
bool BoardGrid::CanAccept(uint16_t position, int direction, TileGrid*, const TileCell* records,
                          int count) {
  if (!InGrid(position)) return false;
  const bool crossagram = InCrossagramRoom();
  if (crossagram && GetCell(position).letter != kSquareToFill) return false;
  if (IsFixedCell(position)) return false;
  int letters = 0, room = 0;
  uint16_t p = position;
  for (int i = 0; i < count; ++i, p = p == kNoCell ? p : Step(p, direction, 1)) {
    if (!records[i].letter) continue;
    ++letters;
    if (p == kNoCell) return false;
    if (IsFixedCell(p)) return false;
    const char l = GetCell(p).letter;
    if (crossagram) {
      if (IsPlacedLetter(l)) return false;
      if (l == kSquareToFill) ++room;
    } else if (l == 0 || l == kArrowAcross || l == kArrowDown) {
      ++room;
    } else if (FindFreeCell(p, kAcross, -1, false) != kNoCell ||
               FindFreeCell(p, kDown, -1, false) != kNoCell) {
      ++room;
    }
  }
  return room >= letters;
}

bool BoardGrid::CanAcceptByShifting(uint16_t position, int direction, TileGrid*, const TileCell*,
                                    int count) {
  if (InCrossagramRoom() || !InGrid(position) || IsFixedCell(position)) return false;
  int free = 0;
  for (uint16_t p = position; p != kNoCell; p = Step(p, direction, 1))
    if (!IsFixedCell(p)) ++free;
  return free >= count;
}

void BoardGrid::PrepareDrop(int x, int y, int direction, const TileCell* records, int count) {
  if (InCrossagramRoom()) return;
  float fx = 0.5f, fy = 0.5f;
  const uint16_t under = PointToCell(x, y, &fx, &fy);
  if (under == kNoCell) return;
  uint16_t p = under;
  for (int i = 0; i < count && p != kNoCell; ++i, p = Step(p, direction, 1)) {
    if (!records[i].letter || !Movable(p)) continue;
    int axis;
    if (Movable(Step(p, kAcross, -1)) || Movable(Step(p, kAcross, 1)))
      axis = kAcross;
    else if (Movable(Step(p, kDown, -1)) || Movable(Step(p, kDown, 1)))
      axis = kDown;
    else
      axis = std::fabs(0.5f - fx) > std::fabs(0.5f - fy) ? kAcross : kDown;
    const float f = axis == kAcross ? fx : fy;
    const int side = f <= 0.5f ? 1 : -1;
    if (!ShiftTiles(p, axis, side, false, true)) ShiftTiles(p, 1 - axis, side, false, true);
  }
}

}  // namespace scene
