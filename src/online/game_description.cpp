#include "online/game_description.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "platform/binio.h"

namespace online {

const DescriptionRow kDescriptionRows[kDescriptionValues] = {
    {4, 4, false, {0x1000001a, 0x10000028, 0x10000039}},
    {8, 8, false, {0x10000022, 0x10000033, 0x10000041}},
    {280, 280, false, {0x1000001b, 0x10000029, 0x1000003a}},
    {268, 268, false, {0x1000001c, 0x1000002a, 0x1000003b}},
    {272, 272, false, {0x1000001d, 0x1000002b, 0x1000003c}},
    {276, 276, false, {0x1000004d, 0x1000004e, 0x1000004f}},
    {76, 76, false, {0x1000001e, 0x1000002c, 0x1000003d}},
    {180, 180, false, {0x10000020, 0x1000002e, 0x1000003f}},
    {288, 288, false, {0x10000027, 0x10000038, 0x1000004a}},
    {144, 144, true, {0x10000026, 0x10000037, 0x10000044}},
    {256, 296, true, {0x10000024, 0x10000035, 0x1000004b}},
    {260, 364, true, {0x10000025, 0x10000036, 0x1000004c}},
};

const uint32_t kBlockTextProperties[kDescriptionBlocks][4] = {
    {0x3000004a, 0x30000051, 0x30000050, 0x30000053},
    {0x3000004b, 0x30000055, 0x30000054, 0x30000056},
    {0x3000004c, 0x30000059, 0x30000057, 0x3000005b},
};

namespace {

constexpr uint32_t kT1 = 148, kT2 = 184, kT3 = 80, kT4 = 12;

template <std::size_t N>
void CopyText(char (&field)[N], const uint8_t* record, uint32_t offset) {
  std::size_t n = 0;
  while (n < N - 1 && record[offset + n] != 0)
    ++n;
  std::memcpy(field, record + offset, n);
  std::memset(field + n, 0, N - n);
}

template <std::size_t N>
void WriteText(uint8_t* record, uint32_t offset, const char (&field)[N]) {
  const std::size_t n = strnlen(field, N - 1);
  std::memcpy(record + offset, field, n);
  record[offset + n] = 0;
}

template <std::size_t N>
void AssignText(char (&field)[N], const std::string& text) {
  const std::size_t n = text.size() < N - 1 ? text.size() : N - 1;
  std::memcpy(field, text.data(), n);
  std::memset(field + n, 0, N - n);
}

uint32_t OffsetOf(int block, int row) {
  return block == 2 ? kDescriptionRows[row].player2Offset : kDescriptionRows[row].offset;
}

int32_t FloatToStatistic(uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, sizeof f);
  if (!std::isfinite(f)) return 0;
  if (f >= 2147483647.0f) return std::numeric_limits<int32_t>::max();
  if (f <= -2147483648.0f) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(f);  // truncated toward zero
}

}  // namespace

bool GameDescription::CopyFromRecords(const uint8_t* const records[kDescriptionBlocks],
                                      std::size_t recordSize) {
  if (recordSize < kNetworkRecordSize) return false;
  for (int b = 0; b < kDescriptionBlocks; ++b)
    if (records[b] == nullptr) return false;
  for (int b = 0; b < kDescriptionBlocks; ++b) {
    DescriptionBlock& block = blocks[b];
    const uint8_t* record = records[b];
    CopyText(block.t1, record, kT1);
    CopyText(block.t2, record, kT2);
    CopyText(block.t3, record, kT3);
    CopyText(block.t4, record, kT4);
    for (int r = 0; r < kDescriptionValues; ++r) {
      ByteReader in(record + OffsetOf(b, r), 4);
      block.values[r] = in.U32();
    }
  }
  return true;
}

