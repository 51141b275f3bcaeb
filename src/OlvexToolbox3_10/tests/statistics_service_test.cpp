// The statistics service: definitions read from the definitions file, the
// tracking of statistics, and rows written to, read from and removed from
// the test lobby server's leaderboards.
#include <gtest/gtest.h>

#include <lua.hpp>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Modules/Core/Src/Records/RecordList.h"
#include "Modules/Core/Src/Script/LuaTypes.h"
#include "Modules/Core/Src/Script/ScriptInterpreter.h"
#include "Modules/Core/Src/Types/Blob.h"
#include "Modules/Session/Src/GameSession.h"
#include "Modules/StatisticsService/Src/StatisticsService.h"
#include "Modules/StatisticsService/Src/RankedMatch.h"
#include "Modules/StatisticsService/Src/StatisticsTasks.h"
#include "script_test_support.h"
#include "services_test_support.h"

using namespace OX_Toolbox;

namespace {

constexpr std::int32_t kScore = 10;    // INTEGER_64
constexpr std::int32_t kWords = 11;    // INTEGER_32
constexpr std::int32_t kBoard = 700;   // a player board written at the end of a match
constexpr std::int32_t kTotals = 702;  // a player board that adds up
constexpr std::int32_t kArbitrated = 703;

void addRecord(RecordList& list, const char tag[4], const Blob& b) {
  list.add(TaggedRecord::create(tag, b.getData(), b.getSize()));
}

Blob property(std::int32_t version, const char* name, std::int32_t id, std::int32_t kind) {
  Blob b;
  b.writeInt32(0, version);
  b.writeString(b.getSize(), String(name));
  b.writeInt32(b.getSize(), id);
  b.writeInt32(b.getSize(), kind);
  return b;
}

// A player board whose column count may claim more columns than it holds;
// its first column's mode 3 replaces, 2 adds.
Blob board(std::int32_t id, std::uint16_t claimed, std::uint16_t present, std::uint8_t mode = 3,
           bool arbitrated = false) {
  Blob b;
  b.writeInt32(0, 2);
  b.writeString(b.getSize(), String("Best scores"));
  b.writeInt32(b.getSize(), id);
  b.writeBool(b.getSize(), arbitrated);
  b.writeUInt8(b.getSize(), 0);
  b.writeUInt8(b.getSize(), 2);
  b.writeBool(b.getSize(), true);
  b.writeUInt16(b.getSize(), claimed);
  for (std::uint16_t i = 0; i < present; ++i) {
    b.writeInt32(b.getSize(), i);
    b.writeString(b.getSize(), String("score"));
    b.writeUInt8(b.getSize(), mode);
    b.writeInt32(b.getSize(), i == 0 ? kScore : kWords);
  }
  return b;
}

struct Heard {
  std::string what;
  ERRORID result;
  VectorLeaderboard boards;
};

class RecordingStats : public StatisticsServiceListener {
 public:
  void onSubmitStatistics(std::uint32_t, ERRORID r) override { log.push_back({"submit", r, {}}); }
  void onRemovePlayerFromLeaderboard(std::uint32_t, ERRORID r) override {
    log.push_back({"remove", r, {}});
  }
  void onFetchStatisticsAroundEntity(std::uint32_t, ERRORID r,
                                     const VectorLeaderboard& b) override {
    log.push_back({"around", r, b});
  }
  void onFetchStatisticsFromRank(std::uint32_t, ERRORID r, const VectorLeaderboard& b) override {
    log.push_back({"rank", r, b});
  }
  std::vector<Heard> log;
};

constexpr std::uint32_t kGameTypeField = 50;

// The current session's game type attribute as matchmaking keeps it.
bool gameTypeField(const char* name, std::uint32_t& id) {
  if (std::string(name) != "OLVEX_gameType") return false;
  id = kGameTypeField;
  return true;
}

class StatisticsTest : public toolbox_test::ServicesFixture {
 protected:
  void SetUp() override {
    ServicesFixture::SetUp();
    RecordList list;
    addRecord(list, "SPYC", property(1, "score", kScore, FlexibleValue::INTEGER_64));
    addRecord(list, "SPYC", property(2, "later", 12, FlexibleValue::INTEGER_32));
    addRecord(list, "SPYC", property(1, "words", kWords, FlexibleValue::INTEGER_32));
    addRecord(list, "SLBC", board(kBoard, 2, 2));
    addRecord(list, "SLBC", board(701, 40, 1));  // the count lies
    addRecord(list, "SLBC", board(kTotals, 1, 1, 2));
    addRecord(list, "SLBC", board(kArbitrated, 1, 1, 3, true));
    ASSERT_EQ(list.saveToFile(core->getConfigString(MATCHMAKING_DEFAULT_FILE)), ERRORID_SUCCEEDED);
    EXPECT_EQ(StatisticsService::create(), ERRORID_SERVICE_NOT_AVAILABLE);
    core->registerService(new toolbox_test::RecordingService("MatchmakingService", nullptr));
    ASSERT_EQ(StatisticsService::create(), ERRORID_SUCCEEDED);
    stats = StatisticsService::find();
    SetSessionFieldQuery(gameTypeField);
    // ann hosts an online session that bob has joined from his machine.
    session =
        std::make_unique<GameSession>(0, GameSession::ROLE_HOST, CONNECTIONTYPE_ONLINE, nullptr);
    session->info().sessionId = SessionID{9, 8, 7, 6, 5, 4, 3, 2};
    session->info().setAttribute(kGameTypeField, String("1"));
    session->addPlayers({ann()}, {String("ann")}, session->localAddress(), 0);
    PeerAddress elsewhere;
    elsewhere.text = String("10.0.0.2");
    elsewhere.port = 3074;
    session->addPlayers({bobId()}, {String("bob")}, elsewhere, 0);
    GameSession::setCurrent(session.get());
  }
  void TearDown() override {
    GameSession::setCurrent(nullptr);
    session.reset();
    SetSessionFieldQuery(nullptr);
    std::remove(core->getConfigString(MATCHMAKING_DEFAULT_FILE));
    ServicesFixture::TearDown();
  }
  static FlexibleValue int64(std::int64_t v) {
    FlexibleValue f;
    f.setInt64(v);
    return f;
  }
  bool heard(std::size_t n) {
    return until([&] { return listener.log.size() >= n; });
  }

