#include "gui/color_text_model.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

namespace gui {

namespace {
constexpr int32_t kSelectedRun = 16;
constexpr uint32_t kVkEnd = 0x23, kVkHome = 0x24, kVkLeft = 0x25, kVkUp = 0x26, kVkRight = 0x27,
                   kVkDown = 0x28;
// A word no line can hold is cut when more than this many characters fit.
constexpr int32_t kMinForcedCut = 3;

bool ContainsNoCase(const char* text, const char* key) {
  size_t n = std::strlen(key);
  for (const char* p = text; *p; ++p) {
    size_t i = 0;
    while (i < n && p[i] &&
           std::tolower(static_cast<unsigned char>(p[i])) ==
               std::tolower(static_cast<unsigned char>(key[i])))
      ++i;
    if (i == n) return true;
  }
  return false;
}
}  // namespace

ColorTextModel::ColorTextModel(ColorTextHost* host) : host_(host) {}

void ColorTextModel::SetViewWidth(int32_t width) {
  if (width == viewWidth_) return;
  viewWidth_ = width;
  if (layingOut_) widthChanged_ = true;
}

int32_t ColorTextModel::SetRunGap(int32_t gap) {
  int32_t old = runGap_;
  runGap_ = gap;
  return old;
}

int32_t ColorTextModel::SetDelimiters(const char* text, int32_t minLength) {
  if (!text) return 0;
  size_t n = std::strlen(text);
  if (n < static_cast<size_t>(std::max(minLength, 0))) return 0;
  delimiters_ = text;
  return static_cast<int32_t>(n);
}

ColorTextFitResult ColorTextModel::Fit(uint32_t flags, const char* text, int32_t length,
                                       int32_t width) {
  ColorTextFitResult forced{ColorTextFit::kForced, 0, 0};
  if (width < 0 || length <= 0) return forced;
  int32_t measured = 0;
  int32_t n = host_->FitText(flags, text, length, width, &measured);
  if (n < 1) return forced;
  if (n >= length) return {ColorTextFit::kFits, length, measured};
  forced.length = n;
  auto delimiter = [this](char c) { return c && delimiters_.find(c) != std::string::npos; };
  int32_t bp = n;
  for (;;) {
    if (!delimiter(text[bp]))
      while (bp > 0 && !delimiter(text[bp - 1]))
        --bp;
    if (bp <= 0 || n < kMinForcedCut) return forced;
    int32_t w = host_->TextWidth(flags, text, bp);
    if (w <= width) return {ColorTextFit::kWordBreak, bp, w};
    --bp;
  }
}

void ColorTextModel::AddRun(const ColorTextParagraph* p, const char* text, int32_t length,
                            int32_t width, int32_t part) {
  ColorTextLine& line = lines_.back();
  ColorTextRun r{};
  r.index = static_cast<int32_t>(runs_.size());
  r.text = text;
  r.x = line.width;
  r.paragraph = p;
  r.width = width;
  r.length = length;
  r.part = part;
  r.line = line.index;
  if (line.runCount == 0) {
    line.firstRun = r.index;
    line.paragraph = p;
  }
  ++line.runCount;
  line.width += width;
  runs_.push_back(r);
}

bool ColorTextModel::NewLine() {
  ColorTextLine line{};
  line.index = static_cast<int32_t>(lines_.size());
  line.firstRun = static_cast<int32_t>(runs_.size());
  lines_.push_back(line);
  if (!host_->LineAdded(line.index)) {
    lines_.pop_back();
    return false;
  }
  return true;
}

// Lays a paragraph out from the end of the last line. False when the layout
// must end: a line could not be added, the view changed its width, or
// nothing of the text fits an empty line.
bool ColorTextModel::LayOut(const ColorTextParagraph* p) {
  const char* text = p->text;
  int32_t left = static_cast<int32_t>(std::strlen(text));
  int32_t part = 0;
  for (;;) {
    ColorTextLine& line = lines_.back();
    ColorTextFitResult f = Fit(p->flags, text, left, viewWidth_ - line.width - runGap_);
    if (f.kind == ColorTextFit::kFits) {
      AddRun(p, text, f.length, f.width + runGap_, part);
      return true;
    }
    if (f.kind == ColorTextFit::kForced && lines_.back().runCount == 0) {
      // A word wider than a whole line is cut where it stops fitting.
      if (f.length <= kMinForcedCut) return false;
      f.width = host_->TextWidth(p->flags, text, f.length);
      f.kind = ColorTextFit::kWordBreak;
    }
    if (f.kind == ColorTextFit::kWordBreak) {
      AddRun(p, text, f.length, f.width, part);
      text += f.length;
      left -= f.length;
      ++part;
    }
    host_->RedrawLine(lines_.back().index);
    if (!NewLine()) return false;
    if (widthChanged_) return false;
  }
}

void ColorTextModel::Append(const ColorTextParagraph& paragraph) {
  auto stored = std::make_unique<Stored>();
  stored->record = paragraph;
  stored->text = paragraph.text ? paragraph.text : "";
  stored->record.text = stored->text.c_str();
  const ColorTextParagraph* p = &stored->record;
  paragraphs_.push_back(std::move(stored));
  layingOut_ = true;
  bool ok = lines_.empty() || lines_.back().width >= viewWidth_ ? NewLine() : true;
  if (ok && LayOut(p)) host_->RedrawLine(lines_.back().index);
  layingOut_ = false;
  if (widthChanged_) Relayout();
}

void ColorTextModel::Relayout() {
  if (layingOut_) {
    widthChanged_ = true;
    return;
  }
  widthChanged_ = false;
  if (paragraphs_.empty()) return;
  const ColorTextParagraph* keep = selected_;
  ClearSelection();
  lines_.clear();
  runs_.clear();
  host_->LinesCleared();
  if (viewWidth_ > 16) {
    layingOut_ = true;
    for (const auto& s : paragraphs_) {
      const ColorTextParagraph* p = &s->record;
      bool ok = lines_.empty() || lines_.back().width >= viewWidth_ ? NewLine() : true;
      if (!ok || !LayOut(p)) break;
    }
    layingOut_ = false;
    if (!lines_.empty()) host_->RedrawLine(lines_.back().index);
  }
  if (widthChanged_) {
    // The view changed its width under the layout (a bar came or went).
    Relayout();
    return;
  }
  if (keep && SelectParagraph(keep)) host_->EnsureLineVisible(selFirstLine_);
}

void ColorTextModel::Clear() {
  paragraphs_.clear();
  lines_.clear();
  runs_.clear();
  selected_ = nullptr;
  selFirstLine_ = -1;
  selLines_ = selRuns_ = 0;
  host_->LinesCleared();
}

int32_t ColorTextModel::RunAt(int32_t line, int32_t x) const {
  if (line < 0 || line >= static_cast<int32_t>(lines_.size())) return -1;
  const ColorTextLine& l = lines_[line];
  for (int32_t k = 0; k < l.runCount; ++k) {
    const ColorTextRun& r = runs_[l.firstRun + k];
    if (x >= r.x && x < r.x + r.width) return r.index;
  }
  return -1;
}

bool ColorTextModel::IsLinkRun(int32_t run) const {
  return run >= 0 && run < static_cast<int32_t>(runs_.size()) &&
         (runs_[run].paragraph->flags & kCtLink);
}

void ColorTextModel::ClearSelection() {
  if (!selected_) return;
  int32_t lastLine = -1;
  for (ColorTextRun& r : runs_)
    if (r.selected) {
      r.selected = 0;
      if (r.line != lastLine) host_->RedrawLine(lastLine = r.line);
    }
  selected_ = nullptr;
  selFirstLine_ = -1;
  selLines_ = selRuns_ = 0;
}

bool ColorTextModel::SelectRun(int32_t run) {
  if (!IsLinkRun(run)) return false;
  ClearSelection();
  int32_t first = std::max(run - runs_[run].part, 0);
  const ColorTextParagraph* p = runs_[run].paragraph;
  int32_t lastLine = -1, part = -1;
  for (int32_t i = first; i < static_cast<int32_t>(runs_.size()); ++i) {
    ColorTextRun& r = runs_[i];
    if (r.paragraph != p || r.part <= part) break;
    part = r.part;
    r.selected = kSelectedRun;
    ++selRuns_;
    if (r.line != lastLine) {
      if (selFirstLine_ < 0) selFirstLine_ = r.line;
      ++selLines_;
      host_->RedrawLine(lastLine = r.line);
    }
  }
  selected_ = p;
  return true;
}

bool ColorTextModel::SelectParagraph(const ColorTextParagraph* paragraph) {
  if (!paragraph) {
    ClearSelection();
    return false;
  }
  if (paragraph == selected_) return true;
  for (const ColorTextRun& r : runs_)
    if (r.paragraph == paragraph) return SelectRun(r.index);
  return false;
}

bool ColorTextModel::Click(int32_t line, int32_t x) {
  int32_t run = RunAt(line, x);
  if (run < 0 || runs_[run].selected || !IsLinkRun(run)) return false;
  return SelectRun(run);
}

bool ColorTextModel::Navigate(uint32_t vk) {
  if (!selected_ || runs_.empty()) return false;
  int32_t n = static_cast<int32_t>(runs_.size());
  int32_t first = -1, last = -1;
  for (int32_t i = 0; i < n; ++i)
    if (runs_[i].selected) {
      if (first < 0) first = i;
      last = i;
    }
  if (first < 0) return false;
  auto before = [this](int32_t from) {
    for (int32_t i = from; i >= 0; --i)
      if (IsLinkRun(i)) return i;
    return -1;
  };
  auto after = [this, n](int32_t from) {
    for (int32_t i = std::max(from, 0); i < n; ++i)
      if (IsLinkRun(i)) return i;
    return -1;
  };
  int32_t target = -1;
  switch (vk) {
    case kVkEnd:
      target = before(n - 1);
      break;
    case kVkHome:
      target = after(0);
      break;
    case kVkLeft:
      target = before(first - 1);
      break;
    case kVkRight:
      target = after(last + 1);
      break;
    case kVkUp:
    case kVkDown: {
      const ColorTextRun& cur = runs_[first];
      int32_t line = cur.line + (vk == kVkUp ? -1 : 1);
      if (line < 0 || line >= static_cast<int32_t>(lines_.size())) return false;
      int32_t centre = cur.x + cur.width / 2, best = -1;
      for (int32_t k = 0; k < lines_[line].runCount; ++k) {
        int32_t i = lines_[line].firstRun + k;
        if (!IsLinkRun(i)) continue;
        int32_t d = std::abs(runs_[i].x + runs_[i].width / 2 - centre);
        if (best < 0 || d < std::abs(runs_[best].x + runs_[best].width / 2 - centre)) best = i;
      }
      target = best;
      break;
    }
    default:
      return false;  // Page Up and Page Down have no target
  }
  if (target < 0 || runs_[target].selected) return false;
  host_->EnsureLineVisible(runs_[target].line);
  return SelectRun(target);
}

const ColorTextParagraph* ColorTextModel::Find(int mode, const char* key,
                                               uintptr_t userData) const {
  if (mode < 0 || mode > 3) return nullptr;
  if (mode < 3 && (!key || !*key)) return nullptr;
  for (const auto& s : paragraphs_) {
    const char* t = s->text.c_str();
    bool hit = mode == 0   ? std::strcmp(t, key) == 0
               : mode == 1 ? std::strstr(t, key) != nullptr
               : mode == 2 ? ContainsNoCase(t, key)
                           : s->record.userData == userData;
    if (hit) return &s->record;
  }
  return nullptr;
}

}  // namespace gui
