#include "Modules/Core/Src/Script/LuaTypes.h"

#include <cstdio>
#include <new>

#include <lua.hpp>

#include "Modules/Core/Src/Result/ErrorId.h"
#include "Modules/Core/Src/Types/Blob.h"
#include "Modules/Core/Src/Types/FlexibleValue.h"
#include "Modules/Core/Src/Types/PlayerID.h"
#include "Modules/Core/Src/Types/String.h"

namespace OX_Toolbox {

namespace {

constexpr const char* kInteger = "Meta.Integer";
constexpr const char* kString = "Meta.String";
constexpr const char* kPlayerID = "Meta.PlayerID";
constexpr const char* kVectorPlayerID = "Meta.VectorPlayerID";
constexpr const char* kEntityID = "Meta.EntityID";
constexpr const char* kFlexibleValue = "Meta.FlexibleValue";
constexpr const char* kVectorFlexibleValue = "Meta.VectorFlexibleValue";
constexpr const char* kBlob = "Meta.Blob";
constexpr const char* kLogger = "Logger";

int collect(lua_State* L) {
  auto* box = static_cast<LuaBox*>(lua_touserdata(L, 1));
  auto* destroyFn = static_cast<void (**)(void*)>(lua_touserdata(L, lua_upvalueindex(1)));
  if (box && box->owned && box->value && destroyFn && *destroyFn) {
    (*destroyFn)(box->value);
    box->value = nullptr;
  }
  return 0;
}

void pushText(lua_State* L, const String& s) {
  std::size_t n = 0;
  char* utf8 = s.toUtf8(&n);
  lua_pushlstring(L, utf8 ? utf8 : "", utf8 ? n : 0);
  ToolboxFree(utf8);
}

String textArg(lua_State* L, int index) {
  std::size_t n = 0;
  const char* text = luaL_checklstring(L, index, &n);
  String s;
  s.assignUtf8(text, n);
  return s;
}

// Meta.Integer
int integerGet(lua_State* L) {
  lua_pushinteger(L, CheckInteger(L, 1));
  return 1;
}
int integerToString(lua_State* L) {
  lua_pushfstring(L, "%I", static_cast<lua_Integer>(CheckInteger(L, 1)));
  return 1;
}
int integerEq(lua_State* L) {
  lua_pushboolean(L, CheckInteger(L, 1) == CheckInteger(L, 2));
  return 1;
}
const luaL_Reg kIntegerMethods[] = {{"get", integerGet}, {nullptr, nullptr}};

// Meta.String
int stringGet(lua_State* L) {
  pushText(L, *CheckString(L, 1));
  return 1;
}
int stringEq(lua_State* L) {
  lua_pushboolean(L, CheckString(L, 1)->equals(*CheckString(L, 2)));
  return 1;
}
int stringLength(lua_State* L) {
  lua_pushinteger(L, CheckString(L, 1)->length());
  return 1;
}
const luaL_Reg kStringMethods[] = {
    {"get", stringGet}, {"length", stringLength}, {nullptr, nullptr}};

// Meta.PlayerID
int playerGetId(lua_State* L) {
  PushInteger(L, static_cast<std::int64_t>(CheckPlayerID(L, 1)->getId()));
  return 1;
}
int playerGetType(lua_State* L) {
  PushInteger(L, CheckPlayerID(L, 1)->getConnectionType());
  return 1;
}
int playerEq(lua_State* L) {
  lua_pushboolean(L, *CheckPlayerID(L, 1) == *CheckPlayerID(L, 2));
  return 1;
}
const luaL_Reg kPlayerIDMethods[] = {
    {"getId", playerGetId}, {"getConnectionType", playerGetType}, {nullptr, nullptr}};

// Meta.EntityID
int entityGetId(lua_State* L) {
  PushInteger(L, static_cast<std::int64_t>(CheckEntityID(L, 1)->getId()));
  return 1;
}
int entityGetType(lua_State* L) {
  PushInteger(L, CheckEntityID(L, 1)->getType());
  return 1;
}
const luaL_Reg kEntityIDMethods[] = {
    {"getId", entityGetId}, {"getType", entityGetType}, {nullptr, nullptr}};

// Meta.FlexibleValue
int flexGetKind(lua_State* L) {
  PushInteger(L, CheckFlexibleValue(L, 1)->getKind());
  return 1;
}
int flexToString(lua_State* L) {
  FlexibleValue* v = CheckFlexibleValue(L, 1);
  String s;
  v->toString(s);
  pushText(L, s);
  return 1;
}
int flexGetAsInt64(lua_State* L) {
  PushInteger(L, CheckFlexibleValue(L, 1)->getAsInt64());
  return 1;
}
const luaL_Reg kFlexibleValueMethods[] = {{"getKind", flexGetKind},
                                          {"toString", flexToString},
                                          {"getAsInt64", flexGetAsInt64},
                                          {nullptr, nullptr}};

// Meta.Blob
int blobAddInt32(lua_State* L) {
  Blob* b = CheckBlob(L, 1);
  lua_pushboolean(L, b->writeInt32(b->getSize(), static_cast<std::int32_t>(CheckInteger(L, 2))));
  return 1;
}
int blobAddString(lua_State* L) {
  Blob* b = CheckBlob(L, 1);
  const String text = lua_isuserdata(L, 2) ? *CheckString(L, 2) : textArg(L, 2);
  lua_pushboolean(L, b->writeString(b->getSize(), text));
  return 1;
}
int blobGetSize(lua_State* L) {
  PushInteger(L, CheckBlob(L, 1)->getSize());
  return 1;
}
const luaL_Reg kBlobMethods[] = {{"addInt32", blobAddInt32},
                                 {"addString", blobAddString},
                                 {"getSize", blobGetSize},
                                 {nullptr, nullptr}};

// Meta.VectorPlayerID and Meta.VectorFlexibleValue: 1-based like Lua.
int vectorPlayerSize(lua_State* L) {
  PushInteger(L, static_cast<std::int64_t>(CheckVectorPlayerID(L, 1)->size()));
  return 1;
}
int vectorPlayerGet(lua_State* L) {
  VectorPlayerID* v = CheckVectorPlayerID(L, 1);
  const std::int64_t i = CheckInteger(L, 2);
  luaL_argcheck(L, i >= 1 && static_cast<std::uint64_t>(i) <= v->size(), 2, "index out of range");
  PushPlayerID(L, (*v)[static_cast<std::size_t>(i - 1)]);
  return 1;
}
int vectorPlayerAdd(lua_State* L) {
  VectorPlayerID* v = CheckVectorPlayerID(L, 1);
  v->push_back(*CheckPlayerID(L, 2));
  return 0;
}
const luaL_Reg kVectorPlayerIDMethods[] = {{"size", vectorPlayerSize},
                                           {"get", vectorPlayerGet},
                                           {"add", vectorPlayerAdd},
                                           {nullptr, nullptr}};

int vectorFlexSize(lua_State* L) {
  PushInteger(L, static_cast<std::int64_t>(CheckVectorFlexibleValue(L, 1)->size()));
  return 1;
}
int vectorFlexGet(lua_State* L) {
  VectorFlexibleValue* v = CheckVectorFlexibleValue(L, 1);
  const std::int64_t i = CheckInteger(L, 2);
  luaL_argcheck(L, i >= 1 && static_cast<std::uint64_t>(i) <= v->size(), 2, "index out of range");
  PushFlexibleValue(L, (*v)[static_cast<std::size_t>(i - 1)]);
  return 1;
}
const luaL_Reg kVectorFlexibleValueMethods[] = {
    {"size", vectorFlexSize}, {"get", vectorFlexGet}, {nullptr, nullptr}};

// Logger
int loggerLog(lua_State* L) {
  luaL_checkudata(L, 1, kLogger);
  std::printf("%s\n", luaL_checkstring(L, 2));
  return 0;
}
const luaL_Reg kLoggerMethods[] = {{"log", loggerLog}, {nullptr, nullptr}};

// Constructors.
int newInteger(lua_State* L) {
  PushInteger(L, CheckInteger(L, 1));
  return 1;
}
int newString(lua_State* L) {
  PushString(L, textArg(L, 1));
  return 1;
}
int newPlayerID(lua_State* L) {
  const auto type = static_cast<std::int32_t>(CheckInteger(L, 1));
  PushPlayerID(L, PlayerID(type, static_cast<std::uint64_t>(CheckInteger(L, 2))));
  return 1;
}
int newBlob(lua_State* L) {
  PushBlob(L, Blob());
  return 1;
}
int newVectorPlayerID(lua_State* L) {
  PushVectorPlayerID(L, VectorPlayerID());
  return 1;
}

void setIntegerGlobal(lua_State* L, const char* name, std::int64_t value) {
  PushInteger(L, value);
  lua_setglobal(L, name);
}

}  // namespace

void RegisterLuaType(lua_State* L, const char* metatable, const luaL_Reg* methods,
                     void (*destroyFn)(void*)) {
  luaL_newmetatable(L, metatable);
  lua_newtable(L);
  luaL_setfuncs(L, methods, 0);
  lua_setfield(L, -2, "__index");
  auto* slot = static_cast<void (**)(void*)>(lua_newuserdatauv(L, sizeof destroyFn, 0));
  *slot = destroyFn;
  lua_pushcclosure(L, collect, 1);
  lua_setfield(L, -2, "__gc");
  lua_pop(L, 1);
}

void PushLuaBox(lua_State* L, void* value, bool owned, const char* metatable) {
  auto* box = static_cast<LuaBox*>(lua_newuserdatauv(L, sizeof(LuaBox), 0));
  box->value = value;
  box->owned = owned;
  luaL_setmetatable(L, metatable);
}

void* CheckLuaBox(lua_State* L, int index, const char* metatable, const char* typeName) {
  auto* box = static_cast<LuaBox*>(luaL_testudata(L, index, metatable));
  if (!box || !box->value) {
    lua_pushfstring(L, "%s expected", typeName);
    luaL_argerror(L, index, lua_tostring(L, -1));
  }
  return box->value;
}

void* PushOwnedLuaBox(lua_State* L, std::size_t size, const char* metatable, LuaBox** box) {
  PushLuaBox(L, nullptr, true, metatable);
  *box = static_cast<LuaBox*>(lua_touserdata(L, -1));
  void* mem = ToolboxAlloc(size);
  if (!mem) luaL_error(L, "not enough memory");
  return mem;
}

void PushInteger(lua_State* L, std::int64_t value) { PushLuaCopy(L, value, kInteger); }
void PushString(lua_State* L, const String& value) { PushLuaCopy(L, value, kString); }
void PushPlayerID(lua_State* L, const PlayerID& value) { PushLuaCopy(L, value, kPlayerID); }
void PushEntityID(lua_State* L, const EntityID& value) { PushLuaCopy(L, value, kEntityID); }
void PushFlexibleValue(lua_State* L, const FlexibleValue& value) {
  PushLuaCopy(L, value, kFlexibleValue);
}
void PushBlob(lua_State* L, const Blob& value) { PushLuaCopy(L, value, kBlob); }
void PushVectorPlayerID(lua_State* L, const VectorPlayerID& value) {
  PushLuaCopy(L, value, kVectorPlayerID);
}
void PushVectorFlexibleValue(lua_State* L, const VectorFlexibleValue& value) {
  PushLuaCopy(L, value, kVectorFlexibleValue);
}

std::int64_t CheckInteger(lua_State* L, int index) {
  if (lua_type(L, index) == LUA_TNUMBER) {
    int exact = 0;
    const lua_Integer v = lua_tointegerx(L, index, &exact);
    if (exact) return v;
  }
  return *static_cast<std::int64_t*>(CheckLuaBox(L, index, kInteger, "Integer"));
}
String* CheckString(lua_State* L, int index) {
  return static_cast<String*>(CheckLuaBox(L, index, kString, "String"));
}
PlayerID* CheckPlayerID(lua_State* L, int index) {
  return static_cast<PlayerID*>(CheckLuaBox(L, index, kPlayerID, "PlayerID"));
}
EntityID* CheckEntityID(lua_State* L, int index) {
  return static_cast<EntityID*>(CheckLuaBox(L, index, kEntityID, "EntityID"));
}
FlexibleValue* CheckFlexibleValue(lua_State* L, int index) {
  return static_cast<FlexibleValue*>(CheckLuaBox(L, index, kFlexibleValue, "FlexibleValue"));
}
Blob* CheckBlob(lua_State* L, int index) {
  return static_cast<Blob*>(CheckLuaBox(L, index, kBlob, "Blob"));
}
VectorPlayerID* CheckVectorPlayerID(lua_State* L, int index) {
  return static_cast<VectorPlayerID*>(CheckLuaBox(L, index, kVectorPlayerID, "VectorPlayerID"));
}
VectorFlexibleValue* CheckVectorFlexibleValue(lua_State* L, int index) {
  return static_cast<VectorFlexibleValue*>(
      CheckLuaBox(L, index, kVectorFlexibleValue, "VectorFlexibleValue"));
}

void RegisterLuaValueTypes(lua_State* L) {
  RegisterLuaType(L, kInteger, kIntegerMethods, DestroyLuaValue<std::int64_t>);
  luaL_getmetatable(L, kInteger);
  lua_pushcfunction(L, integerToString);
  lua_setfield(L, -2, "__tostring");
  lua_pushcfunction(L, integerEq);
  lua_setfield(L, -2, "__eq");
  lua_pop(L, 1);
  RegisterLuaType(L, kString, kStringMethods, DestroyLuaValue<String>);
  luaL_getmetatable(L, kString);
  lua_pushcfunction(L, stringGet);
  lua_setfield(L, -2, "__tostring");
  lua_pushcfunction(L, stringEq);
  lua_setfield(L, -2, "__eq");
  lua_pop(L, 1);
  RegisterLuaType(L, kPlayerID, kPlayerIDMethods, DestroyLuaValue<PlayerID>);
  luaL_getmetatable(L, kPlayerID);
  lua_pushcfunction(L, playerEq);
  lua_setfield(L, -2, "__eq");
  lua_pop(L, 1);
  RegisterLuaType(L, kVectorPlayerID, kVectorPlayerIDMethods, DestroyLuaValue<VectorPlayerID>);
  RegisterLuaType(L, kEntityID, kEntityIDMethods, DestroyLuaValue<EntityID>);
  RegisterLuaType(L, kFlexibleValue, kFlexibleValueMethods, DestroyLuaValue<FlexibleValue>);
  RegisterLuaType(L, kVectorFlexibleValue, kVectorFlexibleValueMethods,
                  DestroyLuaValue<VectorFlexibleValue>);
  RegisterLuaType(L, kBlob, kBlobMethods, DestroyLuaValue<Blob>);
  RegisterLuaType(L, kLogger, kLoggerMethods, nullptr);

  lua_register(L, "Integer", newInteger);
  lua_register(L, "String", newString);
  lua_register(L, "PlayerID", newPlayerID);
  lua_register(L, "Blob", newBlob);
  lua_register(L, "VectorPlayerID", newVectorPlayerID);
  static int s_logger;  // the Logger holds nothing; any non-null pointer
  PushLuaBox(L, &s_logger, false, kLogger);
  lua_setglobal(L, "Logger");

  static const char* const kTypeNames[] = {
      "UNKNOWN_TYPE",   "OX_BLOB",          "OX_INT8",    "OX_UINT8",   "OX_INT16",  "OX_UINT16",
      "OX_INT32",       "OX_UINT32",        "OX_INT64",   "OX_UINT64",  "OX_STRING", "OX_BOOL",
      "OX_BINARYBLOCK", "OX_FLEXIBLEVALUE", "OX_FLOAT32", "OX_FLOAT64", "MAX_TYPE"};
  for (int i = 0; i <= MAX_TYPE; ++i)
    setIntegerGlobal(L, kTypeNames[i], i);
  setIntegerGlobal(L, "BLOB_EXTRACT_AND_WRITE_ENABLED", BLOB_EXTRACT_AND_WRITE_ENABLED);
  setIntegerGlobal(L, "BLOB_READONLY", BLOB_READONLY);
  setIntegerGlobal(L, "CONNECTIONTYPE_INVALID", CONNECTIONTYPE_INVALID);
  setIntegerGlobal(L, "CONNECTIONTYPE_LAN", CONNECTIONTYPE_LAN);
  setIntegerGlobal(L, "CONNECTIONTYPE_ONLINE", CONNECTIONTYPE_ONLINE);
  for (int i = 0; i < kErrorIdNameCount; ++i) {
    setIntegerGlobal(L, kErrorIdNames[i].name, kErrorIdNames[i].value);
  }
}

}  // namespace OX_Toolbox
