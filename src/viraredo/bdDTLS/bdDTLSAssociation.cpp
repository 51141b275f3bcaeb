#include "bdDTLS/bdDTLSAssociation.h"

#include <cstring>

#include "bdAddressMap/bdAddressMap.h"
#include "bdCore/bdCrypto/bdDHKey.h"
#include "bdCore/bdCrypto/bdHMacSHA1.h"
#include "bdCore/bdCrypto/bdHashTiger192.h"
#include "bdCore/bdCrypto/bdRandom.h"
#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdThread/bdPlatformTiming.h"
#include "bdDTLS/bdDTLSCookieAck.h"
#include "bdDTLS/bdDTLSCookieEcho.h"
#include "bdDTLS/bdDTLSData.h"
#include "bdDTLS/bdDTLSError.h"
#include "bdDTLS/bdDTLSInit.h"
#include "bdDTLS/bdDTLSInitAck.h"
#include "bdSocket/bdSecurity/bdSecurityKeyMap.h"
#include "bdSocket/bdSocket.h"

namespace {

const char* const kChannel = "bdSocket/dtls";

// The process-wide secret that signs cookies; filled once, never changed.
struct CookieSecret {
  unsigned char bytes[16];
  bool filled;
};

CookieSecret& cookieSecret() {
  static CookieSecret secret = {{}, false};
  return secret;
}

const unsigned char* getCookieSecret() {
  if (!cookieSecret().filled) {
    bdAssertMsg("Attempted to retrieve a nonce without initialising it first");
  }
  return cookieSecret().bytes;
}

std::uint16_t randomTag() {
  return static_cast<std::uint16_t>(bdRandom::getInstance()->getRandomUInt() & 0xFFFF);
}

}  // namespace

bdDTLSAssociation::bdDTLSAssociation(bdSocket* socket, bdSecurityKeyMap* keyMap, bdDHKey* ecc,
                                     bdAddressMap* addrMap, bdReference<bdCommonAddr> localAddr,
                                     const bdAddr& peerAddr, bdAddrHandleRef addrHandle)
    : m_socket(socket),
      m_keyMap(keyMap),
      m_ECCKey(ecc),
      m_addrMap(addrMap),
      m_localAddr(localAddr),
      m_sharedKey(),
      m_keyValid(false),
      m_peerAddr(peerAddr),
      m_addrHandle(addrHandle),
      m_state(BD_DTLS_CLOSED),
      m_initResends(0),
      m_cookieResends(0),
      m_localTag(0),
      m_peerTag(0),
      m_seqNum(0),
      m_initAck(nullptr),
      m_secID() {
  reset();
  if (!cookieSecret().filled) {
    cookieSecret().filled = bdRandom::getInstance()->getRandomBytes(cookieSecret().bytes, 16);
  }
}

bdDTLSAssociation::~bdDTLSAssociation() { delete m_initAck; }

std::uint32_t bdDTLSAssociation::getTickCount() {
  const std::uint64_t stamp = bdPlatformTiming::getHiResTimeStamp();
  const std::uint64_t frequency = bdPlatformTiming::getFrequency();
  if (frequency == 0) return 0;
  return static_cast<std::uint32_t>((stamp / frequency) * 1000u +
                                    (stamp % frequency) * 1000u / frequency);
}

void bdDTLSAssociation::reset() {
  delete m_initAck;
  m_initAck = nullptr;
  m_initResends = 0;
  m_cookieResends = 0;
  m_seqNum = bdSequenceNumber(0);
  m_localTag = randomTag();
  m_receiveTimer.start();
  m_peerTag = 0;
  m_incomingSeqNums = bdReplayWindow(bdSequenceNumber(-1), 0);
}

void bdDTLSAssociation::connect() {
  sendInit();
  m_state = BD_DTLS_COOKIE_WAIT;
}

bdSocketStatus bdDTLSAssociation::getStatus() const {
  switch (m_state) {
    case BD_DTLS_CLOSED:
      return BD_SOCKET_LOST;
    case BD_DTLS_COOKIE_WAIT:
    case BD_DTLS_COOKIE_ECHOED:
      return BD_SOCKET_PENDING;
    case BD_DTLS_ESTABLISHED:
      return BD_SOCKET_CONNECTED;
    default: {
      bdLogError(kChannel, "Bad state!");
      char text[64] = "";
      if (m_addrHandle.notNull()) {
        bdCommonAddrInfo::getBriefInfo(m_addrHandle->m_ca, text, sizeof text);
      }
      bdLogInfo(kChannel, "%s", text);
      return BD_SOCKET_LOST;
    }
  }
}

