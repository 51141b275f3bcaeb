#pragma once
// The shape of every toolbox service: its operations (getName first), the
// script-side interface the core's service list holds (registerScript, a
// per-update hook), and the way back from that interface to the service.
#include <cstdint>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"

namespace OX_Toolbox {

class Service;
class ScriptInterpreter;
class LuaForwarder;

class ServiceScriptInterface {
 public:
  virtual ~ServiceScriptInterface() = default;  // deletes the whole service
  // Publishes the service to the interpreter's Lua state; returns the
  // event forwarder the interpreter then owns (or null).
  virtual LuaForwarder* registerScript(ScriptInterpreter* interpreter) = 0;
  virtual void update(std::uint32_t) {}
  virtual Service* getService() = 0;
};

class Service : public ToolboxObject, public ServiceScriptInterface {
 public:
  ~Service() override = default;
  virtual const char* getName() const = 0;
  Service* getService() override { return this; }
  ServiceScriptInterface* scriptInterface() { return this; }
};

}  // namespace OX_Toolbox
