#include "Modules/MessagingService/Src/Messages/FriendMessages.h"

#include "Modules/Core/Src/Players/LocalPlayer.h"
#include "Modules/Core/Src/Tasks/Events.h"
#include "Modules/Core/Src/ToolboxCore.h"
#include "Modules/FriendService/Src/FriendService.h"
#include "Modules/FriendService/Src/PlayerLists.h"
#include "Modules/MessagingService/Src/MessagingService.h"
#include "Modules/MessagingService/Src/Messages/MessageEvents.h"
#include "Modules/Services/Src/OnlineLink.h"

namespace OX_Toolbox {

const ClassTypeInfo MailMessage::s_type = {"MailMessage", &AbstractMessage::s_type};
const ClassTypeInfo SessionInviteMessage::s_type = {"SessionInviteMessage",
                                                    &AbstractMessage::s_type};
const ClassTypeInfo SessionInviteResponseMessage::s_type = {"SessionInviteResponseMessage",
                                                            &AbstractMessage::s_type};
const ClassTypeInfo FriendshipProposalMessage::s_type = {"FriendshipProposalMessage",
                                                         &AbstractMessage::s_type};
const ClassTypeInfo FriendshipProposalResponseMessage::s_type = {
    "FriendshipProposalResponseMessage", &AbstractMessage::s_type};
const ClassTypeInfo FriendshipRevokeMessage::s_type = {"FriendshipRevokeMessage",
                                                       &AbstractMessage::s_type};
const ClassTypeInfo FriendshipWithdrawProposalMessage::s_type = {
    "FriendshipWithdrawProposalMessage", &AbstractMessage::s_type};
const ClassTypeInfo FriendPresenceMessage::s_type = {"FriendPresenceMessage",
                                                     &AbstractMessage::s_type};
const ClassTypeInfo FriendBlockMessage::s_type = {"FriendBlockMessage", &AbstractMessage::s_type};
const ClassTypeInfo FriendProfileUpdateMessage::s_type = {"FriendProfileUpdateMessage",
                                                          &AbstractMessage::s_type};
const ClassTypeInfo EventRezovovozMessageStore::s_type = {"EventRezovovozMessageStore",
                                                          &Event::s_type};
const ClassTypeInfo EventFriendProfileUpdate::s_type = {"EventFriendProfileUpdate", &Event::s_type};

namespace {

constexpr std::uint32_t kOnlineBit = 1u << 0;

// Stored messages of a class from `from`, deleted from the store.
void deleteStored(const ClassTypeInfo* type, const LocalPlayer* owner, const PlayerID& from) {
  if (MessagingService* messaging = MessagingService::find())
    messaging->deleteStoredFrom(type, owner->getIndex(), from);
}

void refreshOnlineStatus(const LocalPlayer* owner, const PlayerID& player) {
  if (FriendService* friends = FriendService::find())
    friends->retrieveFriendOnlineStatus(nullptr, owner->getIndex(), player);
}

// The answer to a proposal, seen from the side of `owner`, whose partner is
// `other`.
void settleProposal(LocalPlayer* owner, const PlayerID& other, bool accepted) {
  deleteStored(&FriendshipProposalMessage::s_type, owner, other);
  if (accepted) {
    AddToPlayerList(owner, LIST_FRIENDS, other);
    refreshOnlineStatus(owner, other);
  }
  RemoveFromPlayerList(owner, LIST_REQUESTS_RECEIVED, other);
  RemoveFromPlayerList(owner, LIST_REQUESTS_SENT, other);
}

void dropFriend(LocalPlayer* owner, const PlayerID& other) {
  RemoveFromPlayerList(owner, LIST_FRIENDS, other);
  RemoveFromPlayerList(owner, LIST_INVITEES, other);
}

}  // namespace

void SessionInviteMessage::onSent() {
  LocalPlayer* me = LoggedInLocalPlayer(getSender());
  if (me && IsMatchmakingSessionOpen() && HasPlayerList(me, LIST_INVITEES))
    RemoveFromPlayerList(me, LIST_INVITEES, getRecipient());
}

void SessionInviteMessage::onSendFailed(ERRORID) {
  RemoveFromPlayerList(LoggedInLocalPlayer(getSender()), LIST_INVITEES, getRecipient());
  // Private slots never expire: one nobody was invited to would be lost.
  ReleasePrivateSlot(getTicket());
}

void SessionInviteResponseMessage::onSent() {
  if (LocalPlayer* me = LoggedInLocalPlayer(getSender()))
    deleteStored(&SessionInviteMessage::s_type, me, getRecipient());
}

void FriendshipProposalMessage::onReceived() {
  AddToPlayerList(LoggedInLocalPlayer(getRecipient()), LIST_REQUESTS_RECEIVED, getSender());
}

void FriendshipProposalMessage::onSent() {
  AddToPlayerList(LoggedInLocalPlayer(getSender()), LIST_REQUESTS_SENT, getRecipient());
}

void FriendshipProposalResponseMessage::onSent() {
  if (LocalPlayer* me = LoggedInLocalPlayer(getSender()))
    settleProposal(me, getRecipient(), getFlag() != 0);
}

void FriendshipProposalResponseMessage::onReceived() {
  if (LocalPlayer* me = LoggedInLocalPlayer(getRecipient()))
    settleProposal(me, getSender(), getFlag() != 0);
}

void FriendshipProposalResponseMessage::onSendFailed(ERRORID) {
  RemoveFromPlayerList(LoggedInLocalPlayer(getSender()), LIST_REQUESTS_RECEIVED, getRecipient());
}

void FriendshipRevokeMessage::onReceived() {
  dropFriend(LoggedInLocalPlayer(getRecipient()), getSender());
}
void FriendshipRevokeMessage::onSent() {
  dropFriend(LoggedInLocalPlayer(getSender()), getRecipient());
}
void FriendshipRevokeMessage::onSendFailed(ERRORID) {
  dropFriend(LoggedInLocalPlayer(getSender()), getRecipient());
}

void FriendshipWithdrawProposalMessage::onReceived() {
  if (LocalPlayer* me = LoggedInLocalPlayer(getRecipient())) {
    deleteStored(&FriendshipProposalMessage::s_type, me, getSender());
    RemoveFromPlayerList(me, LIST_REQUESTS_RECEIVED, getSender());
  }
}
void FriendshipWithdrawProposalMessage::onSent() {
  RemoveFromPlayerList(LoggedInLocalPlayer(getSender()), LIST_REQUESTS_SENT, getRecipient());
}
void FriendshipWithdrawProposalMessage::onSendFailed(ERRORID) {
  RemoveFromPlayerList(LoggedInLocalPlayer(getSender()), LIST_REQUESTS_SENT, getRecipient());
}

void FriendPresenceMessage::onReceived() {
  if (LoggedInLocalPlayer(getRecipient())) SetPlayerFlag(getSender(), kOnlineBit, getFlag() != 0);
}

void FriendBlockMessage::onReceived() {
  if (getFlag() != 0)
    RemoveFromPlayerList(LoggedInLocalPlayer(getRecipient()), LIST_INVITEES, getSender());
}

void FriendBlockMessage::onSent() {
  LocalPlayer* me = LoggedInLocalPlayer(getSender());
  if (getFlag() == 0) {
    RemoveFromPlayerList(me, LIST_BLOCKED, getRecipient());
  } else {
    RemoveFromPlayerList(me, LIST_INVITEES, getRecipient());
    AddToPlayerList(me, LIST_BLOCKED, getRecipient());
  }
}

void FriendProfileUpdateMessage::onReceived() {
  LocalPlayer* me = LoggedInLocalPlayer(getRecipient());
  ToolboxCore* core = ToolboxCore::instance();
  if (me && core && core->getEventManager())
    core->getEventManager()->queueEvent(new EventFriendProfileUpdate(me->getIndex(), getSender()));
}

}  // namespace OX_Toolbox
