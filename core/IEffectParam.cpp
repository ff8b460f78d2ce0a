#include "core/IEffectParam.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {
constexpr int kMaxDisplayPrecision = 6;
constexpr double kLn10Over20 = 0.1151292546497;

// Whether v truncates to a value an int can hold (the display-text lookup and "%d" need one).
bool FitsInt(double v) { return v > -2147483649.0 && v < 2147483648.0; }
}  // namespace

void CopyTextField(char* field, int size, const char* text)
{
  if (size <= 0) {
    return;
  }
  if (text == nullptr) {
    text = "";
  }
  std::size_t n = std::strlen(text);
  n = std::min(n, static_cast<std::size_t>(size - 1));
  std::memmove(field, text, n);
  field[n] = '\0';
}

IEffectParam::IEffectParam() = default;

void IEffectParam::DeclareDouble(const char* name, double defaultValue, double min, double max, double step,
                                 const char* label)
{
  if (mType == ParamType::Undeclared) {
    mType = ParamType::Double;
  }
  CopyTextField(mName, kParamTextSize, name);
  CopyTextField(mLabel, kParamTextSize, label);
  mValue = defaultValue;
  mMin = min;
  mMax = min + step > max ? min + step : max;
  mStep = step;

  mDisplayPrecision = 0;
  for (double s = step; s != std::floor(s) && mDisplayPrecision < kMaxDisplayPrecision; s *= 10.0) {
    ++mDisplayPrecision;
  }
}

void IEffectParam::SetFromNormalized(double normalized)
{
  mValue = mMin + (mMax - mMin) * std::pow(normalized, mShape);
  if (mType != ParamType::Double) {
    mValue = mStep * std::floor(mValue / mStep + 0.5);
  }
  if (mValue >= mMax) {
    mValue = mMax;
  }
}

double IEffectParam::NormalizedOf(double plain) const
{
  const double v = std::clamp(plain, mMin, mMax);
  return std::pow((v - mMin) / (mMax - mMin), 1.0 / mShape);
}

double IEffectParam::AmplitudeFromDB() const { return std::exp(mValue * kLn10Over20); }

void IEffectParam::FormatDisplay(double value, bool isNormalized, char* out) const
{
  double v = value;
  if (isNormalized) {
    v = mMin + (mMax - mMin) * std::pow(v, mShape);
  }
  if (FitsInt(v)) {
    const char* text = DisplayTextFor(static_cast<int>(v));
    if (text[0] != '\0') {
      CopyTextField(out, kParamTextSize, text);
      return;
    }
  }
  if (mNegateDisplay) {
    v = -v;
  }
  if (v == 0.0) {
    CopyTextField(out, kParamTextSize, "0");
  } else if (mDisplayPrecision == 0) {
    if (FitsInt(v)) {
      std::snprintf(out, kParamTextSize, "%d", static_cast<int>(v));
    } else {
      // Only a host's out-of-range normalised value gets here; printed without the int conversion.
      std::snprintf(out, kParamTextSize, "%.0f", std::trunc(v));
    }
  } else {
    char format[16];
    std::snprintf(format, sizeof format, "%%.%df", mDisplayPrecision);
    std::snprintf(out, kParamTextSize, format, v);
  }
}

bool IEffectParam::AddDisplayText(int value, const char* text)
{
  DisplayText entry{};
  entry.value = value;
  CopyTextField(entry.text, kParamTextSize, text);
  return mDisplayTexts.Append(entry);
}

const char* IEffectParam::DisplayTextFor(int value) const
{
  for (int i = 0; i < mDisplayTexts.Count(); ++i) {
    if (mDisplayTexts[i].value == value) {
      return mDisplayTexts[i].text;
    }
  }
  return "";
}

bool IEffectParam::ValueForDisplayText(const char* text, int* value) const
{
  for (int i = 0; i < mDisplayTexts.Count(); ++i) {
    if (std::strcmp(mDisplayTexts[i].text, text) == 0) {
      *value = mDisplayTexts[i].value;
      return true;
    }
  }
  return false;
}
