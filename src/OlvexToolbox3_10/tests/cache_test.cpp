// The per-player cache store: default objects, per-kind limits, one object
// per id, refused objects, and the kind-6 player entries.
#include <gtest/gtest.h>

#include "Modules/Core/Src/Cache/ServiceCache.h"
#include "Modules/Core/Src/Players/LocalPlayer.h"

using namespace OX_Toolbox;

namespace {

TEST(CacheStoreTest, FreshStoreHasDefaultObjectsExceptKindEight) {
  ServiceCacheStore store;
  for (int kind = 0; kind < ServiceCacheStore::kKinds; ++kind) {
    ASSERT_NE(store.findCacheList(kind), nullptr);
    EXPECT_EQ(store.getCacheListItems(kind)->size(), kind == 8 ? 0u : 1u) << kind;
  }
  EXPECT_NE(store.findCachedObject(0, 0), nullptr);
  EXPECT_NE(dynamic_cast<PlayerEntryCache*>(store.findCachedObject(6, 0)), nullptr);
  EXPECT_EQ(store.collectCachedObjects(8, 123), 0u);
  EXPECT_EQ(store.findCacheList(10), nullptr);
  EXPECT_EQ(store.findCacheList(-1), nullptr);
  EXPECT_EQ(store.addCachedObject(10, 1), nullptr);
  EXPECT_EQ(store.getOrCreateForPlayer(-1, PlayerID(1, 1), 0), nullptr);
}

TEST(CacheStoreTest, EntriesStayWithinEachKindsLimit) {
  ServiceCacheStore store;
  for (int kind : {2, 3, 5}) {
    const int limit = ServiceCacheStore::limitOf(kind);
    for (int i = 0; i <= limit; ++i) {
      ASSERT_NE(store.getOrCreateForPlayer(kind, PlayerID(CONNECTIONTYPE_ONLINE, 100 + i), 0),
                nullptr);
    }
    EXPECT_EQ(store.collectCachedObjects(kind, 0), static_cast<std::size_t>(limit)) << kind;
    // The oldest entry made room for the newest.
    const ServiceCache* object = store.findCachedObject(kind, 0);
    EXPECT_FALSE(object->contains(PlayerID(CONNECTIONTYPE_ONLINE, 100)));
    EXPECT_TRUE(object->contains(PlayerID(CONNECTIONTYPE_ONLINE, 100 + limit)));
  }
  // A player already held is not a new entry and costs nothing.
  CacheEntry* again = store.getOrCreateForPlayer(2, PlayerID(CONNECTIONTYPE_ONLINE, 120), 0);
  ASSERT_NE(again, nullptr);
  EXPECT_TRUE(store.findCachedObject(2, 0)->contains(PlayerID(CONNECTIONTYPE_ONLINE, 101)));
}

TEST(CacheStoreTest, OneObjectPerIdAndPerName) {
  ServiceCacheStore store;
  ServiceCache* first = store.addCachedObject(7, 42);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(store.addCachedObject(7, 42), first);
  EXPECT_EQ(store.getCacheListItems(7)->size(), 2u);
  EXPECT_TRUE(store.setCachedObjectName(7, 42, String(u"Clan")));
  EXPECT_FALSE(store.setCachedObjectName(7, 43, String(u"Other")));

  ServiceCacheList* list = store.findCacheList(7);
  EXPECT_EQ(list->findByName(String(u"Clan")), first);
  FriendServiceCache sameName;
  sameName.setId(99);
  sameName.setName(String(u"Clan"));
  EXPECT_FALSE(list->add(&sameName));  // refused: stays the caller's
  EXPECT_EQ(list->findById(99), nullptr);

  // Kind 8 objects each count toward the kind's total.
  store.getOrCreateForPlayer(8, PlayerID(CONNECTIONTYPE_ONLINE, 1), 1);
  store.getOrCreateForPlayer(8, PlayerID(CONNECTIONTYPE_ONLINE, 2), 2);
  store.getOrCreateForPlayer(8, PlayerID(CONNECTIONTYPE_ONLINE, 3), 2);
  EXPECT_EQ(store.collectCachedObjects(8, 0), 3u);
  EXPECT_EQ(store.invokeCachedObject(3, 5, 77), 0);
  EXPECT_EQ(store.invokeCachedObjectSlot6(3, 77), 0);
  EXPECT_EQ(store.getCachedEntries(3, 77), nullptr);
}

TEST(CacheStoreTest, KindSixKeepsOneValuePerPlayer) {
  ServiceCacheStore store;
  const PlayerID p(CONNECTIONTYPE_ONLINE, 5);
  std::int64_t value = 0;
  EXPECT_FALSE(store.queryCachedKind6(0, p, value));
  EXPECT_TRUE(store.updateCachedKind6(0, p, 11));
  EXPECT_TRUE(store.updateCachedKind6(0, p, 12));
  EXPECT_TRUE(store.queryCachedKind6(0, p, value));
  EXPECT_EQ(value, 12);
  EXPECT_EQ(store.getCachedEntries(6, 0)->size(), 1u);
  EXPECT_TRUE(store.updateCachedKind6(9, p, 1));  // a new object for id 9
  EXPECT_EQ(store.getCacheListItems(6)->size(), 2u);
}

TEST(LocalPlayerTest, OwnPlayersCarryACacheStoreAndCutTexts) {
  LocalPlayer own(2);
  EXPECT_TRUE(own.isLoggedIn());
  ASSERT_NE(own.getCacheStore(), nullptr);
  LocalPlayer other;
  EXPECT_FALSE(other.isLoggedIn());
  EXPECT_EQ(other.getCacheStore(), nullptr);
  own.setLogin(String(u"abcdefghijklmnopqrstuvwxyz"));
  EXPECT_EQ(own.getLogin().length(), LocalPlayer::kMaxLogin);
  own.setPassword(String(u"abcdefghijklmnopqrstuvwxyz"));
  EXPECT_EQ(own.getPassword().length(), LocalPlayer::kMaxPassword);
  own.setPlayerID(PlayerID(CONNECTIONTYPE_ONLINE, 3));
  EXPECT_EQ(own.getPlayerID(CONNECTIONTYPE_ONLINE).getId(), 3u);
  EXPECT_EQ(own.getPlayerID(CONNECTIONTYPE_LAN).getId(), 0u);
  EXPECT_EQ(own.getPlayerID(7).getConnectionType(), CONNECTIONTYPE_INVALID);
}

}  // namespace
