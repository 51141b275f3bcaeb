// The mentor panel. It never blocks: the human's robot looks at the
// position on the engine's worker, and 200 ms timers poll it until it is
// done. The lists keep copies of the moves they show, so a chosen row lays
// exactly the move it names.
#include "ui/win32/mentor_panel_win32.h"

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/robot.h"
#include "game/game.h"
#include "game/move_submit.h"
#include "game/move_text.h"
#include "game/session_registry.h"
#include "game/turn_ports.h"
#include "gui/gui_core.h"
#include "gui/win32/gui_widgets2.h"
#include "shell/res_strings.h"
#include "shell/shell_host.h"
#include "shell/window/dialog_support.h"
#include "shell/window/win_utils.h"
#include "ui/mentor_model.h"
#include "ui/window_slots.h"
#include "ui/win32/list_view_rows.h"
#include "ui/win32/window_slots_win32.h"

namespace ui {
namespace {

constexpr int kTemplate = 1474;
constexpr int kNoteTemplate = 3802;
constexpr UINT_PTR kTimerNote = 64190;
constexpr UINT kPollMs = 200;

struct MentorState {
  bool recomputeWords = true, recomputeAdvice = true, recomputeNote = true;
  int mode = -1;  // which command last filled the words list
  std::vector<RobotMove> words, advice;
  int decision = 0;
};
MentorState g_mentor;

HWND Panel() { return static_cast<HWND>(GetSlotWindow(kSlotMentor)); }

void PlaySound(const char* name) { shell::GetShellHost().PlaySoundFile(name); }

void SetRows(HWND list, const std::vector<std::string>& rows) {
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const std::string& r : rows) {
    const LRESULT i = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(r.c_str()));
    SendMessageA(list, LB_SETITEMDATA, i, -5);
  }
}

void ShowCalculating(HWND list) {
  SetRows(list, {shell::LoadResString(3190), shell::LoadResString(3191)});
}

// The player the mentor speaks to: the reference player of duplicate play.
GamePlayer* PlayerConcerned(CGame& game) {
  if (game.Kind() == kKindDuplicate && game.referencePlayer) return game.referencePlayer.get();
  return game.GetCurrentPlayer();
}

// True once the player's robot has finished its look at the position.
bool LookDone(CGame& game, GamePlayer& player) {
  Robot* robot = player.GetRobot();
  if (!robot) return false;
  // No job: the look has ended and been collected; its moves are held.
  if (!robot->IsThinking()) return true;
  return robot->StartThinking(game.board.letters, player.rack);
}

std::vector<RobotMove> HeldMoves(Robot& robot) {
  std::vector<RobotMove> moves;
  for (int i = 0; i < robot.GetMoveCount(); ++i)
    if (const RobotMove* m = robot.GetMoveSlot(i)) moves.push_back(*m);
  return moves;
}

void StartLook(CGame& game, GamePlayer& player) {
  Robot* robot = player.GetRobot();
  if (robot && !robot->IsThinking()) player.RobotFindBestMove(game);
}

void MentorSearchStart(HWND panel, int mode) {
  CGame* game = GetCurrentGame();
  GamePlayer* player = game ? PlayerConcerned(*game) : nullptr;
  if (!player) return;
  if (!g_mentor.recomputeWords && g_mentor.mode == mode) return;
  if (player->Type() == kPlayerHuman && player->outOfTime) {
    shell::ShowResMessageBox(3119, 0, MB_OK);
    return;
  }
  if (player->Type() == kPlayerHuman) {
    if (game->state == kStatePaused) {
      char rack[kMaxRackPlaces + 1] = {};
      const int n = GetBoardViewPort().ReadRackCells(rack, player->RackPlaces());
      for (int i = 0; i < n; ++i)
        if (rack[i] < 'A' && rack[i] != kUnassignedBlank) rack[i] = kEmptyRackPlace;
      player->SetRackText(rack, n);
    }
    g_mentor.recomputeWords = true;
    StartLook(*game, *player);
  }
  g_mentor.mode = mode;
  SetTimer(panel, kTimerMentorWords, kPollMs, nullptr);
  ShowCalculating(GetDlgItem(panel, kIdMentorWords));
}

