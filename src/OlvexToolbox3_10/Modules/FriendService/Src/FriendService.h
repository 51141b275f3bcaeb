#pragma once
// Friends, blocked players, friendship requests, session invitations and
// mails of the logged-in local players. Each operation builds a message (or
// none, for the fetches), queues a task over the lobby's friends service and
// returns its id; the outcome reaches the caller's listener later. What is
// learnt is kept in the local players' lists; the service also turns the
// message store's records into messages for the messaging service.
#include <cstdint>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "Modules/Core/Src/Result/ErrorId.h"
#include "Modules/Core/Src/Service.h"
#include "Modules/Core/Src/Tasks/Events.h"
#include "Modules/Core/Src/Types/PlayerID.h"
#include "Modules/Session/Src/SessionTypes.h"

namespace OX_Toolbox {

class AbstractMessage;
class SessionInviteMessage;
class Ticket;

class FriendServiceListener {
 public:
  virtual ~FriendServiceListener() = default;
  virtual void onSynchronizeFriends(std::uint32_t, ERRORID) {}
  virtual void onSynchronizeSentFriendshipRequests(std::uint32_t, ERRORID) {}
  virtual void onSynchronizeReceivedFriendshipRequests(std::uint32_t, ERRORID) {}
  virtual void onSendFriendshipRequest(std::uint32_t, ERRORID) {}
  virtual void onSendFriendshipRequestReply(std::uint32_t, ERRORID) {}
  virtual void onCancelFriendshipRequest(std::uint32_t, ERRORID) {}
  virtual void onRemoveFriend(std::uint32_t, ERRORID) {}
  virtual void onBlockFriend(std::uint32_t, ERRORID) {}
  virtual void onInvitePlayerToSession(std::uint32_t, ERRORID) {}
  virtual void onSendSessionInviteReply(std::uint32_t, ERRORID) {}
  virtual void onForwardInvitation(std::uint32_t, ERRORID) {}
  virtual void onSendFriendMessage(std::uint32_t, ERRORID) {}
};

// A listener event, by the operation it answers.
using FriendEvent = void (FriendServiceListener::*)(std::uint32_t, ERRORID);

// Asks the matchmaking side for a ticket of one private slot of the open
// session, for a local player index; false when none is left.
using PrivateSlotQuery = bool (*)(std::uint8_t index, Ticket& ticket, SessionID& key);
void SetPrivateSlotQuery(PrivateSlotQuery query);

class FriendService : public Service, public ToolboxMessageSink {
 public:
  static constexpr const char* kName = "FriendService";

  // SERVICE_NOT_AVAILABLE without a "MessagingService"; otherwise the
  // registration's result (the new service is destroyed on failure).
  static ERRORID create();
  static FriendService* find();

  ~FriendService() override;
  const char* getName() const override { return kName; }

  virtual ToolboxVector<PlayerID> getMessageSenders(std::uint8_t index) const;
  virtual std::uint32_t synchronizeFriends(FriendServiceListener* listener, std::uint8_t index);
  virtual ToolboxVector<PlayerID> getFriends(std::uint8_t index) const;
  virtual std::uint32_t synchronizeSentFriendshipRequests(FriendServiceListener* listener,
                                                          std::uint8_t index);
  virtual ToolboxVector<PlayerID> getSentFriendshipRequests(std::uint8_t index) const;
  virtual ToolboxVector<PlayerID> getReceivedFriendshipRequests(std::uint8_t index) const;
  // The message passes to the service whatever the outcome.
  virtual std::uint32_t sendFriendMailMessage(FriendServiceListener* listener, std::uint8_t index,
                                              AbstractMessage* message);
  virtual std::uint32_t sendFriendshipRequest(FriendServiceListener* listener, std::uint8_t index,
                                              const PlayerID& player);
  virtual std::uint32_t sendFriendshipRequestReply(FriendServiceListener* listener,
                                                   std::uint8_t index, const PlayerID& player,
                                                   bool accept);
  virtual std::uint32_t cancelFriendshipRequest(FriendServiceListener* listener, std::uint8_t index,
                                                const PlayerID& player);
  virtual std::uint32_t removeFriend(FriendServiceListener* listener, std::uint8_t index,
                                     const PlayerID& player);
  virtual std::uint32_t blockFriend(FriendServiceListener* listener, std::uint8_t index,
                                    const PlayerID& player, bool block);
  virtual ToolboxVector<PlayerID> getBlockedPlayers(std::uint8_t index) const;
  virtual std::uint32_t invitePlayerToSession(FriendServiceListener* listener, std::uint8_t index,
                                              const PlayerID& player);
  virtual void removeInvitee(std::uint8_t index, const PlayerID& player);
  virtual std::uint32_t sendSessionInviteReply(FriendServiceListener* listener, std::uint8_t index,
                                               const PlayerID& player, std::uint64_t sessionId,
                                               bool accept);
  virtual ToolboxVector<PlayerID> getInvitees(std::uint8_t index) const;
  virtual std::uint32_t forwardInvitation(FriendServiceListener* listener, std::uint8_t index,
                                          const PlayerID& player,
                                          const SessionInviteMessage* invitation);
  std::uint32_t retrieveFriendOnlineStatus(FriendServiceListener* listener, std::uint8_t index,
                                           const PlayerID& player);
  // The host flow: invites every player of the index's list 5, in order.
  void sendPendingInvitations(std::uint8_t index);

  bool onMessage(Event* event) override;
  LuaForwarder* registerScript(ScriptInterpreter* interpreter) override;

 private:
  FriendService();
  // The player's message, sent; 0 (and the failure event at once) when the
  // index has no logged-in player.
  std::uint32_t sendNew(FriendServiceListener* listener, std::uint8_t index,
                        AbstractMessage* message, const PlayerID& player, FriendEvent event);
};

}  // namespace OX_Toolbox