  // The rows the server holds for a board, by entity.
  std::map<std::uint64_t, std::int64_t> rows(std::int32_t board) {
    const std::size_t before = listener.log.size();
    stats->fetchStatisticsFromRank(&listener, 1, {board}, 10);
    std::map<std::uint64_t, std::int64_t> out;
    if (!heard(before + 1) || listener.log[before].boards.empty()) return out;
    for (const LeaderboardRow& r : listener.log[before].boards[0].rows)
      out[r.getEntityID()] = r.getValue();
    return out;
  }

  StatisticsService* stats = nullptr;
  std::unique_ptr<GameSession> session;
  RecordingStats listener;
  EntityID annEntity{PlayerID(CONNECTIONTYPE_ONLINE, kAnn), StatisticsService::kPlayerEntity};
};

TEST_F(StatisticsTest, DefinitionsKeepOnlyRecordsThatReadWhole) {
  ASSERT_EQ(stats->properties().size(), 2u);
  EXPECT_TRUE(stats->properties()[0].name.equalsNarrow("score"));
  EXPECT_EQ(stats->properties()[1].id, kWords);
  ASSERT_EQ(stats->leaderboards().size(), 3u);
  EXPECT_EQ(stats->leaderboards()[0].id, kBoard);
  EXPECT_TRUE(stats->leaderboards()[2].arbitrated);
  EXPECT_EQ(stats->leaderboards()[0].columns.size(), 2u);
}

TEST_F(StatisticsTest, TrackingAcceptsOnlyKnownEntitiesPropertiesAndKinds) {
  EXPECT_FALSE(stats->setStatistic(annEntity, kScore, int64(5)));  // not tracked
  EXPECT_TRUE(stats->addEntityToStatisticsTracking(annEntity));
  EXPECT_FALSE(stats->addEntityToStatisticsTracking(annEntity));
  FlexibleValue words;
  words.setInt32(3);
  const struct {
    std::int32_t property;
    FlexibleValue value;
    bool ok;
  } cases[] = {{kScore, int64(5), true},
               {kScore, words, false},
               {99, int64(1), false},
               {kWords, words, true}};
  for (const auto& c : cases)
    EXPECT_EQ(stats->setStatistic(annEntity, c.property, c.value), c.ok) << c.property;
  EXPECT_TRUE(stats->incrementStatistic(annEntity, kScore, int64(7)));
  EXPECT_EQ(stats->getStatistic(annEntity, kScore)->getAsInt64(), 12);
  EXPECT_TRUE(stats->isDirty(annEntity, kScore));
  stats->resetStatistics(true);
  EXPECT_EQ(stats->getStatistic(annEntity, kScore)->getAsInt64(), 0);
  EXPECT_FALSE(stats->isDirty(annEntity, kScore));
  stats->resetStatistics(false);
  EXPECT_EQ(stats->getStatistic(annEntity, kScore), nullptr);
  EXPECT_FALSE(stats->removeEntityFromStatisticsTracking(annEntity));
}

TEST_F(StatisticsTest, ASubmittedRowIsReadBackFromTheLeaderboardAndRemoved) {
  stats->addEntityToStatisticsTracking(annEntity);
  stats->setStatistic(annEntity, kScore, int64(420));
  stats->submitStatistics(&listener);
  ASSERT_TRUE(heard(1));
  EXPECT_EQ(listener.log[0].result, ERRORID_SUCCEEDED);
  EXPECT_FALSE(stats->isDirty(annEntity, kScore));

  const VectorLeaderboardID boards = {kBoard, 999};  // the unknown one is skipped
  stats->fetchStatisticsFromRank(&listener, 1, boards, 10);
  stats->fetchStatisticsAroundEntity(&listener, annEntity, boards, 10);
  ASSERT_TRUE(heard(3));
  for (std::size_t i = 1; i < 3; ++i) {
    ASSERT_EQ(listener.log[i].result, ERRORID_SUCCEEDED) << listener.log[i].what;
    ASSERT_EQ(listener.log[i].boards.size(), 1u);
    const LeaderboardDefinition& got = listener.log[i].boards[0];
    ASSERT_EQ(got.rows.size(), 1u);
    EXPECT_EQ(got.rows[0].getEntityID(), kAnn);
    EXPECT_EQ(got.rows[0].getValue(), 420);
  }

  stats->removePlayerFromLeaderboard(&listener, 0, kBoard);
  ASSERT_TRUE(heard(4));
  EXPECT_EQ(listener.log[3].result, ERRORID_SUCCEEDED);
  stats->fetchStatisticsFromRank(&listener, 1, boards, 10);
  ASSERT_TRUE(heard(5));
  ASSERT_EQ(listener.log[4].boards.size(), 1u);
  EXPECT_TRUE(listener.log[4].boards[0].rows.empty());
}

TEST_F(StatisticsTest, SubmittingNeedsASessionAndSendsOnlyWhatChanged) {
  stats->addEntityToStatisticsTracking(annEntity);
  stats->submitStatistics(&listener);  // nothing dirty: no row, still a success
  ASSERT_TRUE(heard(1));
  GameSession::setCurrent(nullptr);
  stats->submitStatistics(&listener);
  ASSERT_TRUE(heard(2));
  EXPECT_EQ(listener.log[0].result, ERRORID_SUCCEEDED);
  EXPECT_EQ(listener.log[1].result, ERRORID_SESSION_NOT_FOUND);
  stats->fetchStatisticsFromRank(&listener, 1, {kBoard}, 10);
  ASSERT_TRUE(heard(3));
  EXPECT_TRUE(listener.log[2].boards[0].rows.empty());
}

TEST_F(StatisticsTest, EachBoardGetsTheLocalPlayersRowInItsOwnWriteMode) {
  stats->trackSessionPlayers(*session);  // ann only: bob plays on his own machine
  EXPECT_EQ(stats->tracked(true).size(), 1u);
  const EntityID bobEntity(bobId(), StatisticsService::kPlayerEntity);
  EXPECT_TRUE(stats->addEntityToStatisticsTracking(bobEntity));
  for (std::int64_t score : {5, 7}) {
    ASSERT_TRUE(stats->setStatistic(annEntity, kScore, int64(score)));
    ASSERT_TRUE(stats->setStatistic(bobEntity, kScore, int64(100)));
    const std::size_t before = listener.log.size();
    stats->submitStatistics(&listener);
    ASSERT_TRUE(heard(before + 1));
    EXPECT_EQ(listener.log[before].result, ERRORID_SUCCEEDED);
  }
  // The replacing board holds the last score, the adding one their sum.
  EXPECT_EQ(rows(kBoard), (std::map<std::uint64_t, std::int64_t>{{kAnn, 7}}));
  EXPECT_EQ(rows(kTotals), (std::map<std::uint64_t, std::int64_t>{{kAnn, 12}}));
  EXPECT_TRUE(stats->isDirty(bobEntity, kScore));  // bob's machine writes his
}

TEST_F(StatisticsTest, ArbitratedBoardsGoOutUnderTheSessionNonceInGamesOfTypeZeroOnly) {
  core->getTaskManager()->addTask(new TaskRezovovozOnlineGetSessionNonce());
  ASSERT_TRUE(idle());
  const std::uint64_t nonce = session->info().nonce;
  EXPECT_NE(nonce, 0u);
  core->getTaskManager()->addTask(new TaskRezovovozOnlineGetSessionNonce());
  ASSERT_TRUE(idle());
  EXPECT_NE(session->info().nonce, nonce);  // each match its own

  stats->addEntityToStatisticsTracking(annEntity);
  const struct {
    const char* gameType;
    std::int64_t expected;  // 0: no row
  } cases[] = {{"1", 0}, {"", 0}, {"0", 30}};
  for (const auto& c : cases) {
    session->info().setAttribute(kGameTypeField, String(c.gameType));
    stats->setStatistic(annEntity, kScore, int64(30));
    const std::size_t before = listener.log.size();
    stats->submitStatistics(&listener);
    ASSERT_TRUE(heard(before + 1));
    EXPECT_EQ(listener.log[before].result, ERRORID_SUCCEEDED);
    const auto got = rows(kArbitrated);
    EXPECT_EQ(got.count(kAnn) ? got.at(kAnn) : 0, c.expected) << c.gameType;
  }
  EXPECT_FALSE(stats->isDirty(annEntity, kScore));
}

std::int32_t g_connection = CONNECTIONTYPE_ONLINE;

// Matchmaking's plain start or end: notes the session's nonce when it runs.
class PlainMatchTask : public TaskAtomic {
 public:
  PlainMatchTask(ERRORID result, std::vector<std::uint64_t>* ran) : m_result(result), m_ran(ran) {}
  void onStart() override {
    m_ran->push_back(GameSession::current() ? GameSession::current()->info().nonce : 0);
    setResult(m_result);
  }

