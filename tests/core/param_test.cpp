// Parameters: declaration, the normalised mapping and display texts.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/IEffectParam.h"

namespace {
std::string Display(const IEffectParam& p, double v, bool normalized = false)
{
  char text[kParamTextSize];
  p.FormatDisplay(v, normalized, text);
  return text;
}
}  // namespace

TEST(EffectParam, UndeclaredStateRoundsToTheStep)
{
  IEffectParam p;
  EXPECT_EQ(p.Type(), ParamType::Undeclared);
  EXPECT_EQ(p.Min(), 0.0);
  EXPECT_EQ(p.Max(), 1.0);
  EXPECT_EQ(p.Step(), 1.0);
  p.SetFromNormalized(0.49);
  EXPECT_EQ(p.Value(), 0.0);
  p.SetFromNormalized(0.5);
  EXPECT_EQ(p.Value(), 1.0);
}

TEST(EffectParam, DeclarationDerivesRangeAndPrecision)
{
  const struct {
    double min, max, step;
    double storedMax;
    int precision;
  } cases[] = {
      {-12, 12, 1, 12, 0},   {-12, 12, 0.1, 12, 1},   {0, 1, 0.01, 1, 2},   {0, 1, 0.25, 1, 2},
      {0, 1, 0.001, 1, 3},   {0, 1, 1e-7, 1, 6},      {0, 0.05, 0.1, 0.1, 1},
  };
  for (const auto& c : cases) {
    IEffectParam p;
    p.DeclareDouble("Name", 99.0, c.min, c.max, c.step, "unit");
    EXPECT_EQ(p.Type(), ParamType::Double);
    EXPECT_EQ(p.Value(), 99.0);  // the default is taken as it is
    EXPECT_DOUBLE_EQ(p.Max(), c.storedMax) << c.step;
    EXPECT_EQ(p.DisplayPrecision(), c.precision) << c.step;
    EXPECT_STREQ(p.Name(), "Name");
    EXPECT_STREQ(p.Label(), "unit");
  }
}

TEST(EffectParam, NormalisedMapping)
{
  IEffectParam p;
  p.DeclareDouble("Gain", 0.0, -12.0, 12.0, 1.0, "dB");
  const struct {
    double normalized, plain;
  } set[] = {{0.5, 0.0}, {1.0, 12.0}, {1.2, 12.0}, {0.0, -12.0}, {0.25, -6.0}};
  for (const auto& c : set) {
    p.SetFromNormalized(c.normalized);
    EXPECT_DOUBLE_EQ(p.Value(), c.plain) << c.normalized;
  }
  // Declared parameters are not rounded to their step.
  p.SetFromNormalized(0.6);
  EXPECT_NEAR(p.Value(), 2.4, 1e-12);

  EXPECT_EQ(p.NormalizedOf(30.0), 1.0);
  EXPECT_EQ(p.NormalizedOf(-30.0), 0.0);
  EXPECT_DOUBLE_EQ(p.NormalizedOf(6.0), 0.75);
}

TEST(EffectParam, AmplitudeFromDecibels)
{
  IEffectParam p;
  p.DeclareDouble("Gain", 0.0, -12.0, 12.0, 0.1, "dB");
  const struct {
    double db, amplitude;
  } cases[] = {{0.0, 1.0}, {6.0, 1.99526}, {-12.0, 0.251189}};
  for (const auto& c : cases) {
    p.SetValue(c.db);
    EXPECT_NEAR(p.AmplitudeFromDB(), c.amplitude, 5e-6) << c.db;
  }
}

TEST(EffectParam, DisplayTexts)
{
  IEffectParam tenth;
  tenth.DeclareDouble("G", 0.0, -12.0, 12.0, 0.1, "dB");
  IEffectParam whole;
  whole.DeclareDouble("S", 0.0, -10.0, 10.0, 1.0, "");
  const struct {
    const IEffectParam* p;
    double v;
    bool normalized;
    const char* text;
  } cases[] = {
      {&tenth, 0.0, false, "0"},     {&tenth, -0.0, false, "0"},  {&tenth, 0.5, false, "0.5"},
      {&tenth, -3.0, false, "-3.0"}, {&tenth, 0.75, true, "6.0"}, {&whole, 2.7, false, "2"},
      {&whole, -2.7, false, "-2"},   {&whole, 0.5, true, "0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Display(*c.p, c.v, c.normalized), c.text) << c.v;
  }
}

TEST(EffectParam, DisplayTextEntriesAndNegation)
{
  IEffectParam p;
  p.DeclareDouble("Mode", 0.0, -5.0, 5.0, 1.0, "");
  ASSERT_TRUE(p.AddDisplayText(2, "two"));
  ASSERT_TRUE(p.AddDisplayText(-3, "minus three"));
  EXPECT_EQ(p.DisplayTextCount(), 2);
  EXPECT_EQ(Display(p, 2.9), "two");  // looked up by the truncated value
  EXPECT_EQ(Display(p, 1.0), "1");
  int value = 0;
  EXPECT_TRUE(p.ValueForDisplayText("minus three", &value));
  EXPECT_EQ(value, -3);
  EXPECT_FALSE(p.ValueForDisplayText("Two", &value));
  EXPECT_STREQ(p.DisplayTextFor(7), "");

  // Negation changes the number shown, not the lookup.
  p.SetDisplayNegated(true);
  EXPECT_EQ(Display(p, 4.0), "-4");
  EXPECT_EQ(Display(p, -3.0), "minus three");
}

TEST(EffectParam, OverlongTextsAreCutToTheirField)
{
  IEffectParam p;
  const std::string longName(40, 'n');
  p.DeclareDouble(longName.c_str(), 0.0, 0.0, 1.0, 0.5, longName.c_str());
  EXPECT_EQ(std::string(p.Name()), std::string(31, 'n'));
  EXPECT_EQ(std::string(p.Label()), std::string(31, 'n'));
}
