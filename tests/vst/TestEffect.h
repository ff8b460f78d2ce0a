// A small effect built on the framework for driving it the way a host does: three declared
// parameters, the "1-1 2-2" configuration, six programs. Its block processing is the base's
// pass-through followed by the Gain parameter (exactly the input at 0 dB). It records what the
// framework asked of it, in plain fields, so that tests in the same process can look.
#pragma once

#include <atomic>

#include "vst/IEffectVST.h"

struct TestEffectConfig {
  int nParams = 3;  // at most 3 are declared
  const char* channelIO = "1-1 2-2";
  int nPresets = 6;
  int version = 0x00010203;
  bool doesMidi = false;
  bool doesChunks = false;
  bool isInstrument = false;
};

class TestEffect : public IEffectVST {
public:
  enum Param { kGain = 0, kWidth = 1, kSteps = 2 };
  static constexpr int kUniqueID = VstFourCharId('t', 's', 't', 'p');
  static constexpr int kMaxChannels = 8;

  TestEffect(audioMasterCallback host, const TestEffectConfig& config);

  void OnReset() override;
  void OnParamChanged(int paramIdx) override;
  void ProcessBlock(double** inputs, double** outputs, int nFrames) override;
  void OnActiveChanged(bool active) override;

  // What the framework did, for the tests.
  int resets = 0;
  int paramChanges[3] = {};
  int paramChangeTotal = 0;
  int paramChangeOrder[8] = {};  // the first eight indexes, in order
  int activeChanges = 0;
  int blocks = 0;
  int lastFrames = -1;
  int maxFrames = 0;
  double* lastInputs[kMaxChannels] = {};
  double* lastOutputs[kMaxChannels] = {};
  double firstInputSample[kMaxChannels] = {};  // sample 0 of each input of the last block

  // Thread tests: called inside every block while `inBlock` is set.
  void (*blockHook)(TestEffect*) = nullptr;
  std::atomic<bool> inBlock{false};
  std::atomic<int> changesDuringBlock{0};
};
