#pragma once
// Secures the datagrams exchanged with one peer address: a four-way
// handshake with a stateless signed cookie and tie-tags for restarts and
// collisions, a key agreed from the peers' public keys and a pre-shared
// security key, then encrypted, authenticated DATA with a replay window.
#include <cstdint>

#include "bdAddressMap/bdAddrHandle.h"
#include "bdCore/bdContainers/bdSequenceNumber.h"
#include "bdCore/bdUtilities/bdStopwatch.h"
#include "bdCore/bdUtilities/bdTimer.h"
#include "bdDTLS/bdDTLSData.h"
#include "bdSocket/bdAddr.h"
#include "bdSocket/bdSecurity/bdSecurityID.h"

class bdAddressMap;
class bdDHKey;
class bdDTLSCookieEcho;
class bdDTLSInit;
class bdDTLSInitAck;
class bdSecurityKeyMap;
class bdSocket;

// What the socket router reports of a peer's datagram path.
enum bdSocketStatus {
  BD_SOCKET_IDLE = 0,
  BD_SOCKET_PENDING = 1,
  BD_SOCKET_CONNECTED = 2,
  BD_SOCKET_LOST = 3,
};

class bdDTLSAssociation {
 public:
  enum bdDTLSStatus {
    BD_DTLS_CLOSED = 0,
    BD_DTLS_COOKIE_WAIT = 1,
    BD_DTLS_COOKIE_ECHOED = 2,
    BD_DTLS_ESTABLISHED = 3,
  };
  static constexpr unsigned int BUFFER_SIZE = 1328;
  static constexpr unsigned int MAX_PAYLOAD = 1304;
  static constexpr unsigned int MAX_RETRIES = 5;
  static constexpr float RESEND_SECONDS = 1.0f;
  static constexpr double RECEIVE_TIMEOUT = 30.0;
  static constexpr unsigned int COOKIE_LIFETIME = 60;

  // The address map and this host's own common address are shared by every
  // association; none of the pointers is owned.
  bdDTLSAssociation(bdSocket* socket, bdSecurityKeyMap* keyMap, bdDHKey* ecc, bdAddressMap* addrMap,
                    bdReference<bdCommonAddr> localAddr, const bdAddr& peerAddr,
                    bdAddrHandleRef addrHandle);
  virtual ~bdDTLSAssociation();
  bdDTLSAssociation(const bdDTLSAssociation&) = delete;
  bdDTLSAssociation& operator=(const bdDTLSAssociation&) = delete;

  virtual int sendTo(const bdAddr& to, const void* data, unsigned int size);
  // -2 for a packet that yields nothing for the application; else the
  // length of the payload written to out, with handle set to the peer's.
  virtual int receiveFrom(const bdAddr& from, const void* data, unsigned int size,
                          bdAddrHandleRef& handle, unsigned char* out, unsigned int outSize);

  void reset();
  void connect();
  void pump();
  bdSocketStatus getStatus() const;
  int getState() const { return m_state; }
  bdAddrHandleRef getAddrHandle() const { return m_addrHandle; }
  std::uint16_t getLocalTag() const { return m_localTag; }
  std::uint16_t getPeerTag() const { return m_peerTag; }
  bool hasSharedKey() const { return m_keyValid; }
  const unsigned char* getSharedKey() const { return m_sharedKey; }
  const bdSecurityID& getSecID() const { return m_secID; }

  // The millisecond tick stamped into cookies, on the SDK's clock.
  static std::uint32_t getTickCount();

 private:
  bool sendPacket(const bdAddr& to, const class bdDTLSHeader& packet);
  void sendInit();
  void sendInitAck(const bdAddr& to, const bdDTLSInit& init);
  void sendCookieEcho(const bdAddr& to);
  void sendCookieAck(const bdAddr& to);
  void sendError(const bdAddr& to, std::uint32_t type);
  int sendData(const bdAddr& to, const void* data, unsigned int size);

  void handleInit(const bdAddr& from, const unsigned char* data, unsigned int size);
  void handleInitAck(const bdAddr& from, const unsigned char* data, unsigned int size);
  void handleCookieEcho(const bdAddr& from, const unsigned char* data, unsigned int size);
  void handleCookieAck(const bdAddr& from, const unsigned char* data, unsigned int size);
  void handleError(const bdAddr& from, const unsigned char* data, unsigned int size);
  int handleData(const bdAddr& from, const unsigned char* data, unsigned int size,
                 bdAddrHandleRef& handle, unsigned char* out, unsigned int outSize);

  bool checkCookieValidity(const bdAddr& from, const bdDTLSCookieEcho& echo);
  bool newAssociation(const bdAddr& from, const bdDTLSCookieEcho& echo, bdDHKey& peerKey,
                      bdReference<bdCommonAddr> peerCA, bool expected);
  bool calculateSharedKey(bdDHKey& peerKey, const bdSecurityID& id);
  bool exportKey(unsigned char (&key)[100]);

  bdSocket* m_socket;
  bdSecurityKeyMap* m_keyMap;
  bdDHKey* m_ECCKey;
  bdAddressMap* m_addrMap;
  bdReference<bdCommonAddr> m_localAddr;
  unsigned char m_sharedKey[24];
  bdDTLSDataKey m_dataKey;
  bool m_keyValid;
  bdAddr m_peerAddr;
  bdAddrHandleRef m_addrHandle;
  int m_state;
  bdStopwatch m_receiveTimer;
  bdTimer m_initTimer;
  std::uint8_t m_initResends;
  bdTimer m_cookieTimer;
  std::uint8_t m_cookieResends;
  std::uint16_t m_localTag;
  std::uint16_t m_peerTag;
  bdSequenceNumber m_seqNum;
  bdReplayWindow m_incomingSeqNums;
  bdDTLSInitAck* m_initAck;
  bdSecurityID m_secID;
};
