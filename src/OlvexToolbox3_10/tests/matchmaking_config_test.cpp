// The matchmaking configuration: definitions read back whole or not at all,
// field selection, query matching, match parameters, and the public and
// private slots that admit players by ticket.
#include <gtest/gtest.h>

#include <cstdio>

#include "Modules/Core/Src/Records/RecordList.h"
#include "Modules/Core/Src/Types/Blob.h"
#include "Modules/MatchmakingService/Src/MatchmakingConfig.h"
#include "Modules/MatchmakingService/Src/MatchmakingDefinitions.h"
#include "Modules/MatchmakingService/Src/MatchmakingService.h"
#include "matchmaking_test_support.h"
#include "toolbox_test_support.h"

using namespace OX_Toolbox;
using namespace matchmaking_test;

namespace {

// Each test program of the folder runs beside the others: files of its own.
const char* const kDefs = "mm_config.dat";

std::unique_ptr<TaggedRecord> Record(TaggedRecord* r) { return std::unique_ptr<TaggedRecord>(r); }

// The record's payload cut or changed, as a new record of the same tag.
std::unique_ptr<TaggedRecord> Edited(const TaggedRecord& r, std::size_t keep,
                                     std::size_t at = SIZE_MAX, unsigned char byte = 0) {
  std::string bytes(reinterpret_cast<const char*>(r.getPayload()), r.getPayloadSize());
  bytes.resize(std::min(keep, bytes.size()));
  if (at < bytes.size()) bytes[at] = static_cast<char>(byte);
  return Record(
      TaggedRecord::create(r.getTag(), bytes.data(), static_cast<std::uint32_t>(bytes.size())));
}

TEST(MatchmakingDefinitions, RecordsReadBackAsWritten) {
  const MatchmakingField field = Fields(4, 2)[5];
  MatchmakingField f;
  ASSERT_TRUE(ReadMatchmakingFieldDefinition(*Record(WriteMatchmakingFieldDefinition(field)), f));
  EXPECT_TRUE(sameText(f.name, String("maxPlayers")));
  EXPECT_EQ(f.id, kMaxPlayersId);
  EXPECT_EQ(f.categories, 2u);
  ASSERT_EQ(f.choices.size(), 3u);
  EXPECT_EQ(f.choices[2].value, Int32(4));
  EXPECT_EQ(f.choices[2].label, Text("choice 2"));
  EXPECT_EQ(f.choices[2].id, 102);

  MatchmakingQuery q;
  ASSERT_TRUE(ReadMatchmakingQuery(*Record(WriteMatchmakingQuery(GamesQuery())), q));
  EXPECT_EQ(q.id, 1);
  EXPECT_EQ(q.count, 20u);
  ASSERT_EQ(q.conditions.size(), 1u);
  EXPECT_EQ(q.conditions[0].attributeId, kGameKindId);
  EXPECT_EQ(q.conditions[0].record.value, Int32(0));
  EXPECT_EQ(q.fieldIds, std::vector<std::int32_t>{kMaxPlayersId});
}

// Every cut of a record, and counts or indexes the record cannot back, are
// refused and leave the destination as it was.
TEST(MatchmakingDefinitions, DamagedRecordsAreRefusedWhole) {
  const auto field = Record(WriteMatchmakingFieldDefinition(Fields(4, 2)[5]));
  const auto query = Record(WriteMatchmakingQuery(GamesQuery()));
  for (std::size_t keep = 0; keep < field->getPayloadSize(); ++keep) {
    MatchmakingField f;
    f.id = -5;
    EXPECT_FALSE(ReadMatchmakingFieldDefinition(*Edited(*field, keep), f)) << keep;
    EXPECT_EQ(f.id, -5);
  }
  for (std::size_t keep = 0; keep < query->getPayloadSize(); ++keep) {
    MatchmakingQuery q;
    EXPECT_FALSE(ReadMatchmakingQuery(*Edited(*query, keep), q)) << keep;
    EXPECT_TRUE(q.conditions.empty());
  }
  // Offsets: name "maxPlayers" (6 + 11 bytes), four 5-byte values, two empty
  // texts (6 bytes each), three 5-byte values, then the default index and
  // the choice count (their low bytes follow their type bytes).
  const std::size_t defaultAt = 17 + 5 * 4 + 6 * 2 + 5 * 3 + 1;
  const std::size_t countAt = defaultAt + 5;
  struct Case {
    const char* what;
    std::size_t at;
    unsigned char byte;
  } cases[] = {{"default index past the choices", defaultAt, 3},
               {"choice count that lies", countAt, 200},
               {"value of another type", 0, OX_INT32}};
  for (const Case& c : cases) {
    MatchmakingField f;
    EXPECT_FALSE(ReadMatchmakingFieldDefinition(*Edited(*field, SIZE_MAX, c.at, c.byte), f))
        << c.what;
    EXPECT_TRUE(f.choices.empty()) << c.what;
  }
}

class MatchmakingConfigTest : public toolbox_test::CoreFixture {
 protected:
  void SetUp() override {
    ASSERT_EQ(createCore(toolbox_test::fileKeys() + "MATCHMAKING_DEFAULT_FILE = '" + kDefs +
                         "'\nAuto_Save_Match_Params = true\n"
                         "Auto_Load_Match_Params = true\n"
                         "Match_Params_File = 'mm_params.dat'\n"),
              ERRORID_SUCCEEDED);
    core = ToolboxCore::instance();
    std::remove("mm_params.dat");
    ASSERT_EQ(SaveDefinitions(core->getConfigString(MATCHMAKING_DEFAULT_FILE)), ERRORID_SUCCEEDED);
    config = std::make_unique<MatchmakingConfig>();
    ASSERT_TRUE(config->load());
  }
  void TearDown() override {
    config.reset();
    std::remove("mm_params.dat");
    std::remove(kDefs);
    CoreFixture::TearDown();
  }
  ToolboxCore* core = nullptr;
  std::unique_ptr<MatchmakingConfig> config;
};

TEST_F(MatchmakingConfigTest, LoadsTablesAndLooksThemUp) {
  EXPECT_EQ(config->fields().size(), 7u);
  ASSERT_NE(config->findFieldByName("gameKind"), nullptr);
  EXPECT_EQ(config->findFieldById(kMaxPlayersId)->choices.size(), 3u);
  EXPECT_EQ(config->findFieldById(12345), nullptr);
  EXPECT_NE(config->findQueryById(1), nullptr);
  EXPECT_EQ(config->findQueryById(2), nullptr);
  const MatchmakingGamePage* page = config->currentGamePage();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->id, 7);
  // The page's order, its unknown id skipped, by category.
  std::vector<MatchmakingField*> picked;
  config->collectPageFields(2 | 4, picked);
  ASSERT_EQ(picked.size(), 2u);
  EXPECT_EQ(picked[0]->id, kGameKindId);
  EXPECT_EQ(picked[1]->id, kMaxPlayersId);
  picked.clear();
  config->collectFields(7, picked);
  EXPECT_EQ(picked.size(), 7u);
}

