// The network lobby's state machine, driven through the session manager's
// queue with recording fakes of the windows, the toolbox side and
// matchmaking: login, hosting, joining, players coming and going, and the
// start of a match with its aborts.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "bdCore/bdCore.h"
#include "online/net_lobby.h"
#include "online_test_support.h"

namespace {

using namespace online;
using OX_Toolbox::PlayerID;

class RecordingWindows : public LobbyWindows {
 public:
  void ShowText(int32_t text, bool disabled) override {
    texts.push_back(text);
    log.push_back(disabled ? "text (disabled)" : "text");
  }
  void AddStatusLine(int32_t text) override { log.push_back("status " + std::to_string(text)); }
  void ShowStatusWindow(int32_t mode) override {
    log.push_back("status window " + std::to_string(mode));
  }
  void CloseStatusWindow() override {}
  void ShowLoginWindow() override { log.push_back("login window"); }
  void GamesListStep() override {}
  bool GamesListShown() override { return true; }
  void FillGamesList() override { log.push_back("fill list"); }
  void RearmListTimer(uint32_t ms) override { log.push_back("timer " + std::to_string(ms)); }
  void SessionStep() override {}
  bool WaitShown() override { return wait; }
  void ShowWait() override { wait = true; }
  void HideWait() override { wait = false; }
  void HideSessionWindow() override { log.push_back("hide session"); }
  void SessionPlayersChanged() override { ++playerUpdates; }
  void ShowSlot(int32_t slot) override { log.push_back("slot " + std::to_string(slot)); }
  bool Logged(const std::string& line) const {
    return std::find(log.begin(), log.end(), line) != log.end();
  }

  std::vector<int32_t> texts;
  std::vector<std::string> log;
  bool wait = false;
  int playerUpdates = 0;
};

class FakeServices : public LobbyServices {
 public:
  bool PumpAlive() override { return alive; }
  void CancelPump() override { calls.push_back("cancel pump"); }
  uint32_t StartNetwork(OnlineSessionManager&, int32_t type) override {
    calls.push_back("start " + std::to_string(type));
    return 1;
  }
  uint32_t Login(OnlineSessionManager&, int32_t type) override {
    calls.push_back("login " + std::to_string(type));
    return loginTask;
  }
  void ObtainQosProbe() override { calls.push_back("probe"); }
  void AnswerQosForSession() override { calls.push_back("answer qos"); }
  void StopQosAnswers() override { calls.push_back("stop qos"); }
  void PublishPlayerList() override { calls.push_back("publish"); }
  void SendLocalPlayerData(int32_t slot) override {
    calls.push_back("player data " + std::to_string(slot));
  }
  int32_t ProfileSetting() override { return 7; }
  float LexiconVersion() override { return 2.5f; }

  bool alive = true;
  uint32_t loginTask = 5;
  std::vector<std::string> calls;
};

class FakeMatchmaking : public MatchmakingPort {
 public:
  OX_Toolbox::ERRORID CreateService() override { return OX_Toolbox::ERRORID_SUCCEEDED; }
  bool HasCurrentSession() override { return session; }
  void ReleaseCurrentSession() override { session = false; }
  void FreeLastSearchResults() override {}
  std::vector<SessionMember> SessionMembers() override { return members; }
  bool MatchStarted() override { return started; }
  void SetMatchStarted(bool s) override { started = s; }
  void SetIntAttribute(uint32_t id, int32_t v) override { ints[id] = v; }
  bool GetIntAttribute(uint32_t id, int32_t* v) override {
    auto it = ints.find(id);
    if (it == ints.end()) return false;
    *v = it->second;
    return true;
  }
  void SetTextAttribute(uint32_t id, const std::string& v) override { texts[id] = v; }
  bool GetTextAttribute(uint32_t id, std::string* v) override {
    auto it = texts.find(id);
    if (it == texts.end()) return false;
    *v = it->second;
    return true;
  }
  uint32_t UpdateSession(MatchmakingReports*) override { return Call("update"); }
  uint32_t SearchSessions(MatchmakingReports*, int32_t) override { return Call("search"); }
  uint32_t DeleteSession(MatchmakingReports*) override { return Call("delete"); }
  uint32_t EndMatch(MatchmakingReports*) override { return Call("end match"); }
  uint32_t Call(const char* what) {
    calls.push_back(what);
    return 1;
  }

