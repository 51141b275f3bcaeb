// The widgets' portable rules: spin ranges, steps and typing; the button's
// image choice; the animated button's markup, names, mask and frame cache.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "gui/anim_button_model.h"
#include "gui/bmp_button_model.h"
#include "gui/gui_memory.h"
#include "gui/spin_model.h"

namespace gui {
namespace {

TEST(SpinModel, CaptionRanges) {
  struct Case {
    const char* caption;
    int32_t min, max, value, step;
  } cases[] = {
      {"", 0, 100, 0, 1},          {"1:999:1:1", 1, 999, 1, 1},
      {"0:32:1:1", 0, 32, 1, 1},   {"5:5:3:2", 0, 100, 0, 2},
      {"0 10, 4:0", 0, 10, 4, 1},  {"-10:10:-3:1", -10, 10, -3, 1},
      {"0:10:50:1", 0, 10, 10, 1}, {"10:0:5:1", 0, 10, 5, 1},
      {"1:9:x", 1, 9, 1, 1},       {"0:99999999999:5", 0, INT32_MAX, 5, 1},
  };
  for (const Case& c : cases) {
    SpinRange r = SpinParseCaption(c.caption);
    EXPECT_EQ(r.minimum, c.min) << c.caption;
    EXPECT_EQ(r.maximum, c.max) << c.caption;
    EXPECT_EQ(r.value, c.value) << c.caption;
    EXPECT_EQ(r.step, c.step) << c.caption;
  }
}

TEST(SpinModel, Steps) {
  struct Case {
    int32_t min, value, max, step;
    int code;
    int32_t want;
  } cases[] = {
      {0, 95, 100, 1, kSpinPageUp, 100},
      {0, 50, 100, 1, kSpinPageUp, 60},
      {0, 99, 100, 1, kSpinLineUp, 100},
      {0, 100, 100, 1, kSpinLineUp, 100},
      {0, 1, 100, 5, kSpinLineDown, 0},
      {0, 12, 100, 1, kSpinPageDown, 2},
      {0, 5, 100, 1, kSpinPageDown, 0},
      {3, 50, 9, 1, kSpinTop, 3},
      {3, 5, 9, 1, kSpinBottom, 9},
      {0, 5, 9, 1, 4, 5},
      // Wide sums: a huge step near the top never wraps to a negative value.
      {0, INT32_MAX - 1, INT32_MAX, INT32_MAX, kSpinLineUp, INT32_MAX},
      {INT32_MIN, INT32_MIN + 1, 0, INT32_MAX, kSpinPageDown, INT32_MIN},
  };
  for (const Case& c : cases) {
    SpinRange r{c.min, c.value, c.max, c.step};
    EXPECT_EQ(SpinStep(r, c.code), c.want) << c.value << " code " << c.code;
  }
}

TEST(SpinModel, TypedTextAndKeys) {
  struct Case {
    const char* typed;
    int32_t minimum;
    const char* cleaned;
    bool changed;
    int32_t value;
  } cases[] = {
      {"-5", -10, "-5", false, -5},   {"5-", -10, "5", true, 5}, {"-5", 0, "5", true, 5},
      {"07", 0, "7", true, 7},        {"0", 0, "0", false, 0},   {"1-2-3", 0, "123", true, 123},
      {"12.7", 0, "12.7", false, 12}, {"", 0, "", false, 0},
  };
  for (const Case& c : cases) {
    char text[16];
    std::snprintf(text, sizeof text, "%s", c.typed);
    EXPECT_EQ(SpinCleanText(text, c.minimum), c.changed) << c.typed;
    EXPECT_STREQ(text, c.cleaned) << c.typed;
    EXPECT_EQ(SpinTextValue(text), c.value) << c.typed;
  }
  for (char ch : std::string("0123456789-.\b"))
    EXPECT_TRUE(SpinAcceptsChar(ch)) << int(ch);
  for (char ch : std::string("aZ +e,"))
    EXPECT_FALSE(SpinAcceptsChar(ch)) << ch;
  EXPECT_EQ(SpinKeyScroll(0x21), kSpinPageUp);
  EXPECT_EQ(SpinKeyScroll(0x23), kSpinBottom);
  EXPECT_EQ(SpinKeyScroll(0x28), kSpinLineDown);
  EXPECT_EQ(SpinKeyScroll(0x25), -1);  // Left goes to the edit
}

TEST(SpinModel, SetRangeMessage) {
  SpinRange r = SpinParseCaption("0:100:50:1");
  SpinSetRange(&r, (20u << 16) | 0u, true, 0);  // keep: 50 -> 20
  EXPECT_EQ(r.value, 20);
  SpinSetRange(&r, (static_cast<uint32_t>(10) << 16) | 0xFFF6u, false, -3);  // -10..10
  EXPECT_EQ(r.minimum, -10);
  EXPECT_EQ(r.value, -3);
  EXPECT_EQ(SpinPackedRange(r), (10u << 16) | 0xFFF6u);
  SpinSetRange(&r, (0xFFF6u << 16) | 10u, false, 99);  // bounds given backwards
  EXPECT_EQ(r.minimum, -10);
  EXPECT_EQ(r.maximum, 10);
  EXPECT_EQ(r.value, 10);
}

TEST(BmpButtonModel, KindsAndSlotChoice) {
  EXPECT_EQ(BmpButtonKind(0), kKindPush);
  EXPECT_EQ(BmpButtonKind(3), kKindCheck);
  EXPECT_EQ(BmpButtonKind(9), kKindRadio);
  EXPECT_EQ(BmpButtonKind(7), kKindGroup);
  EXPECT_TRUE(BmpButtonDrawsAsPush(3 | kBtnPushLike));
  EXPECT_FALSE(BmpButtonDrawsAsPush(3));

  int a, b, c, d, e, f;
  void* all[kButtonSlots] = {&a, &b, &c, &d, &e, &f};
  void* noFocusNoFive[kButtonSlots] = {&a, &b, &c, nullptr, &e, nullptr};
  void* onlyNormal[kButtonSlots] = {&a, nullptr, nullptr, nullptr, nullptr, nullptr};
  struct Case {
    uint32_t flags;
    bool disabled;
    void* const* slots;
    int want;
  } cases[] = {
      {0, false, all, 0},
      {kBtnPushed, false, all, 1},
      {kBtnChecked, true, all, 5},
      {kBtnChecked, true, noFocusNoFive, 2},
      {kBtnFocused, false, all, 3},
      {kBtnFocused, true, noFocusNoFive, 2},
      {kBtnChecked | kBtnHover, true, all, 4},
      {kBtnPushed, false, onlyNormal, -1},  // an empty slot draws nothing
  };
  for (const Case& k : cases)
    EXPECT_EQ(BmpButtonChooseSlot(k.flags, k.disabled, k.slots), k.want)
        << std::hex << k.flags << " disabled " << k.disabled;
  EXPECT_EQ(BmpButtonShortSlot(kBtnChecked, true), 2);
  EXPECT_EQ(BmpButtonShortSlot(kBtnFocused, false), 0);
  BtnPoint p = BmpButtonTextOrigin(80, 23, 40, 13, 1, -1, true);
  EXPECT_EQ(p.x, 21);
  EXPECT_EQ(p.y, 5 - 1 + 1);
  p = BmpButtonTextOrigin(20, 10, 60, 30, 0, 0, false);  // wider text starts at the edge
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 0);
}

TEST(AnimButtonModel, CaptionMarkup) {
  AnimCaption c = AnimParseCaption("{p:93,616 s:124,98 d:anim n:Conundrum%02d.bmp #:30 r:20}");
  EXPECT_EQ(c.frames, 30);
  EXPECT_EQ(c.rate, 20);
  EXPECT_STREQ(c.dataName, "anim");
  EXPECT_STREQ(c.pattern, "Conundrum%02d.bmp");
  struct Case {
    const char* caption;
    int32_t frames, rate;
    const char* pattern;
  } cases[] = {
      {"Play", 1, 1, ""},                            // no markup
      {"{n:a%d.bmp #:0 r:0}", 1, 1, "a%d.bmp"},      // zero count and rate
      {"{n:a%d.bmp #:500 r:-4}", 40, 1, "a%d.bmp"},  // more frames than the cache
      {"{n:a%s.bmp #:3}", 3, 1, ""},                 // a string conversion is refused
      {"{n:a%d%d.bmp}", 1, 1, ""},                   // two conversions
      {"{n:100%%_%03x.bmp r:9999}", 1, 1000, "100%%_%03x.bmp"},
      {"{x #:5 q r:2}", 5, 2, ""},  // keys without values are skipped
  };
  for (const Case& k : cases) {
    AnimCaption a = AnimParseCaption(k.caption);
    EXPECT_EQ(a.frames, k.frames) << k.caption;
    EXPECT_EQ(a.rate, k.rate) << k.caption;
    EXPECT_STREQ(a.pattern, k.pattern) << k.caption;
  }
  char name[64];
  ASSERT_TRUE(AnimFrameName("Conundrum%02d.bmp", 7, name, sizeof name));
  EXPECT_STREQ(name, "Conundrum07.bmp");
  EXPECT_FALSE(AnimFrameName("x%s", 7, name, sizeof name));
  EXPECT_FALSE(AnimFrameName("Conundrum%02d.bmp", 7, name, 8));  // does not fit
  ASSERT_TRUE(AnimSuffixName("Conundrum%02d.bmp", "_off", name, sizeof name));
  EXPECT_STREQ(name, "Conundrum_off.bmp");
  ASSERT_TRUE(AnimSuffixName("plain.bmp", "_mask", name, sizeof name));
  EXPECT_STREQ(name, "_mask.bmp");
}

TEST(AnimButtonModel, MaskHitByDepth) {
  for (int bits : {8, 16, 24, 32}) {
    PackedDIB* m = DIBCreate(4, 3, bits);
    ASSERT_NE(m, nullptr);
    // Key colour everywhere but (1, 2).
    uint32_t key = bits == 8 ? 0 : bits == 16 ? 0x7C1F : bits == 24 ? 0xFF00FF : 0xFFFFFF;
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 4; ++x) {
        uint8_t* p = DIBPixelPtr(m, x, y);
        uint32_t v = (x == 1 && y == 2) ? 0x123456 : key;
        for (int i = 0; i < bits / 8; ++i)
          p[i] = static_cast<uint8_t>(v >> (8 * i));
      }
    EXPECT_TRUE(AnimMaskHit(m, 1, 2)) << bits;
    EXPECT_FALSE(AnimMaskHit(m, 0, 0)) << bits;
    EXPECT_FALSE(AnimMaskHit(m, 4, 0)) << bits;
    EXPECT_FALSE(AnimMaskHit(m, -1, 2)) << bits;
    GlobalFreePtr(m);
  }
  EXPECT_FALSE(AnimMaskHit(nullptr, 0, 0));
}

