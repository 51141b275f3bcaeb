// Winsock 2. The library is started once, on the first socket made.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstring>

#include "bdSocket/bdPlatformSocket.h"

namespace {

bool startWinsock() {
  static bool started = false;
  if (!started) {
    WSADATA data;
    started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }
  return started;
}

bdSocketError errorFromCode(int code) {
  switch (code) {
    case WSAEWOULDBLOCK:
      return bdSocketError::WOULD_BLOCK;
    case WSAEINPROGRESS:
    case WSAEALREADY:
      return bdSocketError::IN_PROGRESS;
    case WSAEACCES:
      return bdSocketError::ACCESS;
    case WSAEADDRINUSE:
      return bdSocketError::ADDR_IN_USE;
    case WSAEADDRNOTAVAIL:
      return bdSocketError::ADDR_NOT_AVAIL;
    case WSAENETDOWN:
      return bdSocketError::NET_DOWN;
    case WSAENETUNREACH:
      return bdSocketError::NET_UNREACH;
    case WSAECONNABORTED:
      return bdSocketError::CONN_ABORTED;
    case WSAECONNRESET:
      return bdSocketError::CONN_RESET;
    case WSAETIMEDOUT:
      return bdSocketError::TIMED_OUT;
    case WSAEHOSTUNREACH:
      return bdSocketError::HOST_UNREACH;
    case WSAECONNREFUSED:
      return bdSocketError::CONN_REFUSED;
    case WSAESHUTDOWN:
      return bdSocketError::BROKEN_PIPE;
    case WSAEMSGSIZE:
      return bdSocketError::MSG_SIZE;
    case WSAEINVAL:
      return bdSocketError::INVALID;
    case WSAEDESTADDRREQ:
      return bdSocketError::DEST_ADDR_REQ;
    case WSAEAFNOSUPPORT:
      return bdSocketError::AF_NOT_SUPPORTED;
    case WSAEINTR:
      return bdSocketError::INTERRUPTED;
    case WSAENOTCONN:
      return bdSocketError::NOT_CONNECTED;
    default:
      return bdSocketError::OTHER;
  }
}

bdSocketError lastError() { return errorFromCode(WSAGetLastError()); }

sockaddr_in makeAddr(bdInetAddr addr, unsigned short port) {
  sockaddr_in sa;
  std::memset(&sa, 0, sizeof sa);
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = addr.getInAddr();
  sa.sin_port = htons(port);
  return sa;
}

SOCKET sock(bdSocketHandle handle) { return static_cast<SOCKET>(handle); }

bdSocketHandle fromSocket(SOCKET s) {
  return s == INVALID_SOCKET ? BD_INVALID_SOCKET : static_cast<bdSocketHandle>(s);
}

}  // namespace

bdSocketHandle bdPlatformSocket::createUDP(bool broadcast) {
  if (!startWinsock()) return BD_INVALID_SOCKET;
  const SOCKET s = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  if (s == INVALID_SOCKET) return BD_INVALID_SOCKET;
  if (broadcast) {
    BOOL on = TRUE;
    if (::setsockopt(s, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on), sizeof on) !=
        0) {
      ::closesocket(s);
      return BD_INVALID_SOCKET;
    }
  }
  return fromSocket(s);
}

