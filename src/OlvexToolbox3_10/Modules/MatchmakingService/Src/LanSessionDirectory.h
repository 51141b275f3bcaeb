#pragma once
// What the LAN matchmaking flows need of session advertising: publishing the
// hosted session to the local network and finding the sessions others host.
// The default one works over the network service's LAN hosting and the
// network layer's discovery client; tests may put another in its place.
#include <cstdint>
#include <vector>

#include "Modules/Session/Src/SessionInfo.h"

namespace OX_Toolbox {

class LanSessionDirectory {
 public:
  virtual ~LanSessionDirectory() = default;
  // Answers the local network's searches with the session, which takes the
  // id and key it is advertised under; false when it cannot be published.
  virtual bool startHosting(SessionInfo& info) = 0;
  virtual void stopHosting() = 0;
  // Broadcasts one search for sessions advertised under the key.
  virtual bool startSearch(std::uint64_t key, std::uint32_t timeoutMs) = 0;
  // Appends the sessions that answered since the last poll; true once the
  // search time is over.
  virtual bool pollSearch(std::vector<SessionInfo>& found) = 0;
  virtual void stopSearch() = 0;
};

// Not owned; null puts the default one back.
void SetLanSessionDirectory(LanSessionDirectory* directory);
LanSessionDirectory* GetLanSessionDirectory();
// Where the default directory's searches go: the broadcast address unless a
// test names another (dotted IPv4; null or "" for the broadcast address).
void SetLanSearchTarget(const char* dotted);

}  // namespace OX_Toolbox
