// The session manager: start-up and its failure, the (result, event) pair
// each toolbox report leaves, the services a login asks, and the messages
// it takes from the toolbox's dispatcher.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "Modules/Core/Src/Players/LocalPlayer.h"
#include "Modules/Core/Src/Records/RecordList.h"
#include "Modules/Core/Src/Service.h"
#include "Modules/Core/Src/Types/Blob.h"
#include "Modules/Core/Src/Tasks/TaskManager.h"
#include "Modules/Core/Src/ToolboxCore.h"
#include "Modules/MessagingService/Src/Messages/MessageEvents.h"
#include "Modules/Session/Src/SessionInfo.h"
#include "bdCore/bdCore.h"
#include "bdLobbyCommon/bdLobbyMessage.h"
#include "online/game_message.h"
#include "online/online_session_manager.h"
#include "online/toolbox_matchmaking.h"
#include "Modules/MatchmakingService/Src/MatchmakingConfig.h"
#include "Modules/MatchmakingService/Src/MatchmakingService.h"
#include "Modules/Session/Src/GameSession.h"
#include "online_test_support.h"
#include "toolbox_test_support.h"

namespace {

using namespace online;
using OX_Toolbox::ERRORID_FAILED;
using OX_Toolbox::ERRORID_SUCCEEDED;
using OX_Toolbox::ToolboxCore;

class RecordingLobby : public LobbyLink {
 public:
  void ClearLoggedIn() override { calls.push_back("logged out"); }
  void RequestPumpStop() override { calls.push_back("stop pump"); }
  bool FriendsListenerExists() override { return friends; }
  void DeliverFriendChatLine(const uint8_t* bytes, std::size_t size) override {
    lines.emplace_back(bytes, bytes + size);
  }
  bool friends = false;
  std::vector<std::string> calls;
  std::vector<std::vector<uint8_t>> lines;
};

// Stands in for the matchmaking service the statistics service needs.
class StubMatchmakingService : public OX_Toolbox::Service {
 public:
  const char* getName() const override { return "MatchmakingService"; }
  OX_Toolbox::LuaForwarder* registerScript(OX_Toolbox::ScriptInterpreter*) override {
    return nullptr;
  }
};

class RecordingMatchmaking : public MatchmakingPort {
 public:
  OX_Toolbox::ERRORID CreateService() override {
    if (createResult != ERRORID_SUCCEEDED) return createResult;
    return ToolboxCore::instance()->registerService(new StubMatchmakingService);
  }
  bool HasCurrentSession() override { return session; }
  void ReleaseCurrentSession() override { session = false, ++released; }
  void FreeLastSearchResults() override { ++freed; }
  std::vector<SessionMember> SessionMembers() override { return {}; }
  bool MatchStarted() override { return false; }
  void SetMatchStarted(bool) override {}
  void SetIntAttribute(uint32_t, int32_t) override {}
  bool GetIntAttribute(uint32_t, int32_t*) override { return false; }
  void SetTextAttribute(uint32_t, const std::string&) override {}
  bool GetTextAttribute(uint32_t, std::string*) override { return false; }
  uint32_t UpdateSession(MatchmakingReports*) override { return 0; }
  uint32_t SearchSessions(MatchmakingReports*, int32_t) override { return 0; }
  uint32_t DeleteSession(MatchmakingReports*) override { return 0; }
  uint32_t EndMatch(MatchmakingReports*) override { return 0; }

