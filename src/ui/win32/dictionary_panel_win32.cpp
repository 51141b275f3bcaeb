// The dictionary panel. A pattern, anagram or combination search runs on a
// thread of its own into a list of its own and hands that list back to the
// panel by message: only the interface thread touches the panel's list and
// controls, and the panel waits for a running search before it goes away.
#include "ui/win32/dictionary_panel_win32.h"

#include <commctrl.h>
#include <process.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/lexicon.h"
#include "engine/robot.h"
#include "engine/wordlist.h"
#include "game/game.h"
#include "game/session_registry.h"
#include "gui/gui_core.h"
#include "gui/win32/gui_widgets2.h"
#include "gui/widget_skin_reader.h"
#include "gui/win32/gui_win32.h"
#include "shell/res_strings.h"
#include "shell/shell_host.h"
#include "ui/window_slots.h"
#include "ui/win32/window_slots_win32.h"
#include "ui/dictionary_ops.h"
#include "ui/word_search.h"

namespace ui {
namespace {

constexpr int kTemplate = 1605;
constexpr uint32_t kStrWordsFound = 3128;
constexpr uint32_t kStrNoWordFound = 3129;
constexpr int kMaxWordText = 20;

struct SearchJob {
  HWND panel;
  WordSearchKind kind;
  std::string text;
  int boardSide;
  Robot* finder;
  std::unique_ptr<WordList> result;
};

struct PanelState {
  std::unique_ptr<Robot> finder = std::make_unique<Robot>();
  std::unique_ptr<WordList> words = std::make_unique<WordList>();
  HANDLE thread = nullptr;  // the running search; the guard of every search
  WNDPROC editProc = nullptr;
};

PanelState* g_state = nullptr;

HWND Panel() { return static_cast<HWND>(GetSlotWindow(kSlotDictionary)); }
HWND Item(int id) { return GetDlgItem(Panel(), id); }
HWND SearchEdit(HWND panel) {
  return reinterpret_cast<HWND>(gui::GuiGetWindowSlot(GetDlgItem(panel, kIdDictSearch), 0, 0));
}

int BoardSide() {
  CGame* game = GetCurrentGame();
  const int side = game && game->rules ? game->rules->boardSide : 0;
  return side > 0 && side <= kMaxBoardSide ? side : kMaxBoardSide;
}

std::string SearchText(HWND panel) {
  char text[64] = {};
  GetWindowTextA(SearchEdit(panel), text, sizeof text);
  std::string s = text;
  if (s.size() > static_cast<size_t>(BoardSide())) s.resize(BoardSide());
  return s;
}

void SetSearchText(const char* text) {
  HWND edit = SearchEdit(Panel());
  SetWindowTextA(edit, text);
  SendMessageA(edit, EM_SETSEL, 0, -1);
}

void FitColumns(HWND list) {
  RECT rc;
  GetClientRect(list, &rc);
  const int width = (rc.right - rc.left) / 3;
  for (int i = 0; i < 3; ++i)
    SendMessageA(list, LVM_SETCOLUMNWIDTH, i, width);
}

void ShowDefinition(const char* word) {
  const Lexicon* lexicon = GetLexicon();
  if (!lexicon || !lexicon->DefinitionsLoaded()) return;
  const gui::GuiSkin* skin = gui::GuiGetSkin();
  const COLORREF colour = skin ? skin->editColors[gui::kEdText] : RGB(0, 0, 0);
  std::string rtf;
  HWND view = Item(kIdDictDefinition);
  if (BuildDefinitionRtf(*lexicon, word, GetRValue(colour), GetGValue(colour), GetBValue(colour),
                         &rtf))
    SetWindowTextA(view, rtf.c_str());
  else
    SetWindowTextA(view, kNoDefinitionText);
}

void ShowWordResults(HWND panel) {
  ClearDictionaryPanel();
  const WordList& words = *g_state->words;
  char status[128];
  if (words.GetCount() > 0)
    std::snprintf(status, sizeof status, shell::LoadResString(kStrWordsFound), words.GetCount());
  else
    std::snprintf(status, sizeof status, "%s", shell::LoadResString(kStrNoWordFound));
  SetDlgItemTextA(panel, kIdDictStatus, status);
  HWND list = GetDlgItem(panel, kIdDictResults);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  for (int i = 0; i < words.GetCount() && i < WordList::kCapacity; ++i) {
    const WordSlot* slot = words.GetSlot(i);
    const std::string cells[3] = {std::to_string(slot->number), slot->text,
                                  std::to_string(slot->value)};
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = i;
    item.pszText = const_cast<char*>(cells[0].c_str());
    item.lParam = reinterpret_cast<LPARAM>(slot);
    const int row =
        static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    for (int c = 1; c < 3; ++c) {
      LVITEMA sub{};
      sub.iSubItem = c;
      sub.pszText = const_cast<char*>(cells[c].c_str());
      SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&sub));
    }
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  ShowWindow(GetDlgItem(panel, kIdDictAffixList), SW_HIDE);
  ShowWindow(list, SW_SHOW);
  FitColumns(list);
}

std::string RowWord(HWND list, int row) {
  char text[kMaxWordText + 1] = {};
  LVITEMA item{};
  item.iSubItem = 1;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  return text;
}

void SelectFirstRow(HWND panel) {
  HWND list = GetDlgItem(panel, kIdDictResults);
  if (SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) <= 0) return;
  LVITEMA state{};
  state.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
  state.state = LVIS_FOCUSED | LVIS_SELECTED;
  SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
  SendMessageA(list, LVM_SETSELECTIONMARK, 0, 0);
  const std::string word = RowWord(list, 0);
  ShowDefinition(word.c_str());
}

