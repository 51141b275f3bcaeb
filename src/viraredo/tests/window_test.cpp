#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "bdCore/bdThread/bdPlatformTiming.h"
#include "bdCore/bdUtilities/bdBitBuffer.h"
#include "bdCore/bdUtilities/bdByteBuffer.h"
#include "bdPacket/bdCookieEchoChunk.h"
#include "bdPacket/bdDataChunk.h"
#include "bdPacket/bdInitAckChunk.h"
#include "bdPacket/bdInitChunk.h"
#include "bdPacket/bdPacket.h"
#include "bdPacket/bdSAckChunk.h"
#include "bdWindow/bdReliableReceiveWindow.h"
#include "bdWindow/bdReliableSendWindow.h"
#include "bdWindow/bdUnreliableReceiveWindow.h"
#include "bdWindow/bdUnreliableSendWindow.h"
#include "bd_test_support.h"

namespace {

using bdtest::CoreTest;

std::uint64_t g_now = 0;  // microseconds
std::uint64_t fakeCounter() { return g_now; }
std::uint64_t fakeFrequency() { return 1000000; }

class WindowTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    g_now = 1000000;
    bdPlatformTiming::setClock(&fakeCounter, &fakeFrequency);
  }
  void TearDown() override {
    bdPlatformTiming::setClock(nullptr, nullptr);
    CoreTest::TearDown();
  }
};

bdReference<bdDataChunk> chunk(const std::string& text, const std::string& raw = "",
                               std::uint8_t flags = 0) {
  bdReference<bdMessage> m(new bdMessage(7, reinterpret_cast<const unsigned char*>(text.data()),
                                         static_cast<unsigned int>(text.size()), true,
                                         reinterpret_cast<const unsigned char*>(raw.data()),
                                         static_cast<unsigned int>(raw.size())));
  return bdReference<bdDataChunk>(new bdDataChunk(m, flags));
}

std::string text(const bdReference<bdDataChunk>& c) {
  if (c.isNull()) return "<none>";
  bdReference<bdBitBuffer> p = c->getMessage()->getPayload();
  return std::string(reinterpret_cast<const char*>(p->getData()), p->getDataSize());
}

std::vector<unsigned char> wire(bdPacket& p) {
  std::vector<unsigned char> bytes(1328);
  bytes.resize(p.serialize(bytes.data(), 1328));
  return bytes;
}

TEST_F(WindowTest, PacketLayoutAndTail) {
  bdPacket empty(0x11223344, 1328);
  EXPECT_EQ(wire(empty), (std::vector<unsigned char>{4, 0, 0x44, 0x33, 0x22, 0x11}));

  const std::string raw(200, 'r');
  bdPacket p(5, 1328);
  ASSERT_TRUE(p.addChunk(chunk("hello", raw)));
  ASSERT_TRUE(p.addChunk(bdReference<bdChunk>(new bdSAckChunk(3, 1500))));
  const std::vector<unsigned char> bytes = wire(p);
  ASSERT_EQ(bytes.size(), 2u + 4u + 2u + 12u + 1u + 15u + 200u);
  EXPECT_EQ(bytes[6], 0x80);
  EXPECT_EQ(bytes[7], 0xC8);
  EXPECT_EQ(std::string(bytes.end() - 200, bytes.end()), raw);

  bdPacket back;
  ASSERT_TRUE(back.deserialize(bytes.data(), static_cast<unsigned int>(bytes.size())));
  EXPECT_EQ(back.getVerificationTag(), 5u);
  bdReference<bdChunk> c;
  ASSERT_TRUE(back.getNextChunk(c));
  ASSERT_EQ(c->getType(), BD_CT_DATA);
  bdReference<bdDataChunk> data(static_cast<bdDataChunk*>(c.get()));
  EXPECT_EQ(text(data), "hello");
  ASSERT_EQ(data->getUnencryptedSize(), 200u);
  EXPECT_EQ(std::memcmp(data->getUnencrypted(), raw.data(), 200), 0);
  ASSERT_TRUE(back.getNextChunk(c));
  EXPECT_EQ(c->getType(), BD_CT_SACK);
  EXPECT_EQ(static_cast<bdSAckChunk*>(c.get())->getCumulativeAck(), 3);
}

