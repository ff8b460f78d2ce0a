// Generated test signals, so that no recording has to come from elsewhere: a major chord (root,
// fifth, octave and the major third above it, equal-tempered, each with two soft overtones) over
// pink noise, and white noise for timing. Both are deterministic: the same arguments give the same
// samples on every machine.
#pragma once

#include <vector>

struct ChordSignalSettings {
  double seconds = 4.0;
  double sampleRate = 48000.0;
  double rootHz = 110.0;
  double chordPeak = 0.5;     // linear peak of the chord
  double noiseRms = 0.03;     // linear RMS of the pink noise, independent per channel
};

// Two channels.
std::vector<std::vector<double>> MakeChordSignal(const ChordSignalSettings& settings);

// The frequencies of the chord's four notes, lowest first.
std::vector<double> ChordFrequencies(double rootHz);

// channels x frames of white noise with the given RMS.
std::vector<std::vector<double>> MakeWhiteNoise(int channels, int frames, double rms);
