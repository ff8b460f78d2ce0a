#include <cmath>

#include "raster/raster_area.h"
#include "raster/raster_circle_masks.h"
#include "raster/raster_mode.h"
#include "raster/raster_operators.h"
#include "raster/raster_pen.h"
#include "raster/raster_stroke.h"

using namespace raster_pen;

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kTwoPi = 6.2831855f;

struct Clip {
  int left, top, right, bottom;
  bool testEachPixel;
};

template <class Op>
struct CirclePen {
  const Pen<Op>& pen;
  const Clip& clip;
  float cx, cy;

  void Plot(float dx, float dy, int w) const
  {
    const int x = PixelOf(cx + dx), y = PixelOf(cy + dy);
    if (clip.testEachPixel && (x < clip.left || x >= clip.right || y < clip.top || y >= clip.bottom)) return;
    pen.Plot(x, y, w);
  }
};

// Midpoint circle: the four axis points, then each octant step mirrored eight ways.
template <class Op>
void CircleAliased(const CirclePen<Op>& p, float r, int w)
{
  p.Plot(0, r, w), p.Plot(0, -r, w), p.Plot(r, 0, w), p.Plot(-r, 0, w);
  float x = 0.0f, y = r, d = (5.0f - 4.0f * r) / 4.0f;
  while (x < y) {
    x += 1.0f;
    if (d < 0.0f) {
      d += 2.0f * x + 1.0f;
    } else {
      d += 2.0f * (x - y) + 3.0f;
      y -= 1.0f;
    }
    p.Plot(x, y, w), p.Plot(-x, y, w), p.Plot(x, -y, w), p.Plot(-x, -y, w);
    p.Plot(y, x, w), p.Plot(-y, x, w), p.Plot(y, -x, w), p.Plot(-y, -x, w);
  }
}

// For each whole offset m along one axis, the exact circle crosses the other axis at l; the pixels
// either side of the crossing share the weight by its fraction.
template <class Op>
void CircleSmooth(const CirclePen<Op>& p, float r, int w)
{
  for (int m = 0;; ++m) {
    const float fm = static_cast<float>(m);
    const float square = r * r - fm * fm;
    if (square < 0.0f) break;
    const float l = m == 0 ? r : std::sqrt(square);
    if (!(fm < l + 1.0f)) break;
    const float whole = std::floor(l), phi = l - whole;
    const auto eightWays = [&](float along, int weight) {
      p.Plot(fm, along, weight), p.Plot(fm, -along, weight), p.Plot(along, fm, weight), p.Plot(-along, fm, weight);
      if (m == 0) return;  // the mirrored copies would land on the same pixels
      p.Plot(-fm, along, weight), p.Plot(-fm, -along, weight), p.Plot(along, -fm, weight), p.Plot(-along, -fm, weight);
    };
    if (phi != 0.0f) {
      const int outside = static_cast<int>(static_cast<float>(w) * phi);
      eightWays(whole + 1.0f, outside);
      eightWays(whole, w - outside);
    } else {
      eightWays(whole, w);
    }
  }
}

template <class Op>
void DrawCircle(const Pen<Op>& pen, const Clip& clip, float cx, float cy, float r, int w, bool antialias)
{
  const CirclePen<Op> p{pen, clip, cx, cy};
  if (antialias)
    CircleSmooth(p, r, w);
  else
    CircleAliased(p, r, w);
}

Clip WholeBitmap(const StoredPixels& pixels, float cx, float cy, float r)
{
  // Clip tests per pixel only when the circle comes near an edge.
  const bool inside = cx - r - 1.0f >= 0.0f && cy - r - 1.0f >= 0.0f && cx + r + 1.0f < static_cast<float>(pixels.width) &&
                      cy + r + 1.0f < static_cast<float>(pixels.height);
  return {0, 0, pixels.width, pixels.height, !inside};
}