bool bdDTLSAssociation::sendPacket(const bdAddr& to, const bdDTLSHeader& packet) {
  unsigned char buffer[BUFFER_SIZE];
  unsigned int length = 0;
  if (!packet.serialize(buffer, sizeof buffer, 0, length)) {
    bdAssertMsg("Failed to serialize a packet.");
    return false;
  }
  const int sent = m_socket->sendTo(to, buffer, length);
  return sent == static_cast<int>(length);
}

void bdDTLSAssociation::sendInit() {
  const unsigned int attempt = m_initResends++;
  if (attempt > MAX_RETRIES) {
    bdLogInfo(kChannel, "sending init: too many retries, closing");
    m_state = BD_DTLS_CLOSED;
    return;
  }
  sendPacket(m_peerAddr, bdDTLSInit(m_localTag));
  m_initTimer.start();
  bdLogInfo(kChannel, "sending init: m_localTag: %d", m_localTag);
}

void bdDTLSAssociation::sendInitAck(const bdAddr& to, const bdDTLSInit& init) {
  std::uint16_t localTag = m_localTag;
  std::uint16_t localTieTag = 0;
  std::uint16_t peerTieTag = 0;
  switch (m_state) {
    case BD_DTLS_CLOSED:
      m_peerTag = init.getInitTag();
      break;
    case BD_DTLS_COOKIE_ECHOED:
      localTieTag = m_localTag;
      peerTieTag = m_peerTag;
      break;
    case BD_DTLS_ESTABLISHED:
      localTag = randomTag();
      localTieTag = m_localTag;
      peerTieTag = m_peerTag;
      break;
    default:
      break;
  }
  bdDTLSInitAck ack(init.getInitTag(), getTickCount(), localTag, localTag, init.getInitTag(),
                    localTieTag, peerTieTag, to);
  bdHMacSHA1 hmac(getCookieSecret(), 16);
  ack.sign(hmac);
  if (!sendPacket(to, ack)) bdLogWarn(kChannel, "problem with socket?");
  bdLogInfo(kChannel, "sending init ack: m_localTag/localTag/m_peerTag: %d/%d/%d", m_localTag,
            localTag, m_peerTag);
}

bool bdDTLSAssociation::exportKey(unsigned char (&key)[100]) {
  std::memset(key, 0, sizeof key);
  unsigned int length = sizeof key;
  if (m_ECCKey == nullptr || !m_ECCKey->exportKey(key, length) || length != sizeof key) {
    bdLogWarn(kChannel, "problem with dh key");
    return false;
  }
  return true;
}

void bdDTLSAssociation::sendCookieEcho(const bdAddr& to) {
  const unsigned int attempt = m_cookieResends++;
  if (attempt > MAX_RETRIES) {
    bdLogInfo(kChannel, "sending cookie echo: too many retries, closing");
    m_state = BD_DTLS_CLOSED;
    return;
  }
  if (m_initAck == nullptr) return;
  if (m_localAddr.isNull()) bdAssertMsg("could not retrieve Title CommonAddr");
  bdAddrHandleRef handle;
  if (!m_addrMap->getAddrHandle(m_peerAddr, handle)) {
    bdAssertMsg("Failed to find remote address' handle.");
  }
  bdSecurityID id;
  if (handle.notNull()) id = handle->m_id;
  unsigned char key[100];
  exportKey(key);
  unsigned char ca[bdCommonAddr::SERIALIZED_SIZE] = {};
  if (m_localAddr.notNull()) m_localAddr->serialize(ca, sizeof ca);
  sendPacket(to, bdDTLSCookieEcho(m_peerTag, *m_initAck, ca, id, key));
  bdLogInfo(kChannel, "sending cookie echo: m_localTag/m_peerTag: %d/%d", m_localTag, m_peerTag);
  m_state = BD_DTLS_COOKIE_ECHOED;
  m_cookieTimer.start();
}

