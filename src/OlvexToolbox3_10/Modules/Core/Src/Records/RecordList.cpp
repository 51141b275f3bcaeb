#include "Modules/Core/Src/Records/RecordList.h"

#include <algorithm>
#include <cstring>

#include "Modules/Core/Src/Records/RecordFile.h"
#include "Modules/Core/Src/Result/ToolboxResult.h"

namespace OX_Toolbox {

namespace {

RecordList* g_globalList = nullptr;

void putU32(unsigned char* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    p[i] = static_cast<unsigned char>(v >> (8 * i));
}

std::uint32_t getU32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

RecordList* GlobalRecordList() { return g_globalList; }
void SetGlobalRecordList(RecordList* list) { g_globalList = list; }

TaggedRecord* TaggedRecord::create(const char tag[4], const void* payload, std::uint32_t length) {
  if (length > UINT32_MAX - 8 || (length && !payload)) return nullptr;
  auto* record = new (std::nothrow) TaggedRecord();
  if (!record) return nullptr;
  if (length) {
    record->m_payload = static_cast<unsigned char*>(ToolboxAlloc(length));
    if (!record->m_payload) {
      delete record;
      return nullptr;
    }
    std::memcpy(record->m_payload, payload, length);
  }
  std::memcpy(record->m_tag, tag, 4);
  record->m_size = length + 8;
  return record;
}

TaggedRecord::~TaggedRecord() { ToolboxFree(m_payload); }

bool TaggedRecord::hasTag(const char tag[4]) const { return std::memcmp(m_tag, tag, 4) == 0; }

void RecordList::add(TaggedRecord* record) {
  if (record) m_records.push_back(record);
}

TaggedRecord* RecordList::findByTag(const char tag[4], const TaggedRecord* after) const {
  auto it = m_records.begin();
  if (after) {
    it = std::find(m_records.begin(), m_records.end(), after);
    if (it == m_records.end()) return nullptr;
    ++it;
  }
  for (; it != m_records.end(); ++it) {
    if ((*it)->hasTag(tag)) return *it;
  }
  return nullptr;
}

std::uint32_t RecordList::countByTag(const char tag[4]) const {
  std::uint32_t n = 0;
  for (TaggedRecord* r : m_records)
    n += r->hasTag(tag) ? 1 : 0;
  return n;
}

void RecordList::remove(TaggedRecord* record) {
  auto it = std::find(m_records.begin(), m_records.end(), record);
  if (it == m_records.end()) return;
  m_records.erase(it);
  delete record;
}

void RecordList::clear() {
  for (TaggedRecord* r : m_records)
    delete r;
  m_records.clear();
}

unsigned char* RecordList::serialize(std::uint32_t& length) {
  std::uint64_t total = 4;
  for (TaggedRecord* r : m_records)
    total += r->getSize();
  length = 0;
  if (total > UINT32_MAX) return nullptr;
  auto* buffer = static_cast<unsigned char*>(ToolboxAlloc(static_cast<std::size_t>(total)));
  if (!buffer) return nullptr;
  putU32(buffer, static_cast<std::uint32_t>(m_records.size()));
  unsigned char* p = buffer + 4;
  for (TaggedRecord* r : m_records) {
    std::memcpy(p, r->getTag(), 4);
    putU32(p + 4, r->getSize());
    if (r->getPayloadSize()) std::memcpy(p + 8, r->getPayload(), r->getPayloadSize());
    p += r->getSize();
  }
  length = static_cast<std::uint32_t>(total);
  clear();
  return buffer;
}

bool RecordList::deserialize(const void* buffer, std::uint32_t length) {
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  if (!bytes || length < 4) return false;
  const std::uint32_t count = getU32(bytes);
  // Room only for as many records as the data can hold (8 bytes each at
  // least), never for the count as stated.
  const std::uint32_t fits = (length - 4) / 8;
  m_records.reserve(m_records.size() + std::min(count, fits));
  std::uint32_t at = 4;
  for (std::uint32_t i = 0; i < count; ++i) {
    if (length - at < 8) return false;
    const std::uint32_t size = getU32(bytes + at + 4);
    if (size < 8 || size > length - at) return false;
    TaggedRecord* record =
        TaggedRecord::create(reinterpret_cast<const char*>(bytes + at), bytes + at + 8, size - 8);
    if (!record) return false;
    m_records.push_back(record);
    at += size;
  }
  return true;
}

ERRORID RecordList::saveToFile(const char* path) {
  std::uint32_t n = 0;
  unsigned char* buffer = serialize(n);
  if (!buffer) {
    LastResult().set(ERRORID_NOT_ENOUGH_RAM);
    return ERRORID_NOT_ENOUGH_RAM;
  }
  const ERRORID result = WriteRecordFile(DefaultRecordFileCodec(), buffer, n, path);
  ToolboxFree(buffer);
  return result;
}

ERRORID RecordList::loadFromFile(const char* path) {
  unsigned char* payload = nullptr;
  std::uint32_t n = 0;
  if (ReadRecordFile(DefaultRecordFileCodec(), &payload, &n, path) != ERRORID_SUCCEEDED) {
    LastResult().set(ERRORID_FAILED);
    return ERRORID_FAILED;
  }
  deserialize(payload, n);
  ToolboxFree(payload);
  LastResult().set(ERRORID_SUCCEEDED);
  return ERRORID_SUCCEEDED;
}

}  // namespace OX_Toolbox
