#pragma once
// A ranked match's start and end around matchmaking's plain online tasks:
// the start first fetches the session's nonce from the stats service and
// tracks this machine's players, the end first submits the leaderboards.
// Matchmaking hands in its plain task and how it reports a start or an end
// (the game interface, the event, then its listener), so both read alike.
#include <cstdint>
#include <functional>

#include "Modules/Core/Src/Tasks/Task.h"

namespace OX_Toolbox {

class MatchmakingService;

// Makes the service's start-match and end-match the ranked ones below for
// an online session; a LAN session keeps the plain LAN tasks (no nonce,
// nothing submitted).
void InstallRankedMatch(MatchmakingService* matchmaking);

// (task id, result); called once when the task leaves the manager.
using MatchReport = std::function<void(std::uint32_t, ERRORID)>;

class TaskRezovovozOnlineStartRankedMatch : public TaskSequentialComposite {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  // plainStart: owned; null fails the start.
  TaskRezovovozOnlineStartRankedMatch(Task* plainStart, MatchReport report);
  ~TaskRezovovozOnlineStartRankedMatch() override;
  void onStart() override;
  void onSubTaskFinished(Task* sub, ERRORID& code) override;
  void onRemoved(ERRORID result) override;

 private:
  Task* m_plainStart;
  MatchReport m_report;
};

class TaskOnlineEndMatch : public TaskSequentialComposite {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  // plainEnd: owned; null fails the end.
  TaskOnlineEndMatch(Task* plainEnd, MatchReport report);
  ~TaskOnlineEndMatch() override;
  void onStart() override;
  void onSubTaskFinished(Task* sub, ERRORID& code) override;
  void onRemoved(ERRORID result) override;

 private:
  Task* m_plainEnd;
  MatchReport m_report;
  ERRORID m_submitted = ERRORID_SUCCEEDED;
};

}  // namespace OX_Toolbox
