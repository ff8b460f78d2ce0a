// plughost on the three built effects: what info reports against their parameter tables, audio
// round trips (defaults, saved state, block size), the measured response at a band's centre, and
// the errors a user meets first. Each ctest entry runs one effect's suite with --plugin=PATH.
#include "plughost_harness.h"

#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <sstream>

namespace {

// ---------------------------------------------------------------------------------------------
// The parameter tables, as the host must see them after opening (all values at their defaults).

struct ParamRow {
  std::string name, label, display, normalised;
};

std::vector<ParamRow> SemtarTable()
{
  static const char* const kGainNotes[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "Gs", "A", "As", "B"};
  static const char* const kQNotes[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
  std::vector<ParamRow> rows{{"Gain", "dB", "0", "0.500000"}};
  for (int n = 0; n < 108; ++n)
    rows.push_back({kGainNotes[n % 12] + std::to_string(n / 12 + 1) + " Gain", "dB", "0", "0.500000"});
  for (int n = 0; n < 108; ++n)
    rows.push_back({kQNotes[n % 12] + std::to_string(n / 12 + 1) + " Q", "Octave", "1.0", "0.230769"});
  return rows;
}

std::vector<ParamRow> HarmonicTable(bool withUndeclared)
{
  std::vector<ParamRow> rows{{"Gain", "dB", "0", "0.500000"}};
  for (int b = 1; b <= 16; ++b)
    rows.push_back({"Band " + std::to_string(b) + " Gain", "dB", "0", "0.500000"});
  rows.push_back({"Tune", "Hz", "50.0", "0.500000"});
  for (int b = 1; b <= 16; ++b)
    rows.push_back({"Band " + std::to_string(b) + " Q", "Octave", "1.0", "0.230769"});
  if (withUndeclared)
    rows.push_back({"", "", "0", "0.000000"});  // declared by nobody, still offered to the host
  return rows;
}

std::string Field(const std::string& out, const std::string& name)
{
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);)
    if (line.rfind(name, 0) == 0 && line.size() > 16)
      return line.substr(16);
  return "<no field " + name + ">";
}

void ExpectInfo(const std::string& effectName, const std::string& id, const std::vector<ParamRow>& table)
{
  RunResult result = RunPlughost({"info", TargetPath("plugin")});
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string& out = result.out;
  EXPECT_EQ(Field(out, "effect name"), effectName);
  EXPECT_EQ(Field(out, "vendor "), "korvane");
  EXPECT_EQ(Field(out, "unique id"), id);
  EXPECT_EQ(Field(out, "version "), "10000");
  EXPECT_EQ(Field(out, "VST version"), "2400");
  EXPECT_EQ(Field(out, "category"), "effect (1)");
  EXPECT_EQ(Field(out, "inputs"), "2");
  EXPECT_EQ(Field(out, "outputs"), "2");
  EXPECT_EQ(Field(out, "initial delay"), "0 samples");
  const std::string flags = Field(out, "flags");
  for (const char* flag : {"CanMono", "CanReplacing", "CanDoubleReplacing"})
    EXPECT_NE(flags.find(flag), std::string::npos) << flags;
  EXPECT_EQ(flags.find("ProgramChunks"), std::string::npos) << flags;
  EXPECT_EQ(Section(out, "programs (6, current 0):").size(), 6u) << out;

  const std::vector<std::string> rows = Section(out, "parameters (" + std::to_string(table.size()) + "):");
  ASSERT_EQ(rows.size(), table.size() + 1) << out;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const ParamRow& p = table[i];
    EXPECT_EQ(Columns(rows[i + 1]), (std::vector<std::string>{std::to_string(i), "\"" + p.name + "\"",
                                                              "\"" + p.label + "\"", "\"" + p.display + "\"",
                                                              p.normalised}))
        << "parameter " << i;
  }

  const std::vector<std::string> caps = Section(out, "capabilities:");
  auto answer = [&](const std::string& capability) {
    for (const std::string& line : caps) {
      std::vector<std::string> columns = Columns(line);
      if (columns.size() == 2 && columns[0] == capability)
        return columns[1];
    }
    return std::string("<not asked>");
  };
  EXPECT_EQ(answer("receiveVstTimeInfo"), "1");
  EXPECT_EQ(answer("receiveVstEvents"), "0");
  EXPECT_EQ(answer("sendVstMidiEvent"), "0");
  EXPECT_EQ(answer("hasVendorExtensions"), "0xBEEF0000");
}

// ---------------------------------------------------------------------------------------------

