#include "bdLobbyService/bdMessaging.h"

#include "bdCore/bdLog/bdLog.h"
#include "bdLobbyCommon/bdTypedFactory.h"

namespace {

using Factory = bdTypedFactory<bdLobbyMessage>;

template <typename C>
void registerType(unsigned int type) {
  bdTypedCreatorBase<bdLobbyMessage>* creator = new bdTypedCreator<bdLobbyMessage, C>();
  if (!Factory::getInstance()->registerClass(type, creator)) delete creator;
}

void registerAll() {
  for (unsigned int type = 1; type <= bdMessaging::NUM_TYPES; ++type) {
    switch (type) {
      case 1:
        registerType<bdLobbyUserDataMessage>(type);
        break;
      case 5:
        registerType<bdLobbyUserSecureDataMessage>(type);
        break;
      case 8:
        registerType<bdLobbyUserBufferMessage>(type);
        break;
      case 13:
        registerType<bdLobbyUserPairDataMessage>(type);
        break;
      case 19:
        registerType<bdLobbyUserPairSecureDataMessage>(type);
        break;
      case 22:
      case 23:
        registerType<bdLobbyUserPairBufferMessage>(type);
        break;
      case 29:
        registerType<bdLobbyMessage>(type);
        break;
      case 30:
      case 31:
        registerType<bdLobbyGroupBufferMessage>(type);
        break;
      case 32:
      case 33:
        registerType<bdLobbyGroupMessage>(type);
        break;
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
        registerType<bdLobbyUserMessage>(type);
        break;
      default:  // 14 to 18, 20, 21, 24 to 28, 37 to 39
        registerType<bdLobbyUserPairMessage>(type);
        break;
    }
  }
}

}  // namespace

bdMessaging::bdMessaging() : m_lastError(0), m_taskManager(nullptr) { registerAll(); }

bdMessaging::~bdMessaging() { m_messages.clear(); }

bool bdMessaging::decode(bdBitBuffer& buffer) {
  std::uint32_t type = 0;
  const bool typeRead = buffer.readUInt32(type);
  bdReference<bdLobbyMessage> message(Factory::getInstance()->create(typeRead ? type : 0));
  if (message.isNull()) return false;
  // The caller keeps its reference: the message reads on from where it stopped.
  bdReference<bdBitBuffer> view(&buffer);
  const bool ok = typeRead && message->deserialize(view);
  view = nullptr;
  if (message->m_id2 != 0) {
    for (unsigned int i = 0; i < m_messages.getSize(); ++i) {
      if (m_messages[i]->m_id2 == message->m_id2) return ok;
    }
  }
  m_messages.pushBack(message);
  return ok;
}

bool bdMessaging::addMessage(bdReference<bdMessage> message) {
  if (message.isNull()) return false;
  bdReference<bdBitBuffer> payload = message->getPayload();
  return payload.notNull() && decode(*payload);
}

bool bdMessaging::handleTask(const bdRemoteTask* task) {
  if (task == nullptr) return false;
  bdReference<bdBitBuffer> reply = task->getReply();
  std::uint32_t error = 0;
  if (reply.isNull() || !reply->readUInt32(error)) return false;
  m_lastError = error;
  if (error != 0) return false;
  unsigned char kind = 0;
  if (!reply->readUChar8(kind)) return false;
  if (kind != 1 && kind != 5) return true;
  std::uint32_t count = 0;
  if (!reply->readUInt32(count)) return false;
  // Stops at the first message that fails, so a lying count ends with the reply.
  for (std::uint32_t i = 0; i < count; ++i) {
    if (!decode(*reply)) return false;
  }
  return true;
}

bdReference<bdLobbyMessage> bdMessaging::getMessage(unsigned int index) const {
  if (index >= m_messages.getSize()) return nullptr;
  return m_messages[index];
}

void bdMessaging::removeMessage(unsigned int index) {
  const unsigned int size = m_messages.getSize();
  if (index >= size) return;
  if (index != size - 1) m_messages[index] = m_messages[size - 1];
  m_messages.popBack();
}

bdRemoteTaskRef bdMessaging::startTask(unsigned char taskID, unsigned char index,
                                       const bdLobbyArgs& args) {
  if (m_taskManager == nullptr) {
    m_lastError = bdRemoteTaskManager::BD_NOT_CONNECTED;
    return nullptr;
  }
  const bdLobbyTaskSpec* spec = bdLobbyCatalogue::find(BD_MESSAGING_SERVICE, taskID);
  bdReference<bdBitBuffer> buffer(new bdBitBuffer(0, true));
  if (spec == nullptr || buffer.isNull() ||
      !bdLobbyCatalogue::writeRequest(*spec, index, args, *buffer)) {
    bdAssertMsg("Lobby task 6/%u: arguments do not match the task.", taskID);
    m_lastError = 5;
    return nullptr;
  }
  bdRemoteTaskRef task;
  m_lastError = m_taskManager->startTask(task, BD_MESSAGING_SERVICE, taskID, buffer, 0.0f);
  return m_lastError == bdRemoteTaskManager::BD_START_OK ? task : nullptr;
}
