#include "engine/robot_game.h"

#include "game/game.h"
#include "game/player.h"

RobotGameView MakeRobotGameView(const CGame& game, const Robot* robot) {
  RobotGameView v;
  v.kind = game.Kind();
  v.flags = game.setup.flags;
  v.roundCount = game.roundCount;
  v.bag = &game.bag;
  v.currentPlayer = game.currentPlayer;
  v.referencePlayer = game.referencePlayer.get();
  for (int i = 0; i < kMaxPlayers; ++i) {
    const GamePlayer* p = game.Player(i);
    if (p && robot && p->GetRobot() == robot) v.ownPlayer = p;
  }
  return v;
}
