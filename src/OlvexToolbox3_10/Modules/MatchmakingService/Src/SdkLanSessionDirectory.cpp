// The default LAN directory: hosting through the network service's
// discovery server, searching with the network layer's discovery client.
#include <algorithm>
#include <memory>
#include <string>

#include "Modules/MatchmakingService/Src/LanSessionDirectory.h"
#include "Modules/MatchmakingService/Src/MatchmakingTasks.h"
#include "Modules/NetworkService/Src/NetworkService.h"
#include "Modules/Session/Src/SessionAdvertisement.h"
#include "bdCore/bdUtilities/bdSingleton.h"
#include "bdLANDiscovery/bdDiscoveryClient.h"
#include "bdNet/bdNetImpl.h"

namespace OX_Toolbox {

namespace {

std::string g_target;

class SdkLanSessionDirectory : public LanSessionDirectory, public bdDiscoveryListener {
 public:
  bool startHosting(SessionInfo& info) override {
    NetworkService* network = Network();
    if (!network || !bdSingleton<bdNetImpl>::exists() || !network->startLanHosting(info))
      return false;
    // The network made the advertised id's key; the session keeps a copy.
    bdSecurityID id;
    std::copy(info.sessionId.begin(), info.sessionId.end(), id.ab);
    bdSecurityKey key;
    if (!bdSingleton<bdNetImpl>::getInstance()->getSecurityKeyMap()->get(id, key)) {
      network->stopLanHosting();
      return false;
    }
    std::copy(key.ab, key.ab + info.sessionKey.size(), info.sessionKey.begin());
    return true;
  }

  void stopHosting() override {
    if (NetworkService* network = Network()) network->stopLanHosting();
  }

  bool startSearch(std::uint64_t key, std::uint32_t timeoutMs) override {
    stopSearch();
    if (!bdSingleton<bdNetImpl>::exists()) return false;
    m_client = std::make_unique<bdDiscoveryClient>();
    m_client->setLocalCommonAddr(bdSingleton<bdNetImpl>::getInstance()->getLocalCommonAddr());
    m_client->registerListener(this);
    m_ended = false;
    const bdInetAddr target =
        g_target.empty() ? bdInetAddr::getBroadcast() : bdInetAddr(g_target.c_str());
    if (!m_client->discover(NetworkService::LanTitleOfKey(key),
                            static_cast<float>(timeoutMs) / 1000.0f, target,
                            NetworkService::getLanDiscoveryPort())) {
      stopSearch();
      return false;
    }
    return true;
  }

  bool pollSearch(std::vector<SessionInfo>& found) override {
    if (!m_client) return true;
    m_client->update();
    found.insert(found.end(), m_found.begin(), m_found.end());
    m_found.clear();
    return m_ended || m_client->getStatus() != bdDiscoveryClient::BD_RUNNING;
  }

  void stopSearch() override {
    if (m_client) m_client->unregisterListener(this);
    m_client.reset();
    m_found.clear();
  }

  void onDiscoveryReply(bdReference<bdGameInfo> reply) override {
    auto* game = dynamic_cast<SessionGameInfo*>(reply.get());
    if (!game) return;
    SessionInfo info = game->getSessionInfo();
    std::copy(game->getSecID().ab, game->getSecID().ab + info.sessionId.size(),
              info.sessionId.begin());
    std::copy(game->getSecKey().ab, game->getSecKey().ab + info.sessionKey.size(),
              info.sessionKey.begin());
    bdReference<bdCommonAddr> host = game->getHostAddr();
    if (host.notNull()) info.hostAddress = ToPeerAddress(*host, info.sessionId);
    m_found.push_back(info);
  }

  void onDiscoveryEnd() override { m_ended = true; }

 private:
  std::unique_ptr<bdDiscoveryClient> m_client;
  std::vector<SessionInfo> m_found;
  bool m_ended = false;
};

SdkLanSessionDirectory* DefaultDirectory() {
  static SdkLanSessionDirectory directory;
  return &directory;
}

LanSessionDirectory* g_directory = nullptr;

}  // namespace

void SetLanSessionDirectory(LanSessionDirectory* directory) { g_directory = directory; }

LanSessionDirectory* GetLanSessionDirectory() {
  return g_directory ? g_directory : DefaultDirectory();
}

void SetLanSearchTarget(const char* dotted) { g_target = dotted ? dotted : ""; }

}  // namespace OX_Toolbox
