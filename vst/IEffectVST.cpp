// Construction of the effect record, and the plug-in's calls to the host.
#include "vst/IEffectVST.h"

#include <algorithm>
#include <cstring>

namespace {

VstInt32 ArrangementType(int nChannels)
{
  switch (nChannels) {
    case 0: return kSpeakerArrEmpty;
    case 1: return kSpeakerArrMono;
    case 2: return kSpeakerArrStereo;
    default: return kSpeakerArrUserDefined;
  }
}

constexpr int kProductStringSize = 256;
constexpr int kMidiEventByteSize = 32;

}  // namespace

IEffectVST::IEffectVST(audioMasterCallback host, int nParams, const char* channelIOStr, int nPresets,
                       const char* effectName, const char* productName, const char* makerName, int version,
                       int uniqueID, int makerID, int latency, bool doesMidi, bool doesChunks, bool isInstrument)
    : IEffectBase(nParams, channelIOStr, nPresets, effectName, productName, makerName, version, uniqueID, makerID,
                  latency, doesMidi, doesChunks, isInstrument),
      mHost(host), mDoesMidi(doesMidi)
{
  mEffect.magic = kEffectMagic;
  mEffect.dispatcher = &VSTDispatcher;
  mEffect.process = &VSTProcess;
  mEffect.setParameter = &VSTSetParameter;
  mEffect.getParameter = &VSTGetParameter;
  mEffect.numPrograms = nPresets;
  mEffect.numParams = nParams;
  mEffect.numInputs = NInChannels();
  mEffect.numOutputs = NOutChannels();
  mEffect.flags = effFlagsCanReplacing | effFlagsCanDoubleReplacing;
  if (doesChunks) {
    mEffect.flags |= effFlagsProgramChunks;
  }
  if (LegalIO(1, -1)) {
    mEffect.flags |= effFlagsCanMono;
  }
  if (isInstrument) {
    mEffect.flags |= effFlagsIsSynth;
  }
  mEffect.initialDelay = latency;
  mEffect.ioRatio = 1.0f;
  mEffect.object = this;
  mEffect.uniqueID = uniqueID;
  mEffect.version = GetVersion(true);
  mEffect.processReplacing = &VSTProcessReplacing;
  mEffect.processDoubleReplacing = &VSTProcessDoubleReplacing;

  mInputArrangement.type = ArrangementType(NInChannels());
  mInputArrangement.numChannels = NInChannels();
  mOutputArrangement.type = ArrangementType(NOutChannels());
  mOutputArrangement.numChannels = NOutChannels();

  SetInputsConnected(0, NInChannels(), true);
  SetOutputsConnected(0, NOutChannels(), true);
  SetBlockSize(1024);
}

IEffectVST::~IEffectVST() = default;

void IEffectVST::AttachEditor(IEditorSurface* editor)
{
  if (editor == nullptr) {
    return;
  }
  IEffectBase::AttachEditor(editor);
  mEffect.flags |= effFlagsHasEditor;
  UpdateEditorRect();
}

void IEffectVST::EditorResized(int /*width*/, int /*height*/) { UpdateEditorRect(); }

void IEffectVST::UpdateEditorRect()
{
  const IEditorSurface* editor = GetEditor();
  if (editor == nullptr) {
    return;
  }
  mEditorRect.top = 0;
  mEditorRect.left = 0;
  mEditorRect.bottom = static_cast<VstInt16>(editor->Height());
  mEditorRect.right = static_cast<VstInt16>(editor->Width());
}

void IEffectVST::SetLatency(int samples)
{
  mEffect.initialDelay = samples;
  IEffectBase::SetLatency(samples);
}

VstIntPtr IEffectVST::CallHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
  return mHost != nullptr ? mHost(&mEffect, opcode, index, value, ptr, opt) : 0;
}

void IEffectVST::NotifyHostParamEditBegin(int paramIdx) { CallHost(audioMasterBeginEdit, paramIdx); }

void IEffectVST::NotifyHostParamValue(int paramIdx, double normalized)
{
  CallHost(audioMasterAutomate, paramIdx, 0, nullptr, static_cast<float>(normalized));
}

void IEffectVST::NotifyHostParamEditEnd(int paramIdx) { CallHost(audioMasterEndEdit, paramIdx); }

