// Unscaled blits: a source rectangle composited at a destination point with the mode's operator and
// a weight, clipped to both bitmaps, honouring either storage order on both sides. A null bitmap, a
// weight of 0 or a mode that selects no operator draws nothing. Copies at weight 1 move rows as blocks.
#pragma once

#include "raster/raster_bitmap.h"

// Integer rectangle; right and bottom are exclusive.
struct RasterRect {
  int left;
  int top;
  int right;
  int bottom;
};

// Composites sourceRect of src (the whole source when null) with its top-left at (dstx, dsty). Modes
// 0xF0-0xFF copy one byte channel of each source pixel into one of the destination's, whatever the
// weight.
void RasterComposite(RasterBitmap* dst, RasterBitmap* src, int dstx, int dsty, const RasterRect* sourceRect,
                     float weight, int mode);

// RasterComposite with the rectangle (srcx, srcy, srcx + width, srcy + height).
void RasterCompositeArea(RasterBitmap* dst, RasterBitmap* src, int dstx, int dsty, int srcx, int srcy, int width,
                         int height, float weight, int mode);

// Resizes dst to the source's size and copies the whole source into it.
void RasterCopyImage(RasterBitmap* dst, RasterBitmap* src);
