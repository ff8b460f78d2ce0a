// The response plot: gain in dB over a log frequency axis from 10 Hz to Nyquist, with decade and
// sub-decade grid lines, a dB grid, axis labels and a title, drawn with the raster library and
// written as PNG. The dB axis is symmetric about 0 dB and spans the curve with a little room
// (at least +-6 dB, at most +-60 dB; anything below is drawn at the bottom edge). A second
// output channel is drawn only when it differs from the first.
#pragma once

#include <string>

struct ResponseCurve;

// The title heads the plot; the subtitle (the settings) goes beneath it, set smaller when long.
void WriteResponsePlot(const std::string& path, const ResponseCurve& curve, const std::string& title,
                       const std::string& subtitle);
