#include "effects/semtar/Semtaro.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

#include "tests/effects/EffectHarness.h"
#include "tests/effects/ReferenceCascade.h"

namespace {

using test_host::Harness;
using test_host::Stereo;

constexpr int kNotes = 108;
constexpr int kGain = Semtaro::kGainParam;
constexpr int kNoteGain = Semtaro::kNoteGainParam;
constexpr int kNoteWidth = Semtaro::kNoteWidthParam;

// The names hosts and saved projects know, written out rather than derived.
const char* const kNoteParamNames[2 * kNotes] = {
    "C1 Gain", "C#1 Gain", "D1 Gain", "D#1 Gain", "E1 Gain", "F1 Gain", "F#1 Gain", "G1 Gain",
    "Gs1 Gain", "A1 Gain", "As1 Gain", "B1 Gain", "C2 Gain", "C#2 Gain", "D2 Gain", "D#2 Gain",
    "E2 Gain", "F2 Gain", "F#2 Gain", "G2 Gain", "Gs2 Gain", "A2 Gain", "As2 Gain", "B2 Gain",
    "C3 Gain", "C#3 Gain", "D3 Gain", "D#3 Gain", "E3 Gain", "F3 Gain", "F#3 Gain", "G3 Gain",
    "Gs3 Gain", "A3 Gain", "As3 Gain", "B3 Gain", "C4 Gain", "C#4 Gain", "D4 Gain", "D#4 Gain",
    "E4 Gain", "F4 Gain", "F#4 Gain", "G4 Gain", "Gs4 Gain", "A4 Gain", "As4 Gain", "B4 Gain",
    "C5 Gain", "C#5 Gain", "D5 Gain", "D#5 Gain", "E5 Gain", "F5 Gain", "F#5 Gain", "G5 Gain",
    "Gs5 Gain", "A5 Gain", "As5 Gain", "B5 Gain", "C6 Gain", "C#6 Gain", "D6 Gain", "D#6 Gain",
    "E6 Gain", "F6 Gain", "F#6 Gain", "G6 Gain", "Gs6 Gain", "A6 Gain", "As6 Gain", "B6 Gain",
    "C7 Gain", "C#7 Gain", "D7 Gain", "D#7 Gain", "E7 Gain", "F7 Gain", "F#7 Gain", "G7 Gain",
    "Gs7 Gain", "A7 Gain", "As7 Gain", "B7 Gain", "C8 Gain", "C#8 Gain", "D8 Gain", "D#8 Gain",
    "E8 Gain", "F8 Gain", "F#8 Gain", "G8 Gain", "Gs8 Gain", "A8 Gain", "As8 Gain", "B8 Gain",
    "C9 Gain", "C#9 Gain", "D9 Gain", "D#9 Gain", "E9 Gain", "F9 Gain", "F#9 Gain", "G9 Gain",
    "Gs9 Gain", "A9 Gain", "As9 Gain", "B9 Gain",
    "C1 Q", "C#1 Q", "D1 Q", "D#1 Q", "E1 Q", "F1 Q", "F#1 Q", "G1 Q", "G#1 Q", "A1 Q", "A#1 Q",
    "B1 Q", "C2 Q", "C#2 Q", "D2 Q", "D#2 Q", "E2 Q", "F2 Q", "F#2 Q", "G2 Q", "G#2 Q", "A2 Q",
    "A#2 Q", "B2 Q", "C3 Q", "C#3 Q", "D3 Q", "D#3 Q", "E3 Q", "F3 Q", "F#3 Q", "G3 Q", "G#3 Q",
    "A3 Q", "A#3 Q", "B3 Q", "C4 Q", "C#4 Q", "D4 Q", "D#4 Q", "E4 Q", "F4 Q", "F#4 Q", "G4 Q",
    "G#4 Q", "A4 Q", "A#4 Q", "B4 Q", "C5 Q", "C#5 Q", "D5 Q", "D#5 Q", "E5 Q", "F5 Q", "F#5 Q",
    "G5 Q", "G#5 Q", "A5 Q", "A#5 Q", "B5 Q", "C6 Q", "C#6 Q", "D6 Q", "D#6 Q", "E6 Q", "F6 Q",
    "F#6 Q", "G6 Q", "G#6 Q", "A6 Q", "A#6 Q", "B6 Q", "C7 Q", "C#7 Q", "D7 Q", "D#7 Q", "E7 Q",
    "F7 Q", "F#7 Q", "G7 Q", "G#7 Q", "A7 Q", "A#7 Q", "B7 Q", "C8 Q", "C#8 Q", "D8 Q", "D#8 Q",
    "E8 Q", "F8 Q", "F#8 Q", "G8 Q", "G#8 Q", "A8 Q", "A#8 Q", "B8 Q", "C9 Q", "C#9 Q", "D9 Q",
    "D#9 Q", "E9 Q", "F9 Q", "F#9 Q", "G9 Q", "G#9 Q", "A9 Q", "A#9 Q", "B9 Q",
};

Stereo NoiseStereo(int frames, unsigned seed)
{
  Stereo s;
  s.left = test_host::Noise(frames, seed);
  s.right = test_host::Noise(frames, seed + 1000);
  return s;
}

class SemtarTest : public ::testing::Test {
protected:
  // The harness closes the effect, which deletes it.
  Semtaro* plug = new Semtaro(test_host::Callback);
  Harness host{plug->Effect()};

