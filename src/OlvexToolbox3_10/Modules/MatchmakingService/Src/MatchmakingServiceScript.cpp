// The matchmaking service seen from Lua.
#include "Modules/Core/Src/Script/ScriptInterpreter.h"
#include "Modules/MatchmakingService/Src/MatchmakingService.h"

namespace OX_Toolbox {

LuaForwarder* MatchmakingService::registerScript(ScriptInterpreter*) { return nullptr; }

}  // namespace OX_Toolbox
