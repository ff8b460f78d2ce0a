// JPEG decoding into 32-bit bitmaps: from a resource of a module, from memory and from a file.
// Colour images arrive as RasterPixels with alpha 255, grey images as grey pixels with alpha 255;
// images of any other component count (CMYK) come out as a bitmap of the right size, all zero.
// Data that ends early is completed with an end-of-image marker, so the rows that were not in the
// data come out as the JPEG library completes them.
// Target bitmaps, ownership and failures as for the PNG decoders: null on any failure, nothing
// left behind.
#pragma once

#include <cstddef>
#include <cstdint>

class RasterBitmap;

// The resource of type "JPG" with that id in the module (the library's own handle).
RasterBitmap* RasterDecodeJpegResource(void* module, std::uint16_t id, RasterBitmap* target);
RasterBitmap* RasterDecodeJpegMemory(const void* data, std::size_t size, RasterBitmap* target);
// The path is 8-bit text, UTF-8 where it is not plain ASCII.
RasterBitmap* RasterDecodeJpegFile(const char* path, RasterBitmap* target);
