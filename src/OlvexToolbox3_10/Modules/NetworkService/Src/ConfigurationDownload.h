#pragma once
// Downloads the matchmaking configuration from the configuration web server
// and runs it in the configuration interpreter. Nothing blocks: start()
// opens a non-blocking connection, each step() moves the exchange on.
//
// The answer is Lua text only (a precompiled chunk does not load), and it is
// refused, not run, when it cannot be whole: longer than the answer buffer,
// shorter than its Content-Length, holding a NUL byte, or cut by a read
// error. The signing key that authenticates the login server is the local
// configuration's: a downloaded chunk never changes it.
#include <cstdint>
#include <string>

#include "Modules/Core/Src/Result/ErrorId.h"
#include "Modules/Core/Src/Script/LuaConfig.h"
#include "bdSocket/bdInetAddr.h"
#include "bdSocket/bdStreamSocket.h"

namespace OX_Toolbox {

class ConfigurationDownload {
 public:
  static constexpr const char* kSigningKeyName = "NorvSigKeyPub";

  ConfigurationDownload(LuaConfig& config, std::string gameId, std::string locale);
  ~ConfigurationDownload();
  ConfigurationDownload(const ConfigurationDownload&) = delete;
  ConfigurationDownload& operator=(const ConfigurationDownload&) = delete;

  // ERRORID_SUCCEEDED when the connection is under way;
  // ERRORID_CONNECTION_FAILURE when the host has no address or the
  // connection cannot be opened.
  ERRORID start();
  // The same once the host's address is known (no lookup here).
  ERRORID start(const bdInetAddr& address);
  // True once finished; result() then holds the outcome.
  bool step();
  ERRORID result() const { return m_result; }
  const std::string& body() const { return m_body; }

 private:
  void finish(ERRORID result);
  ERRORID complete();

  LuaConfig& m_config;
  std::string m_gameId;
  std::string m_locale;
  bdStreamSocket m_socket;
  std::string m_request;
  std::size_t m_sent = 0;
  std::string m_answer;
  std::string m_body;
  bool m_running = false;
  ERRORID m_result = ERRORID_INVALID;
};

}  // namespace OX_Toolbox