  bool session = true;
  bool started = false;
  std::vector<SessionMember> members;
  std::map<uint32_t, int32_t> ints;
  std::map<uint32_t, std::string> texts;
  std::vector<std::string> calls;
};

class NetLobbyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bdCore::init(true);
    previous = SetMatchmakingPort(&matchmaking);
    manager = std::make_unique<OnlineSessionManager>();
    manager->ClearQueues();  // start-up failed: no configuration here
  }
  void TearDown() override {
    manager.reset();
    SetMatchmakingPort(previous);
    bdCore::quit();
  }
  void Push(int32_t result, int32_t event) {
    manager->PushResult(result);
    manager->PushEvent(event);
  }
  // Pushes the pair and runs one frame.
  void Step(NetLobby& lobby, int32_t result, int32_t event) {
    Push(result, event);
    lobby.StepStateMachine();
  }
  // A lobby logged in and browsing.
  void Browse(NetLobby& lobby) {
    lobby.Begin("Game");
    Step(lobby, 1, eStartOlvex);
    Step(lobby, 1, eLoginOlvex);
    lobby.StepStateMachine();
    ASSERT_EQ(lobby.State(), 2);
  }
  static SessionMember Member(uint64_t id, const char* name, bool local) {
    return SessionMember{PlayerID(1, id), name, local};
  }

  online_test::RecordingWindowPort port;
  RecordingWindows windows;
  FakeServices services;
  FakeMatchmaking matchmaking;
  MatchmakingPort* previous = nullptr;
  std::unique_ptr<OnlineSessionManager> manager;
};

TEST_F(NetLobbyTest, LanLoginLeadsToBrowsingAndStaleEventsAreDropped) {
  LanLobby lobby(*manager, services, windows);
  lobby.Begin("Game");
  EXPECT_EQ(manager->ConnectionType(), 1);
  Step(lobby, 1, eSearchSessions);  // left over from an earlier session
  EXPECT_EQ(manager->GetFrontEvent(), eidle);
  EXPECT_EQ(lobby.State(), 0);
  Step(lobby, 1, eStartOlvex);
  Step(lobby, 1, eLoginOlvex);
  EXPECT_EQ(lobby.State(), 1);
  lobby.StepStateMachine();
  EXPECT_EQ(lobby.State(), 2);
  EXPECT_TRUE(lobby.LoggedIn());
  EXPECT_EQ(services.calls, (std::vector<std::string>{"start 1", "login 1", "probe"}));
  EXPECT_EQ(manager->GetFrontEvent(), eidle);
}

TEST_F(NetLobbyTest, AFailedNetworkStartStopsThePump) {
  LanLobby lobby(*manager, services, windows);
  lobby.Begin("Game");
  Step(lobby, 2, eStartOlvex);
  EXPECT_EQ(services.calls, (std::vector<std::string>{"start 1", "cancel pump"}));
  services.alive = false;
  Step(lobby, 1, eLoginOlvex);  // a dead pump consumes nothing
  EXPECT_EQ(manager->GetFrontEvent(), eLoginOlvex);
}

TEST_F(NetLobbyTest, InternetLoginFailuresShowTheirTextAndStayConnecting) {
  const std::vector<std::pair<int32_t, int32_t>> cases = {
      {8, kTextUnableToConnect},    {9, kTextAccountBlocked},   {10, kTextAccountExpired},
      {12, kTextNoSuchUser},        {13, kTextWrongPassword},   {42, kTextUserMalformed},
      {45, kTextPasswordMalformed}, {47, kTextPasswordHasUser}, {99, kTextConnectionFailed}};
  InternetLobby lobby(*manager, services, windows);
  lobby.Begin("Game");
  Step(lobby, 1, eStartOlvex);
  EXPECT_TRUE(windows.Logged("login window"));
  for (const auto& c : cases) {
    Step(lobby, c.first, eLoginOlvex);
    EXPECT_EQ(windows.texts.back(), c.second) << c.first;
    EXPECT_EQ(lobby.State(), 0);
  }
  EXPECT_EQ(manager->GetFrontEvent(), eidle);
}

