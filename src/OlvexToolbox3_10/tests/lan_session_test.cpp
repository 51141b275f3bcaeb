// Two processes on loopback, each with its own toolbox: both log in over
// LAN, one hosts a session and the other joins it, they exchange tagged
// messages in order, heartbeats keep the joiner in the session, and once the
// joiner falls silent the host drops it on its toolbox clock.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Modules/Core/Src/Result/ToolboxResult.h"
#include "Modules/NetworkService/Src/NetworkService.h"
#include "Modules/NetworkService/Src/PeerMessenger.h"
#include "Modules/NetworkService/Src/SdkNetworkLayer.h"
#include "Modules/NetworkService/Src/SdkPeerConnections.h"
#include "Modules/Session/Src/GameSession.h"
#include "account_test_support.h"
#include "bdCore/bdUtilities/bdSingleton.h"
#include "bdNet/bdNetImpl.h"
#include "child_process.h"
#include "peer_loopback.h"

using namespace OX_Toolbox;

namespace {

constexpr const char* kHostVariable = "TESS_LAN_SESSION_HOST";
constexpr std::uint32_t kGame = PeerTag("GAME");
constexpr int kMessages = 12;
// Both ends keep talking this long after the exchange, beyond the time-out.
constexpr std::uint32_t kKeepAliveMs = 4000;
constexpr std::uint32_t kThresholdMs = 2000;

NetworkLayer* MakeSdkLayer() { return new SdkNetworkLayer(false, 0); }

std::string hex(const std::uint8_t* bytes, std::size_t n) {
  std::string out;
  char two[3];
  for (std::size_t i = 0; i < n; ++i) {
    std::snprintf(two, sizeof two, "%02x", bytes[i]);
    out += two;
  }
  return out;
}

bool unhex(const std::string& text, std::uint8_t* out, std::size_t n) {
  if (text.size() < 2 * n) return false;
  for (std::size_t i = 0; i < n; ++i)
    out[i] = static_cast<std::uint8_t>(std::stoul(text.substr(2 * i, 2), nullptr, 16));
  return true;
}

SessionInfo sharedSession() {
  SessionInfo info;
  info.sessionId = {0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58};
  for (std::uint8_t i = 0; i < 16; ++i)
    info.sessionKey[i] = static_cast<std::uint8_t>(0xA0 + i);
  return info;
}

Blob numbered(int n) {
  Blob b;
  b.writeInt32(0, n);
  return b;
}

class Game : public OX_Toolbox::PeerMessageSink {
 public:
  Game() : PeerMessageSink(kGame) {}
  void onMessage(int, Blob& m) override {
    std::int32_t n = -1;
    if (m.remaining(0) == 5) n = m.readInt32(0);  // type byte and four bytes
    got.push_back(n);
  }
  std::vector<std::int32_t> got;
};

class LeaveLog : public toolbox_test::RecordingGame {
 public:
  using RecordingGame::RecordingGame;
  void onPlayerLeave(const PlayerID& id, std::int32_t reason) override {
    left.emplace_back(id, reason);
  }
  std::vector<std::pair<PlayerID, std::int32_t>> left;
};

class Waiter : public SessionWaiter {
 public:
  void onSessionResult(ERRORID r) override { results.push_back(r); }
  std::vector<ERRORID> results;
};

class LanSession : public account_test::AccountFixture {
 protected:
  void SetUp() override {
    AccountFixture::SetUp();
    SetNetworkLayerFactory(&MakeSdkLayer);
    writeDefinitions();
    const std::string path = scriptPath();
    toolbox_test::writeFile(path, toolbox_test::fileKeys() + "TIMEOUT_THRESHOLD = " +
                                      std::to_string(kThresholdMs / 1000) + "\n");
    leaves = std::make_unique<LeaveLog>(path);
    ASSERT_EQ(ToolboxCore::create(leaves.get(), nullptr), ERRORID_SUCCEEDED);
    ASSERT_EQ(NetworkService::create("tess", "fr-FR"), ERRORID_SUCCEEDED);
    accounts = createAccounts();
    ASSERT_NE(accounts, nullptr);
    NetworkService::find()->start(nullptr, NetworkService::LAN);
    ASSERT_TRUE(tickUntil([] { return NetworkService::find()->getConnectionType() != 0; }, 10000));
    messenger = NetworkService::find()->getMessenger();
    ASSERT_NE(messenger, nullptr);
    routes = dynamic_cast<SdkPeerConnections*>(messenger->getConnections());
    ASSERT_NE(routes, nullptr);
    messenger->addSink(&sessionSink);
    messenger->addSink(&game);
  }
  void TearDown() override {
    if (session) GameSession::setCurrent(nullptr);
    session.reset();
    if (messenger) {
      messenger->removeSink(&sessionSink);
      messenger->removeSink(&game);
    }
    AccountFixture::TearDown();
  }

