// Marks the plug-in's entry points as exported. On Windows the module definition file lists the
// exports, so nothing is needed in the code there.
#pragma once

#if defined(_WIN32)
#define PLATFORM_EXPORT
#else
#define PLATFORM_EXPORT __attribute__((visibility("default")))
#endif
