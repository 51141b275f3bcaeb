#pragma once
// The result classes of the lobby services. Zero-or-one results read one
// record at most; list results append entries until one fails to read;
// single-value results read one field whatever the count.
#include <cstdint>

#include "bdCore/bdContainers/bdFastArray.h"
#include "bdLobbyCommon/bdQueryResult.h"
#include "bdSocket/bdSecurity/bdSecurityID.h"

// Reads at most one record of its class; more than one is a failed check.
class bdZeroOrOneResult : public bdQueryResult {
 public:
  bool handleResult(const unsigned int count, bdReference<bdBitBuffer> buffer) override;

 protected:
  virtual bool readRecord(bdBitBuffer& buffer) = 0;
};

class bdCheckProfileExistsResult : public bdZeroOrOneResult {
 public:
  bool m_exists = false;

 protected:
  bool readRecord(bdBitBuffer& b) override { return b.readBool(m_exists); }
};

class bdSessionCreateResult : public bdZeroOrOneResult {
 public:
  bdSecurityID m_sessionID;
  bdSecurityKey m_sessionKey;

 protected:
  bool readRecord(bdBitBuffer& b) override;
};

class bdCreateTeamResult : public bdZeroOrOneResult {
 public:
  std::uint64_t m_teamID = 0;

 protected:
  bool readRecord(bdBitBuffer& b) override { return b.readUInt64(m_teamID); }
};

// Entries of a list result; each reads its own fields in order.
struct bdFriendsEntryA {
  std::uint64_t m_id;
  char m_name[64];
  bool m_flag;
  bool read(bdBitBuffer& b);
};
struct bdFriendsEntryB {
  std::uint64_t m_id;
  char m_name[64];
  unsigned char m_value;
  bool read(bdBitBuffer& b);
};
struct bdFriendsEntryC {
  std::uint64_t m_id;
  char m_name[64];
  bool read(bdBitBuffer& b);
};
using bdTeamsEntryA = bdFriendsEntryB;
struct bdTeamsEntryB {
  std::uint64_t m_id;
  char m_name[64];
  bool m_flag;
  unsigned char m_value;
  bool read(bdBitBuffer& b);
};
struct bdTeamsEntryC {
  std::uint64_t m_id1;
  std::uint64_t m_id2;
  char m_name1[64];
  char m_name2[64];
  bool read(bdBitBuffer& b);
};

// Entries from earlier calls stay; the number of results is the array's size.
template <typename Entry>
class bdListResult : public bdQueryResult {
 public:
  bool handleResult(const unsigned int count, bdReference<bdBitBuffer> buffer) override {
    bool ok = buffer.notNull();
    for (unsigned int i = 0; i < count && ok; ++i) {
      Entry entry = {};
      ok = entry.read(*buffer) && m_entries.pushBack(entry);
    }
    m_numResults = m_entries.getSize();
    return ok;
  }
  const Entry& getEntry(unsigned int index) const { return m_entries[index]; }

 private:
  bdFastArray<Entry> m_entries;
};

using bdFriendsResultA = bdListResult<bdFriendsEntryA>;
using bdFriendsResultB = bdListResult<bdFriendsEntryB>;
using bdFriendsResultC = bdListResult<bdFriendsEntryC>;
using bdTeamsResultA = bdListResult<bdTeamsEntryA>;
using bdTeamsResultB = bdListResult<bdTeamsEntryB>;
using bdTeamsResultC = bdListResult<bdTeamsEntryC>;

class bdStatsResultA : public bdQueryResult {
 public:
  bool handleResult(const unsigned int, bdReference<bdBitBuffer> buffer) override {
    return buffer.notNull() && buffer->readUInt64(m_value);
  }
  std::uint64_t m_value = 0;
};

class bdStatsResultB : public bdQueryResult {
 public:
  bool handleResult(const unsigned int, bdReference<bdBitBuffer> buffer) override {
    return buffer.notNull() && buffer->readUInt32(m_value);
  }
  std::uint32_t m_value = 0;
};

// One channel-chat record; the name keeps at most 127 characters.
struct bdChannelChatRecord {
  std::uint64_t m_userID;
  char m_name[128];
  unsigned char m_byteValue;
  std::uint32_t m_value1;
  std::uint32_t m_value2;
  bool read(bdBitBuffer& b);
};

using bdChannelChatResult = bdListResult<bdChannelChatRecord>;
