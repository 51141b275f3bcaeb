#pragma once
// Messages over one TCP connection as length-prefixed frames (bdStreamFrame),
// plain or 3DES-encrypted under the owner's key. Frames are built and
// encrypted in place in the send ring; received messages are read from the
// receive ring. Empty frames keep the connection alive; a connection that
// hears nothing for 80 s is closed.
//
// Differs from a plain reading of the frame rules in four places, each to
// keep the stream sound: a connect completes only when the socket reports it;
// every received length is checked before use and a bad frame (or one that
// fails to decrypt) closes the connection; a message the peer could not
// accept is refused by send; keep-alives go through the send ring, so they
// never land inside a partly sent frame.
#include "bdCore/bdUtilities/bdStopwatch.h"
#include "bdNet/bdConnection.h"
#include "bdSocket/bdStreamSocket.h"
#include "bdStreamConnection/bdCircularBuffer.h"
#include "bdStreamConnection/bdStreamFrame.h"

class bdStreamConnection : public bdConnection {
 public:
  static constexpr unsigned int RING_SIZE = 65535;
  static constexpr float KEEP_ALIVE_SECONDS = 40.0f;
  static constexpr float TIME_OUT_SECONDS = 80.0f;

  explicit bdStreamConnection(bdReference<bdCommonAddr> addr);
  // Rings over the caller's blocks (send first), each size bytes, not owned.
  bdStreamConnection(bdReference<bdCommonAddr> addr, unsigned char* sendBlock,
                     unsigned char* receiveBlock, unsigned int size);
  ~bdStreamConnection() override;

  void setKey(const unsigned char key[24]);
  bool connect() override;
  void disconnect() override { close(); }
  void close() override;
  // Queues one message; encrypt asks for the 3DES frame.
  bool send(const bdReference<bdMessage> message, const bool encrypt) override;
  bool getMessageToDispatch(bdReference<bdMessage>& message) override;
  // Sends what the send ring holds and runs the timers; true while 1 or 2.
  bool pump();
  bool receive(unsigned char*, const unsigned int) override;
  unsigned int getDataToSend(unsigned char* const, const unsigned int) override;

  unsigned int getSeed() const { return m_seed; }
  unsigned int getQueuedBytes() const;

 private:
  void init();
  void onConnected();
  bool queueFrame(const bdReference<bdMessage>& message, bool encrypt);
  bool flushSendRing();
  void runTimers();
  // Reads once into the receive ring; false when the connection went down.
  bool fillReceiveRing();

  bdCircularBuffer<unsigned char>* m_receiveRing;
  bdCircularBuffer<unsigned char>* m_sendRing;
  unsigned int m_pendingLength;
  bdStreamSocket m_socket;
  unsigned char m_key[24];
  unsigned int m_seed;
  bdStopwatch m_keepAliveTimer;
  bdStopwatch m_receiveTimer;
};