// The clip of one arc piece lying in one half of the circle: the half's columns, and the rows between
// the piece's end points.
Clip HalfCircleClip(const StoredPixels& pixels, float cx, float cy, float r, float start, float end)
{
  const auto rowAt = [&](float angle) { return PixelOf(cy - r * static_cast<float>(std::cos(static_cast<double>(angle)))); };
  Clip clip;
  clip.testEachPixel = true;
  if (start < kPi) {
    clip.left = PixelOf(cx > 0.0f ? cx : 0.0f);
    clip.right = pixels.width;
    clip.top = rowAt(start);
    clip.bottom = rowAt(end) + 1;
  } else {
    clip.left = 0;
    clip.right = PixelOf(cx < static_cast<float>(pixels.width) ? cx : static_cast<float>(pixels.width));
    clip.top = rowAt(end);
    clip.bottom = rowAt(start) + 1;
  }
  if (clip.top < 0) clip.top = 0;
  if (clip.bottom > pixels.height) clip.bottom = pixels.height;
  return clip;
}

}  // namespace

void RasterStrokeCircle(RasterBitmap* bitmap, float cx, float cy, float radius, RasterPixel colour, float weight,
                        int mode, bool antialias)
{
  if (!bitmap) return;
  RasterCircleMask mask;
  if (RasterFindCircleMask(radius, antialias, &mask)) {
    RasterCompositeCoverage(bitmap, PixelOf(cx - radius), PixelOf(cy - radius), colour, mask.coverage, mask.side,
                            mask.side, weight, mode);
    return;
  }
  const StoredPixels pixels(*bitmap);
  if (pixels.Empty()) return;
  if (pixels.bottomUp) cy = static_cast<float>(pixels.height - 1) - cy;
  const int w = RasterWeightToInt(weight);
  WithStrokeOperator(mode, w, antialias, [&](auto o) {
    const Pen<decltype(o)> pen(pixels, colour);
    DrawCircle(pen, WholeBitmap(pixels, cx, cy, radius), cx, cy, radius, w, antialias);
  });
}

void RasterStrokeArc(RasterBitmap* bitmap, float cx, float cy, float radius, float startAngle, float endAngle,
                     RasterPixel colour, float weight, int mode, bool antialias)
{
  if (!bitmap) return;
  const StoredPixels pixels(*bitmap);
  if (pixels.Empty()) return;
  if (pixels.bottomUp) {
    // Flipping y turns angle a into pi - a, which also reverses the arc's direction.
    cy = static_cast<float>(pixels.height - 1) - cy;
    const float start = kPi - endAngle, end = kPi - startAngle;
    startAngle = start, endAngle = end;
  }
  // An arc wholly before 0 or from 2 pi on (as the flip above makes of left-half arcs) is moved by
  // whole turns into the range the splitting below expects.
  if (endAngle <= 0.0f || startAngle >= kTwoPi) {
    const float turns = endAngle <= 0.0f ? std::floor(-endAngle / kTwoPi) + 1.0f : -std::floor(startAngle / kTwoPi);
    startAngle += turns * kTwoPi, endAngle += turns * kTwoPi;
  }
  const int w = RasterWeightToInt(weight);
  WithStrokeOperator(mode, w, antialias, [&](auto o) {
    const Pen<decltype(o)> pen(pixels, colour);
    if (endAngle - startAngle >= kTwoPi) {
      DrawCircle(pen, WholeBitmap(pixels, cx, cy, radius), cx, cy, radius, w, antialias);
      return;
    }
    // Split into pieces that each lie in one half of the circle.
    float start = startAngle;
    const float end = endAngle;
    for (;;) {
      if (start < 0.0f && 0.0f < end) {
        DrawCircle(pen, HalfCircleClip(pixels, cx, cy, radius, start + kTwoPi, kTwoPi), cx, cy, radius, w, antialias);
        start = 0.0f;
      } else if (start < kPi && kPi < end) {
        DrawCircle(pen, HalfCircleClip(pixels, cx, cy, radius, start, kPi), cx, cy, radius, w, antialias);
        start = kPi;
      } else {
        break;
      }
    }
    DrawCircle(pen, HalfCircleClip(pixels, cx, cy, radius, start, end), cx, cy, radius, w, antialias);
  });
}
