#include "effects/semtar/Semtaro.h"

#include <cstdio>

namespace {

constexpr int kPitchClasses = 12;
// The two kinds of name spell two of the sharps differently; hosts and saved projects know them so.
constexpr const char* kGainPitchNames[kPitchClasses] = {"C",  "C#", "D",  "D#", "E",  "F",
                                                        "F#", "G",  "Gs", "A",  "As", "B"};
constexpr const char* kWidthPitchNames[kPitchClasses] = {"C",  "C#", "D",  "D#", "E",  "F",
                                                         "F#", "G",  "G#", "A",  "A#", "B"};

}  // namespace

Semtaro::Semtaro(audioMasterCallback host)
    : IEffectVST(host, kParamCount, "1-1 2-2", 6, "Semtar", "", "korvane", 0x10000,
                 VstFourCharId('s', 'e', 'm', 't'), VstFourCharId('k', 'o', 'r', 'v'), 0, false,
                 false, false)
{
  GetParam(kGainParam)->DeclareDouble("Gain", 0.0, -12.0, 12.0, 0.1, "dB");
  char name[kParamTextSize];
  for (int note = 0; note < kNoteCount; ++note) {
    const int octave = 1 + note / kPitchClasses;
    std::snprintf(name, sizeof name, "%s%d Gain", kGainPitchNames[note % kPitchClasses], octave);
    GetParam(kNoteGainParam + note)->DeclareDouble(name, 0.0, -12.0, 12.0, 1.0, "dB");
  }
  for (int note = 0; note < kNoteCount; ++note) {
    const int octave = 1 + note / kPitchClasses;
    std::snprintf(name, sizeof name, "%s%d Q", kWidthPitchNames[note % kPitchClasses], octave);
    GetParam(kNoteWidthParam + note)->DeclareDouble(name, 1.0, 0.1, 4.0, 0.1, "Octave");
  }
}

Semtaro::~Semtaro() = default;

void Semtaro::OnReset()
{
  Redesign();
}

void Semtaro::OnParamChanged(int /*paramIdx*/)
{
  Redesign();
}

void Semtaro::Redesign()
{
  mSampleRate = GetSampleRate();
  for (int note = 0; note < kNoteCount; ++note) {
    mBank.DesignBand(note, NoteFrequencyTable[note], mSampleRate,
                     GetParam(kNoteWidthParam + note)->Value(),
                     GetParam(kNoteGainParam + note)->Value());
  }
}

void Semtaro::ProcessBlock(double** inputs, double** outputs, int nFrames)
{
  const double gain = GetParam(kGainParam)->AmplitudeFromDB();
  double peaks[2];
  mBank.Process(inputs, outputs, nFrames, gain, peaks);
  for (int channel = 0; channel < 2; ++channel) {
    const double level = mMeters[channel].Update(peaks[channel]);
    if (IEditorSurface* editor = GetEditor()) editor->SetControlValue(mMeterControls[channel], level);
  }
}
