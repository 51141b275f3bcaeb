// The end-of-game "Results" dialog and a player's statistics under Wine: a
// finished game between a human and a computer, the ranking, the remark, the
// "Stats" button and the statistics rows; screenshots of both dialogs.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "game/game.h"
#include "game_fakes.h"
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
#include "ui/win32/results_win32.h"

namespace ui {
namespace {

using uitest::Cell;
using uitest::Text;

void Then(std::function<void(HWND)> step) { uitest::Then(std::move(step), 400); }

class ResultsWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    ASSERT_EQ(uitest::InitializeStandardSkin(instance), 1);
    game = gametest::TwoHumanGame();
    std::strcpy(game->Player(0)->entry.name, "Ada");
    std::strcpy(game->Player(1)->entry.name, "Basil");
    game->Player(1)->entry.playerType = 1;  // a computer
    game->Player(0)->score = 320;
    game->Player(1)->score = 410;
    PlayerMoveStats& s = game->Player(0)->stats[kStandardStats];
    s.lettersPlaced = 40;
    s.bestMove = gametest::Move("quartz", 96, 3, 7);
  }
  void TearDown() override { gui::GuiFreeFrameSkin(); }

  // The standard skin's frames, buttons, labels and list views.

  gamefakes::RecordingUiPort ui;
  std::unique_ptr<CGame> game;
};

TEST_F(ResultsWindows, RankingRemarkAndStatistics) {
  std::string remark, first, second, statsRow, stats;
  bool statsEnabled = false;
  Then([&](HWND results) {
    remark = Text(results, kIdRemark);
    HWND list = GetDlgItem(results, kIdRanking);
    first = Cell(list, 0, 0) + " " + Cell(list, 0, 1);
    second = Cell(list, 1, 0) + " " + Cell(list, 1, 1);
    statsEnabled = IsWindowEnabled(GetDlgItem(results, kIdStats)) != 0;
    tess_test::SaveScreenshot(tess_test::CaptureWindow(results), "ui_results");
    Then([&](HWND statistics) {
      HWND rows = GetDlgItem(statistics, kIdStatsList);
      for (int i = 0; i < 3; ++i)
        statsRow += Cell(rows, i, 0) + "=" + Cell(rows, i, 1) + ";";
      stats = tess_test::SaveScreenshot(tess_test::CaptureWindow(statistics), "ui_statistics");
      PostMessageA(statistics, WM_COMMAND, kIdStatsOk, 0);
      Then([](HWND again) { PostMessageA(again, WM_COMMAND, kIdResultsOk, 0); });
    });
    PostMessageA(results, WM_COMMAND, kIdStats, 0);  // Ada is selected
  });
  EXPECT_EQ(ShowFinalRanking(game.get(), nullptr), 0);
  EXPECT_EQ(first, "Basil 410");
  EXPECT_EQ(second, "Ada 320");
  // Second of two is last: the beginner's remark.
  EXPECT_NE(remark.find("hard starting off, Ada"), std::string::npos) << remark;
  EXPECT_TRUE(statsEnabled);
  EXPECT_EQ(statsRow, "Best word=quartz;Best word score=96;No. of Tessarins=0;");
  EXPECT_FALSE(stats.empty());
}

}  // namespace
}  // namespace ui