class EffectTest : public PlughostTest {
protected:
  // Runs process and returns the output; fails the test when plughost fails.
  Audio Process(const std::string& in, const std::string& out, std::vector<std::string> extra = {})
  {
    std::vector<std::string> args{"process", TargetPath("plugin"), Path(in), Path(out)};
    args.insert(args.end(), extra.begin(), extra.end());
    RunResult result = RunPlughost(args);
    EXPECT_EQ(result.status, 0) << result.err;
    return ReadAudio(Path(out));
  }

  // At the defaults every band is flat and the output gain 1: the output is the input as the
  // plug-in received it, in single precision, on both paths and whatever the block size.
  void ExpectDefaultIsTransparent()
  {
    WriteAudio(Path("in.wav"), TestAudio(2, 24000), SF_FORMAT_WAV | SF_FORMAT_PCM_24);
    const Audio expected = RoundedToFloat(ReadAudio(Path("in.wav")));
    for (const char* precision : {"32", "64"})
      for (const char* block : {"512", "1"}) {
        const Audio out = Process("in.wav", "out.wav", {"--precision", precision, "--block", block});
        EXPECT_TRUE(out.channels == expected.channels) << "precision " << precision << ", block " << block;
      }
  }

  // A state saved after a run and loaded into a fresh instance reproduces the output bit for bit;
  // the settings must change the sound, or the check would prove nothing. The same settings in
  // smaller, odd blocks give the same output too, since the filters run sample by sample.
  void ExpectStateRoundTrip(const std::vector<std::string>& settings)
  {
    WriteAudio(Path("in.wav"), TestAudio(2, 30000), SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    std::vector<std::string> first;
    for (const std::string& setting : settings)
      first.insert(first.end(), {"--set", setting});
    first.insert(first.end(), {"--state-out", Path("saved.state")});
    const Audio set = Process("in.wav", "set.wav", first);
    const Audio restored = Process("in.wav", "restored.wav", {"--state-in", Path("saved.state")});
    const Audio plain = Process("in.wav", "plain.wav");
    ASSERT_EQ(set.channels.size(), 2u);
    EXPECT_TRUE(set.channels == restored.channels);
    EXPECT_FALSE(set.channels == plain.channels) << "the settings changed nothing";
    const Audio odd = Process("in.wav", "odd.wav", {"--state-in", Path("saved.state"), "--block", "77"});
    EXPECT_TRUE(set.channels == odd.channels);
  }

  // The response's largest gain lies at the band's centre and is the band's gain.
  void ExpectResponsePeak(const std::vector<std::string>& settings, double centreHz, double gainDb)
  {
    std::vector<std::string> args{"response", TargetPath("plugin"), Path("plot.png"), "--csv", Path("plot.csv")};
    for (const std::string& setting : settings)
      args.insert(args.end(), {"--set", setting});
    RunResult result = RunPlughost(args);
    ASSERT_EQ(result.status, 0) << result.err;

    std::istringstream csv(ReadText(Path("plot.csv")));
    std::string line;
    std::getline(csv, line);
    EXPECT_EQ(line, "frequency_hz,gain_db_out1,gain_db_out2");
    double bestHz = 0.0, bestDb = -1e9, previousHz = 0.0;
    int points = 0, pointsInTopDecade = 0;
    while (std::getline(csv, line)) {
      double hz = 0.0, left = 0.0, right = 0.0;
      ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%lf,%lf", &hz, &left, &right), 3) << line;
      EXPECT_GT(hz, previousHz);
      EXPECT_EQ(left, right) << "the two channels differ at " << hz << " Hz";
      previousHz = hz;
      ++points;
      pointsInTopDecade += hz >= 2400.0;
      if (left > bestDb) {
        bestDb = left;
        bestHz = hz;
      }
    }
    EXPECT_GE(pointsInTopDecade, 200);
    EXPECT_DOUBLE_EQ(previousHz, 24000.0);
    EXPECT_NEAR(bestDb, gainDb, 0.3);
    EXPECT_NEAR(std::log2(bestHz / centreHz), 0.0, 0.02) << bestHz << " Hz";

    // The plot is a PNG of the plot's size.
    const std::vector<unsigned char> png = ReadBytes(Path("plot.png"));
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
    auto be32 = [&](int at) { return png[at] << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3]; };
    EXPECT_EQ(be32(16), 1000);
    EXPECT_EQ(be32(20), 560);
  }
};

using SemtarPlughost = EffectTest;
using BaskelPlughost = EffectTest;
using ThorvinPlughost = EffectTest;

