// The options every command that runs audio shares: parameter settings, a program, a saved
// state, and the order in which a host applies them (program, then state, then settings).
#pragma once

#include "param_value.h"

#include <string>
#include <vector>

class CommandLine;
class HostedPlugin;

struct PluginSetup {
  int program = -1;  // none
  std::string stateIn;
  std::vector<ParameterSetting> settings;
};

PluginSetup ReadPluginSetup(const CommandLine& line);
// Applies the setup; HostErrors for a program out of range, an unreadable or refused state, or a
// setting that cannot be made.
void ApplyPluginSetup(const HostedPlugin& plugin, const PluginSetup& setup);
