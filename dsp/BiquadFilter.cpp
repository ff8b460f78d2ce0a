#include "dsp/BiquadFilter.h"

#include <cmath>

namespace {

constexpr double kPi = 3.141592653589793;

struct RawCoefficients {
  double b0, b1, b2, a0, a1, a2;
};

// The gain-bearing shapes round each raw coefficient to single precision as it is formed; this is
// what makes a 0 dB peaking design an exact identity (b0 == a0, b2 == a2). The rounded values are
// held as floats: a double-to-float-to-double round trip written inline was dropped for some
// lanes by the optimiser of one widely used compiler release.
struct RoundedCoefficients {
  float b0, b1, b2, a0, a1, a2;
};

RawCoefficients Widened(const RoundedCoefficients& r)
{
  return {r.b0, r.b1, r.b2, r.a0, r.a1, r.a2};
}

bool RawDesign(BiquadType type, double freq, double sampleRate, double q, double gainDb,
               bool bandwidthInOctaves, RawCoefficients* out)
{
  const double w0 = 2.0 * kPi * freq / sampleRate;
  const double sn = std::sin(w0);
  const double cs = std::cos(w0);
  const double alpha =
      bandwidthInOctaves ? sn * std::sinh(std::log(2.0) / 2.0 * q * w0 / sn) : sn / (2.0 * q);

  switch (type) {
    case BiquadType::LowPass:
      *out = {(1.0 - cs) / 2.0, 1.0 - cs, (1.0 - cs) / 2.0, 1.0 + alpha, -2.0 * cs, 1.0 - alpha};
      return true;
    case BiquadType::HighPass:
      *out = {(1.0 + cs) / 2.0, -(1.0 + cs), (1.0 + cs) / 2.0, 1.0 + alpha, -2.0 * cs, 1.0 - alpha};
      return true;
    case BiquadType::BandPassSkirt:
      *out = {sn / 2.0, 0.0, -sn / 2.0, 1.0 + alpha, -2.0 * cs, 1.0 - alpha};
      return true;
    case BiquadType::BandPassPeak:
      *out = {alpha, 0.0, -alpha, 1.0 + alpha, -2.0 * cs, 1.0 - alpha};
      return true;
    case BiquadType::Notch:
      *out = {1.0, -2.0 * cs, 1.0, 1.0 + alpha, -2.0 * cs, 1.0 - alpha};
      return true;
    case BiquadType::AllPass:
      *out = {1.0 - alpha, -2.0 * cs, 1.0 + alpha, 1.0 + alpha, -2.0 * cs, 1.0 - alpha};
      return true;
    case BiquadType::Peaking:
    case BiquadType::LowShelf:
    case BiquadType::HighShelf:
      break;
    default:
      return false;
  }

  const double A = std::pow(10.0, gainDb / 40.0);
  const double beta = std::sqrt(A) / q;  // the shelves take the fourth argument as it is
  auto single = [](double v) { return static_cast<float>(v); };
  RoundedCoefficients r;
  if (type == BiquadType::Peaking) {
    r = {single(1.0 + alpha * A), single(-2.0 * cs), single(1.0 - alpha * A),
         single(1.0 + alpha / A), single(-2.0 * cs), single(1.0 - alpha / A)};
  } else if (type == BiquadType::LowShelf) {
    r = {single(A * ((A + 1.0) - (A - 1.0) * cs + beta * sn)),
         single(2.0 * A * ((A - 1.0) - (A + 1.0) * cs)),
         single(A * ((A + 1.0) - (A - 1.0) * cs - beta * sn)),
         single((A + 1.0) + (A - 1.0) * cs + beta * sn),
         single(-2.0 * ((A - 1.0) + (A + 1.0) * cs)),
         single((A + 1.0) + (A - 1.0) * cs - beta * sn)};
  } else {
    r = {single(A * ((A + 1.0) + (A - 1.0) * cs + beta * sn)),
         single(-2.0 * A * ((A - 1.0) + (A + 1.0) * cs)),
         single(A * ((A + 1.0) + (A - 1.0) * cs - beta * sn)),
         single((A + 1.0) - (A - 1.0) * cs + beta * sn),
         single(2.0 * ((A - 1.0) - (A + 1.0) * cs)),
         single((A + 1.0) - (A - 1.0) * cs - beta * sn)};
  }
  *out = Widened(r);
  return true;
}

}  // namespace

template <bool FlatBypass>
void BiquadFilter<FlatBypass>::Design(BiquadType type, double freq, double sampleRate,
                                      double qOrBandwidth, double gainDb, bool bandwidthInOctaves)
{
  this->Remember(gainDb);

  RawCoefficients r;
  BiquadCoefficients c{1.0f, 0.0f, 0.0f, 0.0f, 0.0f};
  if (RawDesign(type, freq, sampleRate, qOrBandwidth, gainDb, bandwidthInOctaves, &r)) {
    const BiquadCoefficients designed{
        static_cast<float>(r.b0 / r.a0), static_cast<float>(r.b1 / r.a0),
        static_cast<float>(r.b2 / r.a0), static_cast<float>(r.a1 / r.a0),
        static_cast<float>(r.a2 / r.a0)};
    // A non-finite coefficient would turn every later sample into NaN: keep the identity instead.
    if (std::isfinite(designed.b0) && std::isfinite(designed.b1) && std::isfinite(designed.b2) &&
        std::isfinite(designed.a1) && std::isfinite(designed.a2)) {
      c = designed;
    }
  }
  mB0 = c.b0;
  mB1 = c.b1;
  mB2 = c.b2;
  mA1 = c.a1;
  mA2 = c.a2;
}

template class BiquadFilter<true>;
template class BiquadFilter<false>;
