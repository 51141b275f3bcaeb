// A whole game in the program under Wine, driven from outside by posted
// commands and the pointer: in the game room the toolbar's tips show; the
// toolbar's Load opens a new classic game of two computer players through
// the program's file dialog; the computers play it to its end in the panels
// and the results show; midway the toolbar's Save writes it through the
// dialog, and after the end the toolbar's Load brings it back, whose history
// the move list steps back (the game waits) and forth again.
// Screenshots: <build>/screenshots/program_file_dialog.png,
// program_results.png, program_history.png.
//
// The set-up dialogs keep the user as a human first player, so the game of
// two computers is written here as a file: the game a set-up would give,
// saved before its first turn, its first player bearing the profile's name
// as every saved game of the user does.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/saved_game.h"
#include "program_run.h"
#include "shell/personality.h"
#include "screenshot.h"
#include "ui/player_options.h"
#include "ui/toolbar_buttons.h"
#include "ui/win32/file_dialog_win32.h"
#include "ui/win32/move_list_win32.h"
#include "ui/win32/results_win32.h"

namespace {

using namespace progtest;

constexpr char kUser[] = "Default";
constexpr UINT kMsgCloseNow = 0x8506;

// The robot settings of a personality file the build wrote.
bool PersonalityOptions(const char* file, ui::PlayerOptions* options) {
  const std::string bytes = ReadFile(BuildPath(std::string("Data\\Personalities\\") + file));
  shell::PersonalityRecord record;
  if (!shell::DecodePersonality(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                                record))
    return false;
  *options = ui::OptionsOfPersonality(record);
  return true;
}

// A new classic game of two computer players with personalities' settings,
// before its first turn.
bool WriteNewComputerGame(const std::string& path) {
  auto game = std::make_unique<CGame>();
  game->setup.kind = kKindStandard;
  game->setup.language = 0;
  const struct {
    const char* name;
    const char* file;
  } players[] = {{kUser, "camille.QNP"}, {"Bastien", "bastien.QNP"}};
  for (const auto& p : players) {
    ui::PlayerOptions options;
    if (!PersonalityOptions(p.file, &options)) return false;
    PlayerSetupEntry e;
    ui::SetComputerEntry(e, p.name, options);
    game->setup.AddPlayer(e);
  }
  game->StartNewGame();
  return WriteSavedGame(path.c_str(), *game) == 0;
}

// The windows of the program's process, shown or not.
struct AnyFound {
  DWORD process;
  const char* cls;
  int id;
  HWND window;
};

BOOL CALLBACK FindAnyChild(HWND w, LPARAM lp) {
  auto* f = reinterpret_cast<AnyFound*>(lp);
  char cls[64] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (lstrcmpiA(cls, f->cls) == 0 && GetDlgCtrlID(w) == f->id) {
    f->window = w;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindAnyTopLevel(HWND w, LPARAM lp) {
  auto* f = reinterpret_cast<AnyFound*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid == f->process) EnumChildWindows(w, FindAnyChild, lp);
  return f->window ? FALSE : TRUE;
}

HWND FindControl(HANDLE process, const char* cls, int id) {
  AnyFound f{GetProcessId(process), cls, id, nullptr};
  EnumWindows(FindAnyTopLevel, reinterpret_cast<LPARAM>(&f));
  return f.window;
}

// The program's shared tool-tip control.
struct TipFound {
  DWORD process;
  HWND window;
};

BOOL CALLBACK FindTip(HWND w, LPARAM lp) {
  auto* f = reinterpret_cast<TipFound*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  char cls[64] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (pid != f->process || lstrcmpiA(cls, TOOLTIPS_CLASSA) != 0) return TRUE;
  f->window = w;
  return FALSE;
}

LRESULT Ask(HWND w, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(w, msg, wp, lp, SMTO_NORMAL, 5000, &result);
  return static_cast<LRESULT>(result);
}

template <typename Pred>
bool WaitUntil(DWORD ms, Pred pred) {
  for (DWORD end = GetTickCount() + ms; GetTickCount() < end; Sleep(50))
    if (pred()) return true;
  return pred();
}

// The program's file dialog, opened by a toolbar command: the file name is
// typed and the dialog's confirming button pressed. Returns the dialog once
// it is shown (for a screenshot taken by `shoot` before confirming).
template <typename Shoot>
bool UseFileDialog(HANDLE run, HWND toolbar, int command, const char* name, int confirm,
                   Shoot shoot) {
  PostMessageA(toolbar, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
  HWND edit = WaitForWindow(run, "CGUIEdit", ui::kIdFileName, 15000);
  if (!edit) return false;
  HWND dialog = GetParent(edit);
  tess_test::PumpMessages(500);
  shoot(dialog);
  Ask(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name));
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(confirm, BN_CLICKED), 0);
  return WaitUntil(15000, [&] { return !IsWindow(dialog); });
}

// A list view cell's text in the program's process: the item and its text
// buffer are placed in that process for the message.
std::string RemoteItemText(HANDLE process, HWND list, int item, int column) {
  struct Block {
    LVITEMA item;
    char text[128];
  };
  auto* remote = static_cast<Block*>(
      VirtualAllocEx(process, nullptr, sizeof(Block), MEM_COMMIT, PAGE_READWRITE));
  if (!remote) return "";
  Block local{};
  local.item.iSubItem = column;
  local.item.pszText = remote->text;
  local.item.cchTextMax = sizeof local.text;
  WriteProcessMemory(process, remote, &local, sizeof local, nullptr);
  Ask(list, LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(remote));
  ReadProcessMemory(process, remote, &local, sizeof local, nullptr);
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  local.text[sizeof local.text - 1] = 0;
  return local.text;
}

// The players panel's rows: the name and score each shows.
BOOL CALLBACK CollectRow(HWND w, LPARAM lp) {
  char cls[64] = {}, text[128] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (lstrcmpiA(cls, "ScrollPlayerClass") != 0) return TRUE;
  GetWindowTextA(w, text, sizeof text);
  if (text[0]) reinterpret_cast<std::vector<std::string>*>(lp)->push_back(text);
  return TRUE;
}

std::vector<std::string> PlayerRows(HANDLE process) {
  std::vector<std::string> rows;
  if (HWND row = FindControl(process, "ScrollPlayerClass", 0))
    EnumChildWindows(GetParent(row), CollectRow, reinterpret_cast<LPARAM>(&rows));
  return rows;
}

tess_test::Image Screen() {
  RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return tess_test::CaptureScreen(screen);
}

int DifferentPixels(const tess_test::Image& a, const tess_test::Image& b) {
  if (a.width != b.width || a.height != b.height) return -1;
  int n = 0;
  for (size_t i = 0; i + 2 < a.rgb.size(); i += 3)
    n += a.rgb[i] != b.rgb[i] || a.rgb[i + 1] != b.rgb[i + 1] || a.rgb[i + 2] != b.rgb[i + 2];
  return n;
}

// A folder and everything in it.
void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA f;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &f);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = f.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + "\\" + name;
      if (f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(path);
      else
        DeleteFileA(path.c_str());
    } while (FindNextFileA(h, &f));
    FindClose(h);
  }
  RemoveDirectoryA(folder.c_str());
}

