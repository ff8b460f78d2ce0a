// Scaled and rotated blits. The source rectangle is in float pixels, the destination in integers; a
// negative destination width or height mirrors the image. Positions step in 16.16 fixed point,
// sampling is nearest-neighbour or, with RasterModeBilinear, bilinear; strong bilinear reductions
// (1.7 times or more both ways) average 3 x 3 or 5 x 5 blocks instead. Nothing outside the source is
// read. Floating point is used only to set each call up.
#pragma once

#include "raster/raster_bitmap.h"

void RasterCompositeScaled(RasterBitmap* dst, RasterBitmap* src, int dstx, int dsty, int dstw, int dsth, float srcx,
                           float srcy, float srcw, float srch, float weight, int mode);

// Maps the destination rectangle's centre to the source rectangle's centre moved by the centre
// offset, turned by angle (radians, clockwise in image coordinates). With clipToSource only the source
// rectangle is sampled, otherwise the whole source bitmap.
void RasterCompositeRotated(RasterBitmap* dst, RasterBitmap* src, int dstx, int dsty, int dstw, int dsth, float srcx,
                            float srcy, float srcw, float srch, float angle, bool clipToSource, float weight,
                            int mode, float centreOffsetX, float centreOffsetY);
