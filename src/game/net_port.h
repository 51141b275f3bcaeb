#pragma once
// What the game layer reads from the online front-end: whether this is a
// network game, and the rack a peer reported for one of its players. The
// front-end installs its implementation; tests install a fake. With none
// installed there is no network game.
#include <cstdint>

#include "game/letters.h"

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
};

GameNetPort* SetGameNetPort(GameNetPort* port);
GameNetPort& GetGameNetPort();
inline bool IsNetworkGame() { return GetGameNetPort().GetNetworkMode() != kNetworkNone; }
