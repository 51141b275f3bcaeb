// The account service seen from Lua: "Meta.AccountService" with its
// methods, the definition types, and the listener that forwards each event
// to "AccountService_<event>" with the task id, the result and, for the
// profile reads, the values. Every check runs before any C++ object is made:
// an argument error unwinds past these frames.
#include <lua.hpp>

#include "Modules/AccountService/Src/Driver/Rezovovoz/AccountService.h"
#include "Modules/Core/Src/Script/LuaTypes.h"
#include "Modules/Core/Src/Script/ScriptInterpreter.h"

namespace OX_Toolbox {

namespace {

constexpr const char* kDefinition = "Meta.ProfilePropertyDefinition";
constexpr const char* kDefinitions = "Meta.VectorProfilePropertyDefinition";

class AccountServiceForwarder : public LuaForwarder, public AccountServiceListener {
 public:
  explicit AccountServiceForwarder(ScriptInterpreter* interpreter)
      : LuaForwarder(interpreter, AccountService::kName) {}
  void onCreateOnlinePlayer(std::uint32_t id, ERRORID r) override {
    send("onCreateOnlinePlayer", id, r);
  }
  void onDeleteOnlinePlayer(std::uint32_t id, ERRORID r) override {
    send("onDeleteOnlinePlayer", id, r);
  }
  void onLoginPlayer(std::uint32_t id, ERRORID r) override { send("onLoginPlayer", id, r); }
  void onLogoutPlayer(std::uint32_t id, ERRORID r) override { send("onLogoutPlayer", id, r); }
  void onAutoLoginPlayer(std::uint32_t id, ERRORID r) override { send("onAutoLoginPlayer", id, r); }
  void onSearchPlayerID(std::uint32_t id, ERRORID r) override { send("onSearchPlayerID", id, r); }
  void onSetPublicProfilePropertyValues(std::uint32_t id, ERRORID r) override {
    send("onSetPublicProfilePropertyValues", id, r);
  }
  void onSetPrivateProfilePropertyValues(std::uint32_t id, ERRORID r) override {
    send("onSetPrivateProfilePropertyValues", id, r);
  }
  void onRetrievePublicProfilePropetyValues(std::uint32_t id, ERRORID r,
                                            const ProfileValues& v) override {
    send("onRetrievePublicProfilePropetyValues", id, r, v);
  }
  void onRetrievePrivateProfilePropetyValues(std::uint32_t id, ERRORID r,
                                             const ProfileValues& v) override {
    send("onRetrievePrivateProfilePropetyValues", id, r, v);
  }

