#pragma once
// The test configuration web server. Single-threaded: the owner calls pump()
// between client steps. Each client's request is read up to its blank line,
// recorded, and answered with the raw answer set by the test; the
// connection is then closed (or reset, to stand for a broken transfer).
#include <memory>
#include <string>
#include <vector>

#include "bdSocket/bdStreamSocket.h"

namespace configserver {

class ConfigServer {
 public:
  ConfigServer() = default;
  ~ConfigServer();
  ConfigServer(const ConfigServer&) = delete;
  ConfigServer& operator=(const ConfigServer&) = delete;

  bool start(unsigned short port = 0);
  unsigned short getPort() const { return m_port; }
  void pump();

  void setAnswer(const std::string& bytes) { m_answer = bytes; }
  // An HTTP/1.1 200 answer around a body, with its Content-Length.
  static std::string ok(const std::string& body);
  const std::string& lastRequest() const { return m_lastRequest; }

 private:
  struct Client {
    std::unique_ptr<bdStreamSocket> socket;
    std::string in;
    std::string out;
    bool answered = false;
  };

  bdStreamSocket m_listener;
  unsigned short m_port = 0;
  std::string m_answer;
  std::string m_lastRequest;
  std::vector<std::unique_ptr<Client>> m_clients;
};

}  // namespace configserver
