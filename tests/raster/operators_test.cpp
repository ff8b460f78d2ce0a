// The twelve operators, each checked on pixels worked out by hand from the integer formulas. Plain
// forms go through RasterBlendPixel, with-alpha forms through the unscaled blit.
#include <gtest/gtest.h>

#include "raster/raster_area.h"
#include "raster/raster_blit.h"
#include "raster/raster_mem_bitmap.h"
#include "raster/raster_mode.h"

namespace {

struct Case {
  const char* what;
  RasterPixel destination;
  RasterPixel source;
  float weight;
  int mode;
  RasterPixel expected;
};

RasterPixel Blend(RasterPixel destination, RasterPixel colour, float weight, int mode)
{
  RasterMemBitmap bitmap(1, 1, 4);
  bitmap.Bits()[0] = destination;
  RasterBlendPixel(&bitmap, 0, 0, colour, weight, mode);
  return bitmap.Bits()[0];
}

RasterPixel Blit(RasterPixel destination, RasterPixel source, float weight, int mode)
{
  RasterMemBitmap dst(1, 1, 4), src(1, 1, 4);
  dst.Bits()[0] = destination;
  src.Bits()[0] = source;
  RasterComposite(&dst, &src, 0, 0, nullptr, weight, mode);
  return dst.Bits()[0];
}

TEST(RasterOperators, PlainForms)
{
  const float w100 = 100.0f / 256.0f;  // no whole-pixel shortcut
  const Case cases[] = {
      // Copy fast paths work on whole pixels: each byte is halved (or quartered) before adding.
      {"copy 1", 0x12345678, 0x9ABCDEF0, 1.0f, RasterOpCopy, 0x9ABCDEF0},
      {"copy 1/2 bytes", 0xFFFFFFFF, 0x01010101, 0.5f, RasterOpCopy, 0x7F7F7F7F},
      {"copy 1/2 mixed", 0x80FF0004, 0x00010408, 0.5f, RasterOpCopy, 0x407F0206},
      {"copy 3/4", 0x00000000, 0x80808080, 0.75f, RasterOpCopy, 0x60606060},
      {"copy 1/4", 0x80808080, 0x00000000, 0.25f, RasterOpCopy, 0x60606060},
      {"copy 1 ignores flags", 0x12345678, 0x00BCDEF0, 1.0f, RasterOpCopy | RasterModeUseAlpha, 0x00BCDEF0},
      // 50 + (200 - 50) * 156 / 256 = 141; 250 + (10 - 250) * 156 / 256 = 104 (toward zero)
      {"copy 100/256", 0x0AC80AC8, 0xFA32FA32, w100, RasterOpCopy, 0x688D688D},
      {"copy weight 0", 0x12345678, 0xFFFFFFFF, 0.0f, RasterOpCopy, 0x12345678},
      {"copy negative", 0x12345678, 0xFFFFFFFF, -0.5f, RasterOpCopy, 0x12345678},
      // Add saturates per byte, alpha included.
      {"add", 0xF0F08020, 0x20201090, 1.0f, RasterOpAdd, 0xFFFF90B0},
      {"add 1/2", 0x10101010, 0x03FF0501, 0.5f, RasterOpAdd, 0x118F1210},
      // 255 * (255 * 256) / 65536 = 254; 128 * 128 * 256 / 65536 = 64
      {"multiply", 0xFFFFFFFF, 0xFFFFFFFF, 1.0f, RasterOpMultiply, 0xFEFEFEFE},
      {"multiply mixed", 0xFF80C8FF, 0xFF8000FF, 1.0f, RasterOpMultiply, 0xFE4000FE},
      // 200 * (100 * 128 + 128 * 256) / 65536 = 139
      {"multiply 1/2", 0x00C80000, 0x00640000, 0.5f, RasterOpMultiply, 0x008B0000},
      // v = 256 - S: 100 * 256 / 128 = 200; S = 255 gives v = 1, so D * 256 saturates; S = 0 keeps D.
      {"dodge", 0x6400C864, 0x00FF8080, 1.0f, RasterOpDodge, 0x6400FFC8},
      {"dodge v = 1", 0x00000001, 0x000000FF, 1.0f, RasterOpDodge, 0x000000FF},
      // T = S * 256: (((32768 - 51200) * 100 / 256) + 51200) * 100 / 32768 = 134; S = 50 gives 62
      {"overlay", 0xFF806464, 0xFF80C832, 1.0f, RasterOpOverlay, 0xFF80863E},
      // HSV: (200, 100, 50) has hue 21, saturation 191, value 200 and comes back with green 99; the
      // alpha becomes the source alpha.
      {"hsv neutral", 0xFFC86432, 0x80808080, 1.0f, RasterOpHsvAdjust, 0x80C86332},
      {"hsv neutral red", 0x12FF0000, 0x40808080, 1.0f, RasterOpHsvAdjust, 0x40FF0000},
      // Red 255 turns the hue by 190: from 0 to the cyan side (0, 255, 247).
      {"hsv hue", 0xFFFF0000, 0xFFFF8080, 1.0f, RasterOpHsvAdjust, 0xFF00FFF7},
      // Green 255 adds 254 to a grey's saturation: hue 256 gives (0, 0, 100).
      {"hsv saturation", 0xFF646464, 0x1180FF80, 1.0f, RasterOpHsvAdjust, 0x11000064},
      {"operator 6", 0x12345678, 0xFFFFFFFF, 1.0f, 6, 0x12345678},
      {"channel mode", 0x12345678, 0xFFFFFFFF, 1.0f, 0xF3, 0x12345678},
  };
  for (const Case& c : cases) EXPECT_EQ(Blend(c.destination, c.source, c.weight, c.mode), c.expected) << c.what;
}

TEST(RasterOperators, WithAlphaForms)
{
  const int alpha = RasterModeUseAlpha;
  const Case cases[] = {
      {"copy alpha 0", 0x11223344, 0x00FFFFFF, 1.0f, alpha | RasterOpCopy, 0x11223344},
      {"copy alpha 255", 0x11223344, 0xFFABCDEF, 1.0f, alpha | RasterOpCopy, 0xFFABCDEF},
      // Full strength, k = 127: 200 + (0 - 200) * 127 / 256 = 101, 255 * 127 / 256 = 126, and alpha
      // 129 + (0 - 129) * 127 / 256 = 66.
      {"copy alpha 128", 0x0000FF64, 0x80C80064, 1.0f, alpha | RasterOpCopy, 0x42657E64},
      // t = 129 * 128 / 256 = 64, then the plain copy at 64.
      {"copy alpha 128 at 1/2", 0x0000FF64, 0x80C80064, 0.5f, alpha | RasterOpCopy, 0x2032BF64},
      {"add alpha 0", 0x10101010, 0x00FFFFFF, 1.0f, alpha | RasterOpAdd, 0x10101010},
      // t = 128: 16 + 127 / 2, 16 + 255 / 2, 16 + 64 / 2, 16 + 2 / 2
      {"add alpha 127", 0x10101010, 0x7FFF4002, 1.0f, alpha | RasterOpAdd, 0x4F8F3011},
      {"multiply alpha 0", 0xFFFFFFFF, 0x00000000, 1.0f, alpha | RasterOpMultiply, 0xFFFFFFFF},
      // Overlay still applies under alpha 0, at t = 1: (((32768 - 32640) * 255 / 256) + 32640) * 255
      // / 32768 = 254.
      {"overlay alpha 0", 0x00FFFFFF, 0x00000000, 1.0f, alpha | RasterOpOverlay, 0x00FEFEFE},
      {"hsv alpha 0", 0xFFC86432, 0x00808080, 1.0f, alpha | RasterOpHsvAdjust, 0x00C86332},
      {"mode 0x10006", 0x12345678, 0xFFFFFFFF, 1.0f, alpha | 6, 0x12345678},
      {"mode 7", 0x12345678, 0xFFFFFFFF, 1.0f, 7, 0x12345678},
  };
  for (const Case& c : cases) EXPECT_EQ(Blit(c.destination, c.source, c.weight, c.mode), c.expected) << c.what;
}

TEST(RasterOperators, BlitsApplyThePlainFormsToo)
{
  // The same operators as RasterBlendPixel, including the alpha byte.
  EXPECT_EQ(Blit(0xFFFFFFFF, 0xFFFFFFFF, 1.0f, RasterOpMultiply), 0xFEFEFEFEu);
  EXPECT_EQ(Blit(0x0AC80AC8, 0xFA32FA32, 100.0f / 256.0f, RasterOpCopy), 0x688D688Du);
  EXPECT_EQ(Blit(0xFF000000, 0x00FF0101, 0.5f, RasterOpCopy), 0x7F7F0000u);  // whole-pixel average
}

}  // namespace
