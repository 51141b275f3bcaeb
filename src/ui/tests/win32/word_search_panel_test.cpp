// The dictionary panel under Wine with the program's English lexicon: keys
// typed into the search field are filtered, Enter and the buttons run the
// searches on their thread, the results come back by message into the list
// with the first word's definitions; a screenshot of the panel.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>
#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <string>

#include "engine/lexicon.h"
#include "game/game.h"
#include "game/session_registry.h"
#include "game_test_support.h"
#include "gui/win32/gui_win32.h"
#include "lexicon_fixture.h"
#include "screenshot.h"
#include "standard_skin.h"
#include "ui_test_fixture.h"
#include "ui/window_slots.h"
#include "ui/win32/dictionary_panel_win32.h"

namespace ui {
namespace {

using uitest::Cell;
using uitest::PumpUntil;
using uitest::Text;

class WordSearchPanel : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    skinned = uitest::InitializeStandardSkin(GetModuleHandleA(nullptr));
  }
  static void TearDownTestSuite() { gui::GuiFreeFrameSkin(); }
  void SetUp() override {
    ASSERT_EQ(skinned, 1);
    if (!gametest::StartEngineWithBuiltLexicon()) GTEST_SKIP() << "no English lexicon built";
    HINSTANCE instance = GetModuleHandleA(nullptr);
    auto made = gametest::TwoHumanGame();
    game = made.get();
    ASSERT_TRUE(uitest::RegisterCurrentGame(registry, std::move(made)));
    owner = uitest::MakeOwner(instance);
    ASSERT_EQ(CreateDictionaryWindow(owner, instance), 0);
    panel = static_cast<HWND>(GetSlotWindow(kSlotDictionary));
    ASSERT_NE(panel, nullptr);
    SetWindowPos(panel, HWND_TOPMOST, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    edit = reinterpret_cast<HWND>(gui::GuiGetWindowSlot(GetDlgItem(panel, kIdDictSearch), 0, 0));
    ASSERT_NE(edit, nullptr);
  }
  void TearDown() override {
    if (panel) DestroyWindow(panel);
    if (owner) DestroyWindow(owner);
    InstallGameSessionRegistry(nullptr);
    gametest::EndEngine();
  }
  void Type(const std::string& keys) {
    for (unsigned char c : keys)
      PostMessageA(edit, WM_CHAR, c, 0);
  }
  bool WaitForStatus() {
    return PumpUntil([&] { return !Text(GetDlgItem(panel, kIdDictStatus)).empty(); }, 15000);
  }
  HWND List() const { return GetDlgItem(panel, kIdDictResults); }
  int Rows() const { return static_cast<int>(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0)); }

  static inline int skinned = 0;
  GameSessionRegistry registry;
  CGame* game = nullptr;
  HWND owner = nullptr, panel = nullptr, edit = nullptr;
};

TEST_F(WordSearchPanel, TypedPatternSearchesOnEnter) {
  Type("qu9 *\xE9");  // the digit and the blank are swallowed, é becomes E
  PumpUntil([] { return false; }, 200);
  EXPECT_EQ(Text(edit), "QU*E");
  SetWindowTextA(edit, "");
  Type("qu**ck\r");
  ASSERT_TRUE(WaitForStatus());
  const std::string status = Text(GetDlgItem(panel, kIdDictStatus));
  EXPECT_EQ(status, std::to_string(Rows()) + " word(s) found");
  bool quick = false;
  for (int i = 0; i < Rows(); ++i) {
    // Letters a star stands for show in upper case.
    std::string w = Cell(List(), i, 1);
    for (char& c : w)
      c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    quick = quick || w == "quick";
    EXPECT_EQ(w.substr(0, 2), "qu") << w;
    EXPECT_EQ(w.substr(w.size() - 2), "ck") << w;
    EXPECT_EQ(Cell(List(), i, 0), std::to_string(w.size()));
  }
  EXPECT_TRUE(quick);
  // The first word's definitions are shown.
  if (GetLexicon()->DefinitionsLoaded()) {
    HWND view = GetDlgItem(panel, kIdDictDefinition);
    GETTEXTLENGTHEX how{GTL_DEFAULT, CP_ACP};
    EXPECT_GT(SendMessageA(view, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&how), 0), 20);
  }
}

TEST_F(WordSearchPanel, AnagramButtonListsTheAnagrams) {
  SetWindowTextA(edit, "TEAS");
  PostMessageA(panel, WM_COMMAND, MAKEWPARAM(kIdDictAnagrams, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(panel, kIdDictAnagrams)));
  // A second click while the first search runs changes nothing.
  PostMessageA(panel, WM_COMMAND, MAKEWPARAM(kIdDictAnagrams, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(panel, kIdDictAnagrams)));
  ASSERT_TRUE(WaitForStatus());
  std::string words;
  for (int i = 0; i < Rows(); ++i)
    words += Cell(List(), i, 1) + " ";
  for (const char* w : {"eats ", "east ", "seat ", "teas ", "sate "})
    EXPECT_NE(words.find(w), std::string::npos) << w << " in " << words;
  // Clicking "Word" sorts the rows alphabetically.
  NMLISTVIEW click{};
  click.hdr.hwndFrom = List();
  click.hdr.idFrom = kIdDictResults;
  click.hdr.code = LVN_COLUMNCLICK;
  click.iItem = -1;
  click.iSubItem = 1;
  SendMessageA(panel, WM_NOTIFY, kIdDictResults, reinterpret_cast<LPARAM>(&click));
  for (int i = 1; i < Rows(); ++i)
    EXPECT_LE(Cell(List(), i - 1, 1), Cell(List(), i, 1));
  PumpUntil([] { return false; }, 300);
  tess_test::SaveScreenshot(tess_test::CaptureWindow(panel), "ui_word_search");
}

TEST_F(WordSearchPanel, HyphenatedListsThreeGroups) {
  SetWindowTextA(edit, "ION");
  SendMessageA(panel, WM_COMMAND, MAKEWPARAM(kIdDictAffixes, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(panel, kIdDictAffixes)));
  HWND box = GetDlgItem(panel, kIdDictAffixList);
  EXPECT_TRUE(IsWindowVisible(box));
  EXPECT_FALSE(IsWindowVisible(List()));
  const int count = static_cast<int>(SendMessageA(box, LB_GETCOUNT, 0, 0));
  ASSERT_GT(count, 3);
  char first[64] = {};
  SendMessageA(box, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(first));
  EXPECT_STREQ(first, "Prefixes-------------------");
  EXPECT_EQ(Text(GetDlgItem(panel, kIdDictStatus)),
            std::to_string(count - 3) + " prefixes & suffixes found");
  // The search went into the history.
  EXPECT_NE(SendDlgItemMessageA(panel, kIdDictSearch, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                reinterpret_cast<LPARAM>("ION")),
            CB_ERR);
}

}  // namespace
}  // namespace ui
