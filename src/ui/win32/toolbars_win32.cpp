#include "ui/win32/toolbars_win32.h"

#include <cstring>
#include <vector>

#include "game/game.h"
#include "game/session_registry.h"
#include "shell/app_context.h"
#include "shell/res_strings.h"
#include "shell/shell_constants.h"
#include "shell/shell_host.h"
#include "ui/room_port.h"
#include "ui/toolbar_buttons.h"
#include "ui/window_slots.h"
#include "ui/win32/main_frame.h"
#include "ui/win32/window_slots_win32.h"

namespace ui {
namespace {

constexpr int kNetworkGameRoom = 14;
constexpr int kNoRackRoom = 16;
constexpr uint32_t kStrSaveToProfile = 3077;
constexpr DWORD kButtonStyle = 0x50000080;  // WS_CHILD | WS_VISIBLE | BS_BITMAP

struct ToolbarState {
  HWND window = nullptr;
  HWND buttons[kPanelToolbarMaxButtons] = {};
};
ToolbarState g_panelBar;
ToolbarState g_gameBar;
GameToolbarHooks g_hooks;

int CurrentRoom() { return shell::GetShellHost().GetCurrentRoomId(); }

RoomLayoutRecord* CurrentRoomRecord() { return GetRoomLayoutRecord(GetCurrentLayoutIndex()); }

void AddTooltip(HWND button, uint32_t stringId) {
  if (const MainFrameServices& s = GetMainFrameServices(); s.addToolTip)
    s.addToolTip(button, stringId);
}

// Sizes the toolbar to `clientWidth` by one button row plus the thin
// borders, in whatever frame it has, and places it at the bottom of the
// display: at the left, or at the right when `right`.
void PlaceToolbar(HWND bar, int clientWidth, bool right) {
  RECT window, client;
  GetWindowRect(bar, &window);
  GetClientRect(bar, &client);
  const int width =
      clientWidth + GetSystemMetrics(SM_CXBORDER) + (window.right - window.left) - client.right;
  const int height = kToolbarButtonSize + GetSystemMetrics(SM_CYBORDER) +
                     (window.bottom - window.top) - client.bottom;
  int32_t displayWidth = 0, displayHeight = 0;
  GetDisplaySize(&displayWidth, &displayHeight);
  SetWindowPos(bar, HWND_BOTTOM, right ? displayWidth - width : 0, displayHeight - height, width,
               height, SWP_FRAMECHANGED | SWP_NOACTIVATE);
}

void StoreToolbarRect(HWND bar, int slot) {
  RECT r;
  GetWindowRect(bar, &r);
  const SlotRect rect{r.left, r.top, r.right, r.bottom};
  WindowSlotOp(kOpSetRect, slot, reinterpret_cast<intptr_t>(&rect));
}

HWND MakeButton(HWND bar, int id, int index) {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(bar, GWLP_HINSTANCE));
  return CreateWindowExA(0, "CGUIBMPButton", "", kButtonStyle, ToolbarButtonX(index), 0,
                         kToolbarButtonSize, kToolbarButtonSize, bar,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

// Both toolbars: activation redraws; the slot's room flag; unregistering.
bool CommonMessage(int slot, HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATEAPP:
      RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT);
      return true;
    case kMsgSlotQuery:
    case WM_DESTROY:
      SlotWindowHook(slot, bar, message, wParam, lParam);
      return true;
    default:
      return false;
  }
}

// --- The panel toolbar

void InitPanelToolbar(HWND bar) {
  g_panelBar.window = bar;
  const std::vector<ToolbarButton> buttons = PanelToolbarButtonsForRoom(CurrentRoom());
  WindowSlotOp(kOpRegister, kSlotPanelToolbar, reinterpret_cast<intptr_t>(bar));
  SetWindowLongPtrA(bar, DWLP_USER, 0);
  WindowSlotOp(kOpShow, kSlotPanelToolbar, kShowHide);
  PlaceToolbar(bar, static_cast<int>(buttons.size()) * kToolbarButtonSize, false);
  StoreToolbarRect(bar, kSlotPanelToolbar);
  SetWindowTextA(bar, shell::LoadResString(kStrPanelToolbarTitle));
  RoomLayoutRecord* room = CurrentRoomRecord();
  int next = 0;
  for (const ToolbarButton& b : buttons) {
    const int place = next++;
    HWND& button = g_panelBar.buttons[place];
    if (!button) button = MakeButton(bar, b.id, place);
    if (!button) continue;
    const SlotPlacement* p = room ? &room->slots[b.slot] : nullptr;
    const bool inLayout = p && p->inLayout;
    EnableWindow(button, inLayout);
    if (inLayout) SendMessageA(button, BM_SETCHECK, p->showInRoom ? BST_CHECKED : BST_UNCHECKED, 0);
    AddTooltip(button, b.tooltipId);
  }
}

void TogglePanel(HWND bar, int id) {
  const int slot = ToolbarButtonToSlot(id);
  if (!slot) return;
  shell::GetShellHost().PlaySoundFile("SWinFer1.wav");
  RoomLayoutRecord* room = CurrentRoomRecord();
  const bool show = GetSlotShowCommand(slot) != kShowShow;
  if (room) room->slots[slot].showInRoom = show ? 1 : 0;
  WindowSlotOp(kOpShow, slot, show ? kShowShow : kShowHide);
  if (HWND button = GetDlgItem(bar, id))
    SendMessageA(button, BM_SETCHECK, show ? BST_CHECKED : BST_UNCHECKED, 0);
}

// --- The game toolbar

void InitGameToolbar(HWND bar) {
  g_gameBar.window = bar;
  WindowSlotOp(kOpRegister, kSlotGameToolbar, reinterpret_cast<intptr_t>(bar));
  SetWindowLongPtrA(bar, DWLP_USER, 0);
  WindowSlotOp(kOpShow, kSlotGameToolbar, kShowHide);
  PlaceToolbar(bar, kGameToolbarButtonCount * kToolbarButtonSize, true);
  StoreToolbarRect(bar, kSlotGameToolbar);
  const ToolbarButton* buttons = GameToolbarButtons();
  for (int i = 0; i < kGameToolbarButtonCount; ++i) {
    HWND& button = g_gameBar.buttons[i];
    if (!button) button = MakeButton(bar, buttons[i].id, i);
    if (!button) continue;
    EnableWindow(button, TRUE);
    AddTooltip(button, buttons[i].tooltipId);
  }
}

// The scene stands still while a command asks the player something; the
// network game runs on regardless.
void FreezeScene() {
  if (CurrentRoom() == kNetworkGameRoom) return;
  GetRoomCommandPort().FreezeScene();
  if (CGame* game = GetCurrentGame()) game->PauseTurn();
}

void ResumeScene(CGame* game) {
  if (CurrentRoom() == kNetworkGameRoom) return;
  GetRoomCommandPort().ResumeScene();
  (void)kNoRackRoom;  // the rooms keep the rack hidden where there is none
  if (game) game->StartTurnTimer();
}

void ShowPanelByRoom(int slot) {
  const RoomLayoutRecord* room = CurrentRoomRecord();
  const bool show = room && room->slots[slot].showInRoom;
  WindowSlotOp(kOpShow, slot, show ? kShowShow : kShowHide);
}

void RunOptions(HWND bar) {
  const uint32_t flags = g_hooks.runOptionsDialog ? g_hooks.runOptionsDialog(bar) : 0;
  if (flags & kOptionsRebuildScene) GetRoomCommandPort().RebuildBoardScene();
  bool save = false;
  if (flags && std::strcmp(shell::GetCurrentUserName(), "Default") != 0)
    save = shell::ShowResMessageBox(kStrSaveToProfile, shell::kStrProductTitle, MB_YESNO) == IDYES;
  if (save && g_hooks.saveOptions) g_hooks.saveOptions();
  if (flags & kOptionsNewSkin) {
    GetRoomCommandPort().ReloadAfterSkinChange();
    if (g_hooks.applyNewSkin) g_hooks.applyNewSkin(save);
  }
  if (flags & kOptionsPanelSizeLock) ApplyPanelSizeLock();
  const struct {
    uint32_t flag;
    int slot;
  } panels[] = {
      {kOptionsPlayersPanel, kSlotPlayers},  {kOptionsRemainingTiles, kSlotRemainingTiles},
      {kOptionsMoveList, kSlotMoveList},     {kOptionsComments, kSlotUserComments},
      {kOptionsDictionary, kSlotDictionary}, {kOptionsMentor, kSlotMentor}};
  for (const auto& p : panels)
    if (flags & p.flag) ShowPanelByRoom(p.slot);
}

void RunGameCommand(HWND bar, int id) {
  shell::GetShellHost().PlaySoundFile("SWinMin1.wav");
  RoomCommandPort& room = GetRoomCommandPort();
  FreezeScene();
  switch (id) {
    case kIdToolbarPreviousMenu:
    case kIdToolbarMainMenu:
      if (room.AgreeToLeave()) {
        if (id == kIdToolbarPreviousMenu)
          room.LeaveTopScreen();
        else
          room.LeaveToMainMenu();
        return;
      }
      break;
    case kIdToolbarSave:
      room.SaveGame();
      break;
    case kIdToolbarLoad:
      if (room.LoadGame()) ApplyRoomLayout(CurrentRoom());
      if (CGame* game = GetCurrentGame()) ResumeScene(game);
      return;
    case kIdToolbarRestart:
      if (room.AgreeToRestart()) {
        room.RestartRoom();
        return;
      }
      break;
    case kIdToolbarOptions:
      RunOptions(bar);
      break;
    default:
      break;
  }
  ResumeScene(GetCurrentGame());
}

bool IsGameCommand(int id) {
  for (int i = 0; i < kGameToolbarButtonCount; ++i)
    if (GameToolbarButtons()[i].id == id) return true;
  return false;
}

}  // namespace

