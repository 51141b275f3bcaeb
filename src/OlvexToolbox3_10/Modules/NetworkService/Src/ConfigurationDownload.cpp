#include "Modules/NetworkService/Src/ConfigurationDownload.h"

#include <lua.hpp>

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "Modules/NetworkService/Src/OnlineServers.h"
#include "bdSocket/bdAddr.h"
#include "bdSocket/bdPlatformSocket.h"

namespace OX_Toolbox {

namespace {

// The value of a header (case-insensitive name) in the header block; false
// when there is none.
bool headerValue(const std::string& head, const char* name, std::string& value) {
  const std::size_t n = std::strlen(name);
  std::size_t at = head.find("\r\n");
  while (at != std::string::npos) {
    const std::size_t line = at + 2;
    const std::size_t end = head.find("\r\n", line);
    const std::string text = head.substr(line, end == std::string::npos ? end : end - line);
    if (text.size() > n && text[n] == ':') {
      bool same = true;
      for (std::size_t i = 0; i < n && same; ++i)
        same = std::tolower(static_cast<unsigned char>(text[i])) ==
               std::tolower(static_cast<unsigned char>(name[i]));
      if (same) {
        std::size_t v = n + 1;
        while (v < text.size() && text[v] == ' ')
          ++v;
        value = text.substr(v);
        return true;
      }
    }
    at = end;
  }
  return false;
}

}  // namespace

ConfigurationDownload::ConfigurationDownload(LuaConfig& config, std::string gameId,
                                             std::string locale)
    : m_config(config), m_gameId(std::move(gameId)), m_locale(std::move(locale)) {}

ConfigurationDownload::~ConfigurationDownload() {
  if (m_running) m_socket.close();
}

ERRORID ConfigurationDownload::start() {
  const ServerAddress where = OnlineServers::configurationHost();
  bdInetAddr address;
  if (bdPlatformSocket::getHostByName(where.host.c_str(), &address, 1) == 0) {
    finish(ERRORID_CONNECTION_FAILURE);
    return m_result;
  }
  return start(address);
}

ERRORID ConfigurationDownload::start(const bdInetAddr& address) {
  const ServerAddress where = OnlineServers::configurationHost();
  if (!m_socket.create() || !m_socket.setBlocking(false)) {
    finish(ERRORID_CONNECTION_FAILURE);
    return m_result;
  }
  m_running = true;
  const int r = m_socket.connect(bdAddr(address, where.port));
  if (r != BD_NET_SUCCESS && r != BD_NET_WOULD_BLOCK) {
    finish(ERRORID_CONNECTION_FAILURE);
    return m_result;
  }
  m_request = OnlineServers::configurationRequest(m_gameId, m_locale);
  return ERRORID_SUCCEEDED;
}

bool ConfigurationDownload::step() {
  if (!m_running) return true;
  while (m_sent < m_request.size()) {
    const int n = m_socket.send(m_request.data() + m_sent,
                                static_cast<unsigned int>(m_request.size() - m_sent));
    if (n > 0) {
      m_sent += static_cast<std::size_t>(n);
      continue;
    }
    if (n == BD_NET_WOULD_BLOCK || n == BD_NET_NOT_CONNECTED) return false;
    finish(ERRORID_CONNECTION_FAILURE);
    return true;
  }
  char chunk[OnlineServers::kMaxConfigurationAnswer + 1];
  for (;;) {
    // One byte past the limit tells a full answer from a cut one.
    const std::size_t room = OnlineServers::kMaxConfigurationAnswer + 1 - m_answer.size();
    const int n = m_socket.receive(chunk, static_cast<unsigned int>(room));
    if (n > 0) {
      m_answer.append(chunk, static_cast<std::size_t>(n));
      if (m_answer.size() > OnlineServers::kMaxConfigurationAnswer) {
        finish(ERRORID_CONNECTION_FAILURE);
        return true;
      }
      continue;
    }
    if (n == BD_NET_WOULD_BLOCK || n == BD_NET_NOT_CONNECTED) return false;
    if (n == 0 || n == BD_NET_CONNECTION_RESET) {
      finish(complete());
    } else {
      finish(ERRORID_CONNECTION_FAILURE);
    }
    return true;
  }
}

ERRORID ConfigurationDownload::complete() {
  const std::size_t end = m_answer.find("\r\n\r\n");
  m_body = end == std::string::npos ? m_answer : m_answer.substr(end + 4);
  if (end != std::string::npos) {
    std::string length;
    if (headerValue(m_answer.substr(0, end), "Content-Length", length)) {
      char* stop = nullptr;
      const unsigned long declared = std::strtoul(length.c_str(), &stop, 10);
      if (stop == length.c_str() || declared != m_body.size()) return ERRORID_CONNECTION_FAILURE;
    }
  }
  if (m_body.empty()) return ERRORID_SUCCEEDED;
  if (m_body.find('\0') != std::string::npos) return ERRORID_CONNECTION_FAILURE;

  lua_State* L = m_config.state();
  if (!L) return ERRORID_CONNECTION_FAILURE;
  // Kept aside and put back whatever the chunk does.
  lua_getglobal(L, kSigningKeyName);
  const int keyRef = luaL_ref(L, LUA_REGISTRYINDEX);
  const bool ran = m_config.runChunk(m_body.data(), m_body.size());
  lua_rawgeti(L, LUA_REGISTRYINDEX, keyRef);
  lua_setglobal(L, kSigningKeyName);
  luaL_unref(L, LUA_REGISTRYINDEX, keyRef);
  return ran ? ERRORID_SUCCEEDED : ERRORID_CONNECTION_FAILURE;
}

void ConfigurationDownload::finish(ERRORID result) {
  if (m_running) m_socket.close();
  m_running = false;
  m_result = result;
}

}  // namespace OX_Toolbox
