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
//   outputs (in place). Both channels of a band always share one design.
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
    mActiveStale = true;
  }

  void Process(const double* const* inputs, double* const* outputs, int nFrames, double gain,
               double peaks[2])
  {
    if (mActiveStale) CollectActiveBands();
    // Sections are independent filters in series, so running each over a chunk before the next
    // gives the same samples as running each sample through the whole cascade, and a bypassed band
    // is skipped once per block. A band's left and right sections run side by side: two
    // independent recursions the processor can overlap.
    float chunk[2][kChunkFrames];
    double peak[2] = {0.0, 0.0};
    for (int start = 0; start < nFrames; start += kChunkFrames) {
      const int n = nFrames - start < kChunkFrames ? nFrames - start : kChunkFrames;
      for (int channel = 0; channel < 2; ++channel)
        for (int s = 0; s < n; ++s) chunk[channel][s] = static_cast<float>(inputs[channel][start + s]);
      for (int i = 0; i < mActiveCount; ++i) {
        // Local copies let the state live in registers; the chunk's floats might alias it otherwise.
        Section left = mSections[2 * mActive[i]];
        Section right = mSections[2 * mActive[i] + 1];
        for (int s = 0; s < n; ++s) {
          chunk[0][s] = left.ProcessSample(chunk[0][s]);
          chunk[1][s] = right.ProcessSample(chunk[1][s]);
        }
        mSections[2 * mActive[i]] = left;
        mSections[2 * mActive[i] + 1] = right;
      }
      for (int channel = 0; channel < 2; ++channel) {
        for (int s = 0; s < n; ++s) {
          const double y = static_cast<double>(chunk[channel][s]) * gain;
          outputs[channel][start + s] = y;
          // An infinite sample would hold the meter fed from the peak at infinity for good.
          const double magnitude = std::fabs(y);
          if (magnitude > peak[channel] && magnitude <= kLargest) peak[channel] = magnitude;
        }
      }
    }
    peaks[0] = peak[0];
    peaks[1] = peak[1];
  }

  const Section& SectionAt(int index) const { return mSections[index]; }

private:
  static constexpr int kChunkFrames = 128;
  static constexpr double kLargest = std::numeric_limits<double>::max();

  struct DesignArgs {
    double freq, sampleRate, bandwidthOctaves, gainDb;
  };
  struct DesignMemo {
    DesignArgs args{};
    bool valid = false;
  };

  // The bands that filter, top band first; the others are bypassed on both channels.
  void CollectActiveBands()
  {
    mActiveCount = 0;
    for (int band = NBands - 1; band >= 0; --band)
      if (!mSections[2 * band].Bypassed() || !mSections[2 * band + 1].Bypassed()) mActive[mActiveCount++] = band;
    mActiveStale = false;
  }

  Section mSections[kSections];
  DesignMemo mMemo[NBands];
  int mActive[NBands] = {};
  int mActiveCount = 0;
  bool mActiveStale = true;
};
