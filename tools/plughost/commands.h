// The plughost commands. Each takes the arguments after its name, writes its results to stdout
// (and its files), and returns the process exit code; failures are HostErrors.
#pragma once

#include <string>
#include <vector>

using CommandArgs = std::vector<std::string>;

int RunInfoCommand(const CommandArgs& args);
int RunProcessCommand(const CommandArgs& args);
int RunResponseCommand(const CommandArgs& args);
int RunBenchCommand(const CommandArgs& args);
int RunSignalCommand(const CommandArgs& args);

// The usage text of every command, as printed by "plughost help".
extern const char* const kUsageText;
