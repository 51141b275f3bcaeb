#include "Modules/FriendService/Src/FriendService.h"

#include "Modules/Core/Src/Players/LocalPlayer.h"
#include "Modules/Core/Src/Tasks/TaskManager.h"
#include "Modules/Core/Src/ToolboxCore.h"
#include "Modules/FriendService/Src/FriendTasks.h"
#include "Modules/FriendService/Src/PlayerLists.h"
#include "Modules/MessagingService/Src/MessagingService.h"
#include "Modules/MessagingService/Src/Messages/FriendMessages.h"
#include "Modules/MessagingService/Src/Messages/MessageEvents.h"
#include "Modules/MessagingService/Src/Messages/MessageRecords.h"
#include "Modules/Services/Src/OnlineLink.h"

namespace OX_Toolbox {

namespace {

PrivateSlotQuery g_privateSlot = nullptr;

std::uint32_t refuse(FriendServiceListener* listener, FriendEvent event) {
  if (listener && event) (listener->*event)(0, ERRORID_FAILED);
  return 0;
}

// The store type codes that stand for friend messages.
bool isFriendCode(unsigned int code) {
  return (code >= 1 && code <= 12) || (code >= 34 && code <= 36);
}

}  // namespace

void SetPrivateSlotQuery(PrivateSlotQuery query) { g_privateSlot = query; }

ERRORID FriendService::create() {
  ToolboxCore* core = ToolboxCore::instance();
  if (!core || !core->findService(MessagingService::kName)) return ERRORID_SERVICE_NOT_AVAILABLE;
  auto* service = new FriendService();
  const ERRORID result = core->registerService(service);
  if (result != ERRORID_SUCCEEDED) delete service;
  return result;
}

FriendService* FriendService::find() {
  ToolboxCore* core = ToolboxCore::instance();
  return core ? static_cast<FriendService*>(core->findService(kName)) : nullptr;
}

FriendService::FriendService() {
  ToolboxCore* core = ToolboxCore::instance();
  if (core && core->getEventManager()) core->getEventManager()->addListener(this);
}

FriendService::~FriendService() {
  ToolboxCore* core = ToolboxCore::instance();
  if (core && core->getEventManager()) core->getEventManager()->removeListener(this);
}

ToolboxVector<PlayerID> FriendService::getMessageSenders(std::uint8_t index) const {
  return CopyPlayerList(LoggedInLocalPlayer(index), LIST_MESSAGE_SENDERS);
}

std::uint32_t FriendService::synchronizeFriends(FriendServiceListener* listener,
                                                std::uint8_t index) {
  return ToolboxCore::queueTask(new TaskRezovovozOnlineRetrieveFriends(listener, index));
}

ToolboxVector<PlayerID> FriendService::getFriends(std::uint8_t index) const {
  return CopyPlayerList(LoggedInLocalPlayer(index), LIST_FRIENDS);
}

std::uint32_t FriendService::synchronizeSentFriendshipRequests(FriendServiceListener* listener,
                                                               std::uint8_t index) {
  return ToolboxCore::queueTask(new TaskRezovovozOnlineRetrieveFriendshipRequests(listener, index));
}

ToolboxVector<PlayerID> FriendService::getSentFriendshipRequests(std::uint8_t index) const {
  return CopyPlayerList(LoggedInLocalPlayer(index), LIST_REQUESTS_SENT);
}

ToolboxVector<PlayerID> FriendService::getReceivedFriendshipRequests(std::uint8_t index) const {
  return CopyPlayerList(LoggedInLocalPlayer(index), LIST_REQUESTS_RECEIVED);
}

std::uint32_t FriendService::sendNew(FriendServiceListener* listener, std::uint8_t index,
                                     AbstractMessage* message, const PlayerID& player,
                                     FriendEvent event) {
  LocalPlayer* me = LoggedInLocalPlayer(index);
  if (!me) {
    delete message;
    return refuse(listener, event);
  }
  message->setRecipient(player);
  message->setSender(me->getPlayerID(CONNECTIONTYPE_ONLINE));
  return ToolboxCore::queueTask(
      TaskRezovovozOnlineBasicSendFriendMessage::create(listener, index, message, event));
}

std::uint32_t FriendService::sendFriendMailMessage(FriendServiceListener* listener,
                                                   std::uint8_t index, AbstractMessage* message) {
  const FriendEvent event = &FriendServiceListener::onSendFriendMessage;
  LocalPlayer* me = LoggedInLocalPlayer(index);
  // A message of another class stays the caller's.
  if (!me || !message || message->getType() != &MailMessage::s_type) return refuse(listener, event);
  message->setSender(me->getPlayerID(CONNECTIONTYPE_ONLINE));
  return ToolboxCore::queueTask(
      new TaskRezovovozOnlineSendMailMessage(listener, index, message, event));
}

std::uint32_t FriendService::sendFriendshipRequest(FriendServiceListener* listener,
                                                   std::uint8_t index, const PlayerID& player) {
  return sendNew(listener, index, new FriendshipProposalMessage(), player,
                 &FriendServiceListener::onSendFriendshipRequest);
}

std::uint32_t FriendService::sendFriendshipRequestReply(FriendServiceListener* listener,
                                                        std::uint8_t index, const PlayerID& player,
                                                        bool accept) {
  auto* reply = new FriendshipProposalResponseMessage();
  reply->setFlag(accept ? 1 : 0);
  return sendNew(listener, index, reply, player,
                 &FriendServiceListener::onSendFriendshipRequestReply);
}

std::uint32_t FriendService::cancelFriendshipRequest(FriendServiceListener* listener,
                                                     std::uint8_t index, const PlayerID& player) {
  return sendNew(listener, index, new FriendshipWithdrawProposalMessage(), player,
                 &FriendServiceListener::onCancelFriendshipRequest);
}

std::uint32_t FriendService::removeFriend(FriendServiceListener* listener, std::uint8_t index,
                                          const PlayerID& player) {
  return sendNew(listener, index, new FriendshipRevokeMessage(), player,
                 &FriendServiceListener::onRemoveFriend);
}

std::uint32_t FriendService::blockFriend(FriendServiceListener* listener, std::uint8_t index,
                                         const PlayerID& player, bool block) {
  auto* message = new FriendBlockMessage();
  message->setFlag(block ? 1 : 0);
  return sendNew(listener, index, message, player, &FriendServiceListener::onBlockFriend);
}

ToolboxVector<PlayerID> FriendService::getBlockedPlayers(std::uint8_t index) const {
  return CopyPlayerList(LoggedInLocalPlayer(index), LIST_BLOCKED);
}

std::uint32_t FriendService::invitePlayerToSession(FriendServiceListener* listener,
                                                   std::uint8_t index, const PlayerID& player) {
  const FriendEvent event = &FriendServiceListener::onInvitePlayerToSession;
  LocalPlayer* me = LoggedInLocalPlayer(index);
  if (!me) return refuse(listener, event);
  if (!IsMatchmakingSessionOpen()) {
    AddToPlayerList(me, LIST_INVITEES, player);
    return 0;
  }
  Ticket ticket;
  SessionID key{};
  if (!g_privateSlot || !g_privateSlot(index, ticket, key)) return 0;
  auto* invite = new SessionInviteMessage();
  invite->setTicket(ticket);
  invite->setSessionKey(key);
  return sendNew(listener, index, invite, player, event);
}

void FriendService::removeInvitee(std::uint8_t index, const PlayerID& player) {
  RemoveFromPlayerList(LoggedInLocalPlayer(index), LIST_INVITEES, player);
}

std::uint32_t FriendService::sendSessionInviteReply(FriendServiceListener* listener,
                                                    std::uint8_t index, const PlayerID& player,
                                                    std::uint64_t, bool accept) {
  auto* reply = new SessionInviteResponseMessage();
  reply->setFlag(accept ? 1 : 0);
  return sendNew(listener, index, reply, player, &FriendServiceListener::onSendSessionInviteReply);
}

ToolboxVector<PlayerID> FriendService::getInvitees(std::uint8_t index) const {
  return CopyPlayerList(LoggedInLocalPlayer(index), LIST_INVITEES);
}

std::uint32_t FriendService::forwardInvitation(FriendServiceListener* listener, std::uint8_t index,
                                               const PlayerID& player,
                                               const SessionInviteMessage* invitation) {
  return ToolboxCore::queueTask(
      new TaskRezovovozOnlineForwardInvitation(listener, index, player, invitation));
}

std::uint32_t FriendService::retrieveFriendOnlineStatus(FriendServiceListener*, std::uint8_t index,
                                                        const PlayerID& player) {
  return ToolboxCore::queueTask(new TaskRezovovozOnlineRetrieveFriendOnlineStatus(index, player));
}

void FriendService::sendPendingInvitations(std::uint8_t index) {
  const ToolboxVector<PlayerID> pending = getInvitees(index);
  for (const PlayerID& player : pending)
    invitePlayerToSession(nullptr, index, player);
}

bool FriendService::onMessage(Event* event) {
  if (!event || event->getType() != &EventRezovovozMessageStore::s_type) return false;
  const bdReference<bdLobbyMessage> record =
      static_cast<EventRezovovozMessageStore*>(event)->getRecord();
  if (record.isNull() || !isFriendCode(record->m_type)) return false;
  String senderName(u"");
  bool isNew = false;
  AbstractMessage* message = MessageFromStoreRecord(*record, senderName, isNew);
  if (!message) return true;
  MessagingService* messaging = MessagingService::find();
  if (!messaging || !LoggedInLocalPlayer(message->getRecipient())) {
    delete message;
    return true;
  }
  messaging->receiveMessage(senderName, message, isNew);
  return true;
}

}  // namespace OX_Toolbox
