// The entry point and the effect record a host receives.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/assertion.h"

#include "tests/vst/TestHost.h"

TEST(EffectRecord, FieldsOfTheDefaultTestEffect)
{
  TestHost t;
  ASSERT_NE(t.effect, nullptr);
  const AEffect& e = *t.effect;
  EXPECT_EQ(e.magic, kEffectMagic);
  EXPECT_EQ(e.numPrograms, 6);
  EXPECT_EQ(e.numParams, 3);
  EXPECT_EQ(e.numInputs, 2);
  EXPECT_EQ(e.numOutputs, 2);
  EXPECT_EQ(e.flags, 0x1018);  // replacing, double replacing, mono; no editor attached
  EXPECT_EQ(e.initialDelay, 0);
  EXPECT_EQ(e.ioRatio, 1.0f);
  EXPECT_EQ(e.uniqueID, VstFourCharId('t', 's', 't', 'p'));
  EXPECT_EQ(e.version, 10203);  // packed 1.2.3 in decimal form
  EXPECT_EQ(e.object, static_cast<void*>(t.Plug()));
  EXPECT_NE(e.dispatcher, nullptr);
  EXPECT_NE(e.process, nullptr);
  EXPECT_NE(e.processReplacing, nullptr);
  EXPECT_NE(e.processDoubleReplacing, nullptr);
  EXPECT_NE(e.setParameter, nullptr);
  EXPECT_NE(e.getParameter, nullptr);
  EXPECT_EQ(t.Plug()->GetBlockSize(), 1024);
  // Constructing asks nothing of the host.
  EXPECT_TRUE(t.host.Calls().empty());
}

TEST(EffectRecord, FlagsFollowTheConfiguration)
{
  struct Case {
    const char* channelIO;
    bool doesChunks;
    bool isInstrument;
    VstInt32 flags;
    VstInt32 numInputs;
    VstInt32 numOutputs;
    VstIntPtr category;
  };
  const Case cases[] = {
      {"1-1 2-2", false, false, 0x1018, 2, 2, kPlugCategEffect},
      {"2-2", false, false, 0x1010, 2, 2, kPlugCategEffect},
      {"1-2", false, false, 0x1018, 1, 2, kPlugCategEffect},
      {"2-2", true, false, 0x1030, 2, 2, kPlugCategEffect},
      {"1-1 2-2", false, true, 0x1118, 2, 2, kPlugCategSynth},
  };
  for (const Case& c : cases) {
    TestEffectConfig config;
    config.channelIO = c.channelIO;
    config.doesChunks = c.doesChunks;
    config.isInstrument = c.isInstrument;
    TestHost t(config);
    SCOPED_TRACE(c.channelIO);
    EXPECT_EQ(t.effect->flags, c.flags);
    EXPECT_EQ(t.effect->numInputs, c.numInputs);
    EXPECT_EQ(t.effect->numOutputs, c.numOutputs);
    EXPECT_EQ(t.Dispatch(effGetPlugCategory), c.category);
  }
}

TEST(EffectRecord, NoProgramsGivesOneDefaultProgram)
{
  TestEffectConfig config;
  config.nPresets = 0;
  TestHost t(config);
  EXPECT_EQ(t.effect->numPrograms, 1);
  ASSERT_EQ(t.Plug()->NPresets(), 1);
  char name[256] = "x";
  EXPECT_EQ(t.Dispatch(effGetProgramNameIndexed, 0, 0, name), 1);
  EXPECT_STREQ(name, "Default");

  // The slot holds the constructor-time values: loading it after a change brings them back.
  t.Set(TestEffect::kGain, 1.0f);
  t.Plug()->LoadPreset(0);
  EXPECT_DOUBLE_EQ(t.Plug()->GetParam(TestEffect::kGain)->Value(), 0.0);
}

TEST(EffectRecord, EveryCallMakesAnIndependentInstance)
{
  TestHost a;
  TestHost b;
  EXPECT_NE(a.effect, b.effect);
  EXPECT_NE(a.effect->object, b.effect->object);
  a.Set(TestEffect::kGain, 1.0f);
  EXPECT_FLOAT_EQ(a.Get(TestEffect::kGain), 1.0f);
  EXPECT_FLOAT_EQ(b.Get(TestEffect::kGain), 0.5f);
}

TEST(EffectRecord, RecordWithoutObjectAnswersZero)
{
  TestHost t;
  AEffect copy = *t.effect;
  copy.object = nullptr;
  EXPECT_EQ(copy.dispatcher(&copy, effGetVstVersion, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(copy.dispatcher(&copy, effIdentify, 0, 0, nullptr, 0.0f), 0);
}

namespace {
struct AssertRecord {
  int count = 0;
  std::string expression;
  std::string source;
  int line = 0;
};
AssertRecord gAsserts;
void RecordAssert(const char* expression, const char* source, int line)
{
  ++gAsserts.count;
  gAsserts.expression = expression;
  gAsserts.source = source;
  gAsserts.line = line;
}
}  // namespace

TEST(EffectRecord, MalformedChannelStringAssertsAndKeepsThePairsRead)
{
  const struct {
    const char* channelIO;
    int asserts;
    int nIn;
    int nOut;
  } cases[] = {{"1-1 2-2", 0, 2, 2}, {"1-2", 0, 1, 2}, {"1-1 x", 1, 1, 1}, {"", 1, 0, 0}};
  PlatformAssertHandler previous = PlatformSetAssertHandler(&RecordAssert);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.channelIO);
    gAsserts = AssertRecord{};
    TestEffectConfig config;
    config.channelIO = c.channelIO;
    TestHost t(config);
    EXPECT_EQ(gAsserts.count, c.asserts);
    EXPECT_EQ(t.Plug()->NInChannels(), c.nIn);
    EXPECT_EQ(t.Plug()->NOutChannels(), c.nOut);
    if (c.asserts > 0) {
      EXPECT_EQ(gAsserts.expression, "sscanf(channelIOStr, \"%d-%d\", &nIn, &nOut) == 2");
      EXPECT_NE(gAsserts.source.find("IEffectBase"), std::string::npos);
      EXPECT_GT(gAsserts.line, 0);
    }
  }
  PlatformSetAssertHandler(previous);
}

TEST(EffectRecord, LegalChannelPairs)
{
  TestHost t;
  EXPECT_TRUE(t.Plug()->LegalIO(1, -1));
  EXPECT_TRUE(t.Plug()->LegalIO(2, 2));
  EXPECT_TRUE(t.Plug()->LegalIO(-1, -1));
  EXPECT_FALSE(t.Plug()->LegalIO(2, 1));
  EXPECT_FALSE(t.Plug()->LegalIO(3, -1));
}
