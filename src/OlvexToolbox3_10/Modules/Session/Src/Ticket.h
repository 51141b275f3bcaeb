#pragma once
// The join ticket a host issues for one reserved slot of its session.
#include <cstdint>

#include "Modules/Core/Src/Types/Blob.h"
#include "Modules/Core/Src/Types/String.h"
#include "Modules/Session/Src/SessionTypes.h"

namespace OX_Toolbox {

class Ticket {
 public:
  static constexpr std::uint8_t kVersion = 1;

  Ticket() = default;
  explicit Ticket(Blob& blob) { deserialize(blob); }

  // Appends the stream form at the blob's end.
  bool serialize(Blob& blob) const;
  // Reads the stream form from the blob's front. A wrong magic reads nothing
  // further and keeps every field; an unknown version or flag keeps what
  // follows them. A stream that runs short keeps what a wrong magic would.
  // True only when a whole ticket of this version was read.
  bool deserialize(Blob& blob);

  bool operator==(const Ticket& o) const {
    return version == o.version && flag == o.flag && sameText(first, o.first) &&
           sameText(second, o.second) && key == o.key && extra == o.extra && stamp == o.stamp;
  }
  bool operator!=(const Ticket& o) const { return !(*this == o); }

  std::uint8_t version = kVersion;
  std::uint8_t flag = 0;
  String first;
  String second;
  SessionID key{};
  std::uint8_t extra = 0;
  std::int64_t stamp = 0;
};

}  // namespace OX_Toolbox
