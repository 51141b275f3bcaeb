#include "bdStreamConnection/bdStreamConnection.h"

#include <cstring>

#include "bdCore/bdLog/bdLog.h"

namespace {
const char* const kChannel = "bdConnection/connections";
}

bdStreamConnection::bdStreamConnection(bdReference<bdCommonAddr> addr)
    : bdConnection(addr),
      m_receiveRing(new (bdMemory::allocate(sizeof(bdCircularBuffer<unsigned char>)))
                        bdCircularBuffer<unsigned char>(RING_SIZE, false)),
      m_sendRing(new (bdMemory::allocate(sizeof(bdCircularBuffer<unsigned char>)))
                     bdCircularBuffer<unsigned char>(RING_SIZE, false)) {
  init();
}

bdStreamConnection::bdStreamConnection(bdReference<bdCommonAddr> addr, unsigned char* sendBlock,
                                       unsigned char* receiveBlock, unsigned int size)
    : bdConnection(addr),
      m_receiveRing(new (bdMemory::allocate(sizeof(bdCircularBuffer<unsigned char>)))
                        bdCircularBuffer<unsigned char>(receiveBlock, size, false)),
      m_sendRing(new (bdMemory::allocate(sizeof(bdCircularBuffer<unsigned char>)))
                     bdCircularBuffer<unsigned char>(sendBlock, size, false)) {
  init();
}

void bdStreamConnection::init() {
  m_pendingLength = 0;
  std::memset(m_key, 0, sizeof m_key);
  m_seed = 0;
  if (m_receiveRing == nullptr || m_sendRing == nullptr || !m_receiveRing->isValid() ||
      !m_sendRing->isValid()) {
    bdLogError("err", "Failed to allocate buffer");
  }
  if (m_socket.create()) m_socket.setBlocking(false);
}

bdStreamConnection::~bdStreamConnection() {
  m_socket.close();
  for (bdCircularBuffer<unsigned char>* ring : {m_receiveRing, m_sendRing}) {
    if (ring == nullptr) continue;
    ring->~bdCircularBuffer<unsigned char>();
    bdMemory::deallocate(ring);
  }
}

void bdStreamConnection::setKey(const unsigned char key[24]) {
  std::memcpy(m_key, key, sizeof m_key);
}

bool bdStreamConnection::connect() {
  m_status = BD_CONNECTING;
  // A server named by one address holds it as its first local address.
  bdAddr to;
  if (m_addr.notNull()) {
    to = m_addr->getPublicAddr();
    if (!to.isValid() && m_addr->getLocalAddrs().getSize() > 0) to = m_addr->getLocalAddr(0);
  }
  const int result = to.isValid() ? m_socket.connect(to) : BD_NET_ADDRESS_INVALID;
  if (result == BD_NET_WOULD_BLOCK) return true;
  if (result == BD_NET_SUCCESS) {
    onConnected();
    return true;
  }
  close();
  return false;
}

void bdStreamConnection::onConnected() {
  m_status = BD_CONNECTED;
  m_keepAliveTimer.start();
  m_receiveTimer.start();
  callConnectListeners(true);
}

void bdStreamConnection::close() {
  const Status was = m_status;
  m_status = BD_DISCONNECTED;
  m_socket.close();
  if (was == BD_CONNECTING) callConnectListeners(false);
  if (was == BD_CONNECTED || was == BD_DISCONNECTING) callDisconnectListeners();
}

unsigned int bdStreamConnection::getQueuedBytes() const {
  return m_sendRing != nullptr ? m_sendRing->getUsedBlockSize() : 0;
}

bool bdStreamConnection::send(const bdReference<bdMessage> message, const bool encrypt) {
  if (m_status != BD_CONNECTING && m_status != BD_CONNECTED) {
    pump();
    return false;
  }
  if (message.isNull()) return false;
  pump();
  const bool queued = queueFrame(message, encrypt);
  pump();
  return queued;
}

