// plughost bench PLUGIN: the cost of the plug-in's 32-bit processing on white noise, in
// nanoseconds per stereo frame and as a real-time factor, at 48 kHz in blocks of 512.
#include "commands.h"

#include "block_processor.h"
#include "command_line.h"
#include "host_callback.h"
#include "hosted_plugin.h"
#include "plugin_setup.h"
#include "test_signal.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace {

constexpr double kRate = 48000.0;
constexpr int kBlock = 512;
constexpr int kRuns = 5;

}  // namespace

int RunBenchCommand(const CommandArgs& args)
{
  CommandLine line(args, {"set", "program", "state-in", "seconds"}, {"set"});
  line.ExpectPositional(1, "plughost bench PLUGIN [--set NAME=VALUE]... [--program N] [--state-in FILE] "
                           "[--seconds S]");
  const double seconds = line.Number("seconds", 5.0, 0.01, 3600.0);
  const PluginSetup setup = ReadPluginSetup(line);

  HostContext host;
  host.processLevel = HostProcessLevelRealtime;
  HostedPlugin plugin(line.Positional()[0], host);
  plugin.Configure(kRate, kBlock);
  ApplyPluginSetup(plugin, setup);
  BlockProcessor processor(plugin, host, Precision::Float32, kBlock);

  // One block of noise, reused: the cost measured is the plug-in's, not the generator's.
  const int channels = std::max(1, processor.Inputs());
  const auto in = MakeWhiteNoise(channels, kBlock, 0.1);
  std::vector<std::vector<double>> out(processor.Outputs(), std::vector<double>(kBlock));
  const long long blocks = std::max(1LL, static_cast<long long>(std::ceil(seconds * kRate / kBlock)));

  plugin.StartProcessing();
  auto runOnce = [&]() {
    auto start = std::chrono::steady_clock::now();
    for (long long b = 0; b < blocks; ++b)
      processor.Process(in, out, kBlock);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  runOnce();  // warm caches and any lazy set-up in the plug-in
  std::vector<double> times;
  for (int r = 0; r < kRuns; ++r)
    times.push_back(runOnce());
  plugin.StopProcessing();

  std::sort(times.begin(), times.end());
  const double median = times[kRuns / 2];
  const double frames = static_cast<double>(blocks) * kBlock;
  std::printf("%s: %.3f ns per stereo frame, real-time factor %.1f (48000 Hz, block 512, median of %d runs of "
              "%.2f s)\n",
              plugin.Path().c_str(), median / frames * 1e9, frames / kRate / median, kRuns, frames / kRate);
  return 0;
}