unsigned __stdcall SearchThread(void* argument) {
  std::unique_ptr<SearchJob> job(static_cast<SearchJob*>(argument));
  RunWordSearch(*job->finder, *job->result, job->kind, job->text, job->boardSide);
  HWND panel = job->panel;
  WordList* result = job->result.release();
  if (!PostMessageA(panel, kMsgDictionarySearchDone, 0, reinterpret_cast<LPARAM>(result)))
    delete result;
  return 0;
}

void StartSearch(HWND panel, WordSearchKind kind) {
  if (g_state->thread) return;  // one search at a time
  auto job = std::make_unique<SearchJob>();
  job->panel = panel;
  job->kind = kind;
  job->text = SearchText(panel);
  job->boardSide = BoardSide();
  job->finder = g_state->finder.get();
  job->result = std::make_unique<WordList>();
  const uintptr_t thread = _beginthreadex(nullptr, 0, SearchThread, job.get(), 0, nullptr);
  if (thread) {
    job.release();
    g_state->thread = reinterpret_cast<HANDLE>(thread);
  }
}

void SearchDone(HWND panel, WordList* result) {
  std::unique_ptr<WordList> words(result);
  if (g_state->thread) {
    WaitForSingleObject(g_state->thread, INFINITE);
    CloseHandle(g_state->thread);
    g_state->thread = nullptr;
  }
  if (!words) return;
  g_state->words = std::move(words);
  ShowWordResults(panel);
  SelectFirstRow(panel);
}

void ShowAffixResults(HWND panel, const AffixBounds& bounds) {
  ClearDictionaryPanel();
  HWND box = GetDlgItem(panel, kIdDictAffixList);
  for (const AffixRow& row : MakeAffixRows(*g_state->words, bounds)) {
    const LRESULT i =
        SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.text.c_str()));
    SendMessageA(box, LB_SETITEMDATA, i, row.data);
  }
  char status[128];
  std::snprintf(status, sizeof status, "%d prefixes & suffixes found", bounds.total);
  SetDlgItemTextA(panel, kIdDictStatus, status);
  ShowWindow(GetDlgItem(panel, kIdDictResults), SW_HIDE);
  ShowWindow(box, SW_SHOW);
  SendMessageA(box, LB_SETCURSEL, 1, 0);
  SendMessageA(panel, WM_COMMAND, MAKEWPARAM(kIdDictAffixList, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(box));
}

