#include "bdLobbyCommon/bdLobbyCatalogue.h"

#include "bdLobbyCommon/bdLobbyRecords.h"
#include "bdLobbyCommon/bdQueryResult.h"

namespace {

using K = bdArgKind;
constexpr unsigned short kNoLimit = 0xFFFF;

template <typename... A>
constexpr unsigned char countArgs(A...) {
  return static_cast<unsigned char>(sizeof...(A));
}

// Rows: service, task, constant-0 index, named operation, string limit, arguments.
#define ROW(S, T, Z, N, L, ...)                            \
  {                                                        \
    S, T, Z, N, L, countArgs(__VA_ARGS__), { __VA_ARGS__ } \
  }
#define ROW0(S, T, Z, N) \
  {                      \
    S, T, Z, N, 0, 0, {} \
  }

const bdLobbyTaskSpec kTasks[] = {
    // teams
    ROW(3, 1, false, false, 64, K::STRING),
    ROW(3, 2, false, false, 64, K::UINT64, K::STRING),
    ROW(3, 3, false, false, 0, K::UINT64, K::UINT64),
    ROW(3, 4, false, false, 0, K::UINT64, K::UINT64),
    ROW(3, 5, false, false, 0, K::UINT64, K::UINT64),
    ROW(3, 6, false, false, 0, K::UINT64, K::UINT64, K::BUFFER_OPT),
    ROW(3, 7, false, false, 0, K::UINT64, K::UINT64),
    ROW(3, 8, false, false, 0, K::UINT64, K::UINT64),
    ROW(3, 9, false, false, 0, K::UINT64, K::BLOB8, K::BUFFER_OPT),
    ROW(3, 10, false, false, 0, K::UINT64),
    ROW(3, 11, false, false, 0, K::UINT64),
    ROW(3, 12, false, false, 0, K::UINT64),
    ROW(3, 13, false, false, 0, K::UINT64),
    ROW(3, 14, false, false, 0, K::UINT64, K::UINT64),
    ROW(3, 15, false, false, 0, K::UINT64, K::UINT64),
    ROW(3, 16, false, false, 0, K::UINT64, K::RECORD),
    ROW(3, 17, false, false, 0, K::UINT64, K::RECORD),
    ROW(3, 18, false, false, 0, K::UINT64, K::RECORD),
    ROW(3, 19, false, false, 0, K::UINT64, K::RECORD),
    ROW0(3, 20, false, false),
    ROW(3, 21, false, false, 0, K::UINT64),
    ROW(3, 22, false, false, 0, K::UINT64, K::UINT32, K::BUFFER),
    ROW(3, 23, false, false, 0, K::UINT64, K::UINT32, K::BUFFER),
    ROW0(3, 24, false, false),
    ROW(3, 25, false, false, 0, K::UINT64, K::UINT64),
    ROW(3, 26, false, false, 0, K::UINT64, K::UINT64),
    ROW(3, 27, false, false, 0, K::UINT64, K::UINT64),
    // statistics
    ROW(4, 1, false, false, 0, K::UCHAR8, K::INT32, K::UINT64, K::RECORD_OPT),
    ROW(4, 2, false, false, 0, K::INT32, K::UINT64),
    ROW(4, 3, true, false, 0, K::INT32, K::UINT64),
    ROW0(4, 4, true, true),
    ROW(4, 5, true, false, 0, K::INT32, K::UINT64, K::UINT64, K::INT64),
    ROW(4, 6, true, false, 0, K::UINT64, K::RECORD_OPT),
    ROW0(4, 7, false, true),
    ROW(4, 8, true, false, 0, K::BLOB8),
    ROW0(4, 9, true, true),
    // matchmaking
    ROW0(5, 1, false, true),
    ROW0(5, 2, false, true),
    ROW(5, 3, false, false, 0, K::BLOB8),
    ROW(5, 4, true, false, 0, K::BLOB8),
    ROW0(5, 5, false, true),
    ROW(5, 6, true, false, 0, K::UINT32, K::UINT32),
    // messaging
    ROW(6, 1, false, false, 0, K::UINT32, K::UINT32, K::BOOL, K::BOOL),
    ROW(6, 4, false, false, 0, K::UINT64),
    ROW(6, 5, false, false, 0, K::UINT32, K::UINT32, K::BOOL, K::BOOL),
    ROW(6, 6, false, false, 0, K::UINT64, K::BOOL),
    // profiles
    ROW(8, 1, false, false, 0, K::RECORD),
    ROW(8, 2, false, false, 0, K::UINT64),
    ROW0(8, 3, false, false),
    ROW(8, 4, false, false, 0, K::RECORD),
    ROW(8, 5, false, false, 0, K::RECORD),
    ROW0(8, 6, false, false),
    ROW(8, 7, false, false, 0, K::UINT64),
    // friends
    ROW(9, 1, false, false, 0, K::UINT64, K::BUFFER_OPT),
    ROW(9, 2, false, false, 0, K::UINT64),
    ROW(9, 3, false, false, 0, K::UINT64),
    ROW(9, 4, false, false, 0, K::UINT64),
    ROW0(9, 5, false, false),
    ROW(9, 6, false, false, 0, K::UINT64, K::UCHAR8),
    ROW0(9, 7, false, false),
    ROW(9, 8, false, false, 0, K::UINT64, K::BLOB8, K::BUFFER_OPT),
    ROW(9, 9, false, false, 0, K::UINT64),
    ROW(9, 10, false, false, 0, K::UINT64),
    ROW(9, 12, false, false, 0, K::UINT64, K::UINT32, K::BUFFER),
    ROW(9, 13, false, false, 0, K::UINT64),
    ROW(9, 14, false, false, 0, K::UINT64, K::UCHAR8),
    ROW(9, 15, false, false, 32, K::UCHAR8, K::STRING),
    ROW0(9, 16, false, false),
    ROW0(9, 17, false, false),
    ROW(9, 18, false, false, 0, K::UCHAR8),
    ROW0(9, 19, false, false),
    // storage
    ROW(10, 1, false, false, 128, K::BOOL, K::STRING, K::BOOL, K::FILE),
    ROW(10, 2, false, false, 0, K::UINT64, K::FILE),
    ROW(10, 3, false, false, 128, K::UINT64, K::STRING, K::BOOL),
    ROW(10, 4, false, false, 0, K::UINT64),
    ROW(10, 5, false, false, 0, K::UINT64),
    ROW(10, 7, false, false, 0, K::UINT64, K::UINT32, K::UINT16),
    ROW(10, 8, false, false, 0, K::UINT32, K::UINT16),
    // channel chat
    ROW(11, 1, false, false, 0, K::UINT64),
    ROW(11, 2, false, false, 0, K::UINT64),
    ROW0(11, 3, false, false),
    ROW(11, 4, false, false, 0, K::UINT64, K::BUFFER),
    ROW(11, 5, false, false, 0, K::UINT64, K::UINT64, K::BUFFER),
    ROW(11, 6, false, false, 0, K::UINT64),
    // title utilities
    ROW(12, 1, true, false, kNoLimit, K::STRING),
    ROW(12, 2, true, false, kNoLimit, K::INT16, K::STRING, K::STRING, K::INT16, K::INT16),
    ROW0(12, 3, true, true),
    ROW0(12, 4, true, false),
};
#undef ROW
#undef ROW0

bool in(unsigned char v, std::initializer_list<unsigned char> set) {
  for (unsigned char s : set) {
    if (s == v) return true;
  }
  return false;
}

bool accepts(K wanted, const bdLobbyArg& arg) {
  switch (wanted) {
    case K::BUFFER_OPT:
      return arg.m_kind == K::BUFFER;
    case K::BUFFER:
      return arg.m_kind == K::BUFFER && arg.m_buffer != nullptr;
    case K::RECORD_OPT:
      return arg.m_kind == K::RECORD;
    case K::RECORD:
      return arg.m_kind == K::RECORD && arg.m_record != nullptr;
    case K::STRING:
      return arg.m_kind == K::STRING && arg.m_text != nullptr;
    case K::BLOB8:
      return arg.m_kind == K::BLOB8 && arg.m_bytes != nullptr;
    case K::FILE:
      return arg.m_kind == K::FILE && arg.m_file != nullptr;
    default:
      return arg.m_kind == wanted;
  }
}

void writeArg(const bdLobbyArg& a, unsigned short maxString, bdBitBuffer& out) {
  switch (a.m_kind) {
    case K::UCHAR8:
      out.writeUChar8(static_cast<unsigned char>(a.m_bits));
      break;
    case K::BOOL:
      out.writeBool(a.m_bits != 0);
      break;
    case K::INT16:
      out.writeInt16(static_cast<std::int16_t>(a.m_bits));
      break;
    case K::UINT16:
      out.writeUInt16(static_cast<std::uint16_t>(a.m_bits));
      break;
    case K::INT32:
      out.writeInt32(static_cast<std::int32_t>(a.m_bits));
      break;
    case K::UINT32:
      out.writeUInt32(static_cast<std::uint32_t>(a.m_bits));
      break;
    case K::INT64:
      out.writeInt64(static_cast<std::int64_t>(a.m_bits));
      break;
    case K::UINT64:
      out.writeUInt64(a.m_bits);
      break;
    case K::STRING:
      out.writeString(a.m_text, maxString);
      break;
    case K::BLOB8:
      out.writeBlob(a.m_bytes, 8);
      break;
    case K::BUFFER:
    case K::BUFFER_OPT:
      if (a.m_buffer != nullptr) out.writeBlob(a.m_buffer->getData(), a.m_buffer->getSize());
      break;
    case K::FILE:
      out.writeBlob(a.m_file->getData(), a.m_file->getData() != nullptr ? a.m_file->m_fileSize : 0);
      break;
    case K::RECORD:
    case K::RECORD_OPT:
      if (a.m_record != nullptr) a.m_record->serialize(out);
      break;
  }
}

}  // namespace

