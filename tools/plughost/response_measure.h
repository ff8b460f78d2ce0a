// The magnitude response of a plug-in, measured as a host hears it: a unit impulse on every
// input, the outputs recorded until they have died away, and the spectrum of that impulse
// response evaluated at log-spaced frequencies from 10 Hz to Nyquist (a direct Fourier sum at
// each frequency, so every point is exact rather than read off a bin grid).
#pragma once

#include "block_processor.h"

#include <string>
#include <vector>

class HostedPlugin;
struct HostContext;

struct ResponseCurve {
  double sampleRate = 0.0;
  std::vector<double> frequencies;             // Hz, ascending
  std::vector<std::vector<double>> gainDb;     // per output channel, one value per frequency
  int impulseFrames = 0;                       // length of the impulse response used
};

constexpr double kResponseLowestHz = 10.0;
constexpr int kResponsePointsPerDecade = 240;

// The plug-in must be configured for sampleRate and set up; it is started and stopped here.
ResponseCurve MeasureResponse(HostedPlugin& plugin, HostContext& host, Precision precision, int block);

// "frequency_hz,gain_db_out1,..." then one row per frequency.
std::string ResponseCsv(const ResponseCurve& curve);
