// The plug-in lock: a re-entrant lock (the holder may take it again) and its scope guard.
//
// Contract: IScopedLock locks on construction and unlocks on destruction or on an earlier
// Release, after which destruction does nothing. A guard built from a null mutex does nothing.
#pragma once

#include "platform/lock.h"

class IMutex {
public:
  IMutex() { PlatformLockInit(&mLock); }
  ~IMutex() { PlatformLockDestroy(&mLock); }
  IMutex(const IMutex&) = delete;
  IMutex& operator=(const IMutex&) = delete;

  void Lock() { PlatformLockAcquire(&mLock); }
  void Unlock() { PlatformLockRelease(&mLock); }

private:
  PlatformLock mLock;
};

class IScopedLock {
public:
  explicit IScopedLock(IMutex* mutex) : mMutex(mutex)
  {
    if (mMutex != nullptr) {
      mMutex->Lock();
    }
  }
  ~IScopedLock() { Release(); }
  IScopedLock(const IScopedLock&) = delete;
  IScopedLock& operator=(const IScopedLock&) = delete;

  void Release()
  {
    if (mMutex != nullptr) {
      mMutex->Unlock();
      mMutex = nullptr;
    }
  }

private:
  IMutex* mMutex;
};
