#include "bdSocket/bdSocket.h"

#include "bdCore/bdLog/bdLog.h"

bdSocket::~bdSocket() { close(); }

bool bdSocket::create(const bool broadcast) {
  bdAssert(m_handle == BD_INVALID_SOCKET, "bdSocket::create(), already created.");
  m_handle = bdPlatformSocket::createUDP(broadcast);
  if (m_handle == BD_INVALID_SOCKET) return false;
  return bdPlatformSocket::setBlocking(m_handle, false);
}

int bdSocket::bind(const bdAddr& addr) {
  return bdPlatformSocket::bind(m_handle, addr.getAddress(), addr.getPort());
}

int bdSocket::bind(unsigned short port) {
  return bdPlatformSocket::bind(m_handle, bdInetAddr::getAny(), port);
}

int bdSocket::sendTo(const bdAddr& addr, const void* data, unsigned int length) {
  return bdPlatformSocket::sendTo(m_handle, addr.getAddress(), addr.getPort(), data, length);
}

int bdSocket::receiveFrom(bdAddr& addr, void* data, unsigned int length) {
  bdInetAddr from;
  unsigned short port = 0;
  const int result = bdPlatformSocket::receiveFrom(m_handle, from, port, data, length);
  if (result >= 0 || result == BD_NET_CONNECTION_RESET) addr.set(from, port);
  return result;
}

bool bdSocket::close() { return bdPlatformSocket::close(m_handle); }

bool bdSocket::setBlocking(bool blocking) {
  return bdPlatformSocket::setBlocking(m_handle, blocking);
}

bdSocketHandle bdSocket::getHandle() const {
  if (m_handle == BD_INVALID_SOCKET) {
    bdLogWarn("socket", "Socket not yet created.");
    return BD_INVALID_SOCKET;
  }
  return m_handle;
}