void MentorTipsStart(HWND panel) {
  CGame* game = GetCurrentGame();
  GamePlayer* player = game ? PlayerConcerned(*game) : nullptr;
  if (!player || !g_mentor.recomputeAdvice) return;
  if (player->Type() != kPlayerHuman && shell::GetShellHost().GetCurrentRoomId() != 8) return;
  StartLook(*game, *player);
  SetTimer(panel, kTimerMentorAdvice, kPollMs, nullptr);
  ShowCalculating(GetDlgItem(panel, kIdMentorAdvice));
}

void WordsReady(HWND panel, Robot& robot, CGame* game) {
  g_mentor.recomputeWords = false;
  robot.SortedBestMove(true);
  g_mentor.words = HeldMoves(robot);
  HWND list = GetDlgItem(panel, kIdMentorWords);
  if (g_mentor.words.empty()) {
    SetRows(list, {shell::LoadResString(1995)});
    return;
  }
  SetRows(list, MakePossibleWordRows(g_mentor.words, game));
}

void AdviceReady(HWND panel, Robot& robot, CGame& game) {
  g_mentor.recomputeAdvice = false;
  robot.SortedFirstMove(MoveSortKey::kRankValue);
  AdviceFacts f;
  f.best = HeldMoves(robot);
  const int32_t state = robot.GetResultState();
  f.decision = state == kResultNoMove    ? kDecisionPass
               : state == kResultAdvice3 ? kDecisionExchange
                                         : 0;
  f.exchangeLetters = robot.GetRack();
  f.bagTiles = game.bag.tileCount;
  g_mentor.decision = f.decision;
  g_mentor.advice = f.best;
  SetRows(GetDlgItem(panel, kIdMentorAdvice), MakeAdviceRows(f, &game));
}

void OnTimer(HWND panel, UINT_PTR id) {
  CGame* game = GetCurrentGame();
  GamePlayer* player = game ? PlayerConcerned(*game) : nullptr;
  if (!player || !player->GetRobot()) {
    KillTimer(panel, id);
    return;
  }
  if (!LookDone(*game, *player)) return;  // still thinking: the timer stays
  KillTimer(panel, id);
  if (id == kTimerMentorWords) WordsReady(panel, *player->GetRobot(), game);
  if (id == kTimerMentorAdvice) AdviceReady(panel, *player->GetRobot(), *game);
}

void RowChosen(HWND panel, int id) {
  CGame* game = GetCurrentGame();
  if (!game || !game->GetCurrentPlayer() || game->GetCurrentPlayer()->Type() != kPlayerHuman)
    return;
  GamePlayer* player = PlayerConcerned(*game);
  const LRESULT row = SendDlgItemMessageA(panel, id, LB_GETCURSEL, 0, 0);
  RefreshBoardView(game);
  if (row < 0 || !player || (player->GetRobot() && player->GetRobot()->IsThinking())) return;
  const std::vector<RobotMove>& store = id == kIdMentorWords ? g_mentor.words : g_mentor.advice;
  if (id == kIdMentorAdvice &&
      (g_mentor.decision == kDecisionPass || g_mentor.decision == kDecisionExchange))
    return;
  if (row < static_cast<LRESULT>(store.size())) LayMoveOnView(store[row], GetBoardViewPort());
}

// --- The word note ---

struct NoteState {
  RobotMove* words = nullptr;
  int count = 0;
};

void NoteColumns(HWND list) {
  const struct {
    uint32_t text;
    int width, format;
  } columns[] = {{3188, 210, LVCFMT_LEFT}, {3189, 80, LVCFMT_CENTER}};
  for (int i = 0; i < 2; ++i)
    AddListColumn(list, i, shell::LoadResString(columns[i].text), columns[i].width,
                  columns[i].format);
}

