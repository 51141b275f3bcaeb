// BSD sockets. Sends use MSG_NOSIGNAL: a peer that went away must give a
// status, never a signal that ends the process.
#include <arpa/inet.h>
#include <errno.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

#include "bdSocket/bdPlatformSocket.h"

namespace {

bdSocketError lastError() {
  switch (errno) {
    case EAGAIN:
#if EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
      return bdSocketError::WOULD_BLOCK;
    case EINPROGRESS:
    case EALREADY:
      return bdSocketError::IN_PROGRESS;
    case EACCES:
    case EPERM:
      return bdSocketError::ACCESS;
    case EADDRINUSE:
      return bdSocketError::ADDR_IN_USE;
    case EADDRNOTAVAIL:
      return bdSocketError::ADDR_NOT_AVAIL;
    case ENETDOWN:
      return bdSocketError::NET_DOWN;
    case ENETUNREACH:
      return bdSocketError::NET_UNREACH;
    case ECONNABORTED:
      return bdSocketError::CONN_ABORTED;
    case ECONNRESET:
      return bdSocketError::CONN_RESET;
    case ETIMEDOUT:
      return bdSocketError::TIMED_OUT;
    case EHOSTUNREACH:
      return bdSocketError::HOST_UNREACH;
    case ECONNREFUSED:
      return bdSocketError::CONN_REFUSED;
    case EPIPE:
      return bdSocketError::BROKEN_PIPE;
    case EMSGSIZE:
      return bdSocketError::MSG_SIZE;
    case EINVAL:
      return bdSocketError::INVALID;
    case EDESTADDRREQ:
      return bdSocketError::DEST_ADDR_REQ;
    case EAFNOSUPPORT:
      return bdSocketError::AF_NOT_SUPPORTED;
    case EINTR:
      return bdSocketError::INTERRUPTED;
    case ENOTCONN:
      return bdSocketError::NOT_CONNECTED;
    default:
      return bdSocketError::OTHER;
  }
}

bdSocketError errorFromCode(int code) {
  errno = code;
  return lastError();
}

sockaddr_in makeAddr(bdInetAddr addr, unsigned short port) {
  sockaddr_in sa;
  std::memset(&sa, 0, sizeof sa);
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = addr.getInAddr();
  sa.sin_port = htons(port);
  return sa;
}

int fd(bdSocketHandle handle) { return static_cast<int>(handle); }

}  // namespace

