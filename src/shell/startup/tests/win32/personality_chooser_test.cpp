// The personality chooser under Wine, opened from the duplicate set-up with
// the program's personalities and portraits: cards picked and filtered by
// posted input, a personality another line holds refused, and the chosen
// name written into the set-up's line.
#include "shell/startup/win32/personality_chooser.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/game.h"
#include "setup_support.h"
#include "shell/res_strings.h"
#include "shell/resource_packs.h"
#include "shell/startup/personality_cards.h"
#include "shell/startup/win32/personality_card.h"
#include "ui/win32/setup_dialogs.h"
#include "ui/win32/side_game_setup_win32.h"

namespace {

using setuptest::Click;
using setuptest::Text;
using setuptest::Then;

constexpr int kFirstCard = 580, kPanel = 596, kTabs = 597, kFilters = 598, kInfo = 599;
constexpr int kFemaleFilter = 605;

std::string Line(HWND dialog, int line) {
  char text[128] = {};
  SendDlgItemMessageA(dialog, ui::kIdPlayerList, LB_GETTEXT, line, reinterpret_cast<LPARAM>(text));
  return text;
}

void SelectLine(HWND dialog, int line) {
  SendDlgItemMessageA(dialog, ui::kIdPlayerList, LB_SETCURSEL, line, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(ui::kIdPlayerList, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, ui::kIdPlayerList)));
}

HWND Page(HWND chooser, int id) {
  return GetDlgItem(GetDlgItem(GetDlgItem(chooser, kPanel), kTabs), id);
}

const shell::PersonalityEntry* CardEntry(HWND chooser, int card) {
  return shell::GetPersonalityCardEntry(GetDlgItem(chooser, kFirstCard + card));
}

// A click on the card as the mouse gives it.
void ClickCard(HWND chooser, int card) {
  SendMessageA(GetDlgItem(chooser, kFirstCard + card), WM_LBUTTONDOWN, MK_LBUTTON,
               MAKELPARAM(20, 20));
}

class ChooserWindows : public setuptest::SetupWindows {
 protected:
  // The program's own personalities and portraits beside the fixture's.
  void SetUp() override {
    SetupWindows::SetUp();
    WIN32_FIND_DATAA found;
    const std::string from = tess_test::BuildPath("Data/Personalities/");
    HANDLE h = FindFirstFileA((from + "*.QNP").c_str(), &found);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << from;
    do {
      CopyFileA((from + found.cFileName).c_str(),
                (std::string(shell::GetPersonalitiesFolder()) + "\\" + found.cFileName).c_str(),
                FALSE);
    } while (FindNextFileA(h, &found));
    FindClose(h);
    const std::string packs = env.program + "\\tessarinData";
    CreateDirectoryA(packs.c_str(), nullptr);
    for (const char* f : {"faces.idx", "faces.dat"})
      ASSERT_TRUE(CopyFileA(tess_test::BuildPath(std::string("tessarinData/") + f).c_str(),
                            (packs + "\\" + f).c_str(), FALSE))
          << f;
    ui::SetPersonalityChooser(shell::ChoosePersonalityForSetup);
  }
  void TearDown() override {
    ui::SetPersonalityChooser(nullptr);
    shell::CloseResourcePack(shell::kPackFaces);  // its folder goes with the test
    SetupWindows::TearDown();
  }
};

