#include "configServer.h"

#include "bdSocket/bdAddr.h"
#include "bdSocket/bdPlatformSocket.h"

namespace configserver {

ConfigServer::~ConfigServer() {
  m_clients.clear();
  m_listener.close();
}

bool ConfigServer::start(unsigned short port) {
  if (!m_listener.create()) return false;
  if (m_listener.listen(bdAddr(bdInetAddr::getLoopback(), port)) != BD_NET_SUCCESS) return false;
  m_listener.setBlocking(false);
  m_port = m_listener.getPort();
  return m_port != 0;
}

std::string ConfigServer::ok(const std::string& body) {
  return "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
         std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

void ConfigServer::pump() {
  for (;;) {
    bdAddr peer;
    bdStreamSocket* s = m_listener.accept(peer);
    if (s == nullptr) break;
    s->setBlocking(false);
    auto c = std::make_unique<Client>();
    c->socket.reset(s);
    m_clients.push_back(std::move(c));
  }
  for (std::size_t i = 0; i < m_clients.size();) {
    Client& c = *m_clients[i];
    bool done = false;
    char chunk[2048];
    for (;;) {
      const int n = c.socket->receive(chunk, sizeof chunk);
      if (n <= 0) {
        done = n == 0 || (n != BD_NET_WOULD_BLOCK && n != BD_NET_NOT_CONNECTED);
        break;
      }
      c.in.append(chunk, static_cast<std::size_t>(n));
    }
    if (!c.answered && c.in.find("\r\n\r\n") != std::string::npos) {
      m_lastRequest = c.in;
      c.out = m_answer;
      c.answered = true;
    }
    while (!c.out.empty()) {
      const int n = c.socket->send(c.out.data(), static_cast<unsigned int>(c.out.size()));
      if (n <= 0) break;
      c.out.erase(0, static_cast<std::size_t>(n));
    }
    if (c.answered && c.out.empty()) done = true;
    if (done) {
      c.socket->close();
      m_clients.erase(m_clients.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      ++i;
    }
  }
}

}  // namespace configserver
