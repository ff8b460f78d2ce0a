// RasterPixel: one 32-bit pixel with alpha in bits 24-31, red 16-23, green 8-15, blue 0-7, so the bytes
// in memory are blue, green, red, alpha. Alpha is straight (colour is never premultiplied).
#pragma once

#include <cstdint>

using RasterPixel = uint32_t;

constexpr int RasterAlphaOf(RasterPixel p) { return static_cast<int>(p >> 24); }
constexpr int RasterRedOf(RasterPixel p) { return static_cast<int>((p >> 16) & 0xFF); }
constexpr int RasterGreenOf(RasterPixel p) { return static_cast<int>((p >> 8) & 0xFF); }
constexpr int RasterBlueOf(RasterPixel p) { return static_cast<int>(p & 0xFF); }

// Keeps the low 8 bits of each component, as every operator stores its results.
constexpr RasterPixel RasterPackPixel(int alpha, int red, int green, int blue)
{
  return (static_cast<RasterPixel>(alpha & 0xFF) << 24) | (static_cast<RasterPixel>(red & 0xFF) << 16) |
         (static_cast<RasterPixel>(green & 0xFF) << 8) | static_cast<RasterPixel>(blue & 0xFF);
}
