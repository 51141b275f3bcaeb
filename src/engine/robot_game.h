#pragma once
// What a robot's think pass reads from the game it plays for: the kind and
// set-up flags, the round, the bag and the players it judges moves for. The
// game layer hands its robots a fresh view before each search
// (Robot::SetGameView); the pointers stay owned by the game, which does not
// change them while a pass runs. Without a view a robot plays a standard game
// with an empty bag.
#include <cstdint>

#include "game/game_kind.h"

class CGame;
class GamePlayer;
class Robot;
class TileBag;

struct RobotGameView {
  int32_t kind = kKindStandard;
  int32_t flags = 0;  // GameSetupFlag bits
  int32_t roundCount = 0;
  int32_t anagramLength = 0;        // the anagram game's required word length
  int32_t crossagramMaxLength = 0;  // longest word of a crossagram game; 0: no limit
  const TileBag* bag = nullptr;
  const GamePlayer* currentPlayer = nullptr;  // whose move is judged
  // Duplicate games: the reference player, and the last of the game's
  // players that this robot drives.
  const GamePlayer* referencePlayer = nullptr;
  const GamePlayer* ownPlayer = nullptr;

  bool HasFlag(int32_t flag) const { return (flags & flag) != 0; }
};

// The view of the game for `robot`: kind, flags, round, bag, current player,
// the reference player and the last player `robot` drives. The side-game
// limits (anagram length, crossagram word length) are the caller's to add.
RobotGameView MakeRobotGameView(const CGame& game, const Robot* robot = nullptr);
