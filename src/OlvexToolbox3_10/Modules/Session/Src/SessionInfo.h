#pragma once
// The description of one game session as every machine in it holds it.
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "Modules/Core/Src/Types/PlayerID.h"
#include "Modules/Core/Src/Types/String.h"
#include "Modules/Session/Src/SessionTypes.h"

namespace OX_Toolbox {

using SessionKey = std::array<std::uint8_t, 16>;

struct SessionInfo {
  using Attribute = std::pair<std::uint32_t, String>;

  // The host's main player; its connection type is the session's.
  PlayerID ownerId;
  String ownerLogin;
  String secondText;  // carried in LAN advertisements before the owner login
  std::uint32_t counters[2] = {0, 0};
  PeerAddress hostAddress;
  std::vector<Attribute> attributes;  // insertion order
  SessionID sessionId{};
  SessionKey sessionKey{};
  std::uint64_t nonce = 0;  // the stats service's, for a ranked match's arbitrated writes

  std::int32_t connectionType() const { return ownerId.getConnectionType(); }
  // Replaces the value of an id already present, else appends.
  void setAttribute(std::uint32_t id, const String& text);
  // Null when the id has no value.
  const String* findAttribute(std::uint32_t id) const;
};

}  // namespace OX_Toolbox
