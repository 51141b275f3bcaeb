// The lobby's screen and its background dialog. The dialog paints the size
// class's background with the overlay and the user's name, and answers the
// picture buttons' background requests from the same composed picture, so
// the rounded buttons sit on the table.
#include "scene/win32/lobby_room.h"

#include <cstdio>
#include <cstring>

#include "gui/gui_core.h"
#include "gui/gui_memory.h"
#include "gui/raster.h"
#include "gui/skin_registry.h"
#include "gui/utils.h"
#include "gui/win32/gui_widgets1.h"
#include "gui/win32/gui_widgets2.h"
#include "gui/win32/gui_win32.h"
#include "platform/message_sink.h"
#include "scene/lobby_layout.h"
#include "scene/lobby_room.h"
#include "scene/room_port.h"
#include "scene/screen.h"
#include "shell/app_context.h"
#include "shell/main_loop_state.h"
#include "shell/res_strings.h"
#include "shell/sound.h"
#include "shell/user_profile.h"
#include "shell/window/win_utils.h"
#include "ui/page_layout.h"
#include "ui/win32/main_frame.h"
#include "ui/window_slots.h"

namespace scene {
namespace {

constexpr UINT kMsgCloseRequest = 0x8506;  // to the main frame
constexpr int kUserManagementChose = 480;
constexpr int kAcceleratorsId = 1568;

LobbyServices g_services;
HWND g_dialog = nullptr;
gui::PackedDIB* g_composed = nullptr;  // background with the overlay, 24-bit
bool g_optionsRunning = false;
bool g_userManagementRunning = false;
bool g_loadRunning = false;

HINSTANCE Module() { return GetModuleHandleA(nullptr); }
HWND RoomWindow() { return static_cast<HWND>(ui::GetSlotWindow(1)); }

LRESULT NoCommands(HWND, WPARAM, LPARAM) { return 0; }

// The background and the overlay in one picture the dialog's size.
gui::PackedDIB* ComposeBackground(LobbySize size) {
  const LobbySizeInfo& info = GetLobbySizeInfo(size);
  gui::GuiSkin* skin = gui::GuiGetSkin();
  gui::PackedDIB* background =
      skin ? gui::SkinRegistryFindDIB(skin->imageSource, info.background) : nullptr;
  if (!background) return nullptr;
  gui::PackedDIB* composed =
      gui::DIBCreate(gui::DIBWidth(background), gui::DIBHeight(background), 24);
  if (!composed) return nullptr;
  gui::DIBCopyRectClipped(composed, background, 0, 0, 0, 0, gui::DIBWidth(background),
                          gui::DIBHeight(background), false, 0);
  char path[MAX_PATH];
  std::snprintf(path, sizeof path, "%s\\%s", shell::GetSkinFolder() ? shell::GetSkinFolder() : "",
                info.overlay);
  if (gui::PackedDIB* overlay = gui::ReadDIBFile(path)) {
    gui::DIBCopyRectClipped(composed, overlay, info.overlayX, info.overlayY, 0, 0,
                            gui::DIBWidth(overlay), gui::DIBHeight(overlay), false, 0);
    gui::GlobalFreePtr(overlay);
  }
  return composed;
}

void DrawUserName(HWND dialog, HDC dc) {
  const char* name = shell::GetCurrentUserName();
  if (!shell::GetCurrentUserProfile() || !name || !*name) return;
  RECT client;
  GetClientRect(dialog, &client);
  int x = 0, y = 0;
  LobbyTitlePoint(client.right, client.bottom, &x, &y);
  HGDIOBJ old = SelectObject(dc, static_cast<HFONT>(gui::GuiGetFont(2)));
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_CENTER | TA_TOP);
  const int len = static_cast<int>(std::strlen(name));
  SetTextColor(dc, RGB(10, 10, 10));
  TextOutA(dc, x + 2, y + 2, name, len);
  SetTextColor(dc, RGB(180, 255, 180));
  TextOutA(dc, x, y, name, len);
  SelectObject(dc, old);
}

void OnPaint(HWND dialog) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(dialog, &ps);
  if (g_composed) {
    HPALETTE palette = gui::GuiRealizeSkinPalette(dc);
    (void)palette;
    gui::DIBBltRGB(dc, 0, 0, gui::DIBWidth(g_composed), gui::DIBHeight(g_composed), 0, 0,
                   g_composed);
  }
  DrawUserName(dialog, dc);
  EndPaint(dialog, &ps);
}

