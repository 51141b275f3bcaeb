#include "gui/gui_sort.h"

namespace gui {

namespace {

constexpr size_t kShort = 8;
constexpr int kStack = 30;

// Selection of the greatest element to the end: few compares, no allocation.
void ShortSort(char* lo, char* hi, size_t width, GuiSortCompare compare, GuiSortSwap swap,
               void* context) {
  while (hi > lo) {
    char* max = lo;
    for (char* p = lo + width; p <= hi; p += width)
      if (compare(p, max, context) > 0) max = p;
    if (max != hi) swap(max, hi, context);
    hi -= width;
  }
}

}  // namespace

void GuiSort(void* base, size_t count, size_t width, GuiSortCompare compare, GuiSortSwap swap,
             void* context) {
  if (count < 2 || width == 0 || !base || !compare || !swap) return;
  char* loStack[kStack];
  char* hiStack[kStack];
  int sp = 0;
  char* lo = static_cast<char*>(base);
  char* hi = lo + width * (count - 1);
  for (;;) {
    size_t size = static_cast<size_t>(hi - lo) / width + 1;
    if (size <= kShort) {
      ShortSort(lo, hi, width, compare, swap, context);
    } else {
      swap(lo + (size / 2) * width, lo, context);  // the middle as pivot, kept at lo
      char* i = lo;
      char* j = hi + width;
      for (;;) {
        do
          i += width;
        while (i <= hi && compare(i, lo, context) <= 0);
        do
          j -= width;
        while (j > lo && compare(j, lo, context) >= 0);
        if (j < i) break;
        swap(i, j, context);
      }
      if (j != lo) swap(lo, j, context);
      // lo..j-1 and i..hi remain; push the larger, go on with the smaller.
      char* leftHi = j > lo ? j - width : lo;  // lo..leftHi is empty or one element when j == lo
      bool leftLarger = (j - lo) >= (hi - i);
      char* bigLo = leftLarger ? lo : i;
      char* bigHi = leftLarger ? leftHi : hi;
      char* smallLo = leftLarger ? i : lo;
      char* smallHi = leftLarger ? hi : leftHi;
      if (bigLo < bigHi) {
        if (sp < kStack) {
          loStack[sp] = bigLo;
          hiStack[sp] = bigHi;
          ++sp;
        } else {
          ShortSort(bigLo, bigHi, width, compare, swap, context);  // beyond 2^30 elements only
        }
      }
      if (smallLo < smallHi) {
        lo = smallLo;
        hi = smallHi;
        continue;
      }
    }
    if (sp == 0) return;
    --sp;
    lo = loStack[sp];
    hi = hiStack[sp];
  }
}

}  // namespace gui
