#include "shell/startup/win32/startup.h"

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/lexicon.h"
#include "engine/robot_job.h"
#include "game/player_robot.h"
#include "game/robot_factory.h"
#include "game/saved_game.h"
#include "game/session_registry.h"
#include "gui/win32/gui_win32.h"
#include "platform/ini.h"
#include "platform/message_sink.h"
#include "shell/app_context.h"
#include "shell/event_queue.h"
#include "shell/res_strings.h"
#include "shell/resource_packs.h"
#include "shell/settings.h"
#include "shell/shell_constants.h"
#include "shell/sound.h"
#include "shell/startup/msgbox.h"
#include "shell/startup/palette_pack.h"
#include "shell/startup/resource_sets.h"
#include "shell/startup/sound_engine.h"
#include "shell/startup/win32/app_cursors.h"
#include "shell/startup/win32/app_palette.h"
#include "shell/startup/win32/main_loop.h"
#include "shell/startup/win32/online_hooks.h"
#include "shell/startup/win32/options_hooks.h"
#include "shell/startup/win32/personality_chooser.h"
#include "shell/startup/win32/profile_manager.h"
#include "shell/startup/win32/room_backgrounds.h"
#include "shell/startup/win32/splash.h"
#include "shell/startup/win32/startup_hooks.h"
#include "shell/startup/win32/system_params.h"
#include "shell/startup/win32/wallpaper_paint.h"
#include "shell/startup/win32/win_shell_host.h"
#include "shell/window/win_utils.h"
#include "shell/startup_logic.h"
#include "shell/theme.h"
#include "shell/user_profile.h"
#include "scene/game_room.h"
#include "scene/lobby_room.h"
#include "scene/screen.h"
#include "scene/win32/board_window.h"
#include "scene/win32/lobby_room.h"
#include "scene/win32/room_commands.h"
#include "scene/win32/room_window.h"
#include "ui/game_settings.h"
#include "ui/room_game.h"
#include "ui/win32/about_box_win32.h"
#include "ui/win32/game_ui_port_win32.h"
#include "ui/win32/main_frame.h"
#include "ui/win32/options_dialog.h"
#include "ui/win32/saved_game_dialogs_win32.h"
#include "ui/win32/setup_dialogs.h"
#include "ui/win32/toolbars_win32.h"
#include "ui/window_slots.h"

