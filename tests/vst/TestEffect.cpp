#include "tests/vst/TestEffect.h"

#include <algorithm>

TestEffect::TestEffect(audioMasterCallback host, const TestEffectConfig& config)
    : IEffectVST(host, config.nParams, config.channelIO, config.nPresets, "Testplug", "", "korvane", config.version,
                 kUniqueID, VstFourCharId('k', 'o', 'r', 'v'), 0, config.doesMidi, config.doesChunks,
                 config.isInstrument)
{
  if (IEffectParam* p = GetParam(kGain)) {
    p->DeclareDouble("Gain", 0.0, -12.0, 12.0, 0.1, "dB");
  }
  if (IEffectParam* p = GetParam(kWidth)) {
    p->DeclareDouble("Width", 1.0, 0.1, 4.0, 0.01, "oct");
  }
  if (IEffectParam* p = GetParam(kSteps)) {
    p->DeclareDouble("Steps", 2.0, 0.0, 10.0, 1.0, "");
  }
}

void TestEffect::OnReset() { ++resets; }

void TestEffect::OnParamChanged(int paramIdx)
{
  if (inBlock.load()) {
    ++changesDuringBlock;
  }
  if (paramIdx >= 0 && paramIdx < 3) {
    ++paramChanges[paramIdx];
  }
  if (paramChangeTotal < 8) {
    paramChangeOrder[paramChangeTotal] = paramIdx;
  }
  ++paramChangeTotal;
}

void TestEffect::OnActiveChanged(bool /*active*/) { ++activeChanges; }

void TestEffect::ProcessBlock(double** inputs, double** outputs, int nFrames)
{
  inBlock.store(true);
  ++blocks;
  lastFrames = nFrames;
  maxFrames = std::max(maxFrames, nFrames);
  for (int i = 0; i < NInChannels() && i < kMaxChannels; ++i) {
    lastInputs[i] = inputs[i];
    firstInputSample[i] = nFrames > 0 ? inputs[i][0] : 0.0;
  }
  for (int i = 0; i < NOutChannels() && i < kMaxChannels; ++i) {
    lastOutputs[i] = outputs[i];
  }
  if (blockHook != nullptr) {
    blockHook(this);
  }

  IEffectBase::ProcessBlock(inputs, outputs, nFrames);
  if (const IEffectParam* gain = GetParam(kGain)) {
    const double g = gain->AmplitudeFromDB();
    for (int c = 0; c < NOutChannels(); ++c) {
      for (int s = 0; s < nFrames; ++s) {
        outputs[c][s] *= g;
      }
    }
  }
  inBlock.store(false);
}
