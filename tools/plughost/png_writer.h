// Writes a raster bitmap as an 8-bit RGBA PNG file through a PendingFile; a HostError on failure.
#pragma once

#include <string>

class RasterBitmap;

void WritePng(const std::string& path, RasterBitmap& bitmap);
