#pragma once
// Mails and clan messages travel as one tagged record ("FMGC" for friend
// mails, "CMGC" for clan messages) in a record list: the record version
// (OX_UINT16 1), the class name (OX_STRING) and the message body. On arrival
// a factory rebuilds the object from its class name. Store records of the
// other kinds become messages by their store type code.
#include <cstdint>

#include "Modules/Core/Src/Types/String.h"

class bdLobbyMessage;

namespace OX_Toolbox {

class AbstractMessage;
class TaggedRecord;

constexpr char kFriendMessageTag[4] = {'F', 'M', 'G', 'C'};
constexpr char kClanMessageTag[4] = {'C', 'M', 'G', 'C'};

// A new object of the named class, or null.
AbstractMessage* CreateMailMessage(const char* className);
AbstractMessage* CreateClanMessage(const char* className);

// Append the message's record to the global record list; false when it
// could not be built.
bool WriteFriendMessageRecord(const AbstractMessage& message);
bool WriteClanMessageRecord(const AbstractMessage& message);

// The message a record holds, or null: a payload that does not begin with
// the version and a class name, a class no factory knows, or a body that
// breaks off or is mistyped yields nothing.
AbstractMessage* ReadFriendMessageRecord(const TaggedRecord& record);
AbstractMessage* ReadClanMessageRecord(const TaggedRecord& record);

// A store record as the message it stands for, with the recipient, sender,
// time and id set from the record; null for a type code that is not a
// friend message or an attachment that holds none. senderName and isNew
// receive the record's sender name and unread state.
AbstractMessage* MessageFromStoreRecord(const bdLobbyMessage& record, String& senderName,
                                        bool& isNew);

}  // namespace OX_Toolbox
