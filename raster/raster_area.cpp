#include "raster/raster_area.h"

#include "raster/raster_mode.h"
#include "raster/raster_operators.h"
#include "raster/raster_view.h"

using namespace raster_ops;

namespace {

// Clips (x, y, width, height) to the bitmap; false when nothing is left.
bool ClipRect(const RasterView& view, int& x, int& y, int& width, int& height)
{
  if (x < 0) width += x, x = 0;
  if (y < 0) height += y, y = 0;
  if (x + width > view.width) width = view.width - x;
  if (y + height > view.height) height = view.height - y;
  return width >= 1 && height >= 1;
}

template <class F>
void ForEachPixel(const RasterView& view, int x, int y, int width, int height, F f)
{
  for (int row = 0; row < height; ++row) {
    RasterPixel* p = view.Row(y + row) + x;
    for (int i = 0; i < width; ++i) p[i] = f(p[i]);
  }
}

// Calls body(mix) with the whole-pixel copy for weights 256, 192, 128 and 64, each its own type so
// the loop it runs in is compiled around it; false for any other weight.
template <class Body>
bool WithCopyFastPath(int w, Body&& body)
{
  switch (w) {
    case 256: body([](RasterPixel, RasterPixel c) { return c; }); return true;
    case 192: body([](RasterPixel p, RasterPixel c) { return MixThreeQuarters(p, c); }); return true;
    case 128: body([](RasterPixel p, RasterPixel c) { return MixHalf(p, c); }); return true;
    case 64: body([](RasterPixel p, RasterPixel c) { return MixQuarter(p, c); }); return true;
    default: return false;
  }
}

}  // namespace

void RasterBlendPixel(RasterBitmap* bitmap, int x, int y, RasterPixel colour, float weight, int mode)
{
  if (!bitmap) return;
  RasterView view(*bitmap);
  if (view.Empty() || x < 0 || y < 0 || x >= view.width || y >= view.height) return;
  RasterPixel& p = view.At(x, y);
  const int w = RasterWeightToInt(weight);
  const int op = mode & RasterModeOpMask;
  if (op == RasterOpCopy) {
    if (WithCopyFastPath(w, [&](auto mix) { p = mix(p, colour); })) return;
    if (w <= 0) return;
  }
  if (w == 0) return;
  WithPlainOperator(op, [&](auto o) { p = ApplyPixel<decltype(o)>(p, colour, w); });
}

RasterPixel RasterReadPixel(RasterBitmap* bitmap, int x, int y)
{
  if (!bitmap) return 0;
  RasterView view(*bitmap);
  if (view.Empty() || x < 0 || y < 0 || x >= view.width || y >= view.height) return 0;
  return view.At(x, y);
}

void RasterFillArea(RasterBitmap* bitmap, int x, int y, int width, int height, RasterPixel colour, float weight,
                    int mode)
{
  if (!bitmap) return;
  if (mode & RasterModeUseAlpha) weight = static_cast<float>(colour >> 24) * weight * (1.0f / 255.0f);
  RasterView view(*bitmap);
  if (weight == 0.0f || view.Empty() || !ClipRect(view, x, y, width, height)) return;

  const int w = RasterWeightToInt(weight);
  const int op = mode & RasterModeOpMask;
  if (op == RasterOpCopy) {
    const bool mixed = WithCopyFastPath(w, [&](auto mix) {
      ForEachPixel(view, x, y, width, height, [mix, colour](RasterPixel p) { return mix(p, colour); });
    });
    if (mixed || w <= 0) return;
  }
  if (w == 0) return;
  const int r = RasterRedOf(colour), g = RasterGreenOf(colour), b = RasterBlueOf(colour);
  WithPlainOperator(op, [&](auto o) {
    using Op = decltype(o);
    ForEachPixel(view, x, y, width, height, [=](RasterPixel p) { return Op::Apply(p, r, g, b, w, w); });
  });
}

void RasterMaskArea(RasterBitmap* bitmap, int x, int y, int width, int height, RasterPixel andMask,
                    RasterPixel orValue)
{
  if (!bitmap) return;
  RasterView view(*bitmap);
  if (view.Empty() || !ClipRect(view, x, y, width, height)) return;
  ForEachPixel(view, x, y, width, height, [andMask, orValue](RasterPixel p) { return (p & andMask) | orValue; });
}

void RasterCompositeCoverage(RasterBitmap* bitmap, int x, int y, RasterPixel colour, const uint8_t* coverage,
                             int maskWidth, int maskHeight, float weight, int mode)
{
  if (!bitmap || !coverage) return;
  RasterView view(*bitmap);
  if (view.Empty()) return;
  int width = maskWidth, height = maskHeight, skipColumns = 0, skipRows = 0;
  if (x < 0) skipColumns = -x, width += x, x = 0;
  if (y < 0) skipRows = -y, height += y, y = 0;
  if (x + width > view.width) width = view.width - x;
  if (y + height > view.height) height = view.height - y;
  if (width < 1 || height < 1) return;

  const int w = RasterWeightToInt(weight);
  const int op = mode & RasterModeOpMask;
  if (w == 0 || (op == RasterOpCopy && w <= 0)) return;
  WithPlainOperator(op, [&](auto o) {
    using Op = decltype(o);
    for (int row = 0; row < height; ++row) {
      const uint8_t* c = coverage + static_cast<ptrdiff_t>(skipRows + row) * maskWidth + skipColumns;
      RasterPixel* p = view.Row(y + row) + x;
      for (int i = 0; i < width; ++i)
        if (c[i] != 0) p[i] = ApplyPixel<Op>(p[i], colour, w * c[i] / 256);
    }
  });
}
