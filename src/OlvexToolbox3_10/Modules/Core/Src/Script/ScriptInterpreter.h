#pragma once
// The toolbox's fuller Lua facility: the value types and every registered
// service as userdata, and every listener event forwarded to the Lua
// function named after the service and the event
// ("AccountService_onLoginPlayer"). Scripts run one at a time from a queue:
// a script whose startScript() returns true stays current and waits for
// events; a forwarded handler that returns false ends it and the next queued
// script starts.
#include <cstdint>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "Modules/Core/Src/Types/String.h"

struct lua_State;
struct luaL_Reg;

namespace OX_Toolbox {

class ScriptInterpreter;
class Service;

// Base of the Lua-forwarding listeners: one class per service, built by the
// service's registerScript, deriving from this and from the service's
// listener interface. Each listener operation calls
//   lua_State* L = begin("onEvent"); push the arguments; finish(n);
class LuaForwarder : public ToolboxObject {
 public:
  LuaForwarder(ScriptInterpreter* interpreter, const char* serviceName)
      : m_interpreter(interpreter), m_service(serviceName) {}
  virtual ~LuaForwarder() = default;

 protected:
  // Pushes the global "<service>_<event>" and returns the state.
  lua_State* begin(const char* event);
  void finish(int argumentCount);
  // Every forwarder of the toolbox passes (task id, result) in that order.
  void forwardResult(const char* event, std::uint32_t taskId, std::int32_t result);
  ScriptInterpreter* interpreter() const { return m_interpreter; }

 private:
  ScriptInterpreter* m_interpreter;
  const char* m_service;
};

class ScriptInterpreter : public ToolboxObject {
 public:
  // Opens the state, registers the value types and enumerations, then calls
  // registerScript of every service registered with the core.
  ScriptInterpreter();
  ~ScriptInterpreter();
  ScriptInterpreter(const ScriptInterpreter&) = delete;
  ScriptInterpreter& operator=(const ScriptInterpreter&) = delete;

  bool isValid() const;
  void queueScript(const String& path);
  int pushGlobal(const char* name);  // the global's Lua type; left on the stack
  lua_State* getLuaState() const;
  int protectedCall(int argumentCount, int resultCount);  // 0 on success
  // Calls the function below the arguments with one result; a false result
  // ends the current script, a failed call is reported and keeps it.
  void callListener(int argumentCount);
  // Prints "ScriptInterpreter error: %s" with the message on the stack's top.
  void reportError();

  // The path of the current script, or "no current script".
  const String& currentScript() const;
  std::size_t queuedScripts() const;
  std::size_t forwarderCount() const;

 private:
  struct Impl;
  bool runScript(const String& path);
  void startNext();
  void endCurrent();

  Impl* m_impl;
};

// What a service's registerScript publishes: its Lua type "Meta.<name>" with
// the methods, the global <name> holding the service (not owned), and the
// global <name>Listener holding the forwarder's listener interface.
void PublishService(lua_State* L, Service* service, const luaL_Reg* methods);
void PublishListener(lua_State* L, const char* serviceName, void* listener);
// The service held by the userdata at the index, or the argument error
// "<name> expected".
Service* CheckService(lua_State* L, int index, const char* serviceName);

}  // namespace OX_Toolbox
