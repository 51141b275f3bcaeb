#pragma once
// Profile tasks: each starts one request of the lobby's profiles service and
// reads its answer. Property values travel in a property-list record, value
// by value by kind (32-bit integer, 64-bit integer, 64-bit float, text, byte
// blob), and are read back against the account service's definitions.
#include <cstdint>

#include "Modules/AccountService/Src/Driver/Rezovovoz/AccountService.h"
#include "Modules/Core/Src/Tasks/Task.h"
#include "bdLobbyCommon/bdQueryResult.h"
#include "bdRemoteTaskManager/bdRemoteTask.h"

class bdProfiles;

namespace OX_Toolbox {

class LocalPlayer;

class ProfilePropertyList : public bdSerializable, public bdQueryResult {
 public:
  static constexpr unsigned int kMaxText = 255;
  static constexpr unsigned int kMaxBlob = 4096;

  ProfilePropertyList() = default;
  explicit ProfilePropertyList(const ProfileValues& values) : values(values) {}
  // False when a value has no kind the record can carry.
  bool isWritable() const;
  void serialize(bdBitBuffer& out) const override;
  // Reads one value per definition, of its type, in order.
  void expect(const ProfileDefinitions* definitions) { m_definitions = definitions; }
  bool handleResult(const unsigned int count, bdReference<bdBitBuffer> buffer) override;

  ProfileValues values;

 private:
  const ProfileDefinitions* m_definitions = nullptr;
};

class TaskRezovovozOnlineBasicProfile : public TaskAtomic {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  // player null: the player logged in at the index when the task starts.
  TaskRezovovozOnlineBasicProfile(AccountServiceListener* listener, std::uint8_t index,
                                  LocalPlayer* player)
      : m_listener(listener), m_index(index), m_player(player) {}
  void onStart() override;
  void step(std::uint32_t, bool& ready) override;

 protected:
  virtual bdRemoteTaskRef startRequest(bdProfiles& profiles) = 0;
  // Reads the finished request's answer; false when it cannot be read.
  virtual bool readAnswer(bdProfiles& profiles, const bdRemoteTask& task) = 0;

  AccountServiceListener* m_listener;
  std::uint8_t m_index;
  LocalPlayer* m_player;

 private:
  ERRORID lobbyError(bdProfiles* profiles) const;
  bdRemoteTaskRef m_task;
};

class TaskRezovovozOnlineCheckPlayerProfileExists : public TaskRezovovozOnlineBasicProfile {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  using TaskRezovovozOnlineBasicProfile::TaskRezovovozOnlineBasicProfile;
  bool exists() const { return m_exists; }

 protected:
  bdRemoteTaskRef startRequest(bdProfiles& profiles) override;
  bool readAnswer(bdProfiles& profiles, const bdRemoteTask& task) override;

 private:
  bool m_exists = false;
};

class TaskRezovovozOnlineCreateProfile : public TaskRezovovozOnlineBasicProfile {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  using TaskRezovovozOnlineBasicProfile::TaskRezovovozOnlineBasicProfile;

 protected:
  bdRemoteTaskRef startRequest(bdProfiles& profiles) override;
  bool readAnswer(bdProfiles& profiles, const bdRemoteTask& task) override;

 private:
  ProfilePropertyList m_record;
};

class TaskRezovovozCheckAndCreatePlayerProfile : public TaskSequentialComposite {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozCheckAndCreatePlayerProfile(std::uint8_t index, LocalPlayer* player);
  void onSubTaskFinished(Task* task, ERRORID& result) override;

 private:
  std::uint8_t m_index;
  LocalPlayer* m_player;
};

// Writes the public (4) or private (5) values.
class TaskRezovovozOnlineSetPlayerProfileInfo : public TaskRezovovozOnlineBasicProfile {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozOnlineSetPlayerProfileInfo(AccountServiceListener* listener, std::uint8_t index,
                                          bool isPublic, const ProfileValues& values);
  void onStart() override;  // a value the record cannot carry is refused
  void onRemoved(ERRORID result) override;

 protected:
  bdRemoteTaskRef startRequest(bdProfiles& profiles) override;
  bool readAnswer(bdProfiles& profiles, const bdRemoteTask& task) override;

 private:
  bool m_public;
  ProfilePropertyList m_record;
};

class TaskRezovovozOnlineSetPlayerPublicProfileInfo
    : public TaskRezovovozOnlineSetPlayerProfileInfo {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozOnlineSetPlayerPublicProfileInfo(AccountServiceListener* listener,
                                                std::uint8_t index, const ProfileValues& values)
      : TaskRezovovozOnlineSetPlayerProfileInfo(listener, index, true, values) {}
};

class TaskRezovovozOnlineSetPlayerPrivateProfileInfo
    : public TaskRezovovozOnlineSetPlayerProfileInfo {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozOnlineSetPlayerPrivateProfileInfo(AccountServiceListener* listener,
                                                 std::uint8_t index, const ProfileValues& values)
      : TaskRezovovozOnlineSetPlayerProfileInfo(listener, index, false, values) {}
};

// Reads the public values of a target (2) or the player's private ones (3).
class TaskRezovovozOnlineGetPlayerProfileInfo : public TaskRezovovozOnlineBasicProfile {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozOnlineGetPlayerProfileInfo(AccountServiceListener* listener, std::uint8_t index,
                                          bool isPublic, const PlayerID& target);
  void onRemoved(ERRORID result) override;

 protected:
  bdRemoteTaskRef startRequest(bdProfiles& profiles) override;
  bool readAnswer(bdProfiles& profiles, const bdRemoteTask& task) override;

 private:
  bool m_public;
  PlayerID m_target;
  ProfilePropertyList m_record;
};

class TaskRezovovozOnlineGetPlayerPublicProfileInfo
    : public TaskRezovovozOnlineGetPlayerProfileInfo {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozOnlineGetPlayerPublicProfileInfo(AccountServiceListener* listener,
                                                std::uint8_t index, const PlayerID& target)
      : TaskRezovovozOnlineGetPlayerProfileInfo(listener, index, true, target) {}
};

class TaskRezovovozOnlineGetPlayerPrivateProfileInfo
    : public TaskRezovovozOnlineGetPlayerProfileInfo {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozOnlineGetPlayerPrivateProfileInfo(AccountServiceListener* listener,
                                                 std::uint8_t index)
      : TaskRezovovozOnlineGetPlayerProfileInfo(listener, index, false, PlayerID()) {}
};

}  // namespace OX_Toolbox
