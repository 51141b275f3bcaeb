#pragma once
// The online service's servers as the toolbox knows them: the configuration
// web server (its host is the one seam tests move to loopback), and the
// host:port texts that name authentication and lobby servers.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Modules/Core/Src/Result/ErrorId.h"

namespace OX_Toolbox {

struct ServerAddress {
  std::string host;
  std::uint16_t port = 0;
};

class OnlineServers {
 public:
  static constexpr std::uint16_t kConfigurationPort = 80;
  static constexpr const char* kConfigurationHost = "mmconfig.norvanenet.net";
  static constexpr const char* kConfigurationPath = "/MatchMakingConfig.aspx?action=g_mmc&gid=";
  // The whole answer, header included, is read into this much space.
  static constexpr std::size_t kMaxConfigurationAnswer = 1024;

  // Process-wide; null host restores the service's own host and port 80.
  static void setConfigurationHost(const char* host, std::uint16_t port);
  static ServerAddress configurationHost();

  static std::string configurationPath(const std::string& gameId, const std::string& locale);
  // The GET request for the path, asking the server to close afterwards.
  static std::string configurationRequest(const std::string& gameId, const std::string& locale);

  // "host:port": the host before the first ':', the port its decimal value
  // after it. False for an empty host or a port that is not 1 to 65535.
  static bool parseHostPort(const std::string& text, ServerAddress& out);
};

// Network-layer and lobby error codes as toolbox results.
ERRORID MapLobbyErrorToErrorID(std::int32_t code);

}  // namespace OX_Toolbox
