#pragma once
// The peer-to-peer message channel: a four-way handshake, reliable and
// unreliable messages through the windows, heartbeats and a three-way
// shutdown. It never touches a socket: the connection store hands it each
// datagram and asks it for the next one to send.
#include <cstdint>

#include "bdCore/bdContainers/bdQueue.h"
#include "bdCore/bdUtilities/bdStopwatch.h"
#include "bdNet/bdConnection.h"
#include "bdPacket/bdChunk.h"
#include "bdPacket/bdInitAckChunk.h"
#include "bdPacket/bdInitChunk.h"
#include "bdWindow/bdUnreliableReceiveWindow.h"
#include "bdWindow/bdUnreliableSendWindow.h"

class bdCookieEchoChunk;
class bdDataChunk;
class bdPacket;
class bdReliableReceiveWindow;
class bdReliableSendWindow;
class bdSAckChunk;

class bdUnicastConnection : public bdConnection {
 public:
  enum bdUnicastConnectionState {
    BD_UC_CLOSED = 0,
    BD_UC_COOKIE_WAIT = 1,
    BD_UC_COOKIE_ECHOED = 2,
    BD_UC_ESTABLISHED = 3,
    BD_UC_SHUTDOWN_PENDING = 4,
    BD_UC_SHUTDOWN_SENT = 5,
    BD_UC_SHUTDOWN_RECEIVED = 6,
    BD_UC_SHUTDOWN_ACK_SENT = 7,
  };
  static constexpr unsigned int BD_MAX_MESSAGE_SIZE = 1284;
  static constexpr unsigned int MAX_SENDS = 5;
  static constexpr double RESEND_SECONDS = 0.5;
  static constexpr double HEARTBEAT_SECONDS = 1.8;
  static constexpr double TIMEOUT_SECONDS = 9.0;
  static constexpr double SHUTDOWN_GUARD_SECONDS = 5.0;

  struct bdControlChunkStore {
    bdReference<bdChunk> m_chunk;
    std::uint8_t m_sendAlone;
    std::uint32_t m_vtag;  // the packet's tag when sent alone
  };

  // Outgoing: to a known peer. Incoming: the peer's address comes from the
  // address map once its handshake arrives.
  explicit bdUnicastConnection(bdReference<bdCommonAddr> addr);
  bdUnicastConnection();
  ~bdUnicastConnection() override;

  bool receive(unsigned char* data, const unsigned int size) override;
  bool send(const bdReference<bdMessage> message, const bool reliable) override;
  bool getMessageToDispatch(bdReference<bdMessage>& message) override;
  Status getStatus() override;
  bool connect() override;
  void disconnect() override;
  void close() override;
  unsigned int getDataToSend(unsigned char* const buffer, const unsigned int size) override;

  int getState() const { return m_state; }
  std::uint32_t getLocalTag() const { return m_localTag; }
  std::uint32_t getPeerTag() const { return m_peerTag; }
  float getSmoothedRTT() const { return m_srtt; }

 private:
  void reset();
  void queue(bdReference<bdChunk> chunk, bool alone = false, std::uint32_t vtag = 0);
  void takeAddress();
  bool sendInit();
  bool sendInitAck(const bdInitChunk& init);
  bool sendCookieEcho(bdReference<bdInitAckChunk> initAck);
  bool sendCookieAck();
  bool sendShutdown();
  bool sendShutdownAck();
  bool sendShutdownComplete();
  bool sendHeartbeatAck();

  bool handleChunk(bdReference<bdChunk> chunk, std::uint32_t vtag, bool& handled);
  bool handleInit(const bdInitChunk& init);
  bool handleInitAck(bdReference<bdInitAckChunk> ack, std::uint32_t vtag);
  bool handleCookieEcho(const bdCookieEchoChunk& echo);
  bool handleCookieAck(std::uint32_t vtag);
  bool handleData(bdReference<bdDataChunk> chunk);
  bool handleSAck(bdReference<bdSAckChunk> sack);
  bool handleShutdown();
  bool handleShutdownAck();
  bool handleShutdownComplete();
  unsigned int writePacket(bdPacket& packet, unsigned char* buffer, unsigned int size);

  bdReliableSendWindow* m_sendWindow;
  bdReliableReceiveWindow* m_recvWindow;
  bdUnreliableSendWindow m_unreliableSendWindow;
  bdUnreliableReceiveWindow m_unreliableRecvWindow;
  bdQueue<bdControlChunkStore> m_controlChunks;
  bdStopwatch m_lastSend;
  bdStopwatch m_lastReceive;
  int m_state;
  std::uint32_t m_localTag;
  std::uint32_t m_peerTag;
  bdStopwatch m_initTimer;
  std::uint8_t m_initSends;
  bdStopwatch m_cookieTimer;
  std::uint8_t m_cookieSends;
  bdStopwatch m_shutdownTimer;
  std::uint8_t m_shutdownSends;
  bdStopwatch m_shutdownGuard;
  bdReference<bdInitAckChunk> m_initAck;
  float m_srtt;
  float m_rttVar;
};
