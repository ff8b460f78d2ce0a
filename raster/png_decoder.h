// PNG decoding into 32-bit bitmaps: from a resource of a module, from memory and from a file.
// Every kind of PNG arrives as straight-alpha RasterPixels, 8 bits a channel; images without
// transparency get alpha 255; no gamma or colour-space conversion is applied.
// With a target bitmap the decoder resizes it to the image and returns it; without one it returns
// a new RasterMemBitmap (row alignment 4) that the caller owns. Any failure returns null and leaves
// nothing behind; a bitmap the decoder created is deleted, a target is left to its owner (with
// unspecified pixels). Data that ends after the last image row still decodes.
#pragma once

#include <cstddef>
#include <cstdint>

class RasterBitmap;

// The resource of type "PNG" with that id in the module (the library's own handle).
RasterBitmap* RasterDecodePngResource(void* module, std::uint16_t id, RasterBitmap* target);
RasterBitmap* RasterDecodePngMemory(const void* data, std::size_t size, RasterBitmap* target);
// The path is 8-bit text, UTF-8 where it is not plain ASCII.
RasterBitmap* RasterDecodePngFile(const char* path, RasterBitmap* target);
