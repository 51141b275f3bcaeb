#include "shell/personality.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/ini.h"
#include "platform/message_sink.h"
#include "platform/path.h"
#include "shell/app_context.h"
#include "shell/fixed_text.h"
#include "shell/file_utils.h"
#include "shell/resource_packs.h"
#include "shell/user_profile.h"

namespace shell {
namespace {

constexpr uint32_t kKindGM = 129;
constexpr uint32_t kKindCustom = 132;
constexpr uint32_t kKindXboard = 178;
constexpr int32_t kBandCap = 2400;

std::vector<PersonalityEntry> g_list;

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string TrimRight(const char* text) {
  std::string s(text);
  s.erase(s.find_last_not_of(' ') + 1);
  return s;
}

// Reads the record at the head of one file of the folder; false for anything
// but a regular file holding at least a record and at most what a record
// file carries.
bool ReadRecordAt(const std::string& path, PersonalityRecord& record) {
  std::vector<uint8_t> bytes;
  return platform::ReadFileBounded(path.c_str(), kMaxPersonalityFileSize, bytes) ==
             platform::ReadStatus::kOk &&
         DecodePersonality(bytes.data(), bytes.size(), record);
}

// Every readable, listed record of the Personalities folder (at most 100
// files considered), with its file name.
template <typename Fn>
void ForEachPersonalityFile(Fn fn) {
  std::string folder = GetPersonalitiesFolder();
  if (folder.empty()) return;
  size_t seen = 0;
  for (const platform::FindEntry& e :
       platform::FindFiles((folder + "\\*" + kPersonalityExt).c_str())) {
    if (e.isDirectory) continue;
    if (seen >= kMaxPersonalities) break;
    PersonalityRecord r;
    if (!ReadRecordAt(folder + "\\" + e.name, r) || r.rating > kUnlistedRating) continue;
    ++seen;
    fn(r, e.name);
  }
}

template <typename T>
void SortByRatingThenName(std::vector<T>& v) {
  std::stable_sort(v.begin(), v.end(), [](const T& a, const T& b) {
    if (a.rating != b.rating) return a.rating < b.rating;
    return std::strcmp(a.name.c_str(), b.name.c_str()) < 0;
  });
}

}  // namespace

const char* const kPersonalityFilterNames[kFilterCount] = {
    "GM",       "Fictional",   "Custom",       "Xboard Engines", "Male",     "Female",   "6 to 18",
    "19 to 24", "25 to 40",    "Over 40",      "6 to 8",         "9 to 11",  "12 to 14", "15 to 18",
    "0 to 500", "501 to 1000", "1001 to 1500", "1501 to 2000",   "Over 2000"};

PersonalityFilters::PersonalityFilters() { std::fill(on, on + kFilterCount, true); }

std::vector<uint8_t> EncodePersonality(const PersonalityRecord& r) {
  std::vector<uint8_t> out;
  out.reserve(kPersonalityRecordSize);
  ByteWriter w(out);
  w.I32(r.rating);
  w.Bytes(r.unused4, sizeof r.unused4);
  w.U32(r.sex);
  w.U32(r.ageGroup);
  w.I32(r.age);
  w.Bytes(r.picture, sizeof r.picture);
  w.Bytes(r.description, sizeof r.description);
  w.Bytes(r.infoText, sizeof r.infoText);
  w.Bytes(r.name, sizeof r.name);
  w.Bytes(r.secondName, sizeof r.secondName);
  w.Bytes(r.unused1214, sizeof r.unused1214);
  w.Bytes(r.playerOptions, sizeof r.playerOptions);
  return out;
}

bool DecodePersonality(const uint8_t* data, size_t size, PersonalityRecord& record) {
  if (!data || size < kPersonalityRecordSize) return false;
  PersonalityRecord r;
  ByteReader in(data, size);
  r.rating = in.I32();
  in.Bytes(r.unused4, sizeof r.unused4);
  r.sex = in.U32();
  r.ageGroup = in.U32();
  r.age = in.I32();
  ReadFixedText(in, r.picture, sizeof r.picture);
  ReadFixedText(in, r.description, sizeof r.description);
  ReadFixedText(in, r.infoText, sizeof r.infoText);
  ReadFixedText(in, r.name, sizeof r.name);
  ReadFixedText(in, r.secondName, sizeof r.secondName);
  in.Bytes(r.unused1214, sizeof r.unused1214);
  in.Bytes(r.playerOptions, sizeof r.playerOptions);
  if (!in.ok()) return false;
  record = r;
  return true;
}

uint32_t AgeGroupOf(int32_t age) {
  if (age < 19) return 1;
  if (age <= 24) return 2;
  if (age <= 40) return 3;
  return 4;
}

int RatingBandOf(int32_t rating) {
  int band = (std::min(rating, kBandCap) + 1) / 500;
  return std::clamp(band, 0, 4);
}

std::string FormatPersonalityInfo(const char* infoText, int32_t rating) {
  std::string out;
  if (!infoText) return out;
  for (const char* p = infoText; *p; ++p) {
    if (p[0] == '%' && p[1] == 'd') {
      out += std::to_string(rating);
      ++p;
    } else if (p[0] == '%' && p[1] == '%') {
      out += '%';
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}

std::string PersonalityFilePath(const char* name) {
  std::string folder = GetPersonalitiesFolder();
  std::string base = name ? name : "";
  base = base.substr(0, base.find('.'));
  std::string path;
  if (folder.empty() || base.empty() ||
      !FormatPath(path, kMaxPath, "%s\\%s%s", folder.c_str(), base.c_str(), kPersonalityExt))
    return std::string();
  return path;
}

bool ReadPersonalityFile(const char* name, PersonalityRecord& record) {
  std::string path = PersonalityFilePath(name);
  if (path.empty() || !ReadRecordAt(path, record)) {
    platform::ShowNotice("Error", "Could not open personality file", kMbOk);
    return false;
  }
  return true;
}

bool WritePersonalityFile(const PersonalityRecord& record) {
  std::string picture = record.picture;
  if (picture.size() < 3) return false;
  std::string folder = GetPersonalitiesFolder();
  std::string path;
  if (folder.empty() || !FormatPath(path, kMaxPath, "%s\\%sQNP", folder.c_str(),
                                    picture.substr(0, picture.size() - 3).c_str()))
    return false;
  std::vector<uint8_t> bytes = EncodePersonality(record);
  std::vector<uint8_t> old;
  if (platform::ReadFileBounded(path.c_str(), kMaxPersonalityFileSize, old) ==
          platform::ReadStatus::kOk &&
      old.size() > bytes.size())
    bytes.insert(bytes.end(), old.begin() + static_cast<long>(bytes.size()), old.end());
  return platform::WriteFileAtomic(path.c_str(), bytes.data(), bytes.size());
}

int ListPersonalityFiles(bool countOnly) {
  FreePersonalityList();
  int count = 0;
  ForEachPersonalityFile([&](const PersonalityRecord& r, const std::string& file) {
    ++count;
    if (countOnly) return;
    PersonalityEntry e;
    e.name = TrimRight(r.name);
    e.fileName = file;
    e.rating = r.rating;
    e.sex = r.sex;
    e.ageGroup = AgeGroupOf(r.age);
    e.picture = r.picture;
    e.description = r.description;
    e.infoText = r.infoText;
    g_list.push_back(std::move(e));
  });
  SortByRatingThenName(g_list);
  return count;
}

void FreePersonalityList() { g_list.clear(); }

const std::vector<PersonalityEntry>& GetPersonalityList() { return g_list; }

PersonalityFilters LoadPersonalityFilters(const char* iniPath) {
  PersonalityFilters f;
  for (int i = 0; i < kFilterCount; ++i)
    f.on[i] = platform::IniGetInt(kPersonalityFiltersSection, kPersonalityFilterNames[i], 1,
                                  iniPath) != 0;
  return f;
}

bool SavePersonalityFilters(const PersonalityFilters& f, const char* iniPath) {
  bool ok = true;
  for (int i = 0; i < kFilterCount; ++i)
    ok = platform::IniWriteString(kPersonalityFiltersSection, kPersonalityFilterNames[i],
                                  f.on[i] ? "1" : "0", iniPath) &&
         ok;
  return ok;
}

std::vector<int> ApplyPersonalityFilters(const std::vector<PersonalityEntry>& list,
                                         const PersonalityFilters& f) {
  static const int kBandFilter[] = {kFilterRating0to500, kFilterRating501to1000,
                                    kFilterRating1001to1500, kFilterRating1501to2000,
                                    kFilterRatingOver2000};
  static const int kAgeFilter[] = {kFilterAge6to18, kFilterAge19to24, kFilterAge25to40,
                                   kFilterAgeOver40};
  std::vector<int> visible;
  for (size_t i = 0; i < list.size() && visible.size() < kMaxPersonalities; ++i) {
    const PersonalityEntry& e = list[i];
    bool shown = true;
    if (e.kind == kKindGM)
      shown = f.on[kFilterGM];
    else if (e.kind == kKindCustom)
      shown = f.on[kFilterCustom];
    else if (e.kind == kKindXboard)
      shown = f.on[kFilterXboard];
    else if (e.sex == 1)
      shown = f.on[kFilterMale];
    else if (e.sex == 0)
      shown = f.on[kFilterFemale];
    shown = shown && f.on[kBandFilter[RatingBandOf(e.rating)]];
    if (e.ageGroup >= 1 && e.ageGroup <= 4) shown = shown && f.on[kAgeFilter[e.ageGroup - 1]];
    if (shown) visible.push_back(static_cast<int>(i));
  }
  return visible;
}

int KeepSelection(const std::vector<int>& visible, int selected) {
  if (std::find(visible.begin(), visible.end(), selected) != visible.end()) return selected;
  return visible.empty() ? -1 : visible.front();
}

std::vector<RatedOpponent> ListRatedOpponents(bool anyRating) {
  std::vector<RatedOpponent> out;
  int32_t own = 0;
  if (const UserProfile* p = GetCurrentUserProfile()) own = p->stats[kStatsTournament].rating;
  ForEachPersonalityFile([&](const PersonalityRecord& r, const std::string&) {
    if (!anyRating &&
        (r.rating < own - kRatedOpponentWindow || r.rating > own + kRatedOpponentWindow))
      return;
    out.push_back({r.name, r.rating, r.picture});
  });
  SortByRatingThenName(out);
  return out;
}

int32_t GetPlayerRating(const char* name, bool isComputer, bool duplicate) {
  if (!name) return 0;
  if (!isComputer) {
    UserProfile p;
    if (ReadUserProfile(name, p) == kProfileReadFailed) return 0;
    return p.stats[duplicate ? kStatsTournamentDup : kStatsTournament].rating;
  }
  for (const RatedOpponent& o : ListRatedOpponents(true)) {
    if (!EqualsIgnoringCase(TrimRight(o.name.c_str()), TrimRight(name))) continue;
    PersonalityRecord r;
    return ReadPersonalityFile(o.picture.c_str(), r) ? r.rating : 0;
  }
  return 0;
}

std::optional<ResBlock> LoadFacePicture(const char* name) {
  ResBlock block;
  if (!name || !*name || !ReadPackEntryByName(name, kPackFaces, &block, nullptr, nullptr, nullptr))
    return std::nullopt;
  return block;
}

}  // namespace shell
