// Two processes online against the test servers on loopback, each with its
// own toolbox: both log in, one asks the other to be friends and is
// accepted, they exchange mail, both play one ranked match and submit their
// scores, and each reads both rows back from the leaderboard.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Modules/Core/Src/Records/RecordList.h"
#include "Modules/Core/Src/Types/Blob.h"
#include "Modules/FriendService/Src/FriendService.h"
#include "Modules/MatchmakingService/Src/MatchmakingConfig.h"
#include "Modules/MatchmakingService/Src/MatchmakingService.h"
#include "Modules/MessagingService/Src/Messages/AbstractMessage.h"
#include "Modules/MessagingService/Src/Messages/FriendMessages.h"
#include "Modules/MessagingService/Src/MessagingService.h"
#include "Modules/NetworkService/Src/SdkNetworkLayer.h"
#include "Modules/Session/Src/GameSession.h"
#include "Modules/StatisticsService/Src/StatisticsService.h"
#include "account_test_support.h"
#include "bdLobbyCommon/bdAuth.h"
#include "child_process.h"
#include "matchmaking_test_support.h"

using namespace OX_Toolbox;

namespace {

// "<configuration server port>:<the authentication server's signing key>",
// set for the second process only.
constexpr const char* kServersVariable = "TESS_INTERNET_PLAY_SERVERS";
constexpr std::int32_t kScore = 10;
constexpr std::int32_t kBoard = 800;
constexpr std::uint32_t kLimitMs = 30000;

NetworkLayer* sdkLayer() { return new SdkNetworkLayer(false, 0); }

PlayerID online(const char* name) {
  return PlayerID(CONNECTIONTYPE_ONLINE, bdAuthUtility::getUserID(name));
}

class Friends : public FriendServiceListener {
 public:
  void onSendFriendshipRequest(std::uint32_t, ERRORID r) override { results.push_back(r); }
  void onSendFriendshipRequestReply(std::uint32_t, ERRORID r) override { results.push_back(r); }
  void onSendFriendMessage(std::uint32_t, ERRORID r) override { results.push_back(r); }
  std::vector<ERRORID> results;
};

class Mailbox : public MessageReceiver {
 public:
  void onMessage(AbstractMessage* m, bool) override {
    if (m->getType() != &MailMessage::s_type) return;
    std::size_t n = 0;
    char* text = m->getText().toUtf8(&n);
    mails.push_back({m->getSender(), std::string(text ? text : "", text ? n : 0)});
    ToolboxFree(text);
  }
  std::vector<std::pair<PlayerID, std::string>> mails;
};

class Boards : public StatisticsServiceListener {
 public:
  void onSubmitStatistics(std::uint32_t, ERRORID r) override { submitted.push_back(r); }
  void onFetchStatisticsFromRank(std::uint32_t, ERRORID r, const VectorLeaderboard& b) override {
    fetched.clear();
    if (r == ERRORID_SUCCEEDED && b.size() == 1) {
      for (const LeaderboardRow& row : b[0].rows)
        fetched.push_back({row.getEntityID(), row.getValue()});
    }
    ++fetches;
  }
  std::vector<ERRORID> submitted;
  std::vector<std::pair<std::uint64_t, std::int64_t>> fetched;
  int fetches = 0;
};

class Matches : public MatchmakingServiceListener {
 public:
  void onStartMatch(std::uint32_t, ERRORID r) override { results.push_back(r); }
  void onEndMatch(std::uint32_t, ERRORID r) override { results.push_back(r); }
  std::vector<ERRORID> results;
};

class InternetPlay : public account_test::AccountFixture {
 protected:
  void SetUp() override {
    AccountFixture::SetUp();
    SetNetworkLayerFactory(&sdkLayer);
    auth->addAccount("annie1", "secret1");
    auth->addAccount("bobby1", "secret2");
    config->setAnswer(configserver::ConfigServer::ok(serverKeys()));
  }
  void TearDown() override {
    GameSession::setCurrent(nullptr);
    session.reset();
    if (MessagingService* m = MessagingService::find()) m->removeMessageReceiver(&mailbox);
    if (!definitions.empty()) std::remove(definitions.c_str());
    AccountFixture::TearDown();
  }

