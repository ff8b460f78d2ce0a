// One second-order IIR section in single precision, with its coefficient design.
//
// Contract:
// - Design() computes the five a0-normalised coefficients of one of nine classic shapes and never
//   touches the signal state. A design whose coefficients come out non-finite (a centre frequency
//   of 0 Hz or exactly half the sample rate, a zero a0, an unknown type) leaves an identity section.
// - ProcessSample() is Direct Form I: the five products are summed left to right in double from
//   the single-precision operands, then rounded to single. A zero or subnormal output leaves as
//   +0.0. A NaN or infinite output leaves as it is, and the section's state is cleared so that
//   the next sample filters normally again.
// - FlatBypass (fixed per type) adds the flat bypass: while the gain of the last design is
//   exactly 0 dB, samples pass through bit for bit and the state is frozen.
// Sections are plain values that own nothing; the constructor zeroes coefficients and state, and
// the bypassing variant starts out bypassed (0 dB) until its first design.
#pragma once

#include <cstdint>
#include <cstring>

enum class BiquadType : int {
  LowPass = 0,
  HighPass = 1,
  BandPassSkirt = 2,  // peak gain equals Q
  BandPassPeak = 3,   // 0 dB peak gain
  Notch = 4,
  AllPass = 5,
  Peaking = 6,
  LowShelf = 7,
  HighShelf = 8,
};

struct BiquadCoefficients {
  float b0, b1, b2, a1, a2;
};

struct BiquadState {
  float y1, y2, x1, x2;
};

namespace biquad_detail {

// The gain of the last design exists only in the bypassing variant.
template <bool FlatBypass>
struct GainMemory {
  bool Bypassed() const { return mGainDb == 0.0; }
  void Remember(double gainDb) { mGainDb = gainDb; }
  double mGainDb = 0.0;
};

template <>
struct GainMemory<false> {
  static constexpr bool Bypassed() { return false; }
  void Remember(double) {}
};

inline std::uint32_t ExponentBits(float v)
{
  std::uint32_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  return bits & 0x7F800000u;
}

}  // namespace biquad_detail

template <bool FlatBypass>
class BiquadFilter : private biquad_detail::GainMemory<FlatBypass> {
public:
  static constexpr bool kFlatBypass = FlatBypass;

  BiquadFilter() = default;

  // qOrBandwidth is a bandwidth in octaves when bandwidthInOctaves is true, otherwise a Q.
  void Design(BiquadType type, double freq, double sampleRate, double qOrBandwidth, double gainDb,
              bool bandwidthInOctaves);

  float ProcessSample(float x)
  {
    if (this->Bypassed()) return x;
    const double sum = static_cast<double>(mB0) * x + static_cast<double>(mB1) * mX1 +
                       static_cast<double>(mB2) * mX2 - static_cast<double>(mA1) * mY1 -
                       static_cast<double>(mA2) * mY2;
    float y = static_cast<float>(sum);
    const std::uint32_t exponent = biquad_detail::ExponentBits(y);
    if (exponent == 0) {
      y = 0.0f;  // zero of either sign and subnormals leave as +0
    } else if (exponent == 0x7F800000u) {
      // A NaN or infinity would otherwise circulate in the feedback path for ever.
      mY1 = mY2 = mX1 = mX2 = 0.0f;
      return y;
    }
    mX2 = mX1;
    mX1 = x;
    mY2 = mY1;
    mY1 = y;
    return y;
  }

  bool Bypassed() const { return biquad_detail::GainMemory<FlatBypass>::Bypassed(); }
  BiquadCoefficients Coefficients() const { return {mB0, mB1, mB2, mA1, mA2}; }
  BiquadState State() const { return {mY1, mY2, mX1, mX2}; }

private:
  float mB0 = 0.0f, mB1 = 0.0f, mB2 = 0.0f;
  float mA1 = 0.0f, mA2 = 0.0f;
  float mY1 = 0.0f, mY2 = 0.0f;
  float mX1 = 0.0f, mX2 = 0.0f;
};

using BypassingBiquad = BiquadFilter<true>;  // Semtar and Baskel
using PlainBiquad = BiquadFilter<false>;     // Thorvin

extern template class BiquadFilter<true>;
extern template class BiquadFilter<false>;
