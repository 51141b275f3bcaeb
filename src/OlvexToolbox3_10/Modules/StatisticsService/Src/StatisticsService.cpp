#include "Modules/StatisticsService/Src/StatisticsService.h"

#include "Modules/Core/Src/Records/RecordList.h"
#include "Modules/Core/Src/Tasks/TaskManager.h"
#include "Modules/Core/Src/ToolboxCore.h"
#include "Modules/FriendService/Src/PlayerLists.h"
#include "Modules/MatchmakingService/Src/MatchmakingService.h"
#include "Modules/Session/Src/GameSession.h"
#include "Modules/StatisticsService/Src/RankedMatch.h"
#include "Modules/StatisticsService/Src/StatisticsTasks.h"

namespace OX_Toolbox {

namespace {

constexpr char kPropertyTag[4] = {'S', 'P', 'Y', 'C'};
constexpr char kLeaderboardTag[4] = {'S', 'L', 'B', 'C'};

int listOf(const EntityID& e) { return e.getType() == StatisticsService::kPlayerEntity ? 0 : 1; }

}  // namespace

ERRORID StatisticsService::create() {
  ToolboxCore* core = ToolboxCore::instance();
  if (!core || !core->findService("MatchmakingService")) return ERRORID_SERVICE_NOT_AVAILABLE;
  auto* service = new StatisticsService();
  ERRORID result = service->loadDefinitions();
  if (result == ERRORID_SUCCEEDED) result = core->registerService(service);
  if (result != ERRORID_SUCCEEDED) {
    delete service;
    return result;
  }
  // Online matches become ranked ones; a stand-in of another class is left be.
  InstallRankedMatch(dynamic_cast<MatchmakingService*>(core->findService("MatchmakingService")));
  return result;
}

StatisticsService* StatisticsService::find() {
  ToolboxCore* core = ToolboxCore::instance();
  return core ? static_cast<StatisticsService*>(core->findService(kName)) : nullptr;
}

ERRORID StatisticsService::loadDefinitions() {
  ToolboxCore* core = ToolboxCore::instance();
  RecordList* list = GlobalRecordList();
  if (!core || !list) return ERRORID_FAILED;
  list->clear();
  const ERRORID result = list->loadFromFile(core->getConfigString(MATCHMAKING_DEFAULT_FILE));
  if (result != ERRORID_SUCCEEDED) {
    list->clear();
    return result;
  }
  // A record of another version, or one that does not read whole, gives
  // no entry: nothing could fill it.
  ToolboxVector<StatisticsProperty> properties;
  for (const TaggedRecord* r = list->findByTag(kPropertyTag); r;
       r = list->findByTag(kPropertyTag, r)) {
    StatisticsProperty p;
    if (ReadStatisticsProperty(*r, p)) properties.push_back(p);
  }
  ToolboxVector<LeaderboardDefinition> boards;
  for (const TaggedRecord* r = list->findByTag(kLeaderboardTag); r;
       r = list->findByTag(kLeaderboardTag, r)) {
    LeaderboardDefinition d;
    if (ReadLeaderboardDefinition(*r, d)) boards.push_back(d);
  }
  list->clear();
  setDefinitions(properties, boards);
  return ERRORID_SUCCEEDED;
}

void StatisticsService::setDefinitions(ToolboxVector<StatisticsProperty> properties,
                                       ToolboxVector<LeaderboardDefinition> leaderboards) {
  m_properties = std::move(properties);
  m_leaderboards = std::move(leaderboards);
  m_tracked[0].clear();
  m_tracked[1].clear();
}

const LeaderboardDefinition* StatisticsService::findLeaderboard(std::int32_t id) const {
  for (const LeaderboardDefinition& d : m_leaderboards) {
    if (d.id == id) return &d;
  }
  return nullptr;
}

int StatisticsService::propertyIndex(std::int32_t id) const {
  for (std::size_t i = 0; i < m_properties.size(); ++i) {
    if (m_properties[i].id == id) return static_cast<int>(i);
  }
  return -1;
}

StatisticsService::TrackedEntity* StatisticsService::findTracked(const EntityID& entity) {
  for (TrackedEntity& t : m_tracked[listOf(entity)]) {
    if (t.entity == entity) return &t;
  }
  return nullptr;
}

const StatisticsService::TrackedEntity* StatisticsService::findTracked(
    const EntityID& entity) const {
  for (const TrackedEntity& t : m_tracked[listOf(entity)]) {
    if (t.entity == entity) return &t;
  }
  return nullptr;
}

StatisticsService::TrackedEntity StatisticsService::freshEntity(const EntityID& entity) const {
  TrackedEntity t;
  t.entity = entity;
  for (const StatisticsProperty& p : m_properties) {
    FlexibleValue v;
    v.setKind(static_cast<FlexibleValue::Kind>(p.kind));
    t.values.push_back(v);
    t.dirty.push_back(false);
  }
  return t;
}

bool StatisticsService::addEntityToStatisticsTracking(const EntityID& entity) {
  if (findTracked(entity)) return false;
  m_tracked[listOf(entity)].push_back(freshEntity(entity));
  return true;
}

bool StatisticsService::removeEntityFromStatisticsTracking(const EntityID& entity) {
  ToolboxVector<TrackedEntity>& list = m_tracked[listOf(entity)];
  for (auto it = list.begin(); it != list.end(); ++it) {
    if (it->entity == entity) {
      list.erase(it);
      return true;
    }
  }
  return false;
}

bool StatisticsService::store(const EntityID& entity, std::int32_t property,
                              const FlexibleValue& value, bool add) {
  TrackedEntity* t = findTracked(entity);
  const int i = propertyIndex(property);
  if (!t || i < 0 || static_cast<std::size_t>(i) >= t->values.size()) return false;
  FlexibleValue& slot = t->values[static_cast<std::size_t>(i)];
  if (slot.getKind() != value.getKind()) return false;
  if (add)
    slot += value;
  else
    slot = value;
  t->dirty[static_cast<std::size_t>(i)] = true;
  return true;
}

bool StatisticsService::setStatistic(const EntityID& entity, std::int32_t property,
                                     const FlexibleValue& value) {
  return store(entity, property, value, false);
}

bool StatisticsService::incrementStatistic(const EntityID& entity, std::int32_t property,
                                           const FlexibleValue& value) {
  return store(entity, property, value, true);
}

const FlexibleValue* StatisticsService::getStatistic(const EntityID& entity,
                                                     std::int32_t property) const {
  const TrackedEntity* t = findTracked(entity);
  const int i = propertyIndex(property);
  if (!t || i < 0 || static_cast<std::size_t>(i) >= t->values.size()) return nullptr;
  return &t->values[static_cast<std::size_t>(i)];
}

bool StatisticsService::isDirty(const EntityID& entity, std::int32_t property) const {
  const TrackedEntity* t = findTracked(entity);
  const int i = propertyIndex(property);
  return t && i >= 0 && static_cast<std::size_t>(i) < t->dirty.size() &&
         t->dirty[static_cast<std::size_t>(i)];
}

void StatisticsService::markWritten(const EntityID& entity) {
  if (TrackedEntity* t = findTracked(entity)) {
    for (std::size_t i = 0; i < t->dirty.size(); ++i)
      t->dirty[i] = false;
  }
}

void StatisticsService::trackSessionPlayers(const GameSession& session) {
  for (const SessionPeer& peer : session.peers()) {
    if (LoggedInLocalPlayer(peer.id))
      addEntityToStatisticsTracking(EntityID(peer.id, kPlayerEntity));
  }
}

void StatisticsService::resetStatistics(bool keep) {
  for (ToolboxVector<TrackedEntity>& list : m_tracked) {
    if (!keep) {
      list.clear();
      continue;
    }
    for (TrackedEntity& t : list)
      t = freshEntity(t.entity);
  }
}

std::uint32_t StatisticsService::submitStatistics(StatisticsServiceListener* listener) {
  return ToolboxCore::queueTask(new TaskRezovovozOnlineSubmitLeaderboards(listener));
}

std::uint32_t StatisticsService::removePlayerFromLeaderboard(StatisticsServiceListener* listener,
                                                             std::uint8_t index,
                                                             std::int32_t board) {
  return ToolboxCore::queueTask(
      new TaskRezovovozOnlineRemovePlayerFromLeaderboard(listener, index, board));
}

std::uint32_t StatisticsService::fetchStatisticsAroundEntity(StatisticsServiceListener* listener,
                                                             const EntityID& entity,
                                                             const VectorLeaderboardID& boards,
                                                             std::uint32_t count) {
  auto* task = new TaskFetchLeaderboards(listener, true);
  for (std::int32_t id : boards) {
    if (const LeaderboardDefinition* d = findLeaderboard(id))
      task->addSubTask(new TaskFetchLeaderboardPage(*d, entity.getId(), 0, count));
  }
  return ToolboxCore::queueTask(task);
}

std::uint32_t StatisticsService::fetchStatisticsFromRank(StatisticsServiceListener* listener,
                                                         std::uint64_t rank,
                                                         const VectorLeaderboardID& boards,
                                                         std::uint32_t count) {
  auto* task = new TaskFetchLeaderboards(listener, false);
  for (std::int32_t id : boards) {
    if (const LeaderboardDefinition* d = findLeaderboard(id))
      task->addSubTask(new TaskFetchLeaderboardPage(*d, 0, rank, count));
  }
  return ToolboxCore::queueTask(task);
}

}  // namespace OX_Toolbox
