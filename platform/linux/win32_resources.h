// Resources of our Linux Win32 layer: FindResourceA, SizeofResource, LoadResource and LockResource
// over the table of (type, id, bytes) that add_plugin_images builds into each library.
// A module handle is the dynamic loader's handle of the shared object (PlatformModuleHandle, or
// what dlopen returns for it); a null handle names the main program. The calls look only in the
// table of the module the handle names, so each library finds only its own resources. Names are integer ids (MAKEINTRESOURCEA); types are names such as "PNG", compared
// without regard to case. Resource memory belongs to the module: nothing here allocates or frees.
#pragma once

#include <cstdint>

#if __has_include("platform/linux/win32_types.h")
#include "platform/linux/win32_types.h"
#endif

typedef struct HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;

typedef struct HRSRC__* HRSRC;
typedef void* HGLOBAL;

// An integer resource name travels as a pointer whose value is the id.
#define MAKEINTRESOURCEA(id) (reinterpret_cast<const char*>(static_cast<std::uintptr_t>(static_cast<std::uint16_t>(id))))
#define IS_INTRESOURCE(name) ((reinterpret_cast<std::uintptr_t>(name) >> 16) == 0)

// The entry with that integer id and type in the module's table, or null.
HRSRC FindResourceA(HMODULE module, const char* name, const char* type);
// The entry's byte count; 0 for a null entry.
std::uint32_t SizeofResource(HMODULE module, HRSRC resource);
// The entry's bytes; null for a null entry.
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
// The first byte of loaded resource data (the data itself; there is nothing to lock).
void* LockResource(HGLOBAL data);
