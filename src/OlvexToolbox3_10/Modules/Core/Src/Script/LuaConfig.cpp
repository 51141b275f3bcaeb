#include "Modules/Core/Src/Script/LuaConfig.h"

#include <cmath>

#include <lua.hpp>

#include "Modules/Core/Src/Records/ToolboxFile.h"
#include "Modules/Core/Src/Script/LuaState.h"

namespace OX_Toolbox {

namespace {

struct StackGuard {
  lua_State* L;
  int top;
  explicit StackGuard(lua_State* state) : L(state), top(state ? lua_gettop(state) : 0) {}
  ~StackGuard() {
    if (L) lua_settop(L, top);
  }
};

bool toText(lua_State* L, int index, String& out) {
  const int type = lua_type(L, index);
  if (type != LUA_TSTRING && type != LUA_TNUMBER) return false;
  lua_pushvalue(L, index);  // tolstring converts a number in place
  std::size_t n = 0;
  const char* text = lua_tolstring(L, -1, &n);
  out.assignUtf8(text, n);
  lua_pop(L, 1);
  return true;
}

}  // namespace

LuaConfig::LuaConfig(PlatformInterface* platform) : m_platform(platform) {}

LuaConfig::~LuaConfig() {
  if (m_state) lua_close(m_state);
}

ERRORID LuaConfig::load(const String& path) {
  if (m_state) lua_close(m_state);
  m_state = NewToolboxLuaState(LUA_LIBS_BASE | LUA_LIBS_COROUTINE | LUA_LIBS_TABLE);
  if (!m_state) return ERRORID_NOT_ENOUGH_RAM;
  NarrowString name(path);
  ToolboxFile* file =
      m_platform ? m_platform->openFile(name.narrow(), FILE_MODE_READ, FILE_KIND_BINARY) : nullptr;
  if (!file) return ERRORID_CANT_OPEN_FILE_READ;
  const std::uint64_t size = file->size();
  if (size > kMaxScriptBytes) {
    delete file;
    return ERRORID_CANT_READ_FILE;
  }
  const auto n = static_cast<std::uint32_t>(size);
  char* text = static_cast<char*>(ToolboxAlloc(n ? n : 1));
  const bool read = text && file->read(text, n);
  delete file;
  if (!read) {
    ToolboxFree(text);
    return text ? ERRORID_CANT_READ_FILE : ERRORID_NOT_ENOUGH_RAM;
  }
  // A script that fails to compile or run still counts as loaded: the keys
  // it did not set are reported missing by their readers.
  StackGuard guard(m_state);
  RunLuaText(m_state, text, n, name.narrow());
  ToolboxFree(text);
  return ERRORID_SUCCEEDED;
}

bool LuaConfig::getString(const char* key, String& out) const {
  if (!m_state || !key) return false;
  StackGuard guard(m_state);
  PushRawGlobal(m_state, key);
  return toText(m_state, -1, out);
}

bool LuaConfig::getInteger(const char* key, unsigned& out) const {
  if (!m_state || !key) return false;
  StackGuard guard(m_state);
  if (PushRawGlobal(m_state, key) != LUA_TNUMBER) return false;
  if (lua_isinteger(m_state, -1)) {
    out = static_cast<unsigned>(static_cast<lua_Unsigned>(lua_tointeger(m_state, -1)) & 0xFFFF);
    return true;
  }
  const double d = lua_tonumber(m_state, -1);
  if (!std::isfinite(d)) {
    out = 0;
    return true;
  }
  double low = std::fmod(std::trunc(d), 65536.0);
  if (low < 0) low += 65536.0;
  out = static_cast<unsigned>(low) & 0xFFFF;
  return true;
}

bool LuaConfig::getBoolean(const char* key, bool& out) const {
  if (!m_state || !key) return false;
  StackGuard guard(m_state);
  if (PushRawGlobal(m_state, key) != LUA_TBOOLEAN) return false;
  out = lua_toboolean(m_state, -1) != 0;
  return true;
}

bool LuaConfig::getStringList(const char* key, ToolboxVector<String>& out) const {
  if (!m_state || !key) return false;
  StackGuard guard(m_state);
  if (PushRawGlobal(m_state, key) != LUA_TTABLE) return false;
  lua_pushnil(m_state);
  while (lua_next(m_state, -2) != 0) {
    String text;
    if (toText(m_state, -1, text)) out.push_back(text);
    lua_pop(m_state, 1);
  }
  return true;
}

bool LuaConfig::runChunk(const String& text) {
  std::size_t n = 0;
  char* utf8 = text.toUtf8(&n);
  if (!utf8) return false;
  const bool ok = runChunk(utf8, n);
  ToolboxFree(utf8);
  return ok;
}

bool LuaConfig::runChunk(const char* text, std::size_t length) {
  if (!m_state || !text) return false;
  StackGuard guard(m_state);
  return RunLuaText(m_state, text, length, "addedScript") == LUA_OK;
}

}  // namespace OX_Toolbox
