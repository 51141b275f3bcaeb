// The robot's side of the evaluation: the context its components read while
// a pass runs, made from the game view the game layer handed the robot.
#include "engine/eval_pass.h"

#include "engine/robot.h"
#include "game/game.h"
#include "game/player.h"

EvaluationContext MakeEvaluationContext(Robot& robot) {
  const RobotGameView& view = robot.GameView();
  EvaluationContext c;
  c.kind = view.kind;
  c.roundCount = view.roundCount;
  c.gameBag = view.bag;
  c.rules = robot.Board().rules;
  c.robot = &robot;
  const GamePlayer* current = view.currentPlayer;
  if (const CGame* game = current ? current->Game() : nullptr) {
    for (int i = 0; i < kMaxPlayers; ++i)
      if (const GamePlayer* p = game->Player(i)) c.players.push_back(p);
  } else if (current) {
    c.players.push_back(current);
  }
  return c;
}