TEST_F(WindowTest, PacketReaderChecksEveryLengthFromTheWire) {
  bdPacket p(5, 1328);
  ASSERT_TRUE(p.addChunk(chunk("hello", "tail")));
  const std::vector<unsigned char> good = wire(p);
  struct Case {
    const char* what;
    unsigned int at;
    unsigned char value;
  };
  const Case cases[] = {
      {"section longer than the datagram", 0, 0xF0},
      {"section too short for the tag", 0, 3},
      {"unencrypted part beyond the tail", 6, 60},
      {"chunk length beyond the section", 9, 200},
      {"unknown chunk type", 7, 99},
  };
  for (const Case& c : cases) {
    std::vector<unsigned char> bad = good;
    bad[c.at] = c.value;
    bdPacket back;
    EXPECT_FALSE(back.deserialize(bad.data(), static_cast<unsigned int>(bad.size()))) << c.what;
  }
  bdPacket back;
  EXPECT_FALSE(back.deserialize(good.data(), 6));

  // A SACK whose block count promises more than the bytes hold.
  bdSAckChunk sack(1, 2);
  sack.addGapBlock(2, 3);
  sack.addGapBlock(5, 6);
  unsigned char bytes[64];
  ASSERT_EQ(sack.serialize(bytes, sizeof bytes), 23u);
  bdSAckChunk read;
  unsigned int used = 0;
  EXPECT_TRUE(read.deserialize(bytes, 23, used));
  EXPECT_EQ(used, 23u);
  EXPECT_EQ(read.getGapBlocks().getCount(), 2u);
  bytes[11] = 200;
  EXPECT_FALSE(read.deserialize(bytes, 23, used));
}

TEST_F(WindowTest, HandshakeChunksEchoASignedCookie) {
  // Responder: INIT-ACK with its cookie.
  bdPacket ack(7, 1328);
  ASSERT_TRUE(ack.addChunk(bdReference<bdChunk>(new bdInitChunk(0x01020304))));
  ASSERT_TRUE(ack.addChunk(bdReference<bdChunk>(new bdInitAckChunk(9, bdCookie(1, 2, 3, 4)))));
  const std::vector<unsigned char> bytes = wire(ack);
  ASSERT_EQ(bytes.size(), 6u + 1u + 8u + 1u + 48u);

  // Initiator: keeps the cookie bytes as they came and echoes them.
  bdPacket read;
  ASSERT_TRUE(read.deserialize(bytes.data(), static_cast<unsigned int>(bytes.size())));
  bdReference<bdChunk> c;
  ASSERT_TRUE(read.getNextChunk(c));
  EXPECT_EQ(static_cast<bdInitChunk*>(c.get())->getInitTag(), 0x01020304u);
  ASSERT_TRUE(read.getNextChunk(c));
  ASSERT_EQ(c->getType(), BD_CT_INIT_ACK);
  bdReference<bdByteBuffer> cookie = static_cast<bdInitAckChunk*>(c.get())->getCookieBytes();
  ASSERT_EQ(cookie->getSize(), bdCookie::SIZE);
  bdPacket echo(9, 1328);
  ASSERT_TRUE(echo.addChunk(bdReference<bdChunk>(new bdCookieEchoChunk(cookie))));
  const std::vector<unsigned char> echoed = wire(echo);

  // Responder: reads its own tags back, tie-tags in their places.
  bdPacket got;
  ASSERT_TRUE(got.deserialize(echoed.data(), static_cast<unsigned int>(echoed.size())));
  ASSERT_TRUE(got.getNextChunk(c));
  const bdCookie& back = static_cast<bdCookieEchoChunk*>(c.get())->getCookie();
  EXPECT_EQ(back.getLocalTag(), 1u);
  EXPECT_EQ(back.getPeerTag(), 2u);
  EXPECT_EQ(back.getLocalTieTag(), 3u);
  EXPECT_EQ(back.getPeerTieTag(), 4u);
  // Any byte of the cookie altered fails its signature.
  for (unsigned int i = 0; i < bdCookie::SIZE; ++i) {
    std::vector<unsigned char> forged = echoed;
    forged[echoed.size() - bdCookie::SIZE + i] ^= 0x20;
    bdPacket bad;
    EXPECT_FALSE(bad.deserialize(forged.data(), static_cast<unsigned int>(forged.size()))) << i;
  }
  EXPECT_TRUE(log.saw("Invalid cookie echo."));
}