bdSocketHandle bdPlatformSocket::createTCP() {
  if (!startWinsock()) return BD_INVALID_SOCKET;
  return fromSocket(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
}

int bdPlatformSocket::bind(bdSocketHandle& handle, bdInetAddr addr, unsigned short port) {
  if (handle == BD_INVALID_SOCKET) return BD_NET_INVALID_HANDLE;
  const sockaddr_in sa = makeAddr(addr, port);
  // Without exclusive use Winsock lets a second socket take a bound port.
  BOOL on = TRUE;
  ::setsockopt(sock(handle), SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&on),
               sizeof on);
  if (::bind(sock(handle), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0) {
    return BD_NET_SUCCESS;
  }
  const int status = mapError(bdSocketOp::BIND, lastError());
  close(handle);
  return status;
}

int bdPlatformSocket::sendTo(bdSocketHandle handle, bdInetAddr addr, unsigned short port,
                             const void* data, unsigned int length) {
  if (handle == BD_INVALID_SOCKET) return BD_NET_INVALID_HANDLE;
  const sockaddr_in sa = makeAddr(addr, port);
  const int n = ::sendto(sock(handle), static_cast<const char*>(data), static_cast<int>(length), 0,
                         reinterpret_cast<const sockaddr*>(&sa), sizeof sa);
  if (n == SOCKET_ERROR) return mapError(bdSocketOp::UDP_SEND, lastError());
  countUDPSent(static_cast<unsigned int>(n));
  return n;
}

int bdPlatformSocket::receiveFrom(bdSocketHandle handle, bdInetAddr& addr, unsigned short& port,
                                  void* data, unsigned int length) {
  if (handle == BD_INVALID_SOCKET) return BD_NET_INVALID_HANDLE;
  sockaddr_in sa;
  std::memset(&sa, 0, sizeof sa);
  int size = sizeof sa;
  const int n = ::recvfrom(sock(handle), static_cast<char*>(data), static_cast<int>(length), 0,
                           reinterpret_cast<sockaddr*>(&sa), &size);
  if (n == SOCKET_ERROR) {
    const int status = mapError(bdSocketOp::UDP_RECEIVE, lastError());
    if (status == BD_NET_CONNECTION_RESET) {
      addr = bdInetAddr(sa.sin_addr.s_addr);
      port = ntohs(sa.sin_port);
    }
    return status;
  }
  addr = bdInetAddr(sa.sin_addr.s_addr);
  port = ntohs(sa.sin_port);
  countUDPReceived(static_cast<unsigned int>(n));
  return n;
}

bool bdPlatformSocket::close(bdSocketHandle& handle) {
  if (handle == BD_INVALID_SOCKET) return true;
  ::closesocket(sock(handle));
  handle = BD_INVALID_SOCKET;
  return true;
}

bool bdPlatformSocket::setBlocking(bdSocketHandle handle, bool blocking) {
  if (handle == BD_INVALID_SOCKET) return false;
  u_long nonBlocking = blocking ? 0 : 1;
  return ::ioctlsocket(sock(handle), FIONBIO, &nonBlocking) == 0;
}

int bdPlatformSocket::listen(bdSocketHandle& handle, bdInetAddr addr, unsigned short port) {
  if (handle == BD_INVALID_SOCKET) return BD_NET_INVALID_HANDLE;
  const sockaddr_in sa = makeAddr(addr, port);
  BOOL on = TRUE;
  ::setsockopt(sock(handle), SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&on),
               sizeof on);
  if (::bind(sock(handle), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) != 0) {
    close(handle);
    return BD_NET_ERROR;
  }
  if (::listen(sock(handle), SOMAXCONN) != 0) return BD_NET_ERROR;
  return BD_NET_SUCCESS;
}

int bdPlatformSocket::connect(bdSocketHandle handle, bdInetAddr addr, unsigned short port) {
  if (handle == BD_INVALID_SOCKET) return BD_NET_INVALID_HANDLE;
  const sockaddr_in sa = makeAddr(addr, port);
  if (::connect(sock(handle), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0) {
    return BD_NET_SUCCESS;
  }
  return mapError(bdSocketOp::CONNECT, lastError());
}

int bdPlatformSocket::checkConnect(bdSocketHandle handle) {
  if (handle == BD_INVALID_SOCKET) return BD_NET_INVALID_HANDLE;
  fd_set writable;
  fd_set failed;
  FD_ZERO(&writable);
  FD_ZERO(&failed);
  FD_SET(sock(handle), &writable);
  FD_SET(sock(handle), &failed);
  timeval zero = {0, 0};
  const int ready = ::select(0, nullptr, &writable, &failed, &zero);
  if (ready == SOCKET_ERROR) return BD_NET_ERROR;
  if (ready == 0) return BD_NET_WOULD_BLOCK;
  int code = 0;
  int size = sizeof code;
  if (::getsockopt(sock(handle), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&code), &size) !=
      0) {
    return BD_NET_ERROR;
  }
  if (code == 0 && !FD_ISSET(sock(handle), &failed)) return BD_NET_SUCCESS;
  return mapError(bdSocketOp::CONNECT, code == 0 ? bdSocketError::OTHER : errorFromCode(code));
}

