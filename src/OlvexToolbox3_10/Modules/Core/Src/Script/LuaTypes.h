#pragma once
// The value types as Lua userdata. Each has a metatable named "Meta." and
// its type name ("Meta.PlayerID"); a userdata holds a pointer to the value
// and an ownership mark: copies pushed into Lua are owned and freed by __gc,
// values pushed by reference are not. Each check function raises a Lua
// argument error "<type name> expected".
#include <cstddef>
#include <cstdint>
#include <new>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"

struct lua_State;
struct luaL_Reg;

namespace OX_Toolbox {

class Blob;
class EntityID;
class FlexibleValue;
class PlayerID;
class String;

using VectorPlayerID = ToolboxVector<PlayerID>;
using VectorFlexibleValue = ToolboxVector<FlexibleValue>;

// Registers every value type's metatable, the Logger, the constructors and
// the enumeration globals (type codes, blob modes, connection types,
// ERRORIDs) as Meta.Integer values.
void RegisterLuaValueTypes(lua_State* L);

// A userdata {pointer, owned}; owned ones are destroyed by the metatable's
// __gc through `destroy`.
struct LuaBox {
  void* value;
  bool owned;
};

// Pushes a userdata with the named metatable (which must be registered).
void PushLuaBox(lua_State* L, void* value, bool owned, const char* metatable);
// Pushes an owned, still empty userdata and returns toolbox memory of `size`
// bytes for its value (a Lua error when there is none) with the box to put
// it in. The userdata comes first, so a Lua memory error leaves nothing
// behind.
void* PushOwnedLuaBox(lua_State* L, std::size_t size, const char* metatable, LuaBox** box);

// Values owned by Lua live in toolbox memory, like every other toolbox value.
template <typename T>
void PushLuaCopy(lua_State* L, const T& value, const char* metatable) {
  LuaBox* box = nullptr;
  void* mem = PushOwnedLuaBox(L, sizeof(T), metatable, &box);
  box->value = ::new (mem) T(value);
}

// The __gc side of PushLuaCopy.
template <typename T>
void DestroyLuaValue(void* p) {
  static_cast<T*>(p)->~T();
  ToolboxFree(p);
}
// The pointer held by the userdata at the index when its metatable is the
// named one, else raises "<typeName> expected".
void* CheckLuaBox(lua_State* L, int index, const char* metatable, const char* typeName);
// Registers a metatable whose __index is a method table and whose __gc
// frees owned values with `destroy` (null: nothing to free).
void RegisterLuaType(lua_State* L, const char* metatable, const luaL_Reg* methods,
                     void (*destroy)(void*));

void PushInteger(lua_State* L, std::int64_t value);
void PushString(lua_State* L, const String& value);
void PushPlayerID(lua_State* L, const PlayerID& value);
void PushEntityID(lua_State* L, const EntityID& value);
void PushFlexibleValue(lua_State* L, const FlexibleValue& value);
void PushBlob(lua_State* L, const Blob& value);
void PushVectorPlayerID(lua_State* L, const VectorPlayerID& value);
void PushVectorFlexibleValue(lua_State* L, const VectorFlexibleValue& value);

std::int64_t CheckInteger(lua_State* L, int index);
String* CheckString(lua_State* L, int index);
PlayerID* CheckPlayerID(lua_State* L, int index);
EntityID* CheckEntityID(lua_State* L, int index);
FlexibleValue* CheckFlexibleValue(lua_State* L, int index);
Blob* CheckBlob(lua_State* L, int index);
VectorPlayerID* CheckVectorPlayerID(lua_State* L, int index);
VectorFlexibleValue* CheckVectorFlexibleValue(lua_State* L, int index);

}  // namespace OX_Toolbox
