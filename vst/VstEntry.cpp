// Linked into every plug-in library as an object of its own, so the entry point is always present
// although nothing inside the library calls it.
#include "vst/VstEntry.h"

#include "core/IMutex.h"
#include "vst/IEffectVST.h"

namespace {
// Made on the first call, destroyed when the library unloads; it serialises construction only.
IMutex& EntryLock()
{
  static IMutex lock;
  return lock;
}
}  // namespace

extern "C" AEffect* VST_CALLBACK VSTPluginMain(audioMasterCallback host)
{
  try {
    IScopedLock lock(&EntryLock());
    IEffectVST* plug = CreateEffectInstance(host);
    if (plug == nullptr) {
      return nullptr;
    }
    plug->EnsureOnePreset();
    AEffect* effect = plug->Effect();
    if (effect->numPrograms < 1) {
      effect->numPrograms = 1;
    }
    return effect;
  } catch (...) {
    return nullptr;
  }
}
