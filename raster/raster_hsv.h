// The integer hue/saturation/value conversion behind the HSV-adjust operator: hue 0-383 in six sectors
// of 64, saturation and value 0-255. A grey pixel has hue 256 and saturation 0. Internal to the library.
#pragma once

#include "raster/raster_pixel.h"

struct RasterHsv {
  int hue;
  int saturation;
  int value;
};

RasterHsv RasterRgbToHsv(int red, int green, int blue);
// Red, green and blue of the colour (low 8 bits each); the alpha byte is 0.
RasterPixel RasterHsvToRgb(const RasterHsv& hsv);
