// The two records are constant data, linked at load time: the list exists before any code runs.
#include "raster/image_decoders.h"

#include "raster/jpeg_decoder.h"
#include "raster/png_decoder.h"

#include <cstring>

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Compares with a lower-case extension.
bool SameExtension(const char* suffix, const char* extension)
{
  for (; *suffix && *extension; ++suffix, ++extension) {
    if (LowerAscii(*suffix) != *extension) return false;
  }
  return *suffix == *extension;
}

template <int N>
bool HasExtension(const char* path, const char* const (&extensions)[N])
{
  const char* suffix = path;
  for (const char* at = path + std::strlen(path); at != path;) {
    --at;
    if (*at == '.' || *at == '/' || *at == '\\') {
      suffix = at;
      break;
    }
  }
  for (const char* extension : extensions) {
    if (SameExtension(suffix, extension)) return true;
  }
  return false;
}

const char* const kJpegExtensions[] = {".jpg", ".jpeg", ".jfif"};
const char* const kPngExtensions[] = {".png"};

RasterBitmap* DecodeJpegRecordFile(const char* path, bool checkExtension, RasterBitmap* target)
{
  if (!path || (checkExtension && !HasExtension(path, kJpegExtensions))) return nullptr;
  return RasterDecodeJpegFile(path, target);
}

RasterBitmap* DecodePngRecordFile(const char* path, bool checkExtension, RasterBitmap* target)
{
  if (!path || (checkExtension && !HasExtension(path, kPngExtensions))) return nullptr;
  return RasterDecodePngFile(path, target);
}

const char* JpegFilterText() { return "JPEG files (*.JPG;*.JPEG;*.JFIF)"; }
const char* PngFilterText() { return "PNG files (*.PNG)"; }

const RasterImageDecoder kJpegRecord{DecodeJpegRecordFile, JpegFilterText, nullptr};
const RasterImageDecoder kPngRecord{DecodePngRecordFile, PngFilterText, &kJpegRecord};

}  // namespace

const RasterImageDecoder* const RasterDecoderList = &kPngRecord;
