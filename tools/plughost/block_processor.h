// Runs blocks of planar double audio through a plug-in's audio callbacks as a host does: buffers
// for every input and output the effect record declares, 32-bit replacing, 64-bit replacing or
// 32-bit accumulating (into zeroed outputs), and the host's sample position advanced per block.
// Fewer source channels than plug-in inputs: the last source channel feeds the remaining
// inputs, so a mono file drives both sides of a stereo effect. Buffers are sized once.
#pragma once

#include <string>
#include <vector>

class HostedPlugin;
struct HostContext;

enum class Precision { Float32, Float64, Accumulate };

// "32", "64" or "accumulate"; a HostError for anything else.
Precision ParsePrecision(const std::string& text);

class BlockProcessor {
public:
  // A HostError when the plug-in cannot run in that precision or has no outputs.
  BlockProcessor(HostedPlugin& plugin, HostContext& host, Precision precision, int maxBlock);

  int Inputs() const { return mInputs; }
  int Outputs() const { return mOutputs; }

  // Processes frames (at most maxBlock) of in[0..] into out[0..Outputs()-1].
  void Process(const std::vector<std::vector<double>>& in, std::vector<std::vector<double>>& out, int frames);

private:
  HostedPlugin& mPlugin;
  HostContext& mHost;
  Precision mPrecision;
  int mInputs, mOutputs, mMaxBlock;
  std::vector<std::vector<float>> mFloatIn, mFloatOut;
  std::vector<std::vector<double>> mDoubleIn, mDoubleOut;
  std::vector<float*> mFloatInPtrs, mFloatOutPtrs;
  std::vector<double*> mDoubleInPtrs, mDoubleOutPtrs;
};
