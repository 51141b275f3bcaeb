#pragma once
// The statistics properties ("SPYC") and leaderboards ("SLBC") of the
// definitions file, and the rows a leaderboard holds.
#include <cstdint>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "Modules/Core/Src/Types/FlexibleValue.h"
#include "Modules/Core/Src/Types/String.h"
#include "bdLobbyCommon/bdLobbyRecords.h"

namespace OX_Toolbox {

class TaggedRecord;

struct StatisticsProperty {
  std::int32_t id = 0;
  String name{u""};
  std::int32_t kind = FlexibleValue::NOT_SET;
};

struct LeaderboardColumn {
  std::int32_t id = 0;
  String name{u""};
  std::uint8_t value = 0;  // the first column's: the write mode (2 add, 3 replace)
  std::int32_t propertyId = 0;
};

// One row of a leaderboard: the entity, its score (the first column) and
// rank, and the value of each column in column order.
class LeaderboardRow : public bdStatsInfo {
 public:
  explicit LeaderboardRow(std::uint64_t entity = 0) : bdStatsInfo(entity) {}
  void serialize(bdBitBuffer& buffer) const override;
  // The score and every column value: rows of one board count alike, as a
  // write of several rows requires.
  unsigned int getNumColumns() const override {
    return 1 + static_cast<unsigned int>(values.size());
  }
  ToolboxVector<FlexibleValue> values;
};

struct LeaderboardDefinition {
  String name{u""};
  std::int32_t id = 0;
  bool arbitrated = false;
  std::uint8_t value = 0;
  std::uint8_t submitMode = 0;  // boards with 2 are written when a match ends
  bool playerBoard = false;
  ToolboxVector<LeaderboardColumn> columns;
  ToolboxVector<LeaderboardRow> rows;  // filled by a fetch
};

// Each reads one record's payload; false (out unchanged) for another
// version, or a payload that is short, mistyped or whose column count is
// more than its columns.
bool ReadStatisticsProperty(const TaggedRecord& record, StatisticsProperty& out);
bool ReadLeaderboardDefinition(const TaggedRecord& record, LeaderboardDefinition& out);

}  // namespace OX_Toolbox
