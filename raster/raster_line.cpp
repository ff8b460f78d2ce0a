#include <cstdlib>

#include "raster/raster_mode.h"
#include "raster/raster_operators.h"
#include "raster/raster_pen.h"
#include "raster/raster_stroke.h"

using namespace raster_ops;
using namespace raster_pen;

namespace {

int RegionCode(int x, int y, int width, int height)
{
  return (x < 0 ? 1 : 0) | (x >= width ? 2 : 0) | (y < 0 ? 4 : 0) | (y >= height ? 8 : 0);
}

int TruncToInt(double v)
{
  if (v >= 1.0e9) return 1000000000;
  if (v <= -1.0e9) return -1000000000;
  return static_cast<int>(v);
}

// Moves outside end points onto the bitmap's edges, always intersecting the line through the current
// first end point, so the same line is cut whichever end moves. False when nothing is left.
bool ClipSegment(int width, int height, int& x1, int& y1, int& x2, int& y2)
{
  // Each move settles one edge; a handful of moves always suffices, the bound only guards the loop.
  for (int moves = 0; moves < 16; ++moves) {
    const int c1 = RegionCode(x1, y1, width, height), c2 = RegionCode(x2, y2, width, height);
    if ((c1 | c2) == 0) return true;
    if (c1 & c2) return false;
    const int code = c1 ? c1 : c2;
    const double dx = x2 - x1, dy = y2 - y1;
    int x, y;
    if (code & 8)
      x = x1 + TruncToInt(dx * (height - y1) / dy), y = height - 1;
    else if (code & 4)
      x = x1 - TruncToInt(dx * y1 / dy), y = 0;
    else if (code & 2)
      y = y1 + TruncToInt(dy * (width - x1) / dx), x = width - 1;
    else
      y = y1 - TruncToInt(dy * x1 / dx), x = 0;
    if (c1)
      x1 = x, y1 = y;
    else
      x2 = x, y2 = y;
  }
  return false;
}

template <class F>
void ForEachOnStraightLine(int x1, int y1, int x2, int y2, F f)
{
  if (y1 == y2) {
    const int from = x1 < x2 ? x1 : x2, to = x1 < x2 ? x2 : x1;
    for (int x = from; x <= to; ++x) f(x, y1);
  } else {
    const int from = y1 < y2 ? y1 : y2, to = y1 < y2 ? y2 : y1;
    for (int y = from; y <= to; ++y) f(x1, y);
  }
}

template <class Op>
void StrokeDiagonal(const Pen<Op>& pen, int x1, int y1, int x2, int y2, int w, bool antialias, bool exactlyFull)
{
  const int n = std::abs(x2 - x1), sx = x2 > x1 ? 1 : -1, sy = y2 > y1 ? 1 : -1;
  if (!antialias) {
    for (int k = 0; k <= n; ++k) pen.Plot(x1 + k * sx, y1 + k * sy, w);
    return;
  }
  // Each diagonal step is closed into a staircase by its two neighbours at a quarter strength.
  const int strong = 3 * w / 4, faint = w / 4;
  for (int k = 0; k <= n; ++k) {
    const int x = x1 + k * sx, y = y1 + k * sy;
    if (exactlyFull)
      pen.Mixed(x, y, MixThreeQuarters);
    else
      pen.Plot(x, y, strong);
    if (k == n) break;
    if (exactlyFull) {
      pen.Mixed(x + sx, y, MixQuarter);
      pen.Mixed(x, y + sy, MixQuarter);
    } else {
      pen.Plot(x + sx, y, faint);
      pen.Plot(x, y + sy, faint);
    }
  }
}

// A position along the line in (major, minor) terms.
struct Walker {
  int major, minor;
};

template <class Op>
void StrokeGeneral(const Pen<Op>& pen, int x1, int y1, int x2, int y2, int w, bool antialias)
{
  const int adx = std::abs(x2 - x1), ady = std::abs(y2 - y1);
  const bool xMajor = adx > ady;
  const int length = xMajor ? adx : ady;
  const int minorExtent = xMajor ? ady : adx;
  const int majorStep = xMajor ? (x2 > x1 ? 1 : -1) : (y2 > y1 ? 1 : -1);
  const int minorStep = xMajor ? (y2 > y1 ? 1 : -1) : (x2 > x1 ? 1 : -1);
  const int slope = static_cast<int>(static_cast<double>(minorExtent) / length * 65536.0);
  const int steps = (length + 1) / 2;

  Walker a = xMajor ? Walker{x1, y1} : Walker{y1, x1};
  Walker b = xMajor ? Walker{x2, y2} : Walker{y2, x2};
  const auto plot = [&](const Walker& p, int minorOffset, int weight) {
    if (xMajor)
      pen.Plot(p.major, p.minor + minorOffset, weight);
    else
      pen.Plot(p.minor + minorOffset, p.major, weight);
  };

  if (!antialias) {
    int error = 0;
    for (int k = 0; k < steps; ++k) {
      plot(a, 0, w);
      plot(b, 0, w);
      a.major += majorStep, b.major -= majorStep;
      if (slope + error < 0x8000) {
        error += slope;
      } else {
        a.minor += minorStep, b.minor -= minorStep;
        error += slope - 0x10000;
      }
    }
    if (length % 2 == 0) plot(a, 0, w);
    return;
  }

  // The error is the exact line's distance past the walker's row in 1/65536 pixel: the pixel on the
  // row and its neighbour toward the line share the coverage.
  const auto scaled = [w](int v) { return w == 256 ? v : v * w / 256; };
  const auto pair = [&](const Walker& p, int toward, int error) {
    const int v = error / 256;
    plot(p, 0, scaled(255 - v));
    plot(p, toward, scaled(v));
  };
  plot(a, 0, w);
  plot(b, 0, w);
  int error = slope;
  for (int k = 1; k < steps; ++k) {
    a.major += majorStep, b.major -= majorStep;
    pair(a, minorStep, error);
    pair(b, -minorStep, error);
    if (slope + error >= 0x10000) {
      a.minor += minorStep, b.minor -= minorStep;
      error += slope - 0x10000;
    } else {
      error += slope;
    }
  }
  if (length % 2 == 0 && length > 0) {
    a.major += majorStep;
    pair(a, minorStep, error);
  }
}

}  // namespace

