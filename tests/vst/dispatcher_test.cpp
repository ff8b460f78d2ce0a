// The remaining dispatcher opcodes, host identification, the host calls and the editor surface.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/vst/RecordingSurface.h"
#include "tests/vst/TestHost.h"

TEST(Dispatcher, FixedAnswers)
{
  TestHost t;
  EXPECT_EQ(t.Dispatch(effGetVstVersion), 2400);
  EXPECT_EQ(t.Dispatch(effIdentify), 0x4E764566);
  EXPECT_EQ(t.Dispatch(effGetVendorVersion), 0);
  EXPECT_EQ(t.Dispatch(effCanBeAutomated, 2), 1);
  EXPECT_EQ(t.Dispatch(effProcessVarIo), 0);
  EXPECT_EQ(t.Dispatch(effGetTailSize), 0);
  EXPECT_EQ(t.Dispatch(effEditIdle), 0);
  EXPECT_EQ(t.Dispatch(effIdle), 0);
  EXPECT_EQ(t.Dispatch(200), 0);
  EXPECT_EQ(t.Dispatch(-1), 0);

  char text[256];
  EXPECT_EQ(t.Dispatch(effGetEffectName, 0, 0, text), 1);
  EXPECT_STREQ(text, "Testplug");
  EXPECT_EQ(t.Dispatch(effGetVendorString, 0, 0, text), 1);
  EXPECT_STREQ(text, "korvane");
  EXPECT_EQ(t.Dispatch(effGetProductString, 0, 0, text), 1);
  EXPECT_STREQ(text, "");
  for (VstInt32 op : {effGetEffectName, effGetVendorString, effGetProductString}) {
    EXPECT_EQ(t.Dispatch(op, 0, 0, nullptr), 0);
  }
}

TEST(Dispatcher, CanDo)
{
  const struct {
    const char* what;
    VstIntPtr plain;
    VstIntPtr withMidi;
  } cases[] = {
      {"receiveVstTimeInfo", 1, 1},
      {"ReceiveVstTimeInfo", 0, 0},
      {"receiveVstTimeInfo2", 0, 0},
      {"receiveVstEvents", 0, 1},
      {"receiveVstMidiEvent", 0, 1},
      {"sendVstEvents", 0, 1},
      {"sendVstMidiEvent", 0, 1},
      {"hasVendorExtensions", static_cast<VstIntPtr>(0xBEEF0000u), static_cast<VstIntPtr>(0xBEEF0000u)},
      {"hasVendorViewAsConfig", static_cast<VstIntPtr>(0xBEEF0000u), static_cast<VstIntPtr>(0xBEEF0000u)},
      {"bypass", 0, 0},
  };
  TestHost plain;
  TestEffectConfig midi;
  midi.doesMidi = true;
  TestHost withMidi(midi);
  for (const auto& c : cases) {
    EXPECT_EQ(plain.Dispatch(effCanDo, 0, 0, const_cast<char*>(c.what)), c.plain) << c.what;
    EXPECT_EQ(withMidi.Dispatch(effCanDo, 0, 0, const_cast<char*>(c.what)), c.withMidi) << c.what;
  }
  EXPECT_EQ(plain.Dispatch(effCanDo, 0, 0, nullptr), 0);
}

TEST(Dispatcher, PinProperties)
{
  TestEffectConfig three;
  three.channelIO = "3-3";
  TestHost t(three);
  const struct {
    VstInt32 op;
    int index;
    VstIntPtr result;
    VstInt32 flags;
    const char* label;
  } cases[] = {
      {effGetInputProperties, 0, 1, 3, "Input 1"},  {effGetInputProperties, 1, 1, 1, "Input 2"},
      {effGetInputProperties, 2, 1, 1, "Input 3"},  {effGetOutputProperties, 0, 1, 3, "Output 1"},
      {effGetOutputProperties, 2, 1, 1, "Output 3"}, {effGetInputProperties, 3, 0, 77, "-"},
      {effGetOutputProperties, -1, 0, 77, "-"},
  };
  for (const auto& c : cases) {
    VstPinProperties pin{};
    pin.flags = 77;
    pin.arrangementType = 55;
    std::strcpy(pin.label, "-");
    EXPECT_EQ(t.Dispatch(c.op, c.index, 0, &pin), c.result);
    EXPECT_EQ(pin.flags, c.flags);
    EXPECT_STREQ(pin.label, c.label);
    EXPECT_EQ(pin.arrangementType, 55);  // left alone
  }
  EXPECT_EQ(t.Dispatch(effGetInputProperties, 0, 0, nullptr), 0);
}

