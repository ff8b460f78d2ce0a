#include "dsp/IPeakingBank.h"
#include "dsp/IPeakMeter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr int kBands = 6;
const double kFreqs[kBands] = {60.0, 250.0, 1000.0, 3000.0, 8000.0, 14000.0};
const double kGains[kBands] = {6.0, 0.0, -9.0, 12.0, 0.0, -3.0};  // two bands flat
const double kWidths[kBands] = {1.0, 2.0, 0.5, 1.5, 4.0, 0.3};

std::vector<double> Noise(int n, unsigned seed)
{
  std::vector<double> v(n);
  for (double& x : v) {
    seed = seed * 1664525u + 1013904223u;
    x = static_cast<double>(seed >> 8) / (1 << 24) - 0.5;
  }
  return v;
}

template <bool B>
struct Reference {
  BiquadFilter<B> sections[2 * kBands];
  void Design(double sampleRate)
  {
    for (int n = 0; n < kBands; ++n)
      for (int c = 0; c < 2; ++c)
        sections[2 * n + c].Design(BiquadType::Peaking, kFreqs[n], sampleRate, kWidths[n],
                                   kGains[n], true);
  }
  // One sample through one channel's cascade, top band first, the way the effects specify it.
  double Run(int channel, double x, double gain, bool topFirst = true)
  {
    float v = static_cast<float>(x);
    for (int i = 0; i < kBands; ++i) {
      const int band = topFirst ? kBands - 1 - i : i;
      v = sections[2 * band + channel].ProcessSample(v);
    }
    return static_cast<double>(v) * gain;
  }
};

template <typename T>
class PeakingBankTest : public ::testing::Test {};
using Variants = ::testing::Types<std::true_type, std::false_type>;
TYPED_TEST_SUITE(PeakingBankTest, Variants);

TYPED_TEST(PeakingBankTest, MatchesPerSampleCascadeBitForBitAcrossBlockSizes)
{
  constexpr bool kBypass = TypeParam::value;
  IPeakingBank<kBands, kBypass> bank;
  Reference<kBypass> reference, reversed;
  for (int n = 0; n < kBands; ++n) bank.DesignBand(n, kFreqs[n], 48000.0, kWidths[n], kGains[n]);
  reference.Design(48000.0);
  reversed.Design(48000.0);

  const double gain = 1.7;
  bool orderMatters = false;
  unsigned seed = 1;
  for (int frames : {1, 63, 64, 65, 1000, 0, 7}) {
    SCOPED_TRACE(frames);
    std::vector<double> left = Noise(frames, seed++), right = Noise(frames, seed++);
    std::vector<double> outLeft(frames), outRight = right;  // right runs in place
    const double* in[2] = {left.data(), right.data()};
    double* out[2] = {outLeft.data(), outRight.data()};
    double peaks[2] = {-1.0, -1.0};
    bank.Process(in, out, frames, gain, peaks);

    double expectPeak[2] = {0.0, 0.0};
    for (int s = 0; s < frames; ++s) {
      const double l = reference.Run(0, left[s], gain), r = reference.Run(1, right[s], gain);
      ASSERT_EQ(outLeft[s], l) << "frame " << s;
      ASSERT_EQ(outRight[s], r) << "frame " << s;
      expectPeak[0] = std::fmax(expectPeak[0], std::fabs(l));
      expectPeak[1] = std::fmax(expectPeak[1], std::fabs(r));
      if (reversed.Run(0, left[s], gain, false) != l) orderMatters = true;
    }
    EXPECT_EQ(peaks[0], expectPeak[0]);
    EXPECT_EQ(peaks[1], expectPeak[1]);
  }
  EXPECT_TRUE(orderMatters);  // the comparison above can tell the cascade order apart
}

