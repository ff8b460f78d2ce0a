// Thorvin, the integer-series harmonic equaliser: 16 peaking bands at 1, 1.5, then 2 to 15 times
// a tunable fundamental (Tune, 20 to 80 Hz, parameter 17), each with a gain (parameters 1 to 16)
// and a bandwidth in octaves (parameters 18 to 33), then an output gain (parameter 0).
//
// Contract: every parameter change and every reset redesigns all bands; only a parameter change
// refreshes the output gain factor. Its sections have no flat bypass: a band at 0 dB still filters
// (an identity to within single-precision rounding). No hook clears the filter state. Each block
// updates the two meter levels, readable from any thread with MeterLevel().
#pragma once

#include "dsp/IPeakMeter.h"
#include "dsp/IPeakingBank.h"
#include "vst/IEffectVST.h"

class Thorvin : public IEffectVST {
public:
  static constexpr int kBandCount = 16;
  static constexpr int kGainParam = 0;
  static constexpr int kBandGainParam = 1;  // + band - 1
  static constexpr int kTuneParam = 17;
  static constexpr int kBandWidthParam = 18;  // + band - 1
  static constexpr int kParamCount = 34;
  static constexpr double kMultipliers[kBandCount] = {1, 1.5, 2,  3,  4,  5,  6,  7,
                                                      8, 9,   10, 11, 12, 13, 14, 15};

  explicit Thorvin(audioMasterCallback host);
  ~Thorvin() override;

  void OnReset() override;
  void OnParamChanged(int paramIdx) override;
  void ProcessBlock(double** inputs, double** outputs, int nFrames) override;

  double MeterLevel(int channel) const { return mMeters[channel].Level(); }

private:
  void Redesign();

  IPeakingBank<kBandCount, false> mBank;
  double mSampleRate = 0.0;
  double mOutputGain = 1.0;
  IPeakMeter mMeters[2];
  int mMeterControls[2] = {2, 3};
};
