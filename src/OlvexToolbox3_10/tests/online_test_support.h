#pragma once
// Shared by the online toolbox tests: a toolbox core whose configuration
// points at the test servers on loopback (configuration, authentication,
// lobby), a network layer that starts on command, and a loop that updates
// the core while the servers run.
#include <gtest/gtest.h>
#include <tomcrypt.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Modules/NetworkService/Src/NetworkLayer.h"
#include "Modules/NetworkService/Src/NetworkService.h"
#include "Modules/NetworkService/Src/OnlineServers.h"
#include "Modules/NetworkService/Src/SdkMemory.h"
#include "authServer.h"
#include "bdCore/bdCore.h"
#include "bdSocket/bdStreamSocket.h"
#include "configServer.h"
#include "lobbyServer.h"
#include "toolbox_test_support.h"

namespace online_test {

// Starts after a set number of pumps (or fails with a set status) and
// counts what the service asks of it.
class ScriptedLayer : public OX_Toolbox::NetworkLayer {
 public:
  static ScriptedLayer* last;
  static int pumpsToStart;
  static std::int32_t endStatus;

  ScriptedLayer() { last = this; }
  ~ScriptedLayer() override {
    if (last == this) last = nullptr;
  }
  bool start(const std::vector<bdInetAddr>& locals, bool isOnline) override {
    localCount = locals.size();
    online = isOnline;
    ++starts;
    m_status = STARTING;
    m_left = pumpsToStart;
    return true;
  }
  std::int32_t getStatus() override { return m_status; }
  void pump() override {
    ++pumps;
    if (m_status == STARTING && --m_left <= 0) m_status = endStatus;
  }
  void sendAll() override { ++sends; }
  void receiveAndDispatchAll() override { ++dispatches; }
  void stop() override {
    ++stops;
    m_status = STOPPED;
  }
  bool getLocalAddressValue(std::uint32_t& value) override {
    value = 0x0100007F;
    return m_status == STARTED;
  }

  std::size_t localCount = 0;
  bool online = false;
  int starts = 0, pumps = 0, sends = 0, dispatches = 0, stops = 0;

 private:
  std::int32_t m_status = STOPPED;
  int m_left = 0;
};

inline ScriptedLayer* ScriptedLayer::last = nullptr;
inline int ScriptedLayer::pumpsToStart = 2;
inline std::int32_t ScriptedLayer::endStatus = OX_Toolbox::NetworkLayer::STARTED;

inline OX_Toolbox::NetworkLayer* makeScriptedLayer() { return new ScriptedLayer(); }

inline std::string base64(const std::vector<unsigned char>& bytes) {
  std::vector<unsigned char> out(bytes.size() * 2 + 8);
  unsigned long n = static_cast<unsigned long>(out.size());
  if (base64_encode(bytes.data(), static_cast<unsigned long>(bytes.size()), out.data(), &n) !=
      CRYPT_OK)
    return {};
  return std::string(reinterpret_cast<const char*>(out.data()), n);
}

// A loopback port nothing listens on.
inline unsigned short deadPort() {
  bdStreamSocket probe;
  if (!probe.create() || probe.listen(bdAddr(bdInetAddr::getLoopback(), 0)) != BD_NET_SUCCESS)
    return 1;
  const unsigned short port = probe.getPort();
  probe.close();
  return port;
}

inline const unsigned char* lobbyKey() {
  static const unsigned char key[lobbyserver::LobbyServer::KEY_SIZE] = {
      0x3A, 0x11, 0x52, 0x9C, 0x07, 0xE4, 0x6B, 0x20, 0x91, 0xD5, 0x4F, 0x38,
      0xA2, 0x0C, 0x77, 0xB9, 0x15, 0x6E, 0xC3, 0x48, 0x2D, 0xF0, 0x81, 0x5A};
  return key;
}

struct StartRecord {
  std::uint32_t taskId;
  OX_Toolbox::ERRORID result;
};

class RecordingNetworkListener : public OX_Toolbox::NetworkServiceListener {
 public:
  void onStart(std::uint32_t taskId, OX_Toolbox::ERRORID result) override {
    starts.push_back({taskId, result});
  }
  std::vector<StartRecord> starts;
};

// The SDK core, the three servers and a toolbox core whose configuration
// names them. The test owns the SDK's lifetime, so the service leaves it be.
class OnlineFixture : public toolbox_test::CoreFixture {
 protected:
  void SetUp() override {
    OX_Toolbox::routeSdkMemoryToToolbox();
    bdCore::init(false);
    OX_Toolbox::SetNetworkLayerFactory(&makeScriptedLayer);
    ScriptedLayer::pumpsToStart = 2;
    ScriptedLayer::endStatus = OX_Toolbox::NetworkLayer::STARTED;
    config = std::make_unique<configserver::ConfigServer>();
    auth = std::make_unique<authserver::AuthServer>();
    lobby = std::make_unique<lobbyserver::LobbyServer>(lobbyKey());
    ASSERT_TRUE(config->start());
    ASSERT_TRUE(auth->start());
    ASSERT_TRUE(lobby->start());
    auth->setLobbyKey(lobbyKey());
    OX_Toolbox::OnlineServers::setConfigurationHost("127.0.0.1", config->getPort());
  }
  void TearDown() override {
    CoreFixture::TearDown();
    config.reset();
    auth.reset();
    lobby.reset();
    OX_Toolbox::SetNetworkLayerFactory(nullptr);
    OX_Toolbox::OnlineServers::setConfigurationHost(nullptr, 0);
    bdCore::quit();
    OX_Toolbox::routeSdkMemoryToToolbox();
  }

  std::string hostPort(unsigned short port) const { return "127.0.0.1:" + std::to_string(port); }
  // The local configuration: the file keys, the signing key, and the server
  // keys (which the download may replace).
  std::string localScript(const std::string& servers) const {
    return toolbox_test::fileKeys() + "TASK_TIMEOUT = 30\nNorvSigKeyPub = '" +
           base64(auth->getSigningKey()) + "'\n" + servers;
  }
  std::string serverKeys() const {
    return "AuthenticationServer = { '" + hostPort(auth->getPort()) + "' }\nLobbyServer = { '" +
           hostPort(lobby->getPort()) + "' }\n";
  }

  // Updates the core by 60 ms a step, the servers between steps, until done
  // says so or a few seconds passed; false on the time limit.
  bool runUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 3000; ++i) {
      if (done()) return true;
      config->pump();
      auth->pump();
      lobby->pump();
      OX_Toolbox::ToolboxCore::instance()->update(60);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
  }

  std::unique_ptr<configserver::ConfigServer> config;
  std::unique_ptr<authserver::AuthServer> auth;
  std::unique_ptr<lobbyserver::LobbyServer> lobby;
};

}  // namespace online_test
