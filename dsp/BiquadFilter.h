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
  bool Bypassed() const { return gainDb == 0.0; }
  void Remember(double g) { gainDb = g; }
  double gainDb = 0.0;
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
    const double sum = static_cast<double>(b0_) * x + static_cast<double>(b1_) * x1_ +
                       static_cast<double>(b2_) * x2_ - static_cast<double>(a1_) * y1_ -
                       static_cast<double>(a2_) * y2_;
    float y = static_cast<float>(sum);
    const std::uint32_t exponent = biquad_detail::ExponentBits(y);
    if (exponent == 0) {
      y = 0.0f;  // zero of either sign and subnormals leave as +0
    } else if (exponent == 0x7F800000u) {
      // A NaN or infinity would otherwise circulate in the feedback path for ever.
      y1_ = y2_ = x1_ = x2_ = 0.0f;
      return y;
    }
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return y;
  }

  bool Bypassed() const { return biquad_detail::GainMemory<FlatBypass>::Bypassed(); }
  BiquadCoefficients Coefficients() const { return {b0_, b1_, b2_, a1_, a2_}; }
  BiquadState State() const { return {y1_, y2_, x1_, x2_}; }

 private:
  float b0_ = 0.0f, b1_ = 0.0f, b2_ = 0.0f;
  float a1_ = 0.0f, a2_ = 0.0f;
  float y1_ = 0.0f, y2_ = 0.0f;
  float x1_ = 0.0f, x2_ = 0.0f;
};

using BypassingBiquad = BiquadFilter<true>;  // Semtar and Baskel
using PlainBiquad = BiquadFilter<false>;     // Thorvin

extern template class BiquadFilter<true>;
extern template class BiquadFilter<false>;
