#include "bdUPnP/bdUPnP.h"

#include <cstdio>

#include "bdCore/bdLog/bdLog.h"
#include "bdUPnP/bdUPnPText.h"

namespace {
const char* const kChannel = "bdnet/upnp";
const char* const kIPService = "WANIPConnection:1";
const char* const kPPPService = "WANPPPConnection:1";
constexpr unsigned int kSearchSize = 137;
constexpr unsigned int kQueryReplySize = 1024;
constexpr unsigned int kChangeReplySize = 2048;
}  // namespace

bdUPnP::bdUPnPDevice::bdUPnPDevice(const bdAddr& addr)
    : m_state(READY),
      m_addr(addr),
      m_controlPath(),
      m_hasControlPath(false),
      m_socket(nullptr),
      m_isIPConnection(false),
      m_request(),
      m_requestLength(0),
      m_requestSent(0),
      m_localAddr(),
      m_readBuffer(),
      m_readBufferOffset(0) {}

bdUPnP::bdUPnPDevice::~bdUPnPDevice() { closeSocket(); }

void bdUPnP::bdUPnPDevice::closeSocket() {
  if (m_socket == nullptr) return;
  m_socket->close();
  delete m_socket;
  m_socket = nullptr;
}

bdUPnP::bdUPnP()
    : m_status(BD_UPNP_NOT_STARTED),
      m_lastError(1),
      m_ssdpOpen(false),
      m_discoveryTime(3.0f),
      m_ssdpAddr(bdInetAddr::fromBytes(239, 255, 255, 250), 1900),
      m_queryPort(0) {}

bdUPnP::~bdUPnP() {
  for (auto* node = m_devices.getTail(); node != nullptr; node = m_devices.getTail()) {
    delete node->m_value;
    m_devices.remove(node);
  }
  m_mappedPorts.clear();
  if (m_ssdpOpen) m_ssdpSocket.close();
}

void bdUPnP::enter(bdUPnPStatus status) {
  m_status = status;
  if (status == BD_UPNP_NO_DEVICES || status == BD_UPNP_READY || status == BD_UPNP_MAPPED ||
      status == BD_UPNP_COLLISION || status == BD_UPNP_FAILED)
    m_timer.reset();
}

void bdUPnP::fail(int error) {
  m_lastError = error;
  enter(BD_UPNP_FAILED);
}

bool bdUPnP::isPortMapped(unsigned short port) const {
  for (auto* node = m_mappedPorts.getTail(); node != nullptr; node = node->m_prev) {
    if (node->m_value == port) return true;
  }
  return false;
}

void bdUPnP::startDiscovery() {
  if (m_discoveryTime == 0.0f) {
    m_timer.reset();
    m_status = BD_UPNP_NO_DEVICES;
    return;
  }
  if (!m_ssdpOpen) {
    m_ssdpOpen = m_ssdpSocket.create(true);
    if (!m_ssdpOpen) {
      fail(-1);
      return;
    }
    const int bound = m_ssdpSocket.bind(static_cast<unsigned short>(0));
    if (bound != BD_NET_SUCCESS) {
      m_ssdpOpen = false;  // the platform closed it
      fail(bound);
      return;
    }
  }
  if (!sendSearch(kIPService) || !sendSearch(kPPPService)) return;
  m_timer.start();
  m_status = BD_UPNP_DISCOVERING;
}

bool bdUPnP::sendSearch(const char* service) {
  char search[kSearchSize];
  const int length = std::snprintf(search, sizeof search,
                                   "M-SEARCH * HTTP/1.1\r\n"
                                   "MX: 1\r\n"
                                   "HOST: 239.255.255.250:1900\r\n"
                                   "MAN: \"ssdp:discover\"\r\n"
                                   "ST: urn:schemas-upnp-org:service:%s\r\n"
                                   "\r\n",
                                   service);
  const int sent = m_ssdpSocket.sendTo(m_ssdpAddr, search, static_cast<unsigned int>(length));
  if (sent != length) {
    fail(sent < 0 ? sent : -1);
    return false;
  }
  return true;
}

