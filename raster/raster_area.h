// Single-pixel and rectangle operations. All take the destination bitmap first; a null bitmap, one
// without pixels or a rectangle clipped to nothing draws nothing. Only the operator byte of the mode
// counts, except that RasterFillArea scales its weight by the colour's alpha under RasterModeUseAlpha.
// A copy (operator 0) at weight 1, 3/4, 1/2 or 1/4 mixes whole pixels without per-channel arithmetic.
#pragma once

#include <cstdint>

#include "raster/raster_bitmap.h"

// Composites colour onto pixel (x, y) with the plain operator.
void RasterBlendPixel(RasterBitmap* bitmap, int x, int y, RasterPixel colour, float weight, int mode);

// The pixel at (x, y), or 0 outside the bitmap or when it has no pixels.
RasterPixel RasterReadPixel(RasterBitmap* bitmap, int x, int y);

// Composites colour onto every pixel of the rectangle. The alpha byte moves toward the integer weight
// itself, not toward the colour's alpha.
void RasterFillArea(RasterBitmap* bitmap, int x, int y, int width, int height, RasterPixel colour, float weight,
                    int mode);

// Every pixel P of the rectangle becomes (P & andMask) | orValue.
void RasterMaskArea(RasterBitmap* bitmap, int x, int y, int width, int height, RasterPixel andMask,
                    RasterPixel orValue);

// Draws colour through a coverage mask of maskHeight rows of maskWidth bytes placed at (x, y): byte c
// draws with weight w * c / 256, byte 0 leaves the pixel alone.
void RasterCompositeCoverage(RasterBitmap* bitmap, int x, int y, RasterPixel colour, const uint8_t* coverage,
                             int maskWidth, int maskHeight, float weight, int mode);
