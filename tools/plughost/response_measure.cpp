#include "response_measure.h"

#include "host_callback.h"
#include "hosted_plugin.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kFloorDb = -200.0;

// The impulse response is long enough once a tenth of a second of it carries less than this
// share of its energy (about -150 dB); it is never shorter than half a second nor longer than 20 s.
constexpr double kTailEnergyShare = 1e-15;
constexpr double kShortestSeconds = 0.5;
constexpr double kLongestSeconds = 20.0;

std::vector<double> LogFrequencies(double nyquist)
{
  std::vector<double> frequencies;
  for (int k = 0;; ++k) {
    double f = kResponseLowestHz * std::pow(10.0, static_cast<double>(k) / kResponsePointsPerDecade);
    if (f >= nyquist * (1.0 - 1e-9))
      break;
    frequencies.push_back(f);
  }
  frequencies.push_back(nyquist);
  return frequencies;
}

// |sum h[n] e^{-i w n}| in dB, with the rotation recomputed exactly every block so that rounding
// does not build up over long responses.
double GainDbAt(const std::vector<double>& response, double omega)
{
  constexpr std::size_t kExactEvery = 4096;
  double re = 0.0, im = 0.0;
  const double stepCos = std::cos(omega), stepSin = std::sin(omega);
  double c = 1.0, s = 0.0;
  for (std::size_t n = 0; n < response.size(); ++n) {
    if (n % kExactEvery == 0) {
      c = std::cos(omega * static_cast<double>(n));
      s = std::sin(omega * static_cast<double>(n));
    }
    re += response[n] * c;
    im -= response[n] * s;
    const double nextC = c * stepCos - s * stepSin;
    s = s * stepCos + c * stepSin;
    c = nextC;
  }
  const double magnitude = std::hypot(re, im);
  return magnitude > 0.0 ? std::fmax(kFloorDb, 20.0 * std::log10(magnitude)) : kFloorDb;
}

}  // namespace

ResponseCurve MeasureResponse(HostedPlugin& plugin, HostContext& host, Precision precision, int block)
{
  const double rate = host.sampleRate;
  BlockProcessor processor(plugin, host, precision, block);
  const int outputs = processor.Outputs();
  const int inputs = std::max(1, processor.Inputs());

  std::vector<std::vector<double>> in(inputs, std::vector<double>(block, 0.0));
  std::vector<std::vector<double>> out(outputs, std::vector<double>(block, 0.0));
  std::vector<std::vector<double>> response(outputs);

  const auto tailFrames = static_cast<std::size_t>(0.1 * rate);
  const auto shortest = static_cast<std::size_t>(kShortestSeconds * rate);
  const auto longest = static_cast<std::size_t>(kLongestSeconds * rate);

  plugin.StartProcessing();
  for (auto& channel : in)
    channel[0] = 1.0;
  std::vector<double> energy(outputs, 0.0);
  for (;;) {
    processor.Process(in, out, block);
    for (auto& channel : in)
      channel[0] = 0.0;
    for (int c = 0; c < outputs; ++c) {
      response[c].insert(response[c].end(), out[c].begin(), out[c].begin() + block);
      for (int i = 0; i < block; ++i)
        energy[c] += out[c][i] * out[c][i];
    }
    const std::size_t length = response[0].size();
    if (length >= longest)
      break;
    if (length < shortest)
      continue;
    bool settled = true;
    for (int c = 0; c < outputs && settled; ++c) {
      double tail = 0.0;
      for (std::size_t i = length - tailFrames; i < length; ++i)
        tail += response[c][i] * response[c][i];
      settled = tail <= kTailEnergyShare * energy[c];
    }
    if (settled)
      break;
  }
  plugin.StopProcessing();

  ResponseCurve curve;
  curve.sampleRate = rate;
  curve.frequencies = LogFrequencies(rate / 2.0);
  curve.impulseFrames = static_cast<int>(response[0].size());
  curve.gainDb.assign(outputs, std::vector<double>(curve.frequencies.size()));
  for (int c = 0; c < outputs; ++c) {
    // Channels with the same impulse response (the usual stereo effect) are evaluated once.
    if (c > 0 && response[c] == response[0]) {
      curve.gainDb[c] = curve.gainDb[0];
      continue;
    }
    for (std::size_t k = 0; k < curve.frequencies.size(); ++k)
      curve.gainDb[c][k] = GainDbAt(response[c], 2.0 * kPi * curve.frequencies[k] / rate);
  }
  return curve;
}

std::string ResponseCsv(const ResponseCurve& curve)
{
  std::string csv = "frequency_hz";
  for (std::size_t c = 0; c < curve.gainDb.size(); ++c)
    csv += ",gain_db_out" + std::to_string(c + 1);
  csv += "\n";
  char cell[64];
  for (std::size_t k = 0; k < curve.frequencies.size(); ++k) {
    std::snprintf(cell, sizeof cell, "%.4f", curve.frequencies[k]);
    csv += cell;
    for (const auto& channel : curve.gainDb) {
      std::snprintf(cell, sizeof cell, ",%.4f", channel[k]);
      csv += cell;
    }
    csv += "\n";
  }
  return csv;
}