void bdDTLSAssociation::sendCookieAck(const bdAddr& to) {
  unsigned char key[100];
  exportKey(key);
  sendPacket(to, bdDTLSCookieAck(m_peerTag, key));
  bdLogInfo(kChannel, "sending cookie ack: m_localTag/m_peerTag: %d/%d", m_localTag, m_peerTag);
}

void bdDTLSAssociation::sendError(const bdAddr& to, std::uint32_t type) {
  sendPacket(to, bdDTLSError(m_peerTag, type));
  bdLogInfo(kChannel, "sending error: etype: %d", static_cast<int>(type));
}

int bdDTLSAssociation::sendTo(const bdAddr& to, const void* data, unsigned int size) {
  if (m_state < 0) return -1;
  if (m_state != BD_DTLS_ESTABLISHED) {
    bdLogWarn(kChannel, "not connected. Cannot send.");
    return -1;
  }
  return sendData(to, data, size);
}

int bdDTLSAssociation::sendData(const bdAddr& to, const void* data, unsigned int size) {
  if (size >= MAX_PAYLOAD) return BD_NET_MSG_SIZE;
  const bdSequenceNumber seq = m_seqNum++;
  bdDTLSData packet(m_peerTag, static_cast<std::uint16_t>(seq.getValue() & 0xFFFF));
  unsigned char buffer[BUFFER_SIZE];
  unsigned int length = 0;
  if (!packet.serialize(buffer, sizeof buffer, 0, length, seq, m_dataKey,
                        static_cast<const unsigned char*>(data), size)) {
    bdLogWarn(kChannel, "Packet creation failed.");
    return -1;
  }
  if (length > BUFFER_SIZE - 1) bdAssertMsg("overflow.");
  return m_socket->sendTo(to, buffer, length);
}

int bdDTLSAssociation::receiveFrom(const bdAddr& from, const void* data, unsigned int size,
                                   bdAddrHandleRef& handle, unsigned char* out,
                                   unsigned int outSize) {
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  bdDTLSHeader header;
  unsigned int end = 0;
  if (!header.deserialize(bytes, size, 0, end)) return -2;
  switch (header.getType()) {
    case BD_DTLS_INIT:
      handleInit(from, bytes, size);
      return -2;
    case BD_DTLS_INIT_ACK:
      handleInitAck(from, bytes, size);
      return -2;
    case BD_DTLS_COOKIE_ECHO:
      handleCookieEcho(from, bytes, size);
      return -2;
    case BD_DTLS_COOKIE_ACK:
      handleCookieAck(from, bytes, size);
      return -2;
    case BD_DTLS_ERROR:
      handleError(from, bytes, size);
      return -2;
    case BD_DTLS_DATA:
      return handleData(from, bytes, size, handle, out, outSize);
    default:
      return -2;
  }
}

void bdDTLSAssociation::handleInit(const bdAddr& from, const unsigned char* data,
                                   unsigned int size) {
  bdDTLSInit init;
  unsigned int end = 0;
  if (!init.deserialize(data, size, 0, end)) {
    bdLogWarn(kChannel, "bad init packet.");
    return;
  }
  bdLogInfo(kChannel, "handling init: m_localTag: %d, init->m_initTag: %d", m_localTag,
            init.getInitTag());
  sendInitAck(from, init);
  m_receiveTimer.start();
}

void bdDTLSAssociation::handleInitAck(const bdAddr& from, const unsigned char* data,
                                      unsigned int size) {
  if (m_state != BD_DTLS_COOKIE_WAIT) return;
  bdDTLSInitAck ack;
  unsigned int end = 0;
  if (!ack.deserialize(data, size, 0, end)) return;
  if (m_initAck == nullptr) m_initAck = new bdDTLSInitAck();
  *m_initAck = ack;
  if (ack.getVtag() != m_localTag) {
    bdLogWarn(kChannel, "Received init ack with invalid vtag. Ignoring");
    return;
  }
  m_peerTag = ack.getInitTag();
  bdLogInfo(kChannel, "handling init ack: m_localTag/m_peerTag: %d/%d", m_localTag, m_peerTag);
  sendCookieEcho(from);
  m_receiveTimer.start();
  if (m_state != BD_DTLS_CLOSED) m_state = BD_DTLS_COOKIE_ECHOED;
}

