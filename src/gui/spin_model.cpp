#include "gui/spin_model.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace gui {

SpinRange SpinParseCaption(const char* caption) {
  SpinRange r;
  int64_t n[4] = {0, 100, 0, 1};
  int count = 0;
  const char* p = caption ? caption : "";
  while (*p && count < 4) {
    while (*p == ' ' || *p == ':' || *p == ',')
      ++p;
    if (!*p) break;
    char* end = nullptr;
    long long v = std::strtoll(p, &end, 10);
    if (end == p) break;  // not a number: the rest is ignored
    n[count++] = v;
    p = end;
  }
  auto narrow = [](int64_t v) {
    return static_cast<int32_t>(v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : v);
  };
  r.minimum = narrow(n[0]);
  r.maximum = narrow(n[1]);
  r.value = narrow(n[2]);
  r.step = narrow(n[3]);
  if (r.minimum == r.maximum) {
    r.minimum = 0;
    r.maximum = 100;
    r.value = 0;
  }
  if (r.minimum > r.maximum) std::swap(r.minimum, r.maximum);
  if (r.step == 0) r.step = 1;
  if (r.step < 0) r.step = -r.step;
  r.value = SpinClamp(r, r.value);
  return r;
}

int32_t SpinClamp(const SpinRange& r, int64_t v) {
  if (v < r.minimum) return r.minimum;
  if (v > r.maximum) return r.maximum;
  return static_cast<int32_t>(v);
}

int32_t SpinStep(const SpinRange& r, int code) {
  int64_t v = r.value, step = r.step, lo = r.minimum, hi = r.maximum;
  switch (code) {
    case kSpinLineUp:
      return v + step < hi ? static_cast<int32_t>(v + step) : r.maximum;
    case kSpinLineDown:
      return v - step > lo ? static_cast<int32_t>(v - step) : r.minimum;
    case kSpinPageUp:
      return v + 10 * step < hi - 10 ? static_cast<int32_t>(v + 10 * step) : r.maximum;
    case kSpinPageDown:
      return v - 10 * step > lo ? static_cast<int32_t>(v - 10 * step) : r.minimum;
    case kSpinTop:
      return r.minimum;
    case kSpinBottom:
      return r.maximum;
    default:
      return r.value;
  }
}

int SpinKeyScroll(unsigned key) {
  switch (key) {
    case 0x21:  // Page Up
      return kSpinPageUp;
    case 0x22:  // Page Down
      return kSpinPageDown;
    case 0x23:  // End
      return kSpinBottom;
    case 0x24:  // Home
      return kSpinTop;
    case 0x26:  // Up
      return kSpinLineUp;
    case 0x28:  // Down
      return kSpinLineDown;
    default:
      return -1;
  }
}

bool SpinAcceptsChar(char c) { return (c >= '0' && c <= '9') || c == '\b' || c == '-' || c == '.'; }

bool SpinCleanText(char* text, int32_t minimum) {
  if (!text) return false;
  bool changed = false;
  size_t out = 0;
  for (size_t i = 0; text[i]; ++i) {
    if (text[i] == '-' && !(i == 0 && minimum < 0)) {
      changed = true;
      continue;
    }
    text[out++] = text[i];
  }
  text[out] = 0;
  if (text[0] == '0' && text[1]) {
    std::memmove(text, text + 1, std::strlen(text));
    changed = true;
  }
  return changed;
}

int32_t SpinTextValue(const char* text) {
  if (!text) return 0;
  long long v = std::strtoll(text, nullptr, 10);
  return static_cast<int32_t>(v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : v);
}

void SpinSetRange(SpinRange* r, uint32_t packed, bool keepValue, int32_t newValue) {
  if (!r) return;
  r->minimum = static_cast<int16_t>(packed & 0xFFFF);
  r->maximum = static_cast<int16_t>(packed >> 16);
  if (r->minimum > r->maximum) std::swap(r->minimum, r->maximum);
  r->value = SpinClamp(*r, keepValue ? r->value : newValue);
}

uint32_t SpinPackedRange(const SpinRange& r) {
  return (static_cast<uint32_t>(r.minimum) & 0xFFFF) |
         ((static_cast<uint32_t>(r.maximum) & 0xFFFF) << 16);
}

}  // namespace gui
