// A deliberately faulty plug-in module for the DLL check's own tests: one export too many and an
// import of a DLL that is not part of Windows.
#include <zlib.h>

extern "C" void* VSTPluginMain(void*)
{
  return const_cast<char*>(zlibVersion());
}

extern "C" int StrayExport(int x)
{
  return x + 1;
}