TEST(Dispatcher, SpeakerArrangementsAreTheInstancesOwn)
{
  TestHost t;
  VstSpeakerArrangement* in = nullptr;
  VstSpeakerArrangement* out = nullptr;
  EXPECT_EQ(t.Dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 1);
  ASSERT_NE(in, nullptr);
  ASSERT_NE(out, nullptr);
  EXPECT_NE(in, out);
  EXPECT_EQ(in->type, kSpeakerArrStereo);
  EXPECT_EQ(in->numChannels, 2);
  EXPECT_EQ(out->numChannels, 2);

  // Setting an arrangement connects channels but does not change the stored ones.
  VstSpeakerArrangement mono{};
  mono.numChannels = 1;
  t.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&mono), &mono);
  EXPECT_EQ(in->numChannels, 2);
  EXPECT_EQ(t.Dispatch(effGetSpeakerArrangement, 0, 0, nullptr), 1);
}

TEST(Dispatcher, SampleRateAndMainsReset)
{
  TestHost t;
  t.Dispatch(effSetSampleRate, 0, 0, nullptr, 96000.0f);
  EXPECT_EQ(t.Plug()->GetSampleRate(), 96000.0);
  EXPECT_EQ(t.Plug()->resets, 1);
  t.Dispatch(effMainsChanged, 0, 1);
  EXPECT_EQ(t.Plug()->resets, 1);
  t.Dispatch(effMainsChanged, 0, 0);
  EXPECT_EQ(t.Plug()->resets, 2);
  EXPECT_EQ(t.Plug()->activeChanges, 2);
}

TEST(Dispatcher, OpenPushesEveryParameterInOrder)
{
  TestHost t;
  t.Dispatch(effOpen);
  EXPECT_EQ(t.Plug()->paramChangeTotal, 3);
  EXPECT_EQ(t.Plug()->paramChangeOrder[0], 0);
  EXPECT_EQ(t.Plug()->paramChangeOrder[1], 1);
  EXPECT_EQ(t.Plug()->paramChangeOrder[2], 2);
}

TEST(Dispatcher, MidiPassesThroughAndOtherEventsAreForwarded)
{
  TestHost t;
  VstMidiEvent note{};
  note.type = kVstMidiType;
  note.byteSize = 32;
  note.deltaFrames = 17;
  note.midiData[0] = static_cast<char>(0x90);
  note.midiData[1] = 60;
  note.midiData[2] = 100;
  note.midiData[3] = 5;
  note.noteLength = 999;
  VstEvent sysex{};
  sysex.type = kVstSysExType;
  VstEvents events{};
  events.numEvents = 2;
  events.events[0] = reinterpret_cast<VstEvent*>(&note);
  events.events[1] = &sysex;
  EXPECT_EQ(t.Dispatch(effProcessEvents, 0, 0, &events), 1);

  ASSERT_EQ(t.host.sentMidi.size(), 1u);
  const VstMidiEvent& sent = t.host.sentMidi[0];
  EXPECT_EQ(sent.type, kVstMidiType);
  EXPECT_EQ(sent.byteSize, 32);
  EXPECT_EQ(sent.deltaFrames, 17);
  EXPECT_EQ(static_cast<unsigned char>(sent.midiData[0]), 0x90);
  EXPECT_EQ(sent.midiData[1], 60);
  EXPECT_EQ(sent.midiData[2], 100);
  EXPECT_EQ(sent.midiData[3], 0);
  EXPECT_EQ(sent.noteLength, 0);
  ASSERT_EQ(t.host.sentEventTypes.size(), 2u);
  EXPECT_EQ(t.host.sentEventTypes[1], kVstSysExType);

  events.events[0] = nullptr;  // skipped
  events.numEvents = 1;
  EXPECT_EQ(t.Dispatch(effProcessEvents, 0, 0, &events), 1);
  EXPECT_EQ(t.Dispatch(effProcessEvents, 0, 0, nullptr), 0);
  EXPECT_EQ(t.host.sentEventTypes.size(), 2u);

  // Sending several reports whether the host took them all.
  IMidiMessage msgs[2];
  EXPECT_TRUE(t.Plug()->SendMidiMessages(msgs, 2));
  EXPECT_TRUE(t.Plug()->SendMidiMessages(msgs, 0));
  t.host.processEventsAnswer = 0;
  EXPECT_FALSE(t.Plug()->SendMidiMessages(msgs, 2));
}

