// A bank of peaking bands for two channels: one BiquadFilter per band per channel, held in one
// array in band order with the channels interleaved (section 2n is band n on the left, 2n + 1 on
// the right). Each channel runs as its own cascade from the top band down to band 0.
//
// Contract:
// - DesignBand() gives both channels of a band the same peaking design (bandwidth in octaves).
//   It skips the design when the band's four arguments are bit for bit those of its last design,
//   since the coefficients would come out identical; the output is that of designing every time.
// - Process() replaces nFrames samples of both outputs with the cascade output of the matching
//   input (rounded to single precision on the way in) times gain, and reports each channel's
//   largest finite absolute output (0 when there is none). It does not allocate. Inputs may be the
//   outputs (in place).
// - Nothing clears the signal state: redesigns change coefficients between blocks only.
#pragma once

#include "dsp/BiquadFilter.h"

#include <cmath>
#include <cstring>
#include <limits>

template <int NBands, bool FlatBypass>
class IPeakingBank {
public:
  static constexpr int kBands = NBands;
  static constexpr int kSections = 2 * NBands;
  using Section = BiquadFilter<FlatBypass>;

  void DesignBand(int band, double freq, double sampleRate, double bandwidthOctaves, double gainDb)
  {
    const DesignArgs args{freq, sampleRate, bandwidthOctaves, gainDb};
    DesignMemo& memo = mMemo[band];
    if (memo.valid && std::memcmp(&memo.args, &args, sizeof args) == 0) return;
    memo.args = args;
    memo.valid = true;
    for (int channel = 0; channel < 2; ++channel)
      mSections[2 * band + channel].Design(BiquadType::Peaking, freq, sampleRate, bandwidthOctaves,
                                           gainDb, true);
  }

  void Process(const double* const* inputs, double* const* outputs, int nFrames, double gain,
               double peaks[2])
  {
    peaks[0] = peaks[1] = 0.0;
    // Sections are independent filters in series, so running each over a short chunk before the
    // next gives the same samples as running each sample through the whole cascade, and lets a
    // bypassed section cost one test per chunk.
    float chunk[kChunkFrames];
    for (int channel = 0; channel < 2; ++channel) {
      const double* in = inputs[channel];
      double* out = outputs[channel];
      double peak = 0.0;
      for (int start = 0; start < nFrames; start += kChunkFrames) {
        const int n = nFrames - start < kChunkFrames ? nFrames - start : kChunkFrames;
        for (int s = 0; s < n; ++s) chunk[s] = static_cast<float>(in[start + s]);
        for (int band = NBands - 1; band >= 0; --band) {
          Section& section = mSections[2 * band + channel];
          if (section.Bypassed()) continue;
          for (int s = 0; s < n; ++s) chunk[s] = section.ProcessSample(chunk[s]);
        }
        for (int s = 0; s < n; ++s) {
          const double y = static_cast<double>(chunk[s]) * gain;
          out[start + s] = y;
          // An infinite sample would hold the meter fed from the peak at infinity for good.
          const double magnitude = std::fabs(y);
          if (magnitude > peak && magnitude <= kLargest) peak = magnitude;
        }
      }
      peaks[channel] = peak;
    }
  }

  const Section& SectionAt(int index) const { return mSections[index]; }

private:
  static constexpr int kChunkFrames = 64;
  static constexpr double kLargest = std::numeric_limits<double>::max();

  struct DesignArgs {
    double freq, sampleRate, bandwidthOctaves, gainDb;
  };
  struct DesignMemo {
    DesignArgs args{};
    bool valid = false;
  };

  Section mSections[kSections];
  DesignMemo mMemo[NBands];
};
