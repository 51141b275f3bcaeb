#pragma once
// A session's 8-byte key and a peer's address as the session layer carries
// them between machines.
#include <array>
#include <cstdint>

#include "Modules/Core/Src/Types/Blob.h"
#include "Modules/Core/Src/Types/String.h"

class bdCommonAddr;

namespace OX_Toolbox {

using SessionID = std::array<std::uint8_t, 8>;

// String's own equality fails for an empty text that was never assigned.
inline bool sameText(const String& a, const String& b) {
  return a.length() == b.length() && (a.length() == 0 || a.equalsWide(b.c_wstr()));
}

struct PeerAddress {
  static constexpr std::uint32_t kCommonAddrSize = 25;

  using CommonBytes = std::array<std::uint8_t, kCommonAddrSize>;

  String text;  // public IPv4 address, dotted
  std::uint16_t port = 0;
  CommonBytes commonAddr{};  // all zero: none
  SessionID key{};

  bool serialize(Blob& blob) const;
  // Reads the four values; a common address that is set replaces the text
  // and port read beside it. False (this unchanged) on a malformed stream.
  bool deserialize(Blob& blob);

  bool operator==(const PeerAddress& o) const {
    return port == o.port && commonAddr == o.commonAddr && key == o.key && sameText(text, o.text);
  }
};

// Whether two addresses name one machine: by common address when either has
// one, else by text and port.
inline bool sameMachine(const PeerAddress& a, const PeerAddress& b) {
  const PeerAddress::CommonBytes none{};
  if (a.commonAddr != none || b.commonAddr != none) return a.commonAddr == b.commonAddr;
  return a.port == b.port && sameText(a.text, b.text);
}

// A peer's address as the session knows it, from the SDK's common address:
// its public address when it has one (or no local one), else its first local
// address; key is the session's.
PeerAddress ToPeerAddress(bdCommonAddr& common, const SessionID& key);

}  // namespace OX_Toolbox
