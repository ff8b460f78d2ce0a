// A growable NUL-terminated 8-bit string on IGrowableStorage.
//
// Contract: Get never returns null (an empty string reads ""). Set and Append return false,
// leaving the text unchanged, when the storage cannot grow; a null argument counts as "".
#pragma once

#include "core/IGrowArray.h"

class IString {
public:
  IString() = default;
  explicit IString(const char* text) { Set(text); }

  const char* Get() const { return mChars.Count() > 0 ? mChars.Data() : ""; }
  int Length() const { return mChars.Count() > 0 ? mChars.Count() - 1 : 0; }

  bool Set(const char* text);
  bool Append(const char* text);

private:
  IGrowArray<char> mChars;  // includes the terminating NUL once not empty
};