TEST_F(SemtarPlughost, InfoMatchesTheParameterTable) { ExpectInfo("Semtar", "'semt' (0x73656D74)", SemtarTable()); }
TEST_F(BaskelPlughost, InfoMatchesTheParameterTable) { ExpectInfo("Baskel", "'Bskl' (0x42736B6C)", HarmonicTable(true)); }
TEST_F(ThorvinPlughost, InfoMatchesTheParameterTable) { ExpectInfo("Thorvin", "'thrv' (0x74687276)", HarmonicTable(false)); }

TEST_F(SemtarPlughost, DefaultIsTransparent) { ExpectDefaultIsTransparent(); }
TEST_F(BaskelPlughost, DefaultIsTransparent) { ExpectDefaultIsTransparent(); }

TEST_F(SemtarPlughost, StateRoundTrip) { ExpectStateRoundTrip({"A4 Gain=9", "A4 Q=0.5", "C3 Gain=-7", "Gain=-1.5"}); }
TEST_F(BaskelPlughost, StateRoundTrip) { ExpectStateRoundTrip({"Tune=55", "Band 3 Gain=6", "Band 9 Gain=-8", "Gain=2.5"}); }
TEST_F(ThorvinPlughost, StateRoundTrip) { ExpectStateRoundTrip({"Tune=61.5", "Band 7 Gain=10", "Band 7 Q=0.3"}); }

TEST_F(SemtarPlughost, ResponsePeaksAtTheNote) { ExpectResponsePeak({"A4 Gain=12"}, 440.0, 12.0); }
// Tune 55 Hz puts band 9 (x16) at 880 Hz; band 7 of the integer series (x6) at 330 Hz.
TEST_F(BaskelPlughost, ResponsePeaksAtTheHarmonic) { ExpectResponsePeak({"Tune=55", "Band 9 Gain=12"}, 880.0, 12.0); }
TEST_F(ThorvinPlughost, ResponsePeaksAtTheHarmonic) { ExpectResponsePeak({"Tune=55", "Band 7 Gain=12"}, 330.0, 12.0); }

// The master gain alone is a plain factor: +12 dB multiplies every sample by 10^(12/20).
TEST_F(SemtarPlughost, MasterGainScalesTheOutput)
{
  WriteAudio(Path("in.wav"), TestAudio(2, 4000), SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  const Audio in = ReadAudio(Path("in.wav"));
  const Audio out = Process("in.wav", "out.wav", {"--set", "Gain=12", "--precision", "64"});
  const double factor = std::exp(12.0 * 0.1151292546497);
  ASSERT_EQ(out.channels.size(), 2u);
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < 4000; i += 50)
      EXPECT_DOUBLE_EQ(out.channels[c][i], static_cast<float>(in.channels[c][i]) * factor) << c << ":" << i;
}

TEST_F(SemtarPlughost, NamesAndValuesAreChecked)
{
  WriteAudio(Path("in.wav"), TestAudio(2, 480), SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  const struct {
    const char* setting;
    const char* message;
  } cases[] = {{"A4 Gian=3", "unknown parameter \"A4 Gian\""},
               {"A4 Gain=13", "13 is outside its range -12 to 12 dB"},
               {"A4 Q=0", "0 is outside its range 0.1 to 4 Octave"},
               {"A4 Gain=3 Hz", "is not a number in dB"}};
  for (const auto& c : cases) {
    RunResult result = RunPlughost({"process", TargetPath("plugin"), Path("in.wav"), Path("out.wav"), "--set", c.setting});
    EXPECT_EQ(result.status, 1) << c.setting;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    EXPECT_FALSE(Exists(Path("out.wav")));
  }
}

// Mono files run through the plug-in's first channel and come out mono.
TEST_F(BaskelPlughost, MonoFileComesOutMono)
{
  WriteAudio(Path("in.wav"), TestAudio(1, 9000), SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  const Audio mono = Process("in.wav", "out.wav", {"--set", "Band 5 Gain=6"});
  ASSERT_EQ(mono.channels.size(), 1u);
  // The same signal on both channels of a stereo file gives the same first channel.
  Audio both = ReadAudio(Path("in.wav"));
  both.channels.push_back(both.channels[0]);
  WriteAudio(Path("both.wav"), both, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  const Audio stereo = Process("both.wav", "stereo.wav", {"--set", "Band 5 Gain=6"});
  ASSERT_EQ(stereo.channels.size(), 2u);
  EXPECT_TRUE(mono.channels[0] == stereo.channels[0]);
}

}  // namespace
