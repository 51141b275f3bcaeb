#include "game/session_registry.h"

#include <algorithm>
#include <cstring>

#include "game/game.h"
#include "game/ui_port.h"

namespace {

GameSessionRegistry* g_installed = nullptr;

// The GUID used when the system cannot make one.
platform::Guid FallbackGuid() {
  platform::Guid g;
  g.data1 = 0xF1F1F1F1u;
  g.data2 = g.data3 = 0xF1F1;
  std::memset(g.data4, 0xF1, sizeof g.data4);
  return g;
}

}  // namespace

GameSessionRegistry::~GameSessionRegistry() {
  DestroyAllGames();
  if (g_installed == this) g_installed = nullptr;
}

bool GameSessionRegistry::GuidTaken(const platform::Guid& guid) const {
  return std::any_of(entries_.begin(), entries_.end(),
                     [&guid](const Entry& e) { return e.guid == guid; });
}

RegisterResult GameSessionRegistry::Register(CGame* game, int32_t id) {
  if (!game) return kNoGame;
  std::lock_guard<platform::CriticalSection> hold(lock_);
  if (static_cast<int>(entries_.size()) >= kMaxLiveGames) return kRegistryFull;
  if (std::any_of(entries_.begin(), entries_.end(),
                  [game](const Entry& e) { return e.game == game; }))
    return kAlreadyRegistered;
  if (game->guid.IsNull() || GuidTaken(game->guid)) {
    game->guid = platform::CreateGuid();
    if (game->guid.IsNull()) game->guid = FallbackGuid();
    // A failing generator gives every game the fallback: never let two
    // games share one.
    if (GuidTaken(game->guid)) return kGuidUnavailable;
  }
  Entry e;
  e.guid = game->guid;
  e.game = game;
  e.id = id;
  entries_.push_back(e);
  if (!current_) current_ = game;
  return kRegistered;
}

bool GameSessionRegistry::Unregister(const platform::Guid& guid) {
  std::lock_guard<platform::CriticalSection> hold(lock_);
  auto it = std::find_if(entries_.begin(), entries_.end(),
                         [&guid](const Entry& e) { return e.guid == guid; });
  if (it == entries_.end()) return false;
  const CGame* game = it->game;
  entries_.erase(it);
  if (current_ == game) current_ = entries_.empty() ? nullptr : entries_.front().game;
  return true;
}

void GameSessionRegistry::DestroyAllGames() {
  // Each game is deleted outside the lock: its robots may be waiting for a
  // worker thread that reads the current game.
  for (;;) {
    CGame* game = nullptr;
    {
      std::lock_guard<platform::CriticalSection> hold(lock_);
      if (entries_.empty()) break;
      game = entries_.front().game;
      Unregister(entries_.front().guid);
    }
    DeleteGame(game);
  }
  std::lock_guard<platform::CriticalSection> hold(lock_);
  entries_.clear();
  current_ = nullptr;
}

CGame* GameSessionRegistry::FindGameById(int32_t id) {
  std::lock_guard<platform::CriticalSection> hold(lock_);
  for (const Entry& e : entries_)
    if (e.id == id) return e.game;
  return nullptr;
}

int GameSessionRegistry::GetGameCount() {
  std::lock_guard<platform::CriticalSection> hold(lock_);
  return static_cast<int>(entries_.size());
}

bool GameSessionRegistry::IsRegistered(const CGame* game) {
  std::lock_guard<platform::CriticalSection> hold(lock_);
  return std::any_of(entries_.begin(), entries_.end(),
                     [game](const Entry& e) { return e.game == game; });
}

CGame* GameSessionRegistry::GetCurrentGame() {
  std::lock_guard<platform::CriticalSection> hold(lock_);
  return current_;
}

CGame* GameSessionRegistry::SetCurrentGame(CGame* game) {
  if (!game) return nullptr;
  std::lock_guard<platform::CriticalSection> hold(lock_);
  CGame* previous = current_;
  current_ = game;
  return previous;
}

std::shared_ptr<GameSessionRegistry> InitGameSessionRegistry() {
  auto registry = std::make_shared<GameSessionRegistry>();
  InstallGameSessionRegistry(registry.get());
  return registry;
}

GameSessionRegistry* InstallGameSessionRegistry(GameSessionRegistry* registry) {
  GameSessionRegistry* previous = g_installed;
  g_installed = registry;
  return previous;
}

GameSessionRegistry* GetGameSessionRegistry() { return g_installed; }

RegisterResult RegisterGame(CGame* game, int32_t id) {
  return g_installed ? g_installed->Register(game, id) : kRegistryMissing;
}

bool UnregisterGame(const platform::Guid& guid) {
  return g_installed && g_installed->Unregister(guid);
}

void DestroyAllGames() {
  if (g_installed) g_installed->DestroyAllGames();
}

CGame* FindGameById(int32_t id) { return g_installed ? g_installed->FindGameById(id) : nullptr; }

int GetGameCount() { return g_installed ? g_installed->GetGameCount() : 0; }

CGame* GetCurrentGame() {
  if (!g_installed || GetGameUiPort().BoardViewPending()) return nullptr;
  return g_installed->GetCurrentGame();
}

CGame* SetCurrentGame(CGame* game) {
  return g_installed ? g_installed->SetCurrentGame(game) : nullptr;
}
