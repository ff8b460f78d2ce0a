#include "host_callback.h"

#include <cstring>

namespace {

HostContext* gContext = nullptr;
HostContext gDetached;  // answers calls that come while no context is attached

constexpr double kTempo = 120.0;

HostContext& Context() { return gContext ? *gContext : gDetached; }

void CopyText(void* destination, const char* text, std::size_t capacity)
{
  if (!destination)
    return;
  char* out = static_cast<char*>(destination);
  std::strncpy(out, text, capacity - 1);
  out[capacity - 1] = 0;
}

VstTimeInfo* FillTimeInfo(HostContext& context)
{
  VstTimeInfo& info = context.timeInfo;
  info = VstTimeInfo{};
  info.samplePos = context.samplePosition;
  info.sampleRate = context.sampleRate;
  const double seconds = context.samplePosition / context.sampleRate;
  info.nanoSeconds = seconds * 1e9;
  info.ppqPos = seconds * kTempo / 60.0;
  info.tempo = kTempo;
  info.barStartPos = 4.0 * static_cast<double>(static_cast<long long>(info.ppqPos / 4.0));
  info.timeSigNumerator = 4;
  info.timeSigDenominator = 4;
  info.flags = kVstNanosValid | kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstTimeSigValid;
  if (context.playing)
    info.flags |= kVstTransportPlaying;
  return &info;
}

bool HostCanDo(const char* capability)
{
  // Time information is answered, and processing is bracketed with start and stop.
  static const char* const kSupported[] = {"sendVstTimeInfo", "startStopProcess"};
  if (!capability)
    return false;
  for (const char* supported : kSupported)
    if (std::strcmp(capability, supported) == 0)
      return true;
  return false;
}

}  // namespace

void AttachHostContext(HostContext* context) { gContext = context; }

VstIntPtr VST_CALLBACK HostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float)
{
  HostContext& context = Context();
  switch (opcode) {
  case audioMasterVersion:
    return 2400;
  case audioMasterAutomate:
    ++context.automationCalls;
    return 0;
  case audioMasterGetTime:
    return reinterpret_cast<VstIntPtr>(FillTimeInfo(context));
  case audioMasterGetSampleRate:
    return static_cast<VstIntPtr>(context.sampleRate);
  case audioMasterGetBlockSize:
    return context.blockSize;
  case audioMasterGetCurrentProcessLevel:
    return context.processLevel;
  case audioMasterGetAutomationState:
    return 1;  // automation off: plughost neither reads nor writes it
  case audioMasterWillReplaceOrAccumulate:
    return 1;  // replace
  case audioMasterGetVendorString:
    CopyText(ptr, kHostVendorName, kVstMaxVendorStrLen);
    return ptr ? 1 : 0;
  case audioMasterGetProductString:
    CopyText(ptr, kHostProductName, kVstMaxProductStrLen);
    return ptr ? 1 : 0;
  case audioMasterGetVendorVersion:
    return kHostVendorVersion;
  case audioMasterCanDo:
    return HostCanDo(static_cast<const char*>(ptr)) ? 1 : 0;
  case audioMasterGetLanguage:
    return 1;  // English
  case audioMasterUpdateDisplay:
    return 1;
  default:
    return 0;
  }
}