TEST_F(MatchmakingConfigTest, AFileWithADamagedRecordDoesNotLoad) {
  RecordList list;
  AddDefinitions(list, Fields(4, 2));
  const auto bad = Edited(*list.findByTag(kFieldTag), 10);
  list.add(TaggedRecord::create(kFieldTag, bad->getPayload(), bad->getPayloadSize()));
  ASSERT_EQ(list.saveToFile(kDefs), ERRORID_SUCCEEDED);
  MatchmakingConfig other;
  EXPECT_FALSE(other.load());
  EXPECT_TRUE(other.fields().empty());
  std::remove(kDefs);
  EXPECT_FALSE(other.load());
}

TEST_F(MatchmakingConfigTest, SelectTakesListedValuesOfTheCurrentKindOnly) {
  MatchmakingField* many = config->findFieldById(kMaxPlayersId);
  MatchmakingField* one = config->findFieldByName("OLVEX_hostName");
  EXPECT_TRUE(many->selectInt32(4));
  EXPECT_EQ(many->current, 2u);
  EXPECT_FALSE(many->selectInt32(9));  // not listed: unchanged
  EXPECT_EQ(many->current, 2u);
  EXPECT_FALSE(many->selectInt64(3));  // another kind
  EXPECT_FALSE(many->selectString(String("3")));
  EXPECT_TRUE(one->selectString(String("ann")));  // a single choice takes any text
  EXPECT_TRUE(sameText(one->currentText(), String("ann")));
  EXPECT_FALSE(one->selectInt32(1));
  std::int32_t n = 0;
  EXPECT_TRUE(many->getInt32(n));
  EXPECT_EQ(n, 4);
  EXPECT_FALSE(one->getInt32(n));
}

