#pragma once
// The one platform socket layer under bdSocket and bdStreamSocket: IPv4 UDP
// and TCP over BSD sockets or Winsock. Each platform file turns its own error
// numbers into bdSocketError; this file's status mapping is shared, so both
// platforms report the same status for the same failure.
#include <cstdint>

#include "bdSocket/bdInetAddr.h"

using bdSocketHandle = std::intptr_t;
constexpr bdSocketHandle BD_INVALID_SOCKET = -1;

enum bdSocketStatusCode {
  BD_NET_SUCCESS = 1,
  BD_NET_ERROR = -1,
  BD_NET_WOULD_BLOCK = -2,
  BD_NET_SUBSYTEM_ERROR = -3,
  BD_NET_ADDRESS_IN_USE = -4,
  BD_NET_CONNECTION_RESET = -5,
  BD_NET_MSG_SIZE = -6,
  BD_NET_ADDRESS_INVALID = -7,
  BD_NET_BLOCKING_CALL_CANCELED = -8,
  BD_NET_INVALID_ARGUMENT = -9,
  BD_NET_INVALID_HANDLE = -10,
  BD_NET_NOT_CONNECTED = -11,
};

// Platform failures in portable form.
enum class bdSocketError {
  NONE,
  WOULD_BLOCK,
  IN_PROGRESS,
  ACCESS,
  ADDR_IN_USE,
  ADDR_NOT_AVAIL,
  NET_DOWN,
  NET_UNREACH,
  CONN_ABORTED,
  CONN_RESET,
  TIMED_OUT,
  HOST_UNREACH,
  CONN_REFUSED,
  BROKEN_PIPE,
  MSG_SIZE,
  INVALID,
  DEST_ADDR_REQ,
  AF_NOT_SUPPORTED,
  INTERRUPTED,
  NOT_CONNECTED,
  OTHER,
};

// The operations whose failures map to statuses differently.
enum class bdSocketOp { BIND, UDP_SEND, UDP_RECEIVE, TCP_SEND, TCP_RECEIVE, CONNECT };

class bdPlatformSocket {
 public:
  // The status for a failure of an operation (NOT_CONNECTED on TCP is
  // resolved by the caller through hasPendingError).
  static int mapError(bdSocketOp op, bdSocketError error);

  static bdSocketHandle createUDP(bool broadcast);
  static bdSocketHandle createTCP();
  // On failure the socket is closed.
  static int bind(bdSocketHandle& handle, bdInetAddr addr, unsigned short port);
  static int sendTo(bdSocketHandle handle, bdInetAddr addr, unsigned short port, const void* data,
                    unsigned int length);
  static int receiveFrom(bdSocketHandle handle, bdInetAddr& addr, unsigned short& port, void* data,
                         unsigned int length);
  static bool close(bdSocketHandle& handle);
  static bool setBlocking(bdSocketHandle handle, bool blocking);

  static int listen(bdSocketHandle& handle, bdInetAddr addr, unsigned short port);
  static int connect(bdSocketHandle handle, bdInetAddr addr, unsigned short port);
  // BD_NET_SUCCESS once a started connect has completed, BD_NET_WOULD_BLOCK
  // while it is under way, else the failure's status (a refusal gives -5).
  static int checkConnect(bdSocketHandle handle);
  static bdSocketHandle accept(bdSocketHandle handle, bdInetAddr& addr, unsigned short& port);
  static int send(bdSocketHandle handle, const void* data, unsigned int length);
  static int receive(bdSocketHandle handle, void* data, unsigned int length);
  static bool getSocketName(bdSocketHandle handle, bdInetAddr& addr, unsigned short& port);

  // Names whose first character is a letter are resolved; other text must be a
  // dotted address ("255.255.255.255" included). Returns the count stored.
  static unsigned int getHostByName(const char* name, bdInetAddr* addresses, unsigned int max);

  static std::uint64_t getUDPBytesSent();
  static std::uint64_t getUDPBytesReceived();
  static std::uint64_t getUDPPacketsSent();
  static std::uint64_t getUDPPacketsReceived();
  static std::uint64_t getTCPBytesReceived();
  static std::uint64_t getTCPBytesSent();

  // IP and UDP header bytes counted with each datagram.
  static constexpr unsigned int UDP_HEADER_BYTES = 28;

  // Counting, used by the platform files.
  static void countUDPSent(unsigned int bytes);
  static void countUDPReceived(unsigned int bytes);
  static void countTCPSent(unsigned int bytes);
  static void countTCPReceived(unsigned int bytes);

 private:
  // Zero-time test for an error waiting on a socket (used on NOT_CONNECTED).
  static bool hasPendingError(bdSocketHandle handle);
  static int tcpStatus(bdSocketHandle handle, bdSocketOp op, bdSocketError error);
  friend struct bdPlatformSocketDetail;
};
