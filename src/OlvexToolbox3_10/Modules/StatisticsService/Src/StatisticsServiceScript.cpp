// The statistics service seen from Lua: "Meta.StatisticsService" with its
// methods, the leaderboard and board-id vectors, and the listener that
// forwards the service's four events to "StatisticsService_on...".
#include <lua.hpp>
#include <new>

#include "Modules/Core/Src/Script/LuaTypes.h"
#include "Modules/Core/Src/Script/ScriptInterpreter.h"
#include "Modules/Core/Src/Types/FlexibleValue.h"
#include "Modules/Core/Src/Types/PlayerID.h"
#include "Modules/StatisticsService/Src/StatisticsService.h"

namespace OX_Toolbox {

namespace {

constexpr const char* kLeaderboard = "Meta.Leaderboard";
constexpr const char* kVectorLeaderboard = "Meta.VectorLeaderboard";
constexpr const char* kVectorLeaderboardID = "Meta.VectorLeaderboardID";
constexpr const char* kFlexibleValue = "Meta.FlexibleValue";

class StatisticsServiceForwarder : public LuaForwarder, public StatisticsServiceListener {
 public:
  explicit StatisticsServiceForwarder(ScriptInterpreter* interpreter)
      : LuaForwarder(interpreter, StatisticsService::kName) {}
  void onSubmitStatistics(std::uint32_t taskId, ERRORID result) override {
    forwardResult("onSubmitStatistics", taskId, result);
  }
  void onRemovePlayerFromLeaderboard(std::uint32_t taskId, ERRORID result) override {
    forwardResult("onRemovePlayerFromLeaderboard", taskId, result);
  }
  void onFetchStatisticsAroundEntity(std::uint32_t taskId, ERRORID result,
                                     const VectorLeaderboard& boards) override {
    forwardBoards("onFetchStatisticsAroundEntity", taskId, result, boards);
  }
  void onFetchStatisticsFromRank(std::uint32_t taskId, ERRORID result,
                                 const VectorLeaderboard& boards) override {
    forwardBoards("onFetchStatisticsFromRank", taskId, result, boards);
  }

