// plughost on fixture plug-ins whose behaviour is known exactly: the errors it must report, the
// plain-value conversion of --set, the three processing paths, programs and state.
#include "plughost_harness.h"

#include <sndfile.h>

#include <cmath>
#include <cstring>
#include <fstream>

namespace {

// The fixture's own display of its "Gain" parameter from a normalised value.
int FixtureGainDisplay(float normalised) { return static_cast<int>(-12.0 + 24.0 * normalised); }

std::vector<float> StateFloats(const std::string& path)
{
  std::vector<unsigned char> bytes = ReadBytes(path);
  std::vector<float> values(bytes.size() / sizeof(float));
  std::memcpy(values.data(), bytes.data(), values.size() * sizeof(float));
  return values;
}

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

// ---------------------------------------------------------------------------------------------
// Every failure: exit status 1, one line on stderr naming the fault, and no output file left.

struct ErrorCase {
  const char* label;
  std::vector<std::string> args;  // "@gain" etc. become target paths, "%name" files in the folder
  const char* message;
};

class PlughostErrors : public PlughostTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(PlughostErrors, OneLineNonZeroExitAndNoOutput)
{
  WriteText(Path("not-a-plugin.so"), "just text\n");
  WriteText(Path("not-audio.wav"), "just text\n");
  WriteText(Path("short.state"), "abc");
  WriteAudio(Path("in.wav"), TestAudio(2, 4800), SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  WriteAudio(Path("three.wav"), TestAudio(3, 480), SF_FORMAT_WAV | SF_FORMAT_PCM_16);

  std::vector<std::string> args;
  for (const std::string& arg : GetParam().args)
    args.push_back(arg[0] == '@' ? TargetPath(arg.substr(1)) : arg[0] == '%' ? Path(arg.substr(1)) : arg);
  RunResult result = RunPlughost(args);

  EXPECT_EQ(result.status, 1) << result.err;
  EXPECT_EQ(result.err.rfind("plughost: ", 0), 0u) << result.err;
  EXPECT_NE(result.err.find(GetParam().message), std::string::npos) << result.err;
  EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
  for (const std::string& name : FolderEntries(Folder())) {
    EXPECT_EQ(name.find("out"), std::string::npos) << "left behind: " << name;
    EXPECT_EQ(name.find("partial"), std::string::npos) << "left behind: " << name;
  }
}

const ErrorCase kErrorCases[] = {
    {"NotAPlugin", {"info", "%not-a-plugin.so"}, "cannot load plug-in"},
    {"MissingPlugin", {"process", "%absent.so", "%in.wav", "%out.wav"}, "cannot load plug-in"},
    {"NoEntryPoint", {"info", "@no-entry"}, "exports neither VSTPluginMain nor main"},
    {"WrongMagic", {"process", "@bad-magic", "%in.wav", "%out.wav"}, "has magic 0x4E6F7065, not 0x56737450"},
    {"NoEffect", {"response", "@null-effect", "%out.png"}, "the entry point returned no effect"},
    {"UnknownParameter", {"process", "@gain", "%in.wav", "%out.wav", "--set", "Volume=3"}, "unknown parameter \"Volume\""},
    {"NotANumber", {"process", "@gain", "%in.wav", "%out.wav", "--set", "Gain=loud"}, "\"loud\" is not a number in dB"},
    {"WrongUnit", {"process", "@gain", "%in.wav", "%out.wav", "--set", "Gain=3 Hz"}, "is not a number in dB"},
    {"OutOfRange", {"process", "@gain", "%in.wav", "%out.wav", "--set", "Gain=13"}, "13 is outside its range -12 to 12 dB"},
    {"NonLinearDisplay", {"response", "@gain", "%out.png", "--set", "Cutoff=1000"}, "its display is not linear"},
    {"WordDisplay", {"process", "@gain", "%in.wav", "%out.wav", "--set", "Switch=1"}, "shows no numeric range"},
    {"MalformedSetting", {"process", "@gain", "%in.wav", "%out.wav", "--set", "Gain"}, "--set expects NAME=VALUE"},
    {"UnreadableAudio", {"process", "@gain", "%not-audio.wav", "%out.wav"}, "cannot read"},
    {"MissingAudio", {"process", "@gain", "%absent.wav", "%out.wav"}, "cannot read"},
    {"ThreeChannels", {"process", "@gain", "%three.wav", "%out.wav"}, "has 3 channels; plughost processes mono and stereo"},
    {"UnsupportedOutput", {"process", "@gain", "%in.wav", "%out.mp3"}, "unsupported output format"},
    {"ProgramOutOfRange", {"process", "@gain", "%in.wav", "%out.wav", "--program", "2"}, "has 2 programs (0 to 1)"},
    {"MissingState", {"process", "@gain", "%in.wav", "%out.wav", "--state-in", "%absent.state"}, "cannot read"},
    {"RefusedState", {"process", "@gain", "%in.wav", "%out.wav", "--state-in", "%short.state"}, "refused the state"},
    // Fails after the audio is processed: the finished audio must not appear either.
    {"StateOutUnwritable", {"process", "@gain", "%in.wav", "%out.wav", "--state-out", "/nonexistent/s.state"}, "cannot write"},
    {"BadPrecision", {"process", "@gain", "%in.wav", "%out.wav", "--precision", "16"}, "--precision takes 32, 64 or accumulate"},
    {"BadBlock", {"process", "@gain", "%in.wav", "%out.wav", "--block", "0"}, "--block takes a whole number from 1"},
    {"UnknownOption", {"bench", "@gain", "--bogus", "1"}, "unknown option --bogus"},
    {"MissingArgument", {"process", "@gain", "%in.wav"}, "usage: plughost process PLUGIN IN OUT"},
    {"UnknownCommand", {"frobnicate"}, "unknown command \"frobnicate\""},
};

INSTANTIATE_TEST_SUITE_P(Fixture, PlughostErrors, ::testing::ValuesIn(kErrorCases),
                         [](const auto& info) { return std::string(info.param.label); });

using FixtureErrorsKeepFiles = PlughostTest;

TEST_F(FixtureErrorsKeepFiles, AFailedRunLeavesAnEarlierOutputUntouched)
{
  WriteAudio(Path("in.wav"), TestAudio(2, 4800), SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  WriteText(Path("out.wav"), "earlier output");
  RunResult result = RunPlughost({"process", TargetPath("gain"), Path("in.wav"), Path("out.wav"), "--state-out",
                                  "/nonexistent/s.state"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(ReadText(Path("out.wav")), "earlier output");
}

// ---------------------------------------------------------------------------------------------
// Processing: every path gives the fixture's gain applied to the input as the host handed it.

struct PathCase {
  const char* label;
  const char* precision;
  const char* outName;
  double tolerance;  // 0: bit for bit
};

class FixtureProcessing : public PlughostTest, public ::testing::WithParamInterface<PathCase> {};

TEST_P(FixtureProcessing, OutputIsInputTimesGain)
{
  const PathCase& c = GetParam();
  const Audio input = TestAudio(2, 10000);  // not a multiple of the block
  WriteAudio(Path("in.wav"), input, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  RunResult result = RunPlughost({"process", TargetPath("gain"), Path("in.wav"), Path(c.outName), "--set", "Gain=6",
                                  "--precision", c.precision, "--block", "333"});
  ASSERT_EQ(result.status, 0) << result.err;

  const Audio heard = ReadAudio(Path("in.wav"));  // the 16-bit samples
  const Audio output = ReadAudio(Path(c.outName));
  ASSERT_EQ(output.channels.size(), 2u);
  ASSERT_EQ(output.Frames(), input.Frames());
  EXPECT_EQ(output.sampleRate, 48000.0);
  const double gain = std::pow(10.0, 6.0 / 20.0);  // Gain=6 is normalised 0.75, exact in float
  const bool wide = std::string(c.precision) == "64";
  int mismatches = 0;
  for (int ch = 0; ch < 2; ++ch)
    for (int i = 0; i < output.Frames(); ++i) {
      const double in = heard.channels[ch][i];
      const double expected = wide ? in * gain : static_cast<float>(static_cast<float>(in) * gain);
      const double got = output.channels[ch][i];
      if (c.tolerance == 0.0 ? got != expected : std::fabs(got - expected) > c.tolerance)
        ++mismatches;
    }
  EXPECT_EQ(mismatches, 0);
}

const PathCase kPathCases[] = {
    {"Float32Wav", "32", "out.wav", 0.0},
    {"Float64Wav", "64", "out.wav", 0.0},
    {"AccumulateWav", "accumulate", "out.wav", 0.0},
    {"Float32Aiff", "32", "out.aiff", 0.0},
    {"Float32Flac", "32", "out.flac", 1.0 / (1 << 23)},
};

INSTANTIATE_TEST_SUITE_P(Fixture, FixtureProcessing, ::testing::ValuesIn(kPathCases),
                         [](const auto& info) { return std::string(info.param.label); });

using FixtureHost = PlughostTest;

TEST_F(FixtureHost, MonoFileGivesMonoOutputThroughTheFirstChannel)
{
  WriteAudio(Path("in.wav"), TestAudio(1, 3000), SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  RunResult result = RunPlughost({"process", TargetPath("gain"), Path("in.wav"), Path("out.wav"), "--set", "Gain=-6"});
  ASSERT_EQ(result.status, 0) << result.err;
  const Audio in = ReadAudio(Path("in.wav")), out = ReadAudio(Path("out.wav"));
  ASSERT_EQ(out.channels.size(), 1u);
  ASSERT_EQ(out.Frames(), 3000);
  const double gain = std::pow(10.0, -6.0 / 20.0);
  for (int i = 0; i < 3000; i += 97)
    EXPECT_EQ(out.channels[0][i], static_cast<float>(static_cast<float>(in.channels[0][i]) * gain)) << i;
}

// A display that truncates to whole dB must still read back the value asked for: the float
// nearest the linear mapping of 5 dB lies just below 5 and would display "4".
TEST_F(FixtureHost, PlainValuesReadBackThroughTheDisplay)
{
  WriteAudio(Path("in.wav"), TestAudio(2, 100), SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  const struct {
    const char* setting;
    int display;
  } cases[] = {{"Gain=5", 5}, {"Gain=-5", -5}, {"Gain=7", 7}, {"Gain=-11", -11}, {"Gain=12", 12},
               {"Gain=-12", -12}, {"Gain=0", 0}, {"Gain=5 dB", 5}, {"gain=3", 3}, {"Gain=+2dB", 2}};
  for (const auto& c : cases) {
    RunResult result = RunPlughost({"process", TargetPath("gain"), Path("in.wav"), Path("out.wav"), "--set",
                                    c.setting, "--state-out", Path("s.state")});
    ASSERT_EQ(result.status, 0) << c.setting << ": " << result.err;
    const std::vector<float> state = StateFloats(Path("s.state"));
    ASSERT_EQ(state.size(), 3u);
    EXPECT_EQ(FixtureGainDisplay(state[0]), c.display) << c.setting;
    EXPECT_NEAR(-12.0 + 24.0 * state[0], c.display, 1e-5) << c.setting;
  }
}

TEST_F(FixtureHost, ProgramThenStateThenSettings)
{
  const Audio input = TestAudio(2, 2000);
  WriteAudio(Path("in.wav"), input, SF_FORMAT_WAV | SF_FORMAT_FLOAT);

  // Program 1 is -12 dB; its state, loaded into a fresh instance, gives the same output.
  ASSERT_EQ(RunPlughost({"process", TargetPath("gain"), Path("in.wav"), Path("quiet.wav"), "--program", "1",
                         "--state-out", Path("quiet.state")}).status, 0);
  ASSERT_EQ(RunPlughost({"process", TargetPath("gain"), Path("in.wav"), Path("again.wav"), "--state-in",
                         Path("quiet.state")}).status, 0);
  const Audio quiet = ReadAudio(Path("quiet.wav"));
  EXPECT_EQ(quiet.channels, ReadAudio(Path("again.wav")).channels);
  EXPECT_EQ(quiet.channels[0][10], static_cast<float>(static_cast<float>(input.channels[0][10]) * std::pow(10.0, -0.6)));

  // A setting applies after the state it would otherwise be overwritten by.
  ASSERT_EQ(RunPlughost({"process", TargetPath("gain"), Path("in.wav"), Path("set.wav"), "--state-in",
                         Path("quiet.state"), "--set", "Gain=0"}).status, 0);
  EXPECT_EQ(ReadAudio(Path("set.wav")).channels, RoundedToFloat(input).channels);
}

TEST_F(FixtureHost, InfoShowsTheRecordParametersProgramsAndCapabilities)
{
  RunResult result = RunPlughost({"info", TargetPath("gain")});
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string& out = result.out;
  EXPECT_NE(out.find("effect name     GainFixture\n"), std::string::npos) << out;
  EXPECT_NE(out.find("unique id       'gFxt' (0x67467874)\n"), std::string::npos) << out;
  EXPECT_NE(out.find("flags           0x00001030 CanReplacing ProgramChunks CanDoubleReplacing\n"), std::string::npos)
      << out;

  const std::vector<std::string> params = Section(out, "parameters (3):");
  ASSERT_EQ(params.size(), 4u) << out;  // the header and three rows
  EXPECT_EQ(Columns(params[0]), (std::vector<std::string>{"index", "name", "label", "display", "normalised"}));
  EXPECT_EQ(Columns(params[1]), (std::vector<std::string>{"0", "\"Gain\"", "\"dB\"", "\"0\"", "0.500000"}));
  EXPECT_EQ(Columns(params[2]), (std::vector<std::string>{"1", "\"Cutoff\"", "\"Hz\"", "\"632\"", "0.500000"}));
  EXPECT_EQ(Columns(params[3]), (std::vector<std::string>{"2", "\"Switch\"", "\"\"", "\"Off\"", "0.000000"}));

  EXPECT_EQ(Section(out, "programs (2, current 0):"), (std::vector<std::string>{"  0  \"Unity\"", "  1  \"Quiet\""}));
  const std::vector<std::string> caps = Section(out, "capabilities:");
  EXPECT_NE(std::find(caps.begin(), caps.end(), "  bypass                 1"), caps.end()) << out;
  EXPECT_NE(std::find(caps.begin(), caps.end(), "  receiveVstEvents       0"), caps.end()) << out;
}

TEST_F(FixtureHost, BenchReportsTimePerFrameAndRealTimeFactor)
{
  RunResult result = RunPlughost({"bench", TargetPath("gain"), "--seconds", "0.2", "--set", "Gain=3"});
  ASSERT_EQ(result.status, 0) << result.err;
  double ns = 0.0, factor = 0.0;
  const std::size_t colon = result.out.rfind(": ");
  ASSERT_NE(colon, std::string::npos) << result.out;
  ASSERT_EQ(std::sscanf(result.out.c_str() + colon, ": %lf ns per stereo frame, real-time factor %lf", &ns, &factor), 2)
      << result.out;
  EXPECT_GT(ns, 0.0);
  // The two figures describe the same runs: factor = frame period / time per frame.
  EXPECT_NEAR(factor, 1e9 / 48000.0 / ns, factor * 0.01 + 0.1);
}

}  // namespace
