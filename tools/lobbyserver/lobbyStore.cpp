#include "lobbyStore.h"

#include <algorithm>
#include <cstring>

namespace lobbyserver {

namespace {
// No reply or record the server writes may outgrow one frame.
constexpr unsigned int kMaxBlob = 60000;
constexpr unsigned int kMaxListed = 100;
// Values of one session record or one search beyond these are not kept.
constexpr unsigned int kMaxValues = 64;
}  // namespace

// One request being handled: typed readers that remember the first failure,
// and the records of the reply.
struct LobbyStore::Context {
  std::uint64_t user;
  unsigned char task;
  bdBitBuffer& in;
  bdBitBuffer records;
  std::vector<Outgoing>& pushes;
  std::uint32_t error = NO_ERROR;
  bool ok = true;

  Context(std::uint64_t u, bdBitBuffer& request, std::vector<Outgoing>& p)
      : user(u), task(0), in(request), records(0, true), pushes(p) {}

  unsigned char u8() {
    unsigned char v = 0;
    ok = ok && in.readUChar8(v);
    return v;
  }
  bool boolean() {
    bool v = false;
    ok = ok && in.readBool(v);
    return v;
  }
  std::int16_t i16() {
    std::int16_t v = 0;
    ok = ok && in.readInt16(v);
    return v;
  }
  std::uint16_t u16() {
    std::uint16_t v = 0;
    ok = ok && in.readUInt16(v);
    return v;
  }
  std::int32_t i32() {
    std::int32_t v = 0;
    ok = ok && in.readInt32(v);
    return v;
  }
  std::uint32_t u32() {
    std::uint32_t v = 0;
    ok = ok && in.readUInt32(v);
    return v;
  }
  std::int64_t i64() {
    std::int64_t v = 0;
    ok = ok && in.readInt64(v);
    return v;
  }
  std::uint64_t u64() {
    std::uint64_t v = 0;
    ok = ok && in.readUInt64(v);
    return v;
  }
  std::string str() {
    char text[256] = {};
    ok = ok && in.readString(text, sizeof text);
    return text;
  }
  std::vector<unsigned char> blob(unsigned int capacity = kMaxBlob) {
    std::vector<unsigned char> bytes(capacity);
    unsigned int length = capacity;
    ok = ok && in.readBlob(bytes.data(), length);
    bytes.resize(ok ? length : 0);
    return bytes;
  }
  // An optional blob is either there or the request ends.
  std::vector<unsigned char> optionalBlob() {
    const unsigned int at = in.getReadPosition();
    if (in.readDataTypeUnchecked() != BD_BB_BLOB_TYPE) {
      in.setReadPosition(at);
      return {};
    }
    in.setReadPosition(at);
    return blob();
  }
  // A caller's record of fields the server does not interpret: counted up to
  // the end of the request (the trailer's zero bits read as no type).
  std::uint32_t skipRecord() {
    std::uint32_t fields = 0;
    for (;;) {
      const unsigned int at = in.getReadPosition();
      const unsigned int code = in.readDataTypeUnchecked();
      in.setReadPosition(at);
      if (!skipField(code)) return fields;
      ++fields;
    }
  }
  bool skipField(unsigned int code) {
    switch (code) {
      case BD_BB_BOOL_TYPE:
        return boolean(), ok;
      case BD_BB_UNSIGNED_CHAR8_TYPE:
        return u8(), ok;
      case BD_BB_SIGNED_INTEGER16_TYPE:
        return i16(), ok;
      case BD_BB_UNSIGNED_INTEGER16_TYPE:
        return u16(), ok;
      case BD_BB_SIGNED_INTEGER32_TYPE:
        return i32(), ok;
      case BD_BB_UNSIGNED_INTEGER32_TYPE:
        return u32(), ok;
      case BD_BB_SIGNED_INTEGER64_TYPE:
        return i64(), ok;
      case BD_BB_UNSIGNED_INTEGER64_TYPE:
        return u64(), ok;
      case BD_BB_FLOAT32_TYPE: {
        float v = 0;
        return ok = ok && in.readFloat32(v), ok;
      }
      case BD_BB_FLOAT64_TYPE: {
        double v = 0;
        return ok = ok && in.readFloat64(v), ok;
      }
      case BD_BB_SIGNED_CHAR8_STRING_TYPE:
        return str(), ok;
      case BD_BB_BLOB_TYPE:
        return blob(), ok;
      default:
        return false;
    }
  }
  // The typed values up to the end of the request (the trailer's zero bits
  // read as no type), each with its bits as sent.
  std::vector<TypedValue> typedValues() {
    std::vector<TypedValue> values;
    while (ok && values.size() < kMaxValues) {
      const unsigned int at = in.getReadPosition();
      const unsigned int code = in.readDataTypeUnchecked();
      in.setReadPosition(at);
      if (code == BD_BB_NO_TYPE) break;
      // A value cut short fails the request; a code no value has ends it.
      if (!skipField(code)) {
        in.setReadPosition(at);
        break;
      }
      const unsigned int end = in.getReadPosition();
      TypedValue v;
      v.type = code;
      v.numBits = end - at;
      v.bits.resize((v.numBits + 7) / 8);
      in.setReadPosition(at);
      ok = in.readBits(v.bits.data(), v.numBits);
      values.push_back(v);
    }
    return values;
  }
  void fail(std::uint32_t code) {
    if (error == NO_ERROR) error = code;
  }
  void writeUser(std::uint64_t id, const std::string& name) {
    records.writeUInt64(id);
    records.writeString(name.c_str(), 63);
  }
};

void LobbyStore::addUser(std::uint64_t id, const std::string& name) { m_users[id].name = name; }

void LobbyStore::setOnline(std::uint64_t id, bool online) { m_users[id].online = online; }

std::string LobbyStore::nameOf(std::uint64_t id) const {
  const auto it = m_users.find(id);
  return it != m_users.end() ? it->second.name : std::string();
}

void LobbyStore::handle(std::uint64_t userID, unsigned char service, bdBitBuffer& request,
                        bdBitBuffer& reply, std::vector<Outgoing>& pushes) {
  ++m_requests;
  Context c(userID, request, pushes);
  c.task = c.u8();
  bool known = c.ok;
  if (known) {
    switch (service) {
      case 3:
        known = teams(c);
        break;
      case 4:
        known = stats(c);
        break;
      case 5:
        known = matchMaking(c);
        break;
      case 6:
        known = messaging(c);
        break;
      case 8:
        known = profiles(c);
        break;
      case 9:
        known = friends(c);
        break;
      case 10:
        known = storage(c);
        break;
      case 11:
        known = channelChat(c);
        break;
      case 12:
        known = titleUtilities(c);
        break;
      default:
        known = false;
        break;
    }
  }
  std::uint32_t error = c.error;
  if (!known)
    error = UNKNOWN_TASK;
  else if (!c.ok)
    error = BAD_REQUEST;
  reply.writeUInt32(error);
  if (error != NO_ERROR) return;
  reply.writeUChar8(c.task);
  reply.append(c.records);
}

bool LobbyStore::teams(Context& c) {
  c.u8();
  switch (c.task) {
    case 1: {  // create: one team id
      const std::string name = c.str();
      if (!c.ok) return true;
      const std::uint64_t id = ++m_nextTeamID;
      m_teams[id] = Team{name, c.user, {c.user}, {}, {}};
      c.records.writeUInt64(id);
      return true;
    }
    case 2: {  // rename
      const std::uint64_t id = c.u64();
      const std::string name = c.str();
      auto it = m_teams.find(id);
      if (!c.ok) return true;
      if (it == m_teams.end()) return c.fail(NOT_FOUND), true;
      if (it->second.owner != c.user) return c.fail(NOT_ALLOWED), true;
      it->second.name = name;
      return true;
    }
    case 3:
    case 4:
    case 5:
    case 7:
    case 8:
    case 25:
    case 26:
    case 27: {
      const std::uint64_t id = c.u64();
      const std::uint64_t other = c.u64();
      auto it = m_teams.find(id);
      if (!c.ok) return true;
      if (it == m_teams.end()) return c.fail(NOT_FOUND), true;
      if (c.task == 3) it->second.members.insert(other);  // add
      if (c.task == 4) it->second.members.erase(other);   // remove
      if (c.task == 5) it->second.invited.insert(other);  // invite
      if (c.task == 7) it->second.invited.erase(other);   // withdraw
      if (c.task == 8 && it->second.members.count(other)) it->second.owner = other;
      return true;
    }
    case 6:
    case 9: {
      const std::uint64_t id = c.u64();
      if (c.task == 6)
        c.u64();
      else
        c.blob(8);
      const std::vector<unsigned char> note = c.optionalBlob();
      auto it = m_teams.find(id);
      if (!c.ok) return true;
      if (it == m_teams.end()) return c.fail(NOT_FOUND), true;
      it->second.data = note;
      return true;
    }
    case 10:
    case 11:
    case 12:
    case 13: {
      const std::uint64_t id = c.u64();
      auto it = m_teams.find(id);
      if (!c.ok) return true;
      if (it == m_teams.end()) return c.fail(NOT_FOUND), true;
      if (c.task == 10) {  // disband
        if (it->second.owner != c.user) return c.fail(NOT_ALLOWED), true;
        m_teams.erase(it);
      } else if (c.task == 11) {  // leave
        it->second.members.erase(c.user);
      } else {  // member count
        c.records.writeUInt64(it->second.members.size());
      }
      return true;
    }
    case 14:
    case 15: {  // is a member: 1 or 0
      const std::uint64_t id = c.u64();
      const std::uint64_t other = c.u64();
      auto it = m_teams.find(id);
      if (!c.ok) return true;
      if (it == m_teams.end()) return c.fail(NOT_FOUND), true;
      c.records.writeUInt64(it->second.members.count(other));
      return true;
    }
    case 16:
    case 17:
    case 18:
    case 19: {
      const std::uint64_t id = c.u64();
      const std::uint32_t fields = c.skipRecord();
      if (!c.ok) return true;
      if (m_teams.find(id) == m_teams.end()) return c.fail(NOT_FOUND), true;
      if (fields == 0) c.fail(BAD_REQUEST);
      return true;
    }
    case 20:
    case 24: {  // my teams / my invitations
      std::vector<std::uint64_t> ids;
      for (const auto& t : m_teams) {
        const bool mine =
            c.task == 20 ? t.second.members.count(c.user) > 0 : t.second.invited.count(c.user) > 0;
        if (mine && ids.size() < kMaxListed) ids.push_back(t.first);
      }
      c.records.writeUInt32(static_cast<std::uint32_t>(ids.size()));
      for (std::uint64_t id : ids) {
        const Team& t = m_teams[id];
        if (c.task == 20) {
          c.writeUser(id, t.name);
          c.records.writeUChar8(static_cast<unsigned char>(t.members.size()));
        } else {
          c.records.writeUInt64(id);
          c.records.writeUInt64(t.owner);
          c.records.writeString(t.name.c_str(), 63);
          c.records.writeString(nameOf(t.owner).c_str(), 63);
        }
      }
      return true;
    }
    case 21: {  // members
      const std::uint64_t id = c.u64();
      auto it = m_teams.find(id);
      if (!c.ok) return true;
      if (it == m_teams.end()) return c.fail(NOT_FOUND), true;
      c.records.writeUInt32(
          static_cast<std::uint32_t>(std::min<std::size_t>(it->second.members.size(), kMaxListed)));
      unsigned int n = 0;
      for (std::uint64_t member : it->second.members) {
        if (n++ == kMaxListed) break;
        c.writeUser(member, nameOf(member));
        c.records.writeBool(member == it->second.owner);
        c.records.writeUChar8(m_users[member].online ? 1 : 0);
      }
      return true;
    }
    case 22:
    case 23: {
      const std::uint64_t id = c.u64();
      c.u32();
      const std::vector<unsigned char> data = c.blob();
      auto it = m_teams.find(id);
      if (!c.ok) return true;
      if (it == m_teams.end()) return c.fail(NOT_FOUND), true;
      it->second.data = data;
      return true;
    }
    default:
      return false;
  }
}

bool LobbyStore::stats(Context& c) {
  auto writeRows = [&](std::int32_t board, const std::vector<std::uint64_t>& ids) {
    std::vector<std::uint64_t> present;
    for (std::uint64_t id : ids) {
      if (m_leaderboards[board].count(id) && present.size() < kMaxListed) present.push_back(id);
    }
    c.records.writeUInt32(static_cast<std::uint32_t>(present.size()));
    for (std::uint64_t id : present) {
      const std::int64_t value = m_leaderboards[board][id];
      std::uint64_t rank = 1;
      for (const auto& row : m_leaderboards[board]) {
        if (row.second > value) ++rank;
      }
      c.records.writeUInt64(id);
      c.records.writeInt64(value);
      c.records.writeUInt64(rank);
      c.records.writeString(nameOf(id).c_str(), 63);
    }
  };
  // The board keeps a row's score, its first field; 1 adds, 2 keeps the
  // higher, anything else replaces.
  auto write = [&](unsigned char type, std::int32_t board, std::uint64_t id, std::int64_t value) {
    std::int64_t& cell = m_leaderboards[board][id];
    cell = type == 1 ? cell + value : type == 2 ? std::max(cell, value) : value;
  };
  auto applyWrites = [&](unsigned char type, std::int32_t board) {
    const std::int32_t rows = c.i32();
    if (!c.ok || rows <= 0) return;
    const std::int32_t columns = c.i32();
    if (!c.ok || columns < 2) return c.fail(BAD_REQUEST);
    std::vector<std::pair<std::uint64_t, std::int64_t>> got;
    for (std::int32_t i = 0; i < rows && c.ok; ++i) {
      const std::uint64_t id = c.u64();
      const std::int64_t value = c.i64();
      // The other columns, of whatever type each is.
      for (std::int32_t col = 2; col < columns && c.ok; ++col) {
        const unsigned int at = c.in.getReadPosition();
        const unsigned int code = c.in.readDataTypeUnchecked();
        c.in.setReadPosition(at);
        c.ok = c.skipField(code);
      }
      got.push_back({id, value});
    }
    // A request that does not read whole changes nothing.
    if (!c.ok) return;
    for (const auto& row : got)
      write(type, board, row.first, row.second);
  };
  switch (c.task) {
    case 1: {
      c.u8();
      const unsigned char type = c.u8();
      const std::int32_t board = c.i32();
      const std::uint64_t id = c.u64();
      const unsigned int at = c.in.getReadPosition();
      if (c.in.readDataTypeUnchecked() == BD_BB_SIGNED_INTEGER64_TYPE) {
        c.in.setReadPosition(at);
        const std::int64_t value = c.i64();
        c.skipRecord();  // the row's columns after its score
        // Entity 0: a row that is not a player's, kept under the caller.
        if (c.ok) write(type, board, id != 0 ? id : c.user, value);
      }
      return true;
    }
    case 2: {
      c.u8();
      const std::int32_t board = c.i32();
      const std::uint64_t id = c.u64();
      // Entity 0: the caller's own row.
      if (c.ok) m_leaderboards[board].erase(id != 0 ? id : c.user);
      return true;
    }
    case 3: {
      c.u8();
      const std::int32_t board = c.i32();
      const std::uint64_t id = c.u64();
      if (c.ok) writeRows(board, {id});
      return true;
    }
    case 4: {
      c.u8();
      const std::int32_t board = c.i32();
      const std::uint32_t count = c.u32();
      std::vector<std::uint64_t> ids;
      // The count is the client's word: the ids themselves must be there.
      for (std::uint32_t i = 0; i < count && c.ok && ids.size() < kMaxListed; ++i)
        ids.push_back(c.u64());
      if (c.ok) writeRows(board, ids);
      return true;
    }
    case 5: {
      c.u8();
      // A page of the board: around an entity (the page that holds it),
      // else from a rank (1 the best).
      const std::int32_t board = c.i32();
      const std::uint64_t entity = c.u64();
      const std::uint64_t first = c.u64();
      const std::int64_t wanted = c.i64();
      if (!c.ok) return true;
      const std::uint64_t count =
          std::min<std::uint64_t>(wanted > 0 ? static_cast<std::uint64_t>(wanted) : 0, kMaxListed);
      std::vector<std::pair<std::int64_t, std::uint64_t>> order;
      for (const auto& row : m_leaderboards[board])
        order.push_back({-row.second, row.first});
      std::sort(order.begin(), order.end());
      std::uint64_t start = first > 0 ? first - 1 : 0;
      if (entity != 0) {
        std::uint64_t at = 0;
        while (at < order.size() && order[at].second != entity)
          ++at;
        if (at == order.size()) return c.fail(NOT_FOUND), true;
        start = at >= count / 2 ? at - count / 2 : 0;
      }
      std::vector<std::uint64_t> ids;
      for (std::uint64_t i = start; i < order.size() && ids.size() < count; ++i)
        ids.push_back(order[i].second);
      writeRows(board, ids);
      return true;
    }
    case 6: {
      c.u8();
      const std::uint64_t id = c.u64();
      c.skipRecord();
      if (!c.ok) return true;
      std::vector<std::pair<std::int32_t, std::int64_t>> rows;
      for (const auto& board : m_leaderboards) {
        if (board.second.count(id)) rows.push_back({board.first, board.second.at(id)});
      }
      c.records.writeUInt32(static_cast<std::uint32_t>(rows.size()));
      for (const auto& row : rows) {
        c.records.writeUInt64(id);
        c.records.writeInt64(row.second);
        c.records.writeUInt64(static_cast<std::uint64_t>(row.first));
        c.records.writeString(nameOf(id).c_str(), 63);
      }
      return true;
    }
    case 7: {
      c.u8();
      const unsigned char type = c.u8();
      const std::int32_t board = c.i32();
      applyWrites(type, board);
      return true;
    }
    case 8:
      c.u8();
      c.blob(8);
      c.records.writeUInt64(++m_nonce);
      return true;
    case 9: {
      c.u8();
      const unsigned char type = c.u8();
      const std::int32_t board = c.i32();
      c.blob(8);
      c.u64();
      applyWrites(type, board);
      return true;
    }
    default:
      return false;
  }
}

bool LobbyStore::matchMaking(Context& c) {
  const std::vector<unsigned int> everyField;
  auto writeSession = [&](const Session& s, std::uint64_t id,
                          const std::vector<unsigned int>& returned) {
    unsigned char bytes[8];
    for (int i = 0; i < 8; ++i)
      bytes[i] = static_cast<unsigned char>(id >> (8 * i));
    c.records.writeBlob(s.info.data(), static_cast<unsigned int>(s.info.size()));
    c.records.writeBlob(bytes, 8);
    c.records.writeBlob(s.key, 16);
    for (std::int32_t v : s.values)
      c.records.writeInt32(v);
    if (returned.empty()) {
      for (const TypedValue& v : s.fields)
        c.records.writeBits(v.bits.data(), v.numBits);
      return;
    }
    for (unsigned int i : returned) {
      if (i < s.fields.size()) c.records.writeBits(s.fields[i].bits.data(), s.fields[i].numBits);
    }
  };
  auto readSession = [&](Session& s) {
    s.info = c.blob(25);
    const std::vector<unsigned char> id = c.blob(8);
    const std::vector<unsigned char> key = c.blob(16);
    for (std::int32_t& v : s.values)
      v = c.i32();
    s.fields = c.typedValues();
    if (c.ok && id.size() == 8) {
      std::uint64_t value = 0;
      for (int i = 7; i >= 0; --i)
        value = value << 8 | id[i];
      return value;
    }
    return std::uint64_t{0};
  };
  auto idOf = [](const std::vector<unsigned char>& bytes) {
    std::uint64_t value = 0;
    for (std::size_t i = bytes.size(); i-- > 0;)
      value = value << 8 | bytes[i];
    return value;
  };
  c.u8();
  switch (c.task) {
    case 1:
    case 2: {
      Session s;
      std::memset(s.key, 0, sizeof s.key);
      const std::uint64_t claimed = readSession(s);
      if (!c.ok) return true;
      if (c.task == 2) {  // update the caller's session
        auto it = m_sessions.find(claimed);
        if (it == m_sessions.end()) return c.fail(NOT_FOUND), true;
        std::memcpy(s.key, it->second.key, sizeof s.key);
        it->second = s;
        return true;
      }
      const std::uint64_t id = ++m_nextSessionID;
      for (int i = 0; i < 16; ++i)
        s.key[i] = static_cast<unsigned char>(id * 31 + static_cast<unsigned int>(i));
      m_sessions[id] = s;
      unsigned char bytes[8];
      for (int i = 0; i < 8; ++i)
        bytes[i] = static_cast<unsigned char>(id >> (8 * i));
      c.records.writeUInt32(1);
      c.records.writeBlob(bytes, 8);
      c.records.writeBlob(s.key, 16);
      return true;
    }
    case 3:
    case 4: {
      const std::uint64_t id = idOf(c.blob(8));
      if (!c.ok) return true;
      auto it = m_sessions.find(id);
      if (it == m_sessions.end()) return c.fail(NOT_FOUND), true;
      if (c.task == 3) {
        m_sessions.erase(it);
      } else {
        c.records.writeUInt32(1);
        writeSession(it->second, id, everyField);
      }
      return true;
    }
    case 5:
    case 6: {
      std::uint32_t first = 0;
      std::uint32_t count = kMaxListed;
      const QueryDefinition* query = nullptr;
      std::vector<TypedValue> parameters;
      if (c.task == 5) {
        const std::int32_t queryID = c.i32();
        const std::int32_t wanted = c.i32();
        parameters = c.typedValues();
        if (wanted > 0) count = std::min<std::uint32_t>(static_cast<std::uint32_t>(wanted), count);
        const auto q = m_queries.find(queryID);
        if (q != m_queries.end()) query = &q->second;
      } else {
        first = c.u32();
        count = std::min<std::uint32_t>(c.u32(), kMaxListed);
      }
      if (!c.ok) return true;
      std::vector<std::uint64_t> ids;
      for (const auto& s : m_sessions) {
        if (!query || matches(*query, parameters, s.second)) ids.push_back(s.first);
      }
      const std::size_t begin = std::min<std::size_t>(first, ids.size());
      const std::size_t end = std::min<std::size_t>(begin + count, ids.size());
      c.records.writeUInt32(static_cast<std::uint32_t>(end - begin));
      for (std::size_t i = begin; i < end; ++i)
        writeSession(m_sessions[ids[i]], ids[i], query ? query->returnedFields : everyField);
      return true;
    }
    default:
      return false;
  }
}

bool LobbyStore::matches(const QueryDefinition& query, const std::vector<TypedValue>& parameters,
                         const Session& session) {
  for (std::size_t i = 0; i < parameters.size() && i < query.conditionFields.size(); ++i) {
    const TypedValue& p = parameters[i];
    // "Any" is the largest value of the parameter's type: 0x7FFFFFFF for
    // the 32-bit types, 0x7FFFFFFFFFFFFFFF for the 64-bit ones.
    bdBitBuffer bits(p.bits.data(), p.numBits, false);
    bool any = false;
    if (p.type == BD_BB_SIGNED_INTEGER32_TYPE || p.type == BD_BB_UNSIGNED_INTEGER32_TYPE) {
      std::uint32_t v = 0;
      any = bits.readDataTypeUnchecked() == p.type && bits.readBits(&v, 32) && v == 0x7FFFFFFFu;
    } else if (p.type == BD_BB_SIGNED_INTEGER64_TYPE || p.type == BD_BB_UNSIGNED_INTEGER64_TYPE) {
      std::uint64_t v = 0;
      any = bits.readDataTypeUnchecked() == p.type && bits.readBits(&v, 64) &&
            v == 0x7FFFFFFFFFFFFFFFull;
    }
    if (any) continue;
    const unsigned int at = query.conditionFields[i];
    if (at >= session.fields.size() || !(session.fields[at] == p)) return false;
  }
  return true;
}

bool LobbyStore::messaging(Context& c) {
  c.u8();
  User& me = m_users[c.user];
  switch (c.task) {
    case 1:
    case 5: {  // stored messages (5: unread only)
      const std::uint32_t first = c.u32();
      const std::uint32_t count = c.u32();
      c.boolean();
      c.boolean();
      if (!c.ok) return true;
      std::vector<const PushMessage*> chosen;
      for (const PushMessage& m : me.mailbox) {
        if (c.task == 5 && me.readMessages.count(m.id2)) continue;
        chosen.push_back(&m);
      }
      const std::size_t begin = std::min<std::size_t>(first, chosen.size());
      const std::size_t end =
          std::min<std::size_t>(begin + std::min<std::uint32_t>(count, kMaxListed), chosen.size());
      c.records.writeUInt32(static_cast<std::uint32_t>(end - begin));
      for (std::size_t i = begin; i < end; ++i) {
        PushMessage m = *chosen[i];
        m.flag = me.readMessages.count(m.id2) != 0;
        writePushMessage(m, c.records);
      }
      return true;
    }
    case 4: {  // delete
      const std::uint64_t id = c.u64();
      if (!c.ok) return true;
      const auto before = me.mailbox.size();
      me.mailbox.erase(std::remove_if(me.mailbox.begin(), me.mailbox.end(),
                                      [&](const PushMessage& m) { return m.id2 == id; }),
                       me.mailbox.end());
      if (me.mailbox.size() == before) c.fail(NOT_FOUND);
      return true;
    }
    case 6: {  // mark read or unread
      const std::uint64_t id = c.u64();
      const bool read = c.boolean();
      if (!c.ok) return true;
      if (read)
        me.readMessages.insert(id);
      else
        me.readMessages.erase(id);
      return true;
    }
    default:
      return false;
  }
}

bool LobbyStore::profiles(Context& c) {
  c.u8();
  User& me = m_users[c.user];
  switch (c.task) {
    case 1:
    case 4:
    case 5: {  // create, write public, write private: the record's typed fields are kept
      const unsigned int from = c.in.getReadPosition();
      const std::uint32_t fields = c.skipRecord();
      if (!c.ok) return true;
      if (fields == 0) return c.fail(BAD_REQUEST), true;
      const unsigned int bits = c.in.getReadPosition() - from;
      std::vector<unsigned char> kept((bits + 7) / 8);
      c.in.setReadPosition(from);
      c.in.readBits(kept.data(), bits);
      me.hasProfile = true;
      me.profileFields = fields;
      (c.task == 5 ? me.privateProfile : me.publicProfile) = {kept, bits};
      c.records.writeBool(true);
      return true;
    }
    case 2: {  // a user's public fields, as written
      const std::uint64_t id = c.u64();
      if (!c.ok) return true;
      const auto it = m_users.find(id);
      if (it == m_users.end() || !it->second.hasProfile) return c.fail(NOT_FOUND), true;
      c.records.writeBits(it->second.publicProfile.first.data(), it->second.publicProfile.second);
      return true;
    }
    case 7: {  // does a user's profile exist
      const std::uint64_t id = c.u64();
      if (!c.ok) return true;
      const auto it = m_users.find(id);
      c.records.writeBool(it != m_users.end() && it->second.hasProfile);
      return true;
    }
    case 3:  // the caller's own private fields, as written
      if (!me.hasProfile) return c.fail(NOT_FOUND), true;
      c.records.writeBits(me.privateProfile.first.data(), me.privateProfile.second);
      return true;
    case 6:  // delete: answers whether there was one
      c.records.writeBool(me.hasProfile);
      me.hasProfile = false;
      return true;
    default:
      return false;
  }
}

void LobbyStore::notify(Context& c, std::uint64_t to, unsigned int type, PushMessage m) {
  m.type = type;
  m.id1 = to;
  m.id2 = nextMessageID();
  m.value = ++m_clock;
  m.user = UserRef{c.user, nameOf(c.user)};
  m.second = UserRef{to, nameOf(to)};
  c.pushes.push_back(Outgoing{to, m});
}

// The friends service as the toolbox uses it: proposals and their answers,
// revocation, blocking, session invitations and their answers, mails, and
// the lists of friends, blocked players and proposals sent. Each change the
// other side must hear of is pushed to it and kept in its mailbox.
bool LobbyStore::friends(Context& c) {
  c.u8();
  User& me = m_users[c.user];
  auto listUsers = [&](const std::set<std::uint64_t>& ids, char extra, bool onlineOnly) {
    std::vector<std::uint64_t> chosen;
    for (std::uint64_t id : ids) {
      if ((!onlineOnly || m_users[id].online) && chosen.size() < kMaxListed) chosen.push_back(id);
    }
    c.records.writeUInt32(static_cast<std::uint32_t>(chosen.size()));
    for (std::uint64_t id : chosen) {
      c.writeUser(id, nameOf(id));
      if (extra == 'b') c.records.writeBool(m_users[id].online);
      if (extra == 'u') c.records.writeUChar8(m_users[id].online ? 1 : 0);
    }
  };
  auto blockedBy = [&](std::uint64_t id) { return m_users[id].blocked.count(c.user) != 0; };
  switch (c.task) {
    case 1: {  // propose
      const std::uint64_t id = c.u64();
      c.optionalBlob();
      if (!c.ok) return true;
      if (id == c.user || blockedBy(id)) return c.fail(NOT_ALLOWED), true;
      if (me.friends.count(id)) return c.fail(FRIENDSHIP_EXISTS), true;
      if (m_users[id].requests.count(c.user)) return c.fail(PENDING_FRIENDSHIP_EXISTS), true;
      m_users[id].requests.insert(c.user);
      notify(c, id, 1);
      return true;
    }
    case 2:
    case 3: {  // accept or decline a proposal
      const std::uint64_t id = c.u64();
      if (!c.ok) return true;
      if (!me.requests.erase(id)) return c.fail(FRIENDSHIP_NOT_REQUESTED), true;
      if (c.task == 2) {
        me.friends.insert(id);
        m_users[id].friends.insert(c.user);
      }
      notify(c, id, c.task);
      return true;
    }
    case 4: {  // end a friendship
      const std::uint64_t id = c.u64();
      if (!c.ok) return true;
      if (!me.friends.erase(id)) return c.fail(NOT_A_FRIEND), true;
      m_users[id].friends.erase(c.user);
      notify(c, id, 4);
      return true;
    }
    case 13: {  // withdraw a proposal
      const std::uint64_t id = c.u64();
      if (!c.ok) return true;
      if (!m_users[id].requests.erase(c.user)) return c.fail(FRIENDSHIP_NOT_REQUESTED), true;
      notify(c, id, 34);
      return true;
    }
    case 5:
      listUsers(me.friends, 'b', false);
      return true;
    case 6: {  // block (1) or unblock (0)
      const std::uint64_t id = c.u64();
      const unsigned char block = c.u8();
      if (!c.ok) return true;
      if (block)
        me.blocked.insert(id);
      else
        me.blocked.erase(id);
      return true;
    }
    case 7:
    case 16:
      listUsers(me.blocked, 'n', false);
      return true;
    case 17:
      listUsers(me.friends, 'b', true);
      return true;
    case 19: {  // proposals this user sent and nobody answered yet
      std::set<std::uint64_t> sent;
      for (const auto& u : m_users) {
        if (u.second.requests.count(c.user)) sent.insert(u.first);
      }
      listUsers(sent, 'n', false);
      return true;
    }
    case 14:
      c.u64();
      c.u8();
      return true;
    case 18:
      c.u8();
      return true;
    case 15: {  // status text
      c.u8();
      const std::string text = c.str();
      if (c.ok) me.status = text;
      return true;
    }
    case 8: {  // a session invitation: the session key and the ticket
      const std::uint64_t id = c.u64();
      const std::vector<unsigned char> session = c.blob(8);
      PushMessage m;
      m.data = c.optionalBlob();
      if (!c.ok) return true;
      if (id == c.user || blockedBy(id) || m.data.size() > 0xFFFF) return c.fail(NOT_ALLOWED), true;
      if (session.size() == 8) std::memcpy(m.securityID, session.data(), 8);
      m_users[id].inviters.insert(c.user);
      notify(c, id, 5, m);
      return true;
    }
    case 9:
    case 10: {  // accept or decline a session invitation
      const std::uint64_t id = c.u64();
      if (!c.ok) return true;
      if (!me.inviters.erase(id)) return c.fail(NOT_INVITED_TO_SESSION), true;
      notify(c, id, c.task == 9 ? 6 : 7);
      return true;
    }
    case 12: {  // a mail: the payload is the sender's, at most one push buffer
      const std::uint64_t id = c.u64();
      c.u32();
      PushMessage m;
      m.data = c.blob();
      if (!c.ok) return true;
      if (id == c.user || blockedBy(id) || m.data.size() > 1024) return c.fail(NOT_ALLOWED), true;
      notify(c, id, 8, m);
      return true;
    }
    default:
      return false;
  }
}

bool LobbyStore::storage(Context& c) {
  c.u8();
  auto writeInfo = [&](std::uint64_t id, const File& f) {
    c.records.writeUInt64(id);
    c.records.writeUInt32(static_cast<std::uint32_t>(f.data.size()));
    c.records.writeUInt32(0);
    c.records.writeBool(f.shared);
    c.records.writeBool(false);
    c.records.writeUInt64(f.owner);
    c.records.writeString(f.name.c_str(), 127);
  };
  switch (c.task) {
    case 1: {  // upload
      const bool shared = c.boolean();
      const std::string name = c.str();
      c.boolean();
      const std::vector<unsigned char> data = c.blob();
      if (!c.ok) return true;
      const std::uint64_t id = ++m_nextFileID;
      m_files[id] = File{c.user, name, shared, data};
      writeInfo(id, m_files[id]);
      return true;
    }
    case 2:
    case 3:
    case 4:
    case 5: {
      const std::uint64_t id = c.u64();
      std::vector<unsigned char> data;
      std::string name;
      if (c.task == 2) data = c.blob();
      if (c.task == 3) {
        name = c.str();
        c.boolean();
      }
      if (!c.ok) return true;
      auto it = m_files.find(id);
      if (it == m_files.end()) return c.fail(NOT_FOUND), true;
      if (c.task != 5 && it->second.owner != c.user) return c.fail(NOT_ALLOWED), true;
      if (c.task == 2) it->second.data = data;
      if (c.task == 3) it->second.name = name;
      if (c.task == 4) m_files.erase(it);
      if (c.task == 5) {
        writeInfo(id, it->second);
        static const unsigned char none = 0;
        c.records.writeBlob(it->second.data.empty() ? &none : it->second.data.data(),
                            static_cast<unsigned int>(it->second.data.size()));
      }
      return true;
    }
    case 7:
    case 8: {  // a user's files, a page of them
      const std::uint64_t owner = c.task == 7 ? c.u64() : c.user;
      const std::uint32_t first = c.u32();
      const std::uint16_t count = c.u16();
      if (!c.ok) return true;
      std::vector<std::uint64_t> ids;
      for (const auto& f : m_files) {
        if (f.second.owner == owner) ids.push_back(f.first);
      }
      const std::size_t begin = std::min<std::size_t>(first, ids.size());
      const std::size_t end =
          std::min<std::size_t>(begin + std::min<unsigned int>(count, kMaxListed), ids.size());
      c.records.writeUInt32(static_cast<std::uint32_t>(end - begin));
      for (std::size_t i = begin; i < end; ++i)
        writeInfo(ids[i], m_files[ids[i]]);
      return true;
    }
    default:
      return false;
  }
}

bool LobbyStore::channelChat(Context& c) {
  c.u8();
  User& me = m_users[c.user];
  auto record = [&](std::uint64_t id, const std::string& name, unsigned char flag,
                    std::uint32_t count) {
    c.records.writeUInt64(id);
    c.records.writeString(name.c_str(), 127);
    c.records.writeUChar8(flag);
    c.records.writeUInt32(count);
    c.records.writeUInt32(0);
  };
  switch (c.task) {
    case 1:
    case 2: {  // subscribe: one record of the caller in the channel; leave
      const std::uint64_t channel = c.u64();
      if (!c.ok) return true;
      if (c.task == 2) {
        if (!me.channels.erase(channel)) return c.fail(NOT_FOUND), true;
        m_channelUsers[channel].erase(c.user);
        return true;
      }
      me.channels.insert(channel);
      m_channelUsers[channel].insert(c.user);
      record(c.user, me.name, 1, static_cast<std::uint32_t>(m_channelUsers[channel].size()));
      return true;
    }
    case 3: {
      c.records.writeUInt32(static_cast<std::uint32_t>(me.channels.size()));
      for (std::uint64_t channel : me.channels) {
        record(channel, "channel " + std::to_string(channel), 0,
               static_cast<std::uint32_t>(m_channelUsers[channel].size()));
      }
      return true;
    }
    case 4:
    case 5: {  // say to the channel; whisper to one of it
      const std::uint64_t channel = c.u64();
      const std::uint64_t to = c.task == 5 ? c.u64() : 0;
      const std::vector<unsigned char> text = c.blob(1024);
      if (!c.ok) return true;
      if (!me.channels.count(channel)) return c.fail(NOT_ALLOWED), true;
      for (std::uint64_t member : m_channelUsers[channel]) {
        if (member == c.user || (c.task == 5 && member != to)) continue;
        PushMessage m;
        m.type = c.task == 4 ? 8 : 22;
        m.id1 = channel;
        m.id2 = nextMessageID();
        m.user = UserRef{c.user, me.name};
        m.second = UserRef{member, nameOf(member)};
        m.data = text;
        c.pushes.push_back(Outgoing{member, m});
      }
      return true;
    }
    case 6: {
      const std::uint64_t channel = c.u64();
      if (!c.ok) return true;
      const std::set<std::uint64_t>& users = m_channelUsers[channel];
      c.records.writeUInt32(static_cast<std::uint32_t>(users.size()));
      for (std::uint64_t id : users)
        record(id, nameOf(id), m_users[id].online ? 1 : 0, 0);
      return true;
    }
    default:
      return false;
  }
}

bool LobbyStore::titleUtilities(Context& c) {
  c.u8();
  switch (c.task) {
    case 1: {  // is the text acceptable
      const std::string text = c.str();
      if (c.ok) c.records.writeBool(text.find("badword") == std::string::npos);
      return true;
    }
    case 2: {
      c.i16();
      const std::string a = c.str();
      const std::string b = c.str();
      c.i16();
      c.i16();
      if (c.ok) c.records.writeUInt32(static_cast<std::uint32_t>(a.size() * 100 + b.size()));
      return true;
    }
    case 3: {  // impressions, as many as the request holds
      for (unsigned int i = 0; i < kMaxListed; ++i) {
        const unsigned int at = c.in.getReadPosition();
        if (c.in.readDataTypeUnchecked() != BD_BB_UNSIGNED_INTEGER64_TYPE) {
          c.in.setReadPosition(at);
          break;
        }
        c.in.setReadPosition(at);
        c.u64();
        c.u32();
        if (c.ok) ++m_impressions;
      }
      return true;
    }
    case 4:
      c.records.writeUInt32(m_impressions);
      return true;
    default:
      return false;
  }
}

}  // namespace lobbyserver
