// The program message box under Wine: every button set opens, shows its
// buttons and answers posted clicks, keys, WM_CLOSE and its time-out; the
// main window is switched off while it runs and left as it was found.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "gui/gui_core.h"
#include "gui/win32/gui_frame.h"
#include "gui/win32/gui_win32.h"
#include "platform/ini.h"
#include "shell/app_context.h"
#include "shell/shell_host.h"
#include "shell/modeless_registry.h"
#include "shell/startup/msgbox.h"
#include "shell/startup/win32/main_loop.h"
#include "shell/startup/resource_sets.h"
#include "shell/theme.h"
#if TESS_HAVE_SCREENSHOT
#include "screenshot.h"
#endif

namespace {

std::string WinBuildPath(const std::string& rel) {
  std::string p = std::string("Z:") + TESS_BUILD_DIR + "/" + rel;
  for (char& c : p)
    if (c == '/') c = '\\';
  return p;
}

class SoundHost : public shell::ShellHost {
 public:
  void PlaySoundFile(const char* name) override { sounds.push_back(name); }
  std::vector<std::string> sounds;
};

// What the scripted step saw of the box before acting.
struct Seen {
  std::string visible;  // "id:label " of the shown buttons, left to right
  bool framed = false;  // the toolkit draws its frame
  int textHeight = 0, buttonTop = 0;
};

// One step runs from a thread timer inside the box's own message loop,
// once the box is set up.
std::function<void(HWND)> g_step;
Seen g_seen;

void Describe(HWND box) {
  g_seen = Seen{};
  g_seen.framed = SendMessageA(box, gui::kMsgGetFrameState, 0, 0) != 0;
  std::vector<std::pair<int, std::string>> shown;
  for (int id : {162, 1, 2}) {
    HWND b = GetDlgItem(box, id);
    if (!b || !(GetWindowLongA(b, GWL_STYLE) & WS_VISIBLE)) continue;
    RECT r;
    GetWindowRect(b, &r);
    char label[32] = {};
    GetWindowTextA(b, label, sizeof label);
    shown.push_back({r.left, std::to_string(id) + ":" + label});
    g_seen.buttonTop = r.top;
  }
  std::sort(shown.begin(), shown.end());
  for (auto& s : shown)
    g_seen.visible += s.second + " ";
  RECT t;
  GetWindowRect(GetDlgItem(box, 163), &t);
  g_seen.textHeight = t.bottom - t.top;
}

void CALLBACK StepTimer(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = shell::GetCurrentMessageBox();
  if (!box || !g_step) return;
  KillTimer(nullptr, id);
  Describe(box);
  auto step = std::move(g_step);
  g_step = nullptr;
  step(box);
}

void Script(std::function<void(HWND)> step) {
  g_step = std::move(step);
  SetTimer(nullptr, 0, 30, StepTimer);
}

void Click(HWND box, int id) {
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

void Key(HWND box, UINT vk) {
  HWND focus = GetFocus();
  PostMessageA(focus ? focus : box, WM_KEYDOWN, vk, 0);
  PostMessageA(focus ? focus : box, WM_KEYUP, vk, 0xC0000000);
}

void Pump(int ms) {
  DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  MSG m;
  while (static_cast<int>(end - GetTickCount()) > 0) {
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    Sleep(10);
  }
}

class MsgBoxTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    gui::GuiInitialize(GetModuleHandleA(nullptr));
    char tmp[MAX_PATH];
    GetTempPathA(sizeof tmp, tmp);
    folder = std::string(tmp) + "tess_msgbox_test";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "\\Data").c_str(), nullptr);
    ASSERT_TRUE(shell::CreateAppContextAt(folder + "\\tessarin.exe"));
    shell::SetCurrentThemePaths("", WinBuildPath("Data/Skin/standard_skin.ini").c_str());
    skinLoaded = shell::LoadSkinResources();
    shell::InstallDialogWindowOps();  // as start-up does
  }
  static void TearDownTestSuite() {
    shell::ReleaseGuiResourcesAndFont();
    shell::DestroyAppContext();
  }
  void SetUp() override {
    previousHost = shell::SetShellHost(&host);
    main = CreateWindowExA(0, "STATIC", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 500,
                           400, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    shell::SetMessageBoxMainWindow(main);
  }
  void TearDown() override {
    shell::SetMessageBoxMainWindow(nullptr);
    DestroyWindow(main);
    shell::SetShellHost(previousHost);
  }

  static std::string folder;
  static bool skinLoaded;
  SoundHost host;
  shell::ShellHost* previousHost = nullptr;
  HWND main = nullptr;
};
std::string MsgBoxTest::folder;
bool MsgBoxTest::skinLoaded = false;

