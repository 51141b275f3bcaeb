#include "bdSocket/bdPlatformSocket.h"

#include "bdSocket/bdInetAddr.h"

namespace {
std::uint64_t g_udpBytesSent = 0;
std::uint64_t g_udpBytesReceived = 0;
std::uint64_t g_udpPacketsSent = 0;
std::uint64_t g_udpPacketsReceived = 0;
std::uint64_t g_tcpBytesSent = 0;
std::uint64_t g_tcpBytesReceived = 0;

bool isNetworkFailure(bdSocketError e) {
  switch (e) {
    case bdSocketError::NET_DOWN:
    case bdSocketError::NET_UNREACH:
    case bdSocketError::CONN_ABORTED:
    case bdSocketError::CONN_RESET:
    case bdSocketError::TIMED_OUT:
    case bdSocketError::HOST_UNREACH:
      return true;
    default:
      return false;
  }
}
}  // namespace

int bdPlatformSocket::mapError(bdSocketOp op, bdSocketError e) {
  if (op == bdSocketOp::BIND) {
    const bool inUse = e == bdSocketError::ACCESS || e == bdSocketError::ADDR_IN_USE ||
                       e == bdSocketError::ADDR_NOT_AVAIL;
    return inUse ? BD_NET_ADDRESS_IN_USE : BD_NET_ERROR;
  }
  if (e == bdSocketError::WOULD_BLOCK) return BD_NET_WOULD_BLOCK;
  if (e == bdSocketError::IN_PROGRESS && op == bdSocketOp::CONNECT) return BD_NET_WOULD_BLOCK;
  if (isNetworkFailure(e)) return BD_NET_CONNECTION_RESET;
  // A refused connection and a broken pipe end a TCP stream; on UDP they are
  // the port-unreachable report that Winsock gives as a reset.
  if (e == bdSocketError::CONN_REFUSED || e == bdSocketError::BROKEN_PIPE) {
    return op == bdSocketOp::UDP_SEND ? BD_NET_ERROR : BD_NET_CONNECTION_RESET;
  }
  if (e == bdSocketError::MSG_SIZE) return BD_NET_MSG_SIZE;
  if (e == bdSocketError::INTERRUPTED) return BD_NET_BLOCKING_CALL_CANCELED;
  const bool sending = op == bdSocketOp::UDP_SEND || op == bdSocketOp::TCP_SEND;
  if (sending && (e == bdSocketError::INVALID || e == bdSocketError::DEST_ADDR_REQ ||
                  e == bdSocketError::AF_NOT_SUPPORTED || e == bdSocketError::ADDR_NOT_AVAIL)) {
    return BD_NET_ADDRESS_INVALID;
  }
  if (!sending && e == bdSocketError::INVALID) return BD_NET_INVALID_ARGUMENT;
  if (e == bdSocketError::NOT_CONNECTED &&
      (op == bdSocketOp::TCP_SEND || op == bdSocketOp::TCP_RECEIVE)) {
    return BD_NET_NOT_CONNECTED;
  }
  return BD_NET_ERROR;
}

int bdPlatformSocket::tcpStatus(bdSocketHandle handle, bdSocketOp op, bdSocketError error) {
  const int status = mapError(op, error);
  if (status == BD_NET_NOT_CONNECTED && hasPendingError(handle)) return BD_NET_CONNECTION_RESET;
  return status;
}

void bdPlatformSocket::countUDPSent(unsigned int bytes) {
  g_udpBytesSent += bytes + UDP_HEADER_BYTES;
  ++g_udpPacketsSent;
}
void bdPlatformSocket::countUDPReceived(unsigned int bytes) {
  g_udpBytesReceived += bytes + UDP_HEADER_BYTES;
  ++g_udpPacketsReceived;
}
void bdPlatformSocket::countTCPSent(unsigned int bytes) { g_tcpBytesSent += bytes; }
void bdPlatformSocket::countTCPReceived(unsigned int bytes) { g_tcpBytesReceived += bytes; }

std::uint64_t bdPlatformSocket::getUDPBytesSent() { return g_udpBytesSent; }
std::uint64_t bdPlatformSocket::getUDPBytesReceived() { return g_udpBytesReceived; }
std::uint64_t bdPlatformSocket::getUDPPacketsSent() { return g_udpPacketsSent; }
std::uint64_t bdPlatformSocket::getUDPPacketsReceived() { return g_udpPacketsReceived; }
std::uint64_t bdPlatformSocket::getTCPBytesReceived() { return g_tcpBytesReceived; }
std::uint64_t bdPlatformSocket::getTCPBytesSent() { return g_tcpBytesSent; }
