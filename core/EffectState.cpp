// Parameter state and program slots of IEffectBase.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/IEffectBase.h"

namespace {
constexpr const char* kUserPresetText = "user preset";
}

bool IEffectBase::SerializeParams(IStateChunk* chunk)
{
  IScopedLock lock(&mMutex);
  for (int i = 0; i < NParams(); ++i) {
    if (!chunk->PutDouble(GetParam(i)->Value())) {
      return false;
    }
  }
  return true;
}

int IEffectBase::UnserializeParams(const IStateChunk* chunk, int startPos)
{
  IScopedLock lock(&mMutex);
  int pos = startPos;
  for (int i = 0; i < NParams() && pos >= 0; ++i) {
    IEffectParam* param = GetParam(i);
    double v = 0.0;
    pos = chunk->GetDouble(&v, pos);
    // A stored NaN would poison the effect for good; it leaves the value as it was. An infinity
    // is limited like any other out-of-range value.
    if (!std::isnan(v)) {
      param->SetValue(std::clamp(v, param->Min(), param->Max()));
    }
  }
  NotifyAllParamsChanged();
  return pos;
}

void IEffectBase::EnsureOnePreset()
{
  if (NPresets() == 0 && AddPreset(1)) {
    StoreDefaultPresets(nullptr, 1);
  }
}

void IEffectBase::StoreDefaultPresets(const char* name, int count)
{
  for (int round = 0; round < count; ++round) {
    for (int i = 0; i < NPresets(); ++i) {
      IPreset* preset = mPresets.Get(i);
      if (!preset->initialized) {
        preset->initialized = true;
        CopyTextField(preset->name, kPresetNameSize, name != nullptr ? name : "Default");
        SerializeParams(&preset->state);
        break;
      }
    }
  }
}

bool IEffectBase::LoadPreset(int index)
{
  IPreset* preset = mPresets.Get(index);
  if (preset == nullptr) {
    return false;
  }
  bool loaded;
  if (!preset->initialized) {
    preset->initialized = true;
    NextUserPresetName(preset->name);
    loaded = SerializeParams(&preset->state);
  } else {
    loaded = UnserializeParams(&preset->state, 0) > 0;
  }
  if (loaded) {
    mCurrentPreset = index;
    RefreshEditorControls();
  }
  return loaded;
}

void IEffectBase::StoreCurrentPreset(const char* name)
{
  IPreset* preset = mPresets.Get(mCurrentPreset);
  if (preset == nullptr) {
    return;
  }
  preset->state.Clear();
  SerializeParams(&preset->state);
  if (name != nullptr && name[0] != '\0') {
    // A host's name may be longer than the slot; it is cut to fit.
    CopyTextField(preset->name, kPresetNameSize, name);
  }
}

const char* IEffectBase::PresetName(int index) const
{
  const IPreset* preset = mPresets.Get(index);
  return preset != nullptr ? preset->name : "";
}

void IEffectBase::NextUserPresetName(char* out) const
{
  int count = 0;
  for (int i = 0; i < NPresets(); ++i) {
    if (std::strstr(mPresets.Get(i)->name, kUserPresetText) != nullptr) {
      ++count;
    }
  }
  std::snprintf(out, kPresetNameSize, "%s %d", kUserPresetText, count + 1);
}
