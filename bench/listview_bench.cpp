// A list view of 100,000 rows on its portable model: inserting them with
// three columns of text, sorting them by their parameters, and one scroll
// step of the item view with the row that comes into view painted.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <random>
#include <vector>

#include "gui/item_view.h"
#include "gui/list_view_model.h"

namespace {

constexpr int kRows = 100000;

class QuietList : public gui::ListViewHost {
 public:
  void ItemChanged(int32_t, uint32_t, uint32_t, uint32_t, intptr_t) override {}
  void RangeChanged(int32_t, int32_t, uint32_t, uint32_t) override {}
  bool DeletingAll() override { return false; }
  void DeletingItem(int32_t, intptr_t) override {}
  bool RowInserted(int32_t) override { return true; }
  void RowDeleted(int32_t) override {}
  void RowCountSet(int32_t) override {}
  void RedrawRow(int32_t) override {}
  void RedrawRows(int32_t, int32_t) override {}
  void RedrawAll() override {}
  void EnsureVisible(int32_t) override {}
};

class QuietView : public gui::GuiItemViewHost {
 public:
  void Invalidate(const gui::GuiViewRect*) override {}
  void Scroll(int32_t, int32_t, const gui::GuiViewRect&, bool) override {}
  void NotifyParent(uint32_t, intptr_t) override {}
  void FrameChanged() override {}
  bool HasBar(int) override { return true; }
  void SetBar(int, uint32_t, const gui::GuiViewBarInfo&) override {}
  gui::GuiViewBarInfo GetBar(int) override { return {}; }
  bool BarShown(int) override { return true; }
  void ShowBar(int, bool) override {}
  int32_t LineStep(int) override { return 1; }
  int32_t PageStep(int) override { return 20; }
  int32_t SetLineStep(int, int32_t) override { return 1; }
  int32_t SetPageStep(int, int32_t) override { return 20; }
  int32_t BarThickness(int) override { return 16; }
};

void Fill(gui::ListViewModel& m, const std::vector<intptr_t>& params) {
  char text[32];
  gui::ListViewItem it{};
  it.mask = gui::kLvifText | gui::kLvifParam;
  it.pszText = text;
  for (int i = 0; i < kRows; ++i) {
    std::snprintf(text, sizeof text, "Player %d", i);
    it.iItem = i;
    it.lParam = params[static_cast<size_t>(i)];
    m.InsertItem(it);
    std::snprintf(text, sizeof text, "%d", static_cast<int>(params[static_cast<size_t>(i)]));
    m.SetItemText(i, 1, text);
    m.SetItemText(i, 2, "QUIXOTIC");
  }
}

std::vector<intptr_t> Scores() {
  std::mt19937 rng(7);
  std::vector<intptr_t> v(kRows);
  for (intptr_t& s : v)
    s = static_cast<intptr_t>(rng() % 1000);
  return v;
}

void BM_ListViewInsert100k(benchmark::State& state) {
  std::vector<intptr_t> params = Scores();
  QuietList host;
  for (auto _ : state) {
    auto m = std::make_unique<gui::ListViewModel>(0, &host);
    m->RaiseBound(0);
    m->RaiseBound(1);
    m->RaiseBound(2);
    Fill(*m, params);
    benchmark::DoNotOptimize(m->count());
    state.PauseTiming();
    m.reset();
    state.ResumeTiming();
  }
  state.counters["rows/s"] = benchmark::Counter(static_cast<double>(kRows) * state.iterations(),
                                                benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ListViewInsert100k)->Unit(benchmark::kMillisecond);

void BM_ListViewSort100k(benchmark::State& state) {
  std::vector<intptr_t> params = Scores();
  QuietList host;
  gui::ListViewModel m(0, &host);
  m.RaiseBound(2);
  Fill(m, params);
  bool descending = false;
  for (auto _ : state) {
    // Alternate directions so that every pass really moves the rows.
    descending = !descending;
    m.SortItems(
        descending ? [](intptr_t a, intptr_t b, intptr_t) { return (b > a) - (b < a); }
                   : [](intptr_t a, intptr_t b, intptr_t) { return (a > b) - (a < b); },
        0);
  }
}
BENCHMARK(BM_ListViewSort100k)->Unit(benchmark::kMillisecond);

// One line down (back to the top at the end) and the row that came into
// view painted from its records.
void BM_ListViewScrollStep(benchmark::State& state) {
  std::vector<intptr_t> params = Scores();
  QuietList host;
  gui::ListViewModel m(0, &host);
  m.RaiseBound(2);
  Fill(m, params);
  QuietView viewHost;
  gui::GuiItemView view{};
  static size_t painted = 0;
  gui::GuiItemViewInitEx(
      &view, &viewHost,
      [](const gui::GuiRowDraw* row) {
        auto* model = static_cast<gui::ListViewModel*>(row->context);
        for (int32_t k = 0; k < 3; ++k)
          if (const gui::ListViewItem* r = model->Record(row->index, k))
            painted += r->pszText ? 1 : 0;
      },
      1, 1);
  gui::GuiItemViewSetRect(&view, gui::GuiViewRect{0, 0, 400, 320});
  gui::GuiItemViewSetRowHeight(&view, 16, 0);
  gui::GuiItemViewSetCount(&view, kRows, 1);
  int32_t last = kRows - gui::GuiItemViewGetVisibleCount(&view);
  for (auto _ : state) {
    if (gui::GuiItemViewGetTopIndex(&view) >= last) gui::GuiItemViewScrollTo(&view, 0);
    gui::GuiItemViewVScroll(&view, gui::kSbLineDown, 0);
    int32_t bottom = gui::GuiItemViewGetTopIndex(&view) + 19;
    gui::GuiViewRect strip{0, 304, 400, 320};
    gui::GuiItemViewPaint(&view, nullptr, strip, &m, bottom);
  }
  benchmark::DoNotOptimize(painted);
  gui::GuiItemViewDestroy(&view);
}
BENCHMARK(BM_ListViewScrollStep);

}  // namespace

BENCHMARK_MAIN();
