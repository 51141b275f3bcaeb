#pragma once
// Recording stand-ins for what the game layer asks of the window side, the
// network layer and the word engine's robot factory. Each installs itself on
// construction and restores what was there on destruction.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "game/game.h"
#include "game/net_port.h"
#include "game/player_robot.h"
#include "rules/rules.h"
#include "game/ui_port.h"

namespace gamefakes {

class RecordingUiPort : public GameUiPort {
 public:
  RecordingUiPort() : previous_(SetGameUiPort(this)) {}
  ~RecordingUiPort() override { SetGameUiPort(previous_); }

  void PostFrameMessage(uint32_t message) override { framePosts.push_back(message); }
  void BroadcastGameChanged(CGame* game, uintptr_t what) override {
    broadcasts.emplace_back(game, what);
  }
  void RefreshPlayerPanels() override {
    ++panelRefreshes;
    if (onPanelRefresh) onPanelRefresh();
  }
  void RedrawGameInfoStrip() override { ++infoStripRedraws; }
  void RefreshRemainderWindow() override { ++remainderRefreshes; }
  void ShowRoundResults(CGame& game) override { roundResults.emplace_back(&game, game.roundCount); }
  void PrepareCrossagramGrid(CGame& game) override { crossagramGrids.push_back(&game); }
  bool BoardViewPending() override { return boardViewPending; }
  int32_t CurrentUserLanguage() override { return language; }
  int32_t RackSortingSetting() override { return rackSorting; }
  void DebugOutput(const char* text) override { debugLines.emplace_back(text); }

  std::vector<uint32_t> framePosts;
  std::vector<std::pair<CGame*, uintptr_t>> broadcasts;
  std::vector<CGame*> crossagramGrids;
  std::vector<std::pair<CGame*, int32_t>> roundResults;  // game, its round then
  std::vector<std::string> debugLines;
  int panelRefreshes = 0;
  std::function<void()> onPanelRefresh;  // sees the game as the panels would
  int infoStripRedraws = 0;
  int remainderRefreshes = 0;
  bool boardViewPending = false;
  int32_t language = 0;
  int32_t rackSorting = 0;

 private:
  GameUiPort* previous_;
};

class FakeNetPort : public GameNetPort {
 public:
  FakeNetPort() : previous_(SetGameNetPort(this)) {}
  ~FakeNetPort() override { SetGameNetPort(previous_); }

  int32_t GetNetworkMode() override { return mode; }
  bool GetReceivedRack(int32_t playerIndex, char rack[kRackTextSize], int32_t* count) override {
    auto it = racks.find(playerIndex);
    if (it == racks.end()) return false;
    std::memset(rack, 0, kRackTextSize);
    std::memcpy(rack, it->second.first.data(), std::min<size_t>(it->second.first.size(), 20));
    *count = it->second.second;
    return true;
  }

  int32_t mode = kNetworkNone;
  std::map<int32_t, std::pair<std::string, int32_t>> racks;  // text, count

 private:
  GameNetPort* previous_;
};

// What the fake factory hands out in place of an engine robot. The game
// layer never looks inside a robot, so the handle is only stored, compared
// and given back to the factory.
struct FakeRobot {
  const int32_t* options = nullptr;
  int32_t optionsAtSetup[13] = {};
  const GameRules* rules = nullptr;
  int configured = 0;
  bool copied = false;
};

class FakeRobotFactory {
 public:
  FakeRobotFactory() {
    Instance() = this;
    PlayerRobotFactory f;
    f.create = &Create;
    f.copy = &Copy;
    f.configure = &Configure;
    f.destroy = &Destroy;
    previous_ = SetPlayerRobotFactory(f);
  }
  ~FakeRobotFactory() {
    SetPlayerRobotFactory(previous_);
    Instance() = nullptr;
  }

  static FakeRobot* Of(Robot* robot) { return reinterpret_cast<FakeRobot*>(robot); }

  int live = 0;
  int made = 0;

 private:
  static FakeRobotFactory*& Instance() {
    static FakeRobotFactory* instance = nullptr;
    return instance;
  }
  static Robot* Handle(FakeRobot* r) {
    ++Instance()->live;
    ++Instance()->made;
    return reinterpret_cast<Robot*>(r);
  }
  static Robot* Create(const int32_t* options, const GameRules* rules) {
    auto* r = new FakeRobot;
    Configure(*reinterpret_cast<Robot*>(r), options, rules);
    return Handle(r);
  }
  static Robot* Copy(const Robot& other, const int32_t* options) {
    auto* r = new FakeRobot(*reinterpret_cast<const FakeRobot*>(&other));
    r->options = options;
    r->copied = true;
    return Handle(r);
  }
  static void Configure(Robot& robot, const int32_t* options, const GameRules* rules) {
    FakeRobot* r = Of(&robot);
    r->options = options;
    std::memcpy(r->optionsAtSetup, options, sizeof r->optionsAtSetup);
    r->rules = rules;
    ++r->configured;
  }
  static void Destroy(Robot* robot) {
    --Instance()->live;
    delete Of(robot);
  }

  PlayerRobotFactory previous_;
};

}  // namespace gamefakes