TYPED_TEST(PeakingBankTest, ChannelsAreIndependent)
{
  IPeakingBank<kBands, TypeParam::value> bank;
  for (int n = 0; n < kBands; ++n) bank.DesignBand(n, kFreqs[n], 44100.0, kWidths[n], kGains[n]);
  const int frames = 512;
  std::vector<double> left = Noise(frames, 9), silence(frames, 0.0);
  std::vector<double> outLeft(frames), outRight(frames, 1.0);
  const double* in[2] = {left.data(), silence.data()};
  double* out[2] = {outLeft.data(), outRight.data()};
  double peaks[2];
  for (int block = 0; block < 4; ++block) bank.Process(in, out, frames, 1.0, peaks);
  for (double y : outRight) ASSERT_EQ(y, 0.0);
  EXPECT_EQ(peaks[1], 0.0);
  EXPECT_GT(peaks[0], 0.1);
}

TEST(PeakingBankPeaks, NonFiniteSamplesDoNotCount)
{
  IPeakingBank<1, true> bank;
  bank.DesignBand(0, 1000.0, 48000.0, 1.0, 0.0);
  const double inf = std::numeric_limits<double>::infinity();
  const double left[4] = {0.25, -inf, std::nan(""), -0.5};
  const double right[4] = {inf, 0.0, 0.0, 0.0};
  double outLeft[4], outRight[4];
  const double* in[2] = {left, right};
  double* out[2] = {outLeft, outRight};
  double peaks[2];
  bank.Process(in, out, 4, 1.0, peaks);
  EXPECT_EQ(outLeft[1], -inf);  // the samples themselves go out as they are
  EXPECT_EQ(peaks[0], 0.5);
  EXPECT_EQ(peaks[1], 0.0);
}

TEST(PeakingBankDesign, SkippedDesignsNeverDifferFromFreshOnes)
{
  struct Change {
    const char* what;
    double freq, sampleRate, width, gain;
  };
  const Change changes[] = {
      {"same", 1000.0, 48000.0, 1.0, 6.0},       {"frequency", 1000.5, 48000.0, 1.0, 6.0},
      {"sample rate", 1000.5, 44100.0, 1.0, 6.0}, {"bandwidth", 1000.5, 44100.0, 1.1, 6.0},
      {"gain", 1000.5, 44100.0, 1.1, -6.0},      {"to flat", 1000.5, 44100.0, 1.1, 0.0},
      {"back", 1000.0, 48000.0, 1.0, 6.0},
  };
  IPeakingBank<1, true> bank;
  for (const Change& c : changes) {
    SCOPED_TRACE(c.what);
    bank.DesignBand(0, c.freq, c.sampleRate, c.width, c.gain);
    BypassingBiquad fresh;
    fresh.Design(BiquadType::Peaking, c.freq, c.sampleRate, c.width, c.gain, true);
    for (int channel = 0; channel < 2; ++channel) {
      const BiquadCoefficients got = bank.SectionAt(channel).Coefficients();
      const BiquadCoefficients want = fresh.Coefficients();
      EXPECT_EQ(std::memcmp(&got, &want, sizeof got), 0);
      EXPECT_EQ(bank.SectionAt(channel).Bypassed(), c.gain == 0.0);
    }
  }
}

TEST(PeakMeter, RisesTenPercentAndFallsOnePercentPerBlockUnclamped)
{
  IPeakMeter meter;
  EXPECT_EQ(meter.Level(), 0.0);
  struct Step {
    double peak, level;
  };
  const Step steps[] = {
      {1.0, 0.1},  // up: 10 % of the way
      {1.0, 0.19},
      {0.0, 0.1881},  // down: 1 % of the way
      {5.0, 0.66929},  // levels above 1 are passed on as they are
      {5.0, 1.102361},
  };
  for (const Step& s : steps) {
    EXPECT_NEAR(meter.Update(s.peak), s.level, 1e-12);
    EXPECT_NEAR(meter.Level(), s.level, 1e-12);
  }
}

}  // namespace
