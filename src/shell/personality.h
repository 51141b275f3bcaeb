#pragma once
// Computer-opponent personalities: one ".QNP" file each in the Personalities
// folder, whose first 1268 bytes are the record below. The list is read,
// filtered by group, sex, age and rating band, and searched for opponents
// near the player's rating.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shell/archive.h"
#include "shell/shell_constants.h"

namespace shell {

// Personalities rated above this are never listed.
constexpr int32_t kUnlistedRating = 10000;
constexpr size_t kMaxPersonalities = 100;
constexpr size_t kPlayerOptionsSize = 52;  // the 13 option words of a computer player
constexpr int32_t kRatedOpponentWindow = 400;

struct PersonalityRecord {
  int32_t rating = 0;                              // 0
  uint8_t unused4[8] = {};                         // 4, carried unchanged
  uint32_t sex = 0;                                // 12: 1 male, 0 female
  uint32_t ageGroup = 0;                           // 16: recomputed when listed
  int32_t age = 0;                                 // 20
  char picture[30] = {};                           // 24: the picture's file name (".bmp")
  char description[100] = {};                      // 54
  char infoText[1000] = {};                        // 154: "%d" in it shows the rating
  char name[30] = {};                              // 1154
  char secondName[30] = {};                        // 1184
  uint8_t unused1214[2] = {};                      // 1214, carried unchanged
  uint8_t playerOptions[kPlayerOptionsSize] = {};  // 1216: the robot's settings
};

// Explicit codec of the 1268-byte record. Decoding refuses a short buffer;
// every text field comes out terminated within its size.
std::vector<uint8_t> EncodePersonality(const PersonalityRecord& record);
bool DecodePersonality(const uint8_t* data, size_t size, PersonalityRecord& record);

// Age group: below 19 -> 1; 19..24 -> 2; 25..40 -> 3; 41 and above -> 4.
uint32_t AgeGroupOf(int32_t age);
// The filter's rating band: (min(rating, 2400) + 1) / 500, 0..4.
int RatingBandOf(int32_t rating);

// The info text with "%d" replaced by the rating ("%%" gives "%"); the text
// from the file is never used as a format string.
std::string FormatPersonalityInfo(const char* infoText, int32_t rating);

// {Personalities}\<name up to its first '.'>.QNP
std::string PersonalityFilePath(const char* name);
// Reads the record of a personality file; on failure shows "Error" captioned
// "Could not open personality file" (a file shorter than a record counts as
// unreadable) and leaves the record as it was.
bool ReadPersonalityFile(const char* name, PersonalityRecord& record);
// The portrait of that name ("pip.bmp") from the "faces" pack (slot 1), as a
// packed DIB; nothing when it is missing.
std::optional<ResBlock> LoadFacePicture(const char* name);
// Writes the record to {Personalities}\<picture, its last three characters
// replaced by "QNP">, keeping any bytes the file holds past the record.
bool WritePersonalityFile(const PersonalityRecord& record);

struct PersonalityEntry {
  std::string name;      // trailing blanks removed
  std::string fileName;  // the ".QNP" file it came from
  uint32_t kind = 0;     // group code (129 GM, 132 Custom, 178 Xboard Engines); 0 when read
  int32_t rating = 0;
  uint32_t sex = 0;
  uint32_t ageGroup = 0;
  std::string picture;
  std::string description;
  std::string infoText;
};

// Rebuilds the program-wide list from the Personalities folder (at most 100
// files; unreadable, short and unlisted ones skipped), sorted by rating, then
// name in byte order. Returns the count; with countOnly the list stays empty.
int ListPersonalityFiles(bool countOnly = false);
void FreePersonalityList();
const std::vector<PersonalityEntry>& GetPersonalityList();

// The filter switches of the selection window, all on by default; their
// names are the keys of the ini section "Personality Filters".
enum PersonalityFilter : int {
  kFilterGM,
  kFilterFictional,
  kFilterCustom,
  kFilterXboard,
  kFilterMale,
  kFilterFemale,
  kFilterAge6to18,
  kFilterAge19to24,
  kFilterAge25to40,
  kFilterAgeOver40,
  kFilterAge6to8,
  kFilterAge9to11,
  kFilterAge12to14,
  kFilterAge15to18,
  kFilterRating0to500,
  kFilterRating501to1000,
  kFilterRating1001to1500,
  kFilterRating1501to2000,
  kFilterRatingOver2000,
  kFilterCount
};
extern const char* const kPersonalityFilterNames[kFilterCount];
constexpr char kPersonalityFiltersSection[] = "Personality Filters";

struct PersonalityFilters {
  bool on[kFilterCount];
  PersonalityFilters();
};

PersonalityFilters LoadPersonalityFilters(const char* iniPath);
bool SavePersonalityFilters(const PersonalityFilters& filters, const char* iniPath);
// The indexes of the visible entries, in list order.
std::vector<int> ApplyPersonalityFilters(const std::vector<PersonalityEntry>& list,
                                         const PersonalityFilters& filters);
// The selection after filtering: `selected` when still visible, else the
// first visible entry, -1 when none is.
int KeepSelection(const std::vector<int>& visible, int selected);

struct RatedOpponent {
  std::string name;
  int32_t rating = 0;
  std::string picture;
};
// The tournament opponents: personalities within 400 of the current
// profile's rating (block 3, both bounds included) unless anyRating; sorted
// like the personality list.
std::vector<RatedOpponent> ListRatedOpponents(bool anyRating);
// A human's rating from the profile (block 4 when duplicate, else 3), a
// computer's from its personality file; 0 when it cannot be found.
int32_t GetPlayerRating(const char* name, bool isComputer, bool duplicate);

}  // namespace shell
