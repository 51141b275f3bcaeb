#include <gtest/gtest.h>

#include <cstring>

#include "bdSocket/bdPlatformSocket.h"
#include "bdSocket/bdSocket.h"
#include "bdSocket/bdStreamSocket.h"
#include "bd_test_support.h"
#include "lobby_test_support.h"

namespace {

using bdtest::CoreTest;

TEST(SocketErrors, EachFailureMapsToOneStatusPerOperation) {
  struct Case {
    bdSocketOp op;
    bdSocketError error;
    int status;
  } cases[] = {
      {bdSocketOp::UDP_SEND, bdSocketError::WOULD_BLOCK, BD_NET_WOULD_BLOCK},
      {bdSocketOp::CONNECT, bdSocketError::IN_PROGRESS, BD_NET_WOULD_BLOCK},
      {bdSocketOp::CONNECT, bdSocketError::WOULD_BLOCK, BD_NET_WOULD_BLOCK},
      {bdSocketOp::BIND, bdSocketError::ADDR_IN_USE, BD_NET_ADDRESS_IN_USE},
      {bdSocketOp::BIND, bdSocketError::ACCESS, BD_NET_ADDRESS_IN_USE},
      {bdSocketOp::BIND, bdSocketError::INVALID, BD_NET_ERROR},
      {bdSocketOp::TCP_SEND, bdSocketError::CONN_REFUSED, BD_NET_CONNECTION_RESET},
      {bdSocketOp::TCP_SEND, bdSocketError::BROKEN_PIPE, BD_NET_CONNECTION_RESET},
      {bdSocketOp::TCP_RECEIVE, bdSocketError::CONN_RESET, BD_NET_CONNECTION_RESET},
      {bdSocketOp::CONNECT, bdSocketError::CONN_REFUSED, BD_NET_CONNECTION_RESET},
      {bdSocketOp::UDP_RECEIVE, bdSocketError::MSG_SIZE, BD_NET_MSG_SIZE},
      {bdSocketOp::UDP_SEND, bdSocketError::DEST_ADDR_REQ, BD_NET_ADDRESS_INVALID},
      {bdSocketOp::UDP_SEND, bdSocketError::INVALID, BD_NET_ADDRESS_INVALID},
      {bdSocketOp::TCP_RECEIVE, bdSocketError::INVALID, BD_NET_INVALID_ARGUMENT},
      {bdSocketOp::TCP_RECEIVE, bdSocketError::INTERRUPTED, BD_NET_BLOCKING_CALL_CANCELED},
      {bdSocketOp::TCP_SEND, bdSocketError::NOT_CONNECTED, BD_NET_NOT_CONNECTED},
      {bdSocketOp::UDP_SEND, bdSocketError::OTHER, BD_NET_ERROR},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(bdPlatformSocket::mapError(c.op, c.error), c.status)
        << static_cast<int>(c.op) << "/" << static_cast<int>(c.error);
  }
}

TEST_F(CoreTest, UdpSocketSendsCountsAndReportsStatuses) {
  bdSocket never;
  char byte = 0;
  EXPECT_EQ(never.sendTo(bdAddr("127.0.0.1:9"), &byte, 1), BD_NET_INVALID_HANDLE);

  bdSocket a;
  bdSocket b;
  ASSERT_TRUE(a.create(false));
  ASSERT_TRUE(b.create(false));
  ASSERT_EQ(b.bind(bdAddr(bdInetAddr::getLoopback(), 0)), BD_NET_SUCCESS);
  bdInetAddr ignored;
  unsigned short port = 0;
  ASSERT_TRUE(bdPlatformSocket::getSocketName(b.getHandle(), ignored, port));
  bdAddr from;
  unsigned char buffer[200];
  EXPECT_EQ(b.receiveFrom(from, buffer, sizeof buffer), BD_NET_WOULD_BLOCK);

  const std::uint64_t bytesBefore = bdPlatformSocket::getUDPBytesSent();
  const std::uint64_t packetsBefore = bdPlatformSocket::getUDPPacketsSent();
  unsigned char datagram[100];
  std::memset(datagram, 0x5A, sizeof datagram);
  ASSERT_EQ(a.sendTo(bdAddr(bdInetAddr::getLoopback(), port), datagram, 100), 100);
  EXPECT_EQ(bdPlatformSocket::getUDPBytesSent() - bytesBefore, 128u);
  EXPECT_EQ(bdPlatformSocket::getUDPPacketsSent() - packetsBefore, 1u);
  int got = BD_NET_WOULD_BLOCK;
  for (int i = 0; i < 1000 && got == BD_NET_WOULD_BLOCK; ++i) {
    got = b.receiveFrom(from, buffer, sizeof buffer);
    if (got == BD_NET_WOULD_BLOCK) bdPlatformTiming::sleep(1);
  }
  EXPECT_EQ(got, 100);
  EXPECT_TRUE(from.getAddress().isLoopback());

  // A port in use: -4, and the socket is closed (must be made again).
  bdSocket c;
  ASSERT_TRUE(c.create(false));
  EXPECT_EQ(c.bind(bdAddr(bdInetAddr::getLoopback(), port)), BD_NET_ADDRESS_IN_USE);
  EXPECT_EQ(c.sendTo(bdAddr(bdInetAddr::getLoopback(), port), datagram, 1), BD_NET_INVALID_HANDLE);
}

TEST_F(CoreTest, HostLookupReadsDottedTextAndBroadcast) {
  bdInetAddr out[4];
  EXPECT_EQ(bdPlatformSocket::getHostByName("255.255.255.255", out, 4), 1u);
  EXPECT_TRUE(out[0].isBroadcast());
  EXPECT_EQ(bdPlatformSocket::getHostByName("300.1.1.1", out, 4), 0u);
  EXPECT_EQ(bdPlatformSocket::getHostByName("127.0.0.1", out, 4), 1u);
  EXPECT_TRUE(out[0].isLoopback());
}

// A non-blocking connect is complete only when the socket says so: a
// refused one reports the refusal, never success.
TEST_F(CoreTest, NonBlockingConnectReportsRefusalAndSuccess) {
  unsigned short closedPort = 0;
  {
    bdtest::Listener gone;
    closedPort = gone.port;
  }
  bdStreamSocket refused;
  ASSERT_TRUE(refused.create());
  ASSERT_TRUE(refused.setBlocking(false));
  int result = refused.connect(bdAddr(bdInetAddr::getLoopback(), closedPort));
  for (int i = 0; i < 2000 && result == BD_NET_WOULD_BLOCK; ++i) {
    bdPlatformTiming::sleep(1);
    result = refused.checkConnect();
  }
  EXPECT_EQ(result, BD_NET_CONNECTION_RESET);

  bdtest::Listener listener;
  bdStreamSocket ok;
  ASSERT_TRUE(ok.create());
  ASSERT_TRUE(ok.setBlocking(false));
  result = ok.connect(listener.address());
  for (int i = 0; i < 2000 && result == BD_NET_WOULD_BLOCK; ++i) {
    bdPlatformTiming::sleep(1);
    result = ok.checkConnect();
  }
  EXPECT_EQ(result, BD_NET_SUCCESS);
  bdStreamSocket* accepted = listener.accept();
  ASSERT_NE(accepted, nullptr);
  const std::uint64_t before = bdPlatformSocket::getTCPBytesSent();
  EXPECT_EQ(ok.send("abc", 3), 3);
  EXPECT_EQ(bdPlatformSocket::getTCPBytesSent() - before, 3u);
  char in[8] = {};
  EXPECT_EQ(accepted->receive(in, sizeof in), 3);
  EXPECT_STREQ(in, "abc");
  delete accepted;
  // The peer closed: an orderly end reads as 0 bytes.
  result = BD_NET_WOULD_BLOCK;
  for (int i = 0; i < 2000 && result == BD_NET_WOULD_BLOCK; ++i) {
    result = ok.receive(in, sizeof in);
    if (result == BD_NET_WOULD_BLOCK) bdPlatformTiming::sleep(1);
  }
  EXPECT_EQ(result, 0);
}

}  // namespace
