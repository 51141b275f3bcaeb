#include "Modules/Core/Src/Script/LuaState.h"

#include <lua.hpp>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "Modules/Core/Src/Script/LuaVersion.h"

namespace OX_Toolbox {

namespace {

void* luaAlloc(void*, void* block, std::size_t, std::size_t size) {
  if (size == 0) {
    ToolboxFree(block);
    return nullptr;
  }
  return ToolboxRealloc(block, size);
}

// `load` with its mode argument forced to text.
int textOnlyLoad(lua_State* L) {
  if (lua_gettop(L) < 3) lua_settop(L, 3);
  lua_pushliteral(L, "t");
  lua_replace(L, 3);
  lua_pushvalue(L, lua_upvalueindex(1));
  lua_insert(L, 1);
  lua_call(L, lua_gettop(L) - 1, LUA_MULTRET);
  return lua_gettop(L);
}

int openLibraries(lua_State* L) {
  const auto libraries = static_cast<unsigned>(lua_tointeger(L, 1));
  luaL_requiref(L, LUA_GNAME, luaopen_base, 1);
  lua_pop(L, 1);
  if (libraries & LUA_LIBS_COROUTINE) {
    luaL_requiref(L, LUA_COLIBNAME, luaopen_coroutine, 1);
    lua_pop(L, 1);
  }
  if (libraries & LUA_LIBS_STRING) {
    luaL_requiref(L, LUA_STRLIBNAME, luaopen_string, 1);
    lua_pop(L, 1);
  }
  if (libraries & LUA_LIBS_TABLE) {
    luaL_requiref(L, LUA_TABLIBNAME, luaopen_table, 1);
    lua_pop(L, 1);
  }
  lua_pushnil(L);
  lua_setglobal(L, "dofile");
  lua_pushnil(L);
  lua_setglobal(L, "loadfile");
  lua_getglobal(L, "load");
  lua_pushcclosure(L, textOnlyLoad, 1);
  lua_setglobal(L, "load");
  lua_pushstring(L, kScriptVersion);
  lua_setglobal(L, "_VERSION");
  return 0;
}

void instructionHook(lua_State* L, lua_Debug*) {
  luaL_error(L, "script stopped: too many instructions");
}

}  // namespace

lua_State* NewToolboxLuaState(unsigned libraries) {
  lua_State* L = lua_newstate(luaAlloc, nullptr);
  if (!L) return nullptr;
  lua_pushcfunction(L, openLibraries);
  lua_pushinteger(L, static_cast<lua_Integer>(libraries));
  if (lua_pcall(L, 1, 0, 0) != LUA_OK) {
    lua_close(L);
    return nullptr;
  }
  return L;
}

int RunLuaText(lua_State* L, const char* text, std::size_t length, const char* chunkName) {
  int status = luaL_loadbufferx(L, text, length, chunkName, "t");
  if (status != LUA_OK) return status;
  lua_sethook(L, instructionHook, LUA_MASKCOUNT, static_cast<int>(kInstructionLimit));
  status = lua_pcall(L, 0, 0, 0);
  lua_sethook(L, nullptr, 0, 0);
  return status;
}

int PushRawGlobal(lua_State* L, const char* name) {
  lua_rawgeti(L, LUA_REGISTRYINDEX, LUA_RIDX_GLOBALS);
  lua_pushstring(L, name);
  const int type = lua_rawget(L, -2);
  lua_remove(L, -2);
  return type;
}

}  // namespace OX_Toolbox
