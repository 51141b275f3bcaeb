#include "Modules/Core/Src/Cache/ServiceCache.h"

namespace OX_Toolbox {

namespace {

constexpr int kLimits[ServiceCacheStore::kKinds] = {100, 100, 20, 10, 10, 32, 100, 10, 10, 32};
constexpr int kPlayerEntryKind = 6;
constexpr int kEmptyKind = 8;

}  // namespace

ServiceCache::~ServiceCache() {
  for (CacheEntry* e : m_entries)
    delete e;
}

CacheEntry* ServiceCache::find(const PlayerID& player) const {
  for (CacheEntry* e : m_entries) {
    if (e->player == player) return e;
  }
  return nullptr;
}

CacheEntry* ServiceCache::entryFor(const PlayerID& player) {
  if (CacheEntry* e = find(player)) return e;
  auto* e = new CacheEntry();
  e->player = player;
  m_entries.push_back(e);
  return e;
}

void ServiceCache::trim() {
  if (m_entries.empty()) return;
  delete m_entries.front();
  m_entries.erase(m_entries.begin());
}

bool ServiceCache::remove(const PlayerID& player) {
  for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
    if ((*it)->player == player) {
      delete *it;
      m_entries.erase(it);
      return true;
    }
  }
  return false;
}

bool ServiceCache::contains(const PlayerID& player) const { return find(player) != nullptr; }

ServiceCacheList::~ServiceCacheList() {
  for (ServiceCache* c : m_objects)
    delete c;
}

ServiceCache* ServiceCacheList::findById(std::uint64_t id) const {
  for (ServiceCache* c : m_objects) {
    if (c->getId() == id) return c;
  }
  return nullptr;
}

ServiceCache* ServiceCacheList::findByName(const String& name) const {
  for (ServiceCache* c : m_objects) {
    if (c->getName().equals(name)) return c;
  }
  return nullptr;
}

bool ServiceCacheList::add(ServiceCache* object) {
  if (!object || findById(object->getId()) || findByName(object->getName())) return false;
  m_objects.push_back(object);
  return true;
}

int ServiceCacheStore::limitOf(int kind) { return kind >= 0 && kind < kKinds ? kLimits[kind] : 0; }

ServiceCacheStore::ServiceCacheStore() {
  for (int kind = 0; kind < kKinds; ++kind) {
    auto* list = new ServiceCacheList(kind);
    m_lists.push_back(list);
    if (kind == kEmptyKind) continue;
    ServiceCache* object = kind == kPlayerEntryKind
                               ? static_cast<ServiceCache*>(new PlayerEntryCache())
                               : new FriendServiceCache();
    list->add(object);
  }
}

ServiceCacheStore::~ServiceCacheStore() {
  for (ServiceCacheList* l : m_lists)
    delete l;
}

ServiceCacheList* ServiceCacheStore::findCacheList(int kind) const {
  return kind >= 0 && kind < kKinds ? m_lists[static_cast<std::size_t>(kind)] : nullptr;
}

const ToolboxVector<ServiceCache*>* ServiceCacheStore::getCacheListItems(int kind) const {
  ServiceCacheList* list = findCacheList(kind);
  return list ? &list->items() : nullptr;
}

ServiceCache* ServiceCacheStore::addCachedObject(int kind, std::uint64_t id) {
  ServiceCacheList* list = findCacheList(kind);
  if (!list) return nullptr;
  if (ServiceCache* existing = list->findById(id)) return existing;
  ServiceCache* object = kind == kPlayerEntryKind
                             ? static_cast<ServiceCache*>(new PlayerEntryCache())
                             : new FriendServiceCache();
  object->setId(id);
  if (!list->add(object)) {
    delete object;  // refused: reported to the caller, never used
    return nullptr;
  }
  return object;
}

ServiceCache* ServiceCacheStore::findCachedObject(int kind, std::uint64_t id) const {
  ServiceCacheList* list = findCacheList(kind);
  return list ? list->findById(id) : nullptr;
}

bool ServiceCacheStore::setCachedObjectName(int kind, std::uint64_t id, const String& name) {
  ServiceCache* object = findCachedObject(kind, id);
  if (!object) return false;
  object->setName(name);
  return true;
}

CacheEntry* ServiceCacheStore::getOrCreateForPlayer(int kind, const PlayerID& player,
                                                    std::uint64_t id) {
  ServiceCache* object = addCachedObject(kind, id);
  if (!object) return nullptr;
  if (!object->contains(player) && object->count() >= static_cast<std::size_t>(limitOf(kind))) {
    object->trim();
  }
  return object->entryFor(player);
}

std::int32_t ServiceCacheStore::invokeCachedObject(int kind, std::int64_t value, std::uint64_t id) {
  ServiceCache* object = findCachedObject(kind, id);
  return object ? object->applyValue(value) : 0;
}

std::int32_t ServiceCacheStore::invokeCachedObjectSlot6(int kind, std::uint64_t id) {
  ServiceCache* object = findCachedObject(kind, id);
  return object ? object->query() : 0;
}

const ToolboxVector<CacheEntry*>* ServiceCacheStore::getCachedEntries(int kind,
                                                                      std::uint64_t id) const {
  ServiceCache* object = findCachedObject(kind, id);
  return object ? &object->entries() : nullptr;
}

bool ServiceCacheStore::updateCachedKind6(std::uint64_t id, const PlayerID& player,
                                          std::int64_t value) {
  CacheEntry* entry = getOrCreateForPlayer(kPlayerEntryKind, player, id);
  if (!entry) return false;
  entry->value = value;
  return true;
}

bool ServiceCacheStore::queryCachedKind6(std::uint64_t id, const PlayerID& player,
                                         std::int64_t& value) const {
  ServiceCache* object = findCachedObject(kPlayerEntryKind, id);
  CacheEntry* entry = object ? object->find(player) : nullptr;
  if (!entry) return false;
  value = entry->value;
  return true;
}

std::size_t ServiceCacheStore::collectCachedObjects(int kind, std::uint64_t id) const {
  if (kind == kEmptyKind) {
    std::size_t total = 0;
    for (ServiceCache* c : m_lists[kEmptyKind]->items())
      total += c->count();
    return total;
  }
  ServiceCache* object = findCachedObject(kind, id);
  return object ? object->count() : 0;
}

}  // namespace OX_Toolbox
