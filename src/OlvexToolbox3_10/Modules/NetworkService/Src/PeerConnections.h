#pragma once
// The route layer under the peer messenger: connections to the other
// machines of the current session, the envelopes received over them and the
// outcome of each route request. The networking SDK's implementation is
// SdkPeerConnections; tests use an in-process loopback.
#include <cstdint>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "Modules/Core/Src/Result/ErrorId.h"
#include "Modules/Core/Src/Types/Blob.h"
#include "Modules/Session/Src/SessionTypes.h"

namespace OX_Toolbox {

// Request status once its outcome is decided.
constexpr std::uint32_t kRouteRequestDone = 2;

class PeerConnections : public ToolboxObject {
 public:
  virtual ~PeerConnections() = default;
  // The oldest envelope not yet taken and the address it came from, as a
  // read-only blob that owns its bytes. False when none is waiting.
  virtual bool getNextMessage(PeerAddress& from, Blob& out) = 0;
  // Hooks the layer into the network once the network has started; later
  // calls do nothing.
  virtual void attach() = 0;
  // False when there is no route to the address or the network refused it.
  virtual bool send(const PeerAddress& to, const Blob& envelope) = 0;
  virtual std::uint32_t openRoute(const PeerAddress& to) = 0;
  virtual std::uint32_t closeRoute(const PeerAddress& to) = 0;
  virtual std::uint32_t closeAllRoutes() = 0;
  // kRouteRequestDone once decided; anything else while pending. An unknown
  // id reads as done (with ERRORID_FAILED), so no caller waits for ever.
  virtual std::uint32_t requestStatus(std::uint32_t requestId) = 0;
  // The outcome, forgetting every record of that id.
  virtual ERRORID takeRequestResult(std::uint32_t requestId) = 0;
};

// A process-wide request id: one more for every route request.
std::uint32_t NextRouteRequestId();

}  // namespace OX_Toolbox
