#include "upnpGateway.h"

#include <cstdlib>
#include <cstring>

#include "bdSocket/bdPlatformSocket.h"

namespace {

std::string addrText(const bdAddr& addr) {
  char text[32];
  addr.toString(text, sizeof text);
  return text;
}

// The text of <name>...</name>, or empty.
std::string element(const std::string& text, const std::string& name) {
  const std::string open = "<" + name + ">";
  const std::size_t start = text.find(open);
  if (start == std::string::npos) return "";
  const std::size_t end = text.find("</" + name + ">", start);
  if (end == std::string::npos) return "";
  return text.substr(start + open.size(), end - start - open.size());
}

// The value of a header, matched without regard to case.
std::string header(const std::string& head, const std::string& name) {
  std::string lower = head;
  std::string key = "\r\n" + name + ":";
  for (char& c : lower)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (char& c : key)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const std::size_t at = lower.find(key);
  if (at == std::string::npos) return "";
  std::size_t start = at + key.size();
  while (start < head.size() && head[start] == ' ')
    ++start;
  const std::size_t end = head.find("\r\n", start);
  return head.substr(start, end - start);
}

std::string http(const std::string& status, const std::string& body) {
  return "HTTP/1.1 " + status + "\r\nCONTENT-TYPE: text/xml; charset=\"utf-8\"\r\n" +
         "CONTENT-LENGTH: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

std::string envelope(const std::string& inner) {
  return "<?xml version=\"1.0\"?>\r\n"
         "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\" "
         "s:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\">\r\n<s:Body>\r\n" +
         inner + "</s:Body>\r\n</s:Envelope>\r\n";
}

std::string upnpError(int code, const std::string& description) {
  return http("500 Internal Server Error",
              envelope("<s:Fault>\r\n<faultcode>s:Client</faultcode>\r\n"
                       "<faultstring>UPnPError</faultstring>\r\n<detail>\r\n"
                       "<UPnPError xmlns=\"urn:schemas-upnp-org:control-1-0\">\r\n<errorCode>" +
                       std::to_string(code) + "</errorCode>\r\n<errorDescription>" + description +
                       "</errorDescription>\r\n</UPnPError>\r\n</detail>\r\n</s:Fault>\r\n"));
}

}  // namespace

bool UPnPGateway::start(const bdInetAddr& address) {
  if (!m_ssdp.create(false) || m_ssdp.bind(bdAddr(address, 0)) != BD_NET_SUCCESS) return false;
  bdInetAddr bound;
  unsigned short port = 0;
  if (!bdPlatformSocket::getSocketName(m_ssdp.getHandle(), bound, port)) return false;
  m_ssdpAddr = bdAddr(address, port);
  if (!m_listener.create() || m_listener.listen(bdAddr(address, 0)) != BD_NET_SUCCESS ||
      !m_listener.setBlocking(false))
    return false;
  m_httpAddr = bdAddr(address, m_listener.getPort());
  return true;
}

unsigned int UPnPGateway::requestCount(const std::string& action) const {
  unsigned int n = 0;
  for (const std::string& r : m_requests)
    n += r == action ? 1u : 0u;
  return n;
}

void UPnPGateway::pump() {
  answerSearches();
  for (;;) {
    bdAddr peer;
    bdStreamSocket* accepted = m_listener.accept(peer);
    if (accepted == nullptr) break;
    accepted->setBlocking(false);
    auto connection = std::make_unique<Connection>();
    connection->socket.reset(accepted);
    m_connections.push_back(std::move(connection));
  }
  for (auto& connection : m_connections) {
    if (!connection->done && !m_silent) serve(*connection);
  }
  for (std::size_t i = 0; i < m_connections.size();) {
    if (m_connections[i]->done) {
      m_connections.erase(m_connections.begin() + static_cast<long>(i));
    } else {
      ++i;
    }
  }
}

void UPnPGateway::answerSearches() {
  for (;;) {
    char buffer[2048];
    bdAddr from;
    const int got = m_ssdp.receiveFrom(from, buffer, sizeof buffer - 1);
    if (got == BD_NET_WOULD_BLOCK || (got < 0 && got != BD_NET_CONNECTION_RESET)) break;
    if (got <= 0) continue;
    buffer[got] = 0;
    if (std::strstr(buffer, "M-SEARCH") == nullptr) continue;
    const std::string search(buffer);
    const std::size_t st = search.find("ST: ");
    const std::string target =
        st == std::string::npos ? "" : search.substr(st + 4, search.find("\r\n", st) - st - 4);
    std::vector<bdAddr> locations{m_httpAddr};
    locations.insert(locations.end(), m_others.begin(), m_others.end());
    for (const bdAddr& location : locations) {
      const std::string answer =
          !m_ssdpAnswer.empty()
              ? m_ssdpAnswer
              : "HTTP/1.1 200 OK\r\nCACHE-CONTROL: max-age=1800\r\nEXT:\r\nLOCATION: http://" +
                    addrText(location) +
                    "/rootDesc.xml\r\nSERVER: Test/1.0 UPnP/1.0\r\nST: " + target +
                    "\r\nUSN: uuid:00000000-0000-0000-0000-000000000001::" + target + "\r\n\r\n";
      m_ssdp.sendTo(from, answer.data(), static_cast<unsigned int>(answer.size()));
    }
  }
}

void UPnPGateway::serve(Connection& connection) {
  for (;;) {
    char buffer[4096];
    const int got = connection.socket->receive(buffer, sizeof buffer);
    if (got > 0) {
      connection.text.append(buffer, static_cast<std::size_t>(got));
      continue;
    }
    if (got == 0) connection.done = true;  // closed before a whole request
    break;
  }
  const std::size_t headEnd = connection.text.find("\r\n\r\n");
  if (headEnd == std::string::npos) return;
  const std::string head = connection.text.substr(0, headEnd);
  const std::size_t bodyLength =
      static_cast<std::size_t>(std::strtoul(header(head, "CONTENT-LENGTH").c_str(), nullptr, 10));
  if (connection.text.size() < headEnd + 4 + bodyLength) return;
  m_requestTexts.push_back(connection.text);
  const std::string answer = respond(connection.text);
  std::size_t sent = 0;
  for (int tries = 0; sent < answer.size() && tries < 1000; ++tries) {
    const int n = connection.socket->send(answer.data() + sent,
                                          static_cast<unsigned int>(answer.size() - sent));
    if (n > 0) sent += static_cast<std::size_t>(n);
    if (n < 0 && n != BD_NET_WOULD_BLOCK) break;
  }
  connection.socket->close();
  connection.done = true;
}

std::string UPnPGateway::respond(const std::string& request) {
  const std::size_t headEnd = request.find("\r\n\r\n");
  const std::string head = request.substr(0, headEnd);
  if (request.compare(0, 4, "GET ") == 0) {
    m_requests.push_back("GET");
    return !m_description.empty() ? m_description : http("200 OK", descriptionText());
  }
  const std::string action = header(head, "SOAPACTION");
  const std::size_t hash = action.find('#');
  const std::string name =
      hash == std::string::npos ? "" : action.substr(hash + 1, action.find('"', hash) - hash - 1);
  m_requests.push_back(name);
  const auto replaced = m_soapAnswers.find(name);
  if (replaced != m_soapAnswers.end()) return replaced->second;
  return soap(name, request.substr(headEnd + 4));
}

std::string UPnPGateway::soap(const std::string& action, const std::string& body) {
  const std::string service = std::string("urn:schemas-upnp-org:service:") +
                              (m_ppp ? "WANPPPConnection:1" : "WANIPConnection:1");
  const std::string reply = "<u:" + action + "Response xmlns:u=\"" + service + "\">\r\n";
  const std::string replyEnd = "</u:" + action + "Response>\r\n";
  const unsigned short port = static_cast<unsigned short>(
      std::strtoul(element(body, "NewExternalPort").c_str(), nullptr, 10));
  if (action == "GetExternalIPAddress") {
    return http("200 OK", envelope(reply + "<NewExternalIPAddress>" + m_externalIP +
                                   "</NewExternalIPAddress>\r\n" + replyEnd));
  }
  if (element(body, "NewProtocol") != "UDP" || port == 0) return upnpError(402, "Invalid Args");
  const auto found = m_mappings.find(port);
  if (action == "GetSpecificPortMappingEntry") {
    if (found == m_mappings.end()) return upnpError(714, "NoSuchEntryInArray");
    return http("200 OK",
                envelope(reply + "<NewInternalPort>" + std::to_string(found->second.internalPort) +
                         "</NewInternalPort>\r\n<NewInternalClient>" + found->second.client +
                         "</NewInternalClient>\r\n<NewEnabled>1</NewEnabled>\r\n"
                         "<NewPortMappingDescription>test</NewPortMappingDescription>\r\n"
                         "<NewLeaseDuration>0</NewLeaseDuration>\r\n" +
                         replyEnd));
  }
  if (action == "AddPortMapping") {
    const std::string client = element(body, "NewInternalClient");
    if (found != m_mappings.end() && found->second.client != client)
      return upnpError(718, "ConflictInMappingEntry");
    Mapping mapping;
    mapping.client = client;
    mapping.internalPort = static_cast<unsigned short>(
        std::strtoul(element(body, "NewInternalPort").c_str(), nullptr, 10));
    m_mappings[port] = mapping;
    return http("200 OK", envelope(reply + replyEnd));
  }
  if (action == "DeletePortMapping") {
    if (found == m_mappings.end()) return upnpError(714, "NoSuchEntryInArray");
    m_mappings.erase(found);
    return http("200 OK", envelope(reply + replyEnd));
  }
  return upnpError(401, "Invalid Action");
}

std::string UPnPGateway::descriptionText() const {
  const std::string service = m_ppp ? "WANPPPConnection:1" : "WANIPConnection:1";
  return "<?xml version=\"1.0\"?>\r\n<root xmlns=\"urn:schemas-upnp-org:device-1-0\">\r\n"
         "<specVersion><major>1</major><minor>0</minor></specVersion>\r\n" +
         m_urlBase +
         "<device>\r\n<deviceType>urn:schemas-upnp-org:device:InternetGatewayDevice:1"
         "</deviceType>\r\n<friendlyName>Test gateway</friendlyName>\r\n<deviceList>\r\n"
         "<device>\r\n<deviceType>urn:schemas-upnp-org:device:WANDevice:1</deviceType>\r\n"
         "<deviceList>\r\n<device>\r\n"
         "<deviceType>urn:schemas-upnp-org:device:WANConnectionDevice:1</deviceType>\r\n"
         "<serviceList>\r\n<service>\r\n<serviceType>urn:schemas-upnp-org:service:" +
         service + "</serviceType>\r\n<serviceId>urn:upnp-org:serviceId:WANConn1</serviceId>\r\n" +
         "<controlURL>" + m_controlURL + "</controlURL>\r\n" +
         "<eventSubURL>/upnp/event/WANConnection</eventSubURL>\r\n" +
         "<SCPDURL>/WANConnection.xml</SCPDURL>\r\n</service>\r\n</serviceList>\r\n"
         "</device>\r\n</deviceList>\r\n</device>\r\n</deviceList>\r\n</device>\r\n</root>\r\n";
}
