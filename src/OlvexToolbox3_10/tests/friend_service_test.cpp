// The friend and messaging services against the test lobby server: requests
// and their answers, mails, invitations, the inbox, and the lists each local
// player keeps, with bob answering from a lobby client of his own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Modules/Core/Src/Records/RecordList.h"
#include "Modules/FriendService/Src/FriendService.h"
#include "Modules/FriendService/Src/PlayerLists.h"
#include "Modules/MessagingService/Src/MessagingService.h"
#include "Modules/MessagingService/Src/Messages/FriendMessages.h"
#include "Modules/MessagingService/Src/Messages/MessageEvents.h"
#include "Modules/MessagingService/Src/Messages/MessageRecords.h"
#include "services_test_support.h"

using namespace OX_Toolbox;

namespace {

struct Outcome {
  std::string event;
  std::uint32_t task;
  ERRORID result;
};

class RecordingFriends : public FriendServiceListener {
 public:
  void onSendFriendshipRequest(std::uint32_t t, ERRORID r) override { add("request", t, r); }
  void onSendFriendshipRequestReply(std::uint32_t t, ERRORID r) override { add("reply", t, r); }
  void onSynchronizeFriends(std::uint32_t t, ERRORID r) override { add("friends", t, r); }
  void onSynchronizeSentFriendshipRequests(std::uint32_t t, ERRORID r) override {
    add("sent", t, r);
  }
  void onRemoveFriend(std::uint32_t t, ERRORID r) override { add("remove", t, r); }
  void onBlockFriend(std::uint32_t t, ERRORID r) override { add("block", t, r); }
  void onSendFriendMessage(std::uint32_t t, ERRORID r) override { add("mail", t, r); }
  void onInvitePlayerToSession(std::uint32_t t, ERRORID r) override { add("invite", t, r); }
  void onForwardInvitation(std::uint32_t t, ERRORID r) override { add("forward", t, r); }
  void add(const char* e, std::uint32_t t, ERRORID r) { log.push_back({e, t, r}); }
  std::vector<Outcome> log;
};

class RecordingReceiver : public MessageReceiver {
 public:
  void onMessage(AbstractMessage* m, bool isNew) override {
    types.push_back(m->getType()->name);
    fresh.push_back(isNew);
  }
  std::vector<std::string> types;
  std::vector<bool> fresh;
};

class FriendServiceTest : public toolbox_test::ServicesFixture {
 protected:
  void SetUp() override {
    ServicesFixture::SetUp();
    ASSERT_EQ(MessagingService::create(), ERRORID_SUCCEEDED);
    ASSERT_EQ(FriendService::create(), ERRORID_SUCCEEDED);
    friends = FriendService::find();
    messaging = MessagingService::find();
    messaging->addMessageReceiver(&receiver);
  }
  void TearDown() override {
    if (messaging) messaging->removeMessageReceiver(&receiver);
    ServicesFixture::TearDown();
  }
  LocalPlayer* me() { return core->getLocalPlayer(0); }
  std::size_t inbox() {
    ToolboxVector<AbstractMessage*> out;
    messaging->getMessages(0, out);
    return out.size();
  }
  bool awaitEvent(const char* name) {
    return until([&] {
      for (const Outcome& o : listener.log) {
        if (o.event == name) return true;
      }
      return false;
    });
  }

