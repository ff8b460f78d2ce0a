// The sound files through libsndfile.
#include "audio_file.h"

#include "host_error.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>

namespace {

SNDFILE* Handle(void* file) { return static_cast<SNDFILE*>(file); }

std::string Extension(const std::string& path)
{
  std::size_t dot = path.rfind('.');
  std::size_t slash = path.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    return "";
  std::string extension = path.substr(dot + 1);
  for (char& c : extension)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

int OutputFormat(const std::string& path, SampleWidth width)
{
  const std::string extension = Extension(path);
  const int floating = width == SampleWidth::Float64 ? SF_FORMAT_DOUBLE : SF_FORMAT_FLOAT;
  if (extension == "wav")
    return SF_FORMAT_WAV | floating;
  if (extension == "aif" || extension == "aiff")
    return SF_FORMAT_AIFF | floating;
  if (extension == "flac")
    return SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
  throw HostError("cannot write " + path + ": unsupported output format (use .wav, .flac or .aiff)");
}

}  // namespace

AudioReader::AudioReader(const std::string& path) : mPath(path)
{
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file)
    throw HostError("cannot read " + path + ": " + sf_strerror(nullptr));
  mFile = file;
  mChannels = info.channels;
  mSampleRate = info.samplerate;
  mFrames = info.frames;
  if (mChannels < 1 || mChannels > 2) {
    sf_close(file);
    mFile = nullptr;
    throw HostError(path + " has " + std::to_string(info.channels) +
                    " channels; plughost processes mono and stereo files only");
  }
  if (mSampleRate <= 0.0) {
    sf_close(file);
    mFile = nullptr;
    throw HostError(path + " has no valid sample rate");
  }
}

AudioReader::~AudioReader()
{
  if (mFile)
    sf_close(Handle(mFile));
}

int AudioReader::Read(std::vector<std::vector<double>>& channels, int frames)
{
  mInterleaved.resize(static_cast<std::size_t>(frames) * mChannels);
  sf_count_t got = sf_readf_double(Handle(mFile), mInterleaved.data(), frames);
  if (got < 0 || (got == 0 && sf_error(Handle(mFile)) != SF_ERR_NO_ERROR))
    throw HostError("cannot read " + mPath + ": " + sf_strerror(Handle(mFile)));
  for (int c = 0; c < mChannels; ++c)
    for (sf_count_t i = 0; i < got; ++i)
      channels[c][i] = mInterleaved[i * mChannels + c];
  return static_cast<int>(got);
}

AudioWriter::AudioWriter(const std::string& path, int channels, double sampleRate, SampleWidth width)
    : mPending(path), mChannels(channels)
{
  SF_INFO info{};
  info.channels = channels;
  info.samplerate = static_cast<int>(sampleRate);
  info.format = OutputFormat(path, width);
  if (!sf_format_check(&info))
    throw HostError("cannot write " + path + ": that format does not take " + std::to_string(channels) +
                    " channels at " + std::to_string(info.samplerate) + " Hz");
  SNDFILE* file = sf_open(mPending.TemporaryPath().c_str(), SFM_WRITE, &info);
  if (!file)
    throw HostError("cannot write " + path + ": " + sf_strerror(nullptr));
  mFile = file;
  // Integer outputs saturate rather than wrap around when the plug-in goes past full scale.
  sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
}

AudioWriter::~AudioWriter() { Close(); }

void AudioWriter::Close()
{
  if (mFile)
    sf_close(Handle(mFile));
  mFile = nullptr;
}

void AudioWriter::Write(const std::vector<std::vector<double>>& channels, int frames)
{
  mInterleaved.resize(static_cast<std::size_t>(frames) * mChannels);
  for (int c = 0; c < mChannels; ++c)
    for (int i = 0; i < frames; ++i)
      mInterleaved[static_cast<std::size_t>(i) * mChannels + c] = channels[c][i];
  if (sf_writef_double(Handle(mFile), mInterleaved.data(), frames) != frames)
    throw HostError("cannot write " + mPending.FinalPath() + ": " + sf_strerror(Handle(mFile)));
}

void AudioWriter::Commit()
{
  int status = mFile ? sf_close(Handle(mFile)) : 0;
  mFile = nullptr;
  if (status != 0)
    throw HostError("cannot write " + mPending.FinalPath() + ": " + sf_error_number(status));
  mPending.Commit();
}

void WriteAudioFile(const std::string& path, const std::vector<std::vector<double>>& channels, double sampleRate,
                    SampleWidth width)
{
  AudioWriter writer(path, static_cast<int>(channels.size()), sampleRate, width);
  writer.Write(channels, channels.empty() ? 0 : static_cast<int>(channels[0].size()));
  writer.Commit();
}