TEST_F(WindowTest, ReceiverAcksGapsAndDeliversInOrderOnce) {
  bdReliableReceiveWindow rx;
  std::vector<bdReference<bdDataChunk>> sent;
  for (int i = 0; i < 6; ++i) {
    sent.push_back(chunk(std::string(1, static_cast<char>('a' + i))));
    sent.back()->setSequenceNumber(static_cast<std::uint16_t>(i));
  }
  for (int i : {0, 1, 2, 4, 5, 4})
    EXPECT_TRUE(rx.add(sent[i]));
  bdPacket p(1, 1328);
  rx.getDataToSend(p);
  bdReference<bdChunk> c;
  ASSERT_TRUE(p.getNextChunk(c));
  const bdSAckChunk* sack = static_cast<bdSAckChunk*>(c.get());
  EXPECT_EQ(sack->getCumulativeAck(), 2);
  ASSERT_EQ(sack->getGapBlocks().getCount(), 1u);
  EXPECT_EQ(sack->getGapBlocks().getHead()->m_value.m_start, 2);
  EXPECT_EQ(sack->getGapBlocks().getHead()->m_value.m_end, 3);

  std::string read;
  for (bdReference<bdDataChunk> d = rx.getNextToRead(); d.notNull(); d = rx.getNextToRead()) {
    read += text(d);
  }
  EXPECT_EQ(read, "abc");
  EXPECT_TRUE(rx.add(sent[1]));  // an old duplicate
  EXPECT_TRUE(rx.add(sent[3]));
  for (bdReference<bdDataChunk> d = rx.getNextToRead(); d.notNull(); d = rx.getNextToRead()) {
    read += text(d);
  }
  EXPECT_EQ(read, "abcdef");
}

