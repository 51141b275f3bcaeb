#pragma once
// The toolbox's configuration: a Lua script run once in a state of its own;
// every module reads its settings as globals through four getters, each of
// which leaves the Lua stack as it found it. A key of the wrong type counts
// as absent.
#include <cstddef>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "Modules/Core/Src/Result/ErrorId.h"
#include "Modules/Core/Src/Types/String.h"

struct lua_State;

namespace OX_Toolbox {

class PlatformInterface;

class LuaConfig : public ToolboxObject {
 public:
  explicit LuaConfig(PlatformInterface* platform);
  ~LuaConfig();
  LuaConfig(const LuaConfig&) = delete;
  LuaConfig& operator=(const LuaConfig&) = delete;

  // ERRORID_SUCCEEDED once the file was read, whether the chunk compiled and
  // ran or not; ERRORID_CANT_OPEN_FILE_READ when it cannot be opened,
  // ERRORID_CANT_READ_FILE when it cannot be read whole.
  ERRORID load(const String& path);

  bool getString(const char* key, String& out) const;     // a string or a number
  bool getInteger(const char* key, unsigned& out) const;  // low 16 bits, toward zero
  bool getBoolean(const char* key, bool& out) const;      // a boolean only
  bool getStringList(const char* key, ToolboxVector<String>& out) const;  // a table
  // Runs text as the chunk "addedScript"; true when it compiled and ran.
  bool runChunk(const String& text);
  // The same for raw text, which no String limit cuts (a downloaded
  // configuration may be longer than a String holds).
  bool runChunk(const char* text, std::size_t length);

  lua_State* state() const { return m_state; }

  static constexpr unsigned kMaxScriptBytes = 1u << 20;

 private:
  PlatformInterface* m_platform;
  lua_State* m_state = nullptr;
};

}  // namespace OX_Toolbox
