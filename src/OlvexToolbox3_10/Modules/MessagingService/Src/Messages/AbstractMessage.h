#pragma once
// Player-to-player messages: friendship traffic, presence and profile
// notices, session invitations, mails and clan messages. A message arrives
// from the online service's message store or is built by a service
// operation; hooks keep the players' lists in step when it is received, sent
// or refused. The body travels as typed values in a Blob.
#include <cstdint>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "Modules/Core/Src/Result/ErrorId.h"
#include "Modules/Core/Src/Tasks/Object.h"
#include "Modules/Core/Src/Types/PlayerID.h"
#include "Modules/Core/Src/Types/String.h"

namespace OX_Toolbox {

class Blob;

class Message : public Object {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
};

class AbstractMessage : public Message {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }

  AbstractMessage() = default;
  ~AbstractMessage() override;
  AbstractMessage(const AbstractMessage&) = delete;
  AbstractMessage& operator=(const AbstractMessage&) = delete;

  virtual void setText(const String& text) { m_text = text; }
  virtual const String& getText() const { return m_text; }
  virtual void addRecipient(PlayerID* player);  // owned; null ignored
  virtual void removeRecipient(std::size_t index);
  virtual const ToolboxVector<PlayerID*>& getRecipients() const { return m_recipients; }
  virtual bool hasRecipients() const { return !m_recipients.empty(); }
  virtual bool isNew() const { return m_isNew; }
  virtual void markAsRead() { m_isNew = false; }
  virtual const String& getSubject() const { return m_subject; }
  virtual void setSubject(const String& subject) { m_subject = subject; }
  virtual void setMessageId(std::uint64_t id) { m_messageId = id; }
  virtual std::uint64_t getMessageId() const { return m_messageId; }
  virtual void setRecipient(const PlayerID& player) { m_recipient = player; }
  virtual const PlayerID& getRecipient() const { return m_recipient; }
  virtual void setSender(const PlayerID& player) { m_sender = player; }
  virtual const PlayerID& getSender() const { return m_sender; }
  virtual void setTimestamp(std::int64_t t) { m_timestamp = t; }
  virtual std::int64_t getTimestamp() const { return m_timestamp; }
  virtual void onReceived() {}
  virtual void onSent() {}
  virtual void onSendFailed(ERRORID) {}
  // Version 1 writes or reads this class's fields; any other version touches
  // nothing. Both return the version minus 1. A body that does not read
  // whole leaves every field as it was and sets the blob's error.
  virtual std::uint32_t serialize(Blob& blob, std::uint32_t version) const;
  virtual std::uint32_t deserialize(Blob& blob, std::uint32_t version);
  virtual bool isStored() const { return false; }

  // True once a deserialize of this object met a short or mistyped body.
  bool readFailed() const { return m_readFailed; }

 protected:
  void setReadFailed() { m_readFailed = true; }

 private:
  bool m_readFailed = false;
  ToolboxVector<PlayerID*> m_recipients;
  PlayerID m_recipient;
  String m_subject{u""};
  PlayerID m_sender;
  std::uint64_t m_messageId = 0;
  bool m_isNew = true;
  std::int64_t m_timestamp = 0;
  String m_text{u""};
};

// Appends a PlayerID's blob form at the blob's end.
bool WritePlayerID(Blob& blob, const PlayerID& player);
// Reads one with type checks; false (player unchanged) otherwise.
bool ReadPlayerID(Blob& blob, PlayerID& player);

}  // namespace OX_Toolbox