 private:
  // The boards are lent for the call only: the script must copy what it keeps.
  void forwardBoards(const char* event, std::uint32_t taskId, ERRORID result,
                     const VectorLeaderboard& boards) {
    lua_State* L = begin(event);
    PushInteger(L, taskId);
    PushInteger(L, result);
    PushLuaBox(L, const_cast<VectorLeaderboard*>(&boards), false, kVectorLeaderboard);
    finish(3);
  }
};

// Argument checks raise Lua errors, which unwind past these frames: every
// check comes before anything with a destructor is made.
StatisticsService* self(lua_State* L) {
  return static_cast<StatisticsService*>(CheckService(L, 1, StatisticsService::kName));
}
StatisticsServiceListener* listenerAt(lua_State* L, int index) {
  return static_cast<StatisticsServiceListener*>(
      CheckLuaBox(L, index, "Meta.StatisticsServiceListener", "StatisticsServiceListener"));
}
VectorLeaderboard* boardsAt(lua_State* L, int index) {
  return static_cast<VectorLeaderboard*>(
      CheckLuaBox(L, index, kVectorLeaderboard, "VectorLeaderboard"));
}
VectorLeaderboardID* boardIdsAt(lua_State* L, int index) {
  return static_cast<VectorLeaderboardID*>(
      CheckLuaBox(L, index, kVectorLeaderboardID, "VectorLeaderboardID"));
}
int taskId(lua_State* L, std::uint32_t id) {
  PushInteger(L, id);
  return 1;
}

// Zero-based, within the vector's size.
std::size_t indexAt(lua_State* L, int index, std::size_t size) {
  const std::int64_t i = CheckInteger(L, index);
  if (i < 0 || static_cast<std::uint64_t>(i) >= size) luaL_argerror(L, index, "index out of range");
  return static_cast<std::size_t>(i);
}

int luaAddEntity(lua_State* L) {
  StatisticsService* s = self(L);
  const EntityID* e = CheckEntityID(L, 2);
  lua_pushboolean(L, s->addEntityToStatisticsTracking(*e));
  return 1;
}

int luaRemoveEntity(lua_State* L) {
  StatisticsService* s = self(L);
  const EntityID* e = CheckEntityID(L, 2);
  lua_pushboolean(L, s->removeEntityFromStatisticsTracking(*e));
  return 1;
}

template <bool (StatisticsService::*Op)(const EntityID&, std::int32_t, const FlexibleValue&)>
int luaStore(lua_State* L) {
  StatisticsService* s = self(L);
  const EntityID* e = CheckEntityID(L, 2);
  const auto property = static_cast<std::int32_t>(CheckInteger(L, 3));
  const FlexibleValue* v = CheckFlexibleValue(L, 4);
  lua_pushboolean(L, (s->*Op)(*e, property, *v));
  return 1;
}

int luaGetStatistic(lua_State* L) {
  StatisticsService* s = self(L);
  const EntityID* e = CheckEntityID(L, 2);
  const auto property = static_cast<std::int32_t>(CheckInteger(L, 3));
  const FlexibleValue* v = s->getStatistic(*e, property);
  if (v)
    PushLuaBox(L, const_cast<FlexibleValue*>(v), false, kFlexibleValue);
  else
    lua_pushnil(L);
  return 1;
}

int luaSubmitStatistics(lua_State* L) {
  StatisticsService* s = self(L);
  StatisticsServiceListener* l = listenerAt(L, 2);
  return taskId(L, s->submitStatistics(l));
}

int luaRemovePlayerFromLeaderboard(lua_State* L) {
  StatisticsService* s = self(L);
  StatisticsServiceListener* l = listenerAt(L, 2);
  const auto index = static_cast<std::uint8_t>(CheckInteger(L, 3));
  const auto board = static_cast<std::int32_t>(CheckInteger(L, 4));
  return taskId(L, s->removePlayerFromLeaderboard(l, index, board));
}

int luaFetchAroundEntity(lua_State* L) {
  StatisticsService* s = self(L);
  StatisticsServiceListener* l = listenerAt(L, 2);
  const EntityID* e = CheckEntityID(L, 3);
  const VectorLeaderboardID* boards = boardIdsAt(L, 4);
  const auto count = static_cast<std::uint32_t>(CheckInteger(L, 5));
  return taskId(L, s->fetchStatisticsAroundEntity(l, *e, *boards, count));
}

int luaFetchFromRank(lua_State* L) {
  StatisticsService* s = self(L);
  StatisticsServiceListener* l = listenerAt(L, 2);
  const auto rank = static_cast<std::uint64_t>(CheckInteger(L, 3));
  const VectorLeaderboardID* boards = boardIdsAt(L, 4);
  const auto count = static_cast<std::uint32_t>(CheckInteger(L, 5));
  return taskId(L, s->fetchStatisticsFromRank(l, rank, *boards, count));
}

// Meta.VectorLeaderboard
int boardsPushBack(lua_State* L) {
  VectorLeaderboard* v = boardsAt(L, 1);
  const auto* board =
      static_cast<const LeaderboardDefinition*>(CheckLuaBox(L, 2, kLeaderboard, "Leaderboard"));
  v->push_back(*board);
  return 0;
}
int boardsGet(lua_State* L) {
  VectorLeaderboard* v = boardsAt(L, 1);
  const std::size_t i = indexAt(L, 2, v->size());
  PushLuaBox(L, &(*v)[i], false, kLeaderboard);
  return 1;
}
int boardsErase(lua_State* L) {
  VectorLeaderboard* v = boardsAt(L, 1);
  const std::size_t i = indexAt(L, 2, v->size());
  v->erase(v->begin() + static_cast<std::ptrdiff_t>(i));
  return 0;
}
int boardsSize(lua_State* L) {
  lua_pushinteger(L, static_cast<lua_Integer>(boardsAt(L, 1)->size()));
  return 1;
}
int newBoards(lua_State* L) {
  PushLuaCopy(L, VectorLeaderboard(), kVectorLeaderboard);
  return 1;
}

// Meta.VectorLeaderboardID
int idsPushBack(lua_State* L) {
  VectorLeaderboardID* v = boardIdsAt(L, 1);
  v->push_back(static_cast<std::int32_t>(CheckInteger(L, 2)));
  return 0;
}
int idsGet(lua_State* L) {
  VectorLeaderboardID* v = boardIdsAt(L, 1);
  PushInteger(L, (*v)[indexAt(L, 2, v->size())]);
  return 1;
}
int idsErase(lua_State* L) {
  VectorLeaderboardID* v = boardIdsAt(L, 1);
  const std::size_t i = indexAt(L, 2, v->size());
  v->erase(v->begin() + static_cast<std::ptrdiff_t>(i));
  return 0;
}
int idsSize(lua_State* L) {
  lua_pushinteger(L, static_cast<lua_Integer>(boardIdsAt(L, 1)->size()));
  return 1;
}
int newIds(lua_State* L) {
  PushLuaCopy(L, VectorLeaderboardID(), kVectorLeaderboardID);
  return 1;
}

// A global table holding the vector's constructor.
void publishConstructor(lua_State* L, const char* global, lua_CFunction constructor) {
  lua_newtable(L);
  lua_pushcfunction(L, constructor);
  lua_setfield(L, -2, "new");
  lua_setglobal(L, global);
}

}  // namespace

LuaForwarder* StatisticsService::registerScript(ScriptInterpreter* interpreter) {
  static const luaL_Reg kMethods[] = {
      {"addEntityToStatisticsTracking", luaAddEntity},
      {"removeEntityFromStatisticsTracking", luaRemoveEntity},
      {"setStatistic", luaStore<&StatisticsService::setStatistic>},
      {"incrementStatistic", luaStore<&StatisticsService::incrementStatistic>},
      {"getStatistic", luaGetStatistic},
      {"submitStatistics", luaSubmitStatistics},
      {"removePlayerFromLeaderboard", luaRemovePlayerFromLeaderboard},
      {"fetchStatisticsAroundEntity", luaFetchAroundEntity},
      {"fetchStatisticsFromRank", luaFetchFromRank},
      {nullptr, nullptr}};
  static const luaL_Reg kNoMethods[] = {{nullptr, nullptr}};
  static const luaL_Reg kBoardsMethods[] = {{"push_back", boardsPushBack},
                                            {"at", boardsGet},
                                            {"erase", boardsErase},
                                            {"size", boardsSize},
                                            {nullptr, nullptr}};
  static const luaL_Reg kIdsMethods[] = {{"push_back", idsPushBack},
                                         {"at", idsGet},
                                         {"erase", idsErase},
                                         {"size", idsSize},
                                         {nullptr, nullptr}};
  lua_State* L = interpreter->getLuaState();
  RegisterLuaType(L, kLeaderboard, kNoMethods, DestroyLuaValue<LeaderboardDefinition>);
  RegisterLuaType(L, kVectorLeaderboard, kBoardsMethods, DestroyLuaValue<VectorLeaderboard>);
  RegisterLuaType(L, kVectorLeaderboardID, kIdsMethods, DestroyLuaValue<VectorLeaderboardID>);
  publishConstructor(L, "VectorLeaderboard", newBoards);
  publishConstructor(L, "VectorLeaderboardID", newIds);
  PublishService(L, this, kMethods);
  auto* forwarder = new StatisticsServiceForwarder(interpreter);
  PublishListener(L, kName, static_cast<StatisticsServiceListener*>(forwarder));
  return forwarder;
}

}  // namespace OX_Toolbox
