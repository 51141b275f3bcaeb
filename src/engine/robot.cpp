#include "engine/robot.h"

#include "game/rules.h"

Robot::Robot() = default;
Robot::~Robot() = default;

bool Robot::SetGameParams(const GameRules* rules) {
  rules_ = rules;
  return true;
}

int Robot::BoardSide() const {
  // The word-finder robots get no rules of their own: they follow the game's.
  const GameRules& rules = rules_ ? *rules_ : GlobalRules();
  // A side outside 1..15 (no game set up yet) would let words outgrow a slot.
  if (rules.boardSide <= 0 || rules.boardSide > kMaxWordLetters) return kMaxWordLetters;
  return rules.boardSide;
}
