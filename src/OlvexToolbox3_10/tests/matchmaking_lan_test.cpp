// Two processes on loopback, each with its own toolbox, meet through the
// matchmaking service over LAN: one hosts, the other searches, finds and
// joins the session by ticket and leaves it again; the host's search of its
// own keeps its session, and the slot the guest took is freed when it goes.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Modules/Core/Src/Players/LocalPlayer.h"
#include "Modules/MatchmakingService/Src/LanSessionDirectory.h"
#include "Modules/MatchmakingService/Src/MatchmakingConfig.h"
#include "Modules/MatchmakingService/Src/MatchmakingService.h"
#include "Modules/NetworkService/Src/NetworkService.h"
#include "Modules/NetworkService/Src/SdkNetworkLayer.h"
#include "account_test_support.h"
#include "bdLANDiscovery/bdLANDiscoveryPacket.h"
#include "child_process.h"
#include "matchmaking_test_support.h"

using namespace OX_Toolbox;

namespace {

constexpr const char* kPortVariable = "TESS_MATCHMAKING_LAN_PORT";
// Each test program of the folder runs beside the others: a file of its own.
constexpr const char* kDefs = "mm_lan.dat";

NetworkLayer* MakeSdkLayer() { return new SdkNetworkLayer(false, 0); }

struct Heard {
  std::string what;
  std::uint32_t taskId;
  ERRORID result;
  std::size_t found;
};

class Listener : public MatchmakingServiceListener {
 public:
  void onHostSession(std::uint32_t id, ERRORID r) override { add("host", id, r); }
  void onSearchSessions(std::uint32_t id, ERRORID r,
                        const std::vector<SessionInfo*>& results) override {
    add("search", id, r, results.size());
  }
  void onJoinSession(std::uint32_t id, ERRORID r) override { add("join", id, r); }
  void onDeleteSession(std::uint32_t id, ERRORID r) override { add("delete", id, r); }
  // The outcome of the task, once it came; null before.
  const Heard* find(const std::string& what, std::uint32_t id) const {
    for (const Heard& h : heard) {
      if (h.what == what && h.taskId == id) return &h;
    }
    return nullptr;
  }
  std::vector<Heard> heard;

 private:
  void add(const char* what, std::uint32_t id, ERRORID r, std::size_t found = 0) {
    heard.push_back({what, id, r, found});
  }
};

class MatchmakingLan : public account_test::AccountFixture {
 protected:
  void SetUp() override {
    AccountFixture::SetUp();
    SetNetworkLayerFactory(&MakeSdkLayer);
    SetLanSearchTarget("127.0.0.1");
    const char* port = std::getenv(kPortVariable);
    NetworkService::setLanDiscoveryPort(port && *port ? static_cast<std::uint16_t>(std::atoi(port))
                                                      : 0);
    const std::string path = scriptPath();
    toolbox_test::writeFile(
        path, toolbox_test::fileKeys() + "MATCHMAKING_DEFAULT_FILE = '" + kDefs + "'\n");
    game = std::make_unique<toolbox_test::RecordingGame>(path);
    ASSERT_EQ(ToolboxCore::create(game.get(), nullptr), ERRORID_SUCCEEDED);
    ASSERT_EQ(NetworkService::create("tess", "fr-FR"), ERRORID_SUCCEEDED);
    // The account service's profile definitions beside the matchmaking ones.
    RecordList list;
    account_test::addDefinition(list, 1, "rating", 1, true, OX_INT32);
    matchmaking_test::AddDefinitions(list, matchmaking_test::Fields(4, 2));
    ASSERT_EQ(list.saveToFile(kDefs), ERRORID_SUCCEEDED);
    ASSERT_EQ(AccountService::create(), ERRORID_SUCCEEDED);
    accounts = AccountService::find();
    ASSERT_EQ(MatchmakingService::create(), ERRORID_SUCCEEDED);
    service = MatchmakingService::find();
    config = service->getConfig();
    NetworkService::find()->start(nullptr, NetworkService::LAN);
    ASSERT_TRUE(tickUntil([] { return NetworkService::find()->getConnectionType() != 0; }));
  }
  void TearDown() override {
    SetLanSearchTarget(nullptr);
    std::remove(kDefs);
    NetworkService::setLanDiscoveryPort(bdLANDiscoveryPacket::PORT);
    AccountFixture::TearDown();
  }

  PlayerID login(std::uint8_t slot) {
    const std::uint32_t id =
        accounts->loginPlayer(&listener, NetworkService::LAN, slot, String(""), String(""));
    EXPECT_TRUE(tickUntil([&] { return listener.heard("login", id); }));
    LocalPlayer* p = ToolboxCore::instance()->getLocalPlayer(slot);
    return p ? p->getPlayerID(CONNECTIONTYPE_LAN) : PlayerID();
  }

  // Runs the toolbox on the real time that passes until the task reported.
  const Heard& await(const std::string& what, std::uint32_t id) {
    EXPECT_NE(id, 0u) << what;
    EXPECT_TRUE(tickUntil([&] { return heard.find(what, id) != nullptr; })) << what;
    static const Heard none{"", 0, ERRORID_INVALID, 0};
    const Heard* h = heard.find(what, id);
    return h ? *h : none;
  }

