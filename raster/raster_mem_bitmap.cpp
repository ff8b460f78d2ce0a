#include "raster/raster_mem_bitmap.h"

#include <cstdint>
#include <cstdlib>

namespace {

constexpr size_t kAlignBytes = 64;
constexpr int kMaxRowAlignment = 16;  // pixels, i.e. one 64-byte line

}  // namespace

RasterMemBitmap::RasterMemBitmap(int width, int height, int rowAlignment)
{
  int lowest = rowAlignment & -rowAlignment;
  if (lowest > kMaxRowAlignment || lowest < 0) lowest = kMaxRowAlignment;
  mRowMask = lowest > 1 ? lowest - 1 : 0;
  if (width != 0 || height != 0) Resize(width, height);
}

RasterMemBitmap::~RasterMemBitmap() { std::free(mRaw); }

RasterPixel* RasterMemBitmap::Bits()
{
  if (!mRaw) return nullptr;
  uintptr_t at = (reinterpret_cast<uintptr_t>(mRaw) + kAlignBytes - 1) & ~static_cast<uintptr_t>(kAlignBytes - 1);
  return reinterpret_cast<RasterPixel*>(at);
}

bool RasterMemBitmap::Resize(int width, int height)
{
  if (width == mWidth && height == mHeight) return false;
  mWidth = width;
  mHeight = height;

  // Computed wide so that a huge size from a damaged image header fails cleanly instead of wrapping
  // around to a small buffer; a negative side counts as empty.
  long long bytes = 0;
  if (width > 0 && height > 0) bytes = static_cast<long long>(height) * SpanFor(width) * 4;
  if (bytes > static_cast<long long>(INT32_MAX)) {
    std::free(mRaw);
    mRaw = nullptr;
    mAllocatedBytes = 0;
  } else if (bytes > 0) {
    size_t need = static_cast<size_t>(bytes);
    if (!mRaw) {
      mRaw = std::malloc(need + kAlignBytes - 1);
      mAllocatedBytes = mRaw ? need : 0;
    } else if (mAllocatedBytes < need) {
      size_t grown = (need / 4) * 5;
      void* moved = std::realloc(mRaw, grown + kAlignBytes - 1);
      if (moved) {
        mRaw = moved;
        mAllocatedBytes = grown;
      } else {
        std::free(mRaw);
        mRaw = std::malloc(need + kAlignBytes - 1);
        mAllocatedBytes = mRaw ? need : 0;
      }
    }
  } else {
    std::free(mRaw);
    mRaw = nullptr;
    mAllocatedBytes = 0;
  }

  if (!mRaw) {
    mWidth = 0;
    mHeight = 0;
  }
  return true;
}