  OX_Toolbox::ERRORID createResult = ERRORID_SUCCEEDED;
  bool session = false;
  int released = 0;
  int freed = 0;
};

constexpr uint32_t kAttrProbe = 0x10000011;

// Drains the queues into (result, event) pairs.
std::vector<std::pair<int32_t, int32_t>> Drain(OnlineSessionManager& m) {
  std::vector<std::pair<int32_t, int32_t>> pairs;
  while (m.GetFrontEvent() != eidle) {
    pairs.emplace_back(m.GetFrontResult(), m.GetFrontEvent());
    m.PopFront();
  }
  return pairs;
}

class SessionManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bdCore::init(true);
    previous = SetMatchmakingPort(&matchmaking);
  }
  void TearDown() override {
    SetMatchmakingPort(previous);
    std::filesystem::remove_all("Data");
    std::remove("mm.dat");
    bdCore::quit();
  }
  // The configuration script where the manager looks for it.
  void WriteConfig() {
    std::filesystem::create_directories("Data/Olvex");
    toolbox_test::writeFile(kOnlineConfigPath, toolbox_test::fileKeys());
    // One profile definition: the account service needs the file.
    OX_Toolbox::RecordList list;
    OX_Toolbox::Blob b;
    b.writeInt32(0, 1);
    b.writeString(b.getSize(), OX_Toolbox::String("rating"));
    b.writeInt32(b.getSize(), 1);
    b.writeBool(b.getSize(), true);
    b.writeInt32(b.getSize(), OX_Toolbox::OX_INT32);
    const char tag[4] = {'P', 'R', 'F', 'C'};
    list.add(OX_Toolbox::TaggedRecord::create(tag, b.getData(), b.getSize()));
    ASSERT_EQ(list.saveToFile("mm.dat"), ERRORID_SUCCEEDED);
  }

  online_test::RecordingWindowPort windows;
  RecordingMatchmaking matchmaking;
  MatchmakingPort* previous = nullptr;
  RecordingLobby lobby;
};

TEST_F(SessionManagerTest, StartUpCreatesEveryServiceAndLeavesTheQueuesEmpty) {
  WriteConfig();
  {
    OnlineSessionManager manager(&lobby);
    ASSERT_TRUE(ToolboxCore::exists());
    EXPECT_EQ(manager.GetFrontResult(), 0);
    EXPECT_EQ(manager.GetFrontEvent(), eidle);
    for (const char* name : {"NetworkService", "AccountService", "MatchmakingService",
                             "MessagingService", "FriendService", "StatisticsService"})
      EXPECT_NE(ToolboxCore::instance()->findService(name), nullptr) << name;
    EXPECT_TRUE(manager.getConfigPath().equalsNarrow(kOnlineConfigPath));
  }
  EXPECT_FALSE(ToolboxCore::exists());
  EXPECT_EQ(matchmaking.freed, 1);
}

TEST_F(SessionManagerTest, AnyStartUpFailureLeavesResultTwoAloneAndNoToolbox) {
  struct Case {
    const char* what;
    bool config;
    OX_Toolbox::ERRORID matchmakingResult;
  };
  for (const Case& c : {Case{"no configuration script", false, ERRORID_SUCCEEDED},
                        Case{"matchmaking refused", true, ERRORID_FAILED}}) {
    if (c.config) WriteConfig();
    matchmaking.createResult = c.matchmakingResult;
    OnlineSessionManager manager(&lobby);
    EXPECT_FALSE(ToolboxCore::exists()) << c.what;
    EXPECT_EQ(manager.GetFrontResult(), ERRORID_FAILED) << c.what;
    EXPECT_EQ(manager.GetFrontEvent(), eidle) << c.what;
    manager.PopFront();
    EXPECT_EQ(manager.GetFrontResult(), 0) << c.what;
  }
}

