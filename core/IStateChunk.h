// A growable byte buffer carrying plug-in state, with little-endian 4- and 8-byte values.
//
// Contract:
// - Put appends and returns false, changing nothing, when the buffer cannot grow.
// - Get at pos copies the value and returns pos + its size when pos >= 0 and the value fits in
//   the buffer; otherwise it leaves the output alone and returns -1 ("the data ran out").
// - Data() is null while the size is 0. Resize keeps the first min(old, new) bytes; ResizeZeroed
//   also zeroes the bytes beyond the old size.
#pragma once

#include <cstdint>

#include "core/IGrowableStorage.h"

class IStateChunk {
public:
  IStateChunk() : mStorage(true) {}

  int Size() const { return mStorage.Size(); }
  unsigned char* Data() { return mStorage.Bytes(); }
  const unsigned char* Data() const { return mStorage.Bytes(); }

  bool Resize(int newSize) { return mStorage.Resize(newSize); }
  bool ResizeZeroed(int newSize);
  void Clear() { mStorage.Resize(0); }

  bool PutInt32(int v) { return Put(static_cast<std::uint32_t>(v)); }
  bool PutDouble(double v);
  int GetInt32(int* v, int pos) const;
  int GetDouble(double* v, int pos) const;

private:
  template <typename U>
  bool Put(U bits);
  template <typename U>
  int Get(U* bits, int pos) const;

  IGrowableStorage mStorage;
};

// The state chunk header: magic, then the format version.
constexpr int kChunkMagic = 0x70666674;
constexpr int kChunkVersion = 0x00010000;

// Clears the chunk and writes the header.
bool WriteChunkHeader(IStateChunk* chunk);
// Returns the version and advances *pos past the header; 0 with *pos unchanged when there is no
// magic at *pos; 0 with *pos = -1 when the magic is there but the version is cut off.
int ReadChunkHeader(const IStateChunk* chunk, int* pos);
