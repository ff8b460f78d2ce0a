#include "raster/raster_scaled.h"

#include <cmath>
#include <cstdint>

#include "raster/raster_blit.h"
#include "raster/raster_mode.h"
#include "raster/raster_operators.h"
#include "raster/raster_sampling.h"
#include "raster/raster_view.h"

using namespace raster_ops;
using namespace raster_sampling;

namespace {

bool NearInteger(float v) { return std::fabs(v - std::floor(v + 0.5f)) <= 0.03f; }

bool WantsBilinear(int mode) { return (mode & 0xFF00) == RasterModeBilinear; }

// Positions advance with wrap-around arithmetic: a position far outside the source only fails its
// bounds test.
int32_t Advance(int32_t p, int32_t step, int count)
{
  return static_cast<int32_t>(static_cast<uint32_t>(p) + static_cast<uint32_t>(step) * static_cast<uint32_t>(count));
}

// One destination row and column walk of a scaled blit.
struct ScaledWalk {
  int dx, dy, width, height;
  int32_t startX, startY, stepX, stepY;
};

template <class Op, class Sampler>
void ScaledRows(const RasterView& dst, const RasterView& src, const Bounds& bounds, const ScaledWalk& walk,
                const Sampler& sampler, int w)
{
  for (int j = 0; j < walk.height; ++j) {
    const int32_t py = Advance(walk.startY, walk.stepY, j);
    RasterPixel* d = dst.Row(walk.dy + j) + walk.dx;
    int32_t px = walk.startX;
    for (int i = 0; i < walk.width; ++i, px = Advance(px, walk.stepX, 1)) {
      Sample s;
      if (sampler.At(src, bounds, px, py, s)) d[i] = Op::Apply(d[i], s.r, s.g, s.b, s.a, w);
    }
  }
}

// Nearest-neighbour copies at weight 1 and 1/2 on whole pixels.
template <bool kHalf>
void ScaledNearestCopy(const RasterView& dst, const RasterView& src, const Bounds& bounds, const ScaledWalk& walk)
{
  for (int j = 0; j < walk.height; ++j) {
    const int r = Advance(walk.startY, walk.stepY, j) / 65536;
    if (r < 0 || r >= bounds.bottom) continue;
    const RasterPixel* s = src.Row(r);
    RasterPixel* d = dst.Row(walk.dy + j) + walk.dx;
    int32_t px = walk.startX;
    for (int i = 0; i < walk.width; ++i, px = Advance(px, walk.stepX, 1)) {
      const int c = px / 65536;
      if (c < 0 || c >= bounds.right) continue;
      d[i] = kHalf ? MixHalf(s[c], d[i]) : s[c];
    }
  }
}

int CeilToInt(float v, int cap)
{
  const float c = std::ceil(v);
  return c >= static_cast<float>(cap) ? cap : (c <= 0.0f ? 0 : static_cast<int>(c));
}

}  // namespace

