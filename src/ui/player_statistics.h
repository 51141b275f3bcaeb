#pragma once
// One player's figures for a finished game, as the statistics dialog lists
// them, and the walk back and forth through the current game's moves.
#include <cstdint>
#include <string>
#include <vector>

class CGame;
class GamePlayer;

namespace ui {

struct StatisticsRow {
  std::string label;
  std::string value;
};

// The rows by game kind (0 classic, 1 duplicate; no rows for the others).
// `reference` is the duplicate reference player (null elsewhere).
std::vector<StatisticsRow> PlayerStatisticsRows(const GamePlayer& player, int kind,
                                                const GamePlayer* reference);

// One history entry back (or forward) on the game, the game rebuilt there;
// false, after telling the user, when there is no game or nothing left.
bool TakeBackMove(CGame* game);
bool ReplayMove(CGame* game);

}  // namespace ui
