// The smoothed level of one output meter, as a linear amplitude starting at 0.
//
// Contract: once per block the audio thread calls Update() with the block's peak; the level moves
// 10 % of the way to a peak at or above it and 1 % of the way to a peak below it. Levels are not
// clamped. Level() may be called from any thread (the editor's) at any time: the level is an
// atomic, so the hand-over is well defined; a reader sees the last or the one before.
#pragma once

#include <atomic>

class IPeakMeter {
public:
  double Update(double blockPeak)
  {
    const double old = mLevel.load(std::memory_order_relaxed);
    const double coefficient = old <= blockPeak ? 0.1 : 0.01;
    const double level = blockPeak * coefficient + (1.0 - coefficient) * old;
    mLevel.store(level, std::memory_order_relaxed);
    return level;
  }

  double Level() const { return mLevel.load(std::memory_order_relaxed); }

private:
  std::atomic<double> mLevel{0.0};
};
