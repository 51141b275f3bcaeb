// The peer session layer between this machine and a scripted other machine
// over a loopback transport: joins accepted and refused, each player at its
// own machine, heartbeats and time-outs on the toolbox clock, players
// leaving, the game interface's notices and the players' tickets.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Modules/Core/Src/Result/ToolboxResult.h"
#include "Modules/Core/Src/Tasks/Events.h"
#include "Modules/Session/Src/GameSession.h"
#include "Modules/Session/Src/SessionEvents.h"
#include "Modules/Session/Src/SessionMessageDecoder.h"
#include "peer_loopback.h"
#include "toolbox_test_support.h"

using namespace OX_Toolbox;
using namespace peer_test;

namespace {

using Notice = std::pair<std::string, PlayerID>;

class SessionGame : public toolbox_test::RecordingGame {
 public:
  using RecordingGame::RecordingGame;
  void onJoinSession(const SessionInfo&, const std::vector<PlayerID>& ids) override {
    for (const PlayerID& id : ids)
      notices.emplace_back("join session", id);
  }
  void onSessionUpdated(const SessionInfo&) override {
    notices.emplace_back("updated", PlayerID());
  }
  void onPlayerJoin(LocalPlayer* p, const PeerAddress& at, std::int32_t) override {
    notices.emplace_back("join", p->getPlayerID(CONNECTIONTYPE_LAN));
    joinedAt.push_back(at);
  }
  void onPlayerLeave(const PlayerID& id, std::int32_t reason) override {
    notices.emplace_back("leave " + std::to_string(reason), id);
  }
  void onHostLeave(const PlayerID& id, std::int32_t reason) override {
    notices.emplace_back("host leave " + std::to_string(reason), id);
  }
  std::vector<Notice> notices;
  std::vector<PeerAddress> joinedAt;
};

class FakeMatchmaking : public SessionMatchmaking {
 public:
  bool assignSlot(const Ticket& t, const PlayerID&) override { return t.extra != 99; }
  std::vector<Ticket> createTickets(std::uint32_t count, bool) override {
    return std::vector<Ticket>(std::min<std::uint32_t>(count, available));
  }
  void playersAdded(const std::vector<PlayerID>& ids) override { added.push_back(ids.size()); }
  void ownerRemoved(const std::vector<PlayerID>&) override { ++ownerGone; }
  void matchStarted() override {}
  void matchEnded() override {}
  void setMatchStartedField(bool) override {}
  std::vector<SessionInfo::Attribute> fieldValues() override { return {}; }
  std::uint32_t available = 4;
  std::vector<std::size_t> added;
  int ownerGone = 0;
};

class Waiter : public SessionWaiter {
 public:
  void onSessionResult(ERRORID r) override { results.push_back(r); }
  std::vector<ERRORID> results;
};

const SessionID kSession = {1, 2, 3, 4, 5, 6, 7, 8};
const PlayerID kMe(CONNECTIONTYPE_LAN, 0x100);
const PlayerID kPeer(CONNECTIONTYPE_LAN, 0x200);
const PlayerID kThird(CONNECTIONTYPE_LAN, 0x300);

// This machine (1) runs the toolbox core and the session; the test plays
// machine 2, whose messages it builds and reads itself.
class SessionTest : public toolbox_test::CoreFixture {
 protected:
  void SetUp() override {
    const std::string path = scriptPath();
    toolbox_test::writeFile(
        path, toolbox_test::fileKeys() + "TIMEOUT_THRESHOLD = 5\n" + "HEARTBEAT_PER_SEC = 0\n");
    sessionGame = std::make_unique<SessionGame>(path);
    ASSERT_EQ(ToolboxCore::create(sessionGame.get(), nullptr), ERRORID_SUCCEEDED);
    auto* me = new LocalPlayer(0);
    me->setLogin(String("hostess"));
    me->setPlayerID(kMe);
    ToolboxCore::instance()->addLocalPlayerObject(&me);
    ToolboxCore::instance()->getEventManager()->addListener(&events);

    own = new LoopbackConnections(board, 1);
    messenger.setConnections(own);
    messenger.addSink(&sink);
    own->routes = {2, 3};
    other.players.slots[0] = kPeer;
    other.connections->routes = {1};
    other.messenger.addSink(&heard);
    other.messenger.registerPeer(kMe, machineAddress(1));
  }
  void TearDown() override {
    session.reset();
    ToolboxCore::instance()->getEventManager()->removeListener(&events);
    CoreFixture::TearDown();
  }

