#pragma once
// The online services against the test lobby server on loopback: a core
// with a stand-in network service that pumps the lobby and hands its push
// messages to the core, one logged-in local player ("ann", online id 1)
// connected through the process's lobby service, and a second player
// ("bob", id 2) on a lobby client of its own.
#include <functional>
#include <memory>

#include "Modules/Core/Src/Cache/ServiceCache.h"
#include "Modules/Core/Src/Players/LocalPlayer.h"
#include "Modules/Core/Src/Tasks/TaskManager.h"
#include "Modules/Services/Src/OnlineLink.h"
#include "bdCore/bdCore.h"
#include "bdCore/bdMemory/bdMallocMemory.h"
#include "bdCore/bdThread/bdPlatformTiming.h"
#include "bdLobbyService/bdLobbyServiceImpl.h"
#include "lobbyServer.h"
#include "toolbox_test_support.h"

namespace toolbox_test {

inline const unsigned char* lobbyKey() {
  static const unsigned char key[24] = {3, 1, 4, 1, 5, 9, 2, 6, 5, 3, 5, 8,
                                        9, 7, 9, 3, 2, 3, 8, 4, 6, 2, 6, 4};
  return key;
}

// Pumps the lobby and posts its messages, as the network service does.
class PumpingNetworkService : public OX_Toolbox::Service {
 public:
  explicit PumpingNetworkService(lobbyserver::LobbyServer* server) : m_server(server) {}
  const char* getName() const override { return "NetworkService"; }
  OX_Toolbox::LuaForwarder* registerScript(OX_Toolbox::ScriptInterpreter*) override {
    return nullptr;
  }
  void update(std::uint32_t) override {
    m_server->pump();
    OX_Toolbox::Lobby()->getStatus();
    OX_Toolbox::PostLobbyMessages();
  }

 private:
  lobbyserver::LobbyServer* m_server;
};

class ServicesFixture : public CoreFixture {
 protected:
  static constexpr std::uint64_t kAnn = 1;
  static constexpr std::uint64_t kBob = 2;

  void SetUp() override {
    sdkBytesBefore = bdMallocMemory::getTotalBytes();
    bdCore::init(true);
    server = std::make_unique<lobbyserver::LobbyServer>(lobbyKey());
    ASSERT_TRUE(server->start());
    server->getStore().addUser(kAnn, "ann");
    server->getStore().addUser(kBob, "bob");
    ASSERT_EQ(createCore(fileKeys()), OX_Toolbox::ERRORID_SUCCEEDED);
    core = OX_Toolbox::ToolboxCore::instance();
    ASSERT_EQ(core->registerService(new PumpingNetworkService(server.get())),
              OX_Toolbox::ERRORID_SUCCEEDED);
    OX_Toolbox::SetConnectionTypeQuery(
        [](OX_Toolbox::Service*) { return std::int32_t{OX_Toolbox::CONNECTIONTYPE_ONLINE}; });
    auto* me = new OX_Toolbox::LocalPlayer(0);
    me->setLogin(OX_Toolbox::String("ann"));
    me->setPlayerID(ann());
    ASSERT_TRUE(core->addLocalPlayerObject(&me));
    ASSERT_TRUE(connect(*OX_Toolbox::Lobby(), kAnn, "ann"));
    bob = std::make_unique<bdLobbyServiceImpl>();
    ASSERT_TRUE(connect(*bob, kBob, "bob"));
  }
  void TearDown() override {
    OX_Toolbox::Lobby()->disconnect();
    bob.reset();
    CoreFixture::TearDown();
    OX_Toolbox::SetConnectionTypeQuery(nullptr);
    server.reset();
    bdCore::quit();
    // Everything the SDK handed out during the test came back.
    EXPECT_EQ(bdMallocMemory::getTotalBytes(), sdkBytesBefore);
  }
  static OX_Toolbox::PlayerID ann() { return {OX_Toolbox::CONNECTIONTYPE_ONLINE, kAnn}; }
  static OX_Toolbox::PlayerID bobId() { return {OX_Toolbox::CONNECTIONTYPE_ONLINE, kBob}; }

  bool connect(bdLobbyServiceImpl& lobby, std::uint64_t id, const char* name) {
    if (!lobby.connect(bdAddr(bdInetAddr::getLoopback(), server->getPort()),
                       lobbyserver::LobbyServer::makeCredentials(lobbyKey(), id, name)))
      return false;
    // Connected on this side is not yet authenticated on the server's, and
    // the server pushes only to authenticated clients.
    const unsigned int before = server->getAuthenticatedCount();
    return until([&] {
      return lobby.getStatus() == bdConnection::BD_CONNECTED &&
             server->getAuthenticatedCount() > before;
    });
  }
  // Ticks the core (which pumps the server and ann's lobby) and bob's lobby
  // until the condition holds, for at most about 3 s.
  bool until(const std::function<bool()>& done) {
    for (int i = 0; i < 3000; ++i) {
      if (core) core->update(10);
      server->pump();
      if (bob) bob->getStatus();
      if (done()) return true;
      bdPlatformTiming::sleep(1);
    }
    return false;
  }
  // Runs bob's lobby request to its answer; true when it succeeded.
  bool bobDoes(unsigned char task, const bdLobbyArgs& args) {
    bdRemoteTaskRef t = bob->getFriends()->startTask(task, 0, args);
    if (t.isNull()) return false;
    const bool answered = until([&] { return t->getStatus() != bdRemoteTask::BD_PENDING; });
    const bool ok = answered && bob->getFriends()->handleTask(t.get(), nullptr);
    t->reset();
    return ok;
  }
  bool idle() {
    return until([&] { return core->getTaskManager()->isIdle(); });
  }

  std::unique_ptr<lobbyserver::LobbyServer> server;
  std::unique_ptr<bdLobbyServiceImpl> bob;
  OX_Toolbox::ToolboxCore* core = nullptr;
  std::size_t sdkBytesBefore = 0;
};

}  // namespace toolbox_test
