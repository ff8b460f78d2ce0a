#include "block_processor.h"

#include "host_callback.h"
#include "host_error.h"
#include "hosted_plugin.h"

#include <algorithm>

Precision ParsePrecision(const std::string& text)
{
  if (text == "32")
    return Precision::Float32;
  if (text == "64")
    return Precision::Float64;
  if (text == "accumulate")
    return Precision::Accumulate;
  throw HostError("--precision takes 32, 64 or accumulate, not \"" + text + "\"");
}

BlockProcessor::BlockProcessor(HostedPlugin& plugin, HostContext& host, Precision precision, int maxBlock)
    : mPlugin(plugin), mHost(host), mPrecision(precision), mInputs(plugin.Effect().numInputs),
      mOutputs(plugin.Effect().numOutputs), mMaxBlock(maxBlock)
{
  const AEffect& effect = plugin.Effect();
  if (mOutputs < 1)
    throw HostError(plugin.Path() + " has no audio outputs");
  if (precision == Precision::Float32 && (!effect.processReplacing || !plugin.HasFlag(effFlagsCanReplacing)))
    throw HostError(plugin.Path() + " has no 32-bit replacing processing (try --precision accumulate)");
  if (precision == Precision::Float64 &&
      (!effect.processDoubleReplacing || !plugin.HasFlag(effFlagsCanDoubleReplacing)))
    throw HostError(plugin.Path() + " has no 64-bit processing");
  if (precision == Precision::Accumulate && !effect.process)
    throw HostError(plugin.Path() + " has no accumulating processing");

  const auto block = static_cast<std::size_t>(maxBlock);
  if (precision == Precision::Float64) {
    mDoubleIn.assign(mInputs, std::vector<double>(block));
    mDoubleOut.assign(mOutputs, std::vector<double>(block));
    for (auto& buffer : mDoubleIn)
      mDoubleInPtrs.push_back(buffer.data());
    for (auto& buffer : mDoubleOut)
      mDoubleOutPtrs.push_back(buffer.data());
  } else {
    mFloatIn.assign(mInputs, std::vector<float>(block));
    mFloatOut.assign(mOutputs, std::vector<float>(block));
    for (auto& buffer : mFloatIn)
      mFloatInPtrs.push_back(buffer.data());
    for (auto& buffer : mFloatOut)
      mFloatOutPtrs.push_back(buffer.data());
  }
  // A null entry ends each array, so even an effect without inputs gets a valid one.
  mFloatInPtrs.push_back(nullptr);
  mFloatOutPtrs.push_back(nullptr);
  mDoubleInPtrs.push_back(nullptr);
  mDoubleOutPtrs.push_back(nullptr);
}

void BlockProcessor::Process(const std::vector<std::vector<double>>& in, std::vector<std::vector<double>>& out,
                             int frames)
{
  frames = std::min(frames, mMaxBlock);
  AEffect* effect = &mPlugin.Effect();
  const int sources = static_cast<int>(in.size());
  auto source = [&](int input) -> const std::vector<double>& { return in[std::min(input, sources - 1)]; };

  if (mPrecision == Precision::Float64) {
    for (int c = 0; c < mInputs; ++c)
      std::copy_n(source(c).begin(), frames, mDoubleIn[c].begin());
    effect->processDoubleReplacing(effect, mDoubleInPtrs.data(), mDoubleOutPtrs.data(), frames);
    for (int c = 0; c < mOutputs && c < static_cast<int>(out.size()); ++c)
      std::copy_n(mDoubleOut[c].begin(), frames, out[c].begin());
  } else {
    for (int c = 0; c < mInputs; ++c)
      for (int i = 0; i < frames; ++i)
        mFloatIn[c][i] = static_cast<float>(source(c)[i]);
    if (mPrecision == Precision::Accumulate) {
      for (auto& buffer : mFloatOut)
        std::fill_n(buffer.begin(), frames, 0.0f);
      effect->process(effect, mFloatInPtrs.data(), mFloatOutPtrs.data(), frames);
    } else {
      effect->processReplacing(effect, mFloatInPtrs.data(), mFloatOutPtrs.data(), frames);
    }
    for (int c = 0; c < mOutputs && c < static_cast<int>(out.size()); ++c)
      for (int i = 0; i < frames; ++i)
        out[c][i] = mFloatOut[c][i];
  }
  mHost.samplePosition += frames;
}
