#pragma once
// The one application object: the folder layout derived from the program's
// location, the program and settings ini paths, the settings record, the
// current user's profile, the 3D board view, the rooms' screens, the game
// session registry and the application-active flag. Every other component
// reaches folders through these accessors, never by building paths itself.
//
// Folder accessors return shared static buffers that the next call of the
// same family overwrites. A path that would not fit in kMaxPath is refused
// (an empty text, or false), never cut.
#include <array>
#include <memory>
#include <string>

#include "shell/settings.h"
#include "shell/shell_constants.h"

namespace shell {

struct UserProfile;

struct AppContext {
  AppContext();
  ~AppContext();

  std::string programFolder;    // no trailing backslash, except a drive root ("C:\")
  std::string programIniPath;   // <program folder>\tessarin.ini
  std::string settingsIniPath;  // the program ini until a user is selected
  std::string egdbFolder;       // <program folder>\EGDB
  std::string dataFolder;       // <program folder>\Data
  std::string skinFolder;       // <Data>\Skin
  std::string soundFolder;      // <Data>\Sound
  std::string exercisesFolder;  // <Data>\Exercices
  std::string quizzesFolder;    // <Data>\Quizzes
  std::string tipsFolder;       // <Data>\Tips
  std::string gamesFolder;      // <Data>\cgames
  std::string libraryFolder;    // <Data>\Library

  std::unique_ptr<SettingsRecord> settings;
  std::unique_ptr<UserProfile> currentUser;  // allocated by AllocCurrentUserProfile
  void* boardView = nullptr;                 // set and cleared by the 3D scene
  std::array<void*, kRoomCount> screens{};   // by room id, set by the rooms
  std::shared_ptr<void> gameRegistry;        // owned; set by the game layer
  int reloadFlag = 0;
  int appActive = 0;
  int spareValue = 0;
};

// Builds the context from the executable's own path; false when that path
// cannot be found or a folder path would not fit.
bool CreateAppContext();
// The same from a given executable path ("C:\Games\Tessarin\tessarin.exe").
bool CreateAppContextAt(const std::string& programFilePath);
// False when there is no context.
bool DestroyAppContext();
AppContext* GetAppContext();

// Field getters: null without a context.
const char* GetProgramFolder();
const char* GetDataFolder();
const char* GetSkinFolder();
const char* GetSoundFolder();
const char* GetExercisesFolder();
const char* GetQuizzesFolder();
const char* GetTipsFolder();
const char* GetGamesFolder();
const char* GetLibraryFolder();
const char* GetEgdbFolder();
void* GetBoardView();
void SetBoardView(void* view);
// The board view's first tile grid, null without a view: the 3D scene
// (a layer above) installs the routine that answers it.
using BoardGridHook = void* (*)();
void SetBoardViewFirstGridHook(BoardGridHook hook);
void* GetBoardViewFirstGrid();
void* GetScreen(int roomId);
void SetScreen(int roomId, void* screen);
void* GetGameSessionRegistry();
void SetGameSessionRegistry(std::shared_ptr<void> registry);
UserProfile* GetCurrentUserProfile();
bool IsAppActive();
void SetAppActive(bool active);
void ClearReloadFlag();
int GetSpareValue();
void SetProgramFolder(const char* path);

// The current user's name, or "" without a context, profile or name.
const char* GetCurrentUserName();
// Copies the profile into the current one; null empties the current name.
// False only without a context (or without a current profile buffer).
bool SetCurrentUserProfile(const UserProfile* profile);

// Folders built on demand in one shared buffer ("" when the result would not
// fit or there is no context).
const char* GetUsersFolder();           // <Data>\Users
const char* GetDefaultUserFolder();     // <Data>\Default User
const char* GetThemesFolder();          // <Data>\Themes
const char* GetPersonalitiesFolder();   // <Data>\Personalities
const char* GetLayoutsFolder();         // <Data>\Layouts
const char* GetWallpaperFolder();       // <Data>\Wallpaper
const char* GetCurrentUserFolder();     // <Data>\Users\<current user>
const char* GetDefaultUserItemPath();   // <Data>\Default User\<current user>
const char* GetAdjournedGamesFolder();  // <Data>\Users\<current user>\Adjourned Games

// The program ini path; without a context it is built from the executable's
// path into a shared buffer.
const char* GetProgramIniPath();
// The settings ini in force (the program ini without a context).
const char* GetSettingsIniPath();
// <Data>\Users\<current user>\fileName when inUserFolder, else
// <Data>\fileName; a null fileName means "tessarin.ini". False (and the path
// unchanged) without a context or when the path would not fit.
bool SetSettingsIniPath(const char* fileName, bool inUserFolder);

// Seeds the C generator from the clock.
void SeedRandom();
// A value in [0, n): seeds first when not yet seeded; 0 when n <= 0.
int RandomBelow(int n);

}  // namespace shell
