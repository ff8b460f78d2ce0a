#include "png_writer.h"

#include "host_error.h"
#include "pending_file.h"
#include "raster/raster_bitmap.h"

#include <png.h>

#include <cstring>
#include <vector>

void WritePng(const std::string& path, RasterBitmap& bitmap)
{
  const int width = bitmap.Width(), height = bitmap.Height();
  if (!bitmap.Bits() || width < 1 || height < 1)
    throw HostError("cannot write " + path + ": the image is empty");

  // Our pixels are blue, green, red, alpha in memory; top-down rows, whatever the bitmap's order.
  std::vector<RasterPixel> rows(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    const int stored = bitmap.IsBottomUp() ? height - 1 - y : y;
    std::memcpy(&rows[static_cast<std::size_t>(y) * width], bitmap.Bits() + static_cast<std::size_t>(stored) * bitmap.RowSpan(),
                sizeof(RasterPixel) * width);
  }

  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_BGRA;

  PendingFile file(path);
  if (!png_image_write_to_file(&image, file.TemporaryPath().c_str(), 0, rows.data(), 0, nullptr)) {
    std::string reason = image.message;
    png_image_free(&image);
    throw HostError("cannot write " + path + ": " + reason);
  }
  file.Commit();
}
