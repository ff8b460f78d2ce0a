#include "raster/decode_target.h"

#include "raster/raster_mem_bitmap.h"

#include <cstddef>
#include <new>

namespace {

bool HoldsImage(RasterBitmap* bitmap, int width, int height)
{
  return bitmap->Width() == width && bitmap->Height() == height && bitmap->Bits() != nullptr &&
         bitmap->RowSpan() >= width;
}

}  // namespace

RasterBitmap* RasterDecodeTarget(RasterBitmap* target, int width, int height)
{
  if (width <= 0 || height <= 0) return nullptr;
  if (target) {
    target->Resize(width, height);
    return HoldsImage(target, width, height) ? target : nullptr;
  }
  RasterBitmap* created = new (std::nothrow) RasterMemBitmap(width, height, 4);
  if (created && !HoldsImage(created, width, height)) {
    delete created;
    created = nullptr;
  }
  return created;
}

RasterPixel* RasterDecodedRow(RasterBitmap* bitmap, int y)
{
  const int row = bitmap->IsBottomUp() ? bitmap->Height() - 1 - y : y;
  return bitmap->Bits() + static_cast<std::ptrdiff_t>(row) * bitmap->RowSpan();
}
