// The lobby client against the test lobby server over loopback.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bdLobbyCommon/bdLobbyResults.h"
#include "bdLobbyService/bdLobbyServiceImpl.h"
#include "bd_test_support.h"
#include "lobbyServer.h"
#include "lobby_test_support.h"

namespace {

using lobbyserver::LobbyServer;

const unsigned char kServerKey[24] = {9, 8, 7, 6, 5, 4, 3, 2,  1,  0,  1,  2,
                                      3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};

// Reads records through a record class's own deserialize, as the toolbox does.
template <typename Record>
class RecordsResult : public bdQueryResult {
 public:
  bool handleResult(const unsigned int count, bdReference<bdBitBuffer> buffer) override {
    for (unsigned int i = 0; i < count; ++i) {
      records.emplace_back(new Record());
      if (!records.back()->deserialize(buffer)) return false;
    }
    m_numResults = static_cast<unsigned int>(records.size());
    return true;
  }
  std::vector<std::unique_ptr<Record>> records;
};

class FileResult : public bdQueryResult {
 public:
  explicit FileResult(unsigned int size) : file(new bdFileData(size)) {}
  bool handleResult(const unsigned int count, bdReference<bdBitBuffer> buffer) override {
    m_numResults = count;
    return count == 1 && file->read(*buffer);
  }
  bdReference<bdFileData> file;
};

class FileListResult : public bdQueryResult {
 public:
  bool handleResult(const unsigned int count, bdReference<bdBitBuffer> buffer) override {
    for (unsigned int i = 0; i < count; ++i) {
      files.push_back(new bdFileInfo());
      if (!files.back()->read(*buffer)) return false;
    }
    m_numResults = count;
    return true;
  }
  std::vector<bdReference<bdFileInfo>> files;
};

struct Player {
  std::uint64_t id;
  bdLobbyServiceImpl lobby;
};

class LobbyTest : public bdtest::CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    server.reset(new LobbyServer(kServerKey));
    ASSERT_TRUE(server->start());
  }
  void TearDown() override {
    players.clear();
    server.reset();
    CoreTest::TearDown();
  }
  // Pumps the server and every lobby until the condition holds (or 2 s pass).
  bool pumpUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 2000; ++i) {
      if (server) server->pump();
      for (auto& p : players)
        p->lobby.getStatus();
      if (done()) return true;
      bdPlatformTiming::sleep(1);
    }
    return false;
  }
  void pumpFor(int rounds) {
    for (int i = 0; i < rounds; ++i) {
      pumpUntil([] { return true; });
      bdPlatformTiming::sleep(1);
    }
  }
  Player& join(std::uint64_t id, const char* name) {
    players.emplace_back(new Player{id, {}});
    Player& p = *players.back();
    EXPECT_TRUE(p.lobby.connect(bdAddr(bdInetAddr::getLoopback(), server->getPort()),
                                LobbyServer::makeCredentials(kServerKey, id, name)));
    EXPECT_TRUE(pumpUntil([&] { return p.lobby.getStatus() == bdConnection::BD_CONNECTED; }));
    return p;
  }
  // Waits for the task's reply; true when it came.
  bool await(const bdRemoteTaskRef& task) {
    return task.notNull() &&
           pumpUntil([&] { return task->getStatus() != bdRemoteTask::BD_PENDING; }) &&
           task->getStatus() == bdRemoteTask::BD_DONE;
  }

  bdtest::FakeClock clock;
  std::unique_ptr<LobbyServer> server;
  std::vector<std::unique_ptr<Player>> players;
};

TEST_F(LobbyTest, GettersNeedAnEstablishedConnection) {
  bdLobbyServiceImpl lobby;
  EXPECT_EQ(lobby.getStatus(), bdConnection::BD_NEW);
  EXPECT_EQ(lobby.getTeams(), nullptr);
  EXPECT_TRUE(log.saw("Not connected."));
  Player& p = join(1, "ann");
  ASSERT_TRUE(pumpUntil([&] { return server->getAuthenticatedCount() == 1; }));
  bdTeams* teams = p.lobby.getTeams();
  ASSERT_NE(teams, nullptr);
  EXPECT_EQ(p.lobby.getTeams(), teams);
  EXPECT_FALSE(p.lobby.connect(bdAddr(bdInetAddr::getLoopback(), server->getPort()),
                               LobbyServer::makeCredentials(kServerKey, 1, "ann")));
  p.lobby.disconnect();
  EXPECT_EQ(p.lobby.getStatus(), bdConnection::BD_NEW);
  EXPECT_EQ(p.lobby.getFriends(), nullptr);
}