bdLobbyArgs& bdLobbyArgs::add(bdArgKind kind, std::uint64_t bits) {
  if (m_count == bdLobbyTaskSpec::MAX_ARGS) {
    m_overflow = true;
    return *this;
  }
  bdLobbyArg& a = m_args[m_count++];
  a = bdLobbyArg{};
  a.m_kind = kind;
  a.m_bits = bits;
  return *this;
}

bdLobbyArgs& bdLobbyArgs::str(const char* text) {
  add(bdArgKind::STRING, 0);
  if (!m_overflow) m_args[m_count - 1].m_text = text;
  return *this;
}
bdLobbyArgs& bdLobbyArgs::blob8(const unsigned char* bytes) {
  add(bdArgKind::BLOB8, 0);
  if (!m_overflow) m_args[m_count - 1].m_bytes = bytes;
  return *this;
}
bdLobbyArgs& bdLobbyArgs::buffer(const bdByteBuffer* buffer) {
  add(bdArgKind::BUFFER, 0);
  if (!m_overflow) m_args[m_count - 1].m_buffer = buffer;
  return *this;
}
bdLobbyArgs& bdLobbyArgs::record(const bdSerializable* record) {
  add(bdArgKind::RECORD, 0);
  if (!m_overflow) m_args[m_count - 1].m_record = record;
  return *this;
}
bdLobbyArgs& bdLobbyArgs::file(const bdFileData* file) {
  add(bdArgKind::FILE, 0);
  if (!m_overflow) m_args[m_count - 1].m_file = file;
  return *this;
}

