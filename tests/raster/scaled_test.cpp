// Scaled and rotated blits: the 1:1 shortcut, bilinear sampling, box reduction, mirroring, trimming
// to the source and rotation.
#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "raster/raster_blit.h"
#include "raster/raster_mem_bitmap.h"
#include "raster/raster_mode.h"
#include "raster/raster_scaled.h"
#include "tests/raster/raster_test_support.h"

namespace {

constexpr float kHalfPi = 1.5707964f;

RasterPixel Red(int red) { return 0xFF000000u | static_cast<RasterPixel>(red) << 16; }

std::vector<int> RedsOf(RasterBitmap& bitmap)
{
  std::vector<int> reds;
  for (RasterPixel p : ReadImage(bitmap)) reds.push_back(RasterRedOf(p));
  return reds;
}

TEST(RasterScaled, OneToOneIsTheUnscaledComposite)
{
  struct Draw {
    float srcx, srcy, weight;
    int mode;
  };
  const Draw draws[] = {{1.0f, 2.0f, 1.0f, 0}, {1.0f, 0.0f, 0.7f, RasterModeUseAlpha | 1},
                        {1.02f, 0.98f, 0.6f, RasterModeBilinear}, {0.4f, 1.4f, 1.0f, 3}};
  for (const Draw& d : draws) {
    RasterMemBitmap src(6, 6, 4), scaled(8, 8, 4), plain(8, 8, 4);
    PaintPattern(src, 5), PaintPattern(scaled, 6), PaintPattern(plain, 6);
    RasterCompositeScaled(&scaled, &src, 2, -1, 4, 3, d.srcx, d.srcy, 4.0f, 3.0f, d.weight, d.mode);
    const int left = static_cast<int>(d.srcx + 0.5f), top = static_cast<int>(d.srcy + 0.5f);
    const RasterRect r = {left, top, left + 4, top + 3};
    RasterComposite(&plain, &src, 2, -1, &r, d.weight, d.mode);
    EXPECT_EQ(ReadImage(scaled), ReadImage(plain)) << d.srcx;
  }
}

TEST(RasterScaled, BilinearEnlargementByTwo)
{
  // Source reds 0, 100 / 200, 255. Whole positions give the pixels themselves; the last column and
  // row interpolate along the other axis only.
  RasterMemBitmap src(2, 2, 4), dst(4, 4, 4);
  const int reds[4] = {0, 100, 200, 255};
  for (int i = 0; i < 4; ++i) RasterFillArea(&src, i % 2, i / 2, 1, 1, Red(reds[i]), 1.0f, 0);
  RasterCompositeScaled(&dst, &src, 0, 0, 4, 4, 0.0f, 0.0f, 2.0f, 2.0f, 1.0f, RasterModeBilinear);
  // clang-format off
  EXPECT_EQ(RedsOf(dst), (std::vector<int>{  0,  50, 100, 100,
                                           100, 138, 177, 177,
                                           200, 227, 255, 255,
                                           200, 227, 255, 255}));
  // clang-format on
  EXPECT_EQ(RasterReadPixel(&dst, 1, 1) >> 24, 255u);
}

TEST(RasterScaled, StrongBilinearReductionsAverageBlocks)
{
  // One bright pixel on black: a block mean spreads it where bilinear or nearest sampling would miss it.
  struct Case {
    int size, reduced, brightAt, sampleX, sampleY, expectedRed;
  };
  const Case cases[] = {
      {6, 3, 3, 1, 1, 10},    // by 2: 3 x 3 blocks, 90 / 9
      {6, 3, 3, 0, 0, 0},     // block of (0, 0) is columns and rows 0-1 only
      {20, 5, 6, 1, 1, 10},   // by 4: 5 x 5 blocks, 250 / 25 (a 3 x 3 block around (4, 4) would miss it)
      {6, 4, 3, 2, 2, 90},    // by 1.5: bilinear, (3, 3) sampled exactly
  };
  for (const Case& c : cases) {
    RasterMemBitmap src(c.size, c.size, 4), dst(c.reduced, c.reduced, 4);
    Paint(src, 0xFF000000);
    RasterFillArea(&src, c.brightAt, c.brightAt, 1, 1, Red(c.size == 20 ? 250 : 90), 1.0f, 0);
    Paint(dst, 0);
    const float side = static_cast<float>(c.size);
    RasterCompositeScaled(&dst, &src, 0, 0, c.reduced, c.reduced, 0.0f, 0.0f, side, side, 1.0f, RasterModeBilinear);
    const RasterPixel p = RasterReadPixel(&dst, c.sampleX, c.sampleY);
    EXPECT_EQ(RasterRedOf(p), c.expectedRed) << c.size << " to " << c.reduced;
    EXPECT_EQ(RasterAlphaOf(p), 255) << c.size << " to " << c.reduced;
  }
}

TEST(RasterScaled, NegativeSizesMirror)
{
  // A mirrored draw is the unmirrored draw reversed, for either sampler and any scale.
  struct Case {
    int srcSize, dstSize, mode;
  };
  const Case cases[] = {{4, 4, 0}, {4, 4, RasterModeBilinear}, {4, 8, 0}, {4, 8, RasterModeBilinear},
                        {8, 4, 0}, {6, 4, RasterModeBilinear | RasterModeUseAlpha}};
  for (const Case& c : cases) {
    RasterMemBitmap src(c.srcSize, c.srcSize, 4);
    PaintPattern(src, 9);
    RasterMemBitmap plain(c.dstSize, c.dstSize, 4), mirrored(c.dstSize, c.dstSize, 4);
    Paint(plain, 0x12345678), Paint(mirrored, 0x12345678);
    const float s = static_cast<float>(c.srcSize);
    const int n = c.dstSize;
    RasterCompositeScaled(&plain, &src, 0, 0, n, n, 0.0f, 0.0f, s, s, 1.0f, c.mode);
    RasterCompositeScaled(&mirrored, &src, n, 0, -n, n, 0.0f, 0.0f, s, s, 1.0f, c.mode);  // horizontally
    for (int y = 0; y < n; ++y)
      for (int x = 0; x < n; ++x)
        ASSERT_EQ(RasterReadPixel(&mirrored, x, y), RasterReadPixel(&plain, n - 1 - x, y))
            << c.srcSize << " to " << n << " mode " << c.mode << " at " << x << "," << y;
    Paint(mirrored, 0x12345678);
    RasterCompositeScaled(&mirrored, &src, 0, n, n, -n, 0.0f, 0.0f, s, s, 1.0f, c.mode);  // vertically
    for (int y = 0; y < n; ++y)
      for (int x = 0; x < n; ++x)
        ASSERT_EQ(RasterReadPixel(&mirrored, x, y), RasterReadPixel(&plain, x, n - 1 - y))
            << c.srcSize << " to " << n << " mode " << c.mode << " at " << x << "," << y;
  }
}

TEST(RasterScaled, TrimsToTheSource)
{
  // A 4-pixel row drawn from a 6-pixel-wide source rectangle into 4 pixels: step 1.5.
  RasterMemBitmap src(4, 1, 4), dst(4, 1, 4);
  for (int x = 0; x < 4; ++x) RasterFillArea(&src, x, 0, 1, 1, Red(10 * (x + 1)), 1.0f, 0);
  struct Case {
    float srcx;
    std::vector<int> reds;
  };
  const Case cases[] = {
      // Reaching past the right edge: samples at 0, 1.5, 3, 4.5; the destination ends before the
      // sample on the last column.
      {0.0f, {10, 20, 0, 0}},
      // Starting left of the source: the first column, which would sample at -1.5, is skipped.
      {-1.5f, {0, 10, 20, 40}},
  };
  for (const Case& c : cases) {
    Paint(dst, 0);
    RasterCompositeScaled(&dst, &src, 0, 0, 4, 1, c.srcx, 0.0f, 6.0f, 1.0f, 1.0f, 0);
    EXPECT_EQ(RedsOf(dst), c.reds) << c.srcx;
  }
}

TEST(RasterScaled, NothingOutsideTheDestinationOrSource)
{
  RasterMemBitmap src(8, 8, 4);
  PaintPattern(src);
  BottomUpBitmap dst(5, 5);
  Paint(dst, 0);
  RasterCompositeScaled(&dst, &src, -3, -2, 11, 9, -2.0f, -1.0f, 11.0f, 9.5f, 1.0f, RasterModeBilinear);
  RasterCompositeScaled(&dst, &src, 2, 2, 40, 40, 6.0f, 6.0f, 3.0f, 3.0f, 0.6f, RasterModeBilinear | 2);
  RasterCompositeScaled(&dst, &src, 0, 0, 2, 2, 0.0f, 0.0f, 8.0f, 8.0f, 1.0f, RasterModeBilinear | 3);
  RasterCompositeScaled(&dst, &src, 0, 0, 5, 5, 100.0f, 100.0f, 5.0f, 3.0f, 1.0f, RasterModeBilinear);
  EXPECT_TRUE(dst.PaddingIntact());
}

TEST(RasterScaled, BottomUpGivesTheSameImage)
{
  for (int mode : {0, int(RasterModeBilinear), RasterModeBilinear | RasterModeUseAlpha | 1, 4}) {
    RasterMemBitmap topSrc(9, 7, 4), topDst(6, 6, 4);
    BottomUpBitmap bottomSrc(9, 7), bottomDst(6, 6);
    PaintPattern(topSrc, 2), PaintPattern(bottomSrc, 2), PaintPattern(topDst, 8), PaintPattern(bottomDst, 8);
    RasterCompositeScaled(&topDst, &topSrc, -1, 1, 5, 6, 0.5f, 0.25f, 8.0f, 5.5f, 0.9f, mode);
    RasterCompositeScaled(&bottomDst, &bottomSrc, -1, 1, 5, 6, 0.5f, 0.25f, 8.0f, 5.5f, 0.9f, mode);
    EXPECT_EQ(ReadImage(topDst), ReadImage(bottomDst)) << mode;
    RasterCompositeRotated(&topDst, &topSrc, 0, 0, 6, 6, 0.0f, 0.0f, 9.0f, 7.0f, 0.7f, false, 1.0f, mode, 0.0f, 0.0f);
    RasterCompositeRotated(&bottomDst, &bottomSrc, 0, 0, 6, 6, 0.0f, 0.0f, 9.0f, 7.0f, 0.7f, false, 1.0f, mode, 0.0f,
                           0.0f);
    EXPECT_EQ(ReadImage(topDst), ReadImage(bottomDst)) << mode;
  }
}

TEST(RasterRotated, AngleZeroReproducesTheSource)
{
  for (int mode : {0, int(RasterModeBilinear)}) {
    for (bool clip : {false, true}) {
      RasterMemBitmap src(7, 5, 4), dst(7, 5, 4);
      PaintPattern(src, 11);
      Paint(dst, 0);
      RasterCompositeRotated(&dst, &src, 0, 0, 7, 5, 0.0f, 0.0f, 7.0f, 5.0f, 0.0f, clip, 1.0f, mode, 0.0f, 0.0f);
      EXPECT_EQ(ReadImage(dst), ReadImage(src)) << mode << " " << clip;
    }
  }
}

TEST(RasterRotated, QuarterTurnAboutTheRectangleCentre)
{
  // Destination (i, j) samples source (j, 3 - i): the turn is about the point (1.5, 1.5), so column 0
  // would sample row 3, outside the source, and is left alone.
  RasterMemBitmap src(3, 3, 4), dst(3, 3, 4);
  for (int i = 0; i < 9; ++i) RasterFillArea(&src, i % 3, i / 3, 1, 1, Red(i + 1), 1.0f, 0);
  Paint(dst, 0);
  RasterCompositeRotated(&dst, &src, 0, 0, 3, 3, 0.0f, 0.0f, 3.0f, 3.0f, kHalfPi, false, 1.0f, 0, 0.0f, 0.0f);
  // clang-format off
  EXPECT_EQ(RedsOf(dst), (std::vector<int>{0, 7, 4,
                                           0, 8, 5,
                                           0, 9, 6}));
  // clang-format on
  // A centre offset of -1 in y moves the sampled rows up by one and fills the column.
  Paint(dst, 0);
  RasterCompositeRotated(&dst, &src, 0, 0, 3, 3, 0.0f, 0.0f, 3.0f, 3.0f, kHalfPi, false, 1.0f, 0, 0.0f, -1.0f);
  EXPECT_EQ(RedsOf(dst), (std::vector<int>{7, 4, 1, 8, 5, 2, 9, 6, 3}));
}

TEST(RasterRotated, ClipToSourceSamplesOnlyTheRectangle)
{
  // Frame 1 of a two-frame strip turned by a tiny angle must not pick up frame 0 or 2 at its edges.
  RasterMemBitmap strip(4, 12, 4), dst(4, 4, 4);
  Paint(strip, Red(50));
  RasterFillArea(&strip, 0, 4, 4, 4, Red(200), 1.0f, 0);
  Paint(dst, 0);
  RasterCompositeRotated(&dst, &strip, 0, 0, 4, 4, 0.0f, 4.0f, 4.0f, 4.0f, 0.3f, true, 1.0f, RasterModeBilinear, 0.0f,
                         0.0f);
  for (RasterPixel p : ReadImage(dst)) EXPECT_TRUE(p == 0 || RasterRedOf(p) == 200) << std::hex << p;
  // Without the clip the same draw reaches the neighbouring frames.
  RasterCompositeRotated(&dst, &strip, 0, 0, 4, 4, 0.0f, 4.0f, 4.0f, 4.0f, 0.3f, false, 1.0f, RasterModeBilinear, 0.0f,
                         0.0f);
  const std::vector<RasterPixel> image = ReadImage(dst);
  EXPECT_TRUE(std::any_of(image.begin(), image.end(), [](RasterPixel p) { return RasterRedOf(p) < 200 && p != 0; }));
}

}  // namespace
