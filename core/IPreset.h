// One program slot: whether it holds values yet, its name, and its values (one double per
// parameter, no chunk header).
#pragma once

#include "core/IStateChunk.h"

constexpr int kPresetNameSize = 256;

struct IPreset {
  bool initialized = false;
  char name[kPresetNameSize] = {};
  IStateChunk state;
};