  void tick() {
    const auto now = std::chrono::steady_clock::now();
    const auto ms = static_cast<std::uint32_t>(std::min<long long>(
        100, std::chrono::duration_cast<std::chrono::milliseconds>(now - m_last).count()));
    m_last = now;
    ToolboxCore::instance()->update(ms);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  bool tickUntil(const std::function<bool()>& done, std::uint32_t limitMs = 20000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (std::chrono::steady_clock::now() < deadline) {
      if (done()) return true;
      tick();
    }
    return done();
  }

  std::unique_ptr<toolbox_test::RecordingGame> game;
  AccountService* accounts = nullptr;
  MatchmakingService* service = nullptr;
  MatchmakingConfig* config = nullptr;
  Listener heard;

 private:
  std::chrono::steady_clock::time_point m_last = std::chrono::steady_clock::now();
};

TEST_F(MatchmakingLan, HostSearchJoinLeaveInTwoProcesses) {
  const PlayerID me = login(0);
  ASSERT_EQ(await("host", service->hostSession(&heard, 0, CONNECTIONTYPE_LAN)).result,
            ERRORID_SUCCEEDED);
  GameSession* session = config->currentSession();
  ASSERT_NE(session, nullptr);
  EXPECT_EQ(session->role(), GameSession::ROLE_HOST);
  EXPECT_NE(session->findPeer(me), nullptr);
  EXPECT_EQ(config->countTakenPublic(), 1u);
  Ticket held;
  EXPECT_TRUE(
      ToolboxCore::instance()->getLocalPlayer(0)->findTicket(session->info().sessionId, held));
  // A second host while one runs is refused, and leaves the first alone.
  EXPECT_EQ(await("host", service->hostSession(&heard, 0, CONNECTIONTYPE_LAN)).result,
            ERRORID_TASK_PREREQUISITE_FAILED);
  // The host's own search finds its session and keeps it.
  NetworkService::setLanDiscoveryPort(NetworkService::find()->getLanHostingPort());
  const Heard& own = await(
      "search", service->searchSessions(&heard, CONNECTIONTYPE_LAN, config->findQueryById(1)));
  EXPECT_EQ(own.result, ERRORID_SUCCEEDED);
  EXPECT_EQ(own.found, 1u);
  ASSERT_EQ(config->currentSession(), session);

  child_test::setEnv(kPortVariable, std::to_string(NetworkService::find()->getLanHostingPort()));
  child_test::ChildProcess guest;
  const bool started = guest.start("MatchmakingLan.GuestSide");
  child_test::setEnv(kPortVariable, "");
  ASSERT_TRUE(started);

  ASSERT_TRUE(tickUntil([&] { return session->peers().size() == 2; }, 60000)) << "nobody joined";
  EXPECT_EQ(config->countTakenPublic(), 2u);
  const PlayerID guestId = session->peers()[1].id;
  ASSERT_TRUE(tickUntil([&] { return session->findPeer(guestId) == nullptr; }, 60000))
      << "the guest never left";
  EXPECT_EQ(config->countTakenPublic(), 1u);
  EXPECT_EQ(guest.wait(), 0) << "the guest's own checks failed";

  EXPECT_EQ(await("delete", service->deleteSession(&heard)).result, ERRORID_SUCCEEDED);
  EXPECT_EQ(config->currentSession(), nullptr);
  EXPECT_FALSE(NetworkService::find()->isLanHosting());
  EXPECT_EQ(service->deleteSession(&heard), 0u);
}

// The other process; runs only when started by the test above.
TEST_F(MatchmakingLan, GuestSide) {
  const char* port = std::getenv(kPortVariable);
  if (!port || !*port) GTEST_SKIP() << "started by the hosting test only";
  const PlayerID me = login(1);  // slot 1: both processes share this machine's address

  const Heard& search = await(
      "search", service->searchSessions(&heard, CONNECTIONTYPE_LAN, config->findQueryById(1)));
  ASSERT_EQ(search.result, ERRORID_SUCCEEDED);
  ASSERT_EQ(search.found, 1u);
  const SessionInfo found = *config->searchResults()[0];
  EXPECT_EQ(found.connectionType(), CONNECTIONTYPE_LAN);

  ASSERT_EQ(await("join", service->joinSession(&heard, 1, found.sessionId, false)).result,
            ERRORID_SUCCEEDED);
  GameSession* session = config->currentSession();
  ASSERT_NE(session, nullptr);
  EXPECT_EQ(session->role(), GameSession::ROLE_JOINED);
  EXPECT_NE(session->findPeer(found.ownerId), nullptr);
  ASSERT_NE(session->findPeer(me), nullptr);
  EXPECT_TRUE(session->findPeer(me)->isLocal);
  Ticket held;
  EXPECT_TRUE(ToolboxCore::instance()->getLocalPlayer(1)->findTicket(found.sessionId, held));

  // Stay a moment on heartbeats, then leave.
  tickUntil([] { return false; }, 1500);
  EXPECT_NE(session->findPeer(found.ownerId), nullptr);
  EXPECT_EQ(await("delete", service->deleteSession(&heard)).result, ERRORID_SUCCEEDED);
  EXPECT_EQ(config->currentSession(), nullptr);
  EXPECT_FALSE(ToolboxCore::instance()->getLocalPlayer(1)->findTicket(found.sessionId, held));
}

}  // namespace
