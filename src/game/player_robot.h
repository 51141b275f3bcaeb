#pragma once
// How a player gets its computer opponent. The game layer never constructs
// a robot itself: the word engine installs a factory at start-up, and every
// GamePlayer made with a robot asks it. Without a factory players have no
// robot (the game layer's own tests, tools).
//
// `options` is the owning player's 13 option words (its RobotSettings, in
// the byte layout of engine/robot_settings.h). They stay at the same address
// for the player's whole life, so a robot may keep pointing at them; they
// change only through GamePlayer::Setup, which configures the robot again.
#include <cstdint>

class Robot;
struct GameRules;

struct PlayerRobotFactory {
  // A new robot, set up for play: its evaluators made from `options` and its
  // game parameters set to `rules`. Null when it cannot be made.
  Robot* (*create)(const int32_t* options, const GameRules* rules) = nullptr;
  // A copy of `other` for a copied player whose option words are `options`.
  // Null when it cannot be made.
  Robot* (*copy)(const Robot& other, const int32_t* options) = nullptr;
  // Makes the evaluators again from `options` and sets the game parameters.
  void (*configure)(Robot& robot, const int32_t* options, const GameRules* rules) = nullptr;
  // Deletes a robot this factory made (cancelling its thinking first). When
  // null the robot is deleted through its virtual destructor.
  void (*destroy)(Robot* robot) = nullptr;
};

// Installs the factory (copied); returns the previous one. An empty factory
// stops players getting robots.
PlayerRobotFactory SetPlayerRobotFactory(const PlayerRobotFactory& factory);
const PlayerRobotFactory& GetPlayerRobotFactory();

// Owns one robot through the installed factory. Moving hands the robot over;
// copying is the owner's business (GamePlayer copies with its own options).
class PlayerRobot {
 public:
  PlayerRobot() = default;
  ~PlayerRobot() { Reset(); }
  PlayerRobot(PlayerRobot&& other) noexcept : robot_(other.robot_) { other.robot_ = nullptr; }
  PlayerRobot& operator=(PlayerRobot&& other) noexcept;
  PlayerRobot(const PlayerRobot&) = delete;
  PlayerRobot& operator=(const PlayerRobot&) = delete;

  Robot* get() const { return robot_; }
  explicit operator bool() const { return robot_ != nullptr; }

  // Creates the robot when there is none (and a factory); configures it when
  // it exists. Returns whether there is a robot afterwards.
  bool Setup(const int32_t* options, const GameRules* rules);
  // Replaces the robot with a copy of `other`'s (none when other has none).
  void CopyFrom(const PlayerRobot& other, const int32_t* options);
  void Reset();

 private:
  Robot* robot_ = nullptr;
};