  // A few bands set through the host, master gain included; top and bottom notes among them.
  void ShapeSomeBands()
  {
    const struct {
      int note;
      float gain, width;
    } bands[] = {{0, 1.0f, 0.3f}, {20, 0.2f, 0.05f}, {45, 0.9f, 0.23f},
                 {46, 0.1f, 0.6f}, {80, 0.75f, 1.0f}, {107, 0.0f, 0.1f}};
    for (const auto& b : bands) {
      host.SetParameter(kNoteGain + b.note, b.gain);
      host.SetParameter(kNoteWidth + b.note, b.width);
    }
    host.SetParameter(kGain, 0.4f);
  }

  // The literal cascade designed from the plug-in's current parameter values.
  std::unique_ptr<ReferenceCascade<true, kNotes>> Reference(double sampleRate)
  {
    auto ref = std::make_unique<ReferenceCascade<true, kNotes>>();
    for (int n = 0; n < kNotes; ++n)
      ref->DesignBand(n, NoteFrequencyTable[n], sampleRate, plug->GetParam(kNoteWidth + n)->Value(),
                      plug->GetParam(kNoteGain + n)->Value());
    return ref;
  }
};

TEST_F(SemtarTest, DeclaresItsParameterTableAndChunk)
{
  ASSERT_EQ(host.Effect()->numParams, 217);
  EXPECT_EQ(host.Effect()->numPrograms, 6);
  EXPECT_EQ(host.Effect()->uniqueID, VstFourCharId('s', 'e', 'm', 't'));

  struct Row {
    double def, min, max, step;
    const char* label;
  };
  const Row gain{0, -12, 12, 0.1, "dB"}, noteGain{0, -12, 12, 1, "dB"}, width{1, 0.1, 4, 0.1, "Octave"};
  for (int i = 0; i < 217; ++i) {
    SCOPED_TRACE(i);
    const IEffectParam* p = plug->GetParam(i);
    const Row& row = i == 0 ? gain : i <= kNotes ? noteGain : width;
    EXPECT_STREQ(p->Name(), i == 0 ? "Gain" : kNoteParamNames[i - 1]);
    EXPECT_EQ(p->Type(), ParamType::Double);
    EXPECT_EQ(p->Value(), row.def);
    EXPECT_EQ(p->Min(), row.min);
    EXPECT_EQ(p->Max(), row.max);
    EXPECT_EQ(p->Step(), row.step);
    EXPECT_STREQ(p->Label(), row.label);
  }

  const std::vector<unsigned char> chunk = host.GetChunk();
  ASSERT_EQ(chunk.size(), 1744u);
  double width0;
  std::memcpy(&width0, chunk.data() + 8 + 8 * kNoteWidth, 8);
  EXPECT_EQ(width0, 1.0);
}

TEST_F(SemtarTest, DefaultStateIsSinglePrecisionIdentity)
{
  host.Open();
  const Stereo in = NoiseStereo(5000, 7);
  const Stereo out = host.Process(in, 333);
  for (int s = 0; s < in.Frames(); ++s) {
    ASSERT_EQ(out.left[s], test_host::Single(in.left[s]));
    ASSERT_EQ(out.right[s], test_host::Single(in.right[s]));
  }
}

TEST_F(SemtarTest, MasterGainScalesEveryFlatSample)
{
  host.Open();
  host.SetParameter(kGain, 1.0f);  // +12 dB
  const double factor = std::exp(12.0 * 0.1151292546497);
  const Stereo in = NoiseStereo(2048, 3);
  const Stereo out = host.Process(in);
  for (int s = 0; s < in.Frames(); ++s) {
    ASSERT_EQ(out.left[s], test_host::Single(in.left[s]) * factor);
    ASSERT_EQ(out.right[s], test_host::Single(in.right[s]) * factor);
  }
}

TEST_F(SemtarTest, NoteBandBoostsAndCutsAtItsFrequency)
{
  host.Open();
  const struct {
    int note;
    float gain;
    int freq;
    double db;
  } cases[] = {{45, 1.0f, 440, 12.0}, {57, 0.0f, 880, -12.0}, {21, 1.0f, 110, 12.0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.note);
    host.SetParameter(kNoteGain + c.note, c.gain);
    double left, right;
    host.GainDbAt(c.freq, 48000, &left, &right);
    EXPECT_NEAR(left, c.db, 0.05);
    EXPECT_NEAR(right, c.db, 0.05);
    host.SetParameter(kNoteGain + c.note, 0.5f);  // back to 0 dB
  }
}

TEST_F(SemtarTest, CascadeRunsTopNoteFirstOnEachChannel)
{
  host.Open();
  ShapeSomeBands();
  auto ref = Reference(48000.0);
  const double gain = plug->GetParam(kGain)->AmplitudeFromDB();
  const Stereo in = NoiseStereo(3000, 11);
  const Stereo out = host.Process(in, 500);
  const Stereo expected = ref->Run(in, gain);
  EXPECT_TRUE(SameSamples(out.left, expected.left));
  EXPECT_TRUE(SameSamples(out.right, expected.right));
}

TEST_F(SemtarTest, ChannelsAreIndependent)
{
  host.Open();
  ShapeSomeBands();
  Stereo in(4096);
  in.left = test_host::Noise(4096, 5);
  const Stereo out = host.Process(in);
  for (double y : out.right) ASSERT_EQ(y, 0.0);
  EXPECT_GT(plug->MeterLevel(0), 0.0);
  EXPECT_EQ(plug->MeterLevel(1), 0.0);
}

TEST_F(SemtarTest, MetersRiseTenPercentAndFallOnePercentPerBlock)
{
  host.Open();
  Stereo block(256);
  std::fill(block.left.begin(), block.left.end(), 1.0);
  std::fill(block.right.begin(), block.right.end(), -0.5);
  host.Process(block);
  EXPECT_NEAR(plug->MeterLevel(0), 0.1, 1e-12);
  EXPECT_NEAR(plug->MeterLevel(1), 0.05, 1e-12);
  host.Process(block);
  EXPECT_NEAR(plug->MeterLevel(0), 0.19, 1e-12);
  host.Process(Stereo(256));
  EXPECT_NEAR(plug->MeterLevel(0), 0.1881, 1e-12);
  // A block of no frames writes nothing and still lets the level fall.
  double* none[2] = {nullptr, nullptr};
  host.Effect()->processDoubleReplacing(host.Effect(), none, none, 0);
  EXPECT_NEAR(plug->MeterLevel(0), 0.186219, 1e-12);
}

TEST_F(SemtarTest, BandAboveNyquistFoldsAt22050)
{
  host.Open(22050.0f);
  host.SetParameter(kNoteGain + 105, 1.0f);  // A9, 14080 Hz, +12 dB
  double left, right;
  host.GainDbAt(22050 - 14080, 22050, &left, &right);
  EXPECT_NEAR(left, 12.0, 0.1);
  EXPECT_NEAR(right, 12.0, 0.1);
}

TEST_F(SemtarTest, NonFiniteSampleDoesNotSilenceThePlugIn)
{
  host.Open();
  ShapeSomeBands();
  Semtaro* twin = new Semtaro(test_host::Callback);
  Harness twinHost(twin->Effect());
  twinHost.Open();
  for (int i = 0; i < twin->NParams(); ++i) twinHost.SetParameter(i, host.GetParameter(i));

  Stereo in = NoiseStereo(2000, 21);
  in.left[100] = std::numeric_limits<double>::quiet_NaN();
  in.right[100] = std::numeric_limits<double>::infinity();
  const Stereo out = host.Process(in);
  EXPECT_TRUE(std::isnan(out.left[100]));
  EXPECT_FALSE(std::isfinite(out.right[100]));

  // From the next sample on, both channels filter like cascades that never saw a sample.
  Stereo tail(in.Frames() - 101);
  tail.left.assign(in.left.begin() + 101, in.left.end());
  tail.right.assign(in.right.begin() + 101, in.right.end());
  const Stereo twinOut = twinHost.Process(tail);
  EXPECT_TRUE(SameSamples(std::vector<double>(out.left.begin() + 101, out.left.end()), twinOut.left));
  EXPECT_TRUE(SameSamples(std::vector<double>(out.right.begin() + 101, out.right.end()), twinOut.right));
  EXPECT_TRUE(std::isfinite(plug->MeterLevel(0)));
  EXPECT_TRUE(std::isfinite(plug->MeterLevel(1)));
}

TEST_F(SemtarTest, ProgramSwitchAndChunkLoadCarryOnWithoutReset)
{
  // The effect under test moves between two settings through programs and a chunk; its twin gets
  // the same settings through plain parameter changes. Neither clears state, so they agree.
  host.Open();
  Semtaro* twin = new Semtaro(test_host::Callback);
  Harness twinHost(twin->Effect());
  twinHost.Open();
  auto settingA = [](Harness& h) {
    h.SetParameter(kNoteGain + 30, 1.0f);
    h.SetParameter(kNoteWidth + 30, 0.5f);
  };
  auto settingB = [](Harness& h) {
    h.SetParameter(kNoteGain + 30, 0.25f);
    h.SetParameter(kNoteGain + 60, 0.9f);
  };
  settingA(host);
  settingA(twinHost);
  const Stereo block = NoiseStereo(1024, 31);
  EXPECT_TRUE(SameSamples(host.Process(block).left, twinHost.Process(block).left));

  // Programs 1 and 2 take setting A as they are first visited; the host stays on 2.
  host.Dispatch(effSetProgram, 0, 1);
  host.Dispatch(effSetProgram, 0, 2);
  settingB(host);
  settingB(twinHost);
  EXPECT_TRUE(SameSamples(host.Process(block).left, twinHost.Process(block).left));

  host.Dispatch(effSetProgram, 0, 1);  // back to program 1, which holds setting A
  twinHost.SetParameter(kNoteGain + 30, 1.0f);
  twinHost.SetParameter(kNoteGain + 60, 0.5f);
  EXPECT_EQ(plug->GetParam(kNoteGain + 60)->Value(), 0.0);
  Stereo afterSwitch = host.Process(block);
  EXPECT_TRUE(SameSamples(afterSwitch.left, twinHost.Process(block).left));

  settingB(twinHost);
  const std::vector<unsigned char> chunkB = twinHost.GetChunk();
  EXPECT_EQ(host.SetChunk(chunkB), 1);
  const Stereo afterChunk = host.Process(block);
  EXPECT_TRUE(SameSamples(afterChunk.left, twinHost.Process(block).left));

  // And the state did carry over: a freshly opened effect with setting B starts differently.
  Semtaro* fresh = new Semtaro(test_host::Callback);
  Harness freshHost(fresh->Effect());
  freshHost.Open();
  freshHost.SetChunk(chunkB);
  EXPECT_NE(freshHost.Process(block).left[0], afterChunk.left[0]);
}

}  // namespace
