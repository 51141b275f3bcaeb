// The toolbox core: creation and its failures, the service registry, the
// update step, local players and their login events, and the allocator.
#include <gtest/gtest.h>

#include <cstdint>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "Modules/Core/Src/Records/RecordList.h"
#include "Modules/Core/Src/Result/ToolboxResult.h"
#include "Modules/Core/Src/Tasks/Events.h"
#include "Modules/Core/Src/Tasks/TaskManager.h"
#include "toolbox_test_support.h"

using namespace OX_Toolbox;
using toolbox_test::CoreFixture;
using toolbox_test::fileKeys;
using toolbox_test::RecordingService;

namespace {

class CoreTest : public CoreFixture {};

TEST_F(CoreTest, CreateReadsFileConfigurationAndSecondCreateKeepsInstance) {
  ASSERT_EQ(createCore(fileKeys()), ERRORID_SUCCEEDED);
  ToolboxCore* core = ToolboxCore::instance();
  ASSERT_TRUE(ToolboxCore::exists());
  EXPECT_STREQ(core->getConfigString(MATCHMAKING_DEFAULT_PAGE_NAME), "Page");
  EXPECT_STREQ(core->getConfigString(FAT_FILE), "fat.dat");
  EXPECT_STREQ(core->getConfigString(LOCAL_PLAYERS_CACHE_FILE), "players.dat");
  EXPECT_EQ(core->getConfigString(7), nullptr);
  EXPECT_NE(GlobalRecordList(), nullptr);

  toolbox_test::RecordingGame other("elsewhere.lua");
  EXPECT_EQ(ToolboxCore::create(&other, nullptr), ERRORID_SUCCEEDED);
  EXPECT_EQ(ToolboxCore::instance(), core);
  EXPECT_EQ(core->getGameInterface(), game.get());

  ToolboxCore::destroy();
  EXPECT_FALSE(ToolboxCore::exists());
  EXPECT_EQ(GlobalRecordList(), nullptr);
}

TEST_F(CoreTest, CreateFailuresLeaveNoInstance) {
  struct Case {
    const char* what;
    std::string script;
    ERRORID expected;
  };
  const std::string keys = fileKeys();
  const std::string withoutFat =
      keys.substr(0, keys.find("FAT_FILE")) + keys.substr(keys.find("MATCHMAKING_DEFAULT_FILE"));
  const Case cases[] = {
      {"missing FAT_FILE", withoutFat, ERRORID_CONFIGURATIONERROR},
      {"empty FAT_FILE", keys + "FAT_FILE = ''\n", ERRORID_CONFIGURATIONERROR},
      {"FAT_FILE a table", keys + "FAT_FILE = {}\n", ERRORID_CONFIGURATIONERROR},
      {"syntax error", keys + "this is not lua\n", ERRORID_CONFIGURATIONERROR},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(createCore(c.script), c.expected) << c.what;
    EXPECT_FALSE(ToolboxCore::exists()) << c.what;
  }
  toolbox_test::RecordingGame missing("no_such_config.lua");
  EXPECT_EQ(ToolboxCore::create(&missing, nullptr), ERRORID_CANT_OPEN_FILE_READ);
  EXPECT_FALSE(ToolboxCore::exists());
  EXPECT_EQ(ToolboxCore::create(nullptr, nullptr), ERRORID_FAILED);
  EXPECT_FALSE(ToolboxCore::exists());
}

TEST_F(CoreTest, ServicesRegisterOnceByNameAndDieInReverseOrder) {
  ASSERT_EQ(createCore(fileKeys()), ERRORID_SUCCEEDED);
  ToolboxCore* core = ToolboxCore::instance();
  std::vector<std::string> log;
  auto* account = new RecordingService("AccountService", &log);
  auto* friends = new RecordingService("FriendService", &log);
  EXPECT_EQ(core->findService("AccountService"), nullptr);
  EXPECT_EQ(core->registerService(account), ERRORID_SUCCEEDED);
  EXPECT_EQ(core->registerService(friends), ERRORID_SUCCEEDED);
  EXPECT_EQ(core->findService("AccountService"), account);
  EXPECT_EQ(core->findService("FriendService"), friends);
  EXPECT_EQ(core->findService("Friend"), nullptr);
  EXPECT_EQ(core->findService(nullptr), nullptr);

  RecordingService twin("AccountService", nullptr);
  EXPECT_EQ(core->registerService(&twin), ERRORID_FAILED);
  EXPECT_EQ(LastResult().get(), ERRORID_FAILED);
  EXPECT_EQ(core->serviceCount(), 2u);
  EXPECT_EQ(core->findService("AccountService"), account);

  ToolboxCore::destroy();
  EXPECT_EQ(log, (std::vector<std::string>{"destroy FriendService", "destroy AccountService"}));
}

class CountingTask : public TaskAtomic {
 public:
  explicit CountingTask(int* runs) : m_runs(runs) {}
  void step(std::uint32_t, bool& ready) override {
    ++*m_runs;
    ready = false;
  }

