#pragma once
// The peer messenger's routes over the networking SDK: one connection per
// machine of the current session, opened under the session's security key.
// It listens to the connection store for connections coming up and going
// down, and intercepts the network's received messages: data envelopes
// (type 156) and route notices (type 157, opening or closing a route from the
// sender). Everything runs inside the network's pump on the pump thread.
#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

#include "Modules/NetworkService/Src/PeerConnections.h"
#include "Modules/Session/Src/SessionInfo.h"
#include "bdCore/bdContainers/bdReference.h"
#include "bdNet/bdConnection.h"
#include "bdNet/bdConnectionListener.h"
#include "bdNet/bdDispatchInterceptor.h"

class bdNetImpl;

namespace OX_Toolbox {

class SdkPeerConnections : public PeerConnections,
                           public bdConnectionListener,
                           public bdDispatchInterceptor {
 public:
  static constexpr unsigned char kDataMessage = 156;
  static constexpr unsigned char kRouteMessage = 157;
  // Largest envelope accepted from the network.
  static constexpr std::uint32_t kMaxEnvelope = 64 * 1024;

  // The session whose key routes are opened under; null when none.
  using SessionSource = const SessionInfo* (*)(void* context);

  // Null: the process's network.
  explicit SdkPeerConnections(bdNetImpl* net = nullptr);
  ~SdkPeerConnections() override;

  // Default: the current game session.
  void setSessionSource(SessionSource source, void* context);

  // This machine's address in the session: the network's local common
  // address with the session id as key. Empty before the network started.
  PeerAddress localAddress(const SessionID& key) const;

  bool getNextMessage(PeerAddress& from, Blob& out) override;
  void attach() override;
  bool send(const PeerAddress& to, const Blob& envelope) override;
  std::uint32_t openRoute(const PeerAddress& to) override;
  std::uint32_t closeRoute(const PeerAddress& to) override;
  std::uint32_t closeAllRoutes() override;
  std::uint32_t requestStatus(std::uint32_t requestId) override;
  ERRORID takeRequestResult(std::uint32_t requestId) override;

  bool accept(const bdDispatchItem& item) override;
  void onConnect(bdReference<bdConnection> connection) override;
  void onConnectFailed(bdReference<bdConnection> connection) override;
  void onDisconnect(bdReference<bdConnection> connection) override;

  std::size_t routeCount() const { return m_routes.size(); }

 private:
  enum Kind : std::uint32_t { KIND_OPEN = 4, KIND_CLOSE = 5 };
  struct Route {
    PeerAddress address;
    bdReference<bdConnection> connection;
  };
  struct Request {
    std::uint32_t kind;
    std::uint32_t id;
    std::uint32_t status;
    ERRORID result;
    bdReference<bdConnection> connection;
  };

  bdNetImpl* net() const;
  const SessionInfo* session() const;
  PeerAddress addressOf(bdConnection& connection, const SessionID& key) const;
  bool sendRouteNotice(bdReference<bdConnection>& connection, bool open);
  std::uint32_t record(std::uint32_t kind, ERRORID result, bdReference<bdConnection> connection,
                       bool done);
  void complete(bdConnection* connection, std::uint32_t kind, ERRORID result);
  void eraseRoutesOver(bdConnection* connection);
  void remember(bdReference<bdConnection> connection);

  bdNetImpl* m_net;
  SessionSource m_source;
  void* m_sourceContext = nullptr;
  std::vector<Route> m_routes;
  std::deque<std::pair<PeerAddress, std::vector<unsigned char>>> m_incoming;
  std::vector<Request> m_requests;
  std::vector<bdReference<bdConnection>> m_heard;  // connections holding this listener
  bool m_registered = false;
};

}  // namespace OX_Toolbox