void RasterStrokeLine(RasterBitmap* bitmap, int x1, int y1, int x2, int y2, RasterPixel colour, float weight,
                      int mode, bool antialias)
{
  if (!bitmap) return;
  const StoredPixels pixels(*bitmap);
  if (pixels.Empty()) return;
  if (pixels.bottomUp) y1 = pixels.height - 1 - y1, y2 = pixels.height - 1 - y2;
  if (!ClipSegment(pixels.width, pixels.height, x1, y1, x2, y2)) return;

  const int w = RasterWeightToInt(weight);
  const bool copy = (mode & RasterModeOpMask) == RasterOpCopy;
  if (x1 == x2 || y1 == y2) {
    // Whole-pixel forms for the common copy weights.
    RasterPixel (*mix)(RasterPixel, RasterPixel) = nullptr;
    if (copy && weight == 0.5f) mix = MixHalf;
    if (copy && weight == 0.25f) mix = MixQuarter;
    if (copy && weight == 0.75f) mix = MixThreeQuarters;
    if (copy && weight == 1.0f) {
      ForEachOnStraightLine(x1, y1, x2, y2, [&](int x, int y) { pixels.At(x, y) = colour; });
      return;
    }
    if (mix) {
      ForEachOnStraightLine(x1, y1, x2, y2, [&](int x, int y) { pixels.At(x, y) = mix(pixels.At(x, y), colour); });
      return;
    }
    WithStrokeOperator(mode, w, false, [&](auto o) {
      const Pen<decltype(o)> pen(pixels, colour);
      ForEachOnStraightLine(x1, y1, x2, y2, [&](int x, int y) { pen.Plot(x, y, w); });
    });
    return;
  }

  const bool diagonal = std::abs(x2 - x1) == std::abs(y2 - y1);
  WithStrokeOperator(mode, w, antialias, [&](auto o) {
    const Pen<decltype(o)> pen(pixels, colour);
    if (diagonal)
      StrokeDiagonal(pen, x1, y1, x2, y2, w, antialias, copy && weight == 1.0f);
    else
      StrokeGeneral(pen, x1, y1, x2, y2, w, antialias);
  });
}
