// libpng reports errors by jumping back to the recovery point in DecodePng. Nothing with a
// destructor is alive in the frames that jump crosses, and what must be released after a jump
// (the bitmap made here and the row-pointer array) is held in volatile fields.
#include "raster/png_decoder.h"

#include "platform/file_open.h"
#include "platform/win32.h"
#include "raster/decode_target.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::size_t kSignatureBytes = 8;

struct MemoryReader {
  const unsigned char* next;
  std::size_t remaining;
};

// Reading past the end yields zero bytes rather than an error of its own: data that stops after
// the image rows then decodes, and data that stops inside them fails in libpng's checks.
void ReadFromMemory(png_structp png, png_bytep destination, png_size_t length)
{
  auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  std::memset(destination, 0, length);
  const std::size_t count = length < reader->remaining ? length : reader->remaining;
  if (count == 0) return;
  std::memcpy(destination, reader->next, count);
  reader->next += count;
  reader->remaining -= count;
}

void AttachMemory(png_structp png, void* reader) { png_set_read_fn(png, reader, ReadFromMemory); }

void AttachFile(png_structp png, void* file) { png_init_io(png, static_cast<std::FILE*>(file)); }

// libpng's own handlers would print to the standard error stream; a plug-in stays silent.
void JumpOnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void IgnoreWarning(png_structp, png_const_charp) {}

// What a jump back to the recovery point must release.
struct Owned {
  RasterBitmap* volatile created = nullptr;
  png_bytep* volatile rows = nullptr;
};

// Every row arrives as 8-bit samples in the order alpha, red, green, blue.
void RequestArgbRows(png_structp png, png_infop info, int bitDepth, int colourType)
{
  if (colourType == PNG_COLOR_TYPE_PALETTE || (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8))
    png_set_expand(png);
  const bool hasTrns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  if (hasTrns) png_set_tRNS_to_alpha(png);
  if (bitDepth == 16) png_set_strip_16(png);
  if (bitDepth < 8) png_set_packing(png);
  if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  const bool hasAlpha = hasTrns || (colourType & PNG_COLOR_MASK_ALPHA) != 0;
  if (hasAlpha)
    png_set_swap_alpha(png);
  else
    png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
}

// From the header to the last image row. A libpng error leaves by a jump; the bitmap and row
// array are recorded in *owned as soon as they exist.
RasterBitmap* ReadRows(png_structp png, png_infop info, RasterBitmap* target, Owned* owned)
{
  png_read_info(png, info);
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colourType = 0, interlace = 0, compression = 0, filter = 0;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, &interlace, &compression, &filter);
  RequestArgbRows(png, info, bitDepth, colourType);

  // libpng holds both sides to 31 bits, so they fit an int.
  const int w = static_cast<int>(width);
  const int h = static_cast<int>(height);
  RasterBitmap* bitmap = RasterDecodeTarget(target, w, h);
  if (!bitmap) return nullptr;
  if (bitmap != target) owned->created = bitmap;

  auto* rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * static_cast<std::size_t>(h)));
  if (!rows) return nullptr;
  owned->rows = rows;
  for (int y = 0; y < h; ++y) rows[y] = reinterpret_cast<png_bytep>(RasterDecodedRow(bitmap, y));

  png_read_image(png, rows);
  return bitmap;
}

// The decoded bytes of each pixel, alpha, red, green, blue, become one RasterPixel in place.
void ConvertArgbBytes(RasterBitmap* bitmap)
{
  const int width = bitmap->Width();
  for (int y = 0; y < bitmap->Height(); ++y) {
    RasterPixel* pixel = RasterDecodedRow(bitmap, y);
    for (int x = 0; x < width; ++x) {
      unsigned char b[4];
      std::memcpy(b, &pixel[x], 4);
      pixel[x] = RasterPackPixel(b[0], b[1], b[2], b[3]);
    }
  }
}

RasterBitmap* DecodePng(void (*attach)(png_structp, void*), void* source, RasterBitmap* target)
{
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpOnError, IgnoreWarning);
  if (!png) return nullptr;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return nullptr;
  }

  Owned owned;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    std::free(owned.rows);
    delete owned.created;
    return nullptr;
  }

  attach(png, source);
  RasterBitmap* bitmap = ReadRows(png, info, target, &owned);
  png_destroy_read_struct(&png, &info, nullptr);
  if (bitmap)
    ConvertArgbBytes(bitmap);
  else
    delete owned.created;
  std::free(owned.rows);
  return bitmap;
}

}  // namespace

RasterBitmap* RasterDecodePngResource(void* module, std::uint16_t id, RasterBitmap* target)
{
  const HMODULE handle = static_cast<HMODULE>(module);
  HRSRC resource = FindResourceA(handle, MAKEINTRESOURCEA(id), "PNG");
  if (!resource) return nullptr;
  const auto size = SizeofResource(handle, resource);
  if (size < kSignatureBytes) return nullptr;
  HGLOBAL loaded = LoadResource(handle, resource);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return nullptr;
  return RasterDecodePngMemory(data, size, target);
}

RasterBitmap* RasterDecodePngMemory(const void* data, std::size_t size, RasterBitmap* target)
{
  if (!data || size < kSignatureBytes) return nullptr;
  auto* bytes = static_cast<png_const_bytep>(data);
  if (png_sig_cmp(bytes, 0, kSignatureBytes) != 0) return nullptr;
  MemoryReader reader{bytes, size};
  return DecodePng(AttachMemory, &reader, target);
}

RasterBitmap* RasterDecodePngFile(const char* path, RasterBitmap* target)
{
  if (!path) return nullptr;
  std::FILE* file = PlatformOpenFileForReading(path);
  if (!file) return nullptr;
  RasterBitmap* bitmap = DecodePng(AttachFile, file, target);
  std::fclose(file);
  return bitmap;
}