void RasterCompositeScaled(RasterBitmap* dst, RasterBitmap* src, int dstx, int dsty, int dstw, int dsth, float srcx,
                           float srcy, float srcw, float srch, float weight, int mode)
{
  if (!dst || !src || dstw == 0 || dsth == 0 || weight == 0.0f) return;

  if (std::fabs(srcw - static_cast<float>(dstw)) < 0.001f && std::fabs(srch - static_cast<float>(dsth)) < 0.001f &&
      (!WantsBilinear(mode) || (NearInteger(srcx) && NearInteger(srcy)))) {
    RasterRect r;
    r.left = static_cast<int>(srcx + 0.5f);
    r.top = static_cast<int>(srcy + 0.5f);
    r.right = r.left + dstw;
    r.bottom = r.top + dsth;
    RasterComposite(dst, src, dstx, dsty, &r, weight, mode);
    return;
  }

  const bool mirrorX = dstw < 0, mirrorY = dsth < 0;
  if (mirrorX) dstw = -dstw, dstx -= dstw, srcx += srcw, srcw = -srcw;
  if (mirrorY) dsth = -dsth, dsty -= dsth, srcy += srch, srch = -srch;

  const double dsdx = srcw / static_cast<float>(dstw);
  const double dtdy = srch / static_cast<float>(dsth);

  const int dstWidth = dst->Width(), dstHeight = dst->Height();
  if (dstx < 0) srcx = static_cast<float>(srcx - dstx * dsdx), dstw += dstx, dstx = 0;
  if (dsty < 0) srcy = static_cast<float>(srcy - dsty * dtdy), dsth += dsty, dsty = 0;
  if (dstw > dstWidth - dstx) dstw = dstWidth - dstx;
  if (dsth > dstHeight - dsty) dsth = dstHeight - dsty;
  if (dstw < 1 || dsth < 1) return;

  ScaledWalk walk;
  walk.stepX = static_cast<int32_t>(dsdx * 65536.0);
  walk.stepY = static_cast<int32_t>(dtdy * 65536.0);
  // A mirrored axis starts one step in from the rectangle's far edge, so the mirrored image is the
  // unmirrored one reversed rather than shifted by a pixel off the source.
  walk.startX = static_cast<int32_t>((mirrorX ? static_cast<float>(srcx + dsdx) : srcx) * 65536.0f);
  walk.startY = static_cast<int32_t>((mirrorY ? static_cast<float>(srcy + dtdy) : srcy) * 65536.0f);

  const int srcWidth = src->Width(), srcHeight = src->Height();
  // Trim to the source (positive steps only): skip columns that would sample left of it, and end
  // before samples at its last column or beyond.
  const auto trim = [](int& d, int& size, int32_t& start, int32_t step, int sourceSize) {
    if (step <= 0) return;
    if (start < 0) {
      const int n = static_cast<int>((static_cast<int64_t>(step) - start - 1) / step);
      d += n, size -= n, start += n * step;
    }
    const int64_t last = start + static_cast<int64_t>(size - 1) * step;
    if (last / 65536 >= sourceSize) {
      const int64_t fit = (static_cast<int64_t>(sourceSize) * 65536 - start - 65536) / step;
      if (fit < size) size = static_cast<int>(fit);
    }
  };
  trim(dstx, dstw, walk.startX, walk.stepX, srcWidth);
  trim(dsty, dsth, walk.startY, walk.stepY, srcHeight);
  if (dstw < 1 || dsth < 1) return;
  const RasterView d(*dst), s(*src);
  if (d.Empty() || s.Empty()) return;
  walk.dx = dstx, walk.dy = dsty, walk.width = dstw, walk.height = dsth;

  const Bounds bounds = {0, 0, CeilToInt(srcx + (srcw > 0.0f ? srcw : 0.0f), s.width),
                         CeilToInt(srcy + (srch > 0.0f ? srch : 0.0f), s.height)};
  if (bounds.right < 1 || bounds.bottom < 1) return;

  const int w = RasterWeightToInt(weight);
  if ((mode & 0x1FFFF) == 0 && (w == 256 || w == 128)) {
    if (w == 256)
      ScaledNearestCopy<false>(d, s, bounds, walk);
    else
      ScaledNearestCopy<true>(d, s, bounds, walk);
    return;
  }

  const bool bilinear = WantsBilinear(mode);
  WithBlitOperator(mode, w, [&](auto o) {
    using Op = decltype(o);
    if (bilinear && dsdx >= 1.7 && dtdy >= 1.7) {
      const Box box = {(walk.stepX > walk.stepY ? walk.stepX : walk.stepY) <= 0x30000 ? 1 : 2};
      ScaledRows<Op>(d, s, bounds, walk, box, w);
    } else if (bilinear) {
      ScaledRows<Op>(d, s, bounds, walk, Bilinear{}, w);
    } else {
      ScaledRows<Op>(d, s, bounds, walk, Nearest{}, w);
    }
  });
}

