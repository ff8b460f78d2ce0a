// One automatable parameter: its plain value in its own unit, range, step, unit label, the mapping
// to and from the normalised value (0 to 1) that hosts and controls speak, and its display text.
//
// Contract:
// - Created undeclared: value 0, range 0 to 1, step 1, shape 1, no name or label.
// - DeclareDouble keeps max >= min + step and derives the number of decimals shown from the step.
// - SetFromNormalized maps linearly (through shape), rounds to the step only while undeclared, and
//   limits the result to max; Normalized limits to the range before mapping back.
// - FormatDisplay writes at most kParamTextSize bytes including the NUL, whatever the value.
// - Names, labels and display texts longer than their fields are cut to fit.
#pragma once

#include "core/IGrowArray.h"

constexpr int kParamTextSize = 32;

enum class ParamType : int {
  Undeclared = 0,
  Double = 4,
};

class IEffectParam {
public:
  IEffectParam();

  void DeclareDouble(const char* name, double defaultValue, double min, double max, double step,
                     const char* label);

  double Value() const { return mValue; }
  // Stores a plain value as it is: no limiting, no rounding (state loads limit it themselves).
  void SetValue(double value) { mValue = value; }
  void SetFromNormalized(double normalized);
  double Normalized() const { return NormalizedOf(mValue); }
  double NormalizedOf(double plain) const;
  double AmplitudeFromDB() const;

  void FormatDisplay(double value, bool isNormalized, char* out) const;
  void FormatValue(char* out) const { FormatDisplay(mValue, false, out); }

  ParamType Type() const { return mType; }
  double Min() const { return mMin; }
  double Max() const { return mMax; }
  double Step() const { return mStep; }
  double Shape() const { return mShape; }
  int DisplayPrecision() const { return mDisplayPrecision; }
  const char* Name() const { return mName; }
  const char* Label() const { return mLabel; }

  bool IsDisplayNegated() const { return mNegateDisplay; }
  void SetDisplayNegated(bool negate) { mNegateDisplay = negate; }

  // Texts shown in place of particular whole values.
  bool AddDisplayText(int value, const char* text);
  int DisplayTextCount() const { return mDisplayTexts.Count(); }
  const char* DisplayTextFor(int value) const;
  bool ValueForDisplayText(const char* text, int* value) const;

private:
  struct DisplayText {
    int value;
    char text[kParamTextSize];
  };

  ParamType mType = ParamType::Undeclared;
  double mValue = 0.0;
  double mMin = 0.0;
  double mMax = 1.0;
  double mStep = 1.0;
  double mShape = 1.0;
  int mDisplayPrecision = 0;
  char mName[kParamTextSize] = {};
  char mLabel[kParamTextSize] = {};
  bool mNegateDisplay = false;
  IGrowArray<DisplayText> mDisplayTexts;
};

// Copies a NUL-terminated text into a field of `size` bytes, cutting it to fit; null reads as "".
void CopyTextField(char* field, int size, const char* text);
