#pragma once
// The per-player lists the friend and clan services keep in each local
// player's cache store, by kind: 0 friends, 1 blocked players, 2 senders of
// arrived messages, 3 friendship requests sent, 4 received, 5 players to
// invite, 6 clan members with rank, 7 to 9 clan lists. Friend lists use key
// 0; clan member lists are keyed by the clan id.
#include <cstdint>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "Modules/Core/Src/Types/PlayerID.h"

namespace OX_Toolbox {

class LocalPlayer;

enum PlayerListKind {
  LIST_FRIENDS = 0,
  LIST_BLOCKED = 1,
  LIST_MESSAGE_SENDERS = 2,
  LIST_REQUESTS_SENT = 3,
  LIST_REQUESTS_RECEIVED = 4,
  LIST_INVITEES = 5,
  LIST_CLAN_MEMBERS = 6,
};

// Each does nothing for a null player or one without a cache store. Adding
// to a full list drops its oldest entry first.
void AddToPlayerList(LocalPlayer* owner, int kind, const PlayerID& player, std::uint64_t key = 0);
void RemoveFromPlayerList(LocalPlayer* owner, int kind, const PlayerID& player,
                          std::uint64_t key = 0);
bool PlayerListContains(const LocalPlayer* owner, int kind, const PlayerID& player,
                        std::uint64_t key = 0);
// A copy of the list, oldest first; empty without one.
ToolboxVector<PlayerID> CopyPlayerList(const LocalPlayer* owner, int kind, std::uint64_t key = 0);
bool HasPlayerList(const LocalPlayer* owner, int kind, std::uint64_t key = 0);

// The logged-in local player with that slot index, or null.
LocalPlayer* LoggedInLocalPlayer(int index);
// The logged-in local player with that identity, or null.
LocalPlayer* LoggedInLocalPlayer(const PlayerID& player);
// Registers another player with the core under a name (so a record exists
// for it) and returns that record, or null without a core.
LocalPlayer* RegisterPlayer(const PlayerID& player, const char* name);
// Sets or clears bits of the core's record of a player, when there is one.
void SetPlayerFlag(const PlayerID& player, std::uint32_t bit, bool on);

}  // namespace OX_Toolbox
