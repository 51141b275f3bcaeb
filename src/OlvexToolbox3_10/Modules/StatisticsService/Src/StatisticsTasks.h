#pragma once
// The statistics service's tasks over the lobby's stats service: one row
// written to one leaderboard, a player removed from one, and pages of
// leaderboards fetched, each board by its own request.
#include <cstdint>

#include "Modules/Core/Src/Types/PlayerID.h"
#include "Modules/Services/Src/LobbyTask.h"
#include "Modules/StatisticsService/Src/StatisticsService.h"

namespace OX_Toolbox {

class TaskRezovovozOnlineSubmitLeaderboardRow : public TaskLobbyRequest {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozOnlineSubmitLeaderboardRow(const PlayerID& player, std::int32_t board,
                                          const EntityID& entity)
      : m_player(player), m_board(board), m_entity(entity) {}

 protected:
  ERRORID startRequest() override;
  ERRORID readReply() override;

 private:
  PlayerID m_player;
  std::int32_t m_board;
  EntityID m_entity;
};

// An arbitrated board written once for the whole session: one row per
// entity, under the session's id and the nonce fetched when the match began.
class TaskRezovovozOnlineSubmitArbitratedLeaderboard : public TaskLobbyRequest {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozOnlineSubmitArbitratedLeaderboard(std::int32_t board,
                                                 const ToolboxVector<EntityID>& entities)
      : m_board(board), m_entities(entities) {}

 protected:
  ERRORID startRequest() override;
  ERRORID readReply() override;

 private:
  std::int32_t m_board;
  ToolboxVector<EntityID> m_entities;
};

// The server's nonce for the current session, kept in the session.
class TaskRezovovozOnlineGetSessionNonce : public TaskLobbyRequest {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }

 protected:
  ERRORID startRequest() override;
  ERRORID readReply() override;
};

class TaskRezovovozOnlineSubmitLeaderboards : public TaskSequentialComposite {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  explicit TaskRezovovozOnlineSubmitLeaderboards(StatisticsServiceListener* listener)
      : m_listener(listener) {}
  void onStart() override;
  void onRemoved(ERRORID result) override;

 private:
  StatisticsServiceListener* m_listener;
};

class TaskRezovovozOnlineRemovePlayerFromLeaderboard : public TaskLobbyRequest {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozOnlineRemovePlayerFromLeaderboard(StatisticsServiceListener* listener,
                                                 std::uint8_t index, std::int32_t board)
      : m_listener(listener), m_index(index), m_board(board) {}

 protected:
  ERRORID startRequest() override;
  ERRORID readReply() override;
  void notify(ERRORID result) override;

 private:
  StatisticsServiceListener* m_listener;
  std::uint8_t m_index;
  std::int32_t m_board;
};

// One board's page: around an entity (rank 0) or from a rank (entity 0).
class TaskFetchLeaderboardPage : public TaskLobbyRequest {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskFetchLeaderboardPage(const LeaderboardDefinition& board, std::uint64_t entity,
                           std::uint64_t rank, std::uint32_t count)
      : m_board(board), m_entity(entity), m_rank(rank), m_count(count) {}
  const LeaderboardDefinition& board() const { return m_board; }

 protected:
  ERRORID startRequest() override;
  ERRORID readReply() override;

 private:
  LeaderboardDefinition m_board;
  std::uint64_t m_entity;
  std::uint64_t m_rank;
  std::uint32_t m_count;
};

class TaskFetchLeaderboards : public TaskSequentialComposite {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskFetchLeaderboards(StatisticsServiceListener* listener, bool aroundEntity)
      : m_listener(listener), m_aroundEntity(aroundEntity) {}
  void onSubTaskFinished(Task* sub, ERRORID& code) override;
  void onRemoved(ERRORID result) override;

 private:
  StatisticsServiceListener* m_listener;
  bool m_aroundEntity;
  VectorLeaderboard m_boards;
};

}  // namespace OX_Toolbox
