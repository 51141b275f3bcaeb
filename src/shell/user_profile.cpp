#include "shell/user_profile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "platform/ini.h"
#include "platform/message_sink.h"
#include "platform/path.h"
#include "shell/app_context.h"
#include "shell/fixed_text.h"
#include "shell/file_utils.h"
#include "shell/res_strings.h"
#include "shell/settings.h"
#include "shell/shell_host.h"
#include "shell/shell_utils.h"

namespace shell {
namespace {

constexpr int32_t kUnknownProfileRating = 1500;
constexpr char kPlayerNameKey[] = "white_player_name";
constexpr int kFirstNamedRoom = 1;
constexpr int kLastNamedRoom = 17;
constexpr int kRoomWithoutPlayerName = 4;  // the network room keeps its own name

bool EqualsIgnoringCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b)
    if (std::tolower(static_cast<unsigned char>(*a)) !=
        std::tolower(static_cast<unsigned char>(*b)))
      return false;
  return *a == *b;
}

// Shows a text of the string table with the exclamation icon; the name goes
// into 2167 by hand, as a table text is never used as a format string.
void ShowNameMessage(uint32_t id, const char* name) {
  std::string text = LoadResString(id);
  size_t at = text.find("%s");
  if (id == kStrNameTaken && at != std::string::npos) text.replace(at, 2, name);
  if (text.size() > 511) text.resize(511);
  std::string caption = LoadResString(kStrProductTitle);
  platform::ShowNotice(text.c_str(), caption.c_str(), kMbIconExclamation);
}

void Trim(std::string& s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) {
    s.clear();
    return;
  }
  s = s.substr(b, s.find_last_not_of(' ') - b + 1);
}

bool MakeFolders(const std::string& base, const std::string& name) {
  std::string user, adjourned;
  return platform::MakeDirectory(GetDataFolder()) && platform::MakeDirectory(base.c_str()) &&
         FormatPath(user, kMaxPath, "%s\\%s", base.c_str(), name.c_str()) &&
         platform::MakeDirectory(user.c_str()) &&
         FormatPath(adjourned, kMaxPath, "%s\\%s", user.c_str(), kAdjournedGamesFolder) &&
         platform::MakeDirectory(adjourned.c_str());
}

void InitNewProfileStats(UserProfile& p, int32_t rating) {
  const char* now = GetDateTimeString();
  for (GameStatsRecord& s : p.stats) {
    CopyFixedText(s.bestRatingDate, sizeof s.bestRatingDate, now);
    CopyFixedText(s.bestScoreDate, sizeof s.bestScoreDate, now);
    CopyFixedText(s.bestWordDate, sizeof s.bestWordDate, now);
  }
  // The duplicate blocks (2, 4, 7) start unrated.
  for (int b :
       {kStatsClassic2, kStatsClassicMulti, kStatsTournament, kStatsOnline2, kStatsOnlineMulti}) {
    p.stats[b].rating = rating;
    p.stats[b].bestRating = rating;
  }
  p.stats[kStatsTournamentDup].rating = 0;
}

std::string LayoutsPath(const char* file) {
  std::string layouts = GetLayoutsFolder(), path;
  FormatPath(path, kMaxPath, "%s\\%s", layouts.c_str(), file);
  return path;
}

// Copies the settings ini and the page layout of a new profile.
void CopyProfileTemplates(const std::string& name, const char* templateName) {
  std::string ini = ProfileFilePath(name.c_str(), kUserIniExt);
  std::string lay = ProfileFilePath(name.c_str(), kLayoutExt);
  bool named = templateName && *templateName && !EqualsIgnoringCase(templateName, kTemplateNone);
  std::string source;
  if (named)
    source = LayoutsPath(templateName);
  else
    FormatPath(source, kMaxPath, "%s\\%s", GetProgramFolder(), kDefaultUserIniName);
  // A missing template leaves the keys to their defaults; the keys below
  // create the ini in any case.
  CopyWholeFile(source.c_str(), ini.c_str());
  for (int room = kFirstNamedRoom; room <= kLastNamedRoom; ++room)
    if (room != kRoomWithoutPlayerName)
      platform::IniWriteString(GetRoomName(room), kPlayerNameKey, name.c_str(), ini.c_str());
  if (!named) {
    int w = 0, h = 0;
    GetShellHost().GetDesktopSize(&w, &h);
    source = LayoutsPath(DefaultLayoutForDesktop(w, h));
  }
  CopyWholeFile(source.c_str(), lay.c_str());
}

