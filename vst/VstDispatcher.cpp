// The dispatcher: every host request other than audio and parameter values.
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "vst/IEffectVST.h"

namespace {

constexpr VstIntPtr kIdentifyAnswer = 0x4E764566;
constexpr VstIntPtr kVendorAnswer = 0xBEEF;
constexpr VstIntPtr kVendorCapability = static_cast<VstIntPtr>(0xBEEF0000u);
constexpr VstIntPtr kVstVersion = 2400;

// Copies a whole NUL-terminated text into the host's buffer.
void CopyOut(void* ptr, const char* text) { std::strcpy(static_cast<char*>(ptr), text); }

bool IsIntIndex(VstIntPtr value) { return value >= INT_MIN && value <= INT_MAX; }

}  // namespace

VstIntPtr VST_CALLBACK IEffectVST::VSTDispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                                 void* ptr, float opt)
{
  IEffectVST* plug = effect != nullptr ? static_cast<IEffectVST*>(effect->object) : nullptr;
  if (plug == nullptr) {
    return 0;
  }
  try {
    return plug->Dispatch(opcode, index, value, ptr, opt);
  } catch (...) {
    return 0;
  }
}

VstIntPtr IEffectVST::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
  IScopedLock lock(Mutex());
  if (opcode == effEditIdle || opcode == effIdle) {
    return 0;
  }
  IEffectParam* param = GetParam(index);  // null unless index is a valid parameter index

  switch (opcode) {
    case effOpen:
      AdaptToHost();
      NotifyAllParamsChanged();
      return 0;

    case effClose:
      lock.Release();
      delete this;
      return 0;

    case effSetProgram:
      if (!DoesChunks()) {
        StoreCurrentPreset(nullptr);
      }
      if (IsIntIndex(value)) {
        LoadPreset(static_cast<int>(value));
      }
      return 0;

    case effGetProgram:
      return GetCurrentPresetIdx();

    case effSetProgramName:
      if (ptr != nullptr) {
        StoreCurrentPreset(static_cast<const char*>(ptr));
      }
      return 0;

    case effGetProgramName:
      if (ptr != nullptr) {
        CopyOut(ptr, PresetName(GetCurrentPresetIdx()));
      }
      return 0;

    case effGetParamLabel:
      if (param != nullptr && ptr != nullptr) {
        CopyOut(ptr, param->Label());
      }
      return 0;

    case effGetParamDisplay:
      if (param != nullptr && ptr != nullptr) {
        param->FormatValue(static_cast<char*>(ptr));
      }
      return 0;

    case effGetParamName:
      if (param != nullptr && ptr != nullptr) {
        CopyOut(ptr, param->Name());
      }
      return 0;

    case effSetSampleRate:
      SetSampleRate(static_cast<double>(opt));
      OnReset();
      return 0;

    case effSetBlockSize:
      // A size below 1 (or beyond an int) would leave no room to process anything; it is ignored.
      if (value > 0 && value <= INT_MAX && SetBlockSize(static_cast<int>(value))) {
        OnReset();
      }
      return 0;

    case effMainsChanged:
      OnActiveChanged(value != 0);
      if (value == 0) {
        OnReset();
      }
      return 0;

    case effEditGetRect:
      if (ptr != nullptr && GetEditor() != nullptr) {
        *static_cast<ERect**>(ptr) = &mEditorRect;
        return 1;
      }
      return 0;

    case effEditOpen:
      if (GetEditor() != nullptr && GetEditor()->OpenEditorWindow(ptr) != nullptr) {
        OnEditorOpened();
        return 1;
      }
      return 0;

    case effEditClose:
      if (GetEditor() != nullptr) {
        OnEditorClosing();
        GetEditor()->CloseEditorWindow();
        return 1;
      }
      return 0;

    case effIdentify:
      return kIdentifyAnswer;

    case effGetChunk:
      return ptr != nullptr ? GetChunk(static_cast<void**>(ptr), index == 0) : 0;

    case effSetChunk:
      return SetChunk(ptr, value, index == 0);

    case effProcessEvents:
      return ProcessEvents(static_cast<const VstEvents*>(ptr));

    case effCanBeAutomated:
      return 1;

    case effGetProgramNameIndexed: {
      if (ptr == nullptr) {
        return 0;
      }
      const char* name = PresetName(index);
      CopyOut(ptr, name);
      return name[0] != '\0' ? 1 : 0;
    }

    case effGetInputProperties:
      return GetPinProperties(static_cast<VstPinProperties*>(ptr), index, NInChannels(), "Input %d");

    case effGetOutputProperties:
      return GetPinProperties(static_cast<VstPinProperties*>(ptr), index, NOutChannels(), "Output %d");

    case effGetPlugCategory:
      return IsInstrument() ? kPlugCategSynth : kPlugCategEffect;

    case effSetSpeakerArrangement:
      SetSpeakerArrangement(reinterpret_cast<const VstSpeakerArrangement*>(value),
                            static_cast<const VstSpeakerArrangement*>(ptr));
      return 1;

    case effGetEffectName:
    case effGetVendorString:
    case effGetProductString: {
      if (ptr == nullptr) {
        return 0;
      }
      const char* text = opcode == effGetEffectName     ? GetEffectName()
                         : opcode == effGetVendorString ? GetMakerName()
                                                        : GetProductName();
      CopyOut(ptr, text);
      return 1;
    }

    case effVendorSpecific:
      if (index == effGetParamDisplay && ptr != nullptr) {
        if (value >= 0 && value < NParams()) {
          GetParam(static_cast<int>(value))->FormatDisplay(static_cast<double>(opt), true, static_cast<char*>(ptr));
        }
        return kVendorAnswer;
      }
      return 0;

    case effCanDo: {
      if (ptr == nullptr) {
        return 0;
      }
      const char* can = static_cast<const char*>(ptr);
      if (std::strcmp(can, "receiveVstTimeInfo") == 0) {
        return 1;
      }
      if (mDoesMidi) {
        for (const char* midi : {"sendVstEvents", "sendVstMidiEvent", "receiveVstEvents", "receiveVstMidiEvent"}) {
          if (std::strcmp(can, midi) == 0) {
            return 1;
          }
        }
      }
      if (std::strcmp(can, "hasVendorExtensions") == 0 || std::strcmp(can, "hasVendorViewAsConfig") == 0) {
        return kVendorCapability;
      }
      return 0;
    }

    case effGetVstVersion:
      return kVstVersion;

    case effGetMidiKeyName: {
      MidiKeyName* key = static_cast<MidiKeyName*>(ptr);
      if (key == nullptr) {
        return 0;
      }
      key->keyName[0] = '\0';
      return GetMidiNoteName(key->thisKeyNumber, key->keyName) ? 1 : 0;
    }

    case effGetSpeakerArrangement:
      if (value != 0) {
        *reinterpret_cast<VstSpeakerArrangement**>(value) = &mInputArrangement;
      }
      if (ptr != nullptr) {
        *static_cast<VstSpeakerArrangement**>(ptr) = &mOutputArrangement;
      }
      return 1;

    default:
      return 0;
  }
}

