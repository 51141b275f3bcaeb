#include "Modules/Core/Src/Records/LocalPlayerRecord.h"

#include "Modules/Core/Src/Digest/Md5Digest.h"
#include "Modules/Core/Src/Players/LocalPlayer.h"
#include "Modules/Core/Src/Records/RecordFile.h"
#include "Modules/Core/Src/Types/Blob.h"

namespace OX_Toolbox {

const char kLocalPlayerTag[4] = {'L', 'G', 'N', 'C'};

bool WriteLocalPlayerRecord(RecordList& list, const SavedLogin& login) {
  String name(login.login);
  name.truncate(LocalPlayer::kMaxLogin);
  String password(login.password);
  password.truncate(LocalPlayer::kMaxPassword);
  Blob blob;
  if (!blob.writeInt32(0, login.firstWord) || !blob.writeString(blob.getSize(), name) ||
      !blob.writeString(blob.getSize(), password)) {
    return false;
  }
  TaggedRecord* record = TaggedRecord::create(kLocalPlayerTag, blob.getData(), blob.getSize());
  if (!record) return false;
  list.add(record);
  return true;
}

bool ReadLocalPlayerRecord(const TaggedRecord& record, SavedLogin& login) {
  if (!record.hasTag(kLocalPlayerTag)) return false;
  Blob blob(record.getPayload(), record.getPayloadSize(), BLOB_READONLY);
  if (blob.remaining(0) < 5) return false;
  login.firstWord = blob.readInt32(0);
  const bool ok = blob.readString(0, login.login) && blob.readString(0, login.password);
  login.login.truncate(LocalPlayer::kMaxLogin);
  login.password.truncate(LocalPlayer::kMaxPassword);
  return ok;
}

bool LoadSavedLogin(const char* path, SavedLogin& login) {
  if (!path) return false;
  unsigned char* payload = nullptr;
  std::uint32_t n = 0;
  if (ReadRecordFile(DefaultRecordFileCodec(), &payload, &n, path) != ERRORID_SUCCEEDED)
    return false;
  RecordList list;
  const bool whole = list.deserialize(payload, n);
  ToolboxFree(payload);
  const TaggedRecord* record = whole ? list.findByTag(kLocalPlayerTag) : nullptr;
  SavedLogin read;
  if (!record || !ReadLocalPlayerRecord(*record, read)) return false;
  login.firstWord = read.firstWord;
  login.login = read.login;
  login.password = read.password;
  return true;
}

}  // namespace OX_Toolbox