  // The toolbox with every service the game creates, its player logged in
  // at slot 0. Files of its own keep the two processes apart.
  void startToolbox(const std::string& script, const char* name, const char* password) {
    ASSERT_EQ(createCore(script), ERRORID_SUCCEEDED);
    ASSERT_EQ(NetworkService::create("tess", "fr-FR"), ERRORID_SUCCEEDED);
    online_test::RecordingNetworkListener started;
    NetworkService::find()->start(&started, NetworkService::ONLINE);
    ASSERT_TRUE(waitUntil([&] { return !started.starts.empty(); }));
    ASSERT_EQ(started.starts[0].result, ERRORID_SUCCEEDED);
    writeDefinitions();
    ASSERT_EQ(AccountService::create(), ERRORID_SUCCEEDED);
    ASSERT_EQ(MessagingService::create(), ERRORID_SUCCEEDED);
    ASSERT_EQ(FriendService::create(), ERRORID_SUCCEEDED);
    ASSERT_EQ(MatchmakingService::create(), ERRORID_SUCCEEDED);
    ASSERT_EQ(StatisticsService::create(), ERRORID_SUCCEEDED);
    MessagingService::find()->addMessageReceiver(&mailbox);
    const std::uint32_t id = AccountService::find()->loginPlayer(&listener, NetworkService::ONLINE,
                                                                 0, String(name), String(password));
    ASSERT_TRUE(waitUntil([&] { return listener.heard("login", id); }));
    ASSERT_EQ(listener.last("login").result, ERRORID_SUCCEEDED);
  }

  // The matchmaking and profile definitions, the score and the board it
  // feeds.
  void writeDefinitions() {
    definitions = ToolboxCore::instance()->getConfigString(MATCHMAKING_DEFAULT_FILE);
    RecordList list;
    matchmaking_test::AddDefinitions(list, matchmaking_test::Fields(2, 0));
    account_test::addDefinition(list, 1, "rating", 1, true, OX_INT32);
    Blob score;
    score.writeInt32(0, 1);
    score.writeString(score.getSize(), String("score"));
    score.writeInt32(score.getSize(), kScore);
    score.writeInt32(score.getSize(), FlexibleValue::INTEGER_64);
    list.add(TaggedRecord::create("SPYC", score.getData(), score.getSize()));
    Blob board;
    board.writeInt32(0, 2);
    board.writeString(board.getSize(), String("Best games"));
    board.writeInt32(board.getSize(), kBoard);
    board.writeBool(board.getSize(), false);
    board.writeUInt8(board.getSize(), 0);
    board.writeUInt8(board.getSize(), 2);  // written when a match ends
    board.writeBool(board.getSize(), true);
    board.writeUInt16(board.getSize(), 1);
    board.writeInt32(board.getSize(), 1);
    board.writeString(board.getSize(), String("score"));
    board.writeUInt8(board.getSize(), 3);
    board.writeInt32(board.getSize(), kScore);
    list.add(TaggedRecord::create("SLBC", board.getData(), board.getSize()));
    ASSERT_EQ(list.saveToFile(definitions.c_str()), ERRORID_SUCCEEDED);
  }

  // The ranked match both machines are in, owned by ann. The matchmaking
  // service's host and join (then its ranked start and end) take this
  // place once it is built; the statistics path below stays as it is.
  void playRankedMatch(const PlayerID& me, const PlayerID& other, bool hosting,
                       std::int64_t score) {
    SessionInfo info;
    info.ownerId = hosting ? me : other;
    info.sessionId = SessionID{0x61, 0x62, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68};
    session = std::make_unique<GameSession>(
        0, hosting ? GameSession::ROLE_HOST : GameSession::ROLE_JOINED, CONNECTIONTYPE_ONLINE,
        &info);
    PeerAddress elsewhere;
    elsewhere.text = String("10.0.0.9");
    elsewhere.port = 3074;
    session->addPlayers({me}, {String("me")}, session->localAddress(), 0);
    session->addPlayers({other}, {String("other")}, elsewhere, 0);
    GameSession::setCurrent(session.get());

    StatisticsService* stats = StatisticsService::find();
    stats->trackSessionPlayers(*session);
    FlexibleValue value;
    value.setInt64(score);
    ASSERT_TRUE(stats->setStatistic(EntityID(me, StatisticsService::kPlayerEntity), kScore, value));
    // The other machine's player is not this one's to track or submit.
    EXPECT_FALSE(
        stats->setStatistic(EntityID(other, StatisticsService::kPlayerEntity), kScore, value));
    ASSERT_NE(stats->submitStatistics(&boards), 0u);
    ASSERT_TRUE(waitUntil([&] { return !boards.submitted.empty(); }));
    ASSERT_EQ(boards.submitted[0], ERRORID_SUCCEEDED);
  }