VstIntPtr IEffectVST::GetChunk(void** data, bool isBank)
{
  IStateChunk* chunk = isBank ? &mBankChunk : &mProgramChunk;
  if (isBank) {
    StoreCurrentPreset(nullptr);
  }
  if (!WriteChunkHeader(chunk)) {
    return 0;
  }
  if (!WriteStateChunk(chunk) || chunk->Size() == 0) {
    return 0;
  }
  *data = chunk->Data();
  return chunk->Size();
}

VstIntPtr IEffectVST::SetChunk(const void* data, VstIntPtr byteCount, bool isBank)
{
  // A null or negative chunk from a host changes nothing.
  if (data == nullptr || byteCount < 0 || byteCount > INT_MAX) {
    return 0;
  }
  IStateChunk* chunk = isBank ? &mBankChunk : &mProgramChunk;
  if (!chunk->Resize(static_cast<int>(byteCount))) {
    return 0;
  }
  if (byteCount > 0) {
    std::memcpy(chunk->Data(), data, static_cast<std::size_t>(byteCount));
  }
  int pos = 0;
  const int version = ReadChunkHeader(chunk, &pos);
  pos = ReadStateChunk(chunk, pos);
  if (!isBank || version < kChunkVersion) {
    StoreCurrentPreset(nullptr);
  }
  if (pos < 0) {
    return 0;
  }
  RefreshEditorControls();
  return 1;
}

VstIntPtr IEffectVST::ProcessEvents(const VstEvents* events)
{
  if (events == nullptr) {
    return 0;
  }
  for (int i = 0; i < events->numEvents; ++i) {
    VstEvent* event = events->events[i];
    if (event == nullptr) {
      continue;
    }
    if (event->type == kVstMidiType) {
      const VstMidiEvent* midi = reinterpret_cast<const VstMidiEvent*>(event);
      IMidiMessage msg;
      msg.offset = midi->deltaFrames;
      msg.status = static_cast<std::uint8_t>(midi->midiData[0]);
      msg.data1 = static_cast<std::uint8_t>(midi->midiData[1]);
      msg.data2 = static_cast<std::uint8_t>(midi->midiData[2]);
      HandleMidiMessage(&msg);
    } else {
      SendVstEvent(event);
    }
  }
  return 1;
}

VstIntPtr IEffectVST::GetPinProperties(VstPinProperties* pin, int index, int nChannels, const char* labelFormat)
{
  if (pin == nullptr || index < 0 || index >= nChannels) {
    return 0;
  }
  const bool stereoPair = index % 2 == 0 && index != nChannels - 1;
  pin->flags = stereoPair ? (kVstPinIsActive | kVstPinIsStereo) : kVstPinIsActive;
  std::snprintf(pin->label, sizeof pin->label, labelFormat, index + 1);
  return 1;
}

void IEffectVST::SetSpeakerArrangement(const VstSpeakerArrangement* inputs, const VstSpeakerArrangement* outputs)
{
  // A count outside 0..channels means the same as its nearest bound, without overflowing below.
  if (inputs != nullptr) {
    const int n = std::clamp(inputs->numChannels, 0, NInChannels());
    SetInputsConnected(0, n, true);
    SetInputsConnected(n, NInChannels() - n, false);
  }
  if (outputs != nullptr) {
    const int n = std::clamp(outputs->numChannels, 0, NOutChannels());
    SetOutputsConnected(0, n, true);
    SetOutputsConnected(n, NOutChannels() - n, false);
  }
}
