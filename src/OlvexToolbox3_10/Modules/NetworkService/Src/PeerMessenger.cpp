#include "Modules/NetworkService/Src/PeerMessenger.h"

#include <algorithm>
#include <cstring>

#include "Modules/Core/Src/Digest/Md5Digest.h"
#include "Modules/Core/Src/Players/LocalPlayer.h"
#include "Modules/Core/Src/Result/ToolboxResult.h"
#include "Modules/Core/Src/ToolboxCore.h"
#include "Modules/Session/Src/WireRead.h"

namespace OX_Toolbox {

namespace {

class CorePlayerView : public LocalPlayerView {
 public:
  int loggedInIndex(const PlayerID& id) const override {
    ToolboxCore* core = ToolboxCore::instance();
    LocalPlayer* p = core ? core->getLoggedInLocalPlayer(id) : nullptr;
    return p && p->isOwnPlayer() ? p->getIndex() : -1;
  }
  PlayerID slotPlayer(int slot, std::int32_t connectionType) const override {
    ToolboxCore* core = ToolboxCore::instance();
    LocalPlayer* p = core ? core->getLocalPlayer(slot) : nullptr;
    return p ? p->getPlayerID(connectionType) : PlayerID();
  }
};

const CorePlayerView s_coreView;

std::uint64_t EnvelopeChecksum(const unsigned char* bytes, std::uint32_t size) {
  unsigned char digest[kDigestSize];
  Md5Digest::compute(bytes, size, digest);
  std::uint64_t sum = 0;
  for (int i = 7; i >= 0; --i)
    sum = sum << 8 | digest[i];
  return sum;
}

const unsigned char* Front(const Blob& b) {
  return b.getData() + (b.isReadOnly() ? b.getCursor() : 0);
}

}  // namespace

PeerMessenger::PeerMessenger(const LocalPlayerView* view) : m_view(view ? view : &s_coreView) {}

PeerMessenger::~PeerMessenger() = default;

void PeerMessenger::setConnections(PeerConnections* connections) {
  m_connections.reset(connections);
}

void PeerMessenger::dispatchToSink(int localPlayerIndex, std::uint32_t tag, Blob& message) {
  for (PeerMessageSink* sink : m_sinks) {
    if (sink->tag == tag) {
      sink->onMessage(localPlayerIndex, message);
      return;
    }
  }
}

void PeerMessenger::addSink(PeerMessageSink* sink) {
  if (sink) m_sinks.push_back(sink);
}

void PeerMessenger::removeSink(PeerMessageSink* sink) {
  auto it = std::find(m_sinks.begin(), m_sinks.end(), sink);
  if (it != m_sinks.end()) m_sinks.erase(it);
}

bool PeerMessenger::hasSink(std::uint32_t tag) const {
  return std::any_of(m_sinks.begin(), m_sinks.end(),
                     [tag](const PeerMessageSink* s) { return s->tag == tag; });
}

void PeerMessenger::registerPeer(const PlayerID& id, const PeerAddress& address) {
  for (auto it = m_peers.begin(); it != m_peers.end(); ++it) {
    if (it->id != id) continue;
    if (it->address == address) return;
    m_peers.erase(it);
    break;
  }
  m_peers.push_back(PeerRecord{id, address});
}

const PeerAddress* PeerMessenger::findPeer(const PlayerID& id) const {
  for (const PeerRecord& r : m_peers) {
    if (r.id == id) return &r.address;
  }
  return nullptr;
}

int PeerMessenger::localIndex(const PlayerID& id) const { return m_view->loggedInIndex(id); }

bool PeerMessenger::buildEnvelope(const PlayerID& recipient, std::uint32_t tag, const Blob& message,
                                  Blob& envelope) const {
  Blob out;
  if (message.getSize() && !out.setData(Front(message), message.remaining(0))) return false;
  if (!out.writeUInt32(0, tag) || !recipient.serialize(out, 0)) return false;
  std::int8_t count = 0;
  for (int slot = 0; slot < ToolboxCore::kLocalSlots; ++slot) {
    const PlayerID id = m_view->slotPlayer(slot, recipient.getConnectionType());
    if (id.getConnectionType() == CONNECTIONTYPE_INVALID) continue;
    if (!id.serialize(out, 0)) return false;
    ++count;
  }
  if (!out.writeInt8(0, count) || !out.writeUInt32(0, kPeerProtocolVersion)) return false;
  if (!out.writeUInt64(0, EnvelopeChecksum(out.getData(), out.getSize()))) return false;
  envelope = out;
  return true;
}

void PeerMessenger::SendMessageToPlayer(const PlayerID& recipient, std::uint32_t tag,
                                        const Blob& message) {
  const int index = localIndex(recipient);
  if (index >= 0) {
    Blob copy;
    if (message.remaining(0) && !copy.setData(Front(message), message.remaining(0))) {
      LastResult().set(ERRORID_FAILED);
      return;
    }
    dispatchToSink(index, tag, copy);
    LastResult().set(ERRORID_SUCCEEDED);
    return;
  }
  const PeerAddress* to = findPeer(recipient);
  Blob envelope;
  const bool sent = to && m_connections && buildEnvelope(recipient, tag, message, envelope) &&
                    m_connections->send(*to, envelope);
  LastResult().set(sent ? ERRORID_SUCCEEDED : ERRORID_FAILED);
}

void PeerMessenger::receive(const PeerAddress& from, Blob& envelope) {
  std::uint64_t sum = 0;
  if (!wire::read(envelope, sum)) return;
  if (EnvelopeChecksum(Front(envelope), envelope.remaining(0)) != sum) return;
  std::uint32_t version = 0;
  std::int8_t count = 0;
  if (!wire::read(envelope, version) || version != kPeerProtocolVersion) return;
  if (!wire::read(envelope, count) || count < 0) return;
  for (int i = 0; i < count; ++i) {
    PlayerID sender;
    if (!wire::read(envelope, sender)) return;
    registerPeer(sender, from);
  }
  PlayerID recipient;
  std::uint32_t tag = 0;
  if (!wire::read(envelope, recipient)) return;
  const int index = localIndex(recipient);
  if (index < 0 || !wire::read(envelope, tag)) return;
  // The sink sees the message alone: a blob over exactly its bytes.
  Blob message(Front(envelope), envelope.remaining(0), BLOB_READONLY);
  dispatchToSink(index, tag, message);
}

void PeerMessenger::pump() {
  if (!m_connections) return;
  m_connections->attach();
  PeerAddress from;
  Blob envelope(BLOB_READONLY);
  while (m_connections->getNextMessage(from, envelope)) {
    receive(from, envelope);
    envelope = Blob(BLOB_READONLY);
  }
  // A listener may open or close routes, or detach, from its callback.
  for (std::size_t i = 0; i < m_requests.size();) {
    const RouteRequest r = m_requests[i];
    if (m_connections->requestStatus(r.requestId) != kRouteRequestDone) {
      ++i;
      continue;
    }
    const ERRORID result = m_connections->takeRequestResult(r.requestId);
    m_requests.erase(m_requests.begin() + static_cast<std::ptrdiff_t>(i));
    if (!r.detached && r.listener) r.listener->onRouteResult(r.requestId, result);
  }
}

std::uint32_t PeerMessenger::track(PeerRouteListener* listener, std::uint32_t requestId) {
  m_requests.push_back(RouteRequest{requestId, listener, false});
  return requestId;
}

std::uint32_t PeerMessenger::openRouteTo(PeerRouteListener* listener, const PeerRecord& record) {
  if (!m_connections) return 0;
  registerPeer(record.id, record.address);
  return track(listener, m_connections->openRoute(record.address));
}

std::uint32_t PeerMessenger::closeRouteTo(PeerRouteListener* listener, const PlayerID& id) {
  if (!m_connections) return 0;
  PeerAddress address;
  for (auto it = m_peers.begin(); it != m_peers.end(); ++it) {
    if (it->id == id) {
      address = it->address;
      m_peers.erase(it);
      break;
    }
  }
  return track(listener, m_connections->closeRoute(address));
}

std::uint32_t PeerMessenger::closeAllRoutes(PeerRouteListener* listener) {
  if (!m_connections) return 0;
  m_peers.clear();
  return track(listener, m_connections->closeAllRoutes());
}

void PeerMessenger::detach(PeerRouteListener* listener) {
  for (RouteRequest& r : m_requests) {
    if (r.listener == listener) r.detached = true;
  }
}

}  // namespace OX_Toolbox
