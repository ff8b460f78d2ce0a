// Re-entrant lock on a Win32 critical section (re-entrant by design).
#include "platform/lock.h"

#include <new>

#include "platform/win32.h"

static_assert(sizeof(CRITICAL_SECTION) <= sizeof(PlatformLock::storage), "lock storage too small");
static_assert(alignof(CRITICAL_SECTION) <= alignof(PlatformLock), "lock storage misaligned");

namespace {
CRITICAL_SECTION* Native(PlatformLock* lock)
{
  return std::launder(reinterpret_cast<CRITICAL_SECTION*>(lock->storage));
}
}  // namespace

void PlatformLockInit(PlatformLock* lock) { InitializeCriticalSection(new (lock->storage) CRITICAL_SECTION); }
void PlatformLockAcquire(PlatformLock* lock) { EnterCriticalSection(Native(lock)); }
void PlatformLockRelease(PlatformLock* lock) { LeaveCriticalSection(Native(lock)); }
void PlatformLockDestroy(PlatformLock* lock) { DeleteCriticalSection(Native(lock)); }
