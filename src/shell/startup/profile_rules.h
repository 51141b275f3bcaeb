#pragma once
// The portable rules behind the profile dialogs: how a typed name is
// stored, what refuses a new profile, the rankings the self-assessed levels
// preset, the saved games and files of a profile folder, and the rows of
// the player profile window's statistics pages.
#include <cstdint>
#include <string>
#include <vector>

#include "shell/user_profile.h"

namespace shell {

constexpr int kMaxProfiles = 20;
constexpr int kMinProfileAge = 6, kMaxProfileAge = 99;
constexpr int kMinRanking = 300, kMaxRanking = 3000;

// String ids of the profile dialogs' messages.
enum : uint32_t {
  kStrRankingRange = 2009,
  kStrNameExistsInList = 2427,
  kStrCannotRemoveCurrent = 2428,
  kStrConfirmDeleteUser = 2431,
  kStrConfirmSavedGames = 2435,
  kStrBadProfileName = 2436,
  kStrCannotEditCurrent = 3009,
  kStrAgeRange = 3052,
  kStrSaveChanges = 3056,
  kStrTooManyProfiles = 3071,
};

// The ranking a level (0..3) presets: 500, 1000, 1500, 2000; 1500 for any
// other value.
int32_t LevelRanking(uint32_t level);

// Blanks trimmed, the first letter a..z upper-cased and the rest lower-cased
// ("jOHN" gives "John").
std::string NormalizeProfileName(const char* typed);

// The first refusal of a new profile as a string id, or 0. `name` is
// normalised; `listed` is the manager's list (compared exactly).
uint32_t CheckNewProfile(const std::string& name, int age, int ranking,
                         const std::vector<std::string>& listed);
bool IsValidAge(int age);

// True when the profile folder itself holds a "*.TS*" file.
bool HasSavedGames(const char* name);
// Deletes the files of {Users}\name\Adjourned Games and of {Users}\name and
// both folders, and forgets the name as the last user. False when the name
// makes no folder.
bool DeleteProfileFiles(const char* name);

// The statistics pages of the player profile window.
enum class StatsPage { kGameRoom, kTournament, kOnline };
// The blocks a page shows, one column each.
std::vector<int> StatsPageBlocks(StatsPage page);
struct StatsRow {
  uint32_t label;                   // string id
  std::vector<std::string> values;  // one per block of the page
};
// The 28 rows of a page; "N/A" where a row does not apply to a column.
std::vector<StatsRow> BuildStatsRows(const UserProfile& profile, StatsPage page);

}  // namespace shell
