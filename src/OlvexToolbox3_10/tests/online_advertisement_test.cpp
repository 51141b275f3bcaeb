// Sessions advertised on the test lobby server: one player's machine stores
// its session records, another searches them with a query and reads back the
// fields the query asks for.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Modules/Session/Src/SessionAdvertisement.h"
#include "bdMatchMaking/bdMatchMaking.h"
#include "services_test_support.h"

using namespace OX_Toolbox;

namespace {

constexpr std::int32_t kQuery = 21;

class Fields : public AdvertisedFieldSource {
 public:
  Fields() { SetAdvertisedFieldSource(this); }
  ~Fields() { SetAdvertisedFieldSource(nullptr); }
  std::vector<AdvertisedField> advertisedFields() const override {
    std::vector<AdvertisedField> list(3);
    list[0].id = 10;
    list[0].name = String("gameType");
    list[0].value.setInt32(gameType);
    list[1].id = 11;
    list[1].name = String(kAdvertisedOwnerIdField);
    list[1].value.setInt64(owner);
    list[2].id = 16;
    list[2].name = String(kAdvertisedHostNameField);
    list[2].value.setString(String(host.c_str()));
    return list;
  }
  std::int32_t gameType = 0;
  std::int64_t owner = 0;
  std::string host;
};

// The session id the server gave a created session.
class Created : public bdQueryResult {
 public:
  bool handleResult(const unsigned int, bdReference<bdBitBuffer> buffer) override {
    unsigned int length = sizeof id.ab;
    return buffer->readBlob(id.ab, length) && length == sizeof id.ab;
  }
  bdSecurityID id;
};

std::string text(const String& s) {
  char* n = s.toNarrowCopy();
  std::string out = n ? n : "";
  ToolboxFree(n);
  return out;
}

class OnlineAdvertisement : public toolbox_test::ServicesFixture {
 protected:
  // Runs a matchmaking request of a lobby to its answer, read into result.
  bool run(bdLobbyServiceImpl& lobby, bdRemoteTaskRef task, bdQueryResult* result) {
    if (task.isNull()) return false;
    const bool answered = until([&] { return task->getStatus() != bdRemoteTask::BD_PENDING; });
    const bool ok = answered && lobby.getMatchMaking()->handleTask(task.get(), result);
    task->reset();
    return ok;
  }
  // Stores a session of the current field values; its server id.
  bdSecurityID host(bdLobbyServiceImpl& lobby, std::int32_t gameType, std::uint64_t owner,
                    const char* name) {
    fields.gameType = gameType;
    fields.owner = static_cast<std::int64_t>(owner);
    fields.host = name;
    SessionSearchResult record;
    record.setHostAddr(bdReference<bdCommonAddr>(
        new bdCommonAddr(bdAddr(bdInetAddr::fromBytes(10, 0, 0, owner & 0xFF), 3074))));
    record.setSlots(4, 1, 0, 0);
    Created created;
    EXPECT_TRUE(run(lobby, lobby.getMatchMaking()->startTask1(0, &record), &created));
    return created.id;
  }
  std::vector<SessionInfo> search(std::vector<SessionSearchParameter> params) {
    SessionSearchQuery query(kQuery, 20, std::move(params));
    SessionSearchResultArray results({10, 16});
    std::vector<SessionInfo> found;
    if (!run(*bob, bob->getMatchMaking()->startTask5(0, &query), &results)) return found;
    for (unsigned int i = 0; i < results.size(); ++i)
      found.push_back(results.at(i).getSessionInfo());
    return found;
  }
  Fields fields;
};

TEST_F(OnlineAdvertisement, ASearchFindsTheMatchingSessionsWithTheFieldsItAsksFor) {
  // The service's definition of the query: the parameter is the game type
  // (the first field); results carry the game type and the host's name.
  server->getStore().defineQuery(kQuery, {{0}, {0, 2}});
  const bdSecurityID annSession = host(*Lobby(), 3, kAnn, "ann");
  host(*bob, 5, kBob, "bob");
  ASSERT_EQ(server->getStore().getSessionCount(), 2u);

  SessionSearchParameter three;
  three.value.setInt32(3);
  const std::vector<SessionInfo> found = search({three});
  ASSERT_EQ(found.size(), 1u);
  const SessionInfo& ann = found[0];
  EXPECT_EQ(ann.attributes.size(), 2u);
  EXPECT_EQ(text(*ann.findAttribute(10)), "3");
  EXPECT_EQ(text(ann.ownerLogin), "ann");
  EXPECT_EQ(ann.findAttribute(11), nullptr);
  EXPECT_EQ(text(ann.hostAddress.text), "10.0.0.1");
  EXPECT_TRUE(std::equal(ann.sessionId.begin(), ann.sessionId.end(), annSession.ab));

  SessionSearchParameter any;
  any.value.setInt32(0);
  any.any = true;
  EXPECT_EQ(search({any}).size(), 2u);
  SessionSearchParameter seven;
  seven.value.setInt32(7);
  EXPECT_TRUE(search({seven}).empty());
}

TEST_F(OnlineAdvertisement, ASessionLookedUpByIdCarriesEveryFieldAndItsUpdates) {
  const bdSecurityID id = host(*Lobby(), 3, kAnn, "ann");
  // The host publishes a new game type under the same session id.
  fields.gameType = 4;
  SessionSearchResult update;
  update.m_sessionID = id;
  update.setHostAddr(bdReference<bdCommonAddr>(
      new bdCommonAddr(bdAddr(bdInetAddr::fromBytes(10, 0, 0, 1), 3074))));
  ASSERT_TRUE(run(*Lobby(), Lobby()->getMatchMaking()->startTask2(0, &update), nullptr));

  bdLobbyArgs args;
  args.blob8(id.ab);
  SessionSearchResultRef ref;
  ASSERT_TRUE(run(*bob, bob->getMatchMaking()->startTask(4, 0, args), &ref));
  ASSERT_EQ(ref.found(), 1);
  const SessionInfo& info = ref.get().getSessionInfo();
  EXPECT_EQ(text(*info.findAttribute(10)), "4");
  EXPECT_EQ(info.ownerId, PlayerID(CONNECTIONTYPE_ONLINE, kAnn));
  EXPECT_EQ(text(info.ownerLogin), "ann");
}

}  // namespace
