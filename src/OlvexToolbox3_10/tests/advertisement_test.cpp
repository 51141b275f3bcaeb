// Session advertisements: the records that carry a session on the local
// network and on the lobby server, written and read back bit for bit, and a
// hosted LAN session found by a discovery search.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Modules/NetworkService/Src/NetworkService.h"
#include "Modules/NetworkService/Src/SdkNetworkLayer.h"
#include "Modules/Session/Src/SessionAdvertisement.h"
#include "bdCore/bdCore.h"
#include "bdCore/bdUtilities/bdBitBuffer.h"
#include "bdCore/bdUtilities/bdSingleton.h"
#include "bdLANDiscovery/bdDiscoveryClient.h"
#include "bdNet/bdNetImpl.h"
#include "online_test_support.h"

using namespace OX_Toolbox;

namespace {

FlexibleValue int32Value(std::int32_t v) {
  FlexibleValue f;
  f.setInt32(v);
  return f;
}
FlexibleValue int64Value(std::int64_t v) {
  FlexibleValue f;
  f.setInt64(v);
  return f;
}
FlexibleValue uint32Value(std::uint32_t v) {
  FlexibleValue f;
  f.setUInt32(v);
  return f;
}
FlexibleValue uint64Value(std::uint64_t v) {
  FlexibleValue f;
  f.setUInt64(v);
  return f;
}
FlexibleValue textValue(const char* v) {
  FlexibleValue f;
  f.setString(String(v));
  return f;
}

AdvertisedField field(std::int32_t id, const char* name, const FlexibleValue& value) {
  AdvertisedField f;
  f.id = id;
  f.name = String(name);
  f.value = value;
  return f;
}

// The matchmaking fields of a test: one of every carried type, the two that
// name the owner, and a float field that is never carried.
class Fields : public AdvertisedFieldSource {
 public:
  Fields() {
    FlexibleValue real;
    real.setFloat64(2.5);
    list = {field(10, "rounds", int32Value(-7)),
            field(11, kAdvertisedOwnerIdField, int64Value(-4242424242424LL)),
            field(12, "seats", uint32Value(4000000000u)),
            field(13, "bigId", uint64Value(18000000000000000000ull)),
            field(14, "motto", textValue("")),
            field(15, "speed", real),
            field(16, kAdvertisedHostNameField, textValue("Hostess"))};
    SetAdvertisedFieldSource(this);
  }
  ~Fields() { SetAdvertisedFieldSource(nullptr); }
  std::vector<AdvertisedField> advertisedFields() const override { return list; }
  std::vector<AdvertisedField> list;
};

std::string attribute(const SessionInfo& info, std::uint32_t id) {
  const String* s = info.findAttribute(id);
  if (!s) return "(none)";
  char* narrow = s->toNarrowCopy();
  std::string out = narrow ? narrow : "";
  ToolboxFree(narrow);
  return out;
}

std::string narrow(const String& s) {
  char* n = s.toNarrowCopy();
  std::string out = n ? n : "";
  ToolboxFree(n);
  return out;
}

bdReference<bdCommonAddr> someHost() {
  return bdReference<bdCommonAddr>(
      new bdCommonAddr(bdAddr(bdInetAddr::fromBytes(10, 1, 2, 3), 3074)));
}

// A received buffer: the written bits with their header, as a datagram or a
// lobby reply arrives.
bdReference<bdBitBuffer> received(const bdBitBuffer& written, unsigned int dropBits = 0) {
  return bdReference<bdBitBuffer>(
      new bdBitBuffer(written.getData(), written.getNumBitsWritten() - dropBits, true));
}

// The records need the SDK's core (its allocator and references).
class SessionAdvertisement : public ::testing::Test {
 protected:
  void SetUp() override { bdCore::init(true); }
  void TearDown() override { bdCore::quit(); }
};

const std::vector<std::pair<std::uint32_t, std::string>> kExpected = {
    {10, "-7"},      {11, "-4242424242424"}, {12, "4000000000"}, {13, "18000000000000000000"},
    {14, "<empty>"}, {16, "Hostess"}};

TEST_F(SessionAdvertisement, ALanRecordCarriesTheTextsAndEveryFieldOfACarriedType) {
  Fields fields;
  SessionGameInfo sent;
  sent.setTitleID(77);
  bdSecurityID id;
  for (unsigned int i = 0; i < bdSecurityID::SIZE; ++i)
    id.ab[i] = static_cast<unsigned char>(0x30 + i);
  sent.setSecID(id);
  sent.setHostAddr(someHost());
  sent.getSessionInfo().secondText = String("tess");
  sent.getSessionInfo().ownerLogin = String("owner1");
  bdBitBuffer buffer(0, false);
  sent.serialize(buffer);

  SessionGameInfo got;
  ASSERT_TRUE(got.deserialize(bdReference<bdCommonAddr>(), *received(buffer)));
  const SessionInfo& info = got.getSessionInfo();
  EXPECT_EQ(got.getTitleID(), 77u);
  EXPECT_EQ(info.sessionId[0], 0x30);
  EXPECT_EQ(info.sessionId[7], 0x37);
  EXPECT_EQ(narrow(info.secondText), "tess");
  ASSERT_EQ(info.attributes.size(), kExpected.size());
  for (const auto& e : kExpected)
    EXPECT_EQ(attribute(info, e.first), e.second) << e.first;
  // The owner fields replace what the texts said.
  EXPECT_EQ(narrow(info.ownerLogin), "Hostess");
  EXPECT_EQ(info.ownerId,
            PlayerID(CONNECTIONTYPE_LAN, static_cast<std::uint64_t>(-4242424242424LL)));
}

TEST_F(SessionAdvertisement, ARecordCutShortKeepsWhatWasReadAndFails) {
  Fields fields;
  SessionGameInfo sent;
  sent.setHostAddr(someHost());
  sent.getSessionInfo().secondText = String("tess");
  bdBitBuffer buffer(0, false);
  sent.serialize(buffer);
  // The last field ("Hostess" and its zero) is cut in half.
  SessionGameInfo got;
  EXPECT_FALSE(got.deserialize(bdReference<bdCommonAddr>(), *received(buffer, 4 * 8)));
  EXPECT_EQ(narrow(got.getSessionInfo().secondText), "tess");
  EXPECT_EQ(attribute(got.getSessionInfo(), 14), "<empty>");
  EXPECT_EQ(attribute(got.getSessionInfo(), 16), "(none)");

  // A base part that does not read leaves the texts alone.
  SessionGameInfo broken;
  bdBitBuffer tiny(0, false);
  tiny.writeInt32(5);
  EXPECT_FALSE(broken.deserialize(bdReference<bdCommonAddr>(), *received(tiny)));
  EXPECT_TRUE(broken.getSessionInfo().secondText.isEmpty());
  EXPECT_TRUE(broken.getSessionInfo().attributes.empty());
}

TEST_F(SessionAdvertisement, AnOversizedTextIsCutToTheReceivedBuffer) {
  // A hostile text without its terminating zero: the read stops at the end
  // of the buffer instead of running past it.
  bdBitBuffer buffer(0, false);
  buffer.writeString("abcdefgh", 8);
  bdReference<bdBitBuffer> in = received(buffer, 8);  // drop the zero
  String text(u"");
  EXPECT_FALSE(ReadAdvertisedValue(*in, FlexibleValue::STRING, in->getDataSize() + 1, text));
}

TEST_F(SessionAdvertisement, AnOnlineRecordReadsItsBasePartAndTheRequestedFieldsOnly) {
  Fields fields;
  SessionSearchResult sent;
  for (unsigned int i = 0; i < bdSecurityID::SIZE; ++i)
    sent.m_sessionID.ab[i] = static_cast<unsigned char>(i + 1);
  for (unsigned int i = 0; i < bdSecurityKey::SIZE; ++i)
    sent.m_sessionKey.ab[i] = static_cast<unsigned char>(0xC0 + i);
  sent.setHostAddr(someHost());
  sent.setSlots(4, 1, 2, 0);
  bdBitBuffer all(0, true);
  sent.serialize(all);

  SessionSearchResult every;
  ASSERT_TRUE(every.deserialize(received(all)));
  const SessionInfo& info = every.getSessionInfo();
  EXPECT_EQ(info.attributes.size(), kExpected.size());
  EXPECT_EQ(info.ownerId,
            PlayerID(CONNECTIONTYPE_ONLINE, static_cast<std::uint64_t>(-4242424242424LL)));
  EXPECT_EQ(info.sessionId[0], 1);
  EXPECT_EQ(info.sessionKey[15], 0xCF);
  EXPECT_EQ(narrow(info.hostAddress.text), "10.1.2.3");
  EXPECT_EQ(info.hostAddress.port, 3074);
  EXPECT_EQ(info.hostAddress.key, info.sessionId);
  EXPECT_EQ(every.m_values[0], 4);
  EXPECT_EQ(every.m_values[2], 2);

  // A search that asked for two fields gets the base part and those two.
  bdBitBuffer two(0, true);
  sent.bdMatchMakingInfo::serialize(two);
  WriteAdvertisedValue(two, uint32Value(9));
  WriteAdvertisedValue(two, textValue("Host2"));
  const std::vector<std::int32_t> asked = {12, 16};
  SessionSearchResult some;
  some.setRequestedFields(&asked);
  ASSERT_TRUE(some.deserialize(received(two)));
  EXPECT_EQ(some.getSessionInfo().attributes.size(), 2u);
  EXPECT_EQ(attribute(some.getSessionInfo(), 12), "9");
  EXPECT_EQ(narrow(some.getSessionInfo().ownerLogin), "Host2");

  // An id this machine does not know cannot be read past.
  const std::vector<std::int32_t> unknown = {99, 12};
  SessionSearchResult strange;
  strange.setRequestedFields(&unknown);
  EXPECT_FALSE(strange.deserialize(received(two)));
  EXPECT_TRUE(strange.getSessionInfo().attributes.empty());
}

TEST_F(SessionAdvertisement, AResultListStopsAtTheFirstRecordThatDoesNotRead) {
  Fields fields;
  SessionSearchResult one;
  one.setHostAddr(someHost());
  bdBitBuffer reply(0, true);
  for (int i = 0; i < 3; ++i)
    one.serialize(reply);
  SessionSearchResultArray three;
  EXPECT_TRUE(three.handleResult(3, received(reply)));
  EXPECT_EQ(three.size(), 3u);
  // Twenty-five announced: the twenty-first is never asked for, but the
  // fourth is already missing.
  SessionSearchResultArray many;
  EXPECT_FALSE(many.handleResult(25, received(reply)));
  EXPECT_EQ(many.size(), 4u);
  // Reading the second record's bits as the first's start misaligns them.
  bdBitBuffer misaligned(0, true);
  misaligned.writeInt32(1);
  one.serialize(misaligned);
  SessionSearchResultArray bad;
  EXPECT_FALSE(bad.handleResult(2, received(misaligned)));
  EXPECT_EQ(bad.size(), 1u);
}

TEST_F(SessionAdvertisement, AQueryWritesItsParametersByTypeAndAnyAsTheLargestValue) {
  std::vector<SessionSearchParameter> params(6);
  params[0].value = int32Value(-3);
  params[1].value = int64Value(5);
  params[1].any = true;
  params[2].value = uint32Value(7);
  params[2].any = true;
  params[3].value = uint64Value(8);
  params[4].value = textValue("never sent");
  params[5].value = int32Value(1);
  params[5].any = true;
  const SessionSearchQuery query(21, 20, params);
  bdBitBuffer buffer(0, true);
  query.serialize(buffer);
  bdReference<bdBitBuffer> in = received(buffer);
  std::int32_t i32 = 0;
  std::int64_t i64 = 0;
  std::uint32_t u32 = 0;
  std::uint64_t u64 = 0;
  ASSERT_TRUE(in->readInt32(i32));
  EXPECT_EQ(i32, 21);
  ASSERT_TRUE(in->readInt32(i32));
  EXPECT_EQ(i32, 20);
  ASSERT_TRUE(in->readInt32(i32));
  EXPECT_EQ(i32, -3);
  ASSERT_TRUE(in->readInt64(i64));
  EXPECT_EQ(i64, 0x7FFFFFFFFFFFFFFFLL);
  ASSERT_TRUE(in->readUInt32(u32));
  EXPECT_EQ(u32, 0x7FFFFFFFu);
  ASSERT_TRUE(in->readUInt64(u64));
  EXPECT_EQ(u64, 8u);
  ASSERT_TRUE(in->readInt32(i32));  // the text parameter is not there
  EXPECT_EQ(i32, 0x7FFFFFFF);
  EXPECT_FALSE(in->readInt32(i32));
}

class DiscoveryHeard : public bdDiscoveryListener {
 public:
  void onDiscoveryReply(bdReference<bdGameInfo> info) override { replies.push_back(info); }
  void onDiscoveryEnd() override { ended = true; }
  std::vector<bdReference<bdGameInfo>> replies;
  bool ended = false;
};

NetworkLayer* makeSdkLayer() { return new SdkNetworkLayer(false, 0); }

class LanHosting : public online_test::OnlineFixture {
 protected:
  void SetUp() override {
    OnlineFixture::SetUp();
    SetNetworkLayerFactory(&makeSdkLayer);
    NetworkService::setLanDiscoveryPort(0);
    ASSERT_EQ(createCore(toolbox_test::fileKeys()), ERRORID_SUCCEEDED);
    ASSERT_EQ(NetworkService::create("tess", "fr-FR"), ERRORID_SUCCEEDED);
    network = NetworkService::find();
    network->start(nullptr, NetworkService::LAN);
    ASSERT_TRUE(runUntil([&] { return network->getConnectionType() != 0; }));
  }
  void TearDown() override {
    NetworkService::setLanDiscoveryPort(bdLANDiscoveryPacket::PORT);
    OnlineFixture::TearDown();
  }
  NetworkService* network = nullptr;
};

TEST_F(LanHosting, AHostedSessionIsFoundByASearchForThisGameOnly) {
  Fields fields;
  SessionInfo info;
  info.secondText = network->getTitleText();
  info.ownerLogin = String("owner1");
  ASSERT_TRUE(network->startLanHosting(info));
  ASSERT_TRUE(network->isLanHosting());
  ASSERT_NE(network->getLanHostingPort(), 0);

  // The new security id names the session and is trusted by the network.
  bdSecurityID id;
  std::memcpy(id.ab, info.sessionId.data(), bdSecurityID::SIZE);
  bdSecurityKey key;
  EXPECT_TRUE(bdSingleton<bdNetImpl>::getInstance()->getSecurityKeyMap()->get(id, key));

  auto search = [&](std::uint64_t discoveryKey) {
    DiscoveryHeard heard;
    bdDiscoveryClient client;
    client.setLocalCommonAddr(bdSingleton<bdNetImpl>::getInstance()->getLocalCommonAddr());
    client.registerListener(&heard);
    EXPECT_TRUE(client.discover(NetworkService::LanTitleOfKey(discoveryKey), 0.5f,
                                bdInetAddr::getLoopback(), network->getLanHostingPort()));
    // The network pump answers the request.
    EXPECT_TRUE(runUntil([&] {
      client.update();
      return heard.ended;
    }));
    client.unregisterListener(&heard);
    return heard.replies;
  };

  const std::vector<bdReference<bdGameInfo>> found = search(network->getLanDiscoveryKey());
  ASSERT_EQ(found.size(), 1u);
  auto* game = dynamic_cast<SessionGameInfo*>(found[0].get());
  ASSERT_NE(game, nullptr);
  const SessionInfo& got = game->getSessionInfo();
  EXPECT_EQ(got.sessionId, info.sessionId);
  EXPECT_EQ(narrow(got.secondText), "tess");
  EXPECT_EQ(narrow(got.ownerLogin), "Hostess");
  EXPECT_EQ(attribute(got, 12), "4000000000");

  EXPECT_TRUE(search(String("another game").md5Hash64()).empty());

  network->stopLanHosting();
  EXPECT_FALSE(network->isLanHosting());
  EXPECT_EQ(network->getLanHostingPort(), 0);
}

}  // namespace
