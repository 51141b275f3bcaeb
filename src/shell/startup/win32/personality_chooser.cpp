#include "shell/startup/win32/personality_chooser.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/message_sink.h"
#include "shell/personality.h"
#include "shell/res_strings.h"
#include "shell/resource_packs.h"
#include "shell/app_context.h"
#include "shell/shell_host.h"
#include "shell/startup/personality_cards.h"
#include "shell/startup/win32/personality_card.h"
#include "shell/window/dialog_support.h"
#include "shell/window/win_utils.h"

namespace shell {
namespace {

constexpr char kTemplate[] = "SELECT_PERSONALITY";
constexpr int kPanelTemplate = 596;
constexpr int kFiltersTemplate = 598, kInfoTemplate = 599;
constexpr int kIdFirstCard = 580;
constexpr int kIdScroll = 589;
constexpr int kIdInfoName = 590, kIdInfoText = 593;
constexpr int kIdTabs = 597;
constexpr int kIdFirstFilter = 600;  // in switch order
constexpr int kIdCallerList = 5873;  // the duplicate set-up's player list
constexpr UINT kStrFilters = 2413, kStrInfo = 2414, kStrAlreadyChosen = 2082;
constexpr int kMargin = 8, kGap = 6;

struct ChooserState {
  HWND dialog = nullptr;
  HWND owner = nullptr;
  HWND panel = nullptr;
  HWND tabs = nullptr;
  HWND pages[2] = {};  // filters, info
  HWND cards[kPersonalityCards] = {};
  std::vector<PersonalityEntry> list;
  std::vector<int> visible;  // list indexes
  int selected = -1;         // list index
  int first = 0;             // position in `visible` of the first card
  PersonalityFilters filters;
  std::string ini;
  int modes[3] = {};
  int maxRating = 0;
  std::string chosenStem, chosenName;
};
ChooserState* g_state = nullptr;

void Play(const char* sound) { GetShellHost().PlaySoundFile(sound); }

// --- State changes ---

void ShowInfo(ChooserState* s) {
  HWND info = s->pages[1];
  if (s->selected < 0) {
    SetDlgItemTextA(info, kIdInfoName, "");
    SetDlgItemTextA(info, kIdInfoText, "");
    return;
  }
  const PersonalityEntry& e = s->list[static_cast<size_t>(s->selected)];
  SetDlgItemTextA(info, kIdInfoName, e.name.c_str());
  SetDlgItemTextA(info, kIdInfoText, FormatPersonalityInfo(e.infoText.c_str(), e.rating).c_str());
}

void FillCards(ChooserState* s) {
  s->first = ClampFirstCard(s->first, static_cast<int>(s->visible.size()));
  for (int i = 0; i < kPersonalityCards; ++i) {
    const size_t at = static_cast<size_t>(s->first + i);
    SetPersonalityCardEntry(s->cards[i], at < s->visible.size()
                                             ? &s->list[static_cast<size_t>(s->visible[at])]
                                             : nullptr);
  }
  SetSelectedPersonalityEntry(s->selected >= 0 ? &s->list[static_cast<size_t>(s->selected)]
                                               : nullptr);
  HWND bar = GetDlgItem(s->dialog, kIdScroll);
  const int count = static_cast<int>(s->visible.size());
  const int last = ClampFirstCard(count, count);
  SendMessageA(bar, SBM_SETRANGE, 0, last);
  SendMessageA(bar, SBM_SETPOS, static_cast<WPARAM>(s->first), TRUE);
  EnableWindow(bar, last > 0);
}

void ApplyFilters(ChooserState* s) {
  s->visible = ApplyPersonalityFilters(s->list, s->filters);
  s->selected = KeepSelection(s->visible, s->selected);
  FillCards(s);
  ShowInfo(s);
}

void Select(ChooserState* s, int card) {
  const PersonalityEntry* e = GetPersonalityCardEntry(s->cards[card]);
  if (!e) return;
  s->selected = static_cast<int>(e - s->list.data());
  FillCards(s);
  ShowInfo(s);
}

void Scroll(ChooserState* s, int code) {
  const int page = kPersonalityCards;
  HWND bar = GetDlgItem(s->dialog, kIdScroll);
  int first = s->first;
  switch (code) {
    case SB_LINELEFT:
      first -= 1;
      break;
    case SB_LINERIGHT:
      first += 1;
      break;
    case SB_PAGELEFT:
      first -= page;
      break;
    case SB_PAGERIGHT:
      first += page;
      break;
    case SB_LEFT:
      first = 0;
      break;
    case SB_RIGHT:
      first = static_cast<int>(s->visible.size());
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      GetScrollInfo(bar, SB_CTL, &info);
      first = info.nTrackPos;
      break;
    }
    default:
      return;
  }
  s->first = std::max(0, first);
  FillCards(s);
}

// The caller's player list already shows this name on another row.
bool ChosenElsewhere(ChooserState* s, const std::string& name) {
  HWND list = GetDlgItem(s->owner, kIdCallerList);
  if (!list) return false;
  const int rows = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  const int current = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
  for (int row = 0; row < rows; ++row) {
    char text[128] = {};
    if (row == current || SendMessageA(list, LB_GETTEXTLEN, row, 0) >= LRESULT(sizeof text))
      continue;
    SendMessageA(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
    if (_stricmp(text, name.c_str()) == 0) return true;
  }
  return false;
}

void OnOk(ChooserState* s) {
  Play("SBouOK1.wav");
  SavePersonalityFilters(s->filters, s->ini.c_str());
  if (s->selected < 0) {
    EndDialog(s->dialog, 0);  // nothing to choose from
    return;
  }
  const PersonalityEntry& e = s->list[static_cast<size_t>(s->selected)];
  const std::string name = PersonalityCallerName(e.name);
  if (ChosenElsewhere(s, name)) {
    platform::ShowNotice(LoadResString(kStrAlreadyChosen), "", MB_OK);
    return;
  }
  PersonalityRecord record;
  if (!ReadPersonalityFile(e.fileName.c_str(), record)) return;  // told already
  s->chosenStem = PersonalityFileStem(e.fileName);
  s->chosenName = name;
  EndDialog(s->dialog, 1);
}

void OnCancel(ChooserState* s) {
  Play("SBouFer1.wav");
  SavePersonalityFilters(s->filters, s->ini.c_str());
  EndDialog(s->dialog, 0);
}

void OnFilter(ChooserState* s, HWND page, int id) {
  const int which = id - kIdFirstFilter;
  if (which < 0 || which >= kFilterCount) return;
  const bool on = IsDlgButtonChecked(page, id) == BST_CHECKED;
  Play(on ? "SCasCoh1.wav" : "SCasDec.wav");
  s->filters.on[which] = on;
  ApplyFilters(s);
}

void ShowPage(ChooserState* s) {
  const int tab = static_cast<int>(SendMessageA(s->tabs, TCM_GETCURSEL, 0, 0));
  ShowWindow(s->pages[0], tab == 0 ? SW_SHOW : SW_HIDE);
  ShowWindow(s->pages[1], tab == 1 ? SW_SHOW : SW_HIDE);
}

// --- The panel and its pages ---

INT_PTR CALLBACK PageProc(HWND page, UINT msg, WPARAM wp, LPARAM) {
  if (msg == WM_INITDIALOG) return TRUE;
  if (msg == WM_COMMAND && g_state && HIWORD(wp) == BN_CLICKED) OnFilter(g_state, page, LOWORD(wp));
  return FALSE;
}

INT_PTR CALLBACK PanelProc(HWND, UINT msg, WPARAM, LPARAM lp) {
  if (msg == WM_INITDIALOG) return TRUE;
  if (msg == WM_NOTIFY && g_state) {
    const auto* nm = reinterpret_cast<const NMHDR*>(lp);
    if (nm->idFrom == kIdTabs && nm->code == TCN_SELCHANGE) {
      Play("SMenCli1.wav");
      ShowPage(g_state);
    }
  }
  return FALSE;
}

void AddTab(HWND tabs, int index, UINT textId) {
  std::string text = LoadResString(textId);
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = &text[0];
  SendMessageA(tabs, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item));
}

void CreatePanel(ChooserState* s, int x, int y, int width) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  s->panel =
      CreateDialogParamA(instance, MAKEINTRESOURCEA(kPanelTemplate), s->dialog, PanelProc, 0);
  SetWindowLongPtrA(s->panel, GWLP_ID, kPanelTemplate);
  RECT r;
  GetWindowRect(s->panel, &r);
  const int height = r.bottom - r.top;
  MoveWindow(s->panel, x, y, width, height, FALSE);
  s->tabs = GetDlgItem(s->panel, kIdTabs);
  MoveWindow(s->tabs, 0, 0, width, height, FALSE);
  AddTab(s->tabs, 0, kStrFilters);
  AddTab(s->tabs, 1, kStrInfo);
  RECT display = {0, 0, width, height};
  SendMessageA(s->tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  const int templates[2] = {kFiltersTemplate, kInfoTemplate};
  for (int i = 0; i < 2; ++i) {
    s->pages[i] =
        CreateDialogParamA(instance, MAKEINTRESOURCEA(templates[i]), s->tabs, PageProc, 0);
    SetWindowLongPtrA(s->pages[i], GWLP_ID, templates[i]);
    MoveWindow(s->pages[i], display.left, display.top, display.right - display.left,
               display.bottom - display.top, FALSE);
  }
  for (int i = 0; i < kFilterCount; ++i)
    CheckDlgButton(s->pages[0], kIdFirstFilter + i, s->filters.on[i] ? BST_CHECKED : BST_UNCHECKED);
  SendMessageA(s->tabs, TCM_SETCURSEL, 0, 0);
  ShowPage(s);
}

// The row of cards on top, the scroll bar under it, then the panel and the
// buttons; the dialog is sized around them.
void LayOut(ChooserState* s) {
  const int row = kPersonalityCards * kPersonalityCardWidth + (kPersonalityCards - 1) * kGap;
  for (int i = 0; i < kPersonalityCards; ++i)
    s->cards[i] = CreatePersonalityCard(s->dialog, kIdFirstCard + i,
                                        kMargin + i * (kPersonalityCardWidth + kGap), kMargin);
  int y = kMargin + kPersonalityCardHeight + 4;
  const int bar = GetSystemMetrics(SM_CYHSCROLL);
  MoveWindow(GetDlgItem(s->dialog, kIdScroll), kMargin, y, row, bar, FALSE);
  y += bar + kGap;
  CreatePanel(s, kMargin, y, row);
  RECT panel;
  GetWindowRect(s->panel, &panel);
  y += panel.bottom - panel.top + kGap;
  RECT button;
  GetWindowRect(GetDlgItem(s->dialog, IDOK), &button);
  const int bw = button.right - button.left, bh = button.bottom - button.top;
  MoveWindow(GetDlgItem(s->dialog, IDCANCEL), kMargin + row - bw, y, bw, bh, FALSE);
  MoveWindow(GetDlgItem(s->dialog, IDOK), kMargin + row - 2 * bw - kGap, y, bw, bh, FALSE);
  RECT want = {0, 0, row + 2 * kMargin, y + bh + kMargin};
  FitClientArea(s->dialog, want.right, want.bottom);
}

void OnInitDialog(HWND dialog, ChooserState* s) {
  HCURSOR before = SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // the hourglass
  s->dialog = dialog;
  g_state = s;
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(s));
  // The program-wide list is left refreshed: the set-ups read it again
  // whenever they need it.
  ListPersonalityFiles();
  s->list = GetPersonalityList();
  LayOut(s);
  ApplyFilters(s);
  CenterWindow(dialog, s->owner);
  SetCursor(before);
}