void bdUPnP::pump() {
  if (m_status == BD_UPNP_DISCOVERING) {
    char answer[MAX_SSDP_ANSWER + 1];
    bdAddr from;
    const int got = m_ssdpSocket.receiveFrom(from, answer, MAX_SSDP_ANSWER);
    if (got > 0) {
      answer[got] = 0;
      registerDevice(answer);
    } else if (got < 0 && got != BD_NET_WOULD_BLOCK) {
      fail(got);
    }
    if (m_status == BD_UPNP_DISCOVERING &&
        m_timer.getElapsedTimeAsSeconds() >= static_cast<double>(m_discoveryTime))
      enter(m_devices.isEmpty() ? BD_UPNP_NO_DEVICES : BD_UPNP_READY);
  } else if (m_timer.getElapsedTimeAsSeconds() >= PHASE_TIMEOUT_SECONDS) {
    fail(-1);
  }
  if (m_devices.isEmpty()) return;
  // A failure ends this walk; after one, routers still finish what they
  // were sending and reading, so a later request finds them ready.
  const bool failedBefore = m_status == BD_UPNP_FAILED;
  bool readOne = false;
  for (auto* node = m_devices.getHead();
       node != nullptr && (failedBefore || m_status != BD_UPNP_FAILED); node = node->m_next) {
    bdUPnPDevice& device = *node->m_value;
    switch (device.m_state) {
      case bdUPnPDevice::READ_DESCRIPTION:
      case bdUPnPDevice::READ_QUERY:
      case bdUPnPDevice::READ_ADD:
      case bdUPnPDevice::READ_DELETE:
        if (!readOne) {
          readOne = true;
          readReply(device);
        }
        break;
      case bdUPnPDevice::SEND_DESCRIPTION:
      case bdUPnPDevice::SEND_QUERY:
      case bdUPnPDevice::SEND_ADD:
      case bdUPnPDevice::SEND_DELETE:
        sendRequest(device);
        break;
      default:
        break;
    }
  }
}

void bdUPnP::registerDevice(const char* answer) {
  bdAddr addr;
  char path[bdUPnPDevice::MAX_PATH_LENGTH + 1];
  const bdUPnPText::LocationResult found =
      bdUPnPText::parseLocation(answer, addr, path, sizeof path);
  if (found != bdUPnPText::LOCATION_OK) {
    static const char* const kWarnings[] = {"",
                                            "no http:// token found in discovery response",
                                            "No fetch path found after URL",
                                            "No router address in discovery response",
                                            "No carriage return after fetch location",
                                            "Fetch location unusable"};
    bdLogWarn(kChannel, "%s", kWarnings[found]);
    fail(-1);
    return;
  }
  for (auto* node = m_devices.getTail(); node != nullptr; node = node->m_prev) {
    if (node->m_value->m_addr == addr) return;
  }
  auto* device = new bdUPnPDevice(addr);
  char hostText[32];
  addr.toString(hostText, sizeof hostText);
  if (!connect(*device)) {
    device->m_state = bdUPnPDevice::UNUSABLE;
  } else {
    const int length =
        std::snprintf(device->m_request, sizeof device->m_request,
                      "GET %s HTTP/1.1\r\nConnection: close\r\nHost: %s\r\n\r\n", path, hostText);
    device->m_requestLength = static_cast<unsigned int>(length);
    device->m_requestSent = 0;
    device->m_state = bdUPnPDevice::SEND_DESCRIPTION;
  }
  if (!m_devices.addTail(device)) delete device;
}

bool bdUPnP::connect(bdUPnPDevice& device) {
  device.closeSocket();
  device.m_socket = new bdStreamSocket();
  if (!device.m_socket->create() || !device.m_socket->setBlocking(false)) {
    device.closeSocket();
    m_lastError = -1;
    return false;
  }
  const int result = device.m_socket->connect(device.m_addr);
  if (result != BD_NET_SUCCESS && result != BD_NET_WOULD_BLOCK) {
    device.closeSocket();
    m_lastError = result;
    return false;
  }
  return true;
}

