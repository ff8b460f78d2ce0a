// Editor-sized drawing against memcpy of the same bytes in the same run: compare each BM_ pair.
#include <cmath>
#include <cstring>
#include <vector>

#include <benchmark/benchmark.h>

#include "raster/raster_area.h"
#include "raster/raster_blit.h"
#include "raster/raster_mem_bitmap.h"
#include "raster/raster_mode.h"
#include "raster/raster_scaled.h"

namespace {

constexpr int kCanvasWidth = 800, kCanvasHeight = 478;
constexpr int kFrame = 30, kFrameCount = 216;

void Pattern(RasterMemBitmap& bitmap)
{
  unsigned v = 12345;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) bitmap.Bits()[y * bitmap.RowSpan() + x] = (v = v * 1664525u + 1013904223u);
}

// A knob-like frame: opaque disk, transparent corners, a soft edge.
void Disk(RasterMemBitmap& frame)
{
  const float c = (frame.Width() - 1) / 2.0f, r = frame.Width() / 2.0f - 1.0f;
  for (int y = 0; y < frame.Height(); ++y)
    for (int x = 0; x < frame.Width(); ++x) {
      const float d = std::hypot(x - c, y - c);
      const float a = d < r - 1.0f ? 1.0f : (d > r ? 0.0f : r - d);
      frame.Bits()[y * frame.RowSpan() + x] =
          (static_cast<RasterPixel>(a * 255.0f) << 24) | static_cast<RasterPixel>((x * 8) << 16 | (y * 8) << 8 | 0x40);
    }
}

void Memcpy(benchmark::State& state, size_t bytes)
{
  std::vector<char> a(bytes, 1), b(bytes, 2);
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), bytes);
    benchmark::DoNotOptimize(b.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void BM_OpaqueCopy800x478(benchmark::State& state)
{
  RasterMemBitmap src(kCanvasWidth, kCanvasHeight, 4), dst(kCanvasWidth, kCanvasHeight, 4);
  Pattern(src);
  for (auto _ : state) {
    RasterComposite(&dst, &src, 0, 0, nullptr, 1.0f, 0);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kCanvasWidth * kCanvasHeight * 4);
}
void BM_Memcpy800x478(benchmark::State& state) { Memcpy(state, kCanvasWidth * kCanvasHeight * 4); }

void BM_AlphaBlits216x30x30(benchmark::State& state)
{
  RasterMemBitmap canvas(kCanvasWidth, kCanvasHeight, 4), frame(kFrame, kFrame, 4);
  Pattern(canvas);
  Disk(frame);
  for (auto _ : state) {
    for (int i = 0; i < kFrameCount; ++i)
      RasterComposite(&canvas, &frame, (i % 24) * 33, (i / 24) * 50, nullptr, 1.0f, RasterModeUseAlpha);
    benchmark::ClobberMemory();
  }
}
void BM_Memcpy216x30x30(benchmark::State& state) { Memcpy(state, kFrameCount * kFrame * kFrame * 4); }

void BM_BilinearRotation60x60(benchmark::State& state)
{
  RasterMemBitmap src(60, 60, 4), dst(60, 60, 4);
  Pattern(src);
  for (auto _ : state) {
    RasterCompositeRotated(&dst, &src, 0, 0, 60, 60, 0.0f, 0.0f, 60.0f, 60.0f, 0.7f, false, 1.0f, RasterModeBilinear,
                           0.0f, 0.0f);
    benchmark::ClobberMemory();
  }
}
void BM_Memcpy60x60(benchmark::State& state) { Memcpy(state, 60 * 60 * 4); }

void BM_HalfFill800x478(benchmark::State& state)
{
  RasterMemBitmap canvas(kCanvasWidth, kCanvasHeight, 4);
  Pattern(canvas);
  for (auto _ : state) {
    RasterFillArea(&canvas, 0, 0, kCanvasWidth, kCanvasHeight, 0xFF336699, 0.5f, 0);
    benchmark::ClobberMemory();
  }
}

}  // namespace

BENCHMARK(BM_OpaqueCopy800x478);
BENCHMARK(BM_Memcpy800x478);
BENCHMARK(BM_AlphaBlits216x30x30);
BENCHMARK(BM_Memcpy216x30x30);
BENCHMARK(BM_BilinearRotation60x60);
BENCHMARK(BM_Memcpy60x60);
BENCHMARK(BM_HalfFill800x478);

BENCHMARK_MAIN();
