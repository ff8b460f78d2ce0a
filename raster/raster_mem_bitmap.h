// RasterMemBitmap: a top-down bitmap in heap memory. Bits() is 64-byte aligned and rows are padded to
// the row alignment (in pixels, reduced to its lowest set bit, at most 16). The buffer grows by a
// quarter when it must grow and never shrinks, so resizing a scratch bitmap settles without
// reallocating. If allocation fails the bitmap is 0 x 0 with no pixels and Resize still returns true.
#pragma once

#include <cstddef>

#include "raster/raster_bitmap.h"

class RasterMemBitmap : public RasterBitmap
{
public:
  RasterMemBitmap(int width, int height, int rowAlignment);
  ~RasterMemBitmap() override;

  RasterPixel* Bits() override;
  int Width() override { return mWidth; }
  int Height() override { return mHeight; }
  int RowSpan() override { return SpanFor(mWidth); }
  bool Resize(int width, int height) override;

  // Bytes usable behind Bits(); shows the growth rule.
  size_t AllocatedBytes() const { return mAllocatedBytes; }

private:
  int SpanFor(int width) const { return (width + mRowMask) & ~mRowMask; }

  void* mRaw = nullptr;        // as returned by the allocator, not aligned
  int mWidth = 0;
  int mHeight = 0;
  size_t mAllocatedBytes = 0;  // usable behind the aligned start
  int mRowMask = 0;            // row alignment in pixels, minus one
};