bool bdUPnP::startRequest(bdUPnPDevice& device, bdUPnPDevice::State waiting, const char* action,
                          const char* arguments) {
  if (!connect(device)) {
    fail(m_lastError);
    return false;
  }
  if (device.m_requestLength != device.m_requestSent)
    bdLogError(kChannel, "http request was not destroyed");
  const char* service = device.m_isIPConnection ? kIPService : kPPPService;
  char body[1536];
  const int bodyLength =
      std::snprintf(body, sizeof body,
                    "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\" "
                    "s:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\">\r\n"
                    "<s:Body>\r\n"
                    "<u:%s xmlns:u=\"urn:schemas-upnp-org:service:%s\">\r\n"
                    "%s</u:%s>\r\n"
                    "</s:Body>\r\n"
                    "</s:Envelope>\r\n",
                    action, service, arguments, action);
  char hostText[32];
  device.m_addr.toString(hostText, sizeof hostText);
  const int length =
      std::snprintf(device.m_request, sizeof device.m_request,
                    "POST %s HTTP/1.1\r\n"
                    "HOST: %s\r\n"
                    "SOAPACTION: \"urn:schemas-upnp-org:service:%s#%s\"\r\n"
                    "CONTENT-TYPE: text/xml; charset=\"utf-8\"\r\n"
                    "CONTENT-LENGTH: %d\r\n"
                    "\r\n"
                    "%s",
                    device.m_controlPath, hostText, service, action, bodyLength, body);
  if (bodyLength < 0 || bodyLength >= static_cast<int>(sizeof body) || length < 0 ||
      length >= static_cast<int>(sizeof device.m_request)) {
    device.closeSocket();
    fail(-1);
    return false;
  }
  device.m_requestLength = static_cast<unsigned int>(length);
  device.m_requestSent = 0;
  device.m_state = waiting;
  return true;
}

void bdUPnP::sendRequest(bdUPnPDevice& device) {
  if (device.m_socket == nullptr) return;
  const int sent = device.m_socket->send(device.m_request + device.m_requestSent,
                                         device.m_requestLength - device.m_requestSent);
  if (sent == BD_NET_WOULD_BLOCK || sent == BD_NET_NOT_CONNECTED) return;
  if (sent < 0) {
    fail(sent);
    return;
  }
  // What the socket did not take goes out on a later pump.
  device.m_requestSent += static_cast<unsigned int>(sent);
  if (device.m_requestSent < device.m_requestLength) return;
  device.m_requestLength = 0;
  device.m_requestSent = 0;
  device.m_readBufferOffset = 0;
  device.m_state = static_cast<bdUPnPDevice::State>(device.m_state + 1);
}

const char* bdUPnP::receive(bdUPnPDevice& device, unsigned int limit) {
  if (device.m_socket == nullptr) {
    fail(-1);
    return nullptr;
  }
  for (;;) {
    // A reply that fills the buffer is read as it stands.
    if (device.m_readBufferOffset >= limit) break;
    const int got = device.m_socket->receive(device.m_readBuffer + device.m_readBufferOffset,
                                             limit - device.m_readBufferOffset);
    if (got == BD_NET_WOULD_BLOCK || got == BD_NET_NOT_CONNECTED) return nullptr;
    if (got < 0) {
      fail(got);
      return nullptr;
    }
    if (got == 0) break;
    device.m_readBufferOffset += static_cast<unsigned int>(got);
  }
  device.m_readBuffer[device.m_readBufferOffset] = 0;
  device.m_readBufferOffset = 0;
  return device.m_readBuffer;
}

void bdUPnP::readReply(bdUPnPDevice& device) {
  switch (device.m_state) {
    case bdUPnPDevice::READ_DESCRIPTION: {
      const char* text = receive(device, bdUPnPDevice::MAX_REPLY_LENGTH);
      if (text != nullptr) handleDescription(device, text);
      break;
    }
    case bdUPnPDevice::READ_QUERY: {
      const char* text = receive(device, kQueryReplySize);
      if (text != nullptr) handleQueryReply(device, text);
      break;
    }
    case bdUPnPDevice::READ_ADD:
    case bdUPnPDevice::READ_DELETE: {
      const bool adding = device.m_state == bdUPnPDevice::READ_ADD;
      if (adding && m_status != BD_OPENING)
        bdLogError(kChannel, "map replies should only be fetched in BD_OPENING state");
      if (!adding && m_status != BD_CLOSING)
        bdLogError(kChannel, "unmap replies should only be fetched in BD_CLOSING state");
      const char* text = receive(device, kChangeReplySize);
      if (text != nullptr) handleChangeReply(device, text, adding);
      break;
    }
    default:
      break;
  }
}

