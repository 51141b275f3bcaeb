// The toolbars and the interface lock under Wine: the panel toolbar's
// buttons per room, a button toggling its panel and the room's ShowInRoom,
// the game toolbar asking the rooms' port, the lock nesting over the panels
// and the frame's switch that keeps it from minimising; a screenshot.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/session_registry.h"
#include "platform/message_sink.h"
#include "screenshot.h"
#include "shell/shell_host.h"
#include "shell/window/dialog_support.h"
#include "standard_skin.h"
#include "ui/room_port.h"
#include "ui/toolbar_buttons.h"
#include "ui/window_slots.h"
#include "ui/win32/main_frame.h"
#include "ui/win32/toolbars_win32.h"
#include "ui/win32/window_slots_win32.h"

namespace ui {
namespace {

class RoomHost : public shell::ShellHost {
 public:
  int GetCurrentRoomId() override { return room; }
  void PlaySoundFile(const char*) override {}
  int room = 1;
};

class RecordingRooms : public RoomCommandPort {
 public:
  bool AgreeToLeave() override { return Log("agree", agree); }
  void LeaveTopScreen() override { Log("leave top"); }
  void LeaveToMainMenu() override { Log("leave all"); }
  void SaveGame() override { Log("save"); }
  bool LoadGame() override { return Log("load", false); }
  bool AgreeToRestart() override { return Log("restart?", agree); }
  void RestartRoom() override { Log("restart"); }
  void FreezeScene() override { Log("freeze"); }
  void ResumeScene() override { Log("resume"); }
  bool Log(const std::string& what, bool answer = false) {
    log += (log.empty() ? "" : ", ") + what;
    return answer;
  }
  std::string log;
  bool agree = false;
};

LRESULT CALLBACK PanelProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  SlotWindowHook(static_cast<int>(GetWindowLongPtrA(w, GWLP_USERDATA)), w, msg, wp, lp);
  return DefWindowProcA(w, msg, wp, lp);
}

std::vector<HWND> Buttons(HWND bar) {
  std::vector<HWND> out;
  for (HWND b = FindWindowExA(bar, nullptr, "CGUIBMPButton", nullptr); b;
       b = FindWindowExA(bar, b, "CGUIBMPButton", nullptr))
    out.push_back(b);
  return out;
}

// A toolbar button shows its checked look: walnut rather than maple. (A
// push button keeps no check state the system would answer BM_GETCHECK
// with; the toolkit keeps it for its painting.)
bool Checked(HWND button) {
  tess_test::PumpMessages(50);
  const tess_test::Image image = tess_test::CaptureWindow(button);
  const RECT all{0, 0, image.width, image.height};
  const int walnut =
      tess_test::CountPixels(image, all, [](COLORREF c) { return GetRValue(c) < 135; });
  const int maple = tess_test::CountPixels(
      image, all, [](COLORREF c) { return GetRValue(c) >= 150 && GetRValue(c) < 215; });
  return walnut > maple;
}

int ButtonX(HWND bar, int id) {
  RECT r;
  GetWindowRect(GetDlgItem(bar, id), &r);
  MapWindowPoints(nullptr, bar, reinterpret_cast<POINT*>(&r), 2);
  return r.left;
}

class ToolbarWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    instance = GetModuleHandleA(nullptr);
    // The toolkit is set up once for the whole program.
    static const int skinned = uitest::InitializeStandardSkin(instance);
    ASSERT_EQ(skinned, 1);
    previousHost = shell::SetShellHost(&host);
    SetRoomCommandPort(&rooms);
    InstallWindowSlotPort();
    ResetWindowSlotRegistry();
    WNDCLASSA wc{};
    wc.lpfnWndProc = PanelProc;
    wc.hInstance = instance;
    wc.lpszClassName = "TessarinToolbarTestPanel";
    RegisterClassA(&wc);
    owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance,
                            nullptr);
    for (int slot : {kSlotPlayers, kSlotMoveList}) {
      HWND w = CreateWindowExA(WS_EX_TOOLWINDOW, wc.lpszClassName, "panel", WS_POPUP, 10, 10, 60,
                               40, owner, nullptr, instance, nullptr);
      SetWindowLongPtrA(w, GWLP_USERDATA, slot);
      WindowSlotOp(kOpRegister, slot, reinterpret_cast<intptr_t>(w));
      panels.push_back(w);
    }
    // Room 1 places the players (shown) and the move list (hidden).
    RoomLayoutRecord room{};
    room.slots[kSlotPlayers] = SlotPlacement{{10, 10, 70, 50}, 0, 0, 0, 1, 1};
    room.slots[kSlotMoveList] = SlotPlacement{{80, 10, 140, 50}, 0, 0, 0, 1, 0};
    StoreRoomLayoutRecord(1, &room);
    StoreRoomLayoutRecord(11, &room);
    StoreRoomLayoutRecord(14, &room);
    SetCurrentLayoutIndex(1);
    ApplyRoomLayout(1);
  }
  void TearDown() override {
    DestroyPanelToolbar();
    DestroySlotWindow(kSlotGameToolbar);
    for (HWND w : panels)
      DestroyWindow(w);
    DestroyWindow(owner);
    SetRoomCommandPort(nullptr);
    shell::SetShellHost(previousHost);
    SetSlotWindowPort(nullptr);
  }

  HINSTANCE instance = nullptr;
  RoomHost host;
  shell::ShellHost* previousHost = nullptr;
  RecordingRooms rooms;
  HWND owner = nullptr;
  std::vector<HWND> panels;
};

