#include "gui/color_text_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace gui {
namespace {

// Every character is 10 pixels wide, 12 in bold.
class FakeHost : public ColorTextHost {
 public:
  std::vector<int32_t> redrawn;
  int32_t visible = -1;
  int32_t rows = 0;
  int32_t narrowAtRow = -1;  // the view narrows (a bar appears) when this row is added
  ColorTextModel* model = nullptr;
  static int32_t Cw(uint32_t flags) { return flags & kCtBold ? 12 : 10; }
  int32_t FitText(uint32_t flags, const char*, int32_t length, int32_t maxWidth,
                  int32_t* width) override {
    int32_t n = std::min(length, maxWidth / Cw(flags));
    *width = n * Cw(flags);
    return n;
  }
  int32_t TextWidth(uint32_t flags, const char*, int32_t length) override {
    return length * Cw(flags);
  }
  bool LineAdded(int32_t line) override {
    ++rows;
    if (line == narrowAtRow && model) model->SetViewWidth(model->viewWidth() - 40);
    return true;
  }
  void LinesCleared() override { rows = 0; }
  void RedrawLine(int32_t line) override { redrawn.push_back(line); }
  void EnsureLineVisible(int32_t line) override { visible = line; }
};

ColorTextParagraph Para(const char* text, uint32_t flags = 0, uintptr_t user = 0) {
  return ColorTextParagraph{0, text, 0, 0, user, flags};
}

// Each line as "text|text" of its runs.
std::vector<std::string> Lines(const ColorTextModel& m) {
  std::vector<std::string> out;
  for (const ColorTextLine& l : m.lines()) {
    std::string s;
    for (int32_t k = 0; k < l.runCount; ++k) {
      const ColorTextRun& r = m.runs()[l.firstRun + k];
      s += (k ? "|" : "") + std::string(r.text, r.length);
    }
    out.push_back(s);
  }
  return out;
}

using Strings = std::vector<std::string>;

TEST(ColorTextModel, FitBreaksAtTheLastDelimiterThatFits) {
  FakeHost host;
  ColorTextModel m(&host);
  struct Case {
    const char* text;
    int32_t width;
    ColorTextFit kind;
    int32_t length, measured;
  } cases[] = {
      {"tile rack", 200, ColorTextFit::kFits, 9, 90},
      {"tile rack", 75, ColorTextFit::kWordBreak, 5, 50},  // "tile " (7 fit)
      {"tile rack", -1, ColorTextFit::kForced, 0, 0},
      {"tile rack", 5, ColorTextFit::kForced, 0, 0},
      {"tileracks", 75, ColorTextFit::kForced, 7, 0},  // no delimiter
      {"a bcdefg", 15, ColorTextFit::kForced, 1, 0},   // fewer than 3 fit
      {"ab cd", 40, ColorTextFit::kWordBreak, 3, 30},  // the break point is a delimiter
  };
  for (const Case& c : cases) {
    ColorTextFitResult r =
        m.Fit(0, c.text, static_cast<int32_t>(std::string(c.text).size()), c.width);
    EXPECT_EQ(r.kind, c.kind) << c.text << " " << c.width;
    EXPECT_EQ(r.length, c.length) << c.text << " " << c.width;
    EXPECT_EQ(r.width, c.measured) << c.text << " " << c.width;
  }
}

TEST(ColorTextModel, ShortParagraphsShareALineAndLongOnesWrap) {
  FakeHost host;
  ColorTextModel m(&host);
  m.SetViewWidth(200);
  m.Append(Para("Ada"));
  m.Append(Para("played"));
  EXPECT_EQ(Lines(m), Strings{"Ada|played"});
  EXPECT_EQ(m.runs()[1].x, 30 + 6);  // after the first run and its gap
  m.Append(Para("the word quixotic for ninety points"));
  // The break point sits on a delimiter, which then starts the next line.
  EXPECT_EQ(Lines(m), (Strings{"Ada|played|the word ", "quixotic for ninety", " points"}));
  EXPECT_EQ(m.runs()[2].part, 0);
  EXPECT_EQ(m.runs()[4].part, 2);
  // Bold text is measured in its own font.
  m.SetViewWidth(100);
  m.Clear();
  m.Append(Para("bold words here", kCtBold));
  EXPECT_EQ(Lines(m), (Strings{"bold ", "words ", "here"}));
}

TEST(ColorTextModel, WordsWiderThanALineAreCutAndTinyViewsStop) {
  FakeHost host;
  ColorTextModel m(&host);
  m.SetViewWidth(66);  // 6 characters after the gap
  m.Append(Para("abcdefghijklmno"));
  EXPECT_EQ(Lines(m), (Strings{"abcdef", "ghijkl", "mno"}));
  m.Clear();
  m.SetViewWidth(40);  // three characters: nothing is laid out, and the layout ends
  m.Append(Para("abcdefgh"));
  EXPECT_EQ(Lines(m), Strings{""});
}

TEST(ColorTextModel, ResizeRewrapsAndKeepsTheSelectedLink) {
  FakeHost host;
  ColorTextModel m(&host);
  m.SetViewWidth(350);
  m.Append(Para("Moves:"));
  m.Append(Para("H8 across QUIZ", kCtLink, 11));
  m.Append(Para("7F down AXE", kCtLink, 12));
  ASSERT_EQ(Lines(m), (Strings{"Moves:|H8 across QUIZ|7F down AXE"}));
  EXPECT_FALSE(m.Click(0, 10));  // not a link
  EXPECT_TRUE(m.Click(0, 250));
  EXPECT_EQ(m.selected()->userData, 12u);
  EXPECT_FALSE(m.Click(0, 250));  // already selected
  m.SetViewWidth(150);
  m.Relayout();
  EXPECT_EQ(Lines(m), (Strings{"Moves:|H8 ", "across QUIZ", "7F down AXE"}));
  EXPECT_EQ(m.selected()->userData, 12u);
  EXPECT_EQ(m.selectedFirstLine(), 2);
  EXPECT_EQ(host.visible, 2);
  // A link over two lines: both runs are selected and both lines repainted.
  host.redrawn.clear();
  EXPECT_TRUE(m.Navigate(0x25));  // left
  EXPECT_EQ(m.selected()->userData, 11u);
  EXPECT_EQ(m.selectedRunCount(), 2);
  EXPECT_EQ(m.selectedLineCount(), 2);
  EXPECT_EQ(host.redrawn, (std::vector<int32_t>{2, 0, 1}));
}

TEST(ColorTextModel, KeysMoveBetweenLinks) {
  FakeHost host;
  ColorTextModel m(&host);
  m.SetViewWidth(166);  // 16 characters a line
  m.Append(Para("alpha", kCtLink, 1));
  m.Append(Para("beta", kCtLink, 2));
  m.Append(Para("plaintext here", kCtLink, 9));
  m.Append(Para("gamma", kCtLink, 3));
  m.Append(Para("delta", kCtLink, 4));
  ASSERT_EQ(Lines(m), (Strings{"alpha|beta", "plaintext here", "gamma|delta"}));
  EXPECT_FALSE(m.Navigate(0x28));  // no selection yet
  ASSERT_TRUE(m.SelectParagraph(m.Find(3, nullptr, 1)));
  struct Step {
    uint32_t vk;
    bool moved;
    uintptr_t selected;
  } steps[] = {
      {0x27, true, 2},   // right
      {0x28, true, 9},   // down
      {0x28, true, 4},   // down: the link nearest the centre
      {0x28, false, 4},  // down from the last line
      {0x26, true, 9},   // up
      {0x23, true, 4},   // end
      {0x24, true, 1},   // home
      {0x25, false, 1},  // left of the first link
      {0x21, false, 1},  // page up has no target
  };
  for (const Step& s : steps) {
    EXPECT_EQ(m.Navigate(s.vk), s.moved) << s.vk;
    EXPECT_EQ(m.selected()->userData, s.selected) << s.vk;
  }
  m.SelectParagraph(nullptr);
  EXPECT_EQ(m.selected(), nullptr);
}

TEST(ColorTextModel, FindModesLeaveTextsAlone) {
  FakeHost host;
  ColorTextModel m(&host);
  m.SetViewWidth(500);
  m.Append(Para("Quixotic", 0, 5));
  char key[] = "XOT";
  const ColorTextParagraph* p = m.Find(2, key, 0);
  ASSERT_NE(p, nullptr);
  EXPECT_STREQ(p->text, "Quixotic");
  EXPECT_STREQ(key, "XOT");
  EXPECT_EQ(m.Find(1, "XOT", 0), nullptr);
  EXPECT_EQ(m.Find(0, "Quixotic", 0), p);
  EXPECT_EQ(m.Find(0, "", 0), nullptr);
  EXPECT_EQ(m.Find(3, nullptr, 5), p);
  EXPECT_EQ(m.Find(4, "Q", 0), nullptr);
}

TEST(ColorTextModel, AViewThatNarrowsDuringLayoutIsLaidOutAgain) {
  FakeHost host;
  ColorTextModel m(&host);
  host.model = &m;
  host.narrowAtRow = 1;  // the second line brings a bar
  m.SetViewWidth(206);
  m.Append(Para("one two three four five six seven eight nine ten eleven twelve"));
  for (const ColorTextLine& l : m.lines())
    EXPECT_LE(l.width, 166 + 6);
  EXPECT_EQ(static_cast<int32_t>(m.lines().size()), host.rows);
}

}  // namespace
}  // namespace gui