void AffixCommand(HWND panel, int code) {
  HWND box = GetDlgItem(panel, kIdDictAffixList);
  const LRESULT row = SendMessageA(box, LB_GETCURSEL, 0, 0);
  const LRESULT data = row < 0 ? -1 : SendMessageA(box, LB_GETITEMDATA, row, 0);
  if (data == kAffixHeader || data == -1) return;
  char text[64] = {};
  if (SendMessageA(box, LB_GETTEXTLEN, row, 0) >= static_cast<LRESULT>(sizeof text)) return;
  SendMessageA(box, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
  if (code == LBN_SELCHANGE) {
    ShowDefinition(text);
    AddDictionaryHistory(SearchText(panel).c_str());
  } else if (code == LBN_DBLCLK) {
    SetSearchText(text);
  }
}

void DictionaryCommand(HWND panel, WPARAM wp) {
  const int id = LOWORD(wp);
  const int code = HIWORD(wp);
  if (code == 0 && (id == kIdDictAffixList || (id >= 1490 && id <= 1492) ||
                    (id >= 1494 && id <= 1498) || id == 1155))
    shell::GetShellHost().PlaySoundFile("SBouOK1.wav");
  switch (id) {
    case kIdDictOk:
      StartSearch(panel, WordSearchKind::kPattern);
      break;
    case kIdDictAnagrams:
      StartSearch(panel, WordSearchKind::kAnagram);
      break;
    case kIdDictCombinations:
      StartSearch(panel, WordSearchKind::kCombination);
      break;
    case kIdDictAffixes: {
      if (g_state->thread) break;
      AffixBounds bounds;
      if (RunAffixSearch(*g_state->finder, *g_state->words, SearchText(panel), BoardSide(),
                         &bounds))
        ShowAffixResults(panel, bounds);
      break;
    }
    case kIdDictAffixList:
      if (code == LBN_SELCHANGE || code == LBN_DBLCLK) AffixCommand(panel, code);
      break;
    default:
      break;
  }
}

void DictionaryNotify(HWND panel, const NMHDR* hdr) {
  if (g_state->thread || hdr->idFrom != kIdDictResults) return;
  const auto* nm = reinterpret_cast<const NMLISTVIEW*>(hdr);
  HWND list = hdr->hwndFrom;
  switch (hdr->code) {
    case LVN_ITEMACTIVATE:
      if (nm->iItem >= 0) SetSearchText(RowWord(list, nm->iItem).c_str());
      break;
    case LVN_COLUMNCLICK: {
      static const int kModes[3] = {1, 0, 2};
      if (nm->iSubItem >= 0 && nm->iSubItem < 3)
        SendMessageA(list, LVM_SORTITEMS, kModes[nm->iSubItem],
                     reinterpret_cast<LPARAM>(static_cast<PFNLVCOMPARE>(CompareDictionaryItems)));
      FitColumns(list);
      break;
    }
    case LVN_ITEMCHANGED:
      if (nm->iItem >= 0 && (nm->uNewState & LVIS_FOCUSED) && !(nm->uOldState & LVIS_FOCUSED)) {
        const std::string word = RowWord(list, nm->iItem);
        ShowDefinition(word.c_str());
        AddDictionaryHistory(SearchText(panel).c_str());
      }
      break;
    default:
      break;
  }
  (void)panel;
}

LRESULT CALLBACK SearchEditFilterProc(HWND edit, UINT msg, WPARAM wp, LPARAM lp) {
  WNDPROC previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(edit, GWLP_USERDATA));
  if (msg == WM_CHAR) {
    CGame* game = GetCurrentGame();
    const int rack = game && game->rackSize > 0 ? game->rackSize : 7;
    const SearchKey key = FilterSearchKey(static_cast<unsigned char>(wp),
                                          static_cast<size_t>(GetWindowTextLengthA(edit)), rack);
    if (key.action == SearchKeyAction::kSwallow) return 0;
    if (key.action == SearchKeyAction::kPassAndSearch)
      DictionaryCommand(Panel(), MAKEWPARAM(kIdDictOk, 0));
    wp = static_cast<unsigned char>(key.ch);
  }
  return CallWindowProcA(previous, edit, msg, wp, lp);
}

