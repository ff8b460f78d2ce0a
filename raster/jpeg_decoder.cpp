// libjpeg reports errors through the error manager, which jumps back to the recovery point in
// DecodeJpeg. Nothing with a destructor is alive in the frames that jump crosses; the bitmap made
// here is held in a volatile variable so that it can be deleted after a jump.
#include "raster/jpeg_decoder.h"

#include "platform/file_open.h"
#include "platform/win32.h"
#include "raster/decode_target.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

namespace {

constexpr std::size_t kShortestResource = 8;

struct ErrorManager {
  jpeg_error_mgr base;  // first, so libjpeg's pointer to it also points at the whole
  std::jmp_buf recovery;
};

void JumpOnError(j_common_ptr decompressor)
{
  std::longjmp(reinterpret_cast<ErrorManager*>(decompressor->err)->recovery, 1);
}

// A plug-in stays silent: warnings and traces go nowhere.
void IgnoreMessage(j_common_ptr, int) {}
void IgnoreOutput(j_common_ptr) {}
void FormatNothing(j_common_ptr, char* buffer) { buffer[0] = '\0'; }

void ResetErrors(j_common_ptr decompressor)
{
  decompressor->err->num_warnings = 0;
  decompressor->err->msg_code = 0;
}

// The memory source: all the data is in the buffer from the start.
void SourceNothing(j_decompress_ptr) {}

// Asked for more than there is: an end-of-image marker, so truncated data ends the image instead
// of failing it.
boolean SupplyEndOfImage(j_decompress_ptr decompressor)
{
  static const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};
  decompressor->src->next_input_byte = kEndOfImage;
  decompressor->src->bytes_in_buffer = sizeof kEndOfImage;
  return TRUE;
}

void SkipData(j_decompress_ptr decompressor, long count)
{
  if (count <= 0) return;
  jpeg_source_mgr* source = decompressor->src;
  const std::size_t skipped = static_cast<unsigned long>(count) < source->bytes_in_buffer
                                  ? static_cast<std::size_t>(count)
                                  : source->bytes_in_buffer;
  source->next_input_byte += skipped;
  source->bytes_in_buffer -= skipped;
}

struct MemorySpan {
  const JOCTET* data;
  std::size_t size;
};

void AttachMemory(j_decompress_ptr decompressor, void* span)
{
  const auto* memory = static_cast<const MemorySpan*>(span);
  auto* source = static_cast<jpeg_source_mgr*>((*decompressor->mem->alloc_small)(
      reinterpret_cast<j_common_ptr>(decompressor), JPOOL_PERMANENT, sizeof(jpeg_source_mgr)));
  source->next_input_byte = memory->data;
  source->bytes_in_buffer = memory->size;
  source->init_source = SourceNothing;
  source->fill_input_buffer = SupplyEndOfImage;
  source->skip_input_data = SkipData;
  source->resync_to_restart = jpeg_resync_to_restart;
  source->term_source = SourceNothing;
  decompressor->src = source;
}

void AttachFile(j_decompress_ptr decompressor, void* file) { jpeg_stdio_src(decompressor, static_cast<std::FILE*>(file)); }

void ConvertScanline(const JSAMPLE* samples, int components, int width, RasterPixel* row)
{
  if (components == 3) {
    for (int x = 0; x < width; ++x, samples += 3) row[x] = RasterPackPixel(0xFF, samples[0], samples[1], samples[2]);
  } else if (components == 1) {
    for (int x = 0; x < width; ++x) row[x] = 0xFF000000u + samples[x] * 0x010101u;
  } else {
    std::memset(row, 0, sizeof(RasterPixel) * static_cast<std::size_t>(width));
  }
}

// From the header to the last scanline. A libjpeg error leaves by a jump; a bitmap made here is
// recorded in *created as soon as it exists.
RasterBitmap* ReadScanlines(j_decompress_ptr decompressor, RasterBitmap* target, RasterBitmap* volatile* created)
{
  jpeg_read_header(decompressor, TRUE);
  jpeg_start_decompress(decompressor);

  const int width = static_cast<int>(decompressor->output_width);
  const int height = static_cast<int>(decompressor->output_height);
  const int components = decompressor->output_components;
  JSAMPARRAY scanline = (*decompressor->mem->alloc_sarray)(
      reinterpret_cast<j_common_ptr>(decompressor), JPOOL_IMAGE,
      decompressor->output_width * static_cast<JDIMENSION>(components), 1);

  RasterBitmap* bitmap = RasterDecodeTarget(target, width, height);
  if (!bitmap) return nullptr;
  if (bitmap != target) *created = bitmap;

  while (decompressor->output_scanline < decompressor->output_height) {
    const int y = static_cast<int>(decompressor->output_scanline);
    // The source never suspends, so no line means the library cannot go on.
    if (jpeg_read_scanlines(decompressor, scanline, 1) != 1) return nullptr;
    ConvertScanline(scanline[0], components, width, RasterDecodedRow(bitmap, y));
  }
  return bitmap;
}

RasterBitmap* DecodeJpeg(void (*attach)(j_decompress_ptr, void*), void* source, RasterBitmap* target)
{
  jpeg_decompress_struct decompressor;
  std::memset(&decompressor, 0, sizeof decompressor);  // so destroying before creation is harmless
  ErrorManager errors;
  std::memset(&errors, 0, sizeof errors);
  errors.base.error_exit = JumpOnError;
  errors.base.emit_message = IgnoreMessage;
  errors.base.output_message = IgnoreOutput;
  errors.base.format_message = FormatNothing;
  errors.base.reset_error_mgr = ResetErrors;
  decompressor.err = &errors.base;

  RasterBitmap* volatile created = nullptr;
  if (setjmp(errors.recovery)) {
    jpeg_destroy_decompress(&decompressor);
    delete created;
    return nullptr;
  }

  jpeg_create_decompress(&decompressor);
  attach(&decompressor, source);
  RasterBitmap* bitmap = ReadScanlines(&decompressor, target, &created);
  if (bitmap) jpeg_finish_decompress(&decompressor);
  jpeg_destroy_decompress(&decompressor);
  if (!bitmap) delete created;
  return bitmap;
}

}  // namespace

RasterBitmap* RasterDecodeJpegResource(void* module, std::uint16_t id, RasterBitmap* target)
{
  const HMODULE handle = static_cast<HMODULE>(module);
  HRSRC resource = FindResourceA(handle, MAKEINTRESOURCEA(id), "JPG");
  if (!resource) return nullptr;
  const auto size = SizeofResource(handle, resource);
  if (size < kShortestResource) return nullptr;
  HGLOBAL loaded = LoadResource(handle, resource);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return nullptr;
  return RasterDecodeJpegMemory(data, size, target);
}

RasterBitmap* RasterDecodeJpegMemory(const void* data, std::size_t size, RasterBitmap* target)
{
  if (!data) return nullptr;
  MemorySpan span{static_cast<const JOCTET*>(data), size};
  return DecodeJpeg(AttachMemory, &span, target);
}

RasterBitmap* RasterDecodeJpegFile(const char* path, RasterBitmap* target)
{
  if (!path) return nullptr;
  std::FILE* file = PlatformOpenFileForReading(path);
  if (!file) return nullptr;
  RasterBitmap* bitmap = DecodeJpeg(AttachFile, file, target);
  std::fclose(file);
  return bitmap;
}
