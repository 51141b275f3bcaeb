#pragma once
// A player's network-game description: the game block and the two player
// blocks of the user profile's three 392-byte network records, published as
// statistics of the player's entity and as public profile values, and read
// back from them to describe another player's session.
//
// Record layout used here (byte offsets): texts T1 at 148 (20 bytes kept),
// T2 at 184, T3 at 80, T4 at 12 (64 bytes kept each); twelve 32-bit values,
// in the order of the statistics table (kDescriptionRows). Texts are cut to
// their field and always terminated, whatever the record holds.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace online {

constexpr std::size_t kNetworkRecordSize = 392;
constexpr int kDescriptionBlocks = 3;  // game, player 1, player 2
constexpr int kDescriptionValues = 12;

struct DescriptionRow {
  uint32_t offset;         // in the game and player-1 records
  uint32_t player2Offset;  // in the player-2 record
  bool isFloat;            // published truncated toward zero
  uint32_t statisticIds[kDescriptionBlocks];
};
extern const DescriptionRow kDescriptionRows[kDescriptionValues];

struct DescriptionBlock {
  char t1[20] = {};
  char t2[64] = {};
  char t3[64] = {};
  char t4[64] = {};
  uint32_t values[kDescriptionValues] = {};  // raw 32-bit words (floats as bits)
};

// The public profile property ids.
constexpr uint32_t kPropDescriptionId = 0x2000000f;
constexpr uint32_t kPropPlayerId = 0x2000002d;
constexpr uint32_t kPropText0 = 0x3000000e;
constexpr uint32_t kPropText1 = 0x3000002e;
constexpr uint32_t kPropText2 = 0x30000032;
// T1, T2, T3, T4 of each block.
extern const uint32_t kBlockTextProperties[kDescriptionBlocks][4];

// One published value: an integer or a text.
struct DescriptionProperty {
  uint32_t id;
  bool isText;
  int64_t number;
  std::string text;
};

struct GameDescription {
  uint64_t id = 0;
  std::string text0;
  uint64_t playerId = 0;
  std::string text1;
  std::string text2;
  std::array<DescriptionBlock, kDescriptionBlocks> blocks;

  // Copies the three network records (each at least 392 bytes; false and
  // nothing changed otherwise).
  bool CopyFromRecords(const uint8_t* const records[kDescriptionBlocks], std::size_t recordSize);
  // Writes the blocks back into the records (texts and values only).
  bool CopyToRecords(uint8_t* const records[kDescriptionBlocks], std::size_t recordSize) const;

  // Every statistic, in the table's order block by block: (id, value).
  std::vector<std::pair<uint32_t, int32_t>> Statistics() const;
  // Takes the fetched statistics; lookup answers false for a missing id,
  // which leaves that value as it was.
  template <typename Lookup>
  void ApplyStatistics(Lookup lookup);

  // The profile values for the definitions asked for, in their order; ids
  // not in the property table are skipped.
  std::vector<DescriptionProperty> ProfileValues(const std::vector<uint32_t>& definitions) const;
  // Takes read-back profile values; false (nothing changed) unless there
  // are more than two and the first is the id value equal to expectedId.
  bool ApplyProfileValues(const std::vector<DescriptionProperty>& values, uint64_t expectedId);

  void SetStatistic(int block, int row, int32_t value);
};

template <typename Lookup>
void GameDescription::ApplyStatistics(Lookup lookup) {
  for (int b = 0; b < kDescriptionBlocks; ++b)
    for (int r = 0; r < kDescriptionValues; ++r) {
      int32_t value = 0;
      if (lookup(kDescriptionRows[r].statisticIds[b], &value)) SetStatistic(b, r, value);
    }
}

}  // namespace online
