#pragma once
// Messages among the members of a clan: mails and the broadcasts of rank
// changes, ownership transfer and expulsion. They travel as "CMGC" records.
#include "Modules/MessagingService/Src/Messages/AbstractMessage.h"

namespace OX_Toolbox {

class LocalPlayer;

class AbstractClanMessage : public AbstractMessage {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  std::int64_t getClanId() const { return m_clanId; }
  void setClanId(std::int64_t id) { m_clanId = id; }
  const String& getClanName() const { return m_clanName; }
  void setClanName(const String& name) { m_clanName = name; }

 private:
  std::int64_t m_clanId = 0;
  String m_clanName{u""};
};

// The mails' further addressees, and the broadcasts' target and rank.
class ClanMailBase : public AbstractClanMessage {
 public:
  void addOtherRecipient(const PlayerID& player) { m_otherRecipients.push_back(player); }
  const ToolboxVector<PlayerID>& otherRecipients() const { return m_otherRecipients; }
  std::uint32_t getWord() const { return m_word; }
  const PlayerID& getTarget() const { return m_target; }
  void setTarget(const PlayerID& player) { m_target = player; }
  std::uint8_t getRank() const { return m_rank; }
  void setRank(std::uint8_t rank) { m_rank = rank; }

 protected:
  // The broadcasts run their clan hooks only for a logged-in recipient of
  // the same clan, and not on their own sender.
  LocalPlayer* concernedMember() const;

 private:
  ToolboxVector<PlayerID> m_otherRecipients;
  std::uint32_t m_word = 1;
  PlayerID m_target;
  std::uint8_t m_rank = 0;
};

class ClanMemberMailMessage : public ClanMailBase {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  bool isStored() const override { return true; }
};

class ClanAdminMailMessage : public ClanMailBase {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  bool isStored() const override { return true; }
};

class ClanBroadcastTransferOwnershipMessage : public ClanMailBase {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  void onReceived() override;
  std::uint32_t serialize(Blob& blob, std::uint32_t version) const override;
  std::uint32_t deserialize(Blob& blob, std::uint32_t version) override;
  bool isStored() const override { return true; }
};

class ClanBroadcastDemoteMemberMessage : public ClanMailBase {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  void onReceived() override;
  std::uint32_t serialize(Blob& blob, std::uint32_t version) const override;
  std::uint32_t deserialize(Blob& blob, std::uint32_t version) override;
  bool isStored() const override;
};

class ClanBroadcastPromoteMemberMessage : public ClanBroadcastDemoteMemberMessage {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
};

class ClanBroadcastKickMemberMessage : public ClanMailBase {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  void onReceived() override;
  std::uint32_t serialize(Blob& blob, std::uint32_t version) const override;
  std::uint32_t deserialize(Blob& blob, std::uint32_t version) override;
  bool isStored() const override;
};

}  // namespace OX_Toolbox