INT_PTR CALLBACK PanelToolbarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      InitPanelToolbar(bar);
      break;
    case WM_COMMAND:
      // Only clicks: the buttons also report focus changes.
      if (HIWORD(wParam) == BN_CLICKED) TogglePanel(bar, LOWORD(wParam));
      break;
    case WM_DESTROY:
      CommonMessage(kSlotPanelToolbar, bar, message, wParam, lParam);
      if (g_panelBar.window == bar) g_panelBar.window = nullptr;
      break;
    default:
      CommonMessage(kSlotPanelToolbar, bar, message, wParam, lParam);
      break;
  }
  return 0;
}

INT_PTR CALLBACK GameToolbarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      InitGameToolbar(bar);
      break;
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && IsGameCommand(LOWORD(wParam)))
        RunGameCommand(bar, LOWORD(wParam));
      break;
    case WM_DESTROY:
      CommonMessage(kSlotGameToolbar, bar, message, wParam, lParam);
      if (g_gameBar.window == bar) g_gameBar = ToolbarState{};
      break;
    default:
      CommonMessage(kSlotGameToolbar, bar, message, wParam, lParam);
      break;
  }
  return 0;
}

int CreatePanelToolbar(HWND owner, HINSTANCE instance) {
  if (!owner || !instance) return -1;
  CreateDialogParamA(instance, MAKEINTRESOURCEA(kPanelToolbarTemplate), owner, PanelToolbarProc, 0);
  // The buttons belong to this toolbar now; the next one makes its own.
  ResetToolbarButtons();
  return 0;
}

void DestroyPanelToolbar() {
  DestroySlotWindow(kSlotPanelToolbar);
  for (HWND& button : g_panelBar.buttons) {
    if (button && IsWindow(button)) DestroyWindow(button);
    button = nullptr;
  }
}

void ResetToolbarButtons() {
  for (HWND& button : g_panelBar.buttons)
    button = nullptr;
}

int CreateGameToolbar(HWND owner, HINSTANCE instance) {
  if (!owner || !instance) return -1;
  CreateDialogParamA(instance, MAKEINTRESOURCEA(kGameToolbarTemplate), owner, GameToolbarProc, 0);
  return 0;
}

void SetGameToolbarHooks(const GameToolbarHooks& hooks) { g_hooks = hooks; }

}  // namespace ui
