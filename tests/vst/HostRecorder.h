// A host callback that records every call a plug-in makes and answers as a scripted host would.
// One recorder is current at a time (the callback has no user data); tests install it around
// their use.
#pragma once

#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "vst/vst2_abi.h"

struct HostCall {
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  float opt;
};

class HostRecorder {
public:
  HostRecorder() { sCurrent = this; }
  ~HostRecorder() { sCurrent = nullptr; }

  static VstIntPtr VST_CALLBACK Callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                         void* ptr, float opt)
  {
    return sCurrent != nullptr ? sCurrent->Answer(effect, opcode, index, value, ptr, opt) : 0;
  }

  int Count(VstInt32 opcode) const
  {
    std::lock_guard<std::mutex> lock(mCallsLock);
    int n = 0;
    for (const HostCall& c : calls) {
      n += c.opcode == opcode ? 1 : 0;
    }
    return n;
  }

  std::vector<HostCall> Calls() const
  {
    std::lock_guard<std::mutex> lock(mCallsLock);
    return calls;
  }

  void Forget()
  {
    std::lock_guard<std::mutex> lock(mCallsLock);
    calls.clear();
  }

  // The scripted answers.
  std::string productString;
  VstIntPtr vendorVersion = 0;
  VstTimeInfo* timeInfo = nullptr;
  VstIntPtr processEventsAnswer = 1;
  std::vector<VstMidiEvent> sentMidi;  // copies of events sent with audioMasterProcessEvents
  std::vector<VstInt32> sentEventTypes;
  std::function<void(AEffect*, VstInt32 index, float value)> onAutomate;

private:
  VstIntPtr Answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
  {
    {
      std::lock_guard<std::mutex> lock(mCallsLock);
      calls.push_back({opcode, index, value, opt});
    }
    switch (opcode) {
      case audioMasterAutomate:
        if (onAutomate) {
          onAutomate(effect, index, opt);
        }
        return 0;
      case audioMasterGetProductString:
        std::strcpy(static_cast<char*>(ptr), productString.c_str());
        return productString.empty() ? 0 : 1;
      case audioMasterGetVendorVersion:
        return vendorVersion;
      case audioMasterGetTime:
        return reinterpret_cast<VstIntPtr>(timeInfo);
      case audioMasterProcessEvents: {
        const VstEvents* events = static_cast<const VstEvents*>(ptr);
        for (int i = 0; i < events->numEvents; ++i) {
          sentEventTypes.push_back(events->events[i]->type);
          if (events->events[i]->type == kVstMidiType) {
            sentMidi.push_back(*reinterpret_cast<const VstMidiEvent*>(events->events[i]));
          }
        }
        return processEventsAnswer;
      }
      default:
        return 0;
    }
  }

  std::vector<HostCall> calls;
  mutable std::mutex mCallsLock;
  static inline HostRecorder* sCurrent = nullptr;
};
