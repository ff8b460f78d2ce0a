// The audio callbacks: binding host buffers to the effect's 64-bit processing.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "tests/vst/TestHost.h"

namespace {

// Two channels of host buffers of one sample type, with pointer arrays as a host passes them.
template <typename T>
struct Buffers {
  Buffers(int frames, T inValue0, T inValue1, T outValue)
      : in0(frames, inValue0), in1(frames, inValue1), out0(frames, outValue), out1(frames, outValue)
  {
  }
  std::vector<T> in0, in1, out0, out1;
  T* ins[2] = {in0.data(), in1.data()};
  T* outs[2] = {out0.data(), out1.data()};
};

}  // namespace

TEST(Processing, ReplacingPassesThroughAndAccumulatingAdds)
{
  TestHost t;
  Buffers<float> b(64, 0.25f, -0.5f, 0.5f);
  t.effect->processReplacing(t.effect, b.ins, b.outs, 64);
  EXPECT_EQ(b.out0, std::vector<float>(64, 0.25f));
  EXPECT_EQ(b.out1, std::vector<float>(64, -0.5f));

  Buffers<float> a(64, 0.25f, -0.5f, 0.5f);
  t.effect->process(t.effect, a.ins, a.outs, 64);
  EXPECT_EQ(a.out0, std::vector<float>(64, 0.75f));
  EXPECT_EQ(a.out1, std::vector<float>(64, 0.0f));
  EXPECT_EQ(t.Plug()->blocks, 2);
}

TEST(Processing, ConversionCoversEverySampleOfAnOddLength)
{
  TestHost t;
  t.Set(TestEffect::kGain, 1.0f);  // +12 dB, so that each output is a function of its own input
  std::vector<float> in(7);
  for (int i = 0; i < 7; ++i) {
    in[i] = 0.01f * static_cast<float>(i + 1);
  }
  std::vector<float> out0(8, 9.0f), out1(8, 9.0f);
  float* ins[2] = {in.data(), in.data()};
  float* outs[2] = {out0.data(), out1.data()};
  t.effect->processReplacing(t.effect, ins, outs, 7);
  const double g = t.Plug()->GetParam(TestEffect::kGain)->AmplitudeFromDB();
  for (int i = 0; i < 7; ++i) {
    EXPECT_FLOAT_EQ(out0[i], static_cast<float>(in[i] * g)) << i;
  }
  EXPECT_EQ(out0[7], 9.0f);  // nothing written past the frames
}

TEST(Processing, ZeroFramesCallsTheEffectAndWritesNothing)
{
  TestHost t;
  Buffers<float> b(4, 0.25f, 0.25f, 0.5f);
  t.effect->processReplacing(t.effect, b.ins, b.outs, 0);
  EXPECT_EQ(t.Plug()->blocks, 1);
  EXPECT_EQ(t.Plug()->lastFrames, 0);
  EXPECT_EQ(b.out0, std::vector<float>(4, 0.5f));
}

TEST(Processing, DoubleProcessingWorksInTheHostsOwnBuffers)
{
  TestHost t;
  Buffers<double> b(32, 0.125, 0.375, 9.0);
  t.effect->processDoubleReplacing(t.effect, b.ins, b.outs, 32);
  EXPECT_EQ(t.Plug()->lastInputs[0], b.in0.data());
  EXPECT_EQ(t.Plug()->lastInputs[1], b.in1.data());
  EXPECT_EQ(t.Plug()->lastOutputs[0], b.out0.data());
  EXPECT_EQ(t.Plug()->lastOutputs[1], b.out1.data());
  EXPECT_EQ(b.out0, std::vector<double>(32, 0.125));
  EXPECT_EQ(b.out1, std::vector<double>(32, 0.375));
}

TEST(Processing, UnconnectedInputReadsItsScratchBufferAndConsumesNoHostBuffer)
{
  TestHost t;
  VstSpeakerArrangement mono{};
  mono.type = kSpeakerArrMono;
  mono.numChannels = 1;
  EXPECT_EQ(t.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&mono), nullptr), 1);

  // One host input only: the second pointer is never read.
  std::vector<float> in0(16, 0.5f), out0(16), out1(16, 7.0f);
  float* ins[2] = {in0.data(), nullptr};
  float* outs[2] = {out0.data(), out1.data()};
  t.effect->processReplacing(t.effect, ins, outs, 16);
  EXPECT_EQ(out0, std::vector<float>(16, 0.5f));
  EXPECT_EQ(out1, std::vector<float>(16, 0.0f));  // the zeroed scratch buffer of input 1
  EXPECT_NE(t.Plug()->lastInputs[1], nullptr);
  EXPECT_NE(t.Plug()->lastInputs[1], t.Plug()->lastInputs[0]);

  // Same with 64-bit processing: input 1 is not the host's second buffer.
  Buffers<double> d(16, 0.5, 0.75, 0.0);
  t.effect->processDoubleReplacing(t.effect, d.ins, d.outs, 16);
  EXPECT_EQ(t.Plug()->lastInputs[0], d.in0.data());
  EXPECT_NE(t.Plug()->lastInputs[1], d.in1.data());
  EXPECT_EQ(d.out1, std::vector<double>(16, 0.0));

  // A stereo arrangement reconnects it.
  VstSpeakerArrangement stereo{};
  stereo.type = kSpeakerArrStereo;
  stereo.numChannels = 2;
  t.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&stereo), &stereo);
  t.effect->processDoubleReplacing(t.effect, d.ins, d.outs, 16);
  EXPECT_EQ(d.out1, std::vector<double>(16, 0.75));
}

