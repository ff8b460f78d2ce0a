#include "raster/raster_circle_masks.h"

namespace {

// Each pixel's share of the ring between radius - 1/2 and radius + 1/2 about the mask's centre, in
// 1/255; the aliased masks keep the pixels at least half covered.
constexpr uint8_t kAliasedRadius2[5 * 5] = {
    0, 255, 255, 255,   0,
  255,   0,   0,   0, 255,
  255,   0,   0,   0, 255,
  255,   0,   0,   0, 255,
    0, 255, 255, 255,   0,
};
constexpr uint8_t kSmoothRadius2[5 * 5] = {
   36, 195, 251, 195,  36,
  195, 119,   6, 119, 195,
  251,   6,   0,   6, 251,
  195, 119,   6, 119, 195,
   36, 195, 251, 195,  36,
};
constexpr uint8_t kAliasedRadius2_5[6 * 6] = {
    0, 255, 255, 255, 255,   0,
  255, 255,   0,   0, 255, 255,
  255,   0,   0,   0,   0, 255,
  255,   0,   0,   0,   0, 255,
  255, 255,   0,   0, 255, 255,
    0, 255, 255, 255, 255,   0,
};
constexpr uint8_t kSmoothRadius2_5[6 * 6] = {
    6, 146, 241, 241, 146,   6,
  146, 174,  21,  21, 174, 146,
  241,  21,   0,   0,  21, 241,
  241,  21,   0,   0,  21, 241,
  146, 174,  21,  21, 174, 146,
    6, 146, 241, 241, 146,   6,
};
constexpr uint8_t kAliasedRadius3[7 * 7] = {
    0,   0, 255, 255, 255,   0,   0,
    0, 255,   0,   0,   0, 255,   0,
  255,   0,   0,   0,   0,   0, 255,
  255,   0,   0,   0,   0,   0, 255,
  255,   0,   0,   0,   0,   0, 255,
    0, 255,   0,   0,   0, 255,   0,
    0,   0, 255, 255, 255,   0,   0,
};
constexpr uint8_t kSmoothRadius3[7 * 7] = {
    0,  90, 214, 253, 214,  90,   0,
   90, 219,  60,   4,  60, 219,  90,
  214,  60,   0,   0,   0,  60, 214,
  253,   4,   0,   0,   0,   4, 253,
  214,  60,   0,   0,   0,  60, 214,
   90, 219,  60,   4,  60, 219,  90,
    0,  90, 214, 253, 214,  90,   0,
};
constexpr uint8_t kAliasedRadius3_5[8 * 8] = {
    0,   0, 255, 255, 255, 255,   0,   0,
    0, 255,   0,   0,   0,   0, 255,   0,
  255,   0,   0,   0,   0,   0,   0, 255,
  255,   0,   0,   0,   0,   0,   0, 255,
  255,   0,   0,   0,   0,   0,   0, 255,
  255,   0,   0,   0,   0,   0,   0, 255,
    0, 255,   0,   0,   0,   0, 255,   0,
    0,   0, 255, 255, 255, 255,   0,   0,
};
constexpr uint8_t kSmoothRadius3_5[8 * 8] = {
    0,  42, 178, 245, 245, 178,  42,   0,
   42, 234, 109,  14,  14, 109, 234,  42,
  178, 109,   0,   0,   0,   0, 109, 178,
  245,  14,   0,   0,   0,   0,  14, 245,
  245,  14,   0,   0,   0,   0,  14, 245,
  178, 109,   0,   0,   0,   0, 109, 178,
   42, 234, 109,  14,  14, 109, 234,  42,
    0,  42, 178, 245, 245, 178,  42,   0,
};
constexpr uint8_t kAliasedRadius4[9 * 9] = {
    0,   0, 255, 255, 255, 255, 255,   0,   0,
    0, 255, 255,   0,   0,   0, 255, 255,   0,
  255, 255,   0,   0,   0,   0,   0, 255, 255,
  255,   0,   0,   0,   0,   0,   0,   0, 255,
  255,   0,   0,   0,   0,   0,   0,   0, 255,
  255,   0,   0,   0,   0,   0,   0,   0, 255,
  255, 255,   0,   0,   0,   0,   0, 255, 255,
    0, 255, 255,   0,   0,   0, 255, 255,   0,
    0,   0, 255, 255, 255, 255, 255,   0,   0,
};
constexpr uint8_t kSmoothRadius4[9 * 9] = {
    0,  11, 132, 223, 255, 223, 132,  11,   0,
   11, 200, 165,  41,   2,  41, 165, 200,  11,
  132, 165,   0,   0,   0,   0,   0, 165, 132,
  223,  41,   0,   0,   0,   0,   0,  41, 223,
  255,   2,   0,   0,   0,   0,   0,   2, 255,
  223,  41,   0,   0,   0,   0,   0,  41, 223,
  132, 165,   0,   0,   0,   0,   0, 165, 132,
   11, 200, 165,  41,   2,  41, 165, 200,  11,
    0,  11, 132, 223, 255, 223, 132,  11,   0,
};

struct MaskEntry {
  float radius;
  int side;
  const uint8_t* aliased;
  const uint8_t* smooth;
};

constexpr MaskEntry kMasks[] = {
    {2.0f, 5, kAliasedRadius2, kSmoothRadius2},       {2.5f, 6, kAliasedRadius2_5, kSmoothRadius2_5},
    {3.0f, 7, kAliasedRadius3, kSmoothRadius3},       {3.5f, 8, kAliasedRadius3_5, kSmoothRadius3_5},
    {4.0f, 9, kAliasedRadius4, kSmoothRadius4},
};

}  // namespace

bool RasterFindCircleMask(float radius, bool antialias, RasterCircleMask* mask)
{
  for (const MaskEntry& entry : kMasks) {
    if (radius == entry.radius) {
      mask->side = entry.side;
      mask->coverage = antialias ? entry.smooth : entry.aliased;
      return true;
    }
  }
  return false;
}
