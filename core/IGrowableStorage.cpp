#include "core/IGrowableStorage.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {
constexpr long long kMinExtra = IGrowableStorage::kGranularity;
constexpr long long kMaxExtra = 4194304;
constexpr long long kHeader = 96;  // leaves room for the allocator's own bookkeeping in each page run
constexpr long long kShrinkSlack = 16384;
}  // namespace

IGrowableStorage::~IGrowableStorage() { std::free(mData); }

long long IGrowableStorage::CapacityFor(int newSize)
{
  const long long g = kGranularity;
  long long extra = std::max<long long>(newSize / 2, kMinExtra) / g * g;
  extra = std::clamp(extra, kMinExtra, kMaxExtra);
  const long long capacity = (newSize + extra + kHeader) / g * g - kHeader;
  return capacity <= INT_MAX ? capacity : -1;
}

bool IGrowableStorage::Resize(int newSize)
{
  if (newSize < 0) {
    return false;
  }
  const bool grow = newSize > mCapacity;
  const bool shrink = mAllowShrink && newSize < mSize && newSize < mCapacity / 2 &&
                      static_cast<long long>(newSize) < mCapacity - kShrinkSlack;
  if (grow || shrink) {
    const long long capacity = CapacityFor(newSize);
    if (capacity < 0) {
      return false;
    }
    if (capacity != mCapacity) {
      // realloc keeps the first min(old, new) bytes, moving them to a fresh block if it must.
      void* data = std::realloc(mData, static_cast<std::size_t>(capacity));
      if (data == nullptr) {
        return false;
      }
      mData = static_cast<unsigned char*>(data);
      mCapacity = static_cast<int>(capacity);
    }
  }
  mSize = newSize;
  return true;
}
