#include "Modules/StatisticsService/Src/StatisticsTasks.h"

#include "Modules/Core/Src/Players/LocalPlayer.h"
#include "Modules/FriendService/Src/PlayerLists.h"
#include "Modules/Services/Src/OnlineLink.h"
#include "bdLobbyService/bdLobbyServiceImpl.h"

namespace OX_Toolbox {

const ClassTypeInfo TaskRezovovozOnlineSubmitLeaderboardRow::s_type = {
    "TaskRezovovozOnlineSubmitLeaderboardRow", &TaskAtomic::s_type};
const ClassTypeInfo TaskRezovovozOnlineSubmitLeaderboards::s_type = {
    "TaskRezovovozOnlineSubmitLeaderboards", &TaskSequentialComposite::s_type};
const ClassTypeInfo TaskRezovovozOnlineRemovePlayerFromLeaderboard::s_type = {
    "TaskRezovovozOnlineRemovePlayerFromLeaderboard", &TaskAtomic::s_type};
const ClassTypeInfo TaskFetchLeaderboardPage::s_type = {
    "TaskRezovovozOnlineFetchStatisticsOnASingleLeaderboard", &TaskAtomic::s_type};
const ClassTypeInfo TaskFetchLeaderboards::s_type = {
    "TaskRezovovozOnlineFetchStatisticsOnAllLeaderboardsWithCallback",
    &TaskSequentialComposite::s_type};

namespace {

SessionPlayersQuery g_sessionPlayers = nullptr;

bdStats* statsService() { return Lobby() ? Lobby()->getStats() : nullptr; }

ERRORID readInto(const LobbyRequest& request, bdQueryResult* result) {
  bdStats* stats = statsService();
  if (!stats) return ERRORID_CONNECTION_FAILURE;
  return stats->handleTask(request.task(), result) ? ERRORID_SUCCEEDED
                                                   : LobbyErrorToErrorId(stats->getLastError());
}

// The rows of a page, each the stats record's base fields.
class RowsResult : public bdQueryResult {
 public:
  explicit RowsResult(LeaderboardDefinition& board) : m_board(board) {}
  bool handleResult(const unsigned int count, bdReference<bdBitBuffer> buffer) override {
    for (unsigned int i = 0; i < count; ++i) {
      LeaderboardRow row;
      if (!row.deserialize(buffer)) return false;
      FlexibleValue score;
      score.setInt64(row.getValue());
      row.values.push_back(score);
      m_board.rows.push_back(row);
    }
    m_numResults = count;
    return true;
  }