void bdUPnP::handleDescription(bdUPnPDevice& device, const char* text) {
  unsigned short port = 0;
  if (device.m_socket == nullptr ||
      !bdPlatformSocket::getSocketName(device.m_socket->getHandle(), device.m_localAddr, port)) {
    fail(-1);
    return;
  }
  device.closeSocket();
  switch (bdUPnPText::parseDescription(text, device.m_addr, device.m_isIPConnection,
                                       device.m_controlPath, sizeof device.m_controlPath)) {
    case bdUPnPText::DESCRIPTION_OK:
      device.m_hasControlPath = true;
      device.m_state = bdUPnPDevice::READY;
      break;
    case bdUPnPText::DESCRIPTION_NO_SERVICE:
      device.m_state = bdUPnPDevice::UNUSABLE;
      break;
    case bdUPnPText::DESCRIPTION_BAD_URLBASE:
      bdLogWarn(kChannel, "URLBase does not begin with HTTP://");
      fail(-1);
      break;
    case bdUPnPText::DESCRIPTION_BAD_CONTROL_URL:
      fail(-1);
      break;
  }
}

bool bdUPnP::anyDeviceIn(bdUPnPDevice::State state) const {
  for (auto* node = m_devices.getTail(); node != nullptr; node = node->m_prev) {
    if (node->m_value->m_state == state) return true;
  }
  return false;
}

bool bdUPnP::allDevicesIn(bdUPnPDevice::State a, bdUPnPDevice::State b) const {
  for (auto* node = m_devices.getTail(); node != nullptr; node = node->m_prev) {
    if (node->m_value->m_state != a && node->m_value->m_state != b) return false;
  }
  return true;
}

void bdUPnP::queryMapping(unsigned short port, const bdArray<bdInetAddr>* localAddresses) {
  if (m_status != BD_UPNP_READY && m_status != BD_UPNP_COLLISION && m_status != BD_UPNP_FAILED) {
    bdLogError(kChannel, "bdUPnP is not ready to query mappings");
    return;
  }
  char arguments[256];
  std::snprintf(arguments, sizeof arguments,
                "<NewRemoteHost></NewRemoteHost>\r\n"
                "<NewExternalPort>%d</NewExternalPort>\r\n"
                "<NewProtocol>UDP</NewProtocol>\r\n",
                port);
  m_status = BD_UPNP_QUERYING;
  for (auto* node = m_devices.getHead(); node != nullptr && m_status != BD_UPNP_FAILED;
       node = node->m_next) {
    bdUPnPDevice& device = *node->m_value;
    if (device.m_state == bdUPnPDevice::READY || device.m_state == bdUPnPDevice::MAPPED)
      startRequest(device, bdUPnPDevice::SEND_QUERY, "GetSpecificPortMappingEntry", arguments);
  }
  if (m_status == BD_UPNP_FAILED) return;
  m_queryPort = port;
  // A copy: the caller's array need not outlive the query.
  m_localAddresses.clear();
  if (localAddresses != nullptr) m_localAddresses = *localAddresses;
  m_timer.start();
}

void bdUPnP::handleQueryReply(bdUPnPDevice& device, const char* text) {
  device.closeSocket();
  device.m_state = bdUPnPDevice::READY;
  if (m_status != BD_UPNP_QUERYING) return;
  bdInetAddr owner;
  const bdUPnPText::QueryResult result = bdUPnPText::parseQueryReply(text, owner);
  if (result == bdUPnPText::QUERY_NO_MAPPING) {
    if (!anyDeviceIn(bdUPnPDevice::READ_QUERY) && !anyDeviceIn(bdUPnPDevice::SEND_QUERY))
      enter(BD_UPNP_READY);
    return;
  }
  if (result == bdUPnPText::QUERY_MALFORMED) {
    fail(-1);
    return;
  }
  if (m_localAddresses.getSize() == 0)
    bdLogError(kChannel, "local addresses not properly assigned in bdUPnP");
  bool ours = false;
  for (unsigned int i = 0; i < m_localAddresses.getSize(); ++i)
    ours = ours || m_localAddresses[i] == owner;
  if (!ours) {
    enter(BD_UPNP_COLLISION);
    return;
  }
  if (allDevicesIn(bdUPnPDevice::MAPPED, bdUPnPDevice::READY)) {
    if (!isPortMapped(m_queryPort)) m_mappedPorts.addTail(m_queryPort);
    enter(BD_UPNP_MAPPED);
    bdLogInfo("info", "existing UPnP mapping found, using that one");
  }
}