void InitPanel(HWND panel) {
  WindowSlotOp(kOpRegister, kSlotDictionary, reinterpret_cast<intptr_t>(panel));
  SetWindowLongPtrA(panel, DWLP_USER, 0);
  WindowSlotOp(kOpShow, kSlotDictionary, kShowHide);
  delete g_state;
  g_state = new PanelState;
  HWND edit = SearchEdit(panel);
  if (edit) {
    SetWindowLongPtrA(edit, GWLP_USERDATA, GetWindowLongPtrA(edit, GWLP_WNDPROC));
    SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SearchEditFilterProc));
  }
  StoreSlotWindowSize(kSlotDictionary);
  HFONT font = static_cast<HFONT>(gui::GuiGetFont(2));
  for (int id : {kIdDictSearch, kIdDictAffixList, kIdDictResults, kIdDictStatus, kIdDictDefinition})
    if (font) SendDlgItemMessageA(panel, id, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  ClearDictionaryPanel();
}

void DestroyPanel() {
  if (!g_state) return;
  if (g_state->thread) {
    // The thread posts to a window that is going away: wait for it, then
    // drop what it posted.
    WaitForSingleObject(g_state->thread, INFINITE);
    CloseHandle(g_state->thread);
    MSG m;
    while (PeekMessageA(&m, Panel(), kMsgDictionarySearchDone, kMsgDictionarySearchDone, PM_REMOVE))
      delete reinterpret_cast<WordList*>(m.lParam);
  }
  delete g_state;
  g_state = nullptr;
}

INT_PTR CALLBACK DictionaryDlgProc(HWND panel, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      InitPanel(panel);
      return FALSE;
    case WM_COMMAND:
      if (g_state) DictionaryCommand(panel, wp);
      return TRUE;
    case WM_NOTIFY:
      if (g_state) DictionaryNotify(panel, reinterpret_cast<const NMHDR*>(lp));
      return FALSE;
    case kMsgDictionarySearchDone:
      if (g_state)
        SearchDone(panel, reinterpret_cast<WordList*>(lp));
      else
        delete reinterpret_cast<WordList*>(lp);
      return TRUE;
    case WM_SETFOCUS:
      SetFocus(GetDlgItem(panel, kIdDictSearch));
      return TRUE;
    case WM_SHOWWINDOW:
      if (wp) {
        SetFocus(SearchEdit(panel));
        SendMessageA(SearchEdit(panel), EM_SETSEL, 0, -1);
      }
      return FALSE;
    case WM_DESTROY:
      DestroyPanel();
      SlotWindowHook(kSlotDictionary, panel, msg, wp, lp);
      return FALSE;
    case gui::kMsgParentBackground:
      return TRUE;  // the toolkit draws the background under the lists
    default:
      SlotWindowHook(kSlotDictionary, panel, msg, wp, lp);
      return FALSE;
  }
}

}  // namespace

int CreateDictionaryWindow(HWND owner, HINSTANCE instance) {
  if (!owner || !instance) return -1;
  CreateDialogParamA(instance, MAKEINTRESOURCEA(kTemplate), owner, DictionaryDlgProc, 0);
  return 0;
}

void SearchDictionaryForRack(const char* rack) {
  HWND combo = Item(kIdDictSearch);
  if (!combo) return;
  const std::string text = RackToSearchText(rack);
  SetSearchText(text.c_str());
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (CGame* game = GetCurrentGame()) {
    GamePlayer* first = game->Player(0);
    // A robot that is thinking belongs to its worker until the job ends.
    if (first && first->GetRobot() && !first->GetRobot()->IsThinking()) {
      std::vector<RobotMove> words;
      first->GetRobot()->ScanBoard(&words);
      for (const RobotMove& m : words)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(m.word));
    }
  }
  SetSearchText(text.c_str());
  ClearDictionaryPanel();
}

}  // namespace ui
