#pragma once
// The SDK's TCP socket. It stays blocking until setBlocking(false).
#include "bdSocket/bdAddr.h"
#include "bdSocket/bdPlatformSocket.h"

class bdStreamSocket {
 public:
  bdStreamSocket() : m_handle(BD_INVALID_SOCKET) {}
  // Takes over an accepted socket.
  explicit bdStreamSocket(bdSocketHandle handle) : m_handle(handle) {}
  virtual ~bdStreamSocket();
  bdStreamSocket(const bdStreamSocket&) = delete;
  bdStreamSocket& operator=(const bdStreamSocket&) = delete;

  virtual bool create();
  virtual int listen(const bdAddr& addr);
  virtual int listen(unsigned short port);
  virtual int connect(const bdAddr& addr);
  virtual int send(const void* data, unsigned int length);
  virtual int receive(void* data, unsigned int length);
  virtual bool close();
  virtual bool setBlocking(bool blocking);
  virtual bool getSocketName(bdInetAddr& addr);

  // After a connect that would block: 1 once the socket reports the
  // connection made, -2 while under way, else the failure's status.
  int checkConnect();
  // A waiting connection as a new socket (null when none); its peer in addr.
  bdStreamSocket* accept(bdAddr& addr);
  unsigned short getPort() const;
  bdSocketHandle getHandle() const { return m_handle; }

 private:
  bdSocketHandle m_handle;
};
