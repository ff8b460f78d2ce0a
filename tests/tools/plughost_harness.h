// What the plughost tests share: the paths of the programs under test (given on the command
// line by ctest), running plughost and capturing its exit status and output, a scratch folder
// per test, and sound files written and read through libsndfile.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

// A path given as --name=PATH; the test fails (not skips) when ctest did not pass it.
std::string TargetPath(const std::string& name);

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

RunResult RunPlughost(const std::vector<std::string>& args);

struct Audio {
  double sampleRate = 0.0;
  std::vector<std::vector<double>> channels;
  int Frames() const { return channels.empty() ? 0 : static_cast<int>(channels[0].size()); }
};

// format: a libsndfile format word, e.g. SF_FORMAT_WAV | SF_FORMAT_PCM_16.
void WriteAudio(const std::string& path, const Audio& audio, int format);
Audio ReadAudio(const std::string& path);
// channels x frames of deterministic noise with sine components, peak about 0.5.
Audio TestAudio(int channels, int frames, double sampleRate = 48000.0);
// The samples as the nearest floats, as a 32-bit host hands them to a plug-in.
Audio RoundedToFloat(const Audio& audio);

std::string ReadText(const std::string& path);
std::vector<unsigned char> ReadBytes(const std::string& path);
bool Exists(const std::string& path);
// Names of the entries of a folder.
std::vector<std::string> FolderEntries(const std::string& folder);

// A fresh scratch folder for each test, removed afterwards.
class PlughostTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  std::string Path(const std::string& name) const { return mFolder + "/" + name; }
  const std::string& Folder() const { return mFolder; }

private:
  std::string mFolder;
};

// "a b c" parsed into columns separated by two or more spaces, for plughost's tables.
std::vector<std::string> Columns(const std::string& line);
// The lines of text between the header line starting with title and the next empty line.
std::vector<std::string> Section(const std::string& text, const std::string& title);