const VstTimeInfo* IEffectVST::HostTime(VstInt32 validFlags)
{
  return reinterpret_cast<const VstTimeInfo*>(CallHost(audioMasterGetTime, 0, validFlags));
}

int IEffectVST::GetHostSamplePos()
{
  const VstTimeInfo* time = HostTime(0);
  // Positions beyond the int range cannot be answered; they read as 0 like a missing one.
  if (time != nullptr && time->samplePos >= 0.0 && time->samplePos < 2147483648.0) {
    return static_cast<int>(time->samplePos);
  }
  return 0;
}

double IEffectVST::GetHostTempo()
{
  if (mHost == nullptr) {
    return 0.0;
  }
  const VstTimeInfo* time = HostTime(kVstTempoValid);
  if (time != nullptr && (time->flags & kVstTempoValid) != 0 && time->tempo >= 0.0) {
    return time->tempo;
  }
  return 0.0;
}

void IEffectVST::GetHostTimeSig(int* numerator, int* denominator)
{
  *numerator = 0;
  *denominator = 0;
  const VstTimeInfo* time = HostTime(kVstTimeSigValid);
  if (time != nullptr && (time->flags & kVstTimeSigValid) != 0 && time->timeSigNumerator >= 0 &&
      time->timeSigDenominator >= 0) {
    *numerator = time->timeSigNumerator;
    *denominator = time->timeSigDenominator;
  }
}

HostKind IEffectVST::GetHostKind()
{
  const HostKind known = IEffectBase::GetHostKind();
  if (known != HostKind::Unidentified) {
    return known;
  }
  char name[kProductStringSize];
  name[0] = '\0';
  CallHost(audioMasterGetProductString, 0, 0, name);
  name[kProductStringSize - 1] = '\0';  // a host that fills the buffer still leaves a string
  int version = 0;
  if (name[0] != '\0') {
    // Decimal major*10000 + minor*100 + patch to packed major<<16 | minor<<8 | patch; unsigned so
    // that a host's odd answer wraps instead of overflowing.
    const unsigned v = static_cast<unsigned>(static_cast<VstInt32>(CallHost(audioMasterGetVendorVersion)));
    const VstInt32 d = static_cast<VstInt32>(v);
    version = static_cast<int>(v + static_cast<unsigned>(d / 10000) * 55536u + static_cast<unsigned>((d % 10000) / 100) * 156u);
  }
  SetHost(name, version);
  return IEffectBase::GetHostKind();
}

void IEffectVST::AdaptToHost()
{
  if (mAdaptedToHost) {
    return;
  }
  mAdaptedToHost = true;
  const HostKind kind = GetHostKind();
  if (kind == HostKind::Forte || kind == HostKind::Audition || kind == HostKind::Orion ||
      kind == HostKind::SawStudio) {
    if (NInChannels() > 2) {
      SetInputsConnected(2, NInChannels() - 2, false);
    }
    if (NOutChannels() > 2) {
      SetOutputsConnected(2, NOutChannels() - 2, true);
    }
  }
  mInputArrangement.numChannels = NInChannels();
  mEffect.numInputs = NInChannels();
  mOutputArrangement.numChannels = NOutChannels();
  mEffect.numOutputs = NOutChannels();
}

bool IEffectVST::SendVstEvent(VstEvent* event)
{
  VstEvents events{};
  events.numEvents = 1;
  events.events[0] = event;
  return CallHost(audioMasterProcessEvents, 0, 0, &events) == 1;
}

bool IEffectVST::SendMidiMessage(const IMidiMessage* msg)
{
  VstMidiEvent event{};
  event.type = kVstMidiType;
  event.byteSize = kMidiEventByteSize;
  event.deltaFrames = msg->offset;
  event.midiData[0] = static_cast<char>(msg->status);
  event.midiData[1] = static_cast<char>(msg->data1);
  event.midiData[2] = static_cast<char>(msg->data2);
  return SendVstEvent(reinterpret_cast<VstEvent*>(&event));
}

bool IEffectVST::SendMidiMessages(const IMidiMessage* msgs, int count)
{
  bool all = true;
  for (int i = 0; i < count; ++i) {
    all = SendMidiMessage(&msgs[i]) && all;
  }
  return all;
}
