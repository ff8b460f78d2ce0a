// Baskel and Thorvin: the same parameters and signal path on two multiplier series, with and
// without the flat bypass.
#include "effects/baskel/Baskel.h"
#include "effects/thorvin/Thorvin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "tests/effects/EffectHarness.h"
#include "tests/effects/ReferenceCascade.h"

namespace {

using test_host::Harness;
using test_host::Stereo;

struct BaskelTraits {
  using Plug = Baskel;
  static constexpr bool kFlatBypass = true;
  static constexpr int kParams = 35;
  static constexpr size_t kChunkBytes = 288;
  static constexpr VstInt32 kId = VstFourCharId('B', 's', 'k', 'l');
  // Band 16 stays below Nyquist at 44.1 kHz for every Tune.
  static constexpr double kSeries[16] = {1, 1.5, 2, 3, 4, 6, 8, 12, 16, 24, 32, 48, 64, 96, 128, 192};
};

struct ThorvinTraits {
  using Plug = Thorvin;
  static constexpr bool kFlatBypass = false;
  static constexpr int kParams = 34;
  static constexpr size_t kChunkBytes = 280;
  static constexpr VstInt32 kId = VstFourCharId('t', 'h', 'r', 'v');
  static constexpr double kSeries[16] = {1, 1.5, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
};

constexpr int kGain = 0, kBandGain = 1, kTune = 17, kBandWidth = 18;

Stereo NoiseStereo(int frames, unsigned seed)
{
  Stereo s;
  s.left = test_host::Noise(frames, seed);
  s.right = test_host::Noise(frames, seed + 1000);
  return s;
}

template <typename Traits>
class HarmonicEqTest : public ::testing::Test {
protected:
  using Plug = typename Traits::Plug;
  Plug* plug = new Plug(test_host::Callback);  // deleted by the harness's effClose
  Harness host{plug->Effect()};

