// Windows reads 8-bit paths in the system's code page; the NT family also opens wide-character
// paths, which take any UTF-8 name.
#include "platform/file_open.h"

#include "platform/win32.h"

#include <cwchar>

namespace {
constexpr int kWidePathLength = 2048;
}

std::FILE* PlatformOpenFileForReading(const char* path)
{
  const bool ntFamily = (GetVersion() & 0x80000000u) == 0;
  if (ntFamily) {
    wchar_t widePath[kWidePathLength];
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, widePath, kWidePathLength) > 0) {
      if (std::FILE* file = _wfopen(widePath, L"rb")) return file;
    }
  }
  return std::fopen(path, "rb");
}
