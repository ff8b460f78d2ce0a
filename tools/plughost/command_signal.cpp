// plughost signal OUT: writes the generated test signal, a chord over pink noise.
#include "commands.h"

#include "audio_file.h"
#include "command_line.h"
#include "test_signal.h"

#include <cstdio>

int RunSignalCommand(const CommandArgs& args)
{
  CommandLine line(args, {"seconds", "rate", "root"});
  line.ExpectPositional(1, "plughost signal OUT [--seconds S] [--rate HZ] [--root HZ]");
  ChordSignalSettings settings;
  settings.seconds = line.Number("seconds", settings.seconds, 0.1, 600.0);
  settings.sampleRate = line.Number("rate", settings.sampleRate, 8000.0, 384000.0);
  settings.rootHz = line.Number("root", settings.rootHz, 20.0, settings.sampleRate / 8.0);
  const std::string& path = line.Positional()[0];
  WriteAudioFile(path, MakeChordSignal(settings), settings.sampleRate, SampleWidth::Float32);

  std::printf("%s: %.1f s stereo at %g Hz, a chord of", path.c_str(), settings.seconds, settings.sampleRate);
  for (double note : ChordFrequencies(settings.rootHz))
    std::printf(" %.1f", note);
  std::printf(" Hz over pink noise\n");
  return 0;
}