// A picture button asks for the picture behind it.
LRESULT OnBackgroundRequest(gui::GuiBackgroundRequest* request) {
  if (!request || !request->image || !g_composed) return 0;
  gui::DIBCopyRectClipped(request->image, g_composed, 0, 0, request->rect.left, request->rect.top,
                          request->rect.right - request->rect.left,
                          request->rect.bottom - request->rect.top, false, 0);
  return 1;
}

void Centre(HWND dialog) {
  HWND room = RoomWindow();
  if (room) shell::CenterWindow(dialog, room);
}

void SetTooltips(HWND dialog) {
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    const uint32_t id = LobbyActionTooltip(LobbyActionOf(GetDlgCtrlID(c)));
    if (id)
      SendMessageA(c, gui::kMsgHoverText, reinterpret_cast<WPARAM>(shell::LoadResString(id)), 0);
  }
}

bool IsDefaultProfile() {
  const char* name = shell::GetCurrentUserName();
  return name && std::strcmp(name, "Default") == 0;
}

// The default profile may not use this action: offer to make a profile.
bool RefusedForDefaultProfile(HWND dialog, LobbyAction action) {
  if (!LobbyActionNeedsProfile(action) || !IsDefaultProfile()) return false;
  const uint32_t text = action == LobbyAction::kLoad ? 9911 : 9910;
  if (platform::ShowNotice(shell::LoadResString(text), "", 4) == platform::kResultYes)
    PostMessageA(dialog, kMsgLobbyUserManagement, 0, 0);
  return true;
}

void OnCommand(HWND dialog, int id) {
  const LobbyAction action = LobbyActionOf(id);
  if (action == LobbyAction::kNone) return;
  shell::PlaySoundFile(L"SBouOK1.wav", 0);
  if (RefusedForDefaultProfile(dialog, action)) return;
  const int room = LobbyActionRoom(action);
  if (room >= 0) {
    PushScreen(room);
    return;
  }
  switch (action) {
    case LobbyAction::kLoad:
      if (!g_loadRunning && g_services.openSavedFile) {
        g_loadRunning = true;
        g_services.openSavedFile(dialog);
        g_loadRunning = false;
      }
      break;
    case LobbyAction::kOptions:
      if (!g_optionsRunning && g_services.runOptions) {
        g_optionsRunning = true;
        g_services.runOptions(dialog);
        g_optionsRunning = false;
      }
      break;
    case LobbyAction::kCredits:
      shell::PlayMusicFile(L"MCredit01.wav", -1);
      if (g_services.runCredits) g_services.runCredits(dialog);
      shell::PlayMusicFile(L"Mmenu01.wav", -1);
      break;
    case LobbyAction::kRegister:
      PostMessageA(dialog, kMsgLobbyUserManagement, 0, 0);
      break;
    case LobbyAction::kExit:
      PostMessageA(ui::GetMainFrameWindow(), kMsgCloseRequest, 0, 0);
      break;
    default:
      break;
  }
}

void OnUserManagement(HWND dialog) {
  if (g_userManagementRunning || !g_services.runUserManagement) return;
  g_userManagementRunning = true;
  const int result = g_services.runUserManagement(dialog);
  g_userManagementRunning = false;
  if (result == kUserManagementChose) {
    SendMessageA(ui::GetMainFrameWindow(), kMsgCloseRequest, 0, 0);
    const char* name = shell::GetCurrentUserName();
    if (!shell::GetCurrentUserProfile() || !name || !*name)
      PostMessageA(dialog, kMsgLobbyUserManagement, 0, 0);
    return;
  }
  InvalidateRect(dialog, nullptr, TRUE);
}

void OnDefaultProfile(HWND dialog) {
  HWND main = ui::GetMainFrameWindow();
  if (main) EnableWindow(main, FALSE);
  const bool created =
      shell::CreateUserProfile("Default", "Default", "", 0, 0, "", 500, 35, 0, 0, false);
  bool selected = true;
  if (created) {
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    selected = shell::SelectUser("Default");
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  }
  if (main) EnableWindow(main, TRUE);
  if (created && !selected && g_services.shutDown) {
    g_services.shutDown();
    return;
  }
  InvalidateRect(dialog, nullptr, TRUE);
}

