#include "Modules/AccountService/Src/Driver/Rezovovoz/ProfileTasks.h"

#include <vector>

#include "Modules/Core/Src/Players/LocalPlayer.h"
#include "Modules/Core/Src/ToolboxCore.h"
#include "Modules/Core/Src/Types/Blob.h"
#include "Modules/Core/Src/Types/TypeCodes.h"
#include "Modules/NetworkService/Src/OnlineServers.h"
#include "bdCore/bdUtilities/bdSingleton.h"
#include "bdLobbyService/bdLobbyServiceImpl.h"

namespace OX_Toolbox {

const ClassTypeInfo TaskRezovovozOnlineBasicProfile::s_type = {"TaskRezovovozOnlineBasicProfile",
                                                               &TaskAtomic::s_type};
const ClassTypeInfo TaskRezovovozOnlineCheckPlayerProfileExists::s_type = {
    "TaskRezovovozOnlineCheckPlayerProfileExists", &TaskRezovovozOnlineBasicProfile::s_type};
const ClassTypeInfo TaskRezovovozOnlineCreateProfile::s_type = {
    "TaskRezovovozOnlineCreateProfile", &TaskRezovovozOnlineBasicProfile::s_type};
const ClassTypeInfo TaskRezovovozCheckAndCreatePlayerProfile::s_type = {
    "TaskRezovovozCheckAndCreatePlayerProfile", &TaskSequentialComposite::s_type};
const ClassTypeInfo TaskRezovovozOnlineSetPlayerProfileInfo::s_type = {
    "TaskRezovovozOnlineSetPlayerProfileInfo", &TaskRezovovozOnlineBasicProfile::s_type};
const ClassTypeInfo TaskRezovovozOnlineSetPlayerPublicProfileInfo::s_type = {
    "TaskRezovovozOnlineSetPlayerPublicProfileInfo",
    &TaskRezovovozOnlineSetPlayerProfileInfo::s_type};
const ClassTypeInfo TaskRezovovozOnlineSetPlayerPrivateProfileInfo::s_type = {
    "TaskRezovovozOnlineSetPlayerPrivateProfileInfo",
    &TaskRezovovozOnlineSetPlayerProfileInfo::s_type};
const ClassTypeInfo TaskRezovovozOnlineGetPlayerProfileInfo::s_type = {
    "TaskRezovovozOnlineGetPlayerProfileInfo", &TaskRezovovozOnlineBasicProfile::s_type};
const ClassTypeInfo TaskRezovovozOnlineGetPlayerPublicProfileInfo::s_type = {
    "TaskRezovovozOnlineGetPlayerPublicProfileInfo",
    &TaskRezovovozOnlineGetPlayerProfileInfo::s_type};
const ClassTypeInfo TaskRezovovozOnlineGetPlayerPrivateProfileInfo::s_type = {
    "TaskRezovovozOnlineGetPlayerPrivateProfileInfo",
    &TaskRezovovozOnlineGetPlayerProfileInfo::s_type};

namespace {

enum ProfileRequest : unsigned char {
  CREATE = 1,
  READ_PUBLIC = 2,
  READ_PRIVATE = 3,
  WRITE_PUBLIC = 4,
  WRITE_PRIVATE = 5,
  EXISTS = 7,
};

// The kind a definition's type code is carried as; NOT_SET for a type the
// record has no value for.
FlexibleValue::Kind kindOfType(std::uint32_t type) {
  switch (type) {
    case OX_INT8:
    case OX_UINT8:
    case OX_INT16:
    case OX_UINT16:
    case OX_INT32:
    case OX_UINT32:
    case OX_BOOL:
      return FlexibleValue::INTEGER_32;
    case OX_INT64:
    case OX_UINT64:
      return FlexibleValue::INTEGER_64;
    case OX_FLOAT32:
    case OX_FLOAT64:
      return FlexibleValue::FLOAT_64;
    case OX_STRING:
      return FlexibleValue::STRING;
    case OX_BLOB:
    case OX_BINARYBLOCK:
      return FlexibleValue::BLOB;
    default:
      return FlexibleValue::NOT_SET;
  }
}

bdLobbyServiceImpl* lobby() {
  return bdSingleton<bdLobbyServiceImpl>::exists() ? bdSingleton<bdLobbyServiceImpl>::getInstance()
                                                   : nullptr;
}

struct ExistsAnswer : bdQueryResult {
  bool exists = false;
  bool handleResult(const unsigned int, bdReference<bdBitBuffer> buffer) override {
    return buffer.notNull() && buffer->readBool(exists);
  }
};

// A default value of each definition, for a new profile.
ProfileValues defaultsOf(const ProfileDefinitions& definitions) {
  ProfileValues values;
  for (const ProfilePropertyDefinition& d : definitions) {
    const FlexibleValue::Kind kind = kindOfType(d.type);
    if (kind == FlexibleValue::NOT_SET) continue;
    FlexibleValue v;
    v.setKind(kind);
    values.push_back(v);
  }
  return values;
}

}  // namespace

bool ProfilePropertyList::isWritable() const {
  for (const FlexibleValue& v : values) {
    if (v.getKind() == FlexibleValue::NOT_SET) return false;
    if (v.getKind() == FlexibleValue::BLOB && v.getBlob()->getSize() > kMaxBlob) return false;
  }
  return true;
}

void ProfilePropertyList::serialize(bdBitBuffer& out) const {
  for (const FlexibleValue& v : values) {
    switch (v.getKind()) {
      case FlexibleValue::INTEGER_32:
      case FlexibleValue::UNSIGNED_INTEGER_32:
        out.writeInt32(v.getAsInt32());
        break;
      case FlexibleValue::INTEGER_64:
      case FlexibleValue::UNSIGNED_INTEGER_64:
        out.writeInt64(v.getAsInt64());
        break;
      case FlexibleValue::FLOAT_32:
      case FlexibleValue::FLOAT_64:
        out.writeFloat64(v.getAsFloat64());
        break;
      case FlexibleValue::STRING: {
        std::size_t n = 0;
        char* text = v.getString()->toUtf8(&n);
        out.writeString(text ? text : "", kMaxText);
        ToolboxFree(text);
        break;
      }
      case FlexibleValue::BLOB:
        out.writeBlob(v.getBlob()->getData(), v.getBlob()->getSize());
        break;
      default:
        break;
    }
  }
}

bool ProfilePropertyList::handleResult(const unsigned int, bdReference<bdBitBuffer> buffer) {
  values.clear();
  if (buffer.isNull() || !m_definitions) return false;
  for (const ProfilePropertyDefinition& d : *m_definitions) {
    FlexibleValue v;
    bool ok = true;
    switch (kindOfType(d.type)) {
      case FlexibleValue::INTEGER_32: {
        std::int32_t x = 0;
        ok = buffer->readInt32(x);
        v.setInt32(x);
        break;
      }
      case FlexibleValue::INTEGER_64: {
        std::int64_t x = 0;
        ok = buffer->readInt64(x);
        v.setInt64(x);
        break;
      }
      case FlexibleValue::FLOAT_64: {
        double x = 0;
        ok = buffer->readFloat64(x);
        v.setFloat64(x);
        break;
      }
      case FlexibleValue::STRING: {
        char text[kMaxText + 1] = {};
        ok = buffer->readString(text, sizeof text);
        String s;
        s.assignUtf8(text);
        v.setString(s);
        break;
      }
      case FlexibleValue::BLOB: {
        std::vector<unsigned char> bytes(kMaxBlob);
        unsigned int n = kMaxBlob;
        ok = buffer->readBlob(bytes.data(), n);
        Blob b;
        ok = ok && b.setData(bytes.data(), n);
        v.setBlob(b);
        break;
      }
      default:
        break;
    }
    if (!ok) {
      values.clear();
      return false;
    }
    values.push_back(v);
  }
  return true;
}

void TaskRezovovozOnlineBasicProfile::onStart() {
  ToolboxCore* core = ToolboxCore::instance();
  if (!m_player && core) m_player = core->getLocalPlayer(m_index);
  if (!m_player) {
    setResult(ERRORID_TASK_PREREQUISITE_FAILED);
    return;
  }
  bdLobbyServiceImpl* service = lobby();
  bdProfiles* profiles = service ? service->getProfilesManager() : nullptr;
  if (!profiles) {
    setResult(ERRORID_CONNECTION_FAILURE);
    return;
  }
  m_task = startRequest(*profiles);
  setResult(m_task.notNull() ? ERRORID_SUCCEEDED : lobbyError(profiles));
}

ERRORID TaskRezovovozOnlineBasicProfile::lobbyError(bdProfiles* profiles) const {
  // A request that failed without a lobby error code is no success.
  const ERRORID mapped =
      profiles ? MapLobbyErrorToErrorID(static_cast<std::int32_t>(profiles->getLastError()))
               : ERRORID_CONNECTION_FAILURE;
  return mapped == ERRORID_SUCCEEDED ? ERRORID_FAILED : mapped;
}

void TaskRezovovozOnlineBasicProfile::step(std::uint32_t, bool& ready) {
  const bdRemoteTask::bdStatus status = m_task->getStatus();
  if (status == bdRemoteTask::BD_PENDING) {
    ready = false;
    return;
  }
  bdLobbyServiceImpl* service = lobby();
  bdProfiles* profiles = service ? service->getProfilesManager() : nullptr;
  if (status == bdRemoteTask::BD_DONE && profiles && readAnswer(*profiles, *m_task)) {
    setResult(ERRORID_SUCCEEDED);
  } else if (status == bdRemoteTask::BD_DONE) {
    setResult(lobbyError(profiles));
  } else {
    setResult(status == bdRemoteTask::BD_TIMED_OUT ? ERRORID_TIMEOUT : ERRORID_CONNECTION_FAILURE);
  }
  m_task->reset();
}

bdRemoteTaskRef TaskRezovovozOnlineCheckPlayerProfileExists::startRequest(bdProfiles& profiles) {
  return profiles.startTask(
      EXISTS, m_index, bdLobbyArgs().u64(m_player->getPlayerID(CONNECTIONTYPE_ONLINE).getId()));
}

bool TaskRezovovozOnlineCheckPlayerProfileExists::readAnswer(bdProfiles& profiles,
                                                             const bdRemoteTask& task) {
  ExistsAnswer answer;
  const bool ok = profiles.handleTask(&task, &answer);
  m_exists = ok && answer.exists;
  return ok;
}

bdRemoteTaskRef TaskRezovovozOnlineCreateProfile::startRequest(bdProfiles& profiles) {
  AccountService* service = AccountService::find();
  if (service) {
    m_record.values = defaultsOf(service->getAllPublicProfilePropertyDefinitions());
    const ProfileValues secret = defaultsOf(service->getAllPrivateProfilePropertyDefinitions());
    m_record.values.insert(m_record.values.end(), secret.begin(), secret.end());
  }
  return profiles.startTask(CREATE, m_index, bdLobbyArgs().record(&m_record));
}

bool TaskRezovovozOnlineCreateProfile::readAnswer(bdProfiles& profiles, const bdRemoteTask& task) {
  return profiles.handleTask(&task, nullptr);
}

TaskRezovovozCheckAndCreatePlayerProfile::TaskRezovovozCheckAndCreatePlayerProfile(
    std::uint8_t index, LocalPlayer* player)
    : m_index(index), m_player(player) {
  addSubTask(new TaskRezovovozOnlineCheckPlayerProfileExists(nullptr, index, player));
}

void TaskRezovovozCheckAndCreatePlayerProfile::onSubTaskFinished(Task* task, ERRORID& result) {
  auto* check = task->getType() == &TaskRezovovozOnlineCheckPlayerProfileExists::s_type
                    ? static_cast<TaskRezovovozOnlineCheckPlayerProfileExists*>(task)
                    : nullptr;
  if (check && result == ERRORID_SUCCEEDED && !check->exists())
    addSubTask(new TaskRezovovozOnlineCreateProfile(nullptr, m_index, m_player));
}

TaskRezovovozOnlineSetPlayerProfileInfo::TaskRezovovozOnlineSetPlayerProfileInfo(
    AccountServiceListener* listener, std::uint8_t index, bool isPublic,
    const ProfileValues& values)
    : TaskRezovovozOnlineBasicProfile(listener, index, nullptr),
      m_public(isPublic),
      m_record(values) {}

void TaskRezovovozOnlineSetPlayerProfileInfo::onStart() {
  if (!m_record.isWritable()) {
    setResult(ERRORID_INVALID_INPUT_DATA);
    return;
  }
  TaskRezovovozOnlineBasicProfile::onStart();
}

bdRemoteTaskRef TaskRezovovozOnlineSetPlayerProfileInfo::startRequest(bdProfiles& profiles) {
  return profiles.startTask(m_public ? WRITE_PUBLIC : WRITE_PRIVATE, m_index,
                            bdLobbyArgs().record(&m_record));
}

bool TaskRezovovozOnlineSetPlayerProfileInfo::readAnswer(bdProfiles& profiles,
                                                         const bdRemoteTask& task) {
  return profiles.handleTask(&task, nullptr);
}

void TaskRezovovozOnlineSetPlayerProfileInfo::onRemoved(ERRORID result) {
  if (!m_listener) return;
  if (m_public) {
    m_listener->onSetPublicProfilePropertyValues(getId(), result);
  } else {
    m_listener->onSetPrivateProfilePropertyValues(getId(), result);
  }
}

TaskRezovovozOnlineGetPlayerProfileInfo::TaskRezovovozOnlineGetPlayerProfileInfo(
    AccountServiceListener* listener, std::uint8_t index, bool isPublic, const PlayerID& target)
    : TaskRezovovozOnlineBasicProfile(listener, index, nullptr),
      m_public(isPublic),
      m_target(target) {}

bdRemoteTaskRef TaskRezovovozOnlineGetPlayerProfileInfo::startRequest(bdProfiles& profiles) {
  if (m_public)
    return profiles.startTask(READ_PUBLIC, m_index, bdLobbyArgs().u64(m_target.getId()));
  return profiles.startTask(READ_PRIVATE, m_index);
}

bool TaskRezovovozOnlineGetPlayerProfileInfo::readAnswer(bdProfiles& profiles,
                                                         const bdRemoteTask& task) {
  AccountService* service = AccountService::find();
  if (!service) return false;
  m_record.expect(m_public ? &service->getAllPublicProfilePropertyDefinitions()
                           : &service->getAllPrivateProfilePropertyDefinitions());
  return profiles.handleTask(&task, &m_record);
}

void TaskRezovovozOnlineGetPlayerProfileInfo::onRemoved(ERRORID result) {
  if (!m_listener) return;
  if (result != ERRORID_SUCCEEDED) m_record.values.clear();
  if (m_public) {
    m_listener->onRetrievePublicProfilePropetyValues(getId(), result, m_record.values);
  } else {
    m_listener->onRetrievePrivateProfilePropetyValues(getId(), result, m_record.values);
  }
}

}  // namespace OX_Toolbox
