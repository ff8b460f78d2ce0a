// Semtar driven from three threads at once, as hosts do: audio blocks on one, automation on a
// second, display texts, state chunks and meter readings on a third. Run under the thread
// sanitizer this shows the hand-overs between them are well defined.
#include "effects/semtar/Semtaro.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

#include "tests/effects/EffectHarness.h"

namespace {

unsigned Next(unsigned& seed)
{
  seed = seed * 1664525u + 1013904223u;
  return seed >> 8;
}

TEST(SemtarThreads, AudioAutomationAndStateReadsOverlapSafely)
{
  Semtaro* plug = new Semtaro(test_host::Callback);
  test_host::Harness host(plug->Effect());
  host.Open(48000.0f);
  AEffect* effect = host.Effect();

  std::atomic<bool> stop{false};
  std::atomic<long> blocks{0}, changes{0}, reads{0};
  std::atomic<bool> metersFinite{true}, chunksWhole{true}, textsWritten{true};

  std::thread audio([&] {
    constexpr int kFrames = 256;
    std::vector<float> inL(kFrames), inR(kFrames), outL(kFrames), outR(kFrames);
    unsigned seed = 1;
    while (!stop.load()) {
      for (int i = 0; i < kFrames; ++i) {
        inL[i] = static_cast<float>(Next(seed)) / (1 << 24) - 0.5f;
        inR[i] = -inL[i];
      }
      float* inputs[2] = {inL.data(), inR.data()};
      float* outputs[2] = {outL.data(), outR.data()};
      effect->processReplacing(effect, inputs, outputs, kFrames);
      ++blocks;
    }
  });

  std::thread automation([&] {
    unsigned seed = 2;
    while (!stop.load()) {
      const int index = static_cast<int>(Next(seed) % Semtaro::kParamCount);
      effect->setParameter(effect, index, static_cast<float>(Next(seed)) / (1 << 24));
      ++changes;
    }
  });

  std::thread reader([&] {
    unsigned seed = 3;
    char text[64];
    while (!stop.load()) {
      std::memset(text, 0, sizeof text);
      effect->dispatcher(effect, effGetParamDisplay, static_cast<int>(Next(seed) % Semtaro::kParamCount),
                         0, text, 0.0f);
      if (text[0] == '\0') textsWritten = false;
      void* data = nullptr;
      const VstIntPtr size = effect->dispatcher(effect, effGetChunk, Next(seed) % 2, 0, &data, 0.0f);
      if (size != 1744 || data == nullptr || std::memcmp(data, "tffp", 4) != 0) chunksWhole = false;
      if (!std::isfinite(plug->MeterLevel(0)) || !std::isfinite(plug->MeterLevel(1))) metersFinite = false;
      ++reads;
    }
  });

  std::this_thread::sleep_for(std::chrono::seconds(2));
  stop = true;
  audio.join();
  automation.join();
  reader.join();

  EXPECT_GT(blocks.load(), 0);
  EXPECT_GT(changes.load(), 0);
  EXPECT_GT(reads.load(), 0);
  EXPECT_TRUE(metersFinite.load());
  EXPECT_TRUE(chunksWhole.load());
  EXPECT_TRUE(textsWritten.load());
}

}  // namespace
