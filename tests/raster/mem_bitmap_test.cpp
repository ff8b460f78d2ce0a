#include <cstdint>

#include <gtest/gtest.h>

#include "raster/raster_mem_bitmap.h"

namespace {

bool Aligned64(const void* p) { return (reinterpret_cast<uintptr_t>(p) & 63) == 0; }

TEST(RasterMemBitmap, EmptyThenResizedIsAlignedAndPadded)
{
  RasterMemBitmap bitmap(0, 0, 4);
  EXPECT_EQ(bitmap.Bits(), nullptr);
  EXPECT_EQ(bitmap.Width(), 0);
  EXPECT_FALSE(bitmap.IsBottomUp());
  EXPECT_EQ(bitmap.DeviceContext(), nullptr);

  EXPECT_TRUE(bitmap.Resize(10, 3));
  EXPECT_EQ(bitmap.Width(), 10);
  EXPECT_EQ(bitmap.Height(), 3);
  EXPECT_EQ(bitmap.RowSpan(), 12);
  ASSERT_NE(bitmap.Bits(), nullptr);
  EXPECT_TRUE(Aligned64(bitmap.Bits()));
  // The whole padded area is writable (the sanitizer stage catches an overrun).
  for (int i = 0; i < 12 * 3; ++i) bitmap.Bits()[i] = 0xFFFFFFFFu;

  EXPECT_FALSE(bitmap.Resize(10, 3));
}

TEST(RasterMemBitmap, RowAlignmentIsReducedToItsLowestBit)
{
  struct Case { int alignment, width, span; };
  const Case cases[] = {{0, 10, 10}, {1, 10, 10}, {4, 10, 12}, {6, 5, 6}, {12, 5, 8}, {16, 17, 32}, {64, 17, 32}};
  for (const Case& c : cases) {
    RasterMemBitmap bitmap(c.width, 2, c.alignment);
    EXPECT_EQ(bitmap.RowSpan(), c.span) << "alignment " << c.alignment;
    EXPECT_TRUE(Aligned64(bitmap.Bits()));
  }
}

TEST(RasterMemBitmap, GrowsByAQuarterAndNeverShrinks)
{
  RasterMemBitmap bitmap(4, 4, 4);
  EXPECT_EQ(bitmap.AllocatedBytes(), 64u);  // first allocation is exact
  bitmap.Resize(4, 5);                      // 80 bytes needed: grows to 100
  EXPECT_EQ(bitmap.AllocatedBytes(), 100u);
  bitmap.Resize(4, 6);                      // 96 fits
  EXPECT_EQ(bitmap.AllocatedBytes(), 100u);
  bitmap.Resize(4, 1);
  EXPECT_EQ(bitmap.AllocatedBytes(), 100u);
  EXPECT_EQ(bitmap.Height(), 1);
  bitmap.Resize(8, 4);                      // 128 needed: 160
  EXPECT_EQ(bitmap.AllocatedBytes(), 160u);
  for (int i = 0; i < 8 * 4; ++i) bitmap.Bits()[i] = 1;

  EXPECT_TRUE(bitmap.Resize(0, 4));  // an empty size frees the pixels
  EXPECT_EQ(bitmap.Bits(), nullptr);
  EXPECT_EQ(bitmap.AllocatedBytes(), 0u);
  EXPECT_EQ(bitmap.Width(), 0);
  EXPECT_EQ(bitmap.Height(), 0);
}

TEST(RasterMemBitmap, ImpossibleSizesLeaveAnEmptyBitmap)
{
  struct Case { int width, height; };
  const Case cases[] = {{-4, -4}, {-4, 3}, {100000, 100000}};
  for (const Case& c : cases) {
    RasterMemBitmap bitmap(2, 2, 4);
    EXPECT_TRUE(bitmap.Resize(c.width, c.height));
    EXPECT_EQ(bitmap.Bits(), nullptr);
    EXPECT_EQ(bitmap.Width(), 0);
    EXPECT_EQ(bitmap.Height(), 0);
  }
}

}  // namespace
