// What the toolbox fixes of the online servers: the configuration request,
// the loopback seam for its host, server texts and the lobby error map.
#include <gtest/gtest.h>

#include "Modules/NetworkService/Src/OnlineServers.h"

using namespace OX_Toolbox;

TEST(OnlineServers, ConfigurationRequestGoesToTheConfiguredHost) {
  EXPECT_EQ(OnlineServers::configurationRequest("tess", "fr-FR"),
            std::string("GET /MatchMakingConfig.aspx?action=g_mmc&gid=tess&locale=fr-FR "
                        "HTTP/1.1\r\nHost: ") +
                OnlineServers::kConfigurationHost + ":80\r\nConnection: close\r\n\r\n");

  OnlineServers::setConfigurationHost("127.0.0.1", 8080);
  EXPECT_EQ(OnlineServers::configurationHost().host, "127.0.0.1");
  EXPECT_EQ(OnlineServers::configurationHost().port, 8080);
  EXPECT_NE(OnlineServers::configurationRequest("g", "l").find("Host: 127.0.0.1:8080\r\n"),
            std::string::npos);

  OnlineServers::setConfigurationHost(nullptr, 0);
  EXPECT_EQ(OnlineServers::configurationHost().port, OnlineServers::kConfigurationPort);
}

TEST(OnlineServers, HostPortTexts) {
  struct Case {
    const char* text;
    bool ok;
    const char* host;
    int port;
  } cases[] = {
      {"auth.example.net:3005", true, "auth.example.net", 3005},
      {"127.0.0.1:1", true, "127.0.0.1", 1},
      {"h:65535", true, "h", 65535},
      {"h:65536", false, "", 0},
      {"h:0", false, "", 0},
      {"h:", false, "", 0},
      {":80", false, "", 0},
      {"h:8x", false, "", 0},
      {"h:99999999999999999999", false, "", 0},
      {"nohost", false, "", 0},
  };
  for (const Case& c : cases) {
    ServerAddress a;
    EXPECT_EQ(OnlineServers::parseHostPort(c.text, a), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(a.host, c.host);
      EXPECT_EQ(a.port, c.port);
    }
  }
}

TEST(OnlineServers, LobbyErrorsMapToResults) {
  const std::pair<int, ERRORID> cases[] = {
      {0, ERRORID_SUCCEEDED},
      {700, ERRORID_SUCCEEDED},
      {109, ERRORID_CONNECTION_FAILURE},
      {108, ERRORID_SERVICE_NOT_AVAILABLE},
      {716, ERRORID_INVALID_PASSWORD},
      {754, ERRORID_INVALID_CERTIFICATE},
      {907, ERRORID_INVALID_USERNAME},
      {757, ERRORID_INVALID_COUNTRY},
      {701, ERRORID_FAILED},
      {759, ERRORID_FAILED},
      {-1, ERRORID_FAILED},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MapLobbyErrorToErrorID(c.first), c.second) << c.first;
}
