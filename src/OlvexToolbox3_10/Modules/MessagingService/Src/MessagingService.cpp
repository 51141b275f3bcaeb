#include "Modules/MessagingService/Src/MessagingService.h"

#include "Modules/Core/Src/Players/LocalPlayer.h"
#include "Modules/Core/Src/Tasks/TaskManager.h"
#include "Modules/Core/Src/ToolboxCore.h"
#include "Modules/FriendService/Src/PlayerLists.h"
#include "Modules/MessagingService/Src/MessagingTasks.h"
#include "Modules/MessagingService/Src/Messages/AbstractMessage.h"

namespace OX_Toolbox {

ERRORID MessagingService::create() {
  ToolboxCore* core = ToolboxCore::instance();
  if (!core || !core->findService("NetworkService")) return ERRORID_SERVICE_NOT_AVAILABLE;
  auto* service = new MessagingService();
  const ERRORID result = core->registerService(service);
  if (result != ERRORID_SUCCEEDED) delete service;
  return result;
}

MessagingService* MessagingService::find() {
  ToolboxCore* core = ToolboxCore::instance();
  return core ? static_cast<MessagingService*>(core->findService(kName)) : nullptr;
}

MessagingService::MessagingService() {
  if (ToolboxCore* core = ToolboxCore::instance()) {
    if (core->getEventManager()) core->getEventManager()->addListener(this);
  }
}

MessagingService::~MessagingService() {
  if (ToolboxCore* core = ToolboxCore::instance()) {
    if (core->getEventManager()) core->getEventManager()->removeListener(this);
  }
  while (!m_inbox.empty())
    destroyEntry(m_inbox.size() - 1);
}

void MessagingService::destroyEntry(std::size_t i) {
  AbstractMessage* message = m_inbox[i].message;
  m_inbox.erase(m_inbox.begin() + static_cast<std::ptrdiff_t>(i));
  delete message;
}

std::uint32_t MessagingService::synchronizeMessages(MessagingServiceListener* listener,
                                                    std::uint8_t index, std::uint32_t first,
                                                    std::uint32_t count) {
  return ToolboxCore::queueTask(
      new TaskRezovovozOnlineRetrieveMessages(listener, index, first, count));
}

std::size_t MessagingService::getMessages(std::int8_t index,
                                          ToolboxVector<AbstractMessage*>& out) const {
  for (const InboxEntry& e : m_inbox) {
    if (static_cast<std::int8_t>(e.index) == index) out.push_back(e.message);
  }
  return m_inbox.size();
}

std::uint32_t MessagingService::deleteMessage(MessagingServiceListener* listener,
                                              std::uint8_t index, std::uint64_t id) {
  return ToolboxCore::queueTask(new TaskRezovovozOnlineDeleteMessage(listener, index, id));
}

void MessagingService::addMessageReceiver(MessageReceiver* receiver) {
  m_receivers.push_back(receiver);
}

void MessagingService::removeMessageReceiver(MessageReceiver* receiver) {
  for (auto it = m_receivers.begin(); it != m_receivers.end(); ++it) {
    if (*it == receiver) {
      m_receivers.erase(it);
      return;
    }
  }
}

void MessagingService::receiveMessage(const String& senderName, AbstractMessage* message,
                                      bool isNew) {
  if (!message) return;
  LocalPlayer* me = LoggedInLocalPlayer(message->getRecipient());
  if (!me) {
    delete message;
    return;
  }
  const std::uint8_t index = me->getIndex();
  for (const InboxEntry& e : m_inbox) {
    if (e.index == index && e.message->getMessageId() == message->getMessageId()) {
      delete message;  // a repeat of a message already kept
      return;
    }
  }
  char* name = senderName.toNarrowCopy();
  RegisterPlayer(message->getSender(), name);
  ToolboxFree(name);
  AddToPlayerList(me, LIST_MESSAGE_SENDERS, message->getSender());
  message->onReceived();
  const bool stored = message->isStored();
  if (stored) {
    if (isNew)
      ToolboxCore::queueTask(
          new TaskRezovovozOnlineMarkMessageAsReceived(index, message->getMessageId()));
    m_inbox.push_back({message, index});
  }
  // Indexes: a receiver may remove itself.
  for (std::size_t i = 0; i < m_receivers.size(); ++i)
    m_receivers[i]->onMessage(message, isNew);
  if (!stored) {
    deleteMessage(nullptr, index, message->getMessageId());
    delete message;
  }
}

void MessagingService::removeInboxMessagesOf(std::uint8_t index) {
  for (std::size_t i = m_inbox.size(); i-- > 0;) {
    if (m_inbox[i].index == index) destroyEntry(i);
  }
}

void MessagingService::removeInboxMessage(std::uint8_t index, std::uint64_t id) {
  for (std::size_t i = 0; i < m_inbox.size(); ++i) {
    if (m_inbox[i].index == index && m_inbox[i].message->getMessageId() == id) {
      destroyEntry(i);
      return;
    }
  }
}

void MessagingService::deleteStoredFrom(const ClassTypeInfo* type, std::uint8_t index,
                                        const PlayerID& sender) {
  for (const InboxEntry& e : m_inbox) {
    if (e.index == index && e.message->getType()->isA(type) && e.message->getSender() == sender)
      deleteMessage(nullptr, index, e.message->getMessageId());
  }
}

bool MessagingService::onMessage(Event* event) {
  if (event && event->getType() == &EventLoginLogout::s_type) {
    auto* login = static_cast<EventLoginLogout*>(event);
    if (!login->loginFlag) removeInboxMessagesOf(login->slotIndex);
  }
  return false;
}

}  // namespace OX_Toolbox