 private:
  void send(const char* event, std::uint32_t id, ERRORID r) { forwardResult(event, id, r); }
  // The profile reads add their values after (task id, result).
  void send(const char* event, std::uint32_t id, ERRORID r, const ProfileValues& values) {
    lua_State* L = begin(event);
    PushInteger(L, id);
    PushInteger(L, r);
    PushVectorFlexibleValue(L, values);
    finish(3);
  }
};

AccountService* self(lua_State* L) {
  return static_cast<AccountService*>(CheckService(L, 1, AccountService::kName));
}

AccountServiceListener* listenerAt(lua_State* L, int index) {
  return static_cast<AccountServiceListener*>(
      CheckLuaBox(L, index, "Meta.AccountServiceListener", "AccountServiceListener"));
}

std::uint8_t indexAt(lua_State* L, int index) {
  return static_cast<std::uint8_t>(CheckInteger(L, index));
}

int answer(lua_State* L, std::uint32_t id) {
  PushInteger(L, id);
  return 1;
}

int luaCreateOnlinePlayer(lua_State* L) {
  AccountService* s = self(L);
  AccountServiceListener* l = listenerAt(L, 2);
  const std::uint8_t i = indexAt(L, 3);
  String* args[6];
  for (int k = 0; k < 6; ++k)
    args[k] = CheckString(L, 4 + k);
  const String texts[4] = {*args[2], *args[3], *args[4], *args[5]};
  return answer(L, s->createOnlinePlayer(l, i, *args[0], *args[1], texts));
}

int luaDeleteOnlinePlayer(lua_State* L) {
  AccountService* s = self(L);
  AccountServiceListener* l = listenerAt(L, 2);
  const std::uint8_t i = indexAt(L, 3);
  String* login = CheckString(L, 4);
  String* password = CheckString(L, 5);
  return answer(L, s->deleteOnlinePlayer(l, i, *login, *password));
}

int luaLoginPlayer(lua_State* L) {
  AccountService* s = self(L);
  AccountServiceListener* l = listenerAt(L, 2);
  const auto type = static_cast<std::uint32_t>(CheckInteger(L, 3));
  const std::uint8_t i = indexAt(L, 4);
  String* login = CheckString(L, 5);
  String* password = CheckString(L, 6);
  return answer(L, s->loginPlayer(l, type, i, *login, *password));
}

int luaLogoutPlayer(lua_State* L) {
  AccountService* s = self(L);
  AccountServiceListener* l = listenerAt(L, 2);
  return answer(L, s->logoutPlayer(l, indexAt(L, 3)));
}

int luaSearchPlayerID(lua_State* L) {
  AccountService* s = self(L);
  AccountServiceListener* l = listenerAt(L, 2);
  const std::uint8_t i = indexAt(L, 3);
  String* name = CheckString(L, 4);
  return answer(L, s->searchPlayerID(l, i, *name));
}

int luaSetPublic(lua_State* L) {
  AccountService* s = self(L);
  AccountServiceListener* l = listenerAt(L, 2);
  const std::uint8_t i = indexAt(L, 3);
  VectorFlexibleValue* values = CheckVectorFlexibleValue(L, 4);
  return answer(L, s->setPublicProfilePropertyValues(l, i, *values));
}

int luaSetPrivate(lua_State* L) {
  AccountService* s = self(L);
  AccountServiceListener* l = listenerAt(L, 2);
  const std::uint8_t i = indexAt(L, 3);
  VectorFlexibleValue* values = CheckVectorFlexibleValue(L, 4);
  return answer(L, s->setPrivateProfilePropertyValues(l, i, *values));
}

int luaRetrievePublic(lua_State* L) {
  AccountService* s = self(L);
  AccountServiceListener* l = listenerAt(L, 2);
  const std::uint8_t i = indexAt(L, 3);
  PlayerID* target = CheckPlayerID(L, 4);
  return answer(L, s->retrievePublicProfilePropetyValues(l, i, *target));
}

int luaRetrievePrivate(lua_State* L) {
  AccountService* s = self(L);
  AccountServiceListener* l = listenerAt(L, 2);
  return answer(L, s->retrievePrivateProfilePropetyValues(l, indexAt(L, 3)));
}

int luaPublicDefinitions(lua_State* L) {
  const AccountService* s = self(L);
  PushLuaBox(L, new ProfileDefinitions(s->getAllPublicProfilePropertyDefinitions()), true,
             kDefinitions);
  return 1;
}

int luaPrivateDefinitions(lua_State* L) {
  const AccountService* s = self(L);
  PushLuaBox(L, new ProfileDefinitions(s->getAllPrivateProfilePropertyDefinitions()), true,
             kDefinitions);
  return 1;
}

ProfilePropertyDefinition* definitionAt(lua_State* L, int index) {
  return static_cast<ProfilePropertyDefinition*>(
      CheckLuaBox(L, index, kDefinition, "ProfilePropertyDefinition"));
}

ProfileDefinitions* definitionsAt(lua_State* L, int index) {
  return static_cast<ProfileDefinitions*>(
      CheckLuaBox(L, index, kDefinitions, "VectorProfilePropertyDefinition"));
}

int luaDefinitionId(lua_State* L) {
  PushInteger(L, definitionAt(L, 1)->id);
  return 1;
}

int luaDefinitionType(lua_State* L) {
  PushInteger(L, definitionAt(L, 1)->type);
  return 1;
}

int luaDefinitionsSize(lua_State* L) {
  PushInteger(L, static_cast<std::int64_t>(definitionsAt(L, 1)->size()));
  return 1;
}

// 1-based like Lua; nil outside the vector.
int luaDefinitionsGet(lua_State* L) {
  ProfileDefinitions* v = definitionsAt(L, 1);
  const std::int64_t i = CheckInteger(L, 2);
  if (i < 1 || static_cast<std::uint64_t>(i) > v->size()) {
    lua_pushnil(L);
    return 1;
  }
  PushLuaBox(L, new ProfilePropertyDefinition((*v)[static_cast<std::size_t>(i - 1)]), true,
             kDefinition);
  return 1;
}

int luaDefinitionsPushBack(lua_State* L) {
  ProfileDefinitions* v = definitionsAt(L, 1);
  v->push_back(*definitionAt(L, 2));
  return 0;
}

int luaDefinitionsErase(lua_State* L) {
  ProfileDefinitions* v = definitionsAt(L, 1);
  const std::int64_t i = CheckInteger(L, 2);
  if (i >= 1 && static_cast<std::uint64_t>(i) <= v->size())
    v->erase(v->begin() + static_cast<std::ptrdiff_t>(i - 1));
  return 0;
}

template <typename T>
void destroy(void* p) {
  delete static_cast<T*>(p);
}

}  // namespace

LuaForwarder* AccountService::registerScript(ScriptInterpreter* interpreter) {
  static const luaL_Reg kMethods[] = {
      {"createOnlinePlayer", luaCreateOnlinePlayer},
      {"deleteOnlinePlayer", luaDeleteOnlinePlayer},
      {"loginPlayer", luaLoginPlayer},
      {"logoutPlayer", luaLogoutPlayer},
      {"searchPlayerID", luaSearchPlayerID},
      {"setPublicProfilePropertyValues", luaSetPublic},
      {"setPrivateProfilePropertyValues", luaSetPrivate},
      {"retrievePublicProfilePropetyValues", luaRetrievePublic},
      {"retrievePrivateProfilePropetyValues", luaRetrievePrivate},
      {"getAllPublicProfilePropertyDefinitions", luaPublicDefinitions},
      {"getAllPrivateProfilePropertyDefinitions", luaPrivateDefinitions},
      {nullptr, nullptr}};
  static const luaL_Reg kDefinitionMethods[] = {
      {"getID", luaDefinitionId}, {"getType", luaDefinitionType}, {nullptr, nullptr}};
  static const luaL_Reg kDefinitionsMethods[] = {{"size", luaDefinitionsSize},
                                                 {"get", luaDefinitionsGet},
                                                 {"push_back", luaDefinitionsPushBack},
                                                 {"erase", luaDefinitionsErase},
                                                 {nullptr, nullptr}};
  lua_State* L = interpreter->getLuaState();
  RegisterLuaType(L, kDefinition, kDefinitionMethods, destroy<ProfilePropertyDefinition>);
  RegisterLuaType(L, kDefinitions, kDefinitionsMethods, destroy<ProfileDefinitions>);
  PublishService(L, this, kMethods);
  auto* forwarder = new AccountServiceForwarder(interpreter);
  PublishListener(L, kName, static_cast<AccountServiceListener*>(forwarder));
  return forwarder;
}

}  // namespace OX_Toolbox
