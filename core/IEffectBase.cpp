#include "core/IEffectBase.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/assertion.h"

IEffectBase::IEffectBase(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
                         const char* productName, const char* makerName, int version, int /*uniqueID*/,
                         int /*makerID*/, int latency, bool /*doesMidi*/, bool doesChunks, bool isInstrument)
    : mVersion(version), mDoesChunks(doesChunks), mIsInstrument(isInstrument), mLatency(latency)
{
  for (int i = 0; i < nParams; ++i) {
    IEffectParam* param = new IEffectParam();
    if (!mParams.Add(param)) {
      delete param;
    }
  }
  for (int i = 0; i < nPresets; ++i) {
    AddPreset(i + 1);
  }
  CopyTextField(mEffectName, kEffectNameSize, effectName);
  CopyTextField(mProductName, kEffectNameSize, productName);
  CopyTextField(mMakerName, kEffectNameSize, makerName);

  int maxIn = 0;
  int maxOut = 0;
  if (channelIOStr != nullptr) {
    for (const char* pair = channelIOStr; pair != nullptr;) {
      int nIn = 0;
      int nOut = 0;
      const bool read = std::sscanf(pair, "%d-%d", &nIn, &nOut) == 2;
      if (!read) {
        // The effect's constant string is malformed; the pairs read so far are kept.
        PlatformAssertFailed("sscanf(channelIOStr, \"%d-%d\", &nIn, &nOut) == 2", __FILE__, __LINE__);
        break;
      }
      maxIn = std::max(maxIn, nIn);
      maxOut = std::max(maxOut, nOut);
      IChannelIO* io = new IChannelIO{nIn, nOut};
      if (!mChannelIO.Add(io)) {
        delete io;
      }
      pair = std::strchr(pair, ' ');
      if (pair != nullptr) {
        ++pair;
      }
    }
  }

  mInputPtrs.ResizeZeroed(maxIn);
  mOutputPtrs.ResizeZeroed(maxOut);
  for (int i = 0; i < mInputPtrs.Count(); ++i) {
    IInChannel* in = new IInChannel();
    in->slot = &mInputPtrs[i];
    if (!mInChannels.Add(in)) {
      delete in;
    }
  }
  for (int i = 0; i < mOutputPtrs.Count(); ++i) {
    IOutChannel* out = new IOutChannel();
    out->slot = &mOutputPtrs[i];
    if (!mOutChannels.Add(out)) {
      delete out;
    }
  }
}

IEffectBase::~IEffectBase()
{
  delete mEditor;
  mEditor = nullptr;
}

bool IEffectBase::AddPreset(int slotNumber)
{
  IPreset* preset = new IPreset();
  std::snprintf(preset->name, kPresetNameSize, "- %d -", slotNumber);
  if (!mPresets.Add(preset)) {
    delete preset;
    return false;
  }
  return true;
}

void IEffectBase::ProcessBlock(double** inputs, double** outputs, int nFrames)
{
  const int nIn = NInChannels();
  const int nOut = NOutChannels();
  const int nCopied = std::min(nIn, nOut);
  const std::size_t bytes = static_cast<std::size_t>(std::max(nFrames, 0)) * sizeof(double);
  for (int i = 0; i < nCopied; ++i) {
    if (inputs[i] != outputs[i]) {
      std::memmove(outputs[i], inputs[i], bytes);
    }
  }
  for (int i = nCopied; i < nOut; ++i) {
    std::memset(outputs[i], 0, bytes);
  }
}

void IEffectBase::HandleMidiMessage(const IMidiMessage* msg) { SendMidiMessage(msg); }

bool IEffectBase::GetMidiNoteName(int /*noteNumber*/, char* name)
{
  name[0] = '\0';
  return false;
}

bool IEffectBase::WriteStateChunk(IStateChunk* chunk) { return SerializeParams(chunk); }

int IEffectBase::ReadStateChunk(const IStateChunk* chunk, int startPos) { return UnserializeParams(chunk, startPos); }

