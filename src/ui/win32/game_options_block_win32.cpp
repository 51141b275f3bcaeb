#include "ui/win32/game_options_block_win32.h"

#include "gui/win32/gui_widgets1.h"
#include "platform/message_sink.h"
#include "shell/app_context.h"
#include "shell/res_strings.h"
#include "shell/shell_host.h"
#include "shell/user_profile.h"
#include "ui/time_limits.h"

namespace ui {
namespace {

constexpr UINT kStrGameTimeRaised = 3037, kStrMoveTimeRaised = 3038;
constexpr int32_t kDuplicateMoveMs = 180000;
constexpr int32_t kBlitzMoveMs = 60000;
enum : int32_t { kOptJoker = 1, kOptBlitz = 2, kOptSevenOfEight = 4, kOptEightOfEight = 8 };

GameOptions* g_options = nullptr;

bool Checked(HWND d, int id) { return IsDlgButtonChecked(d, id) == BST_CHECKED; }
void Check(HWND d, int id, bool on) { CheckDlgButton(d, id, on ? BST_CHECKED : BST_UNCHECKED); }
void Enable(HWND d, int id, bool on) { EnableWindow(GetDlgItem(d, id), on); }
int Spin(HWND d, int id) {
  return static_cast<int>(SendDlgItemMessageA(d, id, gui::kMsgSpinGetPos, 0, 0));
}
void SetSpin(HWND d, int id, int value) {
  SendDlgItemMessageA(d, id, gui::kMsgSpinSetPos, static_cast<WPARAM>(value), 0);
}
void RangeSpin(HWND d, int id, int low, int high) {
  SendDlgItemMessageA(d, id, gui::kMsgSpinSetRange, static_cast<WPARAM>(-1), MAKELONG(low, high));
}
void SetBit(int32_t& flags, int32_t bit, bool on) { flags = on ? (flags | bit) : (flags & ~bit); }
void Play(const char* sound) { shell::GetShellHost().PlaySoundFile(sound); }
void Notice(UINT id) { platform::ShowNotice(shell::LoadResString(id), "", MB_OK); }

int32_t ProfileLanguage() {
  const shell::UserProfile* p = shell::GetCurrentUserProfile();
  return p ? static_cast<int32_t>(p->language) : 0;
}

void ShowTime(HWND d, int minutesId, int secondsId, int32_t ms) {
  const MinSec t = SplitTimeMs(ms);
  SetSpin(d, minutesId, t.minutes);
  SetSpin(d, secondsId, t.seconds);
}
MinSec ShownTime(HWND d) { return MinSec{Spin(d, kIdBlockMinutes), Spin(d, kIdBlockSeconds)}; }

// Challenging on: its three radios say which rule; off: none, and turn
// forfeit may be chosen instead.
void ChallengeRule(HWND d, GameOptions& o) {
  const bool on = Checked(d, kIdBlockChallenge);
  Enable(d, kIdBlockForfeit, !on);
  for (int id : {kIdBlockDoubleChallenge, kIdBlockSingleChallenge, kIdBlockModifiedChallenge})
    Enable(d, id, on);
  if (!on) {
    o.challengeMode = 0;
    return;
  }
  o.challengeMode = Checked(d, kIdBlockSingleChallenge)     ? 2
                    : Checked(d, kIdBlockModifiedChallenge) ? 3
                                                            : 1;
  if (o.challengeMode == 1) Check(d, kIdBlockDoubleChallenge, true);
}

void PerMoveRule(HWND d, GameOptions& o) {
  Check(d, kIdBlockNoLimit, false);
  Check(d, kIdBlockPerGame, false);
  Check(d, kIdBlockPerMove, true);
  o.timingMode = 2;
  Enable(d, kIdBlockMinutes, true);
  Enable(d, kIdBlockSeconds, true);
  ShowTime(d, kIdBlockMinutes, kIdBlockSeconds, o.moveTimeMs);
}

void BlitzRule(HWND d, GameOptions& o) {
  const bool on = Checked(d, kIdBlockBlitz);
  SetBit(o.flags, kOptBlitz, on);
  if (on) {
    o.moveTimeMs = kBlitzMoveMs;
    PerMoveRule(d, o);
    Enable(d, kIdBlockNoLimit, false);
    Enable(d, kIdBlockPerMove, false);
    Enable(d, kIdBlockSeconds, false);
  } else {
    // "Limit per move" comes back too, or it could not be chosen again.
    Enable(d, kIdBlockNoLimit, true);
    Enable(d, kIdBlockPerMove, true);
    Enable(d, kIdBlockSeconds, o.timingMode != 0);
  }
  Enable(d, kIdBlockMinutes, !on && o.timingMode != 0);
}

void ClassicRule(HWND d, GameOptions& o) {
  RangeSpin(d, kIdBlockPlayers, 2, 4);
  for (int id : {kIdBlockJoker, kIdBlockBlitz}) {
    Enable(d, id, false);
    Check(d, id, false);
  }
  for (int id : {kIdBlockNoOptions, kIdBlockSevenOfEight, kIdBlockEightOfEight})
    Enable(d, id, false);
  o.flags &= ~(kOptJoker | kOptBlitz | kOptSevenOfEight | kOptEightOfEight);
  Enable(d, kIdBlockChallenge, true);
  ChallengeRule(d, o);
  if (!Checked(d, kIdBlockChallenge)) {
    Enable(d, kIdBlockForfeit, true);
    o.forfeit = Checked(d, kIdBlockForfeit) ? 1 : 0;
  }
  Enable(d, kIdBlockNoLimit, true);
  Enable(d, kIdBlockPerGame, true);
}

void DuplicateRule(HWND d, GameOptions& o) {
  RangeSpin(d, kIdBlockPlayers, 2, 200);
  Enable(d, kIdBlockJoker, true);
  SetBit(o.flags, kOptJoker, Checked(d, kIdBlockJoker));
  if (!Checked(d, kIdBlockPerMove)) {
    o.moveTimeMs = kDuplicateMoveMs;
    PerMoveRule(d, o);
  }
  for (int id : {kIdBlockBlitz, kIdBlockNoOptions, kIdBlockSevenOfEight, kIdBlockEightOfEight})
    Enable(d, id, true);
  SetBit(o.flags, kOptBlitz, Checked(d, kIdBlockBlitz));
  SetBit(o.flags, kOptSevenOfEight, Checked(d, kIdBlockSevenOfEight));
  SetBit(o.flags, kOptEightOfEight, Checked(d, kIdBlockEightOfEight));
  Enable(d, kIdBlockChallenge, false);
  Check(d, kIdBlockChallenge, false);
  o.challengeMode = 0;
  Enable(d, kIdBlockForfeit, true);
  Check(d, kIdBlockForfeit, true);
  o.forfeit = 0;
  Enable(d, kIdBlockPerGame, false);
}

void SelectTiming(HWND d, GameOptions& o, int mode) {
  Play("SOptSel1.wav");
  o.timingMode = mode;
  const bool on = mode != 0;
  Enable(d, kIdBlockMinutes, on);
  Enable(d, kIdBlockSeconds, on);
  if (!on) {
    SetSpin(d, kIdBlockMinutes, 0);
    SetSpin(d, kIdBlockSeconds, 0);
    return;
  }
  ShowTime(d, kIdBlockMinutes, kIdBlockSeconds, mode == 1 ? o.gameTimeMs : o.moveTimeMs);
}

// A spin changed: per game at least 5 minutes, per move at least 30
// seconds, the time kept at once.
void OnTimeSpin(HWND d, GameOptions& o) {
  MinSec t = ShownTime(d);
  if (o.timingMode == 1) {
    const MinSec kept = ApplyGameTimeFloor(t);
    if (!(kept == t)) SetSpin(d, kIdBlockMinutes, kept.minutes);
    o.gameTimeMs = JoinTimeMs(kept);
  } else if (o.timingMode == 2) {
    const MinSec kept = ApplyMoveTimeFloor(t);
    if (!(kept == t)) SetSpin(d, kIdBlockSeconds, kept.seconds);
    o.moveTimeMs = JoinTimeMs(kept);
  }
}

}  // namespace

void FillGameOptionControls(HWND d, GameOptions* result) {
  g_options = result;
  if (!result) return;
  GameOptions& o = *result;
  LoadGameOptionKeys(o);
  o.language = ProfileLanguage();
  SetGameSetupFields(o);
  if (o.kind != 1) o.kind = 0;
  Check(d, kIdBlockClassic, o.kind == 0);
  Check(d, kIdBlockDuplicate, o.kind == 1);
  Check(d, kIdBlockChallenge, o.challengeMode != 0);
  Check(d,
        o.challengeMode == 2   ? kIdBlockSingleChallenge
        : o.challengeMode == 3 ? kIdBlockModifiedChallenge
                               : kIdBlockDoubleChallenge,
        true);
  Check(d, kIdBlockJoker, (o.flags & kOptJoker) != 0);
  Check(d, kIdBlockBlitz, (o.flags & kOptBlitz) != 0);
  const int timing = o.timingMode == 1 || o.timingMode == 2 ? o.timingMode : 0;
  Check(d, kIdBlockNoLimit, timing == 0);
  Check(d, kIdBlockPerGame, timing == 1);
  Check(d, kIdBlockPerMove, timing == 2);
  RangeSpin(d, kIdBlockMinutes, 0, 59);
  RangeSpin(d, kIdBlockSeconds, 0, 59);
  if (timing != 0)
    ShowTime(d, kIdBlockMinutes, kIdBlockSeconds, timing == 1 ? o.gameTimeMs : o.moveTimeMs);
  Enable(d, kIdBlockMinutes, timing != 0);
  Enable(d, kIdBlockSeconds, timing != 0);
  if (o.kind == 0)
    ClassicRule(d, o);
  else
    DuplicateRule(d, o);
  BlitzRule(d, o);
  Check(d, kIdBlockNoOptions, true);
  Check(d, kIdBlockRanking, o.ranked != 0);
}

int NewGameDlgCommand(HWND d, int id) {
  if (!g_options) return 0;
  GameOptions& o = *g_options;
  switch (id) {
    case kIdBlockClassic:
      if (Checked(d, id)) ClassicRule(d, o);
      return 1;
    case kIdBlockDuplicate:
      if (Checked(d, id)) DuplicateRule(d, o);
      return 1;
    case kIdBlockChallenge:
      o.forfeit = 0;
      ChallengeRule(d, o);
      return 1;
    case kIdBlockDoubleChallenge:
    case kIdBlockSingleChallenge:
    case kIdBlockModifiedChallenge:
      o.challengeMode = id - kIdBlockDoubleChallenge + 1;
      return 1;
    case kIdBlockForfeit:
      o.forfeit = 0;
      return 1;
    case kIdBlockJoker:
      SetBit(o.flags, kOptJoker, Checked(d, id));
      return 1;
    case kIdBlockBlitz:
      BlitzRule(d, o);
      return 1;
    case kIdBlockNoOptions:
      o.flags &= ~(kOptSevenOfEight | kOptEightOfEight);
      return 1;
    case kIdBlockSevenOfEight:
      SetBit(o.flags, kOptSevenOfEight, Checked(d, id));
      o.flags &= ~kOptEightOfEight;
      return 1;
    case kIdBlockEightOfEight:
      SetBit(o.flags, kOptEightOfEight, Checked(d, id));
      o.flags &= ~kOptSevenOfEight;
      return 1;
    case kIdBlockNoLimit:
      if (o.timingMode != 0) SelectTiming(d, o, 0);
      return 1;
    case kIdBlockPerGame:
      if (o.timingMode != 1) SelectTiming(d, o, 1);
      return 1;
    case kIdBlockPerMove:
      if (o.timingMode != 2 || !Checked(d, kIdBlockBlitz)) SelectTiming(d, o, 2);
      return 1;
    case kIdBlockMinutes:
    case kIdBlockSeconds:
      OnTimeSpin(d, o);
      return 1;
    case kIdBlockRanking:
      o.ranked = Checked(d, id) ? 1 : 0;
      return 1;
    default:
      return 0;
  }
}

int NewGameDlgApply(HWND d) {
  if (!g_options) return 0;
  GameOptions& o = *g_options;
  if (Checked(d, kIdBlockClassic)) o.kind = 0;
  if (Checked(d, kIdBlockDuplicate)) o.kind = 1;
  // The radios say which limit holds; the time shown is held to its
  // minimum, with a notice when it is raised.
  const MinSec shown = ShownTime(d);
  if (Checked(d, kIdBlockPerGame) && o.kind == 0) {
    o.timingMode = 1;
    MinSec kept = shown;
    if (shown.minutes < kMinGameMinutes) {
      Notice(kStrGameTimeRaised);
      kept = MinSec{kMinGameMinutes, 0};
      SetSpin(d, kIdBlockMinutes, kept.minutes);
      SetSpin(d, kIdBlockSeconds, kept.seconds);
    }
    o.gameTimeMs = JoinTimeMs(kept);
  } else if (Checked(d, kIdBlockPerMove)) {
    o.timingMode = 2;
    const MinSec kept = ApplyMoveTimeFloor(shown);
    if (!(kept == shown)) {
      Notice(kStrMoveTimeRaised);
      SetSpin(d, kIdBlockSeconds, kept.seconds);
    }
    o.moveTimeMs = JoinTimeMs(kept);
  } else if (Checked(d, kIdBlockNoLimit)) {
    o.timingMode = 0;
  }
  SaveGameOptionKeys(o);
  return 1;
}

void ReleaseGameOptionControls() { g_options = nullptr; }

void NewGameDlgInit(HWND d, GameOptions* result) {
  g_options = result;
  if (!result) return;
  GameOptions& o = *result;
  o.language = ProfileLanguage();
  SetGameSetupFields(o);
  if (o.kind != 1) o.kind = 0;
  Check(d, kIdShellClassic, o.kind == 0);
  Check(d, kIdShellDuplicate, o.kind == 1);
  for (int id :
       {kIdShellGameMinutes, kIdShellGameSeconds, kIdShellMoveMinutes, kIdShellMoveSeconds})
    RangeSpin(d, id, 0, 59);
  ShowTime(d, kIdShellGameMinutes, kIdShellGameSeconds, o.gameTimeMs);
  ShowTime(d, kIdShellMoveMinutes, kIdShellMoveSeconds, o.moveTimeMs);
  if (o.kind == 1) o.timingMode = 2;
  Check(d, kIdBlockRanking, o.ranked != 0);
  const bool timed = o.timingMode == 1 || o.timingMode == 2;
  Check(d, kIdShellTimeLimit, timed);
  Enable(d, kIdShellPerGame, timed && o.kind != 1);
  Enable(d, kIdShellPerMove, timed);
  Check(d, kIdShellPerGame, timed && o.timingMode == 1);
  Check(d, kIdShellPerMove, timed && o.timingMode == 2);
  const bool perGame = timed && o.timingMode == 1, perMove = timed && o.timingMode == 2;
  Enable(d, kIdShellGameMinutes, perGame);
  Enable(d, kIdShellGameSeconds, perGame);
  Enable(d, kIdShellMoveMinutes, perMove);
  Enable(d, kIdShellMoveSeconds, perMove);
}

int CheckTimeLimits(HWND d, GameOptions* result) {
  if (!result) return 0;
  GameOptions& o = *result;
  o.timingMode = 1;
  MinSec t{Spin(d, kIdShellGameMinutes), Spin(d, kIdShellGameSeconds)};
  if (t.minutes < kMinGameMinutes) {
    Notice(kStrGameTimeRaised);
    t = MinSec{kMinGameMinutes, 0};
    SetSpin(d, kIdShellGameMinutes, t.minutes);
    SetSpin(d, kIdShellGameSeconds, t.seconds);
  }
  o.gameTimeMs = JoinTimeMs(t);
  SaveGameOptionKeys(o);
  return 0;
}

}  // namespace ui
