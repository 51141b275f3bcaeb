// The players panel under Wine: a five-player game, the rows' players, the
// scroll messages and the clocks above the rows; a screenshot of the panel.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/session_registry.h"
#include "game_test_support.h"
#include "gui/gui_core.h"
#include "gui/list_view_skin.h"
#include "gui/skin_reader.h"
#include "gui/widget_skin_reader.h"
#include "gui/win32/gui_frame.h"
#include "gui/win32/gui_win32.h"
#include "screenshot.h"
#include "standard_skin.h"
#include "ui_test_fixture.h"
#include "ui/window_slots.h"
#include "ui/win32/players_panel_win32.h"

namespace ui {
namespace {

using uitest::Pump;
using uitest::Text;

class PlayersPanelWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    ASSERT_EQ(uitest::InitializeStandardSkin(instance), 1);
    auto made = std::make_unique<CGame>();
    made->setup.kind = kKindStandard;
    PlayerSetupEntry e;
    e.playerType = kPlayerHuman;
    for (int i = 0; i < 5; ++i)
      made->setup.AddPlayer(e);
    made->rules->Setup(0, 7, &made->setup);
    made->CreatePlayers();
    made->state = kStateTurnRunning;
    const char* names[] = {"Ada", "Basil", "Cleo", "Dorian", "Evangeline Montgomery"};
    for (int i = 0; i < 5; ++i) {
      std::strcpy(made->Player(i)->entry.name, names[i]);
      made->Player(i)->score = 100 + 10 * i;
    }
    made->Player(2)->lastAction = 1;  // passed
    made->currentPlayer = made->Player(1);
    made->viewingPlayer = made->Player(0);
    made->roundCount = 6;
    made->gameElapsedMs = 3723000;
    game = made.get();
    ASSERT_TRUE(uitest::RegisterCurrentGame(registry, std::move(made)));
    owner = uitest::MakeOwner(instance);
  }
  void TearDown() override {
    if (HWND panel = static_cast<HWND>(GetSlotWindow(kSlotPlayers))) DestroyWindow(panel);
    DestroyWindow(owner);
    InstallGameSessionRegistry(nullptr);
    gui::GuiFreeFrameSkin();
  }

  // The player index each row holds, top to bottom.
  static std::vector<int> RowPlayers(HWND panel) {
    std::vector<std::pair<int, int>> rows;  // y, index
    for (HWND row = FindWindowExA(panel, nullptr, "ScrollPlayerClass", nullptr); row;
         row = FindWindowExA(panel, row, "ScrollPlayerClass", nullptr)) {
      RECT r;
      GetWindowRect(row, &r);
      rows.push_back({r.top, static_cast<int>(GetWindowLongPtrA(row, 0))});
    }
    std::sort(rows.begin(), rows.end());
    std::vector<int> out;
    for (auto& r : rows)
      out.push_back(r.second);
    return out;
  }

  GameSessionRegistry registry;
  CGame* game = nullptr;
  HWND owner = nullptr;
};

TEST_F(PlayersPanelWindows, RowsScrollAndClocks) {
  EXPECT_EQ(CreatePlayersPanel(nullptr, GetModuleHandleA(nullptr)), -1);
  ASSERT_EQ(CreatePlayersPanel(owner, GetModuleHandleA(nullptr)), 0);
  HWND panel = static_cast<HWND>(GetSlotWindow(kSlotPlayers));
  ASSERT_NE(panel, nullptr);
  ShowWindow(panel, SW_SHOWNOACTIVATE);
  Pump();
  RECT client;
  GetClientRect(panel, &client);
  EXPECT_EQ(client.bottom, 380);
  EXPECT_GT(client.right, 150);  // room for the scroll bar
  EXPECT_EQ(RowPlayers(panel), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(game->Player(RowPlayers(panel)[1])->score, 110);
  EXPECT_EQ(Text(panel, kIdTurnNumber), "7");
  EXPECT_EQ(Text(panel, kIdTotalTime).substr(0, 5), "01:02");
  EXPECT_EQ(Text(panel, kIdTurnTime), "");  // no clock

  SendMessageA(panel, kMsgPlayersSetFirst, 9, 0);
  EXPECT_EQ(GetFirstPlayerRow(), 1);
  EXPECT_EQ(RowPlayers(panel), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_STREQ(game->Player(RowPlayers(panel)[3])->entry.name, "Evangeline Montgomery");
  SendMessageA(panel, WM_VSCROLL, SB_PAGEUP,
               reinterpret_cast<LPARAM>(GetDlgItem(panel, kIdPlayersScroll)));
  EXPECT_EQ(RowPlayers(panel), (std::vector<int>{0, 1, 2, 3}));
  SendMessageA(panel, WM_VSCROLL, SB_LINEUP,
               reinterpret_cast<LPARAM>(GetDlgItem(panel, kIdPlayersScroll)));
  EXPECT_EQ(GetFirstPlayerRow(), 0);
  ScrollPlayersPanel(10);
  EXPECT_EQ(RowPlayers(panel), (std::vector<int>{1, 2, 3, 4}));
  Pump();
  // The bar is drawn in the skin's pieces: no pixel of it is left black.
  HWND bar = GetDlgItem(panel, kIdPlayersScroll);
  ASSERT_TRUE(IsWindowVisible(bar));
  RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  Pump();
  const tess_test::Image barShot = tess_test::CaptureWindow(bar);
  ASSERT_FALSE(barShot.empty());
  const RECT all{0, 0, barShot.width, barShot.height};
  EXPECT_EQ(tess_test::CountPixels(barShot, all, [](COLORREF c) { return c == RGB(0, 0, 0); }), 0);
  EXPECT_FALSE(
      tess_test::SaveScreenshot(tess_test::CaptureWindow(panel), "ui_players_panel").empty());
}

}  // namespace
}  // namespace ui
