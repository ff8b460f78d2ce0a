#include "core/IStateChunk.h"

#include <cstring>

template <typename U>
bool IStateChunk::Put(U bits)
{
  const int pos = Size();
  if (!mStorage.Resize(pos + static_cast<int>(sizeof(U)))) {
    return false;
  }
  unsigned char* out = mStorage.Bytes() + pos;
  for (std::size_t i = 0; i < sizeof(U); ++i) {
    out[i] = static_cast<unsigned char>(bits >> (8 * i));
  }
  return true;
}

template <typename U>
int IStateChunk::Get(U* bits, int pos) const
{
  if (pos < 0 || pos > Size() - static_cast<int>(sizeof(U))) {
    return -1;
  }
  const unsigned char* in = mStorage.Bytes() + pos;
  U v = 0;
  for (std::size_t i = 0; i < sizeof(U); ++i) {
    v |= static_cast<U>(in[i]) << (8 * i);
  }
  *bits = v;
  return pos + static_cast<int>(sizeof(U));
}

bool IStateChunk::ResizeZeroed(int newSize)
{
  const int old = Size();
  if (!mStorage.Resize(newSize)) {
    return false;
  }
  if (newSize > old) {
    std::memset(mStorage.Bytes() + old, 0, static_cast<std::size_t>(newSize - old));
  }
  return true;
}

bool IStateChunk::PutDouble(double v)
{
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  return Put(bits);
}

int IStateChunk::GetInt32(int* v, int pos) const
{
  std::uint32_t bits;
  const int next = Get(&bits, pos);
  if (next >= 0) {
    *v = static_cast<int>(bits);
  }
  return next;
}

int IStateChunk::GetDouble(double* v, int pos) const
{
  std::uint64_t bits;
  const int next = Get(&bits, pos);
  if (next >= 0) {
    std::memcpy(v, &bits, sizeof bits);
  }
  return next;
}

bool WriteChunkHeader(IStateChunk* chunk)
{
  chunk->Clear();
  return chunk->PutInt32(kChunkMagic) && chunk->PutInt32(kChunkVersion);
}

int ReadChunkHeader(const IStateChunk* chunk, int* pos)
{
  int magic = 0;
  int next = chunk->GetInt32(&magic, *pos);
  if (next < 0 || magic != kChunkMagic) {
    return 0;
  }
  int version = 0;
  next = chunk->GetInt32(&version, next);
  if (next < 0) {
    *pos = -1;
    return 0;
  }
  *pos = next;
  return version;
}
