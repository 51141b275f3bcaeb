// The network service: the network start on LAN, the online start against
// the test servers on loopback (configuration download, authentication and
// lobby server search), and the failures that must end a start.
#include <gtest/gtest.h>

#include "Modules/AccountService/Src/Driver/Rezovovoz/OlvexAuthService.h"
#include "Modules/Core/Src/ToolboxCore.h"
#include "Modules/NetworkService/Src/NetworkService.h"
#include "online_test_support.h"

using namespace OX_Toolbox;
using online_test::ScriptedLayer;

namespace {

class NetworkServiceTest : public online_test::OnlineFixture {
 protected:
  NetworkService* createService(const std::string& servers) {
    EXPECT_EQ(createCore(localScript(servers)), ERRORID_SUCCEEDED);
    EXPECT_EQ(NetworkService::create("tess", "fr-FR"), ERRORID_SUCCEEDED);
    return NetworkService::find();
  }
  // Starts and runs until the listener heard the outcome.
  ERRORID startAndWait(NetworkService* service, std::uint32_t type) {
    const std::size_t before = listener.starts.size();
    const std::uint32_t id = service->start(&listener, type);
    EXPECT_NE(id, 0u);
    EXPECT_TRUE(runUntil([&] { return listener.starts.size() > before; }));
    if (listener.starts.size() <= before) return ERRORID_INVALID;
    EXPECT_EQ(listener.starts.back().taskId, id);
    return listener.starts.back().result;
  }

