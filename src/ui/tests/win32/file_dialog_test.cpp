// The program's file dialog under Wine, driven by posted input: a folder
// holding a saved game, other files and folders; saving a game through
// SaveGameAs (a forbidden name first) and opening it again through the
// dialog; screenshots of the save and open dialogs.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/saved_game.h"
#include "game_fakes.h"
#include "gui/gui_core.h"
#include "gui/skin_registry.h"
#include "gui/view_skin.h"
#include "platform/crand.h"
#include "platform/path.h"
#include "recording_sink.h"
#include "screenshot.h"
#include "standard_skin.h"
#include "ui_test_fixture.h"
#include "temp_dir.h"
#include "ui/win32/file_dialog_win32.h"
#include "ui/win32/saved_game_dialogs_win32.h"

namespace ui {
namespace {

using uitest::Text;

void Then(std::function<void(HWND)> step) { uitest::Then(std::move(step), 400); }

// The list's entries by name, "|" after each.
std::string Entries(HWND dialog) {
  HWND list = GetDlgItem(dialog, kIdFileList);
  std::string names;
  const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char item[300] = {};
    SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item));
    names += std::string(item + 1) + "|";
  }
  return names;
}

int IndexOf(HWND dialog, const std::string& name) {
  HWND list = GetDlgItem(dialog, kIdFileList);
  const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char item[300] = {};
    SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item));
    if (name == item + 1) return i;
  }
  return -1;
}

std::string SelectedFolder(HWND dialog) {
  HWND combo = GetDlgItem(dialog, kIdSearchIn);
  char item[300] = {};
  SendMessageA(combo, CB_GETLBTEXT, SendMessageA(combo, CB_GETCURSEL, 0, 0),
               reinterpret_cast<LPARAM>(item));
  return item;
}

void Post(HWND dialog, int id, WORD code = 0) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code),
               code ? reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)) : 0);
}

