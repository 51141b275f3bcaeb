#pragma once
// The remembered login of the local players' cache, the "LGNC" record: the
// saved-login object's first word (OX_INT32, not interpreted), the login
// (OX_STRING, up to 20 characters) and the password (OX_STRING, up to 16).
#include "Modules/Core/Src/Records/RecordList.h"

namespace OX_Toolbox {

struct SavedLogin;

extern const char kLocalPlayerTag[4];

// Appends a new "LGNC" record to the list; false when it cannot be built.
bool WriteLocalPlayerRecord(RecordList& list, const SavedLogin& login);
// Reads a record's payload back in the written order.
bool ReadLocalPlayerRecord(const TaggedRecord& record, SavedLogin& login);
// The login an earlier run remembered in the cache file at path. False, with
// login unchanged, when the file is missing, fails its digest or length
// checks, does not parse whole, or holds no readable "LGNC" record.
bool LoadSavedLogin(const char* path, SavedLogin& login);

}  // namespace OX_Toolbox