 private:
  int* m_runs;
};

class RecordingSink : public ToolboxMessageSink {
 public:
  bool onMessage(Event* event) override {
    names.push_back(event->getType()->name);
    return true;
  }
  std::vector<std::string> names;
};

TEST_F(CoreTest, UpdateOfZeroStepsTasksServicesAndEvents) {
  ASSERT_EQ(createCore(fileKeys()), ERRORID_SUCCEEDED);
  ToolboxCore* core = ToolboxCore::instance();
  std::vector<std::string> log;
  core->registerService(new RecordingService("StatsService", &log));
  int runs = 0;
  core->getTaskManager()->addTask(new CountingTask(&runs));
  RecordingSink sink;
  core->getEventManager()->addListener(&sink);
  core->getEventManager()->queueEvent(new EventLobbyConnectionLost());

  core->update(0);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(log, std::vector<std::string>{"update StatsService 0"});
  EXPECT_EQ(sink.names, std::vector<std::string>{"EventLobbyConnectionLost"});
  EXPECT_FALSE(core->isBusy());

  core->update(60);
  EXPECT_EQ(core->getClock(), 60u);
  EXPECT_EQ(core->getTaskManager()->getClock(), 60u);
  core->getEventManager()->removeListener(&sink);
  ToolboxCore::destroy();  // before the log it writes to goes
}

LocalPlayer* ownPlayer(std::uint8_t slot, std::uint64_t lanId) {
  auto* p = new LocalPlayer(slot);
  p->setPlayerID(PlayerID(CONNECTIONTYPE_LAN, lanId));
  return p;
}

TEST_F(CoreTest, LocalPlayersHaveFourSlotsAndOneRecordPerPlayerId) {
  ASSERT_EQ(createCore(fileKeys()), ERRORID_SUCCEEDED);
  ToolboxCore* core = ToolboxCore::instance();
  for (std::uint8_t slot = 0; slot < 4; ++slot) {
    LocalPlayer* p = ownPlayer(slot, 100 + slot);
    EXPECT_TRUE(core->addLocalPlayerObject(&p));
  }
  LocalPlayer* fifth = ownPlayer(4, 104);
  EXPECT_FALSE(core->addLocalPlayerObject(&fifth));
  EXPECT_EQ(fifth, nullptr);
  EXPECT_EQ(core->getLocalPlayer(4), nullptr);
  ASSERT_NE(core->getLocalPlayer(3), nullptr);
  EXPECT_EQ(core->getLocalPlayer(3)->getPlayerID(CONNECTIONTYPE_LAN).getId(), 103u);

  // A record for a known player id hands back the known record.
  LocalPlayer* known = core->getLocalPlayer(1);
  LocalPlayer* dup = ownPlayer(1, 101);
  EXPECT_FALSE(core->addLocalPlayerObject(&dup));
  EXPECT_EQ(dup, known);
  EXPECT_FALSE(core->addLocalPlayer(String(u"again"), PlayerID(CONNECTIONTYPE_LAN, 102)));
  EXPECT_EQ(core->localPlayerCount(), 4u);

  // Another player's record lives in the list but holds no local slot.
  EXPECT_TRUE(core->addLocalPlayer(String(u"remote"), PlayerID(CONNECTIONTYPE_ONLINE, 7)));
  LocalPlayer* remote = core->findLocalPlayer(PlayerID(CONNECTIONTYPE_ONLINE, 7));
  ASSERT_NE(remote, nullptr);
  EXPECT_EQ(core->findLocalPlayerByLogin(u"remote"), remote);
  EXPECT_EQ(core->getLoggedInLocalPlayer(PlayerID(CONNECTIONTYPE_ONLINE, 7)), nullptr);
  EXPECT_EQ(core->findLocalPlayer(PlayerID(CONNECTIONTYPE_INVALID, 7)), nullptr);
  EXPECT_EQ(core->findLocalPlayer(PlayerID(CONNECTIONTYPE_LAN, 7)), nullptr);

  EXPECT_EQ(core->getMainLocalPlayerIndex(), 0);
  EXPECT_TRUE(core->isMainLocalPlayer(0));
  EXPECT_FALSE(core->isMainLocalPlayer(2));
  core->removeLocalPlayer(core->getLocalPlayer(0));
  EXPECT_EQ(core->getMainLocalPlayerIndex(), 1);
  EXPECT_TRUE(core->isMainLocalPlayer(1));

  // Replacing slot 2 drops its player and any record with the new one's id.
  LocalPlayer* replacement = ownPlayer(2, 7);
  replacement->setPlayerID(PlayerID(CONNECTIONTYPE_ONLINE, 7));
  core->replaceLocalPlayer(CONNECTIONTYPE_ONLINE, 2, replacement);
  EXPECT_EQ(core->getLocalPlayer(2), replacement);
  EXPECT_EQ(core->findLocalPlayerByLogin(u"remote"), nullptr);
  EXPECT_EQ(core->findLocalPlayer(PlayerID(CONNECTIONTYPE_LAN, 102)), nullptr);
}

TEST_F(CoreTest, LastLogoutAlsoQueuesAllPlayersLoggedOut) {
  ASSERT_EQ(createCore(fileKeys()), ERRORID_SUCCEEDED);
  ToolboxCore* core = ToolboxCore::instance();
  LocalPlayer* a = ownPlayer(0, 1);
  LocalPlayer* b = ownPlayer(1, 2);
  core->addLocalPlayerObject(&a);
  core->addLocalPlayerObject(&b);
  RecordingSink sink;
  core->getEventManager()->addListener(&sink);

  core->raiseLoginLogoutEvent(b, true, 0);
  core->raiseLoginLogoutEvent(b, false, 0);
  b->setState(0);
  core->update(0);
  EXPECT_EQ(sink.names, (std::vector<std::string>{"EventLoginLogout", "EventLoginLogout"}));

  sink.names.clear();
  core->raiseLoginLogoutEvent(a, false, 5);
  core->update(0);
  EXPECT_EQ(sink.names, (std::vector<std::string>{"EventLoginLogout", "EventAllPlayersLoggedOut"}));
  ASSERT_EQ(game->calls.size(), 3u);
  EXPECT_EQ(game->calls[0].what, "login");
  EXPECT_EQ(game->calls[2].what, "logout");
  EXPECT_EQ(game->calls[2].player, a);
  core->getEventManager()->removeListener(&sink);
}

// Counts what passes through the allocator table.
struct CountingTable {
  static inline int allocations = 0;
  static inline int frees = 0;
  static void* allocate(std::size_t n) {
    ++allocations;
    return DefaultMalloc(n);
  }
  static void release(void* p) {
    if (p) ++frees;
    DefaultFree(p);
  }
};

TEST(ToolboxAllocTest, ObjectsAndBuffersGoThroughTheTable) {
  AllocatorTable saved = ToolboxAllocatorTable();
  ToolboxAllocatorTable().allocate = CountingTable::allocate;
  ToolboxAllocatorTable().free = CountingTable::release;
  {
    auto* list = new RecordList();
    ToolboxVector<int> v(100, 1);
    delete list;
  }
  ToolboxAllocatorTable() = saved;
  EXPECT_GE(CountingTable::allocations, 2);
  EXPECT_EQ(CountingTable::allocations, CountingTable::frees);
}

TEST(ToolboxAllocTest, AlignedBlocksKeepAlignmentSizeAndContents) {
  EXPECT_EQ(ToolboxAlignedAlloc(16, 0), nullptr);
  EXPECT_EQ(ToolboxAlignedAlloc(16, 24), nullptr);
  for (std::size_t alignment : {1u, 8u, 16u, 64u, 4096u}) {
    auto* p = static_cast<unsigned char*>(ToolboxAlignedAlloc(40, alignment));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % alignment, 0u);
    for (int i = 0; i < 40; ++i)
      p[i] = static_cast<unsigned char>(i);
    auto* grown = static_cast<unsigned char*>(ToolboxAlignedRealloc(p, 100, alignment));
    ASSERT_NE(grown, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(grown) % alignment, 0u);
    for (int i = 0; i < 40; ++i)
      EXPECT_EQ(grown[i], i);
    auto* shrunk = static_cast<unsigned char*>(ToolboxAlignedRealloc(grown, 10, alignment));
    ASSERT_NE(shrunk, nullptr);
    for (int i = 0; i < 10; ++i)
      EXPECT_EQ(shrunk[i], i);
    ToolboxAlignedFree(shrunk);
  }
  ToolboxAlignedFree(nullptr);
}

}  // namespace
