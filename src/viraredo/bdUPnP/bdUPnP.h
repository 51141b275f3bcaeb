#pragma once
// Asks home routers to forward a UDP port to this machine: an SSDP search
// finds them, each one's description gives the control URL of its WAN
// connection service, and SOAP requests query, add and delete the mapping.
// Every socket is non-blocking; pump advances whatever is under way.
#include "bdCore/bdContainers/bdArray.h"
#include "bdCore/bdContainers/bdLinkedList.h"
#include "bdCore/bdUtilities/bdStopwatch.h"
#include "bdSocket/bdAddr.h"
#include "bdSocket/bdSocket.h"
#include "bdSocket/bdStreamSocket.h"

class bdUPnP {
 public:
  enum bdUPnPStatus {
    BD_UPNP_NOT_STARTED = 0,
    BD_UPNP_DISCOVERING = 1,
    BD_UPNP_NO_DEVICES = 2,
    BD_UPNP_READY = 3,
    BD_UPNP_MAPPED = 4,
    BD_UPNP_QUERYING = 5,
    BD_UPNP_COLLISION = 6,
    BD_OPENING = 7,
    BD_CLOSING = 8,
    BD_UPNP_FAILED = 9,
  };

  // One router found by the search.
  class bdUPnPDevice {
   public:
    enum State {
      SEND_DESCRIPTION = 0,
      READ_DESCRIPTION = 1,
      READY = 2,
      SEND_QUERY = 3,
      READ_QUERY = 4,
      SEND_ADD = 5,
      READ_ADD = 6,
      MAPPED = 7,
      SEND_DELETE = 8,
      READ_DELETE = 9,
      UNMAPPED = 10,
      UNUSABLE = 11,
    };
    static constexpr unsigned int MAX_PATH_LENGTH = 255;
    static constexpr unsigned int MAX_REQUEST_LENGTH = 2047;
    static constexpr unsigned int MAX_REPLY_LENGTH = 6144;

    explicit bdUPnPDevice(const bdAddr& addr);
    ~bdUPnPDevice();
    bdUPnPDevice(const bdUPnPDevice&) = delete;
    bdUPnPDevice& operator=(const bdUPnPDevice&) = delete;

    State m_state;
    bdAddr m_addr;
    char m_controlPath[MAX_PATH_LENGTH + 1];
    bool m_hasControlPath;
    bdStreamSocket* m_socket;
    bool m_isIPConnection;
    char m_request[MAX_REQUEST_LENGTH + 1];
    unsigned int m_requestLength;
    unsigned int m_requestSent;
    bdInetAddr m_localAddr;
    // Each router reads into its own buffer, so replies of two routers never mix.
    char m_readBuffer[MAX_REPLY_LENGTH + 1];
    unsigned int m_readBufferOffset;

    void closeSocket();
  };

  static constexpr double PHASE_TIMEOUT_SECONDS = 10.0;
  static constexpr unsigned int MAX_SSDP_ANSWER = 1024;

  bdUPnP();
  ~bdUPnP();
  bdUPnP(const bdUPnP&) = delete;
  bdUPnP& operator=(const bdUPnP&) = delete;

  void setDiscoveryTime(unsigned int seconds) { m_discoveryTime = static_cast<float>(seconds); }
  // Where the search is sent: the SSDP multicast group unless tests say otherwise.
  void setSSDPAddress(const bdAddr& addr) { m_ssdpAddr = addr; }
  void startDiscovery();
  void pump();
  bdUPnPStatus getStatus() const { return m_status; }
  int getLastError() const { return m_lastError; }
  unsigned int getMappedPortCount() const { return m_mappedPorts.getCount(); }
  bool isPortMapped(unsigned short port) const;
  unsigned int getDeviceCount() const { return m_devices.getCount(); }
  void queryMapping(unsigned short port, const bdArray<bdInetAddr>* localAddresses);
  void openPort(unsigned short port, const bdInetAddr address);
  void startClosing();

 private:
  void fail(int error);
  void enter(bdUPnPStatus status);
  bool sendSearch(const char* service);
  void registerDevice(const char* answer);
  bool startRequest(bdUPnPDevice& device, bdUPnPDevice::State waiting, const char* action,
                    const char* arguments);
  bool connect(bdUPnPDevice& device);
  void sendRequest(bdUPnPDevice& device);
  void readReply(bdUPnPDevice& device);
  // The whole reply once the router closed; null while it is still coming.
  const char* receive(bdUPnPDevice& device, unsigned int limit);
  void handleDescription(bdUPnPDevice& device, const char* text);
  void handleQueryReply(bdUPnPDevice& device, const char* text);
  void handleChangeReply(bdUPnPDevice& device, const char* text, bool adding);
  void removeNextPort();
  bool anyDeviceIn(bdUPnPDevice::State state) const;
  bool allDevicesIn(bdUPnPDevice::State a, bdUPnPDevice::State b) const;

  bdUPnPStatus m_status;
  int m_lastError;
  bdLinkedList<bdUPnPDevice*> m_devices;
  bdLinkedList<unsigned short> m_mappedPorts;
  bdSocket m_ssdpSocket;
  bool m_ssdpOpen;
  float m_discoveryTime;
  bdStopwatch m_timer;
  bdAddr m_ssdpAddr;
  bdArray<bdInetAddr> m_localAddresses;
  unsigned short m_queryPort;
};
