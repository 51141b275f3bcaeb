#include "Modules/StatisticsService/Src/StatisticsTasks.h"

#include <climits>
#include <cstring>

#include "Modules/Core/Src/Players/LocalPlayer.h"
#include "Modules/FriendService/Src/PlayerLists.h"
#include "Modules/MatchmakingService/Src/MatchmakingConfig.h"
#include "Modules/Services/Src/OnlineLink.h"
#include "Modules/Session/Src/GameSession.h"
#include "bdLobbyService/bdLobbyServiceImpl.h"

namespace OX_Toolbox {

const ClassTypeInfo TaskRezovovozOnlineSubmitLeaderboardRow::s_type = {
    "TaskRezovovozOnlineSubmitLeaderboardRow", &TaskAtomic::s_type};
const ClassTypeInfo TaskRezovovozOnlineSubmitArbitratedLeaderboard::s_type = {
    "TaskRezovovozOnlineSubmitArbitratedLeaderboard", &TaskAtomic::s_type};
const ClassTypeInfo TaskRezovovozOnlineGetSessionNonce::s_type = {
    "TaskRezovovozOnlineGetSessionNonce", &TaskAtomic::s_type};
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

SessionFieldQuery g_sessionField = nullptr;

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

// The one reply of the nonce request.
class NonceResult : public bdQueryResult {
 public:
  bool handleResult(const unsigned int count, bdReference<bdBitBuffer> buffer) override {
    if (count != 1 || !buffer->readUInt64(nonce)) return false;
    m_numResults = 1;
    return true;
  }
  std::uint64_t nonce = 0;
};

// How the server combines a board's rows with what it holds: the first
// column's 2 adds; anything else (3 among them) replaces.
bdStats::bdWriteType writeModeOf(const LeaderboardDefinition& board) {
  return !board.columns.empty() && board.columns[0].value == 2 ? bdStats::BD_STATS_ADD
                                                               : bdStats::BD_STATS_REPLACE;
}

// The entity's row of the board: each column's property value, in column
// order; a column whose property is unknown ends the copying.
LeaderboardRow rowOf(const StatisticsService& service, const LeaderboardDefinition& board,
                     const EntityID& entity, std::uint64_t rowEntity) {
  LeaderboardRow row(rowEntity);
  for (const LeaderboardColumn& column : board.columns) {
    const FlexibleValue* value = service.getStatistic(entity, column.propertyId);
    if (!value) break;
    row.values.push_back(*value);
  }
  if (!row.values.empty()) row.setValue(row.values[0].getAsInt64());
  return row;
}

bool anyDirty(const StatisticsService::TrackedEntity& t) {
  for (bool d : t.dirty) {
    if (d) return true;
  }
  return false;
}

}  // namespace

void SetSessionFieldQuery(SessionFieldQuery query) { g_sessionField = query; }

bool SessionGameType(const GameSession& session, std::int32_t& type) {
  std::uint32_t field = 0;
  if (g_sessionField) {
    if (!g_sessionField("OLVEX_gameType", field)) return false;
  } else {
    MatchmakingConfig* config = MatchmakingConfig::instance();
    const MatchmakingField* f = config ? config->findFieldByName("OLVEX_gameType") : nullptr;
    if (!f) return false;
    field = static_cast<std::uint32_t>(f->id);
  }
  const String* text = session.info().findAttribute(field);
  if (!text || text->length() == 0) return false;
  std::int64_t value = 0;
  const char16_t* c = text->c_wstr();
  const bool negative = *c == u'-';
  if (negative) ++c;
  if (*c == 0) return false;
  for (; *c; ++c) {
    if (*c < u'0' || *c > u'9' || value > INT32_MAX) return false;
    value = value * 10 + (*c - u'0');
  }
  value = negative ? -value : value;
  if (value < INT32_MIN || value > INT32_MAX) return false;
  type = static_cast<std::int32_t>(value);
  return true;
}

ERRORID TaskRezovovozOnlineSubmitLeaderboardRow::startRequest() {
  StatisticsService* service = StatisticsService::find();
  LocalPlayer* me = LoggedInLocalPlayer(m_player);
  if (!me || m_player.getConnectionType() != CONNECTIONTYPE_ONLINE)
    return ERRORID_INVALID_PLAYER_ID;
  const LeaderboardDefinition* board = service ? service->findLeaderboard(m_board) : nullptr;
  if (!board) return ERRORID_INVALID_LEADERBOARD_ID;
  LeaderboardRow row = rowOf(*service, *board, m_entity, m_entity.getId());
  const std::uint64_t entity =
      m_entity.getType() == StatisticsService::kPlayerEntity ? m_entity.getId() : 0;
  bdStats* stats = statsService();
  if (!stats) return ERRORID_CONNECTION_FAILURE;
  return request().begin(stats->startTask(1, me->getIndex(),
                                          bdLobbyArgs()
                                              .u8(static_cast<unsigned char>(writeModeOf(*board)))
                                              .i32(m_board)
                                              .u64(entity)
                                              .record(&row)),
                         stats->getLastError());
}