TEST_F(SessionManagerTest, EachReportQueuesItsResultAndEvent) {
  OnlineSessionManager manager(&lobby);
  manager.ClearQueues();
  const OX_Toolbox::ERRORID kCode = static_cast<OX_Toolbox::ERRORID>(13);
  struct Case {
    std::function<void()> report;
    int32_t result;
    int32_t event;
  };
  const OX_Toolbox::PlayerID someone(1, 5);
  const std::vector<Case> cases = {
      {[&] { manager.onJoinSession(OX_Toolbox::SessionInfo(), {}); }, 1, eJoinSession},
      {[&] { manager.onHostSession(kCode); }, 1, eHostSession},
      {[&] { manager.onStartGame(); }, 1, eStartGame},
      {[&] { manager.onEndGame(); }, 1, eEndGame},
      {[&] { manager.onPlayerJoin(nullptr, OX_Toolbox::PeerAddress(), 1); }, 1, ePlayerJoin},
      {[&] { manager.onPlayerLeave(someone, 0); }, 1, ePlayerLeave},
      {[&] { manager.onHostLeave(someone, 2); }, 1, eHostLeave},
      {[&] { manager.onStart(7, kCode); }, kCode, eStartOlvex},
      {[&] { manager.onCreateOnlinePlayer(7, kCode); }, kCode, eCreateAccount},
      {[&] { manager.onLoginPlayer(7, kCode); }, kCode, eLoginOlvex},
      {[&] { manager.onLogoutPlayer(7, kCode); }, kCode, eLogoutOlvex},
      {[&] { manager.onSearchSessions(7, kCode); }, kCode, eSearchSessions},
      {[&] { manager.onDeleteSession(7, kCode); }, kCode, eDeleteSession},
      {[&] { manager.onStartMatch(7, kCode); }, kCode, eStartGame},
      {[&] { manager.onEndMatch(7, kCode); }, kCode, eEndGame},
  };
  std::vector<std::pair<int32_t, int32_t>> expected;
  for (const Case& c : cases) {
    c.report();
    expected.emplace_back(c.result, c.event);
  }
  // Reports that queue nothing.
  manager.onSynchronizeMessages(1, ERRORID_SUCCEEDED);
  manager.onDeleteMessage(1, ERRORID_SUCCEEDED);
  manager.onSetPublicProfilePropertyValues(1, ERRORID_SUCCEEDED);
  manager.onSetPublicProfilePropertyValues(1, ERRORID_FAILED);
  manager.onUpdateSession(1, ERRORID_SUCCEEDED);
  EXPECT_EQ(Drain(manager), expected);
  EXPECT_EQ(std::count(windows.debug.begin(), windows.debug.end(),
                       std::string("onSetPublicProfilePropertyValues: Failed\n")),
            1);
  EXPECT_EQ(std::count(windows.debug.begin(), windows.debug.end(),
                       std::string("onSynchronizeMessages\n")),
            1);
}

TEST_F(SessionManagerTest, DeletingTheSessionReleasesTheCurrentOneFirst) {
  OnlineSessionManager manager(&lobby);
  manager.ClearQueues();
  matchmaking.session = true;
  manager.onDeleteSession(3, ERRORID_SUCCEEDED);
  manager.onDeleteSession(4, ERRORID_SUCCEEDED);  // none left: nothing to release
  EXPECT_EQ(matchmaking.released, 1);
  EXPECT_EQ(Drain(manager).size(), 2u);
}

TEST_F(SessionManagerTest, LogoutClearsTheConnectionTypeAndTheLobbysLogin) {
  OnlineSessionManager manager(&lobby);
  manager.SetConnectionType(2);
  EXPECT_EQ(manager.onPlayerLogout(nullptr), 0);
  EXPECT_EQ(manager.ConnectionType(), 0);
  EXPECT_EQ(lobby.calls, std::vector<std::string>{"logged out"});
}

TEST_F(SessionManagerTest, OnlyAnOnlinePlayersLoginAsksForMessagesAndProfile) {
  WriteConfig();
  OnlineSessionManager manager(&lobby);
  ASSERT_TRUE(ToolboxCore::exists());
  manager.SetConnectionType(2);
  OX_Toolbox::TaskManager* tasks = ToolboxCore::instance()->getTaskManager();
  OX_Toolbox::LocalPlayer lan(0);
  lan.setPlayerID(OX_Toolbox::PlayerID(OX_Toolbox::CONNECTIONTYPE_LAN, 9));
  manager.onPlayerLogin(&lan);
  EXPECT_EQ(tasks->taskCount(), 0u);
  OX_Toolbox::LocalPlayer online(0);
  online.setPlayerID(OX_Toolbox::PlayerID(OX_Toolbox::CONNECTIONTYPE_ONLINE, 9));
  manager.onPlayerLogin(&online);
  EXPECT_EQ(tasks->taskCount(), 2u);
}

bdReference<bdLobbyMessage> FriendChat(unsigned int kind, uint64_t sender,
                                       const std::string& text) {
  auto* message = new bdLobbyGroupBufferMessage(kind);
  message->m_user.m_id = sender;
  message->m_payload =
      bdReference<bdByteBuffer>(new bdByteBuffer(static_cast<unsigned int>(text.size())));
  message->m_payload->write(text.data(), static_cast<unsigned int>(text.size()));
  return bdReference<bdLobbyMessage>(message);
}

