#pragma once
// The window side as the game layer sees it: the notices it posts to the
// frame and slot windows, the panels it asks to redraw, the settings and
// string-table texts it reads, and the debugger output. The Win32 front-end
// installs its implementation; tests install a recording fake. With none
// installed every notice is dropped and the answers are neutral (English,
// random rack order, empty texts, no pending board view).
#include <cstdint>
#include <string>

class CGame;

// The game's own window messages (below the toolkit's private range).
constexpr uint32_t kMsgGameChanged = 0x8103;   // broadcast to the slot windows
constexpr uint32_t kMsgViewsChanged = 0x8118;  // posted to the frame window
// wParam of kMsgGameChanged: rebuild everything, or one move was added.
constexpr uintptr_t kGameChangedRebuild = 0;
constexpr uintptr_t kGameChangedMoveAdded = 9;

class GameUiPort {
 public:
  virtual ~GameUiPort() = default;

  // PostMessage to the frame window (window slot 8).
  virtual void PostFrameMessage(uint32_t message) { (void)message; }
  // kMsgGameChanged to every registered slot window, lParam the game.
  virtual void BroadcastGameChanged(CGame* game, uintptr_t what) {
    (void)game;
    (void)what;
  }
  virtual void RefreshPlayerPanels() {}
  virtual void RedrawGameInfoStrip() {}
  virtual void RefreshRemainderWindow() {}
  // A duplicate cycle is scored: its results shown (modal) before the next
  // rack is drawn.
  virtual void ShowRoundResults(CGame& game) { (void)game; }
  // The board view's crossagram grid for a crossagram game that starts.
  virtual void PrepareCrossagramGrid(CGame& game) { (void)game; }
  // True while the application holds a board view whose inner view is not
  // yet set: the current game is then withheld from its callers.
  virtual bool BoardViewPending() { return false; }

  // The current user's language (0 English, 1 French).
  virtual int32_t CurrentUserLanguage() { return 0; }
  // The "Rack Sorting" option: 0 random, 1 alphabetical, 2 consonants then
  // vowels, 3 vowels then consonants.
  virtual int32_t RackSortingSetting() { return 0; }
  // The comment the history window holds for the entry about to be made.
  virtual std::string PendingHistoryComment() { return {}; }
  // OutputDebugStringA.
  virtual void DebugOutput(const char* text) { (void)text; }
};

// Installs the port (not owned); returns the previous one. Null restores the
// default.
GameUiPort* SetGameUiPort(GameUiPort* port);
GameUiPort& GetGameUiPort();
