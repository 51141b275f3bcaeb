// The screen manager: the eighteen room screens, the current one, the
// stack of rooms opened over others, room music and the per-frame step.
//
// Differences from the manager it follows: a screen whose Enter failed is
// not asked to Leave (it undid its own entering); and a pop that would
// leave the stack empty enters the lobby, so the program never ends up
// without a room.
#include <array>
#include <string>

#include "scene/game_room.h"
#include "scene/grid_host.h"
#include "scene/lobby_room.h"
#include "scene/room_port.h"
#include "scene/screen.h"
#include "shell/app_context.h"
#include "shell/sound.h"
#include "shell/theme.h"

namespace scene {

namespace {

const char* const kRoomKeys[kRoomScreenCount] = {
    "lobbyroom",   "tessarinroom",  "tournamentroom",     "classroom",        "networkroom",
    "anagramroom", "exercicesroom", "crossagramroom",     "bestsolutionroom", "conundrumroom",
    "lanroom",     "onlineroom",    "commentedgamesroom", "librarygamesroom", "networkgame",
    "tipsroom",    "rulesroom",     "libraryroom"};

Screen* BaseScreen(int roomId) { return new Screen(roomId); }
Screen* LobbyScreen(int) { return CreateLobbyScreen(); }
Screen* MainGameScreen(int) { return CreateMainGameScreen(); }
Screen* BestSolutionScreen(int) { return CreateBestSolutionScreen(); }

struct Manager {
  std::array<RoomScreenFactory, kRoomScreenCount> factories{};
  std::array<Screen*, kRoomScreenCount> screens{};
  Screen* current = nullptr;
  bool currentEntered = false;  // the current screen's Enter succeeded
  Screen* stack[kScreenStackSize] = {};
  int top = -1;
  int roomIdWithoutWindow = kNoRoomWindowId;

  Manager() {
    factories.fill(&BaseScreen);
    factories[kLobbyRoom] = &LobbyScreen;
    factories[kMainGameRoom] = &MainGameScreen;
    factories[kBestSolutionRoom] = &BestSolutionScreen;
  }
};

Manager& M() {
  static Manager manager;
  return manager;
}

bool ValidRoom(int id) { return id >= 0 && id < kRoomScreenCount; }

std::wstring Widen(const char* text) {
  std::wstring out;
  for (const char* p = text; *p; ++p)
    out += static_cast<wchar_t>(static_cast<unsigned char>(*p));
  return out;
}

void ChangeRoomSound(int roomId) {
  shell::StopMusic();
  shell::StopAmbiance();
  if (roomId == kLobbyRoom) {
    shell::PlayMusicFile(L"Mmenu01.wav", -1);
    return;
  }
  const char* theme = shell::GetCurrentThemePath();
  char ambiance[shell::kThemeBufferSize] = {};
  if (theme && *theme && shell::GetThemeAmbiance(theme, ambiance) && ambiance[0])
    shell::PlayAmbianceFile(Widen(ambiance).c_str(), -1);
}

// Enters the screen on top of the stack again (nothing when it is empty).
void EnterTop() {
  Manager& m = M();
  if (m.top >= 0 && m.stack[m.top]) EnterRoom(m.stack[m.top]->roomId);
}

}  // namespace

const char* RoomKey(int id) { return ValidRoom(id) ? kRoomKeys[id] : ""; }

void SetRoomScreenFactory(int roomId, RoomScreenFactory factory) {
  if (ValidRoom(roomId)) M().factories[roomId] = factory ? factory : &BaseScreen;
}

void CreateRoomScreens() {
  Manager& m = M();
  DestroyRoomScreens();
  for (int id = 0; id < kRoomScreenCount; ++id) {
    m.screens[id] = m.factories[id](id);
    if (m.screens[id]) m.screens[id]->roomId = id;
    shell::SetScreen(id, m.screens[id]);
  }
  m.current = nullptr;
  m.currentEntered = false;
  m.top = -1;
}

void DestroyRoomScreens() {
  Manager& m = M();
  for (int id = 0; id < kRoomScreenCount; ++id) {
    delete m.screens[id];
    m.screens[id] = nullptr;
    shell::SetScreen(id, nullptr);
  }
  m.current = nullptr;
  m.currentEntered = false;
  for (Screen*& s : m.stack)
    s = nullptr;
  m.top = -1;
}

Screen* GetRoomScreen(int roomId) { return ValidRoom(roomId) ? M().screens[roomId] : nullptr; }

void* GetRoomData(int roomId) {
  Screen* s = GetRoomScreen(roomId);
  return s ? s->roomData : nullptr;
}

Screen* GetCurrentScreen() { return M().current; }

int GetCurrentRoomId() {
  RoomPort& port = GetRoomPort();
  return port.HasRoomWindow() ? port.ReadRoomId() : kNoRoomWindowId;
}

void SetCurrentRoomId(int roomId) { GetRoomPort().StoreRoomId(roomId); }

bool EnterRoom(int roomId) {
  Manager& m = M();
  Screen* next = GetRoomScreen(roomId);
  if (!next) return false;
  RoomPort& port = GetRoomPort();
  if (m.current && m.currentEntered) {
    port.SetWaitCursor(true);
    m.current->Leave();
    port.SetWaitCursor(false);
  }
  ChangeRoomSound(roomId);
  m.current = next;
  SetCurrentRoomId(roomId);
  m.currentEntered = next->Enter();
  return m.currentEntered;
}

bool PushScreen(int roomId) {
  Manager& m = M();
  Screen* target = GetRoomScreen(roomId);
  if (!target || m.top + 1 >= kScreenStackSize) return false;
  target->OnPush();
  if (EnterRoom(roomId)) {
    m.stack[++m.top] = m.current;
    return true;
  }
  EnterTop();
  target->OnPop();
  return false;
}

void PopScreen() {
  Manager& m = M();
  if (m.top < 0) return;
  Screen* removed = m.stack[m.top];
  m.stack[m.top--] = nullptr;
  if (m.top >= 0)
    EnterTop();
  else
    PushScreen(kLobbyRoom);  // never without a room: the lobby takes the emptied stack
  if (removed) removed->OnPop();
}

void PopScreensTo(int level) {
  Manager& m = M();
  if (level < 0 || level > m.top) return;
  if (m.stack[level]) EnterRoom(m.stack[level]->roomId);
  for (int i = m.top; i > level; --i) {
    if (m.stack[i]) m.stack[i]->OnPop();
    m.stack[i] = nullptr;
  }
  m.top = level;
}

void ReenterCurrentRoom() {
  Manager& m = M();
  if (!m.current) return;
  if (EnterRoom(m.current->roomId)) return;
  if (m.top < 0) return;
  Screen* removed = m.stack[m.top];
  m.stack[m.top--] = nullptr;
  EnterTop();
  if (removed) removed->OnPop();
}

int GetScreenStackTop() { return M().top; }

Screen* GetStackedScreen(int level) {
  Manager& m = M();
  return level >= 0 && level <= m.top ? m.stack[level] : nullptr;
}

void UpdateCurrentRoom(float dt) {
  Manager& m = M();
  if (!m.current || !m.currentEntered || GetCurrentRoomId() == kLobbyRoom) return;
  const SceneGrids& grids = CurrentGrids();
  for (TileGrid* g : {grids.workingArea, grids.rack, grids.board, grids.carrier})
    if (g) g->Animate(dt);
  m.current->Update(dt);
}

}  // namespace scene
