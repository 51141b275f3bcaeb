#pragma once
// The colour text view's content: paragraphs in their own colours and font
// styles, wrapped at word delimiters into lines of runs, and the link
// selection with its mouse and key navigation. The window side
// (win32/gui_colortext.cpp) measures text and keeps the rows through
// ColorTextHost.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace gui {

// Paragraph flags.
constexpr uint32_t kCtOwnColour = 0x1, kCtLink = 0x10, kCtItalic = 0x100, kCtBold = 0x200;

// The record a caller passes; the view keeps a copy whose text points at
// the view's own copy of the text.
struct ColorTextParagraph {
  uint32_t colour;  // COLORREF, with kCtOwnColour
  const char* text;
  uint32_t word2, word3;
  uintptr_t userData;
  uint32_t flags;
};

struct ColorTextLine {
  int32_t index;
  int32_t runCount;
  const ColorTextParagraph* paragraph;  // of its first run
  int32_t width;                        // pixels used
  int32_t firstRun;
};

struct ColorTextRun {
  int32_t index;
  const char* text;  // into the paragraph's text
  int32_t x;
  const ColorTextParagraph* paragraph;
  int32_t width;  // with the run gap when it ends its paragraph
  int32_t length;
  int32_t selected;  // 16 while part of the selected link
  int32_t part;      // 0 for a paragraph's first run
  int32_t line;
};

class ColorTextHost {
 public:
  virtual ~ColorTextHost() = default;
  // Characters of text[0..length) that fit in maxWidth in the paragraph's
  // font; *width gets their width.
  virtual int32_t FitText(uint32_t flags, const char* text, int32_t length, int32_t maxWidth,
                          int32_t* width) = 0;
  virtual int32_t TextWidth(uint32_t flags, const char* text, int32_t length) = 0;
  // A new line became a row; false when the view cannot take it.
  virtual bool LineAdded(int32_t line) = 0;
  virtual void LinesCleared() = 0;
  virtual void RedrawLine(int32_t line) = 0;
  virtual void EnsureLineVisible(int32_t line) = 0;
};

// Where a fitted text breaks.
enum class ColorTextFit { kFits, kWordBreak, kForced };
struct ColorTextFitResult {
  ColorTextFit kind;
  int32_t length;
  int32_t width;
};

class ColorTextModel {
 public:
  explicit ColorTextModel(ColorTextHost* host);

  // The view's width; a change while lines are being laid out stops that
  // layout after its line, and the text is laid out again afterwards.
  void SetViewWidth(int32_t width);
  int32_t viewWidth() const { return viewWidth_; }
  int32_t runGap() const { return runGap_; }
  int32_t SetRunGap(int32_t gap);
  const std::string& delimiters() const { return delimiters_; }
  // Replaced when the text has at least minLength characters; its length or 0.
  int32_t SetDelimiters(const char* text, int32_t minLength);

  ColorTextFitResult Fit(uint32_t flags, const char* text, int32_t length, int32_t width);

  void Append(const ColorTextParagraph& paragraph);
  void Relayout();
  void Clear();

  int32_t paragraphCount() const { return static_cast<int32_t>(paragraphs_.size()); }
  const std::vector<ColorTextLine>& lines() const { return lines_; }
  const std::vector<ColorTextRun>& runs() const { return runs_; }
  const ColorTextParagraph* selected() const { return selected_; }
  int32_t selectedFirstLine() const { return selFirstLine_; }
  int32_t selectedLineCount() const { return selLines_; }
  int32_t selectedRunCount() const { return selRuns_; }

  // The run of a line under x, or -1.
  int32_t RunAt(int32_t line, int32_t x) const;
  // A press at x on a line: true when a link became selected.
  bool Click(int32_t line, int32_t x);
  // Selects the link of a run; false when the run is not a link's.
  bool SelectRun(int32_t run);
  // Selects a paragraph given back by the caller: true when it is selected.
  bool SelectParagraph(const ColorTextParagraph* paragraph);
  void ClearSelection();
  // Arrow, Home and End keys: true when another link became selected.
  bool Navigate(uint32_t vk);
  // 0 equal text, 1 contains, 2 contains ignoring case, 3 user data equals.
  const ColorTextParagraph* Find(int mode, const char* key, uintptr_t userData) const;

 private:
  struct Stored {
    ColorTextParagraph record;
    std::string text;
  };
  bool NewLine();
  bool LayOut(const ColorTextParagraph* p);
  void AddRun(const ColorTextParagraph* p, const char* text, int32_t length, int32_t width,
              int32_t part);
  bool IsLinkRun(int32_t run) const;

  ColorTextHost* host_;
  std::vector<std::unique_ptr<Stored>> paragraphs_;
  std::vector<ColorTextLine> lines_;
  std::vector<ColorTextRun> runs_;
  std::string delimiters_ = " \t\r\n";
  int32_t viewWidth_ = 0;
  int32_t runGap_ = 6;
  const ColorTextParagraph* selected_ = nullptr;
  int32_t selFirstLine_ = -1, selLines_ = 0, selRuns_ = 0;
  bool layingOut_ = false, widthChanged_ = false;
};

}  // namespace gui
