// plughost info PLUGIN: the effect record, the parameters, the programs and the capability
// answers, as a host sees them after opening the effect.
#include "commands.h"

#include "command_line.h"
#include "host_callback.h"
#include "hosted_plugin.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iterator>
#include <string>

namespace {

struct FlagName {
  VstInt32 flag;
  const char* name;
};

constexpr FlagName kFlagNames[] = {
    {effFlagsHasEditor, "HasEditor"},
    {effFlagsHasClip, "HasClip"},
    {effFlagsHasVu, "HasVu"},
    {effFlagsCanMono, "CanMono"},
    {effFlagsCanReplacing, "CanReplacing"},
    {effFlagsProgramChunks, "ProgramChunks"},
    {effFlagsIsSynth, "IsSynth"},
    {effFlagsNoSoundInStop, "NoSoundInStop"},
    {effFlagsExtIsAsync, "ExtIsAsync"},
    {effFlagsExtHasBuffer, "ExtHasBuffer"},
    {effFlagsCanDoubleReplacing, "CanDoubleReplacing"},
};

constexpr const char* kCategoryNames[] = {"unknown",     "effect",      "synth",           "analysis",
                                          "mastering",   "spacializer", "room effect",     "surround effect",
                                          "restoration", "offline",     "shell",           "generator"};

// The capability strings hosts commonly ask about.
constexpr const char* kCapabilities[] = {
    "receiveVstTimeInfo", "receiveVstEvents",    "receiveVstMidiEvent",  "sendVstEvents",
    "sendVstMidiEvent",   "offline",             "bypass",               "midiProgramNames",
    "noRealTime",         "plugAsChannelInsert", "plugAsSend",           "mixDryWet",
    "1in1out",            "1in2out",             "2in1out",              "2in2out",
    "hasVendorExtensions", "hasVendorViewAsConfig",
};

std::string FourCharacters(VstInt32 id)
{
  std::string text;
  bool printable = true;
  for (int shift = 24; shift >= 0; shift -= 8) {
    char c = static_cast<char>((static_cast<std::uint32_t>(id) >> shift) & 0xFF);
    printable = printable && std::isprint(static_cast<unsigned char>(c));
    text += c;
  }
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(id));
  return printable ? "'" + text + "' (" + hex + ")" : std::string(hex);
}

std::string FlagsText(VstInt32 flags)
{
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(flags));
  std::string text = hex;
  VstInt32 named = 0;
  for (const FlagName& flag : kFlagNames)
    if (flags & flag.flag) {
      text += std::string(" ") + flag.name;
      named |= flag.flag;
    }
  if (flags & ~named) {
    std::snprintf(hex, sizeof hex, " 0x%X", static_cast<unsigned>(flags & ~named));
    text += hex;
  }
  return text;
}

// Small answers in decimal, the large vendor-style ones in hexadecimal.
std::string AnswerText(VstIntPtr answer)
{
  char text[32];
  if (answer > -65536 && answer < 65536)
    std::snprintf(text, sizeof text, "%ld", static_cast<long>(answer));
  else
    std::snprintf(text, sizeof text, "0x%lX", static_cast<unsigned long>(answer));
  return text;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

void PrintField(const char* name, const std::string& value) { std::printf("%-15s %s\n", name, value.c_str()); }

void PrintParameters(const HostedPlugin& plugin)
{
  struct Row {
    std::string index, name, label, display, normalised;
  };
  std::vector<Row> rows{{"index", "name", "label", "display", "normalised"}};
  for (int i = 0; i < plugin.ParameterCount(); ++i) {
    char normalised[32];
    std::snprintf(normalised, sizeof normalised, "%.6f", plugin.GetParameter(i));
    rows.push_back({std::to_string(i), Quoted(plugin.ParameterName(i)), Quoted(plugin.ParameterLabel(i)),
                    Quoted(plugin.ParameterDisplay(i)), normalised});
  }
  std::size_t width[5] = {};
  for (const Row& row : rows) {
    const std::string* cells[5] = {&row.index, &row.name, &row.label, &row.display, &row.normalised};
    for (int c = 0; c < 5; ++c)
      width[c] = std::max(width[c], cells[c]->size());
  }
  std::printf("\nparameters (%d):\n", plugin.ParameterCount());
  for (const Row& row : rows)
    std::printf("  %*s  %-*s  %-*s  %-*s  %s\n", static_cast<int>(width[0]), row.index.c_str(),
                static_cast<int>(width[1]), row.name.c_str(), static_cast<int>(width[2]), row.label.c_str(),
                static_cast<int>(width[3]), row.display.c_str(), row.normalised.c_str());
}

}  // namespace

int RunInfoCommand(const CommandArgs& args)
{
  CommandLine line(args, {});
  line.ExpectPositional(1, "plughost info PLUGIN");

  HostContext host;
  HostedPlugin plugin(line.Positional()[0], host);
  plugin.Configure(48000.0, 512);
  const AEffect& effect = plugin.Effect();

  PrintField("plug-in", plugin.Path());
  PrintField("effect name", plugin.DispatchText(effGetEffectName));
  PrintField("vendor", plugin.DispatchText(effGetVendorString));
  PrintField("product", plugin.DispatchText(effGetProductString));
  PrintField("vendor version", std::to_string(plugin.Dispatch(effGetVendorVersion)));
  PrintField("VST version", std::to_string(plugin.Dispatch(effGetVstVersion)));
  PrintField("unique id", FourCharacters(effect.uniqueID));
  PrintField("version", std::to_string(effect.version));
  VstIntPtr category = plugin.Dispatch(effGetPlugCategory);
  PrintField("category", category >= 0 && category < static_cast<VstIntPtr>(std::size(kCategoryNames))
                             ? std::string(kCategoryNames[category]) + " (" + std::to_string(category) + ")"
                             : std::to_string(category));
  PrintField("flags", FlagsText(effect.flags));
  PrintField("inputs", std::to_string(effect.numInputs));
  PrintField("outputs", std::to_string(effect.numOutputs));
  PrintField("initial delay", std::to_string(effect.initialDelay) + " samples");
  PrintField("tail", std::to_string(plugin.Dispatch(effGetTailSize)) + " samples");

  std::printf("\nprograms (%d, current %ld):\n", effect.numPrograms, static_cast<long>(plugin.Dispatch(effGetProgram)));
  for (int i = 0; i < effect.numPrograms; ++i)
    std::printf("  %d  %s\n", i, Quoted(plugin.DispatchText(effGetProgramNameIndexed, i)).c_str());

  PrintParameters(plugin);

  std::printf("\ncapabilities:\n");
  for (const char* capability : kCapabilities) {
    std::string question = capability;  // the plug-in gets a writable copy
    std::printf("  %-22s %s\n", capability, AnswerText(plugin.Dispatch(effCanDo, 0, 0, question.data())).c_str());
  }
  return 0;
}
