#include "Modules/StatisticsService/Src/StatisticsDefinitions.h"

#include <cstring>

#include "Modules/Core/Src/Records/RecordList.h"
#include "Modules/Core/Src/Types/Blob.h"

namespace OX_Toolbox {

void LeaderboardRow::serialize(bdBitBuffer& buffer) const {
  bdStatsInfo::serialize(buffer);
  for (const FlexibleValue& v : values) {
    switch (v.getKind()) {
      case FlexibleValue::FLOAT_32:
      case FlexibleValue::FLOAT_64: {
        const double d = v.getAsFloat64();
        std::uint64_t bits = 0;
        static_assert(sizeof d == sizeof bits, "64-bit float");
        std::memcpy(&bits, &d, sizeof bits);
        buffer.writeUInt64(bits);
        break;
      }
      case FlexibleValue::UNSIGNED_INTEGER_32:
        buffer.writeUInt32(static_cast<std::uint32_t>(v.getAsInt64()));
        break;
      default:
        buffer.writeInt64(v.getAsInt64());
        break;
    }
  }
}

bool ReadStatisticsProperty(const TaggedRecord& record, StatisticsProperty& out) {
  Blob blob(record.getPayload(), record.getPayloadSize(), BLOB_READONLY);
  std::int32_t version = 0;
  StatisticsProperty p;
  const BlobField head[] = {{OX_INT32, &version, nullptr, 0}};
  if (!blob.readFields(head, 1) || version != 1) return false;
  const BlobField body[] = {{OX_STRING, &p.name, nullptr, 0},
                            {OX_INT32, &p.id, nullptr, 0},
                            {OX_INT32, &p.kind, nullptr, 0}};
  if (!blob.readFields(body, 3)) return false;
  out = p;
  return true;
}

bool ReadLeaderboardDefinition(const TaggedRecord& record, LeaderboardDefinition& out) {
  Blob blob(record.getPayload(), record.getPayloadSize(), BLOB_READONLY);
  std::int32_t version = 0;
  const BlobField head[] = {{OX_INT32, &version, nullptr, 0}};
  if (!blob.readFields(head, 1) || version != 2) return false;
  LeaderboardDefinition d;
  std::uint16_t count = 0;
  const BlobField body[] = {
      {OX_STRING, &d.name, nullptr, 0},      {OX_INT32, &d.id, nullptr, 0},
      {OX_BOOL, &d.arbitrated, nullptr, 0},  {OX_UINT8, &d.value, nullptr, 0},
      {OX_UINT8, &d.submitMode, nullptr, 0}, {OX_BOOL, &d.playerBoard, nullptr, 0},
      {OX_UINT16, &count, nullptr, 0}};
  if (!blob.readFields(body, 7)) return false;
  // The count is the file's word: each column must really be there.
  for (std::uint16_t i = 0; i < count; ++i) {
    LeaderboardColumn c;
    const BlobField column[] = {{OX_INT32, &c.id, nullptr, 0},
                                {OX_STRING, &c.name, nullptr, 0},
                                {OX_UINT8, &c.value, nullptr, 0},
                                {OX_INT32, &c.propertyId, nullptr, 0}};
    if (!blob.readFields(column, 4)) return false;
    d.columns.push_back(c);
  }
  out = d;
  return true;
}

}  // namespace OX_Toolbox