 private:
  LeaderboardDefinition& m_board;
};

}  // namespace

void SetSessionPlayersQuery(SessionPlayersQuery query) { g_sessionPlayers = query; }

ERRORID TaskRezovovozOnlineSubmitLeaderboardRow::startRequest() {
  StatisticsService* service = StatisticsService::find();
  LocalPlayer* me = LoggedInLocalPlayer(m_player);
  if (!me || m_player.getConnectionType() != CONNECTIONTYPE_ONLINE)
    return ERRORID_INVALID_PLAYER_ID;
  const LeaderboardDefinition* board = service ? service->findLeaderboard(m_board) : nullptr;
  if (!board) return ERRORID_INVALID_LEADERBOARD_ID;
  LeaderboardRow row(m_entity.getId());
  for (const LeaderboardColumn& column : board->columns) {
    const FlexibleValue* value = service->getStatistic(m_entity, column.propertyId);
    if (!value) break;  // an unknown property ends the copying
    row.values.push_back(*value);
  }
  if (!row.values.empty()) row.setValue(row.values[0].getAsInt64());
  // The first column says how the server combines the row: 2 adds, anything
  // else (3 among them) replaces.
  const unsigned char mode = !board->columns.empty() && board->columns[0].value == 2 ? 1 : 0;
  const std::uint64_t entity =
      m_entity.getType() == StatisticsService::kPlayerEntity ? m_entity.getId() : 0;
  bdStats* stats = statsService();
  if (!stats) return ERRORID_CONNECTION_FAILURE;
  return request().begin(
      stats->startTask(1, me->getIndex(),
                       bdLobbyArgs().u8(mode).i32(m_board).u64(entity).record(&row)),
      stats->getLastError());
}

ERRORID TaskRezovovozOnlineSubmitLeaderboardRow::readReply() {
  const ERRORID result = readInto(request(), nullptr);
  if (result == ERRORID_SUCCEEDED) {
    if (StatisticsService* service = StatisticsService::find()) service->markWritten(m_entity);
  }
  return result;
}

void TaskRezovovozOnlineSubmitLeaderboards::onStart() {
  StatisticsService* service = StatisticsService::find();
  ToolboxVector<PlayerID> players;
  std::int32_t gameType = 0;
  if (!service || !g_sessionPlayers || !g_sessionPlayers(players, gameType)) {
    setResult(ERRORID_SESSION_NOT_FOUND);
    return;
  }
  ToolboxVector<EntityID> written;
  auto once = [&written](const EntityID& e) {
    for (const EntityID& w : written) {
      if (w == e) return false;
    }
    written.push_back(e);
    return true;
  };
  for (const PlayerID& player : players) {
    if (!LoggedInLocalPlayer(player)) continue;  // each machine submits its own players
    for (const LeaderboardDefinition& board : service->leaderboards()) {
      // Arbitrated boards need the session's arbitration, which this
      // program never asks for: they are not written.
      if (board.submitMode != 2 || board.arbitrated) continue;
      for (const StatisticsService::TrackedEntity& t : service->tracked(board.playerBoard)) {
        if (t.entity.getId() != player.getId()) continue;
        bool anyDirty = false;
        for (bool d : t.dirty)
          anyDirty = anyDirty || d;
        if (anyDirty && once(t.entity))
          addSubTask(new TaskRezovovozOnlineSubmitLeaderboardRow(player, board.id, t.entity));
      }
    }
  }
  setResult(ERRORID_SUCCEEDED);
}

void TaskRezovovozOnlineSubmitLeaderboards::onRemoved(ERRORID result) {
  if (m_listener) m_listener->onSubmitStatistics(getId(), result);
}

ERRORID TaskRezovovozOnlineRemovePlayerFromLeaderboard::startRequest() {
  bdStats* stats = statsService();
  if (!stats) return ERRORID_CONNECTION_FAILURE;
  return request().begin(stats->startTask(2, m_index, bdLobbyArgs().i32(m_board).u64(0)),
                         stats->getLastError());
}

ERRORID TaskRezovovozOnlineRemovePlayerFromLeaderboard::readReply() {
  return readInto(request(), nullptr);
}

void TaskRezovovozOnlineRemovePlayerFromLeaderboard::notify(ERRORID result) {
  if (m_listener) m_listener->onRemovePlayerFromLeaderboard(getId(), result);
}

ERRORID TaskFetchLeaderboardPage::startRequest() {
  bdStats* stats = statsService();
  if (!stats) return ERRORID_CONNECTION_FAILURE;
  return request().begin(
      stats->startTask(5, 0, bdLobbyArgs().i32(m_board.id).u64(m_entity).u64(m_rank).i64(m_count)),
      stats->getLastError());
}

ERRORID TaskFetchLeaderboardPage::readReply() {
  m_board.rows.clear();
  RowsResult rows(m_board);
  return readInto(request(), &rows);
}

void TaskFetchLeaderboards::onSubTaskFinished(Task* sub, ERRORID& code) {
  if (code == ERRORID_SUCCEEDED)
    m_boards.push_back(static_cast<TaskFetchLeaderboardPage*>(sub)->board());
}

void TaskFetchLeaderboards::onRemoved(ERRORID result) {
  if (!m_listener) return;
  if (m_aroundEntity)
    m_listener->onFetchStatisticsAroundEntity(getId(), result, m_boards);
  else
    m_listener->onFetchStatisticsFromRank(getId(), result, m_boards);
}

}  // namespace OX_Toolbox