TEST_F(SessionManagerTest, AFriendsChatBecomesAGameMessageOnlyWhileTheFriendsSideListens) {
  OnlineSessionManager manager(&lobby);
  OX_Toolbox::EventRezovovozMessageStore chat(FriendChat(31, 0x1122334455ull, "hi there"));
  EXPECT_FALSE(manager.onMessage(&chat));  // no friends listener yet
  EXPECT_TRUE(lobby.lines.empty());

  lobby.friends = true;
  OX_Toolbox::EventRezovovozMessageStore other(FriendChat(30, 1, "x"));
  EXPECT_FALSE(manager.onMessage(&other));
  EXPECT_TRUE(manager.onMessage(&chat));
  // A text longer than a line holds is cut to it.
  OX_Toolbox::EventRezovovozMessageStore longChat(FriendChat(31, 2, std::string(900, 'a')));
  EXPECT_TRUE(manager.onMessage(&longChat));
  ASSERT_EQ(lobby.lines.size(), 2u);
  for (const auto& line : lobby.lines) {
    ASSERT_EQ(line.size(), kFriendChatLineSize);
    EXPECT_EQ(CheckFriendChatLine(line.data(), line.size()), GameMessageCheck::kOk);
  }
  EXPECT_EQ(GameMessageType(lobby.lines[0].data(), lobby.lines[0].size()), kMsgFriendChatLine);
  EXPECT_EQ(
      std::string(reinterpret_cast<const char*>(lobby.lines[0].data()) + kFriendChatTextOffset),
      "hi there");
  uint64_t sender = 0;
  std::memcpy(&sender, lobby.lines[0].data() + 8, 8);
  EXPECT_EQ(sender, 0x1122334455ull);
}

TEST_F(SessionManagerTest, ALostLobbyConnectionStopsThePump) {
  OnlineSessionManager manager(&lobby);
  OX_Toolbox::EventLobbyConnectionLost lost;
  EXPECT_TRUE(manager.onMessage(&lost));
  OX_Toolbox::EventAllPlayersLoggedOut other;
  EXPECT_FALSE(manager.onMessage(&other));
  EXPECT_EQ(lobby.calls, std::vector<std::string>{"stop pump"});
}

TEST_F(SessionManagerTest, TheDefaultPortDrivesTheToolboxsMatchmakingService) {
  SetMatchmakingPort(nullptr);
  MatchmakingPort& port = *GetMatchmakingPort();
  EXPECT_EQ(port.DeleteSession(nullptr), 0u);  // no toolbox: nothing to do
  WriteConfig();
  OnlineSessionManager manager(&lobby);
  ASSERT_TRUE(ToolboxCore::exists());
  OX_Toolbox::MatchmakingService* service = OX_Toolbox::MatchmakingService::find();
  ASSERT_NE(service, nullptr);
  EXPECT_FALSE(port.HasCurrentSession());
  int32_t value = 0;
  EXPECT_FALSE(port.GetIntAttribute(kAttrProbe, &value));

  OX_Toolbox::MatchmakingConfig* config = service->getConfig();
  auto session = config->createSession(1, OX_Toolbox::CONNECTIONTYPE_LAN);
  ASSERT_NE(session, nullptr);
  config->setCurrentSession(std::move(session));
  ASSERT_TRUE(port.HasCurrentSession());
  port.SetIntAttribute(kAttrProbe, -42);
  ASSERT_TRUE(port.GetIntAttribute(kAttrProbe, &value));
  EXPECT_EQ(value, -42);
  // Attributes come from the network: only whole numbers in range are read.
  for (const char* text : {"12x", "", "99999999999"}) {
    port.SetTextAttribute(kAttrProbe, text);
    EXPECT_FALSE(port.GetIntAttribute(kAttrProbe, &value)) << text;
  }
  port.SetMatchStarted(true);
  EXPECT_TRUE(port.MatchStarted());

  // The session manager's delete report releases it.
  manager.onDeleteSession(1, ERRORID_SUCCEEDED);
  EXPECT_FALSE(port.HasCurrentSession());
}

}  // namespace
