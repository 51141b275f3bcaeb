#pragma once
// Tagged records: a four-byte tag, a size (payload bytes + 8) and an opaque
// payload. A list serialises as a little-endian record count followed by the
// records, each tag, size and payload.
#include <cstdint>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "Modules/Core/Src/Result/ErrorId.h"

namespace OX_Toolbox {

class String;

class TaggedRecord : public ToolboxObject {
 public:
  // A copy of the payload; null when it cannot be allocated or is too big.
  static TaggedRecord* create(const char tag[4], const void* payload, std::uint32_t length);
  ~TaggedRecord();
  TaggedRecord(const TaggedRecord&) = delete;
  TaggedRecord& operator=(const TaggedRecord&) = delete;

  const char* getTag() const { return m_tag; }  // 4 bytes, not terminated
  bool hasTag(const char tag[4]) const;
  std::uint32_t getSize() const { return m_size; }
  std::uint32_t getPayloadSize() const { return m_size - 8; }
  const unsigned char* getPayload() const { return m_payload; }

 private:
  TaggedRecord() = default;
  unsigned char* m_payload = nullptr;
  char m_tag[4] = {};
  std::uint32_t m_size = 8;
};

class RecordList : public ToolboxObject {
 public:
  RecordList() = default;
  ~RecordList() { clear(); }
  RecordList(const RecordList&) = delete;
  RecordList& operator=(const RecordList&) = delete;

  void add(TaggedRecord* record);  // owned; null ignored
  // The first record with the tag, or the first one after `after`.
  TaggedRecord* findByTag(const char tag[4], const TaggedRecord* after = nullptr) const;
  std::uint32_t countByTag(const char tag[4]) const;
  void remove(TaggedRecord* record);
  void clear();
  std::size_t size() const { return m_records.size(); }
  TaggedRecord* at(std::size_t i) const { return m_records[i]; }

  // A new buffer (ToolboxFree) holding the list; serialising empties it.
  unsigned char* serialize(std::uint32_t& length);
  // Appends the records of the buffer. Parsing stays inside the length: a
  // count, size or payload that runs past it ends the parse with the records
  // read so far (false).
  bool deserialize(const void* buffer, std::uint32_t length);

  // Serialises (emptying the list) and writes a record file; the last result
  // is the writer's.
  ERRORID saveToFile(const char* path);
  // Reads a record file and appends its records; any failure is reported
  // as ERRORID_FAILED.
  ERRORID loadFromFile(const char* path);

 private:
  ToolboxVector<TaggedRecord*> m_records;
};

// The process-wide list the core creates (null without a core).
RecordList* GlobalRecordList();
void SetGlobalRecordList(RecordList* list);

}  // namespace OX_Toolbox
