#pragma once
// User profiles: the UserProfile record, its ".usr" file, the folder of each
// profile, the list of existing profiles, creating a profile, making one
// current (SelectUser), and saving and closing it. The special profile
// "Default" (string 7144) lives in {Data}\Default User and is deleted when it
// is closed.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "shell/profile_records.h"
#include "shell/shell_constants.h"

namespace shell {

struct UserProfile {
  struct Pair {
    uint32_t a = 10000;
    uint32_t b = 0;
    bool operator==(const Pair& o) const { return a == o.a && b == o.b; }
  };

  char name[32] = {};          // NUL-terminated; folder and file names are made from it
  char displayName[128] = {};  // the name as typed at creation
  char about[512] = {};
  uint32_t language = 0;      // 0 English, 1 French
  uint32_t reservedFlag = 0;  // carried unchanged
  Pair pairTable[100];        // carried unchanged
  uint8_t reserved16[16] = {};
  uint32_t age = 0;    // 6..99
  uint32_t sex = 0;    // 0 male, 1 female
  uint32_t level = 0;  // 0..3, the self-assessed level
  uint8_t reserved2400[2400] = {};
  GameStatsRecord stats[kStatsBlockCount];
  std::vector<OpponentRecord> opponents;
  char profilePath[kMaxPath] = {};  // in memory only: the ".usr" path, set by SelectUser

  GameStatsRecord& Block(int i) { return stats[i]; }
  // Equal in every field the file carries (profilePath is not compared).
  bool SameFileContent(const UserProfile& o) const;
};

// The ".usr" codec: the fields in the file's order (which differs from the
// record's), 7048 bytes plus 44 per opponent, little-endian.
std::vector<uint8_t> EncodeUserProfile(const UserProfile& profile);
// False (and `profile` untouched) unless the bytes are one whole profile:
// at least the fixed part and exactly as many opponent entries as counted.
bool DecodeUserProfile(const uint8_t* data, size_t size, UserProfile& profile);

// {base}\name, base being the Default User folder for the Default profile and
// the Users folder otherwise; "" when it would not fit.
std::string ProfileFolder(const char* name);
// {base}\name\name<ext>; "" when it would not fit.
std::string ProfileFilePath(const char* name, const char* ext);
bool IsDefaultProfileName(const char* name);

enum ReadProfileResult : int {
  kProfileReadFailed = -1,  // missing, unreadable or damaged file
  kProfileFromFile = 0,
  kProfileIsCurrent = 1,  // copied from the current profile, disk untouched
};
int ReadUserProfile(const char* name, UserProfile& record);
// Writes the whole file through a temporary file and a rename, so a failed
// write leaves the previous file intact. False when nothing was written.
bool WriteUserProfile(const UserProfile* record);

// The string id of the first fault of a name, or 0.
uint32_t ValidateUserName(const char* name);

bool CreateUserProfile(const char* name, const char* displayName, const char* about,
                       uint32_t language, uint32_t flag, const char* templateName, int32_t rating,
                       uint32_t age, uint32_t sex, uint32_t level, bool allowExisting);
bool SelectUser(const char* name);
bool SaveAndCloseCurrentUser();
void DeleteDefaultUserFiles();

// The names of the profiles in the Users folder, sorted by byte order.
std::vector<std::string> BuildUserList();
bool UserExists(const char* name);  // ignoring case
int CountUsers();

bool AllocCurrentUserProfile();
void FreeCurrentUserProfile();

// The layout file that fits a desktop (both bounds must hold).
const char* DefaultLayoutForDesktop(int width, int height);

}  // namespace shell