TEST_F(MatchmakingConfigTest, QueriesCompareAttributesByOperator) {
  SessionInfo info;
  info.setAttribute(kGameKindId, String("5"));
  struct Case {
    std::int32_t op;
    std::int32_t value;
    bool matches;
  } cases[] = {{1, 5, true},  {1, 4, false}, {2, 6, true},  {2, 5, false}, {3, 4, true},
               {3, 5, false}, {4, 5, true},  {4, 4, false}, {5, 5, true},  {5, 6, false},
               {6, 4, true},  {6, 5, false}, {0, 5, false}, {7, 5, false}};
  for (const Case& c : cases) {
    MatchmakingQuery q = GamesQuery();
    q.conditions[0].op = c.op;
    q.conditions[0].record.value = Int32(c.value);
    EXPECT_EQ(config->sessionMatchesQuery(q, info), c.matches) << c.op << " " << c.value;
  }
  MatchmakingQuery none = GamesQuery();
  none.conditions.clear();
  EXPECT_TRUE(config->sessionMatchesQuery(none, info));
  // An absent attribute reads as "", that is 0, which query 1 asks for.
  EXPECT_TRUE(config->sessionMatchesQuery(GamesQuery(), SessionInfo()));
}

TEST_F(MatchmakingConfigTest, MatchParametersPersistAndStopAtTheFirstMismatch) {
  config->findFieldById(kMaxPlayersId)->selectInt32(3);
  config->findFieldById(kGameKindId)->selectInt32(1);
  ASSERT_TRUE(config->saveMatchParams());
  MatchmakingConfig again;
  ASSERT_TRUE(again.load());
  EXPECT_EQ(again.findFieldById(kMaxPlayersId)->current, 1u);
  EXPECT_EQ(again.findFieldById(kGameKindId)->current, 1u);

  // The game kind's field lost a choice: what comes before it still applies.
  std::vector<MatchmakingField> fewer = Fields(4, 2);
  fewer[6].choices.pop_back();
  RecordList list;
  AddDefinitions(list, fewer);
  ASSERT_EQ(list.saveToFile(kDefs), ERRORID_SUCCEEDED);
  MatchmakingConfig changed;
  ASSERT_TRUE(changed.load());
  EXPECT_FALSE(changed.loadMatchParams());
  EXPECT_EQ(changed.findFieldById(kMaxPlayersId)->current, 1u);
  EXPECT_EQ(changed.findFieldById(kGameKindId)->current, 0u);
}

TEST_F(MatchmakingConfigTest, SlotsAdmitByTicketAndPublicOnesExpire) {
  config->refreshSlotCounts();
  std::vector<Ticket> tickets;
  config->createSlots(0, 5, false, tickets);  // more than the four public slots
  EXPECT_TRUE(tickets.empty());
  config->createSlots(0, 0, false, tickets);
  EXPECT_TRUE(tickets.empty());
  config->createSlots(0, 1, false, tickets);
  config->createSlots(0, 1, true, tickets);
  ASSERT_EQ(tickets.size(), 2u);
  EXPECT_EQ(tickets[0].extra, 0);
  EXPECT_EQ(tickets[1].extra, 1);

  const PlayerID bob(CONNECTIONTYPE_LAN, 22);
  Ticket forged = tickets[0];
  forged.stamp += 1;
  EXPECT_FALSE(config->assignSlot(forged, bob));
  EXPECT_TRUE(config->assignSlot(tickets[0], bob));
  EXPECT_FALSE(config->assignSlot(tickets[0], PlayerID(CONNECTIONTYPE_LAN, 23)));  // taken
  EXPECT_TRUE(config->assignSlot(tickets[1], bob));
  EXPECT_EQ(config->countTakenPublic(), 1u);
  EXPECT_EQ(config->countTakenPrivate(), 1u);

  // Removing the player drops the public slot and frees the private one for reuse.
  config->removePlayer(bob);
  EXPECT_TRUE(config->slots().list(false).empty());
  EXPECT_EQ(config->slots().list(true).size(), 1u);
  EXPECT_TRUE(config->assignSlot(tickets[1], PlayerID(CONNECTIONTYPE_LAN, 24)));
  config->removePlayer(PlayerID(CONNECTIONTYPE_LAN, 24));
  config->createSlots(0, 1, false, tickets);

  // The unclaimed public slot lives exactly 10 s; the private one stays.
  config->update(0);
  core->update(MatchmakingConfig::kPublicSlotLifeMs);
  config->update(0);
  EXPECT_EQ(config->slots().list(false).size(), 1u);
  core->update(1);
  config->update(0);
  EXPECT_TRUE(config->slots().list(false).empty());
  EXPECT_EQ(config->slots().list(true).size(), 1u);
}

