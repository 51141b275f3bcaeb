#include "rules/rules.h"

#include <algorithm>
#include <cstring>

#include "rules/game_setup.h"
#include "rules/tileset.h"

namespace {
// Boards are at most 15 x 15: a rack of r gives a side of 2r + 1, so larger
// racks only enlarge the rack, never the board.
constexpr int kMaxHalfSide = (kMaxBoardSide - 1) / 2;
}  // namespace

GameRules& GlobalRules() {
  static GameRules rules;
  return rules;
}

void GameRules::Setup(int index, int rack, const GameSetup* currentGame) {
  tileSetIndex = index;
  LoadTileSet(index);
  LoadBoardLayout(rack, currentGame);
}

void GameRules::LoadTileSet(int index) {
  totalTiles = 0;
  const TileSet* set = GetTileSet(index);
  if (!set) return;
  std::memcpy(letterCodes, set->codes, sizeof letterCodes);
  std::memcpy(letterValues, set->values, sizeof letterValues);
  std::memcpy(tileCounts, set->counts, sizeof tileCounts);
  std::memcpy(leaveWeights, set->leaveWeights, sizeof leaveWeights);
  RecountTiles();
  letterCount = TileSetLetterCount(index);
}

void GameRules::RecountTiles() {
  totalTiles = 0;
  for (int32_t c : tileCounts)
    totalTiles += c;
}

void GameRules::LoadBoardLayout(int rack, const GameSetup* game) {
  const int half = std::clamp(rack, 0, kMaxHalfSide);
  const int32_t kind = game ? game->kind : kKindNone;
  if (IsSingleRowKind(kind)) {
    // The side left by the previous game stays; the rack fills the row.
    boardSide = std::clamp(boardSide, 0, kMaxBoardSide);
    centre = 0;
    rackSize = boardSide;
  } else {
    rackSize = std::clamp(rack, 0, kMaxRackPlaces);
    centre = half;
    boardSide = 2 * half + 1;
    if (game && kind == kKindCrossagram) rackSize = boardSide;
  }
  if (!game) return;  // outside a game the premium map stays as it is
  if (game->HasFlag(kFlagSevenOfEight) || game->HasFlag(kFlagEightOfEight)) rackSize = 8;

  std::memset(premiumMap, 0, sizeof premiumMap);
  if (kind == kKindConundrum) {
    for (int c = 0; c < boardSide; ++c)
      premiumMap[c] = static_cast<uint8_t>(RowLayoutPremium(boardSide, c));
    return;
  }
  for (int r = 0; r < boardSide; ++r)
    for (int c = 0; c < boardSide; ++c)
      premiumMap[r * kBoardStride + c] = static_cast<uint8_t>(SquareLayoutPremium(boardSide, r, c));
}
