#include "ui/about_credits.h"

#include <cstring>

namespace ui {
namespace {

// Layout code first, then the text; a line of one blank is a spacer (an
// unknown code shows the whole line).
const char* const kCredits[] = {
    "CTESSARIN\xAE 2007 Edition",
    "V",
    " ",
    "CA crossword board word game",
    " ",
    "TGame design",
    "C The Tessarin team",
    " ",
    "TWord engine and computer players",
    "C The Tessarin team",
    " ",
    "TBoard, rooms and interface",
    "C The Tessarin team",
    " ",
    "TLexicons",
    "C Built from public word lists",
    " ",
    "TSounds and pictures",
    "C Made by our own generators",
    " ",
    "CThank you for playing!",
};
constexpr int kCreditCount = static_cast<int>(sizeof kCredits / sizeof kCredits[0]);

const char* SkipBlanks(const char* s) {
  while (*s == ' ')
    ++s;
  return s;
}

}  // namespace

CreditLine DecodeCreditLine(const char* line, const char* version) {
  CreditLine out;
  if (!line || !*line) return out;
  switch (line[0]) {
    case 'C':
    case 'c':
      out.align = kCreditCentre;
      break;
    case 'L':
    case 'l':
      out.align = kCreditLeft;
      break;
    case 'R':
    case 'r':
      out.align = kCreditRight;
      break;
    case 'T':
    case 't':
      out.align = kCreditIndent;
      break;
    case 'V':
    case 'v':
      out.align = kCreditCentre;
      out.text = version ? version : kVersionErrorText;
      return out;
    default:
      out.text.assign(line, strnlen(line, kCreditLineWidth));
      return out;
  }
  const char* rest = SkipBlanks(line + 1);
  out.text.assign(rest, strnlen(rest, kCreditLineWidth - 1));
  return out;
}

int CreditLineCount() { return kCreditCount; }

CreditLine GetCreditLine(int index, const char* version) {
  if (index < 0 || index >= kCreditCount) return {};
  return DecodeCreditLine(kCredits[index], version);
}

CreditScroller::CreditScroller(int lineCount) : lineCount_(lineCount < 0 ? 0 : lineCount) {
  for (int& s : slots_)
    s = -1;
}

bool CreditScroller::Advance() {
  offset_ -= speed_;
  while (offset_ < -(kCreditLineStep - 1)) {
    for (int i = 0; i + 1 < kCreditSlots; ++i)
      slots_[i] = slots_[i + 1];
    slots_[kCreditSlots - 1] = next_ < lineCount_ ? next_++ : -1;
    offset_ += kCreditLineStep;
  }
  // Every slot, not only the top two: a table shorter than the slots would
  // otherwise end its pass before its lines reached the top.
  if (next_ < lineCount_) return false;
  for (int line : slots_)
    if (line >= 0) return false;
  return true;
}

int CreditScroller::Tick() {
  switch (state_) {
    case kScrollerScrolling:
      if (Advance()) {
        next_ = 0;
        pauseFrames_ = 0;
        state_ = kScrollerPausing;
      }
      break;
    case kScrollerPausing:
      Advance();
      if (++pauseFrames_ % 20 == 0)
        state_ = next_ < lineCount_ ? kScrollerScrolling : kScrollerFinished;
      break;
    default:
      break;
  }
  return state_;
}

}  // namespace ui
