// Small bitmaps for the raster tests: a bottom-up bitmap with padded rows (neither concrete bitmap is
// bottom-up), and reading a whole image back in top-down order.
#pragma once

#include <vector>

#include "raster/raster_area.h"
#include "raster/raster_bitmap.h"

class BottomUpBitmap : public RasterBitmap
{
public:
  BottomUpBitmap(int width, int height) { Resize(width, height); }
  RasterPixel* Bits() override { return mPixels.empty() ? nullptr : mPixels.data(); }
  int Width() override { return mWidth; }
  int Height() override { return mHeight; }
  int RowSpan() override { return mWidth + 3; }  // padding that must never be touched
  bool IsBottomUp() override { return true; }
  bool Resize(int width, int height) override
  {
    if (width == mWidth && height == mHeight) return false;
    mWidth = width, mHeight = height;
    mPixels.assign(static_cast<size_t>((width + 3) * height), kPadding);
    return true;
  }
  bool PaddingIntact() const
  {
    for (int row = 0; row < mHeight; ++row)
      for (int i = mWidth; i < mWidth + 3; ++i)
        if (mPixels[static_cast<size_t>(row * (mWidth + 3) + i)] != kPadding) return false;
    return true;
  }

  static constexpr RasterPixel kPadding = 0xDEADBEEFu;

private:
  int mWidth = 0, mHeight = 0;
  std::vector<RasterPixel> mPixels;
};

// The image row by row from the top, as RasterReadPixel sees it.
inline std::vector<RasterPixel> ReadImage(RasterBitmap& bitmap)
{
  std::vector<RasterPixel> image;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) image.push_back(RasterReadPixel(&bitmap, x, y));
  return image;
}

// Every pixel set to the colour.
inline void Paint(RasterBitmap& bitmap, RasterPixel colour) { RasterFillArea(&bitmap, 0, 0, bitmap.Width(), bitmap.Height(), colour, 1.0f, 0); }

// A distinct pixel at every position.
inline void PaintPattern(RasterBitmap& bitmap, unsigned seed = 1)
{
  unsigned v = seed * 2654435761u;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) {
      v = v * 1664525u + 1013904223u;
      RasterFillArea(&bitmap, x, y, 1, 1, v, 1.0f, 0);
    }
}
