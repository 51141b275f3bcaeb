// The game's window port on real windows under Wine: the game-changed
// notice reaches every slot window with the game, the views-changed notice
// reaches the mentor's slot, and the panels' visibility ops of the frame.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/game.h"
#include "game/ui_port.h"
#include "ui/window_slots.h"
#include "standard_skin.h"
#include "ui_test_fixture.h"
#include "ui/win32/dictionary_ops_win32.h"
#include "ui/win32/game_ui_port_win32.h"
#include "ui/win32/main_frame.h"
#include "ui/win32/round_results_dialog.h"
#include "ui/game_settings.h"
#include "ui/win32/window_slots_win32.h"

namespace ui {
namespace {

struct Seen {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Seen> g_seen;

LRESULT CALLBACK PanelProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kMsgGameChanged || msg == kMsgViewsChanged) g_seen.push_back({w, msg, wp, lp});
  SlotWindowHook(static_cast<int>(GetWindowLongPtrA(w, GWLP_USERDATA)), w, msg, wp, lp);
  return DefWindowProcA(w, msg, wp, lp);
}

TEST(WindowPorts, GameNoticesReachTheSlotWindows) {
  InstallGameWindowPorts();
  ResetWindowSlotRegistry();
  const char* panelClass = "TessarinPortPanel";
  ASSERT_TRUE(uitest::RegisterPanelClass(panelClass, PanelProc));
  std::vector<HWND> panels;
  for (int slot : {kSlotMoveList, kSlotMentor, kSlotPlayers}) {
    HWND w = CreateWindowExA(WS_EX_TOOLWINDOW, panelClass, "", WS_POPUP, 0, 0, 20, 20, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(w, GWLP_USERDATA, slot);
    WindowSlotOp(kOpRegister, slot, reinterpret_cast<intptr_t>(w));
    panels.push_back(w);
  }

  auto* game = reinterpret_cast<CGame*>(0x1234);
  GetGameUiPort().BroadcastGameChanged(game, kGameChangedMoveAdded);
  ASSERT_EQ(g_seen.size(), 3u);  // sent, so already there
  for (const Seen& s : g_seen) {
    EXPECT_EQ(s.message, kMsgGameChanged);
    EXPECT_EQ(s.wParam, kGameChangedMoveAdded);
    EXPECT_EQ(s.lParam, reinterpret_cast<LPARAM>(game));
  }
  g_seen.clear();
  GetGameUiPort().PostFrameMessage(kMsgViewsChanged);
  EXPECT_TRUE(g_seen.empty());  // posted
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    DispatchMessageA(&msg);
  ASSERT_EQ(g_seen.size(), 1u);
  EXPECT_EQ(g_seen[0].window, panels[1]);
  EXPECT_EQ(g_seen[0].message, kMsgViewsChanged);

  // The frame's panel ops: hide all, show all, suspend and restore.
  HidePanelWindows(0);
  for (HWND w : panels)
    EXPECT_TRUE(IsWindowVisible(w));
  SuspendPanelWindows(1);
  for (HWND w : panels)
    EXPECT_FALSE(IsWindowVisible(w));
  SuspendPanelWindows(0);
  for (HWND w : panels)
    EXPECT_TRUE(IsWindowVisible(w));
  HidePanelWindows(1);
  for (HWND w : panels)
    EXPECT_FALSE(IsWindowVisible(w));

  for (HWND w : panels)
    DestroyWindow(w);
  EXPECT_EQ(GetSlotWindow(kSlotMentor), nullptr);
  UninstallGameWindowPorts();
  SetSlotWindowPort(nullptr);
}

// The rack order is the options' choice in force; a scored duplicate cycle
// opens the round results over the board.
TEST(WindowPorts, RackOrderAndRoundResultsOfThePort) {
  InstallGameWindowPorts();
  OptionsSettings& options = GetOptionsSettings();
  const OptionsSettings saved = options;
  options.rackSorting = 3;
  EXPECT_EQ(GetGameUiPort().RackSortingSetting(), 3);
  options = saved;

  // The dialog is one of the toolkit's.
  ASSERT_EQ(uitest::InitializeStandardSkin(GetModuleHandleA(nullptr)), 1);
  CGame game;
  std::string caption;
  uitest::Then([&](HWND d) {
    caption = uitest::Text(d);
    PostMessageA(d, WM_COMMAND, kIdRoundResultsOk, 0);
  });
  GetGameUiPort().ShowRoundResults(game);
  EXPECT_EQ(caption.rfind("Mentor's solution: ", 0), 0u) << caption;
  UninstallGameWindowPorts();
  gui::GuiFreeFrameSkin();
}

TEST(WindowPorts, SearchHistoryOnARealDropDownList) {
  HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_POPUP | CBS_DROPDOWN, 0, 0, 100, 200, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(combo);
  EXPECT_EQ(AddComboHistory(combo, "quartz"), 1);
  EXPECT_EQ(AddComboHistory(combo, "QUARTZ"), 1);
  for (int i = 0; i < 10; ++i)
    AddComboHistory(combo, ("word" + std::to_string(i)).c_str());
  EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 10);
  char text[32] = {};
  SendMessageA(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "word9");
  EXPECT_EQ(SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>("quartz")),
            CB_ERR);
  EXPECT_EQ(AddDictionaryHistory("x"), 0);  // no dictionary panel
  DestroyWindow(combo);
}

}  // namespace
}  // namespace ui
