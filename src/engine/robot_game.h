#pragma once
// What a robot's think pass reads from the game it plays for: the kind and
// set-up flags, the round, the bag and the players it judges moves for. The
// game layer hands its robots a fresh view before each search
// (Robot::SetGameView). The players are copies taken then; the bag stays
// owned by the game, which does not change it while a pass runs. Without a
// view a robot plays a standard game with an empty bag.
#include <cstdint>
#include <vector>

#include "rules/game_kind.h"
#include "rules/game_setup.h"
#include "rules/letters.h"

class TileBag;

// What the evaluation reads of one player.
struct RobotPlayerView {
  int32_t playerIndex = 0;
  int32_t score = 0;
  int32_t rating = 0;
  char rack[kRackTextSize] = {};
  int32_t options[kPlayerOptionCount] = {};  // its robot settings' option words
};

struct RobotGameView {
  int32_t kind = kKindStandard;
  int32_t flags = 0;  // GameSetupFlag bits
  int32_t roundCount = 0;
  int32_t anagramLength = 0;        // the anagram game's required word length
  int32_t crossagramMaxLength = 0;  // longest word of a crossagram game; 0: no limit
  const TileBag* bag = nullptr;
  // The game's players in seat order; empty when the view names no game.
  std::vector<RobotPlayerView> players;
  // Whose move is judged; without one the robot's own settings stand for it.
  bool hasCurrent = false;
  RobotPlayerView current;
  // Duplicate games: the reference player, and the last of the game's
  // players that this robot drives.
  bool hasReference = false;
  RobotPlayerView reference;
  bool hasOwn = false;
  RobotPlayerView own;

  const RobotPlayerView* CurrentPlayer() const { return hasCurrent ? &current : nullptr; }
  const RobotPlayerView* ReferencePlayer() const { return hasReference ? &reference : nullptr; }
  const RobotPlayerView* OwnPlayer() const { return hasOwn ? &own : nullptr; }
  bool HasFlag(int32_t flag) const { return (flags & flag) != 0; }
};
