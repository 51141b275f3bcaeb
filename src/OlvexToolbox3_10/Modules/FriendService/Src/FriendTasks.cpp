#include "Modules/FriendService/Src/FriendTasks.h"

#include <cstring>

#include "Modules/Core/Src/Players/LocalPlayer.h"
#include "Modules/Core/Src/Records/RecordList.h"
#include "Modules/Core/Src/Types/Blob.h"
#include "Modules/FriendService/Src/PlayerLists.h"
#include "Modules/MessagingService/Src/MessagingService.h"
#include "Modules/MessagingService/Src/Messages/FriendMessages.h"
#include "Modules/MessagingService/Src/Messages/MessageRecords.h"
#include "Modules/Services/Src/OnlineLink.h"
#include "bdLobbyCommon/bdLobbyResults.h"
#include "bdLobbyService/bdLobbyServiceImpl.h"

namespace OX_Toolbox {

const ClassTypeInfo TaskRezovovozOnlineBaseFriend::s_type = {"TaskRezovovozOnlineBaseFriend",
                                                             &TaskAtomic::s_type};
const ClassTypeInfo TaskRezovovozOnlineRetrieveFriends::s_type = {
    "TaskRezovovozOnlineRetrieveFriends", &TaskRezovovozOnlineBaseFriend::s_type};
const ClassTypeInfo TaskRezovovozOnlineRetrieveFriendshipRequests::s_type = {
    "TaskRezovovozOnlineRetrieveFriendshipRequests", &TaskRezovovozOnlineBaseFriend::s_type};
const ClassTypeInfo TaskRezovovozOnlineRetrieveFriendOnlineStatus::s_type = {
    "TaskRezovovozOnlineRetrieveFriendOnlineStatus", &TaskRezovovozOnlineBaseFriend::s_type};
const ClassTypeInfo TaskRezovovozOnlineBasicSendFriendMessage::s_type = {
    "TaskRezovovozOnlineBasicSendFriendMessage", &TaskAtomic::s_type};
const ClassTypeInfo TaskRezovovozOnlineSendMailMessage::s_type = {
    "TaskRezovovozOnlineSendMailMessage", &TaskRezovovozOnlineBasicSendFriendMessage::s_type};
const ClassTypeInfo TaskRezovovozOnlineForwardInvitation::s_type = {
    "TaskRezovovozOnlineForwardInvitation", &TaskSequentialComposite::s_type};

namespace {

constexpr std::uint32_t kOnlineBit = 1u << 0;
constexpr std::uint32_t kMailStoreKind = 2;

bdFriends* friendsService() { return Lobby() ? Lobby()->getFriends() : nullptr; }

// Reads the answered request into `result`; the mapped error otherwise.
ERRORID readInto(const LobbyRequest& request, bdQueryResult* result) {
  bdFriends* friends = friendsService();
  if (!friends) return ERRORID_CONNECTION_FAILURE;
  return friends->handleTask(request.task(), result) ? ERRORID_SUCCEEDED
                                                     : LobbyErrorToErrorId(friends->getLastError());
}

PlayerID onlineId(std::uint64_t id) { return PlayerID(CONNECTIONTYPE_ONLINE, id); }

// One send task per message class: the class it carries and its request.
template <typename M, unsigned char AcceptTask, unsigned char DeclineTask = AcceptTask>
class SendTask : public TaskRezovovozOnlineBasicSendFriendMessage {
 public:
  SendTask(const char* name, FriendServiceListener* listener, std::uint8_t index,
           AbstractMessage* message, FriendEvent event)
      : TaskRezovovozOnlineBasicSendFriendMessage(listener, index, message, event),
        m_type{name, &TaskRezovovozOnlineBasicSendFriendMessage::s_type} {}
  const ClassTypeInfo* getType() const override { return &m_type; }

 protected:
  const ClassTypeInfo* messageClass() const override { return &M::s_type; }
  unsigned char requestTask() const override {
    return flagOf(m_message) || AcceptTask == DeclineTask ? AcceptTask : DeclineTask;
  }
  static bool flagOf(const AbstractMessage* m) {
    const auto* flagged = dynamic_cast<const FlagMessage*>(m);
    return !flagged || flagged->getFlag() != 0;
  }

