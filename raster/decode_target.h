// The bitmap an image decoder writes into, shared by the PNG and JPEG decoders.
// RasterDecodeTarget gives the caller's target resized to the image, or a new RasterMemBitmap of the
// image's size (row alignment 4); null when that bitmap does not end up holding exactly the image's
// size with pixels behind it, in which case a bitmap made here is already deleted again and a
// target is left to its owner.
#pragma once

#include "raster/raster_bitmap.h"

RasterBitmap* RasterDecodeTarget(RasterBitmap* target, int width, int height);

// The first pixel of image row y (counted from the top) in either row order.
RasterPixel* RasterDecodedRow(RasterBitmap* bitmap, int y);
