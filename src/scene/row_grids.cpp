#include <algorithm>
#include <cstring>

#include "game/game.h"
#include "game/player.h"
#include "game/session_registry.h"
#include "rules/letters.h"
#include "scene/board_grids.h"

namespace scene {

namespace {

constexpr int32_t kFlagKeepRackText = 32;

}  // namespace

bool RowGrid::QueryCell(uint16_t position, int* direction) {
  if (!InGrid(position) || GetCell(position).letter == 0) return false;
  *direction = kAcross;
  return true;
}

bool RowGrid::CanAccept(uint16_t position, int direction, TileGrid*, const TileCell* records,
                        int count) {
  if (!InGrid(position)) return false;
  const int free = Columns() - TileCount();
  if (count == 1) return free >= 1;
  if (direction == kDown) return false;
  if (isRack_ && count > Columns()) return false;
  for (int i = 0; i < count; ++i) {
    if (!records[i].letter) continue;
    const int c = CellColumn(position) + i;
    if (c >= Columns() || GetCellAt(0, c).letter != 0) return false;
  }
  return free >= count;
}

void RowGrid::PrepareDrop(int x, int y, int, const TileCell* records, int count) {
  float fx = 0.5f;
  const uint16_t under = PointToCell(x, y, &fx, nullptr);
  if (under == kNoCell) return;
  const int side = fx <= 0.5f ? 1 : -1;
  if (!isRack_) {
    if (GetCell(under).letter && !IsFixedCell(under)) ShiftTiles(under, kAcross, side, false, true);
    return;
  }
  for (int i = 0; i < count; ++i) {
    const int c = CellColumn(under) + i;
    if (!records[i].letter || c >= Columns()) continue;
    const uint16_t p = CellCode(CellRow(under), c);
    if (GetCell(p).letter && !IsFixedCell(p)) ShiftTiles(p, kAcross, side, false, true);
  }
}

bool RowGrid::PickTiles(uint16_t position, int, bool run, TileCell* out, int* count, int limit) {
  *count = 0;
  if (!InGrid(position)) return false;
  auto pick = [&](uint16_t p, TileCell& record) {
    if (GetCell(p).letter) {
      TakeOut(p, record);
    } else {
      record = TileCell{};
      record.position = p;
    }
    record.originGrid = this;
    record.originPosition = p;
  };
  if (!run) {
    if (!GetCell(position).letter || limit < 1) return false;
    pick(position, out[0]);
    *count = 1;
    return true;
  }
  for (int c = CellColumn(position); c < Columns() && *count < limit; ++c) {
    const uint16_t p = CellCode(CellRow(position), c);
    if (isRack_ && !GetCell(p).letter) break;
    pick(p, out[(*count)++]);
  }
  return *count > 0;
}

void RowGrid::PlaceTiles(uint16_t position, int, TileCell* records, int count) {
  for (int i = 0; i < count; ++i) {
    if (!records[i].letter) continue;
    const int c = CellColumn(position) + i;
    const uint16_t p = c < Columns() ? CellCode(CellRow(position), c) : kNoCell;
    if (Receive(records[i], p)) records[i].letter = 0;
  }
}

void RackGrid::PlaceTiles(uint16_t position, int direction, TileCell* records, int count) {
  RowGrid::PlaceTiles(position, direction, records, count);
  const CGame* game = GetCurrentGame();
  if (game && game->Kind() == kKindStandard && !game->HasFlag(kFlagKeepRackText) &&
      game->GetCurrentPlayer())
    SyncRackText();
}

void RackGrid::SyncRackText() {
  CGame* game = GetCurrentGame();
  GamePlayer* player = game ? game->GetCurrentPlayer() : nullptr;
  if (!player) return;
  const int places = std::min(player->RackPlaces(), kMaxRackPlaces);
  char text[kRackTextSize];
  std::memset(text, kEmptyRackPlace, sizeof text);
  text[places] = 0;
  // Letters of the old text not shown on the rack, each used once.
  int32_t missing[128] = {};
  for (int i = 0; i < places; ++i)
    if (!IsEmptyRackPlace(player->rack[i])) ++missing[player->rack[i] & 127];
  for (int c = 0; c < Columns() && c < places; ++c) {
    const char l = GetCellAt(0, c).letter;
    if (l <= kArrowDown) continue;
    text[c] = l;
    if (missing[l & 127] > 0) --missing[l & 127];
  }
  char old[kRackTextSize];
  std::memcpy(old, player->rack, sizeof old);
  int slot = 0;
  for (int i = 0; i < places; ++i) {
    const char l = old[i];
    if (IsEmptyRackPlace(l) || missing[l & 127] == 0) continue;
    while (slot < places && text[slot] != kEmptyRackPlace)
      ++slot;
    if (slot == places) break;
    text[slot] = l;
    --missing[l & 127];
  }
  int32_t count = 0;
  for (int i = 0; i < places; ++i)
    if (text[i] != kEmptyRackPlace) ++count;
  std::memcpy(player->rack, text, static_cast<size_t>(places) + 1);
  player->rackCount = count;
}

}  // namespace scene
