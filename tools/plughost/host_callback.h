// The host side of the plug-in's calls to its host. plughost runs one plug-in at a time, so one
// HostContext (the transport and the answers the plug-in may ask for) serves every call; the
// callback reaches it through a process-wide pointer because a plug-in may call before its
// effect record exists. The callback never throws and answers 0 to anything it does not know.
#pragma once

#include "vst/vst2_abi.h"

// The process levels a plug-in may ask for.
enum HostProcessLevel : VstInt32 {
  HostProcessLevelUnknown = 0,
  HostProcessLevelUser = 1,
  HostProcessLevelRealtime = 2,
  HostProcessLevelOffline = 4,
};

struct HostContext {
  double sampleRate = 48000.0;
  VstInt32 blockSize = 512;
  double samplePosition = 0.0;  // frames processed since the transport started
  bool playing = false;
  VstInt32 processLevel = HostProcessLevelUser;
  VstTimeInfo timeInfo{};  // filled on each time query; the plug-in reads it through the pointer
  int automationCalls = 0;   // parameter changes the plug-in reported itself
};

// Makes context the one the callback answers from (null detaches it).
void AttachHostContext(HostContext* context);

VstIntPtr VST_CALLBACK HostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                    float opt);

constexpr const char* kHostProductName = "plughost";
constexpr const char* kHostVendorName = "korvane";
constexpr VstInt32 kHostVendorVersion = 10000;
