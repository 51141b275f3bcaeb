#pragma once
// Records that travel in lobby requests and replies.
#include <cstdint>

#include "bdLobbyCommon/bdQueryResult.h"
#include "bdSocket/bdCommonAddr.h"
#include "bdSocket/bdSecurity/bdSecurityID.h"

// One leaderboard row.
class bdStatsInfo : public bdSerializable {
 public:
  bdStatsInfo() = default;
  explicit bdStatsInfo(std::uint64_t entityID) : m_entityID(entityID) {}
  void serialize(bdBitBuffer& buffer) const override { buffer.writeInt64(m_value); }
  bool deserialize(bdReference<bdBitBuffer> buffer) override;
  virtual unsigned int getNumColumns() const { return 1; }

  void setValue(std::int64_t value) {
    if (value != m_value) m_value = value;
  }
  std::int64_t getValue() const { return m_value; }
  std::uint64_t getSecondValue() const { return m_secondValue; }
  std::uint64_t getEntityID() const { return m_entityID; }
  // Keeps at most 63 characters; returns how many.
  unsigned int setName(const char* name);
  // Copies at most size - 1 characters and a zero; returns the stored length.
  unsigned int getName(char* buffer, unsigned int size) const;

 private:
  std::uint64_t m_entityID = 0;
  std::int64_t m_value = 0;
  std::uint64_t m_secondValue = 0;
  char m_name[64] = {};
};

// One game session as matchmaking knows it.
class bdMatchMakingInfo : public bdSerializable {
 public:
  bdMatchMakingInfo();
  // The second and third parameters go to the third and second values.
  bdMatchMakingInfo(bdReference<bdCommonAddr> host, unsigned char a, unsigned char b,
                    unsigned char c, unsigned char d);
  void serialize(bdBitBuffer& buffer) const override;
  bool deserialize(bdReference<bdBitBuffer> buffer) override;

  void setHostAddr(bdReference<bdCommonAddr> host) { m_host = host; }
  bdReference<bdCommonAddr> getHostAddr() const { return m_host; }

  bdSecurityID m_sessionID;
  bdSecurityKey m_sessionKey;
  bdReference<bdCommonAddr> m_host;
  unsigned char m_values[4];
};

class bdMatchMakingQuery : public bdSerializable {
 public:
  bdMatchMakingQuery(std::int32_t first, std::int32_t second) : m_first(first), m_second(second) {}
  void serialize(bdBitBuffer& buffer) const override {
    buffer.writeInt32(m_first);
    buffer.writeInt32(m_second);
  }
  std::int32_t m_first;
  std::int32_t m_second;
};

// A stored file as the storage service describes it.
class bdFileInfo : public bdReferencable {
 public:
  bdFileInfo() = default;
  ~bdFileInfo() override = default;
  bool read(bdBitBuffer& buffer);

  std::uint64_t m_fileID = 0;
  std::uint32_t m_value1 = 0;
  std::uint32_t m_value2 = 0;
  std::uint32_t m_flag1 = 2;  // 2 until read
  std::uint32_t m_flag2 = 2;
  std::uint64_t m_ownerID = 0;
  char m_fileName[128] = {};
  std::uint32_t m_fileSize = 0;
};

// A file with its contents; the block is as large as the size it was made with.
class bdFileData : public bdFileInfo {
 public:
  explicit bdFileData(unsigned int size);
  ~bdFileData() override;
  bool read(bdBitBuffer& buffer);
  unsigned char* getData() const { return m_data; }
  // Copies at most the block's size.
  void setData(const void* data, unsigned int size);

 private:
  unsigned char* m_data;
  bool m_ownsData;
};

struct bdUnitTracker {
  std::uint64_t m_id;
  std::uint32_t m_value;
  void write(bdBitBuffer& buffer) const {
    buffer.writeUInt64(m_id);
    buffer.writeUInt32(m_value);
  }
};