void RasterCompositeRotated(RasterBitmap* dst, RasterBitmap* src, int dstx, int dsty, int dstw, int dsth, float srcx,
                            float srcy, float srcw, float srch, float angle, bool clipToSource, float weight,
                            int mode, float centreOffsetX, float centreOffsetY)
{
  if (!dst || !src || dstw == 0 || dsth == 0) return;

  const int srcWidth = src->Width(), srcHeight = src->Height();
  float left = 0.0f, top = 0.0f, right = static_cast<float>(srcWidth), bottom = static_cast<float>(srcHeight);
  if (clipToSource) {
    left = srcx > 0.0f ? srcx : 0.0f;
    top = srcy > 0.0f ? srcy : 0.0f;
    right = srcx + srcw < right ? srcx + srcw : right;
    bottom = srcy + srch < bottom ? srcy + srch : bottom;
  }

  const bool mirrorX = dstw < 0, mirrorY = dsth < 0;
  if (mirrorX) dstw = -dstw, dstx -= dstw, srcx += srcw, srcw = -srcw;
  if (mirrorY) dsth = -dsth, dsty -= dsth, srcy += srch, srch = -srch;

  const float c = static_cast<float>(std::cos(static_cast<double>(angle)));
  const float sn = static_cast<float>(std::sin(static_cast<double>(angle)));
  const float dsdx = srcw / static_cast<float>(dstw);
  const float dtdy = srch / static_cast<float>(dsth);
  const float fw = static_cast<float>(dstw), fh = static_cast<float>(dsth);
  float sx0 = srcx - (0.5f * (fw * dsdx * c + fh * dsdx * sn - srcw) - centreOffsetX);
  float sy0 = srcy - (0.5f * (fh * dtdy * c - fw * dtdy * sn - srch) - centreOffsetY);
  // As in the scaled blit: a mirrored axis starts one step in, so mirroring reverses the image.
  if (mirrorX) sx0 += dsdx;
  if (mirrorY) sy0 += dtdy;

  const float colX = dsdx * c, colY = -dtdy * sn, rowX = dsdx * sn, rowY = dtdy * c;
  if (dstx < 0) sx0 += static_cast<float>(-dstx) * colX, sy0 += static_cast<float>(-dstx) * colY, dstw += dstx, dstx = 0;
  if (dsty < 0) sx0 += static_cast<float>(-dsty) * rowX, sy0 += static_cast<float>(-dsty) * rowY, dsth += dsty, dsty = 0;
  const int dstWidth = dst->Width(), dstHeight = dst->Height();
  if (dstw > dstWidth - dstx) dstw = dstWidth - dstx;
  if (dsth > dstHeight - dsty) dsth = dstHeight - dsty;
  if (dstw < 1 || dsth < 1) return;
  const RasterView d(*dst), s(*src);
  if (d.Empty() || s.Empty()) return;

  const auto fixed = [](double v) { return static_cast<int32_t>(v * 65536.0); };
  const int32_t startX = static_cast<int32_t>(sx0 * 65536.0f), startY = static_cast<int32_t>(sy0 * 65536.0f);
  const int32_t colStepX = fixed(colX), colStepY = fixed(colY), rowStepX = fixed(rowX), rowStepY = fixed(rowY);
  const auto bound = [](float v, int size) { return v <= 0.0f ? 0 : (v >= static_cast<float>(size) ? size : static_cast<int>(v)); };
  const Bounds bounds = {bound(left, s.width), bound(top, s.height), bound(right, s.width), bound(bottom, s.height)};

  const int w = RasterWeightToInt(weight);
  const bool bilinear = WantsBilinear(mode);
  WithBlitOperator(mode, w, [&](auto o) {
    using Op = decltype(o);
    const auto rows = [&](const auto& sampler) {
      for (int j = 0; j < dsth; ++j) {
        int32_t px = Advance(startX, rowStepX, j), py = Advance(startY, rowStepY, j);
        RasterPixel* out = d.Row(dsty + j) + dstx;
        for (int i = 0; i < dstw; ++i, px = Advance(px, colStepX, 1), py = Advance(py, colStepY, 1)) {
          Sample sample;
          if (sampler.At(s, bounds, px, py, sample))
            out[i] = Op::Apply(out[i], sample.r, sample.g, sample.b, sample.a, w);
        }
      }
    };
    if (bilinear)
      rows(Bilinear{});
    else
      rows(Nearest{});
  });
}
