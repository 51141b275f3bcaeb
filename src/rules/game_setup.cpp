#include "rules/game_setup.h"

#include <algorithm>

bool GameSetup::AddPlayer(const PlayerSetupEntry& entry) {
  const int n = GetPlayerCount();
  if (n >= kMaxPlayers) return false;
  entries[n] = entry;
  playerCount = n + 1;
  return true;
}

bool GameSetup::RemovePlayer(int index) {
  const int n = GetPlayerCount();
  if (index < 0 || index >= n) return false;
  std::move(entries + index + 1, entries + n, entries + index);
  entries[n - 1] = PlayerSetupEntry();
  playerCount = n - 1;
  return true;
}

void GameSetup::SetPlayerCount(int count) { playerCount = std::clamp(count, 0, kMaxPlayers); }

int GameSetup::GetPlayerCount() const { return std::clamp<int>(playerCount, 0, kMaxPlayers); }
