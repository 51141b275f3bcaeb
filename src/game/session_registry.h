#pragma once
// The live game registry: every game object that exists, each with its
// GUID, and the current game that screens and commands act on. The
// application context owns the one registry; the game layer reaches it
// through the functions below once it is installed. The count, the entries
// and the current game change only under the registry's lock, since other
// threads read the current game.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/guid.h"
#include "platform/sync.h"

class CGame;

constexpr int kMaxLiveGames = 10;

enum RegisterResult : int {
  kRegistered = 0,
  kRegistryMissing,    // no registry installed
  kRegistryFull,       // kMaxLiveGames are registered
  kAlreadyRegistered,  // this game object is registered already
  kNoGame,             // a null game
  kGuidUnavailable,    // no GUID could be made that no other game holds
};

class GameSessionRegistry {
 public:
  GameSessionRegistry() = default;
  // Deletes the games still registered.
  ~GameSessionRegistry();
  GameSessionRegistry(const GameSessionRegistry&) = delete;
  GameSessionRegistry& operator=(const GameSessionRegistry&) = delete;

  // Registers a game under the caller's id; the registry owns it from then
  // on. A game without a GUID gets one; one whose GUID another registered
  // game holds (the same file opened twice) gets a new one, so that every
  // GUID names one game. The first game registered becomes current. On any
  // result but kRegistered the game stays the caller's.
  RegisterResult Register(CGame* game, int32_t id);
  // Removes the game of this GUID (the registry no longer owns it). When it
  // was current, the oldest remaining game becomes current. False when no
  // game has that GUID.
  bool Unregister(const platform::Guid& guid);
  // Unregisters and deletes every game; no current game afterwards.
  void DestroyAllGames();
  CGame* FindGameById(int32_t id);
  int GetGameCount();
  bool IsRegistered(const CGame* game);
  CGame* GetCurrentGame();
  // Makes a game current; returns the previous one. Null changes nothing and
  // returns null.
  CGame* SetCurrentGame(CGame* game);

 private:
  struct Entry {
    platform::Guid guid;
    int32_t reserved = 0;
    CGame* game = nullptr;
    int32_t id = 0;
    int32_t reserved2 = 0;
  };
  bool GuidTaken(const platform::Guid& guid) const;

  platform::CriticalSection lock_;
  std::vector<Entry> entries_;
  CGame* current_ = nullptr;
};

// Makes the program's registry and installs it; the caller (the application
// context) owns it. Its destruction deletes the games left and uninstalls it.
std::shared_ptr<GameSessionRegistry> InitGameSessionRegistry();
// Installs a registry (not owned); null uninstalls. Returns the previous one.
GameSessionRegistry* InstallGameSessionRegistry(GameSessionRegistry* registry);
GameSessionRegistry* GetGameSessionRegistry();

// The program-wide operations on the installed registry. Without one,
// RegisterGame answers kRegistryMissing and the others do nothing / null.
RegisterResult RegisterGame(CGame* game, int32_t id);
bool UnregisterGame(const platform::Guid& guid);
void DestroyAllGames();
CGame* FindGameById(int32_t id);
int GetGameCount();
// Null also while the window side holds a board view that is not ready.
CGame* GetCurrentGame();
CGame* SetCurrentGame(CGame* game);
// Makes a registered game the current one.
inline CGame* MakeGameCurrent(CGame* game) { return SetCurrentGame(game); }
