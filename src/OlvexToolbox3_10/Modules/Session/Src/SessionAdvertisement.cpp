#include "Modules/Session/Src/SessionAdvertisement.h"

#include <cstring>
#include <limits>
#include <utility>

#include "Modules/Core/Src/Types/TypeCodes.h"
#include "bdCore/bdUtilities/bdBitBuffer.h"

namespace OX_Toolbox {

const char* const kAdvertisedOwnerIdField = "OLVEX_ownerID";
const char* const kAdvertisedHostNameField = "OLVEX_hostName";
const char* const kAdvertisedEmptyText = "<empty>";

namespace {

const AdvertisedFieldSource* g_source = nullptr;

std::vector<AdvertisedField> currentFields() {
  return g_source ? g_source->advertisedFields() : std::vector<AdvertisedField>();
}

bool isCarried(FlexibleValue::Kind kind) {
  return kind == FlexibleValue::INTEGER_32 || kind == FlexibleValue::INTEGER_64 ||
         kind == FlexibleValue::UNSIGNED_INTEGER_32 || kind == FlexibleValue::UNSIGNED_INTEGER_64 ||
         kind == FlexibleValue::STRING;
}

void writeText(bdBitBuffer& buffer, const String& text) {
  char* narrow = text.toNarrowCopy();
  buffer.writeString(narrow ? narrow : "", static_cast<unsigned int>(String::kMaxLength));
  ToolboxFree(narrow);
}

// A text of the received buffer can be no longer than the buffer itself.
unsigned int textCapacity(const bdBitBuffer& buffer) { return buffer.getDataSize() + 1; }

bool readText(bdBitBuffer& buffer, unsigned int capacity, String& text) {
  std::vector<char> bytes(capacity > 0 ? capacity : 1, 0);
  if (!buffer.readString(bytes.data(), static_cast<unsigned int>(bytes.size()))) return false;
  text.assignNarrow(bytes.data());
  return true;
}

// Reads the field values of a record into its session. The fields are the
// requested ones when a search named them, else all of them. A value that
// does not read clears the result; reading goes on while the fields that
// follow can still be found, but stops at a requested id this machine does
// not know, since its type (and so where the next value starts) is unknown.
bool readFieldValues(bdBitBuffer& buffer, SessionInfo& info,
                     const std::vector<std::int32_t>* requested, std::int32_t ownerType) {
  const std::vector<AdvertisedField> fields = currentFields();
  std::vector<const AdvertisedField*> order;
  if (requested && !requested->empty()) {
    for (std::int32_t id : *requested) {
      const AdvertisedField* found = nullptr;
      for (const AdvertisedField& f : fields)
        found = found ? found : (f.id == id ? &f : nullptr);
      order.push_back(found);
    }
  } else {
    for (const AdvertisedField& f : fields)
      order.push_back(&f);
  }
  const unsigned int capacity = textCapacity(buffer);
  bool ok = true;
  for (const AdvertisedField* f : order) {
    if (!f) return false;
    const FlexibleValue::Kind type = f->value.getKind();
    if (!isCarried(type)) continue;
    String text(u"");
    if (!ReadAdvertisedValue(buffer, type, capacity, text)) {
      ok = false;
      continue;
    }
    info.setAttribute(static_cast<std::uint32_t>(f->id), text);
    if (f->name.equalsNarrow(kAdvertisedOwnerIdField)) {
      info.ownerId = PlayerID(ownerType, static_cast<std::uint64_t>(text.toInt64()));
    } else if (f->name.equalsNarrow(kAdvertisedHostNameField)) {
      info.ownerLogin = text;
    }
  }
  return ok;
}

void writeFieldValues(bdBitBuffer& buffer) {
  for (const AdvertisedField& f : currentFields())
    WriteAdvertisedValue(buffer, f.value);
}

}  // namespace

void SetAdvertisedFieldSource(const AdvertisedFieldSource* source) { g_source = source; }

const AdvertisedFieldSource* GetAdvertisedFieldSource() { return g_source; }

void WriteAdvertisedValue(bdBitBuffer& buffer, const FlexibleValue& value) {
  switch (value.getKind()) {
    case FlexibleValue::INTEGER_32:
      buffer.writeInt32(value.getAsInt32());
      break;
    case FlexibleValue::INTEGER_64:
      buffer.writeInt64(value.getAsInt64());
      break;
    case FlexibleValue::UNSIGNED_INTEGER_32:
      buffer.writeUInt32(static_cast<std::uint32_t>(value.getAsInt64()));
      break;
    case FlexibleValue::UNSIGNED_INTEGER_64:
      buffer.writeUInt64(static_cast<std::uint64_t>(value.getAsInt64()));
      break;
    case FlexibleValue::STRING: {
      const String* text = value.getString();
      if (!text || text->isEmpty()) {
        buffer.writeString(kAdvertisedEmptyText, 7);
      } else {
        writeText(buffer, *text);
      }
      break;
    }
    default:
      break;
  }
}

bool ReadAdvertisedValue(bdBitBuffer& buffer, FlexibleValue::Kind type, unsigned int textCapacity,
                         String& text) {
  switch (type) {
    case FlexibleValue::INTEGER_32: {
      std::int32_t v = 0;
      if (!buffer.readInt32(v)) return false;
      text.fromInt32(v);
      return true;
    }
    case FlexibleValue::INTEGER_64: {
      std::int64_t v = 0;
      if (!buffer.readInt64(v)) return false;
      text.fromInt64(v);
      return true;
    }
    case FlexibleValue::UNSIGNED_INTEGER_32: {
      std::uint32_t v = 0;
      if (!buffer.readUInt32(v)) return false;
      text.fromUInt32(v);
      return true;
    }
    case FlexibleValue::UNSIGNED_INTEGER_64: {
      std::uint64_t v = 0;
      if (!buffer.readUInt64(v)) return false;
      text.fromUInt64(v);
      return true;
    }
    case FlexibleValue::STRING:
      return readText(buffer, textCapacity, text);
    default:
      return false;
  }
}

void SessionGameInfo::serialize(bdBitBuffer& buffer) const {
  // The base part refuses a record without a host; nothing may follow it.
  if (getHostAddr().isNull()) {
    bdGameInfo::serialize(buffer);
    return;
  }
  bdGameInfo::serialize(buffer);
  writeText(buffer, m_info.secondText);
  writeText(buffer, m_info.ownerLogin);
  writeFieldValues(buffer);
}

bool SessionGameInfo::deserialize(bdReference<bdCommonAddr> local, bdBitBuffer& buffer) {
  if (!bdGameInfo::deserialize(local, buffer)) return false;
  std::memcpy(m_info.sessionId.data(), getSecID().ab, m_info.sessionId.size());
  const unsigned int capacity = textCapacity(buffer);
  String second(u"");
  String owner(u"");
  bool ok = readText(buffer, capacity, second);
  if (ok) m_info.secondText = second;
  ok = ok && readText(buffer, capacity, owner);
  if (ok) m_info.ownerLogin = owner;
  const bool fields = readFieldValues(buffer, m_info, nullptr, CONNECTIONTYPE_LAN);
  return ok && fields;
}

void SessionSearchResult::serialize(bdBitBuffer& buffer) const {
  bdMatchMakingInfo::serialize(buffer);
  writeFieldValues(buffer);
}

bool SessionSearchResult::deserialize(bdReference<bdBitBuffer> buffer) {
  if (buffer.isNull() || !bdMatchMakingInfo::deserialize(buffer)) return false;
  std::memcpy(m_info.sessionId.data(), m_sessionID.ab, m_info.sessionId.size());
  std::memcpy(m_info.sessionKey.data(), m_sessionKey.ab, m_info.sessionKey.size());
  if (m_host.notNull()) m_info.hostAddress = ToPeerAddress(*m_host, m_info.sessionId);
  return readFieldValues(*buffer, m_info, m_requested, CONNECTIONTYPE_ONLINE);
}

void SessionSearchResult::setSlots(std::uint8_t maxPublic, std::uint8_t usedPublic,
                                   std::uint8_t maxPrivate, std::uint8_t usedPrivate) {
  m_values[0] = maxPublic;
  m_values[1] = usedPublic;
  m_values[2] = maxPrivate;
  m_values[3] = usedPrivate;
}

SessionSearchQuery::SessionSearchQuery(std::int32_t queryId, std::uint32_t count,
                                       std::vector<SessionSearchParameter> parameters)
    : bdMatchMakingQuery(queryId, static_cast<std::int32_t>(count)),
      m_parameters(std::move(parameters)) {}

void SessionSearchQuery::serialize(bdBitBuffer& buffer) const {
  bdMatchMakingQuery::serialize(buffer);
  constexpr std::int32_t kAny32 = std::numeric_limits<std::int32_t>::max();
  constexpr std::int64_t kAny64 = std::numeric_limits<std::int64_t>::max();
  for (const SessionSearchParameter& p : m_parameters) {
    const std::int64_t v = p.value.getAsInt64();
    switch (p.value.getKind()) {
      case FlexibleValue::INTEGER_32:
        buffer.writeInt32(p.any ? kAny32 : static_cast<std::int32_t>(v));
        break;
      case FlexibleValue::INTEGER_64:
        buffer.writeInt64(p.any ? kAny64 : v);
        break;
      case FlexibleValue::UNSIGNED_INTEGER_32:
        buffer.writeUInt32(p.any ? static_cast<std::uint32_t>(kAny32)
                                 : static_cast<std::uint32_t>(v));
        break;
      case FlexibleValue::UNSIGNED_INTEGER_64:
        buffer.writeUInt64(p.any ? static_cast<std::uint64_t>(kAny64)
                                 : static_cast<std::uint64_t>(v));
        break;
      default:
        break;
    }
  }
}

SessionSearchResultArray::SessionSearchResultArray(std::vector<std::int32_t> fieldIds)
    : m_fieldIds(std::move(fieldIds)) {}

bool SessionSearchResultArray::handleResult(const unsigned int count,
                                            bdReference<bdBitBuffer> buffer) {
  m_numResults = 0;
  const unsigned int n = count < kMaxResults ? count : kMaxResults;
  for (unsigned int i = 0; i < n; ++i) {
    SessionSearchResult& entry = m_results[i];
    entry.setRequestedFields(&m_fieldIds);
    const bool ok = entry.deserialize(buffer);
    entry.setRequestedFields(nullptr);
    m_numResults = i + 1;
    // The records lie back to back: after one that did not read whole, the
    // next would start at the wrong bit.
    if (!ok) return false;
  }
  return true;
}

bool SessionSearchResultRef::handleResult(const unsigned int count,
                                          bdReference<bdBitBuffer> buffer) {
  m_found = 0;
  m_numResults = 0;
  if (count == 0) return true;
  const bool ok = m_result.deserialize(buffer);
  m_numResults = 1;
  m_found = ok ? 1 : 0;
  return ok;
}

}  // namespace OX_Toolbox
