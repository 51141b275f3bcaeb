// The network service seen from Lua: "Meta.NetworkService" with its one
// method "start", and the listener that forwards onStart to
// "NetworkService_onStart".
#include <lua.hpp>

#include "Modules/Core/Src/Script/LuaTypes.h"
#include "Modules/Core/Src/Script/ScriptInterpreter.h"
#include "Modules/NetworkService/Src/NetworkService.h"

namespace OX_Toolbox {

namespace {

class NetworkServiceForwarder : public LuaForwarder, public NetworkServiceListener {
 public:
  explicit NetworkServiceForwarder(ScriptInterpreter* interpreter)
      : LuaForwarder(interpreter, NetworkService::kName) {}
  void onStart(std::uint32_t taskId, ERRORID result) override {
    forwardResult("onStart", taskId, result);
  }
};

int luaStart(lua_State* L) {
  auto* self = static_cast<NetworkService*>(CheckService(L, 1, NetworkService::kName));
  auto* listener = static_cast<NetworkServiceListener*>(
      CheckLuaBox(L, 2, "Meta.NetworkServiceListener", "NetworkServiceListener"));
  const auto type = static_cast<std::uint32_t>(CheckInteger(L, 3));
  PushInteger(L, self->start(listener, type));
  return 1;
}

}  // namespace

LuaForwarder* NetworkService::registerScript(ScriptInterpreter* interpreter) {
  static const luaL_Reg kMethods[] = {{"start", luaStart}, {nullptr, nullptr}};
  lua_State* L = interpreter->getLuaState();
  PublishService(L, this, kMethods);
  auto* forwarder = new NetworkServiceForwarder(interpreter);
  PublishListener(L, kName, static_cast<NetworkServiceListener*>(forwarder));
  return forwarder;
}

}  // namespace OX_Toolbox