TEST(Dispatcher, MidiKeyNameIsEmptiedAndReportsNone)
{
  TestHost t;
  MidiKeyName key{};
  key.thisKeyNumber = 60;
  std::strcpy(key.keyName, "stale");
  EXPECT_EQ(t.Dispatch(effGetMidiKeyName, 0, 0, &key), 0);
  EXPECT_STREQ(key.keyName, "");
  EXPECT_EQ(t.Dispatch(effGetMidiKeyName, 0, 0, nullptr), 0);
}

TEST(HostIdentification, AskedOnceAtOpenWithTheVersionPacked)
{
  const struct {
    const char* name;
    VstIntPtr decimalVersion;
    HostKind kind;
    int packed;
    int versionQueries;
  } cases[] = {
      {"REAPER", 50020, HostKind::Reaper, (5 << 16) | 20, 1},
      {"Some Host", 55020, HostKind::Unrecognised, (5 << 16) | (50 << 8) | 20, 1},
      {"", 12345, HostKind::Unrecognised, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TestHost t;
    t.host.productString = c.name;
    t.host.vendorVersion = c.decimalVersion;
    EXPECT_EQ(t.Plug()->IEffectBase::GetHostKind(), HostKind::Unidentified);
    t.Dispatch(effOpen);
    EXPECT_EQ(t.Plug()->IEffectBase::GetHostKind(), c.kind);
    EXPECT_EQ(t.Plug()->GetHostVersion(), c.packed);
    EXPECT_EQ(t.host.Count(audioMasterGetProductString), 1);
    EXPECT_EQ(t.host.Count(audioMasterGetVendorVersion), c.versionQueries);

    t.host.Forget();
    t.Dispatch(effOpen);
    EXPECT_EQ(t.Plug()->GetHostKind(), c.kind);
    EXPECT_TRUE(t.host.Calls().empty());
  }
}

TEST(HostIdentification, SomeHostsConnectTheExtraOutputs)
{
  const struct {
    const char* name;
    bool adjusted;
  } cases[] = {{"Adobe Audition", true}, {"Forte 4", true}, {"Chainer", false}, {"", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TestEffectConfig four;
    four.channelIO = "4-4";
    TestHost t(four);
    t.host.productString = c.name;
    t.Dispatch(effOpen);

    // With inputs 2 and 3 unconnected the host passes two input buffers only.
    std::vector<float> in(8, 0.5f), out(8, 0.0f), out3(8, 0.0f);
    float* ins[4] = {in.data(), in.data(), in.data(), in.data()};
    float* outs[4] = {out.data(), out.data(), out.data(), out3.data()};
    t.effect->processReplacing(t.effect, ins, outs, 8);
    if (c.adjusted) {
      EXPECT_EQ(out3, std::vector<float>(8, 0.0f));  // input 3 read its zeroed scratch
    } else {
      EXPECT_EQ(out3, std::vector<float>(8, 0.5f));
    }
    EXPECT_EQ(t.effect->numInputs, 4);
    EXPECT_EQ(t.effect->numOutputs, 4);
  }
}

TEST(HostCalls, TimeQueries)
{
  TestHost t;
  int num = 7;
  int den = 7;
  EXPECT_EQ(t.Plug()->GetHostSamplePos(), 0);
  EXPECT_EQ(t.Plug()->GetHostTempo(), 0.0);
  t.Plug()->GetHostTimeSig(&num, &den);
  EXPECT_EQ(num, 0);
  EXPECT_EQ(den, 0);

  VstTimeInfo time{};
  time.samplePos = 4410.9;
  time.tempo = 120.0;
  time.timeSigNumerator = 3;
  time.timeSigDenominator = 4;
  t.host.timeInfo = &time;
  EXPECT_EQ(t.Plug()->GetHostSamplePos(), 4410);
  EXPECT_EQ(t.Plug()->GetHostTempo(), 0.0);  // the flags do not say the tempo is valid
  t.Plug()->GetHostTimeSig(&num, &den);
  EXPECT_EQ(num, 0);
  time.flags = kVstTempoValid | kVstTimeSigValid;
  EXPECT_EQ(t.Plug()->GetHostTempo(), 120.0);
  t.Plug()->GetHostTimeSig(&num, &den);
  EXPECT_EQ(num, 3);
  EXPECT_EQ(den, 4);
  time.samplePos = -1.0;
  EXPECT_EQ(t.Plug()->GetHostSamplePos(), 0);

  const auto calls = t.host.Calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back().opcode, audioMasterGetTime);
  EXPECT_EQ(calls.back().value, 0);
  EXPECT_EQ(calls[1].value, kVstTempoValid);
  EXPECT_EQ(calls[2].value, kVstTimeSigValid);
}

TEST(HostCalls, EditorNotifications)
{
  TestHost t;
  t.Plug()->NotifyHostParamEditBegin(1);
  t.Plug()->SetParameterFromGUI(1, 0.5);
  t.Plug()->NotifyHostParamEditEnd(1);
  const auto calls = t.host.Calls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].opcode, audioMasterBeginEdit);
  EXPECT_EQ(calls[0].index, 1);
  EXPECT_EQ(calls[1].opcode, audioMasterAutomate);
  EXPECT_EQ(calls[1].index, 1);
  EXPECT_EQ(calls[1].opt, 0.5f);
  EXPECT_EQ(calls[2].opcode, audioMasterEndEdit);
  EXPECT_DOUBLE_EQ(t.Plug()->GetParam(1)->Value(), 0.1 + 3.9 * 0.5);
  EXPECT_EQ(t.Plug()->paramChanges[1], 1);
}