const bdLobbyTaskSpec* bdLobbyCatalogue::getTasks(unsigned int& count) {
  count = sizeof kTasks / sizeof kTasks[0];
  return kTasks;
}

const bdLobbyTaskSpec* bdLobbyCatalogue::find(unsigned char service, unsigned char task) {
  for (const bdLobbyTaskSpec& spec : kTasks) {
    if (spec.m_service == service && spec.m_task == task) return &spec;
  }
  return nullptr;
}

bdReplyKind bdLobbyCatalogue::getReplyKind(unsigned char service, unsigned char op) {
  const bdReplyKind one = bdReplyKind::ONE;
  const bdReplyKind list = bdReplyKind::LIST;
  const bdReplyKind none = bdReplyKind::NONE;
  switch (service) {
    case BD_TEAMS_SERVICE:
      return in(op, {1, 12, 13, 14, 15}) ? one : in(op, {20, 21, 24}) ? list : none;
    case BD_STATS_SERVICE:
      return op == 8 ? one : in(op, {3, 4, 5, 6}) ? list : none;
    case BD_MATCHMAKING_SERVICE:
      return in(op, {1, 4, 5, 6}) ? list : none;
    case BD_MESSAGING_SERVICE:
      return in(op, {1, 5}) ? bdReplyKind::MESSAGES : none;
    case BD_PROFILES_SERVICE:
      return one;
    case BD_FRIENDS_SERVICE:
      return in(op, {5, 7, 16, 17, 19}) ? list : none;
    case BD_STORAGE_SERVICE:
      return in(op, {1, 5}) ? one : in(op, {7, 8}) ? list : none;
    case BD_CHANNEL_CHAT_SERVICE:
      return op == 1 ? one : in(op, {3, 6}) ? list : none;
    case BD_TITLE_UTILITIES_SERVICE:
      return in(op, {1, 2, 4}) ? one : none;
    default:
      return none;
  }
}

bool bdLobbyCatalogue::writeRequest(const bdLobbyTaskSpec& spec, unsigned char index,
                                    const bdLobbyArgs& args, bdBitBuffer& out) {
  if (spec.m_special || args.overflowed() || args.getCount() != spec.m_argCount) return false;
  for (unsigned int i = 0; i < spec.m_argCount; ++i) {
    if (!accepts(spec.m_args[i], args[i])) return false;
  }
  out.writeUChar8(spec.m_zeroIndex ? 0 : index);
  for (unsigned int i = 0; i < spec.m_argCount; ++i)
    writeArg(args[i], spec.m_maxString, out);
  return true;
}
