#pragma once
// What the game implements and hands to ToolboxCore::create: the session
// layer's, the matchmaking flows' and the core's notifications, and the path
// of the configuration script.
#include "Modules/Core/Src/Result/ErrorId.h"
#include "Modules/Core/Src/Types/String.h"

namespace OX_Toolbox {

class LocalPlayer;

class ToolboxGameInterface {
 public:
  virtual ~ToolboxGameInterface() = default;
  virtual void onJoinSession(ERRORID) {}
  virtual void onHostSession(ERRORID) {}
  virtual void onStartGame() {}
  virtual void onEndGame() {}
  virtual void onSessionNotice() {}
  virtual void onPlayerLogin(LocalPlayer*) {}
  virtual int onPlayerLogout(LocalPlayer*) { return 0; }
  virtual void onPlayerJoin(LocalPlayer*) {}
  virtual void onPlayerLeave(LocalPlayer*) {}
  virtual void onHostLeave() {}
  virtual String getConfigPath() {
    return String("../../../../data/toolbox/runtime/win32/OlvexConfig.lua");
  }
};

}  // namespace OX_Toolbox
