// The program message box. Differences from the system box it stands in
// for: the skinned dialog frame and buttons, button sets chosen by the low
// four flag bits only, a time-out answer (57) and a modeless form. When the
// toolkit's static and button classes are not registered the same box is
// made from the template with the system's controls; when the dialog class
// cannot be registered at all, the plain system box answers.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "gui/gui_core.h"
#include "gui/gui_memory.h"
#include "gui/win32/gui_frame.h"
#include "gui/win32/gui_widgets2.h"
#include "gui/win32/gui_win32.h"
#include "platform/ini.h"
#include "platform/message_sink.h"
#include "shell/app_context.h"
#include "shell/modeless_registry.h"
#include "shell/msgbox_table.h"
#include "shell/res_strings.h"
#include "shell/shell_host.h"
#include "shell/skin_classes.h"
#include "shell/startup/msgbox.h"
#include "shell/window/win_utils.h"

namespace shell {
namespace {

constexpr char kBoxClass[] = "QNOMSGBOX";
constexpr char kTemplate[] = "IDD_MESSAGEBOX";
constexpr char kPlainTemplate[] = "IDD_MESSAGEBOX_PLAIN";
constexpr UINT_PTR kAutoAnswerTimer = 0x7E02;
constexpr uint32_t kClosing = 4;  // state: the answer is given, the box is going
constexpr uint32_t kStringCaption = 1929, kStringProduct = 1852;

bool g_registered = false;
WNDPROC g_toolkitProc = nullptr;
int g_recordOffset = 0;
HWND g_mainWindow = nullptr;
HWND g_current = nullptr;
HWND g_modeless = nullptr;
int g_openBoxes = 0, g_openNotices = 0;
RECT g_lastRect = {-1, -1, -1, -1};
HWND g_toolTip = nullptr;

// What reaches the dialog: a zeroed creation block with the record last.
struct CreationBlock {
  uint8_t reserved[384 - sizeof(void*)];
  MessageBoxParams* record;
};

HINSTANCE Module() { return GetModuleHandleA(nullptr); }

MessageBoxParams* RecordOf(HWND box) {
  return reinterpret_cast<MessageBoxParams*>(GetWindowLongPtrA(box, g_recordOffset));
}

// The text stands on the dialog frame's tiled background in the skin's
// light text colour.
LRESULT CALLBACK BoxClassProc(HWND box, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CTLCOLORSTATIC) {
    HDC dc = reinterpret_cast<HDC>(wp);
    HFONT font =
        reinterpret_cast<HFONT>(SendMessageA(reinterpret_cast<HWND>(lp), WM_GETFONT, 0, 0));
    if (font) SelectObject(dc, font);
    const SkinClassValues* texts = GetSkinClassSet().Find("static");
    SetTextColor(dc, texts ? texts->Value("alt_text_color") : PaletteRgb(246, 236, 212));
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
  }
  return CallWindowProcA(g_toolkitProc, box, msg, wp, lp);
}

bool RegisterMessageBoxClass() {
  if (g_registered) return true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExA(gui::GuiGetInstance(), gui::kDialogClassName, &wc)) return false;
  g_toolkitProc = wc.lpfnWndProc;
  g_recordOffset = wc.cbWndExtra;
  wc.cbWndExtra += static_cast<int>(sizeof(LONG_PTR));
  wc.lpfnWndProc = BoxClassProc;
  wc.hInstance = Module();
  wc.lpszClassName = kBoxClass;
  wc.hIcon = LoadIconA(Module(), MAKEINTRESOURCEA(2982));
  wc.hIconSm = nullptr;
  g_registered = RegisterClassExA(&wc) != 0;
  if (g_registered) SetWindowUserDataOffset(g_recordOffset);
  return g_registered;
}

// The skinned template needs the toolkit's controls.
const char* TemplateName() {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  HINSTANCE inst = gui::GuiGetInstance();
  bool skinned =
      GetClassInfoExA(inst, "CGUIStatic", &wc) && GetClassInfoExA(inst, "CGUIBMPButton", &wc);
  return skinned ? kTemplate : kPlainTemplate;
}

int PlainBox(const char* text, uint32_t flags, HWND owner) {
  return MessageBoxA(owner, text, LoadResStringSecondary(kStringProduct), flags);
}