void Type(HWND dialog, const char* text) {
  SendMessageA(GetDlgItem(dialog, kIdFileName), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

// Selects a list entry as a click does: the selection, then its notice.
void Pick(HWND dialog, int index, WORD code) {
  SendDlgItemMessageA(dialog, kIdFileList, LB_SETCURSEL, index, 0);
  Post(dialog, kIdFileList, code);
}

std::vector<uint8_t> Bytes(const CGame& game) {
  std::vector<uint8_t> out;
  EXPECT_TRUE(EncodeSavedGame(game, out));
  return out;
}

bool HasMessage(const testsupport::RecordingSink& sink, const std::string& start) {
  for (const auto& m : sink.messages)
    if (m.text.rfind(start, 0) == 0) return true;
  return false;
}

class FileDialogWindows : public ::testing::Test {
 protected:
  // The toolkit starts once a process.
  static void SetUpTestSuite() {
    skinReady = uitest::InitializeStandardSkin(GetModuleHandleA(nullptr)) == 1;
    gui::GuiSkin* skin = gui::GuiGetSkin();
    if (!skinReady) return;
    gui::GuiReadListIni(tess_test::BuildPath("Data/Skin/list_box.ini").c_str(), skin->imageSource,
                        skin);
    // The scroll bars and the combo's arrow, as the program's skin loader
    // fills them.
    const char* scroll[gui::kScrollImageCount] = {
        "V_TOP_BUTTON_UP",   "V_TOP_BUTTON_DOWN",  "V_BOTTOM_BUTTON_UP",  "V_BOTTOM_BUTTON_DOWN",
        "V_TRACK_UP",        "V_TRACK_UP",         "V_THUMB_TOP_UP",      "V_THUMB_CENTER_UP",
        "V_THUMB_BOTTOM_UP", "V_THUMB_TOP_DOWN",   "V_THUMB_CENTER_DOWN", "V_THUMB_BOTTOM_DOWN",
        "H_LEFT_BUTTON_UP",  "H_LEFT_BUTTON_DOWN", "H_RIGHT_BUTTON_UP",   "H_RIGHT_BUTTON_DOWN",
        "H_TRACK_UP",        "H_TRACK_DOWN",       "H_THUMB_LEFT_UP",     "H_THUMB_CENTER_UP",
        "H_THUMB_RIGHT_UP",  "H_THUMB_LEFT_DOWN",  "H_THUMB_CENTER_DOWN", "H_THUMB_RIGHT_DOWN"};
    for (int i = 0; i < gui::kScrollImageCount; ++i)
      skin->scroll.imageIds[i] = skin->imageSource->IdOf(std::string("SCROLL_") + scroll[i]);
    skin->scroll.present = 1;
    skin->scroll.loaded = 0;  // the default skin holds the built-in ones
    gui::GuiApplySkin(0, skin);
  }
  static void TearDownTestSuite() { gui::GuiFreeFrameSkin(); }

  void SetUp() override {
    ASSERT_TRUE(skinReady);
    InstallSavedGameDialogs();
    folder = dir.path();
    platform::MakeDirectory((dir / "Zeta").c_str());
    platform::MakeDirectory((dir / "alpha").c_str());
    platform::MakeDirectory((dir / ".cache").c_str());
    testsupport::WriteBytes(dir / "notes.txt", "a note");
    testsupport::WriteBytes(dir / "readme", "x");
    game = MakeGame();
    ASSERT_EQ(WriteSavedGame((dir / "old game.TSB").c_str(), *game), 0);
    ASSERT_EQ(WriteSavedGame((dir / "secret.TSB").c_str(), *game), 0);
    SetFileAttributesA((dir / "secret.TSB").c_str(), FILE_ATTRIBUTE_HIDDEN);
  }
  void TearDown() override { SetSavedGamePort(nullptr); }

  // A standard game of two humans with a few moves behind it. The players
  // carry no names: no user is logged on, and an open keeps only the
  // current user's games.
  static std::unique_ptr<CGame> MakeGame() {
    auto g = std::make_unique<CGame>();
    g->setup.kind = kKindStandard;
    g->setup.language = 0;
    PlayerSetupEntry human;
    human.playerType = kPlayerHuman;
    g->setup.AddPlayer(human);
    g->setup.AddPlayer(human);
    platform::SeedRandom(77);
    g->StartNewGame();
    for (int i = 0; i < 2; ++i)
      g->Player(i)->RefillRack();
    g->Player(0)->score = 24;
    g->Player(1)->score = 31;
    std::strcpy(g->info.title, "Kept in a folder");
    return g;
  }

  static bool skinReady;
  testsupport::TempDir dir;
  std::string folder;
  testsupport::RecordingSink sink{platform::kResultOk};
  gamefakes::RecordingUiPort ui;
  std::unique_ptr<CGame> game;
};

bool FileDialogWindows::skinReady = false;

TEST_F(FileDialogWindows, SaveAndOpenAGameThroughTheDialog) {
  // Save: the list, the forbidden name and its warning, then the cleaned name.
  std::string caption, listed, proposed, combo, cleaned, screenshot;
  size_t warnings = 0;
  SetGlobalTextBuffer(folder.c_str());
  Then([&](HWND save) {
    caption = Text(save);
    listed = Entries(save);
    proposed = Text(GetDlgItem(save, kIdFileName));
    combo = SelectedFolder(save);
    Type(save, "my/game.");
    Post(save, kIdFileSave);
    Then([&](HWND again) {
      warnings = sink.messages.size();
      cleaned = Text(GetDlgItem(again, kIdFileName));
      screenshot =
          tess_test::SaveScreenshot(tess_test::CaptureWindow(again), "ui_file_dialog_save");
      Post(again, kIdFileSave);
    });
  });
  ASSERT_TRUE(SaveGameAs(nullptr, *game));
  EXPECT_EQ(caption, "Save a file");
  // Folders first, then the saved games; hidden entries and other files stay out.
  EXPECT_EQ(listed, "alpha|Zeta|old game.TSB|");
  EXPECT_EQ(proposed.rfind("Classic ", 0), 0u) << proposed;
  std::string leaf = folder.substr(folder.find_last_of("\\/") + 1);
  for (char& c : leaf)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(combo, leaf);  // the combo's items are in lower case
  EXPECT_EQ(warnings, 1u);
  EXPECT_TRUE(HasMessage(sink, "Les noms de fichier ne doivent pas comporter"));
  EXPECT_EQ(cleaned, "my-game");
  EXPECT_FALSE(screenshot.empty());
  const std::string saved = dir / "my-game.TSB";
  ASSERT_TRUE(platform::FileExists(saved.c_str()));
  EXPECT_EQ(sink.messages.back().text, "Save complete.");

  // Open: a refused typed name, a trip into a folder and back, then the game.
  std::string missingNotice, inside, insideCombo, backAgain, picked, openCaption;
  SetGlobalTextBuffer(folder.c_str());
  Then([&](HWND open) {
    openCaption = Text(open);
    const int first = IndexOf(open, "alpha");
    // A file is selected (a folder would be entered), a missing one typed.
    SendDlgItemMessageA(open, kIdFileList, LB_SETCURSEL, IndexOf(open, "my-game.TSB"), 0);
    Type(open, "missing.TSB");
    Post(open, kIdFileLoad);
    Then([&, first](HWND again) {
      missingNotice = sink.messages.back().text;
      Pick(again, first, LBN_DBLCLK);
      Then([&](HWND inAlpha) {
        inside = Entries(inAlpha);
        insideCombo = SelectedFolder(inAlpha);
        Post(inAlpha, kIdFolderUp);
        Then([&](HWND back) {
          backAgain = Entries(back);
          Pick(back, IndexOf(back, "my-game.TSB"), LBN_SELCHANGE);
          Then([&](HWND chosen) {
            picked = Text(GetDlgItem(chosen, kIdFileName));
            tess_test::SaveScreenshot(tess_test::CaptureWindow(chosen), "ui_file_dialog_open");
            Post(chosen, kIdFileLoad);
          });
        });
      });
    });
  });
  std::unique_ptr<CGame> opened(OpenSavedGame(nullptr));
  EXPECT_EQ(openCaption, "Load a file");
  EXPECT_EQ(missingNotice,
            "The file does not exist, or is damaged, or is not suitable for the required "
            "operation.");
  EXPECT_EQ(inside, "");
  EXPECT_EQ(insideCombo, "alpha");
  EXPECT_EQ(backAgain, "alpha|Zeta|my-game.TSB|old game.TSB|");
  EXPECT_EQ(picked, "my-game.TSB");
  ASSERT_NE(opened, nullptr);
  opened->lastTick = game->lastTick;
  EXPECT_EQ(Bytes(*opened), Bytes(*game));
}

TEST_F(FileDialogWindows, ReservedNamesNewFolderAndCancel) {
  char path[kFileDialogPathSize] = "CON.TSB";
  int type = -1, openAs = -1;
  std::string reserved, existing, listed;
  SetGlobalTextBuffer(folder.c_str());
  Then([&](HWND save) {
    Post(save, kIdFileSave);  // a device name: refused, the dialog stays
    Post(save, kIdNewFolder);
    Then([&](HWND prompt) {
      reserved = sink.messages.empty() ? "" : sink.messages.back().text;
      SetDlgItemTextA(prompt, kIdNewFolderName, "alpha");
      Post(prompt, IDOK);  // taken: the prompt stays
      Then([&](HWND again) {
        existing = sink.messages.back().text;
        SetDlgItemTextA(again, kIdNewFolderName, "Fresh");
        Post(again, IDOK);
        Then([&](HWND save2) {
          listed = Entries(save2);
          Post(save2, IDCANCEL);
        });
      });
    });
  });
  EXPECT_EQ(RunFileDialog(GetModuleHandleA(nullptr), nullptr, path, 0, kModeSave, kTypeTournaments,
                          0, &type, &openAs, nullptr),
            0);
  EXPECT_STREQ(path, "CON.TSB");  // untouched on cancel
  EXPECT_EQ(type, kTypeTournaments);
  EXPECT_EQ(openAs, 0);
  EXPECT_EQ(reserved.rfind("CON.TSB' is already taken.", 0), 0u) << reserved;
  EXPECT_EQ(existing, "The folder already exists!");
  EXPECT_EQ(listed, "alpha|Fresh|Zeta|");  // the tournament filter lists no file here
  EXPECT_TRUE(platform::DirectoryExists((dir / "Fresh").c_str()));
}

}  // namespace
}  // namespace ui
