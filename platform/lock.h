// The operating system's re-entrant lock, behind the plug-in's IMutex.
//
// Contract: the thread that holds the lock may take it again; it becomes free when that thread has
// released it as many times as it took it. The storage lives inside the caller's object, so
// creating a lock never allocates and never fails. Init before first use, Destroy once after last.
#pragma once

struct PlatformLock {
  // Large enough for the system lock object of every supported target (checked where it is used).
  alignas(8) unsigned char storage[64];
};

void PlatformLockInit(PlatformLock* lock);
void PlatformLockAcquire(PlatformLock* lock);
void PlatformLockRelease(PlatformLock* lock);
void PlatformLockDestroy(PlatformLock* lock);