 private:
  ERRORID m_result;
  std::vector<std::uint64_t>* m_ran;
};

TEST_F(StatisticsTest, ARankedStartFetchesTheNonceAndTracksThisMachinesPlayersFirst) {
  std::vector<std::uint64_t> ran;
  std::vector<ERRORID> reported;
  auto report = [&](std::uint32_t, ERRORID r) { reported.push_back(r); };
  core->getTaskManager()->addTask(
      new TaskRezovovozOnlineStartRankedMatch(new PlainMatchTask(ERRORID_SUCCEEDED, &ran), report));
  ASSERT_TRUE(until([&] { return !reported.empty(); }));
  EXPECT_EQ(reported[0], ERRORID_SUCCEEDED);
  ASSERT_EQ(ran.size(), 1u);
  EXPECT_NE(ran[0], 0u);  // the nonce was there when the plain start ran
  ASSERT_EQ(stats->tracked(true).size(), 1u);
  EXPECT_TRUE(stats->tracked(true)[0].entity == annEntity);

  GameSession::setCurrent(nullptr);
  core->getTaskManager()->addTask(
      new TaskRezovovozOnlineStartRankedMatch(new PlainMatchTask(ERRORID_SUCCEEDED, &ran), report));
  ASSERT_TRUE(until([&] { return reported.size() == 2; }));
  EXPECT_EQ(reported[1], ERRORID_SESSION_NOT_FOUND);
  EXPECT_EQ(ran.size(), 1u);
}

TEST_F(StatisticsTest, ARankedEndSubmitsFirstAndEndsTheMatchEvenWhenTheSubmissionFails) {
  const struct {
    std::int32_t connection;
    ERRORID plain;
    ERRORID reported;
    std::int64_t row;  // the score the board then holds; 0: none
  } cases[] = {
      {CONNECTIONTYPE_ONLINE, ERRORID_SUCCEEDED, ERRORID_SUCCEEDED, 50},
      {CONNECTIONTYPE_LAN, ERRORID_SUCCEEDED, ERRORID_CONNECTION_FAILURE, 0},
      {CONNECTIONTYPE_ONLINE, ERRORID_TIMEOUT, ERRORID_TIMEOUT, 50},
  };
  for (const auto& c : cases) {
    stats->resetStatistics(false);
    stats->trackSessionPlayers(*session);
    stats->setStatistic(annEntity, kScore, int64(50));
    g_connection = c.connection;
    SetConnectionTypeQuery([](Service*) { return g_connection; });
    std::vector<std::uint64_t> ran;
    std::vector<ERRORID> reported;
    core->getTaskManager()->addTask(
        new TaskOnlineEndMatch(new PlainMatchTask(c.plain, &ran),
                               [&](std::uint32_t, ERRORID r) { reported.push_back(r); }));
    ASSERT_TRUE(until([&] { return !reported.empty(); }));
    EXPECT_EQ(reported[0], c.reported) << c.connection << " " << c.plain;
    EXPECT_EQ(ran.size(), 1u);  // the match ended however the submission went
    g_connection = CONNECTIONTYPE_ONLINE;
    const auto board = rows(kBoard);
    EXPECT_EQ(board.count(kAnn) ? board.at(kAnn) : 0, c.row);
    stats->removePlayerFromLeaderboard(&listener, 0, kBoard);
    ASSERT_TRUE(idle());
  }
}

class StatisticsScripts : public StatisticsTest {
 protected:
  void SetUp() override {
    StatisticsTest::SetUp();
    interpreter = std::make_unique<ScriptInterpreter>();
    ASSERT_TRUE(interpreter->isValid());
    lua_State* L = interpreter->getLuaState();
    PushEntityID(L, annEntity);
    lua_setglobal(L, "ANN");
    PushFlexibleValue(L, int64(420));
    lua_setglobal(L, "SCORE");
  }
  void TearDown() override {
    interpreter.reset();
    StatisticsTest::TearDown();
  }
  std::string run(const char* text) { return toolbox_test::RunScript(*interpreter, text); }
  std::string global(const char* name) { return toolbox_test::ScriptGlobal(*interpreter, name); }

