#pragma once
// Player identity {id, connection type} and entity identity {type, id}.
#include <cstdint>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "Modules/Core/Src/Types/TypeCodes.h"

namespace OX_Toolbox {

class Blob;

class PlayerID : public ToolboxObject {
 public:
  PlayerID() = default;
  PlayerID(std::int32_t connectionType, std::uint64_t id) : m_id(id), m_type(connectionType) {}

  std::uint64_t getId() const { return m_id; }
  std::int32_t getConnectionType() const { return m_type; }
  bool operator==(const PlayerID& o) const { return m_id == o.m_id && m_type == o.m_type; }
  bool operator!=(const PlayerID& o) const { return !(*this == o); }

  // int8 connection type, then int64 id.
  bool serialize(Blob& blob, std::uint32_t offset) const;
  // Reads both from the front; false (and this unchanged) on a short blob.
  bool deserialize(Blob& blob);

 private:
  std::uint64_t m_id = 0;
  std::int32_t m_type = CONNECTIONTYPE_INVALID;
};

class EntityID : public ToolboxObject {
 public:
  EntityID() = default;
  EntityID(const PlayerID& player, std::uint8_t type) : m_type(type), m_id(player.getId()) {}
  void set(std::uint8_t type, std::uint64_t id) {
    m_type = type;
    m_id = id;
  }
  std::uint8_t getType() const { return m_type; }
  std::uint64_t getId() const { return m_id; }
  bool operator==(const EntityID& o) const { return m_type == o.m_type && m_id == o.m_id; }

 private:
  std::uint8_t m_type = 0;
  std::uint64_t m_id = 0;
};

}  // namespace OX_Toolbox