std::string Percent(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%3.2f", 100.0 * value);
  return text;
}

void FillNote(HWND dialog, NoteState& s) {
  HWND list = GetDlgItem(dialog, kIdNoteList);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  CGame* game = GetCurrentGame();
  GamePlayer* player = game ? game->GetCurrentPlayer() : nullptr;
  Robot* robot = player ? player->GetRobot() : nullptr;
  if (robot && robot->IsThinking()) {
    AddListRow(list, shell::LoadResString(3191), "");
    return;
  }
  KillTimer(dialog, kTimerNote);
  const RobotMove& first = s.words[0];
  for (int term : {0, 1, 5, 6, 7, 13}) {
    const RobotEvaluator* e = robot ? robot->Evaluator(term) : nullptr;
    if (e)
      AddListRow(list, shell::LoadResString(static_cast<uint32_t>(e->GetLabelId())),
                 Percent(first.terms[term]));
  }
  AddListRow(list, shell::LoadResString(1851), Percent(first.termSum));
}

INT_PTR CALLBACK WordNoteDlgProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  auto* s = reinterpret_cast<NoteState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG: {
      s = reinterpret_cast<NoteState*>(lp);
      SetWindowLongPtrA(dialog, DWLP_USER, lp);
      shell::CenterWindow(dialog, nullptr);
      NoteColumns(GetDlgItem(dialog, kIdNoteList));
      std::string text;
      FormatMoveText(s->words[0], text, 0, GetCurrentGame(), kMoveTextAll);
      SetDlgItemTextA(dialog, kIdNoteWord, text.c_str());
      SetTimer(dialog, kTimerNote, kPollMs, nullptr);
      return TRUE;
    }
    case WM_TIMER:
      if (wp == kTimerNote && s && GetCurrentGame())
        FillNote(dialog, *s);
      else
        KillTimer(dialog, wp);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
        PlaySound("SBouOK1.wav");
        SetWindowLongPtrA(dialog, DWLP_USER, 0);
        EndDialog(dialog, 1);
      }
      return TRUE;
    default:
      return FALSE;
  }
}

void WordNoteStart(HWND panel) {
  CGame* game = GetCurrentGame();
  if (!game || !game->rules) return;
  g_mentor.recomputeNote = false;
  RobotMove words[kEvaluateRecords];
  char view[kBoardSquares] = {};
  GetBoardViewPort().ReadBoardLetters(view);
  const int n = ExtractPlayedWords(view, game->board.letters, *game->rules, game->Kind(), words,
                                   kEvaluateRecords);
  uint32_t refusal = 0;
  switch (n) {
    case kPlacementFirstNotAcross:
      refusal = 3127;
      break;
    case kPlacementOffCentre:
      refusal = 3055;
      break;
    case kPlacementIsolated:
      refusal = 3053;
      break;
    case kPlacementScattered:
    case kPlacementScattered2:
      refusal = 3054;
      break;
    case kPlacementNoWord:
      refusal = 1904;
      break;
    default:
      break;
  }
  if (refusal || n < 0) {
    shell::ShowResMessageBox(refusal ? refusal : 3054, 0, MB_OK);
    return;
  }
  ScorePlayedWords(game->board, words, n);
  NoteState s{words, n};
  shell::DoModalDialog(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kNoteTemplate), panel,
                       WordNoteDlgProc, reinterpret_cast<LPARAM>(&s));
  InvalidateRect(panel, nullptr, TRUE);
}