namespace shell {
namespace {

// What start-up has done, so that shut-down undoes exactly that.
struct StartupState {
  HINSTANCE instance = nullptr;
  StartupDebugOptions debug;
  bool guiUp = false;
  bool contextUp = false;
  HANDLE mutex = nullptr;
  HANDLE semaphore = nullptr;
  bool cursorsUp = false;
  bool frameClassUp = false;
  bool roomClassUp = false;
  bool boardClassUp = false;
  bool screensUp = false;
  bool guiResourcesUp = false;
  HWND mainWindow = nullptr;
  bool queuesUp = false;
  bool lexiconUp = false;
  SavedSystemSettings systemSettings;
};

StartupState g_run;
WinShellHost g_host;
Win32SystemParams g_systemParams;
HWND g_videoModeDialog = nullptr;

// --- the unattended run's log and answers -----------------------------------

void Log(const char* format, ...) {
  if (g_run.debug.logPath.empty()) return;
  FILE* f = std::fopen(g_run.debug.logPath.c_str(), "a");
  if (!f) return;
  // Milliseconds since the process began, for timing unattended runs.
  FILETIME created, unused1, unused2, unused3;
  GetProcessTimes(GetCurrentProcess(), &created, &unused1, &unused2, &unused3);
  FILETIME nowFile;
  GetSystemTimeAsFileTime(&nowFile);
  auto ticks = [](const FILETIME& f) {
    return (static_cast<uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
  };
  std::fprintf(f, "[%llu] ",
               static_cast<unsigned long long>((ticks(nowFile) - ticks(created)) / 10000));
  va_list args;
  va_start(args, format);
  std::vfprintf(f, format, args);
  va_end(args);
  std::fputc('\n', f);
  std::fclose(f);
}

// Answers every notice with its first button and writes it to the log.
class AutoAnswerSink : public platform::MessageSink {
 public:
  int ShowMessage(const char* text, const char* caption, uint32_t flags) override {
    int answer = DefaultButtonFor(flags);
    Log("notice %s | %s | %d", caption ? caption : "", text ? text : "", answer);
    return answer;
  }
};
AutoAnswerSink g_autoSink;

int Notice(uint32_t textId, uint32_t flags) {
  std::string text = LoadResString(textId);
  return platform::ShowNotice(text.c_str(), LoadResStringSecondary(kStrProductTitle), flags);
}

// --- the colour-depth check and its dialog ------------------------------------

constexpr int kVideoYes = 1, kVideoExit = 8;

void AppendText(std::vector<WORD>& t, const char* text) {
  for (const char* c = text; *c; ++c)
    t.push_back(static_cast<WORD>(static_cast<unsigned char>(*c)));
  t.push_back(0);
}

void AppendItem(std::vector<WORD>& t, DWORD style, short x, short y, short cx, short cy, WORD id,
                WORD cls, const char* text) {
  while (t.size() % 2)
    t.push_back(0);  // items start on a DWORD boundary
  DLGITEMTEMPLATE item{style | WS_CHILD | WS_VISIBLE, 0, x, y, cx, cy, id};
  const WORD* w = reinterpret_cast<const WORD*>(&item);
  t.insert(t.end(), w, w + sizeof item / 2);
  t.push_back(0xFFFF);
  t.push_back(cls);
  AppendText(t, text);
  t.push_back(0);  // no creation data
}

std::vector<WORD> VideoModeTemplate() {
  std::vector<WORD> t;
  DLGTEMPLATE d{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER | DS_MODALFRAME | DS_SETFONT,
                0,
                3,
                0,
                0,
                230,
                80};
  const WORD* w = reinterpret_cast<const WORD*>(&d);
  t.assign(w, w + sizeof d / 2);
  t.push_back(0);  // no menu
  t.push_back(0);  // the standard class
  AppendText(t, "Video mode controls for TESSARIN\xae 2007");
  t.push_back(8);
  AppendText(t, "MS Shell Dlg");
  AppendItem(t, SS_LEFT, 10, 10, 210, 30, 0xFFFF, 0x0082,
             "TESSARIN\xae 2007 requires 16-bit video mode. Do you want to open your Display "
             "properties now?");
  AppendItem(t, BS_DEFPUSHBUTTON | WS_TABSTOP, 50, 55, 50, 14, kVideoYes, 0x0080, "Yes");
  AppendItem(t, BS_PUSHBUTTON | WS_TABSTOP, 130, 55, 50, 14, kVideoExit, 0x0080, "Exit");
  return t;
}

void OpenDisplaySettings() {
  char windows[MAX_PATH] = {}, system[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  GetSystemDirectoryA(system, MAX_PATH);
  char command[3 * MAX_PATH];
  std::snprintf(command, sizeof command, LoadResString(kStrDisplayCommand), windows, system);
  WinExec(command, SW_SHOW);
}

INT_PTR CALLBACK VideoModeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message != WM_COMMAND) return FALSE;
  if (LOWORD(wParam) == kVideoYes) OpenDisplaySettings();
  if (LOWORD(wParam) == kVideoExit) {
    PostMessageA(nullptr, WM_QUIT, 0, 0);
    DestroyWindow(dialog);
    g_videoModeDialog = nullptr;
  }
  return TRUE;
}

// --- single instance ----------------------------------------------------------

bool CheckSingleInstance() {
  g_run.mutex = CreateMutexA(nullptr, FALSE, "TESSARIN2005_MUTEX");
  if (g_run.mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(g_run.mutex);
    g_run.mutex = nullptr;
    if (HWND first = ui::FindRunningInstance()) {
      std::string text = LoadResString(kStrAlreadyRunning);
      platform::ShowNotice(text.c_str(), ui::kMainWindowClass, MB_OK);
      WINDOWPLACEMENT placement{};
      placement.length = sizeof placement;
      if (GetWindowPlacement(first, &placement)) {
        placement.showCmd = SW_RESTORE;
        SetWindowPlacement(first, &placement);
      }
      SetForegroundWindow(first);
    }
    Log("second instance");
    return false;
  }
  if (g_run.mutex) {
    g_run.semaphore = CreateSemaphoreA(nullptr, 0, 1, "TESSARIN_SEMAPHORE");
    if (g_run.semaphore && GetLastError() == ERROR_ALREADY_EXISTS) {
      CloseHandle(g_run.semaphore);
      g_run.semaphore = nullptr;
      return false;
    }
  }
  return true;
}

// --- the main frame's services ------------------------------------------------

void SelectFrameCursor(HWND, int index) { SetCursor(GetAppCursor(index)); }

void InstallFrameServices() {
  ui::MainFrameServices s;
  s.splashShowing = IsSplashShowing;
  s.cursorIndex = GetAppCursorIndex;
  s.selectCursor = SelectFrameCursor;
  s.palette = GetAppPalette;
  s.createToolTipControl = CreateToolTipControl;
  s.destroyToolTipControl = DestroyToolTipControl;
  s.addToolTip = AddToolTip;
  ui::SetMainFrameServices(s);
}

// --- the rooms ------------------------------------------------------------------

scene::Screen* MakeLobby(int) { return scene::CreateLobbyScreen(); }
scene::Screen* MakeMainGame(int) { return scene::CreateMainGameScreen(); }
scene::Screen* MakeBestSolution(int) { return scene::CreateBestSolutionScreen(); }

void RunLobbyOptions(HWND owner) {
  const int changes = ui::RunOptionsDialog(owner);
  if (!changes) return;
  FollowOptionsBoard();
  if (ui::SaveOptionsChanges(changes) && (changes & ui::kChangedTheme)) SaveThemeChoice();
}

void RunCredits(HWND owner) { ui::ShowAboutBox(owner); }

int RunUserManagement(HWND owner) { return static_cast<int>(ShowUserManagementDialog(owner)); }

// A saved game chosen in the program's file dialog is played in the game
// room, which opens it in place of the player set-up.
void OpenSavedGameFromLobby(HWND) {
  ui::ProgramSavedGamePort dialogs;
  std::string path;
  if (!dialogs.AskFileName(false, kFileSavedGame, path) || path.empty()) return;
  if (DetectSavedFileType(path.c_str()) != kFileSavedGame) return;
  scene::SetPendingSavedGame(path);
  if (!scene::PushScreen(scene::kMainGameRoom)) scene::SetPendingSavedGame("");
}

// The default profile cannot be selected: the program stops; the loop's end
// frees the lexicon, restores the system settings and shuts down once.
void ShutDownFromLobby() { PostQuitMessage(0); }

bool RoomFrameActive() {
  const int room = scene::GetCurrentRoomId();
  return room != scene::kLobbyRoom && room != scene::kNoRoomWindowId;
}

// The rooms the program has, what they ask of the program, and their place
// in the main loop.
void InstallRooms() {
  scene::SetRoomScreenFactory(scene::kLobbyRoom, MakeLobby);
  scene::SetRoomScreenFactory(scene::kMainGameRoom, MakeMainGame);
  scene::SetRoomScreenFactory(8, MakeBestSolution);
  scene::LobbyServices lobby;
  lobby.shutDown = ShutDownFromLobby;
  lobby.runOptions = RunLobbyOptions;
  lobby.runCredits = RunCredits;
  lobby.runUserManagement = RunUserManagement;
  lobby.openSavedFile = OpenSavedGameFromLobby;
  lobby.loadBackgroundTile = LoadShownRoomTile;
  scene::SetLobbyServices(lobby);
  scene::InstallRoomCommandPort();
  InstallRoomBackgrounds();
  RoomFrameDriver driver;
  driver.active = RoomFrameActive;
  driver.update = scene::RunRoomFrame;
  SetRoomFrameDriver(driver);
}

// The board model is chosen before the toolbar rebuilds the scene with it.
uint32_t RunToolbarOptions(HWND owner) {
  const int changes = ui::RunOptionsDialog(owner);
  if (changes) FollowOptionsBoard();
  return static_cast<uint32_t>(changes);
}

void EnablePanelControl(int slot, int control, bool enable) {
  if (HWND panel = static_cast<HWND>(ui::GetSlotWindow(slot)))
    EnableWindow(GetDlgItem(panel, control), enable);
}

// The game's notices, the toolbars' options and the panels' controls on the
// program's windows.
void InstallWindowSideOfTheGame() {
  ui::InstallGameWindowPorts();
  ui::GameToolbarHooks toolbar;
  toolbar.runOptionsDialog = RunToolbarOptions;
  toolbar.saveOptions = ui::SaveOptionsSettings;
  toolbar.applyNewSkin = ApplyNewSkinFromToolbar;
  ui::SetGameToolbarHooks(toolbar);
  InstallOptionsHooks();
  ui::RoomGameWindows panels;
  panels.enableControl = EnablePanelControl;
  ui::SetRoomGameWindows(panels);
  ui::SetPersonalityChooser(ChoosePersonalityForSetup);
}

// --- the steps ------------------------------------------------------------------

bool InitApplication() {
  if (!CheckSingleInstance()) return false;
  bool palette = LoadAppPalette(g_run.instance);
  Log("palette %s", palette ? "PAL" : GetAppPalette() ? "system colours" : "none");
  g_run.cursorsUp = CreateAppCursors(g_run.instance);
  InstallFrameServices();
  InstallWindowSideOfTheGame();
  ui::InstallSavedGameDialogs();
  g_run.frameClassUp = ui::RegisterMainWindowClass(g_run.instance);
  if (g_run.frameClassUp) g_run.roomClassUp = scene::RegisterRoomWindowClass(g_run.instance);
  SeedRandom();
  ui::ResetWindowSlotRegistry();
  g_run.guiResourcesUp = true;  // released at the end whether or not all loaded
  if (!LoadGUIResources()) Log("gui resources: toolkit defaults");
  return true;
}

// The skin's palette pack in slot 18 decides; the other packs are opened
// for the rooms that read them.
bool LoadStartupResources() {
  InstallRooms();
  scene::CreateRoomScreens();
  g_run.screensUp = true;
  if (!AllocCurrentUserProfile()) return false;
  InstallPalettePackFactory();
  for (auto pack : {std::make_pair("faces", kPackFaces), std::make_pair("Tessarin", kPackProduct),
                    std::make_pair("tooltips", kPackTooltips)})
    if (!OpenResourcePack(pack.first, pack.second, false)) Log("pack %s missing", pack.first);
  char theme[kMaxPath] = "standard_theme.ini";
  const SettingsRecord* settings = GetSettingsRecord();
  if (settings && settings->lastUser[0]) GetUserThemeFile(theme, settings->lastUser);
  char skin[kMaxPath] = {};
  ResolveSkinFile(skin, theme);
  SetCurrentTheme(theme);
  std::string palette = GetSkinConfigFile("TS256Data");
  bool ok = OpenResourcePack(palette.c_str(), kPaletteSlot, false);
  Log("palette pack %s: %s", palette.c_str(), ok ? "open" : "missing");
  return ok;
}

void LoadLexicon() {
  Lexicon* lexicon = CreateLexicon(0);
  if (!lexicon) return;
  g_run.lexiconUp = true;
  if (const char* folder = GetProgramFolder()) lexicon->SetProgramFolder(folder);
  bool loaded = lexicon->Load(0, 0);
  Log("lexicon %s", loaded ? "loaded" : "missing");
}

// The computer players think with the word engine's robots on the robots'
// worker thread; both are there while the lexicon is. Without them every
// computer player would pass each turn.
void StartComputerPlayers() {
  InstallPlayerRobotFactory();
  RobotWorkerPool().Start();
}

void StopComputerPlayers() {
  DestroyAllGames();  // their robots stop thinking and go first
  RobotWorkerPool().Stop();
  SetPlayerRobotFactory(PlayerRobotFactory());
}

void ShowSplashSequence() {
  int ms = g_run.debug.splashMs;
  Sleep(ms);
  ShowSplashBitmap("FENWORTH");
  Log("splash FENWORTH");
  Sleep(ms);
  ShowSplashBitmap("SPLASH");
  Log("splash SPLASH");
  Sleep(ms);
  CloseSplash();
  Log("splash closed");
}

// The last user, or the welcome prompt. False when the last user's profile
// could not be selected.
bool SelectStartUser() {
  const SettingsRecord* settings = GetSettingsRecord();
  std::string last = settings ? settings->lastUser : "";
  if (!last.empty() && UserExists(last.c_str())) {
    SetAppCursor(g_run.mainWindow, kCursorBusy);
    bool selected = SelectUser(last.c_str());
    SetAppCursor(g_run.mainWindow, kCursorPointer);
    if (!selected) {
      // The next start must not fail the same way: it asks for a profile.
      platform::IniWriteString("settings", "LastUser", "", GetProgramIniPath());
      Notice(kStrFatalLoading, kFatalMessageFlags);
      Log("user %s failed", last.c_str());
      return false;
    }
    Log("user %s", last.c_str());
  }
  scene::PushScreen(scene::kLobbyRoom);
  Log("room %d", scene::GetCurrentRoomId());
  if (!GetCurrentUserName()[0]) {
    int answer = Notice(WelcomePromptText(CountUsers() > 0), 1);
    const uint32_t message = WelcomeAnswerMessage(answer);
    if (HWND lobby = scene::GetLobbyDialog()) {
      // A posted message below WM_USER (the Default profile's) is not
      // delivered on every system: that one is sent.
      if (message < WM_USER)
        SendMessageA(lobby, message, 0, 0);
      else
        PostMessageA(lobby, message, 0, 0);
    }
    Log("welcome answer %u", message);
  }
  return true;
}

void ShutdownSubsystems() {
  CloseSplash();
  JoinSplashThread();
  // The panels go before the frame that owns them.
  ui::DestroyStartupPanels();
  if (g_run.mainWindow && IsWindow(g_run.mainWindow)) DestroyWindow(g_run.mainWindow);
  g_run.mainWindow = nullptr;
  ::DestroyAllGames();
  ui::UninstallGameWindowPorts();
  if (g_run.screensUp) scene::DestroyRoomScreens();
  FreeRoomBackgrounds();
  g_run.screensUp = false;
  if (g_run.boardClassUp) scene::UnregisterBoardWindowClass(g_run.instance);
  if (g_run.roomClassUp) scene::UnregisterRoomWindowClass(g_run.instance);
  g_run.boardClassUp = g_run.roomClassUp = false;
  if (g_run.frameClassUp) ui::UnregisterMainWindowClass(g_run.instance);
  g_run.frameClassUp = false;
  if (g_run.cursorsUp) DestroyAppCursors();
  g_run.cursorsUp = false;
  DeleteAppPalette();
  CloseAllResourcePacks();
  FreeCurrentUserProfile();
  if (g_run.guiResourcesUp) ReleaseGuiResourcesAndFont();
  g_run.guiResourcesUp = false;
  SetShellHost(nullptr);
  if (g_run.contextUp) DestroyAppContext();
  g_run.contextUp = false;
  if (g_run.semaphore) CloseHandle(g_run.semaphore);
  if (g_run.mutex) CloseHandle(g_run.mutex);
  g_run.semaphore = g_run.mutex = nullptr;
  if (g_run.guiUp) gui::GuiShutdown();
  g_run.guiUp = false;
  Log("shut down");
}

void ApplySwitches() {
  ApplySystemSwitches(g_systemParams, &g_run.systemSettings);
  const SavedSystemSettings& s = g_run.systemSettings;
  Log("switched saver=%d beep=%d dragoff=%d smoothing=%d", s.screenSaverWasActive, s.beepWasOn,
      s.dragWasOff, s.smoothingWasOn);
}

void RestoreSwitches() {
  RestoreSystemSwitches(g_systemParams, &g_run.systemSettings);
  Log("restored");
}

// Steps up to the loop; false ends the run with exit code 0 (everything
// already undone).
bool StartUp() {
  gui::GuiInitialize(g_run.instance);
  g_run.guiUp = true;
  if (!CreateAppContext()) {
    Notice(kStrFatalLoading, kFatalMessageFlags);
    gui::GuiShutdown();
    return false;
  }
  g_run.contextUp = true;
  SetGameSessionRegistry(InitGameSessionRegistry());
  g_run.debug = ReadStartupDebugOptions(GetProgramIniPath());
  if (g_run.debug.autoTest)
    platform::SetMessageSink(&g_autoSink);
  else
    InstallMessageBoxSink();
  g_host.SetDesktopOverride(g_run.debug.desktopWidth, g_run.debug.desktopHeight);
  SetShellHost(&g_host);
  Log("start");
  if (!InitApplication()) {
    ShutdownSubsystems();
    return false;
  }
  StartSplashThread(g_run.instance, "NORV");
  Log("splash %s", IsSplashShowing() ? "NORV" : "none");
  if (!InitSound()) Log("sound off");
  g_run.mainWindow = ui::CreateMainFrameWindow(g_run.instance);
  if (g_run.mainWindow) {
    CenterWindow(g_run.mainWindow, GetDesktopWindow());
    g_host.SetMainWindow(g_run.mainWindow);
    SetMessageBoxMainWindow(g_run.mainWindow);
    SetSkinMainWindow(g_run.mainWindow);
    InstallStartupHooks();
  }
  int width = 0, height = 0;
  g_host.GetDesktopSize(&width, &height);
  if (!DesktopFits(width, height)) {
    Notice(kStrDesktopTooSmall, kFatalMessageFlags);
    ShutdownSubsystems();
    return false;
  }
  if (!g_run.mainWindow || !LoadStartupResources()) {
    Notice(kStrFatalLoading, kFatalMessageFlags);
    ShutdownSubsystems();
    return false;
  }
  g_run.queuesUp = CreateEventQueue(0, 0) && CreateEventQueue(1, 0);
  scene::CreateRoomWindow();
  g_run.boardClassUp = scene::RegisterBoardWindowClass(g_run.instance);
  ui::CreateStartupPanels(g_run.mainWindow, g_run.instance);
  InstallDialogWindowOps();
  ShowSplashSequence();
  ApplySwitches();
  ui::ShowMainWindowFullDesktop(1);
  Log("main window");
  Log("wallpaper %s", InstallMainWindowWallpaper(g_run.mainWindow) ? "shown" : "none");
  LoadLexicon();
  StartComputerPlayers();
  SetOnlineAppWindows(g_run.instance, g_run.mainWindow);
  if (!SelectStartUser()) {
    StopComputerPlayers();
    DestroyLexicon();
    RestoreSwitches();
    ShutdownSubsystems();
    DestroyEventQueue(0);
    DestroyEventQueue(1);
    return false;
  }
  return true;
}

void ShutDown() {
  StopComputerPlayers();
  DestroyLexicon();
  RestoreSwitches();
  ShutdownSubsystems();
  DestroyEventQueue(0);
  DestroyEventQueue(1);
  ShutdownSound();
  InvalidateRect(nullptr, nullptr, TRUE);
}

}  // namespace

bool CheckColorDepth() {
  HDC dc = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
  if (!dc) return false;
  int bits = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
  DeleteDC(dc);
  return bits >= 16;
}

void ShowVideoModeDialog(HWND parent) {
  if (!g_videoModeDialog) {
    std::vector<WORD> t = VideoModeTemplate();
    g_videoModeDialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                                                   reinterpret_cast<DLGTEMPLATE*>(t.data()), parent,
                                                   VideoModeDialogProc, 0);
    if (g_videoModeDialog) ShowWindow(g_videoModeDialog, SW_SHOW);
  }
  if (parent || !g_videoModeDialog) return;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (g_videoModeDialog && IsDialogMessageA(g_videoModeDialog, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  g_videoModeDialog = nullptr;
}

void CloseVideoModeDialog() {
  if (g_videoModeDialog) DestroyWindow(g_videoModeDialog);
  g_videoModeDialog = nullptr;
}

int RunTessarin(HINSTANCE instance) {
  if (!CheckColorDepth()) {
    ShowVideoModeDialog(nullptr);
    return 0;
  }
  g_run = StartupState();
  g_run.instance = instance;
  if (!StartUp()) return 0;
  WPARAM code = 0;
  RunMainLoop(&code);
  // The quit's own code: waiting for one more message could wait for ever.
  Log("quit %u", static_cast<unsigned>(code));
  ShutDown();
  return static_cast<int>(code);
}

}  // namespace shell
