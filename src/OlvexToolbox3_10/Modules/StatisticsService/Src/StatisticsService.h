#pragma once
// Per-player statistics kept during an online match, written to the online
// service's leaderboards when a ranked match ends, players removed from
// leaderboards, and pages of leaderboards fetched around a player or from a
// rank. The properties and leaderboards come from the definitions file.
#include <cstdint>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "Modules/Core/Src/Result/ErrorId.h"
#include "Modules/Core/Src/Service.h"
#include "Modules/Core/Src/Types/FlexibleValue.h"
#include "Modules/Core/Src/Types/PlayerID.h"
#include "Modules/StatisticsService/Src/StatisticsDefinitions.h"

namespace OX_Toolbox {

using VectorLeaderboard = ToolboxVector<LeaderboardDefinition>;
using VectorLeaderboardID = ToolboxVector<std::int32_t>;

class StatisticsServiceListener {
 public:
  virtual ~StatisticsServiceListener() = default;
  virtual void onSubmitStatistics(std::uint32_t, ERRORID) {}
  virtual void onRemovePlayerFromLeaderboard(std::uint32_t, ERRORID) {}
  virtual void onFetchStatisticsAroundEntity(std::uint32_t, ERRORID, const VectorLeaderboard&) {}
  virtual void onFetchStatisticsFromRank(std::uint32_t, ERRORID, const VectorLeaderboard&) {}
};

class GameSession;

// The session attribute id under which matchmaking keeps a named field
// ("OLVEX_gameType"); false when no such field is defined. Null (the
// default) asks the matchmaking configuration; tests stand in for it.
using SessionFieldQuery = bool (*)(const char* name, std::uint32_t& id);
void SetSessionFieldQuery(SessionFieldQuery query);
// The session's "OLVEX_gameType" attribute read as an integer; false when
// the field or the attribute is missing or is not a number.
bool SessionGameType(const GameSession& session, std::int32_t& type);

class StatisticsService : public Service {
 public:
  static constexpr const char* kName = "StatisticsService";
  // Entities of type 0 are players; every other type is tracked apart.
  static constexpr std::uint8_t kPlayerEntity = 0;

  struct TrackedEntity {
    EntityID entity;
    ToolboxVector<FlexibleValue> values;  // one per property, in property order
    ToolboxVector<bool> dirty;
  };

  // SERVICE_NOT_AVAILABLE without a "MatchmakingService"; the definitions'
  // or the registration's failure otherwise (the service is then destroyed).
  static ERRORID create();
  static StatisticsService* find();

  const char* getName() const override { return kName; }
  virtual bool addEntityToStatisticsTracking(const EntityID& entity);
  virtual bool removeEntityFromStatisticsTracking(const EntityID& entity);
  virtual bool setStatistic(const EntityID& entity, std::int32_t property,
                            const FlexibleValue& value);
  virtual bool incrementStatistic(const EntityID& entity, std::int32_t property,
                                  const FlexibleValue& value);
  virtual const FlexibleValue* getStatistic(const EntityID& entity, std::int32_t property) const;
  virtual void resetStatistics(bool keep);
  virtual std::uint32_t submitStatistics(StatisticsServiceListener* listener);
  virtual std::uint32_t removePlayerFromLeaderboard(StatisticsServiceListener* listener,
                                                    std::uint8_t index, std::int32_t board);
  virtual std::uint32_t fetchStatisticsAroundEntity(StatisticsServiceListener* listener,
                                                    const EntityID& entity,
                                                    const VectorLeaderboardID& boards,
                                                    std::uint32_t count);
  virtual std::uint32_t fetchStatisticsFromRank(StatisticsServiceListener* listener,
                                                std::uint64_t rank,
                                                const VectorLeaderboardID& boards,
                                                std::uint32_t count);

  // Reads the definitions file named by MATCHMAKING_DEFAULT_FILE.
  ERRORID loadDefinitions();
  // A service with the definitions of a record list (tests and tools).
  void setDefinitions(ToolboxVector<StatisticsProperty> properties,
                      ToolboxVector<LeaderboardDefinition> leaderboards);
  const ToolboxVector<StatisticsProperty>& properties() const { return m_properties; }
  const ToolboxVector<LeaderboardDefinition>& leaderboards() const { return m_leaderboards; }
  const ToolboxVector<TrackedEntity>& tracked(bool players) const {
    return m_tracked[players ? 0 : 1];
  }
  const LeaderboardDefinition* findLeaderboard(std::int32_t id) const;
  int propertyIndex(std::int32_t id) const;
  // Whether the entity's value of that property awaits a submission.
  bool isDirty(const EntityID& entity, std::int32_t property) const;
  void markWritten(const EntityID& entity);
  // Tracks every logged-in local player of the session as a player entity
  // (those already tracked keep their values): the statistics the game sets
  // for them then have somewhere to go.
  void trackSessionPlayers(const GameSession& session);

  LuaForwarder* registerScript(ScriptInterpreter* interpreter) override;

  StatisticsService() = default;

 private:
  TrackedEntity* findTracked(const EntityID& entity);
  const TrackedEntity* findTracked(const EntityID& entity) const;
  bool store(const EntityID& entity, std::int32_t property, const FlexibleValue& value, bool add);
  TrackedEntity freshEntity(const EntityID& entity) const;

  ToolboxVector<StatisticsProperty> m_properties;
  ToolboxVector<LeaderboardDefinition> m_leaderboards;
  ToolboxVector<TrackedEntity> m_tracked[2];
};

}  // namespace OX_Toolbox