void ShowProfileError(const char* format, const char* arg) {
  char text[512];
  std::snprintf(text, sizeof text, format, arg);
  platform::ShowNotice(text, kErrorCaption, kMbOk);
}

// Clears "LastUser" of the program ini when it names `name`.
void ForgetLastUser(const char* name) {
  const char* ini = GetProgramIniPath();
  std::string last = platform::IniGet(kSettingsSection, kLastUserKey, "", ini, 512);
  if (last == name) platform::IniWriteString(kSettingsSection, kLastUserKey, "", ini);
}

// Step 3 of SelectUser: the current record from the file, or a fresh one.
void LoadSelectedProfile(const char* name, const std::string& usr, UserProfile& current) {
  bool exists = platform::FileExists(usr.c_str());
  if (exists && ReadUserProfile(name, current) != kProfileReadFailed) return;
  if (exists) {
    // A damaged file is set aside rather than overwritten by the fresh
    // profile's first save, and the user can still play.
    ShowProfileError("le profil du joueur '%s' est endommag\xe9 !", name);
    platform::RenameReplace(usr.c_str(), (usr + ".bad").c_str());
  }
  current = UserProfile();
  CopyFixedText(current.name, sizeof current.name, name);
  current.stats[kStatsTournament].rating = kUnknownProfileRating;
  current.stats[kStatsTournamentDup].rating = kUnknownProfileRating;
}

// Step 7 of SelectUser: a layout that does not load is replaced by the
// default layout for the desktop before giving up.
bool LoadProfileLayout(const std::string& lay) {
  ShellHost& host = GetShellHost();
  if (host.LoadPageLayout(lay.c_str()) != -1) return true;
  int w = 0, h = 0;
  host.GetDesktopSize(&w, &h);
  std::string source = LayoutsPath(DefaultLayoutForDesktop(w, h));
  return CopyWholeFile(source.c_str(), lay.c_str()) && host.LoadPageLayout(lay.c_str()) != -1;
}

}  // namespace

bool IsDefaultProfileName(const char* name) {
  const char* def = FindResString(kStrDefaultProfile);
  return name && def && std::strcmp(name, def) == 0;
}

std::string ProfileFolder(const char* name) {
  std::string base = IsDefaultProfileName(name) ? GetDefaultUserFolder() : GetUsersFolder();
  std::string out;
  if (!name || base.empty() || !FormatPath(out, kMaxPath, "%s\\%s", base.c_str(), name))
    return std::string();
  return out;
}

std::string ProfileFilePath(const char* name, const char* ext) {
  std::string base = IsDefaultProfileName(name) ? GetDefaultUserFolder() : GetUsersFolder();
  std::string out;
  if (!name || !*name || base.empty() ||
      !FormatPath(out, kMaxPath, "%s\\%s\\%s%s", base.c_str(), name, name, ext))
    return std::string();
  return out;
}

int ReadUserProfile(const char* name, UserProfile& record) {
  if (!name || !*name) return kProfileReadFailed;
  UserProfile* current = GetCurrentUserProfile();
  if (current && std::strcmp(current->name, name) == 0) {
    if (&record != current) record = *current;
    return kProfileIsCurrent;
  }
  std::string path = ProfileFilePath(name, kProfileExt);
  std::vector<uint8_t> bytes;
  if (path.empty() || platform::ReadFileBounded(path.c_str(), kMaxProfileFileSize, bytes) !=
                          platform::ReadStatus::kOk)
    return kProfileReadFailed;
  return DecodeUserProfile(bytes.data(), bytes.size(), record) ? kProfileFromFile
                                                               : kProfileReadFailed;
}