TEST_F(NetLobbyTest, HostingPublishesTheSessionAttributes) {
  LanLobby lobby(*manager, services, windows);
  Browse(lobby);
  lobby.SetMaxPlayers(3);
  lobby.Setup().kind = 1;
  lobby.Setup().challengeMode = 2;
  lobby.Setup().invalidWordForfeits = 1;
  lobby.Setup().flags = 0x40;
  Step(lobby, 1, eHostSession);
  EXPECT_EQ(lobby.State(), 3);
  EXPECT_TRUE(lobby.Hosting());
  EXPECT_EQ(matchmaking.ints[kAttrMaxPlayers], 3);
  EXPECT_EQ(matchmaking.ints[kAttrKind], 1);
  EXPECT_EQ(matchmaking.ints[kAttrConnectedPlayers], 1);
  EXPECT_EQ(matchmaking.ints[kAttrMatchState], -1);
  EXPECT_EQ(matchmaking.ints[kAttrChallengeOptions], 0x102);
  EXPECT_EQ(matchmaking.ints[kAttrProfileSetting], 7);
  EXPECT_EQ(matchmaking.ints[kAttrFlags], 0x40);
  EXPECT_EQ(matchmaking.texts[kAttrSessionName], "Game");
  EXPECT_EQ(matchmaking.texts[kAttrLexiconVersion], "2.5000");
  EXPECT_EQ(matchmaking.calls, std::vector<std::string>{"update"});
}

TEST_F(NetLobbyTest, AFailedOrCancelledCreationStaysBrowsing) {
  InternetLobby lobby(*manager, services, windows);
  Browse(lobby);
  Step(lobby, 2, eHostSession);
  EXPECT_EQ(windows.texts.back(), kTextCouldNotCreate);
  EXPECT_TRUE(windows.Logged("timer 10000"));
  lobby.SetCancelFlag(true);
  Step(lobby, 1, eHostSession);  // created after the user gave up: deleted again
  EXPECT_EQ(matchmaking.calls, std::vector<std::string>{"delete"});
  EXPECT_FALSE(lobby.CancelFlag());
  EXPECT_EQ(lobby.State(), 2);
}

TEST_F(NetLobbyTest, JoiningReadsTheSessionOrRefusesAStartedOne) {
  LanLobby lobby(*manager, services, windows);
  Browse(lobby);
  matchmaking.started = true;
  Step(lobby, 1, eJoinSession);
  EXPECT_EQ(windows.texts.back(), kTextAlreadyStarted);
  EXPECT_TRUE(windows.Logged("text (disabled)"));
  EXPECT_EQ(matchmaking.calls, std::vector<std::string>{"delete"});
  EXPECT_EQ(lobby.State(), 2);

  matchmaking.started = false;
  matchmaking.ints = {
      {kAttrMaxPlayers, 4}, {kAttrKind, 1}, {kAttrChallengeOptions, 0x103}, {kAttrFlags, 0x8}};
  matchmaking.texts = {{kAttrSessionName, "Ann's game"}};
  Step(lobby, 1, eJoinSession);
  EXPECT_EQ(lobby.State(), 3);
  EXPECT_FALSE(lobby.Hosting());
  EXPECT_EQ(lobby.MaxPlayers(), 4);
  EXPECT_EQ(lobby.Setup().kind, 1);
  EXPECT_EQ(lobby.Setup().challengeMode, 3);
  EXPECT_EQ(lobby.Setup().invalidWordForfeits, 1);
  EXPECT_EQ(lobby.Setup().language, 7);
  EXPECT_EQ(lobby.SessionName(), "Ann's game");
}

TEST_F(NetLobbyTest, AJoinWhoseSessionWentEndsBrowsing) {
  LanLobby lobby(*manager, services, windows);
  Browse(lobby);
  matchmaking.session = false;
  Step(lobby, 1, eJoinSession);
  EXPECT_EQ(lobby.State(), 2);
  EXPECT_EQ(manager->GetFrontEvent(), eidle);
}

