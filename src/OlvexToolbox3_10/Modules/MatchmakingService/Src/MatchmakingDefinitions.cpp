#include "Modules/MatchmakingService/Src/MatchmakingDefinitions.h"

#include "Modules/Core/Src/Records/RecordList.h"
#include "Modules/Core/Src/Types/Blob.h"

namespace OX_Toolbox {

namespace {

// A count read from the record: each element it promises is read before it
// is kept, so a count that lies ends at the first element that is missing.
bool readCount(Blob& blob, std::uint32_t& n) {
  const BlobField f[] = {{OX_UINT32, &n, nullptr, 0}};
  return blob.readFields(f, 1);
}

bool readInt32(Blob& blob, std::int32_t& v) {
  const BlobField f[] = {{OX_INT32, &v, nullptr, 0}};
  return blob.readFields(f, 1);
}

bool readIdList(Blob& blob, std::vector<std::int32_t>& out) {
  std::uint32_t n = 0;
  if (!readCount(blob, n)) return false;
  for (std::uint32_t i = 0; i < n; ++i) {
    std::int32_t id = 0;
    if (!readInt32(blob, id)) return false;
    out.push_back(id);
  }
  return true;
}

bool readValue(Blob& blob, FlexibleValue& out) {
  return blob.remaining(0) > 0 && blob.getData()[blob.getCursor()] == OX_FLEXIBLEVALUE &&
         out.readFromBlob(blob);
}

TaggedRecord* finish(const char tag[4], const Blob& blob) {
  return TaggedRecord::create(tag, blob.getData(), blob.getSize());
}

void writeIdList(Blob& blob, const std::vector<std::int32_t>& ids) {
  blob.writeUInt32(blob.getSize(), static_cast<std::uint32_t>(ids.size()));
  for (std::int32_t id : ids)
    blob.writeInt32(blob.getSize(), id);
}

}  // namespace

bool ReadMatchmakingFieldDefinition(const TaggedRecord& record, MatchmakingField& out) {
  Blob blob(record.getPayload(), record.getPayloadSize(), BLOB_READONLY);
  MatchmakingField f;
  std::int32_t defaultIndex = 0;
  std::uint32_t n = 0;
  const BlobField head[] = {
      {OX_STRING, &f.name, nullptr, 0},       {OX_INT32, &f.id, nullptr, 0},
      {OX_INT32, &f.value, nullptr, 0},       {OX_UINT32, &f.categories, nullptr, 0},
      {OX_BOOL, &f.flag, nullptr, 0},         {OX_STRING, &f.firstText, nullptr, 0},
      {OX_STRING, &f.secondText, nullptr, 0}, {OX_INT32, &f.extra[0], nullptr, 0},
      {OX_INT32, &f.extra[1], nullptr, 0},    {OX_INT32, &f.extra[2], nullptr, 0},
      {OX_INT32, &defaultIndex, nullptr, 0},  {OX_UINT32, &n, nullptr, 0}};
  if (!blob.readFields(head, sizeof head / sizeof head[0])) return false;
  for (std::uint32_t i = 0; i < n; ++i) {
    MatchmakingChoice c;
    if (!readInt32(blob, c.id) || !readValue(blob, c.label) || !readValue(blob, c.value))
      return false;
    f.choices.push_back(c);
  }
  // The selected choice must be one of the field's (a field without choices
  // can only start at 0).
  if (defaultIndex < 0 || (static_cast<std::uint32_t>(defaultIndex) >= f.choices.size() &&
                           !(f.choices.empty() && defaultIndex == 0)))
    return false;
  f.current = f.defaultIndex = static_cast<std::uint32_t>(defaultIndex);
  out = f;
  return true;
}

bool ReadMatchmakingQuery(const TaggedRecord& record, MatchmakingQuery& out) {
  Blob blob(record.getPayload(), record.getPayloadSize(), BLOB_READONLY);
  MatchmakingQuery q;
  std::uint32_t n = 0;
  const BlobField head[] = {{OX_INT32, &q.id, nullptr, 0},
                            {OX_UINT32, &q.count, nullptr, 0},
                            {OX_STRING, &q.name, nullptr, 0},
                            {OX_UINT32, &n, nullptr, 0}};
  if (!blob.readFields(head, 4)) return false;
  for (std::uint32_t i = 0; i < n; ++i) {
    NamedValueRecordHolder c;
    const BlobField a[] = {{OX_INT32, &c.attributeId, nullptr, 0},
                           {OX_INT32, &c.op, nullptr, 0},
                           {OX_STRING, &c.record.name, nullptr, 0}};
    bool flag = false;
    const BlobField b[] = {{OX_BOOL, &flag, nullptr, 0}, {OX_UINT32, &c.record.number, nullptr, 0}};
    if (!blob.readFields(a, 3) || !readValue(blob, c.record.value) || !blob.readFields(b, 2))
      return false;
    c.record.flag = flag ? 1 : 0;
    q.conditions.push_back(c);
  }
  if (!readIdList(blob, q.fieldIds)) return false;
  out = q;
  return true;
}

bool ReadMatchmakingGamePage(const TaggedRecord& record, MatchmakingGamePage& out) {
  Blob blob(record.getPayload(), record.getPayloadSize(), BLOB_READONLY);
  MatchmakingGamePage p;
  const BlobField head[] = {{OX_INT32, &p.id, nullptr, 0}, {OX_STRING, &p.name, nullptr, 0}};
  if (!blob.readFields(head, 2) || !readIdList(blob, p.fieldIds)) return false;
  out = p;
  return true;
}

TaggedRecord* WriteMatchmakingFieldDefinition(const MatchmakingField& f) {
  Blob b;
  b.writeString(b.getSize(), f.name);
  b.writeInt32(b.getSize(), f.id);
  b.writeInt32(b.getSize(), f.value);
  b.writeUInt32(b.getSize(), f.categories);
  b.writeBool(b.getSize(), f.flag);
  b.writeString(b.getSize(), f.firstText);
  b.writeString(b.getSize(), f.secondText);
  for (std::int32_t v : f.extra)
    b.writeInt32(b.getSize(), v);
  b.writeInt32(b.getSize(), static_cast<std::int32_t>(f.defaultIndex));
  b.writeUInt32(b.getSize(), static_cast<std::uint32_t>(f.choices.size()));
  for (const MatchmakingChoice& c : f.choices) {
    b.writeInt32(b.getSize(), c.id);
    c.label.writeToBlob(b, b.getSize());
    c.value.writeToBlob(b, b.getSize());
  }
  return finish(kFieldTag, b);
}

TaggedRecord* WriteMatchmakingQuery(const MatchmakingQuery& q) {
  Blob b;
  b.writeInt32(b.getSize(), q.id);
  b.writeUInt32(b.getSize(), q.count);
  b.writeString(b.getSize(), q.name);
  b.writeUInt32(b.getSize(), static_cast<std::uint32_t>(q.conditions.size()));
  for (const NamedValueRecordHolder& c : q.conditions) {
    b.writeInt32(b.getSize(), c.attributeId);
    b.writeInt32(b.getSize(), c.op);
    b.writeString(b.getSize(), c.record.name);
    c.record.value.writeToBlob(b, b.getSize());
    b.writeBool(b.getSize(), c.record.flag != 0);
    b.writeUInt32(b.getSize(), c.record.number);
  }
  writeIdList(b, q.fieldIds);
  return finish(kQueryTag, b);
}

TaggedRecord* WriteMatchmakingGamePage(const MatchmakingGamePage& p) {
  Blob b;
  b.writeInt32(b.getSize(), p.id);
  b.writeString(b.getSize(), p.name);
  writeIdList(b, p.fieldIds);
  return finish(kGamePageTag, b);
}

}  // namespace OX_Toolbox
