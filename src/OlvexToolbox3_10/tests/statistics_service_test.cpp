// The statistics service: definitions read from the definitions file, the
// tracking of statistics, and rows written to, read from and removed from
// the test lobby server's leaderboards.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Modules/Core/Src/Records/RecordList.h"
#include "Modules/Core/Src/Types/Blob.h"
#include "Modules/StatisticsService/Src/StatisticsService.h"
#include "services_test_support.h"

using namespace OX_Toolbox;

namespace {

constexpr std::int32_t kScore = 10;   // INTEGER_64
constexpr std::int32_t kWords = 11;   // INTEGER_32
constexpr std::int32_t kBoard = 700;  // a player board written at the end of a match

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

// A board whose column count may claim more columns than it holds.
Blob board(std::int32_t id, std::uint16_t claimed, std::uint16_t present) {
  Blob b;
  b.writeInt32(0, 2);
  b.writeString(b.getSize(), String("Best scores"));
  b.writeInt32(b.getSize(), id);
  b.writeBool(b.getSize(), false);
  b.writeUInt8(b.getSize(), 0);
  b.writeUInt8(b.getSize(), 2);
  b.writeBool(b.getSize(), true);
  b.writeUInt16(b.getSize(), claimed);
  for (std::uint16_t i = 0; i < present; ++i) {
    b.writeInt32(b.getSize(), i);
    b.writeString(b.getSize(), String("score"));
    b.writeUInt8(b.getSize(), 3);
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

ToolboxVector<PlayerID>* g_sessionPlayers = nullptr;

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
    ASSERT_EQ(list.saveToFile(core->getConfigString(MATCHMAKING_DEFAULT_FILE)), ERRORID_SUCCEEDED);
    EXPECT_EQ(StatisticsService::create(), ERRORID_SERVICE_NOT_AVAILABLE);
    core->registerService(new toolbox_test::RecordingService("MatchmakingService", nullptr));
    ASSERT_EQ(StatisticsService::create(), ERRORID_SUCCEEDED);
    stats = StatisticsService::find();
    players.push_back(ann());
    g_sessionPlayers = &players;
    SetSessionPlayersQuery([](ToolboxVector<PlayerID>& out, std::int32_t& type) {
      if (!g_sessionPlayers) return false;
      out = *g_sessionPlayers;
      type = 1;
      return true;
    });
  }
  void TearDown() override {
    SetSessionPlayersQuery(nullptr);
    g_sessionPlayers = nullptr;
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

  StatisticsService* stats = nullptr;
  ToolboxVector<PlayerID> players;
  RecordingStats listener;
  EntityID annEntity{PlayerID(CONNECTIONTYPE_ONLINE, kAnn), StatisticsService::kPlayerEntity};
};

TEST_F(StatisticsTest, DefinitionsKeepOnlyRecordsThatReadWhole) {
  ASSERT_EQ(stats->properties().size(), 2u);
  EXPECT_TRUE(stats->properties()[0].name.equalsNarrow("score"));
  EXPECT_EQ(stats->properties()[1].id, kWords);
  ASSERT_EQ(stats->leaderboards().size(), 1u);
  EXPECT_EQ(stats->leaderboards()[0].id, kBoard);
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
  g_sessionPlayers = nullptr;
  stats->submitStatistics(&listener);
  ASSERT_TRUE(heard(2));
  EXPECT_EQ(listener.log[0].result, ERRORID_SUCCEEDED);
  EXPECT_EQ(listener.log[1].result, ERRORID_SESSION_NOT_FOUND);
  stats->fetchStatisticsFromRank(&listener, 1, {kBoard}, 10);
  ASSERT_TRUE(heard(3));
  EXPECT_TRUE(listener.log[2].boards[0].rows.empty());
}

}  // namespace