ERRORID TaskRezovovozOnlineSubmitLeaderboardRow::readReply() {
  const ERRORID result = readInto(request(), nullptr);
  if (result == ERRORID_SUCCEEDED) {
    if (StatisticsService* service = StatisticsService::find()) service->markWritten(m_entity);
  }
  return result;
}

ERRORID TaskRezovovozOnlineSubmitArbitratedLeaderboard::startRequest() {
  StatisticsService* service = StatisticsService::find();
  GameSession* session = GameSession::current();
  if (!session) return ERRORID_SESSION_NOT_FOUND;
  const LeaderboardDefinition* board = service ? service->findLeaderboard(m_board) : nullptr;
  if (!board) return ERRORID_INVALID_LEADERBOARD_ID;
  ToolboxVector<LeaderboardRow> rows;
  for (const EntityID& e : m_entities)
    rows.push_back(rowOf(*service, *board, e, e.getId()));
  ToolboxVector<bdStatsInfo*> records;
  for (LeaderboardRow& r : rows)
    records.push_back(&r);
  bdSecurityID id;
  std::memcpy(id.ab, session->info().sessionId.data(), bdSecurityID::SIZE);
  bdStats* stats = statsService();
  if (!stats) return ERRORID_CONNECTION_FAILURE;
  return request().begin(
      stats->writeArbitratedStats(static_cast<unsigned int>(m_board), id, session->info().nonce,
                                  writeModeOf(*board), records.data(),
                                  static_cast<unsigned int>(records.size())),
      stats->getLastError());
}

ERRORID TaskRezovovozOnlineSubmitArbitratedLeaderboard::readReply() {
  const ERRORID result = readInto(request(), nullptr);
  if (result == ERRORID_SUCCEEDED) {
    if (StatisticsService* service = StatisticsService::find()) {
      for (const EntityID& e : m_entities)
        service->markWritten(e);
    }
  }
  return result;
}

ERRORID TaskRezovovozOnlineGetSessionNonce::startRequest() {
  GameSession* session = GameSession::current();
  if (!session) return ERRORID_SESSION_NOT_FOUND;
  bdStats* stats = statsService();
  if (!stats) return ERRORID_CONNECTION_FAILURE;
  return request().begin(
      stats->startTask(8, 0, bdLobbyArgs().blob8(session->info().sessionId.data())),
      stats->getLastError());
}

ERRORID TaskRezovovozOnlineGetSessionNonce::readReply() {
  NonceResult nonce;
  const ERRORID result = readInto(request(), &nonce);
  if (result != ERRORID_SUCCEEDED) return result;
  if (nonce.getNumResults() != 1) return ERRORID_FAILED;  // an answer without its nonce
  GameSession* session = GameSession::current();
  if (!session) return ERRORID_SESSION_NOT_FOUND;  // left while the request ran
  session->info().nonce = nonce.nonce;
  return ERRORID_SUCCEEDED;
}

void TaskRezovovozOnlineSubmitLeaderboards::onStart() {
  StatisticsService* service = StatisticsService::find();
  GameSession* session = GameSession::current();
  if (!service || !session) {
    setResult(ERRORID_SESSION_NOT_FOUND);
    return;
  }
  std::int32_t gameType = -1;
  const bool typed = SessionGameType(*session, gameType);
  // A row goes out once per board and entity in a pass, however often the
  // player is listed; an entity that feeds two boards is written to both.
  ToolboxVector<std::pair<std::int32_t, EntityID>> written;
  auto once = [&written](std::int32_t board, const EntityID& e) {
    for (const auto& w : written) {
      if (w.first == board && w.second == e) return false;
    }
    written.push_back({board, e});
    return true;
  };
  ToolboxVector<std::int32_t> arbitratedDone;
  for (const SessionPeer& peer : session->peers()) {
    const PlayerID& player = peer.id;
    if (!LoggedInLocalPlayer(player)) continue;  // each machine submits its own players
    for (const LeaderboardDefinition& board : service->leaderboards()) {
      if (board.submitMode != 2) continue;
      if (board.arbitrated) {
        // Once for the session, and only in a game of type 0.
        if (!typed || gameType != 0) continue;
        bool done = false;
        for (std::int32_t id : arbitratedDone)
          done = done || id == board.id;
        if (done) continue;
        arbitratedDone.push_back(board.id);
        ToolboxVector<EntityID> entities;
        for (const StatisticsService::TrackedEntity& t : service->tracked(board.playerBoard)) {
          if (anyDirty(t)) entities.push_back(t.entity);
        }
        if (!entities.empty())
          addSubTask(new TaskRezovovozOnlineSubmitArbitratedLeaderboard(board.id, entities));
        continue;
      }
      for (const StatisticsService::TrackedEntity& t : service->tracked(board.playerBoard)) {
        if (t.entity.getId() != player.getId()) continue;
        if (anyDirty(t) && once(board.id, t.entity))
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