 private:
  ClassTypeInfo m_type;
};

// The proposal's optional attachment is left out.
class SendProposal : public SendTask<FriendshipProposalMessage, 1> {
 public:
  using SendTask::SendTask;

 protected:
  void addArguments(bdLobbyArgs& args) const override { args.buffer(nullptr); }
};

class SendBlock : public SendTask<FriendBlockMessage, 6> {
 public:
  using SendTask::SendTask;

 protected:
  void addArguments(bdLobbyArgs& args) const override {
    args.u8(static_cast<const FriendBlockMessage*>(m_message)->getFlag());
  }
};

class SendInvitation : public SendTask<SessionInviteMessage, 8> {
 public:
  using SendTask::SendTask;

 protected:
  ERRORID startRequest() override {
    if (!m_message->getType()->isA(messageClass())) return ERRORID_TASK_PREREQUISITE_FAILED;
    const auto* invite = static_cast<const SessionInviteMessage*>(m_message);
    Blob ticket;
    invite->getTicket().serialize(ticket);
    bdReference<bdByteBuffer> bytes(new bdByteBuffer(ticket.getSize()));
    bytes->write(ticket.getData(), ticket.getSize());
    bdFriends* friends = friendsService();
    if (!friends) return ERRORID_CONNECTION_FAILURE;
    return request().begin(friends->startTask(8, m_index,
                                              bdLobbyArgs()
                                                  .u64(m_message->getRecipient().getId())
                                                  .blob8(invite->getSessionKey().data())
                                                  .buffer(bytes.get())),
                           friends->getLastError());
  }
};

}  // namespace

void TaskRezovovozOnlineBaseFriend::notify(ERRORID result) {
  if (m_listener && m_event) (m_listener->*m_event)(getId(), result);
}

ERRORID TaskRezovovozOnlineBaseFriend::startList(unsigned char task) {
  bdFriends* friends = friendsService();
  if (!friends) return ERRORID_CONNECTION_FAILURE;
  return request().begin(friends->startTask(task, m_index), friends->getLastError());
}

TaskRezovovozOnlineRetrieveFriends::TaskRezovovozOnlineRetrieveFriends(
    FriendServiceListener* listener, std::uint8_t index)
    : TaskRezovovozOnlineBaseFriend(listener, index, &FriendServiceListener::onSynchronizeFriends) {
}

ERRORID TaskRezovovozOnlineRetrieveFriends::readReply() {
  if (m_phase == 0) {
    bdFriendsResultA friends;
    const ERRORID result = readInto(request(), &friends);
    if (result != ERRORID_SUCCEEDED) return result;
    for (unsigned int i = 0; i < friends.getNumResults(); ++i) {
      const bdFriendsEntryA& e = friends.getEntry(i);
      Entry kept{e.m_id, {}, e.m_flag};
      std::memcpy(kept.name, e.m_name, sizeof kept.name);
      kept.name[sizeof kept.name - 1] = 0;
      m_friends.push_back(kept);
    }
    m_phase = 1;
    const ERRORID next = startList(7);
    return next == ERRORID_SUCCEEDED ? CONTINUE : next;
  }
  bdFriendsResultC blocked;
  const ERRORID result = readInto(request(), &blocked);
  if (result != ERRORID_SUCCEEDED) return result;
  for (const Entry& e : m_friends) {
    SetPlayerFlag(onlineId(e.id), kOnlineBit, e.online);
    if (LocalPlayer* me = LoggedInLocalPlayer(m_index)) {
      RegisterPlayer(onlineId(e.id), e.name);
      AddToPlayerList(me, LIST_FRIENDS, onlineId(e.id));
    }
  }
  for (unsigned int i = 0; i < blocked.getNumResults(); ++i) {
    const bdFriendsEntryC& e = blocked.getEntry(i);
    if (LocalPlayer* me = LoggedInLocalPlayer(m_index)) {
      RegisterPlayer(onlineId(e.m_id), e.m_name);
      AddToPlayerList(me, LIST_BLOCKED, onlineId(e.m_id));
    }
  }
  return ERRORID_SUCCEEDED;
}

TaskRezovovozOnlineRetrieveFriendshipRequests::TaskRezovovozOnlineRetrieveFriendshipRequests(
    FriendServiceListener* listener, std::uint8_t index)
    : TaskRezovovozOnlineBaseFriend(listener, index,
                                    &FriendServiceListener::onSynchronizeSentFriendshipRequests) {}

ERRORID TaskRezovovozOnlineRetrieveFriendshipRequests::readReply() {
  bdFriendsResultC sent;
  const ERRORID result = readInto(request(), &sent);
  if (result != ERRORID_SUCCEEDED) return result;
  for (unsigned int i = 0; i < sent.getNumResults(); ++i) {
    const bdFriendsEntryC& e = sent.getEntry(i);
    if (LocalPlayer* me = LoggedInLocalPlayer(m_index)) {
      RegisterPlayer(onlineId(e.m_id), e.m_name);
      AddToPlayerList(me, LIST_REQUESTS_SENT, onlineId(e.m_id));
    }
  }
  return ERRORID_SUCCEEDED;
}

ERRORID TaskRezovovozOnlineRetrieveFriendOnlineStatus::readReply() {
  bdFriendsResultA friends;
  const ERRORID result = readInto(request(), &friends);
  if (result != ERRORID_SUCCEEDED) return result;
  for (unsigned int i = 0; i < friends.getNumResults(); ++i) {
    const bdFriendsEntryA& e = friends.getEntry(i);
    if (onlineId(e.m_id) == m_player) SetPlayerFlag(m_player, kOnlineBit, e.m_flag);
  }
  return ERRORID_SUCCEEDED;
}

TaskRezovovozOnlineBasicSendFriendMessage::~TaskRezovovozOnlineBasicSendFriendMessage() {
  delete m_message;
}

TaskRezovovozOnlineBasicSendFriendMessage* TaskRezovovozOnlineBasicSendFriendMessage::create(
    FriendServiceListener* l, std::uint8_t i, AbstractMessage* m, FriendEvent e) {
  if (!m) return nullptr;
  const ClassTypeInfo* t = m->getType();
  if (t == &FriendshipProposalMessage::s_type)
    return new SendProposal("TaskRezovovozOnlineSendFriendShipProposalMessage", l, i, m, e);
  if (t == &FriendshipProposalResponseMessage::s_type)
    return new SendTask<FriendshipProposalResponseMessage, 2, 3>(
        "TaskRezovovozOnlineSendFriendShipProposalResponseMessage", l, i, m, e);
  if (t == &FriendshipWithdrawProposalMessage::s_type)
    return new SendTask<FriendshipWithdrawProposalMessage, 13>(
        "TaskRezovovozOnlineSendWithdrawFriendshipProposalMessage", l, i, m, e);
  if (t == &FriendBlockMessage::s_type)
    return new SendBlock("TaskRezovovozOnlineSendFriendBlockMessage", l, i, m, e);
  if (t == &FriendshipRevokeMessage::s_type)
    return new SendTask<FriendshipRevokeMessage, 4>(
        "TaskRezovovozOnlineSendFriendShipRevokeMessage", l, i, m, e);
  if (t == &SessionInviteMessage::s_type)
    return new SendInvitation("TaskRezovovozOnlineSendSessionInvitationMessage", l, i, m, e);
  if (t == &SessionInviteResponseMessage::s_type)
    return new SendTask<SessionInviteResponseMessage, 9, 10>(
        "TaskRezovovozOnlineSendSessionInvitationReponseMessage", l, i, m, e);
  if (t == &MailMessage::s_type) return new TaskRezovovozOnlineSendMailMessage(l, i, m, e);
  delete m;
  return nullptr;
}

ERRORID TaskRezovovozOnlineBasicSendFriendMessage::beginRequest(std::uint64_t userId) {
  bdFriends* friends = friendsService();
  if (!friends) return ERRORID_CONNECTION_FAILURE;
  bdLobbyArgs args;
  args.u64(userId);
  addArguments(args);
  return request().begin(friends->startTask(requestTask(), m_index, args), friends->getLastError());
}

ERRORID TaskRezovovozOnlineBasicSendFriendMessage::startRequest() {
  if (!m_message->getType()->isA(messageClass())) return ERRORID_TASK_PREREQUISITE_FAILED;
  return beginRequest(m_message->getRecipient().getId());
}

ERRORID TaskRezovovozOnlineBasicSendFriendMessage::readReply() {
  return readInto(request(), nullptr);
}

void TaskRezovovozOnlineBasicSendFriendMessage::notify(ERRORID result) {
  if (result == ERRORID_SUCCEEDED)
    m_message->onSent();
  else
    m_message->onSendFailed(result);
  if (m_listener && m_event) (m_listener->*m_event)(getId(), result);
}

const ClassTypeInfo* TaskRezovovozOnlineSendMailMessage::messageClass() const {
  return &MailMessage::s_type;
}

ERRORID TaskRezovovozOnlineSendMailMessage::startRequest() {
  if (!m_message->getType()->isA(messageClass())) return ERRORID_TASK_PREREQUISITE_FAILED;
  const auto* mail = static_cast<const MailMessage*>(m_message);
  m_addressees.clear();
  m_addressees.push_back(mail->getRecipient());
  for (const PlayerID& p : mail->otherRecipients())
    m_addressees.push_back(p);
  m_next = 0;
  return sendNext();
}

ERRORID TaskRezovovozOnlineSendMailMessage::sendNext() {
  RecordList* list = GlobalRecordList();
  if (!list) return ERRORID_FAILED;
  list->clear();
  if (!WriteFriendMessageRecord(*m_message)) return ERRORID_FAILED;
  std::uint32_t length = 0;
  unsigned char* bytes = list->serialize(length);
  if (!bytes) return ERRORID_NOT_ENOUGH_RAM;
  bdReference<bdByteBuffer> payload(new bdByteBuffer(length));
  payload->write(bytes, length);
  ToolboxFree(bytes);
  bdFriends* friends = friendsService();
  if (!friends) return ERRORID_CONNECTION_FAILURE;
  const std::uint64_t user = m_addressees[m_next++].getId();
  return request().begin(
      friends->startTask(12, m_index,
                         bdLobbyArgs().u64(user).u32(kMailStoreKind).buffer(payload.get())),
      friends->getLastError());
}

ERRORID TaskRezovovozOnlineSendMailMessage::readReply() {
  const ERRORID result = readInto(request(), nullptr);
  if (result != ERRORID_SUCCEEDED || m_next >= m_addressees.size()) return result;
  const ERRORID next = sendNext();
  return next == ERRORID_SUCCEEDED ? CONTINUE : next;
}

TaskRezovovozOnlineForwardInvitation::TaskRezovovozOnlineForwardInvitation(
    FriendServiceListener* listener, std::uint8_t index, const PlayerID& player,
    const SessionInviteMessage* invitation)
    : m_listener(listener),
      m_invitation(new SessionInviteMessage()),
      m_invitationId(invitation ? invitation->getMessageId() : 0),
      m_player(player),
      m_index(index) {
  if (invitation) {
    m_invitation->setTicket(invitation->getTicket());
    m_invitation->setSessionKey(invitation->getSessionKey());
  }
}

TaskRezovovozOnlineForwardInvitation::~TaskRezovovozOnlineForwardInvitation() {
  delete m_invitation;
}

void TaskRezovovozOnlineForwardInvitation::onStart() {
  const ERRORID online = CheckOnlineConnection();
  LocalPlayer* me = LoggedInLocalPlayer(m_index);
  if (online != ERRORID_SUCCEEDED || !me || !m_invitation) {
    setResult(online != ERRORID_SUCCEEDED ? online : ERRORID_FAILED);
    return;
  }
  SessionInviteMessage* forwarded = m_invitation;
  m_invitation = nullptr;
  forwarded->setRecipient(m_player);
  forwarded->setSender(me->getPlayerID(CONNECTIONTYPE_ONLINE));
  addSubTask(
      TaskRezovovozOnlineBasicSendFriendMessage::create(nullptr, m_index, forwarded, nullptr));
  setResult(ERRORID_SUCCEEDED);
}

// The received invitation stays until its copy went out: a failed send
// leaves the player an invitation to answer or forward again.
void TaskRezovovozOnlineForwardInvitation::onSubTaskFinished(Task*, ERRORID& code) {
  if (code != ERRORID_SUCCEEDED) return;
  if (MessagingService* messaging = MessagingService::find())
    messaging->deleteMessage(nullptr, m_index, m_invitationId);
}

void TaskRezovovozOnlineForwardInvitation::onRemoved(ERRORID result) {
  if (m_listener) m_listener->onForwardInvitation(getId(), result);
}

}  // namespace OX_Toolbox
