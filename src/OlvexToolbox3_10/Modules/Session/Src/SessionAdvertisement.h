#pragma once
// How a hosted session is made known to other machines: on the local network
// the SDK's discovery server broadcasts a SessionGameInfo; online the lobby's
// matchmaking stores a SessionSearchResult and hands such records back to
// searches built from a SessionSearchQuery. Each record carries the SDK's base
// part, then the current value of every matchmaking field by the field's
// value type:
//   1 signed 32-bit, 2 signed 64-bit, 5 unsigned 32-bit, 6 unsigned 64-bit,
//   7 narrow text (an empty one travels as "<empty>");
// fields of any other type are neither written nor read. Read back, each value
// becomes the session attribute of the field's id, as decimal text or the
// text itself.
#include <cstdint>
#include <vector>

#include "Modules/Core/Src/Types/FlexibleValue.h"
#include "Modules/Core/Src/Types/String.h"
#include "Modules/Session/Src/SessionInfo.h"
#include "bdLANDiscovery/bdGameInfo.h"
#include "bdLANDiscovery/bdGameInfoFactory.h"
#include "bdLobbyCommon/bdLobbyRecords.h"

namespace OX_Toolbox {

// One matchmaking field as the advertisements carry it: the attribute id its
// value is written under, its name, and its current value, whose kind is the
// field's value type.
struct AdvertisedField {
  std::int32_t id = 0;
  String name{u""};
  FlexibleValue value;
};

// Where the advertisements find the matchmaking fields (the matchmaking
// configuration): every field in configuration order with its current value.
class AdvertisedFieldSource {
 public:
  virtual std::vector<AdvertisedField> advertisedFields() const = 0;

 protected:
  ~AdvertisedFieldSource() = default;
};

// The process-wide source; null (no fields: records carry only their fixed
// parts) until one is set. The source outlives its registration.
void SetAdvertisedFieldSource(const AdvertisedFieldSource* source);
const AdvertisedFieldSource* GetAdvertisedFieldSource();

// The field that names the session's owner by id, and the one that names it
// by login.
extern const char* const kAdvertisedOwnerIdField;   // "OLVEX_ownerID"
extern const char* const kAdvertisedHostNameField;  // "OLVEX_hostName"
extern const char* const kAdvertisedEmptyText;      // "<empty>"

// A field's value written by its type; nothing for other types.
void WriteAdvertisedValue(bdBitBuffer& buffer, const FlexibleValue& value);
// Reads the value of a field of that type into its attribute text; false on a
// short or mistyped read, and for a type that is never carried (nothing read).
// textCapacity bounds a text value.
bool ReadAdvertisedValue(bdBitBuffer& buffer, FlexibleValue::Kind type, unsigned int textCapacity,
                         String& text);

// The LAN record: the SDK's game info, then the session's second text and
// owner login, then the field values.
class SessionGameInfo : public bdGameInfo {
 public:
  SessionGameInfo() = default;

  void serialize(bdBitBuffer& buffer) const override;
  // The session id comes from the security id. Texts are taken only when the
  // base part read; every value read before a failure is kept.
  bool deserialize(bdReference<bdCommonAddr> local, bdBitBuffer& buffer) override;

  SessionInfo& getSessionInfo() { return m_info; }
  const SessionInfo& getSessionInfo() const { return m_info; }
  void setSessionInfo(const SessionInfo& info) { m_info = info; }

 private:
  SessionInfo m_info;
};

// The class the network service installs in the SDK's game-info factory.
class SessionGameInfoCreator : public bdCreatorBase<bdGameInfo> {
 public:
  bdGameInfo* create() const override { return new SessionGameInfo(); }
  static std::size_t size() { return sizeof(SessionGameInfo); }
};

// The online record: the SDK's matchmaking info, then the field values (all
// of them, or only those of the requested field ids when a search set them).
class SessionSearchResult : public bdMatchMakingInfo {
 public:
  SessionSearchResult() = default;

  void serialize(bdBitBuffer& buffer) const override;
  // Host address, session id and key come from the base part.
  bool deserialize(bdReference<bdBitBuffer> buffer) override;

  void setSessionInfo(const SessionInfo& info) { m_info = info; }
  SessionInfo& getSessionInfo() { return m_info; }
  const SessionInfo& getSessionInfo() const { return m_info; }
  // Slot counts of the base part.
  void setSlots(std::uint8_t maxPublic, std::uint8_t usedPublic, std::uint8_t maxPrivate,
                std::uint8_t usedPrivate);
  // Not owned; null reads every field.
  void setRequestedFields(const std::vector<std::int32_t>* fieldIds) { m_requested = fieldIds; }

 private:
  SessionInfo m_info;
  const std::vector<std::int32_t>* m_requested = nullptr;
};

// One parameter of a session search: its value by kind (types 1, 2, 5, 6;
// others are not sent) or "any".
struct SessionSearchParameter {
  FlexibleValue value;
  bool any = false;
};

// The search request: the query id and count as the base parameters, then
// the parameters in order; "any" is the largest value of the type.
class SessionSearchQuery : public bdMatchMakingQuery {
 public:
  SessionSearchQuery(std::int32_t queryId, std::uint32_t count,
                     std::vector<SessionSearchParameter> parameters);
  void serialize(bdBitBuffer& buffer) const override;
  const std::vector<SessionSearchParameter>& parameters() const { return m_parameters; }

 private:
  std::vector<SessionSearchParameter> m_parameters;
};

// What an online search brings back: up to 20 records, read in order.
class SessionSearchResultArray : public bdQueryResult {
 public:
  static constexpr unsigned int kMaxResults = 20;

  // The field ids each result reads back; empty reads every field.
  explicit SessionSearchResultArray(std::vector<std::int32_t> fieldIds = {});
  // Reads min(count, 20) records; the result is the last one's.
  bool handleResult(const unsigned int count, bdReference<bdBitBuffer> buffer) override;

  unsigned int size() const { return m_numResults; }
  const SessionSearchResult& at(unsigned int i) const { return m_results[i]; }

 private:
  SessionSearchResult m_results[kMaxResults];
  std::vector<std::int32_t> m_fieldIds;
};

// One record looked up by session id, and whether it was found.
class SessionSearchResultRef : public bdQueryResult {
 public:
  bool handleResult(const unsigned int count, bdReference<bdBitBuffer> buffer) override;
  const SessionSearchResult& get() const { return m_result; }
  std::uint8_t found() const { return m_found; }

 private:
  SessionSearchResult m_result;
  std::uint8_t m_found = 0;
};

}  // namespace OX_Toolbox
