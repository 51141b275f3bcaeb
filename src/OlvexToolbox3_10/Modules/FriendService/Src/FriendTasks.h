#pragma once
// The friend service's tasks over the lobby's friends service: the fetches
// of friends, blocked players and sent requests, and one send task per
// message class. A send task owns its message and runs its sent or
// send-failed hook when it ends.
#include <cstdint>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "Modules/Core/Src/Types/PlayerID.h"
#include "Modules/FriendService/Src/FriendService.h"
#include "Modules/Services/Src/LobbyTask.h"
#include "bdLobbyCommon/bdLobbyCatalogue.h"

namespace OX_Toolbox {

class AbstractMessage;
class SessionInviteMessage;

class TaskRezovovozOnlineBaseFriend : public TaskLobbyRequest {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }

 protected:
  TaskRezovovozOnlineBaseFriend(FriendServiceListener* listener, std::uint8_t index,
                                FriendEvent event)
      : m_listener(listener), m_index(index), m_event(event) {}
  void notify(ERRORID result) override;
  // Starts friends request `task` with the index alone.
  ERRORID startList(unsigned char task);

  FriendServiceListener* m_listener;
  std::uint8_t m_index;
  FriendEvent m_event;
};

class TaskRezovovozOnlineRetrieveFriends : public TaskRezovovozOnlineBaseFriend {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozOnlineRetrieveFriends(FriendServiceListener* listener, std::uint8_t index);

 protected:
  ERRORID startRequest() override { return startList(5); }
  ERRORID readReply() override;

 private:
  struct Entry {
    std::uint64_t id;
    char name[64];
    bool online;
  };
  int m_phase = 0;
  ToolboxVector<Entry> m_friends;
};

class TaskRezovovozOnlineRetrieveFriendshipRequests : public TaskRezovovozOnlineBaseFriend {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozOnlineRetrieveFriendshipRequests(FriendServiceListener* listener,
                                                std::uint8_t index);

 protected:
  ERRORID startRequest() override { return startList(19); }
  ERRORID readReply() override;
};

class TaskRezovovozOnlineRetrieveFriendOnlineStatus : public TaskRezovovozOnlineBaseFriend {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozOnlineRetrieveFriendOnlineStatus(std::uint8_t index, const PlayerID& player)
      : TaskRezovovozOnlineBaseFriend(nullptr, index, nullptr), m_player(player) {}

 protected:
  ERRORID startRequest() override { return startList(5); }
  ERRORID readReply() override;

 private:
  PlayerID m_player;
};

class TaskRezovovozOnlineBasicSendFriendMessage : public TaskLobbyRequest {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  ~TaskRezovovozOnlineBasicSendFriendMessage() override;

  // The send task for the message's class; null for a class no task sends
  // (the message is then destroyed).
  static TaskRezovovozOnlineBasicSendFriendMessage* create(FriendServiceListener* listener,
                                                           std::uint8_t index,
                                                           AbstractMessage* message,
                                                           FriendEvent event);

 protected:
  TaskRezovovozOnlineBasicSendFriendMessage(FriendServiceListener* listener, std::uint8_t index,
                                            AbstractMessage* message, FriendEvent event)
      : m_index(index), m_message(message), m_listener(listener), m_event(event) {}
  ERRORID startRequest() override;
  ERRORID readReply() override;
  void notify(ERRORID result) override;
  // The class this task sends, and its request after the index and user id.
  virtual const ClassTypeInfo* messageClass() const = 0;
  virtual unsigned char requestTask() const = 0;
  virtual void addArguments(bdLobbyArgs&) const {}
  ERRORID beginRequest(std::uint64_t userId);

  std::uint8_t m_index;
  AbstractMessage* m_message;
  FriendServiceListener* m_listener;
  FriendEvent m_event;
};

class TaskRezovovozOnlineSendMailMessage : public TaskRezovovozOnlineBasicSendFriendMessage {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozOnlineSendMailMessage(FriendServiceListener* listener, std::uint8_t index,
                                     AbstractMessage* message, FriendEvent event)
      : TaskRezovovozOnlineBasicSendFriendMessage(listener, index, message, event) {}

 protected:
  ERRORID startRequest() override;
  ERRORID readReply() override;
  const ClassTypeInfo* messageClass() const override;
  unsigned char requestTask() const override { return 12; }

 private:
  ERRORID sendNext();
  std::size_t m_next = 0;
  ToolboxVector<PlayerID> m_addressees;
};

class TaskRezovovozOnlineForwardInvitation : public TaskSequentialComposite {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozOnlineForwardInvitation(FriendServiceListener* listener, std::uint8_t index,
                                       const PlayerID& player,
                                       const SessionInviteMessage* invitation);
  ~TaskRezovovozOnlineForwardInvitation() override;
  void onStart() override;
  void onSubTaskFinished(Task* sub, ERRORID& code) override;
  void onRemoved(ERRORID result) override;

 private:
  FriendServiceListener* m_listener;
  SessionInviteMessage* m_invitation;  // a copy of what to forward
  std::uint64_t m_invitationId;
  PlayerID m_player;
  std::uint8_t m_index;
};

}  // namespace OX_Toolbox
