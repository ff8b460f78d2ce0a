// Sampling a source bitmap at signed 16.16 positions for the scaled and rotated blits. The integer
// part of a position is its quotient by 65536 truncated toward zero, the fraction its low 16 bits.
// Every sample is tested against the bounds [left, right) x [top, bottom) first, which lie inside the
// bitmap, so nothing outside it is ever read; a sample that fails leaves the destination alone.
// Internal to the library.
#pragma once

#include <cstdint>

#include "raster/raster_pixel.h"
#include "raster/raster_view.h"

namespace raster_sampling {

struct Bounds {
  int left, top, right, bottom;
};

// A sampled colour as integers 0-255.
struct Sample {
  int r, g, b, a;
};

inline Sample Unpack(RasterPixel p) { return {RasterRedOf(p), RasterGreenOf(p), RasterBlueOf(p), RasterAlphaOf(p)}; }

// (first * (65536 - f) + second * f) / 65536 per channel.
inline Sample Lerp(RasterPixel first, RasterPixel second, int f)
{
  const int k = 65536 - f;
  const auto mix = [k, f](int a, int b) { return (a * k + b * f) / 65536; };
  return {mix(RasterRedOf(first), RasterRedOf(second)), mix(RasterGreenOf(first), RasterGreenOf(second)),
          mix(RasterBlueOf(first), RasterBlueOf(second)), mix(RasterAlphaOf(first), RasterAlphaOf(second))};
}

struct Nearest {
  static bool At(const RasterView& src, const Bounds& bounds, int32_t px, int32_t py, Sample& out)
  {
    const int c = px / 65536, r = py / 65536;
    if (c < bounds.left || c >= bounds.right || r < bounds.top || r >= bounds.bottom) return false;
    out = Unpack(src.At(c, r));
    return true;
  }
};

// Blends the 2 x 2 neighbourhood; on the last column or row of the bounds it interpolates along the
// other axis only, and in the last corner it takes the pixel itself.
struct Bilinear {
  static bool At(const RasterView& src, const Bounds& bounds, int32_t px, int32_t py, Sample& out)
  {
    const int c = px / 65536, r = py / 65536;
    const int fx = px & 0xFFFF, fy = py & 0xFFFF;
    if (c < bounds.left || r < bounds.top) return false;
    const bool innerColumn = c < bounds.right - 1, lastColumn = c == bounds.right - 1;
    if (r < bounds.bottom - 1) {
      const RasterPixel* row = src.Row(r) + c;
      const RasterPixel* next = src.Row(r + 1) + c;
      if (innerColumn) {
        const int k = static_cast<int>((static_cast<uint32_t>(fx) * static_cast<uint32_t>(fy)) >> 16);
        const int w00 = 65536 - fx - fy + k, w10 = fx - k, w01 = fy - k, w11 = k;
        const RasterPixel p00 = row[0], p10 = row[1], p01 = next[0], p11 = next[1];
        const auto mix = [=](int shift) {
          return (w00 * static_cast<int>((p00 >> shift) & 0xFF) + w10 * static_cast<int>((p10 >> shift) & 0xFF) +
                  w01 * static_cast<int>((p01 >> shift) & 0xFF) + w11 * static_cast<int>((p11 >> shift) & 0xFF)) /
                 65536;
        };
        out = {mix(16), mix(8), mix(0), mix(24)};
        return true;
      }
      if (lastColumn) {
        out = Lerp(row[0], next[0], fy);
        return true;
      }
      return false;
    }
    if (r == bounds.bottom - 1) {
      const RasterPixel* row = src.Row(r) + c;
      if (innerColumn) {
        out = Lerp(row[0], row[1], fx);
        return true;
      }
      if (lastColumn) {
        out = Unpack(row[0]);
        return true;
      }
    }
    return false;
  }
};

// The mean of the (2 * half + 1)^2 block centred on the sample's pixel, leaving out pixels outside
// the bounds. Used for strong reductions so fine detail does not alias.
struct Box {
  int half;

  bool At(const RasterView& src, const Bounds& bounds, int32_t px, int32_t py, Sample& out) const
  {
    const int c = px / 65536, r = py / 65536;
    if (c < bounds.left || c >= bounds.right || r < bounds.top || r >= bounds.bottom) return false;
    const int c0 = c - half < bounds.left ? bounds.left : c - half;
    const int c1 = c + half >= bounds.right ? bounds.right - 1 : c + half;
    const int r0 = r - half < bounds.top ? bounds.top : r - half;
    const int r1 = r + half >= bounds.bottom ? bounds.bottom - 1 : r + half;
    int sr = 0, sg = 0, sb = 0, sa = 0;
    for (int y = r0; y <= r1; ++y) {
      const RasterPixel* row = src.Row(y);
      for (int x = c0; x <= c1; ++x) {
        const RasterPixel p = row[x];
        sr += RasterRedOf(p), sg += RasterGreenOf(p), sb += RasterBlueOf(p), sa += RasterAlphaOf(p);
      }
    }
    const int n = (c1 - c0 + 1) * (r1 - r0 + 1);
    out = {sr / n, sg / n, sb / n, sa / n};
    return true;
  }
};

}  // namespace raster_sampling
