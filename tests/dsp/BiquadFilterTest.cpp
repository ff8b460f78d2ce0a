#include "dsp/BiquadFilter.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr double kPi = 3.141592653589793;

std::uint32_t Bits(float v)
{
  std::uint32_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

bool SameState(const BiquadState& a, const BiquadState& b)
{
  return Bits(a.y1) == Bits(b.y1) && Bits(a.y2) == Bits(b.y2) && Bits(a.x1) == Bits(b.x1) &&
         Bits(a.x2) == Bits(b.x2);
}

// Steady-state gain in dB of a section at an integer frequency: one second to settle, then the
// RMS ratio over one second, which holds a whole number of periods.
template <bool B>
double MeasuredGainDb(BiquadFilter<B> section, int freq, int sampleRate)
{
  double inPower = 0.0, outPower = 0.0;
  for (int n = 0; n < 2 * sampleRate; ++n) {
    const float x = static_cast<float>(0.5 * std::sin(2.0 * kPi * freq * n / sampleRate));
    const float y = section.ProcessSample(x);
    if (n >= sampleRate) {
      inPower += static_cast<double>(x) * x;
      outPower += static_cast<double>(y) * y;
    }
  }
  return 10.0 * std::log10(outPower / inPower);
}

std::vector<float> Noise(int n)
{
  std::vector<float> v(n);
  std::uint32_t s = 12345;
  for (float& x : v) {
    s = s * 1664525u + 1013904223u;
    x = static_cast<float>(static_cast<double>(s >> 8) / (1 << 24) - 0.5);
  }
  return v;
}

struct ShapeCase {
  BiquadType type;
  double b0, b1, b2, a1, a2;
};

// At a quarter of the sample rate cos(w0) = 0 and sin(w0) = 1, so with Q = 0.5 alpha is 1 and
// the normalised coefficients reduce to the closed forms below (A = 2 for the gain shapes,
// beta = sqrt(2) / 0.5 = 2 sqrt(2) for the shelves).
TEST(BiquadDesign, EveryShapeAtQuarterSampleRateMatchesHandValues)
{
  const double s = 2.0 * std::sqrt(2.0);
  const ShapeCase cases[] = {
      {BiquadType::LowPass, 0.25, 0.5, 0.25, 0.0, 0.0},
      {BiquadType::HighPass, 0.25, -0.5, 0.25, 0.0, 0.0},
      {BiquadType::BandPassSkirt, 0.25, 0.0, -0.25, 0.0, 0.0},
      {BiquadType::BandPassPeak, 0.5, 0.0, -0.5, 0.0, 0.0},
      {BiquadType::Notch, 0.5, 0.0, 0.5, 0.0, 0.0},
      {BiquadType::AllPass, 0.0, 0.0, 1.0, 0.0, 0.0},
      {BiquadType::Peaking, 2.0, 0.0, -2.0 / 3.0, 0.0, 1.0 / 3.0},
      {BiquadType::LowShelf, 2.0, 4.0 / (3.0 + s), 2.0 * (3.0 - s) / (3.0 + s), -2.0 / (3.0 + s),
       (3.0 - s) / (3.0 + s)},
      {BiquadType::HighShelf, 2.0, -4.0 / (3.0 + s), 2.0 * (3.0 - s) / (3.0 + s), 2.0 / (3.0 + s),
       (3.0 - s) / (3.0 + s)},
  };
  const double gainForA2 = 40.0 * std::log10(2.0);
  for (const ShapeCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.type));
    PlainBiquad f;
    f.Design(c.type, 12000.0, 48000.0, 0.5, gainForA2, false);
    const BiquadCoefficients k = f.Coefficients();
    const double tol = 2e-6;
    EXPECT_NEAR(k.b0, c.b0, tol);
    EXPECT_NEAR(k.b1, c.b1, tol);
    EXPECT_NEAR(k.b2, c.b2, tol);
    EXPECT_NEAR(k.a1, c.a1, tol);
    EXPECT_NEAR(k.a2, c.a2, tol);
  }
}

