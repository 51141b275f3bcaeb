#pragma once
// Lua states for the toolbox: memory from the toolbox allocator, only the
// base, coroutine, string and table libraries, no file loading (dofile,
// loadfile), and `load` restricted to source text. Chunks are loaded as text
// only, and each protected run is stopped once it has executed more than
// kInstructionLimit instructions, so a looping script cannot hang the caller.
#include <cstddef>

struct lua_State;

namespace OX_Toolbox {

constexpr long kInstructionLimit = 50000000;

enum LuaLibraries : unsigned {
  LUA_LIBS_BASE = 1,
  LUA_LIBS_COROUTINE = 2,
  LUA_LIBS_STRING = 4,
  LUA_LIBS_TABLE = 8,
};

// A new state with the given libraries, or null.
lua_State* NewToolboxLuaState(unsigned libraries);
// Loads text (never a binary chunk) under the name and runs it protected.
// Returns 0 when both succeeded, else the Lua error code with the message
// left on the stack.
int RunLuaText(lua_State* L, const char* text, std::size_t length, const char* chunkName);
// Pushes the global without running metamethods; returns its type.
int PushRawGlobal(lua_State* L, const char* name);

}  // namespace OX_Toolbox