void OnCommand(ChooserState* s, int id, int code) {
  if (id >= kIdFirstCard && id < kIdFirstCard + kPersonalityCards && code == BN_CLICKED) {
    Select(s, id - kIdFirstCard);
  } else if (id == IDOK) {
    OnOk(s);
  } else if (id == IDCANCEL) {
    OnCancel(s);
  }
}

INT_PTR CALLBACK ChooserProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  auto* s = reinterpret_cast<ChooserState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG:
      OnInitDialog(dialog, reinterpret_cast<ChooserState*>(lp));
      return TRUE;
    case WM_COMMAND:
      if (s) OnCommand(s, LOWORD(wp), HIWORD(wp));
      return TRUE;
    case WM_HSCROLL:
      if (s && reinterpret_cast<HWND>(lp) == GetDlgItem(dialog, kIdScroll)) Scroll(s, LOWORD(wp));
      return TRUE;
    case WM_DESTROY:
      if (s) {
        SetSelectedPersonalityEntry(nullptr);
        for (HWND card : s->cards)
          if (card) SetPersonalityCardEntry(card, nullptr);
      }
      g_state = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

int RunChooser(ChooserState& s) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!IsResourcePackOpen(kPackFaces)) OpenResourcePack("faces", kPackFaces, false);
  if (!AcquirePersonalityCardClass(instance)) return 0;
  s.ini = GetSettingsIniPath();
  s.filters = LoadPersonalityFilters(s.ini.c_str());
  const INT_PTR r =
      DoModalDialog(instance, kTemplate, s.owner, ChooserProc, reinterpret_cast<LPARAM>(&s));
  ReleasePersonalityCardClass(instance);
  return r == 1 ? 1 : 0;
}

void CopyOut(const std::string& text, char* out, int size) {
  if (out && size > 0) std::snprintf(out, static_cast<size_t>(size), "%s", text.c_str());
}

}  // namespace

int SelectPersonalityDialog(HWND owner, char* outName, int size, int mode1, int mode2, int mode3,
                            int maxRating) {
  ChooserState s;
  s.owner = owner;
  s.modes[0] = mode1;
  s.modes[1] = mode2;
  s.modes[2] = mode3;
  s.maxRating = maxRating;
  if (!RunChooser(s)) return 0;
  CopyOut(s.chosenStem, outName, size);
  return 1;
}

bool ChoosePersonalityForSetup(HWND owner, char* name, int size) {
  ChooserState s;
  s.owner = owner;
  if (!RunChooser(s)) return false;
  CopyOut(s.chosenName, name, size);
  return true;
}

}  // namespace shell
