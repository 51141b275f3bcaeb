#pragma once
// A fake UPnP gateway on loopback: a UDP socket answering SSDP searches with
// the location of its description, and an HTTP server for the description
// and the port-mapping SOAP actions (query, add, delete, external address).
// Tests may replace any answer with text of their own to check refusals.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bdSocket/bdAddr.h"
#include "bdSocket/bdSocket.h"
#include "bdSocket/bdStreamSocket.h"

class UPnPGateway {
 public:
  struct Mapping {
    std::string client;
    unsigned short internalPort = 0;
  };

  // Binds both sockets on address (free ports); false when that fails.
  bool start(const bdInetAddr& address);
  // Answers every search and request that has arrived.
  void pump();

  const bdAddr& getSSDPAddr() const { return m_ssdpAddr; }
  const bdAddr& getHTTPAddr() const { return m_httpAddr; }

  // How the description presents the service.
  void setPPP(bool ppp) { m_ppp = ppp; }
  void setURLBase(const std::string& element) { m_urlBase = element; }
  void setControlURL(const std::string& url) { m_controlURL = url; }
  // Also announce another gateway's description in answer to a search.
  void alsoAnnounce(const bdAddr& httpAddr) { m_others.push_back(httpAddr); }
  // Raw replacements for the answers (empty: the gateway's own).
  void setSSDPAnswer(const std::string& text) { m_ssdpAnswer = text; }
  void setDescription(const std::string& text) { m_description = text; }
  void setSOAPAnswer(const std::string& action, const std::string& text) {
    if (text.empty()) {
      m_soapAnswers.erase(action);
    } else {
      m_soapAnswers[action] = text;
    }
  }
  // Stops answering HTTP requests (they stay unread).
  void setSilent(bool silent) { m_silent = silent; }

  std::map<unsigned short, Mapping>& mappings() { return m_mappings; }
  unsigned int requestCount(const std::string& action) const;
  // Every request received, in order ("GET" for descriptions, else the action).
  const std::vector<std::string>& requests() const { return m_requests; }
  const std::vector<std::string>& requestTexts() const { return m_requestTexts; }
  const std::string& externalIP() const { return m_externalIP; }

 private:
  struct Connection {
    std::unique_ptr<bdStreamSocket> socket;
    std::string text;
    bool done = false;
  };
  void answerSearches();
  void serve(Connection& connection);
  std::string respond(const std::string& request);
  std::string soap(const std::string& action, const std::string& body);
  std::string descriptionText() const;

  bdSocket m_ssdp;
  bdStreamSocket m_listener;
  bdAddr m_ssdpAddr;
  bdAddr m_httpAddr;
  std::vector<std::unique_ptr<Connection>> m_connections;
  bool m_ppp = false;
  bool m_silent = false;
  std::string m_urlBase;
  std::string m_controlURL = "/upnp/control/WANConnection";
  std::vector<bdAddr> m_others;
  std::string m_ssdpAnswer;
  std::string m_description;
  std::map<std::string, std::string> m_soapAnswers;
  std::map<unsigned short, Mapping> m_mappings;
  std::vector<std::string> m_requests;
  std::vector<std::string> m_requestTexts;
  std::string m_externalIP = "203.0.113.7";
};