TEST_F(WindowTest, SenderRetransmitsOnTimeoutAndOnGapReports) {
  bdReliableSendWindow tx;
  for (int i = 0; i < 128; ++i)
    ASSERT_TRUE(tx.add(chunk("m")));
  EXPECT_FALSE(tx.add(chunk("m")));
  EXPECT_TRUE(log.saw("reliable message window is full."));

  // Time-outs double the RTO up to two seconds and shrink the window.
  bdPacket first(1, 1328);
  tx.getDataToSend(first);
  const unsigned int firstCount = first.getChunkCount();
  ASSERT_GT(firstCount, 0u);
  for (float expected : {0.6f, 1.2f, 2.0f, 2.0f}) {
    g_now += 2100000;
    bdPacket again(1, 1328);
    tx.getDataToSend(again);
    EXPECT_FLOAT_EQ(tx.getRTO(), expected);
    EXPECT_GT(again.getChunkCount(), 0u);
  }
  EXPECT_EQ(tx.getCongestionWindow(), 1328u);
  EXPECT_TRUE(log.saw("sent retransmit (rto timeout)"));

  // Chunk 0 missing from three SACKs that acknowledge 1: resent at once.
  float rtt = 0;
  for (int i = 0; i < 3; ++i) {
    bdReference<bdSAckChunk> sack(new bdSAckChunk(0xFFFF, 1500));
    sack->addGapBlock(2, 2);
    ASSERT_TRUE(tx.handleAck(sack, rtt));
  }
  bdPacket fast(1, 1328);
  tx.getDataToSend(fast);
  EXPECT_TRUE(log.saw("sent retransmit (fast retransmit) 0"));
  EXPECT_GE(tx.getCongestionWindow(), 2656u);

  // Acknowledgements that cannot be ours change nothing.
  struct Bad {
    std::uint16_t cum;
    std::uint16_t start;
    std::uint16_t end;
  };
  for (const Bad& b : {Bad{200, 0, 0}, Bad{0, 3, 2}, Bad{0, 0, 1}, Bad{0, 2, 500}}) {
    bdReference<bdSAckChunk> sack(new bdSAckChunk(b.cum, 1500));
    if (b.start != 0 || b.end != 0) sack->addGapBlock(b.start, b.end);
    EXPECT_FALSE(tx.handleAck(sack, rtt)) << b.cum << " " << b.start << "-" << b.end;
  }
  EXPECT_FALSE(tx.isAllAcked());
  bdReference<bdSAckChunk> all(new bdSAckChunk(firstCount - 1, 1500));
  EXPECT_TRUE(tx.handleAck(all, rtt));
  EXPECT_TRUE(tx.isAllAcked());

  // A chunk queued but never sent cannot be acknowledged.
  bdReliableSendWindow fresh;
  fresh.add(chunk("m"));
  bdReference<bdSAckChunk> early(new bdSAckChunk(0, 1500));
  EXPECT_FALSE(fresh.handleAck(early, rtt));
  EXPECT_FALSE(fresh.isAllAcked());
}

TEST_F(WindowTest, SenderKeepsToCreditAndProbesOnlyWithNothingInFlight) {
  bdReliableSendWindow tx;
  const std::string body(300, 'x');
  for (int i = 0; i < 10; ++i)
    ASSERT_TRUE(tx.add(chunk(body)));
  // 308 bytes each: four fill the first packet and most of the 1500-byte
  // credit. While they are in flight nothing more goes: the receiver would
  // refuse a fifth for want of credit and it would wait for a time-out.
  bdPacket p(1, 1328);
  tx.getDataToSend(p);
  EXPECT_EQ(p.getChunkCount(), 4u);
  bdPacket q(1, 1328);
  tx.getDataToSend(q);
  EXPECT_EQ(q.getChunkCount(), 0u);
  EXPECT_EQ(tx.getBytesInFlight(), 4u * 308u);
  // All acknowledged but no credit left: one chunk probes by rule b.
  float rtt = 0;
  ASSERT_TRUE(tx.handleAck(bdReference<bdSAckChunk>(new bdSAckChunk(3, 0)), rtt));
  EXPECT_EQ(tx.getBytesInFlight(), 0u);
  bdPacket r(1, 1328);
  tx.getDataToSend(r);
  EXPECT_EQ(r.getChunkCount(), 1u);
  EXPECT_TRUE(log.saw("sent 1 new packet 4 (rule b)"));
  bdPacket s(1, 1328);
  tx.getDataToSend(s);
  EXPECT_EQ(s.getChunkCount(), 0u);
}

TEST_F(WindowTest, AFullWindowKeepsSendingAfterAnAck) {
  bdReliableSendWindow tx;
  for (unsigned int i = 0; i < bdReliableSendWindow::SLOTS; ++i)
    ASSERT_TRUE(tx.add(chunk(std::string(20, 'm'))));
  bdPacket p(1, 1328);
  tx.getDataToSend(p);
  const unsigned int sent = p.getChunkCount();
  ASSERT_GT(sent, 1u);
  ASSERT_LT(sent, bdReliableSendWindow::SLOTS);
  // Everything sent is acknowledged. The slots past the last chunk added
  // still hold the chunks this ack releases; they are not in flight.
  float rtt = 0;
  ASSERT_TRUE(tx.handleAck(
      bdReference<bdSAckChunk>(new bdSAckChunk(static_cast<std::uint16_t>(sent - 1), 1500)), rtt));
  EXPECT_EQ(tx.getBytesInFlight(), 0u);
  bdPacket q(1, 1328);
  tx.getDataToSend(q);
  EXPECT_GT(q.getChunkCount(), 0u);
}

