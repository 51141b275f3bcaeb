#pragma once
// One seat of a game: its rack and score, and the copy of its set-up entry.
#include <cstdint>

#include "game/game_setup.h"
#include "game/letters.h"

struct GameRules;

class GamePlayer {
 public:
  explicit GamePlayer(int index = 0);

  // Sum of the letter values of the rack's first rackSize places ('_' and
  // NUL skipped; blanks are worth 0).
  int32_t RackValue(const GameRules& rules) const;
  // True when some of the first rackSize places holds a tile or a blank.
  bool HasTilesLeft(const GameRules& rules) const;

  int32_t playerIndex = 0;
  int32_t score = 0;
  int32_t moveScore = 0;  // the pending move's score, added when it stands
  int32_t rackCount = 0;  // tiles on the rack
  char rack[kRackTextSize] = {};
  char anagramAnswer[kRackTextSize] = {};
  int32_t blankOwed = 0;  // 1 while the blank-per-player game owes a blank
  PlayerSetupEntry entry;
};
