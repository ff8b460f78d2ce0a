// A growable array of plain values (doubles, pointers, small records) on IGrowableStorage.
//
// Contract: elements are copied as bytes, so T must be trivially copyable. Counts and indexes are
// ints; Get out of range is a programming error of the caller (lists that take indexes from
// outside check them first). Every operation that grows returns false, changing nothing, when the
// storage cannot grow.
#pragma once

#include <climits>
#include <cstring>
#include <type_traits>

#include "core/IGrowableStorage.h"

template <typename T>
class IGrowArray {
  static_assert(std::is_trivially_copyable_v<T>, "IGrowArray holds plain values only");

public:
  explicit IGrowArray(bool allowShrink = true) : mStorage(allowShrink) {}

  int Count() const { return mStorage.Size() / static_cast<int>(sizeof(T)); }
  T* Data() { return reinterpret_cast<T*>(mStorage.Bytes()); }
  const T* Data() const { return reinterpret_cast<const T*>(mStorage.Bytes()); }
  T& operator[](int i) { return Data()[i]; }
  const T& operator[](int i) const { return Data()[i]; }

  // Contents of the kept elements survive; new ones are undefined.
  bool Resize(int count)
  {
    if (count < 0 || count > INT_MAX / static_cast<int>(sizeof(T))) {
      return false;
    }
    return mStorage.Resize(count * static_cast<int>(sizeof(T)));
  }

  // Like Resize, and the new elements are all-zero bytes.
  bool ResizeZeroed(int count)
  {
    const int old = Count();
    if (!Resize(count)) {
      return false;
    }
    if (count > old) {
      std::memset(Data() + old, 0, static_cast<std::size_t>(count - old) * sizeof(T));
    }
    return true;
  }

  bool Append(const T& value)
  {
    const int n = Count();
    if (!Resize(n + 1)) {
      return false;
    }
    std::memcpy(Data() + n, &value, sizeof(T));
    return true;
  }

  void Clear() { mStorage.Resize(0); }

private:
  IGrowableStorage mStorage;
};
