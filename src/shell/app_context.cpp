#include "shell/app_context.h"

#include <cstdio>
#include <cstring>
#include <ctime>

#include "platform/crand.h"
#include "shell/file_utils.h"
#include "shell/module_path.h"
#include "shell/user_profile.h"

namespace shell {
namespace {

std::unique_ptr<AppContext> g_context;
char g_pathBuffer[kMaxPath];    // GetProgramIniPath without a context
char g_folderBuffer[kMaxPath];  // the on-demand folder accessors
bool g_randomSeeded = false;

// The folder of an executable path: cut at the last backslash, which a drive
// root keeps ("C:\"). Empty when the path holds no backslash.
std::string FolderOfProgram(const std::string& path) {
  size_t cut = path.find_last_of('\\');
  if (cut == std::string::npos) return std::string();
  if (cut == 2 && path[1] == ':') return path.substr(0, 3);
  return path.substr(0, cut);
}

bool Join(std::string& out, const std::string& folder, const char* name) {
  return FormatPath(out, kMaxPath, "%s\\%s", folder.c_str(), name);
}

bool BuildFolderLayout(AppContext& c, const std::string& programFilePath) {
  c.programFolder = FolderOfProgram(programFilePath);
  if (c.programFolder.empty() || c.programFolder.size() >= kMaxPath) return false;
  bool ok = Join(c.programIniPath, c.programFolder, kProgramIniName) &&
            Join(c.egdbFolder, c.programFolder, "EGDB") &&
            Join(c.dataFolder, c.programFolder, "Data");
  c.settingsIniPath = c.programIniPath;
  return ok && Join(c.skinFolder, c.dataFolder, "Skin") &&
         Join(c.soundFolder, c.dataFolder, "Sound") &&
         Join(c.exercisesFolder, c.dataFolder, "Exercices") &&
         Join(c.quizzesFolder, c.dataFolder, "Quizzes") &&
         Join(c.tipsFolder, c.dataFolder, "Tips") && Join(c.gamesFolder, c.dataFolder, "cgames") &&
         Join(c.libraryFolder, c.dataFolder, "Library");
}

const char* FieldOrNull(std::string AppContext::*field) {
  return g_context ? (g_context.get()->*field).c_str() : nullptr;
}

// Formats into the shared folder buffer; "" when it would not fit.
const char* SharedFolder(const char* format, const char* user) {
  g_folderBuffer[0] = '\0';
  if (!g_context) return g_folderBuffer;
  std::string out;
  if (FormatPath(out, kMaxPath, format, g_context->dataFolder.c_str(), user))
    std::memcpy(g_folderBuffer, out.c_str(), out.size() + 1);
  return g_folderBuffer;
}

}  // namespace

AppContext::AppContext() = default;
AppContext::~AppContext() = default;

bool CreateAppContext() { return CreateAppContextAt(GetProgramFilePath()); }

bool CreateAppContextAt(const std::string& programFilePath) {
  auto ctx = std::make_unique<AppContext>();
  if (!BuildFolderLayout(*ctx, programFilePath)) return false;
  ctx->settings = std::make_unique<SettingsRecord>();
  g_context = std::move(ctx);
  LoadProgramSettings(*g_context->settings);
  return true;
}

bool DestroyAppContext() {
  if (!g_context) return false;
  g_context.reset();
  return true;
}

AppContext* GetAppContext() { return g_context.get(); }

const char* GetProgramFolder() { return FieldOrNull(&AppContext::programFolder); }
const char* GetDataFolder() { return FieldOrNull(&AppContext::dataFolder); }
const char* GetSkinFolder() { return FieldOrNull(&AppContext::skinFolder); }
const char* GetSoundFolder() { return FieldOrNull(&AppContext::soundFolder); }
const char* GetExercisesFolder() { return FieldOrNull(&AppContext::exercisesFolder); }
const char* GetQuizzesFolder() { return FieldOrNull(&AppContext::quizzesFolder); }
const char* GetTipsFolder() { return FieldOrNull(&AppContext::tipsFolder); }
const char* GetGamesFolder() { return FieldOrNull(&AppContext::gamesFolder); }
const char* GetLibraryFolder() { return FieldOrNull(&AppContext::libraryFolder); }
const char* GetEgdbFolder() { return FieldOrNull(&AppContext::egdbFolder); }

void* GetBoardView() { return g_context ? g_context->boardView : nullptr; }
void SetBoardView(void* view) {
  if (g_context) g_context->boardView = view;
}

namespace {
BoardGridHook g_firstGridHook = nullptr;
}  // namespace

void SetBoardViewFirstGridHook(BoardGridHook hook) { g_firstGridHook = hook; }
void* GetBoardViewFirstGrid() { return g_context && g_firstGridHook ? g_firstGridHook() : nullptr; }

void* GetScreen(int roomId) {
  if (!g_context || roomId < 0 || roomId >= kRoomCount) return nullptr;
  return g_context->screens[static_cast<size_t>(roomId)];
}

void SetScreen(int roomId, void* screen) {
  if (g_context && roomId >= 0 && roomId < kRoomCount)
    g_context->screens[static_cast<size_t>(roomId)] = screen;
}

void* GetGameSessionRegistry() { return g_context ? g_context->gameRegistry.get() : nullptr; }
void SetGameSessionRegistry(std::shared_ptr<void> registry) {
  if (g_context) g_context->gameRegistry = std::move(registry);
}

UserProfile* GetCurrentUserProfile() { return g_context ? g_context->currentUser.get() : nullptr; }

bool IsAppActive() { return g_context && g_context->appActive != 0; }
void SetAppActive(bool active) {
  if (g_context) g_context->appActive = active ? 1 : 0;
}
void ClearReloadFlag() {
  if (g_context) g_context->reloadFlag = 0;
}
int GetSpareValue() { return g_context ? g_context->spareValue : 0; }

void SetProgramFolder(const char* path) {
  if (g_context) g_context->programFolder = path ? path : "";
}

const char* GetCurrentUserName() {
  UserProfile* p = GetCurrentUserProfile();
  return p ? p->name : "";
}

bool SetCurrentUserProfile(const UserProfile* profile) {
  UserProfile* current = GetCurrentUserProfile();
  if (!current) return false;
  if (profile) {
    if (profile != current) *current = *profile;
  } else {
    current->name[0] = '\0';
  }
  return true;
}

const char* GetUsersFolder() { return SharedFolder("%s\\Users", ""); }
const char* GetDefaultUserFolder() { return SharedFolder("%s\\Default User", ""); }
const char* GetThemesFolder() { return SharedFolder("%s\\Themes", ""); }
const char* GetPersonalitiesFolder() { return SharedFolder("%s\\Personalities", ""); }
const char* GetLayoutsFolder() { return SharedFolder("%s\\Layouts", ""); }
const char* GetWallpaperFolder() { return SharedFolder("%s\\Wallpaper", ""); }
const char* GetCurrentUserFolder() { return SharedFolder("%s\\Users\\%s", GetCurrentUserName()); }
const char* GetDefaultUserItemPath() {
  return SharedFolder("%s\\Default User\\%s", GetCurrentUserName());
}
const char* GetAdjournedGamesFolder() {
  return SharedFolder("%s\\Users\\%s\\Adjourned Games", GetCurrentUserName());
}

const char* GetProgramIniPath() {
  if (g_context) return g_context->programIniPath.c_str();
  std::string out;
  g_pathBuffer[0] = '\0';
  std::string folder = FolderOfProgram(GetProgramFilePath());
  if (!folder.empty() && Join(out, folder, kProgramIniName))
    std::memcpy(g_pathBuffer, out.c_str(), out.size() + 1);
  return g_pathBuffer;
}

const char* GetSettingsIniPath() {
  return g_context ? g_context->settingsIniPath.c_str() : GetProgramIniPath();
}

bool SetSettingsIniPath(const char* fileName, bool inUserFolder) {
  if (!g_context) return false;
  std::string folder = inUserFolder ? GetCurrentUserFolder() : g_context->dataFolder;
  std::string path;
  if (folder.empty() || !Join(path, folder, fileName ? fileName : kProgramIniName)) return false;
  g_context->settingsIniPath = path;
  return true;
}

void SeedRandom() {
  platform::SeedRandom(static_cast<uint32_t>(std::time(nullptr)));
  g_randomSeeded = true;
}

int RandomBelow(int n) {
  if (!g_randomSeeded) SeedRandom();
  return n > 0 ? platform::Random() % n : 0;
}

}  // namespace shell
