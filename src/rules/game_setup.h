#pragma once
// A game's set-up record: its kind, options, clocks and player entries.
#include <cstdint>

#include "rules/game_kind.h"

constexpr int kMaxPlayers = 200;
constexpr int kPlayerOptionCount = 13;

// One seat of the set-up (124 bytes in files).
struct PlayerSetupEntry {
  char name[64] = {};
  int32_t playerType = -1;  // 0 local human, 1 computer, 2 remote, -1 empty
  int32_t options[kPlayerOptionCount] = {};
  int32_t extra = 0;  // the seat's working word, cleared when a duplicate game starts
};

struct GameSetup {
  int32_t kind = kKindNone;
  int32_t flags = 0;      // GameSetupFlag bits
  int32_t clockMode = 0;  // 0 no limit, 1 per game, 2 per move
  uint8_t noStatistics = 0;
  uint8_t invalidWordForfeits = 0;
  int32_t challengeMode = 0;  // 0 none, 1 double, 2 single, 3 modified single
  uint8_t rankingGame = 0;
  int32_t language = -1;
  int32_t gameTimeMs = 0;
  int32_t moveTimeMs = 0;
  int32_t maxRounds = -1;
  int32_t playerCount = 0;
  PlayerSetupEntry entries[kMaxPlayers];

  bool HasFlag(int32_t flag) const { return (flags & flag) != 0; }

  // Appends an entry; false (nothing changed) when all kMaxPlayers are used.
  bool AddPlayer(const PlayerSetupEntry& entry);
  // Moves the later entries down; the freed last one becomes empty. False
  // for an index outside the entries in use.
  bool RemovePlayer(int index);
  // The count, held within 0..kMaxPlayers.
  void SetPlayerCount(int count);
  // The count, held within 0..kMaxPlayers (a count read from a file may be
  // anything).
  int GetPlayerCount() const;
};
