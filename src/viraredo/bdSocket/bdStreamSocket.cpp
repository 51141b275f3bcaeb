#include "bdSocket/bdStreamSocket.h"

#include "bdCore/bdLog/bdLog.h"

bdStreamSocket::~bdStreamSocket() { close(); }

bool bdStreamSocket::create() {
  bdAssert(m_handle == BD_INVALID_SOCKET, "bdStreamSocket::create(), already created.");
  m_handle = bdPlatformSocket::createTCP();
  return m_handle != BD_INVALID_SOCKET;
}

int bdStreamSocket::listen(const bdAddr& addr) {
  return bdPlatformSocket::listen(m_handle, addr.getAddress(), addr.getPort());
}

int bdStreamSocket::listen(unsigned short port) {
  return bdPlatformSocket::listen(m_handle, bdInetAddr::getAny(), port);
}

int bdStreamSocket::connect(const bdAddr& addr) {
  return bdPlatformSocket::connect(m_handle, addr.getAddress(), addr.getPort());
}

int bdStreamSocket::send(const void* data, unsigned int length) {
  return bdPlatformSocket::send(m_handle, data, length);
}

int bdStreamSocket::receive(void* data, unsigned int length) {
  return bdPlatformSocket::receive(m_handle, data, length);
}

bool bdStreamSocket::close() { return bdPlatformSocket::close(m_handle); }

bool bdStreamSocket::setBlocking(bool blocking) {
  return bdPlatformSocket::setBlocking(m_handle, blocking);
}

bool bdStreamSocket::getSocketName(bdInetAddr& addr) {
  unsigned short port = 0;
  return bdPlatformSocket::getSocketName(m_handle, addr, port);
}

int bdStreamSocket::checkConnect() { return bdPlatformSocket::checkConnect(m_handle); }

bdStreamSocket* bdStreamSocket::accept(bdAddr& addr) {
  bdInetAddr from;
  unsigned short port = 0;
  const bdSocketHandle s = bdPlatformSocket::accept(m_handle, from, port);
  if (s == BD_INVALID_SOCKET) return nullptr;
  addr.set(from, port);
  return new bdStreamSocket(s);
}

unsigned short bdStreamSocket::getPort() const {
  bdInetAddr addr;
  unsigned short port = 0;
  bdPlatformSocket::getSocketName(m_handle, addr, port);
  return port;
}
