#pragma once
// The receiving side of the session messages: type code and sender from the
// front of a delivered blob, then the message of that code.
#include <memory>

#include "Modules/Core/Src/Types/Blob.h"
#include "Modules/Core/Src/Types/PlayerID.h"
#include "Modules/Session/Src/SessionMessage.h"

namespace OX_Toolbox {

// Null for a code that has no message and for a malformed stream: both are
// dropped without reply.
std::unique_ptr<SessionMessage> decodeSessionMessage(Blob& blob);

}  // namespace OX_Toolbox