TEST(BiquadDesign, BandwidthModeUsesOctavesForAlphaButQForShelves)
{
  // Bandwidth of one octave at fs/4: alpha = sinh(ln2/2 * pi/2).
  const double alpha = std::sinh(std::log(2.0) / 2.0 * kPi / 2.0);
  PlainBiquad bp;
  bp.Design(BiquadType::BandPassPeak, 12000.0, 48000.0, 1.0, 0.0, true);
  EXPECT_NEAR(bp.Coefficients().b0, alpha / (1.0 + alpha), 1e-7);
  EXPECT_NEAR(bp.Coefficients().a2, (1.0 - alpha) / (1.0 + alpha), 1e-7);

  // The shelves take the fourth argument as a Q in either mode.
  PlainBiquad octaves, q;
  octaves.Design(BiquadType::LowShelf, 1000.0, 48000.0, 0.7, 6.0, true);
  q.Design(BiquadType::LowShelf, 1000.0, 48000.0, 0.7, 6.0, false);
  const BiquadCoefficients a = octaves.Coefficients(), b = q.Coefficients();
  EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
}

TEST(BiquadDesign, PeakingAtZeroDbAndZeroBandwidthAreExactIdentities)
{
  struct Case {
    double freq, bandwidth, gain;
  };
  const Case cases[] = {{32.7, 1.0, 0.0}, {1000.0, 0.1, 0.0}, {15804.0, 4.0, 0.0},
                        {440.0, 0.0, 12.0}, {5000.0, 0.0, -12.0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.freq);
    PlainBiquad f;
    f.Design(BiquadType::Peaking, c.freq, 44100.0, c.bandwidth, c.gain, true);
    const BiquadCoefficients k = f.Coefficients();
    EXPECT_EQ(k.b0, 1.0f);
    EXPECT_EQ(k.b1, k.a1);
    EXPECT_EQ(k.b2, k.a2);
  }
}

TEST(BiquadDesign, NonFiniteDesignLeavesIdentityAndNoNaN)
{
  struct Case {
    BiquadType type;
    double freq;
  };
  const Case cases[] = {{BiquadType::Peaking, 24000.0},  // exactly half the sample rate
                        {BiquadType::Peaking, 0.0},
                        {static_cast<BiquadType>(9), 1000.0}};
  const std::vector<float> in = Noise(64);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.freq);
    PlainBiquad f;
    f.Design(BiquadType::Peaking, 1000.0, 48000.0, 1.0, 12.0, true);
    for (float x : in) f.ProcessSample(x);
    f.Design(c.type, c.freq, 48000.0, 1.0, 12.0, true);
    const BiquadCoefficients k = f.Coefficients();
    EXPECT_EQ(k.b0, 1.0f);
    EXPECT_EQ(k.b1, 0.0f);
    EXPECT_EQ(k.b2, 0.0f);
    EXPECT_EQ(k.a1, 0.0f);
    EXPECT_EQ(k.a2, 0.0f);
    for (float x : in) EXPECT_EQ(Bits(f.ProcessSample(x)), Bits(x == 0.0f ? 0.0f : x));
  }
}

TEST(BiquadResponse, PeakingBoostAndCutAtCentreOnSteadySine)
{
  for (double gain : {12.0, -12.0}) {
    PlainBiquad f;
    f.Design(BiquadType::Peaking, 1000.0, 48000.0, 1.0, gain, true);
    EXPECT_NEAR(MeasuredGainDb(f, 1000, 48000), gain, 0.02);
    EXPECT_NEAR(MeasuredGainDb(f, 30, 48000), 0.0, 0.1);      // far below the band
    EXPECT_NEAR(MeasuredGainDb(f, 16000, 48000), 0.0, 0.25);  // far above it
  }
}

TEST(BiquadResponse, CentreAboveNyquistFoldsAndWidens)
{
  // 15 kHz at 22.05 kHz folds to 7050 Hz with its full gain, on a wider band than a section
  // designed at 7050 Hz directly.
  PlainBiquad folded, direct;
  folded.Design(BiquadType::Peaking, 15000.0, 22050.0, 1.0, 12.0, true);
  direct.Design(BiquadType::Peaking, 7050.0, 22050.0, 1.0, 12.0, true);
  EXPECT_NEAR(MeasuredGainDb(folded, 7050, 22050), 12.0, 0.05);
  EXPECT_GT(MeasuredGainDb(folded, 4000, 22050), MeasuredGainDb(direct, 4000, 22050) + 1.0);
}