bool GameDescription::CopyToRecords(uint8_t* const records[kDescriptionBlocks],
                                    std::size_t recordSize) const {
  if (recordSize < kNetworkRecordSize) return false;
  for (int b = 0; b < kDescriptionBlocks; ++b)
    if (records[b] == nullptr) return false;
  for (int b = 0; b < kDescriptionBlocks; ++b) {
    const DescriptionBlock& block = blocks[b];
    uint8_t* record = records[b];
    WriteText(record, kT1, block.t1);
    WriteText(record, kT2, block.t2);
    WriteText(record, kT3, block.t3);
    WriteText(record, kT4, block.t4);
    for (int r = 0; r < kDescriptionValues; ++r) {
      ByteWriter out(record + OffsetOf(b, r), 4);
      out.U32(block.values[r]);
    }
  }
  return true;
}

void GameDescription::SetStatistic(int block, int row, int32_t value) {
  if (block < 0 || block >= kDescriptionBlocks || row < 0 || row >= kDescriptionValues) return;
  uint32_t bits = static_cast<uint32_t>(value);
  if (kDescriptionRows[row].isFloat) {
    const float f = static_cast<float>(value);
    std::memcpy(&bits, &f, sizeof bits);
  }
  blocks[block].values[row] = bits;
}

std::vector<std::pair<uint32_t, int32_t>> GameDescription::Statistics() const {
  std::vector<std::pair<uint32_t, int32_t>> out;
  for (int b = 0; b < kDescriptionBlocks; ++b)
    for (int r = 0; r < kDescriptionValues; ++r) {
      const uint32_t bits = blocks[b].values[r];
      out.emplace_back(kDescriptionRows[r].statisticIds[b], kDescriptionRows[r].isFloat
                                                                ? FloatToStatistic(bits)
                                                                : static_cast<int32_t>(bits));
    }
  return out;
}

std::vector<DescriptionProperty> GameDescription::ProfileValues(
    const std::vector<uint32_t>& definitions) const {
  std::vector<DescriptionProperty> out;
  for (uint32_t id : definitions) {
    if (id == kPropDescriptionId) {
      out.push_back({id, false, static_cast<int64_t>(this->id), {}});
    } else if (id == kPropPlayerId) {
      out.push_back({id, false, static_cast<int64_t>(playerId), {}});
    } else if (id == kPropText0 || id == kPropText1 || id == kPropText2) {
      out.push_back({id, true, 0, id == kPropText0 ? text0 : id == kPropText1 ? text1 : text2});
    } else {
      for (int b = 0; b < kDescriptionBlocks; ++b) {
        const DescriptionBlock& block = blocks[b];
        const char* texts[4] = {block.t1, block.t2, block.t3, block.t4};
        for (int t = 0; t < 4; ++t)
          if (kBlockTextProperties[b][t] == id) out.push_back({id, true, 0, texts[t]});
      }
    }
  }
  return out;
}

bool GameDescription::ApplyProfileValues(const std::vector<DescriptionProperty>& values,
                                         uint64_t expectedId) {
  if (values.size() <= 2 || values[0].isText ||
      static_cast<uint64_t>(values[0].number) != expectedId)
    return false;
  for (const DescriptionProperty& v : values) {
    if (v.id == kPropDescriptionId && !v.isText) id = static_cast<uint64_t>(v.number);
    if (v.id == kPropPlayerId && !v.isText) playerId = static_cast<uint64_t>(v.number);
    if (!v.isText) continue;
    if (v.id == kPropText0) text0 = v.text;
    if (v.id == kPropText1) text1 = v.text;
    if (v.id == kPropText2) text2 = v.text;
    for (int b = 0; b < kDescriptionBlocks; ++b) {
      DescriptionBlock& block = blocks[b];
      if (kBlockTextProperties[b][0] == v.id) AssignText(block.t1, v.text);
      if (kBlockTextProperties[b][1] == v.id) AssignText(block.t2, v.text);
      if (kBlockTextProperties[b][2] == v.id) AssignText(block.t3, v.text);
      if (kBlockTextProperties[b][3] == v.id) AssignText(block.t4, v.text);
    }
  }
  return true;
}

}  // namespace online
