// The configuration download against the test web server on loopback: the
// request it sends, an answer run as configuration, and the answers it must
// refuse (cut short, over the limit, binary, not Lua) or keep from the
// signing key.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "Modules/Core/Src/Records/ToolboxFile.h"
#include "Modules/NetworkService/Src/ConfigurationDownload.h"
#include "Modules/NetworkService/Src/OnlineServers.h"
#include "Modules/NetworkService/Src/SdkMemory.h"
#include "bdSocket/bdAddr.h"
#include "bdSocket/bdPlatformSocket.h"
#include "configServer.h"
#include "toolbox_test_support.h"

using namespace OX_Toolbox;
using configserver::ConfigServer;

namespace {

class ConfigurationDownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    routeSdkMemoryToToolbox();
    ASSERT_TRUE(server.start());
    OnlineServers::setConfigurationHost("127.0.0.1", server.getPort());
    toolbox_test::writeFile(path, "NorvSigKeyPub = 'local-key'\nLobbyServer = { 'old:1' }\n");
    ASSERT_EQ(config.load(String(path.c_str())), ERRORID_SUCCEEDED);
  }
  void TearDown() override {
    OnlineServers::setConfigurationHost(nullptr, 0);
    std::remove(path.c_str());
  }

  ERRORID download(const std::string& answer) {
    server.setAnswer(answer);
    ConfigurationDownload d(config, "tess", "fr-FR");
    if (d.start() != ERRORID_SUCCEEDED) return d.result();
    for (int i = 0; i < 5000 && !d.step(); ++i) {
      server.pump();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return d.result();
  }

  std::string text(const char* key) {
    String s;
    if (!config.getString(key, s)) return "<absent>";
    NarrowString n(s);
    return n.narrow();
  }

  const std::string path = "download_config.lua";
  DefaultPlatform platform;
  LuaConfig config{&platform};
  ConfigServer server;
};

}  // namespace

TEST_F(ConfigurationDownloadTest, AnswerRunsAsConfigurationButKeepsTheSigningKey) {
  EXPECT_EQ(download(ConfigServer::ok("DWlobbyURL = '127.0.0.1:3074'\n"
                                      "NorvSigKeyPub = 'someone-elses-key'\n")),
            ERRORID_SUCCEEDED);
  EXPECT_EQ(text("DWlobbyURL"), "127.0.0.1:3074");
  EXPECT_EQ(text("NorvSigKeyPub"), "local-key");
  EXPECT_NE(server.lastRequest().find(
                "GET /MatchMakingConfig.aspx?action=g_mmc&gid=tess&locale=fr-FR HTTP/1.1\r\n"),
            std::string::npos);
  EXPECT_NE(server.lastRequest().find("Connection: close\r\n\r\n"), std::string::npos);

  // An empty body is accepted and changes nothing.
  EXPECT_EQ(download(ConfigServer::ok("")), ERRORID_SUCCEEDED);
  EXPECT_EQ(text("DWlobbyURL"), "127.0.0.1:3074");
}

TEST_F(ConfigurationDownloadTest, AnswersThatCannotBeWholeAreRefusedUnrun) {
  const std::string set = "DWlobbyURL = 'changed:1'\n";
  struct Case {
    const char* what;
    std::string answer;
  } cases[] = {
      {"shorter than its length",
       ConfigServer::ok(set).substr(0, ConfigServer::ok(set).size() - 3)},
      {"over the answer limit",
       ConfigServer::ok(set + "-- " + std::string(OnlineServers::kMaxConfigurationAnswer, 'x'))},
      {"a compiled chunk", ConfigServer::ok(std::string("\x1bLua\x54") + set)},
      {"a NUL inside", ConfigServer::ok(set + std::string(1, '\0'))},
      {"not Lua", ConfigServer::ok("DWlobbyURL = = 'changed:1'\n")},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(download(c.answer), ERRORID_CONNECTION_FAILURE) << c.what;
    EXPECT_EQ(text("DWlobbyURL"), "<absent>") << c.what;
  }
}

TEST_F(ConfigurationDownloadTest, NoServerIsAConnectionFailure) {
  bdStreamSocket probe;
  ASSERT_TRUE(probe.create());
  ASSERT_EQ(probe.listen(bdAddr(bdInetAddr::getLoopback(), 0)), BD_NET_SUCCESS);
  const unsigned short port = probe.getPort();
  probe.close();
  OnlineServers::setConfigurationHost("127.0.0.1", port);
  EXPECT_EQ(download(ConfigServer::ok("")), ERRORID_CONNECTION_FAILURE);
}
