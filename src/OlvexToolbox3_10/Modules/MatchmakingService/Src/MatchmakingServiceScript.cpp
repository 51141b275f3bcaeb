// The matchmaking service seen from Lua: "Meta.MatchmakingService" with its
// operations, the query, session and result-list types, and the listener that
// forwards the seven outcomes to "MatchmakingService_on...". A session id
// travels as one 64-bit integer, its eight bytes least significant first.
#include <lua.hpp>

#include <vector>

#include "Modules/Core/Src/Script/LuaTypes.h"
#include "Modules/Core/Src/Script/ScriptInterpreter.h"
#include "Modules/MatchmakingService/Src/MatchmakingConfig.h"
#include "Modules/MatchmakingService/Src/MatchmakingService.h"

namespace OX_Toolbox {

namespace {

constexpr const char* kQueryMeta = "Meta.MatchmakingQuery";
constexpr const char* kVectorMeta = "Meta.VectorSessionInfoPtr";
constexpr const char* kSessionMeta = "Meta.SessionInfo";
constexpr const char* kListenerMeta = "Meta.MatchmakingServiceListener";

using VectorSessionInfoPtr = std::vector<SessionInfo*>;

class MatchmakingServiceForwarder : public LuaForwarder, public MatchmakingServiceListener {
 public:
  explicit MatchmakingServiceForwarder(ScriptInterpreter* interpreter)
      : LuaForwarder(interpreter, MatchmakingService::kName) {}
#define TESS_FORWARD(event)                                   \
  void event(std::uint32_t taskId, ERRORID result) override { \
    forwardResult(#event, taskId, result);                    \
  }
  TESS_FORWARD(onHostSession)
  TESS_FORWARD(onUpdateSession)
  TESS_FORWARD(onJoinSession)
  TESS_FORWARD(onDeleteSession)
  TESS_FORWARD(onStartMatch)
  TESS_FORWARD(onEndMatch)
#undef TESS_FORWARD
  void onSearchSessions(std::uint32_t taskId, ERRORID result,
                        const VectorSessionInfoPtr& results) override {
    lua_State* L = begin("onSearchSessions");
    PushInteger(L, taskId);
    PushInteger(L, result);
    PushLuaBox(L, const_cast<VectorSessionInfoPtr*>(&results), false, kVectorMeta);
    finish(3);
  }
};

SessionID SessionIdFrom(std::int64_t value) {
  SessionID id{};
  const auto bits = static_cast<std::uint64_t>(value);
  for (std::size_t i = 0; i < id.size(); ++i)
    id[i] = static_cast<std::uint8_t>(bits >> (8 * i));
  return id;
}

std::int64_t SessionIdValue(const SessionID& id) {
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < id.size(); ++i)
    bits |= static_cast<std::uint64_t>(id[i]) << (8 * i);
  return static_cast<std::int64_t>(bits);
}

// Argument checks raise Lua errors, which unwind past these frames: every
// check comes before anything with a destructor is made.
MatchmakingService* self(lua_State* L) {
  return static_cast<MatchmakingService*>(CheckService(L, 1, MatchmakingService::kName));
}
MatchmakingServiceListener* listenerAt(lua_State* L, int index) {
  return static_cast<MatchmakingServiceListener*>(
      CheckLuaBox(L, index, kListenerMeta, "MatchmakingServiceListener"));
}
VectorSessionInfoPtr* vectorAt(lua_State* L, int index) {
  return static_cast<VectorSessionInfoPtr*>(
      CheckLuaBox(L, index, kVectorMeta, "VectorSessionInfoPtr"));
}
std::int32_t intAt(lua_State* L, int index) {
  return static_cast<std::int32_t>(CheckInteger(L, index));
}
int taskId(lua_State* L, std::uint32_t id) {
  PushInteger(L, id);
  return 1;
}

int luaHostSession(lua_State* L) {
  MatchmakingService* s = self(L);
  MatchmakingServiceListener* l = listenerAt(L, 2);
  const auto index = static_cast<std::uint8_t>(intAt(L, 3));
  return taskId(L, s->hostSession(l, index, intAt(L, 4)));
}

int luaSearchSessions(lua_State* L) {
  MatchmakingService* s = self(L);
  MatchmakingServiceListener* l = listenerAt(L, 2);
  const std::int32_t type = intAt(L, 3);
  const auto* query =
      static_cast<const MatchmakingQuery*>(CheckLuaBox(L, 4, kQueryMeta, "MatchmakingQuery"));
  return taskId(L, s->searchSessions(l, type, query));
}

int luaJoinSession(lua_State* L) {
  MatchmakingService* s = self(L);
  MatchmakingServiceListener* l = listenerAt(L, 2);
  const auto index = static_cast<std::uint8_t>(intAt(L, 3));
  const SessionID id = SessionIdFrom(CheckInteger(L, 4));
  luaL_checktype(L, 5, LUA_TBOOLEAN);
  const bool privateSlot = lua_toboolean(L, 5) != 0;
  return taskId(L, s->joinSession(l, index, id, privateSlot));
}

template <std::uint32_t (MatchmakingService::*Op)(MatchmakingServiceListener*)>
int luaListenerOnly(lua_State* L) {
  MatchmakingService* s = self(L);
  MatchmakingServiceListener* l = listenerAt(L, 2);
  return taskId(L, (s->*Op)(l));
}

// The query the configuration holds under the id, not owned; nil when none.
int luaFindQuery(lua_State* L) {
  MatchmakingService* s = self(L);
  MatchmakingQuery* q = s->findMatchmakingQueryById(intAt(L, 2));
  if (!q) {
    lua_pushnil(L);
  } else {
    PushLuaBox(L, q, false, kQueryMeta);
  }
  return 1;
}

// An index that names an element of the vector, or a Lua argument error.
std::size_t indexAt(lua_State* L, int at, const VectorSessionInfoPtr& v) {
  const std::int64_t i = CheckInteger(L, at);
  luaL_argcheck(L, i >= 0 && static_cast<std::uint64_t>(i) < v.size(), at,
                "index outside the vector");
  return static_cast<std::size_t>(i);
}

int luaVectorPushBack(lua_State* L) {
  VectorSessionInfoPtr* v = vectorAt(L, 1);
  auto* info = static_cast<SessionInfo*>(CheckLuaBox(L, 2, kSessionMeta, "SessionInfo"));
  v->push_back(info);
  return 0;
}

int luaVectorAt(lua_State* L) {
  VectorSessionInfoPtr* v = vectorAt(L, 1);
  PushLuaBox(L, (*v)[indexAt(L, 2, *v)], false, kSessionMeta);
  return 1;
}

int luaVectorErase(lua_State* L) {
  VectorSessionInfoPtr* v = vectorAt(L, 1);
  const std::size_t i = indexAt(L, 2, *v);
  v->erase(v->begin() + static_cast<std::ptrdiff_t>(i));
  return 0;
}

int luaVectorSize(lua_State* L) {
  lua_pushinteger(L, static_cast<lua_Integer>(vectorAt(L, 1)->size()));
  return 1;
}

int luaVectorNew(lua_State* L) {
  PushLuaBox(L, new VectorSessionInfoPtr(), true, kVectorMeta);
  return 1;
}

int luaSessionId(lua_State* L) {
  auto* info = static_cast<SessionInfo*>(CheckLuaBox(L, 1, kSessionMeta, "SessionInfo"));
  PushInteger(L, SessionIdValue(info->sessionId));
  return 1;
}

int luaSessionOwnerLogin(lua_State* L) {
  auto* info = static_cast<SessionInfo*>(CheckLuaBox(L, 1, kSessionMeta, "SessionInfo"));
  PushString(L, info->ownerLogin);
  return 1;
}

}  // namespace

LuaForwarder* MatchmakingService::registerScript(ScriptInterpreter* interpreter) {
  static const luaL_Reg kMethods[] = {
      {"hostSession", luaHostSession},
      {"searchSessions", luaSearchSessions},
      {"joinSession", luaJoinSession},
      {"deleteSession", luaListenerOnly<&MatchmakingService::deleteSession>},
      {"startMatch", luaListenerOnly<&MatchmakingService::startMatch>},
      {"endMatch", luaListenerOnly<&MatchmakingService::endMatch>},
      {"findMatchmakingQueryById", luaFindQuery},
      {nullptr, nullptr}};
  static const luaL_Reg kVectorMethods[] = {{"push_back", luaVectorPushBack},
                                            {"at", luaVectorAt},
                                            {"erase", luaVectorErase},
                                            {"size", luaVectorSize},
                                            {nullptr, nullptr}};
  static const luaL_Reg kSessionMethods[] = {
      {"getSessionId", luaSessionId}, {"getOwnerLogin", luaSessionOwnerLogin}, {nullptr, nullptr}};
  static const luaL_Reg kNone[] = {{nullptr, nullptr}};
  lua_State* L = interpreter->getLuaState();
  RegisterLuaType(L, kQueryMeta, kNone, [](void* q) { delete static_cast<MatchmakingQuery*>(q); });
  RegisterLuaType(L, kVectorMeta, kVectorMethods,
                  [](void* v) { delete static_cast<VectorSessionInfoPtr*>(v); });
  RegisterLuaType(L, kSessionMeta, kSessionMethods,
                  [](void* s) { delete static_cast<SessionInfo*>(s); });
  lua_newtable(L);
  lua_pushcfunction(L, luaVectorNew);
  lua_setfield(L, -2, "new");
  lua_setglobal(L, "VectorSessionInfoPtr");
  PublishService(L, this, kMethods);
  auto* forwarder = new MatchmakingServiceForwarder(interpreter);
  PublishListener(L, kName, static_cast<MatchmakingServiceListener*>(forwarder));
  return forwarder;
}

}  // namespace OX_Toolbox
