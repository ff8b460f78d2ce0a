// Semtar, the note-by-note equaliser: one peaking band per semitone from C1 to B9 (108 bands at
// the fixed frequencies of NoteFrequencyTable), each with a gain (-12 to 12 dB, parameters 1 to
// 108) and a bandwidth in octaves (0.1 to 4, parameters 109 to 216), then a master gain
// (parameter 0). Two channels, each its own cascade from B9 down to C1.
//
// Contract: every parameter change and every reset redesigns all bands from the current values
// (unchanged bands keep their coefficients); no hook clears the filter state. Each block updates
// the two meter levels, readable from any thread with MeterLevel().
#pragma once

#include "dsp/IPeakMeter.h"
#include "dsp/IPeakingBank.h"
#include "effects/semtar/NoteFrequencyTable.h"
#include "vst/IEffectVST.h"

class Semtaro : public IEffectVST {
public:
  static constexpr int kGainParam = 0;
  static constexpr int kNoteGainParam = 1;                        // + note
  static constexpr int kNoteWidthParam = kNoteGainParam + kNoteCount;  // + note
  static constexpr int kParamCount = kNoteWidthParam + kNoteCount;

  explicit Semtaro(audioMasterCallback host);
  ~Semtaro() override;

  void OnReset() override;
  void OnParamChanged(int paramIdx) override;
  void ProcessBlock(double** inputs, double** outputs, int nFrames) override;

  double MeterLevel(int channel) const { return mMeters[channel].Level(); }

private:
  void Redesign();

  IPeakingBank<kNoteCount, true> mBank;
  double mSampleRate = 0.0;
  IPeakMeter mMeters[2];
  int mMeterControls[2] = {2, 3};
};
