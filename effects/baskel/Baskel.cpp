#include "effects/baskel/Baskel.h"

#include <cstdio>

Baskel::Baskel(audioMasterCallback host)
    : IEffectVST(host, kParamCount, "1-1 2-2", 6, "Baskel", "", "korvane", 0x10000,
                 VstFourCharId('B', 's', 'k', 'l'), VstFourCharId('k', 'o', 'r', 'v'), 0, false,
                 false, false)
{
  GetParam(kGainParam)->DeclareDouble("Gain", 0.0, -12.0, 12.0, 0.1, "dB");
  GetParam(kTuneParam)->DeclareDouble("Tune", 50.0, 20.0, 80.0, 0.1, "Hz");
  char name[kParamTextSize];
  for (int band = 1; band <= kBandCount; ++band) {
    std::snprintf(name, sizeof name, "Band %d Gain", band);
    GetParam(kBandGainParam + band - 1)->DeclareDouble(name, 0.0, -12.0, 12.0, 1.0, "dB");
  }
  for (int band = 1; band <= kBandCount; ++band) {
    std::snprintf(name, sizeof name, "Band %d Q", band);
    GetParam(kBandWidthParam + band - 1)->DeclareDouble(name, 1.0, 0.1, 4.0, 0.1, "Octave");
  }
}

Baskel::~Baskel() = default;

void Baskel::OnReset()
{
  Redesign();
}

void Baskel::OnParamChanged(int /*paramIdx*/)
{
  Redesign();
  mOutputGain = GetParam(kGainParam)->AmplitudeFromDB();
}

void Baskel::Redesign()
{
  mSampleRate = GetSampleRate();
  const double tune = GetParam(kTuneParam)->Value();
  for (int band = 0; band < kBandCount; ++band) {
    mBank.DesignBand(band, tune * kMultipliers[band], mSampleRate,
                     GetParam(kBandWidthParam + band)->Value(),
                     GetParam(kBandGainParam + band)->Value());
  }
}

void Baskel::ProcessBlock(double** inputs, double** outputs, int nFrames)
{
  double peaks[2];
  mBank.Process(inputs, outputs, nFrames, mOutputGain, peaks);
  for (int channel = 0; channel < 2; ++channel) {
    const double level = mMeters[channel].Update(peaks[channel]);
    if (IEditorSurface* editor = GetEditor()) editor->SetControlValue(mMeterControls[channel], level);
  }
}
