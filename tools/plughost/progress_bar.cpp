#include "progress_bar.h"

#include <cstdio>

namespace {
constexpr int kWidth = 40;
}

ProgressBar::ProgressBar(std::int64_t total, bool enabled) : mTotal(total > 0 ? total : 1), mEnabled(enabled) {}

ProgressBar::~ProgressBar() { Finish(); }

void ProgressBar::Update(std::int64_t done)
{
  if (!mEnabled)
    return;
  int percent = static_cast<int>(100 * (done < mTotal ? done : mTotal) / mTotal);
  if (percent == mShownPercent)
    return;
  mShownPercent = percent;
  char bar[kWidth + 1];
  int filled = percent * kWidth / 100;
  for (int i = 0; i < kWidth; ++i)
    bar[i] = i < filled ? '#' : '.';
  bar[kWidth] = 0;
  std::fprintf(stderr, "\r[%s] %3d%%", bar, percent);
  std::fflush(stderr);
}

void ProgressBar::Finish()
{
  if (!mEnabled)
    return;
  std::fprintf(stderr, "\n");
  mEnabled = false;
}
