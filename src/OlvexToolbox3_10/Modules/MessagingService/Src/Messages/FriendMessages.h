#pragma once
// The messages of the friend service: mails, session invitations and their
// answers, friendship proposals, answers, revocations and withdrawals,
// presence, blocking and profile notices.
#include "Modules/MessagingService/Src/Messages/AbstractMessage.h"
#include "Modules/Session/Src/Ticket.h"

namespace OX_Toolbox {

// A message with a yes/no flag given by its store type code.
class FlagMessage : public AbstractMessage {
 public:
  std::uint8_t getFlag() const { return m_flag; }
  void setFlag(std::uint8_t flag) { m_flag = flag; }

 private:
  std::uint8_t m_flag = 0;
};

class MailMessage : public AbstractMessage {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  bool isStored() const override { return true; }
  // Further addressees, sent to after the recipient.
  ToolboxVector<PlayerID>& otherRecipients() { return m_otherRecipients; }
  const ToolboxVector<PlayerID>& otherRecipients() const { return m_otherRecipients; }
  std::uint32_t getWord() const { return m_word; }

 private:
  ToolboxVector<PlayerID> m_otherRecipients;
  std::uint32_t m_word = 1;
};

class SessionInviteMessage : public AbstractMessage {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  void onSent() override;
  void onSendFailed(ERRORID) override;
  bool isStored() const override { return true; }
  const Ticket& getTicket() const { return m_ticket; }
  void setTicket(const Ticket& ticket) { m_ticket = ticket; }
  const SessionID& getSessionKey() const { return m_sessionKey; }
  void setSessionKey(const SessionID& key) { m_sessionKey = key; }

 private:
  Ticket m_ticket;
  SessionID m_sessionKey{};
};

class SessionInviteResponseMessage : public FlagMessage {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  void onSent() override;
};

class FriendshipProposalMessage : public AbstractMessage {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  void onReceived() override;
  void onSent() override;
  bool isStored() const override { return true; }
};

class FriendshipProposalResponseMessage : public FlagMessage {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  void onReceived() override;
  void onSent() override;
  void onSendFailed(ERRORID) override;
};

class FriendshipRevokeMessage : public AbstractMessage {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  void onReceived() override;
  void onSent() override;
  void onSendFailed(ERRORID) override;
};

class FriendshipWithdrawProposalMessage : public AbstractMessage {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  void onReceived() override;
  void onSent() override;
  void onSendFailed(ERRORID) override;
};

class FriendPresenceMessage : public FlagMessage {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  void onReceived() override;
};

class FriendBlockMessage : public FlagMessage {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  void onReceived() override;
  void onSent() override;
};

class FriendProfileUpdateMessage : public AbstractMessage {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  void onReceived() override;
};

}  // namespace OX_Toolbox