void bdUPnP::openPort(unsigned short port, const bdInetAddr address) {
  if (m_status != BD_UPNP_READY && m_status != BD_UPNP_FAILED) {
    bdLogError(kChannel, "bdUPnP is not ready to open ports");
    return;
  }
  char client[32];
  address.toString(client, sizeof client);
  char arguments[768];
  std::snprintf(arguments, sizeof arguments,
                "      <NewRemoteHost></NewRemoteHost>\r\n"
                "      <NewExternalPort>%d</NewExternalPort>\r\n"
                "      <NewProtocol>UDP</NewProtocol>\r\n"
                "      <NewInternalPort>%d</NewInternalPort>\r\n"
                "      <NewInternalClient>%s</NewInternalClient>\r\n"
                "      <NewEnabled>1</NewEnabled>\r\n"
                "      <NewPortMappingDescription>RezovovozPortMapping"
                "</NewPortMappingDescription>\r\n"
                "      <NewLeaseDuration>0</NewLeaseDuration>\r\n",
                port, port, client);
  m_status = BD_OPENING;
  for (auto* node = m_devices.getHead(); node != nullptr && m_status != BD_UPNP_FAILED;
       node = node->m_next) {
    bdUPnPDevice& device = *node->m_value;
    if (device.m_state != bdUPnPDevice::READY && device.m_state != bdUPnPDevice::MAPPED) continue;
    // Listed once however many routers map it, so closing deletes it once.
    if (!isPortMapped(port)) m_mappedPorts.addTail(port);
    startRequest(device, bdUPnPDevice::SEND_ADD, "AddPortMapping", arguments);
  }
  if (m_status == BD_UPNP_FAILED) return;
  m_timer.start();
}

void bdUPnP::handleChangeReply(bdUPnPDevice& device, const char* text, bool adding) {
  device.closeSocket();
  if (!bdUPnPText::isSuccess(text)) {
    device.m_state = bdUPnPDevice::READY;
    fail(-1);
    return;
  }
  device.m_state = adding ? bdUPnPDevice::MAPPED : bdUPnPDevice::UNMAPPED;
  // A late answer after the phase ended (a failure elsewhere) must not turn
  // that failure into a success.
  if (m_status != (adding ? BD_OPENING : BD_CLOSING)) return;
  if (anyDeviceIn(adding ? bdUPnPDevice::READ_ADD : bdUPnPDevice::READ_DELETE) ||
      anyDeviceIn(adding ? bdUPnPDevice::SEND_ADD : bdUPnPDevice::SEND_DELETE))
    return;
  if (adding) {
    enter(BD_UPNP_MAPPED);
    bdLogInfo("info", "UPnP mapping successful");
    return;
  }
  bdLogInfo("info", "UPnP unmapping successful");
  if (m_mappedPorts.isEmpty()) {
    enter(BD_UPNP_READY);
  } else {
    removeNextPort();
  }
}

void bdUPnP::startClosing() {
  m_timer.start();
  m_status = BD_CLOSING;
  removeNextPort();
}

void bdUPnP::removeNextPort() {
  if (m_status != BD_CLOSING) {
    bdLogError(kChannel, "this function is only reachable in BD_CLOSING state");
    return;
  }
  if (m_mappedPorts.isEmpty() || m_devices.isEmpty()) {
    enter(BD_UPNP_READY);
    return;
  }
  auto* first = m_mappedPorts.getHead();
  const unsigned short port = first->m_value;
  char arguments[256];
  std::snprintf(arguments, sizeof arguments,
                "<NewRemoteHost></NewRemoteHost>\r\n"
                "<NewExternalPort>%d</NewExternalPort>\r\n"
                "<NewProtocol>UDP</NewProtocol>\r\n",
                port);
  bool asked = false;
  for (auto* node = m_devices.getHead(); node != nullptr && m_status != BD_UPNP_FAILED;
       node = node->m_next) {
    bdUPnPDevice& device = *node->m_value;
    if (!device.m_hasControlPath) continue;
    asked =
        startRequest(device, bdUPnPDevice::SEND_DELETE, "DeletePortMapping", arguments) || asked;
  }
  m_mappedPorts.remove(first);
  // No router can take the request: nothing is waited for.
  if (!asked && m_status == BD_CLOSING) removeNextPort();
}
