// The robot's side of the evaluation: the context its components read while
// a pass runs, made from the game view the game layer handed the robot.
#include "engine/eval_pass.h"

#include "engine/robot.h"

EvaluationContext MakeEvaluationContext(Robot& robot) {
  const RobotGameView& view = robot.GameView();
  EvaluationContext c;
  c.kind = view.kind;
  c.roundCount = view.roundCount;
  c.gameBag = view.bag;
  c.rules = robot.Board().rules;
  c.robot = &robot;
  // The game's players when the view names a current player; that player
  // alone when the view names no game.
  if (const RobotPlayerView* current = view.CurrentPlayer()) {
    if (view.players.empty()) {
      c.players.push_back(current);
    } else {
      for (const RobotPlayerView& p : view.players)
        c.players.push_back(&p);
    }
  }
  return c;
}