TEST(BiquadProcess, FlatBypassIsBitExactAndFreezesState)
{
  const std::vector<float> in = Noise(256);
  BypassingBiquad bypassing;
  PlainBiquad reference;
  bypassing.Design(BiquadType::Peaking, 2000.0, 48000.0, 2.0, 6.0, true);
  reference.Design(BiquadType::Peaking, 2000.0, 48000.0, 2.0, 6.0, true);
  for (int n = 0; n < 100; ++n) reference.ProcessSample(in[n]);
  for (int n = 0; n < 100; ++n) bypassing.ProcessSample(in[n]);

  const BiquadState frozen = bypassing.State();
  bypassing.Design(BiquadType::Peaking, 2000.0, 48000.0, 2.0, 0.0, true);
  EXPECT_TRUE(bypassing.Bypassed());
  const float specials[] = {-0.0f, 1e-40f, -1e-42f, std::numeric_limits<float>::quiet_NaN()};
  for (float x : specials) EXPECT_EQ(Bits(bypassing.ProcessSample(x)), Bits(x));
  for (int n = 100; n < 200; ++n) EXPECT_EQ(Bits(bypassing.ProcessSample(in[n])), Bits(in[n]));
  EXPECT_TRUE(SameState(bypassing.State(), frozen));

  // Back at +6 dB it carries on from the frozen state, as if the bypassed samples never came.
  bypassing.Design(BiquadType::Peaking, 2000.0, 48000.0, 2.0, 6.0, true);
  for (int n = 200; n < 256; ++n)
    EXPECT_EQ(Bits(bypassing.ProcessSample(in[n])), Bits(reference.ProcessSample(in[n])));
}

TEST(BiquadProcess, PlainVariantFiltersAtZeroDbWithinRounding)
{
  PlainBiquad f;
  f.Design(BiquadType::Peaking, 500.0, 48000.0, 1.0, 0.0, true);
  EXPECT_FALSE(f.Bypassed());
  const std::vector<float> in = Noise(4096);
  for (float x : in) EXPECT_NEAR(f.ProcessSample(x), x, 1e-5);
  EXPECT_NE(f.State().x1, 0.0f);  // it did run the recursion
}

TEST(BiquadProcess, ZeroAndSubnormalOutputsLeaveAsPositiveZero)
{
  PlainBiquad f;
  f.Design(BiquadType::Peaking, 1000.0, 48000.0, 1.0, 0.0, true);  // b0 = 1, an identity
  EXPECT_EQ(Bits(f.ProcessSample(-0.0f)), 0u);
  EXPECT_EQ(Bits(f.ProcessSample(1e-40f)), 0u);
  EXPECT_EQ(f.State().x1, 1e-40f);  // the input is kept unflushed
  EXPECT_EQ(Bits(f.State().y1), 0u);
  EXPECT_EQ(Bits(f.ProcessSample(-FLT_MIN / 2)), 0u);

  PlainBiquad fresh;
  fresh.Design(BiquadType::Peaking, 1000.0, 48000.0, 1.0, 0.0, true);
  EXPECT_EQ(fresh.ProcessSample(FLT_MIN), FLT_MIN);  // the smallest normal is kept
}

TEST(BiquadProcess, NonFiniteOutputClearsStateAndFilteringRecovers)
{
  const float bad[] = {std::numeric_limits<float>::quiet_NaN(),
                       std::numeric_limits<float>::infinity(),
                       -std::numeric_limits<float>::infinity(), FLT_MAX};  // FLT_MAX * 4 overflows
  const std::vector<float> in = Noise(200);
  for (float x : bad) {
    SCOPED_TRACE(x);
    PlainBiquad f, fresh;
    f.Design(BiquadType::Peaking, 1000.0, 48000.0, 1.0, 12.0, true);
    fresh = f;
    for (int n = 0; n < 100; ++n) f.ProcessSample(in[n]);
    const float y = f.ProcessSample(x);
    EXPECT_FALSE(std::isfinite(y));
    EXPECT_TRUE(SameState(f.State(), BiquadState{0, 0, 0, 0}));
    for (int n = 100; n < 200; ++n)
      EXPECT_EQ(Bits(f.ProcessSample(in[n])), Bits(fresh.ProcessSample(in[n])));
  }
}

TEST(BiquadProcess, RedesignKeepsSignalState)
{
  const std::vector<float> in = Noise(300);
  PlainBiquad steady, redesigned;
  steady.Design(BiquadType::Peaking, 800.0, 48000.0, 0.5, -9.0, true);
  redesigned = steady;
  for (int n = 0; n < 300; ++n) {
    if (n % 7 == 0) redesigned.Design(BiquadType::Peaking, 800.0, 48000.0, 0.5, -9.0, true);
    EXPECT_EQ(Bits(redesigned.ProcessSample(in[n])), Bits(steady.ProcessSample(in[n])));
  }
  const BiquadState before = redesigned.State();
  redesigned.Design(BiquadType::HighShelf, 3000.0, 44100.0, 0.7, 3.0, false);
  EXPECT_TRUE(SameState(redesigned.State(), before));
}

}  // namespace
