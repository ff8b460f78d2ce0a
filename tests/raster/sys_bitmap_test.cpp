#include <gtest/gtest.h>

#include "raster/raster_sys_bitmap.h"

namespace {

TEST(RasterSysBitmap, KeepsItsDibWhenShrinkingAndReplacesItToGrow)
{
  RasterSysBitmap bitmap(10, 6);
  ASSERT_NE(bitmap.DeviceContext(), nullptr);
  ASSERT_NE(bitmap.Bits(), nullptr);
  EXPECT_EQ(bitmap.RowSpan(), 12);
  EXPECT_FALSE(bitmap.IsBottomUp());
  for (int i = 0; i < 12 * 6; ++i) bitmap.Bits()[i] = 0x01020304u;
  EXPECT_FALSE(bitmap.Resize(10, 6));

  EXPECT_TRUE(bitmap.Resize(5, 2));
  EXPECT_EQ(bitmap.Width(), 5);
  EXPECT_EQ(bitmap.Height(), 2);
  EXPECT_EQ(bitmap.RowSpan(), 12);  // same section, so its pixels are untouched
  EXPECT_EQ(bitmap.Bits()[12 * 5 + 11], 0x01020304u);

  EXPECT_TRUE(bitmap.Resize(13, 2));
  EXPECT_EQ(bitmap.RowSpan(), 16);
  ASSERT_NE(bitmap.Bits(), nullptr);
  EXPECT_EQ(bitmap.Bits()[16 * 2 - 1], 0u);  // a new, cleared section
}

TEST(RasterSysBitmap, EmptySizesHaveNoPixels)
{
  RasterSysBitmap bitmap(0, 0);
  EXPECT_NE(bitmap.DeviceContext(), nullptr);
  EXPECT_EQ(bitmap.Bits(), nullptr);
  EXPECT_TRUE(bitmap.Resize(3, 3));
  EXPECT_NE(bitmap.Bits(), nullptr);
  EXPECT_FALSE(bitmap.Resize(0, 3));  // drops the section
  EXPECT_EQ(bitmap.Bits(), nullptr);
  EXPECT_FALSE(bitmap.Resize(-4, 3));
  EXPECT_EQ(bitmap.Bits(), nullptr);
}

}  // namespace
