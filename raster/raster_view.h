// RasterView: a bitmap's pixels addressed by image row (y from the top) whatever its storage order,
// fetched once per call so inner loops make no virtual calls. Internal to the library.
#pragma once

#include <cstddef>

#include "raster/raster_bitmap.h"

struct RasterView {
  RasterPixel* top = nullptr;  // image row 0
  ptrdiff_t stride = 0;        // pixels from one image row to the next; negative when bottom-up
  int width = 0;
  int height = 0;

  explicit RasterView(RasterBitmap& bitmap)
  {
    RasterPixel* bits = bitmap.Bits();
    int span = bitmap.RowSpan();
    width = bitmap.Width();
    height = bitmap.Height();
    if (!bits || span < 1 || width < 1 || height < 1) {
      width = height = 0;
      return;
    }
    if (bitmap.IsBottomUp()) {
      top = bits + static_cast<ptrdiff_t>(height - 1) * span;
      stride = -span;
    } else {
      top = bits;
      stride = span;
    }
  }

  bool Empty() const { return top == nullptr; }
  RasterPixel* Row(int y) const { return top + y * stride; }
  RasterPixel& At(int x, int y) const { return top[y * stride + x]; }
};