TEST_F(LobbyTest, AWrongTicketIsRefusedByDroppingTheConnection) {
  const unsigned char otherKey[24] = {1};
  players.emplace_back(new Player{5, {}});
  bdLobbyServiceImpl& lobby = players.back()->lobby;
  lobby.connect(bdAddr(bdInetAddr::getLoopback(), server->getPort()),
                LobbyServer::makeCredentials(otherKey, 5, "eve"));
  EXPECT_TRUE(pumpUntil([&] { return lobby.getStatus() == bdConnection::BD_DISCONNECTED; }));
  EXPECT_EQ(server->getAuthenticatedCount(), 0u);
}

TEST_F(LobbyTest, EveryServiceAnswersIntoItsRecords) {
  Player& ann = join(1, "ann");
  Player& bob = join(2, "bob");

  // teams: create, then list
  bdTeams* teams = ann.lobby.getTeams();
  bdRemoteTaskRef task = teams->startTask(1, 0, bdLobbyArgs().str("Tilers"));
  ASSERT_TRUE(await(task));
  bdCreateTeamResult created;
  ASSERT_TRUE(teams->handleTask(task.get(), &created));
  EXPECT_EQ(created.getNumResults(), 1u);
  task->reset();
  task = teams->startTask(20, 0);
  ASSERT_TRUE(await(task));
  bdTeamsResultA myTeams;
  ASSERT_TRUE(teams->handleTask(task.get(), &myTeams));
  ASSERT_EQ(myTeams.getNumResults(), 1u);
  EXPECT_EQ(myTeams.getEntry(0).m_id, created.m_teamID);
  EXPECT_STREQ(myTeams.getEntry(0).m_name, "Tilers");
  task->reset();

  // statistics: write two rows, read one back, and a nonce
  bdStats* stats = ann.lobby.getStats();
  bdStatsInfo first(1);
  bdStatsInfo second(2);
  first.setValue(40);
  second.setValue(75);
  bdStatsInfo* rows[] = {&first, &second};
  task = stats->writeMultipleStats(0, 3, bdStats::BD_STATS_REPLACE, rows, 2);
  ASSERT_TRUE(await(task));
  ASSERT_TRUE(stats->handleTask(task.get(), nullptr));
  task->reset();
  task = stats->startTask(3, 0, bdLobbyArgs().i32(3).u64(1));
  ASSERT_TRUE(await(task));
  RecordsResult<bdStatsInfo> read;
  ASSERT_TRUE(stats->handleTask(task.get(), &read));
  ASSERT_EQ(read.records.size(), 1u);
  EXPECT_EQ(read.records[0]->getValue(), 40);
  EXPECT_EQ(read.records[0]->getSecondValue(), 2u);  // ranked below bob's 75
  task->reset();
  const unsigned char session[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  task = stats->startTask(8, 0, bdLobbyArgs().blob8(session));
  ASSERT_TRUE(await(task));
  bdStatsResultA nonce;
  ASSERT_TRUE(stats->handleTask(task.get(), &nonce));
  EXPECT_NE(nonce.m_value, 0u);
  task->reset();

  // matchmaking: host a session, then find it by its id
  bdMatchMaking* mm = ann.lobby.getMatchMaking();
  bdMatchMakingInfo hosted(new bdCommonAddr(bdAddr("10.1.2.3:3074")), 4, 2, 1, 0);
  task = mm->startTask1(0, &hosted);
  ASSERT_TRUE(await(task));
  bdSessionCreateResult made;
  ASSERT_TRUE(mm->handleTask(task.get(), &made));
  ASSERT_EQ(made.getNumResults(), 1u);
  task->reset();
  task = mm->startTask(4, 0, bdLobbyArgs().blob8(made.m_sessionID.ab));
  ASSERT_TRUE(await(task));
  RecordsResult<bdMatchMakingInfo> found;
  ASSERT_TRUE(mm->handleTask(task.get(), &found));
  ASSERT_EQ(found.records.size(), 1u);
  EXPECT_TRUE(found.records[0]->m_sessionKey == made.m_sessionKey);
  EXPECT_EQ(found.records[0]->getHostAddr()->getLocalAddr(0), bdAddr("10.1.2.3:3074"));
  EXPECT_EQ(found.records[0]->m_values[0], 4);
  task->reset();

  // profiles: set one, then ask whether it exists
  bdProfiles* profiles = ann.lobby.getProfilesManager();
  const bdMatchMakingQuery profile(7, 8);
  task = profiles->startTask(1, 0, bdLobbyArgs().record(&profile));
  ASSERT_TRUE(await(task));
  ASSERT_TRUE(profiles->handleTask(task.get(), nullptr));
  task->reset();
  task = bob.lobby.getProfilesManager()->startTask(7, 0, bdLobbyArgs().u64(1));
  ASSERT_TRUE(await(task));
  bdCheckProfileExistsResult exists;
  ASSERT_TRUE(bob.lobby.getProfilesManager()->handleTask(task.get(), &exists));
  EXPECT_TRUE(exists.m_exists);
  task->reset();

  // friends: ann asks, bob accepts, ann lists
  task = ann.lobby.getFriends()->startTask(1, 0, bdLobbyArgs().u64(2).buffer(nullptr));
  ASSERT_TRUE(await(task));
  task->reset();
  task = bob.lobby.getFriends()->startTask(2, 0, bdLobbyArgs().u64(1));
  ASSERT_TRUE(await(task));
  ASSERT_TRUE(bob.lobby.getFriends()->handleTask(task.get(), nullptr));
  task->reset();
  task = ann.lobby.getFriends()->startTask(5, 0);
  ASSERT_TRUE(await(task));
  bdFriendsResultA friendsOfAnn;
  ASSERT_TRUE(ann.lobby.getFriends()->handleTask(task.get(), &friendsOfAnn));
  ASSERT_EQ(friendsOfAnn.getNumResults(), 1u);
  EXPECT_STREQ(friendsOfAnn.getEntry(0).m_name, "bob");
  EXPECT_TRUE(friendsOfAnn.getEntry(0).m_flag);
  task->reset();
  // bob heard of the proposal as a push message from ann
  ASSERT_GE(bob.lobby.getMessaging()->getMessageCount(), 1u);
  EXPECT_EQ(bob.lobby.getMessaging()->getMessage(0)->m_type, 1u);
  bob.lobby.getMessaging()->clear();

  // storage: upload, then fetch the contents
  bdStorage* storage = ann.lobby.getStorage();
  bdReference<bdFileData> upload(new bdFileData(5));
  upload->setData("tiles", 5);
  task =
      storage->startTask(1, 0, bdLobbyArgs().b(false).str("rack.sav").b(false).file(upload.get()));
  ASSERT_TRUE(await(task));
  FileListResult info;
  ASSERT_TRUE(storage->handleTask(task.get(), &info));
  ASSERT_EQ(info.files.size(), 1u);
  EXPECT_STREQ(info.files[0]->m_fileName, "rack.sav");
  task->reset();
  task = storage->startTask(5, 0, bdLobbyArgs().u64(info.files[0]->m_fileID));
  ASSERT_TRUE(await(task));
  FileResult download(5);
  ASSERT_TRUE(storage->handleTask(task.get(), &download));
  EXPECT_EQ(std::memcmp(download.file->getData(), "tiles", 5), 0);
  task->reset();

  // channel chat: both subscribe; what ann says reaches bob as a push message
  bdRemoteTaskRef bobJoins = bob.lobby.getChannelChat()->startTask(1, 0, bdLobbyArgs().u64(77));
  ASSERT_TRUE(await(bobJoins));
  bobJoins->reset();
  bdChannelChat* chat = ann.lobby.getChannelChat();
  task = chat->startTask(1, 0, bdLobbyArgs().u64(77));
  ASSERT_TRUE(await(task));
  bdChannelChatResult joined;
  ASSERT_TRUE(chat->handleTask(task.get(), &joined));
  ASSERT_EQ(joined.getNumResults(), 1u);
  EXPECT_STREQ(joined.getEntry(0).m_name, "ann");
  EXPECT_EQ(joined.getEntry(0).m_value1, 2u);
  task->reset();
  bdReference<bdByteBuffer> words(new bdByteBuffer(5));
  words->write("hello", 5);
  task = chat->startTask(4, 0, bdLobbyArgs().u64(77).buffer(words.get()));
  ASSERT_TRUE(await(task));
  task->reset();
  bdMessaging* bobsMail = bob.lobby.getMessaging();
  ASSERT_TRUE(pumpUntil([&] { return bobsMail->getMessageCount() == 1; }));
  auto* said = dynamic_cast<bdLobbyUserBufferMessage*>(bobsMail->getMessage(0).get());
  ASSERT_NE(said, nullptr);
  EXPECT_STREQ(said->m_user.m_name, "ann");
  ASSERT_EQ(said->m_payload->getSize(), 5u);
  EXPECT_EQ(std::memcmp(said->m_payload->getData(), "hello", 5), 0);

  // messaging: the kept copies (the proposal and the chat line) are fetched
  // again through a task
  bobsMail->clear();
  task = bobsMail->startTask(1, 0, bdLobbyArgs().u32(0).u32(10).b(false).b(false));
  ASSERT_TRUE(await(task));
  ASSERT_TRUE(bobsMail->handleTask(task.get()));
  EXPECT_EQ(bobsMail->getMessageCount(), 2u);
  task->reset();

  // title utilities
  bdTitleUtilities* title = ann.lobby.getTitleUtilities();
  task = title->verifyString("a badword here", 64);
  ASSERT_TRUE(await(task));
  bdCheckProfileExistsResult acceptable;
  ASSERT_TRUE(title->handleTask(task.get(), &acceptable));
  EXPECT_FALSE(acceptable.m_exists);
  EXPECT_EQ(title->getLastError(), 0u);
  task->reset();

  // a task the server refuses: the error code is the service's last error
  task = teams->startTask(2, 0, bdLobbyArgs().u64(999).str("nope"));
  ASSERT_TRUE(await(task));
  EXPECT_FALSE(teams->handleTask(task.get(), nullptr));
  EXPECT_EQ(teams->getLastError(), static_cast<unsigned int>(lobbyserver::NOT_FOUND));
  task->reset();
}

TEST_F(LobbyTest, ArgumentsThatDoNotMatchTheCatalogueAreRefusedBeforeSending) {
  Player& p = join(1, "ann");
  bdTeams* teams = p.lobby.getTeams();
  EXPECT_TRUE(teams->startTask(1, 0, bdLobbyArgs().u64(3)).isNull());
  EXPECT_EQ(teams->getLastError(), bdLobbyServiceObject::BD_INVALID_ARGUMENTS);
  // a required buffer may not be null; an optional one may
  EXPECT_TRUE(teams->startTask(22, 0, bdLobbyArgs().u64(1).u32(2).buffer(nullptr)).isNull());
  bdRemoteTaskRef task = teams->startTask(6, 0, bdLobbyArgs().u64(1).u64(2).buffer(nullptr));
  EXPECT_TRUE(task.notNull());
  EXPECT_TRUE(teams->startTask(40, 0).isNull());
}

TEST_F(LobbyTest, PushMessagesOfEveryTypeArriveInOrder) {
  Player& p = join(3, "cy");
  ASSERT_TRUE(pumpUntil([&] { return server->getAuthenticatedCount() == 1; }));
  for (unsigned int type = 1; type <= 39; ++type) {
    lobbyserver::PushMessage m;
    m.type = type;
    m.id2 = 1000 + type;
    m.value = type * 3;
    m.user = {11, "from"};
    m.second = {3, "cy"};
    m.groupID = 55;
    m.groupName = "club";
    m.data.assign(type, static_cast<unsigned char>(type));
    ASSERT_TRUE(server->push(3, m));
  }
  bdMessaging* mail = p.lobby.getMessaging();
  ASSERT_TRUE(pumpUntil([&] { return mail->getMessageCount() == 39; }));
  for (unsigned int i = 0; i < 39; ++i) {
    bdReference<bdLobbyMessage> m = mail->getMessage(i);
    const unsigned int type = i + 1;
    ASSERT_EQ(m->m_type, type);
    EXPECT_EQ(m->m_id2, 1000u + type);
    EXPECT_EQ(m->m_value, type * 3);
    if (auto* data = dynamic_cast<bdLobbyUserDataMessage*>(m.get())) {
      EXPECT_EQ(data->m_data.m_size, type);
    }
    if (auto* pair = dynamic_cast<bdLobbyUserPairMessage*>(m.get())) {
      EXPECT_STREQ(pair->m_second.m_name, "cy");
    }
    if (auto* group = dynamic_cast<bdLobbyGroupMessage*>(m.get())) {
      EXPECT_STREQ(group->m_groupName, "club");
    }
  }
  // A repeated message id is not stored twice.
  lobbyserver::PushMessage again;
  again.type = 2;
  again.id2 = 1002;
  server->push(3, again);
  pumpFor(50);
  EXPECT_EQ(mail->getMessageCount(), 39u);
}

TEST_F(LobbyTest, KeepAlivesHoldAnIdleConnectionAndSilenceEndsIt) {
  Player& p = join(4, "di");
  for (int step = 0; step < 3; ++step) {
    clock.advance(41.0);
    pumpFor(50);
    ASSERT_EQ(p.lobby.getStatus(), bdConnection::BD_CONNECTED) << step;
  }
  EXPECT_EQ(server->getClientCount(), 1u);
  // The server goes quiet (not pumped): after 80 s without a byte the client gives up.
  LobbyServer* quiet = server.release();
  clock.advance(81.0);
  EXPECT_EQ(p.lobby.getStatus(), bdConnection::BD_DISCONNECTED);
  EXPECT_TRUE(log.saw("Connection timed out\n"));
  delete quiet;
}

TEST_F(LobbyTest, TasksInFlightFailWhenTheConnectionGoes) {
  Player& p = join(6, "fay");
  bdRemoteTaskRef pending = p.lobby.getFriends()->startTask(5, 0);
  ASSERT_TRUE(pending.notNull());
  EXPECT_EQ(pending->getStatus(), bdRemoteTask::BD_PENDING);
  server->stop();
  EXPECT_TRUE(pumpUntil([&] { return p.lobby.getStatus() == bdConnection::BD_DISCONNECTED; }));
  EXPECT_EQ(pending->getStatus(), bdRemoteTask::BD_FAILED);
  p.lobby.disconnect();
  // The caller's reference outlives the task manager.
  EXPECT_EQ(pending->getStatus(), bdRemoteTask::BD_FAILED);

  server.reset(new LobbyServer(kServerKey));
  ASSERT_TRUE(server->start());
  Player& q = join(7, "gil");
  bdRemoteTaskRef inFlight = q.lobby.getTeams()->startTask(20, 0);
  q.lobby.disconnect();
  EXPECT_EQ(inFlight->getStatus(), bdRemoteTask::BD_FAILED);
}

// Sends raw bytes as a hostile client would.
class RawClient {
 public:
  explicit RawClient(unsigned short port) {
    socket.create();
    socket.connect(bdAddr(bdInetAddr::getLoopback(), port));
    socket.setBlocking(false);
  }
  void send(const std::vector<unsigned char>& bytes) {
    socket.send(bytes.data(), static_cast<unsigned int>(bytes.size()));
  }
  bdStreamSocket socket;
};

TEST_F(LobbyTest, HostileClientsAreDroppedAndOthersStayServed) {
  Player& good = join(8, "hal");
  server->setMaxBacklog(64 * 1024);
  std::vector<unsigned char> noise(300);
  for (std::size_t i = 0; i < noise.size(); ++i)
    noise[i] = static_cast<unsigned char>(i * 97 + 13);
  RawClient random(server->getPort());
  random.send(noise);
  RawClient tooLong(server->getPort());
  tooLong.send({0xFF, 0xFF, 0x00, 0x03});
  RawClient shortOfItsWord(server->getPort());
  shortOfItsWord.send({0x00, 0x10, 0x00, 0x03, 1, 2, 3});
  // The lie about the length is caught at once; the others wait for bytes
  // that never come, until the authentication deadline.
  ASSERT_TRUE(pumpUntil([&] { return server->getDroppedCount() == 1; }));
  EXPECT_EQ(server->getClientCount(), 3u);
  clock.advance(11.0);
  ASSERT_TRUE(pumpUntil([&] { return server->getDroppedCount() == 3; }));

  // An authenticated client that stops reading while pushes pile up.
  lobbyserver::PushMessage big;
  big.type = 8;
  big.data.assign(60000, 0xAB);
  RawClient mute(server->getPort());
  {
    bdReference<bdLobbyCredentials> cred = LobbyServer::makeCredentials(kServerKey, 10, "jo");
    std::vector<unsigned char> frame(2 + 2 + 1 + 8 + 128 + 8);
    bdBitBuffer auth(0, false);
    auth.writeBits(&cred->m_value1, 32);
    auth.writeBits(&cred->m_value2, 32);
    auth.writeBits(cred->m_ticket, 1024);
    const unsigned int size =
        bdStreamFrame::encode(frame.data(), static_cast<unsigned int>(frame.size()), 7,
                              auth.getData(), auth.getDataSize(), false, nullptr, 0);
    frame.resize(size);
    mute.send(frame);
  }
  ASSERT_TRUE(pumpUntil([&] { return server->getAuthenticatedCount() == 2; }));
  const unsigned int droppedBefore = server->getDroppedCount();
  for (int i = 0; i < 2000 && server->getDroppedCount() == droppedBefore; ++i) {
    server->push(10, big);
    server->pump();
  }
  EXPECT_EQ(server->getDroppedCount(), droppedBefore + 1);

  // The good client is still answered.
  bdRemoteTaskRef task = good.lobby.getTeams()->startTask(20, 0);
  ASSERT_TRUE(await(task));
  EXPECT_TRUE(good.lobby.getTeams()->handleTask(task.get(), nullptr));
}

}  // namespace
