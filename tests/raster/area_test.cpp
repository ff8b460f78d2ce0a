// Pixel and rectangle operations: storage order, clipping, the fill's weight rules and coverage.
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "raster/raster_area.h"
#include "raster/raster_mem_bitmap.h"
#include "raster/raster_mode.h"
#include "tests/raster/raster_test_support.h"

namespace {

TEST(RasterArea, PixelBytesAreBlueGreenRedAlpha)
{
  RasterMemBitmap bitmap(1, 1, 4);
  RasterFillArea(&bitmap, 0, 0, 1, 1, 0x80FF0000, 1.0f, 0);
  const unsigned char expected[4] = {0x00, 0x00, 0xFF, 0x80};
  EXPECT_EQ(std::memcmp(bitmap.Bits(), expected, 4), 0);
}

TEST(RasterArea, ReadPixelOutsideIsZero)
{
  RasterMemBitmap bitmap(3, 2, 4);
  Paint(bitmap, 0x11111111);
  EXPECT_EQ(RasterReadPixel(&bitmap, 2, 1), 0x11111111u);
  EXPECT_EQ(RasterReadPixel(&bitmap, 3, 0), 0u);
  EXPECT_EQ(RasterReadPixel(&bitmap, 0, 2), 0u);
  EXPECT_EQ(RasterReadPixel(&bitmap, -1, 0), 0u);
  EXPECT_EQ(RasterReadPixel(nullptr, 0, 0), 0u);
  RasterMemBitmap empty(0, 0, 4);
  EXPECT_EQ(RasterReadPixel(&empty, 0, 0), 0u);
}

// Which pixels of a 6 x 4 bitmap a fill of the rectangle touches.
std::vector<int> FilledMask(int x, int y, int width, int height)
{
  RasterMemBitmap bitmap(6, 4, 4);
  Paint(bitmap, 0);
  RasterFillArea(&bitmap, x, y, width, height, 0xFFFFFFFF, 1.0f, 0);
  std::vector<int> mask;
  for (RasterPixel p : ReadImage(bitmap)) mask.push_back(p ? 1 : 0);
  return mask;
}

TEST(RasterArea, FillClipsOnEverySide)
{
  // clang-format off
  EXPECT_EQ(FilledMask(-2, -1, 20, 2), (std::vector<int>{1, 1, 1, 1, 1, 1,
                                                          0, 0, 0, 0, 0, 0,
                                                          0, 0, 0, 0, 0, 0,
                                                          0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(FilledMask(4, 2, 5, 5), (std::vector<int>{0, 0, 0, 0, 0, 0,
                                                       0, 0, 0, 0, 0, 0,
                                                       0, 0, 0, 0, 1, 1,
                                                       0, 0, 0, 0, 1, 1}));
  // clang-format on
  const std::vector<int> none(24, 0);
  EXPECT_EQ(FilledMask(1, 1, 0, 2), none);
  EXPECT_EQ(FilledMask(1, 1, 2, -1), none);
  EXPECT_EQ(FilledMask(-5, 0, 5, 4), none);
  EXPECT_EQ(FilledMask(6, 0, 3, 4), none);
}

TEST(RasterArea, FillWeights)
{
  struct Case {
    const char* what;
    RasterPixel colour;
    float weight;
    int mode;
    RasterPixel expected;
  };
  const Case cases[] = {
      {"use alpha: alpha 0 draws nothing", 0x00FFFFFF, 1.0f, RasterModeUseAlpha, 0x40404040},
      // 128 / 255 * 1.0 * 256 truncates to 128: the half-weight whole-pixel path.
      {"use alpha: alpha 128", 0x80FFFFFF, 1.0f, RasterModeUseAlpha, 0x609F9F9F},
      // Plain copy at w = 100 moves alpha toward 100, not toward the colour's alpha:
      // 100 + (64 - 100) * 156 / 256 = 79; 255 + (64 - 255) * 156 / 256 = 139.
      {"alpha moves toward the weight", 0x00FFFFFF, 100.0f / 256.0f, 0, 0x4F8B8B8B},
      // Add at w = 100: 64 + 255 * 100 / 256 = 163; alpha 64 + 100 * 100 / 256 = 103.
      {"add", 0xFFFFFFFF, 100.0f / 256.0f, RasterOpAdd, 0x67A3A3A3},
      {"weight 0", 0xFFFFFFFF, 0.0f, RasterOpAdd, 0x40404040},
      {"operator 9", 0xFFFFFFFF, 1.0f, 9, 0x40404040},
  };
  for (const Case& c : cases) {
    RasterMemBitmap bitmap(2, 2, 4);
    Paint(bitmap, 0x40404040);
    RasterFillArea(&bitmap, 0, 0, 2, 2, c.colour, c.weight, c.mode);
    EXPECT_EQ(RasterReadPixel(&bitmap, 1, 1), c.expected) << c.what;
  }
}

TEST(RasterArea, MaskAreaClearsAlphaInsideTheClippedRectangle)
{
  RasterMemBitmap bitmap(3, 2, 4);
  Paint(bitmap, 0xFF123456);
  RasterMaskArea(&bitmap, -1, 1, 3, 5, 0x00FFFFFF, 0);
  EXPECT_EQ(ReadImage(bitmap),
            (std::vector<RasterPixel>{0xFF123456, 0xFF123456, 0xFF123456, 0x00123456, 0x00123456, 0xFF123456}));
  RasterMaskArea(&bitmap, 2, 0, 1, 1, 0xFFFFFF00, 0x000000AB);
  EXPECT_EQ(RasterReadPixel(&bitmap, 2, 0), 0xFF1234ABu);
}

TEST(RasterArea, CoverageWeightsEachPixelAndClipsTheMask)
{
  // A 3 x 2 mask placed one column and one row off the top-left corner: only its lower right four
  // bytes land, and the row stride stays the mask width.
  const uint8_t coverage[6] = {9, 9, 9, 9, 255, 128};
  RasterMemBitmap bitmap(2, 2, 4);
  Paint(bitmap, 0);
  RasterCompositeCoverage(&bitmap, -1, -1, 0xFFFFFFFF, coverage, 3, 2, 1.0f, RasterOpCopy);
  // Weight 256 * 255 / 256 = 255: 255 + (0 - 255) * 1 / 256 = 255. Byte 128 gives weight 128:
  // 255 - 255 * 128 / 256 = 128.
  EXPECT_EQ(ReadImage(bitmap), (std::vector<RasterPixel>{0xFFFFFFFF, 0x80808080, 0, 0}));

  const uint8_t zero[1] = {0};
  RasterCompositeCoverage(&bitmap, 1, 1, 0xFFFFFFFF, zero, 1, 1, 1.0f, RasterOpAdd);
  EXPECT_EQ(RasterReadPixel(&bitmap, 1, 1), 0u);
}

TEST(RasterArea, BottomUpBitmapsShowTheSameImage)
{
  // Each operation on a bottom-up bitmap gives the image it gives on a top-down one, and stays out of
  // the row padding.
  RasterMemBitmap top(5, 4, 4);
  BottomUpBitmap bottom(5, 4);
  const uint8_t coverage[4] = {255, 60, 0, 200};
  for (RasterBitmap* b : {static_cast<RasterBitmap*>(&top), static_cast<RasterBitmap*>(&bottom)}) {
    PaintPattern(*b);
    RasterFillArea(b, 1, 0, 3, 2, 0x80402010, 0.3f, RasterOpAdd);
    RasterFillArea(b, -1, 2, 3, 9, 0xFF00FF00, 0.5f, RasterOpCopy);
    RasterBlendPixel(b, 4, 3, 0x11223344, 0.6f, RasterOpMultiply);
    RasterMaskArea(b, 2, 1, 2, 3, 0xFF00FF00, 0x00110000);
    RasterCompositeCoverage(b, 3, 2, 0xFFFFFFFF, coverage, 2, 2, 0.9f, RasterOpOverlay);
  }
  EXPECT_EQ(ReadImage(top), ReadImage(bottom));
  EXPECT_EQ(RasterReadPixel(&bottom, 0, 0), bottom.Bits()[3 * 8]);  // row 0 is stored last
  EXPECT_TRUE(bottom.PaddingIntact());
}

TEST(RasterArea, NullAndEmptyBitmapsDrawNothing)
{
  const uint8_t coverage[1] = {255};
  RasterBlendPixel(nullptr, 0, 0, 1, 1.0f, 0);
  RasterFillArea(nullptr, 0, 0, 1, 1, 1, 1.0f, 0);
  RasterMaskArea(nullptr, 0, 0, 1, 1, 0, 0);
  RasterCompositeCoverage(nullptr, 0, 0, 1, coverage, 1, 1, 1.0f, 0);
  RasterMemBitmap empty(0, 0, 4);
  RasterFillArea(&empty, 0, 0, 5, 5, 1, 1.0f, 0);
  RasterBlendPixel(&empty, 0, 0, 1, 1.0f, 0);
  EXPECT_EQ(empty.Bits(), nullptr);
}

}  // namespace
