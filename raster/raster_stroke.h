// One-pixel outlines: lines, circles and arcs in a colour, through the plain operator in the mode's low
// byte (the mode's flags play no part) at the call's weight, optionally antialiased. Coordinates are
// image pixels with y growing downward; arc angles are radians clockwise from 12 o'clock. A null
// bitmap, a zero weight or an operator above 5 draws nothing, and nothing is drawn outside the bitmap.
#pragma once

#include "raster/raster_bitmap.h"

// Clipped to the bitmap; horizontal, vertical and 45-degree lines have their own loops, other lines
// are stepped from both ends toward the middle so they come out symmetric.
void RasterStrokeLine(RasterBitmap* bitmap, int x1, int y1, int x2, int y2, RasterPixel colour, float weight,
                      int mode, bool antialias);

// Radii of exactly 2, 2.5, 3, 3.5 and 4 are drawn from fixed coverage masks whose top-left corner is
// at (cx - radius, cy - radius).
void RasterStrokeCircle(RasterBitmap* bitmap, float cx, float cy, float radius, RasterPixel colour, float weight,
                        int mode, bool antialias);

// The arc from start to end (end > start); a span of 2 pi or more draws the whole circle.
void RasterStrokeArc(RasterBitmap* bitmap, float cx, float cy, float radius, float startAngle, float endAngle,
                     RasterPixel colour, float weight, int mode, bool antialias);
