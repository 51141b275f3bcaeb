#include "Modules/FriendService/Src/PlayerLists.h"

#include "Modules/Core/Src/Cache/ServiceCache.h"
#include "Modules/Core/Src/Players/LocalPlayer.h"
#include "Modules/Core/Src/ToolboxCore.h"
#include "Modules/Core/Src/Types/String.h"

namespace OX_Toolbox {

namespace {

ServiceCache* listOf(const LocalPlayer* owner, int kind, std::uint64_t key, bool create) {
  if (!owner || !owner->getCacheStore()) return nullptr;
  ServiceCacheStore* store = owner->getCacheStore();
  return create ? store->addCachedObject(kind, key) : store->findCachedObject(kind, key);
}

}  // namespace

void AddToPlayerList(LocalPlayer* owner, int kind, const PlayerID& player, std::uint64_t key) {
  if (owner && owner->getCacheStore())
    owner->getCacheStore()->getOrCreateForPlayer(kind, player, key);
}

void RemoveFromPlayerList(LocalPlayer* owner, int kind, const PlayerID& player, std::uint64_t key) {
  if (ServiceCache* list = listOf(owner, kind, key, false)) list->remove(player);
}

bool PlayerListContains(const LocalPlayer* owner, int kind, const PlayerID& player,
                        std::uint64_t key) {
  const ServiceCache* list = listOf(owner, kind, key, false);
  return list && list->contains(player);
}

ToolboxVector<PlayerID> CopyPlayerList(const LocalPlayer* owner, int kind, std::uint64_t key) {
  ToolboxVector<PlayerID> out;
  if (const ServiceCache* list = listOf(owner, kind, key, false)) {
    for (const CacheEntry* e : list->entries())
      out.push_back(e->player);
  }
  return out;
}

bool HasPlayerList(const LocalPlayer* owner, int kind, std::uint64_t key) {
  return listOf(owner, kind, key, false) != nullptr;
}

LocalPlayer* LoggedInLocalPlayer(int index) {
  ToolboxCore* core = ToolboxCore::instance();
  return core ? core->getLocalPlayer(index) : nullptr;
}

LocalPlayer* LoggedInLocalPlayer(const PlayerID& player) {
  ToolboxCore* core = ToolboxCore::instance();
  LocalPlayer* p = core ? core->getLoggedInLocalPlayer(player) : nullptr;
  return p && p->isOwnPlayer() ? p : nullptr;
}

LocalPlayer* RegisterPlayer(const PlayerID& player, const char* name) {
  ToolboxCore* core = ToolboxCore::instance();
  if (!core) return nullptr;
  if (LocalPlayer* known = core->findLocalPlayer(player)) return known;
  core->addLocalPlayer(String(name ? name : ""), player);
  return core->findLocalPlayer(player);
}

void SetPlayerFlag(const PlayerID& player, std::uint32_t bit, bool on) {
  ToolboxCore* core = ToolboxCore::instance();
  LocalPlayer* record = core ? core->findLocalPlayer(player) : nullptr;
  if (!record) return;
  const std::uint32_t flags = record->getClanFlags();
  record->setClanFlags(on ? flags | bit : flags & ~bit);
}

}  // namespace OX_Toolbox
