// The own module on Windows, as the loader hands it to DllMain.
#include "platform/module.h"

#include "platform/win32.h"

namespace {
HINSTANCE gModule = nullptr;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD /*reason*/, LPVOID /*reserved*/)
{
  gModule = module;
  return TRUE;
}

void* PlatformModuleHandle()
{
  // In a test program no DllMain runs; the program's own module stands in.
  return gModule != nullptr ? static_cast<void*>(gModule) : static_cast<void*>(GetModuleHandleW(nullptr));
}