bdSocketHandle bdPlatformSocket::createUDP(bool broadcast) {
  const int s = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  if (s < 0) return BD_INVALID_SOCKET;
  if (broadcast) {
    int on = 1;
    if (::setsockopt(s, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
      ::close(s);
      return BD_INVALID_SOCKET;
    }
  }
  return s;
}

bdSocketHandle bdPlatformSocket::createTCP() {
  const int s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  return s < 0 ? BD_INVALID_SOCKET : s;
}

int bdPlatformSocket::bind(bdSocketHandle& handle, bdInetAddr addr, unsigned short port) {
  if (handle == BD_INVALID_SOCKET) return BD_NET_INVALID_HANDLE;
  const sockaddr_in sa = makeAddr(addr, port);
  if (::bind(fd(handle), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0) {
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
  const ssize_t n = ::sendto(fd(handle), data, length, MSG_NOSIGNAL,
                             reinterpret_cast<const sockaddr*>(&sa), sizeof sa);
  if (n < 0) return mapError(bdSocketOp::UDP_SEND, lastError());
  countUDPSent(static_cast<unsigned int>(n));
  return static_cast<int>(n);
}

int bdPlatformSocket::receiveFrom(bdSocketHandle handle, bdInetAddr& addr, unsigned short& port,
                                  void* data, unsigned int length) {
  if (handle == BD_INVALID_SOCKET) return BD_NET_INVALID_HANDLE;
  sockaddr_in sa;
  std::memset(&sa, 0, sizeof sa);
  socklen_t size = sizeof sa;
  const ssize_t n =
      ::recvfrom(fd(handle), data, length, 0, reinterpret_cast<sockaddr*>(&sa), &size);
  if (n < 0) {
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
  return static_cast<int>(n);
}

bool bdPlatformSocket::close(bdSocketHandle& handle) {
  if (handle == BD_INVALID_SOCKET) return true;
  ::close(fd(handle));
  handle = BD_INVALID_SOCKET;
  return true;
}

bool bdPlatformSocket::setBlocking(bdSocketHandle handle, bool blocking) {
  if (handle == BD_INVALID_SOCKET) return false;
  const int flags = ::fcntl(fd(handle), F_GETFL, 0);
  if (flags < 0) return false;
  const int wanted = blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK);
  return ::fcntl(fd(handle), F_SETFL, wanted) == 0;
}

int bdPlatformSocket::listen(bdSocketHandle& handle, bdInetAddr addr, unsigned short port) {
  if (handle == BD_INVALID_SOCKET) return BD_NET_INVALID_HANDLE;
  const sockaddr_in sa = makeAddr(addr, port);
  if (::bind(fd(handle), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) != 0) {
    close(handle);
    return BD_NET_ERROR;
  }
  if (::listen(fd(handle), SOMAXCONN) != 0) return BD_NET_ERROR;
  return BD_NET_SUCCESS;
}

int bdPlatformSocket::connect(bdSocketHandle handle, bdInetAddr addr, unsigned short port) {
  if (handle == BD_INVALID_SOCKET) return BD_NET_INVALID_HANDLE;
  const sockaddr_in sa = makeAddr(addr, port);
  if (::connect(fd(handle), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0) {
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
  FD_SET(fd(handle), &writable);
  FD_SET(fd(handle), &failed);
  timeval zero = {0, 0};
  const int ready = ::select(fd(handle) + 1, nullptr, &writable, &failed, &zero);
  if (ready < 0) return BD_NET_ERROR;
  if (ready == 0) return BD_NET_WOULD_BLOCK;
  int code = 0;
  socklen_t size = sizeof code;
  if (::getsockopt(fd(handle), SOL_SOCKET, SO_ERROR, &code, &size) != 0) return BD_NET_ERROR;
  if (code == 0) return BD_NET_SUCCESS;
  return mapError(bdSocketOp::CONNECT, errorFromCode(code));
}

bdSocketHandle bdPlatformSocket::accept(bdSocketHandle handle, bdInetAddr& addr,
                                        unsigned short& port) {
  if (handle == BD_INVALID_SOCKET) return BD_INVALID_SOCKET;
  sockaddr_in sa;
  socklen_t size = sizeof sa;
  const int s = ::accept(fd(handle), reinterpret_cast<sockaddr*>(&sa), &size);
  if (s < 0) return BD_INVALID_SOCKET;
  addr = bdInetAddr(sa.sin_addr.s_addr);
  port = ntohs(sa.sin_port);
  return s;
}

int bdPlatformSocket::send(bdSocketHandle handle, const void* data, unsigned int length) {
  if (handle == BD_INVALID_SOCKET) return BD_NET_INVALID_HANDLE;
  const ssize_t n = ::send(fd(handle), data, length, MSG_NOSIGNAL);
  if (n < 0) return tcpStatus(handle, bdSocketOp::TCP_SEND, lastError());
  countTCPSent(static_cast<unsigned int>(n));
  return static_cast<int>(n);
}

int bdPlatformSocket::receive(bdSocketHandle handle, void* data, unsigned int length) {
  if (handle == BD_INVALID_SOCKET) return BD_NET_INVALID_HANDLE;
  const ssize_t n = ::recv(fd(handle), data, length, 0);
  if (n < 0) return tcpStatus(handle, bdSocketOp::TCP_RECEIVE, lastError());
  countTCPReceived(static_cast<unsigned int>(n));
  return static_cast<int>(n);
}

bool bdPlatformSocket::getSocketName(bdSocketHandle handle, bdInetAddr& addr,
                                     unsigned short& port) {
  if (handle == BD_INVALID_SOCKET) return false;
  sockaddr_in sa;
  socklen_t size = sizeof sa;
  if (::getsockname(fd(handle), reinterpret_cast<sockaddr*>(&sa), &size) != 0) return false;
  addr = bdInetAddr(sa.sin_addr.s_addr);
  port = ntohs(sa.sin_port);
  return true;
}

bool bdPlatformSocket::hasPendingError(bdSocketHandle handle) {
  fd_set failed;
  FD_ZERO(&failed);
  FD_SET(fd(handle), &failed);
  timeval zero = {0, 0};
  if (::select(fd(handle) + 1, nullptr, nullptr, &failed, &zero) != 0) return true;
  int code = 0;
  socklen_t size = sizeof code;
  // BSD sockets report a failed connect in SO_ERROR rather than the exception set.
  return ::getsockopt(fd(handle), SOL_SOCKET, SO_ERROR, &code, &size) != 0 || code != 0;
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
  addrinfo hints;
  std::memset(&hints, 0, sizeof hints);
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* list = nullptr;
  if (::getaddrinfo(name, nullptr, &hints, &list) != 0) return 0;
  unsigned int count = 0;
  for (addrinfo* p = list; p != nullptr && count < max; p = p->ai_next) {
    const sockaddr_in* sa = reinterpret_cast<const sockaddr_in*>(p->ai_addr);
    addresses[count++] = bdInetAddr(sa->sin_addr.s_addr);
  }
  ::freeaddrinfo(list);
  return count;
}
