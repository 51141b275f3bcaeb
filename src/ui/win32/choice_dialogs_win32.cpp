#include "ui/win32/choice_dialogs_win32.h"

#include <cctype>
#include <string>

#include "game/game.h"
#include "game/move_submit.h"
#include "gui/gui_core.h"
#include "gui/win32/gui_widgets1.h"
#include "platform/message_sink.h"
#include "shell/res_strings.h"
#include "shell/shell_host.h"
#include "shell/window/dialog_support.h"
#include "shell/window/win_utils.h"
#include "ui/move_choices.h"
#include "ui/win32/main_frame.h"

namespace ui {
namespace {

constexpr int kBlankTemplate = 82;
constexpr int kExchangeTemplate = 83;
constexpr int kLevelTemplate = 80;
constexpr UINT kStrSelectLetters = 1997;
constexpr UINT kStrConfirmSwap = 1998;
constexpr char kLevelRangeText[] = "Dictionary level varies between 1 and 10";
constexpr int kLevelWord = 2;

HINSTANCE Module() { return GetModuleHandleA(nullptr); }

HWND CentreOwner() {
  HWND main = GetMainFrameWindow();
  return main ? main : nullptr;
}

HFONT DialogFont() {
  HFONT f = static_cast<HFONT>(gui::GuiGetFont(2));
  return f ? f : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void Sound(const char* name) { shell::GetShellHost().PlaySoundFile(name); }

// The interface is switched off while a modeless dialog that stands for a
// modal one is open, and put back as it was when it closes.
int LockInterface() {
  shell::InterfaceSwitch sw = shell::GetInterfaceSwitch();
  return sw ? sw(0) : 1;
}
void RestoreInterface(int wasOn) {
  if (shell::InterfaceSwitch sw = shell::GetInterfaceSwitch()) sw(wasOn);
}

// --- Blank letter ---

bool g_blankOpen = false;
HWND g_blankDialog = nullptr;

INT_PTR CALLBACK BlankLetterDlgProc(HWND dialog, UINT msg, WPARAM wp, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG: {
      HWND edit = GetDlgItem(dialog, kIdBlankEdit);
      SetWindowTextA(edit, "");
      SendMessageA(edit, EM_LIMITTEXT, 2, 0);
      g_blankDialog = dialog;
      shell::CenterWindow(dialog, CentreOwner());
      SetFocus(edit);
      return FALSE;
    }
    case WM_COMMAND: {
      (void)wp;
      char text[3] = {};
      GetDlgItemTextA(dialog, kIdBlankEdit, text, sizeof text);
      const int answer = BlankAnswerFromText(text);
      if (answer >= 0) EndDialog(dialog, answer);
      return TRUE;
    }
    case WM_DESTROY:
      g_blankDialog = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

// --- Exchange ---

constexpr int kTile = 28, kTileGap = 4, kRackTop = 24, kBagTop = 74;

struct ExchangeState {
  HWND dialog = nullptr;
  CGame* game = nullptr;
  ExchangeChoice choice;
  int interfaceWasOn = 1;
};
// At most one exchange is open: one state, pointed at while it is.
ExchangeState g_exchangeState;
ExchangeState* g_exchange = nullptr;

int RowLeft(HWND dialog, int places) {
  RECT rc;
  GetClientRect(dialog, &rc);
  const int width = places * kTile + (places - 1) * kTileGap;
  return (rc.right - width) / 2;
}

RECT TileRect(HWND dialog, int places, int index, int top) {
  const int left = RowLeft(dialog, places) + index * (kTile + kTileGap);
  return RECT{left, top, left + kTile, top + kTile};
}

void PaintTile(HDC dc, const RECT& r, char letter) {
  HBRUSH fill = CreateSolidBrush(letter ? RGB(240, 226, 186) : RGB(214, 206, 190));
  HPEN pen = CreatePen(PS_SOLID, 1, letter ? RGB(120, 84, 40) : RGB(160, 150, 136));
  HGDIOBJ oldBrush = SelectObject(dc, fill);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  RoundRect(dc, r.left, r.top, r.right, r.bottom, 6, 6);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(fill);
  DeleteObject(pen);
  if (!letter) return;
  // A blank shows its letter, if any, and no other mark.
  const char shown = letter == kUnassignedBlankLetter
                         ? ' '
                         : static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  RECT t = r;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(40, 28, 16));
  DrawTextA(dc, &shown, 1, &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void PaintExchange(HWND dialog) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(dialog, &ps);
  if (g_exchange) {
    const ExchangeChoice& c = g_exchange->choice;
    HFONT font =
        CreateFontA(-18, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "DejaVu Sans");
    HGDIOBJ oldFont = SelectObject(dc, font);
    for (int i = 0; i < c.Places(); ++i) {
      PaintTile(dc, TileRect(dialog, c.Places(), i, kRackTop), c.RackCell(i));
      PaintTile(dc, TileRect(dialog, c.Places(), i, kBagTop), c.Slot(i));
    }
    SelectObject(dc, oldFont);
    DeleteObject(font);
  }
  EndPaint(dialog, &ps);
}

int HitTile(HWND dialog, int places, POINT p, int top) {
  for (int i = 0; i < places; ++i) {
    const RECT r = TileRect(dialog, places, i, top);
    if (PtInRect(&r, p)) return i;
  }
  return -1;
}

void OnExchangeClick(HWND dialog, LPARAM lp) {
  if (!g_exchange) return;
  ExchangeChoice& c = g_exchange->choice;
  const POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  int i = HitTile(dialog, c.Places(), p, kRackTop);
  bool changed = i >= 0 && c.Choose(i);
  i = HitTile(dialog, c.Places(), p, kBagTop);
  changed = (i >= 0 && c.Return(i)) || changed;
  if (changed) InvalidateRect(dialog, nullptr, TRUE);
}

void OnSwap(HWND dialog) {
  Sound("SBouOK1.wav");
  if (!g_exchange) return;
  const std::string letters = g_exchange->choice.Letters();
  if (letters.empty()) {
    platform::ShowNotice(shell::LoadResString(kStrSelectLetters), "", MB_OK);
    return;
  }
  if (platform::ShowNotice(shell::LoadResString(kStrConfirmSwap), "", MB_YESNO) !=
      platform::kResultYes)
    return;
  // The game swaps, refills the view's rack and tells the user when the bag
  // refuses; either way the dialog has done its work.
  RequestExchange(g_exchange->game, letters.c_str());
  DestroyWindow(dialog);
}

void InitExchange(HWND dialog, ExchangeState* s) {
  s->dialog = dialog;
  g_exchange = s;
  GamePlayer* p = s->game ? s->game->viewingPlayer : nullptr;
  if (p)
    s->choice.Reset(p->rack, p->RackPlaces());
  else
    s->choice.Reset(nullptr, 0);
  SendMessageA(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);
  s->interfaceWasOn = LockInterface();
  shell::CenterWindow(dialog, CentreOwner());
}

INT_PTR CALLBACK ExchangeDlgProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      InitExchange(dialog, reinterpret_cast<ExchangeState*>(lp));
      return TRUE;
    case WM_PAINT:
      PaintExchange(dialog);
      return TRUE;
    case WM_LBUTTONDOWN:
      OnExchangeClick(dialog, lp);
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(wp) != BN_CLICKED) return FALSE;
      switch (LOWORD(wp)) {
        case kIdExchangeAll:
          Sound("SBouOK1.wav");
          if (g_exchange && g_exchange->choice.ChooseAll() > 0)
            InvalidateRect(dialog, nullptr, TRUE);
          return TRUE;
        case kIdExchangeSwap:
          OnSwap(dialog);
          return TRUE;
        case kIdExchangeCancel:
        case IDCANCEL:
          Sound("SBouFer1.wav");
          DestroyWindow(dialog);
          return TRUE;
        default:
          return FALSE;
      }
    case WM_DESTROY:
      if (g_exchange && g_exchange->dialog == dialog) {
        const int wasOn = g_exchange->interfaceWasOn;
        g_exchange = nullptr;
        RestoreInterface(wasOn);
        ExchangeDialogClosed();
      }
      return FALSE;
    default:
      return FALSE;
  }
}

// --- Dictionary level ---

int32_t* LevelRecord(HWND dialog) {
  return reinterpret_cast<int32_t*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void InitLevel(HWND dialog, int32_t* options) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(options));
  const bool human = options && (*reinterpret_cast<const uint8_t*>(options) != 0);
  if (human) {
    for (int id : {1476, 1477, 1478, 1481, 1482, 1483, 1505, int{kIdLevelSpin}, int{kIdLevelEdit}})
      EnableWindow(GetDlgItem(dialog, id), FALSE);
  } else {
    EnableWindow(GetDlgItem(dialog, 1476), FALSE);
    const int level = options ? options[kLevelWord] : kMinDictionaryLevel;
    SetDlgItemInt(dialog, kIdLevelEdit, static_cast<UINT>(level), TRUE);
    SendDlgItemMessageA(dialog, kIdLevelSpin, gui::kMsgSpinSetRange, static_cast<WPARAM>(level),
                        MAKELONG(0, 99));
    SendDlgItemMessageA(dialog, kIdLevelSpin, gui::kMsgSpinSetPos, static_cast<WPARAM>(level), 0);
  }
  EnableWindow(GetDlgItem(dialog, 1213), FALSE);
  shell::CenterWindow(dialog, CentreOwner());
}

