// What the stroking routines draw with: the bitmap addressed by stored row (they flip y themselves
// for bottom-up bitmaps), the colour, and the operator chosen once per call from the mode, weight and
// antialias switch. Internal to the library.
#pragma once

#include <cstddef>

#include "raster/raster_bitmap.h"
#include "raster/raster_operators.h"

namespace raster_pen {

// (colour byte + destination byte) / 2 per byte: the aliased copy at half strength.
struct ByteAverage {
  static RasterPixel Apply(RasterPixel d, int r, int g, int b, int a, int)
  {
    return raster_ops::EachChannel(d, r, g, b, a, [](int dv, int s) { return (dv + s) >> 1; });
  }
};

struct StoredPixels {
  RasterPixel* bits = nullptr;
  ptrdiff_t span = 0;
  int width = 0;
  int height = 0;
  bool bottomUp = false;

  explicit StoredPixels(RasterBitmap& bitmap)
  {
    bits = bitmap.Bits();
    span = bitmap.RowSpan();
    width = bitmap.Width();
    height = bitmap.Height();
    bottomUp = bitmap.IsBottomUp();
    if (!bits || span < 1 || width < 1 || height < 1) bits = nullptr, width = height = 0;
  }
  bool Empty() const { return bits == nullptr; }
  RasterPixel& At(int x, int row) const { return bits[row * span + x]; }
};

template <class Op>
struct Pen {
  const StoredPixels& pixels;
  RasterPixel colour;
  int r, g, b, a;

  Pen(const StoredPixels& p, RasterPixel c)
      : pixels(p), colour(c), r(RasterRedOf(c)), g(RasterGreenOf(c)), b(RasterBlueOf(c)), a(RasterAlphaOf(c))
  {
  }
  void Plot(int x, int row, int w) const
  {
    RasterPixel& p = pixels.At(x, row);
    p = Op::Apply(p, r, g, b, a, w);
  }
  template <class Mix>
  void Mixed(int x, int row, Mix mix) const
  {
    RasterPixel& p = pixels.At(x, row);
    p = mix(p, colour);
  }
};

// Calls body(Op{}) with the operator of a stroke. Aliased copies at full and half strength store or
// average; antialiased strokes always use the plain operator at each pixel's weight. False when the
// call draws nothing.
template <class Body>
inline bool WithStrokeOperator(int mode, int w, bool antialias, Body&& body)
{
  const int op = mode & 0xFF;
  if (w == 0 || op > 5) return false;
  if (op == 0) {
    if (w < 0) return false;
    if (!antialias && w == 256) {
      body(raster_ops::Store{});
      return true;
    }
    if (!antialias && w == 128) {
      body(ByteAverage{});
      return true;
    }
  }
  return raster_ops::WithPlainOperator(op, body);
}

// Float position to pixel, truncating toward zero; far-off values are held where they stay outside.
inline int PixelOf(float v)
{
  if (v >= 1.0e9f) return 1000000000;
  if (v <= -1.0e9f) return -1000000000;
  return static_cast<int>(v);
}

}  // namespace raster_pen