INT_PTR CALLBACK LobbyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto size = static_cast<LobbySize>(lParam);
      SetWindowLongPtrA(dialog, GWLP_USERDATA, static_cast<LONG_PTR>(lParam) + 1);
      gui::GlobalFreePtr(g_composed);
      g_composed = ComposeBackground(size);
      if (g_composed)
        SetWindowPos(dialog, nullptr, 0, 0, gui::DIBWidth(g_composed), gui::DIBHeight(g_composed),
                     SWP_NOMOVE | SWP_NOZORDER);
      Centre(dialog);
      SetTooltips(dialog);
      return TRUE;
    }
    case WM_ERASEBKGND:
      return TRUE;
    case WM_PAINT:
      OnPaint(dialog);
      return TRUE;
    case gui::kMsgParentBackground:
      SetWindowLongPtrA(dialog, DWLP_MSGRESULT,
                        OnBackgroundRequest(reinterpret_cast<gui::GuiBackgroundRequest*>(lParam)));
      return TRUE;
    case WM_COMMAND:
      OnCommand(dialog, LOWORD(wParam));
      return TRUE;
    case kMsgLobbyUserManagement:
      OnUserManagement(dialog);
      return TRUE;
    case kMsgLobbyDefaultProfile:
      OnDefaultProfile(dialog);
      return TRUE;
    case WM_DESTROY:
      if (g_dialog == dialog) g_dialog = nullptr;
      shell::ClearModelessDialog();
      gui::GlobalFreePtr(g_composed);
      g_composed = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

LobbySize CurrentSizeClass(HWND of) {
  RECT r{};
  if (of) GetClientRect(of, &r);
  return ChooseLobbySize(r.right, r.bottom);
}

void CreateBackgroundDialog(LobbySize size) {
  HWND room = RoomWindow();
  if (!room) return;
  g_dialog = CreateDialogParamA(Module(), MAKEINTRESOURCEA(GetLobbySizeInfo(size).templateId), room,
                                LobbyDialogProc, static_cast<LPARAM>(size));
  if (!g_dialog) return;
  shell::SetModelessDialog(g_dialog);
  ShowWindow(g_dialog, SW_SHOW);
}

void DestroyBackgroundDialog() {
  if (g_dialog) DestroyWindow(g_dialog);
  g_dialog = nullptr;
}

class LobbyScreen : public Screen {
 public:
  // The Room window draws the lobby's wallpaper around its picture.
  LobbyScreen() : Screen(kLobbyRoom) { is2DRoom = true; }

  bool Enter() override {
    if (!initialised_) {
      initialised_ = true;
      accelerators = LoadAcceleratorsA(Module(), MAKEINTRESOURCEA(kAcceleratorsId));
      if (g_services.loadBackgroundTile) g_services.loadBackgroundTile("tile.bmp");
    }
    ui::SetCommandHandler(nullptr, NoCommands);
    DestroyBackgroundDialog();
    CreateBackgroundDialog(CurrentSizeClass(RoomWindow()));
    GetRoomPort().ResizeRoomView(*this, false);
    if (HWND room = RoomWindow())
      RedrawWindow(room, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return true;
  }

  bool Leave() override {
    DestroyBackgroundDialog();
    ui::SavePageLayout(kLobbyRoom);
    return true;
  }

  void OnResize(int width, int height) override {
    if (!g_dialog) return;
    const LobbySize wanted = ChooseLobbySize(width, height);
    const auto shown = static_cast<LobbySize>(GetWindowLongPtrA(g_dialog, GWLP_USERDATA) - 1);
    if (wanted == shown) {
      Centre(g_dialog);
      return;
    }
    HWND room = RoomWindow();
    if (room) SendMessageA(room, WM_SETREDRAW, FALSE, 0);
    DestroyBackgroundDialog();
    CreateBackgroundDialog(wanted);
    if (room) {
      SendMessageA(room, WM_SETREDRAW, TRUE, 0);
      RedrawWindow(room, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
  }

 private:
  bool initialised_ = false;
};

}  // namespace

void SetLobbyServices(const LobbyServices& services) { g_services = services; }
HWND GetLobbyDialog() { return g_dialog; }

Screen* CreateLobbyScreen() { return new LobbyScreen(); }

}  // namespace scene
