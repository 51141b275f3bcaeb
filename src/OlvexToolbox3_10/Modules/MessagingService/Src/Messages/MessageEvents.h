#pragma once
// Events of the message traffic: a record of the online service's message
// store handed to the core's message sinks, and a friend's profile change.
#include <cstdint>

#include "Modules/Core/Src/Tasks/Object.h"
#include "Modules/Core/Src/Types/PlayerID.h"
#include "bdCore/bdContainers/bdReference.h"
#include "bdLobbyCommon/bdLobbyMessage.h"

namespace OX_Toolbox {

class EventRezovovozMessageStore : public Event {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  explicit EventRezovovozMessageStore(bdReference<bdLobbyMessage> record) : m_record(record) {}
  const bdReference<bdLobbyMessage>& getRecord() const { return m_record; }

 private:
  bdReference<bdLobbyMessage> m_record;
};

class EventFriendProfileUpdate : public Event {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  EventFriendProfileUpdate(std::uint8_t index, const PlayerID& sender)
      : localIndex(index), sender(sender) {}
  std::uint8_t localIndex;
  PlayerID sender;
};

}  // namespace OX_Toolbox
