#pragma once
// The SDK's UDP socket: non-blocking once created; every call returns a byte
// count or a status of bdPlatformSocket.h.
#include "bdSocket/bdAddr.h"
#include "bdSocket/bdPlatformSocket.h"

class bdSocket {
 public:
  bdSocket() : m_handle(BD_INVALID_SOCKET) {}
  virtual ~bdSocket();
  bdSocket(const bdSocket&) = delete;
  bdSocket& operator=(const bdSocket&) = delete;

  virtual bool create(const bool broadcast);
  virtual int bind(const bdAddr& addr);
  virtual int bind(unsigned short port);
  virtual int sendTo(const bdAddr& addr, const void* data, unsigned int length);
  // The sender is stored for a byte count and for a reset (-5).
  virtual int receiveFrom(bdAddr& addr, void* data, unsigned int length);
  virtual bool close();
  virtual bool setBlocking(bool blocking);

  bdSocketHandle getHandle() const;

 private:
  bdSocketHandle m_handle;
};
