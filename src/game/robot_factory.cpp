#include "game/robot_factory.h"

#include "engine/robot.h"
#include "game/player_robot.h"

namespace {

void Configure(Robot& robot, const int32_t* options, const GameRules* rules) {
  if (options) {
    const RobotSettings settings = SettingsFromOptions(options);
    robot.CreateEvaluators(&settings);
  } else {
    robot.CreateEvaluators(nullptr);
  }
  robot.SetGameParams(rules);
}

Robot* Create(const int32_t* options, const GameRules* rules) {
  Robot* robot = new quickBot2usingDawg();
  Configure(*robot, options, rules);
  return robot;
}

// A copy keeps the position and found moves; its components come from the
// copied player's options.
Robot* Copy(const Robot& other, const int32_t* options) {
  const auto* bot = dynamic_cast<const quickBot2usingDawg*>(&other);
  Robot* robot = bot ? new quickBot2usingDawg(*bot) : new quickBot2usingDawg();
  if (options) {
    const RobotSettings settings = SettingsFromOptions(options);
    robot->CreateEvaluators(&settings);
  }
  return robot;
}

void Destroy(Robot* robot) {
  if (!robot) return;
  robot->CancelThinking();
  delete robot;
}

}  // namespace

void InstallPlayerRobotFactory() {
  PlayerRobotFactory f;
  f.create = &Create;
  f.copy = &Copy;
  f.configure = &Configure;
  f.destroy = &Destroy;
  SetPlayerRobotFactory(f);
}
