#include "plugin_setup.h"

#include "command_line.h"
#include "host_error.h"
#include "hosted_plugin.h"
#include "pending_file.h"

PluginSetup ReadPluginSetup(const CommandLine& line)
{
  PluginSetup setup;
  if (line.Has("program"))
    setup.program = line.Integer("program", 0, 0, 1 << 20);
  setup.stateIn = line.Text("state-in", "");
  for (const std::string& text : line.All("set"))
    setup.settings.push_back(ParseParameterSetting(text));
  return setup;
}

void ApplyPluginSetup(const HostedPlugin& plugin, const PluginSetup& setup)
{
  if (setup.program >= 0) {
    const int programs = plugin.Effect().numPrograms;
    if (setup.program >= programs)
      throw HostError("--program " + std::to_string(setup.program) + ": " + plugin.Path() + " has " +
                      std::to_string(programs) + " programs (0 to " + std::to_string(programs - 1) + ")");
    plugin.Dispatch(effSetProgram, 0, setup.program);
  }
  if (!setup.stateIn.empty()) {
    std::vector<std::uint8_t> chunk = ReadWholeFile(setup.stateIn);
    if (chunk.empty())
      throw HostError("--state-in " + setup.stateIn + ": the file is empty");
    if (!plugin.LoadState(chunk))
      throw HostError("--state-in " + setup.stateIn + ": the plug-in refused the state");
  }
  ApplyParameterSettings(plugin, setup.settings);
}
