// The plug-in object without a host format: parameters, legal channel configurations, channel
// records with their scratch buffers, program slots and state, host identity, the editor surface
// once attached, and the plug-in lock.
//
// Contract:
// - An effect overrides OnReset, OnParamChanged and ProcessBlock; the other hooks have defaults.
//   The host-facing operations are pure here: a binding (IEffectVST) provides them.
// - ProcessBlock receives one pointer per channel, never null once the block size is set: an
//   unconnected channel reads and writes its own scratch buffer.
// - Every operation reached from a host or the editor runs under the plug-in lock, which is
//   re-entrant, so a host answering a notification by calling back on the same thread proceeds.
// - Indexes from outside are checked by the caller of these operations; GetParam and
//   PresetName answer null and "" for bad ones.
#pragma once

#include "core/HostKind.h"
#include "core/IChannel.h"
#include "core/IEditorSurface.h"
#include "core/IEffectParam.h"
#include "core/IMidiMessage.h"
#include "core/IMutex.h"
#include "core/IPreset.h"
#include "core/IPtrList.h"
#include "core/IStateChunk.h"

constexpr int kEffectNameSize = 128;

class IEffectBase {
public:
  IEffectBase(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
              const char* productName, const char* makerName, int version, int uniqueID, int makerID,
              int latency, bool doesMidi, bool doesChunks, bool isInstrument);
  virtual ~IEffectBase();
  IEffectBase(const IEffectBase&) = delete;
  IEffectBase& operator=(const IEffectBase&) = delete;

  // Hooks an effect overrides.
  virtual void OnReset() {}
  virtual void OnParamChanged(int /*paramIdx*/) {}
  // Default: each input copied to the output of the same index, remaining outputs silent.
  virtual void ProcessBlock(double** inputs, double** outputs, int nFrames);
  virtual void OnEditorOpened() {}
  virtual void OnEditorClosing() {}
  virtual void OnActiveChanged(bool /*active*/) {}
  // Default: MIDI passes through to the host.
  virtual void HandleMidiMessage(const IMidiMessage* msg);
  // `name` holds 64 bytes. Default: empty name, false.
  virtual bool GetMidiNoteName(int noteNumber, char* name);
  virtual bool WriteStateChunk(IStateChunk* chunk);
  virtual int ReadStateChunk(const IStateChunk* chunk, int startPos);

  // Talking to the host: provided by the binding.
  virtual void NotifyHostParamEditBegin(int paramIdx) = 0;
  virtual void NotifyHostParamValue(int paramIdx, double normalized) = 0;
  virtual void NotifyHostParamEditEnd(int paramIdx) = 0;
  virtual int GetHostSamplePos() = 0;
  virtual double GetHostTempo() = 0;
  virtual void GetHostTimeSig(int* numerator, int* denominator) = 0;
  virtual HostKind GetHostKind() { return mHostKind; }
  virtual void EditorResized(int width, int height) = 0;
  virtual void AdaptToHost() = 0;
  virtual void AttachEditor(IEditorSurface* editor);
  // A size below 1 is refused (returns false); so is one whose scratch buffers cannot be had.
  virtual bool SetBlockSize(int blockSize);
  virtual void SetLatency(int samples) { mLatency = samples; }
  virtual bool SendMidiMessage(const IMidiMessage* msg) = 0;
  virtual bool SendMidiMessages(const IMidiMessage* msgs, int count) = 0;

  bool LegalIO(int nIn, int nOut) const;
  void SetParameterFromGUI(int paramIdx, double normalized);

  IEffectParam* GetParam(int paramIdx) const { return mParams.Get(paramIdx); }
  int NParams() const { return mParams.Count(); }
  int NPresets() const { return mPresets.Count(); }
  int NInChannels() const { return mInChannels.Count(); }
  int NOutChannels() const { return mOutChannels.Count(); }

  double GetSampleRate() const { return mSampleRate; }
  void SetSampleRate(double sampleRate) { mSampleRate = sampleRate; }
  int GetBlockSize() const { return mBlockSize; }
  int GetLatency() const { return mLatency; }
  IEditorSurface* GetEditor() const { return mEditor; }
  int GetVersion(bool decimal) const;
  const char* GetEffectName() const { return mEffectName; }
  const char* GetProductName() const { return mProductName; }
  const char* GetMakerName() const { return mMakerName; }
  bool DoesChunks() const { return mDoesChunks; }
  bool IsInstrument() const { return mIsInstrument; }
  int GetHostVersion() const { return mHostVersion; }

  void NotifyAllParamsChanged();
  void RefreshEditorControls();
  void SetInputsConnected(int start, int count, bool connected);
  void SetOutputsConnected(int start, int count, bool connected);
  void SetHost(const char* name, int version);

  // State and programs.
  bool SerializeParams(IStateChunk* chunk);
  int UnserializeParams(const IStateChunk* chunk, int startPos);
  void EnsureOnePreset();
  void StoreDefaultPresets(const char* name, int count);
  bool LoadPreset(int index);
  void StoreCurrentPreset(const char* name);
  const char* PresetName(int index) const;
  void NextUserPresetName(char* out) const;  // out holds kPresetNameSize bytes
  int GetCurrentPresetIdx() const { return mCurrentPreset; }

  IMutex* Mutex() { return &mMutex; }

protected:
  IInChannel* InChannel(int i) const { return mInChannels.Get(i); }
  IOutChannel* OutChannel(int i) const { return mOutChannels.Get(i); }
  double** InputPtrs() { return mInputPtrs.Data(); }
  double** OutputPtrs() { return mOutputPtrs.Data(); }

private:
  template <typename Channel>
  static void SetConnected(IPtrList<Channel>& channels, int start, int count, bool connected);
  bool AddPreset(int slotNumber);

  IPtrList<IChannelIO> mChannelIO;
  char mEffectName[kEffectNameSize] = {};
  char mProductName[kEffectNameSize] = {};
  char mMakerName[kEffectNameSize] = {};
  int mVersion;
  HostKind mHostKind = HostKind::Unidentified;
  int mHostVersion = 0;
  bool mDoesChunks;
  bool mIsInstrument;
  double mSampleRate = 44100.0;
  int mBlockSize = 0;
  int mLatency;
  IPtrList<IEffectParam> mParams;
  IEditorSurface* mEditor = nullptr;
  IPtrList<IPreset> mPresets;
  int mCurrentPreset = 0;
  IGrowArray<double*> mInputPtrs;
  IGrowArray<double*> mOutputPtrs;
  IPtrList<IInChannel> mInChannels;
  IPtrList<IOutChannel> mOutChannels;
  IMutex mMutex;
};
