#include "Modules/MessagingService/Src/Messages/ClanMessages.h"

#include "Modules/Core/Src/Cache/ServiceCache.h"
#include "Modules/Core/Src/Players/LocalPlayer.h"
#include "Modules/Core/Src/ToolboxCore.h"
#include "Modules/Core/Src/Types/Blob.h"
#include "Modules/FriendService/Src/PlayerLists.h"

namespace OX_Toolbox {

const ClassTypeInfo AbstractClanMessage::s_type = {"AbstractClanMessage", &AbstractMessage::s_type};
const ClassTypeInfo ClanMemberMailMessage::s_type = {"ClanMemberMailMessage",
                                                     &AbstractClanMessage::s_type};
const ClassTypeInfo ClanAdminMailMessage::s_type = {"ClanAdminMailMessage",
                                                    &AbstractClanMessage::s_type};
const ClassTypeInfo ClanBroadcastTransferOwnershipMessage::s_type = {
    "ClanBroadcastTransferOwnershipMessage", &AbstractClanMessage::s_type};
const ClassTypeInfo ClanBroadcastDemoteMemberMessage::s_type = {"ClanBroadcastDemoteMemberMessage",
                                                                &AbstractClanMessage::s_type};
const ClassTypeInfo ClanBroadcastPromoteMemberMessage::s_type = {
    "ClanBroadcastPromoteMemberMessage", &AbstractClanMessage::s_type};
const ClassTypeInfo ClanBroadcastKickMemberMessage::s_type = {"ClanBroadcastKickMemberMessage",
                                                              &AbstractClanMessage::s_type};

namespace {

constexpr std::uint32_t kClanBit = 1u << 6;

// A rank code as a member entry keeps it.
std::int64_t rankOf(std::uint32_t code) { return code == 1 || code == 2 ? code : 0; }

void setMemberRank(LocalPlayer* me, std::int64_t clan, const PlayerID& player, std::uint32_t code) {
  if (me && me->getCacheStore())
    me->getCacheStore()->updateCachedKind6(static_cast<std::uint64_t>(clan), player, rankOf(code));
}

bool readTarget(Blob& blob, PlayerID& target, bool withRank, std::uint8_t& rank) {
  PlayerID player;
  std::uint8_t value = 0;
  if (!ReadPlayerID(blob, player)) return false;
  if (withRank) {
    const BlobField field[] = {{OX_UINT8, &value, nullptr, 0}};
    if (!blob.readFields(field, 1)) return false;
    rank = value;
  }
  target = player;
  return true;
}

}  // namespace

LocalPlayer* ClanMailBase::concernedMember() const {
  LocalPlayer* me = LoggedInLocalPlayer(getRecipient());
  if (!me || me->getClanId() != getClanId() || getSender() == getRecipient()) return nullptr;
  return me;
}

void ClanBroadcastTransferOwnershipMessage::onReceived() {
  LocalPlayer* me = concernedMember();
  setMemberRank(me, getClanId(), getSender(), 2);
  setMemberRank(me, getClanId(), getTarget(), 1);
}

std::uint32_t ClanBroadcastTransferOwnershipMessage::serialize(Blob& blob,
                                                               std::uint32_t version) const {
  const std::uint32_t next = AbstractMessage::serialize(blob, version);
  if (version == 1) WritePlayerID(blob, getTarget());
  return next;
}

std::uint32_t ClanBroadcastTransferOwnershipMessage::deserialize(Blob& blob,
                                                                 std::uint32_t version) {
  const std::uint32_t next = AbstractMessage::deserialize(blob, version);
  PlayerID target;
  std::uint8_t unused = 0;
  if (version == 1 && !readFailed()) {
    if (readTarget(blob, target, false, unused))
      setTarget(target);
    else
      setReadFailed();
  }
  return next;
}

void ClanBroadcastDemoteMemberMessage::onReceived() {
  setMemberRank(concernedMember(), getClanId(), getTarget(), getRank());
}

std::uint32_t ClanBroadcastDemoteMemberMessage::serialize(Blob& blob, std::uint32_t version) const {
  const std::uint32_t next = AbstractMessage::serialize(blob, version);
  if (version == 1) {
    WritePlayerID(blob, getTarget());
    blob.writeUInt8(blob.getSize(), getRank());
  }
  return next;
}

std::uint32_t ClanBroadcastDemoteMemberMessage::deserialize(Blob& blob, std::uint32_t version) {
  const std::uint32_t next = AbstractMessage::deserialize(blob, version);
  PlayerID target;
  std::uint8_t rank = 0;
  if (version == 1 && !readFailed()) {
    if (readTarget(blob, target, true, rank)) {
      setTarget(target);
      setRank(rank);
    } else {
      setReadFailed();
    }
  }
  return next;
}

bool ClanBroadcastDemoteMemberMessage::isStored() const {
  LocalPlayer* me = LoggedInLocalPlayer(getRecipient());
  return me && !getSubject().isEmpty() && me->getClanId() == getClanId();
}

void ClanBroadcastKickMemberMessage::onReceived() {
  LocalPlayer* me = concernedMember();
  if (!me) return;
  RemoveFromPlayerList(me, LIST_CLAN_MEMBERS, getTarget(), static_cast<std::uint64_t>(getClanId()));
  for (int kind = 7; kind <= 9; ++kind)
    RemoveFromPlayerList(me, kind, getTarget());
  ToolboxCore* core = ToolboxCore::instance();
  if (LocalPlayer* record = core ? core->findLocalPlayer(getTarget()) : nullptr) {
    record->setClanFlags(record->getClanFlags() & ~kClanBit);
    record->setClanId(0);
  }
}

std::uint32_t ClanBroadcastKickMemberMessage::serialize(Blob& blob, std::uint32_t version) const {
  const std::uint32_t next = AbstractMessage::serialize(blob, version);
  if (version == 1) WritePlayerID(blob, getTarget());
  return next;
}

std::uint32_t ClanBroadcastKickMemberMessage::deserialize(Blob& blob, std::uint32_t version) {
  const std::uint32_t next = AbstractMessage::deserialize(blob, version);
  PlayerID target;
  std::uint8_t unused = 0;
  if (version == 1 && !readFailed()) {
    if (readTarget(blob, target, false, unused))
      setTarget(target);
    else
      setReadFailed();
  }
  return next;
}

bool ClanBroadcastKickMemberMessage::isStored() const {
  LocalPlayer* me = LoggedInLocalPlayer(getRecipient());
  return me && !getSubject().isEmpty() && me->getClanId() == getClanId();
}

}  // namespace OX_Toolbox