  std::unique_ptr<ScriptInterpreter> interpreter;
};

TEST_F(StatisticsScripts, AScriptTracksSubmitsAndReadsTheBoardBack) {
  ASSERT_EQ(run("function StatisticsService_onSubmitStatistics(id, result)\n"
                "  SUBMITTED = id:get() .. ' ' .. result:get()\n"
                "  return true\n"
                "end\n"
                "function StatisticsService_onFetchStatisticsFromRank(id, result, boards)\n"
                "  FETCHED = result:get() .. ' ' .. boards:size()\n"
                "  return true\n"
                "end\n"
                "ADDED = tostring(StatisticsService:addEntityToStatisticsTracking(ANN))\n"
                "SET = tostring(StatisticsService:setStatistic(ANN, Integer(10), SCORE))\n"
                "GOT = StatisticsService:getStatistic(ANN, Integer(10)):getAsInt64():get()\n"
                "NONE = tostring(StatisticsService:getStatistic(ANN, Integer(99)))\n"
                "TASK = StatisticsService:submitStatistics(StatisticsServiceListener):get()\n"),
            "");
  EXPECT_EQ(global("ADDED") + " " + global("SET") + " " + global("GOT") + " " + global("NONE"),
            "true true 420 nil");
  ASSERT_TRUE(until([&] { return global("SUBMITTED") != "(nil)"; }));
  EXPECT_EQ(global("SUBMITTED"), global("TASK") + " " + std::to_string(ERRORID_SUCCEEDED));

  ASSERT_EQ(run("local ids = VectorLeaderboardID.new()\n"
                "ids:push_back(Integer(700)) ids:push_back(Integer(999)) ids:push_back(702)\n"
                "ids:erase(1)\n"
                "IDS = ids:size() .. ' ' .. ids:at(1):get()\n"
                "StatisticsService:fetchStatisticsFromRank(StatisticsServiceListener, Integer(1),\n"
                "  ids, Integer(10))\n"),
            "");
  EXPECT_EQ(global("IDS"), "2 702");
  ASSERT_TRUE(until([&] { return global("FETCHED") != "(nil)"; }));
  EXPECT_EQ(global("FETCHED"), std::to_string(ERRORID_SUCCEEDED) + " 2");
}

TEST_F(StatisticsScripts, ArgumentsOfTheWrongTypeOrPlaceAreRefused) {
  const std::pair<const char*, const char*> cases[] = {
      {"StatisticsService:submitStatistics(ANN)", "StatisticsServiceListener expected"},
      {"StatisticsService.submitStatistics(ANN, StatisticsServiceListener)",
       "StatisticsService expected"},
      {"StatisticsService:fetchStatisticsFromRank(StatisticsServiceListener, 1,"
       " VectorLeaderboard.new(), 10)",
       "VectorLeaderboardID expected"},
      {"VectorLeaderboard.new():push_back(ANN)", "Leaderboard expected"},
      {"VectorLeaderboardID.new().size(VectorLeaderboard.new())", "VectorLeaderboardID expected"},
      {"VectorLeaderboard.new():at(0)", "index out of range"},
      {"local v = VectorLeaderboardID.new() v:push_back(1) v:erase(-1)", "index out of range"},
      {"StatisticsService:setStatistic(ANN, 10, 5)", "FlexibleValue expected"},
  };
  for (const auto& c : cases)
    EXPECT_NE(run(c.first).find(c.second), std::string::npos) << c.first << ": " << run(c.first);
}

}  // namespace
