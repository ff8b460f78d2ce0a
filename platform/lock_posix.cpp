// Re-entrant lock on a recursive POSIX mutex.
#include "platform/lock.h"

#include <new>
#include <pthread.h>

static_assert(sizeof(pthread_mutex_t) <= sizeof(PlatformLock::storage), "lock storage too small");
static_assert(alignof(pthread_mutex_t) <= alignof(PlatformLock), "lock storage misaligned");

namespace {
pthread_mutex_t* Native(PlatformLock* lock)
{
  return std::launder(reinterpret_cast<pthread_mutex_t*>(lock->storage));
}
}  // namespace

void PlatformLockInit(PlatformLock* lock)
{
  pthread_mutexattr_t attr;
  pthread_mutexattr_init(&attr);
  pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_RECURSIVE);
  pthread_mutex_init(new (lock->storage) pthread_mutex_t, &attr);
  pthread_mutexattr_destroy(&attr);
}

void PlatformLockAcquire(PlatformLock* lock) { pthread_mutex_lock(Native(lock)); }
void PlatformLockRelease(PlatformLock* lock) { pthread_mutex_unlock(Native(lock)); }
void PlatformLockDestroy(PlatformLock* lock) { pthread_mutex_destroy(Native(lock)); }