bool bdDTLSAssociation::checkCookieValidity(const bdAddr& from, const bdDTLSCookieEcho& echo) {
  const bdDTLSInitAck& ack = echo.getInitAck();
  bool good = true;
  const unsigned int age = bdPlatformTiming::getElapsedSeconds(ack.getTimestamp(), getTickCount());
  if (age >= COOKIE_LIFETIME) {
    bdLogWarn(kChannel, "Cookie expired. Age: %us", age);
    good = false;
  } else if (ack.getPeerAddr() != from) {
    bdLogWarn(kChannel, "Wrong peer address");
    good = false;
  } else {
    bdHMacSHA1 hmac(getCookieSecret(), 16);
    if (!ack.verify(hmac)) {
      bdLogWarn(kChannel, "HMac Verification failed.");
      good = false;
    }
  }
  if (!good) bdLogWarn(kChannel, "Received bad cookie. Ignoring.");
  return good;
}

void bdDTLSAssociation::handleCookieEcho(const bdAddr& from, const unsigned char* data,
                                         unsigned int size) {
  bdDTLSCookieEcho echo;
  unsigned int end = 0;
  if (!echo.deserialize(data, size, 0, end)) return;
  if (!checkCookieValidity(from, echo)) return;
  bdDHKey peerKey;
  const bool imported = peerKey.importKey(echo.getECCKey(), bdDTLSCookieEcho::KEY_SIZE);
  bdReference<bdCommonAddr> peerCA(new bdCommonAddr());
  peerCA->deserialize(m_localAddr, echo.getCommonAddr(), bdDTLSCookieEcho::CA_SIZE);
  if (!imported) return;

  const bdDTLSInitAck& cookie = echo.getInitAck();
  const std::uint16_t cl = cookie.getLocalTag();
  const std::uint16_t cp = cookie.getPeerTag();
  const std::uint16_t clt = cookie.getLocalTieTag();
  const std::uint16_t cpt = cookie.getPeerTieTag();
  if (m_state == BD_DTLS_CLOSED) {
    m_localTag = cl;
    m_peerTag = cp;
    bdLogInfo(kChannel, "handling cookie echo (expected): m_localTag/m_peerTag: %d/%d", m_localTag,
              m_peerTag);
    newAssociation(from, echo, peerKey, peerCA, true);
    return;
  }
  if (m_localTag != cl && m_peerTag != cp && clt == m_localTag && cpt == m_peerTag) {
    reset();
    m_peerTag = cp;
    m_localTag = cl;
    bdLogInfo(kChannel, "handling cookie echo (A): m_localTag/m_peerTag: %d/%d", m_localTag,
              m_peerTag);
    newAssociation(from, echo, peerKey, peerCA, false);
    return;
  }
  if (m_localTag == cl) {
    const bool caseB = m_peerTag != cp || cpt == 0;
    // Both sides connecting at once reach this point before any COOKIE-ACK
    // could bring the key, and the one that follows is ignored here: compute
    // it now from the echoed public key.
    if (!m_keyValid && !calculateSharedKey(peerKey, echo.getSecID())) {
      bdLogWarn(kChannel, "Failed to generate shared secret");
      return;
    }
    m_state = BD_DTLS_ESTABLISHED;
    if (caseB) {
      bdLogInfo(kChannel, "handling cookie echo (B): m_localTag/m_peerTag: %d/%d", m_localTag, cp);
      m_peerTag = cp;
    } else {
      bdLogInfo(kChannel, "handling cookie echo (D): m_localTag/m_peerTag: %d/%d", m_localTag,
                m_peerTag);
    }
    if (m_addrHandle.isNull() || m_addrHandle->m_status != bdAddrHandle::BD_ADDR_RESOLVED) {
      bdAssertMsg("Invalid addr handle!");
    }
    delete m_initAck;
    m_initAck = nullptr;
    sendCookieAck(from);
    m_secID = echo.getSecID();
    m_receiveTimer.start();
    return;
  }
  if (m_localTag != cl && m_peerTag == cp) {
    bdLogInfo(kChannel, "handling cookie echo (C): m_localTag/m_peerTag: %d/%d", m_localTag,
              m_peerTag);
  } else {
    bdLogInfo(kChannel, "handling cookie echo (E): m_localTag/m_peerTag: %d/%d", m_localTag,
              m_peerTag);
  }
  m_receiveTimer.start();
}