TEST_F(MsgBoxTest, EveryButtonSetAnswersClicksKeysAndClose) {
  ASSERT_TRUE(skinLoaded);
  enum Act { kClick, kKey, kDismiss, kPlainClose };
  struct Case {
    uint32_t flags;
    std::string buttons;
    std::vector<std::pair<Act, int>> acts;  // run in order; the last must close
    int result;
    std::vector<std::string> sounds;
  } cases[] = {
      {0, "1:&OK ", {{kClick, 1}}, 1, {"SBouOK1.wav"}},
      {0x30, "1:&OK ", {{kPlainClose, 0}, {kKey, VK_RETURN}}, 1, {"SBouOK1.wav"}},
      {1, "1:&OK 2:&Cancel ", {{kClick, 2}}, 2, {"SBouFer1.wav"}},
      {1, "1:&OK 2:&Cancel ", {{kPlainClose, 0}}, 2, {}},
      {2,
       "162:&Cancel 1:&R\xe9"
       "essayer 2:&Ignorer ",
       {{kClick, 162}},
       3,
       {"SBouFer1.wav"}},
      {2,
       "162:&Cancel 1:&R\xe9"
       "essayer 2:&Ignorer ",
       {{kClick, 1}},
       4,
       {"SBouOK1.wav"}},
      {2,
       "162:&Cancel 1:&R\xe9"
       "essayer 2:&Ignorer ",
       {{kDismiss, 0}},
       5,
       {}},
      {3, "162:&Yes 1:&No 2:&Cancel ", {{kClick, 162}}, 6, {"SBouFer1.wav"}},
      {3, "162:&Yes 1:&No 2:&Cancel ", {{kKey, VK_ESCAPE}}, 2, {"SBouFer1.wav"}},
      // Escape's Cancel is no button of set 4: it clicks and nothing more.
      {4, "162:&Yes 1:&No ", {{kKey, VK_ESCAPE}, {kClick, 1}}, 7, {"SBouFer1.wav", "SBouOK1.wav"}},
      {4, "162:&Yes 1:&No ", {{kDismiss, 0}}, 7, {}},
      {5,
       "1:&R\xe9"
       "essayer 2:&Cancel ",
       {{kKey, VK_RETURN}},
       4,
       {"SBouOK1.wav"}},
      {15, "2:&Cancel ", {{kClick, 2}}, 2, {"SBouFer1.wav"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    host.sounds.clear();
    Script([&c](HWND box) {
      for (auto [act, arg] : c.acts) {
        if (act == kClick) Click(box, arg);
        if (act == kKey) Key(box, static_cast<UINT>(arg));
        if (act == kDismiss) shell::CloseMessageBoxWindow();
        if (act == kPlainClose) PostMessageA(box, WM_CLOSE, 0, 0);
      }
    });
    EXPECT_EQ(shell::ShowMessageBox("Answer me.", c.flags), c.result);
    EXPECT_EQ(g_seen.visible, c.buttons);
    EXPECT_TRUE(g_seen.framed);
    EXPECT_EQ(host.sounds, c.sounds);
    EXPECT_EQ(shell::GetCurrentMessageBox(), nullptr);
    EXPECT_EQ(shell::GetOpenMessageBoxCount(), 0);
  }
}

TEST_F(MsgBoxTest, RestoresOnlyWhatItSwitchedOffAndGrowsForLongTexts) {
  ASSERT_TRUE(skinLoaded);
  bool disabledWhileOpen = false;
  Script([&](HWND box) {
    disabledWhileOpen = !IsWindowEnabled(main);
    Click(box, 1);
  });
  EXPECT_EQ(shell::ShowMessageBox("Short.", 0), 1);
  EXPECT_TRUE(disabledWhileOpen);
  EXPECT_TRUE(IsWindowEnabled(main));
  const Seen shortBox = g_seen;

  EnableWindow(main, FALSE);
  Script([](HWND box) { Click(box, 1); });
  EXPECT_EQ(shell::ShowMessageBox("Short.", 0), 1);
  EXPECT_FALSE(IsWindowEnabled(main));  // it was off before: it stays off
  EnableWindow(main, TRUE);

  std::string longText;
  for (int i = 0; i < 12; ++i)
    longText += "A message long enough to need several lines in the box. ";
  Script([](HWND box) {
#if TESS_HAVE_SCREENSHOT
    // The dialog shows itself once its own loop is idle; show it now.
    ShowWindow(box, SW_SHOW);
    UpdateWindow(box);
    tess_test::PumpMessages(300);
    tess_test::SaveScreenshot(tess_test::CaptureWindow(box), "shell_msgbox");
#endif
    Click(box, 162);
  });
  EXPECT_EQ(shell::ShowMessageBox(longText.c_str(), 3), 6);
  EXPECT_GT(g_seen.textHeight, shortBox.textHeight);
  // The buttons moved down by the growth (the box is centred again, so
  // compare against the text's growth only loosely).
  EXPECT_GT(g_seen.buttonTop - shortBox.buttonTop, 0);
}

int g_calls = 0, g_lastResult = 0;
uint32_t g_lastValue = 0;
void Callback(int result, uint32_t value) {
  ++g_calls;
  g_lastResult = result;
  g_lastValue = value;
}

TEST_F(MsgBoxTest, ModelessTimeOutCallbackAndReplacement) {
  ASSERT_TRUE(skinLoaded);
  g_calls = 0;
  HWND first = shell::ShowMessageBoxModeless("First.", 1, Callback, 11);
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(IsWindowEnabled(main));  // a modeless box switches nothing off
  HWND second = shell::ShowMessageBoxModelessEx("Second.", 0, Callback, 22, 1);
  ASSERT_NE(second, nullptr);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(g_calls, 0);  // the replaced box's callback is not called
  EXPECT_EQ(shell::GetModelessMessageBox(), second);
  DWORD start = GetTickCount();
  while (g_calls == 0 && GetTickCount() - start < 5000)
    Pump(50);
  EXPECT_EQ(g_calls, 1);
  EXPECT_EQ(g_lastResult, 57);
  EXPECT_EQ(g_lastValue, 22u);
  EXPECT_GE(GetTickCount() - start, 900u);
  EXPECT_FALSE(IsWindow(second));
  EXPECT_EQ(shell::GetModelessMessageBox(), nullptr);

  // Without a time-out the box waits; a click answers through the callback.
  HWND third = shell::ShowCancelBoxModeless("Working...", Callback, 33);
  ASSERT_NE(third, nullptr);
  Pump(1500);
  EXPECT_EQ(g_calls, 1);
  // The main loop's dispatch reaches the box through the registry.
  EXPECT_EQ(shell::ModelessDialogCount(), 1u);
  MSG note{third, WM_NULL, 0, 0, 0, {}};
  EXPECT_TRUE(shell::DispatchModelessDialogMessage(&note));
  Click(third, 2);
  Pump(100);
  EXPECT_EQ(g_calls, 2);
  EXPECT_EQ(g_lastResult, 2);
  EXPECT_FALSE(IsWindow(third));
  EXPECT_EQ(shell::GetOpenMessageBoxCount(), 0);
  EXPECT_EQ(shell::ModelessDialogCount(), 0u);
}

TEST_F(MsgBoxTest, TestSwitchAnswersBoxesByItself) {
  ASSERT_TRUE(skinLoaded);
  const char* ini = shell::GetProgramIniPath();
  platform::IniWriteString("debug", "AutoAnswerMs", "50", ini);
  Script([](HWND box) { Click(box, 1); });  // the switch is off: a click answers
  EXPECT_EQ(shell::ShowMessageBox("Attended.", 4), 7);
  host.sounds.clear();
  platform::IniWriteString("debug", "AutoTest", "1", ini);
  EXPECT_EQ(shell::ShowMessageBox("Unattended?", 4), 6);
  EXPECT_EQ(shell::ShowMessageBox("Unattended?", 0), 1);
  EXPECT_EQ(shell::ShowMessageBox("Unattended?", 2), 3);
  EXPECT_EQ(shell::ShowMessageBox("Unattended?", 15), 2);
  platform::IniWriteString("debug", nullptr, nullptr, ini);
  EXPECT_TRUE(host.sounds.empty());
}

}  // namespace
