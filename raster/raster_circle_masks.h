// The fixed coverage masks of the small circles (radii 2, 2.5, 3, 3.5 and 4): square, side
// 2 * radius + 1, a one-pixel ring of the radius centred in the mask. The aliased masks are 0 or 255;
// the antialiased ones hold each pixel's share of the ring. Internal to the library.
#pragma once

#include <cstdint>

struct RasterCircleMask {
  int side;
  const uint8_t* coverage;  // side rows of side bytes
};

// False for radii without a fixed mask.
bool RasterFindCircleMask(float radius, bool antialias, RasterCircleMask* mask);