  void start(std::uint32_t role) {
    SessionInfo info;
    info.ownerId = role == GameSession::ROLE_HOST ? kMe : kPeer;
    info.sessionId = kSession;
    info.hostAddress = machineAddress(role == GameSession::ROLE_HOST ? 1 : 2);
    info.setAttribute(7, String("seven"));
    session = std::make_unique<GameSession>(0, role, CONNECTIONTYPE_LAN, &info);
    session->setMessenger(&messenger);
    session->setMatchmaking(&matchmaking);
    session->setLocalAddress(machineAddress(1));
    GameSession::setCurrent(session.get());
    if (role == GameSession::ROLE_HOST) {
      session->addPlayers({kMe}, {String("hostess")}, machineAddress(1), 1);
    } else {
      messenger.registerPeer(kPeer, machineAddress(2));
      session->addPlayers({kPeer}, {String("guest")}, machineAddress(2), 1);
    }
    sessionGame->notices.clear();
  }

  // Machine 2 sends to this machine's player.
  void fromOther(SessionMessage& m, const PlayerID& sender = kPeer) {
    m.setSender(sender);
    Blob blob;
    ASSERT_TRUE(m.serialize(blob));
    other.messenger.SendMessageToPlayer(kMe, kSessionMessageTag, blob);
    ASSERT_EQ(LastResult().get(), ERRORID_SUCCEEDED);
    messenger.pump();
  }
  // What machine 2 has received since the last call, decoded.
  std::vector<std::unique_ptr<SessionMessage>> heardByOther() {
    other.messenger.pump();
    std::vector<std::unique_ptr<SessionMessage>> out;
    for (auto& got : heard.got) {
      Blob b(got.second.data(), static_cast<std::uint32_t>(got.second.size()), BLOB_READONLY);
      out.push_back(decodeSessionMessage(b));
    }
    heard.got.clear();
    return out;
  }
  std::vector<PlayerID> peerIds() const {
    std::vector<PlayerID> ids;
    for (const SessionPeer& p : session->peers())
      ids.push_back(p.id);
    return ids;
  }
  EnterSessionMessage enterRequest(const SessionID& id = kSession) {
    return EnterSessionMessage(id, {kPeer}, {String("guest")}, {Ticket()}, machineAddress(2));
  }

