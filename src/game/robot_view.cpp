#include "game/robot_view.h"

#include <cstring>

#include "game/game.h"
#include "game/player.h"

RobotPlayerView MakeRobotPlayerView(const GamePlayer& player) {
  RobotPlayerView v;
  v.playerIndex = player.playerIndex;
  v.score = player.score;
  v.rating = player.rating;
  std::memcpy(v.rack, player.rack, sizeof v.rack);
  std::memcpy(v.options, player.entry.options, sizeof v.options);
  return v;
}

RobotGameView MakeRobotGameView(const CGame& game, const Robot* robot) {
  RobotGameView v;
  v.kind = game.Kind();
  v.flags = game.setup.flags;
  v.roundCount = game.roundCount;
  v.bag = &game.bag;
  if (const GamePlayer* current = game.currentPlayer) {
    v.hasCurrent = true;
    v.current = MakeRobotPlayerView(*current);
  }
  if (const GamePlayer* reference = game.referencePlayer.get()) {
    v.hasReference = true;
    v.reference = MakeRobotPlayerView(*reference);
  }
  for (int i = 0; i < kMaxPlayers; ++i) {
    const GamePlayer* p = game.Player(i);
    if (!p) continue;
    v.players.push_back(MakeRobotPlayerView(*p));
    if (robot && p->GetRobot() == robot) {
      v.hasOwn = true;
      v.own = v.players.back();
    }
  }
  return v;
}
