// The messaging service seen from Lua: "Meta.MessagingService" with
// "synchronizeMessages", the message types a script may hold, and the
// listener that forwards the service's events to "MessagingService_on...".
#include <lua.hpp>

#include "Modules/Core/Src/Script/LuaTypes.h"
#include "Modules/Core/Src/Script/ScriptInterpreter.h"
#include "Modules/MessagingService/Src/MessagingService.h"
#include "Modules/MessagingService/Src/Messages/AbstractMessage.h"

namespace OX_Toolbox {

namespace {

class MessagingServiceForwarder : public LuaForwarder, public MessagingServiceListener {
 public:
  explicit MessagingServiceForwarder(ScriptInterpreter* interpreter)
      : LuaForwarder(interpreter, MessagingService::kName) {}
  void onSynchronizeMessages(std::uint32_t taskId, ERRORID result) override {
    forwardResult("onSynchronizeMessages", taskId, result);
  }
  void onDeleteMessage(std::uint32_t taskId, ERRORID result) override {
    forwardResult("onDeleteMessage", taskId, result);
  }
};

void destroyMessage(void* message) { delete static_cast<AbstractMessage*>(message); }

int luaSynchronizeMessages(lua_State* L) {
  auto* self = static_cast<MessagingService*>(CheckService(L, 1, MessagingService::kName));
  auto* listener = static_cast<MessagingServiceListener*>(
      CheckLuaBox(L, 2, "Meta.MessagingServiceListener", "MessagingServiceListener"));
  const auto index = static_cast<std::uint8_t>(CheckInteger(L, 3));
  const auto first = static_cast<std::uint32_t>(CheckInteger(L, 4));
  const auto count = static_cast<std::uint32_t>(CheckInteger(L, 5));
  PushInteger(L, self->synchronizeMessages(listener, index, first, count));
  return 1;
}

}  // namespace

LuaForwarder* MessagingService::registerScript(ScriptInterpreter* interpreter) {
  static const luaL_Reg kMethods[] = {{"synchronizeMessages", luaSynchronizeMessages},
                                      {nullptr, nullptr}};
  static const luaL_Reg kNoMethods[] = {{nullptr, nullptr}};
  lua_State* L = interpreter->getLuaState();
  RegisterLuaType(L, kMessageMeta, kNoMethods, destroyMessage);
  RegisterLuaType(L, kInviteMeta, kNoMethods, destroyMessage);
  PublishService(L, this, kMethods);
  auto* forwarder = new MessagingServiceForwarder(interpreter);
  PublishListener(L, kName, static_cast<MessagingServiceListener*>(forwarder));
  return forwarder;
}

}  // namespace OX_Toolbox
