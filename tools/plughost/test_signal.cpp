#include "test_signal.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr double kPi = 3.14159265358979323846;

// A small fixed-seed generator whose output is the same everywhere (the standard distributions
// are not).
class NoiseSource {
public:
  explicit NoiseSource(std::uint64_t seed) : mState(seed ? seed : 1) {}
  // Uniform in [-1, 1).
  double Next()
  {
    mState ^= mState << 13;
    mState ^= mState >> 7;
    mState ^= mState << 17;
    return static_cast<double>(mState >> 11) * (2.0 / 9007199254740992.0) - 1.0;
  }

private:
  std::uint64_t mState;
};

// Pink noise from rows of held random values, row k renewed every 2^k samples: their sum falls
// by about 3 dB per octave over the rows' span.
class PinkNoise {
public:
  explicit PinkNoise(std::uint64_t seed) : mNoise(seed)
  {
    for (double& row : mRows) {
      row = mNoise.Next();
      mSum += row;
    }
  }
  double Next()
  {
    ++mCounter;
    int row = 0;
    for (std::uint32_t c = mCounter; (c & 1u) == 0 && row < kRows - 1; c >>= 1)
      ++row;
    mSum -= mRows[row];
    mRows[row] = mNoise.Next();
    mSum += mRows[row];
    return (mSum + mNoise.Next()) / (kRows + 1);
  }

private:
  static constexpr int kRows = 16;
  NoiseSource mNoise;
  double mRows[kRows] = {};
  double mSum = 0.0;
  std::uint32_t mCounter = 0;
};

double Rms(const std::vector<double>& samples)
{
  double sum = 0.0;
  for (double s : samples)
    sum += s * s;
  return samples.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(samples.size()));
}

}  // namespace

std::vector<double> ChordFrequencies(double rootHz)
{
  // Root, fifth, octave and the tenth (the major third an octave up): semitones 0, 7, 12, 16.
  return {rootHz, rootHz * std::pow(2.0, 7.0 / 12.0), rootHz * 2.0, rootHz * std::pow(2.0, 16.0 / 12.0)};
}

std::vector<std::vector<double>> MakeChordSignal(const ChordSignalSettings& settings)
{
  const int frames = static_cast<int>(std::lround(settings.seconds * settings.sampleRate));
  std::vector<std::vector<double>> channels(2, std::vector<double>(frames, 0.0));
  const std::vector<double> notes = ChordFrequencies(settings.rootHz);
  constexpr double kOvertones[] = {1.0, 0.3, 0.12};

  // The chord, the same on both channels, with 30 ms fades so that it starts and stops cleanly.
  const double fade = 0.03 * settings.sampleRate;
  double peak = 0.0;
  std::vector<double> chord(frames, 0.0);
  for (int i = 0; i < frames; ++i) {
    double t = i / settings.sampleRate, sum = 0.0;
    for (double note : notes)
      for (int k = 0; k < 3; ++k)
        sum += kOvertones[k] * std::sin(2.0 * kPi * note * (k + 1) * t);
    double envelope = std::fmin(1.0, std::fmin(i / fade, (frames - 1 - i) / fade));
    chord[i] = sum * envelope;
    peak = std::fmax(peak, std::fabs(chord[i]));
  }
  for (int c = 0; c < 2; ++c) {
    PinkNoise pink(0x5EED0000u + static_cast<unsigned>(c));
    std::vector<double> noise(frames);
    for (double& s : noise)
      s = pink.Next();
    const double noiseScale = Rms(noise) > 0.0 ? settings.noiseRms / Rms(noise) : 0.0;
    for (int i = 0; i < frames; ++i)
      channels[c][i] = chord[i] * (peak > 0.0 ? settings.chordPeak / peak : 0.0) + noise[i] * noiseScale;
  }
  return channels;
}

std::vector<std::vector<double>> MakeWhiteNoise(int channels, int frames, double rms)
{
  std::vector<std::vector<double>> out(channels, std::vector<double>(frames));
  NoiseSource noise(0xBE7C4u);
  // A uniform variable in [-1, 1) has an RMS of 1/sqrt(3).
  const double scale = rms * std::sqrt(3.0);
  for (auto& channel : out)
    for (double& s : channel)
      s = noise.Next() * scale;
  return out;
}
