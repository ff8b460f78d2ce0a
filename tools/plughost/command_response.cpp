// plughost response PLUGIN OUT.png: the magnitude response, plotted, and optionally as CSV.
#include "commands.h"

#include "command_line.h"
#include "host_callback.h"
#include "hosted_plugin.h"
#include "pending_file.h"
#include "plugin_setup.h"
#include "response_measure.h"
#include "response_plot.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kBlock = 512;

std::string PlotTitle(const HostedPlugin& plugin, double rate)
{
  std::string name = plugin.DispatchText(effGetEffectName);
  if (name.empty())
    name = plugin.Path();
  char rateText[48];
  std::snprintf(rateText, sizeof rateText, " magnitude response at %g Hz", rate);
  return name + rateText;
}

std::string PlotSubtitle(const PluginSetup& setup)
{
  std::string text;
  auto add = [&](const std::string& part) { text += (text.empty() ? "" : ", ") + part; };
  if (setup.program >= 0)
    add("program " + std::to_string(setup.program));
  if (!setup.stateIn.empty())
    add("state " + setup.stateIn);
  for (const ParameterSetting& setting : setup.settings)
    add(setting.name + "=" + setting.value);
  return text.empty() ? "default settings" : text;
}

}  // namespace

int RunResponseCommand(const CommandArgs& args)
{
  CommandLine line(args, {"set", "program", "state-in", "rate", "csv"}, {"set"});
  line.ExpectPositional(2, "plughost response PLUGIN OUT.png [--set NAME=VALUE]... [--program N] "
                           "[--state-in FILE] [--rate HZ] [--csv OUT.csv]");
  const std::string& pngPath = line.Positional()[1];
  const double rate = line.Number("rate", 48000.0, 8000.0, 384000.0);
  const std::string csvPath = line.Text("csv", "");
  const PluginSetup setup = ReadPluginSetup(line);

  HostContext host;
  host.processLevel = HostProcessLevelOffline;
  HostedPlugin plugin(line.Positional()[0], host);
  plugin.Configure(rate, kBlock);
  ApplyPluginSetup(plugin, setup);
  const Precision precision = plugin.HasFlag(effFlagsCanReplacing) ? Precision::Float32 : Precision::Accumulate;
  const ResponseCurve curve = MeasureResponse(plugin, host, precision, kBlock);

  WriteResponsePlot(pngPath, curve, PlotTitle(plugin, rate), PlotSubtitle(setup));
  if (!csvPath.empty())
    WriteWholeFile(csvPath, ResponseCsv(curve));

  // The extremes of the first output, so a terminal user sees the result without opening the plot.
  const auto& gains = curve.gainDb[0];
  const auto highest = std::max_element(gains.begin(), gains.end()) - gains.begin();
  const auto lowest = std::min_element(gains.begin(), gains.end()) - gains.begin();
  std::printf("%s: %zu points from %g Hz to %g Hz; highest %+.2f dB at %.1f Hz, lowest %+.2f dB at %.1f Hz\n",
              pngPath.c_str(), curve.frequencies.size(), curve.frequencies.front(), curve.frequencies.back(),
              gains[highest], curve.frequencies[highest], gains[lowest], curve.frequencies[lowest]);
  return 0;
}
