#pragma once
// The matchmaking port over the toolbox's matchmaking service: the service
// registered as "MatchmakingService", its configuration's current session
// and search results. Every call is made under the online lock by the
// caller. Reports go to the listener the reports object also is.
#include "online/matchmaking_port.h"

namespace online {

class ToolboxMatchmaking : public MatchmakingPort {
 public:
  OX_Toolbox::ERRORID CreateService() override;
  bool HasCurrentSession() override;
  void ReleaseCurrentSession() override;
  void FreeLastSearchResults() override;
  std::vector<SessionMember> SessionMembers() override;
  bool MatchStarted() override;
  void SetMatchStarted(bool started) override;
  void SetIntAttribute(uint32_t id, int32_t value) override;
  bool GetIntAttribute(uint32_t id, int32_t* value) override;
  void SetTextAttribute(uint32_t id, const std::string& value) override;
  bool GetTextAttribute(uint32_t id, std::string* value) override;
  uint32_t UpdateSession(MatchmakingReports* reports) override;
  uint32_t SearchSessions(MatchmakingReports* reports, int32_t query) override;
  uint32_t DeleteSession(MatchmakingReports* reports) override;
  uint32_t EndMatch(MatchmakingReports* reports) override;
};

}  // namespace online