  std::unique_ptr<ReferenceCascade<Traits::kFlatBypass, 16>> Reference(double sampleRate)
  {
    auto ref = std::make_unique<ReferenceCascade<Traits::kFlatBypass, 16>>();
    const double tune = plug->GetParam(kTune)->Value();
    for (int b = 0; b < 16; ++b)
      ref->DesignBand(b, tune * Traits::kSeries[b], sampleRate, plug->GetParam(kBandWidth + b)->Value(),
                      plug->GetParam(kBandGain + b)->Value());
    return ref;
  }
};

using Effects = ::testing::Types<BaskelTraits, ThorvinTraits>;
TYPED_TEST_SUITE(HarmonicEqTest, Effects);

TYPED_TEST(HarmonicEqTest, DeclaresItsParameterTableAndChunk)
{
  AEffect* e = this->host.Effect();
  ASSERT_EQ(e->numParams, TypeParam::kParams);
  EXPECT_EQ(e->uniqueID, TypeParam::kId);
  EXPECT_EQ(e->numPrograms, 6);

  struct Row {
    const char* name;
    double def, min, max, step;
    const char* label;
  };
  std::vector<Row> rows = {{"Gain", 0, -12, 12, 0.1, "dB"}};
  static char names[32][32];
  for (int b = 1; b <= 16; ++b) {
    std::snprintf(names[b - 1], 32, "Band %d Gain", b);
    rows.push_back({names[b - 1], 0, -12, 12, 1, "dB"});
  }
  rows.push_back({"Tune", 50, 20, 80, 0.1, "Hz"});
  for (int b = 1; b <= 16; ++b) {
    std::snprintf(names[15 + b], 32, "Band %d Q", b);
    rows.push_back({names[15 + b], 1, 0.1, 4, 0.1, "Octave"});
  }
  std::vector<double> defaults;
  for (int i = 0; i < 34; ++i) {
    SCOPED_TRACE(i);
    const IEffectParam* p = this->plug->GetParam(i);
    EXPECT_STREQ(p->Name(), rows[i].name);
    EXPECT_EQ(p->Type(), ParamType::Double);
    EXPECT_EQ(p->Value(), rows[i].def);
    EXPECT_EQ(p->Min(), rows[i].min);
    EXPECT_EQ(p->Max(), rows[i].max);
    EXPECT_EQ(p->Step(), rows[i].step);
    EXPECT_STREQ(p->Label(), rows[i].label);
    defaults.push_back(rows[i].def);
  }
  if (TypeParam::kParams == 35) {
    // Baskel reports one parameter more than it declares; it keeps the undeclared state.
    const IEffectParam* p = this->plug->GetParam(34);
    EXPECT_EQ(p->Type(), ParamType::Undeclared);
    EXPECT_STREQ(p->Name(), "");
    EXPECT_EQ(p->Max(), 1.0);
    defaults.push_back(0.0);
  }
  EXPECT_EQ(this->host.GetChunk(), test_host::MakeChunk(defaults));
  EXPECT_EQ(this->host.GetChunk().size(), TypeParam::kChunkBytes);
}

TYPED_TEST(HarmonicEqTest, DefaultsPassTheSignal)
{
  this->host.Open();
  const Stereo in = NoiseStereo(4096, 2);
  const Stereo out = this->host.Process(in, 700);
  for (int s = 0; s < in.Frames(); ++s) {
    const double l = test_host::Single(in.left[s]), r = test_host::Single(in.right[s]);
    if (TypeParam::kFlatBypass) {
      ASSERT_EQ(out.left[s], l);
      ASSERT_EQ(out.right[s], r);
    } else {
      ASSERT_NEAR(out.left[s], l, 2e-6);
      ASSERT_NEAR(out.right[s], r, 2e-6);
    }
  }
}

TYPED_TEST(HarmonicEqTest, BandBackAtZeroDbIsBypassedOrRingsOut)
{
  // With the flat bypass a band returned to 0 dB passes the signal at once; without it, the
  // section keeps filtering and the state left by the boost rings out first.
  this->host.Open();
  this->host.SetParameter(kBandGain, 1.0f);
  this->host.Process(NoiseStereo(2048, 3));
  this->host.SetParameter(kBandGain, 0.5f);
  const Stereo in = NoiseStereo(48000, 4);
  const Stereo out = this->host.Process(in);
  double early = 0.0, late = 0.0;  // the first 256 samples, the last half second
  for (int s = 0; s < in.Frames(); ++s) {
    const double error = std::fabs(out.left[s] - test_host::Single(in.left[s]));
    if (s < 256) early = std::fmax(early, error);
    if (s >= 24000) late = std::fmax(late, error);
  }
  if (TypeParam::kFlatBypass) {
    EXPECT_EQ(early, 0.0);
    EXPECT_EQ(late, 0.0);
  } else {
    EXPECT_GT(early, 1e-3);
    EXPECT_LT(late, 2e-4);  // rounding noise of the recursion, raised by the resonance
  }
}

TYPED_TEST(HarmonicEqTest, BandsSitOnTheirSeriesAndFollowTune)
{
  this->host.Open(48000.0f);
  this->host.Dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);  // a reset keeps the series
  const struct {
    float tune;  // normalised: 20 + 60 n Hz
    int band;
  } cases[] = {{0.5f, 1}, {0.5f, 2}, {0.5f, 6}, {0.5f, 16}, {1.0f, 16}, {0.0f, 3}, {1.0f, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "tune " << c.tune << " band " << c.band);
    this->host.SetParameter(kTune, c.tune);
    this->host.SetParameter(kBandGain + c.band - 1, 1.0f);
    const double freq = (20.0 + 60.0 * c.tune) * TypeParam::kSeries[c.band - 1];
    ASSERT_EQ(freq, std::floor(freq));
    double left, right;
    this->host.GainDbAt(static_cast<int>(freq), 44100, &left, &right);
    EXPECT_NEAR(left, 12.0, 0.05);
    EXPECT_NEAR(right, 12.0, 0.05);
    this->host.SetParameter(kBandGain + c.band - 1, 0.5f);
  }
}

TYPED_TEST(HarmonicEqTest, CascadeRunsTopBandFirstOnEachChannel)
{
  this->host.Open();
  const struct {
    int band;
    float gain, width;
  } bands[] = {{1, 1.0f, 0.2f}, {4, 0.3f, 0.9f}, {5, 0.6f, 0.1f}, {12, 0.0f, 0.5f}, {16, 0.8f, 0.0f}};
  for (const auto& b : bands) {
    this->host.SetParameter(kBandGain + b.band - 1, b.gain);
    this->host.SetParameter(kBandWidth + b.band - 1, b.width);
  }
  this->host.SetParameter(kTune, 0.37f);
  this->host.SetParameter(kGain, 0.45f);
  auto ref = this->Reference(48000.0);
  const Stereo in = NoiseStereo(3000, 17);
  const Stereo out = this->host.Process(in, 256);
  const Stereo expected = ref->Run(in, this->plug->GetParam(kGain)->AmplitudeFromDB());
  EXPECT_TRUE(SameSamples(out.left, expected.left));
  EXPECT_TRUE(SameSamples(out.right, expected.right));
}

TYPED_TEST(HarmonicEqTest, OutputGainIsRefreshedOnlyByTheParameterHook)
{
  this->host.Open();
  const Stereo in = NoiseStereo(512, 4);
  int loudest = 0;
  for (int i = 0; i < in.Frames(); ++i)
    if (std::fabs(in.left[i]) > std::fabs(in.left[loudest])) loudest = i;
  auto gainInForce = [&] {
    return this->host.Process(in).left[loudest] / test_host::Single(in.left[loudest]);
  };
  this->host.SetParameter(kGain, 1.0f);
  EXPECT_NEAR(gainInForce(), std::exp(12.0 * 0.1151292546497), 1e-5);

  // A value changed behind the hook's back is not picked up by processing or by a reset...
  this->plug->GetParam(kGain)->SetValue(-12.0);
  EXPECT_NEAR(gainInForce(), std::exp(12.0 * 0.1151292546497), 1e-5);
  this->host.Dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
  EXPECT_NEAR(gainInForce(), std::exp(12.0 * 0.1151292546497), 1e-5);
  // ...only by the next parameter change, whichever parameter it is.
  this->host.SetParameter(TypeParam::kParams - 1, this->host.GetParameter(TypeParam::kParams - 1));
  EXPECT_NEAR(gainInForce(), std::exp(-12.0 * 0.1151292546497), 1e-5);
}

TEST(BaskelFolding, TopBandFoldsBelowNyquistAt22050)
{
  Baskel* plug = new Baskel(test_host::Callback);
  Harness host(plug->Effect());
  host.Open(22050.0f);
  host.SetParameter(kTune, 1.0f);           // 80 Hz: band 16 at 15360 Hz
  host.SetParameter(kBandGain + 15, 1.0f);  // +12 dB
  double left, right;
  host.GainDbAt(22050 - 15360, 22050, &left, &right);
  EXPECT_NEAR(left, 12.0, 0.1);
  EXPECT_NEAR(right, 12.0, 0.1);
}

TEST(BaskelParam34, HostChangesRunTheHookButAreInaudible)
{
  Baskel* plug = new Baskel(test_host::Callback);
  Harness host(plug->Effect());
  host.Open();
  host.SetParameter(34, 0.8f);
  EXPECT_EQ(plug->GetParam(34)->Value(), 1.0);  // undeclared: rounded to its step of 1
  const Stereo in = NoiseStereo(1024, 8);
  const Stereo out = host.Process(in);
  for (int s = 0; s < in.Frames(); ++s) ASSERT_EQ(out.left[s], test_host::Single(in.left[s]));
}

}  // namespace
