#pragma once
// What the LAN matchmaking flows need of session advertising: publishing the
// hosted session to the local network and finding the sessions others host.
// The network side installs the implementation; without one, hosting still
// works but nobody can find the session and searches find nothing.
#include <cstdint>
#include <vector>

#include "Modules/Session/Src/SessionInfo.h"

namespace OX_Toolbox {

class LanSessionDirectory {
 public:
  virtual ~LanSessionDirectory() = default;
  // Answers the local network's searches with the session; false when it
  // cannot be published.
  virtual bool startHosting(const SessionInfo& info) = 0;
  virtual void stopHosting() = 0;
  // Broadcasts one search for sessions advertised under the key.
  virtual bool startSearch(std::uint64_t key, std::uint32_t timeoutMs) = 0;
  // Appends the sessions that answered since the last poll; true once the
  // search time is over.
  virtual bool pollSearch(std::vector<SessionInfo>& found) = 0;
  virtual void stopSearch() = 0;
};

// Not owned; null removes it.
void SetLanSessionDirectory(LanSessionDirectory* directory);
LanSessionDirectory* GetLanSessionDirectory();

}  // namespace OX_Toolbox