void IEffectBase::AttachEditor(IEditorSurface* editor)
{
  if (editor == nullptr) {
    return;
  }
  IScopedLock lock(&mMutex);
  for (int i = 0; i < NParams(); ++i) {
    editor->SetControlsFromParam(i, GetParam(i)->Normalized(), true);
  }
  editor->PrepareDraw();
  delete mEditor;  // a second surface replaces the first rather than leaking it
  mEditor = editor;
}

bool IEffectBase::SetBlockSize(int blockSize)
{
  if (blockSize <= 0) {
    return false;
  }
  if (blockSize == mBlockSize) {
    return true;
  }
  // All buffers or none: processing relies on every scratch buffer holding a whole block.
  bool ok = true;
  for (int i = 0; ok && i < NInChannels(); ++i) {
    ok = InChannel(i)->scratch.Resize(blockSize);
  }
  for (int i = 0; ok && i < NOutChannels(); ++i) {
    ok = OutChannel(i)->scratch.Resize(blockSize);
  }
  const int size = ok ? blockSize : mBlockSize;
  for (int i = 0; i < NInChannels(); ++i) {
    IInChannel* in = InChannel(i);
    in->scratch.Resize(size);
    std::fill_n(in->scratch.Data(), size, 0.0);
    if (!in->connected) {
      *in->slot = in->scratch.Data();
    }
  }
  for (int i = 0; i < NOutChannels(); ++i) {
    IOutChannel* out = OutChannel(i);
    out->scratch.Resize(size);
    std::fill_n(out->scratch.Data(), size, 0.0);
    if (!out->connected) {
      *out->slot = out->scratch.Data();
    }
  }
  mBlockSize = size;
  return ok;
}

bool IEffectBase::LegalIO(int nIn, int nOut) const
{
  for (int i = 0; i < mChannelIO.Count(); ++i) {
    const IChannelIO* io = mChannelIO.Get(i);
    if ((nIn < 0 || nIn == io->nIn) && (nOut < 0 || nOut == io->nOut)) {
      return true;
    }
  }
  return false;
}

void IEffectBase::SetParameterFromGUI(int paramIdx, double normalized)
{
  IScopedLock lock(&mMutex);
  GetParam(paramIdx)->SetFromNormalized(normalized);
  NotifyHostParamValue(paramIdx, normalized);
  OnParamChanged(paramIdx);
}

int IEffectBase::GetVersion(bool decimal) const
{
  if (!decimal) {
    return mVersion;
  }
  const unsigned v = static_cast<unsigned>(mVersion);
  return static_cast<int>(((v >> 16) * 100 + ((v >> 8) & 0xFF)) * 100 + (v & 0xFF));
}

void IEffectBase::NotifyAllParamsChanged()
{
  for (int i = 0; i < NParams(); ++i) {
    OnParamChanged(i);
  }
}

void IEffectBase::RefreshEditorControls()
{
  if (mEditor == nullptr) {
    return;
  }
  for (int i = 0; i < NParams(); ++i) {
    mEditor->SetControlsFromParam(i, GetParam(i)->Value(), false);
  }
}

template <typename Channel>
void IEffectBase::SetConnected(IPtrList<Channel>& channels, int start, int count, bool connected)
{
  // Wide arithmetic: the start and count may come from a host's speaker arrangement.
  const long long end = std::min<long long>(static_cast<long long>(start) + count, channels.Count());
  for (long long i = std::max(start, 0); i < end; ++i) {
    Channel* channel = channels.Get(static_cast<int>(i));
    channel->connected = connected;
    if (!connected) {
      *channel->slot = channel->scratch.Data();
    }
  }
}

void IEffectBase::SetInputsConnected(int start, int count, bool connected)
{
  SetConnected(mInChannels, start, count, connected);
}

void IEffectBase::SetOutputsConnected(int start, int count, bool connected)
{
  SetConnected(mOutChannels, start, count, connected);
}

void IEffectBase::SetHost(const char* name, int version)
{
  mHostKind = LookUpHostKind(name);
  mHostVersion = version;
}
