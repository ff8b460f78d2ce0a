#include "plughost_harness.h"

#include <sndfile.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::map<std::string, std::string>& Targets()
{
  static std::map<std::string, std::string> targets;
  return targets;
}

std::string ShellQuoted(const std::string& text)
{
  std::string quoted = "'";
  for (char c : text)
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

std::string TargetPath(const std::string& name)
{
  auto found = Targets().find(name);
  if (found == Targets().end()) {
    ADD_FAILURE() << "ctest passed no --" << name << "=PATH";
    return "/nonexistent/" + name;
  }
  return found->second;
}

RunResult RunPlughost(const std::vector<std::string>& args)
{
  const std::string folder = fs::temp_directory_path() / ("plughost-run-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  std::string command = ShellQuoted(TargetPath("plughost"));
  for (const std::string& arg : args)
    command += " " + ShellQuoted(arg);
  command += " >" + ShellQuoted(folder + "/out") + " 2>" + ShellQuoted(folder + "/err") + " </dev/null";
  int raw = std::system(command.c_str());
  RunResult result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
  result.out = ReadText(folder + "/out");
  result.err = ReadText(folder + "/err");
  return result;
}

void WriteAudio(const std::string& path, const Audio& audio, int format)
{
  SF_INFO info{};
  info.channels = static_cast<int>(audio.channels.size());
  info.samplerate = static_cast<int>(audio.sampleRate);
  info.format = format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(file, nullptr) << path << ": " << sf_strerror(nullptr);
  std::vector<double> interleaved;
  for (int i = 0; i < audio.Frames(); ++i)
    for (const auto& channel : audio.channels)
      interleaved.push_back(channel[i]);
  EXPECT_EQ(sf_writef_double(file, interleaved.data(), audio.Frames()), audio.Frames());
  sf_close(file);
}

Audio ReadAudio(const std::string& path)
{
  Audio audio;
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file) {
    ADD_FAILURE() << "cannot read " << path << ": " << sf_strerror(nullptr);
    return audio;
  }
  std::vector<double> interleaved(static_cast<std::size_t>(info.frames) * info.channels);
  sf_readf_double(file, interleaved.data(), info.frames);
  sf_close(file);
  audio.sampleRate = info.samplerate;
  audio.channels.assign(info.channels, std::vector<double>(info.frames));
  for (sf_count_t i = 0; i < info.frames; ++i)
    for (int c = 0; c < info.channels; ++c)
      audio.channels[c][i] = interleaved[i * info.channels + c];
  return audio;
}

Audio TestAudio(int channels, int frames, double sampleRate)
{
  Audio audio;
  audio.sampleRate = sampleRate;
  audio.channels.assign(channels, std::vector<double>(frames));
  unsigned state = 12345;
  for (int c = 0; c < channels; ++c)
    for (int i = 0; i < frames; ++i) {
      state = state * 1664525u + 1013904223u;
      const double noise = (static_cast<double>(state >> 8) / 16777216.0 - 0.5) * 0.3;
      const double t = i / sampleRate;
      audio.channels[c][i] = noise + 0.2 * std::sin(2 * M_PI * 440.0 * t) + 0.1 * std::sin(2 * M_PI * (97.0 + 50 * c) * t);
    }
  return audio;
}

Audio RoundedToFloat(const Audio& audio)
{
  Audio rounded = audio;
  for (auto& channel : rounded.channels)
    for (double& s : channel)
      s = static_cast<float>(s);
  return rounded;
}

std::string ReadText(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<unsigned char> ReadBytes(const std::string& path)
{
  std::string text = ReadText(path);
  return std::vector<unsigned char>(text.begin(), text.end());
}

bool Exists(const std::string& path) { return fs::exists(path); }

std::vector<std::string> FolderEntries(const std::string& folder)
{
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  return names;
}

void PlughostTest::SetUp()
{
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "-" + info->name();
  for (char& c : name)
    if (c == '/')
      c = '_';
  mFolder = fs::temp_directory_path() / ("plughost-test-" + std::to_string(::getpid()) + "-" + name);
  fs::remove_all(mFolder);
  fs::create_directories(mFolder);
}

void PlughostTest::TearDown()
{
  if (!HasFailure())
    fs::remove_all(mFolder);
}

std::vector<std::string> Columns(const std::string& line)
{
  std::vector<std::string> columns;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ')
      ++i;
    if (i >= line.size())
      break;
    std::size_t end = line.find("  ", i);
    if (end == std::string::npos)
      end = line.size();
    columns.push_back(line.substr(i, end - i));
    i = end;
  }
  return columns;
}

std::vector<std::string> Section(const std::string& text, const std::string& title)
{
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  bool inside = false;
  while (std::getline(in, line)) {
    if (!inside) {
      inside = line.rfind(title, 0) == 0;
      continue;
    }
    if (line.empty())
      break;
    lines.push_back(line);
  }
  return lines;
}

int main(int argc, char** argv)
{
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    std::size_t equals = arg.find('=');
    if (arg.rfind("--", 0) == 0 && equals != std::string::npos)
      Targets()[arg.substr(2, equals - 2)] = arg.substr(equals + 1);
  }
  return RUN_ALL_TESTS();
}