  // Logs this machine's player in over LAN at the slot; its PlayerID.
  PlayerID login(std::uint8_t slot) {
    const std::uint32_t id =
        accounts->loginPlayer(&listener, NetworkService::LAN, slot, String(""), String(""));
    EXPECT_TRUE(tickUntil([&] { return listener.heard("login", id); }, 10000));
    EXPECT_EQ(listener.last("login").result, ERRORID_SUCCEEDED);
    LocalPlayer* p = ToolboxCore::instance()->getLocalPlayer(slot);
    return p ? p->getPlayerID(CONNECTIONTYPE_LAN) : PlayerID();
  }
  void trustSession(const SessionInfo& info) {
    bdSecurityID id;
    bdSecurityKey key;
    std::copy(info.sessionId.begin(), info.sessionId.end(), id.ab);
    std::copy(info.sessionKey.begin(), info.sessionKey.end(), key.ab);
    bdSingleton<bdNetImpl>::getInstance()->getSecurityKeyMap()->put(id, key);
  }
  void makeSession(int slot, std::uint32_t role, const SessionInfo& info) {
    session = std::make_unique<GameSession>(slot, role, CONNECTIONTYPE_LAN, &info);
    session->setMessenger(messenger);
    session->setLocalAddress(routes->localAddress(info.sessionId));
    GameSession::setCurrent(session.get());
  }

