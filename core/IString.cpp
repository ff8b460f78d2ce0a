#include "core/IString.h"

#include <climits>
#include <cstring>

bool IString::Set(const char* text)
{
  if (text == nullptr) {
    text = "";
  }
  const std::size_t n = std::strlen(text);
  if (n >= INT_MAX || !mChars.Resize(static_cast<int>(n) + 1)) {
    return false;
  }
  std::memmove(mChars.Data(), text, n + 1);
  return true;
}

bool IString::Append(const char* text)
{
  if (text == nullptr) {
    return true;
  }
  const std::size_t n = std::strlen(text);
  const int old = Length();
  if (n >= static_cast<std::size_t>(INT_MAX - old) || !mChars.Resize(old + static_cast<int>(n) + 1)) {
    return false;
  }
  std::memcpy(mChars.Data() + old, text, n + 1);
  return true;
}
