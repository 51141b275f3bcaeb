#include "gui/gui_scrollbars.h"

#include <algorithm>
#include <cstring>

#include "gui/gui_memory.h"

namespace gui {

namespace {

GuiScrollHost* g_testHost = nullptr;

inline uintptr_t MakeLong(uint32_t low, int32_t high) {
  return (low & 0xFFFF) | (static_cast<uint32_t>(high & 0xFFFF) << 16);
}

bool Inside(const GuiScrollRect& r, int32_t x, int32_t y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// The coordinates of a rectangle along the bar's axis.
int32_t& Start(GuiScrollRect& r, bool vertical) { return vertical ? r.top : r.left; }
int32_t& End(GuiScrollRect& r, bool vertical) { return vertical ? r.bottom : r.right; }

void HoldPos(GuiScrollInfo* info) {
  info->nPos = std::max(info->nMin, std::min(info->nPos, GuiScrollMaxPos(*info)));
}

GuiScrollPieces PiecesOf(GuiScrollBars* s, int bar) {
  return s->host ? s->host->Pieces(s->window, bar) : GuiScrollPieces{};
}

void Relayout(GuiScrollBars* s, int bar, uint32_t mask) {
  GuiScrollBarRecord* r = GuiScrollBarsRecord(s, bar);
  if (!r) return;
  GuiScrollLayout(r, bar == 1, PiecesOf(s, bar), mask);
}

void Repaint(GuiScrollBars* s, int bar, uint32_t mask) {
  GuiScrollBarRecord* r = GuiScrollBarsRecord(s, bar);
  if (r && r->shown && !s->redrawOff && s->host) s->host->Paint(s, bar, mask);
}

void SendScroll(GuiScrollBars* s, int bar, uint32_t code, int32_t pos, intptr_t lp) {
  if (s->host)
    s->host->Send(s->window, bar == 1 ? kWmVScroll : kWmHScroll, MakeLong(code, pos), lp);
}

// After a step: hold the position, relayout and repaint the thumb, tell the
// widget.
void Stepped(GuiScrollBars* s, int bar, uint32_t code) {
  GuiScrollBarRecord* r = GuiScrollBarsRecord(s, bar);
  HoldPos(&r->info);
  r->info.nTrackPos = r->info.nPos;
  Relayout(s, bar, kLayoutThumb);
  Repaint(s, bar, kLayoutThumb);
  SendScroll(s, bar, code, r->info.nPos, reinterpret_cast<intptr_t>(s->window));
}

// One step of a part on the active bar; with a point, a line step stops on
// the thumb and a page step once the thumb has reached the point.
void ScrollStep(GuiScrollBars* s, int part, const int32_t* point) {
  int bar = s->activeBar;
  GuiScrollBarRecord* r = GuiScrollBarsRecord(s, bar);
  if (!r) return;
  r->wheelRemainder = 0;
  GuiScrollInfo& in = r->info;
  bool inThumb = point && Inside(r->parts[kSpThumb], point[0], point[1]);
  switch (part) {
    case kSpFirstArrow:
      if (in.nPos <= in.nMin || inThumb) return;
      in.nPos -= r->lineStep;
      break;
    case kSpSecondArrow:
      if (in.nPos >= GuiScrollMaxPos(in) || inThumb) return;
      in.nPos += r->lineStep;
      break;
    case kSpTrackBefore:
      if (in.nPos <= in.nMin || (point && !Inside(r->parts[part], point[0], point[1]))) return;
      in.nPos -= GuiScrollPageStep(*r);
      break;
    case kSpTrackAfter:
      if (in.nPos >= GuiScrollMaxPos(in) || (point && !Inside(r->parts[part], point[0], point[1])))
        return;
      in.nPos += GuiScrollPageStep(*r);
      break;
    default:
      return;
  }
  Stepped(s, bar, static_cast<uint32_t>(part));
}

void ReleaseCapture(GuiScrollBars* s) {
  if (s->captureTaken && s->host) s->host->EndCapture();
  s->captureTaken = 0;
}

}  // namespace

void GuiScrollSetHostForTests(GuiScrollHost* host) { g_testHost = host; }

// --- The model ---

int32_t GuiScrollMaxPos(const GuiScrollInfo& in) {
  int64_t page = static_cast<int64_t>(in.nPage);
  return static_cast<int32_t>(in.nMax - std::max<int64_t>(page - 1, 0));
}

int32_t GuiScrollPageStep(const GuiScrollBarRecord& r) {
  if (r.pageStep > 0) return r.pageStep;
  if (r.pageStep == 0 || r.pageStep == -2)
    return static_cast<int32_t>(
        std::max<int64_t>(static_cast<int64_t>(r.info.nPage) - r.lineStep, 1));
  return 1;
}

bool GuiScrollClamp(GuiScrollInfo* in) {
  int32_t before = in->nPos;
  if (static_cast<int64_t>(in->nMax) < static_cast<int64_t>(in->nMin) - 1) in->nMax = in->nMin - 1;
  int64_t range = static_cast<int64_t>(in->nMax) - in->nMin + 1;
  if (static_cast<int64_t>(in->nPage) > range) in->nPage = static_cast<uint32_t>(range);
  if (in->nPos > GuiScrollMaxPos(*in)) in->nPos = GuiScrollMaxPos(*in);
  if (in->nPos < in->nMin) in->nPos = in->nMin;
  return in->nPos != before;
}

int32_t GuiScrollThumbLength(const GuiScrollInfo& in, int32_t track, const GuiScrollPieces& p) {
  int64_t range = std::max<int64_t>(static_cast<int64_t>(in.nMax) - in.nMin + 1, 1);
  int64_t len = static_cast<int64_t>(in.nPage) * track / range;
  len = std::max<int64_t>(len, p.capStart + p.capEnd);
  return static_cast<int32_t>(std::min<int64_t>(len, track));
}

namespace {
int64_t Span(const GuiScrollInfo& in) {
  int64_t span = static_cast<int64_t>(in.nMax) - in.nMin -
                 std::max<int64_t>(static_cast<int64_t>(in.nPage) - 1, 0);
  return std::max<int64_t>(span, 1);
}
}  // namespace

int32_t GuiScrollThumbOffset(const GuiScrollInfo& in, int32_t track, int32_t thumb) {
  int64_t room = std::max(track - thumb, 0);
  int64_t off = (static_cast<int64_t>(in.nPos) - in.nMin) * room / Span(in);
  return static_cast<int32_t>(std::max<int64_t>(0, std::min<int64_t>(off, track)));
}

int32_t GuiScrollPosForOffset(const GuiScrollInfo& in, int32_t track, int32_t thumb,
                              int32_t offset) {
  int64_t room = static_cast<int64_t>(track) - thumb;
  if (room < 1) return in.nMin;
  int64_t pos = in.nMin + std::max<int64_t>(Span(in) * offset / room, 0);
  return static_cast<int32_t>(std::min<int64_t>(pos, GuiScrollMaxPos(in)));
}

void GuiScrollLayout(GuiScrollBarRecord* r, bool v, const GuiScrollPieces& p, uint32_t mask) {
  GuiScrollRect* part = r->parts;
  int32_t track = std::max(Start(part[1], v) - End(part[0], v), 0);
  int32_t thumb = 0, offset = 0;
  auto thumbValues = [&] {
    track = std::max(Start(part[1], v) - End(part[0], v), 0);
    thumb = GuiScrollThumbLength(r->info, track, p);
    offset = GuiScrollThumbOffset(r->info, track, thumb);
  };
  for (int n = 0; n < kScrollPartCount; ++n) {
    if (!(mask & (1u << n))) continue;
    part[n] = r->bar;
    switch (n) {
      case 0:
        End(part[0], v) = Start(r->bar, v) + p.firstArrow;
        break;
      case 1:
        Start(part[1], v) = End(r->bar, v) - p.secondArrow;
        break;
      case 2:
        thumbValues();
        Start(part[2], v) = End(part[0], v);
        End(part[2], v) = Start(part[2], v) + offset;
        break;
      case 3:
        thumbValues();
        Start(part[3], v) = End(part[2], v) + thumb;
        End(part[3], v) = Start(part[1], v);
        break;
      case 4:
        thumbValues();
        Start(part[4], v) = End(part[2], v);
        End(part[4], v) = Start(part[4], v) + thumb;
        break;
    }
  }
  r->layoutPending = 0;
}

// --- Lifecycle ---

GuiScrollBars* GuiScrollBarsInit(GuiScrollBars* s, void* window, uint32_t flags) {
  if (!s) return nullptr;
  std::memset(s, 0, sizeof *s);
  s->window = window;
  s->host = g_testHost ? g_testHost : GuiScrollPlatformHost();
  s->pressedPart = -1;
  s->activeBar = -1;
  auto make = [] {
    auto* r = static_cast<GuiScrollBarRecord*>(GlobalAllocPtr(sizeof(GuiScrollBarRecord)));
    if (r) {
      r->info.cbSize = sizeof(GuiScrollInfo);
      r->lineStep = 1;
    }
    return r;
  };
  if (flags & kScrollHasVertical) s->vertical = make();
  if (flags & kScrollHasHorizontal) s->horizontal = make();
  return s->vertical || s->horizontal ? s : nullptr;
}

GuiScrollBars* GuiScrollBarsCreate(void* window, uint32_t flags) {
  if (!(flags & (kScrollHasVertical | kScrollHasHorizontal))) return nullptr;
  auto* s = static_cast<GuiScrollBars*>(GlobalAllocPtr(sizeof(GuiScrollBars)));
  if (!s) return nullptr;
  if (!GuiScrollBarsInit(s, window, flags)) {
    GlobalFreePtr(s);
    return nullptr;
  }
  return s;
}

void GuiScrollBarsEndTracking(GuiScrollBars* s) {
  if (s) ReleaseCapture(s);
}

void GuiScrollBarsFree(GuiScrollBars* s) {
  if (!s) return;
  GuiScrollBarsEndTracking(s);
  GlobalFreePtr(s->vertical);
  GlobalFreePtr(s->horizontal);
  s->vertical = s->horizontal = nullptr;
}

void GuiScrollBarsDestroy(GuiScrollBars* s) {
  GuiScrollBarsFree(s);
  GlobalFreePtr(s);
}

void GuiScrollBarsCancelTracking(GuiScrollBars* s) {
  if (!s) return;
  ReleaseCapture(s);
  if (GuiScrollBarRecord* r = GuiScrollBarsRecord(s, s->activeBar)) r->pressed = 0;
  s->pressedPart = -1;
}

// --- Values ---

GuiScrollBarRecord* GuiScrollBarsRecord(GuiScrollBars* s, int bar) {
  if (!s) return nullptr;
  if (bar == 0) return s->horizontal;
  if (bar == 1) return s->vertical;
  return nullptr;
}

int GuiScrollBarsGetInfo(GuiScrollBars* s, int bar, GuiScrollInfo* info) {
  GuiScrollBarRecord* r = GuiScrollBarsRecord(s, bar);
  if (!r || !info || info->cbSize < 4) return 0;
  // Never more than the record holds, whatever size the caller claims.
  size_t n = std::min<size_t>(info->cbSize - 4, sizeof(GuiScrollInfo) - 4);
  std::memcpy(reinterpret_cast<uint8_t*>(info) + 4, reinterpret_cast<uint8_t*>(&r->info) + 4, n);
  return 1;
}

int GuiScrollBarsSetInfo(GuiScrollBars* s, int bar, const GuiScrollInfo* info) {
  GuiScrollBarRecord* r = GuiScrollBarsRecord(s, bar);
  if (!r || !info) return 0;
  if (info->fMask & kSifPage) r->info.nPage = info->nPage;
  if (info->fMask & kSifPos) r->info.nPos = info->nPos;
  if (info->fMask & kSifRange) {
    r->info.nMin = info->nMin;
    r->info.nMax = info->nMax;
  }
  if (GuiScrollClamp(&r->info) && s->host)
    s->host->Send(s->window, bar == 1 ? kMsgPosCorrectedV : kMsgPosCorrectedH,
                  static_cast<uintptr_t>(static_cast<uint32_t>(r->info.nPos)),
                  reinterpret_cast<intptr_t>(s->window));
  if (s->redrawOff) {
    r->layoutPending = 1;
  } else {
    Relayout(s, bar, kLayoutAll);
    Repaint(s, bar, kLayoutAll);
  }
  return 1;
}

int GuiScrollBarsEnable(GuiScrollBars* s, int bar, int show) {
  GuiScrollBarRecord* r = GuiScrollBarsRecord(s, bar);
  if (!r) return 0;
  int want = show ? 1 : 0;
  if (r->shown == want) return 1;
  if (s->host) s->host->NotifyParent(s->window, kMsgBarShown, static_cast<uintptr_t>(bar), want);
  r->shown = want;
  return 1;
}

int GuiScrollBarsIsEnabled(GuiScrollBars* s, int bar) {
  GuiScrollBarRecord* r = GuiScrollBarsRecord(s, bar);
  return r && r->shown ? 1 : 0;
}

int GuiScrollBarsGetThickness(GuiScrollBars* s, int bar) {
  GuiScrollBarRecord* r = GuiScrollBarsRecord(s, bar);
  if (!r || !r->shown) return 0;
  return bar == 1 ? r->bar.right - r->bar.left : r->bar.bottom - r->bar.top;
}

int GuiScrollBarsSetLineStep(GuiScrollBars* s, int bar, int step) {
  GuiScrollBarRecord* r = GuiScrollBarsRecord(s, bar);
  if (!r) return 0;
  int old = r->lineStep;
  r->lineStep = step;
  return old;
}

int GuiScrollBarsSetPageStep(GuiScrollBars* s, int bar, int step) {
  GuiScrollBarRecord* r = GuiScrollBarsRecord(s, bar);
  if (!r) return 0;
  int old = r->pageStep;
  r->pageStep = step;
  return old;
}

void GuiScrollBarsSetRedrawFlag(GuiScrollBars* s, int redraw) {
  if (s) s->redrawOff = redraw == 0;
}

// --- Forwarded messages ---

int GuiScrollBarsNcCalcSize(GuiScrollBars* s, GuiScrollRect* c) {
  if (!s || !c) return 0;
  bool v = GuiScrollBarsIsEnabled(s, 1), h = GuiScrollBarsIsEnabled(s, 0);
  int32_t oldRight = c->right, oldBottom = c->bottom;
  if (v) c->right = std::max(c->left, c->right - PiecesOf(s, 1).thickness);
  if (h) c->bottom = std::max(c->top, c->bottom - PiecesOf(s, 0).thickness);
  if (v) {
    s->vertical->bar = {c->right, c->top, oldRight, c->bottom};
    Relayout(s, 1, kLayoutAll);
  }
  if (h) {
    s->horizontal->bar = {c->left, c->bottom, c->right, oldBottom};
    Relayout(s, 0, kLayoutAll);
  }
  return v || h ? 1 : 0;
}

int GuiScrollBarsHitTestAt(GuiScrollBars* s, int32_t x, int32_t y) {
  if (GuiScrollBarsIsEnabled(s, 1) && Inside(s->vertical->bar, x, y)) return kHtVScroll;
  if (GuiScrollBarsIsEnabled(s, 0) && Inside(s->horizontal->bar, x, y)) return kHtHScroll;
  return 0;
}

void GuiScrollBarsButtonDownAt(GuiScrollBars* s, int hitCode, int32_t x, int32_t y) {
  if (!s) return;
  bool had = s->host ? s->host->BeginCapture(s->window) : true;
  s->captureTaken = had ? 0 : 1;
  s->period = kScrollFirstDelay;
  s->activeBar = hitCode == kHtVScroll ? 1 : 0;
  GuiScrollBarRecord* r = GuiScrollBarsRecord(s, s->activeBar);
  if (r && r->shown) {
    for (int n = 0; n < kScrollPartCount; ++n) {
      if (!Inside(r->parts[n], x, y)) continue;
      r->pressed |= 1u << n;
      s->pressedPart = n;
      Repaint(s, s->activeBar, 1u << n);
      if (n == kSpThumb) {
        s->dragOffset = (s->activeBar == 1 ? y : x) - Start(r->parts[kSpThumb], s->activeBar == 1);
      } else {
        ScrollStep(s, n, nullptr);
        if (s->host) s->host->SetTimer(s->window, kScrollFirstDelay);
      }
      return;
    }
  }
  ReleaseCapture(s);
}

void GuiScrollBarsTimerAt(GuiScrollBars* s, int32_t x, int32_t y) {
  if (!s || s->pressedPart < 0 || s->pressedPart > kSpTrackAfter) return;
  int32_t point[2] = {x, y};
  ScrollStep(s, s->pressedPart, point);
  if (s->period == static_cast<int32_t>(kScrollFirstDelay) && s->host) {
    s->host->KillTimer(s->window);
    s->host->SetTimer(s->window, kScrollRepeatDelay);
    s->period = kScrollRepeatDelay;
  }
}

void GuiScrollBarsDragTo(GuiScrollBars* s, int32_t x, int32_t y) {
  if (!s || s->pressedPart != kSpThumb) return;
  if (s->host && !s->host->PrimaryButtonDown()) return;
  int bar = s->activeBar;
  GuiScrollBarRecord* r = GuiScrollBarsRecord(s, bar);
  if (!r) return;
  bool v = bar == 1;
  int32_t offset = (v ? y : x) - Start(r->parts[kSpTrackBefore], v) - s->dragOffset;
  int32_t track = std::max(Start(r->parts[1], v) - End(r->parts[0], v), 0);
  int32_t thumb = GuiScrollThumbLength(r->info, track, PiecesOf(s, bar));
  r->info.nPos = GuiScrollPosForOffset(r->info, track, thumb, offset);
  HoldPos(&r->info);
  r->info.nTrackPos = r->info.nPos;
  r->wheelRemainder = 0;
  Relayout(s, bar, kLayoutThumb);
  Repaint(s, bar, kLayoutThumb);
  if (s->host)
    s->host->Send(s->window, v ? kMsgThumbDragV : kMsgThumbDragH,
                  static_cast<uintptr_t>(static_cast<uint32_t>(r->info.nPos)),
                  reinterpret_cast<intptr_t>(s->window));
}

int GuiScrollBarsButtonUp(GuiScrollBars* s) {
  if (!s) return 0;
  ReleaseCapture(s);
  if (s->host) s->host->KillTimer(s->window);
  GuiScrollBarRecord* r = GuiScrollBarsRecord(s, s->activeBar);
  if (r && s->pressedPart >= 0) {
    r->pressed &= ~(1u << s->pressedPart);
    Repaint(s, s->activeBar, 1u << s->pressedPart);
  }
  if (r) {
    r->wheelRemainder = 0;
    SendScroll(s, s->activeBar, kSbEndScroll, r->info.nPos, 0);
    HoldPos(&r->info);
    r->info.nTrackPos = r->info.nPos;
    Relayout(s, s->activeBar, kLayoutThumb);
    Repaint(s, s->activeBar, kLayoutThumb);
    SendScroll(s, s->activeBar, kSbEndScroll, r->info.nPos, reinterpret_cast<intptr_t>(s->window));
  }
  s->pressedPart = -1;
  s->activeBar = -1;
  return 0;
}

int GuiScrollBarsMouseWheel(GuiScrollBars* s, int bar, int32_t delta) {
  GuiScrollBarRecord* r = GuiScrollBarsRecord(s, bar);
  if (!r) return 0;
  s->activeBar = bar;
  int64_t sum = static_cast<int64_t>(delta) + r->wheelRemainder;
  int64_t notches = 0;
  bool up = sum >= kWheelDelta;
  if (up) {
    notches = sum / kWheelDelta;
    r->wheelRemainder = static_cast<int32_t>(sum % kWheelDelta);
  } else if (sum <= -kWheelDelta) {
    notches = (-kWheelDelta - sum) / kWheelDelta + 1;
    r->wheelRemainder = static_cast<int32_t>(sum + notches * kWheelDelta);
  } else {
    r->wheelRemainder = static_cast<int32_t>(sum);
  }
  if (notches) {
    int lines = s->host ? s->host->WheelLines() : 3;
    bool page = lines == kWheelPageScroll;
    int64_t steps = notches * (page ? 1 : std::max(lines, 0));
    uint32_t code = (up ? 0u : 1u) + (page ? 2u : 0u);
    int32_t remainder = r->wheelRemainder;
    // Steps past the end are skipped, so the walk stops there.
    for (int64_t i = 0; i < steps; ++i) {
      GuiScrollInfo& in = r->info;
      if (up ? in.nPos <= in.nMin : in.nPos >= GuiScrollMaxPos(in)) break;
      int32_t step = page ? GuiScrollPageStep(*r) : r->lineStep;
      in.nPos += up ? -step : step;
      Stepped(s, bar, code);
    }
    r->wheelRemainder = remainder;
  }
  s->activeBar = -1;
  return 0;
}

}  // namespace gui
