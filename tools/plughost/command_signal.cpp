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
  ChordSignalSpec spec;
  spec.seconds = line.Number("seconds", spec.seconds, 0.1, 600.0);
  spec.sampleRate = line.Number("rate", spec.sampleRate, 8000.0, 384000.0);
  spec.rootHz = line.Number("root", spec.rootHz, 20.0, spec.sampleRate / 8.0);
  const std::string& path = line.Positional()[0];
  WriteAudioFile(path, MakeChordSignal(spec), spec.sampleRate, SampleWidth::Float32);

  std::printf("%s: %.1f s stereo at %g Hz, a chord of", path.c_str(), spec.seconds, spec.sampleRate);
  for (double note : ChordFrequencies(spec.rootHz))
    std::printf(" %.1f", note);
  std::printf(" Hz over pink noise\n");
  return 0;
}
