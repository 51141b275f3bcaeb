#pragma once
// Each of this machine's players keeps cached lists for the services that
// fetch per-player data: ten kinds (0 friends, 1 blocked players, 2 senders
// of arrived messages, 3 and 4 friendship requests sent and received, 5
// players to invite, 6 to 9 clan lists), each a list of cache objects keyed
// by a 64-bit id and a name. A cache object holds at most its kind's limit of
// entries; a full one drops its oldest entry to make room.
#include <cstdint>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "Modules/Core/Src/Types/PlayerID.h"
#include "Modules/Core/Src/Types/String.h"

namespace OX_Toolbox {

struct CacheEntry : public ToolboxObject {
  PlayerID player;
  std::int64_t value = 0;
};

class ServiceCache : public ToolboxObject {
 public:
  virtual ~ServiceCache();
  // The entry for the player, appended when missing.
  virtual CacheEntry* entryFor(const PlayerID& player);
  virtual std::int32_t applyValue(std::int64_t) { return 0; }
  virtual void trim();  // drops the oldest entry
  virtual std::size_t count() const { return m_entries.size(); }
  virtual bool contains(const PlayerID& player) const;
  virtual std::int32_t query() { return 0; }
  // Erases the player's entry; false when it was not there.
  bool remove(const PlayerID& player);

  CacheEntry* find(const PlayerID& player) const;
  const ToolboxVector<CacheEntry*>& entries() const { return m_entries; }
  std::uint32_t getWord() const { return m_word; }
  void setWord(std::uint32_t word) { m_word = word; }
  std::uint64_t getId() const { return m_id; }
  void setId(std::uint64_t id) { m_id = id; }
  const String& getName() const { return m_name; }
  void setName(const String& name) { m_name = name; }

 private:
  std::uint32_t m_word = 0;
  std::uint64_t m_id = 0;
  String m_name;
  ToolboxVector<CacheEntry*> m_entries;
};

class FriendServiceCache : public ServiceCache {};
class PlayerEntryCache : public ServiceCache {};

class ServiceCacheList : public ToolboxObject {
 public:
  explicit ServiceCacheList(std::int32_t kind) : m_kind(kind) {}
  ~ServiceCacheList();
  ServiceCacheList(const ServiceCacheList&) = delete;
  ServiceCacheList& operator=(const ServiceCacheList&) = delete;

  ServiceCache* findById(std::uint64_t id) const;
  ServiceCache* findByName(const String& name) const;
  // Takes the object unless one with the same name or id is present; a
  // refused object stays the caller's.
  bool add(ServiceCache* object);
  std::int32_t getKind() const { return m_kind; }
  const ToolboxVector<ServiceCache*>& items() const { return m_objects; }

 private:
  std::int32_t m_kind;
  ToolboxVector<ServiceCache*> m_objects;
};

class ServiceCacheStore : public ToolboxObject {
 public:
  static constexpr int kKinds = 10;
  static int limitOf(int kind);  // 0 for a kind out of range

  ServiceCacheStore();
  ~ServiceCacheStore();
  ServiceCacheStore(const ServiceCacheStore&) = delete;
  ServiceCacheStore& operator=(const ServiceCacheStore&) = delete;

  ServiceCacheList* findCacheList(int kind) const;
  const ToolboxVector<ServiceCache*>* getCacheListItems(int kind) const;
  // The object (kind, id), created when missing; null when the kind is out
  // of range or the list refused the new object.
  ServiceCache* addCachedObject(int kind, std::uint64_t id);
  ServiceCache* findCachedObject(int kind, std::uint64_t id) const;
  bool setCachedObjectName(int kind, std::uint64_t id, const String& name);
  CacheEntry* getOrCreateForPlayer(int kind, const PlayerID& player, std::uint64_t id);
  std::int32_t invokeCachedObject(int kind, std::int64_t value, std::uint64_t id);
  std::int32_t invokeCachedObjectSlot6(int kind, std::uint64_t id);
  const ToolboxVector<CacheEntry*>* getCachedEntries(int kind, std::uint64_t id) const;
  bool updateCachedKind6(std::uint64_t id, const PlayerID& player, std::int64_t value);
  bool queryCachedKind6(std::uint64_t id, const PlayerID& player, std::int64_t& value) const;
  std::size_t collectCachedObjects(int kind, std::uint64_t id) const;

 private:
  ToolboxVector<ServiceCacheList*> m_lists;
};

}  // namespace OX_Toolbox
