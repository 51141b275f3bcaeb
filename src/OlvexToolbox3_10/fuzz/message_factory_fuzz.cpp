// Runs the mail and clan record readers, and the store attachment path of a
// mail, over arbitrary bytes: nothing may read outside the data, and a
// message read whole is written and read back with the same fields.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "Modules/Core/Src/Records/RecordList.h"
#include "Modules/Core/Src/Types/Blob.h"
#include "Modules/MessagingService/Src/Messages/AbstractMessage.h"
#include "Modules/MessagingService/Src/Messages/MessageRecords.h"
#include "bdCore/bdCore.h"
#include "bdLobbyCommon/bdLobbyMessage.h"

using namespace OX_Toolbox;

namespace {

void roundTrip(const AbstractMessage& m, bool clan) {
  RecordList* list = GlobalRecordList();
  list->clear();
  if (!(clan ? WriteClanMessageRecord(m) : WriteFriendMessageRecord(m))) std::abort();
  std::unique_ptr<AbstractMessage> back(clan ? ReadClanMessageRecord(*list->at(0))
                                             : ReadFriendMessageRecord(*list->at(0)));
  if (!back || back->getType() != m.getType() || back->getMessageId() != m.getMessageId() ||
      back->getSender() != m.getSender() || back->getRecipient() != m.getRecipient())
    std::abort();
  list->clear();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 65536) return 0;
  static RecordList* list = [] {
    bdCore::init(true);
    auto* l = new RecordList();
    SetGlobalRecordList(l);
    return l;
  }();
  const auto n = static_cast<std::uint32_t>(size);
  for (const char* tag : {kFriendMessageTag, kClanMessageTag}) {
    std::unique_ptr<TaggedRecord> record(TaggedRecord::create(tag, data, n));
    if (!record) continue;
    const bool clan = tag == kClanMessageTag;
    std::unique_ptr<AbstractMessage> m(clan ? ReadClanMessageRecord(*record)
                                            : ReadFriendMessageRecord(*record));
    if (m) roundTrip(*m, clan);
  }
  // The same bytes as a store record's attachment (a record list).
  bdReference<bdLobbyUserBufferMessage> mail(new bdLobbyUserBufferMessage(8));
  mail->m_payload = new bdByteBuffer(n);
  if (n) mail->m_payload->write(data, n);
  String name;
  bool isNew = false;
  std::unique_ptr<AbstractMessage> fromStore(MessageFromStoreRecord(*mail, name, isNew));
  list->clear();
  return 0;
}