void MentorCommand(HWND panel, WPARAM wp) {
  CGame* game = GetCurrentGame();
  if (!game || game->state == kStateOver) return;
  const int id = LOWORD(wp);
  const int code = HIWORD(wp);
  if ((id == kIdMentorWords || id == kIdMentorAdvice) && code == LBN_SELCHANGE) {
    if (game->state == kStateTurnRunning) RowChosen(panel, id);
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case kIdMentorSearchAll:
      PlaySound("SgpTop51.wav");
      break;
    case kIdMentorTips:
    case kIdMentorNote:
    case kIdMentorSearch:
      PlaySound("SBouOK1.wav");
      break;
    case kIdMentorKeep:
      PlaySound(IsDlgButtonChecked(panel, kIdMentorKeep) ? "SCasCoh1.wav" : "SCasDec.wav");
      break;
    default:
      break;
  }
  if (game->state != kStateTurnRunning) return;
  switch (id) {
    case kIdMentorSearchAll:
      MentorSearchStart(panel, 0);
      break;
    case kIdMentorSearch:
      MentorSearchStart(panel, 1);
      break;
    case kIdMentorTips:
      MentorTipsStart(panel);
      break;
    case kIdMentorNote:
      WordNoteStart(panel);
      break;
    default:
      break;
  }
}

void ResetNotice(HWND panel) {
  CGame* game = GetCurrentGame();
  if (!game) return;
  g_mentor.recomputeWords = g_mentor.recomputeAdvice = g_mentor.recomputeNote = true;
  SendDlgItemMessageA(panel, kIdMentorAdvice, LB_RESETCONTENT, 0, 0);
  if (!(IsDlgButtonChecked(panel, kIdMentorKeep) && game->turnIndex != 0))
    SendDlgItemMessageA(panel, kIdMentorWords, LB_RESETCONTENT, 0, 0);
  SendDlgItemMessageA(panel, kIdMentorThird, LB_RESETCONTENT, 0, 0);
  g_mentor.advice.clear();
  RedrawWindow(panel, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  KillTimer(panel, kTimerMentorWords);
  KillTimer(panel, kTimerMentorAdvice);
}

void InitPanel(HWND panel) {
  WindowSlotOp(kOpRegister, kSlotMentor, reinterpret_cast<intptr_t>(panel));
  SetWindowLongPtrA(panel, DWLP_USER, 0);
  WindowSlotOp(kOpShow, kSlotMentor, kShowHide);
  EnableWindow(GetDlgItem(panel, kIdMentorTips), FALSE);
  EnableWindow(GetDlgItem(panel, kIdMentorKeep), TRUE);
  StoreSlotWindowSize(kSlotMentor);
  HFONT font = static_cast<HFONT>(gui::GuiGetFont(2));
  for (int id : {kIdMentorWords, kIdMentorAdvice, kIdMentorThird})
    if (font) SendDlgItemMessageA(panel, id, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  g_mentor = MentorState();
}

INT_PTR CALLBACK MentorDlgProc(HWND panel, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      InitPanel(panel);
      return FALSE;
    case kMsgMentorReset:
      ResetNotice(panel);
      return TRUE;
    case WM_COMMAND:
      MentorCommand(panel, wp);
      return TRUE;
    case WM_TIMER:
      OnTimer(panel, wp);
      return TRUE;
    case gui::kMsgParentBackground:
      return TRUE;  // the toolkit draws the background under the lists
    default:
      SlotWindowHook(kSlotMentor, panel, msg, wp, lp);
      return FALSE;
  }
}

}  // namespace

int CreateMentorWindow(HWND owner, HINSTANCE instance) {
  if (!owner || !instance) return -1;
  CreateDialogParamA(instance, MAKEINTRESOURCEA(kTemplate), owner, MentorDlgProc, 0);
  return 0;
}

void ClearMentorLists() {
  HWND panel = Panel();
  if (!panel) return;
  for (int id : {kIdMentorAdvice, kIdMentorWords, kIdMentorThird})
    SendDlgItemMessageA(panel, id, LB_RESETCONTENT, 0, 0);
  g_mentor.recomputeWords = g_mentor.recomputeAdvice = g_mentor.recomputeNote = true;
}

}  // namespace ui
