#pragma once
// Each logged-in local player's inbox of messages from the online service's
// message store: fetched on request, delivered to the message receivers as
// they arrive, kept when the message says so, marked as received and
// deleted on the store, and dropped when the player logs out.
#include <cstdint>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "Modules/Core/Src/Result/ErrorId.h"
#include "Modules/Core/Src/Service.h"
#include "Modules/Core/Src/Tasks/Events.h"

namespace OX_Toolbox {

class AbstractMessage;
class String;
struct ClassTypeInfo;
class PlayerID;

class MessageReceiver {
 public:
  virtual void onMessage(AbstractMessage* message, bool isNew) = 0;

 protected:
  ~MessageReceiver() = default;
};

class MessagingServiceListener {
 public:
  virtual ~MessagingServiceListener() = default;
  virtual void onSynchronizeMessages(std::uint32_t, ERRORID) {}
  virtual void onDeleteMessage(std::uint32_t, ERRORID) {}
};

class MessagingService : public Service, public ToolboxMessageSink {
 public:
  static constexpr const char* kName = "MessagingService";
  // The Lua types of messages a script holds; collecting one destroys it.
  static constexpr const char* kMessageMeta = "Meta.Message";
  static constexpr const char* kInviteMeta = "Meta.SessionInviteMessage";

  // SERVICE_NOT_AVAILABLE without a "NetworkService"; otherwise the
  // registration's result (the new service is destroyed on failure).
  static ERRORID create();
  static MessagingService* find();

  ~MessagingService() override;
  const char* getName() const override { return kName; }
  virtual std::uint32_t synchronizeMessages(MessagingServiceListener* listener, std::uint8_t index,
                                            std::uint32_t first, std::uint32_t count);
  // Appends every inbox message of the index (lent, in arrival order) and
  // returns the inbox size.
  virtual std::size_t getMessages(std::int8_t index, ToolboxVector<AbstractMessage*>& out) const;
  virtual std::uint32_t deleteMessage(MessagingServiceListener* listener, std::uint8_t index,
                                      std::uint64_t id);
  virtual void addMessageReceiver(MessageReceiver* receiver);
  virtual void removeMessageReceiver(MessageReceiver* receiver);

  // Delivery of one message; the message passes to the service.
  void receiveMessage(const String& senderName, AbstractMessage* message, bool isNew);
  void removeInboxMessagesOf(std::uint8_t index);
  void removeInboxMessage(std::uint8_t index, std::uint64_t id);
  // Queues the deletion from the store of every inbox message of the index
  // whose class is `type` and whose sender is `sender`.
  void deleteStoredFrom(const ClassTypeInfo* type, std::uint8_t index, const PlayerID& sender);

  bool onMessage(Event* event) override;  // never handles: others see it too
  LuaForwarder* registerScript(ScriptInterpreter* interpreter) override;

 private:
  struct InboxEntry {
    AbstractMessage* message;
    std::uint8_t index;
  };
  MessagingService();
  void destroyEntry(std::size_t i);

  ToolboxVector<MessageReceiver*> m_receivers;
  ToolboxVector<InboxEntry> m_inbox;
};

}  // namespace OX_Toolbox