int g_loads = 0;
PackedDIB* LoadFake(const char* name, void* ctx) {
  ++g_loads;
  if (ctx && std::strstr(name, static_cast<const char*>(ctx))) return nullptr;  // missing frame
  return DIBCreate(2, 2, 24);
}

TEST(AnimButtonModel, FrameCacheKeysAndOwnership) {
  g_loads = 0;
  AnimFrameCache cache;
  PackedDIB* f3 = cache.Get("Conundrum%02d.bmp", 3, LoadFake, nullptr);
  ASSERT_NE(f3, nullptr);
  EXPECT_EQ(cache.Get("Conundrum%02d.bmp", 3, LoadFake, nullptr), f3);  // shared
  EXPECT_EQ(g_loads, 1);
  // Same first three and last characters: another pattern all the same.
  PackedDIB* other = cache.Get("Con_other%02d.bmp", 3, LoadFake, nullptr);
  EXPECT_NE(other, nullptr);
  EXPECT_EQ(g_loads, 2);
  EXPECT_EQ(cache.Get("Conundrum%02d.bmp", 40, LoadFake, nullptr), nullptr);  // past the cache
  EXPECT_EQ(cache.Get("Conundrum%02d.bmp", -1, LoadFake, nullptr), nullptr);
  EXPECT_EQ(cache.Get("Conundrum%02d.bmp", 5, LoadFake, const_cast<char*>("05")), nullptr);
  // A handed frame joins an entry already holding the pattern's frame: the
  // copy is freed (the sanitizer would see a leak otherwise).
  PackedDIB* mine = DIBCreate(2, 2, 24);
  EXPECT_EQ(cache.Put("Con_other%02d.bmp", 3, mine), other);
  PackedDIB* taken = cache.Take("Con_other%02d.bmp", 3);
  EXPECT_EQ(taken, other);
  EXPECT_EQ(cache.Take("Con_other%02d.bmp", 3), nullptr);
  GlobalFreePtr(taken);
  cache.Get("Conundrum%02d.bmp", 4, LoadFake, nullptr);
  EXPECT_EQ(cache.Count(), 1);
  cache.Release("Conundrum%02d.bmp");
  EXPECT_EQ(cache.Count(), 0);
}

}  // namespace
}  // namespace gui
