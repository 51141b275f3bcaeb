#include "lobbyStore.h"

namespace lobbyserver {

namespace {

enum class Kind {
  BASE,
  USER,
  USER_DATA,
  USER_SECURE,
  USER_BUFFER,
  PAIR,
  PAIR_DATA,
  PAIR_SECURE,
  PAIR_BUFFER,
  GROUP,
  GROUP_BUFFER
};

Kind kindOf(unsigned int type) {
  switch (type) {
    case 1:
      return Kind::USER_DATA;
    case 5:
      return Kind::USER_SECURE;
    case 8:
      return Kind::USER_BUFFER;
    case 13:
      return Kind::PAIR_DATA;
    case 19:
      return Kind::PAIR_SECURE;
    case 22:
    case 23:
      return Kind::PAIR_BUFFER;
    case 29:
      return Kind::BASE;
    case 30:
    case 31:
      return Kind::GROUP_BUFFER;
    case 32:
    case 33:
      return Kind::GROUP;
    case 2:
    case 3:
    case 4:
    case 6:
    case 7:
    case 9:
    case 10:
    case 11:
    case 12:
    case 34:
    case 35:
    case 36:
      return Kind::USER;
    default:
      return Kind::PAIR;
  }
}

void writeUser(const UserRef& u, bdBitBuffer& out) {
  out.writeUInt64(u.id);
  out.writeString(u.name.c_str(), 63);
}

void writeData(const PushMessage& m, bdBitBuffer& out) {
  out.writeUInt16(static_cast<std::uint16_t>(m.data.size()));
  if (!m.data.empty()) out.writeBlob(m.data.data(), static_cast<unsigned int>(m.data.size()));
}

}  // namespace

bool writePushMessage(const PushMessage& m, bdBitBuffer& out) {
  if (m.type < 1 || m.type > 39) return false;
  const Kind kind = kindOf(m.type);
  out.writeUInt32(m.type);
  out.writeUInt64(m.id1);
  out.writeUInt64(m.id2);
  out.writeUInt32(m.value);
  out.writeBool(m.flag);
  if (kind == Kind::BASE) return true;
  writeUser(m.user, out);
  const bool pair = kind == Kind::PAIR || kind == Kind::PAIR_DATA || kind == Kind::PAIR_SECURE ||
                    kind == Kind::PAIR_BUFFER;
  if (pair) writeUser(m.second, out);
  if (kind == Kind::GROUP || kind == Kind::GROUP_BUFFER) {
    out.writeUInt64(m.groupID);
    out.writeString(m.groupName.c_str(), 127);
  }
  if (kind == Kind::USER_SECURE || kind == Kind::PAIR_SECURE) out.writeBlob(m.securityID, 8);
  if (kind == Kind::USER_DATA || kind == Kind::USER_SECURE || kind == Kind::PAIR_DATA ||
      kind == Kind::PAIR_SECURE) {
    writeData(m, out);
  }
  if (kind == Kind::USER_BUFFER || kind == Kind::PAIR_BUFFER || kind == Kind::GROUP_BUFFER) {
    static const unsigned char none = 0;
    out.writeBlob(m.data.empty() ? &none : m.data.data(), static_cast<unsigned int>(m.data.size()));
  }
  return true;
}

}  // namespace lobbyserver