bool bdStreamConnection::queueFrame(const bdReference<bdMessage>& message, bool encrypt) {
  bdMessage* m = message.get();
  const bdReference<bdBitBuffer> payload = m->hasPayload() ? m->getPayload() : nullptr;
  const unsigned int payloadSize = payload.notNull() ? payload->getDataSize() : 0;
  const unsigned int size = bdStreamFrame::frameSize(payloadSize, encrypt);
  if (size == 0) {
    bdLogError("err", "Message too big.");
    return false;
  }
  if (m_sendRing == nullptr || !m_sendRing->isValid() || size > m_sendRing->getCapacity() ||
      m_sendRing->getFreeSpace() < size) {
    bdLogInfo(kChannel, "Not enough buffer space for the message.");
    return false;
  }
  if (m_sendRing->getFreeBlockSize() < size) m_sendRing->alignUsedBlock();
  if (m_sendRing->getFreeBlockSize() < size) {
    bdAssertMsg("Outgoing buffer align failed.");
    return false;
  }
  const unsigned int written = bdStreamFrame::encode(
      m_sendRing->getWritePtr(), m_sendRing->getFreeBlockSize(), m->getType(),
      payload.notNull() ? payload->getData() : nullptr, payloadSize, encrypt, m_key, m_seed);
  if (written == 0) {
    bdLogError("err", encrypt ? "Encryption failed." : "Failed to prepare the header.");
    return false;
  }
  m_sendRing->protectBlock(written);
  if (encrypt) ++m_seed;
  return true;
}

bool bdStreamConnection::pump() {
  if (m_status == BD_CONNECTING) {
    const int result = m_socket.checkConnect();
    if (result == BD_NET_SUCCESS) {
      onConnected();
    } else if (result != BD_NET_WOULD_BLOCK) {
      bdLogInfo(kChannel, "Connect failed (%i). Closing connection.", result);
      close();
    }
  }
  if (m_status == BD_CONNECTED && flushSendRing()) runTimers();
  return m_status == BD_CONNECTING || m_status == BD_CONNECTED;
}

bool bdStreamConnection::flushSendRing() {
  while (m_status == BD_CONNECTED && m_sendRing != nullptr && m_sendRing->getUsedBlockSize() > 0) {
    const int result = m_socket.send(m_sendRing->getReadPtr(), m_sendRing->getUsedBlockSize());
    if (result > 0) {
      m_keepAliveTimer.start();
      m_sendRing->freeBlock(static_cast<unsigned int>(result));
      continue;
    }
    switch (result) {
      case BD_NET_NOT_CONNECTED:
      case BD_NET_ADDRESS_IN_USE:
      case BD_NET_WOULD_BLOCK:
        return true;
      case BD_NET_INVALID_HANDLE:
        bdLogWarn(kChannel, "invalid handle.");
        break;
      case BD_NET_ADDRESS_INVALID:
        bdLogInfo(kChannel, "Invalid address. Closing connection.");
        break;
      case BD_NET_MSG_SIZE:
      case BD_NET_CONNECTION_RESET:
        break;
      case BD_NET_SUBSYTEM_ERROR:
        bdLogWarn(kChannel, "net subsystem error!");
        break;
      default:
        bdLogWarn(kChannel, "unknown error.");
        break;
    }
    close();
    return false;
  }
  return m_status == BD_CONNECTED;
}

void bdStreamConnection::runTimers() {
  if (m_keepAliveTimer.getElapsedTimeAsSeconds() > KEEP_ALIVE_SECONDS) {
    const unsigned char keepAlive[2] = {0, 0};
    // Through the ring: bytes of a partly sent frame may still be queued.
    if (m_sendRing->getFreeSpace() >= 2) {
      if (m_sendRing->getFreeBlockSize() < 2) m_sendRing->alignUsedBlock();
      m_sendRing->appendBuffer(keepAlive, 2);
      flushSendRing();
    }
    m_keepAliveTimer.start();
  }
  if (m_status == BD_CONNECTED && m_receiveTimer.getElapsedTimeAsSeconds() > TIME_OUT_SECONDS) {
    bdLogWarn("warn", "Connection timed out\n");
    close();
  }
}

