#pragma once
// The about box's credits: the coded credit lines and the scroller that
// moves them up through a fixed number of line slots, one frame at a time.
// The window side draws the slots; this side decides what they hold.
#include <cstdint>
#include <string>

namespace ui {

// DrawText alignments a credit line asks for.
enum CreditAlign : uint32_t {
  kCreditLeft = 0,
  kCreditCentre = 1,
  kCreditRight = 2,
  kCreditIndent = 0x80,  // drawn from one fifth of the width
};

struct CreditLine {
  std::string text;
  uint32_t align = kCreditLeft;
};

constexpr int kCreditLineWidth = 64;
constexpr int kCreditSlots = 19;
constexpr int kCreditLineStep = 22;  // pixels between slots
constexpr int kMinScrollSpeed = 1, kMaxScrollSpeed = 10;
constexpr char kVersionErrorText[] = "Version Error !";

// The line by its layout code (first character): C centred, L left, R right,
// T indented, each with the rest of the line less its leading blanks; V the
// version text, centred; anything else the whole line, left-aligned.
CreditLine DecodeCreditLine(const char* line, const char* version);
int CreditLineCount();
// The program's credit line `index`; an empty left line past the end.
CreditLine GetCreditLine(int index, const char* version);

enum ScrollerState : int { kScrollerFinished = 1, kScrollerPausing = 4, kScrollerScrolling = 8 };

class CreditScroller {
 public:
  explicit CreditScroller(int lineCount);
  // One tick of the worker: advances by one frame (the caller draws the
  // slots at Offset() before calling). Returns the state after the tick.
  int Tick();
  void Faster() { speed_ = speed_ < kMaxScrollSpeed ? speed_ + 1 : kMaxScrollSpeed; }
  void Slower() { speed_ = speed_ > kMinScrollSpeed ? speed_ - 1 : kMinScrollSpeed; }
  int Speed() const { return speed_; }
  int State() const { return state_; }
  int Offset() const { return offset_; }
  // The credit line index in slot i, -1 for an empty slot.
  int SlotLine(int i) const { return i >= 0 && i < kCreditSlots ? slots_[i] : -1; }

 private:
  // Moves the lines up by the speed; true when every line has scrolled out.
  bool Advance();

  int lineCount_;
  int slots_[kCreditSlots];
  int offset_ = 0;
  int next_ = 0;
  int speed_ = kMinScrollSpeed;
  int state_ = kScrollerScrolling;
  int pauseFrames_ = 0;
};

}  // namespace ui