  // Asks for the board's first page until it holds n rows.
  bool boardHolds(std::size_t n) {
    return waitUntil([&] {
      if (boards.fetches > 0 && boards.fetched.size() >= n) return true;
      const int before = boards.fetches;
      StatisticsService::find()->fetchStatisticsFromRank(&boards, 1, {kBoard}, 10);
      return waitUntil([&] { return boards.fetches > before; }) && boards.fetched.size() >= n;
    });
  }

  // Updates the toolbox (and this process's servers) in real time until
  // done, for at most kLimitMs.
  bool waitUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLimitMs);
    while (std::chrono::steady_clock::now() < deadline) {
      if (done()) return true;
      config->pump();
      auth->pump();
      lobby->pump();
      ToolboxCore::instance()->update(20);
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return done();
  }
  bool friendsWith(const PlayerID& other) {
    for (const PlayerID& p : FriendService::find()->getFriends(0)) {
      if (p == other) return true;
    }
    return false;
  }
  bool mailFrom(const PlayerID& other, const std::string& text) {
    for (const auto& m : mailbox.mails) {
      if (m.first == other && m.second == text) return true;
    }
    return false;
  }
  void sendMail(const PlayerID& to, const char16_t* text) {
    auto* mail = new MailMessage();
    mail->setRecipient(to);
    mail->setText(String(text));
    const std::size_t before = friends.results.size();
    ASSERT_NE(FriendService::find()->sendFriendMailMessage(&friends, 0, mail), 0u);
    ASSERT_TRUE(waitUntil([&] { return friends.results.size() > before; }));
    EXPECT_EQ(friends.results.back(), ERRORID_SUCCEEDED);
  }

  std::string definitions;
  Friends friends;
  Mailbox mailbox;
  Boards boards;
  std::unique_ptr<GameSession> session;
};

TEST_F(InternetPlay, TwoPlayersBefriendMailAndShareALeaderboard) {
  startToolbox(localScript(""), "annie1", "secret1");
  if (HasFatalFailure()) return;
  const PlayerID ann = online("annie1");
  const PlayerID bob = online("bobby1");

  child_test::setEnv(kServersVariable, std::to_string(config->getPort()) + ":" +
                                           online_test::base64(auth->getSigningKey()));
  child_test::ChildProcess second;
  const bool started = second.start("InternetPlay.SecondPlayer");
  child_test::setEnv(kServersVariable, "");  // this process's own second side stays skipped
  ASSERT_TRUE(started);
  int code = -1;
  bool gone = false;
  auto secondGone = [&] {
    if (!gone) gone = second.finished(code);
    return gone;
  };

  // bob asks; ann accepts.
  ASSERT_TRUE(waitUntil([&] {
    return secondGone() || !FriendService::find()->getReceivedFriendshipRequests(0).empty();
  })) << "no request came";
  ASSERT_EQ(FriendService::find()->getReceivedFriendshipRequests(0).size(), 1u) << code;
  EXPECT_EQ(FriendService::find()->getReceivedFriendshipRequests(0)[0], bob);
  FriendService::find()->sendFriendshipRequestReply(&friends, 0, bob, true);
  ASSERT_TRUE(waitUntil([&] { return !friends.results.empty(); }));
  EXPECT_EQ(friends.results[0], ERRORID_SUCCEEDED);
  EXPECT_TRUE(friendsWith(bob));

  // bob's mail arrives; ann answers it.
  ASSERT_TRUE(waitUntil([&] { return secondGone() || mailFrom(bob, "Good game, ann!"); }));
  ASSERT_TRUE(mailFrom(bob, "Good game, ann!")) << code;
  sendMail(bob, u"Thanks, bob!");

  playRankedMatch(ann, bob, true, 420);
  // The second process reads both rows, then ends.
  ASSERT_TRUE(waitUntil(secondGone)) << "the second process did not finish";
  EXPECT_EQ(code, 0) << "the second process's own checks failed";
  ASSERT_TRUE(boardHolds(2));
  const std::vector<std::pair<std::uint64_t, std::int64_t>> expected = {{ann.getId(), 420},
                                                                        {bob.getId(), 380}};
  EXPECT_EQ(boards.fetched, expected);
}