bool bdStreamConnection::fillReceiveRing() {
  if (m_receiveRing->getFreeBlockSize() == 0) m_receiveRing->alignUsedBlock();
  const unsigned int room = m_receiveRing->getFreeBlockSize();
  if (room == 0) return true;
  const int result = m_socket.receive(m_receiveRing->getWritePtr(), room);
  if (result > 0) {
    m_receiveRing->protectBlock(static_cast<unsigned int>(result));
    m_receiveTimer.start();
    return true;
  }
  switch (result) {
    case 0:
      m_status = BD_DISCONNECTING;
      m_socket.close();
      callDisconnectListeners();
      m_status = BD_DISCONNECTED;
      return false;
    case BD_NET_CONNECTION_RESET:
      bdLogInfo(kChannel, "Received 'connection reset'. Closing connection.");
      close();
      return false;
    case BD_NET_MSG_SIZE:
      bdLogWarn(kChannel, "Couldn't receive message. Buffer too small?");
      return true;
    case BD_NET_NOT_CONNECTED:
    case BD_NET_INVALID_ARGUMENT:
    case BD_NET_BLOCKING_CALL_CANCELED:
    case BD_NET_WOULD_BLOCK:
      return true;
    default:
      bdLogWarn(kChannel, "net error. status : %i", result);
      return true;
  }
}

bool bdStreamConnection::getMessageToDispatch(bdReference<bdMessage>& message) {
  if (m_status == BD_DISCONNECTED) return false;
  pump();
  if (m_status != BD_CONNECTED || m_receiveRing == nullptr || !m_receiveRing->isValid()) {
    return false;
  }
  // The largest frame the ring can hold whole.
  const unsigned int capacity = m_receiveRing->getCapacity();
  const unsigned int maxLength = capacity > 2 ? capacity - 2 : 0;
  for (int attempt = 0; attempt < 2; ++attempt) {
    bdStreamFrame::Decoded frame;
    bdStreamFrame::Result result;
    // Keep-alives are consumed here, and never end the search for a message.
    do {
      result = bdStreamFrame::decode(m_receiveRing->getReadPtr(), m_receiveRing->getUsedBlockSize(),
                                     maxLength, m_key, frame);
      if (result == bdStreamFrame::KEEP_ALIVE) m_receiveRing->freeBlock(frame.consumed);
    } while (result == bdStreamFrame::KEEP_ALIVE);
    m_pendingLength = m_receiveRing->getUsedBlockSize() >= 2
                          ? static_cast<unsigned int>(m_receiveRing->getReadPtr()[0]) |
                                m_receiveRing->getReadPtr()[1] << 8
                          : 0;
    if (result == bdStreamFrame::BAD_FRAME) {
      bdLogWarn(kChannel, "Message received is too large to fit in the receive buffer.");
      close();
      return false;
    }
    if (result == bdStreamFrame::BAD_MAGIC) {
      bdLogWarn(kChannel, "Decryption failed.");
      close();
      return false;
    }
    if (result == bdStreamFrame::MESSAGE) {
      message = new bdMessage(frame.type, frame.payload, frame.payloadSize, true);
      m_receiveRing->freeBlock(frame.consumed);
      m_pendingLength = 0;
      return message.notNull();
    }
    if (attempt == 1) break;
    // Make room for the whole frame at the end of the ring, then read once.
    const unsigned int used = m_receiveRing->getUsedBlockSize();
    const unsigned int needed = m_pendingLength != 0 ? m_pendingLength + 2 - used : 1;
    if (m_receiveRing->getFreeBlockSize() < needed) m_receiveRing->alignUsedBlock();
    if (!fillReceiveRing()) return false;
  }
  return false;
}

bool bdStreamConnection::receive(unsigned char*, const unsigned int) {
  bdLogError("err", "Should never be called.");
  return false;
}

unsigned int bdStreamConnection::getDataToSend(unsigned char* const, const unsigned int) {
  bdLogError("err", "Should never be called.");
  return 0;
}