bool bdDTLSAssociation::newAssociation(const bdAddr& from, const bdDTLSCookieEcho& echo,
                                       bdDHKey& peerKey, bdReference<bdCommonAddr> peerCA,
                                       bool expected) {
  const bdSecurityID& id = echo.getSecID();
  if (!m_keyMap->contains(id)) {
    bdLogWarn(kChannel, "secID not in keymap.");
    sendError(from, BD_DTLS_ERROR_BAD_SECURITY_ID);
    m_state = BD_DTLS_CLOSED;
    m_receiveTimer.start();
    return false;
  }
  if (!calculateSharedKey(peerKey, id)) {
    bdLogWarn(kChannel, "Failed to generate shared secret");
    return false;
  }
  if (expected) m_addrMap->unregisterAddr(peerCA);
  bdAddrHandleRef handle;
  m_addrMap->registerAddr(peerCA, id, handle);
  m_addrHandle = handle;
  if (m_addrHandle.notNull()) {
    m_addrHandle->m_realAddr = from;
    m_addrHandle->m_status = bdAddrHandle::BD_ADDR_RESOLVED;
  }
  m_peerAddr = from;
  sendCookieAck(from);
  m_state = BD_DTLS_ESTABLISHED;
  bdLogInfo(kChannel, "DTLS established.");
  m_secID = id;
  m_receiveTimer.start();
  return true;
}

void bdDTLSAssociation::handleCookieAck(const bdAddr&, const unsigned char* data,
                                        unsigned int size) {
  bdDTLSCookieAck ack;
  unsigned int end = 0;
  if (!ack.deserialize(data, size, 0, end)) return;
  if (ack.getVtag() != m_localTag) {
    bdLogWarn(kChannel, "Received cookie ack with invalid vtag. Ignoring");
    return;
  }
  bdAddrHandleRef handle;
  bdReference<bdCommonAddr> ca;
  bdSecurityID id;
  if (!m_addrMap->getAddrHandle(m_peerAddr, handle) ||
      !bdAddressMapImpl::addrToCommonAddr(handle, ca, id)) {
    return;
  }
  bdDHKey peerKey;
  if (!peerKey.importKey(ack.getECCKey(), bdDTLSCookieAck::KEY_SIZE)) return;
  if (m_state != BD_DTLS_COOKIE_ECHOED || !calculateSharedKey(peerKey, id)) return;
  m_receiveTimer.start();
  m_state = BD_DTLS_ESTABLISHED;
  delete m_initAck;
  m_initAck = nullptr;
  bdLogInfo(kChannel, "handled cookie ack. DTLS established.");
  m_secID = id;
}

void bdDTLSAssociation::handleError(const bdAddr& from, const unsigned char* data,
                                    unsigned int size) {
  bdDTLSError error;
  unsigned int end = 0;
  if (!error.deserialize(data, size, 0, end) || error.getVtag() != m_localTag) return;
  char text[22];
  if (from.toString(text, sizeof text) >= sizeof text) {
    bdAssertMsg("Buffer supplied does not fit an address");
  }
  if (error.getType() == BD_DTLS_ERROR_BAD_SECURITY_ID) {
    bdLogInfo(kChannel, "Received bad_security_id error reset from %s. Closing the association.",
              text);
    m_state = BD_DTLS_CLOSED;
  } else {
    bdLogWarn(kChannel, "Received unrecognized error message from %s. Ignoring.", text);
  }
}