  FriendService* friends = nullptr;
  MessagingService* messaging = nullptr;
  RecordingFriends listener;
  RecordingReceiver receiver;
};

TEST_F(FriendServiceTest, CreationNeedsTheServiceBelow) {
  EXPECT_EQ(FriendService::create(), ERRORID_FAILED);  // already registered
  EXPECT_EQ(MessagingService::create(), ERRORID_FAILED);
}

TEST_F(FriendServiceTest, AnAcceptedProposalMakesFriendsOnBothSides) {
  const std::uint32_t id = friends->sendFriendshipRequest(&listener, 0, bobId());
  ASSERT_NE(id, 0u);
  ASSERT_TRUE(awaitEvent("request"));
  EXPECT_EQ(listener.log[0].task, id);
  EXPECT_EQ(listener.log[0].result, ERRORID_SUCCEEDED);
  EXPECT_TRUE(PlayerListContains(me(), LIST_REQUESTS_SENT, bobId()));

  // bob hears of it as a proposal from ann
  ASSERT_TRUE(until([&] { return bob->getMessaging()->getMessageCount() == 1; }));
  EXPECT_EQ(bob->getMessaging()->getMessage(0)->m_type, 1u);
  ASSERT_TRUE(bobDoes(2, bdLobbyArgs().u64(kAnn)));  // bob accepts
  ASSERT_TRUE(until([&] { return friends->getFriends(0).size() == 1; }));
  EXPECT_EQ(friends->getFriends(0)[0], bobId());
  EXPECT_TRUE(friends->getSentFriendshipRequests(0).empty());
  EXPECT_EQ(friends->getMessageSenders(0).size(), 1u);
  // The answer is not kept: it reached the receiver and left the inbox.
  EXPECT_EQ(receiver.types, std::vector<std::string>{"FriendshipProposalResponseMessage"});
  EXPECT_EQ(inbox(), 0u);

  // Asking again is refused by the server and reported, lists unchanged.
  friends->sendFriendshipRequest(&listener, 0, bobId());
  ASSERT_TRUE(until([&] { return listener.log.size() == 2; }));
  EXPECT_EQ(listener.log[1].result, ERRORID_FRIENDSHIP_EXISTS);
  EXPECT_EQ(friends->getFriends(0).size(), 1u);
}

TEST_F(FriendServiceTest, AReceivedProposalWaitsInTheInboxUntilAnswered) {
  ASSERT_TRUE(bobDoes(1, bdLobbyArgs().u64(kAnn).buffer(nullptr)));
  ASSERT_TRUE(until([&] { return inbox() == 1; }));
  EXPECT_EQ(friends->getReceivedFriendshipRequests(0), ToolboxVector<PlayerID>{bobId()});
  ASSERT_EQ(receiver.fresh, std::vector<bool>{true});
  ASSERT_TRUE(idle());  // marked as received on the store

  friends->sendFriendshipRequestReply(&listener, 0, bobId(), true);
  ASSERT_TRUE(awaitEvent("reply"));
  EXPECT_EQ(listener.log[0].result, ERRORID_SUCCEEDED);
  ASSERT_TRUE(until([&] { return inbox() == 0 && core->getTaskManager()->isIdle(); }));
  EXPECT_EQ(friends->getFriends(0), ToolboxVector<PlayerID>{bobId()});
  EXPECT_TRUE(friends->getReceivedFriendshipRequests(0).empty());
  // The store no longer holds the proposal: a fetch brings back nothing.
  messaging->synchronizeMessages(nullptr, 0, 0, 100);
  ASSERT_TRUE(idle());
  EXPECT_EQ(inbox(), 0u);
}

TEST_F(FriendServiceTest, SynchronisingFillsFriendsBlockedPlayersAndSentRequests) {
  ASSERT_TRUE(bobDoes(1, bdLobbyArgs().u64(kAnn).buffer(nullptr)));
  server->getStore().addUser(3, "cid");
  friends->sendFriendshipRequestReply(nullptr, 0, bobId(), true);
  friends->blockFriend(&listener, 0, PlayerID(CONNECTIONTYPE_ONLINE, 3), true);
  friends->sendFriendshipRequest(nullptr, 0, PlayerID(CONNECTIONTYPE_ONLINE, 4));
  ASSERT_TRUE(idle());
  // Forget what the hooks learnt; the server's lists bring it back.
  me()->getCacheStore()->findCachedObject(LIST_FRIENDS, 0)->remove(bobId());
  me()->getCacheStore()->findCachedObject(LIST_BLOCKED, 0)->remove(PlayerID(2, 3));
  me()->getCacheStore()->findCachedObject(LIST_REQUESTS_SENT, 0)->remove(PlayerID(2, 4));
  friends->synchronizeFriends(&listener, 0);
  friends->synchronizeSentFriendshipRequests(&listener, 0);
  ASSERT_TRUE(awaitEvent("friends") && awaitEvent("sent"));
  EXPECT_EQ(friends->getFriends(0), ToolboxVector<PlayerID>{bobId()});
  EXPECT_EQ(friends->getBlockedPlayers(0), ToolboxVector<PlayerID>{PlayerID(2, 3)});
  EXPECT_EQ(friends->getSentFriendshipRequests(0), ToolboxVector<PlayerID>{PlayerID(2, 4)});
  // bob is online on the lobby: his record carries the online bit.
  ASSERT_NE(core->findLocalPlayer(bobId()), nullptr);
}

TEST_F(FriendServiceTest, AMailReachesEachAddresseeInOrder) {
  server->getStore().addUser(3, "cid");
  auto* mail = new MailMessage();
  mail->setRecipient(bobId());
  mail->otherRecipients().push_back(PlayerID(CONNECTIONTYPE_ONLINE, 3));
  mail->setText(String(u"Good game!"));
  ASSERT_NE(friends->sendFriendMailMessage(&listener, 0, mail), 0u);
  ASSERT_TRUE(awaitEvent("mail"));
  EXPECT_EQ(listener.log[0].result, ERRORID_SUCCEEDED);
  // The store holds one copy for each addressee, from ann, as a mail record.
  for (std::uint64_t to : {kBob, std::uint64_t{3}}) {
    ASSERT_EQ(server->getStore().mailbox(to).size(), 1u) << to;
    const lobbyserver::PushMessage& kept = server->getStore().mailbox(to)[0];
    bdReference<bdLobbyUserBufferMessage> record(new bdLobbyUserBufferMessage(kept.type));
    record->m_id1 = to;
    record->m_user.m_id = kept.user.id;
    record->m_payload = new bdByteBuffer(static_cast<unsigned int>(kept.data.size()));
    record->m_payload->write(kept.data.data(), static_cast<unsigned int>(kept.data.size()));
    String name;
    bool isNew = false;
    std::unique_ptr<AbstractMessage> got(MessageFromStoreRecord(*record, name, isNew));
    ASSERT_NE(got, nullptr);
    EXPECT_TRUE(got->getText().equalsWide(u"Good game!"));
    EXPECT_EQ(got->getSender(), ann());
    EXPECT_LT(server->getStore().mailbox(kBob)[0].id2, server->getStore().mailbox(3)[0].id2);
  }
}

TEST_F(FriendServiceTest, OperationsWithoutALoggedInPlayerOrTheRightClassAnswerAtOnce) {
  auto* mail = new MailMessage();
  EXPECT_EQ(friends->sendFriendMailMessage(&listener, 1, mail), 0u);
  FriendshipRevokeMessage notAMail;
  EXPECT_EQ(friends->sendFriendMailMessage(&listener, 0, &notAMail), 0u);
  EXPECT_EQ(friends->sendFriendshipRequest(&listener, 2, bobId()), 0u);
  EXPECT_EQ(friends->invitePlayerToSession(&listener, 3, bobId()), 0u);
  ASSERT_EQ(listener.log.size(), 4u);
  for (const Outcome& o : listener.log) {
    EXPECT_EQ(o.task, 0u) << o.event;
    EXPECT_EQ(o.result, ERRORID_FAILED) << o.event;
  }
  EXPECT_TRUE(friends->getReceivedFriendshipRequests(1).empty());
  delete mail;  // refused: still the caller's
}

TEST_F(FriendServiceTest, InviteesWaitForASessionAndAFullListDropsTheOldest) {
  for (std::uint64_t i = 100; i < 133; ++i)
    EXPECT_EQ(friends->invitePlayerToSession(&listener, 0, PlayerID(2, i)), 0u);
  const ToolboxVector<PlayerID> invitees = friends->getInvitees(0);
  ASSERT_EQ(invitees.size(), 32u);
  EXPECT_EQ(invitees.front(), PlayerID(2, 101));
  EXPECT_TRUE(listener.log.empty());
  friends->removeInvitee(0, PlayerID(2, 120));
  EXPECT_EQ(friends->getInvitees(0).size(), 31u);
}

TEST_F(FriendServiceTest, TasksFailWithoutTheOnlineConnection) {
  SetConnectionTypeQuery([](Service*) { return std::int32_t{CONNECTIONTYPE_LAN}; });
  friends->sendFriendshipRequest(&listener, 0, bobId());
  ASSERT_TRUE(awaitEvent("request"));
  EXPECT_EQ(listener.log[0].result, ERRORID_CONNECTION_FAILURE);
  EXPECT_TRUE(friends->getSentFriendshipRequests(0).empty());
}

TEST_F(FriendServiceTest, AnInvitationIsKeptUntilItsForwardedCopyWentOut) {
  Ticket ticket;
  ticket.first = String(u"host");
  ticket.key = SessionID{1, 2, 3, 4, 5, 6, 7, 8};
  Blob form;
  ticket.serialize(form);
  // The request only points at the buffer: the reference frees it.
  bdReference<bdByteBuffer> bytes(new bdByteBuffer(form.getSize()));
  bytes->write(form.getData(), form.getSize());
  ASSERT_TRUE(bobDoes(8, bdLobbyArgs().u64(kAnn).blob8(ticket.key.data()).buffer(bytes.get())));
  ASSERT_TRUE(until([&] { return inbox() == 1; }));
  ToolboxVector<AbstractMessage*> held;
  messaging->getMessages(0, held);
  auto* invite = static_cast<SessionInviteMessage*>(held[0]);
  EXPECT_TRUE(invite->getTicket() == ticket);
  EXPECT_EQ(invite->getSessionKey(), ticket.key);

  // cid has blocked ann: the copy is refused and the invitation stays.
  server->getStore().addUser(3, "cid");
  bdLobbyServiceImpl cid;
  ASSERT_TRUE(connect(cid, 3, "cid"));
  bdRemoteTaskRef t = cid.getFriends()->startTask(6, 0, bdLobbyArgs().u64(kAnn).u8(1));
  ASSERT_TRUE(until([&] {
    cid.getStatus();
    return t->getStatus() != bdRemoteTask::BD_PENDING;
  }));
  t->reset();
  friends->forwardInvitation(&listener, 0, PlayerID(2, 3), invite);
  ASSERT_TRUE(awaitEvent("forward"));
  EXPECT_NE(listener.log[0].result, ERRORID_SUCCEEDED);
  ASSERT_TRUE(idle());
  EXPECT_EQ(inbox(), 1u);

  // To bob it goes out, and then the received one is deleted.
  friends->forwardInvitation(&listener, 0, bobId(), invite);
  ASSERT_TRUE(until([&] { return listener.log.size() == 2; }));
  EXPECT_EQ(listener.log[1].result, ERRORID_SUCCEEDED);
  ASSERT_TRUE(until([&] { return inbox() == 0 && core->getTaskManager()->isIdle(); }));
  cid.disconnect();
}

// Store records posted straight to the core, as the network service does.
void post(ToolboxCore* core, bdLobbyMessage* record) {
  core->getEventManager()->queueEvent(
      new EventRezovovozMessageStore(bdReference<bdLobbyMessage>(record)));
}

bdLobbyUserMessage* record(unsigned int type, std::uint64_t to, std::uint64_t id) {
  auto* m = new bdLobbyUserMessage(type);
  m->m_id1 = to;
  m->m_id2 = id;
  m->m_user.m_id = 2;
  std::snprintf(m->m_user.m_name, sizeof m->m_user.m_name, "bob");
  return m;
}

TEST_F(FriendServiceTest, TheInboxKeepsOneCopyAndDropsWhatIsNotStored) {
  post(core, record(1, kAnn, 5001));
  post(core, record(1, kAnn, 5001));             // the same message twice
  post(core, record(9, kAnn, 5002));             // presence: delivered, not kept
  post(core, record(1, 77, 5003));               // for nobody logged in here
  auto* mail = new bdLobbyUserBufferMessage(8);  // a mail whose record is garbage
  mail->m_id1 = kAnn;
  mail->m_payload = new bdByteBuffer(5);
  mail->m_payload->write("\x01\0\0\0F", 5);
  post(core, mail);
  core->update(0);
  EXPECT_EQ(receiver.types,
            (std::vector<std::string>{"FriendshipProposalMessage", "FriendPresenceMessage"}));
  EXPECT_EQ(inbox(), 1u);
  EXPECT_EQ(friends->getReceivedFriendshipRequests(0).size(), 1u);

  // Logging out empties that player's inbox only.
  auto* other = new LocalPlayer(1);
  other->setPlayerID(PlayerID(CONNECTIONTYPE_ONLINE, 9));
  ASSERT_TRUE(core->addLocalPlayerObject(&other));
  post(core, record(1, 9, 6001));
  core->update(0);
  ToolboxVector<AbstractMessage*> second;
  EXPECT_EQ(messaging->getMessages(1, second), 2u);
  EXPECT_EQ(second.size(), 1u);
  core->raiseLoginLogoutEvent(me(), false, 0);
  core->update(0);
  EXPECT_EQ(inbox(), 0u);
  second.clear();
  messaging->getMessages(1, second);
  EXPECT_EQ(second.size(), 1u);
}

}  // namespace
