// Parameters as a host sees them: names, labels, display texts, normalised values; and the
// host's bad input that must not reach the effect.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "tests/vst/TestHost.h"

namespace {
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
}  // namespace

TEST(Parameters, NamesLabelsAndDisplayTexts)
{
  TestHost t;
  struct Case {
    int index;
    const char* name;
    const char* label;
    const char* display;
  };
  const Case cases[] = {
      {TestEffect::kGain, "Gain", "dB", "0"},
      {TestEffect::kWidth, "Width", "oct", "1.00"},
      {TestEffect::kSteps, "Steps", "", "2"},
  };
  for (const Case& c : cases) {
    char text[64];
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(t.Dispatch(effGetParamName, c.index, 0, text), 0);
    EXPECT_STREQ(text, c.name);
    EXPECT_EQ(t.Dispatch(effGetParamLabel, c.index, 0, text), 0);
    EXPECT_STREQ(text, c.label);
    EXPECT_EQ(t.Dispatch(effGetParamDisplay, c.index, 0, text), 0);
    EXPECT_STREQ(text, c.display);
  }
}

TEST(Parameters, InvalidIndexesAreIgnored)
{
  TestHost t;
  for (int index : {-1, 3, 1000}) {
    char text[64] = "untouched";
    for (VstInt32 op : {effGetParamName, effGetParamLabel, effGetParamDisplay}) {
      EXPECT_EQ(t.Dispatch(op, index, 0, text), 0);
      EXPECT_STREQ(text, "untouched");
    }
    EXPECT_EQ(t.Get(index), 0.0f);
    const int changes = t.Plug()->paramChangeTotal;
    t.Set(index, 0.7f);
    EXPECT_EQ(t.Plug()->paramChangeTotal, changes);
  }
}

TEST(Parameters, NullTextBufferDoesNothing)
{
  TestHost t;
  for (VstInt32 op : {effGetParamName, effGetParamLabel, effGetParamDisplay, effGetProgramNameIndexed}) {
    EXPECT_EQ(t.Dispatch(op, 0, 0, nullptr), 0) << "opcode " << op;
  }
}

TEST(Parameters, SetAndGetNormalisedValues)
{
  TestHost t;
  t.Set(TestEffect::kGain, 1.0f);
  EXPECT_DOUBLE_EQ(t.Plug()->GetParam(TestEffect::kGain)->Value(), 12.0);
  EXPECT_FLOAT_EQ(t.Get(TestEffect::kGain), 1.0f);
  EXPECT_EQ(t.Plug()->paramChanges[TestEffect::kGain], 1);

  t.Set(TestEffect::kGain, 0.75f);
  char text[64];
  t.Dispatch(effGetParamDisplay, TestEffect::kGain, 0, text);
  EXPECT_STREQ(text, "6.0");

  // The host set it; it is not told back.
  EXPECT_EQ(t.host.Count(audioMasterAutomate), 0);
}

TEST(Parameters, OutOfRangeNormalisedValuesAreLimited)
{
  TestHost t;
  const IEffectParam* gain = t.Plug()->GetParam(TestEffect::kGain);
  const struct {
    float normalized;
    double plain;
  } cases[] = {{-0.5f, -12.0}, {-kInf, -12.0}, {1.2f, 12.0}, {kInf, 12.0}, {0.0f, -12.0}};
  for (const auto& c : cases) {
    t.Set(TestEffect::kGain, c.normalized);
    EXPECT_DOUBLE_EQ(gain->Value(), c.plain) << c.normalized;
  }
}

TEST(Parameters, NaNIsIgnored)
{
  TestHost t;
  t.Set(TestEffect::kGain, 0.75f);
  const int changes = t.Plug()->paramChangeTotal;
  t.Set(TestEffect::kGain, kNaN);
  EXPECT_DOUBLE_EQ(t.Plug()->GetParam(TestEffect::kGain)->Value(), 6.0);
  EXPECT_EQ(t.Plug()->paramChangeTotal, changes);
}

TEST(Parameters, VendorSpecificDisplayOfANormalisedValue)
{
  TestHost t;
  char text[64] = "untouched";
  EXPECT_EQ(t.Dispatch(effVendorSpecific, effGetParamDisplay, TestEffect::kGain, text, 0.75f), 0xBEEF);
  EXPECT_STREQ(text, "6.0");
  // The current value is not changed by asking.
  EXPECT_DOUBLE_EQ(t.Plug()->GetParam(TestEffect::kGain)->Value(), 0.0);

  std::strcpy(text, "untouched");
  EXPECT_EQ(t.Dispatch(effVendorSpecific, effGetParamDisplay, 3, text, 0.75f), 0xBEEF);
  EXPECT_STREQ(text, "untouched");
  EXPECT_EQ(t.Dispatch(effVendorSpecific, effGetParamDisplay, 0, nullptr, 0.75f), 0);
  EXPECT_EQ(t.Dispatch(effVendorSpecific, 6, 0, text, 0.75f), 0);
}

TEST(Parameters, VendorSpecificDisplayOfAWildValueStaysInItsField)
{
  TestHost t;
  // 1e30 times the range prints hundreds of digits unless the text is held to its 32-byte field.
  for (float opt : {1e30f, -1e30f, kInf, kNaN}) {
    char text[64];
    std::memset(text, 'x', sizeof text);
    for (int index : {TestEffect::kGain, TestEffect::kSteps}) {
      t.Dispatch(effVendorSpecific, effGetParamDisplay, index, text, opt);
      EXPECT_LT(std::strlen(text), 32u) << opt;
      EXPECT_EQ(text[40], 'x');
    }
  }
}
