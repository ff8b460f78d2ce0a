// A one-line progress bar on stderr, redrawn in place; it draws nothing unless enabled (the
// caller enables it only for long work and only when stderr is a terminal).
#pragma once

#include <cstdint>

class ProgressBar {
public:
  ProgressBar(std::int64_t total, bool enabled);
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  void Update(std::int64_t done);
  // Ends the line; called by the destructor when not called before.
  void Finish();

private:
  std::int64_t mTotal;
  bool mEnabled;
  int mShownPercent = -1;
};
