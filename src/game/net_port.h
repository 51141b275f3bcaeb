#pragma once
// What the game layer reads from the online front-end: whether this is a
// network game, and the rack a peer reported for one of its players. The
// front-end installs its implementation; tests install a fake. With none
// installed there is no network game.
#include <cstddef>
#include <cstdint>

#include "rules/letters.h"

enum NetworkMode : int32_t {
  kNetworkNone = 0,
  kNetworkLan = 1,
  kNetworkInternet = 2,
};

class GameNetPort {
 public:
  virtual ~GameNetPort() = default;

  virtual int32_t GetNetworkMode() { return kNetworkNone; }
  // The rack text (up to kMaxRackPlaces bytes) and rack count of the last
  // turn message received for this player; false when none was received.
  // What a peer sends is untrusted: the caller checks it before use.
  virtual bool GetReceivedRack(int32_t playerIndex, char rack[kRackTextSize], int32_t* count) {
    (void)playerIndex;
    (void)rack;
    (void)count;
    return false;
  }

  // --- Turn messages (decide.cpp, turns.cpp) ---
  // This machine's player index in a network game.
  virtual int32_t LocalPlayerIndex() { return 0; }
  // Queues a game message (a 553-byte turn message) for the other players.
  virtual void SendGameMessage(const uint8_t* data, size_t size) {
    (void)data;
    (void)size;
  }
  // Moves the oldest incoming game message into its slot.
  virtual void ApplyPendingGameDescription() {}
  // When a new turn message arrived for this player's slot: copies its
  // bytes (as received, at most `capacity`) into `out`, clears the slot's
  // flag and returns the size copied; 0 when nothing new arrived. The bytes
  // are the peer's: the caller decodes and checks them.
  virtual size_t TakeReceivedMessage(int32_t playerIndex, uint8_t* out, size_t capacity) {
    (void)playerIndex;
    (void)out;
    (void)capacity;
    return 0;
  }
};

GameNetPort* SetGameNetPort(GameNetPort* port);
GameNetPort& GetGameNetPort();
inline bool IsNetworkGame() { return GetGameNetPort().GetNetworkMode() != kNetworkNone; }