MessageBoxParams* NewRecord(const char* text, uint32_t flags, MessageBoxCallback cb,
                            uint32_t userValue, uint32_t state) {
  auto* r = static_cast<MessageBoxParams*>(gui::GlobalAllocPtr(sizeof(MessageBoxParams)));
  if (!r) return nullptr;
  r->callback = cb;
  r->userValue = userValue;
  r->flags = flags;
  r->state = state;
  r->text = text;
  return r;
}

void PlayClick(int id) {
  if (const char* sound = MsgBoxCommandSound(id)) GetShellHost().PlaySoundFile(sound);
}

// Gives the answer once: the callback, then the dialog ends (modal) or the
// window goes (modeless).
void CloseBox(HWND box, int result) {
  MessageBoxParams* r = RecordOf(box);
  if (!r || (r->state & kClosing)) return;
  r->state |= kClosing;
  KillTimer(box, kAutoAnswerTimer);
  if (r->callback) r->callback(result, r->userValue);
  if (r->state & kMsgBoxModal)
    EndDialog(box, result);
  else
    DestroyWindow(box);
}

// The test switch's delay, 0 when it is off.
int AutoAnswerDelay() {
  const char* ini = GetProgramIniPath();
  if (!ini || !*ini || platform::IniGetInt(kDebugSection, kAutoTestKey, 0, ini) == 0) return 0;
  int ms = platform::IniGetInt(kDebugSection, kAutoAnswerDelayKey, kDefaultAutoAnswerMs, ini);
  return ms > 0 ? ClampAutoAnswerDelay(ms) : 1;
}

// One thread timer ticks every registered modeless dialog's countdown; it
// runs while any is registered.
UINT_PTR g_tickTimer = 0;

void CALLBACK TickModelessDialogs(HWND, UINT, UINT_PTR, DWORD) { ModelessDialogTick(); }

// The registry offers the box the main loop's messages and counts its
// time-out down (a time-out of n seconds closes it on tick n + 1).
void RegisterModeless(HWND box, int seconds) {
  RegisterModelessDialog(box, seconds == kMsgBoxNoTimeout ? kNoCountdown : seconds);
  if (!g_tickTimer) g_tickTimer = SetTimer(nullptr, 0, 1000, TickModelessDialogs);
}

void UnregisterModeless(HWND box) {
  UnregisterModelessDialog(box);
  if (g_tickTimer && ModelessDialogCount() == 0) {
    KillTimer(nullptr, g_tickTimer);
    g_tickTimer = 0;
  }
}