TEST_F(NetLobbyTest, PlayersJoinAndLeaveTheSetUp) {
  LanLobby lobby(*manager, services, windows);
  Browse(lobby);
  lobby.SetMaxPlayers(3);
  Step(lobby, 1, eHostSession);
  matchmaking.members = {Member(1, "ann", true)};
  Step(lobby, 1, ePlayerJoin);
  matchmaking.members.push_back(Member(2, "bob", false));
  matchmaking.members.push_back(Member(3, "cid", false));
  Step(lobby, 1, ePlayerJoin);
  ASSERT_EQ(lobby.Setup().GetPlayerCount(), 3);
  EXPECT_EQ(lobby.LocalSlot(), 0);
  EXPECT_STREQ(lobby.Setup().entries[1].name, "bob");
  EXPECT_EQ(lobby.Setup().entries[0].playerType, 0);
  EXPECT_EQ(lobby.Setup().entries[2].playerType, 2);
  EXPECT_EQ(matchmaking.ints[kAttrConnectedPlayers], 3);

  matchmaking.members.erase(matchmaking.members.begin() + 1);  // bob leaves
  Step(lobby, 1, ePlayerLeave);
  ASSERT_EQ(lobby.Setup().GetPlayerCount(), 2);
  EXPECT_STREQ(lobby.Setup().entries[1].name, "cid");
  EXPECT_EQ(matchmaking.ints[kAttrConnectedPlayers], 2);
  EXPECT_EQ(windows.playerUpdates, 3);
  EXPECT_EQ(manager->GetFrontEvent(), eidle);
}

TEST_F(NetLobbyTest, AJoinerFindingTheSessionFullGoesBackToBrowsing) {
  LanLobby lobby(*manager, services, windows);
  Browse(lobby);
  matchmaking.ints = {{kAttrMaxPlayers, 2}};
  Step(lobby, 1, eJoinSession);
  matchmaking.members = {Member(1, "ann", false), Member(2, "bob", false), Member(3, "me", true)};
  Step(lobby, 1, ePlayerJoin);
  EXPECT_EQ(windows.texts.back(), kTextSessionFull);
  EXPECT_EQ(lobby.State(), 2);
  EXPECT_EQ(matchmaking.calls, std::vector<std::string>{"delete"});
}

TEST_F(NetLobbyTest, AMatchStartsOnceEveryoneWaitsAndAbortsWhenAPlayerLeaves) {
  LanLobby lobby(*manager, services, windows);
  Browse(lobby);
  Step(lobby, 1, eHostSession);
  matchmaking.members = {Member(1, "ann", true), Member(2, "bob", false)};
  Step(lobby, 1, ePlayerJoin);
  Step(lobby, 1, eStartGame);
  EXPECT_EQ(lobby.State(), 4);
  EXPECT_TRUE(matchmaking.started);
  EXPECT_EQ(matchmaking.ints[kAttrMatchState], 0);
  lobby.StepStateMachine();
  EXPECT_EQ(lobby.State(), 5);
  EXPECT_TRUE(windows.Logged("status window 4"));
  lobby.StepStateMachine();
  EXPECT_EQ(lobby.StartRequest(), 2);
  EXPECT_EQ(lobby.SubPhase(), 0);
  EXPECT_TRUE(windows.Logged("status " + std::to_string(kStatusStartingGame)));

  // Another start, where bob leaves before it is under way.
  LanLobby second(*manager, services, windows);
  Browse(second);
  Step(second, 1, eHostSession);
  Step(second, 1, ePlayerJoin);
  Step(second, 1, eStartGame);
  matchmaking.members.pop_back();
  Step(second, 1, ePlayerLeave);
  EXPECT_EQ(second.State(), 3);
  EXPECT_EQ(second.StartRequest(), 1);
  EXPECT_EQ(windows.texts.back(), kTextGameAborted);
  EXPECT_EQ(matchmaking.calls.back(), "end match");
}

TEST_F(NetLobbyTest, TheHostLeavingCancelsAJoinedSession) {
  InternetLobby lobby(*manager, services, windows);
  Browse(lobby);
  Step(lobby, 1, eJoinSession);
  matchmaking.members = {Member(1, "ann", false), Member(3, "me", true)};
  Step(lobby, 1, ePlayerJoin);
  Step(lobby, 1, eHostLeave);
  EXPECT_EQ(windows.texts.back(), kTextHostCanceled);
  EXPECT_EQ(lobby.Setup().GetPlayerCount(), 0);
  EXPECT_EQ(matchmaking.calls, std::vector<std::string>{"delete"});
  Step(lobby, 1, eDeleteSession);
  EXPECT_EQ(lobby.State(), 2);
  EXPECT_TRUE(windows.Logged("slot 29"));
}

}  // namespace
