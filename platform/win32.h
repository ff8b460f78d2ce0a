// The one include for code that calls Win32. On Windows it is the real API; on Linux it is our own
// small layer in platform/linux/, which declares the same names, types and constants our code uses,
// split by concern (types, device contexts and bitmaps, resources and modules, ...).
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#if __has_include("platform/linux/win32_types.h")
#include "platform/linux/win32_types.h"
#endif
#if __has_include("platform/linux/win32_gdi.h")
#include "platform/linux/win32_gdi.h"
#endif
#if __has_include("platform/linux/win32_resources.h")
#include "platform/linux/win32_resources.h"
#endif
#endif