bool WriteUserProfile(const UserProfile* record) {
  if (!record) return false;
  std::string path = ProfileFilePath(record->name, kProfileExt);
  if (path.empty()) return false;
  std::vector<uint8_t> bytes = EncodeUserProfile(*record);
  ShellHost& host = GetShellHost();
  host.SetBusyCursor(true);
  bool ok = platform::WriteFileAtomic(path.c_str(), bytes.data(), bytes.size());
  host.SetBusyCursor(false);
  return ok;
}

uint32_t ValidateUserName(const char* name) {
  if (!name) return kStrBadUserName;
  if (std::strpbrk(name, "\\/:*?\"<>|")) return kStrNameBadChars;
  size_t len = std::strlen(name);
  if (len > 0 && name[len - 1] == '.') return kStrNameEndsWithDot;
  if (IsReservedDeviceName(name)) return kStrNameTaken;
  return 0;
}

bool CreateUserProfile(const char* name, const char* displayName, const char* about,
                       uint32_t language, uint32_t flag, const char* templateName, int32_t rating,
                       uint32_t age, uint32_t sex, uint32_t level, bool allowExisting) {
  if (!name) return false;
  // Checked after the blanks are gone: "COM1 " or "a. " would otherwise pass
  // and make a folder the system cannot open.
  std::string trimmed(name);
  Trim(trimmed);
  if (uint32_t id = ValidateUserName(trimmed.c_str())) {
    ShowNameMessage(id, trimmed.c_str());
    return false;
  }
  if (trimmed.empty()) {
    ShowNameMessage(kStrNameMissing, "");
    return false;
  }
  UserProfile p;
  if (trimmed.size() >= sizeof p.name || ProfileFilePath(trimmed.c_str(), kLayoutExt).empty()) {
    ShowNameMessage(kStrBadUserName, trimmed.c_str());
    return false;
  }
  CopyFixedText(p.name, sizeof p.name, trimmed.c_str());
  if (!allowExisting && UserExists(p.name)) {
    ShowNameMessage(kStrNameExists, p.name);
    return false;
  }
  std::string folder = ProfileFolder(p.name);
  std::string base = folder.substr(0, folder.find_last_of('\\'));
  if (!MakeFolders(base, trimmed)) return false;
  if (about) CopyFixedText(p.about, sizeof p.about, about);
  if (displayName) CopyFixedText(p.displayName, sizeof p.displayName, displayName);
  p.language = language;
  p.reservedFlag = flag & 0xFF;
  p.age = age;
  p.sex = sex;
  p.level = level;
  InitNewProfileStats(p, rating);
  if (!WriteUserProfile(&p)) return false;
  CopyProfileTemplates(trimmed, templateName);
  return true;
}

bool SaveAndCloseCurrentUser() {
  UserProfile* current = GetCurrentUserProfile();
  if (!current || !current->name[0]) return false;
  if (IsDefaultProfileName(current->name)) {
    DeleteDefaultUserFiles();
    return true;
  }
  if (!WriteUserProfile(current)) return false;
  *current = UserProfile();
  SetCurrentUserProfile(nullptr);
  GetShellHost().SetBusyCursor(false);
  return true;
}

