// Sound files read and written block by block, as planar channels of doubles.
// The container follows the file name (.wav, .flac, .aif/.aiff). WAV and AIFF outputs hold
// 32-bit float samples, or 64-bit when asked for, so nothing the plug-in produced is rounded;
// FLAC holds 24-bit integers. An AudioWriter writes through a PendingFile: the output exists
// under its name only after Commit. Every failure is a HostError naming the file.
#pragma once

#include "pending_file.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class AudioReader {
public:
  explicit AudioReader(const std::string& path);
  ~AudioReader();
  AudioReader(const AudioReader&) = delete;
  AudioReader& operator=(const AudioReader&) = delete;

  int Channels() const { return mChannels; }
  double SampleRate() const { return mSampleRate; }
  std::int64_t Frames() const { return mFrames; }
  // Reads up to frames frames into channels[c][0..]; returns the frames read (0 at the end).
  int Read(std::vector<std::vector<double>>& channels, int frames);

private:
  std::string mPath;
  void* mFile = nullptr;
  int mChannels = 0;
  double mSampleRate = 0.0;
  std::int64_t mFrames = 0;
  std::vector<double> mInterleaved;
};

enum class SampleWidth { Float32, Float64 };

class AudioWriter {
public:
  AudioWriter(const std::string& path, int channels, double sampleRate, SampleWidth width);
  ~AudioWriter();
  AudioWriter(const AudioWriter&) = delete;
  AudioWriter& operator=(const AudioWriter&) = delete;

  // Writes frames frames from channels[c][0..].
  void Write(const std::vector<std::vector<double>>& channels, int frames);
  // Completes the file and moves it to its name.
  void Commit();

private:
  void Close();

  PendingFile mPending;
  void* mFile = nullptr;
  int mChannels = 0;
  std::vector<double> mInterleaved;
};

// Writes whole planar channels to path (used for generated signals).
void WriteAudioFile(const std::string& path, const std::vector<std::vector<double>>& channels, double sampleRate,
                    SampleWidth width);
