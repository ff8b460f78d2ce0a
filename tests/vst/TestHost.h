// Drives a TestEffect in this process the way a host drives a plug-in: VSTPluginMain with a
// recording host callback, then the record's function pointers. The next instance's
// configuration is taken from gTestEffectConfig.
#pragma once

#include "tests/vst/HostRecorder.h"
#include "tests/vst/TestEffect.h"
#include "vst/VstEntry.h"

extern TestEffectConfig gTestEffectConfig;

class TestHost {
public:
  explicit TestHost(const TestEffectConfig& config = TestEffectConfig{})
  {
    gTestEffectConfig = config;
    effect = VSTPluginMain(&HostRecorder::Callback);
  }
  ~TestHost()
  {
    if (effect != nullptr) {
      Dispatch(effClose);
    }
  }
  TestHost(const TestHost&) = delete;
  TestHost& operator=(const TestHost&) = delete;

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f)
  {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
  }
  TestEffect* Plug() const { return static_cast<TestEffect*>(effect->object); }
  float Get(int index) const { return effect->getParameter(effect, index); }
  void Set(int index, float value) { effect->setParameter(effect, index, value); }

  HostRecorder host;  // made before the instance, so it answers from the first call
  AEffect* effect = nullptr;
};
