#include "Modules/MessagingService/Src/MessagingTasks.h"

#include "Modules/MessagingService/Src/MessagingService.h"
#include "Modules/Services/Src/OnlineLink.h"
#include "bdLobbyService/bdLobbyServiceImpl.h"

namespace OX_Toolbox {

const ClassTypeInfo TaskRezovovozOnlineBasicMessaging::s_type = {
    "TaskRezovovozOnlineBasicMessaging", &TaskAtomic::s_type};
const ClassTypeInfo TaskRezovovozOnlineRetrieveMessages::s_type = {
    "TaskRezovovozOnlineRetrieveMessages", &TaskRezovovozOnlineBasicMessaging::s_type};
const ClassTypeInfo TaskRezovovozOnlineDeleteMessage::s_type = {
    "TaskRezovovozOnlineDeleteMessage", &TaskRezovovozOnlineBasicMessaging::s_type};
const ClassTypeInfo TaskRezovovozOnlineMarkMessageAsReceived::s_type = {
    "TaskRezovovozOnlineMarkMessageAsReceived", &TaskRezovovozOnlineBasicMessaging::s_type};

namespace {

bdMessaging* store() { return Lobby() ? Lobby()->getMessaging() : nullptr; }

ERRORID begin(LobbyRequest& request, unsigned char task, std::uint8_t index,
              const bdLobbyArgs& args) {
  bdMessaging* messaging = store();
  if (!messaging) return ERRORID_CONNECTION_FAILURE;
  return request.begin(messaging->startTask(task, index, args), messaging->getLastError());
}

}  // namespace

ERRORID TaskRezovovozOnlineBasicMessaging::replyResult() {
  bdMessaging* messaging = store();
  if (!messaging) return ERRORID_CONNECTION_FAILURE;
  return messaging->handleTask(request().task()) ? ERRORID_SUCCEEDED
                                                 : LobbyErrorToErrorId(messaging->getLastError());
}

ERRORID TaskRezovovozOnlineRetrieveMessages::startRequest() {
  // The fetch replaces the inbox: the store's answer fills it again.
  if (MessagingService* service = MessagingService::find()) service->removeInboxMessagesOf(m_index);
  return begin(request(), 1, m_index, bdLobbyArgs().u32(m_first).u32(m_count).b(false).b(false));
}

void TaskRezovovozOnlineRetrieveMessages::notify(ERRORID result) {
  if (m_listener) m_listener->onSynchronizeMessages(getId(), result);
}

ERRORID TaskRezovovozOnlineDeleteMessage::startRequest() {
  return begin(request(), 4, m_index, bdLobbyArgs().u64(m_id));
}

ERRORID TaskRezovovozOnlineDeleteMessage::readReply() {
  const ERRORID result = replyResult();
  if (result == ERRORID_SUCCEEDED) {
    if (MessagingService* service = MessagingService::find())
      service->removeInboxMessage(m_index, m_id);
  }
  return result;
}

void TaskRezovovozOnlineDeleteMessage::notify(ERRORID result) {
  if (m_listener) m_listener->onDeleteMessage(getId(), result);
}

ERRORID TaskRezovovozOnlineMarkMessageAsReceived::startRequest() {
  return begin(request(), 6, m_index, bdLobbyArgs().u64(m_id).b(true));
}

}  // namespace OX_Toolbox