void DeleteDefaultUserFiles() {
  std::string name = GetCurrentUserName();
  std::string base = GetDefaultUserFolder();
  if (name.empty() || base.empty()) return;
  std::string folder, adjourned;
  if (!FormatPath(folder, kMaxPath, "%s\\%s", base.c_str(), name.c_str()) ||
      !FormatPath(adjourned, kMaxPath, "%s\\%s", folder.c_str(), kAdjournedGamesFolder))
    return;
  for (const std::string& dir : {adjourned, folder}) {
    for (const platform::FindEntry& e : platform::FindFiles((dir + "\\*.*").c_str()))
      if (!e.isDirectory && e.name[0] != '.') platform::RemoveFile((dir + "\\" + e.name).c_str());
    RemovePath(dir.c_str());
  }
  RemovePath(base.c_str());  // only when empty
  SetSettingsIniPath(kProgramIniName, false);
  // "LastUser" lives in the program ini, where SelectUser wrote it.
  ForgetLastUser(name.c_str());
}

bool SelectUser(const char* name) {
  if (!name || !*name || std::strlen(name) >= sizeof UserProfile::name || !GetCurrentUserProfile())
    return false;
  std::string usr = ProfileFilePath(name, kProfileExt);
  std::string ini = ProfileFilePath(name, kUserIniExt);
  std::string lay = ProfileFilePath(name, kLayoutExt);
  if (usr.empty() || ini.empty() || lay.empty()) return false;
  ShellHost& host = GetShellHost();
  host.SetCurrentLayoutIndex(0);
  UserProfile* current = GetCurrentUserProfile();
  if (current->name[0]) {
    // A profile that cannot be saved stays current: the switch is refused.
    if (!SaveAndCloseCurrentUser()) return false;
    if (IsDefaultProfileName(current->name)) DeleteDefaultUserFiles();
    host.CloseProfileGames();
  }
  LoadSelectedProfile(name, usr, *current);
  // The user's own ini, in the profile's folder (the Default profile's too).
  GetAppContext()->settingsIniPath = ini;
  CopyFixedText(current->profilePath, sizeof current->profilePath, usr.c_str());
  host.LoadOptionsSettings();
  LoadUserSettings();
  if (!platform::IniWriteString(kSettingsSection, kLastUserKey, name, GetProgramIniPath()))
    ShowProfileError("l'info sur le joueur n'a pas pu etre sauv\xe9 dans '%s' !",
                     GetProgramIniPath());
  if (!LoadProfileLayout(lay)) {
    // Without this the next start would select the same user and fail again.
    ForgetLastUser(name);
    return false;
  }
  host.SetGlobalTextBuffer(GetCurrentUserFolder());
  host.ProfileSelected(*current);
  return true;
}

std::vector<std::string> BuildUserList() {
  std::vector<std::string> names;
  std::string users = GetUsersFolder();
  if (users.empty()) return names;
  for (const platform::FindEntry& e : platform::FindFiles((users + "\\*.*").c_str())) {
    if (!e.isDirectory || e.name.empty() || e.name[0] == '.' || e.name.size() >= 32) continue;
    std::string usr = users + "\\" + e.name + "\\" + e.name + kProfileExt;
    if (platform::FileExists(usr.c_str())) names.push_back(e.name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool UserExists(const char* name) {
  if (!name) return false;
  for (const std::string& n : BuildUserList())
    if (EqualsIgnoringCase(n.c_str(), name)) return true;
  return false;
}

int CountUsers() { return static_cast<int>(BuildUserList().size()); }

bool AllocCurrentUserProfile() {
  AppContext* ctx = GetAppContext();
  if (!ctx) return false;
  ctx->currentUser = std::make_unique<UserProfile>();
  return true;
}

void FreeCurrentUserProfile() {
  if (AppContext* ctx = GetAppContext()) ctx->currentUser.reset();
}

const char* DefaultLayoutForDesktop(int width, int height) {
  if (width >= 1600 && height >= 1200) return "Default(1600x1200).LAY";
  if (width >= 1280 && height >= 1024) return "Default(1280x1024).LAY";
  if (width >= 1024 && height >= 768) return "Default(1024x768).LAY";
  return "Default(800x600).LAY";
}

}  // namespace shell
