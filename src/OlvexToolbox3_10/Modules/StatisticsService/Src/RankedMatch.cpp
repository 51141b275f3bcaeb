#include "Modules/StatisticsService/Src/RankedMatch.h"

#include "Modules/Core/Src/Tasks/Events.h"
#include "Modules/Core/Src/Tasks/TaskManager.h"
#include "Modules/Core/Src/ToolboxCore.h"
#include "Modules/Core/Src/ToolboxGameInterface.h"
#include "Modules/MatchmakingService/Src/MatchmakingConfig.h"
#include "Modules/MatchmakingService/Src/MatchmakingEvents.h"
#include "Modules/MatchmakingService/Src/MatchmakingOnlineTasks.h"
#include "Modules/MatchmakingService/Src/MatchmakingService.h"
#include "Modules/MatchmakingService/Src/MatchmakingTasks.h"
#include "Modules/Session/Src/GameSession.h"
#include "Modules/StatisticsService/Src/StatisticsService.h"
#include "Modules/StatisticsService/Src/StatisticsTasks.h"

namespace OX_Toolbox {

namespace {

GameSession* currentOf(MatchmakingService* service) {
  return service && service->getConfig() ? service->getConfig()->currentSession() : nullptr;
}

bool online(const GameSession* session) {
  return session && session->info().connectionType() == CONNECTIONTYPE_ONLINE;
}

// As the plain start and end report: on success the game interface and the
// event, then the listener.
MatchReport reportTo(MatchmakingServiceListener* listener, bool started) {
  return [listener, started](std::uint32_t id, ERRORID result) {
    if (!listener) return;
    ToolboxCore* core = ToolboxCore::instance();
    if (result == ERRORID_SUCCEEDED && core) {
      if (ToolboxGameInterface* game = core->getGameInterface()) {
        if (started)
          game->onStartGame();
        else
          game->onEndGame();
      }
      if (core->getEventManager())
        core->getEventManager()->queueEvent(new EventStartStopMatch(started ? 1 : 0));
    }
    if (started)
      listener->onStartMatch(id, result);
    else
      listener->onEndMatch(id, result);
  };
}

std::uint32_t rankedStart(MatchmakingService* service, MatchmakingServiceListener* listener) {
  if (!online(currentOf(service)))
    return ToolboxCore::queueTask(new TaskRezovovozLanStartMatch(listener));
  return ToolboxCore::queueTask(new TaskRezovovozOnlineStartRankedMatch(
      MakeOnlineStartMatch(nullptr), reportTo(listener, true)));
}

std::uint32_t rankedEnd(MatchmakingService* service, MatchmakingServiceListener* listener) {
  GameSession* session = currentOf(service);
  if (session && session->role() == GameSession::ROLE_HOST) session->endMatch();
  if (!online(session)) return ToolboxCore::queueTask(new TaskRezovovozLanEndMatch(listener));
  return ToolboxCore::queueTask(
      new TaskOnlineEndMatch(MakeOnlineEndMatch(nullptr), reportTo(listener, false)));
}

}  // namespace

void InstallRankedMatch(MatchmakingService* matchmaking) {
  if (!matchmaking) return;
  matchmaking->setStartMatchOperation(&rankedStart);
  matchmaking->setEndMatchOperation(&rankedEnd);
}

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
