// The anagram and puzzle set-up dialogs under Wine: player lines, letters,
// forced letters and the possible anagrams counted on a small lexicon,
// the checks at "Play", and what each writes into the game's set-up.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "engine/lexicon.h"
#include "game/game.h"
#include "game/player.h"
#include "gui/win32/gui_widgets1.h"
#include "lexicon_fixture.h"
#include "platform/message_sink.h"
#include "screenshot.h"
#include "standard_skin.h"
#include "ui_test_fixture.h"
#include "ui/win32/side_game_setup_win32.h"

namespace ui {
namespace {

using uitest::Text;
using uitest::Then;
using Sink = uitest::NoticeSink;

void SetSpin(HWND dialog, int id, int value) {
  SendDlgItemMessageA(dialog, id, gui::kMsgSpinSetPos, static_cast<WPARAM>(value), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, gui::kNotifySpinChanged),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void Click(HWND dialog, int id) { SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0); }

class SideGameSetup : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_EQ(uitest::InitializeStandardSkin(GetModuleHandleA(nullptr)), 1);
    const std::string folder = lexfix::Folder("side_game_setup");
    std::vector<LexSourceWord> words;
    for (const char* w : {"stone", "notes", "onset", "tones", "cats", "acts", "cast", "scat",
                          "toast", "coast", "tacos"})
      words.push_back({w, 1, false, {}});
    lexfix::WriteLexicon(folder, words, kLanguageEnglish, false);
    lexfix::LoadGlobal(folder, kLanguageEnglish);
  }
  static void TearDownTestSuite() { DestroyLexicon(); }

  void Prepare(int32_t kind) {
    game.setup.kind = kind;
    PlayerSetupEntry e;
    e.playerType = kPlayerHuman;
    std::strcpy(e.name, "Ada");  // the local user's line
    game.setup.AddPlayer(e);
  }

  CGame game;
  Sink sink;
};

TEST_F(SideGameSetup, AnagramFillsTheGame) {
  Prepare(kKindAnagram);
  std::string shot, countAtFive, countForced;
  Then([&](HWND dialog) {
    SetSpin(dialog, kIdSetupPlayers, 2);
    SetSpin(dialog, kIdSetupLetters, 5);
    countAtFive = Text(dialog, kIdSetupAnagramCount);  // stone notes onset tones toast coast tacos
    SetDlgItemTextA(dialog, kIdSetupForced, "ST");
    countForced = Text(dialog, kIdSetupAnagramCount);
    SetDlgItemTextA(dialog, kIdSetupFirstName + 1, "");
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);  // a line without a name: refused
    SetDlgItemTextA(dialog, kIdSetupFirstName + 1, "Basil");
    Click(dialog, kIdSetupFirstTurn + 1);
    RedrawWindow(dialog, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    shot = tess_test::SaveScreenshot(tess_test::CaptureWindow(dialog), "ui_setup_anagram");
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(RunGameSetupDialog(nullptr, &game), 0);
  EXPECT_EQ(countAtFive, "7");
  EXPECT_EQ(countForced, "7");  // every five-letter word here has an s and a t
  ASSERT_EQ(sink.texts.size(), 1u);
  EXPECT_EQ(sink.texts[0], "One or more players have no name!");
  EXPECT_EQ(game.setup.GetPlayerCount(), 2);
  EXPECT_STREQ(game.setup.entries[1].name, "Basil");
  EXPECT_EQ(game.setup.entries[1].playerType, kPlayerHuman);
  EXPECT_EQ(game.rackSize, 5);
  EXPECT_STREQ(game.anagramLetters, "st");
  EXPECT_EQ(game.setup.clockMode, 0);
  EXPECT_EQ(game.setup.invalidWordForfeits, 1);
  EXPECT_EQ(game.startPlayerIndex, 1);
  EXPECT_FALSE(shot.empty());
}

TEST_F(SideGameSetup, AnagramRefusesBadForcedLettersAndDrawsWithoutWords) {
  Prepare(kKindAnagram);
  Then([&](HWND dialog) {
    SetSpin(dialog, kIdSetupLetters, 4);
    SetDlgItemTextA(dialog, kIdSetupForced, "a1");
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    SetDlgItemTextA(dialog, kIdSetupForced, "zz");
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(RunGameSetupDialog(nullptr, &game), kSetupCancelled);
  EXPECT_EQ(game.setup.kind, -1);
  ASSERT_EQ(sink.texts.size(), 2u);
  EXPECT_EQ(sink.texts[0].find("Forcer le tirage") != std::string::npos, true);
  EXPECT_EQ(sink.texts[1], "No anagram can be made from this selection.");
}

TEST_F(SideGameSetup, PuzzleTimeAndComputerLines) {
  Prepare(kKindConundrum);
  std::string second;
  Then([&](HWND dialog) {
    SetSpin(dialog, kIdSetupPlayers, 2);
    second = Text(dialog, kIdSetupFirstName + 1);
    Click(dialog, kIdSetupHuman + 1);  // line 2 becomes a human
    SetDlgItemTextA(dialog, kIdSetupFirstName + 1, "Cleo");
    SetSpin(dialog, kIdSetupLetters, 9);
    Click(dialog, kIdSetupTimeLimit);
    SetSpin(dialog, kIdSetupMinutes, 0);
    SetSpin(dialog, kIdSetupSeconds, 10);
    Click(dialog, kIdSetupForfeit);
    tess_test::SaveScreenshot(tess_test::CaptureWindow(dialog), "ui_setup_puzzle");
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(RunGameSetupDialog(nullptr, &game), 0);
  EXPECT_FALSE(second.empty());  // a computer line has a name
  EXPECT_STREQ(game.setup.entries[1].name, "Cleo");
  EXPECT_EQ(game.setup.entries[1].playerType, kPlayerHuman);
  EXPECT_EQ(game.rackSize, 9);
  EXPECT_EQ(game.setup.clockMode, 2);
  EXPECT_EQ(game.setup.moveTimeMs, 30000);  // raised to the minimum, with its notice
  EXPECT_EQ(game.setup.invalidWordForfeits, 1);
  ASSERT_EQ(sink.texts.size(), 1u);
  EXPECT_NE(sink.texts[0].find("30 seconds"), std::string::npos);
}

TEST_F(SideGameSetup, NullGameIsRefused) {
  EXPECT_EQ(RunGameSetupDialog(nullptr, nullptr), kSetupCancelled);
}

}  // namespace
}  // namespace ui