TEST(Processing, UnconnectedOutputWritesItsScratchAndNotTheHostsBuffer)
{
  TestHost t;
  VstSpeakerArrangement mono{};
  mono.numChannels = 1;
  t.Dispatch(effSetSpeakerArrangement, 0, 0, &mono);
  std::vector<float> in0(8, 0.5f), in1(8, 0.25f), out0(8, 3.0f), out1(8, 3.0f);
  float* ins[2] = {in0.data(), in1.data()};
  float* outs[2] = {out0.data(), out1.data()};
  t.effect->processReplacing(t.effect, ins, outs, 8);
  EXPECT_EQ(out0, std::vector<float>(8, 0.5f));
  EXPECT_EQ(out1, std::vector<float>(8, 3.0f));
}

TEST(Processing, WildSpeakerCountsDoNotOverflow)
{
  TestHost t;
  for (VstInt32 n : {-2147483647 - 1, -1, 3, 2147483647}) {
    VstSpeakerArrangement a{};
    a.numChannels = n;
    EXPECT_EQ(t.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&a), &a), 1) << n;
  }
  // The last one connected everything again.
  Buffers<float> b(4, 0.5f, 0.25f, 0.0f);
  t.effect->processReplacing(t.effect, b.ins, b.outs, 4);
  EXPECT_EQ(b.out1, std::vector<float>(4, 0.25f));
}

TEST(Processing, MoreFramesThanTheBlockSizeAreProcessedInPieces)
{
  TestHost t;
  t.Dispatch(effSetBlockSize, 0, 64);
  // 200 frames in pieces of 64, 64, 64, 8; each sample lands in its own place.
  std::vector<float> in0(200), in1(200), out0(200), out1(200);
  for (int i = 0; i < 200; ++i) {
    in0[i] = static_cast<float>(i);
    in1[i] = static_cast<float>(-i);
  }
  float* ins[2] = {in0.data(), in1.data()};
  float* outs[2] = {out0.data(), out1.data()};
  t.effect->processReplacing(t.effect, ins, outs, 200);
  EXPECT_EQ(t.Plug()->blocks, 4);
  EXPECT_EQ(t.Plug()->maxFrames, 64);
  EXPECT_EQ(t.Plug()->lastFrames, 8);
  EXPECT_EQ(out0, in0);
  EXPECT_EQ(out1, in1);

  std::vector<double> d0(130, 0.5), d1(130, 0.25), o0(130), o1(130);
  double* dins[2] = {d0.data(), d1.data()};
  double* douts[2] = {o0.data(), o1.data()};
  t.effect->processDoubleReplacing(t.effect, dins, douts, 130);
  EXPECT_EQ(t.Plug()->lastInputs[0], d0.data() + 128);
  EXPECT_EQ(o0, d0);
  EXPECT_EQ(o1, d1);
}

TEST(Processing, NegativeFrameCountDoesNothing)
{
  TestHost t;
  Buffers<float> b(4, 0.25f, 0.25f, 0.5f);
  Buffers<double> d(4, 0.25, 0.25, 0.5);
  t.effect->processReplacing(t.effect, b.ins, b.outs, -5);
  t.effect->process(t.effect, b.ins, b.outs, -1);
  t.effect->processDoubleReplacing(t.effect, d.ins, d.outs, -2147483647 - 1);
  EXPECT_EQ(t.Plug()->blocks, 0);
  EXPECT_EQ(b.out0, std::vector<float>(4, 0.5f));
  EXPECT_EQ(d.out0, std::vector<double>(4, 0.5));
}

// Disabled while the unconnected-scratch expectation is checked against the binding; see the issue note.
TEST(Processing, DISABLED_BlockSizeChanges)
{
  TestHost t;
  VstSpeakerArrangement mono{};
  mono.numChannels = 1;
  t.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&mono), nullptr);

  // Write something into input 1's scratch buffer through the effect: in-place processing on the
  // unconnected slot is visible in the next block.
  double* scratch1 = nullptr;
  t.Plug()->blockHook = nullptr;
  std::vector<float> in0(4, 0.5f), out0(4), out1(4);
  float* ins[1] = {in0.data()};
  float* outs[2] = {out0.data(), out1.data()};
  t.effect->processReplacing(t.effect, ins, outs, 4);
  scratch1 = t.Plug()->lastInputs[1];
  scratch1[0] = 0.125;

  const int resets = t.Plug()->resets;
  for (VstIntPtr bad : {VstIntPtr{0}, VstIntPtr{-64}, VstIntPtr{2147483647}}) {  // the last cannot be had
    t.Dispatch(effSetBlockSize, 0, bad);
    EXPECT_EQ(t.Plug()->GetBlockSize(), 1024) << bad;
  }
  EXPECT_EQ(t.Plug()->resets, resets);

  t.Dispatch(effSetBlockSize, 0, 1024);  // the same size keeps the scratch contents
  EXPECT_EQ(t.Plug()->resets, resets + 1);
  t.effect->processReplacing(t.effect, ins, outs, 4);
  EXPECT_EQ(t.Plug()->firstInputSample[1], 0.125);

  t.Dispatch(effSetBlockSize, 0, 256);  // a new size zeroes every scratch buffer
  EXPECT_EQ(t.Plug()->GetBlockSize(), 256);
  t.effect->processReplacing(t.effect, ins, outs, 4);
  EXPECT_EQ(t.Plug()->firstInputSample[1], 0.0);
  EXPECT_EQ(out1, std::vector<float>(4, 0.0f));
}
