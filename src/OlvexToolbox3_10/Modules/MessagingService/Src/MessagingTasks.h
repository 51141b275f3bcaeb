#pragma once
// The messaging service's lobby requests: fetch a player's stored messages,
// delete one, mark one as received.
#include <cstdint>

#include "Modules/Services/Src/LobbyTask.h"

namespace OX_Toolbox {

class MessagingServiceListener;

class TaskRezovovozOnlineBasicMessaging : public TaskLobbyRequest {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }

 protected:
  TaskRezovovozOnlineBasicMessaging(MessagingServiceListener* listener, std::uint8_t index)
      : m_listener(listener), m_index(index) {}
  ERRORID replyResult();

  MessagingServiceListener* m_listener;
  std::uint8_t m_index;
};

class TaskRezovovozOnlineRetrieveMessages : public TaskRezovovozOnlineBasicMessaging {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozOnlineRetrieveMessages(MessagingServiceListener* listener, std::uint8_t index,
                                      std::uint32_t first, std::uint32_t count)
      : TaskRezovovozOnlineBasicMessaging(listener, index), m_first(first), m_count(count) {}

 protected:
  ERRORID startRequest() override;
  ERRORID readReply() override { return replyResult(); }
  void notify(ERRORID result) override;

 private:
  std::uint32_t m_first;
  std::uint32_t m_count;
};

class TaskRezovovozOnlineDeleteMessage : public TaskRezovovozOnlineBasicMessaging {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozOnlineDeleteMessage(MessagingServiceListener* listener, std::uint8_t index,
                                   std::uint64_t id)
      : TaskRezovovozOnlineBasicMessaging(listener, index), m_id(id) {}

 protected:
  ERRORID startRequest() override;
  ERRORID readReply() override;
  void notify(ERRORID result) override;

 private:
  std::uint64_t m_id;
};

class TaskRezovovozOnlineMarkMessageAsReceived : public TaskRezovovozOnlineBasicMessaging {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozOnlineMarkMessageAsReceived(std::uint8_t index, std::uint64_t id)
      : TaskRezovovozOnlineBasicMessaging(nullptr, index), m_id(id) {}

 protected:
  ERRORID startRequest() override;
  ERRORID readReply() override { return replyResult(); }

 private:
  std::uint64_t m_id;
};

}  // namespace OX_Toolbox