void OnLevelOk(HWND dialog) {
  int32_t* options = LevelRecord(dialog);
  const int level =
      static_cast<int>(SendDlgItemMessageA(dialog, kIdLevelSpin, gui::kMsgSpinGetPos, 0, 0));
  if (!IsDictionaryLevel(level)) {
    platform::ShowNotice(kLevelRangeText, "", MB_OK);
    return;
  }
  if (options) options[kLevelWord] = level;
  EndDialog(dialog, level);
}

}  // namespace

INT_PTR CALLBACK DictionaryLevelDlgProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      InitLevel(dialog, reinterpret_cast<int32_t*>(lp));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK) OnLevelOk(dialog);
      if (LOWORD(wp) == IDCANCEL) EndDialog(dialog, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

void ChooseBlankLetter(char* letter, HWND owner) {
  if (!letter) return;
  g_blankOpen = true;
  ResolveBlankLetter(letter, [owner] {
    const INT_PTR r = shell::DoModalDialog(Module(), MAKEINTRESOURCEA(kBlankTemplate), owner,
                                           BlankLetterDlgProc, 0);
    return static_cast<int>(r);
  });
  g_blankOpen = false;
}

bool IsBlankQuestionOpen() { return g_blankOpen; }
HWND GetBlankQuestionDialog() { return g_blankDialog; }

bool OpenExchangeDialog(HWND owner, CGame* game) {
  if (g_exchange || !game) return false;
  g_exchangeState = ExchangeState{};
  g_exchangeState.game = game;
  HWND dialog = CreateDialogParamA(Module(), MAKEINTRESOURCEA(kExchangeTemplate), owner,
                                   ExchangeDlgProc, reinterpret_cast<LPARAM>(&g_exchangeState));
  if (!dialog) {
    g_exchange = nullptr;
    ExchangeDialogClosed();
    return false;
  }
  ShowWindow(dialog, SW_SHOW);
  return true;
}

void CloseExchangeDialog() {
  if (g_exchange && g_exchange->dialog) DestroyWindow(g_exchange->dialog);
}

HWND GetExchangeDialog() { return g_exchange ? g_exchange->dialog : nullptr; }

INT_PTR RunDictionaryLevelDialog(HWND owner, int32_t* options) {
  return shell::DoModalDialog(Module(), MAKEINTRESOURCEA(kLevelTemplate), owner,
                              DictionaryLevelDlgProc, reinterpret_cast<LPARAM>(options));
}

}  // namespace ui
