// The exported entry point of a plug-in library. A host calls it with its callback and gets the
// effect record of a new, independent instance (null when none could be made). The library also
// exports it under the name `main`, which older hosts look for.
#pragma once

#include "platform/export.h"
#include "vst/vst2_abi.h"

extern "C" PLATFORM_EXPORT AEffect* VST_CALLBACK VSTPluginMain(audioMasterCallback host);