void PlaceButtons(HWND box, const MsgBoxLayout& layout) {
  const int ids[3] = {kMsgBoxButton3, kMsgBoxButton1, kMsgBoxButton2};
  for (int id : ids)
    if (HWND b = GetDlgItem(box, id)) ShowWindow(b, SW_HIDE);
  RECT client;
  GetClientRect(box, &client);
  int widths[3] = {}, lefts[3] = {};
  HWND buttons[3] = {};
  for (int i = 0; i < layout.count; ++i) {
    buttons[i] = GetDlgItem(box, layout.buttons[i].controlId);
    RECT r{};
    if (buttons[i]) GetWindowRect(buttons[i], &r);
    widths[i] = r.right - r.left;
  }
  MsgBoxButtonPositions(client.right, layout.count, widths, lefts);
  for (int i = 0; i < layout.count; ++i) {
    if (!buttons[i]) continue;
    if (layout.buttons[i].stringId)
      SetWindowTextA(buttons[i], LoadResString(layout.buttons[i].stringId));
    RECT r;
    GetWindowRect(buttons[i], &r);
    ScreenRectToClient(box, &r);
    SetWindowPos(buttons[i], nullptr, lefts[i], r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(buttons[i], SW_SHOW);
  }
}

// The set-up both procedures share; `layout` chooses the buttons.
void SetUpBox(HWND box, LPARAM lp, const MsgBoxLayout& layout, int* openCount) {
  auto* block = reinterpret_cast<CreationBlock*>(lp);
  MessageBoxParams* r = block ? block->record : nullptr;
  SetWindowLongPtrA(box, g_recordOffset, reinterpret_cast<LONG_PTR>(r));
  SetWindowTextA(box, LoadResString(kStringCaption));
  if (HWND text = GetDlgItem(box, kMsgBoxText)) {
    if (HFONT font = static_cast<HFONT>(gui::GuiGetFont(2)))
      SendMessageA(text, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetWindowTextA(text, r && r->text ? r->text : "");
    FitDialogItemToText(box, kMsgBoxText);
  }
  if (r) r->text = nullptr;
  PlaceButtons(box, layout);
  if (r) r->state |= kMsgBoxSetUp;
  ++*openCount;
  g_current = box;
  SetForegroundWindow(box);
  HWND focus = GetDlgItem(box, layout.buttons[0].controlId == kMsgBoxButton2 && layout.count == 1
                                   ? kMsgBoxButton2
                                   : kMsgBoxButton1);
  if (focus) SetFocus(focus);
  CenterWindow(box, nullptr);
  if (int delay = AutoAnswerDelay())
    SetTimer(box, kAutoAnswerTimer, static_cast<UINT>(delay), nullptr);
}

void TearDownBox(HWND box, int* openCount) {
  *openCount = std::max(0, *openCount - 1);
  if (g_current == box) g_current = nullptr;
  if (g_modeless == box) g_modeless = nullptr;
  if (g_lastRect.left != -1 || g_lastRect.top != -1) {
    const char* ini = GetSettingsIniPath();
    char v[16];
    std::snprintf(v, sizeof v, "%ld", static_cast<long>(g_lastRect.left));
    platform::IniWriteString("layout", "messagebox_x1", v, ini);
    std::snprintf(v, sizeof v, "%ld", static_cast<long>(g_lastRect.top));
    platform::IniWriteString("layout", "messagebox_y1", v, ini);
  }
  UnregisterModeless(box);
  gui::GlobalFreePtr(RecordOf(box));
  SetWindowLongPtrA(box, g_recordOffset, 0);
}

void RecordMove(HWND box) {
  MessageBoxParams* r = RecordOf(box);
  if (r && (r->state & kMsgBoxSetUp)) GetWindowRect(box, &g_lastRect);
}

void OnTimer(HWND box, WPARAM id, int autoAnswer) {
  if (id == kAutoAnswerTimer) {
    KillTimer(box, kAutoAnswerTimer);
    CloseBox(box, autoAnswer);
  }
}

// The buttons' rounded caps stand on the dialog's felt; the text keeps
// its own paper ground.
BOOL AgreeToBackground(HWND box, LPARAM lp) {
  const auto* req = reinterpret_cast<const gui::GuiBackgroundRequest*>(lp);
  HWND text = GetDlgItem(box, kMsgBoxText);
  if (!req || !text) return TRUE;
  RECT t, common;
  GetWindowRect(text, &t);
  ScreenRectToClient(box, &t);
  return IntersectRect(&common, &t, &req->rect) ? FALSE : TRUE;
}

const MsgBoxLayout& LayoutOf(HWND box) {
  MessageBoxParams* r = RecordOf(box);
  return GetMsgBoxLayout(r ? r->flags : 0);
}

void OnCommand(HWND box, WPARAM wp) {
  if (HIWORD(wp) != 0) return;
  int id = LOWORD(wp);
  PlayClick(id);
  MessageBoxParams* r = RecordOf(box);
  if (int result = MsgBoxCommandResult(r ? r->flags : 0, id)) CloseBox(box, result);
}

void OnClose(HWND box, WPARAM wp) {
  MessageBoxParams* r = RecordOf(box);
  if (int result = MsgBoxCloseResult(r ? r->flags : 0, wp)) CloseBox(box, result);
}

const MsgBoxLayout kNoticeLayout = {1, {{kMsgBoxButton1, 0, 1}}, 1, false};

}  // namespace

void SetMessageBoxMainWindow(HWND window) { g_mainWindow = window; }
HWND GetCurrentMessageBox() { return g_current; }
HWND GetModelessMessageBox() { return g_modeless; }
int GetOpenMessageBoxCount() { return g_openBoxes + g_openNotices; }

INT_PTR CALLBACK MessageBoxDialogProc(HWND box, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG: {
      auto* block = reinterpret_cast<CreationBlock*>(lp);
      uint32_t flags = block && block->record ? block->record->flags : 0;
      SetUpBox(box, lp, GetMsgBoxLayout(flags), &g_openBoxes);
      return FALSE;  // the focus is set
    }
    case WM_COMMAND:
      OnCommand(box, wp);
      return TRUE;
    case WM_CLOSE:
      OnClose(box, wp);
      return TRUE;
    case kMsgBoxTimedOut:
      CloseBox(box, kMsgBoxTimeout);
      return TRUE;
    case WM_TIMER:
      OnTimer(box, wp, LayoutOf(box).buttons[0].result);
      return TRUE;
    case gui::kMsgParentBackground:
      return AgreeToBackground(box, lp);
    case WM_MOVE:
      RecordMove(box);
      return FALSE;
    case WM_DESTROY:
      TearDownBox(box, &g_openBoxes);
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK NoticeDialogProc(HWND box, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      SetUpBox(box, lp, kNoticeLayout, &g_openNotices);
      return FALSE;
    case WM_COMMAND:
      // The notice's button only clicks; the box waits for its time-out.
      if (HIWORD(wp) == 0) GetShellHost().PlaySoundFile("SBouOK1.wav");
      return TRUE;
    case WM_CLOSE:
      CloseBox(box, 1);
      return TRUE;
    case kMsgBoxTimedOut:
      CloseBox(box, kMsgBoxTimeout);
      return TRUE;
    case WM_TIMER:
      OnTimer(box, wp, 1);
      return TRUE;
    case gui::kMsgParentBackground:
      return AgreeToBackground(box, lp);
    case WM_MOVE:
      RecordMove(box);
      return FALSE;
    case WM_DESTROY:
      TearDownBox(box, &g_openNotices);
      return FALSE;
    default:
      return FALSE;
  }
}

int MessageBoxCore(const char* text, uint32_t flags, MessageBoxCallback callback,
                   uint32_t userValue, DLGPROC procedure, HWND owner) {
  if (!RegisterMessageBoxClass()) return PlainBox(text, flags, owner);
  MessageBoxParams* r = NewRecord(text, flags, callback, userValue, kMsgBoxModal);
  if (!r) return 0;
  // Switch off only what is on, and switch back on only that.
  const InterfaceSwitch interfaceSwitch = GetInterfaceSwitch();
  bool interfaceWasOn = interfaceSwitch ? interfaceSwitch(0) != 0 : true;
  bool disabledMain = false;
  if (interfaceWasOn && g_mainWindow && IsWindowEnabled(g_mainWindow)) {
    EnableWindow(g_mainWindow, FALSE);
    disabledMain = true;
  }
  // The dialog's end enables its owner; an owner that was off stays off.
  const bool ownerWasOff = owner && !IsWindowEnabled(owner);
  const bool mainWasOff = g_mainWindow && !disabledMain && !IsWindowEnabled(g_mainWindow);
  CreationBlock block{};
  block.record = r;
  INT_PTR result =
      DialogBoxParamA(Module(), TemplateName(), owner, procedure, reinterpret_cast<LPARAM>(&block));
  if (ownerWasOff && IsWindow(owner)) EnableWindow(owner, FALSE);
  if (mainWasOff && IsWindow(g_mainWindow)) EnableWindow(g_mainWindow, FALSE);
  if (disabledMain) EnableWindow(g_mainWindow, TRUE);
  if (interfaceSwitch && interfaceWasOn) interfaceSwitch(1);
  if (result == -1) {
    // The dialog was never made: the record is still ours.
    if (!(r->state & kMsgBoxSetUp)) gui::GlobalFreePtr(r);
    return PlainBox(text, flags, owner);
  }
  return static_cast<int>(result);
}

HWND ModelessMessageBoxCore(const char* text, uint32_t flags, MessageBoxCallback callback,
                            uint32_t userValue, int seconds, DLGPROC procedure) {
  if (!RegisterMessageBoxClass()) {
    int result = PlainBox(text, flags, g_mainWindow);
    if (callback) callback(result, userValue);
    return nullptr;
  }
  MessageBoxParams* r = NewRecord(text, flags, callback, userValue, 0);
  if (!r) return nullptr;
  // One modeless box at a time; the old one goes without its callback.
  if (g_modeless && IsWindow(g_modeless)) DestroyWindow(g_modeless);
  CreationBlock block{};
  block.record = r;
  HWND box = CreateDialogParamA(Module(), TemplateName(), g_mainWindow, procedure,
                                reinterpret_cast<LPARAM>(&block));
  if (!box) {
    if (!(r->state & kMsgBoxSetUp)) gui::GlobalFreePtr(r);
    return nullptr;
  }
  g_modeless = box;
  RegisterModeless(box, seconds);
  ShowWindow(box, SW_SHOW);
  return box;
}

int ShowMessageBox(const char* text, uint32_t flags) {
  return MessageBoxCore(text, flags, nullptr, 0, MessageBoxDialogProc, g_mainWindow);
}

int ShowMessageBoxOwned(const char* text, uint32_t flags, HWND owner) {
  return MessageBoxCore(text, flags, nullptr, 0, MessageBoxDialogProc, owner);
}

int ShowMessageBoxCallback(const char* text, uint32_t flags, MessageBoxCallback callback,
                           uint32_t userValue) {
  return MessageBoxCore(text, flags, callback, userValue, MessageBoxDialogProc, g_mainWindow);
}

HWND ShowMessageBoxModeless(const char* text, uint32_t flags, MessageBoxCallback callback,
                            uint32_t userValue) {
  return ModelessMessageBoxCore(text, flags, callback, userValue, kMsgBoxNoTimeout,
                                MessageBoxDialogProc);
}

HWND ShowMessageBoxModelessEx(const char* text, uint32_t flags, MessageBoxCallback callback,
                              uint32_t userValue, int seconds) {
  return ModelessMessageBoxCore(text, flags, callback, userValue, seconds, MessageBoxDialogProc);
}

HWND ShowCancelBoxModeless(const char* text, MessageBoxCallback callback, uint32_t userValue) {
  return ModelessMessageBoxCore(text, 15, callback, userValue, kMsgBoxNoTimeout,
                                MessageBoxDialogProc);
}

void CloseMessageBoxWindow() {
  if (g_current) SendMessageA(g_current, WM_CLOSE, kMsgBoxDismissClose, 0);
}

void DestroyModelessMessageBox() {
  if (g_modeless && IsWindow(g_modeless) && IsWindowVisible(g_modeless)) DestroyWindow(g_modeless);
}

namespace {
class BoxSink : public platform::MessageSink {
 public:
  int ShowMessage(const char* text, const char* caption, uint32_t flags) override {
    (void)caption;  // the box has the program's caption
    return ShowMessageBox(text, flags);
  }
};
BoxSink g_sink;
platform::MessageSink* g_previousSink = nullptr;
bool g_sinkInstalled = false;
}  // namespace

void InstallMessageBoxSink() {
  if (g_sinkInstalled) return;
  g_previousSink = platform::SetMessageSink(&g_sink);
  g_sinkInstalled = true;
}

void RemoveMessageBoxSink() {
  if (!g_sinkInstalled) return;
  platform::SetMessageSink(g_previousSink);
  g_sinkInstalled = false;
}

HWND CreateToolTipControl() {
  if (g_toolTip) return g_toolTip;
  g_toolTip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, 0x8000000B, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, Module(), nullptr);
  if (!g_toolTip) return nullptr;
  SetWindowPos(g_toolTip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (HFONT font = static_cast<HFONT>(gui::GuiGetFont(0)))
    SendMessageA(g_toolTip, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return g_toolTip;
}

void DestroyToolTipControl() {
  if (g_toolTip) DestroyWindow(g_toolTip);
  g_toolTip = nullptr;
}

HWND GetToolTipControl() { return g_toolTip; }

bool AddToolTip(HWND window, UINT stringId) {
  if (!g_toolTip || !window) return false;
  TOOLINFOA ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;  // 17
  ti.hwnd = GetParent(window) ? GetParent(window) : window;
  ti.uId = reinterpret_cast<UINT_PTR>(window);
  ti.hinst = nullptr;
  ti.lpszText = const_cast<char*>(LoadResString(stringId));
  bool ok = SendMessageA(g_toolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
  SendMessageA(g_toolTip, TTM_SETMAXTIPWIDTH, 0, 200);
  SendMessageA(g_toolTip, TTM_ACTIVATE, TRUE, 0);
  return ok;
}

}  // namespace shell
