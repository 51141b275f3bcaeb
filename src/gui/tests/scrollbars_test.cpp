// The scroll-bar engine against a recording host: values and clamping, the
// geometry of the thumb, presses with auto-repeat, thumb drags, releases and
// the wheel, each checked by the messages the widget receives.
#include "gui/gui_scrollbars.h"

#include <gtest/gtest.h>

#include <vector>

namespace gui {
namespace {

struct Msg {
  uint32_t msg;
  uintptr_t wp;
  intptr_t lp;
  bool operator==(const Msg& o) const { return msg == o.msg && wp == o.wp && lp == o.lp; }
};

class FakeHost : public GuiScrollHost {
 public:
  std::vector<Msg> sent, parent;
  std::vector<uint32_t> timers;  // set periods; 0 marks a kill
  int captures = 0, releases = 0;
  bool hadCapture = false, buttonDown = true;
  int lines = 3;
  GuiScrollPieces pieces{16, 16, 16, 4, 4};

  intptr_t Send(void*, uint32_t m, uintptr_t wp, intptr_t lp) override {
    sent.push_back({m, wp, lp});
    return 0;
  }
  void NotifyParent(void*, uint32_t m, uintptr_t wp, intptr_t lp) override {
    parent.push_back({m, wp, lp});
  }
  void Paint(GuiScrollBars*, int, uint32_t) override {}
  void SetTimer(void*, uint32_t ms) override { timers.push_back(ms); }
  void KillTimer(void*) override { timers.push_back(0); }
  bool BeginCapture(void*) override {
    ++captures;
    return hadCapture;
  }
  void EndCapture() override { ++releases; }
  bool PrimaryButtonDown() override { return buttonDown; }
  int WheelLines() override { return lines; }
  GuiScrollPieces Pieces(void*, int) override { return pieces; }
};

void* const kWindow = reinterpret_cast<void*>(0x1234);
const intptr_t kW = 0x1234;

uintptr_t Code(uint32_t code, int32_t pos) {
  return (code & 0xFFFF) | (static_cast<uint32_t>(pos & 0xFFFF) << 16);
}

class ScrollBarsTest : public ::testing::Test {
 protected:
  FakeHost host;
  GuiScrollBars* s = nullptr;
  void SetUp() override {
    GuiScrollSetHostForTests(&host);
    s = GuiScrollBarsCreate(kWindow, kScrollHasVertical);
    ASSERT_NE(s, nullptr);
  }
  void TearDown() override {
    GuiScrollBarsDestroy(s);
    GuiScrollSetHostForTests(nullptr);
  }
  // A shown vertical bar 16 wide and `height` high: arrows of 16, caps of 4.
  void Show(int32_t minimum, int32_t maximum, uint32_t page, int32_t pos, int32_t height = 200) {
    GuiScrollBarsEnable(s, 1, 1);
    GuiScrollRect client{0, 0, 116, height};
    GuiScrollBarsNcCalcSize(s, &client);
    GuiScrollInfo in{sizeof in, kSifRange | kSifPage | kSifPos, minimum, maximum, page, pos, 0};
    GuiScrollBarsSetInfo(s, 1, &in);
    host.sent.clear();
  }
  GuiScrollBarRecord& V() { return *s->vertical; }
};

TEST_F(ScrollBarsTest, ClampCutsPageAndPositionAndReportsOnlyCorrections) {
  struct Case {
    int32_t mn, mx;
    uint32_t page;
    int32_t pos;
    int32_t wantMax, wantPage, wantPos;
    bool corrected;
  } cases[] = {
      {0, 99, 10, 50, 99, 10, 50, false},  // valid
      {0, 99, 10, 95, 99, 10, 90, true},   // beyond the maximum position
      {0, 9, 50, 5, 9, 10, 0, true},       // page larger than the range
      {10, 3, 0, 0, 9, 0, 10, true},       // reversed range becomes empty
      {0, 99, 0, -4, 99, 0, 0, true},      // below the minimum
  };
  for (const Case& c : cases) {
    host.sent.clear();
    GuiScrollInfo in{sizeof in, kSifRange | kSifPage | kSifPos, c.mn, c.mx, c.page, c.pos, 0};
    ASSERT_EQ(GuiScrollBarsSetInfo(s, 1, &in), 1);
    GuiScrollInfo out{sizeof out, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(GuiScrollBarsGetInfo(s, 1, &out), 1);
    EXPECT_EQ(out.nMax, c.wantMax) << c.mx;
    EXPECT_EQ(out.nPage, static_cast<uint32_t>(c.wantPage)) << c.mx;
    EXPECT_EQ(out.nPos, c.wantPos) << c.mx;
    std::vector<Msg> want;
    if (c.corrected) want.push_back({kMsgPosCorrectedV, static_cast<uint32_t>(c.wantPos), kW});
    EXPECT_EQ(host.sent, want) << c.mx;
  }
}

TEST_F(ScrollBarsTest, BadBarsStatesAndOversizedInfoAreRefused) {
  GuiScrollInfo in{sizeof in, kSifPos, 0, 0, 0, 0, 0};
  EXPECT_EQ(GuiScrollBarsSetInfo(s, 0, &in), 0);  // no horizontal bar
  EXPECT_EQ(GuiScrollBarsSetInfo(s, 2, &in), 0);
  EXPECT_EQ(GuiScrollBarsSetInfo(nullptr, 1, &in), 0);
  EXPECT_EQ(GuiScrollBarsGetInfo(s, 1, nullptr), 0);
  EXPECT_EQ(GuiScrollBarsCreate(kWindow, 0), nullptr);
  // A caller claiming a larger structure gets only the record's fields.
  struct {
    GuiScrollInfo info;
    uint32_t guard[4];
  } big{};
  big.info.cbSize = 1000;
  big.guard[0] = 0xDEADBEEF;
  EXPECT_EQ(GuiScrollBarsGetInfo(s, 1, &big.info), 1);
  EXPECT_EQ(big.guard[0], 0xDEADBEEFu);
}

TEST_F(ScrollBarsTest, EnableTellsTheParentOnlyOnChange) {
  EXPECT_EQ(GuiScrollBarsEnable(s, 1, 5), 1);
  EXPECT_EQ(GuiScrollBarsEnable(s, 1, 1), 1);
  EXPECT_EQ(GuiScrollBarsEnable(s, 1, 0), 1);
  std::vector<Msg> want{{kMsgBarShown, 1, 1}, {kMsgBarShown, 1, 0}};
  EXPECT_EQ(host.parent, want);
  EXPECT_EQ(GuiScrollBarsEnable(s, 0, 1), 0);
}

TEST_F(ScrollBarsTest, LayoutKeepsTheThumbBetweenItsCapsAndTheTrack) {
  // track = 200 - 32 = 168; range 100.
  struct Case {
    int32_t mx;
    uint32_t page;
    int32_t pos;
    int32_t thumbTop, thumbLen;
  } cases[] = {
      {99, 10, 0, 16, 16},    // 10*168/100 = 16
      {99, 10, 90, 168, 16},  // at the maximum: offset 152
      {99, 1, 0, 16, 8},      // raised to the two caps
      {99, 500, 0, 16, 168},  // page cut to the range: the whole track
      {9999, 1, 5000, 96, 8},
  };
  for (const Case& c : cases) {
    Show(0, c.mx, c.page, c.pos);
    EXPECT_EQ(V().parts[kSpThumb].top, c.thumbTop) << c.mx << " " << c.page;
    EXPECT_EQ(V().parts[kSpThumb].bottom - V().parts[kSpThumb].top, c.thumbLen);
    EXPECT_EQ(V().parts[kSpTrackBefore].bottom, V().parts[kSpThumb].top);
    EXPECT_EQ(V().parts[kSpTrackAfter].top, V().parts[kSpThumb].bottom);
    EXPECT_EQ(V().parts[kSpTrackAfter].bottom, 184);
    EXPECT_EQ(V().parts[kSpThumb].left, 100);
  }
  EXPECT_EQ(GuiScrollBarsGetThickness(s, 1), 16);
  EXPECT_EQ(GuiScrollBarsHitTestAt(s, 105, 50), kHtVScroll);
  EXPECT_EQ(GuiScrollBarsHitTestAt(s, 99, 50), 0);
}

TEST_F(ScrollBarsTest, HeldPageStepsRepeatUntilTheThumbReachesTheCursor) {
  Show(0, 99, 10, 0);
  // Press on the track below the thumb at y 120.
  GuiScrollBarsButtonDownAt(s, kHtVScroll, 105, 120);
  EXPECT_EQ(V().info.nPos, 9);  // page step = page - line step
  EXPECT_EQ(s->pressedPart, kSpTrackAfter);
  std::vector<uint32_t> timers{kScrollFirstDelay};
  EXPECT_EQ(host.timers, timers);
  for (int i = 0; i < 20; ++i)
    GuiScrollBarsTimerAt(s, 105, 120);
  timers = {kScrollFirstDelay, 0, kScrollRepeatDelay};
  EXPECT_EQ(host.timers, timers);
  // The thumb stopped over the cursor, not at the end.
  EXPECT_LE(V().parts[kSpThumb].top, 120);
  EXPECT_GT(V().parts[kSpThumb].bottom, 120);
  EXPECT_LT(V().info.nPos, 90);
  int32_t held = V().info.nPos;
  std::vector<Msg> pages;
  for (int32_t p = 9; p <= held; p += 9)
    pages.push_back({kWmVScroll, Code(3, p), kW});
  EXPECT_EQ(host.sent, pages);
  host.sent.clear();
  GuiScrollBarsButtonUp(s);
  std::vector<Msg> end{{kWmVScroll, Code(8, held), 0}, {kWmVScroll, Code(8, held), kW}};
  EXPECT_EQ(host.sent, end);
  EXPECT_EQ(host.captures, 1);
  EXPECT_EQ(host.releases, 1);
  EXPECT_EQ(s->pressedPart, -1);
  EXPECT_EQ(V().pressed, 0u);
}

TEST_F(ScrollBarsTest, ArrowsStepByLinesAndStopAtTheEnds) {
  Show(0, 99, 10, 1);
  GuiScrollBarsSetLineStep(s, 1, 2);
  GuiScrollBarsButtonDownAt(s, kHtVScroll, 105, 5);  // first arrow
  GuiScrollBarsTimerAt(s, 105, 5);
  GuiScrollBarsButtonUp(s);
  std::vector<Msg> want{{kWmVScroll, Code(0, 0), kW},  // held at the minimum
                        {kWmVScroll, Code(8, 0), 0},
                        {kWmVScroll, Code(8, 0), kW}};
  EXPECT_EQ(host.sent, want);
  // A press outside every part releases the capture at once.
  host.hadCapture = false;
  GuiScrollBarsButtonDownAt(s, kHtVScroll, 5, 5);
  EXPECT_EQ(host.releases, 2);
  // A capture the window already had is not released by the engine.
  host.hadCapture = true;
  GuiScrollBarsButtonDownAt(s, kHtVScroll, 105, 195);
  GuiScrollBarsButtonUp(s);
  EXPECT_EQ(host.releases, 2);
}

TEST_F(ScrollBarsTest, ThumbDragFollowsTheMouseAndSendsDragMessages) {
  Show(0, 99, 10, 0);
  GuiScrollBarsButtonDownAt(s, kHtVScroll, 105, 20);  // thumb 16..32, grabbed 4 down
  EXPECT_EQ(s->pressedPart, kSpThumb);
  EXPECT_EQ(s->dragOffset, 4);
  GuiScrollBarsDragTo(s, 105, 96);  // offset 76 of 152 -> half of 90
  GuiScrollBarsDragTo(s, 105, 999);
  host.buttonDown = false;
  GuiScrollBarsDragTo(s, 105, 20);  // button already up: ignored
  std::vector<Msg> want{{kMsgThumbDragV, 45, kW}, {kMsgThumbDragV, 90, kW}};
  EXPECT_EQ(host.sent, want);
  EXPECT_EQ(V().info.nTrackPos, 90);
}

TEST_F(ScrollBarsTest, WheelKeepsItsRemainderAcrossCalls) {
  Show(0, 99, 10, 50);
  for (int i = 0; i < 3; ++i)
    GuiScrollBarsMouseWheel(s, 1, 40);
  EXPECT_EQ(V().info.nPos, 47);  // one notch of three lines on the third call
  EXPECT_EQ(host.sent.size(), 3u);
  host.sent.clear();
  GuiScrollBarsMouseWheel(s, 1, -250);
  EXPECT_EQ(V().info.nPos, 53);
  EXPECT_EQ(V().wheelRemainder, -10);
  EXPECT_EQ(host.sent.back(), (Msg{kWmVScroll, Code(1, 53), kW}));
  // Page mode scrolls a page per notch; a huge line count stops at the end.
  host.lines = kWheelPageScroll;
  host.sent.clear();
  GuiScrollBarsMouseWheel(s, 1, 130);  // with the -10 kept: one notch
  EXPECT_EQ(host.sent, (std::vector<Msg>{{kWmVScroll, Code(2, 44), kW}}));
  host.lines = 2000000000;
  GuiScrollBarsMouseWheel(s, 1, -120 * 200);
  EXPECT_EQ(V().info.nPos, 90);
}

TEST_F(ScrollBarsTest, RedrawOffDefersTheLayout) {
  Show(0, 99, 10, 0);
  GuiScrollBarsSetRedrawFlag(s, 0);
  GuiScrollInfo in{sizeof in, kSifPos, 0, 0, 0, 90, 0};
  GuiScrollBarsSetInfo(s, 1, &in);
  EXPECT_EQ(V().layoutPending, 1);
  EXPECT_EQ(V().parts[kSpThumb].top, 16);
}

}  // namespace
}  // namespace gui