TEST_F(ChooserWindows, APersonalityIsChosenFromTheCards) {
  CGame game;
  game.setup.kind = kKindDuplicate;
  game.setup.SetPlayerCount(3);
  std::string shot, picked, info, infoName, line1, line2, otherPick;
  bool allMale = true, cardsFilled = true, refusedStays = false, movedOn = false,
       lastFilled = false;
  size_t noticesBefore = 0, noticesAfter = 0;

  // Second round, line 3: the first pick is refused, another card is taken.
  auto secondChooser = [&](HWND c) {
    ClickCard(c, 1);
    noticesBefore = sink.messages.size();
    SendMessageA(c, WM_COMMAND, IDOK, 0);
    noticesAfter = sink.messages.size();
    refusedStays = IsWindow(c) && IsWindowVisible(c);
    ClickCard(c, 2);
    otherPick = shell::PersonalityCallerName(CardEntry(c, 2)->name);
    Then([&](HWND d) {
      line2 = Line(d, 2);
      PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
    });
    PostMessageA(c, WM_COMMAND, IDOK, 0);
  };
  auto firstChooser = [&](HWND c) {
    for (int i = 0; i < shell::kPersonalityCards; ++i)
      cardsFilled = cardsFilled && CardEntry(c, i) != nullptr;
    // Women filtered out, then back in.
    SendDlgItemMessageA(Page(c, kFilters), kFemaleFilter, BM_CLICK, 0, 0);
    for (int i = 0; i < shell::kPersonalityCards; ++i)
      allMale = allMale && CardEntry(c, i) && CardEntry(c, i)->sex == 1;
    SendDlgItemMessageA(Page(c, kFilters), kFemaleFilter, BM_CLICK, 0, 0);
    // The scroll bar moves the row a page on and back, never past its end.
    const shell::PersonalityEntry* firstCard = CardEntry(c, 0);
    SendMessageA(c, WM_HSCROLL, SB_PAGERIGHT, reinterpret_cast<LPARAM>(GetDlgItem(c, 589)));
    movedOn = CardEntry(c, 0) != firstCard;
    SendMessageA(c, WM_HSCROLL, SB_RIGHT, reinterpret_cast<LPARAM>(GetDlgItem(c, 589)));
    lastFilled = CardEntry(c, shell::kPersonalityCards - 1) != nullptr;
    SendMessageA(c, WM_HSCROLL, SB_LEFT, reinterpret_cast<LPARAM>(GetDlgItem(c, 589)));
    ClickCard(c, 1);
    picked = shell::PersonalityCallerName(CardEntry(c, 1)->name);
    infoName = Text(Page(c, kInfo), 590);
    info = Text(Page(c, kInfo), 593);
    RedrawWindow(c, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    shot = tess_test::SaveScreenshot(tess_test::CaptureWindow(c), "startup_personality");
    Then([&](HWND d) {
      line1 = Line(d, 1);
      SelectLine(d, 2);
      Then(secondChooser);
      PostMessageA(d, WM_COMMAND, ui::kIdLinePersonality, 0);  // a human line's button is off
    });
    PostMessageA(c, WM_COMMAND, IDOK, 0);
  };
  Then([&](HWND d) {
    // Line 3 human, so that no line holds a card's personality by chance.
    SelectLine(d, 2);
    SendDlgItemMessageA(d, ui::kIdLineComputer, BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageA(d, WM_COMMAND, ui::kIdLineComputer, 0);
    SelectLine(d, 1);
    Then(firstChooser);
    Click(d, ui::kIdLinePersonality);
  });
  ui::RunDuplicateSetupDialog(nullptr, &game);

  EXPECT_FALSE(shot.empty());
  EXPECT_TRUE(cardsFilled);
  EXPECT_TRUE(allMale) << "the female filter hides women";
  EXPECT_TRUE(movedOn);
  EXPECT_TRUE(lastFilled) << "the row ends on the last personality, not past it";
  ASSERT_FALSE(picked.empty());
  EXPECT_EQ(line1, picked) << "the chosen name is the line's";
  EXPECT_EQ(shell::PersonalityCallerName(infoName), picked);
  EXPECT_EQ(info.find("%d"), std::string::npos) << info;
  EXPECT_EQ(noticesAfter, noticesBefore + 1) << "a personality already chosen is refused";
  if (noticesAfter > noticesBefore)
    EXPECT_EQ(sink.messages[noticesBefore].text, shell::LoadResString(2082));
  EXPECT_TRUE(refusedStays);
  EXPECT_EQ(line2, otherPick);
  EXPECT_NE(line2, line1);
}

TEST_F(ChooserWindows, ThePuzzleSetUpNamesItsComputerLineFromTheCards) {
  CGame game;
  game.setup.kind = kKindConundrum;
  game.setup.SetPlayerCount(2);
  std::string picked, line2;
  Then([&](HWND d) {
    Then([&](HWND c) {
      ClickCard(c, 0);
      picked = shell::PersonalityCallerName(CardEntry(c, 0)->name);
      Then([&](HWND setup) {
        line2 = Text(setup, ui::kIdSetupFirstName + 1);
        PostMessageA(setup, WM_COMMAND, IDCANCEL, 0);
      });
      PostMessageA(c, WM_COMMAND, IDOK, 0);
    });
    Click(d, ui::kIdSetupComputer + 1);
    Click(d, ui::kIdSetupPersonality + 1);
  });
  ui::RunGameSetupDialog(nullptr, &game);
  ASSERT_FALSE(picked.empty());
  EXPECT_EQ(line2, picked);
}

TEST_F(ChooserWindows, TheCardDialogShowsOnePersonality) {
  std::string shot;
  const shell::PersonalityEntry* shown = nullptr;
  Then([&](HWND d) {
    shown = shell::GetPersonalityCardEntry(GetDlgItem(d, 100));
    if (shown) EXPECT_EQ(shell::PersonalityFileStem(shown->fileName), "pip");
    RedrawWindow(d, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    shot = tess_test::SaveScreenshot(tess_test::CaptureWindow(d), "startup_personality_card");
    PostMessageA(d, WM_COMMAND, IDOK, 0);
  });
  EXPECT_TRUE(shell::ShowPersonalityCardDialog(nullptr, "Pip.QNP"));
  EXPECT_NE(shown, nullptr);
  EXPECT_FALSE(shot.empty());
  EXPECT_EQ(host.sounds.back(), "SBouOK1.wav");
  EXPECT_FALSE(shell::ShowPersonalityCardDialog(nullptr, "nobody"));
}

}  // namespace
