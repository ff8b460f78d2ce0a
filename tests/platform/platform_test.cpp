// The platform block: the re-entrant lock, the own module handle and assertions.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "core/IMutex.h"
#include "platform/assertion.h"
#include "platform/module.h"

TEST(Lock, ReentrantForTheHolderExclusiveForOthers)
{
  IMutex mutex;
  std::atomic<bool> otherHasIt{false};
  mutex.Lock();
  mutex.Lock();  // the holder takes it again without blocking
  std::thread other([&] {
    mutex.Lock();
    otherHasIt.store(true);
    mutex.Unlock();
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  mutex.Unlock();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(otherHasIt.load());  // still held once
  mutex.Unlock();
  other.join();
  EXPECT_TRUE(otherHasIt.load());
}

TEST(Lock, ScopedLockReleasesEarlyAndIgnoresNull)
{
  IMutex mutex;
  std::atomic<bool> otherHasIt{false};
  {
    IScopedLock nothing(nullptr);
    nothing.Release();
  }
  {
    IScopedLock lock(&mutex);
    lock.Release();
    std::thread other([&] {
      IScopedLock inner(&mutex);
      otherHasIt.store(true);
    });
    other.join();  // would never return if the release had not unlocked
    EXPECT_TRUE(otherHasIt.load());
  }  // destruction after the release must not unlock a second time
  std::thread again([&] { IScopedLock inner(&mutex); });
  again.join();
}

TEST(Module, HandleOfTheProgramItself)
{
  // Linked into this program, the handle is the program's own.
  void* self = dlopen(nullptr, RTLD_LAZY | RTLD_NOLOAD);
  ASSERT_NE(self, nullptr);
  EXPECT_EQ(PlatformModuleHandle(), self);
  dlclose(self);
}

TEST(Module, HandleOfALibraryIsItsOwnAndKeepsNoReference)
{
  void* lib = dlopen(MODULE_PROBE_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(lib, nullptr) << dlerror();
  auto probe = reinterpret_cast<void* (*)()>(dlsym(lib, "ProbeModuleHandle"));
  ASSERT_NE(probe, nullptr);
  EXPECT_EQ(probe(), lib);
  EXPECT_NE(probe(), PlatformModuleHandle());

  dlclose(lib);
  // Finding the handle took no lasting reference: the library is gone.
  EXPECT_EQ(dlopen(MODULE_PROBE_PATH, RTLD_LAZY | RTLD_NOLOAD), nullptr);
}

namespace {
std::string gExpression;
std::string gSource;
int gLine = 0;
void Record(const char* expression, const char* source, int line)
{
  gExpression = expression;
  gSource = source;
  gLine = line;
}
}  // namespace

TEST(Assertion, CarriesExpressionSourceAndLine)
{
  PlatformAssertHandler previous = PlatformSetAssertHandler(&Record);
  const int two = 2;
  PLUG_ASSERT(two == 2);
  EXPECT_EQ(gLine, 0);
  PLUG_ASSERT(two + 1 == 2); const int expectedLine = __LINE__;
  EXPECT_EQ(gExpression, "two + 1 == 2");
  EXPECT_NE(gSource.find("platform_test.cpp"), std::string::npos);
  EXPECT_EQ(gLine, expectedLine);
  EXPECT_EQ(PlatformSetAssertHandler(previous), &Record);
}

TEST(AssertionDeathTest, DefaultHandlerReportsAndAborts)
{
  EXPECT_DEATH(PlatformAssertFailed("x > 0", "source.cpp", 42), "Assertion failed: x > 0, file source.cpp, line 42");
}
