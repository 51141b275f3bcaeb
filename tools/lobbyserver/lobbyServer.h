#pragma once
// The test lobby server. Single-threaded: the owner calls pump() as often as
// it likes (tests between client steps, the program in a loop). Each client
// must open with the authentication message; its ticket is decrypted with
// the server's test key and names the user and the session key. A client
// that sends anything else first, a frame no sender may produce, or a frame
// it never finishes, or that stops reading while its replies pile up, is
// dropped; the others go on being served.
#include <cstdint>
#include <memory>
#include <vector>

#include "bdCore/bdContainers/bdReference.h"
#include "bdCore/bdUtilities/bdStopwatch.h"
#include "bdLobbyService/bdLobbyCredentials.h"
#include "bdSocket/bdStreamSocket.h"
#include "lobbyStore.h"

namespace lobbyserver {

class LobbyServer {
 public:
  static constexpr unsigned int KEY_SIZE = 24;
  static constexpr float IDLE_SECONDS = 80.0f;
  static constexpr float AUTH_SECONDS = 10.0f;

  explicit LobbyServer(const unsigned char testKey[KEY_SIZE]);
  ~LobbyServer();
  LobbyServer(const LobbyServer&) = delete;
  LobbyServer& operator=(const LobbyServer&) = delete;

  // Listens on 127.0.0.1; port 0 takes a free one.
  bool start(unsigned short port = 0);
  unsigned short getPort() const { return m_port; }
  void stop();
  // Accepts, reads, answers and sends; never blocks.
  void pump();

  unsigned int getClientCount() const { return static_cast<unsigned int>(m_clients.size()); }
  unsigned int getAuthenticatedCount() const;
  unsigned int getDroppedCount() const { return m_dropped; }
  // Bytes a client may leave unread before it is dropped.
  void setMaxBacklog(unsigned int bytes) { m_maxBacklog = bytes; }

  // Pushes one message of a type id (1 to 39) to a user's connections and
  // keeps it in the user's mailbox. False for an unknown type.
  bool push(std::uint64_t userID, const PushMessage& message);
  LobbyStore& getStore() { return m_store; }

  // Credentials for a user as the authentication service would issue them.
  static bdReference<bdLobbyCredentials> makeCredentials(const unsigned char testKey[KEY_SIZE],
                                                         std::uint64_t userID, const char* name);

 private:
  struct Client;
  void accept();
  bool readClient(Client& c);
  bool handleFrame(Client& c, unsigned char type, const unsigned char* payload, unsigned int size);
  bool authenticate(Client& c, const unsigned char* payload, unsigned int size);
  bool sendFrame(Client& c, unsigned char type, const bdBitBuffer& payload);
  bool flush(Client& c);
  void deliver(const Outgoing& out);

  unsigned char m_key[KEY_SIZE];
  bdStreamSocket m_listener;
  unsigned short m_port;
  std::vector<std::unique_ptr<Client>> m_clients;
  LobbyStore m_store;
  unsigned int m_maxBacklog;
  unsigned int m_dropped;
};

}  // namespace lobbyserver
