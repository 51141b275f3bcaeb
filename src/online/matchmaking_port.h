#pragma once
// The matchmaking service as the online front-end uses it: the calls the
// lobby makes, the session it reads and writes, and the reports that come
// back as (task id, result). The toolbox side installs the implementation;
// tests install a recording fake. With none installed the front-end runs
// without matchmaking (nothing is hosted, found or joined).
#include <cstdint>
#include <string>
#include <vector>

#include "Modules/Core/Src/Result/ErrorId.h"
#include "Modules/Core/Src/Types/PlayerID.h"

namespace online {

class MatchmakingReports {
 public:
  virtual ~MatchmakingReports() = default;
  virtual void onHostSession(uint32_t, OX_Toolbox::ERRORID) {}
  virtual void onUpdateSession(uint32_t, OX_Toolbox::ERRORID) {}
  virtual void onSearchSessions(uint32_t, OX_Toolbox::ERRORID) {}
  virtual void onJoinSession(uint32_t, OX_Toolbox::ERRORID) {}
  virtual void onDeleteSession(uint32_t, OX_Toolbox::ERRORID) {}
  virtual void onStartMatch(uint32_t, OX_Toolbox::ERRORID) {}
  virtual void onEndMatch(uint32_t, OX_Toolbox::ERRORID) {}
};

// A member of the current session.
struct SessionMember {
  OX_Toolbox::PlayerID id;
  std::string name;
  bool local = false;
};

class MatchmakingPort {
 public:
  virtual ~MatchmakingPort() = default;
  // Registers the service with the toolbox core.
  virtual OX_Toolbox::ERRORID CreateService() = 0;

  // The configuration's current session.
  virtual bool HasCurrentSession() = 0;
  // Empties both slot lists, forgets the current session and deletes it.
  virtual void ReleaseCurrentSession() = 0;
  virtual void FreeLastSearchResults() = 0;
  virtual std::vector<SessionMember> SessionMembers() = 0;
  virtual bool MatchStarted() = 0;
  virtual void SetMatchStarted(bool started) = 0;
  virtual void SetIntAttribute(uint32_t id, int32_t value) = 0;
  // False when the session has no such attribute.
  virtual bool GetIntAttribute(uint32_t id, int32_t* value) = 0;
  virtual void SetTextAttribute(uint32_t id, const std::string& value) = 0;
  virtual bool GetTextAttribute(uint32_t id, std::string* value) = 0;

  // Each queues a task and returns its id (0 when nothing was queued).
  virtual uint32_t UpdateSession(MatchmakingReports* reports) = 0;
  virtual uint32_t SearchSessions(MatchmakingReports* reports, int32_t query) = 0;
  virtual uint32_t DeleteSession(MatchmakingReports* reports) = 0;
  virtual uint32_t EndMatch(MatchmakingReports* reports) = 0;
};

// Installs the port (not owned; null: the toolbox's); returns the previous one.
MatchmakingPort* SetMatchmakingPort(MatchmakingPort* port);
MatchmakingPort* GetMatchmakingPort();

}  // namespace online