  // One update of the toolbox and the session by the real time that passed:
  // the toolbox clock.
  void tick() {
    const auto now = std::chrono::steady_clock::now();
    const auto ms = static_cast<std::uint32_t>(std::min<long long>(
        100, std::chrono::duration_cast<std::chrono::milliseconds>(now - m_last).count()));
    m_last = now;
    ToolboxCore::instance()->update(ms);
    if (session) session->updateHeartbeat(ms);
    clockMs += ms;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  bool tickUntil(const std::function<bool()>& done, std::uint32_t limitMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (std::chrono::steady_clock::now() < deadline) {
      if (done()) return true;
      tick();
    }
    return done();
  }

  std::unique_ptr<LeaveLog> leaves;
  AccountService* accounts = nullptr;
  PeerMessenger* messenger = nullptr;
  SdkPeerConnections* routes = nullptr;
  SessionMessageSink sessionSink;
  Game game;
  std::unique_ptr<GameSession> session;
  std::uint64_t clockMs = 0;

 private:
  std::chrono::steady_clock::time_point m_last = std::chrono::steady_clock::now();
};

TEST_F(LanSession, TwoProcessesHostJoinExchangeInOrderAndTheSilentOneIsDropped) {
  const PlayerID me = login(0);
  SessionInfo info = sharedSession();
  info.ownerId = me;
  trustSession(info);
  makeSession(0, GameSession::ROLE_HOST, info);
  session->addPlayers({me}, {String("0")}, session->localAddress(), 1);

  const PeerAddress here = session->localAddress();
  child_test::setEnv(kHostVariable, hex(here.commonAddr.data(), here.commonAddr.size()) + ":" +
                                        std::to_string(me.getId()));
  child_test::ChildProcess joiner;
  const bool started = joiner.start("LanSession.JoinerSide");
  child_test::setEnv(kHostVariable, "");  // this process's own joiner test stays skipped
  ASSERT_TRUE(started);

  ASSERT_TRUE(tickUntil([&] { return session->peers().size() == 2; }, 30000)) << "nobody joined";
  const PlayerID guest = session->peers()[1].id;
  EXPECT_FALSE(session->peers()[1].isLocal);
  const std::uint64_t joinedAt = clockMs;

  ASSERT_TRUE(tickUntil([&] { return game.got.size() == kMessages; }, 20000));
  std::vector<std::int32_t> expected(kMessages);
  for (int i = 0; i < kMessages; ++i)
    expected[i] = i;
  EXPECT_EQ(game.got, expected);
  for (int i = 0; i < kMessages; ++i) {
    Blob m = numbered(100 + i);
    messenger->SendMessageToPlayer(guest, kGame, m);
    ASSERT_EQ(LastResult().get(), ERRORID_SUCCEEDED);
  }

  ASSERT_TRUE(tickUntil([&] { return !leaves->left.empty(); }, 30000)) << "never dropped";
  EXPECT_EQ(leaves->left[0], std::make_pair(guest, std::int32_t{SESSION_LEAVE_TIMED_OUT}));
  EXPECT_EQ(session->findPeer(guest), nullptr);
  // Heartbeats kept it in well past the time-out before it fell silent.
  EXPECT_GT(clockMs - joinedAt, kKeepAliveMs);
  EXPECT_EQ(joiner.wait(), 0) << "the joiner's own checks failed";
}

// The other process; runs only when started by the test above.
TEST_F(LanSession, JoinerSide) {
  const char* host = std::getenv(kHostVariable);
  if (!host || !*host) GTEST_SKIP() << "started by the hosting test only";
  const std::string text(host);
  SessionInfo info = sharedSession();
  ASSERT_TRUE(unhex(text, info.hostAddress.commonAddr.data(), PeerAddress::kCommonAddrSize));
  info.ownerId = PlayerID(CONNECTIONTYPE_LAN, std::stoull(text.substr(text.find(':') + 1)));
  info.hostAddress.key = info.sessionId;

  const PlayerID me = login(1);  // slot 1: both processes share this machine's address
  trustSession(info);
  makeSession(1, GameSession::ROLE_JOINED, info);
  session->addPlayers({info.ownerId}, {String("0")}, info.hostAddress, 1);

  class Route : public PeerRouteListener {
   public:
    void onRouteResult(std::uint32_t, ERRORID r) override { results.push_back(r); }
    std::vector<ERRORID> results;
  } route;
  messenger->openRouteTo(&route, PeerRecord{info.ownerId, info.hostAddress});
  ASSERT_TRUE(tickUntil([&] { return !route.results.empty(); }, 20000));
  ASSERT_EQ(route.results[0], ERRORID_SUCCEEDED);

  Waiter waiter;
  session->addWaiter(&waiter);
  ASSERT_TRUE(session->requestToEnter());
  ASSERT_TRUE(tickUntil([&] { return !waiter.results.empty(); }, 20000));
  ASSERT_EQ(waiter.results[0], ERRORID_SUCCEEDED);
  ASSERT_NE(session->findPeer(me), nullptr);
  EXPECT_TRUE(session->findPeer(me)->isLocal);

  for (int i = 0; i < kMessages; ++i) {
    Blob m = numbered(i);
    messenger->SendMessageToPlayer(info.ownerId, kGame, m);
    ASSERT_EQ(LastResult().get(), ERRORID_SUCCEEDED);
  }
  ASSERT_TRUE(tickUntil([&] { return game.got.size() == kMessages; }, 20000));
  for (int i = 0; i < kMessages; ++i)
    EXPECT_EQ(game.got[i], 100 + i);

  const std::uint64_t from = clockMs;
  ASSERT_TRUE(tickUntil([&] { return clockMs - from > kKeepAliveMs; }, 20000));
  EXPECT_NE(session->findPeer(info.ownerId), nullptr) << "the host's heartbeats stopped";
  // Silent from here: no update at all, long past the host's time-out.
  std::this_thread::sleep_for(std::chrono::milliseconds(3 * kThresholdMs));
}

}  // namespace
