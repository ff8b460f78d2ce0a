// The audio and parameter callbacks.
#include <algorithm>
#include <cmath>

#include "vst/IEffectVST.h"

namespace {

IEffectVST* Instance(AEffect* effect) { return static_cast<IEffectVST*>(effect->object); }

// Conversions four samples per step, then the rest.
void FloatToDouble(const float* in, double* out, int n)
{
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    out[i] = in[i];
    out[i + 1] = in[i + 1];
    out[i + 2] = in[i + 2];
    out[i + 3] = in[i + 3];
  }
  for (; i < n; ++i) {
    out[i] = in[i];
  }
}

void DoubleToFloat(const double* in, float* out, int n)
{
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    out[i] = static_cast<float>(in[i]);
    out[i + 1] = static_cast<float>(in[i + 1]);
    out[i + 2] = static_cast<float>(in[i + 2]);
    out[i + 3] = static_cast<float>(in[i + 3]);
  }
  for (; i < n; ++i) {
    out[i] = static_cast<float>(in[i]);
  }
}

void AccumulateDoubleToFloat(const double* in, float* out, int n)
{
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    out[i] += static_cast<float>(in[i]);
    out[i + 1] += static_cast<float>(in[i + 1]);
    out[i + 2] += static_cast<float>(in[i + 2]);
    out[i + 3] += static_cast<float>(in[i + 3]);
  }
  for (; i < n; ++i) {
    out[i] += static_cast<float>(in[i]);
  }
}

}  // namespace

void VST_CALLBACK IEffectVST::VSTProcess(AEffect* effect, float** inputs, float** outputs, VstInt32 sampleFrames)
{
  try {
    Instance(effect)->ProcessFloat(inputs, outputs, sampleFrames, FloatOutput::Accumulate);
  } catch (...) {
  }
}

void VST_CALLBACK IEffectVST::VSTProcessReplacing(AEffect* effect, float** inputs, float** outputs,
                                                  VstInt32 sampleFrames)
{
  try {
    Instance(effect)->ProcessFloat(inputs, outputs, sampleFrames, FloatOutput::Replace);
  } catch (...) {
  }
}

void VST_CALLBACK IEffectVST::VSTProcessDoubleReplacing(AEffect* effect, double** inputs, double** outputs,
                                                        VstInt32 sampleFrames)
{
  try {
    Instance(effect)->ProcessDouble(inputs, outputs, sampleFrames);
  } catch (...) {
  }
}

// Hosts sometimes pass more frames than the block size they set; the block is then processed in
// pieces that fit the scratch buffers. The lock is held across all of them.
void IEffectVST::ProcessFloat(float** inputs, float** outputs, int sampleFrames, FloatOutput mode)
{
  IScopedLock lock(Mutex());
  if (mDoesMidi) {
    CallHost(audioMasterWantMidi);
  }
  const int blockSize = GetBlockSize();
  if (sampleFrames < 0 || blockSize <= 0) {
    return;
  }
  int offset = 0;
  do {
    const int n = std::min(sampleFrames - offset, blockSize);
    ProcessFloatPiece(inputs, outputs, offset, n, mode);
    offset += n;
  } while (offset < sampleFrames);
}

void IEffectVST::ProcessDouble(double** inputs, double** outputs, int sampleFrames)
{
  IScopedLock lock(Mutex());
  if (mDoesMidi) {
    CallHost(audioMasterWantMidi);
  }
  const int blockSize = GetBlockSize();
  if (sampleFrames < 0 || blockSize <= 0) {
    return;
  }
  int offset = 0;
  do {
    const int n = std::min(sampleFrames - offset, blockSize);
    ProcessDoublePiece(inputs, outputs, offset, n);
    offset += n;
  } while (offset < sampleFrames);
}

void IEffectVST::ProcessFloatPiece(float** inputs, float** outputs, int offset, int nFrames, FloatOutput mode)
{
  int next = 0;  // host buffers are consumed by connected channels only
  for (int i = 0; i < NInChannels(); ++i) {
    IInChannel* in = InChannel(i);
    if (in->connected) {
      FloatToDouble(inputs[next++] + offset, in->scratch.Data(), nFrames);
      *in->slot = in->scratch.Data();
    }
  }
  next = 0;
  for (int i = 0; i < NOutChannels(); ++i) {
    IOutChannel* out = OutChannel(i);
    if (out->connected) {
      *out->slot = out->scratch.Data();
      out->hostBuffer = outputs[next++] + offset;
    }
  }

  ProcessBlock(InputPtrs(), OutputPtrs(), nFrames);

  for (int i = 0; i < NOutChannels(); ++i) {
    IOutChannel* out = OutChannel(i);
    if (out->connected) {
      if (mode == FloatOutput::Accumulate) {
        AccumulateDoubleToFloat(out->scratch.Data(), out->hostBuffer, nFrames);
      } else {
        DoubleToFloat(out->scratch.Data(), out->hostBuffer, nFrames);
      }
    }
  }
}

void IEffectVST::ProcessDoublePiece(double** inputs, double** outputs, int offset, int nFrames)
{
  int next = 0;
  for (int i = 0; i < NInChannels(); ++i) {
    IInChannel* in = InChannel(i);
    if (in->connected) {
      *in->slot = inputs[next++] + offset;
    }
  }
  next = 0;
  for (int i = 0; i < NOutChannels(); ++i) {
    IOutChannel* out = OutChannel(i);
    if (out->connected) {
      *out->slot = outputs[next++] + offset;
    }
  }
  ProcessBlock(InputPtrs(), OutputPtrs(), nFrames);
}

float VST_CALLBACK IEffectVST::VSTGetParameter(AEffect* effect, VstInt32 index)
{
  IEffectVST* plug = Instance(effect);
  IScopedLock lock(plug->Mutex());
  const IEffectParam* param = plug->GetParam(index);
  return param != nullptr ? static_cast<float>(param->Normalized()) : 0.0f;
}

void VST_CALLBACK IEffectVST::VSTSetParameter(AEffect* effect, VstInt32 index, float value)
{
  IEffectVST* plug = Instance(effect);
  try {
    IScopedLock lock(plug->Mutex());
    IEffectParam* param = plug->GetParam(index);
    // A value outside 0..1 would put the plain value below its minimum, and a NaN would reach the
    // effect's filters; the first is limited, the second ignored.
    if (param == nullptr || std::isnan(value)) {
      return;
    }
    const double normalized = std::clamp(static_cast<double>(value), 0.0, 1.0);
    if (plug->GetEditor() != nullptr) {
      plug->GetEditor()->SetControlsFromParam(index, normalized, true);
    }
    param->SetFromNormalized(normalized);
    plug->OnParamChanged(index);
  } catch (...) {
  }
}
