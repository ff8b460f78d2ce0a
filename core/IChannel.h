// Channel records of a plug-in.
//
// IChannelIO is one legal pair of input and output counts. IInChannel and IOutChannel describe one
// channel: whether the host connected it, its slot in the pointer array that ProcessBlock
// receives, and a scratch buffer of block-size doubles. An unconnected channel's slot points at
// its own scratch buffer, so ProcessBlock never sees a null channel once the block size is set.
#pragma once

#include "core/IGrowArray.h"

struct IChannelIO {
  int nIn;
  int nOut;
};

struct IInChannel {
  bool connected = false;
  double** slot = nullptr;
  IGrowArray<double> scratch;
};

struct IOutChannel {
  bool connected = false;
  double** slot = nullptr;
  float* hostBuffer = nullptr;  // the host's 32-bit buffer of the block being processed
  IGrowArray<double> scratch;
};
