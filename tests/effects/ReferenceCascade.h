// The effects' signal path written out literally, one sample at a time: each channel's input
// rounded to single precision, through its sections from the top band down, times the output
// gain. Used to check an effect's output bit for bit.
#pragma once

#include "dsp/BiquadFilter.h"
#include "tests/effects/EffectHarness.h"

template <bool FlatBypass, int NBands>
struct ReferenceCascade {
  BiquadFilter<FlatBypass> sections[2 * NBands];  // 2n left, 2n + 1 right

  void DesignBand(int band, double freq, double sampleRate, double widthOctaves, double gainDb)
  {
    for (int channel = 0; channel < 2; ++channel)
      sections[2 * band + channel].Design(BiquadType::Peaking, freq, sampleRate, widthOctaves,
                                          gainDb, true);
  }

  test_host::Stereo Run(const test_host::Stereo& in, double gain)
  {
    test_host::Stereo out(in.Frames());
    for (int s = 0; s < in.Frames(); ++s) {
      out.left[s] = Channel(0, in.left[s]) * gain;
      out.right[s] = Channel(1, in.right[s]) * gain;
    }
    return out;
  }

private:
  double Channel(int channel, double x)
  {
    float v = static_cast<float>(x);
    for (int band = NBands - 1; band >= 0; --band) v = sections[2 * band + channel].ProcessSample(v);
    return v;
  }
};

// Bitwise equality of two signals, NaN included; reports the first difference.
inline ::testing::AssertionResult SameSamples(const std::vector<double>& a, const std::vector<double>& b)
{
  if (a.size() != b.size()) return ::testing::AssertionFailure() << "sizes differ";
  for (size_t i = 0; i < a.size(); ++i)
    if (std::memcmp(&a[i], &b[i], sizeof(double)) != 0)
      return ::testing::AssertionFailure() << "sample " << i << ": " << a[i] << " vs " << b[i];
  return ::testing::AssertionSuccess();
}
