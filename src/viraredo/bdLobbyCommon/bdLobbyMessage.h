#pragma once
// The classes of the lobby's push messages. Each reads its base's fields,
// then its own, from a typed bit buffer; a read stops at the first field
// that is missing or mistyped, keeping what was read before it.
#include <cstdint>

#include "bdCore/bdContainers/bdReference.h"
#include "bdCore/bdUtilities/bdBitBuffer.h"
#include "bdCore/bdUtilities/bdByteBuffer.h"
#include "bdSocket/bdSecurity/bdSecurityID.h"

struct bdLobbyUser {
  std::uint64_t m_id;
  char m_name[64];
};

class bdLobbyMessage : public bdReferencable {
 public:
  explicit bdLobbyMessage(unsigned int type);
  ~bdLobbyMessage() override = default;
  virtual bool deserialize(bdReference<bdBitBuffer> buffer);

  unsigned int m_type;
  std::uint64_t m_id1;
  std::uint64_t m_id2;  // the message id: the store refuses a repeat (0 is none)
  std::uint32_t m_value;
  bool m_flag;
};

class bdLobbyUserMessage : public bdLobbyMessage {
 public:
  explicit bdLobbyUserMessage(unsigned int type);
  bool deserialize(bdReference<bdBitBuffer> buffer) override;
  bdLobbyUser m_user;
};

// A data block of a 16-bit size read after the user (and the security id).
struct bdLobbyDataBlock {
  bdLobbyDataBlock() : m_size(0), m_data(nullptr) {}
  ~bdLobbyDataBlock();
  bdLobbyDataBlock(const bdLobbyDataBlock&) = delete;
  bdLobbyDataBlock& operator=(const bdLobbyDataBlock&) = delete;
  bool read(bdBitBuffer& buffer);
  std::uint16_t m_size;
  unsigned char* m_data;
};

class bdLobbyUserDataMessage : public bdLobbyUserMessage {
 public:
  explicit bdLobbyUserDataMessage(unsigned int type) : bdLobbyUserMessage(type) {}
  bool deserialize(bdReference<bdBitBuffer> buffer) override;
  bdLobbyDataBlock m_data;
};

class bdLobbyUserSecureDataMessage : public bdLobbyUserMessage {
 public:
  explicit bdLobbyUserSecureDataMessage(unsigned int type) : bdLobbyUserMessage(type) {}
  bool deserialize(bdReference<bdBitBuffer> buffer) override;
  bdSecurityID m_securityID;
  bdLobbyDataBlock m_data;
};

class bdLobbyUserBufferMessage : public bdLobbyUserMessage {
 public:
  explicit bdLobbyUserBufferMessage(unsigned int type) : bdLobbyUserMessage(type) {}
  bool deserialize(bdReference<bdBitBuffer> buffer) override;
  bdReference<bdByteBuffer> m_payload;
};

class bdLobbyUserPairMessage : public bdLobbyMessage {
 public:
  explicit bdLobbyUserPairMessage(unsigned int type);
  bool deserialize(bdReference<bdBitBuffer> buffer) override;
  bdLobbyUser m_first;
  bdLobbyUser m_second;
};

class bdLobbyUserPairDataMessage : public bdLobbyUserPairMessage {
 public:
  explicit bdLobbyUserPairDataMessage(unsigned int type) : bdLobbyUserPairMessage(type) {}
  bool deserialize(bdReference<bdBitBuffer> buffer) override;
  bdLobbyDataBlock m_data;
};

class bdLobbyUserPairSecureDataMessage : public bdLobbyUserPairMessage {
 public:
  explicit bdLobbyUserPairSecureDataMessage(unsigned int type) : bdLobbyUserPairMessage(type) {}
  bool deserialize(bdReference<bdBitBuffer> buffer) override;
  bdSecurityID m_securityID;
  bdLobbyDataBlock m_data;
};

class bdLobbyUserPairBufferMessage : public bdLobbyUserPairMessage {
 public:
  explicit bdLobbyUserPairBufferMessage(unsigned int type) : bdLobbyUserPairMessage(type) {}
  bool deserialize(bdReference<bdBitBuffer> buffer) override;
  bdReference<bdByteBuffer> m_payload;
};

class bdLobbyGroupMessage : public bdLobbyMessage {
 public:
  explicit bdLobbyGroupMessage(unsigned int type);
  bool deserialize(bdReference<bdBitBuffer> buffer) override;
  bdLobbyUser m_user;
  std::uint64_t m_groupID;
  char m_groupName[128];
};

class bdLobbyGroupBufferMessage : public bdLobbyGroupMessage {
 public:
  explicit bdLobbyGroupBufferMessage(unsigned int type) : bdLobbyGroupMessage(type) {}
  bool deserialize(bdReference<bdBitBuffer> buffer) override;
  bdReference<bdByteBuffer> m_payload;
};
