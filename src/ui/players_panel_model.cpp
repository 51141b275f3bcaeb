#include "ui/players_panel_model.h"

#include <algorithm>
#include <cstdio>

namespace ui {

namespace {
constexpr int kStateRunning = 3;
constexpr int kStatePaused = 5;
constexpr int kStateLastChallenge = 6;
}  // namespace

int ClampFirstPlayerRow(int row, int playerCount) {
  const int last = std::max(0, playerCount - kPlayerRowCount);
  return std::clamp(row, 0, last);
}

int ScrollFirstPlayerRow(int first, int code, int thumb, int playerCount) {
  int next = first;
  switch (code) {
    case kScrollLineUp:
      next = first - 1;
      break;
    case kScrollLineDown:
      next = first + 1;
      break;
    case kScrollPageUp:
      next = first - kPlayerRowCount;
      break;
    case kScrollPageDown:
      next = first + kPlayerRowCount;
      break;
    case kScrollThumbPosition:
      next = thumb;
      break;
    default:
      return first;
  }
  return ClampFirstPlayerRow(next, playerCount);
}

PlayersPanelSize PlayersPanelClientSize(int playerCount, int scrollBarWidth) {
  const int count = std::max(0, playerCount);
  const int rowsHeight = kPlayerRowCount * kPlayerRowHeight;
  PlayersPanelSize s;
  if (count * kPlayerRowHeight <= rowsHeight) {
    s.width = kPlayerRowWidth;
    s.height = count * kPlayerRowHeight + kPlayerRowsTop;
  } else {
    s.width = kPlayerRowWidth + std::max(0, scrollBarWidth);
    s.height = rowsHeight + kPlayerRowsTop;
    s.scrolls = true;
  }
  return s;
}

std::string FormatTotalTime(int64_t elapsedMs) {
  const int64_t seconds = std::max<int64_t>(0, elapsedMs) / 1000;
  char text[40];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
  return text;
}

std::string FormatTurnTime(int clockMode, int32_t remainingMs) {
  if (clockMode == 0) return "";
  const int32_t seconds = (clockMode == 1 || clockMode == 2) ? std::max(0, remainingMs) / 1000 : 0;
  char text[24];
  std::snprintf(text, sizeof text, "%02d:%02d", seconds / 60, seconds % 60);
  return text;
}

bool IsReviewRoom(int room) { return room == 12 || room == 13; }

std::string TurnNumberText(const TurnFacts& f) {
  if (f.state != kStateRunning && f.state != kStatePaused && f.state != kStateLastChallenge)
    return "";
  int number = f.roundCount + 1;
  if (IsReviewRoom(f.room)) {
    const int i = f.historyIndex - 2;
    if (i < 0)
      number = 0;
    else if (f.kind == 0 && f.playerCount > 0)
      number = i / f.playerCount + 1;
    else
      number = i + 1;
  }
  return std::to_string(number);
}

bool IsPlayerToMove(const TurnFacts& f, int index) {
  if (f.state != kStatePaused) return f.currentPlayer == index;
  if (f.kind != 0 || f.playerCount <= 0) return false;
  const int k = f.historyIndex;
  if (k < 1) return false;
  const int offset = IsReviewRoom(f.room) ? k - 1 : k - 2;
  int slot = (f.firstPlayer + offset) % f.playerCount;
  if (slot < 0) slot += f.playerCount;
  return slot == index;
}

uint32_t PlayerStatusStringId(int32_t lastAction) {
  switch (lastAction) {
    case -3:
      return 7171;
    case -2:
      return 3192;
    case -1:
      return 3184;
    case 1:
      return 3186;
    case 2:
      return 3185;
    case 4:
      return 3187;
    case 6:
      return 1865;
    default:
      return 0;
  }
}

const char* RobotLevelText(int32_t rating) {
  if (rating < 600) return "[Novice]";
  if (rating < 1400) return "[Intermediate]";
  if (rating < 2000) return "[Expert]";
  return "[Master]";
}

}  // namespace ui