// The run plays under the "Default" profile, made afresh by the lobby as
// when the user answers Cancel to the welcome question, and removed after.
class WholeGame : public ProgramRun {
 protected:
  void SetUp() override {
    ProgramRun::SetUp();
    folder_ = BuildPath("Data\\Users\\") + kUser;
    profile_ = BuildPath("Data\\Default User\\") + kUser;
    RemoveTree(folder_);
    RemoveTree(profile_);
  }
  void TearDown() override {
    ProgramRun::TearDown();
    RemoveTree(folder_);
    RemoveTree(profile_);
  }

  // The welcome question answered with the default profile.
  bool TakeDefaultProfile(HANDLE run) {
    constexpr UINT kMsgTakeDefaultProfile = 1000;
    for (DWORD end = GetTickCount() + 20000; GetTickCount() < end; Sleep(50))
      if (Log().find("welcome answer") != std::string::npos) break;
    HWND play = WaitForWindow(run, "AnimButton", 1368, 10000);
    if (!play) return false;
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(GetParent(play), kMsgTakeDefaultProfile, 0, 0, SMTO_NORMAL, 30000,
                             &ignored))
      ADD_FAILURE() << "no answer " << GetLastError();
    const std::string profile = BuildPath("Data\\Default User\\") + kUser + "\\" + kUser + ".usr";
    if (!WaitUntil(10000,
                   [&] { return GetFileAttributesA(profile.c_str()) != INVALID_FILE_ATTRIBUTES; }))
      return false;
    tess_test::PumpMessages(1000);  // selected once written
    return true;
  }

  std::string folder_, profile_;
};