TEST_F(InternetPlay, ALanMatchKeepsThePlainStartAndEnd) {
  startToolbox(localScript(""), "annie1", "secret1");
  if (HasFatalFailure()) return;
  MatchmakingService* matchmaking = MatchmakingService::find();
  MatchmakingConfig* config = matchmaking->getConfig();
  config->setCurrentSession(config->createSession(GameSession::ROLE_HOST, CONNECTIONTYPE_LAN));
  ASSERT_NE(config->currentSession(), nullptr);
  const PlayerID ann = online("annie1");
  StatisticsService::find()->addEntityToStatisticsTracking(
      EntityID(ann, StatisticsService::kPlayerEntity));
  FlexibleValue value;
  value.setInt64(99);
  StatisticsService::find()->setStatistic(EntityID(ann, StatisticsService::kPlayerEntity), kScore,
                                          value);
  Matches matches;
  ASSERT_NE(matchmaking->startMatch(&matches), 0u);
  ASSERT_TRUE(waitUntil([&] { return matches.results.size() == 1; }));
  ASSERT_NE(matchmaking->endMatch(&matches), 0u);
  ASSERT_TRUE(waitUntil([&] { return matches.results.size() == 2; }));
  EXPECT_EQ(matches.results, (std::vector<ERRORID>{ERRORID_SUCCEEDED, ERRORID_SUCCEEDED}));
  // No nonce was asked for and nothing went to the board.
  EXPECT_EQ(config->currentSession()->info().nonce, 0u);
  EXPECT_TRUE(boardHolds(0));
  EXPECT_TRUE(boards.fetched.empty());
  config->destroyCurrentSession();
}

// The other process; runs only when started by the test above.
TEST_F(InternetPlay, SecondPlayer) {
  const char* servers = std::getenv(kServersVariable);
  if (!servers || !*servers) GTEST_SKIP() << "started by the two-player test only";
  const std::string text(servers);
  const std::size_t colon = text.find(':');
  ASSERT_NE(colon, std::string::npos);
  OnlineServers::setConfigurationHost(
      "127.0.0.1", static_cast<unsigned short>(std::stoul(text.substr(0, colon))));
  std::string keys = toolbox_test::fileKeys();
  for (const char* file : {"config", "crcs", "fat", "mm", "players"}) {
    const std::string from = std::string("'") + file + ".dat'";
    keys.replace(keys.find(from), from.size(), std::string("'") + file + "_second.dat'");
  }
  startToolbox(keys + "TASK_TIMEOUT = 30\nNorvSigKeyPub = '" + text.substr(colon + 1) + "'\n",
               "bobby1", "secret2");
  if (HasFatalFailure()) return;
  const PlayerID ann = online("annie1");
  const PlayerID bob = online("bobby1");

  FriendService::find()->sendFriendshipRequest(&friends, 0, ann);
  ASSERT_TRUE(waitUntil([&] { return !friends.results.empty(); }));
  ASSERT_EQ(friends.results[0], ERRORID_SUCCEEDED);
  ASSERT_TRUE(waitUntil([&] { return friendsWith(ann); })) << "ann never accepted";

  sendMail(ann, u"Good game, ann!");
  ASSERT_TRUE(waitUntil([&] { return mailFrom(ann, "Thanks, bob!"); })) << "no answer came";

  playRankedMatch(bob, ann, false, 380);
  ASSERT_TRUE(boardHolds(2)) << "ann's row never came";
  const std::vector<std::pair<std::uint64_t, std::int64_t>> expected = {{ann.getId(), 420},
                                                                        {bob.getId(), 380}};
  EXPECT_EQ(boards.fetched, expected);
}

}  // namespace
