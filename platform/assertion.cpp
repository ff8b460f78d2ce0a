#include "platform/assertion.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace {

void DefaultAssertHandler(const char* expression, const char* source, int line)
{
  std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", expression, source, line);
  std::fflush(stderr);
  std::abort();
}

std::atomic<PlatformAssertHandler> gHandler{&DefaultAssertHandler};

}  // namespace

void PlatformAssertFailed(const char* expression, const char* source, int line)
{
  gHandler.load()(expression, source, line);
}

PlatformAssertHandler PlatformSetAssertHandler(PlatformAssertHandler handler)
{
  return gHandler.exchange(handler != nullptr ? handler : &DefaultAssertHandler);
}