TEST_F(WholeGame, TwoComputersPlayToTheEndAndTheGameIsSavedLoadedAndStepped) {
  Write("SplashMs", "0");
  HANDLE run = Start();
  ASSERT_NE(run, nullptr);
  HWND main = WaitVisible("TESSARIN_2007_CLASS", 30000);
  ASSERT_NE(main, nullptr) << Log();
  ASSERT_TRUE(TakeDefaultProfile(run)) << Log();
  // The user's saved games stand in his folder, made with his first save.
  CreateDirectoryA(BuildPath("Data\\Users").c_str(), nullptr);
  CreateDirectoryA(folder_.c_str(), nullptr);
  ASSERT_TRUE(WriteNewComputerGame(folder_ + "\\two computers.TSB"));
  HWND dialog = PressPlay(run);
  ASSERT_NE(dialog, nullptr) << Log();
  ASSERT_NE(ConfirmClassicGame(run, dialog), nullptr) << Log();

  // The room's panels and toolbars stand in their slots.
  HWND load = WaitForWindow(run, "CGUIBMPButton", ui::kIdToolbarLoad, 10000);
  ASSERT_NE(load, nullptr) << Log();
  HWND toolbar = GetParent(load);
  HWND moves = FindControl(run, "CGUIListWnd", ui::kIdMoveList);
  ASSERT_NE(moves, nullptr);
  EXPECT_TRUE(WaitUntil(5000, [&] { return IsWindowVisible(GetParent(moves)) != FALSE; }));
  // Both toolbars' buttons (six each) hold their tips in the program's
  // tool-tip control.
  TipFound tips{GetProcessId(run), nullptr};
  EnumWindows(FindTip, reinterpret_cast<LPARAM>(&tips));
  ASSERT_NE(tips.window, nullptr);
  EXPECT_GE(Ask(tips.window, TTM_GETTOOLCOUNT), 12);

  // The new game of two computers, opened from the toolbar.
  ASSERT_TRUE(UseFileDialog(run, toolbar, ui::kIdToolbarLoad, "two computers.TSB", ui::kIdFileLoad,
                            [](HWND) {}))
      << Log();
  HWND list = moves;
  auto rows = [&] { return static_cast<int>(Ask(list, LB_GETCOUNT)); };
  // The opening entry, then the moves as they are played.
  ASSERT_TRUE(WaitUntil(60000, [&] { return rows() >= 5; })) << rows() << Log();

  // Saved midway through the toolbar; the game waits while the dialog is up.
  int savedRows = 0;
  ASSERT_TRUE(UseFileDialog(run, toolbar, ui::kIdToolbarSave, "mid game", ui::kIdFileSave,
                            [&](HWND d) {
                              savedRows = rows();
                              EXPECT_NE(tess_test::SaveScreenshot(tess_test::CaptureWindow(d),
                                                                  "program_file_dialog"),
                                        "");
                            }))
      << Log();
  // Written once the dialog has closed.
  const std::string saved = folder_ + "\\mid game.TSB";
  EXPECT_TRUE(WaitUntil(
      5000, [&] { return GetFileAttributesA(saved.c_str()) != INVALID_FILE_ATTRIBUTES; }));

  // Played to its end: the two players ranked in the results.
  HWND resultsOk = WaitForWindow(run, "CGUIBMPButton", ui::kIdResultsOk, 120000);
  ASSERT_NE(resultsOk, nullptr) << rows() << Log();
  HWND results = GetParent(resultsOk);
  EXPECT_GT(rows(), savedRows);
  HWND ranking = GetDlgItem(results, ui::kIdRanking);
  EXPECT_EQ(Ask(ranking, LVM_GETITEMCOUNT), 2);
  // The panel shows the final scores, after the racks' penalties.
  std::vector<std::string> ranked;
  for (int i = 0; i < 2; ++i)
    ranked.push_back(RemoteItemText(run, ranking, i, 0) + " " + RemoteItemText(run, ranking, i, 1));
  std::vector<std::string> shown = PlayerRows(run);
  std::sort(ranked.begin(), ranked.end());
  std::sort(shown.begin(), shown.end());
  EXPECT_EQ(shown, ranked);
  tess_test::PumpMessages(500);
  EXPECT_NE(tess_test::SaveScreenshot(Screen(), "program_results"), "");
  PostMessageA(results, WM_COMMAND, MAKEWPARAM(ui::kIdResultsOk, BN_CLICKED), 0);
  ASSERT_TRUE(WaitUntil(10000, [&] { return !IsWindow(results); }));

  // "Replay?" was answered by the test switch; the saved game comes back.
  ASSERT_TRUE(
      UseFileDialog(run, toolbar, ui::kIdToolbarLoad, "mid game.TSB", ui::kIdFileLoad, [](HWND) {}))
      << Log();
  ASSERT_TRUE(WaitUntil(10000, [&] { return rows() >= savedRows; })) << rows();

  // One step back: the list marks the earlier entry, the board shows it and
  // the game waits there; one step forward and it goes on.
  HWND panel = GetParent(list);
  tess_test::PumpMessages(500);
  const tess_test::Image before = Screen();
  PostMessageA(panel, WM_COMMAND, MAKEWPARAM(ui::kIdMovePrevious, BN_CLICKED), 0);
  int count = 0;
  ASSERT_TRUE(WaitUntil(10000, [&] {
    count = rows();
    const int selected = static_cast<int>(Ask(list, LB_GETCURSEL));
    return selected >= 0 && selected < count - 1;
  }));
  tess_test::PumpMessages(1500);
  EXPECT_EQ(rows(), count);  // nobody plays while the history is reviewed
  const tess_test::Image back = Screen();
  EXPECT_GT(DifferentPixels(before, back), 0);
  EXPECT_NE(tess_test::SaveScreenshot(back, "program_history"), "");
  // The screen shows the room's panels, not the frame under them (the
  // game waits, so nothing in them changes meanwhile).
  const PanelPixels pixels = ComparePanelsWithScreen(main);
  std::printf("panels matching the screen: %s\n", pixels.titles.c_str());
  EXPECT_GE(pixels.compared, 4) << pixels.titles;
  EXPECT_EQ(pixels.differing, "") << pixels.titles;
  PostMessageA(panel, WM_COMMAND, MAKEWPARAM(ui::kIdMoveNext, BN_CLICKED), 0);
  EXPECT_TRUE(WaitUntil(10000, [&] { return Ask(list, LB_GETCURSEL) == rows() - 1; }));

  PostMessageA(main, kMsgCloseNow, 0, 1);
  EXPECT_EQ(ExitCodeAfter(run, 30000), 0u) << Log();
}

}  // namespace