TEST_F(MatchmakingConfigTest, AChangedSlotTotalClearsThatList) {
  config->refreshSlotCounts();
  std::vector<Ticket> tickets;
  config->createSlots(0, 1, false, tickets);
  config->createSlots(0, 1, true, tickets);
  config->refreshSlotCounts();
  EXPECT_EQ(config->slots().list(false).size(), 1u);
  config->findFieldByName(MatchmakingConfig::kPublicSlotsField)->selectInt32(6);
  config->refreshSlotCounts();
  EXPECT_TRUE(config->slots().list(false).empty());
  EXPECT_EQ(config->slots().list(true).size(), 1u);
}

TEST_F(MatchmakingConfigTest, ServiceCreationNeedsTheNetworkServiceAndTheDefinitions) {
  EXPECT_EQ(MatchmakingService::create(), ERRORID_FAILED);
  ASSERT_EQ(core->registerService(new toolbox_test::RecordingService("NetworkService", nullptr)),
            ERRORID_SUCCEEDED);
  std::remove(kDefs);
  EXPECT_EQ(MatchmakingService::create(), ERRORID_CANT_OPEN_FILE_READ);
  EXPECT_EQ(core->findService(MatchmakingService::kName), nullptr);
  ASSERT_EQ(SaveDefinitions(kDefs), ERRORID_SUCCEEDED);
  config.reset();
  ASSERT_EQ(MatchmakingService::create(), ERRORID_SUCCEEDED);
  ASSERT_NE(MatchmakingService::find(), nullptr);
  EXPECT_EQ(MatchmakingConfig::instance(), MatchmakingService::find()->getConfig());
  std::uint32_t n = 0;
  EXPECT_NE(MatchmakingService::find()->getMatchmakingFields(n), nullptr);
  EXPECT_EQ(n, 7u);
}

}  // namespace

namespace {

// The definitions the build writes from the matchmaking table.
TEST(MatchmakingDefinitions, TheShippedTableLoads) {
  RecordList list;
  ASSERT_EQ(list.loadFromFile("Definitions.dat"), ERRORID_SUCCEEDED);
  MatchmakingConfig config;
  ASSERT_TRUE(config.loadDefinitions(list));
  for (const char* name :
       {MatchmakingConfig::kPublicSlotsField, MatchmakingConfig::kPrivateSlotsField,
        MatchmakingConfig::kOwnerIdField, MatchmakingConfig::kHostNameField,
        MatchmakingConfig::kGameTypeField, MatchmakingConfig::kMatchStartedField})
    EXPECT_NE(config.findFieldByName(name), nullptr) << name;
  std::int32_t slots = 0;
  ASSERT_TRUE(config.findFieldByName(MatchmakingConfig::kPublicSlotsField)->getInt32(slots));
  EXPECT_GT(slots, 0);
  // The host's texts and ids take any value.
  EXPECT_TRUE(config.findFieldByName(MatchmakingConfig::kHostNameField)->selectString(String("x")));
  EXPECT_TRUE(config.findFieldByName(MatchmakingConfig::kOwnerIdField)->selectInt64(1LL << 40));
  ASSERT_NE(config.findQueryById(1), nullptr);
  for (std::int32_t id : config.findQueryById(1)->fieldIds)
    EXPECT_NE(config.findFieldById(id), nullptr) << id;
  ASSERT_EQ(config.gamePages().size(), 1u);
  EXPECT_TRUE(sameText(config.gamePages()[0].name, String("Tessarin")));
}

}  // namespace

namespace {

TEST_F(MatchmakingConfigTest, AnUnsentInvitationGivesItsPrivateSlotBack) {
  config->refreshSlotCounts();
  std::vector<Ticket> tickets;
  config->createSlots(0, 2, true, tickets);  // both private slots
  ASSERT_EQ(tickets.size(), 2u);
  std::vector<Ticket> more;
  config->createSlots(0, 1, true, more);
  EXPECT_TRUE(more.empty());  // full
  EXPECT_TRUE(config->releasePrivateSlot(tickets[0]));
  core->update(5);  // a ticket of its own, unlike the other one left
  config->createSlots(0, 1, true, more);
  EXPECT_EQ(more.size(), 1u);  // the freed one is there again
  // A taken slot is not given back.
  ASSERT_TRUE(config->assignSlot(more[0], PlayerID(CONNECTIONTYPE_LAN, 5)));
  EXPECT_FALSE(config->releasePrivateSlot(more[0]));
  EXPECT_EQ(config->slots().list(true).size(), 2u);
}

}  // namespace
