#include "Modules/StatisticsService/Src/RankedMatch.h"

#include "Modules/Session/Src/GameSession.h"
#include "Modules/StatisticsService/Src/StatisticsService.h"
#include "Modules/StatisticsService/Src/StatisticsTasks.h"

namespace OX_Toolbox {

const ClassTypeInfo TaskRezovovozOnlineStartRankedMatch::s_type = {
    "TaskRezovovozOnlineStartRankedMatch", &TaskSequentialComposite::s_type};
const ClassTypeInfo TaskOnlineEndMatch::s_type = {"TaskOnlineEndMatch",
                                                  &TaskSequentialComposite::s_type};

TaskRezovovozOnlineStartRankedMatch::TaskRezovovozOnlineStartRankedMatch(Task* plainStart,
                                                                         MatchReport report)
    : m_plainStart(plainStart), m_report(std::move(report)) {}

// The plain task belongs to this one until the start hands it to the list.
TaskRezovovozOnlineStartRankedMatch::~TaskRezovovozOnlineStartRankedMatch() { delete m_plainStart; }

void TaskRezovovozOnlineStartRankedMatch::onStart() {
  if (!GameSession::current()) {
    setResult(ERRORID_SESSION_NOT_FOUND);
    return;
  }
  if (!m_plainStart) {
    setResult(ERRORID_FAILED);
    return;
  }
  addSubTask(new TaskRezovovozOnlineGetSessionNonce());
  addSubTask(m_plainStart);
  m_plainStart = nullptr;
  setResult(ERRORID_SUCCEEDED);
}

void TaskRezovovozOnlineStartRankedMatch::onSubTaskFinished(Task* sub, ERRORID& code) {
  // The match is ranked from here: what the game records for this
  // machine's players has somewhere to go.
  if (code != ERRORID_SUCCEEDED || sub->getType() != &TaskRezovovozOnlineGetSessionNonce::s_type)
    return;
  StatisticsService* service = StatisticsService::find();
  GameSession* session = GameSession::current();
  if (service && session) service->trackSessionPlayers(*session);
}

void TaskRezovovozOnlineStartRankedMatch::onRemoved(ERRORID result) {
  if (m_report) m_report(getId(), result);
}

TaskOnlineEndMatch::TaskOnlineEndMatch(Task* plainEnd, MatchReport report)
    : m_plainEnd(plainEnd), m_report(std::move(report)) {}

TaskOnlineEndMatch::~TaskOnlineEndMatch() { delete m_plainEnd; }

void TaskOnlineEndMatch::onStart() {
  if (!m_plainEnd) {
    setResult(ERRORID_FAILED);
    return;
  }
  addSubTask(new TaskRezovovozOnlineSubmitLeaderboards(nullptr));
  addSubTask(m_plainEnd);
  m_plainEnd = nullptr;
  setResult(ERRORID_SUCCEEDED);
}

// A submission that fails must not keep the match going: the end still
// runs, and the submission's failure is what is reported when the end
// itself succeeds.
void TaskOnlineEndMatch::onSubTaskFinished(Task* sub, ERRORID& code) {
  if (sub->getType() != &TaskRezovovozOnlineSubmitLeaderboards::s_type) return;
  m_submitted = code;
  code = ERRORID_SUCCEEDED;
}

void TaskOnlineEndMatch::onRemoved(ERRORID result) {
  if (result == ERRORID_SUCCEEDED) result = m_submitted;
  if (m_report) m_report(getId(), result);
}

}  // namespace OX_Toolbox
