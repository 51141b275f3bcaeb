#include "game/player_robot.h"

#include "engine/robot.h"

namespace {
PlayerRobotFactory& Factory() {
  static PlayerRobotFactory factory;
  return factory;
}
}  // namespace

PlayerRobotFactory SetPlayerRobotFactory(const PlayerRobotFactory& factory) {
  PlayerRobotFactory previous = Factory();
  Factory() = factory;
  return previous;
}

const PlayerRobotFactory& GetPlayerRobotFactory() { return Factory(); }

PlayerRobot& PlayerRobot::operator=(PlayerRobot&& other) noexcept {
  if (this != &other) {
    Reset();
    robot_ = other.robot_;
    other.robot_ = nullptr;
  }
  return *this;
}

bool PlayerRobot::Setup(const int32_t* options, const GameRules* rules) {
  const PlayerRobotFactory& f = Factory();
  if (!robot_) {
    if (f.create) robot_ = f.create(options, rules);
  } else if (f.configure) {
    f.configure(*robot_, options, rules);
  }
  return robot_ != nullptr;
}

void PlayerRobot::CopyFrom(const PlayerRobot& other, const int32_t* options) {
  if (this == &other) return;
  Reset();
  const PlayerRobotFactory& f = Factory();
  if (other.robot_ && f.copy) robot_ = f.copy(*other.robot_, options);
}

void PlayerRobot::Reset() {
  if (!robot_) return;
  Robot* robot = robot_;
  robot_ = nullptr;
  if (Factory().destroy)
    Factory().destroy(robot);
  else
    delete robot;
}
