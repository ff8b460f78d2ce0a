// RasterSysBitmap: a top-down bitmap whose pixels are a 32-bit DIB section selected into a memory
// device context that lives as long as the bitmap, so GDI can draw text into it and copy it to a
// window; drawing with GDI must not select other bitmaps into that context. The DIB is kept when the
// bitmap shrinks (RowSpan() stays the allocated width) and replaced when it must grow, its width
// rounded up to a multiple of 4. Without a device context the bitmap stays 0 x 0; a failed DIB
// leaves it 0 x 0 until the next resize.
#pragma once

#include "raster/raster_bitmap.h"

class RasterSysBitmap : public RasterBitmap
{
public:
  RasterSysBitmap(int width, int height);
  ~RasterSysBitmap() override;

  RasterPixel* Bits() override { return mPixels; }
  int Width() override { return mWidth; }
  int Height() override { return mHeight; }
  int RowSpan() override { return mAllocatedWidth; }
  bool Resize(int width, int height) override;
  RasterDeviceContext DeviceContext() override { return mDc; }

private:
  void ReleaseDib();

  int mWidth = 0;
  int mHeight = 0;
  RasterDeviceContext mDc = nullptr;
  RasterPixel* mPixels = nullptr;
  int mAllocatedWidth = 0;
  int mAllocatedHeight = 0;
  void* mDib = nullptr;            // the DIB section's bitmap handle
  void* mReplacedObject = nullptr;  // selected before the DIB; selected back before the DIB is deleted
};