  struct EventLog : ToolboxMessageSink {
    bool onMessage(Event* e) override {
      if (auto* j = dynamic_cast<EventPlayerJoinLeaveSession*>(e)) codes.push_back(j->code);
      return false;
    }
    std::vector<std::int32_t> codes;
  } events;
  std::unique_ptr<SessionGame> sessionGame;
  Switchboard board;
  PeerMessenger messenger;
  LoopbackConnections* own = nullptr;
  SessionMessageSink sink;
  Machine other{board, 2};
  RecordingSink heard{kSessionMessageTag};
  FakeMatchmaking matchmaking;
  std::unique_ptr<GameSession> session;
};

TEST_F(SessionTest, TheHostAcceptsAJoinerAndAnswersWithTheSessionAndItsAttributes) {
  start(GameSession::ROLE_HOST);
  EnterSessionMessage enter = enterRequest();
  fromOther(enter);
  EXPECT_EQ(peerIds(), (std::vector<PlayerID>{kMe, kPeer}));
  const SessionPeer* joiner = session->findPeer(kPeer);
  ASSERT_NE(joiner, nullptr);
  EXPECT_FALSE(joiner->isLocal);
  EXPECT_TRUE(sameMachine(joiner->address, machineAddress(2)));
  EXPECT_EQ(sessionGame->notices, (std::vector<Notice>{{"join", kPeer}}));
  EXPECT_EQ(matchmaking.added, (std::vector<std::size_t>{1, 1}));

  auto answers = heardByOther();
  ASSERT_EQ(answers.size(), 2u);
  auto* state = dynamic_cast<SessionStateMessage*>(answers[0].get());
  ASSERT_NE(state, nullptr);
  EXPECT_TRUE(state->accepted);
  EXPECT_EQ(state->players, (std::vector<PlayerID>{kMe, kPeer}));
  EXPECT_TRUE(sameMachine(state->addresses[0], machineAddress(1)));
  auto* attributes = dynamic_cast<SessionAttributesMessage*>(answers[1].get());
  ASSERT_NE(attributes, nullptr);
  ASSERT_EQ(attributes->attributes.size(), 1u);
  EXPECT_EQ(attributes->attributes[0].first, 7);
}

TEST_F(SessionTest, TheHostRefusesAJoinItCannotTake) {
  struct Case {
    const char* what;
    SessionID id;
    std::uint8_t ticketExtra;
    std::size_t alreadyIn;
  } cases[] = {
      {"another session", {9, 9, 9, 9, 9, 9, 9, 9}, 0, 0},
      {"a ticket that takes no slot", kSession, 99, 0},
      {"a session as full as its lists can count", kSession, 0, kMaxSessionListEntries - 1},
  };
  for (const Case& c : cases) {
    start(GameSession::ROLE_HOST);
    std::vector<PlayerID> crowd;
    std::vector<String> names;
    for (std::size_t i = 0; i < c.alreadyIn; ++i) {
      crowd.emplace_back(CONNECTIONTYPE_LAN, 0x1000 + i);
      names.emplace_back("someone");
    }
    session->addPlayers(crowd, names, machineAddress(3), 1);
    heardByOther();
    EnterSessionMessage enter = enterRequest(c.id);
    enter.tickets[0].extra = c.ticketExtra;
    fromOther(enter);
    EXPECT_EQ(session->findPeer(kPeer), nullptr) << c.what;
    auto answers = heardByOther();
    ASSERT_EQ(answers.size(), 1u) << c.what;
    auto* state = dynamic_cast<SessionStateMessage*>(answers[0].get());
    ASSERT_NE(state, nullptr) << c.what;
    EXPECT_FALSE(state->accepted) << c.what;
  }
}

TEST_F(SessionTest, AJoinerTakesEachListedPlayerAtThatPlayersOwnMachine) {
  start(GameSession::ROLE_JOINED);
  Waiter waiter;
  session->addWaiter(&waiter);
  // This machine is 1; the host (kPeer) is 2 and a third player sits at 3.
  SessionStateMessage state(kSession, true, true, {kPeer, kThird, kMe},
                            {String("guest"), String("third"), String("hostess")},
                            {machineAddress(2), machineAddress(3), machineAddress(1)}, {1, 5, 1});
  fromOther(state);
  ASSERT_EQ(peerIds(), (std::vector<PlayerID>{kPeer, kThird, kMe}));
  EXPECT_TRUE(sameMachine(session->findPeer(kThird)->address, machineAddress(3)));
  EXPECT_EQ(session->findPeer(kThird)->status, 5);
  EXPECT_FALSE(session->findPeer(kThird)->isLocal);
  EXPECT_TRUE(session->findPeer(kMe)->isLocal);
  EXPECT_TRUE(session->inMatch());
  EXPECT_EQ(waiter.results, (std::vector<ERRORID>{ERRORID_SUCCEEDED}));
  ASSERT_GE(sessionGame->notices.size(), 3u);
  EXPECT_EQ(sessionGame->notices[0], Notice("join session", kPeer));

  SessionStateMessage refusal(kSession, false, false, {}, {}, {}, {});
  session->addWaiter(&waiter);
  fromOther(refusal);
  EXPECT_EQ(waiter.results.back(), ERRORID_FAILED);
}

TEST_F(SessionTest, ASilentPeerIsDroppedOnceItsSilenceExceedsTheThreshold) {
  start(GameSession::ROLE_HOST);
  EnterSessionMessage enter = enterRequest();
  fromOther(enter);
  heardByOther();
  ToolboxCore::instance()->update(0);
  events.codes.clear();
  sessionGame->notices.clear();
  session->updateHeartbeat(334);  // HEARTBEAT_PER_SEC = 0 means 3 a second
  auto beats = heardByOther();
  ASSERT_EQ(beats.size(), 1u);
  ASSERT_NE(dynamic_cast<HeartbeatMessage*>(beats[0].get()), nullptr);
  EXPECT_EQ(dynamic_cast<HeartbeatMessage*>(beats[0].get())->players, std::vector<PlayerID>{kMe});

  HeartbeatMessage alive(kSession, {kPeer});
  fromOther(alive);  // silence back to 0
  session->updateHeartbeat(5000 - 334);
  session->updateHeartbeat(334);
  EXPECT_NE(session->findPeer(kPeer), nullptr) << "5000 ms of silence is not yet too long";
  session->updateHeartbeat(1);
  EXPECT_EQ(session->findPeer(kPeer), nullptr);
  EXPECT_EQ(sessionGame->notices, (std::vector<Notice>{{"leave 1", kPeer}}));
  ToolboxCore::instance()->update(0);
  EXPECT_EQ(events.codes, std::vector<std::int32_t>{2});
}

TEST_F(SessionTest, AHostWhoseSendFailsDropsThatPeerAtItsNextPass) {
  start(GameSession::ROLE_HOST);
  EnterSessionMessage enter = enterRequest();
  fromOther(enter);
  own->routes.clear();
  session->updateHeartbeat(334);
  EXPECT_NE(session->findPeer(kPeer), nullptr);
  session->updateHeartbeat(0);
  EXPECT_EQ(session->findPeer(kPeer), nullptr);
  EXPECT_EQ(sessionGame->notices.back(), Notice("leave 1", kPeer));
}

TEST_F(SessionTest, AJoinerWhoseHostFallsSilentReportsItAndSendsNothingMore) {
  start(GameSession::ROLE_JOINED);
  session->addPlayers({kMe}, {String("hostess")}, machineAddress(1), 1);
  session->updateHeartbeat(334);
  EXPECT_EQ(heardByOther().size(), 1u);
  session->updateHeartbeat(5000);
  EXPECT_EQ(session->findPeer(kPeer), nullptr);
  EXPECT_EQ(sessionGame->notices.back(), Notice("host leave 1", kPeer));
  EXPECT_EQ(matchmaking.ownerGone, 1);
  session->updateHeartbeat(5000);
  EXPECT_TRUE(heardByOther().empty());
}

TEST_F(SessionTest, LeavingAndClosingReachTheGameAsTheirReasons) {
  start(GameSession::ROLE_HOST);
  EnterSessionMessage enter = enterRequest();
  fromOther(enter);
  sessionGame->notices.clear();
  PlayersLeftMessage left(kSession, {kPeer});
  fromOther(left);
  EXPECT_EQ(sessionGame->notices, (std::vector<Notice>{{"leave 0", kPeer}}));

  start(GameSession::ROLE_JOINED);
  session->addPlayers({kMe}, {String("hostess")}, machineAddress(1), 1);
  sessionGame->notices.clear();
  SessionNoticeMessage notOwner(SESSION_MSG_SESSION_CLOSED, kSession);
  fromOther(notOwner, kThird);
  EXPECT_TRUE(sessionGame->notices.empty()) << "only the owner closes a session";
  SessionNoticeMessage closed(SESSION_MSG_SESSION_CLOSED, kSession);
  fromOther(closed);
  EXPECT_EQ(sessionGame->notices, (std::vector<Notice>{{"host leave 2", kPeer}}));
  EXPECT_EQ(session->findPeer(kMe), nullptr);
}

TEST_F(SessionTest, MessagesAreIgnoredWhileClosingOrFromASenderWithoutConnectionType) {
  start(GameSession::ROLE_HOST);
  EnterSessionMessage enter = enterRequest();
  fromOther(enter, PlayerID());
  EXPECT_EQ(session->findPeer(kPeer), nullptr);
  session->markClosing();
  fromOther(enter);
  EXPECT_EQ(session->findPeer(kPeer), nullptr);
  session->updateHeartbeat(10000);
  EXPECT_TRUE(heardByOther().empty());
}

TEST_F(SessionTest, TicketsGoToLocalPlayersWithoutOneForTheSession) {
  start(GameSession::ROLE_JOINED);
  Ticket t1, t2;
  t1.key = kSession;
  t1.extra = 1;
  t2.key = kSession;
  t2.extra = 2;
  Waiter waiter;
  session->addWaiter(&waiter);
  TicketsMessage tickets(kSession, ERRORID_SUCCEEDED, {t1, t2});
  fromOther(tickets);
  LocalPlayer* me = ToolboxCore::instance()->getLocalPlayer(0);
  ASSERT_EQ(me->tickets().size(), 1u);
  EXPECT_EQ(me->tickets()[0].extra, 1);
  EXPECT_EQ(waiter.results, std::vector<ERRORID>{ERRORID_SUCCEEDED});

  auto* second = new LocalPlayer(1);
  second->setPlayerID(PlayerID(CONNECTIONTYPE_LAN, 0x101));
  ToolboxCore::instance()->addLocalPlayerObject(&second);
  session->addWaiter(&waiter);
  TicketsMessage none(kSession, ERRORID_SUCCEEDED, {});
  fromOther(none);
  EXPECT_EQ(waiter.results.back(), ERRORID_SESSION_JOIN_ILLEGAL);
}

TEST(LocalPlayerTicketsTest, ATicketIsHeldOnceAndAReAddedOneMovesToTheEnd) {
  LocalPlayer p(0);
  Ticket a, b;
  a.key = {1};
  b.key = {2};
  p.addTicket(a);
  p.addTicket(b);
  p.addTicket(a);
  ASSERT_EQ(p.tickets().size(), 2u);
  EXPECT_EQ(p.tickets()[1], a);
  Ticket out;
  out.extra = 42;
  EXPECT_FALSE(p.findTicket({3}, out));
  EXPECT_EQ(out.extra, 42);
  EXPECT_TRUE(p.findTicket({2}, out));
  EXPECT_EQ(out, b);
}

}  // namespace
