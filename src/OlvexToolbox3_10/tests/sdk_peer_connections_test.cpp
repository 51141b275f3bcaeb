// Peer messengers on two network façades in one process, over real loopback
// UDP: a route opened under the session's key, tagged messages delivered in
// the order sent, both ways, and routes closed or refused.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "Modules/Core/Src/Result/ToolboxResult.h"
#include "Modules/NetworkService/Src/SdkPeerConnections.h"
#include "bdConnectionStore/bdConnectionStore.h"
#include "bdCore/bdCore.h"
#include "bdNet/bdNetImpl.h"
#include "peer_loopback.h"

using namespace OX_Toolbox;
using namespace peer_test;

namespace {

const SessionInfo* InfoOf(void* context) { return static_cast<const SessionInfo*>(context); }

struct SdkMachine {
  explicit SdkMachine(const PlayerID& player) : messenger(&players) {
    players.slots[0] = player;
    bdNetStartParams params;
    params.m_port = 0;
    params.m_localAddresses.pushBack(bdInetAddr::getLoopback());
    started = net.start(params);
    routes = new SdkPeerConnections(&net);
    routes->setSessionSource(InfoOf, &info);
    messenger.setConnections(routes);
    messenger.addSink(&sink);
  }
  ~SdkMachine() {
    messenger.setConnections(nullptr);
    net.stop();
  }
  void update() {
    net.pump();
    net.sendAll();
    net.receiveAndDispatchAll();
    messenger.pump();
  }
  PeerAddress address() const { return routes->localAddress(info.sessionId); }

  bdNetImpl net;
  bool started = false;
  SessionInfo info;
  FakePlayers players;
  PeerMessenger messenger;
  SdkPeerConnections* routes;  // owned by the messenger
  RecordingSink sink{PeerTag("GAME")};
};

class Listener : public PeerRouteListener {
 public:
  void onRouteResult(std::uint32_t id, ERRORID r) override { got.emplace_back(id, r); }
  std::vector<std::pair<std::uint32_t, ERRORID>> got;
};

class SdkPeerConnectionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bdCore::init(true);
    a = std::make_unique<SdkMachine>(alice);
    b = std::make_unique<SdkMachine>(bob);
    ASSERT_TRUE(a->started && b->started);
    a->update();  // attach both to their networks
    b->update();
    SessionInfo shared;
    shared.sessionId = {1, 2, 3, 4, 5, 6, 7, 8};
    for (std::uint8_t i = 0; i < 16; ++i)
      shared.sessionKey[i] = static_cast<std::uint8_t>(0x40 + i);
    a->info = b->info = shared;
    // The host knows the session's key before anyone connects.
    bdSecurityID id;
    bdSecurityKey key;
    std::copy(shared.sessionId.begin(), shared.sessionId.end(), id.ab);
    std::copy(shared.sessionKey.begin(), shared.sessionKey.end(), key.ab);
    b->net.getSecurityKeyMap()->put(id, key);
  }
  void TearDown() override {
    a.reset();
    b.reset();
    bdCore::quit();
  }
  bool updateUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      a->update();
      b->update();
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
  }
  // a opens its route to b; true once a heard the outcome.
  ERRORID openAtoB() {
    const std::uint32_t id = a->messenger.openRouteTo(&listener, PeerRecord{bob, b->address()});
    if (!updateUntil([&] { return !listener.got.empty(); })) return ERRORID_TIMEOUT;
    EXPECT_EQ(listener.got.back().first, id);
    return listener.got.back().second;
  }

  const PlayerID alice{CONNECTIONTYPE_LAN, 0xA11CE};
  const PlayerID bob{CONNECTIONTYPE_LAN, 0xB0B};
  std::unique_ptr<SdkMachine> a, b;
  Listener listener;
};

TEST_F(SdkPeerConnectionsTest, MessagesTravelInTheOrderSentAndTheAnswerFindsItsWayBack) {
  ASSERT_EQ(openAtoB(), ERRORID_SUCCEEDED);
  ASSERT_TRUE(updateUntil([&] { return b->routes->routeCount() == 1; }));
  std::vector<Bytes> sent;
  for (std::uint8_t i = 0; i < 20; ++i) {
    sent.push_back(Bytes(1 + i * 40, i));
    Blob m;
    m.setData(sent.back().data(), static_cast<std::uint32_t>(sent.back().size()));
    a->messenger.SendMessageToPlayer(bob, PeerTag("GAME"), m);
    ASSERT_EQ(LastResult().get(), ERRORID_SUCCEEDED) << int(i);
  }
  ASSERT_TRUE(updateUntil([&] { return b->sink.got.size() == sent.size(); }))
      << b->sink.got.size() << " of " << sent.size();
  for (std::size_t i = 0; i < sent.size(); ++i)
    EXPECT_EQ(b->sink.got[i].second, sent[i]) << i;

  // b learnt where alice sits from the envelopes and answers over the route
  // a opened.
  Blob answer;
  answer.writeUInt32(0, 7);
  b->messenger.SendMessageToPlayer(alice, PeerTag("GAME"), answer);
  ASSERT_EQ(LastResult().get(), ERRORID_SUCCEEDED);
  ASSERT_TRUE(updateUntil([&] { return a->sink.got.size() == 1; }));
}

TEST_F(SdkPeerConnectionsTest, ClosingARouteStopsTheTrafficBothWays) {
  ASSERT_EQ(openAtoB(), ERRORID_SUCCEEDED);
  ASSERT_TRUE(updateUntil([&] { return b->routes->routeCount() == 1; }));
  const std::uint32_t close = a->messenger.closeRouteTo(&listener, bob);
  ASSERT_TRUE(updateUntil([&] { return b->routes->routeCount() == 0; }));
  EXPECT_EQ(listener.got.back(), std::make_pair(close, ERRORID_SUCCEEDED));
  Blob m;
  m.writeUInt8(0, 1);
  a->messenger.registerPeer(bob, b->address());
  a->messenger.SendMessageToPlayer(bob, PeerTag("GAME"), m);
  EXPECT_EQ(LastResult().get(), ERRORID_FAILED);
}

TEST_F(SdkPeerConnectionsTest, ARouteNeedsASession) {
  a->routes->setSessionSource([](void*) -> const SessionInfo* { return nullptr; }, nullptr);
  EXPECT_EQ(openAtoB(), ERRORID_CONNECTION_FAILURE);
  EXPECT_EQ(a->routes->routeCount(), 0u);
}

}  // namespace
