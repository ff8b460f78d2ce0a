// RasterBitmap: the abstract 32-bit bitmap every raster operation draws on. Rows are RowSpan() pixels
// apart; pixel (x, y), y counted from the top, is element row * RowSpan() + x of Bits(), where row is y
// for a top-down bitmap and Height() - 1 - y for a bottom-up one.
#pragma once

#include "raster/raster_pixel.h"

// The Win32 device-context handle, declared opaquely so the library builds without any Win32 header.
struct HDC__;
using RasterDeviceContext = HDC__*;

class RasterBitmap
{
public:
  virtual ~RasterBitmap() = default;

  // First pixel of the first stored row; null when the bitmap has no pixels.
  virtual RasterPixel* Bits() = 0;
  virtual int Width() = 0;
  virtual int Height() = 0;
  // Distance between stored rows in pixels; at least Width().
  virtual int RowSpan() = 0;
  virtual bool IsBottomUp() { return false; }
  // False when the size is unchanged. Pixel contents afterwards are unspecified.
  virtual bool Resize(int width, int height) = 0;
  // A context whose drawing lands in the bitmap's pixels; null for bitmaps without one.
  virtual RasterDeviceContext DeviceContext() { return nullptr; }
  // Reserved hook.
  virtual int Extension(int, void*) { return 0; }

protected:
  RasterBitmap() = default;
  RasterBitmap(const RasterBitmap&) = delete;
  RasterBitmap& operator=(const RasterBitmap&) = delete;
};
