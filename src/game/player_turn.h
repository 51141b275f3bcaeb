#pragma once
// What a player hands to the turn when it has decided (PlayerAction), what
// it asked for (request) and how its last turn went (lastAction).
#include <cstdint>
#include <vector>

#include "rules/robot_move.h"
#include "game/player_message.h"

// PlayerAction::code.
enum ActionCode : int32_t {
  kActionPlay = 0,
  kActionPass = 1,
  kActionTurnLost = 2,  // out of time or forfeit
  kActionChallenge = 3,
  kActionExchange = 4,
};

// GamePlayer::lastAction: the outcome of its last turn.
enum LastAction : int32_t {
  kLastNone = 0,
  kLastPassed = 1,
  kLastExchanged = 2,
  kLastPlayed = 3,
  kLastChallenged = 4,
  kLastOutOfTime = -1,
  kLastInvalidWord = -2,
  kLastChallengeFailed = -3,
};

struct PlayerAction {
  int32_t code = kActionPass;
  RobotMove move;                         // the first word of the move played
  std::vector<RobotMove> contestedWords;  // the words a challenge names
};