// Sends what the window gives in packets of the usual size until it gives
// nothing; returns the chunks' sequence numbers in order.
std::vector<int> drain(bdReliableSendWindow& tx) {
  std::vector<int> seqs;
  for (;;) {
    bdPacket p(1, 1328);
    tx.getDataToSend(p);
    if (p.isEmpty()) return seqs;
    bdReference<bdChunk> c;
    while (p.getNextChunk(c))
      seqs.push_back(static_cast<bdDataChunk*>(c.get())->getSequenceNumber());
  }
}

bdReference<bdSAckChunk> sack(int cum, std::initializer_list<std::pair<int, int>> blocks,
                              unsigned int credit = 65536) {
  bdReference<bdSAckChunk> s(new bdSAckChunk(static_cast<std::uint16_t>(cum & 0xFFFF), credit));
  for (const auto& b : blocks)
    s->addGapBlock(static_cast<std::uint16_t>(b.first), static_cast<std::uint16_t>(b.second));
  return s;
}

TEST_F(WindowTest, ReceiverCreditLetsManyPacketsThroughAndOneSackAnswersThem) {
  bdReliableReceiveWindow rx;
  const std::string body(64, 'x');
  // A hundred 72-byte chunks, well past one packet's worth, none read yet.
  for (int i = 0; i < 100; ++i) {
    bdReference<bdDataChunk> d = chunk(body);
    d->setSequenceNumber(static_cast<std::uint16_t>(i == 50 ? 100 : i));
    ASSERT_TRUE(rx.add(d)) << i;
  }
  ASSERT_TRUE(rx.hasAckToSend());
  bdPacket p(1, 1328);
  rx.getDataToSend(p);
  ASSERT_EQ(p.getChunkCount(), 1u);
  EXPECT_FALSE(rx.hasAckToSend());
  bdReference<bdChunk> c;
  ASSERT_TRUE(p.getNextChunk(c));
  const bdSAckChunk* s = static_cast<bdSAckChunk*>(c.get());
  EXPECT_EQ(s->getCumulativeAck(), 49);
  EXPECT_EQ(s->getCredit(), bdReliableReceiveWindow::CREDIT - 100 * 72);
  ASSERT_EQ(s->getGapBlocks().getCount(), 1u);
  EXPECT_EQ(s->getGapBlocks().getHead()->m_value.m_start, 2);  // 51..100
  EXPECT_EQ(s->getGapBlocks().getHead()->m_value.m_end, 51);
  // Reading frees credit: the sender hears of it.
  EXPECT_TRUE(rx.getNextToRead().notNull());
  EXPECT_TRUE(rx.hasAckToSend());
}

