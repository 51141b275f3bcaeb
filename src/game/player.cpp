#include "game/player.h"

#include <algorithm>
#include <cstring>

#include "game/rules.h"

namespace {
int RackPlaces(const GameRules& rules) {
  return std::clamp<int>(rules.rackSize, 0, kMaxRackPlaces);
}
}  // namespace

GamePlayer::GamePlayer(int index) : playerIndex(index) {
  std::memset(rack, kEmptyRackPlace, 7);  // "_______" until the rules give a size
}

int32_t GamePlayer::RackValue(const GameRules& rules) const {
  int32_t sum = 0;
  for (int i = 0; i < RackPlaces(rules); ++i)
    if (!IsEmptyRackPlace(rack[i])) sum += rules.LetterValue(rack[i]);
  return sum;
}

bool GamePlayer::HasTilesLeft(const GameRules& rules) const {
  for (int i = 0; i < RackPlaces(rules); ++i)
    if (!IsEmptyRackPlace(rack[i])) return true;
  return false;
}
