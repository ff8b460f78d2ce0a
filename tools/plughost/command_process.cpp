// plughost process PLUGIN IN OUT: a sound file through the plug-in, block by block, at the
// file's sample rate.
#include "commands.h"

#include "audio_file.h"
#include "block_processor.h"
#include "command_line.h"
#include "host_callback.h"
#include "host_error.h"
#include "host_os.h"
#include "hosted_plugin.h"
#include "pending_file.h"
#include "plugin_setup.h"
#include "progress_bar.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr const char* kUsage =
    "plughost process PLUGIN IN OUT [--set NAME=VALUE]... [--program N] [--block N] "
    "[--precision 32|64|accumulate] [--state-in FILE] [--state-out FILE]";

// Files shorter than this finish before a progress bar would tell anything.
constexpr double kProgressSeconds = 5.0;

double PeakDb(double peak) { return peak > 0.0 ? 20.0 * std::log10(peak) : -INFINITY; }

void TrackPeak(const std::vector<std::vector<double>>& channels, int channelCount, int frames, double& peak)
{
  for (int c = 0; c < channelCount; ++c)
    for (int i = 0; i < frames; ++i)
      peak = std::fmax(peak, std::fabs(channels[c][i]));
}

}  // namespace

int RunProcessCommand(const CommandArgs& args)
{
  CommandLine line(args, {"set", "program", "block", "precision", "state-in", "state-out"}, {"set"});
  line.ExpectPositional(3, kUsage);
  const std::string& pluginPath = line.Positional()[0];
  const std::string& inPath = line.Positional()[1];
  const std::string& outPath = line.Positional()[2];
  const int block = line.Integer("block", 512, 1, 65536);
  const Precision precision = ParsePrecision(line.Text("precision", "32"));
  const std::string stateOut = line.Text("state-out", "");
  const PluginSetup setup = ReadPluginSetup(line);

  AudioReader reader(inPath);
  const int channels = reader.Channels();

  HostContext host;
  host.processLevel = HostProcessLevelOffline;
  HostedPlugin plugin(pluginPath, host);
  const AEffect& effect = plugin.Effect();
  if (effect.numInputs < channels || effect.numOutputs < channels)
    throw HostError(pluginPath + " has " + std::to_string(effect.numInputs) + " input(s) and " +
                    std::to_string(effect.numOutputs) + " output(s); " + inPath + " has " + std::to_string(channels) +
                    " channel(s)");
  plugin.Configure(reader.SampleRate(), block);
  ApplyPluginSetup(plugin, setup);

  BlockProcessor processor(plugin, host, precision, block);
  AudioWriter writer(outPath, channels, reader.SampleRate(),
                     precision == Precision::Float64 ? SampleWidth::Float64 : SampleWidth::Float32);
  std::vector<std::vector<double>> in(channels, std::vector<double>(block));
  std::vector<std::vector<double>> out(processor.Outputs(), std::vector<double>(block));

  ProgressBar progress(reader.Frames(), StderrIsTerminal() && reader.Frames() > kProgressSeconds * reader.SampleRate());
  plugin.StartProcessing();
  std::int64_t done = 0;
  double peakIn = 0.0, peakOut = 0.0;
  for (int frames; (frames = reader.Read(in, block)) > 0;) {
    processor.Process(in, out, frames);
    writer.Write(out, frames);
    TrackPeak(in, channels, frames, peakIn);
    TrackPeak(out, channels, frames, peakOut);
    done += frames;
    progress.Update(done);
  }
  plugin.StopProcessing();
  progress.Finish();

  if (!stateOut.empty()) {
    std::vector<std::uint8_t> state = plugin.SaveState();
    if (state.empty())
      throw HostError("--state-out: " + pluginPath + " gave no state chunk");
    WriteWholeFile(stateOut, state);
  }
  writer.Commit();

  std::printf("%s: %lld frames, %d channel(s) at %g Hz, block %d; peak in %.2f dBFS, out %.2f dBFS\n",
              outPath.c_str(), static_cast<long long>(done), channels, reader.SampleRate(), block, PeakDb(peakIn),
              PeakDb(peakOut));
  return 0;
}