TEST_F(ToolbarWindows, PanelToolbarButtonsFollowTheRoom) {
  EXPECT_EQ(CreatePanelToolbar(nullptr, instance), -1);
  ASSERT_EQ(CreatePanelToolbar(owner, instance), 0);
  HWND bar = static_cast<HWND>(GetSlotWindow(kSlotPanelToolbar));
  ASSERT_NE(bar, nullptr);
  EXPECT_FALSE(IsWindowVisible(bar));  // a room layout shows it
  SetWindowPos(bar, HWND_TOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
  EXPECT_EQ(Buttons(bar).size(), 6u);
  RECT client;
  GetClientRect(bar, &client);
  EXPECT_GE(client.right, 6 * kToolbarButtonSize);
  EXPECT_GE(client.bottom, kToolbarButtonSize);
  HWND players = GetDlgItem(bar, 30506), moves = GetDlgItem(bar, 30488);
  ASSERT_TRUE(players && moves);
  EXPECT_TRUE(IsWindowEnabled(players));
  EXPECT_TRUE(Checked(players));
  EXPECT_FALSE(Checked(moves));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(bar, 30500)));  // no dictionary in this room
  EXPECT_EQ(ButtonX(bar, 30530), 5 * kToolbarButtonSize);

  // A checked button hides its panel and clears ShowInRoom, and back; the
  // buttons' focus notices change nothing.
  ASSERT_TRUE(IsWindowVisible(panels[0]));
  for (WORD code : {BN_SETFOCUS, BN_KILLFOCUS})
    SendMessageA(bar, WM_COMMAND, MAKEWPARAM(30506, code), reinterpret_cast<LPARAM>(players));
  EXPECT_TRUE(IsWindowVisible(panels[0]));
  SendMessageA(bar, WM_COMMAND, MAKEWPARAM(30506, BN_CLICKED), reinterpret_cast<LPARAM>(players));
  EXPECT_FALSE(IsWindowVisible(panels[0]));
  EXPECT_EQ(GetRoomLayoutRecord(1)->slots[kSlotPlayers].showInRoom, 0);
  EXPECT_FALSE(Checked(players));
  SendMessageA(bar, WM_COMMAND, MAKEWPARAM(30488, BN_CLICKED), reinterpret_cast<LPARAM>(moves));
  EXPECT_TRUE(IsWindowVisible(panels[1]));
  EXPECT_EQ(GetRoomLayoutRecord(1)->slots[kSlotMoveList].showInRoom, 1);
  EXPECT_TRUE(Checked(moves));
  // The next visit of the room keeps the players hidden.
  ApplyRoomLayout(1);
  EXPECT_FALSE(IsWindowVisible(panels[0]));
  EXPECT_TRUE(IsWindowVisible(panels[1]));

  DestroyPanelToolbar();
  EXPECT_EQ(GetSlotWindow(kSlotPanelToolbar), nullptr);
  EXPECT_FALSE(IsWindow(bar));

  // The online room adds the friends button, the network game the chat too.
  host.room = 11;
  SetCurrentLayoutIndex(11);
  ASSERT_EQ(CreatePanelToolbar(owner, instance), 0);
  bar = static_cast<HWND>(GetSlotWindow(kSlotPanelToolbar));
  EXPECT_EQ(Buttons(bar).size(), 7u);
  EXPECT_EQ(ButtonX(bar, 30542), 330);
  DestroyPanelToolbar();
  host.room = 14;
  SetCurrentLayoutIndex(14);
  ASSERT_EQ(CreatePanelToolbar(owner, instance), 0);
  EXPECT_EQ(Buttons(static_cast<HWND>(GetSlotWindow(kSlotPanelToolbar))).size(), 8u);
}

