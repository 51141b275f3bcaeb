#pragma once
// The spin field's number: its range, stepping and the filter on what the
// user types. Portable, so the rules are tested without windows.
#include <cstdint>

namespace gui {

struct SpinRange {
  int32_t minimum = 0;
  int32_t value = 0;
  int32_t maximum = 100;
  int32_t step = 1;
};

// "min:max:value:step" (blanks, colons or commas between); an empty caption
// gives 0..100, value 0, step 1; equal bounds give 0..100 and value 0; a
// step of 0 becomes 1. The value starts clamped into the range.
SpinRange SpinParseCaption(const char* caption);
int32_t SpinClamp(const SpinRange& r, int64_t value);

// Scroll codes, numbered as the system's SB_ codes.
enum SpinScroll : int {
  kSpinLineUp = 0,
  kSpinLineDown = 1,
  kSpinPageUp = 2,
  kSpinPageDown = 3,
  kSpinTop = 6,
  kSpinBottom = 7
};
// The value after a scroll code (other codes keep it). Sums are computed
// wide, so a large step never wraps around.
int32_t SpinStep(const SpinRange& r, int code);

// The keys the field turns into scroll codes (virtual-key codes); -1 for a
// key that goes to the edit.
int SpinKeyScroll(unsigned virtualKey);
// Characters the edit accepts: digits, backspace, '-' and '.'.
bool SpinAcceptsChar(char c);

// Cleans typed text in place (at most `size` bytes with the NUL): every '-'
// goes except a leading one when the minimum is negative; then one leading
// '0' of a longer text goes. True when the text changed.
bool SpinCleanText(char* text, int32_t minimum);
// The typed number (stops at a '.' or any other non-digit).
int32_t SpinTextValue(const char* text);

// New range from the packed words of the set-range message: the low word is
// the minimum and the high word the maximum (signed 16 bits). keepValue
// keeps the current value (clamped); else the value becomes newValue
// (clamped). A minimum above the maximum is swapped so the range holds.
void SpinSetRange(SpinRange* r, uint32_t packed, bool keepValue, int32_t newValue);
uint32_t SpinPackedRange(const SpinRange& r);

}  // namespace gui
