// One process online against the test servers on loopback: the
// configuration downloaded and run, an account created, a login through the
// authentication server and the lobby, the profile made, written and read
// back, a refused login, a logout, and a lost lobby connection reported.
#include <gtest/gtest.h>

#include "Modules/Core/Src/Players/LocalPlayer.h"
#include "Modules/Core/Src/Tasks/Events.h"
#include "Modules/Core/Src/Tasks/TaskManager.h"
#include "Modules/Core/Src/ToolboxCore.h"
#include "Modules/NetworkService/Src/SdkNetworkLayer.h"
#include "account_test_support.h"
#include "bdLobbyCommon/bdAuth.h"

using namespace OX_Toolbox;

namespace {

struct EventLog : ToolboxMessageSink {
  bool onMessage(Event* event) override {
    types.push_back(event->getType());
    return false;
  }
  bool saw(const ClassTypeInfo* type) const {
    for (const ClassTypeInfo* t : types) {
      if (t == type) return true;
    }
    return false;
  }
  std::vector<const ClassTypeInfo*> types;
};

FlexibleValue integer(std::int32_t v) {
  FlexibleValue f;
  f.setInt32(v);
  return f;
}

FlexibleValue text(const char* v) {
  FlexibleValue f;
  f.setString(String(v));
  return f;
}

// The SDK's own network, started without public-address discovery (the
// servers are on loopback), on any free port.
NetworkLayer* sdkLayer() { return new SdkNetworkLayer(false, 0); }

class OnlineToolbox : public account_test::AccountFixture {
 protected:
  void SetUp() override {
    AccountFixture::SetUp();
    SetNetworkLayerFactory(&sdkLayer);
  }
};

TEST_F(OnlineToolbox, StartsLogsInAndKeepsItsProfileOnTheServers) {
  // The local configuration names no live server: the download does.
  ASSERT_EQ(createCore(localScript("LobbyServer = { '127.0.0.1:1' }\n")), ERRORID_SUCCEEDED);
  config->setAnswer(configserver::ConfigServer::ok(serverKeys()));
  auth->addAccount("alice1", "secret1");
  EventLog events;
  ToolboxCore::instance()->getEventManager()->addListener(&events);

  ASSERT_EQ(NetworkService::create("tess", "fr-FR"), ERRORID_SUCCEEDED);
  AccountService* accounts = createAccounts();
  ASSERT_NE(accounts, nullptr);
  online_test::RecordingNetworkListener started;
  NetworkService::find()->start(&started, NetworkService::ONLINE);
  ASSERT_TRUE(runUntil([&] { return !started.starts.empty(); }));
  ASSERT_EQ(started.starts[0].result, ERRORID_SUCCEEDED);
  EXPECT_EQ(NetworkService::find()->getLayer()->getStatus(), NetworkLayer::STARTED);

  // A new account, then a login with it and one with a wrong password.
  const String texts[4] = {String("b@example.org"), String("FR"), String("1990"), String("fr")};
  ASSERT_TRUE(waitFor("create", accounts->createOnlinePlayer(&listener, 0, String("bobby1"),
                                                             String("hunter22"), texts)));
  EXPECT_EQ(listener.last("create").result, ERRORID_SUCCEEDED);
  EXPECT_TRUE(auth->hasAccount("bobby1"));
  ASSERT_TRUE(waitFor("login", accounts->loginPlayer(&listener, NetworkService::ONLINE, 1,
                                                     String("bobby1"), String("wrong22"))));
  EXPECT_EQ(listener.last("login").result, ERRORID_INVALID_PASSWORD);
  EXPECT_EQ(ToolboxCore::instance()->getLocalPlayer(1), nullptr);

  ASSERT_TRUE(waitFor("login", accounts->loginPlayer(&listener, NetworkService::ONLINE, 0,
                                                     String("alice1"), String("secret1"))));
  ASSERT_EQ(listener.last("login").result, ERRORID_SUCCEEDED);
  LocalPlayer* alice = ToolboxCore::instance()->getLocalPlayer(0);
  ASSERT_NE(alice, nullptr);
  const std::uint64_t id = bdAuthUtility::getUserID("alice1");
  EXPECT_EQ(alice->getPlayerID(CONNECTIONTYPE_ONLINE), PlayerID(CONNECTIONTYPE_ONLINE, id));
  EXPECT_EQ(alice->getPlayerID(CONNECTIONTYPE_LAN), PlayerID(CONNECTIONTYPE_LAN, id));
  EXPECT_TRUE(accounts->isPlayerLoggedIn(0, CONNECTIONTYPE_ONLINE));
  EXPECT_EQ(lobby->getAuthenticatedCount(), 1u);

  // The login made the profile with default values.
  const PlayerID me(CONNECTIONTYPE_ONLINE, id);
  ASSERT_TRUE(waitFor("getPublic", accounts->retrievePublicProfilePropetyValues(&listener, 0, me)));
  ASSERT_EQ(listener.last("getPublic").result, ERRORID_SUCCEEDED);
  ASSERT_EQ(listener.last("getPublic").values.size(), 2u);
  EXPECT_EQ(listener.last("getPublic").values[0].getAsInt32(), 0);

  // Written, then read back.
  ASSERT_TRUE(waitFor("setPublic", accounts->setPublicProfilePropertyValues(
                                       &listener, 0, {integer(1512), text("QUIXOTIC")})));
  EXPECT_EQ(listener.last("setPublic").result, ERRORID_SUCCEEDED);
  ASSERT_TRUE(waitFor("setPrivate",
                      accounts->setPrivateProfilePropertyValues(&listener, 0, {text("carpe")})));
  EXPECT_EQ(listener.last("setPrivate").result, ERRORID_SUCCEEDED);
  ASSERT_TRUE(waitFor("getPublic", accounts->retrievePublicProfilePropetyValues(&listener, 0, me)));
  ASSERT_EQ(listener.last("getPublic").result, ERRORID_SUCCEEDED);
  const ProfileValues& pub = listener.last("getPublic").values;
  ASSERT_EQ(pub.size(), 2u);
  EXPECT_EQ(pub[0].getAsInt32(), 1512);
  ASSERT_NE(pub[1].getString(), nullptr);
  EXPECT_TRUE(pub[1].getString()->equalsNarrow("QUIXOTIC"));
  ASSERT_TRUE(waitFor("getPrivate", accounts->retrievePrivateProfilePropetyValues(&listener, 0)));
  ASSERT_EQ(listener.last("getPrivate").result, ERRORID_SUCCEEDED);
  ASSERT_EQ(listener.last("getPrivate").values.size(), 1u);
  EXPECT_TRUE(listener.last("getPrivate").values[0].getString()->equalsNarrow("carpe"));

  // Stored values that do not match the definitions are a failed read, not
  // a success with whatever was read.
  ASSERT_TRUE(waitFor("setPublic", accounts->setPublicProfilePropertyValues(
                                       &listener, 0, {text("QUIXOTIC"), integer(1512)})));
  ASSERT_TRUE(waitFor("getPublic", accounts->retrievePublicProfilePropetyValues(&listener, 0, me)));
  EXPECT_EQ(listener.last("getPublic").result, ERRORID_FAILED);
  EXPECT_TRUE(listener.last("getPublic").values.empty());

  // A value the record cannot carry is refused before anything is sent.
  ASSERT_TRUE(waitFor("setPublic",
                      accounts->setPublicProfilePropertyValues(&listener, 0, {FlexibleValue()})));
  EXPECT_EQ(listener.last("setPublic").result, ERRORID_INVALID_INPUT_DATA);

  ASSERT_TRUE(waitFor("logout", accounts->logoutPlayer(&listener, 0)));
  EXPECT_EQ(listener.last("logout").result, ERRORID_SUCCEEDED);
  EXPECT_FALSE(accounts->isPlayerLoggedIn(0, CONNECTIONTYPE_ONLINE));

  // Logged in again, then logged out by the service's own notice.
  ASSERT_TRUE(waitFor("login", accounts->loginPlayer(&listener, NetworkService::ONLINE, 0,
                                                     String("alice1"), String("secret1"))));
  ASSERT_EQ(listener.last("login").result, ERRORID_SUCCEEDED);
  const std::size_t calls = game->calls.size();
  lobbyserver::PushMessage notice;
  notice.type = 29;
  notice.id1 = id;
  ASSERT_TRUE(lobby->push(id, notice));
  EXPECT_TRUE(runUntil([] { return ToolboxCore::instance()->getLocalPlayer(0) == nullptr; }));
  ASSERT_GT(game->calls.size(), calls);
  EXPECT_EQ(game->calls.back().what, "logout");

  // The lobby going away is reported as an event
  lobby->stop();
  EXPECT_TRUE(runUntil([&] { return events.saw(&EventLobbyConnectionLost::s_type); }));
  // and ends the tasks that were still to run: a look-up that would have
  // succeeded on its first run never runs.
  EXPECT_TRUE(ToolboxCore::instance()->getTaskManager()->isShutdown());
  ASSERT_TRUE(waitFor("search", accounts->searchPlayerID(&listener, 0, String("bob"))));
  EXPECT_EQ(listener.last("search").result, ERRORID_SYSTEM_CANCELLED);
  ToolboxCore::instance()->getEventManager()->removeListener(&events);
}

}  // namespace
