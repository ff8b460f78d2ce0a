#include "raster/raster_hsv.h"

#include <array>
#include <cstdint>

namespace {

// Rcp[x] = 65536 / x - 1, Rcp[0] = 0: the divisions of the conversion become multiplications.
constexpr std::array<uint16_t, 256> MakeReciprocals()
{
  std::array<uint16_t, 256> table{};
  for (int x = 1; x < 256; ++x) table[x] = static_cast<uint16_t>(65536 / x - 1);
  return table;
}
constexpr std::array<uint16_t, 256> kRcp = MakeReciprocals();

}  // namespace

RasterHsv RasterRgbToHsv(int r, int g, int b)
{
  int value, base, delta, diff;
  if (g > r) {
    if (g > b) {
      value = g, base = 128, delta = g - (r < b ? r : b), diff = b - r;
    } else {
      value = b, base = 256, delta = b - r, diff = r - g;
    }
  } else if (r > b) {
    if (g < b)
      value = r, base = 383, delta = r - g, diff = g - b;
    else
      value = r, base = 0, delta = r - b, diff = g - b;
  } else {
    value = b, base = 256, delta = b - (r < g ? r : g), diff = r - g;
  }
  RasterHsv hsv;
  hsv.hue = base + (kRcp[delta] + 1) * diff / 1024;
  hsv.saturation = kRcp[value] * delta / 256;
  hsv.value = value;
  return hsv;
}

RasterPixel RasterHsvToRgb(const RasterHsv& hsv)
{
  const int h = hsv.hue, sat = hsv.saturation, v = hsv.value;
  const int m = (256 - sat) * v / 256;
  const auto f = [v, sat](int x) { return v * (16384 - x * sat) / 16384; };
  int r, g, b;
  if (h < 64)
    r = v, g = f(64 - h), b = m;
  else if (h < 128)
    r = f(h - 64), g = v, b = m;
  else if (h < 192)
    r = m, g = v, b = f(192 - h);
  else if (h < 256)
    r = m, g = f(h - 192), b = v;
  else if (h < 320)
    r = f(320 - h), g = m, b = v;
  else
    r = v, g = m, b = f(h - 320);
  return RasterPackPixel(0, r, g, b);
}
