#pragma once
// The catalogue of lobby tasks: for each service and task the arguments that
// follow the leading UChar8 (the local user index, or a constant 0), in wire
// order, and how each service's replies carry records. Requests are written
// and checked against it, and a server reads them with it.
#include <cstdint>

#include "bdCore/bdUtilities/bdBitBuffer.h"
#include "bdCore/bdUtilities/bdByteBuffer.h"

class bdSerializable;
class bdFileData;

enum class bdArgKind : unsigned char {
  UCHAR8,
  BOOL,
  INT16,
  UINT16,
  INT32,
  UINT32,
  INT64,
  UINT64,
  STRING,      // at most the task's string limit, then a zero
  BLOB8,       // exactly 8 bytes (a security id or session id)
  BUFFER,      // a byte buffer's whole contents
  BUFFER_OPT,  // the same, left out entirely when null
  FILE,        // a bdFileData's data block
  RECORD,      // a record's own fields
  RECORD_OPT,  // the same, left out when null
};

enum class bdReplyKind : unsigned char { NONE, ONE, LIST, MESSAGES };

enum bdLobbyServiceID : unsigned char {
  BD_TEAMS_SERVICE = 3,
  BD_STATS_SERVICE = 4,
  BD_MATCHMAKING_SERVICE = 5,
  BD_MESSAGING_SERVICE = 6,
  BD_PROFILES_SERVICE = 8,
  BD_FRIENDS_SERVICE = 9,
  BD_STORAGE_SERVICE = 10,
  BD_CHANNEL_CHAT_SERVICE = 11,
  BD_TITLE_UTILITIES_SERVICE = 12,
};

struct bdLobbyTaskSpec {
  static constexpr unsigned int MAX_ARGS = 6;
  unsigned char m_service;
  unsigned char m_task;
  bool m_zeroIndex;  // the leading UChar8 is always 0
  // Written by a named operation of its service, not by the generic writer.
  bool m_special;
  unsigned short m_maxString;
  unsigned char m_argCount;
  bdArgKind m_args[MAX_ARGS];
};

// One typed argument value of a request.
struct bdLobbyArg {
  bdArgKind m_kind;
  std::uint64_t m_bits;  // integers and bools
  const char* m_text;
  const unsigned char* m_bytes;
  const bdByteBuffer* m_buffer;
  const bdSerializable* m_record;
  const bdFileData* m_file;
};

// The arguments after the leading UChar8, added in wire order.
class bdLobbyArgs {
 public:
  bdLobbyArgs& u8(unsigned char v) { return add(bdArgKind::UCHAR8, v); }
  bdLobbyArgs& b(bool v) { return add(bdArgKind::BOOL, v ? 1 : 0); }
  bdLobbyArgs& i16(std::int16_t v) { return add(bdArgKind::INT16, static_cast<std::uint16_t>(v)); }
  bdLobbyArgs& u16(std::uint16_t v) { return add(bdArgKind::UINT16, v); }
  bdLobbyArgs& i32(std::int32_t v) { return add(bdArgKind::INT32, static_cast<std::uint32_t>(v)); }
  bdLobbyArgs& u32(std::uint32_t v) { return add(bdArgKind::UINT32, v); }
  bdLobbyArgs& i64(std::int64_t v) { return add(bdArgKind::INT64, static_cast<std::uint64_t>(v)); }
  bdLobbyArgs& u64(std::uint64_t v) { return add(bdArgKind::UINT64, v); }
  bdLobbyArgs& str(const char* text);
  bdLobbyArgs& blob8(const unsigned char* eightBytes);
  // Null is allowed only where the task's buffer is optional.
  bdLobbyArgs& buffer(const bdByteBuffer* buffer);
  bdLobbyArgs& record(const bdSerializable* record);
  bdLobbyArgs& file(const bdFileData* file);

  unsigned int getCount() const { return m_count; }
  const bdLobbyArg& operator[](unsigned int i) const { return m_args[i]; }
  bool overflowed() const { return m_overflow; }

 private:
  bdLobbyArgs& add(bdArgKind kind, std::uint64_t bits);
  bdLobbyArg m_args[bdLobbyTaskSpec::MAX_ARGS] = {};
  unsigned int m_count = 0;
  bool m_overflow = false;
};

class bdLobbyCatalogue {
 public:
  // Null when the service has no such task.
  static const bdLobbyTaskSpec* find(unsigned char service, unsigned char task);
  static const bdLobbyTaskSpec* getTasks(unsigned int& count);
  static bdReplyKind getReplyKind(unsigned char service, unsigned char opID);
  // Writes the leading UChar8 and the arguments after checking them against
  // the task (count, kinds, required values present). False writes nothing useful.
  static bool writeRequest(const bdLobbyTaskSpec& spec, unsigned char index,
                           const bdLobbyArgs& args, bdBitBuffer& out);
};
