// The own module on Linux: the loader is asked which object contains one of our hidden symbols,
// then for that object's handle without loading anything.
#include "platform/module.h"

#include <dlfcn.h>

namespace {

void* FindOwnModule()
{
  static const char anchor = 0;  // any address inside this object will do
  Dl_info info{};
  void* handle = nullptr;
  if (dladdr(&anchor, &info) != 0 && info.dli_fname != nullptr) {
    handle = dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
  }
  if (handle == nullptr) {
    // Linked into the main program, whose loader entry has no name to look up.
    handle = dlopen(nullptr, RTLD_LAZY | RTLD_NOLOAD);
  }
  // The lookup took a reference; giving it back at once keeps the library unloadable, and the
  // handle stays valid for as long as this code is loaded to use it.
  if (handle != nullptr) {
    dlclose(handle);
  }
  return handle;
}

// Initialised while the library loads, before any plug-in code runs.
void* const gModule = FindOwnModule();

}  // namespace

void* PlatformModuleHandle() { return gModule; }
