#pragma once
// What the game implements and hands to ToolboxCore::create: the session
// layer's, the matchmaking flows' and the core's notifications, and the path
// of the configuration script.
#include <cstdint>
#include <vector>

#include "Modules/Core/Src/Result/ErrorId.h"
#include "Modules/Core/Src/Types/PlayerID.h"
#include "Modules/Core/Src/Types/String.h"
#include "Modules/Session/Src/SessionTypes.h"

namespace OX_Toolbox {

class LocalPlayer;
struct SessionInfo;

class ToolboxGameInterface {
 public:
  virtual ~ToolboxGameInterface() = default;
  // The host accepted this machine's players into the session; the ids are
  // every player listed by the host.
  virtual void onJoinSession(const SessionInfo&, const std::vector<PlayerID>&) {}
  virtual void onHostSession(ERRORID) {}
  virtual void onStartGame() {}
  virtual void onEndGame() {}
  // The session's attributes changed.
  virtual void onSessionUpdated(const SessionInfo&) {}
  virtual void onPlayerLogin(LocalPlayer*) {}
  virtual int onPlayerLogout(LocalPlayer*) { return 0; }
  // A player entered the session: its record, the machine it sits at and
  // the session's connection type.
  virtual void onPlayerJoin(LocalPlayer*, const PeerAddress&, std::int32_t) {}
  // Reasons: 0 left, 1 timed out, 2 the host closed the session.
  virtual void onPlayerLeave(const PlayerID&, std::int32_t) {}
  virtual void onHostLeave(const PlayerID&, std::int32_t) {}
  virtual String getConfigPath() {
    return String("../../../../data/toolbox/runtime/win32/OlvexConfig.lua");
  }
};

}  // namespace OX_Toolbox
