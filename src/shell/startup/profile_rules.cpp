#include "shell/startup/profile_rules.h"

#include <cstdio>
#include <cstring>

#include "platform/ini.h"
#include "platform/path.h"
#include "shell/app_context.h"
#include "shell/file_utils.h"
#include "shell/res_strings.h"
#include "shell/settings.h"
#include "shell/shell_constants.h"

namespace shell {
namespace {

constexpr int32_t kLevelRankings[] = {500, 1000, 1500, 2000};
constexpr char kNotApplicable[] = "N/A";

bool IsDuplicateBlock(int block) {
  return block == kStatsDuplicate || block == kStatsTournamentDup || block == kStatsOnlineDuplicate;
}

// The files of a folder whose names do not begin with '.', then the folder.
void RemoveFolderFiles(const std::string& folder) {
  for (const platform::FindEntry& e : platform::FindFiles((folder + "\\*.*").c_str()))
    if (!e.isDirectory && e.name[0] != '.') platform::RemoveFile((folder + "\\" + e.name).c_str());
  RemovePath(folder.c_str());
}

std::string Fixed(const char* text, size_t size) { return std::string(text, strnlen(text, size)); }

std::string Int(long long v) { return std::to_string(v); }

std::string Real(const char* format, double v) {
  char text[64];
  std::snprintf(text, sizeof text, format, v);
  return text;
}

// A row's value for one block; kind says which columns it applies to.
enum class Applies { kAll, kDuplicate, kStandard };

struct RowSpec {
  uint32_t label;
  Applies applies;
  std::string (*value)(const GameStatsRecord& s);
};

#define STATS_ROW(label, applies, expr)                                                   \
  {                                                                                       \
    label, Applies::applies, [](const GameStatsRecord& s) -> std::string { return expr; } \
  }

const RowSpec kRows[] = {
    STATS_ROW(2574, kAll, Int(s.rating)),
    STATS_ROW(7145, kAll, Int(s.bestRating)),
    STATS_ROW(7146, kAll, Fixed(s.bestRatingDate, sizeof s.bestRatingDate)),
    STATS_ROW(7147, kAll, Int(s.games)),
    STATS_ROW(7148, kAll, Int(s.wins)),
    STATS_ROW(7149, kAll, Int(s.draws)),
    STATS_ROW(7150, kAll, Int(s.defeats)),
    STATS_ROW(7151, kAll, Int(s.bestScore)),
    STATS_ROW(7152, kAll, Fixed(s.bestScoreDate, sizeof s.bestScoreDate)),
    STATS_ROW(7153, kAll, Fixed(s.bestWord, sizeof s.bestWord)),
    STATS_ROW(7154, kAll, Int(s.bestWordScore)),
    STATS_ROW(7155, kAll, Fixed(s.bestWordDate, sizeof s.bestWordDate)),
    STATS_ROW(7156, kAll, Int(s.mostWordsInMove)),
    STATS_ROW(7157, kAll, Int(s.allTilesMoveCount)),
    STATS_ROW(7158, kAll, Real("%4.2f", s.averageScore)),
    STATS_ROW(7159, kAll, Real("%2.2f", s.averagePerLetter)),
    STATS_ROW(7160, kDuplicate, Real("%3.2f", s.averageDuplicatePercent)),
    STATS_ROW(7161, kDuplicate, Real("%3.2f", s.bestDuplicatePercent)),
    STATS_ROW(7162, kDuplicate, Fixed(s.bestDuplicateDate, sizeof s.bestDuplicateDate)),
    STATS_ROW(1851, kStandard, Real("%3.2f", s.avgGeneralNote * 100.0)),
    STATS_ROW(3164, kStandard, Real("%3.2f", s.avgBonusSquaresBlocked * 100.0)),
    STATS_ROW(3153, kStandard, Real("%3.2f", s.avgClosingBoard * 100.0)),
    STATS_ROW(3150, kStandard, Real("%3.2f", s.avgClosingBonusSquares * 100.0)),
    STATS_ROW(3155, kStandard, Real("%3.2f", s.avgRemainderQuality * 100.0)),
    STATS_ROW(3157, kStandard, Real("%3.2f", s.avgWordScore * 100.0)),
    STATS_ROW(7163, kStandard, Int(s.challengeCount)),
    STATS_ROW(7164, kStandard, Int(s.challengeWon)),
    STATS_ROW(7165, kStandard, Int(s.challengeLost)),
};

#undef STATS_ROW

}  // namespace

int32_t LevelRanking(uint32_t level) {
  return level < 4 ? kLevelRankings[level] : kLevelRankings[2];
}

std::string NormalizeProfileName(const char* typed) {
  std::string name(typed ? typed : "");
  size_t b = name.find_first_not_of(' ');
  name =
      b == std::string::npos ? std::string() : name.substr(b, name.find_last_not_of(' ') - b + 1);
  for (size_t i = 0; i < name.size(); ++i) {
    char& c = name[i];
    if (i == 0 && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (i > 0 && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return name;
}

bool IsValidAge(int age) { return age >= kMinProfileAge && age <= kMaxProfileAge; }

uint32_t CheckNewProfile(const std::string& name, int age, int ranking,
                         const std::vector<std::string>& listed) {
  if (!IsValidAge(age)) return kStrAgeRange;
  const char* def = FindResString(kStrDefaultProfile);
  if ((!name.empty() && name[0] == '.') || (def && name == def)) return kStrBadProfileName;
  for (const std::string& n : listed)
    if (n == name) return kStrNameExistsInList;
  if (ranking < kMinRanking || ranking > kMaxRanking) return kStrRankingRange;
  return 0;
}

bool HasSavedGames(const char* name) {
  std::string folder = ProfileFolder(name);
  if (!name || !*name || folder.empty()) return false;
  for (const platform::FindEntry& e : platform::FindFiles((folder + "\\*.TS*").c_str()))
    if (!e.isDirectory) return true;
  return false;
}

bool DeleteProfileFiles(const char* name) {
  std::string folder = ProfileFolder(name);
  if (!name || !*name || folder.empty()) return false;
  RemoveFolderFiles(folder + "\\" + kAdjournedGamesFolder);
  RemoveFolderFiles(folder);
  // "LastUser" lives in the program ini, where selecting a user writes it.
  const char* ini = GetProgramIniPath();
  if (platform::IniGet(kSettingsSection, kLastUserKey, "", ini, 512) == name)
    platform::IniWriteString(kSettingsSection, kLastUserKey, "", ini);
  return true;
}

std::vector<int> StatsPageBlocks(StatsPage page) {
  switch (page) {
    case StatsPage::kGameRoom:
      return {kStatsClassic2, kStatsClassicMulti, kStatsDuplicate};
    case StatsPage::kTournament:
      return {kStatsTournament, kStatsTournamentDup};
    case StatsPage::kOnline:
      return {kStatsOnline2, kStatsOnlineMulti, kStatsOnlineDuplicate};
  }
  return {};
}

std::vector<StatsRow> BuildStatsRows(const UserProfile& profile, StatsPage page) {
  const std::vector<int> blocks = StatsPageBlocks(page);
  std::vector<StatsRow> rows;
  for (const RowSpec& spec : kRows) {
    StatsRow row{spec.label, {}};
    for (int b : blocks) {
      const bool dup = IsDuplicateBlock(b);
      const bool applies =
          spec.applies == Applies::kAll || (spec.applies == Applies::kDuplicate) == dup;
      row.values.push_back(applies ? spec.value(profile.stats[b]) : kNotApplicable);
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace shell