TEST_F(WindowTest, TimedOutChunksGoAgainWhileTheRestOfTheFlightIsOut) {
  bdReliableSendWindow tx;
  float rtt = 0;
  // The peer's credit opens the window; one packet goes now, the rest of
  // the flight a little later, so the first packet's chunks time out first.
  tx.add(chunk("m"));
  drain(tx);
  ASSERT_TRUE(tx.handleAck(sack(0, {}), rtt));
  for (int i = 0; i < 18; ++i)
    tx.add(chunk(std::string(64, 'm')));
  const std::vector<int> first = drain(tx);
  ASSERT_EQ(first.size(), 18u);
  g_now += 100000;
  for (int i = 0; i < 100; ++i)
    tx.add(chunk(std::string(64, 'm')));
  ASSERT_EQ(drain(tx).size(), 100u);
  g_now += 250000;  // past the first packet's 0.3 s, not the others'
  const std::vector<int> resent = drain(tx);
  ASSERT_FALSE(resent.empty());
  EXPECT_EQ(resent.front(), first.front());
  EXPECT_TRUE(log.saw("sent retransmit (rto timeout)"));
  EXPECT_FLOAT_EQ(tx.getRTO(), 0.6f);

  // Backed off twice more; an acknowledgement of new data ends the backoff.
  for (float expected : {1.2f, 2.0f}) {
    g_now += 2100000;
    drain(tx);
    EXPECT_FLOAT_EQ(tx.getRTO(), expected);
  }
  ASSERT_TRUE(tx.handleAck(sack(first.front(), {}), rtt));
  EXPECT_FLOAT_EQ(tx.getRTO(), 0.3f);
  tx.setRTO(0.05f);
  g_now += 2100000;
  drain(tx);
  EXPECT_FLOAT_EQ(tx.getRTO(), 0.1f);
  ASSERT_TRUE(tx.handleAck(sack(first.front() + 1, {}), rtt));
  EXPECT_FLOAT_EQ(tx.getRTO(), 0.05f);
}

// One SACK answering several packets: a missing chunk is resent at once when
// enough chunks sent after it are acknowledged, or when nothing sent after
// the last gap block is still out to bring a later report.
TEST_F(WindowTest, GapBlocksDriveFastRetransmit) {
  struct Case {
    const char* name;
    int sent;   // chunks sent, 0..sent-1
    int cum;    // the SACK's cumulative ack
    int start;  // one gap block, offsets from cum
    int end;
    bool resent;  // chunk cum+1 goes at once
  } cases[] = {
      {"three later chunks acknowledged", 20, 4, 2, 4, true},
      {"two later, more still out", 20, 4, 2, 3, false},
      {"one later, nothing else out", 7, 4, 2, 2, true},
  };
  for (const Case& k : cases) {
    bdReliableSendWindow tx;
    float rtt = 0;
    tx.add(chunk("m"));
    drain(tx);
    ASSERT_TRUE(tx.handleAck(sack(0, {}), rtt)) << k.name;  // opens the credit
    for (int i = 1; i < k.sent; ++i)
      tx.add(chunk("m"));
    const std::vector<int> out = drain(tx);
    ASSERT_EQ(out.size(), static_cast<size_t>(k.sent - 1)) << k.name;
    ASSERT_TRUE(tx.handleAck(sack(k.cum, {{k.start, k.end}}), rtt)) << k.name;
    const std::vector<int> again = drain(tx);
    EXPECT_EQ(!again.empty() && again.front() == k.cum + 1, k.resent) << k.name;
    if (k.resent) {
      // The same report again, nothing newly acknowledged: no second resend.
      ASSERT_TRUE(tx.handleAck(sack(k.cum, {{k.start, k.end}}), rtt)) << k.name;
      EXPECT_TRUE(drain(tx).empty()) << k.name;
    }
  }
}

TEST_F(WindowTest, UnreliableWindowsDropWhatIsOlderThanTheNewest) {
  bdUnreliableSendWindow tx;
  for (const char* s : {"a", "b", "c"})
    tx.add(chunk(s, "", bdDataChunk::BD_DC_UNRELIABLE));
  bdPacket p(1, 1328);
  tx.getDataToSend(p);
  std::vector<bdReference<bdDataChunk>> got;
  bdReference<bdChunk> c;
  while (p.getNextChunk(c))
    got.push_back(bdReference<bdDataChunk>(static_cast<bdDataChunk*>(c.get())));
  ASSERT_EQ(got.size(), 3u);
  bdUnreliableReceiveWindow rx;
  for (int i : {0, 2, 1, 2})
    EXPECT_TRUE(rx.add(got[i]));
  EXPECT_EQ(text(rx.getNextToRead()), "a");
  EXPECT_EQ(text(rx.getNextToRead()), "c");
  EXPECT_TRUE(rx.getNextToRead().isNull());
}

}  // namespace
