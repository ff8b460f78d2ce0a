// plughost: the reference host. Loads a VST 2 plug-in through its binary interface alone and
// shows, runs, measures or times it. Every failure ends as one line on stderr and exit status 1.
#include "commands.h"
#include "host_error.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

const char* const kUsageText =
    "usage:\n"
    "  plughost info PLUGIN\n"
    "  plughost process PLUGIN IN OUT [--set NAME=VALUE]... [--program N] [--block N]\n"
    "                   [--precision 32|64|accumulate] [--state-in FILE] [--state-out FILE]\n"
    "  plughost response PLUGIN OUT.png [--set NAME=VALUE]... [--program N] [--state-in FILE]\n"
    "                    [--rate HZ] [--csv OUT.csv]\n"
    "  plughost bench PLUGIN [--set NAME=VALUE]... [--program N] [--state-in FILE] [--seconds S]\n"
    "  plughost signal OUT [--seconds S] [--rate HZ] [--root HZ]\n"
    "\n"
    "Sound files are WAV, FLAC or AIFF, mono or stereo. --set takes a parameter by its name and a\n"
    "plain value in its own unit (\"A4 Gain=9\", \"Tune=55\").\n";

namespace {

struct Command {
  const char* name;
  int (*run)(const CommandArgs&);
};

constexpr Command kCommands[] = {
    {"info", RunInfoCommand},   {"process", RunProcessCommand}, {"response", RunResponseCommand},
    {"bench", RunBenchCommand}, {"signal", RunSignalCommand},
};

}  // namespace

int main(int argc, char** argv)
{
  if (argc < 2) {
    std::fputs(kUsageText, stderr);
    return 1;
  }
  const std::string name = argv[1];
  if (name == "help" || name == "--help" || name == "-h") {
    std::fputs(kUsageText, stdout);
    return 0;
  }
  for (const Command& command : kCommands) {
    if (name != command.name)
      continue;
    try {
      int status = command.run(CommandArgs(argv + 2, argv + argc));
      if (std::fflush(stdout) != 0) {
        std::fprintf(stderr, "plughost: cannot write the output\n");
        return 1;
      }
      return status;
    } catch (const HostError& error) {
      std::fprintf(stderr, "plughost: %s\n", error.what());
    } catch (const std::exception& error) {
      std::fprintf(stderr, "plughost: unexpected failure: %s\n", error.what());
    }
    return 1;
  }
  std::fprintf(stderr, "plughost: unknown command \"%s\" (plughost help lists them)\n", name.c_str());
  return 1;
}
