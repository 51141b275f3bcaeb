// Decodes arbitrary bytes as push messages and messaging replies. Each message
// read whole is written again by the test server's writer and must decode to
// the same fields.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "bdLobbyService/bdMessaging.h"
#include "fuzz_core.h"
#include "lobbyStore.h"

namespace {

lobbyserver::UserRef userOf(const bdLobbyUser& u) {
  FUZZ_CHECK(std::memchr(u.m_name, 0, sizeof u.m_name) != nullptr);
  return lobbyserver::UserRef{u.m_id, u.m_name};
}

// The fields of a decoded message in the server's form.
lobbyserver::PushMessage fieldsOf(const bdLobbyMessage& m) {
  lobbyserver::PushMessage p;
  p.type = m.m_type;
  p.id1 = m.m_id1;
  p.id2 = m.m_id2;
  p.value = m.m_value;
  p.flag = m.m_flag;
  auto data = [&](const bdLobbyDataBlock& block) {
    if (block.m_size > 0) p.data.assign(block.m_data, block.m_data + block.m_size);
  };
  auto buffer = [&](const bdReference<bdByteBuffer>& b) {
    if (b.notNull()) p.data.assign(b->getData(), b->getData() + b->getSize());
  };
  if (auto* u = dynamic_cast<const bdLobbyUserMessage*>(&m)) p.user = userOf(u->m_user);
  if (auto* u = dynamic_cast<const bdLobbyUserDataMessage*>(&m)) data(u->m_data);
  if (auto* u = dynamic_cast<const bdLobbyUserSecureDataMessage*>(&m)) {
    std::memcpy(p.securityID, u->m_securityID.ab, 8);
    data(u->m_data);
  }
  if (auto* u = dynamic_cast<const bdLobbyUserBufferMessage*>(&m)) buffer(u->m_payload);
  if (auto* u = dynamic_cast<const bdLobbyUserPairMessage*>(&m)) {
    p.user = userOf(u->m_first);
    p.second = userOf(u->m_second);
  }
  if (auto* u = dynamic_cast<const bdLobbyUserPairDataMessage*>(&m)) data(u->m_data);
  if (auto* u = dynamic_cast<const bdLobbyUserPairSecureDataMessage*>(&m)) {
    std::memcpy(p.securityID, u->m_securityID.ab, 8);
    data(u->m_data);
  }
  if (auto* u = dynamic_cast<const bdLobbyUserPairBufferMessage*>(&m)) buffer(u->m_payload);
  if (auto* g = dynamic_cast<const bdLobbyGroupMessage*>(&m)) {
    p.user = userOf(g->m_user);
    p.groupID = g->m_groupID;
    FUZZ_CHECK(std::memchr(g->m_groupName, 0, sizeof g->m_groupName) != nullptr);
    p.groupName = g->m_groupName;
  }
  if (auto* g = dynamic_cast<const bdLobbyGroupBufferMessage*>(&m)) buffer(g->m_payload);
  return p;
}

bool sameFields(const lobbyserver::PushMessage& a, const lobbyserver::PushMessage& b) {
  return a.type == b.type && a.id1 == b.id1 && a.id2 == b.id2 && a.value == b.value &&
         a.flag == b.flag && a.user.id == b.user.id && a.user.name == b.user.name &&
         a.second.id == b.second.id && a.second.name == b.second.name &&
         std::memcmp(a.securityID, b.securityID, 8) == 0 && a.groupID == b.groupID &&
         a.groupName == b.groupName && a.data == b.data;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzStartCore();
  if (size < 1 || size > 8192) return 0;
  static bdMessaging* messaging = new bdMessaging();
  messaging->clear();
  const bool asMessage =
      messaging->addMessage(new bdMessage(2, data, static_cast<unsigned int>(size), true));
  FUZZ_CHECK(messaging->getMessageCount() <= 1);
  if (asMessage) {
    FUZZ_CHECK(messaging->getMessageCount() == 1);
    const lobbyserver::PushMessage first = fieldsOf(*messaging->getMessage(0));
    bdBitBuffer again(0, true);
    FUZZ_CHECK(lobbyserver::writePushMessage(first, again));
    bdMessaging* second = messaging;
    second->clear();
    FUZZ_CHECK(second->addMessage(new bdMessage(2, again.getData(), again.getDataSize(), true)));
    FUZZ_CHECK(sameFields(first, fieldsOf(*second->getMessage(0))));
  }
  messaging->clear();
  return 0;
}
