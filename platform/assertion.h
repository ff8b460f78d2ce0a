// Assertions for programming errors (never for input from a host or a user).
//
// Contract: a failed PLUG_ASSERT passes the expression text, the source name and the line to
// PlatformAssertFailed, which hands them to the installed handler. The default handler writes
// one line to the standard error stream and aborts. A test may install its own handler, which
// may return: the caller then carries on as its own comment says.
#pragma once

using PlatformAssertHandler = void (*)(const char* expression, const char* source, int line);

void PlatformAssertFailed(const char* expression, const char* source, int line);

// Installs a handler (null restores the default); returns the previous one.
PlatformAssertHandler PlatformSetAssertHandler(PlatformAssertHandler handler);

#define PLUG_ASSERT(expr) ((expr) ? static_cast<void>(0) : PlatformAssertFailed(#expr, __FILE__, __LINE__))