int bdDTLSAssociation::handleData(const bdAddr&, const unsigned char* data, unsigned int size,
                                  bdAddrHandleRef& handle, unsigned char* out,
                                  unsigned int outSize) {
  if (m_state != BD_DTLS_ESTABLISHED) return -2;
  if (m_addrHandle.isNull() || m_addrHandle->m_ca.isNull()) {
    bdLogWarn(kChannel, "Receiving data before m_addrHandle is set!!");
    return -2;
  }
  bdDTLSData packet;
  unsigned int end = 0;
  unsigned int length = 0;
  if (!packet.deserialize(data, size, 0, end, m_incomingSeqNums.getLast(), m_dataKey, out, outSize,
                          length)) {
    return -2;
  }
  if (packet.getVtag() != m_localTag) {
    bdLogWarn(kChannel, "vtag not the same as local tag.");
    return -2;
  }
  const bdSequenceNumber last = m_incomingSeqNums.getLast();
  const bdSequenceNumber seq(packet.getFullSeqNum());
  const int result = m_incomingSeqNums.update(seq);
  if (result == bdReplayWindow::BD_RW_NEWER_RESTART) {
    bdLogInfo(kChannel, "New sequence number (%u) much larger than last (%u).",
              static_cast<unsigned int>(seq.getValue()),
              static_cast<unsigned int>(last.getValue()));
  } else if (result == bdReplayWindow::BD_RW_DUPLICATE || result == bdReplayWindow::BD_RW_TOO_OLD) {
    bdLogWarn(kChannel, "invalid seq num.");
    return -2;
  }
  handle = m_addrHandle;
  m_receiveTimer.start();
  return static_cast<int>(length);
}

bool bdDTLSAssociation::calculateSharedKey(bdDHKey& peerKey, const bdSecurityID& id) {
  unsigned char input[bdDHKey::SECRET_SIZE + bdSecurityKey::SIZE];
  if (m_ECCKey == nullptr || !m_ECCKey->generateSecret(peerKey, input)) {
    bdLogWarn(kChannel, "couldn't generate shared key.");
    return false;
  }
  bdSecurityKey key;
  if (!m_keyMap->get(id, key)) {
    bdLogWarn(kChannel, "secid not in keymap.");
    return false;
  }
  std::memcpy(input + bdDHKey::SECRET_SIZE, key.ab, bdSecurityKey::SIZE);
  unsigned char digest[bdHashTiger192::HASH_SIZE];
  unsigned int length = sizeof digest;
  bdHashTiger192 hash;
  if (!hash.hash(input, sizeof input, digest, length) || length != sizeof m_sharedKey) {
    bdLogWarn(kChannel, "unable to create hash.");
    return false;
  }
  std::memcpy(m_sharedKey, digest, sizeof m_sharedKey);
  m_dataKey.set(m_sharedKey);
  m_keyValid = true;
  unsigned int words[6];
  std::memcpy(words, m_sharedKey, sizeof words);
  bdLogInfo(kChannel, "Shared key: %08x %08x %08x %08x %08x %08x", words[0], words[1], words[2],
            words[3], words[4], words[5]);
  return true;
}

void bdDTLSAssociation::pump() {
  if (m_addrHandle.notNull()) {
    char text[22] = "";
    m_addrHandle->toString(text, sizeof text);
    switch (m_addrHandle->m_status) {
      case bdAddrHandle::BD_ADDR_NOT_RESOLVED:
        bdLogWarn(kChannel, "Address not resolved (%s). Shouldn't be here. Closing.", text);
        m_state = BD_DTLS_CLOSED;
        break;
      case bdAddrHandle::BD_ADDR_ERROR:
        bdLogWarn(kChannel, "Address error.");
        m_state = BD_DTLS_CLOSED;
        break;
      case bdAddrHandle::BD_ADDR_UNREGISTERED:
        bdLogInfo(kChannel, "Address unregistered. Closing DTLS.");
        m_state = BD_DTLS_CLOSED;
        break;
      default:
        break;
    }
  }
  if (m_receiveTimer.getElapsedTimeAsSeconds() > RECEIVE_TIMEOUT) {
    if (m_state != BD_DTLS_CLOSED) bdLogInfo(kChannel, "DTLS receive timeout. Closing.");
    m_state = BD_DTLS_CLOSED;
    return;
  }
  if (m_state == BD_DTLS_COOKIE_WAIT && m_initTimer.getElapsedTimeInSeconds() > RESEND_SECONDS) {
    sendInit();
  } else if (m_state == BD_DTLS_COOKIE_ECHOED &&
             m_cookieTimer.getElapsedTimeInSeconds() > RESEND_SECONDS) {
    sendCookieEcho(m_peerAddr);
  }
}