TEST_F(ToolbarWindows, GameToolbarAsksTheRoom) {
  EXPECT_EQ(CreateGameToolbar(owner, nullptr), -1);
  ASSERT_EQ(CreateGameToolbar(owner, instance), 0);
  HWND bar = static_cast<HWND>(GetSlotWindow(kSlotGameToolbar));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(Buttons(bar).size(), 6u);
  EXPECT_EQ(ButtonX(bar, kIdToolbarRestart), 0);
  EXPECT_EQ(ButtonX(bar, kIdToolbarMainMenu), 5 * kToolbarButtonSize);
  RECT r;
  GetWindowRect(bar, &r);
  int32_t width = 0, height = 0;
  GetDisplaySize(&width, &height);
  EXPECT_EQ(r.right, width);  // the bottom right corner
  EXPECT_EQ(r.bottom, height);

  struct Case {
    int room;
    int id;
    bool agree;
    const char* log;
  } cases[] = {
      {1, kIdToolbarSave, false, "freeze, save, resume"},
      {1, kIdToolbarLoad, false, "freeze, load"},  // no game to resume
      {1, kIdToolbarPreviousMenu, false, "freeze, agree, resume"},
      {1, kIdToolbarPreviousMenu, true, "freeze, agree, leave top"},
      {1, kIdToolbarMainMenu, true, "freeze, agree, leave all"},
      {1, kIdToolbarRestart, true, "freeze, restart?, restart"},
      {1, kIdToolbarRestart, false, "freeze, restart?, resume"},
      {14, kIdToolbarSave, false, "save"},  // the network game runs on
      {1, 30601, true, ""},
  };
  for (const Case& c : cases) {
    host.room = c.room;
    rooms.agree = c.agree;
    rooms.log.clear();
    SendMessageA(bar, WM_COMMAND, MAKEWPARAM(c.id, BN_SETFOCUS), 0);  // not a click
    EXPECT_EQ(rooms.log, "") << c.id << " in room " << c.room;
    SendMessageA(bar, WM_COMMAND, MAKEWPARAM(c.id, BN_CLICKED), 0);
    EXPECT_EQ(rooms.log, c.log) << c.id << " in room " << c.room;
  }

  // Both toolbars side by side for the picture.
  host.room = 1;
  ASSERT_EQ(CreatePanelToolbar(owner, instance), 0);
  HWND panelBar = static_cast<HWND>(GetSlotWindow(kSlotPanelToolbar));
  RECT pr, gr;
  GetWindowRect(panelBar, &pr);
  GetWindowRect(bar, &gr);
  const int top = height - 200;
  SetWindowPos(panelBar, HWND_TOPMOST, 20, top, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  SetWindowPos(bar, HWND_TOPMOST, 30 + (pr.right - pr.left), top, 0, 0,
               SWP_NOSIZE | SWP_SHOWWINDOW);
  SendMessageA(GetDlgItem(panelBar, 30488), BM_SETCHECK, BST_CHECKED, 0);
  tess_test::PumpMessages(300);
  const RECT shot{10, top - 10, 40 + (pr.right - pr.left) + (gr.right - gr.left),
                  top + 10 + (gr.bottom - gr.top)};
  const tess_test::Image image = tess_test::CaptureScreen(shot);
  EXPECT_FALSE(tess_test::SaveScreenshot(image, "ui_toolbars").empty());
  // Each button shows its picture: dark walnut ink on the maple.
  for (HWND b : Buttons(bar)) {
    RECT br;
    GetWindowRect(b, &br);
    OffsetRect(&br, -shot.left, -shot.top);
    EXPECT_GT(
        tess_test::CountPixels(
            image, br,
            [](COLORREF c) { return GetRValue(c) < 90 && GetGValue(c) < 60 && GetBValue(c) < 40; }),
        40)
        << GetDlgCtrlID(b);
  }
}

INT_PTR CALLBACK EndAtOnce(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) {
    EXPECT_FALSE(IsUserInterfaceEnabled());
    EndDialog(dialog, 7);
  }
  return FALSE;
}