bdSocketHandle bdPlatformSocket::accept(bdSocketHandle handle, bdInetAddr& addr,
                                        unsigned short& port) {
  if (handle == BD_INVALID_SOCKET) return BD_INVALID_SOCKET;
  sockaddr_in sa;
  int size = sizeof sa;
  const SOCKET s = ::accept(sock(handle), reinterpret_cast<sockaddr*>(&sa), &size);
  if (s == INVALID_SOCKET) return BD_INVALID_SOCKET;
  addr = bdInetAddr(sa.sin_addr.s_addr);
  port = ntohs(sa.sin_port);
  return fromSocket(s);
}

int bdPlatformSocket::send(bdSocketHandle handle, const void* data, unsigned int length) {
  if (handle == BD_INVALID_SOCKET) return BD_NET_INVALID_HANDLE;
  const int n = ::send(sock(handle), static_cast<const char*>(data), static_cast<int>(length), 0);
  if (n == SOCKET_ERROR) return tcpStatus(handle, bdSocketOp::TCP_SEND, lastError());
  countTCPSent(static_cast<unsigned int>(n));
  return n;
}

int bdPlatformSocket::receive(bdSocketHandle handle, void* data, unsigned int length) {
  if (handle == BD_INVALID_SOCKET) return BD_NET_INVALID_HANDLE;
  const int n = ::recv(sock(handle), static_cast<char*>(data), static_cast<int>(length), 0);
  if (n == SOCKET_ERROR) return tcpStatus(handle, bdSocketOp::TCP_RECEIVE, lastError());
  countTCPReceived(static_cast<unsigned int>(n));
  return n;
}

bool bdPlatformSocket::getSocketName(bdSocketHandle handle, bdInetAddr& addr,
                                     unsigned short& port) {
  if (handle == BD_INVALID_SOCKET) return false;
  sockaddr_in sa;
  int size = sizeof sa;
  if (::getsockname(sock(handle), reinterpret_cast<sockaddr*>(&sa), &size) != 0) return false;
  addr = bdInetAddr(sa.sin_addr.s_addr);
  port = ntohs(sa.sin_port);
  return true;
}

bool bdPlatformSocket::hasPendingError(bdSocketHandle handle) {
  fd_set failed;
  FD_ZERO(&failed);
  FD_SET(sock(handle), &failed);
  timeval zero = {0, 0};
  return ::select(0, nullptr, nullptr, &failed, &zero) != 0;
}

unsigned int bdPlatformSocket::getHostByName(const char* name, bdInetAddr* addresses,
                                             unsigned int max) {
  if (name == nullptr || addresses == nullptr || max == 0) return 0;
  const bool isName = (name[0] >= 'a' && name[0] <= 'z') || (name[0] >= 'A' && name[0] <= 'Z');
  if (!isName) {
    bdInetAddr addr;
    if (!bdInetAddr::parse(name, addr)) return 0;
    addresses[0] = addr;
    return 1;
  }
  if (!startWinsock()) return 0;
  const hostent* host = ::gethostbyname(name);
  if (host == nullptr || host->h_addrtype != AF_INET) return 0;
  unsigned int count = 0;
  for (char** p = host->h_addr_list; *p != nullptr && count < max; ++p) {
    std::uint32_t raw;
    std::memcpy(&raw, *p, sizeof raw);
    addresses[count++] = bdInetAddr(raw);
  }
  return count;
}
