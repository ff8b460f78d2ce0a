// Cost of the three effects per stereo frame at 48 kHz in 1024-frame host blocks, beside a plain
// float copy of the same block, and the cost of opening Semtar (217 parameter hooks).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "effects/baskel/Baskel.h"
#include "effects/semtar/Semtaro.h"
#include "effects/thorvin/Thorvin.h"

namespace {

constexpr int kFrames = 1024;

VstIntPtr VST_CALLBACK HostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
  return opcode == audioMasterVersion ? 2400 : 0;
}

struct StereoBlock {
  std::vector<float> in[2], out[2];
  StereoBlock()
  {
    unsigned seed = 1;
    for (int c = 0; c < 2; ++c) {
      in[c].resize(kFrames);
      out[c].resize(kFrames);
      for (float& x : in[c]) {
        seed = seed * 1664525u + 1013904223u;
        x = (static_cast<float>(seed >> 8) / (1 << 24) - 0.5f) * 0.6f;
      }
    }
  }
};

void PerFrame(benchmark::State& state)
{
  state.counters["per_frame"] = benchmark::Counter(static_cast<double>(state.iterations()) * kFrames,
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

AEffect* Open(IEffectVST* plug)
{
  AEffect* e = plug->Effect();
  e->dispatcher(e, effOpen, 0, 0, nullptr, 0.0f);
  e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, 48000.0f);
  e->dispatcher(e, effSetBlockSize, 0, kFrames, nullptr, 0.0f);
  e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0.0f);
  return e;
}

void Close(AEffect* e)
{
  e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
}

// Gains alternate between +3 and -3 dB, so every band filters.
void ActivateBands(AEffect* e, int firstGainParam, int count)
{
  for (int b = 0; b < count; ++b) e->setParameter(e, firstGainParam + b, b % 2 ? 0.375f : 0.625f);
}

void RunFloatBlocks(benchmark::State& state, AEffect* e)
{
  StereoBlock block;
  float* inputs[2] = {block.in[0].data(), block.in[1].data()};
  float* outputs[2] = {block.out[0].data(), block.out[1].data()};
  for (auto _ : state) {
    e->processReplacing(e, inputs, outputs, kFrames);
    benchmark::DoNotOptimize(block.out[0].data());
    benchmark::ClobberMemory();
  }
  PerFrame(state);
}

void BM_PlainFloatCopy(benchmark::State& state)
{
  StereoBlock block;
  for (auto _ : state) {
    for (int c = 0; c < 2; ++c) std::copy(block.in[c].begin(), block.in[c].end(), block.out[c].begin());
    benchmark::DoNotOptimize(block.out[0].data());
    benchmark::ClobberMemory();
  }
  PerFrame(state);
}
BENCHMARK(BM_PlainFloatCopy);

void BM_SemtarDefaults(benchmark::State& state)
{
  AEffect* e = Open(new Semtaro(HostCallback));
  RunFloatBlocks(state, e);
  Close(e);
}
BENCHMARK(BM_SemtarDefaults);

void BM_SemtarDefaultsDouble(benchmark::State& state)
{
  AEffect* e = Open(new Semtaro(HostCallback));
  std::vector<double> in[2], out[2];
  StereoBlock block;
  for (int c = 0; c < 2; ++c) {
    in[c].assign(block.in[c].begin(), block.in[c].end());
    out[c].resize(kFrames);
  }
  double* inputs[2] = {in[0].data(), in[1].data()};
  double* outputs[2] = {out[0].data(), out[1].data()};
  for (auto _ : state) {
    e->processDoubleReplacing(e, inputs, outputs, kFrames);
    benchmark::DoNotOptimize(out[0].data());
    benchmark::ClobberMemory();
  }
  PerFrame(state);
  Close(e);
}
BENCHMARK(BM_SemtarDefaultsDouble);

void BM_SemtarAllBands(benchmark::State& state)
{
  AEffect* e = Open(new Semtaro(HostCallback));
  ActivateBands(e, Semtaro::kNoteGainParam, kNoteCount);
  RunFloatBlocks(state, e);
  Close(e);
}
BENCHMARK(BM_SemtarAllBands);

void BM_BaskelAllBands(benchmark::State& state)
{
  AEffect* e = Open(new Baskel(HostCallback));
  ActivateBands(e, Baskel::kBandGainParam, Baskel::kBandCount);
  RunFloatBlocks(state, e);
  Close(e);
}
BENCHMARK(BM_BaskelAllBands);

void BM_ThorvinAllBands(benchmark::State& state)
{
  AEffect* e = Open(new Thorvin(HostCallback));
  ActivateBands(e, Thorvin::kBandGainParam, Thorvin::kBandCount);
  RunFloatBlocks(state, e);
  Close(e);
}
BENCHMARK(BM_ThorvinAllBands);

void BM_SemtarOpen(benchmark::State& state)
{
  for (auto _ : state) {
    state.PauseTiming();
    Semtaro* plug = new Semtaro(HostCallback);
    AEffect* e = plug->Effect();
    state.ResumeTiming();
    e->dispatcher(e, effOpen, 0, 0, nullptr, 0.0f);
    state.PauseTiming();
    Close(e);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_SemtarOpen)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