TEST_F(ToolbarWindows, InterfaceLockNests) {
  // Outer task, then a task it starts: the inner one's end keeps the lock.
  EXPECT_EQ(EnableUserInterface(0), 1);
  EXPECT_FALSE(IsWindowEnabled(panels[0]));
  EXPECT_EQ(EnableUserInterface(0), 1);
  EXPECT_EQ(UserInterfaceLockDepth(), 2);
  EXPECT_EQ(EnableUserInterface(1), 1);
  EXPECT_FALSE(IsWindowEnabled(panels[0]));
  EXPECT_FALSE(IsUserInterfaceEnabled());

  // A modal dialog the locked task opens leaves the lock as it found it.
  shell::SetInterfaceSwitch(EnableUserInterface);
  EXPECT_EQ(
      shell::DoModalDialog(instance, MAKEINTRESOURCEA(kGameToolbarTemplate), owner, EndAtOnce, 0),
      7);
  EXPECT_EQ(UserInterfaceLockDepth(), 1);
  EXPECT_FALSE(IsWindowEnabled(panels[0]));

  EXPECT_EQ(EnableUserInterface(1), 1);
  EXPECT_TRUE(IsWindowEnabled(panels[0]));
  EXPECT_TRUE(IsWindowEnabled(panels[1]));
  // An enable with no lock held changes nothing.
  EXPECT_EQ(EnableUserInterface(1), 0);
  EXPECT_EQ(UserInterfaceLockDepth(), 0);

  // On its own the dialog locks while it runs and unlocks after.
  EXPECT_EQ(
      shell::DoModalDialog(instance, MAKEINTRESOURCEA(kGameToolbarTemplate), owner, EndAtOnce, 0),
      7);
  EXPECT_EQ(UserInterfaceLockDepth(), 0);
  EXPECT_TRUE(IsWindowEnabled(panels[0]));
  shell::SetInterfaceSwitch(nullptr);
}

TEST_F(ToolbarWindows, FrameStaysUpWhenTheSwitchSaysSo) {
  ASSERT_TRUE(RegisterMainWindowClass(instance));
  HWND frame = CreateMainFrameWindow(instance);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(GetSlotWindow(kSlotMainFrame), frame);
  ShowWindow(frame, SW_SHOWNOACTIVATE);
  SetMinimiseOnDeactivate(false);
  SendMessageA(frame, WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_FALSE(IsIconic(frame));
  SetMinimiseOnDeactivate(true);
  SendMessageA(frame, WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_TRUE(IsIconic(frame));
  SetMinimiseOnDeactivate(false);
  DestroyWindow(frame);
  EXPECT_EQ(GetSlotWindow(kSlotMainFrame), nullptr);
  UnregisterMainWindowClass(instance);
}

// Answers every notice with No, noting whether the current game was held
// while it was asked.
class AnswerNo : public platform::MessageSink {
 public:
  int ShowMessage(const char*, const char*, uint32_t) override {
    CGame* game = GetCurrentGame();
    heldWhileAsked.push_back(game && game->hold);
    return platform::kResultNo;
  }
  std::vector<bool> heldWhileAsked;
};

TEST_F(ToolbarWindows, TheExitQuestionHoldsTheGameOfAGameRoom) {
  std::shared_ptr<GameSessionRegistry> registry = InitGameSessionRegistry();
  CGame* game = CreateGame();
  ASSERT_EQ(RegisterGame(game, 1), kRegistered);
  SetCurrentGame(game);
  AnswerNo sink;
  platform::MessageSink* previous = platform::SetMessageSink(&sink);
  ASSERT_TRUE(RegisterMainWindowClass(instance));
  HWND frame = CreateMainFrameWindow(instance);
  ASSERT_NE(frame, nullptr);
  SendMessageA(frame, kMsgCloseRequest, 0, 0);  // in the game room
  host.room = 0;
  SendMessageA(frame, kMsgCloseRequest, 0, 0);  // in the lobby
  EXPECT_EQ(sink.heldWhileAsked, (std::vector<bool>{true, false}));
  EXPECT_EQ(game->hold, 0);  // No: the game goes on
  EXPECT_TRUE(IsWindow(frame));
  platform::SetMessageSink(previous);
  DestroyWindow(frame);
  UnregisterMainWindowClass(instance);
  DestroyAllGames();
}

}  // namespace
}  // namespace ui