  online_test::RecordingNetworkListener listener;
};

TEST_F(NetworkServiceTest, ALanStartOnlyStartsTheNetworkAndHappensOnce) {
  NetworkService* service = createService(serverKeys());
  ASSERT_NE(service, nullptr);
  EXPECT_EQ(startAndWait(service, NetworkService::LAN), ERRORID_SUCCEEDED);
  EXPECT_EQ(service->getConnectionType(), NetworkService::LAN);
  ASSERT_NE(ScriptedLayer::last, nullptr);
  EXPECT_FALSE(ScriptedLayer::last->online);
  EXPECT_GE(ScriptedLayer::last->localCount, 1u);
  EXPECT_EQ(config->lastRequest(), "");  // nothing downloaded
  EXPECT_EQ(service->getAuthService(), nullptr);

  // Once started, every update pumps, sends and dispatches.
  const int sends = ScriptedLayer::last->sends;
  ToolboxCore::instance()->update(60);
  ToolboxCore::instance()->update(60);
  EXPECT_EQ(ScriptedLayer::last->sends, sends + 2);
  EXPECT_EQ(ScriptedLayer::last->dispatches, sends + 2);
  service->setPumpEnabled(0);
  ToolboxCore::instance()->update(60);
  EXPECT_EQ(ScriptedLayer::last->sends, sends + 2);

  // A second start fails its prerequisite and changes nothing.
  EXPECT_EQ(startAndWait(service, NetworkService::ONLINE), ERRORID_TASK_PREREQUISITE_FAILED);
  EXPECT_EQ(service->getConnectionType(), NetworkService::LAN);
  // One per core.
  EXPECT_EQ(NetworkService::create("tess", "fr-FR"), ERRORID_FAILED);
  EXPECT_EQ(NetworkService::find(), service);
}

TEST_F(NetworkServiceTest, ANetworkThatFailsToStartFailsTheStart) {
  ScriptedLayer::endStatus = -2;
  NetworkService* service = createService(serverKeys());
  EXPECT_EQ(startAndWait(service, NetworkService::LAN), ERRORID_CONNECTION_FAILURE);
  EXPECT_EQ(service->getConnectionType(), NetworkService::NONE);
}

TEST_F(NetworkServiceTest, OnlineStartDownloadsTheConfigurationAndFindsTheServers) {
  // The local configuration names dead servers; the download names two dead
  // authentication servers before the live one.
  NetworkService* service =
      createService("AuthenticationServer = { '127.0.0.1:1' }\nLobbyServer = { '127.0.0.1:1' }\n");
  const std::string dead = hostPort(online_test::deadPort());
  config->setAnswer(configserver::ConfigServer::ok(
      "AuthenticationServer = { '" + dead + "', 'nohost:x', '" + hostPort(auth->getPort()) +
      "' }\nLobbyServer = { '" + dead + "', '" + hostPort(lobby->getPort()) +
      "' }\nNorvSigKeyPub = 'replaced'\n"));
  EXPECT_EQ(startAndWait(service, NetworkService::ONLINE), ERRORID_SUCCEEDED);
  EXPECT_EQ(service->getConnectionType(), NetworkService::ONLINE);
  EXPECT_TRUE(ScriptedLayer::last->online);
  EXPECT_NE(config->lastRequest().find(
                "GET /MatchMakingConfig.aspx?action=g_mmc&gid=tess&locale=fr-FR HTTP/1.1\r\n"),
            std::string::npos);
  ASSERT_NE(service->getAuthService(), nullptr);
  EXPECT_EQ(service->getAuthService()->getStatus(), OlvexAuthService::IDLE);
  std::string host;
  EXPECT_EQ(service->getLobbyHost(host), ERRORID_SUCCEEDED);
  EXPECT_EQ(host, "127.0.0.1");
  EXPECT_EQ(service->getLobbyPort(), lobby->getPort());
}

TEST_F(NetworkServiceTest, OnlineStartFailures) {
  const std::string live = serverKeys();
  const std::string dead = hostPort(online_test::deadPort());
  const struct {
    const char* what;
    std::string answer;
    bool withKey;
    ERRORID result;
  } cases[] = {
      {"cut short", "HTTP/1.1 200 OK\r\nContent-Length: 90\r\n\r\nLobbyServer = {}", true,
       ERRORID_CONNECTION_FAILURE},
      {"binary chunk", configserver::ConfigServer::ok(std::string("\x1bLua\x53\x00", 6)), true,
       ERRORID_CONNECTION_FAILURE},
      {"not Lua", configserver::ConfigServer::ok("LobbyServer = {"), true,
       ERRORID_CONNECTION_FAILURE},
      {"no server answers",
       configserver::ConfigServer::ok("AuthenticationServer = { '" + dead + "' }"), true,
       ERRORID_CONNECTION_FAILURE},
      {"no lobby answers", configserver::ConfigServer::ok("LobbyServer = { '" + dead + "' }"), true,
       ERRORID_CONNECTION_FAILURE},
      {"no signing key", configserver::ConfigServer::ok(""), false, ERRORID_CONFIGURATIONERROR},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string script = c.withKey ? localScript(live) : toolbox_test::fileKeys() + live;
    ASSERT_EQ(createCore(script), ERRORID_SUCCEEDED);
    ASSERT_EQ(NetworkService::create("tess", "fr-FR"), ERRORID_SUCCEEDED);
    config->setAnswer(c.answer);
    EXPECT_EQ(startAndWait(NetworkService::find(), NetworkService::ONLINE), c.result);
    EXPECT_EQ(NetworkService::find()->getConnectionType(), NetworkService::NONE);
    ToolboxCore::destroy();
  }
}

TEST_F(NetworkServiceTest, ServerListsAndTheLobbyAddressFallBackOnTheSingleKeys) {
  NetworkService* service = createService(
      "DWauthenticationURL = 'auth.example:20800'\nDWlobbyURL = 'lobby.example:20810'\n");
  std::vector<std::string> list;
  EXPECT_EQ(service->getAuthenticationServers(list), ERRORID_SUCCEEDED);
  EXPECT_EQ(list, std::vector<std::string>{"auth.example:20800"});
  EXPECT_EQ(service->getLobbyServers(list), ERRORID_SUCCEEDED);
  EXPECT_EQ(list, std::vector<std::string>{"lobby.example:20810"});
  std::string host;
  EXPECT_EQ(service->getLobbyHost(host), ERRORID_SUCCEEDED);
  EXPECT_EQ(host, "lobby.example");
  EXPECT_EQ(service->getLobbyPort(), 20810);
  EXPECT_EQ(service->getConfigPath(), "/MatchMakingConfig.aspx?action=g_mmc&gid=tess&locale=fr-FR");
}

TEST(NetworkServiceAlone, NeedsACoreAndStartsAndQuitsTheSdkItself) {
  EXPECT_EQ(NetworkService::create("tess", "fr-FR"), ERRORID_FAILED);
  toolbox_test::writeFile("olvex_alone.lua", toolbox_test::fileKeys());
  toolbox_test::RecordingGame game("olvex_alone.lua");
  ASSERT_EQ(ToolboxCore::create(&game, nullptr), ERRORID_SUCCEEDED);
  ASSERT_FALSE(bdCore::isInitialized());
  ASSERT_EQ(NetworkService::create("tess", "fr-FR"), ERRORID_SUCCEEDED);
  EXPECT_TRUE(bdCore::isInitialized());
  EXPECT_EQ(NetworkService::find()->getState()->sdkStarted, 1);
  ToolboxCore::destroy();
  EXPECT_FALSE(bdCore::isInitialized());
  // A new toolbox starts it again.
  ASSERT_EQ(ToolboxCore::create(&game, nullptr), ERRORID_SUCCEEDED);
  ASSERT_EQ(NetworkService::create("tess", "fr-FR"), ERRORID_SUCCEEDED);
  EXPECT_TRUE(bdCore::isInitialized());
  ToolboxCore::destroy();
  std::remove("olvex_alone.lua");
  OX_Toolbox::routeSdkMemoryToToolbox();
}

}  // namespace
