// Unscaled blits: clipping on both bitmaps, storage order, the copy paths and the channel mode.
#include <vector>

#include <gtest/gtest.h>

#include "raster/raster_blit.h"
#include "raster/raster_mem_bitmap.h"
#include "raster/raster_mode.h"
#include "tests/raster/raster_test_support.h"

namespace {

// A 4 x 3 source whose pixel (x, y) is 0xFF000000 | (y << 8) | x, and a cleared 6 x 5 destination.
struct BlitFixture : ::testing::Test {
  RasterMemBitmap src{4, 3, 4};
  RasterMemBitmap dst{6, 5, 4};
  void SetUp() override
  {
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 4; ++x) RasterFillArea(&src, x, y, 1, 1, Source(x, y), 1.0f, 0);
    Paint(dst, 0);
  }
  static RasterPixel Source(int x, int y) { return 0xFF000000u | static_cast<RasterPixel>(y << 8 | x); }
  // Where source pixel (x, y) landed, or (-1, -1).
  std::pair<int, int> Landed(int x, int y)
  {
    for (int dy = 0; dy < dst.Height(); ++dy)
      for (int dx = 0; dx < dst.Width(); ++dx)
        if (RasterReadPixel(&dst, dx, dy) == Source(x, y)) return {dx, dy};
    return {-1, -1};
  }
  int Drawn()
  {
    int n = 0;
    for (RasterPixel p : ReadImage(dst)) n += p != 0;
    return n;
  }
};

TEST_F(BlitFixture, SourceRectangleLeftOfTheSourceMovesTheDestination)
{
  const RasterRect r = {-5, 0, 2, 1};
  RasterComposite(&dst, &src, -3, 0, &r, 1.0f, 0);  // lands at x = 2 from source column 0
  EXPECT_EQ(Landed(0, 0), std::make_pair(2, 0));
  EXPECT_EQ(Landed(1, 0), std::make_pair(3, 0));
  EXPECT_EQ(Drawn(), 2);
}

TEST_F(BlitFixture, ClipsOnEverySide)
{
  struct Case {
    int dstx, dsty, drawn, firstX, firstY;  // source pixel landing at the clipped top-left corner
  };
  const Case cases[] = {
      {-3, 0, 3, 3, 0},   // first three source columns skipped
      {0, -2, 4, 0, 2},   // two rows skipped
      {4, 3, 4, 0, 0},    // right and bottom edges cut it to 2 x 2
      {-4, 0, 0, -1, -1}, // entirely left
      {6, 0, 0, -1, -1},  // entirely right
      {0, 5, 0, -1, -1},  // entirely below
  };
  for (const Case& c : cases) {
    Paint(dst, 0);
    RasterComposite(&dst, &src, c.dstx, c.dsty, nullptr, 1.0f, 0);
    EXPECT_EQ(Drawn(), c.drawn) << c.dstx << "," << c.dsty;
    if (c.drawn) {
      const int x = c.dstx < 0 ? 0 : c.dstx, y = c.dsty < 0 ? 0 : c.dsty;
      EXPECT_EQ(RasterReadPixel(&dst, x, y), Source(c.firstX, c.firstY)) << c.dstx << "," << c.dsty;
    }
  }
}

TEST_F(BlitFixture, FrameFromAStrip)
{
  // Frame k of a vertical strip of 4 x 1 frames.
  RasterCompositeArea(&dst, &src, 1, 1, 0, 2, 4, 1, 1.0f, 0);
  EXPECT_EQ(Drawn(), 4);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(RasterReadPixel(&dst, 1 + x, 1), Source(x, 2));
}

TEST_F(BlitFixture, ChannelModesCopyOneByteWhateverTheWeight)
{
  Paint(dst, 0x11223344);
  RasterPixel* s = src.Bits();
  s[0] = 0xAB005500;
  RasterCompositeArea(&dst, &src, 0, 0, 0, 0, 1, 1, 0.3f, 0xF3);  // alpha (3) into blue (0)
  EXPECT_EQ(RasterReadPixel(&dst, 0, 0), 0x112233ABu);
  RasterCompositeArea(&dst, &src, 1, 0, 0, 0, 1, 1, 1.0f, RasterModeChannelCopy(1, 2));  // green into red
  EXPECT_EQ(RasterReadPixel(&dst, 1, 0), 0x11553344u);
  RasterCompositeArea(&dst, &src, 2, 0, 0, 0, 1, 1, 0.0f, 0xF3);  // weight 0 still draws nothing
  EXPECT_EQ(RasterReadPixel(&dst, 2, 0), 0x11223344u);
}

TEST(RasterBlit, BottomUpOnEitherSideGivesTheSameImage)
{
  struct Draw {
    float weight;
    int mode;
  };
  const Draw draws[] = {{1.0f, 0}, {0.5f, 0}, {0.7f, 0}, {1.0f, RasterModeUseAlpha}, {0.8f, RasterModeUseAlpha | 4},
                        {1.0f, 0xF6}};
  for (const Draw& d : draws) {
    RasterMemBitmap topSrc(5, 4, 4), topDst(7, 6, 4);
    BottomUpBitmap bottomSrc(5, 4), bottomDst(7, 6);
    PaintPattern(topSrc, 3), PaintPattern(bottomSrc, 3), PaintPattern(topDst, 4), PaintPattern(bottomDst, 4);
    const RasterRect r = {1, 1, 5, 4};
    RasterComposite(&topDst, &topSrc, 3, -1, &r, d.weight, d.mode);
    RasterComposite(&bottomDst, &bottomSrc, 3, -1, &r, d.weight, d.mode);
    EXPECT_EQ(ReadImage(topDst), ReadImage(bottomDst)) << d.mode << " " << d.weight;
    // Mixed storage orders.
    RasterMemBitmap mixed(7, 6, 4);
    PaintPattern(mixed, 4);
    RasterComposite(&mixed, &bottomSrc, 3, -1, &r, d.weight, d.mode);
    EXPECT_EQ(ReadImage(topDst), ReadImage(mixed)) << d.mode << " " << d.weight;
    EXPECT_TRUE(bottomDst.PaddingIntact());
  }
}

TEST(RasterBlit, CopyImageResizesAndCopies)
{
  RasterMemBitmap src(5, 3, 4), dst(0, 0, 4);
  PaintPattern(src);
  RasterCopyImage(&dst, &src);
  EXPECT_EQ(dst.Width(), 5);
  EXPECT_EQ(dst.Height(), 3);
  EXPECT_EQ(ReadImage(dst), ReadImage(src));
  RasterCopyImage(nullptr, &src);
  RasterComposite(&dst, nullptr, 0, 0, nullptr, 1.0f, 0);
}

}  // namespace
