#include "raster/raster_blit.h"

#include <cstring>
#include <type_traits>

#include "raster/raster_mode.h"
#include "raster/raster_operators.h"
#include "raster/raster_view.h"

using namespace raster_ops;

namespace {

// The clipped copy of a blit: width x height pixels from (sx, sy) of the source to (dx, dy).
struct BlitArea {
  int dx, dy, sx, sy, width, height;
};

template <class F>
void ForEachRow(const RasterView& dst, const RasterView& src, const BlitArea& a, F f)
{
  for (int row = 0; row < a.height; ++row) f(dst.Row(a.dy + row) + a.dx, src.Row(a.sy + row) + a.sx);
}

void CopyRows(const RasterView& dst, const RasterView& src, const BlitArea& a)
{
  const size_t bytes = static_cast<size_t>(a.width) * sizeof(RasterPixel);
  ForEachRow(dst, src, a, [bytes](RasterPixel* d, const RasterPixel* s) { std::memmove(d, s, bytes); });
}

template <class Op>
void CompositeRows(const RasterView& dst, const RasterView& src, const BlitArea& a, int w)
{
  const int width = a.width;
  ForEachRow(dst, src, a, [width, w](RasterPixel* d, const RasterPixel* s) {
    for (int i = 0; i < width; ++i) d[i] = ApplyPixel<Op>(d[i], s[i], w);
  });
}

void CopyChannel(const RasterView& dst, const RasterView& src, const BlitArea& a, int mode)
{
  const int from = (mode & 3) * 8, to = ((mode >> 2) & 3) * 8;
  const RasterPixel keep = ~(0xFFu << to);
  const int width = a.width;
  ForEachRow(dst, src, a, [=](RasterPixel* d, const RasterPixel* s) {
    for (int i = 0; i < width; ++i) d[i] = (d[i] & keep) | (((s[i] >> from) & 0xFFu) << to);
  });
}

}  // namespace

void RasterComposite(RasterBitmap* dst, RasterBitmap* src, int dstx, int dsty, const RasterRect* sourceRect,
                     float weight, int mode)
{
  if (!dst || !src || weight == 0.0f) return;
  const int srcWidth = src->Width(), srcHeight = src->Height();
  RasterRect r = {0, 0, srcWidth, srcHeight};
  if (sourceRect) {
    r = *sourceRect;
    if (r.left < 0) dstx -= r.left, r.left = 0;
    if (r.top < 0) dsty -= r.top, r.top = 0;
    if (r.right > srcWidth) r.right = srcWidth;
    if (r.bottom > srcHeight) r.bottom = srcHeight;
  }
  const int dstWidth = dst->Width(), dstHeight = dst->Height();
  if (dstx < 0) r.left -= dstx, dstx = 0;
  if (dsty < 0) r.top -= dsty, dsty = 0;
  if (r.right - r.left + dstx > dstWidth) r.right = dstWidth - dstx + r.left;
  if (r.bottom - r.top + dsty > dstHeight) r.bottom = dstHeight - dsty + r.top;
  if (r.right <= r.left || r.bottom <= r.top) return;

  const RasterView d(*dst), s(*src);
  if (d.Empty() || s.Empty()) return;
  const BlitArea area = {dstx, dsty, r.left, r.top, r.right - r.left, r.bottom - r.top};

  const int op = mode & RasterModeOpMask;
  if (op >= RasterModeChannel) {
    CopyChannel(d, s, area, mode);
    return;
  }
  if ((mode & 0x100FF) == 0) {
    if (weight == 1.0f) {
      CopyRows(d, s, area);
      return;
    }
    if (weight == 0.5f) {
      const int width = area.width;
      ForEachRow(d, s, area, [width](RasterPixel* dp, const RasterPixel* sp) {
        for (int i = 0; i < width; ++i) dp[i] = MixHalf(sp[i], dp[i]);
      });
      return;
    }
  }
  const int w = RasterWeightToInt(weight);
  WithBlitOperator(mode, w, [&](auto o) {
    using Op = decltype(o);
    if constexpr (std::is_same_v<Op, Store>)
      CopyRows(d, s, area);
    else
      CompositeRows<Op>(d, s, area, w);
  });
}

void RasterCompositeArea(RasterBitmap* dst, RasterBitmap* src, int dstx, int dsty, int srcx, int srcy, int width,
                         int height, float weight, int mode)
{
  const RasterRect r = {srcx, srcy, srcx + width, srcy + height};
  RasterComposite(dst, src, dstx, dsty, &r, weight, mode);
}

void RasterCopyImage(RasterBitmap* dst, RasterBitmap* src)
{
  if (!dst || !src) return;
  dst->Resize(src->Width(), src->Height());
  RasterComposite(dst, src, 0, 0, nullptr, 1.0f, 0);
}
