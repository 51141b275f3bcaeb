#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bd_test_support.h"
#include "bdCore/bdUtilities/bdBitBuffer.h"
#include "bdSocket/bdAddr.h"
#include "bdSocket/bdCommonAddr.h"
#include "bdSocket/bdSecurity/bdSecurityKeyMap.h"

namespace {

using bdtest::CoreTest;

std::vector<unsigned char> wire(const bdAddr& a) {
  unsigned char bytes[6];
  unsigned int end = 0;
  EXPECT_TRUE(a.serialize(bytes, sizeof bytes, 0, end));
  return std::vector<unsigned char>(bytes, bytes + end);
}

std::string text(const bdAddr& a) {
  char buf[32];
  a.toString(buf, sizeof buf);
  return buf;
}

TEST_F(CoreTest, AddressTextAndWireTable) {
  struct {
    const char* input;
    const char* printed;
    std::vector<unsigned char> bytes;
  } cases[] = {
      {"192.168.1.7:3074", "192.168.1.7:3074", {0xC0, 0xA8, 0x01, 0x07, 0x02, 0x0C}},
      {"10.0.0.1", "10.0.0.1:0", {0x0A, 0x00, 0x00, 0x01, 0x00, 0x00}},
      {"255.255.255.255:65535", "255.255.255.255:65535", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
      // Text that is no address gives the invalid address, never broadcast.
      {"not.an.address:80", ":80", {0x00, 0xFF, 0x00, 0xFF, 0x50, 0x00}},
      {"1.2.3.256", ":0", {0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00}},
      {"1.2.3.4:99999", "1.2.3.4:0", {0x01, 0x02, 0x03, 0x04, 0x00, 0x00}},
  };
  for (const auto& c : cases) {
    bdAddr a(c.input);
    EXPECT_EQ(text(a), c.printed) << c.input;
    EXPECT_EQ(wire(a), c.bytes) << c.input;
    bdAddr back;
    unsigned int end = 0;
    ASSERT_TRUE(back.deserialize(c.bytes.data(), 6, 0, end));
    EXPECT_EQ(end, 6u);
    EXPECT_TRUE(back == a);
  }
  EXPECT_EQ(bdAddr::getSerializedSize(), 6u);
  bdAddr none(nullptr);
  EXPECT_TRUE(log.saw("Invalid socket address"));
  EXPECT_TRUE(bdInetAddr::getLoopback().isLoopback());
  EXPECT_TRUE(bdInetAddr("127.0.0.1").isLoopback());
  EXPECT_TRUE(bdInetAddr::getBroadcast().isBroadcast());
  EXPECT_FALSE(bdInetAddr().isValid());
}

TEST_F(CoreTest, ShortAddressInputIsRefused) {
  const unsigned char bytes[6] = {1, 2, 3, 4, 5, 6};
  for (unsigned int size = 0; size < 6; ++size) {
    bdAddr a("9.9.9.9:9");
    unsigned int end = 77;
    EXPECT_FALSE(a.deserialize(bytes, size, 0, end));
    EXPECT_EQ(end, 0u);
    EXPECT_EQ(text(a), "9.9.9.9:9");  // unchanged
  }
  bdCommonAddr common;
  EXPECT_FALSE(common.deserialize(nullptr, bytes, 6));
  bdBitBuffer bits(0, false);
  bits.writeBits(bytes, 48);
  EXPECT_FALSE(common.deserialize(nullptr, bits));
}

TEST_F(CoreTest, AddressHashTakesSignedBytes) {
  bdAddr a("192.168.1.7:3074");
  unsigned int h = 0;
  for (signed char b : {-64, -88, 1, 7, 2, 12})
    h = h * 31u + static_cast<unsigned int>(b);
  EXPECT_EQ(a.getHash(), h);
}

bdArray<bdAddr> locals(std::initializer_list<const char*> texts) {
  bdArray<bdAddr> out;
  for (const char* t : texts)
    out.pushBack(bdAddr(t));
  return out;
}

TEST_F(CoreTest, CommonAddressWireForm) {
  bdReference<bdCommonAddr> one(
      new bdCommonAddr(locals({"10.0.0.2:3074"}), bdAddr(), BD_NAT_STRICT));
  unsigned char bytes[25];
  ASSERT_TRUE(one->serialize(bytes, sizeof bytes));
  EXPECT_EQ(std::vector<unsigned char>(bytes, bytes + 25),
            (std::vector<unsigned char>{0x0A, 0x00, 0x00, 0x02, 0x02, 0x0C,  // local 1
                                        0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00,  // local 2 absent
                                        0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00,  // local 3 absent
                                        0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00,  // public invalid
                                        0x03}));
  bdReference<bdCommonAddr> back(new bdCommonAddr());
  ASSERT_TRUE(back->deserialize(nullptr, bytes, sizeof bytes));
  EXPECT_EQ(back->getLocalAddrs().getSize(), 1u);
  EXPECT_TRUE(back->getLocalAddr(0) == bdAddr("10.0.0.2:3074"));
  EXPECT_EQ(back->getNATType(), BD_NAT_STRICT);
  EXPECT_EQ(back->getHash(), one->getHash());
  EXPECT_FALSE(back->isLoopback());
  // Read against this host's own address it is loopback.
  ASSERT_TRUE(back->deserialize(one, bytes, sizeof bytes));
  EXPECT_TRUE(back->isLoopback());

  // Through a bit buffer: 200 raw bits, no type code.
  bdBitBuffer bits(0, true);
  one->serialize(bits);
  EXPECT_EQ(bits.getNumBitsWritten(), 1u + 200);
  bdBitBuffer received(bits.getData(), bits.getNumBitsWritten(), true);
  bdCommonAddr fromBits;
  ASSERT_TRUE(fromBits.deserialize(nullptr, received));
  EXPECT_TRUE(fromBits == *one);
}

TEST_F(CoreTest, CommonAddressEquality) {
  bdCommonAddr a(locals({"10.0.0.1:1"}), bdAddr("80.1.2.3:3074"), BD_NAT_OPEN);
  bdCommonAddr b(locals({"10.0.0.9:9", "10.0.0.8:8"}), bdAddr("80.1.2.3:3074"), BD_NAT_MODERATE);
  EXPECT_TRUE(a == b);  // same public address
  bdCommonAddr c(locals({"10.0.0.1:1"}), bdAddr(), BD_NAT_OPEN);
  bdCommonAddr d(bdAddr("10.0.0.1:1"));
  EXPECT_TRUE(c == d);  // no public address: the first local decides
  EXPECT_FALSE(a == c);
  bdCommonAddr tooMany(locals({"1.1.1.1:1", "2.2.2.2:2", "3.3.3.3:3", "4.4.4.4:4"}), bdAddr(),
                       BD_NAT_OPEN);
  EXPECT_TRUE(log.saw("Too many local addresses!"));
  EXPECT_EQ(tooMany.getLocalAddrs().getSize(), 3u);
  bdCommonAddr none(bdArray<bdAddr>(), bdAddr(), BD_NAT_OPEN);
  EXPECT_TRUE(log.saw("Too few local addresses!"));
  EXPECT_FALSE(none.getLocalAddr(0).isValid());
}

TEST_F(CoreTest, CommonAddressInfoText) {
  bdReference<bdCommonAddr> addr(
      new bdCommonAddr(locals({"10.0.0.1:1", "10.0.0.2:2"}), bdAddr(), BD_NAT_MODERATE));
  char buf[400];
  bdCommonAddrInfo::getInfo(addr, buf, sizeof buf);
  const std::string expected =
      std::string("NAT Type: BD_NAT_MODERATE\n") + "2 Local Addrs Found: \n" +
      "Local Addr 0 :  10.0.0.1:1 \n" + "Local Addr 1 :  10.0.0.2:2 \n" + "Public Addr :  :0 \n" +
      "Addr is loopback : TRUE  -- Addr Hash : " + std::to_string(addr->getHash()) + " \n";
  EXPECT_EQ(std::string(buf), expected);
  bdCommonAddrInfo::getBriefInfo(addr, buf, sizeof buf);
  EXPECT_STREQ(buf, "Local Addr: 10.0.0.1:1, 10.0.0.2:2\n");
  char small[8];
  EXPECT_EQ(bdCommonAddrInfo::getBriefInfo(addr, small, sizeof small), 7u);
  EXPECT_EQ(bdCommonAddrInfo::getInfo(bdReference<bdCommonAddr>(), buf, sizeof buf), 0u);
  EXPECT_TRUE(log.saw("Info requested for 'null' common addr, Request Ignored"));
  EXPECT_STREQ(bdNATTypeToString(static_cast<bdNATType>(9)), "**UNKNOWN**");
}

class RecordingListener : public bdSecurityKeyMapListener {
 public:
  void onSecurityKeyRemove(const bdSecurityID& id) override { removed.push_back(id); }
  std::vector<bdSecurityID> removed;
};

TEST_F(CoreTest, SecurityKeyMap) {
  bdSecurityID id;
  char printed[36];
  ASSERT_TRUE(id.toString(printed, sizeof printed));
  EXPECT_STREQ(printed, "01010101 01010101");
  bdSecurityKey key;
  ASSERT_TRUE(key.toString(printed, sizeof printed));
  EXPECT_EQ(std::string(printed).size(), 35u);
  EXPECT_EQ(id.getHash(), [] {
    unsigned int h = 0;
    for (int i = 0; i < 8; ++i)
      h = h * 31 + 1;
    return h;
  }());

  bdSecurityKeyMap map;
  RecordingListener listener;
  map.registerListener(&listener);
  bdSecurityID other;
  bdSecurityKey otherKey;
  ASSERT_TRUE(map.create(other, otherKey));
  EXPECT_TRUE(map.put(id, key));
  EXPECT_FALSE(map.put(id, otherKey));
  bdSecurityKey found;
  EXPECT_TRUE(map.get(id, found));
  EXPECT_TRUE(found == key);  // the first key stays
  EXPECT_TRUE(map.put(other, otherKey));
  EXPECT_TRUE(map.remove(id));
  EXPECT_FALSE(map.remove(id));
  EXPECT_FALSE(map.contains(id));
  ASSERT_EQ(listener.removed.size(), 1u);
  map.clear();
  EXPECT_EQ(listener.removed.size(), 2u);
  EXPECT_TRUE(listener.removed[1] == other);
  EXPECT_EQ(map.getSize(), 0u);
  RecordingListener second;
  map.registerListener(&second);
  EXPECT_TRUE(log.saw("Only one listener is allowed at once."));
}

TEST_F(CoreTest, SecurityIdsTravelAsFullType) {
  bdSecurityID id;
  bdSecurityKey key;
  for (unsigned int i = 0; i < 8; ++i)
    id.ab[i] = static_cast<unsigned char>(i * 17);
  for (unsigned int i = 0; i < 16; ++i)
    key.ab[i] = static_cast<unsigned char>(255 - i);
  bdBitBuffer bits(0, true);
  id.serialize(bits);
  key.serialize(bits);
  EXPECT_EQ(bits.getNumBitsWritten(), 1u + 5 + 64 + 5 + 128);
  bdBitBuffer received(bits.getData(), bits.getNumBitsWritten(), true);
  bdSecurityID idBack;
  bdSecurityKey keyBack;
  EXPECT_TRUE(idBack.deserialize(received));
  EXPECT_TRUE(keyBack.deserialize(received));
  EXPECT_TRUE(idBack == id);
  EXPECT_TRUE(keyBack == key);
}

}  // namespace
