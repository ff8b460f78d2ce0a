// One growable block of bytes: the storage behind state chunks, pointer lists, strings and the
// channels' scratch buffers.
//
// Contract:
// - Resize keeps the first min(old, new) bytes; bytes beyond the old size are undefined.
// - Capacity follows one growth rule (CapacityFor): it is recomputed when the new size exceeds it,
//   or, for storage that may shrink, when the new size is below the old size, below half the
//   capacity and more than 16384 bytes below it. Appending therefore costs amortised constant time.
// - A resize that cannot be satisfied (no memory, or a size that does not fit an int with the
//   growth margin) returns false and leaves size and contents as they were.
// - Bytes() is null while the size is 0.
#pragma once

class IGrowableStorage {
public:
  explicit IGrowableStorage(bool allowShrink) : mAllowShrink(allowShrink) {}
  ~IGrowableStorage();
  IGrowableStorage(const IGrowableStorage&) = delete;
  IGrowableStorage& operator=(const IGrowableStorage&) = delete;

  int Size() const { return mSize; }
  int Capacity() const { return mCapacity; }
  unsigned char* Bytes() { return mSize > 0 ? mData : nullptr; }
  const unsigned char* Bytes() const { return mSize > 0 ? mData : nullptr; }

  bool Resize(int newSize);

  // The capacity the growth rule gives for a size, or -1 when it does not fit an int.
  static long long CapacityFor(int newSize);

  static constexpr int kGranularity = 4096;

private:
  unsigned char* mData = nullptr;
  int mSize = 0;
  int mCapacity = 0;
  bool mAllowShrink;
};
