// A tiny shared library that reports the module handle the platform found for it.
#include "platform/export.h"
#include "platform/module.h"

extern "C" PLATFORM_EXPORT void* ProbeModuleHandle() { return PlatformModuleHandle(); }
