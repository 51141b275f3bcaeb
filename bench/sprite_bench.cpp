// The sprite engine redrawing a moving scene: 200 tiles of 40 by 40 pixels
// wandering over an 800 by 600 felt background drawn by a layer, each moved
// every frame, then the dirty list composed into the canvas. Reports frames
// per second and the dirty area and rectangle count per frame, under the
// default merge slack and under the proportional merge rule.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "gui/Animate.h"
#include "gui/gui_memory.h"

namespace {

using namespace gui;

constexpr int kWidth = 800, kHeight = 600, kSprites = 200, kTile = 40;

struct Scene {
  Canvas* canvas;
  PackedDIB* felt;
};

// The background layer: the felt image copied under the area.
void FeltLayer(void*, const DibInfoHeader*, uint8_t*, int32_t, int32_t, int32_t left, int32_t top,
               int32_t right, int32_t bottom, intptr_t user) {
  const Scene* scene = reinterpret_cast<const Scene*>(user);
  DibRect r{left, top, right - 1, bottom - 1};
  CanvasCopyOpaque(scene->canvas, scene->felt, 0, 0, &r);
}

PackedDIB* Tile(uint32_t colour) {
  PackedDIB* d = DIBCreate(kTile, kTile, 24);
  DIBFill(d, colour);
  // Rounded corners in the key colour, as tiles have.
  for (int y = 0; y < kTile; ++y)
    for (int x = 0; x < kTile; ++x) {
      int cx = x < 4 ? 4 - x : x > kTile - 5 ? x - (kTile - 5) : 0;
      int cy = y < 4 ? 4 - y : y > kTile - 5 ? y - (kTile - 5) : 0;
      if (cx * cx + cy * cy > 16) {
        uint8_t* p = DIBPixelPtr(d, x, y);
        p[0] = 0xFF, p[1] = 0, p[2] = 0xFF;
      }
    }
  return d;
}

void BM_SpriteFrames(benchmark::State& state) {
  // The argument is the merge slack: the default 3000, or -1 for the 1.2 rule.
  Animate::SetMergeSlack(static_cast<int32_t>(state.range(0)));
  AnimateEngine* e = Animate::Create(nullptr);
  Animate::SetSize(e, kWidth, kHeight);
  PackedDIB* felt = DIBCreate(kWidth, kHeight, 24);
  DIBFill(felt, 0x3E6824);
  Scene scene{&e->canvas, felt};
  Animate::AddLayer(e, FeltLayer, kAnimFarthest, kAnimFarthest, reinterpret_cast<intptr_t>(&scene));
  std::vector<PackedDIB*> tiles;
  std::vector<int> frames;
  for (uint32_t c : {0xD4ECF6u, 0xB0D0E8u, 0x26467Au}) {
    tiles.push_back(Tile(c));
    frames.push_back(Animate::DefineFrameFromImage(e, tiles.back()));
  }
  std::mt19937 rng(7);
  struct Mover {
    int sprite, x, y, dx, dy;
  };
  std::vector<Mover> movers;
  for (int i = 0; i < kSprites; ++i) {
    int s = Animate::AllocSprite(e);
    Animate::SetSpriteFrame(e, s, frames[i % frames.size()]);
    Mover m{s, static_cast<int>(rng() % (kWidth - kTile)),
            static_cast<int>(rng() % (kHeight - kTile)), static_cast<int>(rng() % 7) - 3,
            static_cast<int>(rng() % 7) - 3};
    Animate::MoveSprite(e, s, m.x, m.y, 100 + i % 50, 2);
    movers.push_back(m);
  }
  Animate::DrawFocusRects(e, nullptr);
  int64_t frameCount = 0, dirtyArea = 0, dirtyRects = 0;
  for (auto _ : state) {
    for (Mover& m : movers) {
      if (m.x + m.dx < 0 || m.x + m.dx > kWidth - kTile) m.dx = -m.dx;
      if (m.y + m.dy < 0 || m.y + m.dy > kHeight - kTile) m.dy = -m.dy;
      m.x += m.dx;
      m.y += m.dy;
      Animate::MoveSprite(e, m.sprite, m.x, m.y, 100 + m.sprite % 50, 2);
    }
    dirtyRects += e->dirtyCount;
    for (int i = 0; i < e->dirtyCount; ++i) {
      const DibRect& r = e->dirty[i];
      dirtyArea += static_cast<int64_t>(r.right - r.left + 1) * (r.bottom - r.top + 1);
    }
    Animate::DrawFocusRects(e, nullptr);
    ++frameCount;
    benchmark::DoNotOptimize(e->canvas.bits);
  }
  state.counters["frames/s"] =
      benchmark::Counter(static_cast<double>(frameCount), benchmark::Counter::kIsRate);
  state.counters["dirty_px/frame"] =
      benchmark::Counter(static_cast<double>(dirtyArea) / static_cast<double>(frameCount));
  state.counters["dirty_rects/frame"] =
      benchmark::Counter(static_cast<double>(dirtyRects) / static_cast<double>(frameCount));
  state.counters["screen_share"] = benchmark::Counter(
      static_cast<double>(dirtyArea) / static_cast<double>(frameCount) / (kWidth * kHeight));
  Animate::Destroy(e);
  Animate::SetMergeSlack(3000);
  for (PackedDIB* t : tiles)
    GlobalFreePtr(t);
  GlobalFreePtr(felt);
}
BENCHMARK(BM_SpriteFrames)->Arg(3000)->Arg(-1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
