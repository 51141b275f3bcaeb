#pragma once
// Authentication: the user key and id derived from a name, the fixed-layout
// account messages (a plain-text part and a part meant for encryption), and
// the 128-byte ticket the authentication server issues. All integers are
// little-endian at fixed offsets.
#include <cstdint>

class bdAuthUtility {
 public:
  // The 24-byte Tiger-192 digest of the name's characters.
  static void getUserKey(const char* name, char key[24]);
  // The digest's first 8 bytes as a little-endian value; 0 on failure.
  static std::uint64_t getUserID(const char* name);
};

// The account messages share one layout machinery: each names its fields in
// order; serialize zero-fills the buffer, then writes them from offset 0.
class bdAuthMessage {
 public:
  enum Field { U32, U64, BLOCK64, KEY24 };
  virtual ~bdAuthMessage() = default;
  bool serialize(unsigned char* buffer, unsigned int size) const;
  bool deserialize(const unsigned char* buffer, unsigned int size);
  unsigned int getSize() const;

  std::uint32_t m_u32[2] = {0, 0};
  std::uint64_t m_u64[2] = {0, 0};
  unsigned char m_block[64] = {};
  unsigned char m_key[24] = {};

 protected:
  virtual const Field* layout(unsigned int& count) const = 0;
};

#define BD_AUTH_MESSAGE(NAME, ...)                                         \
  class NAME : public bdAuthMessage {                                      \
   protected:                                                              \
    const Field* layout(unsigned int& count) const override {              \
      static const Field fields[] = {__VA_ARGS__};                         \
      count = static_cast<unsigned int>(sizeof fields / sizeof fields[0]); \
      return fields;                                                       \
    }                                                                      \
  }

BD_AUTH_MESSAGE(bdAuthCreateAccountPlainText, U64);
BD_AUTH_MESSAGE(bdAuthCreateAccountCypherText, U32, BLOCK64, KEY24);
BD_AUTH_MESSAGE(bdAuthChangeUserKeyPlainText, U64);
BD_AUTH_MESSAGE(bdAuthChangeUserKeyCypherText, U32, KEY24);
BD_AUTH_MESSAGE(bdAuthResetAccountPlainText, U64);
BD_AUTH_MESSAGE(bdAuthResetAccountCypherText, U32, KEY24);
BD_AUTH_MESSAGE(bdAuthDeleteAccountPlainText, U64);
BD_AUTH_MESSAGE(bdAuthDeleteAccountCypherText, U32);
BD_AUTH_MESSAGE(bdAuthMigrateAccountPlainText, U64);
BD_AUTH_MESSAGE(bdAuthMigrateAccountCypherText, U32, U32, U64);
BD_AUTH_MESSAGE(bdAuthUserToServicePlainText, U64);
BD_AUTH_MESSAGE(bdAuthHostToServicePlainText, U64);
BD_AUTH_MESSAGE(bdAuthUserToHostPlainText, U64, U64);

#undef BD_AUTH_MESSAGE

class bdAuthTicket {
 public:
  static constexpr unsigned int SIZE = 128;
  static constexpr std::uint32_t MAGIC = 0xEFBDADDEu;

  bdAuthTicket();
  // Writes bytes 0 to 120; the last 7 bytes are left as they were.
  void serialize(void* buffer) const;
  void deserialize(const void* buffer);
  bool isValid() const { return m_magic == MAGIC; }

  std::uint32_t m_magic;
  unsigned char m_ticketType;
  std::uint32_t m_value1;
  std::uint32_t m_value2;
  std::uint32_t m_value3;
  std::uint64_t m_id1;
  std::uint64_t m_id2;
  unsigned char m_block[64];
  unsigned char m_key[24];
};
