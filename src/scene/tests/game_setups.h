#pragma once
// Games the scene tests start from: the set-up that pits the user against one
// computer player, a single human's standard game with its turn running,
// and whether a human is to choose a move.
#include <cstdio>

#include "engine/robot_settings.h"
#include "game/game.h"
#include "game/player.h"
#include "game/session_registry.h"
#include "rules/rules.h"

namespace scenetest {

// Fills a set-up with the user ("Ann") against one computer ("Robot").
inline void SetUpHumanAgainstComputer(CGame* game) {
  game->setup.SetPlayerCount(0);
  game->setup.kind = kKindStandard;
  PlayerSetupEntry e;
  SettingsToOptions(RobotSettings(), e.options);
  std::snprintf(e.name, sizeof e.name, "%s", "Ann");
  e.playerType = kPlayerHuman;
  game->setup.AddPlayer(e);
  std::snprintf(e.name, sizeof e.name, "%s", "Robot");
  e.playerType = kPlayerComputer;
  game->setup.AddPlayer(e);
}

// A new game with one human player, registered and current, its turn running;
// null when the registry refuses it.
inline CGame* StartOneHumanGame() {
  GlobalRules().Setup(0, 7);
  CGame* game = CreateGame();
  if (RegisterGame(game, 1) != kRegistered) return nullptr;
  MakeGameCurrent(game);
  PlayerSetupEntry e;
  e.playerType = kPlayerHuman;
  game->setup.kind = kKindStandard;
  game->setup.AddPlayer(e);
  game->CreatePlayers();
  game->state = kStateTurnRunning;
  return game;
}

// Whether it is a human player's turn and he has yet to choose a move.
inline bool HumanDeciding(const CGame* g) {
  return g && g->state == kStateTurnRunning && g->currentPlayer &&
         g->currentPlayer->Type() == kPlayerHuman && g->currentPlayer->turnPhase == kPhaseDeciding;
}

}  // namespace scenetest
