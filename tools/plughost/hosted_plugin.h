// A VST 2 effect loaded from a shared library and driven the way a host drives it.
// Loading finds the entry point (VSTPluginMain, else main), checks the record's magic and opens
// the effect; each failure is a HostError naming the file. Destruction stops processing, closes
// the effect and unloads the library. Strings from the plug-in are read into generous zeroed
// buffers and cut at their NUL, so a plug-in that overruns the short fields does no harm.
#pragma once

#include "host_os.h"
#include "vst/vst2_abi.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct HostContext;

class HostedPlugin {
public:
  HostedPlugin(const std::string& path, HostContext& host);
  ~HostedPlugin();
  HostedPlugin(const HostedPlugin&) = delete;
  HostedPlugin& operator=(const HostedPlugin&) = delete;

  const std::string& Path() const { return mPath; }
  AEffect& Effect() const { return *mEffect; }
  bool HasFlag(VstInt32 flag) const { return (mEffect->flags & flag) != 0; }

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) const;
  // The text a string opcode writes into ptr.
  std::string DispatchText(VstInt32 opcode, VstInt32 index = 0) const;

  int ParameterCount() const { return mEffect->numParams; }
  std::string ParameterName(int index) const { return DispatchText(effGetParamName, index); }
  std::string ParameterLabel(int index) const { return DispatchText(effGetParamLabel, index); }
  std::string ParameterDisplay(int index) const { return DispatchText(effGetParamDisplay, index); }
  float GetParameter(int index) const;
  void SetParameter(int index, float normalised) const;

  // Sets the sample rate and the largest block, as a host does before it switches processing on.
  void Configure(double sampleRate, int blockSize);
  void StartProcessing();
  void StopProcessing();

  // The plug-in's whole state (its bank chunk); empty when it gives none.
  std::vector<std::uint8_t> SaveState() const;
  // False when the plug-in refuses the chunk.
  bool LoadState(const std::vector<std::uint8_t>& chunk) const;

private:
  std::string mPath;
  HostContext& mHost;
  std::unique_ptr<PluginLibrary> mLibrary;
  AEffect* mEffect = nullptr;
  bool mProcessing = false;
};
