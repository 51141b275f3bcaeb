#pragma once
// Takes a received datagram that belongs to no secured association: the
// router offers it to each interceptor in turn until one consumes it.
class bdSocket;
class bdAddr;

class bdPacketInterceptor {
 public:
  virtual ~bdPacketInterceptor() = default;
  // True when the datagram was this interceptor's own and is consumed.
  virtual bool acceptPacket(bdSocket* socket, const bdAddr& from, const void* data,
                            unsigned int size) = 0;
};
