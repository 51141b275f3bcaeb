// Running text in a harness interpreter and reading its globals back.
#pragma once

#include <lua.hpp>
#include <string>

#include "Modules/Core/Src/Script/ScriptInterpreter.h"

namespace toolbox_test {

// Runs text in the interpreter's state; returns the error text or "".
inline std::string RunScript(OX_Toolbox::ScriptInterpreter& interpreter, const char* text) {
  lua_State* L = interpreter.getLuaState();
  if (luaL_loadstring(L, text) != LUA_OK || interpreter.protectedCall(0, 0) != LUA_OK) {
    std::string error = lua_tostring(L, -1);
    lua_pop(L, 1);
    return error;
  }
  return "";
}

// A global's text, or "(nil)".
inline std::string ScriptGlobal(OX_Toolbox::ScriptInterpreter& interpreter, const char* name) {
  lua_State* L = interpreter.getLuaState();
  lua_getglobal(L, name);
  std::string v = lua_tostring(L, -1) ? lua_tostring(L, -1) : "(nil)";
  lua_pop(L, 1);
  return v;
}

}  // namespace toolbox_test
