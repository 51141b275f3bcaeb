#include "Modules/Session/Src/SessionMessage.h"

#include "Modules/Session/Src/WireRead.h"

namespace OX_Toolbox {

namespace {

bool countFits(std::size_t n) { return n <= kMaxSessionListEntries; }

bool writeCount(Blob& out, std::size_t n) {
  return countFits(n) && out.writeInt8(out.getSize(), static_cast<std::int8_t>(n));
}

bool writePlayers(Blob& out, const std::vector<PlayerID>& players) {
  if (!writeCount(out, players.size())) return false;
  for (const PlayerID& p : players) {
    if (!p.serialize(out, out.getSize())) return false;
  }
  return true;
}

// A count of zero or below means an empty list.
bool readCount(Blob& in, std::size_t& n) {
  std::int8_t count = 0;
  if (!wire::read(in, count)) return false;
  n = count > 0 ? static_cast<std::size_t>(count) : 0;
  return true;
}

bool readPlayers(Blob& in, std::vector<PlayerID>& players) {
  std::size_t n = 0;
  if (!readCount(in, n)) return false;
  std::vector<PlayerID> got;
  for (std::size_t i = 0; i < n; ++i) {
    PlayerID p;
    if (!wire::read(in, p)) return false;
    got.push_back(p);
  }
  players = std::move(got);
  return true;
}

}  // namespace

bool SessionMessage::serialize(Blob& blob) const {
  Blob out;
  if (!out.writeInt32(0, m_type) || !m_sender.serialize(out, out.getSize()) ||
      !out.writeBinaryBlock(out.getSize(), m_sessionId.data(),
                            static_cast<std::int32_t>(m_sessionId.size())) ||
      !writeBody(out))
    return false;
  return blob.insertBlob(blob.getSize(), out);
}

bool SessionMessage::deserialize(Blob& blob) {
  SessionID id{};
  if (!wire::readBlock(blob, id.data(), static_cast<std::uint32_t>(id.size()), true)) return false;
  m_sessionId = id;
  return readBody(blob);
}

bool PlayerListMessage::writeBody(Blob& out) const { return writePlayers(out, players); }
bool PlayerListMessage::readBody(Blob& in) { return readPlayers(in, players); }

bool EnterSessionMessage::writeBody(Blob& out) const {
  const std::size_t n = players.size();
  if (logins.size() != n || tickets.size() != n || !writeCount(out, n)) return false;
  for (std::size_t i = 0; i < n; ++i) {
    // The ticket goes in as its own stream, so its values follow the login.
    if (!players[i].serialize(out, out.getSize()) || !out.writeString(out.getSize(), logins[i]) ||
        !tickets[i].serialize(out))
      return false;
  }
  return ownAddress.serialize(out);
}

bool EnterSessionMessage::readBody(Blob& in) {
  std::size_t n = 0;
  if (!readCount(in, n)) return false;
  players.clear();
  logins.clear();
  tickets.clear();
  for (std::size_t i = 0; i < n; ++i) {
    PlayerID p;
    String login;
    Ticket t;
    if (!wire::read(in, p) || !wire::read(in, login) || !t.deserialize(in)) return false;
    players.push_back(p);
    logins.push_back(login);
    tickets.push_back(t);
  }
  return ownAddress.deserialize(in);
}

bool SessionStateMessage::writeBody(Blob& out) const {
  const std::size_t n = players.size();
  if (logins.size() != n || addresses.size() != n || statuses.size() != n ||
      !out.writeBool(out.getSize(), accepted) || !out.writeBool(out.getSize(), matchStarted) ||
      !writeCount(out, n))
    return false;
  for (std::size_t i = 0; i < n; ++i) {
    if (!players[i].serialize(out, out.getSize()) || !out.writeString(out.getSize(), logins[i]) ||
        !addresses[i].serialize(out) || !out.writeInt32(out.getSize(), statuses[i]))
      return false;
  }
  return true;
}

bool SessionStateMessage::readBody(Blob& in) {
  std::size_t n = 0;
  if (!wire::read(in, accepted) || !wire::read(in, matchStarted) || !readCount(in, n)) return false;
  players.clear();
  logins.clear();
  addresses.clear();
  statuses.clear();
  for (std::size_t i = 0; i < n; ++i) {
    PlayerID p;
    String login;
    PeerAddress a;
    std::int32_t status = 0;
    if (!wire::read(in, p) || !wire::read(in, login) || !a.deserialize(in) ||
        !wire::read(in, status))
      return false;
    players.push_back(p);
    logins.push_back(login);
    addresses.push_back(a);
    statuses.push_back(status);
  }
  return true;
}

bool PlayersJoinedMessage::writeBody(Blob& out) const {
  const std::size_t n = players.size();
  if (logins.size() != n || addresses.size() != n || !writeCount(out, n)) return false;
  for (std::size_t i = 0; i < n; ++i) {
    if (!players[i].serialize(out, out.getSize()) || !out.writeString(out.getSize(), logins[i]) ||
        !addresses[i].serialize(out))
      return false;
  }
  return true;
}

bool PlayersJoinedMessage::readBody(Blob& in) {
  std::size_t n = 0;
  if (!readCount(in, n)) return false;
  players.clear();
  logins.clear();
  addresses.clear();
  for (std::size_t i = 0; i < n; ++i) {
    PlayerID p;
    String login;
    PeerAddress a;
    if (!wire::read(in, p) || !wire::read(in, login) || !a.deserialize(in)) return false;
    players.push_back(p);
    logins.push_back(login);
    addresses.push_back(a);
  }
  return true;
}

bool AskForTicketsMessage::writeBody(Blob& out) const {
  return out.writeUInt32(out.getSize(), ticketCount) &&
         out.writeUInt32(out.getSize(), privateRequest);
}

bool AskForTicketsMessage::readBody(Blob& in) {
  return wire::read(in, ticketCount) && wire::read(in, privateRequest);
}

bool TicketsMessage::writeBody(Blob& out) const {
  if (!out.writeUInt32(out.getSize(), result) || !writeCount(out, tickets.size())) return false;
  for (const Ticket& t : tickets) {
    if (!t.serialize(out)) return false;
  }
  return true;
}

bool TicketsMessage::readBody(Blob& in) {
  std::size_t n = 0;
  if (!wire::read(in, result) || !readCount(in, n)) return false;
  tickets.clear();
  for (std::size_t i = 0; i < n; ++i) {
    Ticket t;
    if (!t.deserialize(in)) return false;
    tickets.push_back(t);
  }
  return true;
}

bool PlayerFlagsMessage::writeBody(Blob& out) const {
  return out.writeBool(out.getSize(), value) && writePlayers(out, players);
}

bool PlayerFlagsMessage::readBody(Blob& in) {
  return wire::read(in, value) && readPlayers(in, players);
}

bool SessionAttributesMessage::writeBody(Blob& out) const {
  if (attributes.size() > static_cast<std::size_t>(INT32_MAX) ||
      !out.writeInt32(out.getSize(), static_cast<std::int32_t>(attributes.size())))
    return false;
  for (const Attribute& a : attributes) {
    if (!out.writeInt32(out.getSize(), a.first) || !out.writeString(out.getSize(), a.second))
      return false;
  }
  return true;
}

bool SessionAttributesMessage::readBody(Blob& in) {
  std::int32_t count = 0;
  if (!wire::read(in, count)) return false;
  // An attribute takes at least 11 bytes: a count beyond what is left is a
  // lie, refused before any work is done for it.
  constexpr std::uint32_t kSmallestAttribute = 5 + 6;
  if (count > 0 && static_cast<std::uint32_t>(count) > in.remaining(0) / kSmallestAttribute)
    return false;
  attributes.clear();
  for (std::int32_t i = 0; i < count; ++i) {
    Attribute a;
    if (!wire::read(in, a.first) || !wire::read(in, a.second)) return false;
    attributes.push_back(a);
  }
  return true;
}

bool PlayerStatusMessage::writeBody(Blob& out) const {
  return player.serialize(out, out.getSize()) && out.writeInt32(out.getSize(), status);
}

bool PlayerStatusMessage::readBody(Blob& in) {
  return wire::read(in, player) && wire::read(in, status);
}

}  // namespace OX_Toolbox