TEST(EditorSurface, WithoutSurfaceTheEditorOpcodesAnswerZero)
{
  TestHost t;
  ERect* rect = nullptr;
  EXPECT_EQ(t.Dispatch(effEditGetRect, 0, 0, &rect), 0);
  EXPECT_EQ(rect, nullptr);
  EXPECT_EQ(t.Dispatch(effEditOpen, 0, 0, &rect), 0);
  EXPECT_EQ(t.Dispatch(effEditClose), 0);
  EXPECT_EQ(t.effect->flags & effFlagsHasEditor, 0);
}

TEST(EditorSurface, AttachingSyncsControlsSetsFlagAndRect)
{
  bool deleted = false;
  {
    TestHost t;
    t.Set(TestEffect::kGain, 0.75f);
    RecordingSurface* surface = new RecordingSurface(800, 478, &deleted);
    t.Plug()->AttachEditor(surface);
    EXPECT_EQ(t.effect->flags, 0x1019);
    ASSERT_EQ(surface->pushes.size(), 3u);
    EXPECT_EQ(surface->pushesBeforePrepare, 3);
    EXPECT_DOUBLE_EQ(surface->pushes[0].value, 0.75);
    EXPECT_TRUE(surface->pushes[0].isNormalized);
    EXPECT_EQ(t.Plug()->GetEditor(), surface);

    ERect* rect = nullptr;
    EXPECT_EQ(t.Dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 478);
    EXPECT_EQ(rect->right, 800);
    EXPECT_EQ(t.Dispatch(effEditGetRect, 0, 0, nullptr), 0);

    surface->mWidth = 640;
    t.Plug()->EditorResized(0, 0);
    EXPECT_EQ(rect->right, 640);

    // The host sets a parameter: bound controls hear the normalised value.
    surface->pushes.clear();
    t.Set(TestEffect::kSteps, 0.3f);
    ASSERT_EQ(surface->pushes.size(), 1u);
    EXPECT_EQ(surface->pushes[0].paramIdx, 2);
    EXPECT_DOUBLE_EQ(surface->pushes[0].value, static_cast<double>(0.3f));
    EXPECT_TRUE(surface->pushes[0].isNormalized);

    int parent = 0;
    EXPECT_EQ(t.Dispatch(effEditOpen, 0, 0, &parent), 1);
    surface->openSucceeds = false;
    EXPECT_EQ(t.Dispatch(effEditOpen, 0, 0, &parent), 0);
    EXPECT_EQ(t.Dispatch(effEditClose), 1);
    EXPECT_EQ(surface->opens, 2);
    EXPECT_EQ(surface->closes, 1);
    EXPECT_FALSE(deleted);
  }
  EXPECT_TRUE(deleted);  // effClose deleted the instance, which owns its surface
}
