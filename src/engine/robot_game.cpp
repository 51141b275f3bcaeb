#include "engine/robot_game.h"

#include "game/game.h"

RobotGameView MakeRobotGameView(const CGame& game) {
  RobotGameView v;
  v.kind = game.Kind();
  v.flags = game.setup.flags;
  v.roundCount = game.roundCount;
  v.bag = &game.bag;
  v.currentPlayer = game.currentPlayer;
  return v;
}
