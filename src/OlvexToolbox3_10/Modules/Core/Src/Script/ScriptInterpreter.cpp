#include "Modules/Core/Src/Script/ScriptInterpreter.h"

#include <cstdio>
#include <string>

#include <lua.hpp>

#include "Modules/Core/Src/Records/RecordFile.h"
#include "Modules/Core/Src/Records/ToolboxFile.h"
#include "Modules/Core/Src/Script/LuaConfig.h"
#include "Modules/Core/Src/Script/LuaState.h"
#include "Modules/Core/Src/Script/LuaTypes.h"
#include "Modules/Core/Src/Service.h"
#include "Modules/Core/Src/ToolboxCore.h"

namespace OX_Toolbox {

namespace {

const String& noCurrentScript() {
  static const String text(u"no current script");
  return text;
}

void instructionHook(lua_State* L, lua_Debug*) {
  luaL_error(L, "script stopped: too many instructions");
}

// "Meta." and the name, for a service's or a listener's type.
std::string metaName(const char* name) { return std::string("Meta.") + name; }

}  // namespace

struct ScriptInterpreter::Impl : public ToolboxObject {
  ScriptInterpreter* handle = nullptr;
  ToolboxVector<LuaForwarder*> forwarders;
  ToolboxVector<String> queue;  // newest first; the current script is last
  lua_State* L = nullptr;
};

ScriptInterpreter::ScriptInterpreter() : m_impl(new Impl()) {
  m_impl->handle = this;
  m_impl->L =
      NewToolboxLuaState(LUA_LIBS_BASE | LUA_LIBS_COROUTINE | LUA_LIBS_STRING | LUA_LIBS_TABLE);
  if (!m_impl->L) return;
  lua_pushcfunction(m_impl->L, [](lua_State* L) {
    RegisterLuaValueTypes(L);
    return 0;
  });
  if (lua_pcall(m_impl->L, 0, 0, 0) != LUA_OK) {
    reportError();
    lua_pop(m_impl->L, 1);
  }
  ToolboxCore* core = ToolboxCore::instance();
  for (std::size_t i = 0; core && i < core->serviceCount(); ++i) {
    if (LuaForwarder* f = core->getServiceInterface(i)->registerScript(this)) {
      m_impl->forwarders.push_back(f);
    }
  }
}

ScriptInterpreter::~ScriptInterpreter() {
  for (LuaForwarder* f : m_impl->forwarders)
    delete f;
  if (m_impl->L) lua_close(m_impl->L);
  delete m_impl;
}

bool ScriptInterpreter::isValid() const { return m_impl->L != nullptr; }
lua_State* ScriptInterpreter::getLuaState() const { return m_impl->L; }
std::size_t ScriptInterpreter::queuedScripts() const { return m_impl->queue.size(); }
std::size_t ScriptInterpreter::forwarderCount() const { return m_impl->forwarders.size(); }

const String& ScriptInterpreter::currentScript() const {
  return m_impl->queue.empty() ? noCurrentScript() : m_impl->queue.back();
}

// Raw access: a script's metatable on the globals must not run (and raise)
// outside a protected call.
int ScriptInterpreter::pushGlobal(const char* name) { return PushRawGlobal(m_impl->L, name); }

int ScriptInterpreter::protectedCall(int argumentCount, int resultCount) {
  lua_sethook(m_impl->L, instructionHook, LUA_MASKCOUNT, static_cast<int>(kInstructionLimit));
  const int status = lua_pcall(m_impl->L, argumentCount, resultCount, 0);
  lua_sethook(m_impl->L, nullptr, 0, 0);
  return status;
}

void ScriptInterpreter::reportError() {
  const char* text = lua_tostring(m_impl->L, -1);
  std::printf("ScriptInterpreter error: %s\n", text ? text : "(error object is not a string)");
}

void ScriptInterpreter::queueScript(const String& path) {
  if (!isValid()) return;
  m_impl->queue.insert(m_impl->queue.begin(), path);
  if (m_impl->queue.size() == 1) startNext();
}

void ScriptInterpreter::startNext() {
  while (!m_impl->queue.empty()) {
    const String path = m_impl->queue.back();
    if (runScript(path)) return;
    m_impl->queue.pop_back();
  }
}

void ScriptInterpreter::endCurrent() {
  if (m_impl->queue.empty()) return;
  m_impl->queue.pop_back();
  startNext();
}

bool ScriptInterpreter::runScript(const String& path) {
  lua_State* L = m_impl->L;
  const int top = lua_gettop(L);
  lua_pushglobaltable(L);
  lua_pushliteral(L, "startScript");
  lua_pushnil(L);
  lua_rawset(L, -3);
  lua_pop(L, 1);
  NarrowString name(path);
  ToolboxFile* file = ToolboxPlatform()->openFile(name.narrow(), FILE_MODE_READ, FILE_KIND_BINARY);
  if (!file) {
    std::printf("ScriptInterpreter error: unable to open %s\n", name.narrow());
  } else {
    const std::uint64_t size = file->size();
    const auto n = static_cast<std::uint32_t>(size);
    char* text =
        size <= LuaConfig::kMaxScriptBytes ? static_cast<char*>(ToolboxAlloc(n ? n : 1)) : nullptr;
    const bool read = text && file->read(text, n);
    delete file;
    if (!read) {
      std::printf("ScriptInterpreter error: unable to read %s\n", name.narrow());
    } else if (luaL_loadbufferx(L, text, n, name.narrow(), "t") != LUA_OK ||
               protectedCall(0, 0) != LUA_OK) {
      reportError();
    }
    ToolboxFree(text);
  }
  lua_settop(L, top);
  if (pushGlobal("startScript") != LUA_TFUNCTION) {
    lua_settop(L, top);
    return false;
  }
  // A failed start keeps the script current: its error text is truthy.
  if (protectedCall(0, 1) != LUA_OK) reportError();
  const bool stays = lua_toboolean(L, -1) != 0;
  lua_settop(L, top);
  return stays;
}

void ScriptInterpreter::callListener(int argumentCount) {
  lua_State* L = m_impl->L;
  const int base = lua_gettop(L) - argumentCount - 1;
  if (protectedCall(argumentCount, 1) != LUA_OK) {
    reportError();
    lua_settop(L, base);
    return;
  }
  const bool ends = lua_isboolean(L, -1) && !lua_toboolean(L, -1);
  lua_settop(L, base);
  if (ends) endCurrent();
}

lua_State* LuaForwarder::begin(const char* event) {
  lua_State* L = m_interpreter->getLuaState();
  char name[160];
  std::snprintf(name, sizeof name, "%s_%s", m_service, event);
  m_interpreter->pushGlobal(name);
  return L;
}

void LuaForwarder::finish(int argumentCount) { m_interpreter->callListener(argumentCount); }

void LuaForwarder::forwardResult(const char* event, std::uint32_t taskId, std::int32_t result) {
  lua_State* L = begin(event);
  PushInteger(L, taskId);
  PushInteger(L, result);
  finish(2);
}

void PublishService(lua_State* L, Service* service, const luaL_Reg* methods) {
  const std::string meta = metaName(service->getName());
  RegisterLuaType(L, meta.c_str(), methods, nullptr);
  PushLuaBox(L, service, false, meta.c_str());
  lua_setglobal(L, service->getName());
}

void PublishListener(lua_State* L, const char* serviceName, void* listener) {
  const std::string name = std::string(serviceName) + "Listener";
  static const luaL_Reg kNoMethods[] = {{nullptr, nullptr}};
  RegisterLuaType(L, metaName(name.c_str()).c_str(), kNoMethods, nullptr);
  PushLuaBox(L, listener, false, metaName(name.c_str()).c_str());
  lua_setglobal(L, name.c_str());
}

Service* CheckService(lua_State* L, int index, const char* serviceName) {
  // No C++ temporaries here: the argument error unwinds past this frame.
  char meta[128];
  std::snprintf(meta, sizeof meta, "Meta.%s", serviceName);
  return static_cast<Service*>(CheckLuaBox(L, index, meta, serviceName));
}

}  // namespace OX_Toolbox
