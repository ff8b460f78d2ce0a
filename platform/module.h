// The handle of the library this code is linked into (the plug-in's own module), through which the
// editor later finds the library's own embedded images.
//
// Contract: on Windows it is the instance handle DllMain received; on Linux it is the dynamic
// loader's handle of the shared object that contains this code, or of the main program when the
// code is linked into an executable. Found once when the library loads; it takes no reference,
// so the library still unloads when the host releases it. Null only if the loader had none.
#pragma once

void* PlatformModuleHandle();
