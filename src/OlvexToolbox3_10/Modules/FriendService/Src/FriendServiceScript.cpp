// The friend service seen from Lua: "Meta.FriendService" with its methods,
// and the listener that forwards the service's twelve events to
// "FriendService_on...".
#include <lua.hpp>

#include "Modules/Core/Src/Script/LuaTypes.h"
#include "Modules/Core/Src/Script/ScriptInterpreter.h"
#include "Modules/Core/Src/Types/PlayerID.h"
#include "Modules/FriendService/Src/FriendService.h"
#include "Modules/MessagingService/Src/MessagingService.h"
#include "Modules/MessagingService/Src/Messages/FriendMessages.h"

namespace OX_Toolbox {

namespace {

class FriendServiceForwarder : public LuaForwarder, public FriendServiceListener {
 public:
  explicit FriendServiceForwarder(ScriptInterpreter* interpreter)
      : LuaForwarder(interpreter, FriendService::kName) {}
#define TESS_FORWARD(event)                                   \
  void event(std::uint32_t taskId, ERRORID result) override { \
    forwardResult(#event, taskId, result);                    \
  }
  TESS_FORWARD(onSynchronizeFriends)
  TESS_FORWARD(onSynchronizeSentFriendshipRequests)
  TESS_FORWARD(onSynchronizeReceivedFriendshipRequests)
  TESS_FORWARD(onSendFriendshipRequest)
  TESS_FORWARD(onSendFriendshipRequestReply)
  TESS_FORWARD(onCancelFriendshipRequest)
  TESS_FORWARD(onRemoveFriend)
  TESS_FORWARD(onBlockFriend)
  TESS_FORWARD(onInvitePlayerToSession)
  TESS_FORWARD(onSendSessionInviteReply)
  TESS_FORWARD(onForwardInvitation)
  TESS_FORWARD(onSendFriendMessage)
#undef TESS_FORWARD
};

// Argument checks raise Lua errors, which unwind past these frames: every
// check comes before anything with a destructor is made.
FriendService* self(lua_State* L) {
  return static_cast<FriendService*>(CheckService(L, 1, FriendService::kName));
}
FriendServiceListener* listenerAt(lua_State* L, int index) {
  return static_cast<FriendServiceListener*>(
      CheckLuaBox(L, index, "Meta.FriendServiceListener", "FriendServiceListener"));
}
std::uint8_t indexAt(lua_State* L, int index) {
  return static_cast<std::uint8_t>(CheckInteger(L, index));
}
bool booleanAt(lua_State* L, int index) {
  luaL_checktype(L, index, LUA_TBOOLEAN);
  return lua_toboolean(L, index) != 0;
}
int taskId(lua_State* L, std::uint32_t id) {
  PushInteger(L, id);
  return 1;
}

int luaSynchronizeFriends(lua_State* L) {
  FriendService* s = self(L);
  FriendServiceListener* l = listenerAt(L, 2);
  return taskId(L, s->synchronizeFriends(l, indexAt(L, 3)));
}

int luaSynchronizeSentFriendshipRequests(lua_State* L) {
  FriendService* s = self(L);
  FriendServiceListener* l = listenerAt(L, 2);
  return taskId(L, s->synchronizeSentFriendshipRequests(l, indexAt(L, 3)));
}

int luaGetReceivedFriendshipRequests(lua_State* L) {
  FriendService* s = self(L);
  const std::uint8_t i = indexAt(L, 2);
  PushVectorPlayerID(L, s->getReceivedFriendshipRequests(i));
  return 1;
}

int luaSendFriendMailMessage(lua_State* L) {
  FriendService* s = self(L);
  FriendServiceListener* l = listenerAt(L, 2);
  const std::uint8_t i = indexAt(L, 3);
  auto* message =
      static_cast<AbstractMessage*>(CheckLuaBox(L, 4, MessagingService::kMessageMeta, "Message"));
  const std::uint32_t id = s->sendFriendMailMessage(l, i, message);
  // A queued mail belongs to its task now; a refused one stays the script's.
  if (id != 0) {
    auto* box = static_cast<LuaBox*>(lua_touserdata(L, 4));
    box->owned = false;
    box->value = nullptr;
  }
  return taskId(L, id);
}

// The operations of (listener, index, player).
template <std::uint32_t (FriendService::*Op)(FriendServiceListener*, std::uint8_t, const PlayerID&)>
int luaToPlayer(lua_State* L) {
  FriendService* s = self(L);
  FriendServiceListener* l = listenerAt(L, 2);
  const std::uint8_t i = indexAt(L, 3);
  const PlayerID* p = CheckPlayerID(L, 4);
  return taskId(L, (s->*Op)(l, i, *p));
}

// The operations of (listener, index, player, yes/no).
template <std::uint32_t (FriendService::*Op)(FriendServiceListener*, std::uint8_t, const PlayerID&,
                                             bool)>
int luaToPlayerWithFlag(lua_State* L) {
  FriendService* s = self(L);
  FriendServiceListener* l = listenerAt(L, 2);
  const std::uint8_t i = indexAt(L, 3);
  const PlayerID* p = CheckPlayerID(L, 4);
  const bool flag = booleanAt(L, 5);
  return taskId(L, (s->*Op)(l, i, *p, flag));
}

int luaSendSessionInviteReply(lua_State* L) {
  FriendService* s = self(L);
  FriendServiceListener* l = listenerAt(L, 2);
  const std::uint8_t i = indexAt(L, 3);
  const PlayerID* p = CheckPlayerID(L, 4);
  const auto session = static_cast<std::uint64_t>(CheckInteger(L, 5));
  const bool accept = booleanAt(L, 6);
  return taskId(L, s->sendSessionInviteReply(l, i, *p, session, accept));
}

int luaForwardInvitation(lua_State* L) {
  FriendService* s = self(L);
  FriendServiceListener* l = listenerAt(L, 2);
  const std::uint8_t i = indexAt(L, 3);
  const PlayerID* p = CheckPlayerID(L, 4);
  const auto* invitation = static_cast<const SessionInviteMessage*>(
      CheckLuaBox(L, 5, MessagingService::kInviteMeta, "SessionInviteMessage"));
  return taskId(L, s->forwardInvitation(l, i, *p, invitation));
}

}  // namespace

LuaForwarder* FriendService::registerScript(ScriptInterpreter* interpreter) {
  static const luaL_Reg kMethods[] = {
      {"synchronizeFriends", luaSynchronizeFriends},
      {"synchronizeSentFriendshipRequests", luaSynchronizeSentFriendshipRequests},
      {"getReceivedFriendshipRequests", luaGetReceivedFriendshipRequests},
      {"sendFriendMailMessage", luaSendFriendMailMessage},
      {"sendFriendshipRequest", luaToPlayer<&FriendService::sendFriendshipRequest>},
      {"sendFriendshipRequestReply",
       luaToPlayerWithFlag<&FriendService::sendFriendshipRequestReply>},
      {"cancelFriendshipRequest", luaToPlayer<&FriendService::cancelFriendshipRequest>},
      {"removeFriend", luaToPlayer<&FriendService::removeFriend>},
      {"blockFriend", luaToPlayerWithFlag<&FriendService::blockFriend>},
      {"invitePlayerToSession", luaToPlayer<&FriendService::invitePlayerToSession>},
      {"sendSessionInviteReply", luaSendSessionInviteReply},
      {"forwardInvitation", luaForwardInvitation},
      {nullptr, nullptr}};
  lua_State* L = interpreter->getLuaState();
  PublishService(L, this, kMethods);
  auto* forwarder = new FriendServiceForwarder(interpreter);
  PublishListener(L, kName, static_cast<FriendServiceListener*>(forwarder));
  return forwarder;
}

}  // namespace OX_Toolbox
