// The plug-in lock under concurrent host threads, and its re-entrancy.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "tests/vst/TestHost.h"

namespace {

std::atomic<bool> gBlockStarted{false};

// Holds a block open long enough for another thread to try to get in.
void SlowBlock(TestEffect* /*plug*/)
{
  gBlockStarted.store(true);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

}  // namespace

TEST(Threads, SetParameterWaitsWhileABlockIsProcessed)
{
  TestHost t;
  t.Plug()->blockHook = &SlowBlock;
  gBlockStarted.store(false);

  std::thread audio([&] {
    std::vector<float> in(256, 0.5f), out0(256), out1(256);
    float* ins[2] = {in.data(), in.data()};
    float* outs[2] = {out0.data(), out1.data()};
    t.effect->processReplacing(t.effect, ins, outs, 256);
  });
  while (!gBlockStarted.load()) {
    std::this_thread::yield();
  }
  // The block is inside ProcessBlock now; this call must wait until it has finished.
  t.Set(TestEffect::kGain, 1.0f);
  audio.join();

  EXPECT_EQ(t.Plug()->paramChanges[TestEffect::kGain], 1);
  EXPECT_EQ(t.Plug()->changesDuringBlock.load(), 0);
}

TEST(Threads, DispatcherAndParametersFromManyThreadsStayConsistent)
{
  TestHost t;
  t.Plug()->blockHook = nullptr;
  std::atomic<bool> stop{false};
  std::thread audio([&] {
    std::vector<double> in(64, 0.25), out0(64), out1(64);
    double* ins[2] = {in.data(), in.data()};
    double* outs[2] = {out0.data(), out1.data()};
    while (!stop.load()) {
      t.effect->processDoubleReplacing(t.effect, ins, outs, 64);
    }
  });
  std::thread automation([&] {
    for (int i = 0; i < 2000; ++i) {
      t.Set(i % 3, static_cast<float>(i % 100) / 100.0f);
      t.Get(i % 3);
    }
  });
  std::vector<unsigned char> chunk;
  for (int i = 0; i < 200; ++i) {
    void* data = nullptr;
    const VstIntPtr size = t.Dispatch(effGetChunk, 0, 0, &data);
    ASSERT_EQ(size, 8 + 3 * 8);
    chunk.assign(static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
    t.Dispatch(effSetChunk, 1, size, chunk.data());
    t.Dispatch(effSetProgram, 0, i % 6);
  }
  automation.join();
  stop.store(true);
  audio.join();
  EXPECT_EQ(t.Plug()->changesDuringBlock.load(), 0);
}

TEST(Threads, AutomationCallbackMayReenterSetParameter)
{
  TestHost t;
  int reentered = 0;
  // A host answers the editor's automation by setting the parameter back, on the same thread and
  // while the plug-in lock is held.
  t.host.onAutomate = [&](AEffect* effect, VstInt32 index, float value) {
    ++reentered;
    effect->setParameter(effect, index, value);
    EXPECT_FLOAT_EQ(effect->getParameter(effect, index), value);
  };
  std::thread editor([&] { t.Plug()->SetParameterFromGUI(TestEffect::kGain, 0.25); });
  editor.join();
  EXPECT_EQ(reentered, 1);
  EXPECT_DOUBLE_EQ(t.Plug()->GetParam(TestEffect::kGain)->Value(), -6.0);
  EXPECT_EQ(t.Plug()->paramChanges[TestEffect::kGain], 2);  // once from the host, once from the editor
}
