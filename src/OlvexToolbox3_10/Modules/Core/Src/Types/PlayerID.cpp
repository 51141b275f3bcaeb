#include "Modules/Core/Src/Types/PlayerID.h"

#include "Modules/Core/Src/Types/Blob.h"

namespace OX_Toolbox {

bool PlayerID::serialize(Blob& blob, std::uint32_t offset) const {
  return blob.writeInt8(offset, static_cast<std::int8_t>(m_type)) &&
         blob.writeInt64(offset + 2, static_cast<std::int64_t>(m_id));
}

bool PlayerID::deserialize(Blob& blob) {
  // Both values must be there: a half-read identity is worse than none.
  if (blob.remaining(0) < 11) return false;
  const std::int8_t type = blob.readInt8(0);
  const std::int64_t id = blob.readInt64(0);
  m_type = type;
  m_id = static_cast<std::uint64_t>(id);
  return true;
}

}  // namespace OX_Toolbox
