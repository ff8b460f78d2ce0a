// The VST 2 binding of the plug-in object: the effect record a host drives, the record's
// dispatcher, audio and parameter callbacks, and the plug-in's calls to the host.
//
// Contract:
// - Every effect derives from IEffectVST and overrides only the IEffectBase hooks. Its constructor
//   declares the parameters and may attach an editor surface.
// - The record's object field points back at the instance; every callback recovers it from there
//   and runs under the plug-in lock, an audio callback for the whole block.
// - A host is not trusted: indexes, sizes, pointers and values from it are checked; an audio
//   callback longer than the block size is processed in pieces of at most the block size, so
//   nothing on the audio path allocates or overruns a scratch buffer.
// - No exception leaves a callback.
#pragma once

#include "core/IEffectBase.h"
#include "vst/vst2_abi.h"

class IEffectVST : public IEffectBase {
public:
  IEffectVST(audioMasterCallback host, int nParams, const char* channelIOStr, int nPresets,
             const char* effectName, const char* productName, const char* makerName, int version,
             int uniqueID, int makerID, int latency, bool doesMidi, bool doesChunks, bool isInstrument);
  ~IEffectVST() override;

  AEffect* Effect() { return &mEffect; }

  void AttachEditor(IEditorSurface* editor) override;
  void EditorResized(int width, int height) override;
  void SetLatency(int samples) override;

  void NotifyHostParamEditBegin(int paramIdx) override;
  void NotifyHostParamValue(int paramIdx, double normalized) override;
  void NotifyHostParamEditEnd(int paramIdx) override;
  int GetHostSamplePos() override;
  double GetHostTempo() override;
  void GetHostTimeSig(int* numerator, int* denominator) override;
  HostKind GetHostKind() override;
  void AdaptToHost() override;
  bool SendMidiMessage(const IMidiMessage* msg) override;
  bool SendMidiMessages(const IMidiMessage* msgs, int count) override;
  bool SendVstEvent(VstEvent* event);

  // The record's callbacks.
  static VstIntPtr VST_CALLBACK VSTDispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                              VstIntPtr value, void* ptr, float opt);
  static void VST_CALLBACK VSTProcess(AEffect* effect, float** inputs, float** outputs, VstInt32 sampleFrames);
  static void VST_CALLBACK VSTProcessReplacing(AEffect* effect, float** inputs, float** outputs,
                                               VstInt32 sampleFrames);
  static void VST_CALLBACK VSTProcessDoubleReplacing(AEffect* effect, double** inputs, double** outputs,
                                                     VstInt32 sampleFrames);
  static float VST_CALLBACK VSTGetParameter(AEffect* effect, VstInt32 index);
  static void VST_CALLBACK VSTSetParameter(AEffect* effect, VstInt32 index, float value);

private:
  enum class FloatOutput { Replace, Accumulate };

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
  VstIntPtr GetChunk(void** data, bool isBank);
  VstIntPtr SetChunk(const void* data, VstIntPtr byteCount, bool isBank);
  VstIntPtr ProcessEvents(const VstEvents* events);
  VstIntPtr GetPinProperties(VstPinProperties* pin, int index, int nChannels, const char* labelFormat);
  void SetSpeakerArrangement(const VstSpeakerArrangement* inputs, const VstSpeakerArrangement* outputs);

  void ProcessFloat(float** inputs, float** outputs, int sampleFrames, FloatOutput mode);
  void ProcessDouble(double** inputs, double** outputs, int sampleFrames);
  void ProcessFloatPiece(float** inputs, float** outputs, int offset, int nFrames, FloatOutput mode);
  void ProcessDoublePiece(double** inputs, double** outputs, int offset, int nFrames);

  VstIntPtr CallHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);
  const VstTimeInfo* HostTime(VstInt32 validFlags);
  void UpdateEditorRect();

  audioMasterCallback mHost;
  ERect mEditorRect{};
  VstSpeakerArrangement mInputArrangement{};
  VstSpeakerArrangement mOutputArrangement{};
  bool mAdaptedToHost = false;
  bool mDoesMidi;
  IStateChunk mProgramChunk;
  IStateChunk mBankChunk;
  AEffect mEffect{};
};

// The effect instance a plug-in library makes: each plug-in defines it once, returning a new
// instance of its effect (null when that failed).
IEffectVST* CreateEffectInstance(audioMasterCallback host);
