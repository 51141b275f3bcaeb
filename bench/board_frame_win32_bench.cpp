// One frame of the board window under Wine: the Standard board model with a
// filled rack and a word on the board, drawn through the device framework
// and shown (under Wine, copied into the window through GDI). Each frame is
// timed alone; the counters give the median and the 99th percentile in
// milliseconds, at 800x600 and 1024x768.
#include <windows.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "scene/board_grids.h"
#include "scene/board_scene.h"
#include "scene/grid_host.h"
#include "scene/win32/board_view.h"
#include "scene/win32/board_window.h"

namespace {

using namespace scene;

std::string ModelPath() {
  std::string p = std::string("Z:") + TESS_BUILD_DIR + "/Data/DAT/UK/Standard/tessarin_standard.x";
  std::replace(p.begin(), p.end(), '/', '\\');
  return p;
}

HWND MakeParent(int width, int height) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "BoardFrameBench";
  RegisterClassA(&wc);
  RECT r{0, 0, width, height};
  AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
  return CreateWindowA("BoardFrameBench", "board frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                       r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
}

void Pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t i = std::min(v.size() - 1, static_cast<size_t>(p * (v.size() - 1) + 0.5));
  return v[i];
}

void BM_BoardFrame(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
  HWND parent = MakeParent(width, height);
  RegisterBoardWindowClass(GetModuleHandleA(nullptr));
  HWND window = CreateBoardWindowEx(parent, width, height);
  if (!window || !LoadBoardScene(ModelPath(), true)) {
    state.SkipWithError("no board window or model");
    DestroyBoardWindow();
    DestroyWindow(parent);
    return;
  }
  ShowWindow(window, SW_SHOW);
  {
    BoardGrid board(15, 15);
    RackGrid rack(1, 7);
    board.BindFrame(GetSceneFrame(kFrameBoard));
    board.LayoutCells(15, 15);
    rack.BindFrame(GetSceneFrame(kFrameRack));
    rack.LayoutCells(1, 7);
    SetCurrentGrids({&board, &rack, nullptr, nullptr});
    rack.SetLetters("tessarn", 7);
    char letters[225] = {};
    const char word[] = "board";
    for (int i = 0; i < 5; ++i)
      letters[7 * 15 + 5 + i] = word[i];
    board.SetBoardLetters(letters);
    SetSceneButtonMask(0x3F);
    Pump();

    std::vector<double> frames;
    for (auto _ : state) {
      const auto t0 = std::chrono::steady_clock::now();
      InvalidateBoardView();
      RenderBoardScene();
      benchmark::DoNotOptimize(PresentFrame());
      const auto t1 = std::chrono::steady_clock::now();
      frames.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
      state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    }
    state.counters["median_ms"] = Percentile(frames, 0.5);
    state.counters["p99_ms"] = Percentile(frames, 0.99);
    SetCurrentGrids({});
  }
  DestroyBoardWindow();
  DestroyWindow(parent);
}
BENCHMARK(BM_BoardFrame)
    ->Args({800, 600})
    ->Args({1024, 768})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(300);

}  // namespace

BENCHMARK_MAIN();
